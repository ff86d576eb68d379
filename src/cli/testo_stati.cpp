// The text of the batch's output: its header and its rows, written in the same way for every reader and every
// thread.
#include "cli/stati.h"
#include "core/numeri.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace ondix {

namespace {

// Writes the fixed-point text of `valore` with `d` decimals and a decimal point at `p`, and returns its end; a value
// that rounds to zero loses its minus sign. Room for any double with up to 4 decimals: 400 characters.
char* scrivi_numero(char* p, char* fine, double valore, int d) {
    char* const inizio = p;
    p = scrivi_fisso(p, fine, valore, d).ptr;
    if (*inizio == '-' && std::all_of(inizio + 1, p, [](char c) { return c == '0' || c == '.'; })) {
        std::memmove(inizio, inizio + 1, static_cast<std::size_t>(p - inizio - 1));
        --p;
    }
    return p;
}

} // namespace

void aggiungi_numero(std::string& riga, double valore, int d) {
    std::array<char, 401> buf;
    riga.append(buf.data(), scrivi_numero(buf.data(), buf.data() + buf.size(), valore, d));
}

std::string intestazione_stati(char sep) {
    std::string r = "t,ur,x,h,v,t_bulbo_umido,t_rugiada";
    for (char& c : r)
        if (c == ',') c = sep;
    return r;
}

void aggiungi_riga_stati(std::string& uscita, const StatoCompleto& s, char sep) {
    std::array<char, 7 * 401 + 1> buf;
    char* p = buf.data();
    char* const fine = buf.data() + buf.size();
    p = scrivi_numero(p, fine, s.t, 2);
    *p++ = sep;
    p = scrivi_numero(p, fine, s.ur, 2);
    *p++ = sep;
    p = scrivi_numero(p, fine, s.x, 3);
    *p++ = sep;
    p = scrivi_numero(p, fine, s.h, 3);
    *p++ = sep;
    p = scrivi_numero(p, fine, s.v, 4);
    *p++ = sep;
    if (s.bulbo_umido) p = scrivi_numero(p, fine, *s.bulbo_umido, 2);
    *p++ = sep;
    if (s.rugiada) p = scrivi_numero(p, fine, *s.rugiada, 2);
    *p++ = '\n';
    uscita.append(buf.data(), p);
}

std::string riga_stati(const StatoCompleto& s, char sep) {
    std::string r;
    aggiungi_riga_stati(r, s, sep);
    r.pop_back();
    return r;
}

} // namespace ondix
