#include "aiuto_test.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace ondix;
using namespace ondix::test;
using Tipo = Primitiva::Tipo;

TEST(Plotter, ScreenDrawingOn1024x768HasPlottingArea1014x688) {
    Banco b;
    b.schermo.imposta_spessore_penna(1);
    b.p.imposta_mappatura(true);
    b.p.apri_plotter();
    EXPECT_EQ(b.p.w(), 1014);
    EXPECT_EQ(b.p.h(), 688);
    EXPECT_DOUBLE_EQ(b.p.cw(), 6.0);
    EXPECT_DOUBLE_EQ(b.p.ch(), 6.0);
    EXPECT_DOUBLE_EQ(b.p.origine_x(), 0.0);
    EXPECT_DOUBLE_EQ(b.p.origine_y(), 0.0);
    EXPECT_FALSE(b.p.mappatura());
    EXPECT_EQ(b.schermo.stato().spessore_penna, 3);
}

TEST(Plotter, PrinterDrawingTakesNinetyPercentOfThePage) {
    Banco b(1024, 768, 2480, 3508);
    b.p.imposta_dispositivo(Dispositivo::stampante);
    b.stampante.imposta_spessore_penna(5);
    b.stampante.imposta_punti_font(33);
    b.p.apri_plotter();
    EXPECT_EQ(b.p.w(), 2232); // trunc(0.9 × 2480)
    EXPECT_EQ(b.p.h(), 3157); // trunc(0.9 × 3508 = 3157.2)
    EXPECT_DOUBLE_EQ(b.p.cw(), 22.32);
    EXPECT_DOUBLE_EQ(b.p.ch(), 3157 / 80.0);
    EXPECT_EQ(b.stampante.stato().punti_font, 10);
    EXPECT_EQ(b.stampante.stato().spessore_penna, 5); // left as the print command set it
}

TEST(Plotter, ExtentsNeverWrapAround) {
    Banco piccolo(5, 5);
    piccolo.p.apri_plotter();
    EXPECT_EQ(piccolo.p.w(), 0);
    EXPECT_EQ(piccolo.p.h(), 0);

    Banco enorme(1024, 768, 200000, 200000);
    enorme.p.imposta_dispositivo(Dispositivo::stampante);
    enorme.p.apri_plotter();
    EXPECT_EQ(enorme.p.w(), 65535);
    EXPECT_EQ(enorme.p.h(), 65535);
}

TEST(Plotter, DeviceCoordinatesTruncateTowardZero) {
    Banco b;
    b.p.apri_plotter();
    b.p.linea(10.9, 0.0, -0.5, 0.0);
    b.p.linea(0.0, 10.9, 0.0, -0.5);
    const auto linee = b.schermo.solo(Tipo::linea);
    ASSERT_EQ(linee.size(), 2u);
    EXPECT_EQ(linee[0].x1, 10);
    EXPECT_EQ(linee[0].x2, 0);
    // Screen: the flip comes first, then truncation (688 − 10.9 = 677.1, 688 + 0.5 = 688.5).
    EXPECT_EQ(linee[1].y1, 677);
    EXPECT_EQ(linee[1].y2, 688);
}

TEST(Plotter, OriginIsTheLowerLeftCornerOnBothDevices) {
    Banco b(1024, 768, 1000, 800);
    b.p.apri_plotter();
    b.p.linea(0.0, 0.0, 1.0, 1.0);
    const Primitiva s = b.schermo.primitive().at(0);
    EXPECT_EQ(s.x1, 0);
    EXPECT_EQ(s.y1, 688);
    EXPECT_EQ(s.y2, 687);

    b.p.imposta_dispositivo(Dispositivo::stampante);
    b.p.apri_plotter();
    b.p.linea(0.0, 0.0, 0.0, 10.9);
    const Primitiva st = b.stampante.primitive().at(0);
    EXPECT_EQ(st.x1, 0);
    EXPECT_EQ(st.y1, 720);
    // Printer: truncation first, then the flip (720 − 10).
    EXPECT_EQ(st.y2, 710);
}

