#include "chart/diagramma.h"
#include "plot_qt/grafico_qt.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

using namespace ondix;

namespace {

class GraficoQt : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(prepara_applicazione()); }

    static Contesto ciclo_estivo() {
        Contesto ctx;
        ctx.codice_grafico = 4;
        ctx.punti.imposta(1, 25.0, 10.0, "A");
        ctx.punti.imposta(2, 30.0, 12.0, "B");
        ctx.punti.imposta(3, 12.0, 8.0, "C");
        ctx.punti.imposta(4, 15.0, 9.0, "D");
        ctx.punti.imposta(5, 20.0, 11.0, "E");
        return ctx;
    }
    static QImage schermata() {
        QImage img(1024, 768, QImage::Format_RGB32);
        img.setDotsPerMeterX(3780);
        img.setDotsPerMeterY(3780);
        img.fill(Qt::gray);
        return img;
    }
    // Pixels darker than grey in the rectangle (text is antialiased).
    static int scuri(const QImage& img, QRect r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (qGray(img.pixel(x, y)) < 100) ++n;
        return n;
    }
    // Pixels of colour c in the rectangle.
    static int conta(const QImage& img, QRect r, QColor c) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (img.pixelColor(x, y) == c) ++n;
        return n;
    }
};

} // namespace

TEST_F(GraficoQt, TimesNewRomanResolvesToASerifFace) {
    QPainterCanvas c;
    c.imposta_font("times new roman");
    c.imposta_punti_font(14);
    const QFontInfo info(c.font_qt());
    ASSERT_TRUE(QFontDatabase::hasFamily("Liberation Serif")) << "fonts-liberation2 is not installed";
    EXPECT_EQ(info.family(), "Liberation Serif");
    EXPECT_EQ(info.pointSize(), 14);
}

TEST_F(GraficoQt, ScreenChartOnAnImage) {
    QImage img = schermata();
    const Contesto ctx = ciclo_estivo();
    ASSERT_TRUE(disegna_schermata(img, ctx, VistaGrafico::standard));
    const QColor blu(0, 0, 255), rosso(255, 0, 0), verde(0, 128, 0), bianco(Qt::white);
    EXPECT_EQ(img.pixelColor(1020, 760), bianco); // the page is white, below and right of the plotting area
    EXPECT_EQ(img.pixelColor(500, 664), blu);     // x axis, 3 pixels wide
    EXPECT_EQ(img.pixelColor(500, 663), blu);
    EXPECT_EQ(img.pixelColor(500, 667), bianco);
    EXPECT_EQ(img.pixelColor(54, 300), blu); // y axis
    // P1 at (570, 459): a red mark; the green process lines somewhere.
    EXPECT_GT(conta(img, QRect(564, 453, 13, 13), rosso), 3);
    EXPECT_GT(conta(img, QRect(0, 0, 1024, 768), verde), 100);
    // Black label pixels inside the "tbs" title's cell.
    EXPECT_GT(scuri(img, QRect(984, 677, 30, 20)), 20);
}

TEST_F(GraficoQt, TextCellsAreOpaque) {
    QImage img = schermata();
    QPainter painter(&img);
    QPainterCanvas c(&painter);
    c.imposta_punti_font(14);
    c.scrivi(100, 100, "   ");
    painter.end();
    // The cell of three spaces is white over the grey page; 14 points at 96 dpi is about 21 pixels high.
    EXPECT_EQ(img.pixelColor(101, 101), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(101, 118), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(99, 101), QColor(Qt::gray));
    EXPECT_EQ(img.pixelColor(101, 125), QColor(Qt::gray));
}

TEST_F(GraficoQt, PrinterModeFillsNinetyPercentOfThePageAndReturnsToTheScreen) {
    QImage pagina(1000, 800, QImage::Format_RGB32);
    pagina.fill(Qt::white);
    PlotterQt pq;
    const Contesto ctx = ciclo_estivo();
    {
        QPainter painter(&pagina);
        pq.disegna_stampante(painter, procedura_vista(VistaGrafico::standard, ctx));
    }
    EXPECT_EQ(pq.plotter().dispositivo(), Dispositivo::schermo);
    EXPECT_EQ(pq.plotter().w(), 900);
    EXPECT_EQ(pq.plotter().h(), 720);
    EXPECT_EQ(pq.canvas_stampante().stato().spessore_penna, 5);
    // The frame: rectangle (1, 1)–(899, 720), pen 5 wide.
    EXPECT_EQ(pagina.pixelColor(450, 1), QColor(Qt::black));
    EXPECT_EQ(pagina.pixelColor(899, 400), QColor(Qt::black));
    EXPECT_EQ(pagina.pixelColor(950, 400), QColor(Qt::white));
    EXPECT_EQ(pagina.pixelColor(450, 760), QColor(Qt::white));
}

TEST_F(GraficoQt, CanvasColoursPersistBetweenDrawings) {
    Contesto ctx;
    ctx.codice_grafico = 0;
    ctx.punti.imposta(1, 20.0, 7.3, "P");
    ctx.punti.imposta(2, 9.2, 7.3, "R");
    ctx.punti.imposta(3, 13.8, 9.8, "BU");
    PlotterQt pq;
    QImage img = schermata();
    QPainter painter(&img);
    pq.disegna_schermo(painter, 1024, 768, procedura_vista(VistaGrafico::punto, ctx));
    EXPECT_EQ(pq.canvas_schermo().stato().colore_testo, (Rgb{0, 128, 0}));
    EXPECT_EQ(pq.plotter().w(), 1014);
    EXPECT_EQ(pq.plotter().h(), 688);
    EXPECT_EQ(pq.canvas_schermo().painter(), nullptr);
    // A screen of another size: the plotting area follows it.
    pq.disegna_schermo(painter, 800, 600, procedura_vista(VistaGrafico::punto, ctx));
    EXPECT_EQ(pq.plotter().w(), 790);
    EXPECT_EQ(pq.plotter().h(), 520);
}

TEST_F(GraficoQt, DrawingStraightOntoADevice) {
    const Contesto ctx = ciclo_estivo();
    PlotterQt pq;
    QImage finestra(800, 600, QImage::Format_RGB32);
    finestra.fill(Qt::white);
    ASSERT_TRUE(pq.disegna(finestra, Dispositivo::schermo, procedura_vista(VistaGrafico::standard, ctx)));
    EXPECT_EQ(pq.plotter().larghezza_schermo(), 800);
    EXPECT_EQ(pq.plotter().w(), 790);
    EXPECT_EQ(finestra.pixelColor(54, 300), QColor(0, 0, 255)); // y axis

    QImage pagina(1000, 800, QImage::Format_RGB32);
    pagina.fill(Qt::white);
    ASSERT_TRUE(pq.disegna(pagina, Dispositivo::stampante, procedura_vista(VistaGrafico::standard, ctx)));
    EXPECT_EQ(pagina.pixelColor(450, 1), QColor(Qt::black));
    EXPECT_EQ(pq.plotter().dispositivo(), Dispositivo::schermo);

    QImage nulla;
    EXPECT_FALSE(pq.disegna(nulla, Dispositivo::schermo, procedura_vista(VistaGrafico::standard, ctx)));
}
