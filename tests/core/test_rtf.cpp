#include "core/rtf.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

using namespace ondix;

namespace {

const std::string intestazione = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n"
                                 "{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}}\n"
                                 "\\pard\\plain\\f0\\fs34\n";

// The body of the document for one line, without the header and the closing brace.
std::string corpo(const std::string& riga) {
    const std::string rtf = scrivi_rtf({riga}, 17);
    EXPECT_EQ(rtf.substr(0, intestazione.size()), intestazione);
    EXPECT_EQ(rtf.substr(rtf.size() - 2), "}\n");
    return rtf.substr(intestazione.size(), rtf.size() - intestazione.size() - 2);
}

// What a minimal RTF reader sees: the group depth at the end, whether the outer group closed before the end,
// and the number of \par control words.
struct Lettura {
    int profondita = 0;
    bool chiuso_presto = false;
    std::size_t paragrafi = 0;
};
Lettura leggi_rtf(const std::string& rtf) {
    Lettura g;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '\\') {
            std::size_t j = i + 1;
            while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j])))
                ++j;
            if (j == i + 1) {
                ++i; // an escaped character: \\, \{, \} or the quote of \'xx
            } else {
                if (rtf.compare(i + 1, j - i - 1, "par") == 0) ++g.paragrafi;
                i = j - 1;
            }
        } else if (c == '{') {
            ++g.profondita;
        } else if (c == '}') {
            --g.profondita;
            if (g.profondita == 0 && i + 2 < rtf.size()) g.chiuso_presto = true;
        }
    }
    return g;
}

} // namespace

TEST(Rtf, OneParagraphPerLineInCourierNew) {
    EXPECT_EQ(scrivi_rtf({"       PROPRIETA DEL PUNTO", "", "Temperatura        :   20,0 C"}, 17),
              intestazione + " \\'20\\'20\\'20\\'20\\'20\\'20PROPRIETA DEL PUNTO\\par\n"
                             "\\par\n"
                             "Temperatura \\'20\\'20\\'20\\'20\\'20\\'20\\'20: \\'20\\'2020,0 C\\par\n"
                             "}\n");
}

TEST(Rtf, EmptyReportIsAnEmptyDocument) {
    EXPECT_EQ(scrivi_rtf({}, 17), intestazione + "}\n");
}

TEST(Rtf, FontSizeInHalfPointsClampedToSaneValues) {
    EXPECT_NE(scrivi_rtf({}, 8).find("\\fs16\n"), std::string::npos);
    EXPECT_NE(scrivi_rtf({}, 0).find("\\fs2\n"), std::string::npos);
    EXPECT_NE(scrivi_rtf({}, 99999).find("\\fs2000\n"), std::string::npos);
}

TEST(Rtf, BackslashAndBracesAreEscaped) {
    EXPECT_EQ(corpo("a\\b{c}d"), "a\\\\b\\{c\\}d\\par\n");
    EXPECT_EQ(corpo("}}}{"), "\\}\\}\\}\\{\\par\n");
    EXPECT_EQ(corpo("\\par}{\\rtf1"), "\\\\par\\}\\{\\\\rtf1\\par\n");
}

TEST(Rtf, Windows1252CharactersAsHexEscapes) {
    EXPECT_EQ(corpo("umidità"), "umidit\\'e0\\par\n");
    EXPECT_EQ(corpo("perché è così"), "perch\\'e9 \\'e8 cos\\'ec\\par\n");
    EXPECT_EQ(corpo("€ Ž š ™ Ÿ"), "\\'80 \\'8e \\'9a \\'99 \\'9f\\par\n");
    EXPECT_EQ(corpo("\u00a0°ÿ"), "\\'a0\\'b0\\'ff\\par\n");
}

TEST(Rtf, OtherCharactersAsUnicodeWithFallback) {
    EXPECT_EQ(corpo("ж"), "\\u1078\\'3f\\par\n");
    EXPECT_EQ(corpo("Ω≈"), "\\u937\\'3f\\u8776\\'3f\\par\n");
    // Above 0x7FFF the number is a signed 16-bit value; above the BMP a surrogate pair.
    EXPECT_EQ(corpo("\uFFFD"), "\\u-3\\'3f\\par\n");
    EXPECT_EQ(corpo("\U0001F600"), "\\u-10179\\'3f\\u-8704\\'3f\\par\n");
}

TEST(Rtf, BlankRunsKeepEveryBlank) {
    EXPECT_EQ(corpo("a b"), "a b\\par\n");
    EXPECT_EQ(corpo("a   b"), "a \\'20\\'20b\\par\n");
    EXPECT_EQ(corpo(" x "), " x \\par\n");
    EXPECT_EQ(corpo("g/kg  "), "g/kg \\'20\\par\n");
}

TEST(Rtf, TabsAndControlCharacters) {
    EXPECT_EQ(corpo("a\tb"), "a\\tab b\\par\n");
    EXPECT_EQ(corpo(std::string("a\x01\r\x7f") + "\u0085" + "b"), "ab\\par\n");
    EXPECT_EQ(corpo(std::string("a\0b", 3)), "ab\\par\n");
    EXPECT_EQ(corpo("uno\ndue"), "uno\\par\ndue\\par\n");
}

TEST(Rtf, InvalidUtf8BecomesReplacementCharacter) {
    const std::string r = "\\u-3\\'3f";
    EXPECT_EQ(corpo("a\xff"
                    "b"),
              "a" + r + "b\\par\n");
    EXPECT_EQ(corpo("\xc3"), r + "\\par\n");                         // truncated at the end
    EXPECT_EQ(corpo("\xe2\x82"), r + r + "\\par\n");                 // truncated three-byte sequence
    EXPECT_EQ(corpo("\xc0\xaf"), r + r + "\\par\n");                 // overlong '/'
    EXPECT_EQ(corpo("\xed\xa0\x80"), r + r + r + "\\par\n");         // a lone surrogate
    EXPECT_EQ(corpo("\xf4\x90\x80\x80"), r + r + r + r + "\\par\n"); // above U+10FFFF
    EXPECT_EQ(corpo("\xc3\xa8\xc3"), "\\'e8" + r + "\\par\n");
}

TEST(Rtf, AnyBytesGiveAsciiWithBalancedGroups) {
    std::mt19937 gen(12345);
    std::uniform_int_distribution<int> byte(0, 255), lunghezza(0, 40), righe(0, 5);
    for (int prova = 0; prova < 5000; ++prova) {
        std::vector<std::string> testo(static_cast<std::size_t>(righe(gen)));
        for (auto& riga : testo) {
            const int n = lunghezza(gen);
            for (int k = 0; k < n; ++k)
                riga += static_cast<char>(byte(gen));
        }
        const std::string rtf = scrivi_rtf(testo, 12);
        for (char c : rtf)
            ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80) << "byte " << int(c);
        const Lettura g = leggi_rtf(rtf);
        ASSERT_EQ(g.profondita, 0);
        ASSERT_FALSE(g.chiuso_presto);
        std::size_t attesi = testo.size();
        for (const auto& riga : testo)
            for (char c : riga)
                attesi += c == '\n';
        ASSERT_EQ(g.paragrafi, attesi);
    }
}
