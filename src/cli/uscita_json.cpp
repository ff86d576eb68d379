#include "cli/uscita_json.h"

#include "core/modello.h"

#include <nlohmann/json.hpp>

namespace ondix {

namespace {

// {"pmv", "ppd" (%), "categoria" ("I", "II", "III" or "nessuna"), "schema" (the standard naming the categories),
// "fuori_limiti" (the names of the model's ranges the inputs lie outside of), then the inputs it was judged with:
// "met", "clo", "v" (m/s), "tr" (C, the air's when not given), "lavoro" (met) and "categoria_zona" (the category
// whose PMV limit bounds the chart's comfort zone)}.
nlohmann::ordered_json comfort_json(const GiudizioComfort& g) {
    const Comfort& c = g.esito;
    const Occupanti& o = g.richiesta.occupanti;
    std::vector<std::string> fuori;
    for (unsigned bit = 1; bit <= fuori_pa; bit <<= 1)
        if (c.fuori & bit) fuori.push_back(testo_limiti(bit));
    return {{"pmv", c.pmv},
            {"ppd", c.ppd},
            {"categoria", testo_categoria(categoria_pmv(c.pmv))},
            {"schema", schema_categorie},
            {"fuori_limiti", fuori},
            {"met", o.met},
            {"clo", o.clo},
            {"v", o.v},
            {"tr", g.tr},
            {"lavoro", o.lavoro},
            {"categoria_zona", testo_categoria(g.richiesta.categoria)}};
}

} // namespace

std::string esito_json(const EsitoCalcolo& e, const GiudizioComfort* comfort) {
    using json = nlohmann::ordered_json;
    const Contesto& ctx = e.contesto;
    json punti = json::array();
    for (int n = 1; n <= TabellaPunti::numero_voci; ++n) {
        const PuntoGrafico& p = ctx.punti[n];
        if (!p.in_uso()) continue;
        punti.push_back({{"n", n}, {"t", p.X}, {"x", p.Y}, {"etichetta", p.etichetta}});
    }
    json j = {
        {"versione_formato", versione_formato_json},
        {"processo", ctx.processo},
        {"titolo", std::string(titolo_processo(ctx.processo))},
        {"rapporto", ctx.rapporto.righe()},
        {"messaggi", e.messaggi},
        {"punti", punti},
        {"vista", e.vista ? json(std::string(nome_vista(*e.vista))) : json(nullptr)},
        {"codice_grafico", ctx.codice_grafico},
        {"errore", e.errore ? json(*e.errore) : json(nullptr)},
    };
    // Added only where they apply, so that the object of every other calculation stays as it was.
    const RisultatiCalcolo& ris = ctx.risultati;
    if (ris.con_rugiada) j["t_rugiada"] = ris.rugiada ? json(*ris.rugiada) : json(nullptr);
    if (!ris.nebbia.empty()) {
        json nebbia = json::array();
        for (const StatoNebbia& s : ris.nebbia) {
            const auto& eq = s.equilibrio;
            nebbia.push_back({
                {"punto", s.punto},
                {"t", s.t},
                {"x", s.x},
                {"ur", s.ur},
                {"t_equilibrio", eq ? json(eq->t) : json(nullptr)},
                {"x_equilibrio", eq ? json(eq->x) : json(nullptr)},
                {"ur_equilibrio", eq ? json(100.0) : json(nullptr)},
                {"acqua_liquida", eq ? json(eq->acqua) : json(nullptr)},
                {"acqua_liquida_kg_h", eq && s.portata ? json(eq->acqua * *s.portata / 1000.0) : json(nullptr)},
            });
        }
        j["nebbia"] = nebbia;
    }
    // A calculation that found no possible plant says why.
    if (e.impossibile) j["impossibile"] = *e.impossibile;
    // A calculation at a site pressure says which.
    if (ctx.aria.pressione != pressione_atmosferica) j["pressione"] = ctx.aria.pressione;
    // One with a model chosen explicitly names it.
    if (ctx.aria.modello) j["modello"] = std::string(ctx.aria.modello->nome());
    if (comfort) j["comfort"] = comfort_json(*comfort);
    // The numbers of the report's result lines, always last, so that scripts need not read the report's texts.
    json valori = json::object();
    for (const auto& [chiave, valore] : ris.valori)
        valori[chiave] = valore;
    j["risultati"] = std::move(valori);
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string stato_json(const StatoCompleto& s, Aria aria, const std::vector<std::string>& rapporto,
                       const GiudizioComfort* comfort) {
    using json = nlohmann::ordered_json;
    const auto o = [](const std::optional<double>& v) { return v ? json(*v) : json(nullptr); };
    json j = {
        {"versione_formato", versione_formato_json},
        {"t", s.t},
        {"ur", s.ur},
        {"x", s.x},
        {"h", s.h},
        {"v", s.v},
        {"t_bulbo_umido", o(s.bulbo_umido)},
        {"t_rugiada", o(s.rugiada)},
        {"pressione", aria.pressione},
    };
    if (aria.modello) j["modello"] = std::string(aria.modello->nome());
    if (comfort) j["comfort"] = comfort_json(*comfort);
    j["rapporto"] = rapporto;
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

} // namespace ondix
