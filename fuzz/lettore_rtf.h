// A strict little RTF reader for checking the report writer: it accepts only what a well-formed document may
// hold and gives back its text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondix {

// The text of the RTF document `rtf` as UTF-8, one '\n' per \par, tabs as '\t'; header groups (font table,
// colour table, "\*" destinations) are skipped. nullopt, with the reason in `errore`, when the document is not
// well formed: a byte outside printable ASCII other than CR/LF, unbalanced braces, text after the closing
// brace, a bad escape, a \u out of range or an unpaired surrogate.
std::optional<std::string> leggi_rtf(std::string_view rtf, std::string& errore);

// The Windows-1252 byte `b` as a code point (U+FFFD for the five unassigned bytes).
char32_t da_1252(unsigned char b);

// Appends code point `c` to `s` as UTF-8.
void aggiungi_utf8(std::string& s, char32_t c);

// The text a report line stands for, the way the writer documents it: UTF-8 decoded (an invalid byte gives
// U+FFFD), control characters other than tab and '\n' dropped (C1 controls too). Each line ends with '\n'.
std::string testo_atteso(const std::vector<std::string>& righe);

// `s` without any U+FFFD: how invalid input is spelled out (one replacement per byte, or per sequence) is the
// writer's choice, so comparisons ignore it.
std::string senza_sostituti(std::string_view s);

// The report lines encoded in a fuzz input: the first byte is the font size (a signed byte), the rest are the
// lines, separated by NUL bytes.
struct IngressoRtf {
    int punti = 0;
    std::vector<std::string> righe;
};
IngressoRtf dividi_ingresso_rtf(const unsigned char* dati, std::size_t n);

} // namespace ondix
