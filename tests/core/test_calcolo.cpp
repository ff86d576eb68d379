#include "core/aria_umida.h"
#include "core/calcolo.h"
#include "core/esecuzione.h"
#include "core/punti_grafico.h"
#include "esterno_prova.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <tuple>

using namespace ondix;

namespace {

// Leaves every floating-point flag up, as a dialog's event loop might.
void sporca() {
    volatile double zero = 0.0;
    volatile double r = 1.0 / zero;
    r = zero / zero;
    r = 1e308 * 10.0;
    (void)r;
}

Contesto contesto(int tipo) {
    Contesto ctx;
    ctx.processo = static_cast<TipoProcesso>(tipo);
    imposta_maschera(ctx);
    return ctx;
}

} // namespace

TEST(Driver, PointPropertiesTypicalRun) {
    Contesto ctx = contesto(4);
    EsternoProva est;
    EXPECT_TRUE(vai_calcolo(ctx, est).ok());
    EXPECT_EQ(ctx.rapporto.righe(), (std::vector<std::string>{
                                        "       PROPRIETA DEL PUNTO",
                                        "Temperatura        :   20,0 C",
                                        "umidita relativa   :   50,0 %",
                                        "umidita specifica  :   7,25 g/kg ",
                                        "Entalpia           :   38,4 kj/kg ",
                                        "volume specifico   :  0,840 mc/kg",
                                        "temperatura bulbo umido :13.73 C",
                                        "temperatura rugiada     : 9.25 C",
                                    }));
    EXPECT_EQ(est.viste, std::vector<VistaGrafico>{VistaGrafico::punto});
    EXPECT_EQ(est.rapporti_mostrati, 1);
    EXPECT_EQ(ctx.codice_grafico, 0);
    EXPECT_EQ(ctx.punti[1].etichetta, "P");
    EXPECT_NEAR(ctx.punti[1].Y, 7.25, 0.005);
    EXPECT_NEAR(ctx.punti[2].X, 9.25, 0.005);
    EXPECT_EQ(ctx.punti[2].etichetta, "R");
    EXPECT_NEAR(ctx.punti[3].X, 13.73, 0.005);
    EXPECT_DOUBLE_EQ(ctx.punti[3].Y, umidita_saturazione(ctx.punti[3].X));
    EXPECT_EQ(ctx.punti[3].etichetta, "BU");
    EXPECT_FALSE(ctx.punti[4].in_uso());
    EXPECT_FALSE(ctx.maschera.testo_visibile[9]);

    const auto r = intervalli_vista(VistaGrafico::punto, ctx.punti);
    EXPECT_DOUBLE_EQ(r.tmin, ctx.punti[2].X - 2);
    EXPECT_DOUBLE_EQ(r.tmax, 22);
    EXPECT_DOUBLE_EQ(r.xmin, ctx.punti[1].Y - 2);
    EXPECT_DOUBLE_EQ(r.xmax, ctx.punti[3].Y + 2);
    EXPECT_TRUE(ctx.risultati.con_rugiada);
    EXPECT_EQ(ctx.risultati.rugiada, ctx.punti[2].X);

    // A second run with the same inputs gives the same report, not twice the lines.
    const auto prima = ctx.rapporto.righe();
    EXPECT_TRUE(vai_calcolo(ctx, est).ok());
    EXPECT_EQ(ctx.rapporto.righe(), prima);
}

TEST(Driver, PointPropertiesOfColdAndOfDryAir) {
    // −5 °C 50 %: the dew point lies below −10 °C and is found; the point chart holds all three points.
    // 20 °C 0 %: no dew point, said in words, and no point R.
    for (const auto& [t, ur, rugiada] : {std::tuple{"-5", "50", "temperatura rugiada     :-12.59 C"},
                                         {"20", "0", "temperatura rugiada     : non definita"}}) {
        Contesto ctx = contesto(4);
        ctx.maschera.testo[0] = t;
        ctx.maschera.testo[1] = ur;
        EsternoProva est;
        EXPECT_TRUE(vai_calcolo(ctx, est).ok());
        EXPECT_EQ(ctx.rapporto.righe().back(), rugiada);
        EXPECT_EQ(ctx.risultati.rugiada.has_value(), ctx.punti[2].in_uso());
        const auto r = intervalli_vista(VistaGrafico::punto, ctx.punti);
        for (int n = 1; n <= 3; ++n)
            if (ctx.punti[n].in_uso()) {
                EXPECT_TRUE(r.tmin < ctx.punti[n].X && ctx.punti[n].X < r.tmax) << t << " " << n;
                EXPECT_TRUE(r.xmin < ctx.punti[n].Y && ctx.punti[n].Y < r.xmax) << t << " " << n;
            }
    }
    // Whatever the table holds, the point view is in order and not empty.
    TabellaPunti rovescia;
    rovescia.imposta(1, -5.0, 9.0, "P");
    rovescia.imposta(2, 10.0, 9.0, "R");
    rovescia.imposta(3, 0.0, 1.0, "BU");
    const auto r = intervalli_vista(VistaGrafico::punto, rovescia);
    EXPECT_DOUBLE_EQ(r.tmin, -7.0);
    EXPECT_DOUBLE_EQ(r.tmax, 12.0);
    EXPECT_DOUBLE_EQ(r.xmin, -1.0);
    EXPECT_DOUBLE_EQ(r.xmax, 11.0);
}

