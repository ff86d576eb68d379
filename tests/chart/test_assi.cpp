#include "aiuto_test.h"
#include "chart/assi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace ondix;
using namespace ondix::test;
using Tipo = Primitiva::Tipo;

namespace {

// Texts written at canvas row y, in order.
std::vector<std::string> testi_riga(const RecordingCanvas& c, int y) {
    std::vector<std::string> r;
    for (const auto& t : c.solo(Tipo::testo))
        if (t.y1 == y) r.push_back(t.testo);
    return r;
}

} // namespace

TEST(CampoArrotondato, WorkedRangesOfTheChart) {
    const auto x = campo_arrotondato(-5.0, 50.0);
    EXPECT_DOUBLE_EQ(x.passo, 5.0);
    EXPECT_DOUBLE_EQ(x.minimo, -10.0); // a negative lower bound gains a step
    EXPECT_DOUBLE_EQ(x.massimo, 55.0);
    const auto y = campo_arrotondato(0.0, 30.0);
    EXPECT_DOUBLE_EQ(y.passo, 2.5);
    EXPECT_DOUBLE_EQ(y.minimo, 0.0);
    EXPECT_DOUBLE_EQ(y.massimo, 32.5); // a multiple of the step still gains one
    const auto v = campo_arrotondato(0.0, 25.0);
    EXPECT_DOUBLE_EQ(v.passo, 2.5);
    EXPECT_DOUBLE_EQ(v.massimo, 27.5);
}

TEST(CampoArrotondato, SpanEqualToATableValueTakesTheNextOne) {
    const auto r = campo_arrotondato(0.0, 50.0);
    EXPECT_DOUBLE_EQ(r.passo, 5.0); // 100 / 20
    EXPECT_DOUBLE_EQ(r.massimo, 55.0);
    EXPECT_DOUBLE_EQ(campo_arrotondato(0.0, 49.9).passo, 2.5);
    EXPECT_DOUBLE_EQ(campo_arrotondato(0.0, 0.2).passo, 0.025); // 0.5 / 20
}

TEST(CampoArrotondato, BoundsInsideMoveInwardToAStepMultiple) {
    // A positive lower bound and a negative upper bound keep the integer part of bound / step.
    const auto r = campo_arrotondato(7.2, 22.0);
    EXPECT_DOUBLE_EQ(r.passo, 1.0);
    EXPECT_DOUBLE_EQ(r.minimo, 7.0);
    EXPECT_DOUBLE_EQ(r.massimo, 23.0);
    const auto n = campo_arrotondato(-30.0, -12.5);
    EXPECT_DOUBLE_EQ(n.passo, 1.0);
    EXPECT_DOUBLE_EQ(n.minimo, -31.0);
    EXPECT_DOUBLE_EQ(n.massimo, -12.0);
    const auto m = campo_arrotondato(-5.0, 35.0);
    EXPECT_DOUBLE_EQ(m.passo, 2.5);
    EXPECT_DOUBLE_EQ(m.minimo, -7.5);
    EXPECT_DOUBLE_EQ(m.massimo, 37.5);
}

TEST(CampoArrotondato, SpansOffTheTable) {
    // Below the first value: position 1 of the table.
    EXPECT_DOUBLE_EQ(campo_arrotondato(0.0, 1e-7).passo, 0.00002 / 20);
    EXPECT_DOUBLE_EQ(campo_arrotondato(0.0, 0.00001).passo, 0.00002 / 20);
    // Above the last: the series goes on.
    EXPECT_DOUBLE_EQ(campo_arrotondato(0.0, 1e8).passo, 2e8 / 20);
    EXPECT_DOUBLE_EQ(campo_arrotondato(0.0, 3e9).passo, 5e9 / 20);
    // Nothing finite: an answer, not a hang.
    const auto r = campo_arrotondato(0.0, std::numeric_limits<double>::infinity());
    EXPECT_GT(r.passo, 0.0);
    campo_arrotondato(0.0, std::numeric_limits<double>::quiet_NaN());
}

