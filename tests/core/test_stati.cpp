#include "cli/riepilogo.h"
#include "cli/stati.h"
#include "core/aria_umida.h"
#include "core/numeri.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <functional>
#include <ios>
#include <limits>
#include <sstream>
#include <streambuf>
#include <string>

using namespace ondix;

namespace {

StatoCompleto stato(double t, double u, int umidita = 0) {
    auto r = calcola_stato(t, u, umidita);
    if (!r) ADD_FAILURE() << "refused: " << r.errore().testo;
    return r ? *r : StatoCompleto{};
}

std::string rifiuto(double t, double u, int umidita = 0) {
    auto r = calcola_stato(t, u, umidita);
    return r ? std::string() : r.errore().testo;
}

// The text of a run's error, or "" when it ran.
std::string errore_di(const RisultatoStati& e) {
    return e.errore ? e.errore->testo : std::string();
}

struct Uscita {
    std::string csv, errori;
    RisultatoStati esito;
};

Uscita converti(const std::string& ingresso, int umidita = 0, unsigned fili = 1) {
    std::istringstream in(ingresso);
    std::ostringstream out, err;
    Uscita u;
    u.esito = calcola_stati(in, out, err, umidita, "f.csv", fili);
    u.csv = out.str();
    u.errori = err.str();
    return u;
}

} // namespace

TEST(StatoCompletoBatch, SameValuesAsThePointReport) {
    // The point-properties report at 20 °C, 50 %: 7,25 g/kg, 38,4 kj/kg, 0,840 mc/kg, 13.73 C, 9.25 C.
    const StatoCompleto s = stato(20, 50);
    EXPECT_EQ(s.ur, 50);
    EXPECT_NEAR(s.x, 7.2509, 1e-4);
    EXPECT_NEAR(s.h, 38.414, 1e-3);
    EXPECT_NEAR(s.v, 0.8395, 1e-4);
    ASSERT_TRUE(s.bulbo_umido && s.rugiada);
    EXPECT_EQ(*s.bulbo_umido, temperatura_bulbo_umido(s.x, 20));
    EXPECT_EQ(*s.rugiada, temperatura_rugiada(50, 20));
    EXPECT_EQ(riga_stati(s, ','), "20.00,50.00,7.251,38.414,0.8395,13.73,9.25");
}

TEST(StatoCompletoBatch, HumidityRatioInput) {
    const StatoCompleto s = stato(20, 7.25, 1);
    EXPECT_EQ(s.x, 7.25);
    EXPECT_NEAR(s.ur, umidita_relativa(7.25, 20), 1e-12);
    EXPECT_NEAR(s.ur, 49.99, 0.01);
    // Saturation itself is accepted, anything above it is not (as in the point report).
    const double xs = umidita_saturazione(20);
    EXPECT_NEAR(stato(20, xs, 1).ur, 100, 1e-9);
    EXPECT_EQ(rifiuto(20, 15, 1), "umidità specifica 15.000 g/kg sopra la saturazione (14.673 g/kg a 20.00 C)");
    EXPECT_EQ(rifiuto(20, -0.001, 1), "umidità specifica -0.001 g/kg sotto 0");
}

TEST(StatoCompletoBatch, RangesOfTheInputs) {
    EXPECT_NEAR(stato(20, 100).ur, 100, 0);
    EXPECT_EQ(rifiuto(20, 100.5), "umidità relativa 100.50 % fuori da 0 a 100");
    EXPECT_EQ(rifiuto(20, -1), "umidità relativa -1.00 % fuori da 0 a 100");
    EXPECT_EQ(stato(20, 0).x, 0);
    EXPECT_EQ(stato(-50, 50).t, -50);
    EXPECT_EQ(stato(100, 50).t, 100);
    EXPECT_EQ(rifiuto(-50.01, 50), "temperatura -50.01 C fuori da -50 a 100 C");
    EXPECT_EQ(rifiuto(100.5, 50), "temperatura 100.50 C fuori da -50 a 100 C");
    EXPECT_EQ(rifiuto(std::nan(""), 50), "non è un numero finito");
    EXPECT_EQ(rifiuto(20, std::numeric_limits<double>::infinity(), 1), "non è un numero finito");
}

