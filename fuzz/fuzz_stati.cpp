// The batch command's reader: any input gives either an error before any output, or a header and one line of
// seven fields per row written, each row written or reported.
#include "cli/stati.h"
#include "core/numeri.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    if (n < 1) return 0;
    const int umidita = dati[0] & 1;
    std::istringstream in(std::string(reinterpret_cast<const char*>(dati) + 1, n - 1));
    std::ostringstream out, err;
    const ondix::EsitoStati e = ondix::calcola_stati(in, out, err, umidita, "fuzz");
    const std::string csv = out.str();
    if (e.errore) {
        if (!csv.empty() || e.scritte != 0) std::abort();
        return 0;
    }
    std::size_t righe = 0, segnalate = 0;
    for (const char c : csv)
        righe += c == '\n';
    for (const char c : err.str())
        segnalate += c == '\n';
    if (righe != e.scritte + 1 || segnalate != e.scartate) std::abort();

    // Every data line: seven fields, the first five numbers, the last two numbers or empty.
    std::istringstream linee(csv);
    std::string linea;
    std::getline(linee, linea);
    const char sep = linea.size() > 1 ? linea[1] : ',';
    std::vector<std::string> campi;
    while (std::getline(linee, linea)) {
        ondix::dividi_campi(linea, sep, campi);
        if (campi.size() != 7) std::abort();
        for (std::size_t i = 0; i < 7; ++i) {
            if (i >= 5 && campi[i].empty()) continue;
            if (!ondix::numero_intero_testo(campi[i])) std::abort();
        }
    }
    return 0;
}
