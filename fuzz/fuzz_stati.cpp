// The batch command's readers (CSV and weather files): any input gives either an error before any output, or a
// header and one line per row written, each row written or reported (and written with empty fields too when bad
// rows are kept). Every line has the header's fields: the kept columns, then seven properties (five numbers, then
// two numbers or empty), then the pressure when each row has its own; a CSV's other columns, when copied, may come
// after them. Worker threads change nothing in any of it.
#include "cli/stati.h"
#include "core/lettore_stati.h"
#include "core/numeri.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    if (n < 1) return 0;
    ondix::OpzioniStati o;
    o.umidita = dati[0] & 1;
    o.pressione_da_file = (dati[0] & 2) != 0;
    // Bits 3 to 5: the other columns copied, bad rows kept, decimal commas asked for.
    o.copia_colonne = (dati[0] & 8) != 0;
    o.tieni_scarti = (dati[0] & 16) != 0;
    if (dati[0] & 32) o.decimali = ondix::Decimali::virgola;
    // Bit 2 reads the input as a weather file by its name.
    const char* nome = (dati[0] & 4) ? "fuzz.epw" : "fuzz";
    const std::string ingresso(reinterpret_cast<const char*>(dati) + 1, n - 1);
    std::istringstream in(ingresso);
    std::ostringstream out, err;
    const ondix::RisultatoStati e = ondix::calcola_stati(in, out, err, o, nome);
    const std::string csv = out.str();
    // Worker threads change nothing: the same rows, the same diagnostics, the same outcome.
    o.fili = 2;
    std::istringstream in_fili(ingresso);
    std::ostringstream out_fili, err_fili;
    const ondix::RisultatoStati f = ondix::calcola_stati(in_fili, out_fili, err_fili, o, nome);
    if (out_fili.str() != csv || err_fili.str() != err.str() || f.scritte != e.scritte || f.scartate != e.scartate ||
        f.errore != e.errore)
        std::abort();
    if (e.errore) {
        if (!csv.empty() || e.scritte != 0) std::abort();
        return 0;
    }
    std::size_t righe = 0, segnalate = 0;
    for (const char c : csv)
        righe += c == '\n';
    for (const char c : err.str())
        segnalate += c == '\n';
    if (righe != e.scritte + 1 + (o.tieni_scarti ? e.scartate : 0) || segnalate != e.scartate) std::abort();

    // The separator is one of those that join the properties' names; a copied column's name may hold the others
    // too (a tab inside a name in a ';' file), so each such separator is tried and one must fit every line.
    const auto va = [&](char sep) {
        std::istringstream linee(csv);
        std::string linea;
        std::getline(linee, linea);
        if (linea.find(std::string("v") + sep + "t_bulbo_umido" + sep + "t_rugiada") == std::string::npos) return false;
        std::vector<std::string> campi;
        ondix::dividi_campi(linea, sep, campi);
        const std::size_t pressione = o.pressione_da_file ? 1 : 0;
        if (campi.size() < 7 + pressione) return false;
        const std::size_t chiave = campi.size() - 7 - pressione;
        const std::size_t attesi = campi.size();
        while (std::getline(linee, linea)) {
            ondix::dividi_campi(linea, sep, campi);
            if (campi.size() != attesi) return false;
            // Where copied columns may follow the properties, their place is not known: the count is what is
            // checked.
            if (o.copia_colonne) continue;
            const bool vuota = campi[chiave].empty();
            if (vuota && !o.tieni_scarti) return false;
            for (std::size_t i = chiave; i < attesi; ++i) {
                if ((vuota || (i >= chiave + 5 && i < chiave + 7)) && campi[i].empty()) continue;
                if (!ondix::numero_campo(campi[i], sep)) return false;
            }
        }
        return true;
    };
    if (!va(',') && !va(';') && !va('\t')) std::abort();
    return 0;
}