TEST(StatoCompletoBatch, DewPointIsTheReportsAndEmptyOnlyForAirWithNone) {
    // At −5 °C and 20 % the dew point lies near −22.3 °C, below the −10 °C of the first search: it is still found.
    const StatoCompleto s = stato(-5, 20);
    ASSERT_TRUE(s.rugiada);
    EXPECT_EQ(s.rugiada, temperatura_rugiada(20, -5));
    EXPECT_EQ(formatta(*s.rugiada, 0, 2), "-22.34");
    ASSERT_TRUE(s.bulbo_umido);
    EXPECT_LT(*s.bulbo_umido, -5);
    // Dry air has no dew point at all: the field is empty.
    EXPECT_FALSE(stato(20, 0).rugiada);
    EXPECT_EQ(riga_stati(stato(20, 0), ';').back(), ';');
    // A dew point of exactly 0 °C, found at the first halving (10 °C air holding the saturation humidity ratio
    // of 0 °C), is a real answer and is kept.
    const StatoCompleto zero = stato(10, umidita_relativa(umidita_saturazione(0), 10));
    ASSERT_TRUE(zero.rugiada);
    EXPECT_EQ(*zero.rugiada, 0.0);
    // Cold air: the wet bulb is found below the dry bulb, on the continuation below −10 °C the state tool uses.
    const StatoCompleto freddo = stato(-15, 80);
    ASSERT_TRUE(freddo.bulbo_umido);
    EXPECT_EQ(formatta(*freddo.bulbo_umido, 0, 2), "-15.40");
    EXPECT_EQ(freddo.bulbo_umido, bulbo_umido_da_h(entalpia(umidita_specifica(80, -15), -15)));
}

TEST(RigaStati, FormatAndSeparator) {
    StatoCompleto s;
    s.t = -0.001; // rounds to zero: no minus sign
    s.ur = 99.999;
    s.x = 1234.5678;
    s.h = -12.3456;
    s.v = 0.84;
    EXPECT_EQ(riga_stati(s, ';'), "0.00;100.00;1234.568;-12.346;0.8400;;");
    s.bulbo_umido = -3.004;
    s.rugiada = 7.0;
    EXPECT_EQ(riga_stati(s, '\t'), "0.00\t100.00\t1234.568\t-12.346\t0.8400\t-3.00\t7.00");
    EXPECT_EQ(intestazione_stati(';'), "t;ur;x;h;v;t_bulbo_umido;t_rugiada");
}

TEST(DividiCampi, QuotesBlanksAndEmptyFields) {
    std::vector<std::string> c;
    dividi_campi(" 20 ; 50 ", ';', c);
    EXPECT_EQ(c, (std::vector<std::string>{"20", "50"}));
    dividi_campi("\"2023-01-01, 00:00\",\"5.5\" , 80", ',', c);
    EXPECT_EQ(c, (std::vector<std::string>{"2023-01-01, 00:00", "5.5", "80"}));
    dividi_campi("\"a \"\"b\"\"\",x", ',', c);
    EXPECT_EQ(c, (std::vector<std::string>{"a \"b\"", "x"}));
    dividi_campi("1,,3,", ',', c);
    EXPECT_EQ(c, (std::vector<std::string>{"1", "", "3", ""}));
    dividi_campi("", ',', c);
    EXPECT_EQ(c, (std::vector<std::string>{""}));
    // A character after the closing quote stays, so the field is not a clean number.
    dividi_campi("\"20\"x,5", ',', c);
    EXPECT_EQ(c, (std::vector<std::string>{"20x", "5"}));
    // An unclosed quote runs to the end of the line.
    dividi_campi("\"20,5", ',', c);
    EXPECT_EQ(c, (std::vector<std::string>{"20,5"}));
    EXPECT_EQ(separatore_di("t;ur,x"), ';');
    EXPECT_EQ(separatore_di("t,ur"), ',');
    EXPECT_EQ(separatore_di("t\tur"), '\t');
    EXPECT_EQ(separatore_di("tur"), ',');
}

