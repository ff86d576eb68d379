#include "cli/uscita_json.h"

#include <nlohmann/json.hpp>

namespace ondix {

std::string esito_json(const EsitoCalcolo& e) {
    using json = nlohmann::ordered_json;
    const Contesto& ctx = e.contesto;
    json punti = json::array();
    for (int n = 1; n <= TabellaPunti::numero_voci; ++n) {
        const PuntoGrafico& p = ctx.punti[n];
        if (!p.in_uso()) continue;
        punti.push_back({{"n", n}, {"t", p.X}, {"x", p.Y}, {"etichetta", p.etichetta}});
    }
    json j = {
        {"processo", ctx.processo},
        {"titolo", std::string(titolo_processo(ctx.processo))},
        {"rapporto", ctx.rapporto.righe()},
        {"messaggi", e.messaggi},
        {"punti", punti},
        {"vista", e.vista ? json(std::string(nome_vista(*e.vista))) : json(nullptr)},
        {"codice_grafico", ctx.codice_grafico},
        {"errore", e.errore ? json(*e.errore) : json(nullptr)},
    };
    // A calculation at a site pressure says which.
    if (ctx.aria != Aria{}) j["pressione"] = ctx.aria.pressione;
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string stato_json(const StatoCompleto& s, Aria aria, const std::vector<std::string>& rapporto) {
    using json = nlohmann::ordered_json;
    const auto o = [](const std::optional<double>& v) { return v ? json(*v) : json(nullptr); };
    const json j = {
        {"t", s.t},
        {"ur", s.ur},
        {"x", s.x},
        {"h", s.h},
        {"v", s.v},
        {"t_bulbo_umido", o(s.bulbo_umido)},
        {"t_rugiada", o(s.rugiada)},
        {"pressione", aria.pressione},
        {"rapporto", rapporto},
    };
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

} // namespace ondix
