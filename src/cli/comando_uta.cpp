// "ondix-calc uta FILE": an air-handling unit described in a file, computed for its operating conditions.
#include "cli/comando.h"
#include "cli/esecuzione.h"
#include "cli/opzioni.h"
#include "cli/uscita_json.h"
#include "core/modello.h"
#include "core/numeri.h"
#include "core/uta.h"
#include "core/uta_file.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

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
            riga += c.unita.empty() ? std::string("-") : std::string(c.unita);
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

using json = nlohmann::ordered_json;

json opzionale(const std::optional<double>& v) {
    return v ? json(*v) : json(nullptr);
}

json stato_uta_json(const StatoCompleto& s) {
    return {{"t", s.t},
            {"ur", s.ur},
            {"x", s.x},
            {"h", s.h},
            {"v", s.v},
            {"t_bulbo_umido", opzionale(s.bulbo_umido)},
            {"t_rugiada", opzionale(s.rugiada)}};
}

struct CondizioneCalcolata {
    const Condizione* condizione;
    Contesto contesto;
    RisultatoUta risultato;
    std::optional<Errore> errore;
    std::optional<VistaGrafico> vista; // the chart the calculation asked for
};

json condizione_json(const CondizioneCalcolata& c) {
    const RisultatoUta& r = c.risultato;
    json stati = json::array();
    for (const StatoUta& s : r.stati) {
        json o = {{"n", s.numero}, {"sezione", s.sezione}};
        o.update(stato_uta_json(s.stato));
        o["portata"] = s.portata;
        stati.push_back(o);
    }
    json sezioni = json::array();
    for (const EsitoSezione& e : r.sezioni) {
        json o = {{"nome", e.nome},
                  {"tipo", std::string(descrizione(e.tipo).nome)},
                  {"attiva", e.attiva},
                  {"esclusa", e.esclusa}};
        for (const DatoSezione& d : e.dati)
            o[d.chiave] = d.valore;
        if (e.espulsione_uscita) o["espulsione_uscita"] = stato_uta_json(*e.espulsione_uscita);
        sezioni.push_back(o);
    }
    json nebbia = json::array();
    for (const StatoNebbia& s : c.contesto.risultati.nebbia) {
        const auto& eq = s.equilibrio;
        nebbia.push_back(
            {{"punto", s.punto},
             {"t", s.t},
             {"x", s.x},
             {"ur", s.ur},
             {"t_equilibrio", eq ? json(eq->t) : json(nullptr)},
             {"x_equilibrio", eq ? json(eq->x) : json(nullptr)},
             {"acqua_liquida", eq ? json(eq->acqua) : json(nullptr)},
             {"acqua_liquida_kg_h", eq && s.portata ? json(eq->acqua * *s.portata / 1000.0) : json(nullptr)}});
    }
    json j = {{"nome", c.condizione->nome}, {"stagione", c.condizione->stagione}};
    if (c.errore) {
        j["impossibile"] = c.errore->testo;
        return j;
    }
    j["stati"] = stati;
    j["ambiente"] = stato_uta_json(r.ambiente);
    j["sezioni"] = sezioni;
    j["avvisi"] = r.avvisi;
    j["nebbia"] = nebbia;
    j["rapporto"] = c.contesto.rapporto.righe();
    return j;
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

int ComandoUta::esegui() {
    const auto disegno = m_disegno.richiesta(m_pdf.chiesta());
    if (!disegno) return segnala("uta", disegno.errore());
    if (auto rtf = m_rtf.controlla(); !rtf) return segnala("uta", rtf.errore());
    if (auto pdf = m_pdf.controlla(); !pdf) return segnala("uta", pdf.errore());
    const auto aria = m_pressione.aria();
    if (!aria) return segnala("uta", aria.errore());
    auto letta = carica_uta(m_file);
    if (!letta) return segnala("uta", letta.errore());
    Uta& u = *letta;
    // Pressure and model given on the command line take the place of the file's.
    if (*aria != Aria{}) {
        if (aria->pressione != pressione_atmosferica) {
            u.aria.pressione = aria->pressione;
            u.quota.reset();
        }
        if (aria->modello) u.aria.modello = aria->modello;
    }

    std::vector<const Condizione*> scelte;
    if (m_opzione_condizione->count() > 0) {
        const auto k = trova_condizione(u, m_condizione);
        if (!k) return segnala("uta", k.errore());
        scelte.push_back(*k);
    } else {
        for (const Condizione& k : u.condizioni)
            scelte.push_back(&k);
    }

    std::vector<CondizioneCalcolata> calcolate;
    calcolate.reserve(scelte.size());
    int codice = 0;
    for (const Condizione* k : scelte) {
        CondizioneCalcolata c{k, {}, {}, {}, {}};
        EsternoSenzaFinestre esterno(std::nullopt);
        if (const Fatto f = esegui_uta(u, *k, c.contesto, esterno, c.risultato); !f) {
            c.errore = f.errore();
            codice = std::max(codice, codice_uscita(f.errore().causa));
        }
        c.vista = esterno.vista;
        calcolate.push_back(std::move(c));
    }

    std::vector<std::string> righe;
    if (m_json.chiesta()) {
        json condizioni = json::array();
        for (const CondizioneCalcolata& c : calcolate)
            condizioni.push_back(condizione_json(c));
        json j = {{"versione_formato", versione_formato_json}, {"uta", u.nome}, {"pressione", u.aria.pressione}};
        if (u.aria.modello) j["modello"] = std::string(u.aria.modello->nome());
        j["condizioni"] = condizioni;
        std::cout << j.dump(-1, ' ', false, json::error_handler_t::replace) << '\n';
    }
    for (const CondizioneCalcolata& c : calcolate) {
        if (c.errore) continue;
        if (!righe.empty()) righe.emplace_back();
        righe.insert(righe.end(), c.contesto.rapporto.righe().begin(), c.contesto.rapporto.righe().end());
    }
    if (!m_json.chiesta())
        for (const auto& riga : righe)
            std::cout << riga << '\n';
    const Fatto scritto = scarica_uscita();
    for (const CondizioneCalcolata& c : calcolate)
        if (c.errore) segnala("uta: condizione " + c.condizione->nome, *c.errore);
    if (!scritto) return segnala({}, scritto.errore());

    if (m_rtf.chiesta()) {
        if (righe.empty())
            std::cerr << "ondix-calc: uta: nessuna condizione calcolata; " << testo_visibile(m_rtf.file())
                      << " non è stato scritto\n";
        else if (auto salvato = salva_rapporto_rtf(righe, m_rtf.file()); !salvato)
            return segnala("uta", salvato.errore());
    }
    if (m_pdf.chiesta()) {
        // The report of every condition computed, and the chart of the first one when it has one.
        const CondizioneCalcolata& c = calcolate.front();
        if (righe.empty()) {
            std::cerr << "ondix-calc: uta: nessuna condizione calcolata; " << testo_visibile(m_pdf.file())
                      << " non è stato scritto\n";
        } else {
            std::vector<RigaDocumento> ingressi{{"file dell'unità", m_file, "", false, false}};
            for (const CondizioneCalcolata& k : calcolate)
                ingressi.push_back({"condizione", k.condizione->nome, "", false, false});
            const Documento d = documento_rapporto("UNITA DI TRATTAMENTO ARIA", std::move(ingressi), righe, u.aria,
                                                   m_pdf.intestazione(u.quota), ONDIX_VERSIONE);
            const bool con_grafico = !c.errore && c.vista;
            if (auto scritta = scrivi_pdf(d, con_grafico ? &c.contesto : nullptr, con_grafico ? c.vista : std::nullopt,
                                          *disegno, m_pdf.file());
                !scritta)
                return segnala("uta", scritta.errore());
        }
    }
    if (!disegno->file.empty()) {
        const CondizioneCalcolata& c = calcolate.front();
        if (c.errore) {
            std::cerr << "ondix-calc: uta: la condizione " << c.condizione->nome << " non ha un grafico; "
                      << testo_visibile(disegno->file) << " non è stato scritto\n";
            return codice;
        }
        if (auto disegnato = disegna_calcolo(c.contesto, c.vista, *disegno); !disegnato)
            return segnala("uta", disegnato.errore());
    }
    return codice;
}

} // namespace

std::unique_ptr<Comando> comando_uta() {
    return std::make_unique<ComandoUta>();
}

} // namespace ondix