TEST(Plotter, WindowMapsWorldUnitsThroughOriginAndScale) {
    Banco b;
    b.p.apri_plotter();
    b.p.finestra_corrente().ox = 54.0;
    b.p.finestra_corrente().oy = 24.0;
    b.p.finestra(-10.0, 55.0, 0.0, 32.5);
    const FinestraPlotter& f = b.p.finestra_corrente();
    EXPECT_DOUBLE_EQ(f.larghezza, 960.0);
    EXPECT_DOUBLE_EQ(f.altezza, 664.0);
    EXPECT_DOUBLE_EQ(f.sx, 960.0 / 65.0);
    EXPECT_DOUBLE_EQ(f.sy, 664.0 / 32.5);
    EXPECT_FALSE(b.p.mappatura()); // the chart switches it on

    EXPECT_DOUBLE_EQ(b.p.x_dispositivo(20.0), 20.0); // mapping off: device units
    b.p.imposta_mappatura(true);
    EXPECT_DOUBLE_EQ(b.p.x_dispositivo(-10.0), 54.0);
    EXPECT_DOUBLE_EQ(b.p.x_dispositivo(55.0), 1014.0);
    EXPECT_DOUBLE_EQ(b.p.y_dispositivo(0.0), 688.0 - 24.0);
    EXPECT_DOUBLE_EQ(b.p.y_dispositivo(32.5), 0.0);
    b.p.linea(20.0, 10.0, 30.0, 20.0);
    const Primitiva l = b.schermo.primitive().at(0);
    EXPECT_EQ(l.x1, static_cast<int>(30.0 * 960.0 / 65.0 + 54.0));
    EXPECT_EQ(l.y1, static_cast<int>(688.0 - (10.0 * 664.0 / 32.5 + 24.0)));
}

TEST(Plotter, ScreenCircleNeedsXFromTenAndRoomAboveTheButtons) {
    Banco b;
    b.p.apri_plotter();
    // Mapping off: coordinates and radius are device units; device y 100 is canvas y 588.
    b.p.cerchio(9.0, 100.0, 3.0);
    b.p.cerchio(9.99, 100.0, 3.0);
    EXPECT_TRUE(b.schermo.primitive().empty());
    b.p.cerchio(10.0, 100.0, 3.0);
    ASSERT_EQ(b.schermo.primitive().size(), 1u);
    const Primitiva e = b.schermo.primitive()[0];
    EXPECT_EQ(e.tipo, Tipo::ellisse);
    EXPECT_EQ(e.x1, 7);
    EXPECT_EQ(e.y1, 585);
    EXPECT_EQ(e.x2, 13);
    EXPECT_EQ(e.y2, 591);
    EXPECT_EQ(e.stato.colore_pennello, (Rgb{255, 255, 255}));

    b.schermo.svuota();
    b.p.cerchio(500.0, -30.0, 3.0);  // canvas y 718 = 768 − 50: still drawn
    b.p.cerchio(500.0, -30.5, 3.0);  // canvas y 718.5: within 50 px of the bottom
    b.p.cerchio(500.0, 689.0, 3.0);  // canvas y −1: above the canvas
    b.p.cerchio(1024.0, 100.0, 3.0); // at the screen's right edge: drawn
    b.p.cerchio(1024.5, 100.0, 3.0); // beyond it
    ASSERT_EQ(b.schermo.primitive().size(), 2u);
    EXPECT_EQ(b.schermo.primitive()[0].y1, 715);
    EXPECT_EQ(b.schermo.primitive()[1].x1, 1021);
}

TEST(Plotter, PrinterDrawsEveryCircle) {
    Banco b(1024, 768, 1000, 800);
    b.p.imposta_dispositivo(Dispositivo::stampante);
    b.p.apri_plotter();
    b.p.cerchio(9.0, 100.0, 3.0);
    b.p.cerchio(500.0, -300.0, 3.0);
    const auto e = b.stampante.solo(Tipo::ellisse);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].x1, 6);
    EXPECT_EQ(e[0].y1, 617); // 720 − 100 − 3
    EXPECT_EQ(e[1].y2, 1023);
}

TEST(Plotter, CircleRadiusIsMeasuredOnTheXScale) {
    Banco b;
    b.p.apri_plotter();
    b.p.finestra_corrente().ox = 54.0;
    b.p.finestra_corrente().oy = 24.0;
    b.p.finestra(0.0, 96.0, 0.0, 10.0); // sx = 10, sy = 66.4
    b.p.imposta_mappatura(true);
    b.p.cerchio(50.0, 5.0, 0.2);
    const Primitiva e = b.schermo.primitive().at(0);
    EXPECT_EQ(e.x2 - e.x1, 4);
    EXPECT_EQ(e.x1, 552);
    // The centre's conversion clears the scale-only state: later points map normally.
    EXPECT_DOUBLE_EQ(b.p.x_dispositivo(1.0), 64.0);
}

TEST(Plotter, TextDropsALeadingHashAndGetsOneLeadingSpace) {
    Banco b;
    b.p.apri_plotter();
    for (const char* s : {"#A", "", "AB", "##", "#", "A#"})
        b.p.scrivi_testo(s, 100.0, 100.0);
    EXPECT_EQ(b.testi(), (std::vector<std::string>{" A", " ", " AB", " #", " ", " A#"}));
    const Primitiva t = b.schermo.primitive().at(0);
    EXPECT_EQ(t.x1, 100);
    EXPECT_EQ(t.y1, 588);
    EXPECT_EQ(t.stato.font, "times new roman");
    EXPECT_EQ(t.stato.punti_font, 14);
}