TEST(CalcolaStati, NamedColumnsInAnyOrderWithUnitsAndExtraColumns) {
    const Uscita u = converti("\xEF\xBB\xBF"
                              "data;ora;UR [%];T (C)\r\n"
                              "2023-07-01;14:00;50;20\r\n"
                              "2023-07-01;15:00;60;\"22.5\"\r\n");
    EXPECT_EQ(u.csv, "t;ur;x;h;v;t_bulbo_umido;t_rugiada\n"
                     "20.00;50.00;7.251;38.414;0.8395;13.73;9.25\n"
                     "22.50;60.00;10.191;48.408;0.8506;17.23;14.34\n");
    EXPECT_EQ(u.errori, "");
    EXPECT_EQ(u.esito.scritte, 2u);
    EXPECT_EQ(codice_uscita_stati(u.esito), 0);
}

TEST(CalcolaStati, BadRowsAreReportedWithTheirLineAndSkipped) {
    const Uscita u = converti("t,ur\n"
                              "20,50\n"
                              "\n"
                              "abc,50\n"
                              "20\n"
                              "20,101\n"
                              ",50\n"
                              "1e999,50\n"
                              "20,50x\n"
                              "-5.5,90\n");
    EXPECT_EQ(u.csv, "t,ur,x,h,v,t_bulbo_umido,t_rugiada\n"
                     "20.00,50.00,7.251,38.414,0.8395,13.73,9.25\n"
                     "-5.50,90.00,2.146,-0.202,0.7602,-5.92,-6.70\n");
    EXPECT_EQ(u.errori, "f.csv:4: colonna t: \"abc\" non è un numero (riga scartata)\n"
                        "f.csv:5: attesi 2 campi, trovati 1 (riga scartata)\n"
                        "f.csv:6: umidità relativa 101.00 % fuori da 0 a 100 (riga scartata)\n"
                        "f.csv:7: colonna t vuota (riga scartata)\n"
                        "f.csv:8: colonna t: \"1e999\" è troppo grande (riga scartata)\n"
                        "f.csv:9: colonna ur: \"50x\" non è un numero (riga scartata)\n");
    EXPECT_EQ(u.esito.scritte, 2u);
    EXPECT_EQ(u.esito.scartate, 6u);
    EXPECT_EQ(codice_uscita_stati(u.esito), 1);
}

TEST(CalcolaStati, DecimalCommasOfASemicolonFileAreReadAndWrittenBack) {
    // As an Italian spreadsheet writes it: the first data line's comma makes the output's numbers have one too.
    const Uscita u = converti("t;ur\n\"20,5\";50\n1.234,5;50\n20,5,1;50\n20.5;50\n");
    EXPECT_EQ(u.csv, "t;ur;x;h;v;t_bulbo_umido;t_rugiada\n"
                     "20,50;50,00;7,481;39,506;0,8412;14,13;9,72\n"
                     "20,50;50,00;7,481;39,506;0,8412;14,13;9,72\n");
    EXPECT_EQ(u.errori, "f.csv:3: colonna t: \"1.234,5\" non è un numero (un punto e una virgola: separatore delle "
                        "migliaia non ammesso) (riga scartata)\n"
                        "f.csv:4: colonna t: \"20,5,1\" non è un numero (riga scartata)\n");
    // A first data line without a comma keeps the point; in a comma-separated file a comma is no decimal.
    EXPECT_EQ(converti("t;ur\n20;50\n20,5;50\n").csv, "t;ur;x;h;v;t_bulbo_umido;t_rugiada\n"
                                                      "20.00;50.00;7.251;38.414;0.8395;13.73;9.25\n"
                                                      "20.50;50.00;7.481;39.506;0.8412;14.13;9.72\n");
    EXPECT_EQ(converti("t,ur\n\"20,5\",50\n").errori, "f.csv:2: colonna t: \"20,5\" non è un numero (riga scartata)\n");
}

TEST(CalcolaStati, HumidityRatioColumn) {
    const Uscita u = converti("t\tx\n20\t7.25\n20\t15\n", 1);
    EXPECT_EQ(u.csv, "t\tur\tx\th\tv\tt_bulbo_umido\tt_rugiada\n"
                     "20.00\t49.99\t7.250\t38.412\t0.8395\t13.73\t9.25\n");
    EXPECT_EQ(u.esito.scartate, 1u);
}

