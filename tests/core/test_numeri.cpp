#include "core/numeri.h"
#include "core/rapporto.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace ondix;

TEST(Formatta, FieldGrowsSignStaysRoundingCarries) {
    EXPECT_EQ(formatta(20, 7, 1), "   20.0");
    EXPECT_EQ(formatta(1234567.8, 7, 1), "1234567.8");
    EXPECT_EQ(formatta(-5, 7, 1), "   -5.0");
    EXPECT_EQ(formatta(10500, 8, 0), "   10500");
    EXPECT_EQ(formatta(9.96, 7, 1), "   10.0");
    EXPECT_EQ(formatta(0.8401, 7, 3), "  0.840");
    EXPECT_EQ(formatta(14.6712, 5, 2), "14.67");
    EXPECT_EQ(formatta(-0.0001, 7, 2), "   0.00"); // no negative zero
    EXPECT_EQ(formatta(-0.0, 5, 1), "  0.0");
    EXPECT_EQ(formatta(-0.006, 5, 2), "-0.01");
    EXPECT_EQ(formatta(1e300, 3, 0).size(), 301u);
}

// The quick writer against std::to_chars, byte for byte: exact ties and their neighbours at every decimal count,
// both signs and zeros, magnitudes from denormals to the largest double, non-finite values, short buffers.
TEST(ScriviFisso, WritesWhatToCharsWrites) {
    std::vector<double> valori{0.0,
                               -0.0,
                               0.5,
                               1.5,
                               2.5,
                               0.125,
                               0.375,
                               1e-320,
                               1e15,
                               1e16,
                               1e22,
                               9.5e22,
                               1e300,
                               std::numeric_limits<double>::max(),
                               std::numeric_limits<double>::denorm_min(),
                               std::numeric_limits<double>::infinity(),
                               std::nan("")};
    const double inf = std::numeric_limits<double>::infinity();
    // Ties of every decimal count up to 6, with the doubles either side: k/2^j, exact in binary.
    for (int j = 1; j <= 12; ++j)
        for (int k = 1; k < 40; k += 2) {
            const double v = std::ldexp(k, -j) * (j % 3 == 0 ? 1000.0 : 1.0);
            valori.insert(valori.end(), {v, std::nextafter(v, inf), std::nextafter(v, -inf)});
        }
    // Decimal halves that are not exact in binary (0.005, 2.675, …), with their neighbours.
    for (int k = 1; k < 2000; k += 7)
        for (double scala : {1e1, 1e2, 1e3, 1e4, 1e5}) {
            const double v = (k + 0.5) / scala;
            valori.insert(valori.end(), {v, std::nextafter(v, inf), std::nextafter(v, -inf)});
        }
    // Random magnitudes around 2^50 units of the last decimal, where the quick path gives way.
    for (int d = 0; d <= 9; ++d)
        for (double f = 0.999; f <= 1.001; f += 0.0001)
            valori.push_back(std::ldexp(f, 50) / std::pow(10.0, d));
    std::mt19937_64 caso(15);
    std::uniform_real_distribution<double> esponente(-12, 20), mantissa(1, 10);
    for (int i = 0; i < 40000; ++i)
        valori.push_back(mantissa(caso) * std::pow(10.0, esponente(caso)));
    std::uniform_int_distribution<std::uint64_t> bit;
    for (int i = 0; i < 10000; ++i)
        valori.push_back(std::bit_cast<double>(bit(caso)));

    std::size_t diverse = 0;
    std::string prima;
    for (double v : valori)
        for (double segno : {1.0, -1.0})
            for (int d : {0, 1, 2, 3, 4, 6, 9, 12}) {
                char a[400], b[400];
                const double x = segno * v;
                const auto ra = scrivi_fisso(a, a + sizeof a, x, d);
                const auto rb = std::to_chars(b, b + sizeof b, x, std::chars_format::fixed, d);
                if (ra.ec == rb.ec && std::string_view(a, ra.ptr) == std::string_view(b, rb.ptr)) continue;
                if (diverse++ == 0) prima = std::string(b, rb.ptr) + " written as " + std::string(a, ra.ptr);
            }
    EXPECT_EQ(diverse, 0u) << prima;
    // A buffer too short fails as to_chars fails.
    char corto[5];
    EXPECT_EQ(scrivi_fisso(corto, corto + sizeof corto, 123.456, 2).ec, std::errc::value_too_large);
    EXPECT_EQ(std::string_view(corto, scrivi_fisso(corto, corto + sizeof corto, -1.5, 2).ptr), "-1.50");
}

TEST(Formatta, NonFiniteValuesReadAsWords) {
    EXPECT_EQ(formatta(std::numeric_limits<double>::infinity(), 10, 1), "  infinito");
    EXPECT_EQ(formatta(-std::numeric_limits<double>::infinity(), 7, 1), "-infinito");
    EXPECT_EQ(formatta(std::nan(""), 12, 2), "  indefinito");
}

TEST(LeggiNumero, LongestValidPrefix) {
    struct Caso {
        const char* testo;
        double valore;
    };
    const Caso casi[] = {{"20,5", 20},   {"", 0},         {"abc", 0}, {" 7", 7},      {"+3", 3},
                         {".5", 0.5},    {"1.", 1},       {"1e", 1},  {"1e1", 10},    {"-5", -5},
                         {"0.58", 0.58}, {"\t 12x", 12},  {"1e+", 1}, {"1E-2", 0.01}, {"-", 0},
                         {".", 0},       {"inf", 0},      {"nan", 0}, {"0x10", 0},    {"- 5", 0},
                         {"1.5.3", 1.5}, {"2e3e4", 2000}, {"++1", 0}, {"-.25", -0.25}};
    for (const Caso& c : casi)
        EXPECT_EQ(leggi_numero(c.testo).valore, c.valore) << '"' << c.testo << '"';
}

