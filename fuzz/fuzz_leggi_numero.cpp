// The conversion rule: never crashes, consumes exactly the longest number at the start of the text, and gives
// the value the C library reads from that same prefix.
#include "core/numeri.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool cifra(char c) {
    return c >= '0' && c <= '9';
}

// Length of the longest prefix of `s` of the form: blanks, optional sign, digits with an optional point (at
// least one digit in all), optional exponent (e or E, optional sign, at least one digit). 0 when there is none.
// A small state machine, written apart from the code under test.
std::size_t prefisso_numero(std::string_view s) {
    enum Stato { inizio, segno, interi, decimali, e, e_segno, esponente };
    Stato st = inizio;
    std::size_t cifre = 0; // digits of the mantissa so far
    std::size_t fine = 0;  // end of the longest valid prefix seen
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (st == inizio && blank(c))
            st = inizio;
        else if (st == inizio && (c == '+' || c == '-'))
            st = segno;
        else if ((st == inizio || st == segno || st == interi) && cifra(c))
            st = interi, ++cifre;
        else if ((st == inizio || st == segno || st == interi) && c == '.')
            st = decimali;
        else if (st == decimali && cifra(c))
            ++cifre;
        else if ((st == interi || st == decimali) && cifre > 0 && (c == 'e' || c == 'E'))
            st = e;
        else if (st == e && (c == '+' || c == '-'))
            st = e_segno;
        else if ((st == e || st == e_segno || st == esponente) && cifra(c))
            st = esponente;
        else
            break;
        const bool completo = ((st == interi || st == decimali) && cifre > 0) || st == esponente;
        if (completo) fine = i + 1;
    }
    return fine;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    const std::string testo(reinterpret_cast<const char*>(dati), n);
    const ondix::Conversione c = ondix::leggi_numero(testo);
    const std::size_t atteso = prefisso_numero(testo);
    if (c.letti != atteso) std::abort();

    const auto intero = ondix::numero_intero_testo(testo);
    if (intero.has_value() != (atteso != 0 && atteso == n && !c.trabocco)) std::abort();
    if (intero && *intero != c.valore) std::abort();

    if (atteso == 0) {
        if (c.valore != 0.0 || c.trabocco) std::abort();
        return 0;
    }
    const std::string prefisso = testo.substr(0, atteso);
    errno = 0;
    const double rif = std::strtod(prefisso.c_str(), nullptr);
    const bool fuori = errno == ERANGE;
    if (std::isinf(rif)) {
        if (!c.trabocco || c.valore != rif) std::abort();
    } else if (fuori && std::fabs(rif) < DBL_MIN) {
        // Too small for a normal double: 0 (with its sign) or the same subnormal value.
        if (c.trabocco || (c.valore != 0.0 && c.valore != rif)) std::abort();
        if (std::signbit(c.valore) != std::signbit(rif)) std::abort();
    } else {
        if (c.trabocco || c.valore != rif || std::signbit(c.valore) != std::signbit(rif)) std::abort();
    }
    return 0;
}
