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
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

} // namespace ondix
