#include "aiuto_test.h"
#include "chart/diagramma.h"
#include "chart/lettura.h"
#include "chart/nuvola.h"
#include "core/aria_umida.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

using namespace ondix;
using namespace ondix::test;
using Tipo = Primitiva::Tipo;

namespace {

// A process line by entry numbers and colour.
struct Tratto {
    int da, a;
    Rgb colore;
    friend bool operator==(const Tratto&, const Tratto&) = default;
};

std::ostream& operator<<(std::ostream& o, const Tratto& t) {
    return o << "P" << t.da << "-P" << t.a << " " << testo_rgb(t.colore);
}

TabellaPunti sette_punti() {
    TabellaPunti t;
    t.imposta(1, 25.0, 10.0, "A");
    t.imposta(2, 30.0, 12.0, "B");
    t.imposta(3, 12.0, 8.0, "C");
    t.imposta(4, 15.0, 9.0, "D");
    t.imposta(5, 20.0, 11.0, "E");
    t.imposta(6, 35.0, 14.0, "F");
    t.imposta(7, 40.0, 16.0, "G");
    return t;
}

class Grafico : public ::testing::Test {
protected:
    // Draws the standard chart and returns the process lines (everything after the last mark) by entry number.
    std::vector<Tratto> tratti(const TabellaPunti& t, std::uint8_t codice) {
        b.schermo.svuota();
        diagramma_standard(b.p, t, codice);
        const auto& tutte = b.schermo.primitive();
        std::size_t inizio = 0;
        for (std::size_t i = 0; i < tutte.size(); ++i)
            if (tutte[i].tipo != Tipo::linea) inizio = i + 1;
        std::vector<Tratto> r;
        for (std::size_t i = inizio; i < tutte.size(); ++i) {
            const Primitiva& l = tutte[i];
            EXPECT_EQ(l.tipo, Tipo::linea);
            EXPECT_EQ(l.stato.spessore_penna, 3);
            r.push_back({voce(t, l.x1, l.y1), voce(t, l.x2, l.y2), l.colore()});
        }
        return r;
    }
    // The entry drawn at canvas pixel (x, y), or 0 for none.
    int voce(const TabellaPunti& t, int x, int y) {
        for (int n = 1; n <= 10; ++n)
            if (t[n].in_uso() && pixel_x(t[n].X) == x && pixel_y(t[n].Y) == y) return n;
        return 0;
    }
    int pixel_x(double X) { return tronca_pixel(b.p.x_dispositivo(X)); }
    int pixel_y(double Y) { return tronca_pixel(b.p.y_dispositivo(Y)); }

    Banco b;
};

} // namespace

TEST_F(Grafico, OverlayCodeZeroJoinsTheFirstPointToTheNextTwoInGreen) {
    EXPECT_EQ(tratti(sette_punti(), 0), (std::vector<Tratto>{{1, 2, verde}, {1, 3, verde}}));
}

TEST_F(Grafico, OverlayCodesOneTwoTenAndUnknownDrawOnlyTheBlackLine) {
    for (int codice : {1, 2, 10, 8, 9, 200})
        EXPECT_EQ(tratti(sette_punti(), static_cast<std::uint8_t>(codice)), (std::vector<Tratto>{{1, 2, nero}}))
            << "code " << codice;
}

TEST_F(Grafico, OverlayCodeThree) {
    EXPECT_EQ(tratti(sette_punti(), 3), (std::vector<Tratto>{{1, 3, verde}, {1, 2, nero}}));
}

TEST_F(Grafico, OverlayCodesFourAndFive) {
    for (int codice : {4, 5}) {
        EXPECT_EQ(tratti(sette_punti(), static_cast<std::uint8_t>(codice)),
                  (std::vector<Tratto>{{3, 4, verde}, {1, 5, verde}, {5, 6, verde}, {1, 2, nero}}));
        // P5–P6 needs both coordinates of P6.
        TabellaPunti t = sette_punti();
        t.imposta(6, 0.0, 14.0, "F");
        EXPECT_EQ(tratti(t, static_cast<std::uint8_t>(codice)),
                  (std::vector<Tratto>{{3, 4, verde}, {1, 5, verde}, {1, 2, nero}}));
        t.imposta(6, 35.0, 0.0, "F");
        EXPECT_EQ(tratti(t, static_cast<std::uint8_t>(codice)),
                  (std::vector<Tratto>{{3, 4, verde}, {1, 5, verde}, {1, 2, nero}}));
    }
}