TEST(CalcolaStati, HeaderProblemsStopBeforeAnyOutput) {
    Uscita u = converti("t,x\n20,7\n");
    EXPECT_EQ(u.csv, "");
    EXPECT_EQ(errore_di(u.esito), "f.csv:1: l'intestazione ha una colonna x, non ur (usare --umidita 1)");
    EXPECT_EQ(codice_uscita_stati(u.esito), 2);
    u = converti("t,ur\n", 1);
    EXPECT_EQ(errore_di(u.esito), "f.csv:1: l'intestazione ha una colonna ur, non x (usare --umidita 0)");
    u = converti("data,t,umidita\n1,20,50\n");
    EXPECT_EQ(errore_di(u.esito),
              "f.csv:1: l'intestazione non nomina una colonna ur (attesa un'intestazione come \"t,ur\")");
    u = converti("");
    EXPECT_EQ(errore_di(u.esito), "f.csv: l'ingresso è vuoto (attesa una riga d'intestazione come \"t,ur\")");
    u = converti("\n  \n");
    EXPECT_TRUE(u.esito.errore);
    EXPECT_EQ(u.csv, "");
}

TEST(CalcolaStati, AHeaderNamesItsColumnsAndAnythingElseFirstIsARowOrAnError) {
    // A first line of numbers is data, not a header.
    Uscita u = converti("20,50\n-5.5,90\n");
    EXPECT_EQ(u.esito.scritte, 2u);
    EXPECT_EQ(u.csv.substr(0, u.csv.find('\n')), "t,ur,x,h,v,t_bulbo_umido,t_rugiada");
    // A first row with a typo is neither: it stops the run with its line number instead of being dropped.
    u = converti("\n2O,50\n20,50\n");
    EXPECT_EQ(errore_di(u.esito),
              "f.csv:2: né un'intestazione che nomini le colonne t e ur né una riga di numeri: colonna t: \"2O\" non "
              "è un numero");
    EXPECT_EQ(u.csv, "");
    // Names other than the known ones make no header.
    u = converti("temperatura;umidita\n20;50\n");
    EXPECT_EQ(errore_di(u.esito),
              "f.csv:1: l'intestazione non nomina una colonna t (attesa un'intestazione come \"t;ur\")");
}

TEST(CalcolaStati, RowsWithMoreFieldsThanTheFirstLineAreBad) {
    // "20,5" with a decimal comma makes three fields under a header of two: the values would shift.
    Uscita u = converti("t,ur\n20,5,50\n20,50\n");
    EXPECT_EQ(u.errori, "f.csv:2: attesi 2 campi, trovati 3 (il separatore decimale è '.') (riga scartata)\n");
    EXPECT_EQ(u.esito.scritte, 1u);
    u = converti("20;50\n21;50;7\n");
    EXPECT_EQ(u.errori, "f.csv:2: attesi 2 campi, trovati 3 (riga scartata)\n");
}

TEST(CalcolaStati, LinesEndInLfCrLfOrCr) {
    const std::string righe = "20.00,50.00,7.251,38.414,0.8395,13.73,9.25\n";
    for (const char* fine : {"\n", "\r\n", "\r"})
        for (unsigned fili : {1u, 3u}) {
            const std::string f = fine;
            const Uscita u = converti("t,ur" + f + "20,50" + f + f + "abc,50" + f + "20,5,50" + f + "20,50", 0, fili);
            EXPECT_EQ(u.csv, "t,ur,x,h,v,t_bulbo_umido,t_rugiada\n" + righe + righe) << u.errori;
            EXPECT_EQ(u.errori, "f.csv:4: colonna t: \"abc\" non è un numero (riga scartata)\n"
                                "f.csv:5: attesi 2 campi, trovati 3 (il separatore decimale è '.') (riga scartata)\n");
        }
}

