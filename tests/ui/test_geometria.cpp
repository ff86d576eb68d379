// Window geometry from the screen size, checked against the worked examples.
#include "ui/geometria.h"

#include <QTest>

using namespace ondix;

namespace {
Rettangolo R(int l, int t, int w, int h) {
    return {l, t, w, h};
}
} // namespace

namespace QTest {
template <> char* toString(const Rettangolo& r) {
    return qstrdup(QByteArray("(" + QByteArray::number(r.left) + ", " + QByteArray::number(r.top) + ", " +
                              QByteArray::number(r.width) + " x " + QByteArray::number(r.height) + ")")
                       .constData());
}
} // namespace QTest

class TestGeometria : public QObject {
    Q_OBJECT
private slots:
    void arrotondaMetaAlPari() {
        QCOMPARE(arrotonda(0.5), 0);
        QCOMPARE(arrotonda(1.5), 2);
        QCOMPARE(arrotonda(2.5), 2);
        QCOMPARE(arrotonda(153.5), 154);
        QCOMPARE(arrotonda(154.5), 154);
        QCOMPARE(arrotonda(614.4), 614);
        QCOMPARE(arrotonda(614.6), 615);
        QCOMPARE(arrotonda(-2.5), -2);
        QCOMPARE(arrotonda(-3.5), -4);
        QCOMPARE(arrotonda(-0.4), 0);
        QCOMPARE(arrotonda(7.0), 7);
    }

    void principale1024() {
        const LayoutPrincipale l = layout_principale({1024, 768});
        QCOMPARE(l.b, 614);
        QCOMPARE(l.h, 42);
        QCOMPARE(l.g, 9);
        QCOMPARE(l.immagine, R(51, 1, 922, 614));
        const int tops[10] = {1, 52, 103, 154, 205, 256, 307, 358, 409, 460};
        for (int i = 0; i < 10; ++i)
            QCOMPARE(l.colonna[static_cast<std::size_t>(i)], R(205, tops[i], 614, 42));
        QCOMPARE(l.destra[0], R(861, 154, 154, 67));
        QCOMPARE(l.destra[1], R(861, 230, 154, 67));
        QCOMPARE(l.destra[2], R(861, 306, 154, 67));
        QCOMPARE(l.punti, 10);
        // On every screen the right column ends inside it, clear of the main column.
        for (const DimensioniSchermo s : {DimensioniSchermo{512, 384},
                                          {640, 480},
                                          {1024, 768},
                                          {1280, 1024},
                                          {1920, 1080},
                                          {2560, 1440},
                                          {3840, 2160}}) {
            const LayoutPrincipale m = layout_principale(s);
            for (const Rettangolo& r : m.destra) {
                QVERIFY(r.left + r.width <= s.larghezza - m.g);
                QVERIFY(r.left > m.colonna[0].left + m.b);
            }
        }
    }

    void principale800() {
        const LayoutPrincipale l = layout_principale({800, 600});
        QCOMPARE(l.colonna[0], R(160, 1, 480, 33));
        QCOMPARE(l.g, 7);
        QCOMPARE(l.colonna[1].top, 41);
        QCOMPARE(l.colonna[9].top, 1 + 9 * 40);
        QCOMPARE(l.destra[0], R(673, 120, 120, 53));
        QCOMPARE(l.destra[1], R(673, 180, 120, 53));
        QCOMPARE(l.destra[2], R(673, 240, 120, 53));
        QCOMPARE(l.immagine, R(40, 1, 720, 480));
    }

    void principale640() {
        // b = 384, h = Round(26.4) = 26, g = Round(5.78) = 6; right column Round(96) x Round(41.6) at top 96.
        const LayoutPrincipale l = layout_principale({640, 480});
        QCOMPARE(l.colonna[0], R(128, 1, 384, 26));
        QCOMPARE(l.colonna[1].top, 33);
        QCOMPARE(l.destra[0], R(640 - 6 - 96, 96, 96, 42));
        QCOMPARE(l.destra[1].top, 96 + 42 + 6);
        QCOMPARE(l.immagine, R(32, 1, 576, 384));
    }

    void maschera1024() {
        const LayoutMaschera l = layout_maschera({1024, 768});
        QCOMPARE(l.lw, 492);
        QCOMPARE(l.bw, 184);
        QCOMPARE(l.ew, 197);
        QCOMPARE(l.bh, 61);
        QCOMPARE(l.th, 38);
        QCOMPARE(l.punti, 16);
        QCOMPARE(l.punti_gruppi, 13);
        for (int i = 0; i < 10; ++i) {
            const auto k = static_cast<std::size_t>(i);
            QCOMPARE(l.etichette[k], R(2, 10 + 40 * i, 492, 38));
            QCOMPARE(l.caselle[k], R(499, 10 + 40 * i, 197, 38));
        }
        QCOMPARE(l.etichette[9].top, 370);
        QCOMPARE(l.calcola, R(2, 454, 184, 61));
        QCOMPARE(l.stampa, R(189, 454, 184, 61));
        QCOMPARE(l.uscita, R(376, 454, 184, 61));
        QCOMPARE(l.umidita, R(563, 454, 202, 61));
        QCOMPARE(l.portata, R(768, 454, 232, 61));
    }