TEST_F(Grafico, OverlayCodeSixWithAndWithoutTheSeventhPoint) {
    EXPECT_EQ(
        tratti(sette_punti(), 6),
        (std::vector<Tratto>{{6, 7, verde}, {3, 4, nero}, {4, 5, nero}, {5, 6, nero}, {1, 7, rosso}, {1, 2, nero}}));
    TabellaPunti t = sette_punti();
    t[7] = PuntoGrafico{};
    EXPECT_EQ(tratti(t, 6),
              (std::vector<Tratto>{{3, 4, nero}, {4, 5, nero}, {5, 6, nero}, {1, 6, rosso}, {1, 2, nero}}));
}

TEST_F(Grafico, NoLineToAnEmptyEntry) {
    // Winter cycle without post-heating (entries 1–5), stopped at its message (1–4) and with no path (1–3): no
    // line runs to the empty entries at the world origin.
    TabellaPunti t = sette_punti();
    t[6] = PuntoGrafico{};
    t[7] = PuntoGrafico{};
    EXPECT_EQ(tratti(t, 6), (std::vector<Tratto>{{3, 4, nero}, {4, 5, nero}, {1, 2, nero}}));
    t[5] = PuntoGrafico{};
    EXPECT_EQ(tratti(t, 6), (std::vector<Tratto>{{3, 4, nero}, {1, 2, nero}}));
    t[4] = PuntoGrafico{};
    EXPECT_EQ(tratti(t, 6), (std::vector<Tratto>{{1, 2, nero}}));
    EXPECT_EQ(tratti(t, 7), (std::vector<Tratto>{{1, 2, nero}}));
    t[2] = PuntoGrafico{};
    EXPECT_EQ(tratti(t, 0), (std::vector<Tratto>{{1, 3, verde}}));
    // A state the calculation wrote at 0 °C and 0 g/kg is a point like any other.
    t.imposta(2, 0.0, 0.0, "R");
    EXPECT_EQ(tratti(t, 0), (std::vector<Tratto>{{1, 2, verde}, {1, 3, verde}}));
}

TEST_F(Grafico, OverlayCodeSeven) {
    EXPECT_EQ(tratti(sette_punti(), 7), (std::vector<Tratto>{{1, 2, nero}, {3, 4, nero}, {1, 5, nero}, {5, 4, nero}}));
}

TEST_F(Grafico, MarksFirstRedOthersBlackAndOneZeroCoordinateKeepsTheColour) {
    TabellaPunti t;
    t.imposta(1, 20.0, 10.0, "A");
    t.imposta(2, 0.0, 8.0, "B"); // keeps the red of the mark before it
    t.imposta(3, 25.0, 12.0, "C");
    t.imposta(5, 30.0, 0.0, "#D"); // P4 empty: skipped; this one keeps black
    diagramma_standard(b.p, t, 1);
    std::vector<std::pair<std::string, Rgb>> segni;
    std::vector<Rgb> cerchi;
    bool dopo_titolo = false;
    for (const auto& q : b.schermo.primitive()) {
        if (q.tipo == Tipo::testo && dopo_titolo) segni.emplace_back(q.testo, q.colore());
        if (q.tipo == Tipo::testo && q.testo == " X[g/kg]") dopo_titolo = true;
        if (q.tipo == Tipo::ellisse) cerchi.push_back(q.colore());
    }
    EXPECT_EQ(segni,
              (std::vector<std::pair<std::string, Rgb>>{{" A", rosso}, {" B", rosso}, {" C", nero}, {" D", nero}}));
    EXPECT_EQ(cerchi, (std::vector<Rgb>{rosso, rosso, nero, nero}));
    // The label's top-left corner is the point; the circle of radius 0.2 °C is centred on it.
    const auto testi = b.schermo.solo(Tipo::testo);
    const auto a = std::find_if(testi.begin(), testi.end(), [](const auto& q) { return q.testo == " A"; });
    EXPECT_EQ(a->x1, pixel_x(20.0));
    EXPECT_EQ(a->y1, pixel_y(10.0));
    const auto e = b.schermo.solo(Tipo::ellisse).at(0);
    const double X = b.p.x_dispositivo(20.0), R = 0.2 * b.p.finestra_corrente().sx;
    EXPECT_EQ(e.x1, tronca_pixel(X - R));
    EXPECT_EQ(e.x2, tronca_pixel(X + R));
}

