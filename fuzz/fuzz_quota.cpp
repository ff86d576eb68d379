// The altitude answer: any text is either refused (not entirely a number) or gives a pressure within the
// table's range, computed from the altitude the text spells, and printable in both formats.
#include "core/altitudine.h"
#include "core/numeri.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    const std::string risposta(reinterpret_cast<const char*>(dati), n);
    const auto p = ondix::pressione_da_risposta(risposta);
    const auto z = ondix::numero_intero_testo(risposta);
    if (p.has_value() != z.has_value()) std::abort();
    if (!p) return 0;

    constexpr double minima = 536.0 * 101335.0 / 760.0;  // 3000 m and above
    constexpr double massima = 782.0 * 101335.0 / 760.0; // −250 m and below
    if (!std::isfinite(*p) || *p < minima || *p > massima) std::abort();
    if (*p != ondix::pressione_da_quota(*z) * 101335.0 / 760.0) std::abort();
    // Higher up, lower pressure.
    if (ondix::pressione_da_quota(std::nextafter(*z, HUGE_VAL)) > ondix::pressione_da_quota(*z)) std::abort();

    if (ondix::formato_reale(*p).size() != 23) std::abort();
    const std::string m = ondix::messaggio_pressione(*p);
    if (m.rfind("pressione atmosferica:", 0) != 0 || m.size() < 5 || m.substr(m.size() - 5) != " mbar") std::abort();
    return 0;
}