TEST(CalcolaStati, FileContentInMessagesIsEscaped) {
    const Uscita u = converti("t,ur\n\x1B]0;x\x07\xE2\x80\xAE\xC2\x9B\xFF,50\n", 0);
    EXPECT_EQ(u.errori, "f.csv:2: colonna t: \"\\x1B]0;x\\x07\\u202E\\u009B\\xFF\" non è un numero (riga scartata)\n");
    std::istringstream in("t,ur\n20,x\n");
    std::ostringstream out, err;
    calcola_stati(in, out, err, 0, "a\x1B[2Jb.csv");
    EXPECT_EQ(err.str().substr(0, 13), "a\\x1B[2Jb.csv");
}

TEST(CalcolaStati, OverlongLineIsSkippedAndTheNextRowRead) {
    const std::string lunga(lunghezza_massima_riga + 10, '9');
    const Uscita u = converti("t,ur\n" + lunga + ",50\n20,50\n");
    EXPECT_EQ(u.esito.scritte, 1u);
    EXPECT_EQ(u.errori, "f.csv:2: riga più lunga di 65536 caratteri (riga scartata)\n");
    // Exactly at the limit the line is read (and here refused for its value, not its length).
    const std::string giusta = "20," + std::string(lunghezza_massima_riga - 3, '5');
    const Uscita v = converti("t,ur\n" + giusta + "\n");
    EXPECT_EQ(v.esito.scartate, 1u);
    EXPECT_NE(v.errori.find("è troppo grande"), std::string::npos) << v.errori;
}

TEST(CalcolaStati, OutputReadBackGivesTheSameTable) {
    const Uscita a = converti("t,ur\n20,50\n-5.5,90\n35.25,33.3\n0,100\n");
    const Uscita b = converti(a.csv);
    EXPECT_EQ(a.csv, b.csv);
}

namespace {
// An input of `righe` rows made on demand; before handing out row k it calls `controllo(k)`.
class RigheGenerate : public std::streambuf {
public:
    // `cattiva(k)`: row k is not a number.
    RigheGenerate(std::size_t righe, std::function<void(std::size_t)> controllo,
                  std::function<bool(std::size_t)> cattiva = {})
        : m_righe(righe), m_controllo(std::move(controllo)), m_cattiva(std::move(cattiva)) {}

protected:
    int_type underflow() override {
        if (m_k > m_righe) return traits_type::eof();
        if (m_k > 0) m_controllo(m_k);
        m_riga = m_k == 0 ? "t,ur\n" : m_cattiva && m_cattiva(m_k) ? "abc,50\n" : "20,50\n";
        ++m_k;
        setg(m_riga.data(), m_riga.data(), m_riga.data() + m_riga.size());
        return traits_type::to_int_type(m_riga[0]);
    }

private:
    std::size_t m_righe, m_k = 0;
    std::function<void(std::size_t)> m_controllo;
    std::function<bool(std::size_t)> m_cattiva;
    std::string m_riga;
};

// Counts what is written without keeping it.
class Contatore : public std::streambuf {
public:
    std::size_t righe = 0;

protected:
    int_type overflow(int_type c) override {
        if (c == '\n') ++righe;
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        for (std::streamsize i = 0; i < n; ++i)
            if (s[i] == '\n') ++righe;
        return n;
    }
};
} // namespace

TEST(CalcolaStati, RowsAreWrittenAsTheyAreRead) {
    // Each row must be out before the next one is read: nothing waits for the end of the input.
    Contatore conta;
    std::ostream out(&conta);
    std::size_t in_ritardo = 0;
    RigheGenerate gen(10000, [&](std::size_t k) {
        // Header + k − 1 rows already written when row k is asked for.
        if (conta.righe != k) ++in_ritardo;
    });
    std::istream in(&gen);
    std::ostringstream err;
    const RisultatoStati e = calcola_stati(in, out, err, 0, "gen");
    EXPECT_EQ(e.scritte, 10000u);
    EXPECT_EQ(in_ritardo, 0u);
    EXPECT_EQ(conta.righe, 10001u);
}

