#include "lettore_rtf.h"

#include "core/numeri.h"

#include <array>

namespace ondix {

namespace {

constexpr char32_t sostituto = 0xFFFD;

bool lettera(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool cifra(char c) {
    return c >= '0' && c <= '9';
}
int esa(char c) {
    if (cifra(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

char32_t da_1252(unsigned char b) {
    static constexpr std::array<char32_t, 32> alti{
        0x20AC, sostituto, 0x201A,    0x0192, 0x201E,    0x2026,    0x2020, 0x2021,    0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152,    sostituto, 0x017D, sostituto, sostituto, 0x2018, 0x2019,    0x201C, 0x201D, 0x2022,
        0x2013, 0x2014,    0x02DC,    0x2122, 0x0161,    0x203A,    0x0153, sostituto, 0x017E, 0x0178};
    if (b >= 0x80 && b < 0xA0) return alti[b - 0x80u];
    return b;
}

void aggiungi_utf8(std::string& s, char32_t c) {
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::optional<std::string> leggi_rtf(std::string_view rtf, std::string& errore) {
    const auto sbaglio = [&](std::size_t i, const std::string& perche) {
        errore = "at byte " + std::to_string(i) + ": " + perche;
        return std::nullopt;
    };
    if (rtf.substr(0, 6) != "{\\rtf1") return sbaglio(0, "does not start with {\\rtf1");

    std::string testo;
    std::vector<bool> salta{false}; // per open group: is its content skipped?
    bool inizio_gruppo = false;     // the next token is the first of a group
    bool chiuso = false;
    int uc = 1;         // fallback characters after \u
    int da_saltare = 0; // fallback characters still to skip
    char32_t alto = 0;  // a high surrogate waiting for its low half
    const auto testo_di = [&](std::size_t i, char32_t c) -> bool {
        if (salta.back()) return true;
        if (da_saltare > 0) {
            --da_saltare;
            return true;
        }
        if (alto != 0) {
            sbaglio(i, "high surrogate without its low half");
            return false;
        }
        aggiungi_utf8(testo, c);
        return true;
    };

    std::size_t i = 0;
    while (i < rtf.size()) {
        const char c = rtf[i];
        const auto u = static_cast<unsigned char>(c);
        if (chiuso) {
            if (c != '\n' && c != '\r') return sbaglio(i, "text after the closing brace");
            ++i;
            continue;
        }
        if (c == '\n' || c == '\r') {
            ++i;
            continue;
        }
        if (u < 0x20 || u > 0x7E) return sbaglio(i, "byte " + std::to_string(u) + " outside printable ASCII");
        const bool primo = inizio_gruppo;
        inizio_gruppo = false;
        if (c == '{') {
            salta.push_back(salta.back());
            inizio_gruppo = true;
            da_saltare = 0;
            ++i;
            continue;
        }
        if (c == '}') {
            if (alto != 0) return sbaglio(i, "high surrogate without its low half");
            salta.pop_back();
            da_saltare = 0;
            if (salta.size() == 1) chiuso = true;
            ++i;
            continue;
        }
        if (c != '\\') {
            if (!testo_di(i, static_cast<char32_t>(u))) return std::nullopt;
            ++i;
            continue;
        }
        // An escape.
        if (i + 1 >= rtf.size()) return sbaglio(i, "backslash at the end");
        const char d = rtf[i + 1];
        if (d == '\\' || d == '{' || d == '}') {
            if (!testo_di(i, static_cast<char32_t>(d))) return std::nullopt;
            i += 2;
            continue;
        }
        if (d == '\'') {
            if (i + 3 >= rtf.size()) return sbaglio(i, "\\' without two hex digits");
            const int h = esa(rtf[i + 2]), l = esa(rtf[i + 3]);
            if (h < 0 || l < 0) return sbaglio(i, "\\' without two hex digits");
            if (!testo_di(i, da_1252(static_cast<unsigned char>(h * 16 + l)))) return std::nullopt;
            i += 4;
            continue;
        }
        if (d == '*') {
            if (!primo) return sbaglio(i, "\\* not at the start of a group");
            salta.back() = true;
            i += 2;
            inizio_gruppo = false;
            continue;
        }
        if (d == '~' || d == '_') {
            if (!testo_di(i, d == '~' ? 0xA0 : 0x2011)) return std::nullopt;
            i += 2;
            continue;
        }
        if (d == '-') {
            i += 2;
            continue;
        }
        if (d == '\n' || d == '\r') {
            if (!testo_di(i, U'\n')) return std::nullopt;
            i += 2;
            continue;
        }
        if (!lettera(d)) return sbaglio(i, std::string("unknown control symbol \\") + d);
        std::size_t j = i + 1;
        std::string parola;
        while (j < rtf.size() && lettera(rtf[j]) && parola.size() < 32)
            parola += rtf[j++];
        if (j < rtf.size() && lettera(rtf[j])) return sbaglio(i, "control word longer than 32 letters");
        bool ha_numero = false;
        bool negativo = false;
        long numero = 0;
        if (j < rtf.size() && rtf[j] == '-') {
            negativo = true;
            ++j;
            if (j >= rtf.size() || !cifra(rtf[j])) return sbaglio(i, "'-' without digits after \\" + parola);
        }
        int cifre = 0;
        while (j < rtf.size() && cifra(rtf[j])) {
            if (++cifre > 10) return sbaglio(i, "parameter of \\" + parola + " too long");
            numero = numero * 10 + (rtf[j++] - '0');
            ha_numero = true;
        }
        if (negativo) numero = -numero;
        if (j < rtf.size() && rtf[j] == ' ') ++j; // the delimiter belongs to the word
        i = j;

        if (primo && (parola == "fonttbl" || parola == "colortbl" || parola == "stylesheet" || parola == "info"))
            salta.back() = true;
        if (salta.back()) continue;
        if (parola == "par" || parola == "line") {
            if (!testo_di(i, U'\n')) return std::nullopt;
        } else if (parola == "tab") {
            if (!testo_di(i, U'\t')) return std::nullopt;
        } else if (parola == "uc") {
            if (!ha_numero || numero < 0 || numero > 10) return sbaglio(i, "bad \\uc");
            uc = static_cast<int>(numero);
        } else if (parola == "u") {
            if (!ha_numero || numero < -32768 || numero > 65535) return sbaglio(i, "\\u out of range");
            const auto unita = static_cast<char32_t>(numero < 0 ? numero + 65536 : numero);
            da_saltare = 0;
            if (unita >= 0xD800 && unita <= 0xDBFF) {
                if (alto != 0) return sbaglio(i, "two high surrogates");
                alto = unita;
            } else if (unita >= 0xDC00 && unita <= 0xDFFF) {
                if (alto == 0) return sbaglio(i, "low surrogate without its high half");
                const char32_t cp = 0x10000 + ((alto - 0xD800) << 10) + (unita - 0xDC00);
                alto = 0;
                aggiungi_utf8(testo, cp);
            } else {
                if (alto != 0) return sbaglio(i, "high surrogate without its low half");
                aggiungi_utf8(testo, unita);
            }
            da_saltare = uc;
        }
        // Every other control word (formatting, font selection) carries no text.
    }
    if (!chiuso) return sbaglio(rtf.size(), "unbalanced braces: the document is not closed");
    return testo;
}

std::string testo_atteso(const std::vector<std::string>& righe) {
    std::string r;
    for (const std::string& riga : righe) {
        for (std::size_t i = 0; i < riga.size();) {
            const char32_t c = leggi_codice_utf8(riga, i);
            if ((c < 0x20 && c != U'\t' && c != U'\n') || (c >= 0x7F && c < 0xA0)) continue;
            aggiungi_utf8(r, c);
        }
        r += '\n';
    }
    return r;
}

std::string senza_sostituti(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.substr(i, 3) == "\xEF\xBF\xBD") {
            i += 2;
            continue;
        }
        r += s[i];
    }
    return r;
}

IngressoRtf dividi_ingresso_rtf(const unsigned char* dati, std::size_t n) {
    IngressoRtf r;
    if (n == 0) return r;
    r.punti = static_cast<signed char>(dati[0]);
    if (n == 1) return r;
    std::string riga;
    for (std::size_t i = 1; i < n; ++i) {
        if (dati[i] == 0) {
            r.righe.push_back(std::move(riga));
            riga.clear();
        } else {
            riga += static_cast<char>(dati[i]);
        }
    }
    r.righe.push_back(std::move(riga));
    return r;
}

} // namespace ondix