TEST_F(Grafico, DrawingOrderOnTheScreen) {
    diagramma_standard(b.p, sette_punti(), 6);
    const auto& q = b.schermo.primitive();
    ASSERT_FALSE(q.empty());
    // Frame and saturation curve in blue first, then the marks, then the process lines, black P1–P2 last.
    std::size_t i = 0;
    for (; i < q.size() && !(q[i].tipo == Tipo::testo && q[i].testo == " A"); ++i)
        if (q[i].tipo == Tipo::linea) {
            EXPECT_EQ(q[i].colore(), blu) << q[i].descrizione();
        }
    ASSERT_LT(i, q.size());
    EXPECT_EQ(q[i].colore(), rosso);
    // Each mark comes before its label, so that its white inside does not hide the label.
    EXPECT_EQ(q[i - 1].tipo, Tipo::ellisse);
    EXPECT_EQ(q[i - 1].colore(), rosso);
    EXPECT_EQ(q[i + 1].tipo, Tipo::ellisse);
    EXPECT_EQ(q[i + 2].testo, " B");
    EXPECT_EQ(q.back().colore(), nero);
    EXPECT_EQ(b.p.penna_corrente(), 0);
    EXPECT_TRUE(b.p.mappatura()); // the chart leaves it on
}

TEST_F(Grafico, SaturationCurveIsCutAtTheTopOfTheStandardChart) {
    diagramma_standard(b.p, TabellaPunti{}, 1);
    // The blue lines after the frame's last text.
    std::vector<Primitiva> curva;
    bool dopo_titolo = false;
    for (const auto& q : b.schermo.primitive()) {
        if (dopo_titolo && q.tipo == Tipo::linea && q.colore() == blu) curva.push_back(q);
        if (q.tipo == Tipo::testo && q.testo == " X[g/kg]") dopo_titolo = true;
    }
    ASSERT_GT(curva.size(), 100u);
    // Starts on the curve at the frame's left edge (−10 °C, where the isolines start too, below the requested
    // −5 °C) and rises without a gap up to the last sample under 32.5 g/kg.
    const FinestraPlotter& f = b.p.finestra_corrente();
    ASSERT_EQ(f.xmin, -10.0);
    EXPECT_EQ(curva.front().x1, pixel_x(-10.0));
    EXPECT_EQ(curva.front().y1, pixel_y(curva_saturazione(-10.0)));
    for (std::size_t i = 1; i < curva.size(); ++i)
        EXPECT_EQ(curva[i].x1, curva[i - 1].x2);
    const double passo = (f.xmax - f.xmin) / 199.0;
    int ultimo = 0;
    while (curva_saturazione(-10.0 + passo * (ultimo + 1)) <= 32.5)
        ++ultimo;
    EXPECT_EQ(curva.size(), static_cast<std::size_t>(ultimo));
    EXPECT_EQ(curva.back().x2, pixel_x(-10.0 + passo * ultimo));
    EXPECT_LT(-10.0 + passo * ultimo, 34.0);
}

TEST_F(Grafico, EmptyTableDrawsFrameAndCurveOnly) {
    diagramma_standard(b.p, TabellaPunti{}, 1);
    EXPECT_TRUE(b.schermo.solo(Tipo::ellisse).empty());
    // The saturation curve is the last thing drawn.
    EXPECT_EQ(b.schermo.primitive().back().colore(), blu);
}

