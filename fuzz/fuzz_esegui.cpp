// The calculation driver: any texts in the ten boxes and any option indices, for every process kind, with the
// input box answered. Nothing may crash, hang or leak; a run without a floating-point error leaves only finite
// chart points and gives a JSON form.
#include "core/esecuzione.h"
#include "core/maschera.h"
#include "core/uscita_json.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

// Input: byte 0 picks the kind, byte 1 holds the two option indices and whether the input box is answered;
// the rest are up to eleven texts separated by NUL bytes (boxes 1 to 10, then the answer). Boxes without a text
// keep their default.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    if (n < 2) return 0;
    ondix::RichiestaCalcolo r;
    r.tipo = ondix::tipi_processo[dati[0] % ondix::tipi_processo.size()];
    r.umidita = dati[1] & 1;
    r.portata = (dati[1] >> 1) & 1;
    const bool risponde = (dati[1] >> 2) & 1;

    std::size_t k = 0;
    std::string testo;
    const auto chiudi = [&] {
        if (k < 10)
            r.testi[k] = testo;
        else if (k == 10 && risponde)
            r.risposta = testo;
        ++k;
        testo.clear();
    };
    if (n > 2) {
        for (std::size_t i = 2; i < n && k <= 10; ++i) {
            if (dati[i] == 0)
                chiudi();
            else
                testo += static_cast<char>(dati[i]);
        }
        if (k <= 10) chiudi();
    }

    const ondix::RisultatoCalcolo e = ondix::esegui(r);
    if (e.errore && *e.errore != "Division par zéro en virgule flottante." &&
        *e.errore != "Opération en virgule flottante incorrecte." && *e.errore != "Débordement en virgule flottante.")
        std::abort();
    if (!e.errore) {
        for (int i = 1; i <= ondix::TabellaPunti::numero_voci; ++i) {
            const ondix::PuntoGrafico& p = e.contesto.punti[i];
            if (!std::isfinite(p.X) || !std::isfinite(p.Y)) std::abort();
        }
    }
    const std::string json = ondix::risultato_json(e);
    if (json.empty() || json.front() != '{' || json.back() != '}') std::abort();
    return 0;
}
