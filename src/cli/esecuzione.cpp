#include "cli/esecuzione.h"

#include "core/file_destinazione.h"
#include "core/numeri.h"
#include "core/rtf.h"

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
    ctx.aria = r.aria;
    EsternoSenzaFinestre esterno(r.risposta);
    if (const Fatto f = vai_calcolo(ctx, esterno); !f)
        (f.errore().causa == Causa::impianto ? e.impossibile : e.errore) = f.errore().testo;
    e.messaggi = std::move(esterno.messaggi);
    e.vista = esterno.vista;
    return e;
}

Fatto salva_rapporto_rtf(const std::vector<std::string>& righe, const std::string& percorso) {
    if (const Fatto f = sostituisci_file(percorso, scrivi_rtf(righe, punti_rtf)); !f)
        return Errore{Causa::file,
                      "impossibile salvare il rapporto in \"" + testo_visibile(percorso) + "\": " + f.errore().testo};
    return {};
}

} // namespace ondix