TEST(NumeroAsse, Labels) {
    EXPECT_EQ(numero_asse(0.0, false, 5.0), "0");
    EXPECT_EQ(numero_asse(-10.0, false, 5.0), "-10");
    EXPECT_EQ(numero_asse(50.0, false, 5.0), "50");
    // A tick reads its own value: a step of 2.5 needs one decimal.
    EXPECT_EQ(numero_asse(-7.5, false, 2.5), "-7.5");
    EXPECT_EQ(numero_asse(-2.5, false, 2.5), "-2.5");
    EXPECT_EQ(numero_asse(2.5, false, 2.5), "2.5");
    EXPECT_EQ(numero_asse(7.5, false, 2.5), "7.5");
    EXPECT_EQ(numero_asse(-7.5, true, 2.5), "    -7.5");
    EXPECT_EQ(numero_asse(12.5, false, 25.0), "13"); // not a tick of that step: halves away from zero
    // Steps below 1: 2, 3 or 4 decimals, trailing zeros removed.
    EXPECT_EQ(numero_asse(7.5, false, 0.5), "7.5");
    EXPECT_EQ(numero_asse(2.25, false, 0.25), "2.25");
    EXPECT_EQ(numero_asse(0.125, false, 0.25), "0.13");
    EXPECT_EQ(numero_asse(-0.125, false, 0.25), "-0.13");
    EXPECT_EQ(numero_asse(0.125, false, 0.025), "0.125");
    EXPECT_EQ(numero_asse(1.0625, false, 0.0025), "1.0625");
    EXPECT_EQ(numero_asse(3.0, false, 0.5), "3");
    // Integers never get decimals.
    EXPECT_EQ(numero_asse(10.0, false, 0.25), "10");
}

TEST(NumeroAsse, ScientificOutsideTheUsualMagnitudes) {
    EXPECT_EQ(numero_asse(1e6, false, 5e4), "1.0E+06");
    EXPECT_EQ(numero_asse(0.00005, false, 0.00005), "5.0E-05");
    EXPECT_EQ(numero_asse(998000.0, false, 1000.0), "998000");
}

TEST(NumeroAsse, RoundingNoiseAroundZeroIsZero) {
    EXPECT_EQ(numero_asse(5.551115123125783e-17, false, 0.1), "0");
}

TEST(NumeroAsse, RightAlignedIsEightCharactersCutFromTheLeft) {
    EXPECT_EQ(numero_asse(30.0, true, 2.5), "      30");
    EXPECT_EQ(numero_asse(0.0, true, 2.5), "       0");
    EXPECT_EQ(numero_asse(-123456.25, true, 0.25), "23456.25");
}

class AssiStandard : public ::testing::Test {
protected:
    void SetUp() override {
        b.p.apri_plotter();
        b.p.cornice();
        assi(b.p, "tbs", "X[g/kg]", 15, -5.0, 0.0, 50.0, 30.0);
    }
    Banco b;
};

TEST_F(AssiStandard, WindowSitsInsideTheMargins) {
    const FinestraPlotter& f = b.p.finestra_corrente();
    EXPECT_DOUBLE_EQ(f.ox, 54.0);
    EXPECT_DOUBLE_EQ(f.oy, 24.0);
    EXPECT_DOUBLE_EQ(f.xmin, -10.0);
    EXPECT_DOUBLE_EQ(f.xmax, 55.0);
    EXPECT_DOUBLE_EQ(f.ymin, 0.0);
    EXPECT_DOUBLE_EQ(f.ymax, 32.5);
    EXPECT_DOUBLE_EQ(f.passo_x, 5.0);
    EXPECT_DOUBLE_EQ(f.passo_y, 2.5);
    EXPECT_EQ(f.titolo_x, "tbs");
    EXPECT_EQ(f.titolo_y, "X[g/kg]");
    EXPECT_FALSE(b.p.mappatura());
}

