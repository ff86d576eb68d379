#include "core/esecuzione.h"

namespace ondix {

RisultatoCalcolo esegui(const RichiestaCalcolo& r) {
    RisultatoCalcolo e;
    Contesto& ctx = e.contesto;
    ctx.processo = static_cast<TipoProcesso>(r.tipo);
    imposta_maschera(ctx);
    for (std::size_t i = 0; i < r.testi.size(); ++i)
        if (r.testi[i]) ctx.maschera.testo[i] = *r.testi[i];
    ctx.maschera.umidita = r.umidita;
    ctx.maschera.portata = r.portata;
    ctx.aria = r.aria;
    EsternoSenzaFinestre esterno(r.risposta);
    if (const Fatto f = vai_calcolo(ctx, esterno); !f)
        (f.errore().causa == Causa::impianto ? e.impossibile : e.errore) = f.errore().testo;
    e.messaggi = std::move(esterno.messaggi);
    e.vista = esterno.vista;
    return e;
}

RisultatoCondizione esegui_condizione(const Uta& u, const Condizione& k) {
    RisultatoCondizione c;
    c.condizione = &k;
    EsternoSenzaFinestre esterno(std::nullopt);
    if (const Fatto f = esegui_uta(u, k, c.contesto, esterno, c.risultato); !f) c.errore = f.errore();
    c.vista = esterno.vista;
    return c;
}

} // namespace ondix
