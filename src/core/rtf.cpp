#include "core/rtf.h"

#include "core/file_destinazione.h"
#include "core/numeri.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace ondix {

namespace {

// Windows-1252 bytes 0x80–0x9F and the code points they stand for (0 where the byte is unassigned).
constexpr std::array<char32_t, 32> cp1252_80{0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                             0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                             0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                             0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The Windows-1252 byte of `c`, or -1 when the code page has none.
int byte_1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (std::size_t i = 0; i < cp1252_80.size(); ++i)
        if (cp1252_80[i] != 0 && cp1252_80[i] == c) return static_cast<int>(0x80 + i);
    return -1;
}

void esadecimale(std::string& out, int byte) {
    static constexpr char cifre[] = "0123456789abcdef";
    out += "\\'";
    out += cifre[(byte >> 4) & 0xF];
    out += cifre[byte & 0xF];
}

// \uN takes a signed 16-bit N; the '?' after it, as \'3f, is what readers without Unicode show.
void unicode16(std::string& out, unsigned unita) {
    const int n = unita > 0x7FFF ? static_cast<int>(unita) - 0x10000 : static_cast<int>(unita);
    out += "\\u" + std::to_string(n) + "\\'3f";
}

void carattere(std::string& out, char32_t c, bool& spazio_prima) {
    const bool spazio = c == U' ';
    if (spazio) {
        // Runs of blanks carry the report's columns; some readers fold literal runs into one blank, none folds
        // an escaped one.
        if (spazio_prima)
            esadecimale(out, 0x20);
        else
            out += ' ';
    } else if (c == U'\t') {
        out += "\\tab ";
    } else if (c == U'\\' || c == U'{' || c == U'}') {
        out += '\\';
        out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0 && byte_1252(c) < 0)) {
        // Control characters have no place in a report line.
    } else if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (const int b = byte_1252(c); b >= 0) {
        esadecimale(out, b);
    } else if (c > 0xFFFF) {
        const char32_t v = c - 0x10000;
        unicode16(out, 0xD800 + static_cast<unsigned>(v >> 10));
        unicode16(out, 0xDC00 + static_cast<unsigned>(v & 0x3FF));
    } else {
        unicode16(out, static_cast<unsigned>(c));
    }
    spazio_prima = spazio;
}

} // namespace

std::string scrivi_rtf(const std::vector<std::string>& righe, int punti) {
    const int mezzi_punti = (punti < 1 ? 1 : punti > 1000 ? 1000 : punti) * 2;
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n"
                      "{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}}\n"
                      "\\pard\\plain\\f0\\fs" +
                      std::to_string(mezzi_punti) + "\n";
    for (const std::string& riga : righe) {
        bool spazio_prima = false;
        for (std::size_t i = 0; i < riga.size();) {
            const char32_t c = leggi_codice_utf8(riga, i);
            if (c == U'\n') {
                out += "\\par\n";
                spazio_prima = false;
                continue;
            }
            carattere(out, c, spazio_prima);
        }
        out += "\\par\n";
    }
    out += "}\n";
    return out;
}

Fatto salva_rapporto_rtf(const std::vector<std::string>& righe, const std::string& percorso) {
    if (const Fatto f = sostituisci_file(percorso, scrivi_rtf(righe, punti_rtf)); !f)
        return Errore{Causa::file,
                      "impossibile salvare il rapporto in \"" + testo_visibile(percorso) + "\": " + f.errore().testo};
    return {};
}

} // namespace ondix