    void maschera800() {
        const LayoutMaschera l = layout_maschera({800, 600});
        QCOMPARE(l.punti, 14);
        QCOMPARE(l.punti_gruppi, 11);
        for (int i = 0; i < 10; ++i) {
            const auto k = static_cast<std::size_t>(i);
            QCOMPARE(l.etichette[k], R(2, 10 + 32 * i, 384, 30));
            QCOMPARE(l.caselle[k], R(391, 10 + 32 * i, 154, 30));
        }
        QCOMPARE(l.etichette[9].top, 298);
        QCOMPARE(l.calcola, R(2, 354, 144, 48));
        QCOMPARE(l.stampa.left, 149);
        QCOMPARE(l.uscita.left, 296);
        QCOMPARE(l.umidita, R(443, 354, 158, 48));
        QCOMPARE(l.portata, R(604, 354, 182, 48));
    }

    void maschera640() {
        const LayoutMaschera l = layout_maschera({640, 480});
        QCOMPARE(l.punti, 12);
        QCOMPARE(l.punti_gruppi, 9);
        QCOMPARE(l.th, 24);
        QCOMPARE(l.etichette[1].top, 36);
        // bh = Round(38.4) = 38; row top Round((480 - 74.1) * 0.7) = Round(284.13) = 284.
        QCOMPARE(l.calcola, R(2, 284, 115, 38));
        // 115 x 1.1 lies just above 126.5 in binary floating point, so it rounds up, not to the even 126.
        QCOMPARE(l.umidita, R(2 + 3 * 118, 284, 127, 38));
        QCOMPARE(l.portata, R(2 + 3 * 118 + 130, 284, 146, 38));
        QCOMPARE(l.caselle[0], R(2 + 307 + 5, 10, 123, 24));
    }

    void maschera801() {
        // Wider than 800 by one pixel already takes the large font.
        QCOMPARE(layout_maschera({801, 600}).punti, 16);
        QCOMPARE(layout_maschera({799, 600}).punti, 12);
    }

    void rapporto1024() {
        const LayoutRapporto l = layout_rapporto({1024, 768});
        QCOMPARE(l.finestra, R(1, 1, 1024, 768));
        QCOMPARE(l.testo, R(2, 8, 973, 576));
        QCOMPARE(l.punti_testo, 17);
        QCOMPARE(l.punti_pulsanti, 12);
        QCOMPARE(l.stampa, R(123, 587, 256, 38));
        QCOMPARE(l.uscita, R(384, 587, 256, 38));
        QCOMPARE(l.salva, R(645, 587, 256, 38));
    }

    void rapporto800() {
        const LayoutRapporto l = layout_rapporto({800, 600});
        QCOMPARE(l.testo, R(2, 6, 760, 450));
        QCOMPARE(l.punti_testo, 15);
        QCOMPARE(l.punti_pulsanti, 10);
        QCOMPARE(l.stampa, R(96, 459, 200, 30));
        QCOMPARE(l.uscita, R(301, 459, 200, 30));
        QCOMPARE(l.salva, R(506, 459, 200, 30));
    }

    void rapporto640() {
        // Below 800 pixels the report keeps its design size of 8 points.
        const LayoutRapporto l = layout_rapporto({640, 480});
        QCOMPARE(l.testo, R(2, 5, 608, 360));
        QCOMPARE(l.punti_testo, 8);
        QCOMPARE(l.stampa, R(77, 368, 160, 24));
        QCOMPARE(l.salva.left, 77 + 2 * 165);
    }

    void schermoMinimoNonRompeNulla() {
        for (DimensioniSchermo s :
             {DimensioniSchermo{0, 0}, DimensioniSchermo{1, 1}, DimensioniSchermo{65535, 65535}}) {
            const LayoutMaschera m = layout_maschera(s);
            QVERIFY(m.th >= 0 && m.bw >= 0);
            const LayoutPrincipale p = layout_principale(s);
            QVERIFY(p.b >= 0 && p.h >= 0);
            const LayoutRapporto r = layout_rapporto(s);
            QVERIFY(r.testo.width >= 0);
        }
    }
};

QTEST_APPLESS_MAIN(TestGeometria)
#include "test_geometria.moc"