namespace {
// A file that fails as a stream over a file descriptor fails: by throwing from the read, after `righe` rows.
class LetturaFallita : public std::streambuf {
public:
    explicit LetturaFallita(std::string testo) : m_testo(std::move(testo)) {
        setg(m_testo.data(), m_testo.data(), m_testo.data() + m_testo.size());
    }

protected:
    int_type underflow() override {
        errno = EIO;
        throw std::ios_base::failure("read error");
    }

private:
    std::string m_testo;
};

// An output that takes `spazio` bytes and then fails, as a full disk does.
class UscitaPiena : public std::streambuf {
public:
    explicit UscitaPiena(std::size_t spazio) : m_spazio(spazio) {}

protected:
    int_type overflow(int_type c) override { return xsputn(nullptr, 1) == 1 ? c : traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize n) override {
        if (static_cast<std::size_t>(n) > m_spazio) {
            errno = ENOSPC;
            return 0;
        }
        m_spazio -= static_cast<std::size_t>(n);
        return n;
    }

private:
    std::size_t m_spazio;
};

Uscita converti_con(const std::string& ingresso, const OpzioniStati& o, const std::string& nome = "f.csv") {
    std::istringstream in(ingresso);
    std::ostringstream out, err;
    Uscita u;
    u.esito = calcola_stati(in, out, err, o, nome);
    u.csv = out.str();
    u.errori = err.str();
    return u;
}
} // namespace

TEST(CalcolaStati, AReadErrorIsReportedWithTheFileNameNotThrown) {
    LetturaFallita vuoto("");
    std::istream in(&vuoto);
    std::ostringstream out, err;
    RisultatoStati e = calcola_stati(in, out, err, 0, "dati.csv");
    EXPECT_EQ(errore_di(e), std::string("dati.csv: errore di lettura: ") + std::strerror(EIO));
    EXPECT_EQ(out.str(), "");
    for (unsigned fili : {1u, 3u}) {
        LetturaFallita dopo("t,ur\n20,50\n");
        std::istream in2(&dopo);
        e = calcola_stati(in2, out, err, 0, "dati.csv", fili);
        EXPECT_EQ(errore_di(e), std::string("dati.csv: errore di lettura dopo la riga 2: ") + std::strerror(EIO));
        EXPECT_EQ(e.scritte, 1u);
        EXPECT_EQ(codice_uscita_stati(e), 2);
    }
}

TEST(CalcolaStati, TheFirstWriteErrorStopsTheRunWithTheSameDiagnosticsWhateverTheThreads) {
    // Room for the header and two rows; the input goes on, and is not read far once the output has failed. The
    // rows written and the bad rows reported before the failure are the same with and without threads.
    const std::size_t spazio = intestazione_stati(',').size() + 1 + 2 * (riga_stati(stato(20, 50), ',').size() + 1);
    const std::string attesi = "gen:3: colonna t: \"abc\" non è un numero (riga scartata)\n";
    for (unsigned fili : {1u, 3u}) {
        UscitaPiena piena(spazio);
        std::ostream out(&piena);
        std::size_t ultima = 0;
        RigheGenerate gen(
            1000000, [&](std::size_t k) { ultima = k; }, [](std::size_t k) { return k % 3 == 2; });
        std::istream in(&gen);
        std::ostringstream err;
        const RisultatoStati e = calcola_stati(in, out, err, 0, "gen", fili);
        EXPECT_EQ(e.scritte, 2u) << fili;
        EXPECT_EQ(e.scartate, 1u) << fili;
        EXPECT_EQ(err.str(), attesi) << fili;
        EXPECT_EQ(errore_di(e), std::string("impossibile scrivere l'uscita: ") + std::strerror(ENOSPC));
        EXPECT_EQ(codice_uscita_stati(e), 2);
        // One row at a time reads no further than the row that failed; threads, within the blocks they hold.
        EXPECT_LE(ultima, fili == 1 ? 4u : 10u * 4096u) << fili;
    }
}