TEST_F(AssiStandard, XAxisLabelsStopBeforeTheTitle) {
    // Labels sit at oy − 2.25 ch = 10.5 above the bottom: canvas row trunc(688 − 10.5) = 677.
    EXPECT_EQ(testi_riga(b.schermo, 677),
              (std::vector<std::string>{" -10", " 0", " 10", " 20", " 30", " 40", " 50", " tbs"}));
    const auto testi = b.schermo.solo(Tipo::testo);
    EXPECT_EQ(testi[0].x1, 48);                                       // X − cw at i = 0
    EXPECT_EQ(testi[1].x1, static_cast<int>(10 * 960.0 / 65.0 + 48)); // the 0 label
    const auto titolo = std::find_if(testi.begin(), testi.end(), [](const auto& t) { return t.testo == " tbs"; });
    EXPECT_EQ(titolo->x1, 984); // W − (3 + 2) cw
}

TEST_F(AssiStandard, XAxisLineArrowheadAndTicks) {
    const auto linee = b.schermo.solo(Tipo::linea);
    ASSERT_GE(linee.size(), 4u);
    EXPECT_EQ(linee[0].descrizione(), "linea 54 664 1014 664 #0000FF 3");
    EXPECT_EQ(linee[1].descrizione(), "linea 1014 664 1005 670 #0000FF 3");
    EXPECT_EQ(linee[2].descrizione(), "linea 1005 670 1005 658 #0000FF 3");
    EXPECT_EQ(linee[3].descrizione(), "linea 1005 658 1014 664 #0000FF 3");
    int minori = 0, maggiori = 0;
    for (const auto& l : linee) {
        if (l.x1 != l.x2 || l.y1 != 664) continue;
        if (l.y2 == 667) ++minori;   // 0.6 ch below the axis
        if (l.y2 == 670) ++maggiori; // ch below the axis
    }
    EXPECT_EQ(minori, 7);   // i = 1, 3, …, 13: the last tick (55) is minor
    EXPECT_EQ(maggiori, 7); // i = 0, 2, …, 12
}

TEST_F(AssiStandard, YAxisRunsFromZeroToThirtyTwoAndAHalf) {
    std::vector<std::string> etichette;
    for (const auto& t : b.schermo.solo(Tipo::testo))
        if (t.x1 == 6) etichette.push_back(t.testo);
    EXPECT_EQ(etichette, (std::vector<std::string>{"       0", "       5", "      10", "      15", "      20",
                                                   "      25", "      30"}));
    const auto linee = b.schermo.solo(Tipo::linea);
    const auto asse = std::find_if(linee.begin(), linee.end(), [](const auto& l) { return l.x1 == 54 && l.y2 == 0; });
    ASSERT_NE(asse, linee.end());
    EXPECT_EQ(asse->y1, 664);
    // The label of 0 stands 1.05 cw above its tick: canvas row trunc(688 − 24 − 6.3).
    const auto testi = b.schermo.solo(Tipo::testo);
    const auto zero = std::find_if(testi.begin(), testi.end(), [](const auto& t) { return t.x1 == 6; });
    EXPECT_EQ(zero->y1, 657);
    // The y title stands left of the label column (a negative x is kept).
    EXPECT_EQ(testi.back().testo, " X[g/kg]");
    EXPECT_EQ(testi.back().x1, -3);
    EXPECT_EQ(testi.back().y1, 9);
}

TEST_F(AssiStandard, FrameKeepsTheCanvasColoursWithPenFifteen) {
    for (const auto& l : b.schermo.solo(Tipo::linea))
        EXPECT_EQ(l.colore(), blu);
    for (const auto& t : b.schermo.solo(Tipo::testo))
        EXPECT_EQ(t.colore(), nero);
}