TEST(Plotter, PrinterTextKeepsTheTenPointSize) {
    Banco b(1024, 768, 1000, 800);
    b.p.imposta_dispositivo(Dispositivo::stampante);
    b.stampante.imposta_font("courier");
    b.p.apri_plotter();
    b.p.scrivi_testo("P", 10.0, 20.0);
    const Primitiva t = b.stampante.primitive().at(0);
    EXPECT_EQ(t.stato.font, "times new roman");
    EXPECT_EQ(t.stato.punti_font, 10);
    EXPECT_EQ(t.x1, 10);
    EXPECT_EQ(t.y1, 700);
}

TEST(Plotter, PenColours) {
    const std::pair<int, Rgb> tabella[] = {
        {0, {0, 0, 0}},     {1, {0, 0, 255}}, {2, {0, 128, 0}},     {3, {0, 255, 255}},  {4, {255, 0, 0}},
        {5, {255, 0, 255}}, {6, {128, 0, 0}}, {7, {128, 128, 128}}, {14, {128, 128, 0}},
    };
    for (const auto& [n, c] : tabella) {
        Banco b;
        b.p.penna(static_cast<std::uint16_t>(n));
        EXPECT_EQ(b.p.penna_corrente(), n);
        EXPECT_EQ(b.schermo.stato().colore_penna, c) << "pen " << n;
        EXPECT_EQ(b.schermo.stato().colore_testo, c) << "pen " << n;
    }
}

TEST(Plotter, PensEightToThirteenAndFifteenKeepTheColours) {
    for (int n : {8, 9, 10, 11, 12, 13, 15, 16, 65535}) {
        Banco b;
        b.p.penna(4);
        b.schermo.imposta_colore_penna({1, 2, 3}); // line colour changed apart from the text colour
        b.p.penna(static_cast<std::uint16_t>(n));
        EXPECT_EQ(b.p.penna_corrente(), n);
        b.p.linea(1, 1, 2, 2);
        b.p.scrivi_testo("x", 1, 1);
        EXPECT_EQ(b.schermo.primitive()[0].colore(), (Rgb{1, 2, 3})) << "pen " << n;
        EXPECT_EQ(b.schermo.primitive()[1].colore(), rosso) << "pen " << n;
    }
}

TEST(Plotter, PenChangesOnlyTheCurrentOutput) {
    Banco b;
    b.p.imposta_dispositivo(Dispositivo::stampante);
    b.p.penna(2);
    EXPECT_EQ(b.stampante.stato().colore_penna, verde);
    EXPECT_EQ(b.schermo.stato().colore_penna, nero);
}

TEST(Plotter, ScreenFrameOnlySetsTheLineColourToBlue) {
    Banco b;
    b.p.apri_plotter();
    b.p.imposta_mappatura(true);
    b.p.cornice();
    EXPECT_FALSE(b.p.mappatura());
    EXPECT_TRUE(b.schermo.primitive().empty());
    EXPECT_EQ(b.schermo.stato().colore_penna, blu);
    EXPECT_EQ(b.schermo.stato().colore_testo, nero);
}

TEST(Plotter, PrinterFrameSurroundsThePlottingArea) {
    Banco b(1024, 768, 1000, 800);
    b.p.imposta_dispositivo(Dispositivo::stampante);
    b.p.apri_plotter();
    b.p.cornice();
    ASSERT_EQ(b.stampante.primitive().size(), 1u);
    EXPECT_EQ(b.stampante.primitive()[0].descrizione(), "rettangolo 1 1 899 720 #000000 1 #FFFFFF");
    EXPECT_EQ(b.stampante.stato().colore_penna, nero); // the printer keeps its line colour
}

TEST(Plotter, WildCoordinatesStayWithinTheCanvas) {
    EXPECT_EQ(tronca_pixel(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(tronca_pixel(1e300), 1'000'000);
    EXPECT_EQ(tronca_pixel(-std::numeric_limits<double>::infinity()), -1'000'000);
    EXPECT_EQ(tronca_pixel(-2.7), -2);
    Banco b;
    b.p.apri_plotter();
    b.p.finestra(0.0, 0.0, 0.0, 0.0); // no scale at all
    b.p.imposta_mappatura(true);
    b.p.linea(1.0, 1.0, 2.0, 2.0);
    b.p.cerchio(1.0, 1.0, 1.0);
    ASSERT_EQ(b.schermo.solo(Tipo::linea).size(), 1u);
}

TEST(Plotter, WithoutACanvasNothingIsDrawnAndNothingBreaks) {
    Plotter p;
    p.imposta_dimensione_schermo(1024, 768);
    p.apri_plotter();
    p.cornice();
    p.penna(4);
    p.linea(0, 0, 10, 10);
    p.scrivi_testo("A", 1, 1);
    p.cerchio(100, 100, 5);
    EXPECT_EQ(p.penna_corrente(), 4);
}
