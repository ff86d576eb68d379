#include "core/uscita_json.h"

#include "core/modello.h"

#include <nlohmann/json.hpp>

namespace ondix {

namespace {

using json = nlohmann::ordered_json;

// {"pmv", "ppd" (%), "categoria" ("I", "II", "III" or "nessuna"), "schema" (the standard naming the categories),
// "fuori_limiti" (the names of the model's ranges the inputs lie outside of), then the inputs it was judged with:
// "met", "clo", "v" (m/s), "tr" (C, the air's when not given), "lavoro" (met) and "categoria_zona" (the category
// whose PMV limit bounds the chart's comfort zone)}.
json comfort_json(const GiudizioComfort& g) {
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

json condizione_json(const RisultatoCondizione& c) {
    const RisultatoUta& r = c.risultato;
    json stati = json::array();
    for (const StatoUta& s : r.stati) {
        json o = {{"n", s.numero}, {"sezione", s.sezione}};
        o.update(stato_uta_json(s.stato));
        o["portata"] = s.portata;
        stati.push_back(o);
    }
    json sezioni = json::array();
    for (const RisultatoSezione& e : r.sezioni) {
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
    json j = {{"nome", c.condizione->nome}, {"stagione", std::string(nome_stagione(c.condizione->stagione))}};
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

} // namespace

std::string risultato_json(const RisultatoCalcolo& e, const GiudizioComfort* comfort) {
    const Contesto& ctx = e.contesto;
    json punti = json::array();
    for (int n = 1; n <= TabellaPunti::numero_voci; ++n) {
        const PuntoGrafico& p = ctx.punti[n];
        if (!p.in_uso()) continue;
        // The whole state of the point after its table's entry (t and x), so that scripts need not compute it.
        punti.push_back({{"n", n},
                         {"t", p.X},
                         {"x", p.Y},
                         {"etichetta", p.etichetta},
                         {"ur", umidita_relativa(p.Y, p.X, ctx.aria)},
                         {"h", entalpia(p.Y, p.X, ctx.aria)},
                         {"v", volume_specifico(p.X, p.Y, ctx.aria)}});
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

std::string uta_json(const Uta& u, const std::vector<RisultatoCondizione>& condizioni) {
    json elenco = json::array();
    for (const RisultatoCondizione& c : condizioni)
        elenco.push_back(condizione_json(c));
    json j = {{"versione_formato", versione_formato_json}, {"uta", u.nome}, {"pressione", u.aria.pressione}};
    if (u.aria.modello) j["modello"] = std::string(u.aria.modello->nome());
    j["condizioni"] = elenco;
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

} // namespace ondix