TEST(Assi, RangeMinusFiveToThirtyFiveLabelsReadTheTicksValues) {
    Banco b;
    b.p.apri_plotter();
    assi(b.p, "tbs", "X[g/kg]", 15, -5.0, 0.0, 35.0, 30.0);
    EXPECT_DOUBLE_EQ(b.p.finestra_corrente().xmin, -7.5);
    EXPECT_DOUBLE_EQ(b.p.finestra_corrente().xmax, 37.5);
    const auto riga = testi_riga(b.schermo, 677);
    ASSERT_GE(riga.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(riga.begin(), riga.begin() + 4),
              (std::vector<std::string>{" -7.5", " -2.5", " 2.5", " 7.5"}));
}

TEST(Assi, EqualYBoundsAreWidenedFirst) {
    Banco b;
    b.p.apri_plotter();
    assi(b.p, "t", "y", 15, 0.0, 10.0, 40.0, 10.0);
    // 5 … 15: span 10, step 1; the upper bound gains a step.
    EXPECT_DOUBLE_EQ(b.p.finestra_corrente().passo_y, 1.0);
    EXPECT_DOUBLE_EQ(b.p.finestra_corrente().ymin, 5.0);
    EXPECT_DOUBLE_EQ(b.p.finestra_corrente().ymax, 16.0);
    // A negative value widens the same way, never upside down: −15 … −5, the lower bound gaining a step.
    assi(b.p, "t", "y", 15, 0.0, -10.0, 40.0, -10.0);
    EXPECT_DOUBLE_EQ(b.p.finestra_corrente().ymin, -16.0);
    EXPECT_DOUBLE_EQ(b.p.finestra_corrente().ymax, -5.0);
}

TEST(Assi, BothYBoundsZeroStillGiveAUsableScale) {
    Banco b;
    b.p.apri_plotter();
    assi(b.p, "t", "y", 15, -5.0, 0.0, 0.0, 0.0);
    const FinestraPlotter& f = b.p.finestra_corrente();
    EXPECT_GT(f.ymax, f.ymin);
    EXPECT_TRUE(std::isfinite(f.sy));
}

TEST(Assi, LongXTitleIsCutToEightButCountsTenForTheLabels) {
    Banco b;
    b.p.apri_plotter();
    assi(b.p, "temperatura", "y", 15, -5.0, 0.0, 50.0, 30.0);
    EXPECT_EQ(b.p.finestra_corrente().titolo_x, "temperatur");
    const auto riga = testi_riga(b.schermo, 677);
    // L = 10: labels only up to X ≤ 1014 − 15 × 6 = 924, so 50 (at 940) is dropped.
    EXPECT_EQ(riga, (std::vector<std::string>{" -10", " 0", " 10", " 20", " 30", " 40", " temperat"}));
    const auto testi = b.schermo.solo(Tipo::testo);
    EXPECT_EQ(std::find_if(testi.begin(), testi.end(), [](const auto& t) { return t.testo == " temperat"; })->x1,
              942); // W − (10 + 2) cw
}

TEST(Assi, PrinterMarginsAreNineAndFivePercent) {
    Banco b(1024, 768, 1000, 800);
    b.p.imposta_dispositivo(Dispositivo::stampante);
    b.p.apri_plotter();
    assi(b.p, "tbs", "X[g/kg]", 15, -5.0, 0.0, 50.0, 30.0);
    EXPECT_DOUBLE_EQ(b.p.finestra_corrente().ox, 81.0); // 9 % of 900
    EXPECT_DOUBLE_EQ(b.p.finestra_corrente().oy, 36.0); // 5 % of 720
    const auto l = b.stampante.solo(Tipo::linea).at(0);
    EXPECT_EQ(l.x1, 81);
    EXPECT_EQ(l.y1, 684);
    for (const auto& t : b.stampante.solo(Tipo::testo))
        EXPECT_EQ(t.stato.punti_font, 10);
}