TEST(LeggiNumero, OverflowAndUnderflow) {
    EXPECT_TRUE(leggi_numero("1e400").trabocco);
    EXPECT_TRUE(leggi_numero("-1e400").trabocco);
    EXPECT_TRUE(leggi_numero(std::string(400, '9')).trabocco);
    EXPECT_TRUE(leggi_numero("0.001e312").trabocco);
    const Conversione piccolo = leggi_numero("1e-400");
    EXPECT_FALSE(piccolo.trabocco);
    EXPECT_EQ(piccolo.valore, 0.0);
    EXPECT_FALSE(leggi_numero("0.000001e-320").trabocco);
    EXPECT_FALSE(leggi_numero("1e308").trabocco);
    EXPECT_EQ(leggi_numero("0e999999").valore, 0.0);
}

TEST(NumeroInteroTesto, WholeTextMustBeANumber) {
    EXPECT_EQ(numero_intero_testo("1000"), 1000.0);
    EXPECT_EQ(numero_intero_testo("-250.5"), -250.5);
    EXPECT_EQ(numero_intero_testo(" 0"), 0.0);
    EXPECT_FALSE(numero_intero_testo(""));
    EXPECT_FALSE(numero_intero_testo("1000m"));
    EXPECT_FALSE(numero_intero_testo("1000 "));
    EXPECT_FALSE(numero_intero_testo("10,5"));
    EXPECT_FALSE(numero_intero_testo("1e"));
    EXPECT_FALSE(numero_intero_testo("1e400"));
    EXPECT_FALSE(numero_intero_testo("abc"));
}

TEST(Caratteri, Utf8AwareLengthAndCut) {
    EXPECT_EQ(lunghezza_caratteri("umidità"), 7u);
    EXPECT_EQ(primi_caratteri("umidità specifica", 7), "umidità");
    EXPECT_EQ(primi_caratteri("abc", 10), "abc");
    EXPECT_EQ(primi_caratteri("", 3), "");
}

// Qt adopts the user's C locale at start-up; numbers must read and print the same under it.
class LocaleUtente : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        m_precedente = std::setlocale(LC_ALL, nullptr);
        ASSERT_NE(std::setlocale(LC_ALL, GetParam()), nullptr)
            << GetParam() << " is not installed (scripts/test generates it)";
    }
    void TearDown() override { std::setlocale(LC_ALL, m_precedente.c_str()); }
    std::string m_precedente;
};

TEST_P(LocaleUtente, NumbersIgnoreTheLocale) {
    // The locale really has a decimal comma, or the test proves nothing.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", 13.73);
    ASSERT_STREQ(buf, "13,73");

    EXPECT_EQ(formatta(13.73, 5, 2), "13.73");
    EXPECT_EQ(formatta(1234.5, 10, 3), "  1234.500");
    EXPECT_EQ(numero_virgola(7.2509, 7, 2), "   7,25");
    EXPECT_EQ(leggi_numero("20.5").valore, 20.5);
    EXPECT_EQ(leggi_numero("20,5").valore, 20.0);
    EXPECT_EQ(numero_intero_testo("1000.5"), 1000.5);

    Rapporto r;
    scrivi_punto_ur(r, 20, 50);
    ASSERT_EQ(r.righe().size(), 5u);
    EXPECT_EQ(r.righe()[2], "umidita specifica  :   7,25 g/kg ");
    scrivi_dato(r, "Portata ponderale totale", "kg/h", 7, 0, 1234.4);
    EXPECT_EQ(r.righe().back(), "Portata ponderale totale          :   1234 kg/h");
}

INSTANTIATE_TEST_SUITE_P(ItalianoTedesco, LocaleUtente, ::testing::Values("it_IT.UTF-8", "de_DE.UTF-8"));

TEST(Caratteri, Utf8DecodingReplacesMalformedBytesOneAtATime) {
    const std::string testo = "a\xC3\xA0\xE2\x82\xAC\xF0\x9F\x98\x80" // a, à, €, U+1F600
                              "\xC0\xAF"                              // overlong '/'
                              "\xED\xA0\x80"                          // surrogate
                              "\xE2\x82";                             // cut short at the end
    std::u32string letti;
    for (std::size_t i = 0; i < testo.size();)
        letti += leggi_codice_utf8(testo, i);
    // Overlong: lead and continuation byte replaced one at a time (2); surrogate (3); cut short (2).
    EXPECT_EQ(letti,
              (std::u32string{U'a', 0xE0, 0x20AC, 0x1F600, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}));
}

TEST(Caratteri, VisibleTextEscapesWhatWouldControlTheTerminal) {
    // C0 and DEL, C1 (U+009B is the one-character escape sequence introducer), the bidirectional controls and
    // the line separators; an invalid byte; printable text, à, € and a real U+FFFD stay as they are.
    EXPECT_EQ(testo_visibile("a\x1B[31m\x7F\t\xC2\x9B\xC2\x85"), "a\\x1B[31m\\x7F\\x09\\u009B\\u0085");
    EXPECT_EQ(testo_visibile("\xE2\x80\xAE"
                             "abc\xE2\x81\xA6\xD8\x9C\xE2\x80\x8F\xE2\x80\xA8"),
              "\\u202Eabc\\u2066\\u061C\\u200F\\u2028");
    EXPECT_EQ(testo_visibile("\xFF"
                             "x\xC3"),
              "\\xFFx\\xC3");
    EXPECT_EQ(testo_visibile("20,5 °C à € \xEF\xBF\xBD \\x"), "20,5 °C à € \xEF\xBF\xBD \\x");
}
