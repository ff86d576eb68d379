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

namespace {

// The reader's state as it walks the document; each step returns false at the first fault, with its reason in
// `errore`.
class LettoreRtf {
public:
    LettoreRtf(std::string_view rtf, std::string& errore) : m_rtf(rtf), m_errore(errore) {}

    std::optional<std::string> leggi() {
        if (m_rtf.substr(0, 6) != "{\\rtf1") return sbaglio(0, "does not start with {\\rtf1");
        while (m_i < m_rtf.size())
            if (!passo()) return std::nullopt;
        if (!m_chiuso) return sbaglio(m_rtf.size(), "unbalanced braces: the document is not closed");
        return m_testo;
    }

private:
    std::nullopt_t sbaglio(std::size_t i, const std::string& perche) {
        m_errore = "at byte " + std::to_string(i) + ": " + perche;
        return std::nullopt;
    }
    bool errore(std::size_t i, const std::string& perche) {
        sbaglio(i, perche);
        return false;
    }

    // Text `c` of the document, unless its group is skipped or it is an \u's fallback.
    bool testo_di(std::size_t i, char32_t c) {
        if (m_salta.back()) return true;
        if (m_da_saltare > 0) {
            --m_da_saltare;
            return true;
        }
        if (m_alto != 0) return errore(i, "high surrogate without its low half");
        aggiungi_utf8(m_testo, c);
        return true;
    }

    // One byte, brace, text character or escape.
    bool passo() {
        const char c = m_rtf[m_i];
        const auto u = static_cast<unsigned char>(c);
        if (m_chiuso) {
            if (c != '\n' && c != '\r') return errore(m_i, "text after the closing brace");
            ++m_i;
            return true;
        }
        if (c == '\n' || c == '\r') {
            ++m_i;
            return true;
        }
        if (u < 0x20 || u > 0x7E) return errore(m_i, "byte " + std::to_string(u) + " outside printable ASCII");
        const bool primo = m_inizio_gruppo;
        m_inizio_gruppo = false;
        if (c == '{') {
            m_salta.push_back(m_salta.back());
            m_inizio_gruppo = true;
            m_da_saltare = 0;
            ++m_i;
            return true;
        }
        if (c == '}') {
            if (m_alto != 0) return errore(m_i, "high surrogate without its low half");
            m_salta.pop_back();
            m_da_saltare = 0;
            if (m_salta.size() == 1) m_chiuso = true;
            ++m_i;
            return true;
        }
        if (c != '\\') {
            ++m_i;
            return testo_di(m_i - 1, static_cast<char32_t>(u));
        }
        return escape(primo);
    }

    // An escape at m_i: a control symbol, or a control word with its parameter.
    bool escape(bool primo) {
        const std::size_t i = m_i;
        if (i + 1 >= m_rtf.size()) return errore(i, "backslash at the end");
        const char d = m_rtf[i + 1];
        m_i += 2;
        if (d == '\\' || d == '{' || d == '}') return testo_di(i, static_cast<char32_t>(d));
        if (d == '\'') {
            if (i + 3 >= m_rtf.size()) return errore(i, "\\' without two hex digits");
            const int h = esa(m_rtf[i + 2]), l = esa(m_rtf[i + 3]);
            if (h < 0 || l < 0) return errore(i, "\\' without two hex digits");
            m_i = i + 4;
            return testo_di(i, da_1252(static_cast<unsigned char>(h * 16 + l)));
        }
        if (d == '*') {
            if (!primo) return errore(i, "\\* not at the start of a group");
            m_salta.back() = true;
            m_inizio_gruppo = false;
            return true;
        }
        if (d == '~' || d == '_') return testo_di(i, d == '~' ? 0xA0 : 0x2011);
        if (d == '-') return true;
        if (d == '\n' || d == '\r') return testo_di(i, U'\n');
        if (!lettera(d)) return errore(i, std::string("unknown control symbol \\") + d);
        m_i = i;
        return parola_di_controllo(primo);
    }

    // A control word at m_i, its parameter and its delimiter.
    bool parola_di_controllo(bool primo) {
        const std::size_t i = m_i;
        std::size_t j = i + 1;
        std::string parola;
        while (j < m_rtf.size() && lettera(m_rtf[j]) && parola.size() < 32)
            parola += m_rtf[j++];
        if (j < m_rtf.size() && lettera(m_rtf[j])) return errore(i, "control word longer than 32 letters");
        bool ha_numero = false;
        bool negativo = false;
        long numero = 0;
        if (j < m_rtf.size() && m_rtf[j] == '-') {
            negativo = true;
            ++j;
            if (j >= m_rtf.size() || !cifra(m_rtf[j])) return errore(i, "'-' without digits after \\" + parola);
        }
        int cifre = 0;
        while (j < m_rtf.size() && cifra(m_rtf[j])) {
            if (++cifre > 10) return errore(i, "parameter of \\" + parola + " too long");
            numero = numero * 10 + (m_rtf[j++] - '0');
            ha_numero = true;
        }
        if (negativo) numero = -numero;
        if (j < m_rtf.size() && m_rtf[j] == ' ') ++j; // the delimiter belongs to the word
        m_i = j;

        if (primo && (parola == "fonttbl" || parola == "colortbl" || parola == "stylesheet" || parola == "info"))
            m_salta.back() = true;
        if (m_salta.back()) return true;
        if (parola == "par" || parola == "line") return testo_di(m_i, U'\n');
        if (parola == "tab") return testo_di(m_i, U'\t');
        if (parola == "uc") {
            if (!ha_numero || numero < 0 || numero > 10) return errore(m_i, "bad \\uc");
            m_uc = static_cast<int>(numero);
        } else if (parola == "u") {
            if (!ha_numero || numero < -32768 || numero > 65535) return errore(m_i, "\\u out of range");
            return unicode(static_cast<char32_t>(numero < 0 ? numero + 65536 : numero));
        }
        // Every other control word (formatting, font selection) carries no text.
        return true;
    }

    // The UTF-16 unit of a \u, its surrogates paired.
    bool unicode(char32_t unita) {
        m_da_saltare = 0;
        if (unita >= 0xD800 && unita <= 0xDBFF) {
            if (m_alto != 0) return errore(m_i, "two high surrogates");
            m_alto = unita;
        } else if (unita >= 0xDC00 && unita <= 0xDFFF) {
            if (m_alto == 0) return errore(m_i, "low surrogate without its high half");
            const char32_t cp = 0x10000 + ((m_alto - 0xD800) << 10) + (unita - 0xDC00);
            m_alto = 0;
            aggiungi_utf8(m_testo, cp);
        } else {
            if (m_alto != 0) return errore(m_i, "high surrogate without its low half");
            aggiungi_utf8(m_testo, unita);
        }
        m_da_saltare = m_uc;
        return true;
    }

    std::string_view m_rtf;
    std::string& m_errore;
    std::size_t m_i = 0;
    std::string m_testo;
    std::vector<bool> m_salta{false}; // per open group: is its content skipped?
    bool m_inizio_gruppo = false;     // the next token is the first of a group
    bool m_chiuso = false;
    int m_uc = 1;         // fallback characters after \u
    int m_da_saltare = 0; // fallback characters still to skip
    char32_t m_alto = 0;  // a high surrogate waiting for its low half
};

} // namespace

std::optional<std::string> leggi_rtf(std::string_view rtf, std::string& errore) {
    return LettoreRtf(rtf, errore).leggi();
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
