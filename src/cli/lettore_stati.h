// The input formats of the batch command behind one reader interface, and the text helpers they share.
#pragma once

#include "cli/stati.h"
#include "core/esito.h"
#include "core/stato_aria.h"

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

// Reads an input one line at a time. A line ends at LF, CR LF or a lone CR.
class LettoreRighe {
public:
    explicit LettoreRighe(std::istream& in) : m_in(in) {}

    // Reads one line into `riga` without its line end. Returns false at the end of the input and on a read
    // error (then guasto() is true and motivo() gives the system's reason). A line longer than
    // lunghezza_massima_riga is consumed to its end without being kept, and `troppo_lunga` is set.
    bool leggi(std::string& riga, bool& troppo_lunga);
    // The input failed (a read error), as opposed to ending.
    bool guasto() const;
    // ": REASON" of a read error, or nothing when the system gave none.
    std::string motivo() const { return m_errore ? ": " + *m_errore : std::string(); }

private:
    bool leggi_riga(std::string& riga, bool& troppo_lunga);

    std::istream& m_in;
    std::optional<std::string> m_errore;
};

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
};

// The first line of an input, read before its format is known.
struct PrimaRiga {
    bool presente = false;     // false: the input is empty
    bool troppo_lunga = false; // longer than lunghezza_massima_riga (then `testo` is empty)
    std::string testo;         // without its line end and without a UTF-8 byte order mark
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

// A field shown in a message: at most 40 characters, in quotes, with control characters and invalid UTF-8
// escaped so that nothing from the file reaches the terminal as a command.
std::string citazione(std::string_view campo);
// Reads the number of field `campo` of column `colonna` into `valore`, or gives the reason it cannot ("colonna t
// vuota", "colonna t: \"abc\" non è un numero", ...). `sep` is the file's separator: in a file not separated by
// ',' a decimal comma is read as the point ("20,5"); a field with both, as a thousands separator would make it
// ("1.234,5"), is refused.
Fatto leggi_campo(const std::string& campo, std::string_view colonna, char sep, double& valore);
// The whole field as a number, read as leggi_campo reads it; nullopt otherwise.
std::optional<double> numero_campo(std::string_view campo, char sep);
// Appends a kept field for a CSV separated by `sep`: in double quotes (a quote doubled) when it holds the
// separator, a quote or a line end.
void aggiungi_campo(std::string& riga, std::string_view campo, char sep);

} // namespace ondix
