#include "cli/esecuzione.h"

namespace ondix {

EsitoCalcolo esegui(const RichiestaCalcolo& r) {
    EsitoCalcolo e;
    Contesto& ctx = e.contesto;
    ctx.processo = static_cast<TipoProcesso>(r.tipo);
    imposta_maschera(ctx);
    for (std::size_t i = 0; i < r.testi.size(); ++i)
        if (r.testi[i]) ctx.maschera.testo[i] = *r.testi[i];
    ctx.maschera.umidita = r.umidita;
    ctx.maschera.portata = r.portata;
    EsternoSenzaFinestre esterno(r.risposta);
    if (const auto err = vai_calcolo(ctx, esterno)) e.errore = err->what();
    e.messaggi = std::move(esterno.messaggi);
    e.vista = esterno.vista;
    return e;
}

} // namespace ondix
