#include "core/numeri.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace ondix {

namespace {
std::string allinea(std::string s, int w) {
    if (w > 0 && s.size() < static_cast<std::size_t>(w)) s.insert(0, static_cast<std::size_t>(w) - s.size(), ' ');
    return s;
}

bool cifra(char c) {
    return c >= '0' && c <= '9';
}
bool spazio(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
constexpr std::array<double, 10> potenze_dieci{1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr std::array<std::uint64_t, 10> potenze_intere{1,      10,      100,      1000,      10000,
                                                       100000, 1000000, 10000000, 100000000, 1000000000};
} // namespace

std::to_chars_result scrivi_fisso(char* primo, char* ultimo, double valore, int d) {
    if (d >= 0 && d < static_cast<int>(potenze_dieci.size()) && std::isfinite(valore)) {
        const auto dd = static_cast<std::size_t>(d);
        // m is |valore| · 10^d within half a unit in its last place (the power is exact), so below 2^50 it is
        // within m · 2^-53 of the exact product: when its fraction is farther than twice that from one half, the
        // integer nearest to m is the one nearest to the exact product, which is what to_chars rounds to.
        const double m = std::fabs(valore) * potenze_dieci[dd];
        const double intera = std::floor(m);
        const double frazione = m - intera; // exact
        if (m < 0x1p50 && std::fabs(frazione - 0.5) > m * 0x1p-52) {
            std::uint64_t r = static_cast<std::uint64_t>(intera) + (frazione > 0.5 ? 1 : 0);
            const std::uint64_t p = potenze_intere[dd];
            std::uint64_t interi = r / p, decimali = r % p;
            // Digits from the right: the decimals (with their leading zeros), the point, the integer part.
            std::array<char, 32> buf;
            char* q = buf.data() + buf.size();
            for (int k = 0; k < d; ++k, decimali /= 10)
                *--q = static_cast<char>('0' + decimali % 10);
            if (d > 0) *--q = '.';
            do {
                *--q = static_cast<char>('0' + interi % 10);
                interi /= 10;
            } while (interi != 0);
            if (std::signbit(valore)) *--q = '-';
            const auto n = static_cast<std::size_t>(buf.data() + buf.size() - q);
            if (static_cast<std::size_t>(ultimo - primo) < n) return {ultimo, std::errc::value_too_large};
            std::memcpy(primo, q, n);
            return {primo + n, std::errc()};
        }
    }
    return std::to_chars(primo, ultimo, valore, std::chars_format::fixed, d);
}

std::string formatta(double valore, int w, int d) {
    if (std::isnan(valore)) return allinea("indefinito", w);
    if (std::isinf(valore)) return allinea(valore > 0 ? "infinito" : "-infinito", w);
    if (d < 0) d = 0;
    // Largest fixed text of a double: 309 integer digits, sign, point and the decimals.
    std::string buf(330 + static_cast<std::size_t>(d), '\0');
    const auto res = scrivi_fisso(buf.data(), buf.data() + buf.size(), valore, d);
    buf.resize(static_cast<std::size_t>(res.ptr - buf.data()));
    // A value that rounds to zero is printed without a sign: "-0,0" would be a quantity of the wrong sign.
    if (buf.front() == '-' && buf.find_first_not_of("-0.") == std::string::npos) buf.erase(0, 1);
    return allinea(std::move(buf), w);
}

Conversione leggi_numero(std::string_view testo) {
    Conversione r;
    std::size_t i = 0;
    const std::size_t n = testo.size();
    while (i < n && spazio(testo[i]))
        ++i;
    const std::size_t inizio = i;
    if (i < n && (testo[i] == '+' || testo[i] == '-')) ++i;
    const std::size_t inizio_cifre = i;
    std::size_t cifre = 0;
    while (i < n && cifra(testo[i]))
        ++i, ++cifre;
    if (i < n && testo[i] == '.') {
        ++i;
        while (i < n && cifra(testo[i]))
            ++i, ++cifre;
    }
    if (cifre == 0) return r; // no number: 0
    std::size_t fine = i;
    if (i < n && (testo[i] == 'e' || testo[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (testo[j] == '+' || testo[j] == '-')) ++j;
        if (j < n && cifra(testo[j])) {
            while (j < n && cifra(testo[j]))
                ++j;
            fine = j;
        }
    }
    const bool negativo = testo[inizio] == '-';
    double v = 0.0;
    // from_chars takes no '+' sign and no leading '-' we would have to re-add; parse the magnitude only.
    const char* primo = testo.data() + inizio_cifre;
    const char* ultimo = testo.data() + fine;
    const auto res = std::from_chars(primo, ultimo, v, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: tell them apart by the decimal exponent of the first significant
        // digit. A number of magnitude at least 1 cannot underflow.
        const std::string_view mant(primo, static_cast<std::size_t>(ultimo - primo));
        std::size_t k = 0;
        long interi = 0, zeri_decimali = 0;
        while (k < mant.size() && mant[k] == '0')
            ++k;
        while (k < mant.size() && cifra(mant[k]))
            ++k, ++interi;
        if (interi == 0 && k < mant.size() && mant[k] == '.')
            for (++k; k < mant.size() && mant[k] == '0'; ++k)
                ++zeri_decimali;
        long esp = 0;
        const auto e = mant.find_first_of("eE");
        if (e != std::string_view::npos) {
            std::size_t q = e + 1;
            bool neg = false;
            if (q < mant.size() && (mant[q] == '+' || mant[q] == '-')) neg = mant[q++] == '-';
            for (; q < mant.size() && esp < 100000000; ++q)
                esp = esp * 10 + (mant[q] - '0');
            if (neg) esp = -esp;
        }
        const long ordine = (interi > 0 ? interi : -zeri_decimali) + esp;
        if (ordine > 0) {
            r.trabocco = true;
            v = HUGE_VAL;
        } else {
            v = 0.0;
        }
    }
    r.valore = negativo ? -v : v;
    r.letti = fine;
    return r;
}

std::optional<double> numero_intero_testo(std::string_view testo) {
    const Conversione c = leggi_numero(testo);
    if (c.letti == 0 || c.letti != testo.size() || c.trabocco) return std::nullopt;
    return c.valore;
}

std::string_view senza_blank(std::string_view s) {
    while (!s.empty() && spazio(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && spazio(s.back()))
        s.remove_suffix(1);
    return s;
}

std::size_t lunghezza_caratteri(std::string_view testo) {
    std::size_t n = 0;
    for (const char c : testo)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

std::string primi_caratteri(std::string_view testo, std::size_t n) {
    std::size_t i = 0, contati = 0;
    while (i < testo.size()) {
        if ((static_cast<unsigned char>(testo[i]) & 0xC0) != 0x80) {
            if (contati == n) break;
            ++contati;
        }
        ++i;
    }
    return std::string(testo.substr(0, i));
}

char32_t leggi_codice_utf8(std::string_view s, std::size_t& i) {
    constexpr char32_t sostituto = 0xFFFD;
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c0 = b(i);
    if (c0 < 0x80) {
        ++i;
        return c0;
    }
    int n = 0;
    char32_t cp = 0, minimo = 0;
    if ((c0 & 0xE0) == 0xC0) {
        n = 1, cp = c0 & 0x1F, minimo = 0x80;
    } else if ((c0 & 0xF0) == 0xE0) {
        n = 2, cp = c0 & 0x0F, minimo = 0x800;
    } else if ((c0 & 0xF8) == 0xF0) {
        n = 3, cp = c0 & 0x07, minimo = 0x10000;
    } else {
        ++i;
        return sostituto;
    }
    if (i + static_cast<std::size_t>(n) >= s.size()) { // truncated at the end
        ++i;
        return sostituto;
    }
    for (int k = 1; k <= n; ++k) {
        const unsigned char ck = b(i + static_cast<std::size_t>(k));
        if ((ck & 0xC0) != 0x80) {
            ++i;
            return sostituto;
        }
        cp = (cp << 6) | (ck & 0x3F);
    }
    if (cp < minimo || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return sostituto;
    }
    i += static_cast<std::size_t>(n) + 1;
    return cp;
}

namespace {
// Characters that change how a terminal shows the rest of a line, or its direction.
bool carattere_di_controllo(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}
} // namespace

std::string testo_visibile(std::string_view testo) {
    static constexpr char cifre[] = "0123456789ABCDEF";
    std::string r;
    r.reserve(testo.size());
    std::size_t i = 0;
    while (i < testo.size()) {
        const std::size_t inizio = i;
        const char32_t c = leggi_codice_utf8(testo, i);
        // U+FFFD from a single byte is a malformed sequence; U+FFFD written out in the text takes three bytes.
        if (c == 0xFFFD && i - inizio == 1) {
            const auto b = static_cast<unsigned char>(testo[inizio]);
            r += "\\x";
            r += cifre[b >> 4];
            r += cifre[b & 0xF];
        } else if (carattere_di_controllo(c)) {
            if (c < 0x80) {
                r += "\\x";
                r += cifre[c >> 4];
                r += cifre[c & 0xF];
            } else {
                r += "\\u";
                for (int s = 12; s >= 0; s -= 4)
                    r += cifre[(c >> s) & 0xF];
            }
        } else {
            r.append(testo.substr(inizio, i - inizio));
        }
    }
    return r;
}

} // namespace ondix