TEST(CalcolaStati, OtherPairsByTheirColumnNames) {
    // The wet bulb and dew point given come back as given; the pair is found whatever the columns' order. The dew
    // point solved for is the one the point-properties report gives.
    Uscita u = converti("tbu;data;T [C]\n19;lun;26\n28;mar;26\n");
    EXPECT_EQ(u.csv, "t;ur;x;h;v;t_bulbo_umido;t_rugiada\n26.00;52.08;10.930;53.866;0.8617;19.00;15.42\n");
    EXPECT_EQ(u.errori, "f.csv:3: t = 26 C, tbu = 28 C: il bulbo umido è sopra il bulbo secco (riga scartata)\n");
    // ur with x is that pair, not a temperature in the first column.
    u = converti("ur,x\n50,7.25\n");
    EXPECT_EQ(u.csv.substr(u.csv.find('\n') + 1, 12), "20.00,50.00,");
    u = converti("t,h,tbu\n26,50,19\n");
    EXPECT_EQ(errore_di(u.esito),
              "f.csv:1: l'intestazione nomina più di due delle colonne t, ur, x, h, tbu, tr (t, h, tbu); tenere le "
              "due che danno gli stati");
    EXPECT_EQ(errore_di(converti("tr,x\n14,10\n").esito),
              "f.csv:1: le colonne x e tr non sono indipendenti (l'una segue dall'altra); darne un'altra coppia");
}

TEST(CalcolaStati, EachRowAtItsOwnPressure) {
    OpzioniStati o;
    o.pressione_da_file = true;
    const Uscita u = converti_con("t;ur;p\n20;50;101335\n20;50;79500\n20;50;999999\n", o);
    EXPECT_EQ(u.csv, "t;ur;x;h;v;t_bulbo_umido;t_rugiada;p\n"
                     "20.00;50.00;7.251;38.414;0.8395;13.73;9.25;101335\n"
                     "20.00;50.00;9.272;43.525;1.0735;13.14;9.25;79500\n");
    EXPECT_EQ(u.errori, "f.csv:4: pressione 999999 Pa fuori da 30000 a 120000 Pa (riga scartata)\n");
    EXPECT_EQ(errore_di(converti_con("t;ur\n20;50\n", o).esito),
              "f.csv:1: l'intestazione non nomina una colonna p (la pressione in Pa di ogni riga)");
    // One pressure for every row.
    o.pressione_da_file = false;
    o.aria = Aria{79500};
    EXPECT_EQ(converti_con("t;ur\n20;50\n", o).csv, "t;ur;x;h;v;t_bulbo_umido;t_rugiada\n"
                                                    "20.00;50.00;9.272;43.525;1.0735;13.14;9.25\n");
}

TEST(Riepilogo, DesignValuesAreTheValuesExceededInTheirShareOfTheHours) {
    Istogramma v(-50, 2000);
    for (int i = 1001; i >= 1; --i)
        v.aggiungi(i);
    EXPECT_EQ(v.quantile(0.0), 1.0);
    EXPECT_EQ(v.quantile(1.0), 1001.0);
    EXPECT_DOUBLE_EQ(v.quantile(0.996), 997.0); // exceeded by 4 of 1001 values
    EXPECT_DOUBLE_EQ(v.quantile(0.0015), 2.5);
    Istogramma uno(-50, 100);
    uno.aggiungi(7.0);
    EXPECT_EQ(uno.quantile(0.5), 7.0);
    // Values with up to three decimals come back exactly as read; others within half a thousandth; beyond the
    // range, at its limit.
    Istogramma t(-50, 100);
    for (const double x : {29.3, -0.1, 12.345, 1e300, -1e300, std::nan("")})
        t.aggiungi(x);
    EXPECT_EQ(t.quantile(0.2), -50.0);
    EXPECT_EQ(t.quantile(0.4), -0.1);
    EXPECT_EQ(t.quantile(0.6), 12.345);
    EXPECT_EQ(t.quantile(0.8), 29.3);
    EXPECT_EQ(t.quantile(1.0), 100.0);
    Istogramma h(-100, 1000);
    h.aggiungi(38.41449);
    EXPECT_NEAR(h.quantile(0.5), 38.41449, 0.0005);
    ASSERT_TRUE(soglia_da_testo("h=60.5"));
    EXPECT_EQ(soglia_da_testo("h=60.5")->valore, 60.5);
    EXPECT_FALSE(soglia_da_testo("z=3"));
    EXPECT_FALSE(soglia_da_testo("t=abc"));
    EXPECT_FALSE(soglia_da_testo("t30"));
}

