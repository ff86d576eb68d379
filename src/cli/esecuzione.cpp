#include "cli/esecuzione.h"

#include "cli/stati.h"
#include "core/altitudine.h"
#include "core/file_destinazione.h"
#include "core/modello.h"
#include "core/numeri.h"
#include "core/rtf.h"

#include <cmath>

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
    if (const auto err = vai_calcolo(ctx, esterno)) e.errore = err->what();
    e.messaggi = std::move(esterno.messaggi);
    e.vista = esterno.vista;
    return e;
}

std::variant<Aria, std::string> aria_da_opzioni(const std::optional<std::string>& pressione,
                                               const std::optional<std::string>& quota,
                                               const std::optional<std::string>& modello) {
    Aria a;
    if (modello) {
        a.modello = modello_da_chiave(*modello);
        if (!a.modello) return "--modello: \"" + *modello + "\" is not a model (use ashrae)";
    }
    if (pressione && quota) return std::string("--pressione and --quota both give the pressure; use one of them");
    if (pressione) {
        const auto p = numero_intero_testo(*pressione);
        if (!p || !std::isfinite(*p)) return "--pressione: \"" + *pressione + "\" is not a pressure in Pa";
        if (*p < pressione_minima || *p > pressione_massima)
            return "--pressione: " + *pressione + " Pa is outside " + formatta(pressione_minima, 0, 0) + " to " +
                   formatta(pressione_massima, 0, 0) + " Pa";
        a.pressione = *p;
    }
    if (quota) {
        const auto z = numero_intero_testo(*quota);
        if (!z || !std::isfinite(*z)) return "--quota: \"" + *quota + "\" is not an altitude in m";
        // The altitude table ends at -250 m and 3000 m; beyond them it would answer its last row's pressure.
        if (*z < -250.0 || *z > 3000.0)
            return "--quota: " + *quota + " m is outside the altitude table's -250 to 3000 m (give --pressione instead)";
        a.pressione = pressione_pascal_da_quota(*z);
    }
    return a;
}

std::optional<std::string> salva_rapporto_rtf(const std::vector<std::string>& righe, const std::string& percorso) {
    if (const auto errore = sostituisci_file(percorso, scrivi_rtf(righe, punti_rtf)))
        return "cannot save the report to \"" + testo_visibile(percorso) + "\": " + errore->testo();
    return std::nullopt;
}

} // namespace ondix
