// The text of the batch's files: lines read one at a time, fields split and read as numbers, the output's rows
// written, each in the same way for every reader and every thread.
#include "cli/lettore_stati.h"
#include "cli/stati.h"
#include "core/numeri.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <exception>
#include <istream>

namespace ondix {

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

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

std::string citazione(std::string_view campo) {
    constexpr std::size_t massimo = 40;
    const bool lungo = lunghezza_caratteri(campo) > massimo;
    return "\"" + testo_visibile(lungo ? primi_caratteri(campo, massimo) : campo) + (lungo ? "...\"" : "\"");
}

bool LettoreRighe::leggi(std::string& riga, bool& troppo_lunga) {
    try {
        return leggi_riga(riga, troppo_lunga);
    } catch (const std::exception& e) {
        // A file stream reports a failed read(2) by throwing; errno still holds the reason.
        const int codice = errno;
        m_errore = codice != 0 ? std::strerror(codice) : e.what();
        m_in.setstate(std::ios::badbit);
        return false;
    }
}

bool LettoreRighe::guasto() const {
    return m_in.bad();
}

bool LettoreRighe::leggi_riga(std::string& riga, bool& troppo_lunga) {
    riga.clear();
    troppo_lunga = false;
    std::streambuf* sb = m_in.rdbuf();
    bool letto = false;
    for (;;) {
        const int c = sb->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            if (!letto) m_in.setstate(std::ios::eofbit);
            return letto;
        }
        letto = true;
        if (c == '\n') break;
        if (c == '\r') {
            if (sb->sgetc() == '\n') sb->sbumpc();
            break;
        }
        if (troppo_lunga) continue;
        if (riga.size() >= lunghezza_massima_riga) {
            troppo_lunga = true;
            riga.clear();
            continue;
        }
        riga.push_back(static_cast<char>(c));
    }
    return true;
}

namespace {
// The field with its decimal comma read as a point, when the file's separator lets it have one.
Conversione converti_campo(std::string_view campo, char sep) {
    const std::size_t virgola = sep == ',' ? std::string_view::npos : campo.find(',');
    if (virgola == std::string_view::npos) return leggi_numero(campo);
    std::string con_punto(campo);
    con_punto[virgola] = '.';
    return leggi_numero(con_punto);
}

bool decimale_ambiguo(std::string_view campo, char sep) {
    return sep != ',' && campo.find(',') != std::string_view::npos && campo.find('.') != std::string_view::npos;
}
} // namespace

std::optional<double> numero_campo(std::string_view campo, char sep) {
    if (decimale_ambiguo(campo, sep)) return std::nullopt;
    const Conversione c = converti_campo(campo, sep);
    if (c.letti == 0 || c.letti != campo.size() || c.trabocco) return std::nullopt;
    return c.valore;
}

void aggiungi_campo(std::string& riga, std::string_view campo, char sep) {
    if (campo.find_first_of(std::string{sep, '"', '\r', '\n'}) == std::string_view::npos) {
        riga += campo;
        return;
    }
    riga += '"';
    for (const char c : campo) {
        if (c == '"') riga += '"';
        riga += c;
    }
    riga += '"';
}

Fatto leggi_campo(const std::string& campo, std::string_view colonna, char sep, double& valore) {
    const auto rifiuto = [](std::string testo) { return Errore{Causa::dati, std::move(testo)}; };
    if (campo.empty()) return rifiuto("colonna " + std::string(colonna) + " vuota");
    if (decimale_ambiguo(campo, sep))
        return rifiuto("colonna " + std::string(colonna) + ": " + citazione(campo) +
                       " non è un numero (un punto e una virgola: separatore delle migliaia non ammesso)");
    const Conversione c = converti_campo(campo, sep);
    if (c.letti == 0 || c.letti != campo.size())
        return rifiuto("colonna " + std::string(colonna) + ": " + citazione(campo) + " non è un numero");
    if (c.trabocco) return rifiuto("colonna " + std::string(colonna) + ": " + citazione(campo) + " è troppo grande");
    valore = c.valore;
    return {};
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

void dividi_campi(std::string_view riga, char sep, std::vector<std::string>& campi) {
    campi.clear();
    std::size_t i = 0;
    const std::size_t n = riga.size();
    for (;;) {
        std::string campo;
        while (i < n && riga[i] != sep && blank(riga[i]))
            ++i;
        if (i < n && riga[i] == '"') {
            ++i;
            while (i < n) {
                if (riga[i] == '"') {
                    if (i + 1 < n && riga[i + 1] == '"') {
                        campo += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                campo += riga[i++];
            }
            // Anything between the closing quote and the separator is kept, so that a stray character makes
            // the field unreadable rather than silently dropped.
            const std::size_t inizio = i;
            while (i < n && riga[i] != sep)
                ++i;
            campo += senza_blank(riga.substr(inizio, i - inizio));
        } else {
            const std::size_t inizio = i;
            while (i < n && riga[i] != sep)
                ++i;
            campo = senza_blank(riga.substr(inizio, i - inizio));
        }
        campi.push_back(std::move(campo));
        if (i >= n) break;
        ++i; // the separator
    }
}

char separatore_di(std::string_view prima_riga) {
    if (prima_riga.find(';') != std::string_view::npos) return ';';
    if (prima_riga.find(',') != std::string_view::npos) return ',';
    if (prima_riga.find('\t') != std::string_view::npos) return '\t';
    return ',';
}

} // namespace ondix
