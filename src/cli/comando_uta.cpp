// "ondix-calc uta FILE": an air-handling unit described in a file, computed for its operating conditions.
#include "cli/comando.h"
#include "cli/opzioni.h"
#include "core/esecuzione.h"
#include "core/numeri.h"
#include "core/rtf.h"
#include "core/uscita_json.h"
#include "core/uta.h"
#include "core/uta_file.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <string>

namespace ondix {

namespace {

constexpr const char* testo_inizio = R"txt(FILE describes an air-handling unit (JSON, keys in Italian): the outdoor
air runs through its sections in order on its way to the room. Every
condition of the file is computed (or only the one --condizione names);
the report gives every state between sections (t, ur, x, h, v, wet bulb,
dew point, mass flow) with the section's name, every power, water,
steam and condensate flow, the recovered power and its share, and fog
where it arises.

The file (a value is a number in the unit shown, or a text with its
unit: "4000 m3/h", "3000 kg/h", "5 kW", "-5 C"; "nota" keys are
comments):
  nome                 the unit's name (optional)
  pressione | quota    site pressure (Pa) or altitude (m, -250 to 3000);
                       default 101335 Pa
  modello              "ashrae" (optional): the moist-air model
  portata_esterna      outdoor air taken in (m3/h at the outdoor state,
                       or "N kg/h" of dry air)
  portata_espulsione   extract air through a recovery (m3/h at the room
                       state, or kg/h); default: the supply's mass flow
  ambiente             the room (return) state: two of t, ur, x, h, tbu,
                       tr, as {"t": 26, "ur": 50}
  condizioni           list of conditions: nome, esterna (a state),
                       stagione ("estate" or "inverno", for the seasonal
                       bypass), ambiente (optional, replaces the unit's),
                       sezioni (optional: {"NAME": {parameters}}, which
                       replace all the parameters of that section in this
                       condition; {"attiva": false} switches it off)
  sezioni              list of sections in the air's order: tipo, nome
                       (unique), attiva (true/false, default true) and the
                       parameters of the kind. Keys marked "one of" are
                       alternatives: a parameter (verification) or a
                       target at the outlet (design: the duty is found,
                       a target the section cannot reach is refused)
)txt";

constexpr const char* testo_fine = R"txt(
Heat recovery (EN 308): 11/12 extract air in/out, 21/22 outdoor air
in/supply out; efficienza_t = (t22-t21)/(t11-t21), efficienza_x likewise
on x; the extract outlet follows from the energy and water balances
with the two mass flows, and is checked for condensation and frost.

Output: the report of every condition, or with --json one object
{"versione_formato", "uta", "pressione", "condizioni": [{"nome",
"stagione", "stati": [{"n", "sezione", "t", "ur", "x", "h", "v",
"t_bulbo_umido", "t_rugiada", "portata"}], "ambiente", "sezioni":
[{"nome", "tipo", "attiva", "esclusa", the section's numbers ("potenza"
kW, "acqua" / "vapore" / "condensa" kg/h, ...), "espulsione_uscita"}],
"avvisi", "nebbia", "rapporto", "impossibile"}]}.
--grafico draws the chain of the condition --condizione names (else the
first): one number per state, A the room.

Exit status: 0 computed; 4 a target a section cannot reach (the message
names the condition and the section); 3 a floating-point error; 2 a
fault in the file (FILE:LINE: reason) or the options.

An annotated example: data/uta_esempio.json in the sources, installed
in share/doc/ondix-calc/esempi.
  $ ondix-calc uta data/uta_esempio.json --condizione estate --grafico estate.png)txt";

std::string spiegazione_uta() {
    std::string s = testo_inizio;
    for (const DescrizioneSezione& d : descrizioni_sezioni()) {
        s += "  " + std::string(d.nome) + ":\n";
        for (const ChiaveSezione& c : d.chiavi) {
            std::string riga = "    " + std::string(c.chiave);
            riga.resize(22, ' ');
            riga += c.genere == GenereChiave::interruttore ? std::string("si/no")
                    : c.unita.empty()                      ? std::string("-")
                                                           : std::string(c.unita);
            riga.resize(29, ' ');
            riga += c.ruolo == RuoloChiave::obbligatoria  ? "required"
                    : c.ruolo == RuoloChiave::alternativa ? "one of"
                                                          : "optional";
            if (c.obiettivo) riga += ", target";
            s += riga + "\n";
        }
    }
    return s + testo_fine;
}

class ComandoUta : public Comando {
public:
    std::string_view nome() const override { return "uta"; }
    std::string_view descrizione() const override {
        return "an air-handling unit (chain of sections) from a file, for each condition";
    }
    std::string_view spiegazione() const override {
        static const std::string s = spiegazione_uta();
        return s;
    }
    void dichiara(CLI::App& app) override;
    int esegui() override;

private:
    // The unit of the file, with the air the command line gives in place of the file's.
    Esito<Uta> unita() const;
    // The conditions to compute: the one --condizione names, or all.
    Esito<std::vector<const Condizione*>> scelte(const Uta& u) const;
    // The report of every condition computed, in order, a blank line between two.
    static std::vector<std::string> righe_rapporto(const std::vector<RisultatoCondizione>& calcolate);
    // The RTF, the PDF and the chart asked for; the exit status, `codice` when they are written or have nothing to
    // be written from.
    int scrivi_file(const Uta& u, const std::vector<RisultatoCondizione>& calcolate,
                    const std::vector<std::string>& righe, const RichiestaDisegno& disegno, int codice) const;