// Threads change nothing in what is written: rows of every kind (good, refused, unreadable, too short, too long,
// blank, quoted) over more blocks than the threads keep at once, with and without a header line.
TEST(CalcolaStati, ThreadsWriteTheSameBytesInTheSameOrder) {
    for (const bool intestazione : {true, false}) {
        std::string ingresso = intestazione ? "\xEF\xBB\xBFt;ur\r\n" : "12.5;40\r\n";
        // Unreadable, too short, blank, too long, quoted, out of range, no dew point.
        const std::string speciali[] = {
            "abc;50\n", "20\n",  "\n   \n", std::string(lunghezza_massima_riga + 10, '1') + "\n", "\"21.5\";\"60\"\r\n",
            "150;50\n", "20;0\n"};
        for (int i = 0; i < 40000; ++i)
            ingresso += i % 13 == 5 ? speciali[(i / 13) % 7]
                                    : std::to_string(-30 + i % 80) + "." + std::to_string(i % 10) + ";" +
                                          std::to_string(i % 101) + "\n";
        const Uscita uno = converti(ingresso);
        ASSERT_GT(uno.esito.scritte, 35000u);
        ASSERT_GT(uno.esito.scartate, 1500u);
        for (unsigned fili : {2u, 3u}) {
            const Uscita molti = converti(ingresso, 0, fili);
            EXPECT_TRUE(molti.csv == uno.csv) << fili;
            EXPECT_TRUE(molti.errori == uno.errori) << fili;
            EXPECT_EQ(molti.esito.scritte, uno.esito.scritte);
            EXPECT_EQ(molti.esito.scartate, uno.esito.scartate);
            EXPECT_EQ(molti.esito.errore, uno.esito.errore);
        }
    }
}

TEST(CalcolaStati, ThreadsKeepOnlyAFewBlocksOfRows) {
    // Reading runs ahead of writing by no more than the blocks the threads hold (two per thread and two more, of
    // 4096 rows each), however long the input.
    Contatore conta;
    std::ostream out(&conta);
    std::size_t avanti = 0;
    RigheGenerate gen(300000, [&](std::size_t k) { avanti = std::max(avanti, k - conta.righe); });
    std::istream in(&gen);
    std::ostringstream err;
    const RisultatoStati e = calcola_stati(in, out, err, 0, "gen", 3);
    EXPECT_EQ(e.scritte, 300000u);
    EXPECT_EQ(conta.righe, 300001u);
    EXPECT_LE(avanti, 9u * 4096u);
    EXPECT_GT(avanti, 4096u);
}

TEST(CalcolaStati, ThreadsOnAWeatherFileAtEachHoursPressure) {
    // The same bytes, the same diagnostics and the states handed over in input order, whatever the threads.
    std::string epw = "LOCATION,Prova,,ITA,,,45,9,1,250\nDESIGN CONDITIONS,0\nDATA PERIODS,1,1,Data,Friday,1/1,12/31\n";
    for (int i = 0; i < 9000; ++i) {
        const double t = -5 + (i % 400) * 0.1, tr = t - 1 - (i % 7);
        const std::string p = i % 997 == 3 ? "999999" : std::to_string(95000 + i % 3000);
        epw += "2021,1,1," + std::to_string(i % 24 + 1) + ",60,A7," + formatta(t, 0, 1) + "," + formatta(tr, 0, 1) +
               ",80," + p + ",0,0\n";
    }
    OpzioniStati o;
    o.pressione_da_file = true;
    std::vector<double> ordine;
    o.per_ogni_stato = [&](const StatoCompleto& s, Aria a, std::string_view) { ordine.push_back(s.t + a.pressione); };
    const Uscita uno = converti_con(epw, o, "f.epw");
    const std::vector<double> ordine_uno = ordine;
    ordine.clear();
    o.fili = 3;
    const Uscita tre = converti_con(epw, o, "f.epw");
    EXPECT_EQ(uno.esito.scritte, 8990u);
    EXPECT_EQ(uno.esito.scartate, 10u);
    EXPECT_TRUE(tre.csv == uno.csv);
    EXPECT_EQ(tre.errori, uno.errori);
    EXPECT_EQ(ordine, ordine_uno);
    EXPECT_EQ(uno.csv.substr(0, uno.csv.find('\n')), "anno,mese,giorno,ora,t,ur,x,h,v,t_bulbo_umido,t_rugiada,p");
}