TEST(Driver, PointPropertiesRangeChecksStopWithoutChart) {
    Contesto ctx = contesto(4);
    ctx.maschera.umidita = 1;
    ctx.maschera.testo[1] = "15";
    EsternoProva est;
    EXPECT_TRUE(vai_calcolo(ctx, est).ok());
    EXPECT_EQ(est.messaggi, std::vector<std::string>{"umidità specifica superiore a quella limite!(=14.67)"});
    EXPECT_TRUE(ctx.rapporto.righe().empty());
    EXPECT_TRUE(est.viste.empty());
    EXPECT_EQ(est.rapporti_mostrati, 1);

    for (const char* ur : {"100.5", "101"}) {
        Contesto c = contesto(4);
        c.maschera.testo[1] = ur;
        EsternoProva e;
        (void)vai_calcolo(c, e);
        EXPECT_EQ(e.messaggi, std::vector<std::string>{"l umidità relativa non può essere maggiore di 100!"});
    }
    Contesto saturo = contesto(4);
    saturo.maschera.testo[1] = "100";
    EsternoProva e;
    (void)vai_calcolo(saturo, e);
    EXPECT_TRUE(e.messaggi.empty());
    EXPECT_EQ(saturo.rapporto.righe().size(), 8u);
}

TEST(Driver, CommaTextIsReadUpToTheComma) {
    Contesto ctx = contesto(4);
    ctx.maschera.testo[0] = "20,9";
    ctx.maschera.testo[1] = "0,5"; // read as 0
    EsternoProva est;
    (void)vai_calcolo(ctx, est);
    EXPECT_EQ(ctx.rapporto.righe()[1], "Temperatura        :   20,0 C");
    EXPECT_EQ(ctx.rapporto.righe()[2], "umidita relativa   :    0,0 %");
}

TEST(Driver, OverflowInABoxStopsTheCalculation) {
    Contesto ctx = contesto(4);
    ctx.maschera.testo[1] = "1e400";
    EsternoProva est;
    const Fatto err = vai_calcolo(ctx, est);
    ASSERT_FALSE(err.ok());
    EXPECT_EQ(err.errore(), (Errore{Causa::virgola_mobile, "Débordement en virgule flottante."}));
    EXPECT_EQ(est.rapporti_mostrati, 0);
    EXPECT_TRUE(est.viste.empty());
}

TEST(Driver, KindWithoutComputationShowsAnEmptyReport) {
    Contesto ctx = contesto(4);
    ctx.processo = 99;
    ctx.rapporto.aggiungi("old");
    EsternoProva est;
    EXPECT_TRUE(vai_calcolo(ctx, est).ok());
    EXPECT_TRUE(ctx.rapporto.righe().empty());
    EXPECT_EQ(est.rapporti_mostrati, 1);
    EXPECT_TRUE(est.viste.empty());
}

TEST(Calcolo, FloatingPointErrorKeepsEarlierLinesAndStopsAtOnce) {
    struct Caso {
        double (*operazione)(double);
        const char* testo;
    };
    const Caso casi[] = {
        {[](double z) { return 1.0 / z; }, "Division par zéro en virgule flottante."},
        {[](double z) { return z / z; }, "Opération en virgule flottante incorrecte."},
        {[](double z) { return (z + 1e308) * 10.0; }, "Débordement en virgule flottante."},
    };
    for (const Caso& c : casi) {
        Contesto ctx;
        EsternoProva est;
        Calcolo calc(ctx, est);
        calc.aggiungi("prima");
        volatile double zero = 0.0;
        volatile double r = c.operazione(zero);
        (void)r;
        try {
            calc.aggiungi("dopo");
            FAIL() << "no error for " << c.testo;
        } catch (const ErroreVirgolaMobile& e) {
            EXPECT_STREQ(e.what(), c.testo);
        }
        EXPECT_EQ(ctx.rapporto.righe(), std::vector<std::string>{"prima"});
        EXPECT_THROW(calc.punto(1, 1, 1, "A"), ErroreVirgolaMobile);
        EXPECT_THROW(calc.messaggio("x"), ErroreVirgolaMobile);
        EXPECT_THROW(calc.apri_grafico(VistaGrafico::standard), ErroreVirgolaMobile);
        EXPECT_TRUE(est.messaggi.empty());
        EXPECT_TRUE(est.viste.empty());
        EXPECT_FALSE(ctx.punti[1].in_uso());
    }
}