TEST(Assi, MarginSettings) {
    Banco b;
    b.p.apri_plotter();
    ImpostazioniAssi senza_margine;
    senza_margine.margine_sinistro = 0;
    senza_margine.righe_extra = 2;
    assi(b.p, "t", "y", 15, -5.0, 0.0, 50.0, 30.0, senza_margine);
    EXPECT_DOUBLE_EQ(b.p.finestra_corrente().ox, 0.0);
    EXPECT_DOUBLE_EQ(b.p.finestra_corrente().oy, 36.0);
}

TEST(Assi, HugeRangesDrawABoundedNumberOfTicks) {
    Banco b;
    b.p.apri_plotter();
    assi(b.p, "t", "y", 15, -1e12, 0.0, 1e12, 1e-9);
    EXPECT_LT(b.schermo.primitive().size(), 200u);
    Banco n;
    n.p.apri_plotter();
    assi(n.p, "t", "y", 15, std::numeric_limits<double>::quiet_NaN(), 0.0, 1.0, 1.0);
    EXPECT_LT(n.schermo.primitive().size(), 200u);
}

class Curva : public ::testing::Test {
protected:
    void SetUp() override {
        b.p.apri_plotter();
        // Window 0 … 20 × 0 … 10: 48 pixels per unit of x.
        assi(b.p, "t", "y", 15, 0.0, 0.0, 19.0, 9.5);
        b.schermo.svuota();
    }
    // World x of each canvas pixel column, back through the window.
    double x_mondo(int X) const {
        const FinestraPlotter& f = b.p.finestra_corrente();
        return (X - f.ox) / f.sx + f.xmin;
    }
    Banco b;
};

TEST_F(Curva, TwoHundredSamplesJoinedInOrder) {
    traccia_funzione(
        b.p, [](double) { return 5.0; }, 1, 0.0, 19.9);
    const auto linee = b.schermo.solo(Tipo::linea);
    EXPECT_EQ(linee.size(), 199u);
    for (std::size_t i = 1; i < linee.size(); ++i)
        EXPECT_EQ(linee[i].x1, linee[i - 1].x2);
    EXPECT_EQ(linee.front().colore(), blu);
    EXPECT_FALSE(b.p.mappatura());
}

TEST_F(Curva, PenLiftsWhereTheCurveLeavesTheRangeAndResumesWithAMove) {
    // Samples every 0.1: above ymax for 5 < x < 8.
    auto f = [](double x) { return (x > 5.05 && x < 7.95) ? 100.0 : 1.0; };
    traccia_funzione(b.p, f, 2, 0.0, 19.9);
    const auto linee = b.schermo.solo(Tipo::linea);
    // 51 samples up to 5.0 and 120 from 8.0 on: 50 + 119 lines, none across the gap.
    EXPECT_EQ(linee.size(), 169u);
    for (const auto& l : linee) {
        EXPECT_FALSE(x_mondo(l.x1) > 5.1 && x_mondo(l.x1) < 7.9);
        EXPECT_FALSE(x_mondo(l.x2) > 5.1 && x_mondo(l.x2) < 7.9);
        EXPECT_LE(l.x2 - l.x1, 5); // neighbouring samples only (0.1 apart)
        EXPECT_EQ(l.colore(), verde);
    }
}

TEST_F(Curva, CurveLeavingAtTheTopIsNotDrawnBeyond) {
    traccia_funzione(
        b.p, [](double x) { return x; }, 1, 0.0, 19.9);
    const auto linee = b.schermo.solo(Tipo::linea);
    ASSERT_FALSE(linee.empty());
    EXPECT_NEAR(x_mondo(linee.back().x2), 10.0, 0.11); // last sample inside: y ≤ ymax = 10
}

TEST_F(Curva, NotANumberLiftsThePen) {
    traccia_funzione(
        b.p, [](double x) { return x < 9.95 ? std::numeric_limits<double>::quiet_NaN() : 1.0; }, 1, 0.0, 19.9);
    EXPECT_EQ(b.schermo.solo(Tipo::linea).size(), 99u);
}
