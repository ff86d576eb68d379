// Numbers to text and text to numbers, independent of the C locale.
#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace ondix {

// Fixed-point text of `valore` with `d` decimals, right-aligned in `w` characters (the field grows, never cuts),
// decimal point '.'. Non-finite values read "infinito", "-infinito" or "indefinito", right-aligned likewise.
std::string formatta(double valore, int w, int d);

// Fixed-point text of `valore` with `d` decimals and a decimal point into [primo, ultimo): the same characters and
// the same outcome as std::to_chars(primo, ultimo, valore, std::chars_format::fixed, d), sooner. Most numbers are
// written from their scaled value rounded to an integer; where that rounding could differ from the exact one
// (a value on or next to a tie, a magnitude beyond 2^50 units of the last decimal) std::to_chars writes them.
std::to_chars_result scrivi_fisso(char* primo, char* ultimo, double valore, int d);

// Outcome of reading a typed text as a number.
struct Conversione {
    double valore = 0.0;
    bool trabocco = false; // the number is too large for a double
    std::size_t letti = 0; // characters consumed, 0 when no number was found
};

// Reads the longest valid decimal number at the start of `testo`: leading white space, optional sign, digits,
// optional point and digits, optional exponent. Decimal point only; no "inf", "nan" or hex. "" and "abc" give 0,
// "20,5" gives 20. A magnitude too small for a double gives 0 with its sign.
Conversione leggi_numero(std::string_view testo);

// The whole text as a number (leading white space allowed, nothing after the number); nullopt otherwise,
// and for a number too large for a double.
std::optional<double> numero_intero_testo(std::string_view testo);

// `s` without blanks (space, tab, line ends, vertical tab, form feed) at either end.
std::string_view senza_blank(std::string_view s);

// Number of characters (UTF-8 code points) in `testo`.
std::size_t lunghezza_caratteri(std::string_view testo);
// The first `n` characters (UTF-8 code points) of `testo`.
std::string primi_caratteri(std::string_view testo, std::size_t n);
// Decodes the UTF-8 code point at `i` and moves `i` past it; a byte that does not start a well-formed sequence
// (overlong, surrogate, beyond U+10FFFF, cut short) gives U+FFFD and is skipped alone.
char32_t leggi_codice_utf8(std::string_view testo, std::size_t& i);
// `testo` fit to be shown on a terminal: control characters (C0, DEL, C1), the bidirectional controls, the line
// and paragraph separators become escapes ("\x1B", "\u202E"), and each byte of invalid UTF-8 becomes "\xNN";
// everything else is kept.
std::string testo_visibile(std::string_view testo);

} // namespace ondix
