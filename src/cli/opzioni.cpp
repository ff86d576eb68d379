#include "cli/opzioni.h"

#include "core/numeri.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <optional>

namespace ondix {

namespace {

Errore rifiuto(std::string testo) {
    return {Causa::dati, std::move(testo)};
}

std::optional<std::string> testo_di(const CLI::Option* o, const std::string& v) {
    return o->count() > 0 ? std::optional<std::string>(v) : std::nullopt;
}

} // namespace

void OpzioniPressione::dichiara(CLI::App& app, bool per_riga) {
    m_opzione_pressione = app.add_option("--pressione", m_pressione,
                                         per_riga ? "atmospheric pressure, Pa, or \"file\": each row's own (column p "
                                                    "or pressione, a weather file's station pressure)"
                                                  : "calculate at this atmospheric pressure, Pa");
    m_opzione_quota =
        app.add_option("--quota", m_quota, "calculate at the pressure of this altitude, m (-250 to 3000)");
    m_opzione_modello =
        app.add_option("--modello", m_modello,
                       "moist-air model: ashrae, the ASHRAE Handbook's (-60 to 150 C); default: the program's");
}

bool OpzioniPressione::per_riga() const {
    return m_opzione_pressione->count() > 0 && m_pressione == "file";
}

std::optional<double> OpzioniPressione::quota() const {
    if (m_opzione_quota->count() == 0) return std::nullopt;
    return numero_intero_testo(m_quota);
}

RichiestaAria OpzioniPressione::richiesta() const {
    RichiestaAria r;
    r.modello = testo_di(m_opzione_modello, m_modello);
    r.pressione_per_riga = per_riga();
    if (!r.pressione_per_riga) r.testo_pressione = testo_di(m_opzione_pressione, m_pressione);
    r.testo_quota = testo_di(m_opzione_quota, m_quota);
    return r;
}

Esito<Aria> OpzioniPressione::aria() const {
    return aria_richiesta(richiesta(), FonteAria::opzioni);
}

void OpzioneJson::dichiara(CLI::App& app) {
    app.add_flag("--json", m_json, "print one JSON object instead of the report, with the keys this help lists");
}

void OpzioneRtf::dichiara(CLI::App& app) {
    m_opzione = app.add_option("--rtf", m_file, "also save the report into FILE as RTF, as the report window saves it");
}

bool OpzioneRtf::chiesta() const {
    return m_opzione->count() > 0;
}

Fatto OpzioneRtf::controlla() const {
    if (chiesta() && m_file.empty()) return rifiuto("--rtf: il nome del file è vuoto");
    return {};
}

void OpzioniDisegno::dichiara(CLI::App& app, const char* cosa) {
    if (!disegno_disponibile()) return;
    m_opzione_file = app.add_option("--grafico", m_richiesta.file, cosa);
    m_opzione_isolinee = app.add_option("--isolinee", m_isolinee,
                                        "with --grafico or --pdf: isolines of relative humidity, enthalpy, wet bulb, "
                                        "specific volume: LIST of ur,h,tbu,v or tutte");
    app.add_flag("--mollier", m_richiesta.mollier,
                 "with --grafico or --pdf: the Mollier h-x view (humidity ratio across, t "
                 "upward)");
}

Esito<RichiestaDisegno> OpzioniDisegno::richiesta(bool altro_disegno) const {
    if (!m_opzione_file) return RichiestaDisegno{};
    RichiestaDisegno r = m_richiesta;
    const bool con_file = m_opzione_file->count() > 0;
    if (con_file && r.file.empty()) return rifiuto("--grafico: il nome del file è vuoto");
    if ((m_opzione_isolinee->count() > 0 || r.mollier) && !con_file && !altro_disegno)
        return rifiuto("--isolinee e --mollier vanno con --grafico");
    if (m_opzione_isolinee->count() > 0) r.isolinee = m_isolinee;
    if (auto controllata = controlla_disegno(r); !controllata) return controllata.errore();
    return r;
}

void OpzioniPdf::dichiara(CLI::App& app) {
    if (!disegno_disponibile()) return;
    m_opzione = app.add_option("--pdf", m_file,
                               "also write the calculation report into FILE as an A4 PDF (title block, inputs, "
                               "results, warnings, chart, method)");
    m_campi = {
        app.add_option("--progetto", m_intestazione.progetto, "with --pdf: the project's name in the title block"),
        app.add_option("--sito", m_intestazione.sito, "with --pdf: the site in the title block"),
        app.add_option("--autore", m_intestazione.autore, "with --pdf: the author in the title block"),
        app.add_option("--revisione", m_intestazione.revisione, "with --pdf: the revision in the title block"),
        app.add_option("--data", m_intestazione.data, "with --pdf: the date in the title block (default: today)"),
    };
}

bool OpzioniPdf::chiesta() const {
    return m_opzione && m_opzione->count() > 0;
}

Fatto OpzioniPdf::controlla() const {
    if (chiesta() && m_file.empty()) return rifiuto("--pdf: il nome del file è vuoto");
    if (!chiesta())
        for (const CLI::Option* o : m_campi)
            if (o && o->count() > 0) return rifiuto(o->get_name() + " va con --pdf");
    return {};
}

Intestazione OpzioniPdf::intestazione(std::optional<double> quota, Intestazione base) const {
    const std::array<std::pair<std::string Intestazione::*, std::size_t>, 5> campi{{
        {&Intestazione::progetto, 0},
        {&Intestazione::sito, 1},
        {&Intestazione::autore, 2},
        {&Intestazione::revisione, 3},
        {&Intestazione::data, 4},
    }};
    for (const auto& [campo, n] : campi)
        if (m_campi[n] && m_campi[n]->count() > 0) base.*campo = m_intestazione.*campo;
    base.quota = quota;
    return base;
}

void OpzioneComfort::dichiara(CLI::App& app) {
    m_opzione = app.add_option("--comfort", m_testo,
                               "judge the room by the PMV/PPD model of ISO 7730: met=M,clo=C,v=V (metabolic rate "
                               "0.7 to 10 met, clothing 0 to 4 clo, relative air speed 0 to 5 m/s), optional tr=T "
                               "(mean radiant temperature, -50 to 100 C; default: the air's), lavoro=W (external "
                               "work, met, from 0 to below the metabolic rate), cat=I|II|III (the category of "
                               "EN 16798-1 whose PMV limit bounds the chart's comfort zone, default II)");
}

Esito<std::optional<RichiestaComfort>> OpzioneComfort::richiesta() const {
    if (!m_opzione || m_opzione->count() == 0) return std::optional<RichiestaComfort>{};
    RichiestaComfort r;
    std::optional<double> met, clo, v;
    bool con_cat = false, con_lavoro = false;
    std::string_view resto = m_testo;
    while (true) {
        const std::size_t virgola = resto.find(',');
        const std::string_view voce = resto.substr(0, virgola);
        const std::size_t uguale = voce.find('=');
        const std::string_view chiave = voce.substr(0, uguale);
        const std::string_view valore = uguale == std::string_view::npos ? std::string_view{} : voce.substr(uguale + 1);
        const std::string visibile = testo_visibile(voce);
        if (uguale == std::string_view::npos)
            return rifiuto("--comfort: \"" + visibile + "\" non è CHIAVE=VALORE (met, clo, v, tr, lavoro, cat)");
        if (chiave == "cat") {
            if (con_cat) return rifiuto("--comfort: cat è data due volte");
            con_cat = true;
            if (valore == "I")
                r.categoria = Categoria::I;
            else if (valore == "II")
                r.categoria = Categoria::II;
            else if (valore == "III")
                r.categoria = Categoria::III;
            else
                return rifiuto("--comfort: \"" + visibile + "\": la categoria è I, II o III");
        } else {
            std::optional<double>* dove = chiave == "met"   ? &met
                                          : chiave == "clo" ? &clo
                                          : chiave == "v"   ? &v
                                          : chiave == "tr"  ? &r.occupanti.tr
                                                            : nullptr;
            if (!dove && chiave != "lavoro")
                return rifiuto("--comfort: \"" + visibile + "\": chiave sconosciuta (met, clo, v, tr, lavoro, cat)");
            const auto numero = numero_intero_testo(valore);
            if (!numero || !std::isfinite(*numero)) return rifiuto("--comfort: \"" + visibile + "\" non è un numero");
            if (dove) {
                if (*dove) return rifiuto("--comfort: " + std::string(chiave) + " è data due volte");
                *dove = *numero;
            } else {
                if (con_lavoro) return rifiuto("--comfort: lavoro è data due volte");
                con_lavoro = true;
                r.occupanti.lavoro = *numero;
            }
        }
        if (virgola == std::string_view::npos) break;
        resto.remove_prefix(virgola + 1);
    }
    if (!met || !clo || !v) return rifiuto("--comfort: dare almeno met, clo e v (per esempio met=1.2,clo=0.5,v=0.1)");
    r.occupanti.met = *met;
    r.occupanti.clo = *clo;
    r.occupanti.v = *v;
    if (const Fatto f = controlla_occupanti(*met, *clo, *v, r.occupanti.lavoro); !f)
        return rifiuto("--comfort: " + f.errore().testo);
    if (r.occupanti.tr && (*r.occupanti.tr < t_minima_stato || *r.occupanti.tr > t_massima_stato))
        return rifiuto("--comfort: tr è fuori da -50 a 100 C");
    return std::optional<RichiestaComfort>(r);
}

} // namespace ondix
