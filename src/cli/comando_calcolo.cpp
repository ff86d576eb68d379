// "ondix-calc KIND": one calculation of the desktop program without windows, its report or JSON printed.
#include "cli/comando.h"
#include "cli/opzioni.h"
#include "core/esecuzione.h"
#include "core/maschera.h"
#include "core/numeri.h"
#include "core/rtf.h"
#include "core/stato_aria.h"
#include "core/uscita_json.h"

#include <CLI/CLI.hpp>

#include <array>
#include <iostream>
#include <optional>
#include <string>

namespace ondix {

namespace {

constexpr const char* testo_descrizione = R"(ondix-calc runs one moist-air calculation of ondix without windows.

KIND is the process: 1 mixing, 2 sensible heating/cooling, 3
humidification with water, 4 point properties, 5 cooling with
condensation, 6 summer cycle, 7 winter cycle, 13 humidification with
steam, 17 winter cycle with steam, 21 summer verification.

The ten input boxes start with the defaults of the kind's form; --e1 ...
--e10 replace them. Numbers are read as the form reads them: decimal
point, the longest number at the start of the text ("20,5" is 20, "" and
"abc" are 0); a text read only in part gives a warning on stderr naming
the box and the value used ("ondix-calc: avviso: ...").

"ondix-calc KIND --campi" lists the boxes of the kind with their labels
and defaults.

Output: the report lines, one per line (UTF-8). Each message box is
printed on stderr as "messaggio: TEXT". With --json, one JSON object on
one line, with these keys in this order:
  versione_formato  1; raised when a key changes its meaning or goes
                    away
  processo          KIND
  titolo            the title of the kind's form, such as "CICLO ESTIVO"
  rapporto          the report lines (array of strings)
  messaggi          the texts of the message boxes the calculation
                    showed
  punti             the chart points in use: n (1 to 10), t (C), x
                    (g/kg), etichetta, then the point's ur (%), h
                    (kj/kg) and v (mc/kg)
  vista             the chart requested: "standard", "verifica",
                    "invernale", "punto", or null when the calculation
                    stopped before its chart
  codice_grafico    which lines join the chart points (0 to 10)
  errore            the floating-point error that stopped the
                    calculation, or null
  t_rugiada         kind 4 only: the dew point (C), or null when the air
                    has none
  nebbia            only when the calculation met supersaturated states
                    (fog): for each, punto, t, x, ur, and the state it
                    settles to: t_equilibrio, x_equilibrio,
                    ur_equilibrio, acqua_liquida (g/kg of dry air) and
                    acqua_liquida_kg_h (null where unknown)
  comfort           only with --comfort: the room state's "pmv", "ppd",
                    "categoria" (EN 16798-1: "I", "II", "III" or
                    "nessuna"), "schema" and "fuori_limiti", then what
                    it was judged with: "met", "clo", "v", "tr" (the
                    air's when not given), "lavoro" and "categoria_zona"
                    (cat)
  impossibile       only when the inputs admit no possible plant or lie
                    outside their physical range: the message that
                    stopped the calculation
  risultati         the numbers of the report's result lines by name,
                    the unit ending the name (portata_kg_h,
                    potenza_frigorifera_W, condensa_kg_h,
                    fattore_bypass...; see the README), full precision

Pressure: every calculation is at 101335 Pa unless --pressione PA or
--quota M (the altitude tool's table, -250 to 3000 m) gives the site's
pressure; the report then opens with the line "pressione atmosferica:
79500 Pa", the JSON has "pressione", and the chart's saturation curve is
drawn at that pressure.

Comfort: --comfort met=M,clo=C,v=V[,tr=T][,lavoro=W][,cat=I|II|III] on
the cycles 6, 7, 17 and 21 judges their room state (point A) by PMV and
PPD of ISO 7730, with its category of EN 16798-1, in lines after the
report; with --grafico the chart shades the comfort zone (|PMV| within
the limit of category cat, II by default: 0.5; at the radiant
temperature tr, the air's when not given) under the process. The model
is computed for met 0.7 to 10, clo 0 to 4, v 0 to 5 m/s, tr -50 to 100
C and lavoro from 0 to below met; a value beyond them is refused (exit
status 2), one within them but outside the ranges ISO 7730 validates
(met 0.8 to 4, clo 0 to 2, v 0 to 1 m/s...) is computed and named.

Model: the program's own correlations unless --modello ashrae chooses
the equations of the ASHRAE Handbook (Hyland-Wexler saturation over ice
and water, the thermodynamic wet bulb, -60 to 150 C); the report then
opens with "modello aria umida: ASHRAE", the JSON has "modello" and the
chart's title and isolines follow it. stato and stati take it too.

--rtf FILE also saves the report as the report window saves it (RTF,
Courier New 17 points); the file is replaced only once complete.

--pdf FILE also writes the calculation report as an A4 PDF: the title
block (--progetto, --sito, --autore, --revisione, --data), a summary of
the results, the warnings, the inputs and the results as tables with SI
units and decimal commas, the method with a box for the signature, and
the chart (with --isolinee and --mollier) on a page of its own.

Exit status: 0 the calculation ran (also when it stopped at a message);
3 a floating-point error stopped it (its text on stderr); 4 the inputs
admit no possible plant or lie outside their physical range (the message
on stderr, no report); 2 usage error, or the output, the RTF or the
chart could not be written.

A state from two properties: "ondix-calc stato --t 26 --tbu 19" (see
ondix-calc stato --help). Batch: "ondix-calc stati FILE" computes the
properties of every state in a CSV file or an hourly weather file (EPW)
(see ondix-calc stati --help). A calculation file saved by the input
form: "ondix-calc apri FILE" (see ondix-calc apri --help).

For example:

  $ ondix-calc 4                         # 20 C, 50 %
  $ ondix-calc 4 --e1 30 --e2 12 --umidita 1
  $ ondix-calc 2 --e4 35 --portata 1     # 1200 kg/h up to 35 C
  $ ondix-calc 6 --e8 8500 --risposta 0.2
  $ ondix-calc 1 --json
  $ ondix-calc 7 --grafico inverno.png
  $ ondix-calc 6 --quota 1200 --rtf estivo.rtf
  $ ondix-calc 6 --grafico estate.svg --isolinee ur,h --mollier)";

// "--campi": the boxes of the kind's form, as the options that fill them, with their labels and defaults.
void stampa_campi(int tipo) {
    StatoMaschera m;
    imposta_maschera(tipo, m);
    std::cout << titolo_processo(tipo) << " (ondix-calc " << tipo << ")\n";
    for (std::size_t i = 0; i < m.testo.size(); ++i) {
        if (!m.testo_visibile[i]) continue;
        std::string opzione = "--e" + std::to_string(i + 1);
        opzione.resize(7, ' ');
        std::string etichetta = m.etichetta[i];
        if (etichetta.size() < 32) etichetta.resize(32, ' ');
        std::cout << opzione << etichetta << ' ' << m.testo[i] << '\n';
    }
    if (m.umidita_visibile)
        std::cout << "--umidita 0  humidities in %, relative (the default); 1  humidity ratios in g/kg\n";
    if (m.portata_visibile)
        std::cout << "--portata 0  air flows in mc/h, volumetric (the default); 1  mass flows in kg/h\n";
}

class ComandoCalcolo : public Comando {
public:
    std::string_view nome() const override { return {}; }
    std::string_view descrizione() const override { return testo_descrizione; }
    std::string_view spiegazione() const override { return {}; }
    void dichiara(CLI::App& app) override;
    int esegui() override;

private:
    // The calculation, once its options are checked.
    int calcola(const RichiestaCalcolo& richiesta, const RichiestaDisegno& disegno,
                const std::optional<RichiestaComfort>& comfort);

    CLI::Option* m_opzione_tipo = nullptr;
    CLI::Option* m_opzione_risposta = nullptr;
    std::array<CLI::Option*, 10> m_opzioni_testi{};
    int m_tipo = 0;
    std::array<std::string, 10> m_testi;
    int m_umidita = 0, m_portata = 0;
    std::string m_risposta;
    bool m_campi = false;
    OpzioneJson m_json;
    OpzioniPressione m_pressione;
    OpzioneRtf m_rtf;
    OpzioniDisegno m_disegno;
    OpzioniPdf m_pdf;
    OpzioneComfort m_comfort;
};

// The cycles whose room state (chart point 1, "A") --comfort judges.
bool con_ambiente(int tipo) {
    return tipo == 6 || tipo == 7 || tipo == 17 || tipo == 21;
}

// The comfort of the calculation's room state appended to its report; none when the calculation stopped before it.
Esito<std::optional<GiudizioComfort>> giudica_ambiente(RisultatoCalcolo& esito, const RichiestaComfort& richiesta) {
    Contesto& ctx = esito.contesto;
    const PuntoGrafico& a = ctx.punti[1];
    if (esito.errore || esito.impossibile || !a.in_uso() || a.etichetta != "A") return std::optional<GiudizioComfort>{};
    const StatoCompleto s = stato_completo(a.X, a.Y, ctx.aria);
    const auto c = comfort_stato(s, richiesta.occupanti, ctx.aria);
    if (!c) return c.errore();
    scrivi_comfort(ctx.rapporto, *c, richiesta.occupanti, s.t);
    return std::optional<GiudizioComfort>(GiudizioComfort{*c, richiesta, richiesta.occupanti.tr.value_or(s.t)});
}

void ComandoCalcolo::dichiara(CLI::App& app) {
    // Not required by the parser: the subcommands run without it; checked by esegui.
    m_opzione_tipo = app.add_option("KIND", m_tipo, "process kind: 1, 2, 3, 4, 5, 6, 7, 13, 17 or 21");
    for (std::size_t i = 0; i < m_testi.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        m_opzioni_testi[i] = app.add_option("--e" + n, m_testi[i], "text of input box " + n + " (Edit" + n + ")")
                                 ->allow_extra_args(false);
    }
    app.add_option("--umidita", m_umidita, "humidity inputs: 0 relative humidity in %, 1 humidity ratio in g/kg")
        ->check(CLI::IsMember({0, 1}));
    app.add_option("--portata", m_portata, "air-flow inputs: 0 volumetric flow in mc/h, 1 mass flow in kg/h")
        ->check(CLI::IsMember({0, 1}));
    m_opzione_risposta =
        app.add_option("--risposta", m_risposta,
                       "text typed into an input box the calculation opens (without it the box is cancelled)");
    m_json.dichiara(app);
    app.add_flag("--campi", m_campi, "print the input boxes of KIND (option, label, default) and exit");
    m_pressione.dichiara(app);
    m_rtf.dichiara(app);
    m_disegno.dichiara(
        app, "also draw the chart into FILE (.png, .svg or .pdf), as the chart window shows it at 1024 x 768");
    m_pdf.dichiara(app);
    m_comfort.dichiara(app);
}

int ComandoCalcolo::esegui() {
    if (m_opzione_tipo->count() == 0) {
        std::cerr << "ondix-calc: manca KIND, il tipo di processo\n(ondix-calc --help spiega le opzioni)\n";
        return 2;
    }
    if (!tipo_valido(m_tipo)) {
        std::cerr << "ondix-calc: tipo di processo " << m_tipo
                  << " sconosciuto (usare 1, 2, 3, 4, 5, 6, 7, 13, 17 o 21; vedere --help)\n";
        return 2;
    }
    if (m_campi) {
        stampa_campi(m_tipo);
        if (auto scritto = scarica_uscita(); !scritto) return segnala({}, scritto.errore());
        return 0;
    }
    const auto disegno = m_disegno.richiesta(m_pdf.chiesta());
    if (!disegno) {
        const int codice = segnala({}, disegno.errore());
        std::cerr << "(ondix-calc --help spiega le opzioni)\n";
        return codice;
    }
    if (auto rtf = m_rtf.controlla(); !rtf) return segnala({}, rtf.errore());
    if (auto pdf = m_pdf.controlla(); !pdf) return segnala({}, pdf.errore());
    const auto aria = m_pressione.aria();
    if (!aria) return segnala({}, aria.errore());
    const auto comfort = m_comfort.richiesta();
    if (!comfort) return segnala({}, comfort.errore());
    if (*comfort && !con_ambiente(m_tipo))
        return segnala({}, Errore{Causa::dati, "--comfort giudica l ambiente dei cicli 6, 7, 17 e 21, non del tipo " +
                                                   std::to_string(m_tipo)});

    RichiestaCalcolo richiesta;
    richiesta.tipo = m_tipo;
    for (std::size_t i = 0; i < m_testi.size(); ++i)
        if (m_opzioni_testi[i]->count() > 0) richiesta.testi[i] = m_testi[i];
    richiesta.umidita = m_umidita;
    richiesta.portata = m_portata;
    if (m_opzione_risposta->count() > 0) richiesta.risposta = m_risposta;
    richiesta.aria = *aria;
    for (const std::string& avviso : testi_letti_in_parte(richiesta))
        std::cerr << "ondix-calc: avviso: " << avviso << '\n';
    RichiestaDisegno con_zona = *disegno;
    if (*comfort) con_zona.comfort = ZonaComfort{(*comfort)->occupanti, limite_pmv((*comfort)->categoria)};
    return calcola(richiesta, con_zona, *comfort);
}

int ComandoCalcolo::calcola(const RichiestaCalcolo& richiesta, const RichiestaDisegno& disegno,
                            const std::optional<RichiestaComfort>& comfort) {
    UsciteCalcolo uscite;
    uscite.json = m_json.chiesta();
    if (m_rtf.chiesta()) uscite.rtf = m_rtf.file();
    uscite.disegno = disegno;
    if (m_pdf.chiesta()) {
        uscite.pdf = m_pdf.file();
        uscite.intestazione = m_pdf.intestazione(m_pressione.quota());
    }
    uscite.comfort = comfort;
    return stampa_calcolo(richiesta, uscite);
}

} // namespace

namespace {

constexpr std::string_view fermato = "il calcolo si è fermato a un errore";

// The report (with the messages on standard error) or the JSON on standard output; done, or why not.
Fatto stampa_esito(const RisultatoCalcolo& esito, const UsciteCalcolo& uscite,
                   const std::optional<GiudizioComfort>& giudizio) {
    if (uscite.json) {
        std::cout << risultato_json(esito, giudizio ? &*giudizio : nullptr) << '\n';
    } else {
        for (const auto& m : esito.messaggi)
            std::cerr << "messaggio: " << m << '\n';
        if (esito.impossibile) std::cerr << "messaggio: " << *esito.impossibile << '\n';
        for (const auto& riga : esito.contesto.rapporto.righe())
            std::cout << riga << '\n';
    }
    const Fatto scritto = scarica_uscita();
    if (esito.errore) std::cerr << *esito.errore << '\n';
    return scritto;
}

// The RTF, the PDF and the chart the outputs ask for; the exit status, `codice` when they are written or have
// nothing to be written from.
int scrivi_file(const RisultatoCalcolo& esito, const UsciteCalcolo& uscite, int codice) {
    const RichiestaDisegno& disegno = uscite.disegno;
    if (uscite.rtf) {
        // The report window is not shown after a floating-point error or a plant that cannot exist: there is no
        // report to save.
        if (esito.errore || esito.impossibile)
            segnala_non_scritto({}, esito.errore ? fermato : "il calcolo non ha trovato un impianto possibile",
                                *uscite.rtf);
        else if (auto salvato = salva_rapporto_rtf(esito.contesto.rapporto.righe(), *uscite.rtf); !salvato)
            return segnala({}, salvato.errore());
    }
    if (uscite.pdf) {
        // A floating-point error leaves no report to document; a plant that cannot exist is documented with the
        // reason, without results or chart.
        if (esito.errore)
            segnala_non_scritto({}, fermato, *uscite.pdf);
        else if (auto scritta = scrivi_pdf(documento_calcolo(esito.contesto, esito.messaggi, esito.impossibile,
                                                             uscite.intestazione, ONDIX_VERSIONE),
                                           &esito.contesto, esito.vista, disegno, *uscite.pdf);
                 !scritta)
            return segnala({}, scritta.errore());
    }
    if (!disegno.file.empty()) {
        // A calculation that stopped before its chart request has no chart: nothing is written, and the exit
        // status stays the calculation's own.
        if (!esito.vista) {
            segnala_non_scritto({}, "il calcolo non ha prodotto un grafico", disegno.file);
            return codice;
        }
        if (auto disegnato = disegna_calcolo(esito.contesto, esito.vista, disegno); !disegnato)
            return segnala({}, disegnato.errore());
    }
    return codice;
}

} // namespace

int stampa_calcolo(const RichiestaCalcolo& richiesta, const UsciteCalcolo& uscite) {
    RisultatoCalcolo esito = ondix::esegui(richiesta);
    std::optional<GiudizioComfort> giudizio;
    if (uscite.comfort) {
        const auto g = giudica_ambiente(esito, *uscite.comfort);
        if (!g) return segnala({}, g.errore());
        giudizio = *g;
    }
    // Nothing of the report may be missing unnoticed: no file is written for a report that was lost.
    if (const Fatto scritto = stampa_esito(esito, uscite, giudizio); !scritto) return segnala({}, scritto.errore());
    const int codice = esito.errore        ? codice_uscita(Causa::virgola_mobile)
                       : esito.impossibile ? codice_uscita(Causa::impianto)
                                           : 0;
    return scrivi_file(esito, uscite, codice);
}

std::unique_ptr<Comando> comando_calcolo() {
    return std::make_unique<ComandoCalcolo>();
}

} // namespace ondix