    std::string m_file, m_condizione;
    CLI::Option* m_opzione_condizione = nullptr;
    OpzioneJson m_json;
    OpzioniPressione m_pressione;
    OpzioneRtf m_rtf;
    OpzioniDisegno m_disegno;
    OpzioniPdf m_pdf;
};

void ComandoUta::dichiara(CLI::App& app) {
    app.add_option("FILE", m_file, "the unit's file (JSON)")->required();
    m_opzione_condizione = app.add_option("--condizione", m_condizione, "compute only the condition so named");
    m_json.dichiara(app);
    m_pressione.dichiara(app);
    m_rtf.dichiara(app);
    m_disegno.dichiara(app, "also draw the chain of one condition into FILE (.png, .svg or .pdf)");
    m_pdf.dichiara(app);
}

Esito<Uta> ComandoUta::unita() const {
    // What the command line gives takes the place of the file's own air, part by part.
    const RichiestaAria chiesta = m_pressione.richiesta();
    if (const auto aria = aria_richiesta(chiesta, FonteAria::opzioni); !aria) return aria.errore();
    return carica_uta(m_file, chiesta);
}

Esito<std::vector<const Condizione*>> ComandoUta::scelte(const Uta& u) const {
    std::vector<const Condizione*> r;
    if (m_opzione_condizione->count() > 0) {
        const auto k = trova_condizione(u, m_condizione);
        if (!k) return k.errore();
        r.push_back(*k);
    } else {
        for (const Condizione& k : u.condizioni)
            r.push_back(&k);
    }
    return r;
}

std::vector<std::string> ComandoUta::righe_rapporto(const std::vector<RisultatoCondizione>& calcolate) {
    std::vector<std::string> righe;
    for (const RisultatoCondizione& c : calcolate) {
        if (c.errore) continue;
        if (!righe.empty()) righe.emplace_back();
        righe.insert(righe.end(), c.contesto.rapporto.righe().begin(), c.contesto.rapporto.righe().end());
    }
    return righe;
}

int ComandoUta::esegui() {
    const auto disegno = m_disegno.richiesta(m_pdf.chiesta());
    if (!disegno) return segnala("uta", disegno.errore());
    if (auto rtf = m_rtf.controlla(); !rtf) return segnala("uta", rtf.errore());
    if (auto pdf = m_pdf.controlla(); !pdf) return segnala("uta", pdf.errore());
    const auto u = unita();
    if (!u) return segnala("uta", u.errore());
    const auto condizioni = scelte(*u);
    if (!condizioni) return segnala("uta", condizioni.errore());

    std::vector<RisultatoCondizione> calcolate;
    calcolate.reserve(condizioni->size());
    int codice = 0;
    for (const Condizione* k : *condizioni) {
        calcolate.push_back(esegui_condizione(*u, *k));
        if (calcolate.back().errore) codice = std::max(codice, codice_uscita(calcolate.back().errore->causa));
    }
    const std::vector<std::string> righe = righe_rapporto(calcolate);
    if (m_json.chiesta())
        std::cout << uta_json(*u, calcolate) << '\n';
    else
        for (const auto& riga : righe)
            std::cout << riga << '\n';
    const Fatto scritto = scarica_uscita();
    for (const RisultatoCondizione& c : calcolate)
        if (c.errore) segnala("uta: condizione " + c.condizione->nome, *c.errore);
    if (!scritto) return segnala({}, scritto.errore());
    return scrivi_file(*u, calcolate, righe, *disegno, codice);
}

int ComandoUta::scrivi_file(const Uta& u, const std::vector<RisultatoCondizione>& calcolate,
                            const std::vector<std::string>& righe, const RichiestaDisegno& disegno, int codice) const {
    constexpr std::string_view nessuna = "nessuna condizione calcolata";
    if (m_rtf.chiesta()) {
        if (righe.empty())
            segnala_non_scritto("uta", nessuna, m_rtf.file());
        else if (auto salvato = salva_rapporto_rtf(righe, m_rtf.file()); !salvato)
            return segnala("uta", salvato.errore());
    }
    // The PDF has the report of every condition computed, and the chart of the first one when it has one.
    const RisultatoCondizione& prima = calcolate.front();
    if (m_pdf.chiesta()) {
        if (righe.empty()) {
            segnala_non_scritto("uta", nessuna, m_pdf.file());
        } else {
            std::vector<RigaDocumento> ingressi{{"file dell'unità", m_file, "", false, false}};
            for (const RisultatoCondizione& k : calcolate)
                ingressi.push_back({"condizione", k.condizione->nome, "", false, false});
            const Documento d = documento_rapporto("UNITA DI TRATTAMENTO ARIA", std::move(ingressi), righe, u.aria,
                                                   m_pdf.intestazione(u.quota), ONDIX_VERSIONE);
            const bool con_grafico = !prima.errore && prima.vista;
            if (auto scritta = scrivi_pdf(d, con_grafico ? &prima.contesto : nullptr,
                                          con_grafico ? prima.vista : std::nullopt, disegno, m_pdf.file());
                !scritta)
                return segnala("uta", scritta.errore());
        }
    }
    if (!disegno.file.empty()) {
        if (prima.errore) {
            segnala_non_scritto("uta", "la condizione " + prima.condizione->nome + " non ha un grafico", disegno.file);
            return codice;
        }
        if (auto disegnato = disegna_calcolo(prima.contesto, prima.vista, disegno); !disegnato)
            return segnala("uta", disegnato.errore());
    }
    return codice;
}

} // namespace

std::unique_ptr<Comando> comando_uta() {
    return std::make_unique<ComandoUta>();
}

} // namespace ondix
