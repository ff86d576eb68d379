// The input formats of tables of states (CSV and weather files) behind one reader interface: the batch command
// reads its rows through it, the library its tables.
#pragma once

#include "core/aria_umida.h"
#include "core/esito.h"
#include "core/stato_aria.h"
#include "core/testo_csv.h"

#include <array>
#include <cstddef>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ondix {

// One row of an input as its reader hands it over.
struct RigaStato {
    std::array<std::optional<double>, 6> valori; // the known quantities, indexed by Grandezza
    std::optional<double> pressione;             // Pa, when the row carries one
    std::string chiave;                          // the kept columns before the properties, each followed by the
                                                 // output's separator
    std::string coda;                            // the kept columns after them, each preceded by it
    bool con_colonne = false;                    // chiave and coda were read whole (a bad row may lack them)
};

using Coppia = std::pair<Grandezza, Grandezza>;

// The state of a row's known values (indexed by Grandezza) by the first of `coppie` whose two values the row has
// that gives one: t with ur or x as the point-properties report computes them when `come_rapporto`, every other
// pair (and those too otherwise) as stato_da_coppia solves it. Else the reasons each pair tried gave, joined by
// "; ", or "valori mancanti: ..." when the row has neither value of any pair.
Esito<StatoCompleto> stato_della_riga(const std::array<std::optional<double>, 6>& valori,
                                      const std::vector<Coppia>& coppie, bool come_rapporto, Aria a);

// Where a weather file's data were taken: its LOCATION line.
struct LocalitaMeteo {
    std::string citta, regione, paese, fonte, wmo;
    std::optional<double> latitudine, longitudine; // degrees, north and east positive
    std::optional<double> fuso_orario;             // hours from UTC
    std::optional<double> quota;                   // m
};

// A reader reads the header itself; the lines after it are read by the batch, which hands each data line (not
// blank, not too long) to analizza, possibly from several threads at once.
class LettoreStati {
public:
    virtual ~LettoreStati() = default;
    // Reads the header: done when the rows can be read, else why the input cannot be used.
    virtual Fatto apri() = 0;
    // A data line read with the header (a first line of numbers, a weather file's first hour), to be taken before
    // the lines that follow; null when there is none. Its number is numero_riga().
    virtual const std::string* riga_in_attesa() const = 0;
    // The pairs a row may give its state by, in order of preference.
    virtual std::vector<Coppia> coppie() const = 0;
    // True when the (t, ur) and (t, x) rows are to be computed as the point-properties report computes them.
    virtual bool come_rapporto() const = 0;
    // Names of the kept columns written before the properties.
    virtual std::vector<std::string> colonne_chiave() const { return {}; }
    // Names of the kept columns written after them.
    virtual std::vector<std::string> colonne_coda() const { return {}; }
    // The input's separator.
    virtual char separatore() const = 0;
    // The separator the kept columns are written with (the input's unless set otherwise before the rows are read).
    virtual void imposta_separatore_uscita(char sep) = 0;
    // True when the input's numbers were seen to have a decimal comma (in its first data line).
    virtual bool decimali_virgola() const { return false; }
    // The pending data line (riga_in_attesa) was too long to be kept: its text is empty.
    virtual bool riga_in_attesa_troppo_lunga() const { return false; }
    // True when the rows can carry a pressure.
    virtual bool ha_pressione() const = 0;
    // The row of one data line (without its line end) into `r`, or why the row is skipped. `campi` is room for the
    // line's fields. Changes nothing else: several threads may call it at once.
    virtual Fatto analizza(std::string_view linea, RigaStato& r, std::vector<std::string>& campi) const = 0;
    // Number of the last line apri read (1 is the first).
    virtual std::size_t numero_riga() const = 0;
    // A description of the place the data come from, for the summary; empty when unknown.
    virtual std::string descrizione() const { return {}; }
    // The place as the file gives it, when it does.
    virtual std::optional<LocalitaMeteo> localita() const { return std::nullopt; }
};

// What the two readers share: the input's lines, its first line, its name, and the header they read.
class LettoreDaRighe : public LettoreStati {
public:
    const std::string* riga_in_attesa() const override { return m_riga_in_attesa ? &m_riga : nullptr; }
    bool riga_in_attesa_troppo_lunga() const override { return m_attesa_troppo_lunga; }
    std::size_t numero_riga() const override { return m_numero; }
    void imposta_separatore_uscita(char sep) override { m_sep_uscita = sep; }

protected:
    LettoreDaRighe(LettoreRighe& in, PrimaRiga prima, bool con_pressione, std::string_view nome)
        : m_in(in), m_prima(std::move(prima)), m_con_pressione(con_pressione), m_nome(nome) {}

    // A fault of the header, at the line last read: "NAME:LINE: TEXT".
    Errore errore(std::string_view testo) const {
        return {Causa::dati, m_nome + ":" + std::to_string(m_numero) + ": " + std::string(testo)};
    }
    // The input failed while the header was read: "NAME: errore di lettura", with the system's reason.
    Errore errore_lettura() const { return {Causa::file, m_nome + ": errore di lettura" + m_in.motivo()}; }

    LettoreRighe& m_in;
    PrimaRiga m_prima;
    bool m_con_pressione;
    std::string m_nome;

    std::string m_riga;               // the line apri looks at; the pending first row when m_riga_in_attesa
    std::vector<std::string> m_campi; // its fields
    std::size_t m_numero = 0;         // the number of the last line read
    bool m_riga_in_attesa = false;
    bool m_attesa_troppo_lunga = false;
    char m_sep_uscita = ',';
};

// A CSV of states. `umidita` 0 takes the ur column with t, 1 the x column; other pairs are taken by their column
// names. `con_pressione` wants a pressure column (p or pressione, Pa). `copia_colonne` keeps every other column:
// those before the first column used before the properties, the rest after them.
std::unique_ptr<LettoreStati> lettore_csv(LettoreRighe& in, PrimaRiga prima, int umidita, bool con_pressione,
                                          bool copia_colonne, std::string_view nome);
// An EnergyPlus weather file (EPW): dry bulb, dew point, relative humidity and, with `con_pressione`, the station
// pressure of every hour.
std::unique_ptr<LettoreStati> lettore_epw(LettoreRighe& in, PrimaRiga prima, bool con_pressione, std::string_view nome);
// True when a file of this name and first line is a weather file: a name ending in ".epw" or a first line that
// begins with "LOCATION,".
bool sembra_epw(std::string_view nome, std::string_view prima_riga);

} // namespace ondix