TEST_F(Grafico, ProcessLinesAreNotClipped) {
    TabellaPunti t = sette_punti();
    t.imposta(2, 80.0, 40.0, "B");
    const auto r = tratti(t, 1);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_GT(b.schermo.primitive().back().x2, 1014);
    EXPECT_LT(b.schermo.primitive().back().y2, 0);
}

TEST_F(Grafico, ViewsTakeTheirRanges) {
    TabellaPunti t;
    t.imposta(1, 20.0, 7.3, "P");
    t.imposta(2, 9.2, 7.3, "R");
    t.imposta(3, 13.8, 9.8, "BU");
    diagramma_punto(b.p, t, 0);
    FinestraPlotter f = b.p.finestra_corrente();
    EXPECT_DOUBLE_EQ(f.xmin, 7.0); // 7.2 … 22 widened
    EXPECT_DOUBLE_EQ(f.xmax, 23.0);
    EXPECT_DOUBLE_EQ(f.ymin, 5.0); // 5.3 … 11.8
    EXPECT_DOUBLE_EQ(f.ymax, 12.0);

    diagramma_verifica(b.p, t, 5);
    f = b.p.finestra_corrente();
    EXPECT_DOUBLE_EQ(f.ymax, 27.5);
    EXPECT_DOUBLE_EQ(f.xmin, -10.0);

    t.imposta(4, -12.0, 1.0, "E");
    t.imposta(5, 45.0, 9.0, "I");
    diagramma_invernale(b.p, t, 6);
    f = b.p.finestra_corrente();
    EXPECT_DOUBLE_EQ(f.xmin, -15.0); // −12 … 45: step 5
    EXPECT_DOUBLE_EQ(f.xmax, 50.0);
    EXPECT_DOUBLE_EQ(f.ymin, 0.0);
    EXPECT_DOUBLE_EQ(f.ymax, 10.0); // 0 … 9.8: step 0.5

    diagramma_standard(b.p, t, 1);
    EXPECT_DOUBLE_EQ(b.p.finestra_corrente().ymax, 32.5);
}

TEST_F(Grafico, WinterViewWithAllHumidityRatiosZeroStillDraws) {
    TabellaPunti t;
    t.imposta(1, 20.0, 0.0, "A");
    t.imposta(2, -10.0, 0.0, "E");
    diagramma_invernale(b.p, t, 6);
    EXPECT_GT(b.p.finestra_corrente().ymax, b.p.finestra_corrente().ymin);
    EXPECT_FALSE(b.schermo.solo(Tipo::ellisse).empty());
}

TEST_F(Grafico, FrameTextsTakeTheTextColourLeftByThePreviousDrawing) {
    // The point chart ends with the green pen; the next drawing on the same canvas labels its axes in green.
    TabellaPunti t;
    t.imposta(1, 20.0, 7.3, "P");
    t.imposta(2, 9.2, 7.3, "R");
    t.imposta(3, 13.8, 9.8, "BU");
    diagramma_punto(b.p, t, 0);
    EXPECT_EQ(b.schermo.solo(Tipo::testo).front().colore(), nero);
    b.schermo.svuota();
    diagramma_punto(b.p, t, 0);
    EXPECT_EQ(b.schermo.solo(Tipo::testo).front().colore(), verde);
    EXPECT_EQ(b.schermo.solo(Tipo::linea).front().colore(), blu);
}

TEST_F(Grafico, PrinterDrawingStartsWithTheFrameRectangle) {
    Banco s(1024, 768, 1000, 800);
    s.p.imposta_dispositivo(Dispositivo::stampante);
    s.stampante.imposta_spessore_penna(5);
    diagramma_standard(s.p, sette_punti(), 4);
    const auto& q = s.stampante.primitive();
    EXPECT_EQ(q.front().descrizione(), "rettangolo 1 1 899 720 #000000 5 #FFFFFF");
    // Frame in the printer's previous colours (black at the first print), 10-point labels.
    EXPECT_EQ(q[1].colore(), nero);
    for (const auto& p : s.stampante.solo(Tipo::testo))
        EXPECT_EQ(p.stato.punti_font, 10);
    // The printer has no visibility test: all seven marks.
    EXPECT_EQ(s.stampante.solo(Tipo::ellisse).size(), 7u);
    EXPECT_TRUE(b.schermo.primitive().empty());
}