TEST(Calcolo, DivisionByZeroWinsOverTheInvalidOperationItCauses) {
    Contesto ctx;
    EsternoProva est;
    Calcolo calc(ctx, est);
    volatile double zero = 0.0;
    volatile double inf = 1.0 / zero;
    volatile double nan = inf - inf;
    (void)nan;
    try {
        calc.aggiungi("x");
        FAIL();
    } catch (const ErroreVirgolaMobile& e) {
        EXPECT_EQ(e.tipo(), TipoErroreFP::divisione_per_zero);
    }
}

TEST(Calcolo, FlagsLeftByDialogsAreNotTheCalculationsErrors) {
    Contesto ctx;
    EsternoProva est;
    est.dopo_messaggio = sporca;
    Calcolo calc(ctx, est);
    calc.messaggio("dialog");
    EXPECT_NO_THROW(calc.aggiungi("still fine"));
    EXPECT_EQ(ctx.rapporto.righe().size(), 1u);
}

TEST(Calcolo, StaleFlagsBeforeTheStartDoNotCount) {
    sporca();
    Contesto ctx = contesto(4);
    EsternoProva est;
    EXPECT_TRUE(vai_calcolo(ctx, est).ok());
    EXPECT_EQ(ctx.rapporto.righe().size(), 8u);
}

TEST(Calcolo, FlowConversionByOptionGroup) {
    Contesto ctx;
    EsternoProva est;
    Calcolo calc(ctx, est);
    const double v = volume_specifico(20, 7.25);
    EXPECT_DOUBLE_EQ(converti_portata(calc, "1200", 20, 7.25), 1200 / v);
    ctx.maschera.portata = 1;
    EXPECT_DOUBLE_EQ(converti_portata(calc, "1200", 20, 7.25), 1200);
    EXPECT_THROW(converti_portata(calc, "1e999", 20, 7.25), ErroreVirgolaMobile);
}

TEST(Esecuzione, HeadlessRunAppliesTextsOptionsAndAnswers) {
    RichiestaCalcolo r;
    r.tipo = 4;
    r.testi[0] = "30";
    r.testi[1] = "12";
    r.umidita = 1;
    const RisultatoCalcolo e = esegui(r);
    EXPECT_FALSE(e.errore);
    ASSERT_EQ(e.contesto.rapporto.righe().size(), 8u);
    EXPECT_EQ(e.contesto.rapporto.righe()[3], "umidita specifica  :  12,00 g/kg ");
    EXPECT_EQ(e.vista, VistaGrafico::punto);
}

TEST(Driver, SitePressureOpensTheReportAndReachesEveryValue) {
    Contesto ctx = contesto(4);
    ctx.aria = Aria{79500};
    EsternoProva est;
    EXPECT_TRUE(vai_calcolo(ctx, est).ok());
    ASSERT_EQ(ctx.rapporto.righe().size(), 9u);
    EXPECT_EQ(ctx.rapporto.righe()[0], "pressione atmosferica: 79500 Pa");
    // 622 · 0.5 · 2335.38 / (79500 − 0.5 · 2335.38) = 9.272 g/kg; 1.074 m³/kg.
    EXPECT_EQ(ctx.rapporto.righe()[4], "umidita specifica  :   9,27 g/kg ");
    EXPECT_EQ(ctx.rapporto.righe()[6], "volume specifico   :  1,074 mc/kg");
    EXPECT_NEAR(ctx.punti[1].Y, 9.272, 0.001);
    // A stop at a message leaves the report empty, pressure line included; every kind takes the pressure.
    ctx.maschera.testo[1] = "150";
    EXPECT_TRUE(vai_calcolo(ctx, est).ok());
    EXPECT_TRUE(ctx.rapporto.righe().empty());
    for (const int tipo : {1, 2, 3, 5, 6, 7, 13, 17, 21}) {
        Contesto a = contesto(tipo), b = contesto(tipo);
        b.aria = Aria{79500};
        EsternoProva ea, eb;
        (void)vai_calcolo(a, ea);
        (void)vai_calcolo(b, eb);
        ASSERT_FALSE(b.rapporto.righe().empty()) << tipo;
        EXPECT_EQ(b.rapporto.righe()[0], "pressione atmosferica: 79500 Pa") << tipo;
        EXPECT_NE(std::vector<std::string>(b.rapporto.righe().begin() + 1, b.rapporto.righe().end()),
                  a.rapporto.righe())
            << tipo;
    }
}