TEST_F(Grafico, RedrawWithAProcedureReadsTheContextWhenItDraws) {
    Contesto ctx;
    ctx.codice_grafico = 3;
    const ProceduraDisegno procedura = procedura_vista(VistaGrafico::standard, ctx);
    ctx.punti = sette_punti(); // after the procedure was made
    ridisegna(b.p, procedura);
    EXPECT_EQ(b.schermo.solo(Tipo::ellisse).size(), 7u);
    EXPECT_FALSE(b.p.mappatura());
    b.schermo.svuota();
    ridisegna(b.p, ProceduraDisegno{});
    EXPECT_TRUE(b.schermo.primitive().empty());
}

TEST_F(Grafico, MarksNearTheScreenEdgeAreLeftOutButTheirLabelsStay) {
    TabellaPunti t;
    t.imposta(1, 25.0, 10.0, "A");
    t.imposta(2, -50.0, 10.0, "L"); // far left of the window: X < 10
    diagramma_standard(b.p, t, 1);
    EXPECT_EQ(b.schermo.solo(Tipo::ellisse).size(), 1u);
    EXPECT_EQ(b.testi().back(), " L");
}

TEST(Nuvola, EveryPointADotCrowdedOnesDarkerAndLast) {
    Banco b;
    PuntiNuvola punti{{20, 7}, {-12, 1}, {60, 40}};
    for (int i = 0; i < 30; ++i)
        punti.push_back({25.0 + 0.01 * i, 10.0});
    diagramma_nuvola(b.p, punti);
    const auto quadrati = b.schermo.solo(Tipo::rettangolo);
    ASSERT_EQ(quadrati.size(), punti.size());
    for (const auto& q : quadrati) {
        EXPECT_EQ(q.x2 - q.x1, 2); // 3 pixels with the 1-pixel pen
        EXPECT_EQ(q.stato.colore_pennello, q.stato.colore_penna);
    }
    EXPECT_EQ(quadrati.front().colore(), colore_densita(1, 30));
    EXPECT_EQ(quadrati.back().colore(), colore_densita(30, 30));
    EXPECT_EQ(colore_densita(1, 30), (Rgb{253, 174, 97}));
    EXPECT_EQ(colore_densita(30, 30), (Rgb{128, 0, 38}));
    // The ranges of the standard chart grow to hold every point.
    const IntervalliGrafico r = intervalli_nuvola(punti);
    EXPECT_EQ(r.tmin, -12);
    EXPECT_EQ(r.tmax, 60);
    EXPECT_EQ(r.xmin, 0);
    EXPECT_EQ(r.xmax, 40);
}

TEST(Nuvola, TheSaturationCurveOfTheSitePressure) {
    // The same chart at 3000 m: only the saturation curve moves (upward: more vapour per kg at lower pressure).
    Banco mare, monte;
    diagramma(mare.p, -5, 50, 0, 30, TabellaPunti{}, 1);
    diagramma(monte.p, -5, 50, 0, 30, TabellaPunti{}, 1, Aria{71467.84});
    const auto a = mare.schermo.primitive(), b = monte.schermo.primitive();
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i].descrizione() == b[i].descrizione())
        ++i;
    ASSERT_LT(i, b.size());
    EXPECT_EQ(b[i].tipo, Tipo::linea);
    EXPECT_EQ(b[i].colore(), blu);
    EXPECT_LT(b[i].y2, a[i].y2);   // higher on the screen
    EXPECT_LT(b.size(), a.size()); // and out of the window sooner
    // The layers and the readout of that drawing take its pressure.
    EXPECT_EQ(monte.p.aria().pressione, 71467.84);
    EXPECT_EQ(MappaGrafico::di(monte.p).aria.pressione, 71467.84);
    EXPECT_NE(righe_stato(20, 7.25, Aria{71467.84})[2], righe_stato(20, 7.25)[2]); // relative humidity
}
