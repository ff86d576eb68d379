// The chart's layers: isolines against the property functions, clipping, the plain chart left as it is, the
// Mollier view's positions, the legend, and reading states back from pixels.
#include "aiuto_test.h"
#include "chart/diagramma.h"
#include "chart/isolinee.h"
#include "chart/lettura.h"
#include "chart/strati.h"
#include "core/aria_umida.h"
#include "core/modello_ashrae.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

using namespace ondix;
using namespace ondix::test;
using Tipo = Primitiva::Tipo;

namespace {

TabellaPunti ciclo_estivo() {
    TabellaPunti t;
    t.imposta(1, 26.0, 10.5, "A");
    t.imposta(2, 32.0, 18.0, "E");
    t.imposta(3, 10.0, 7.6, "B");
    t.imposta(4, 15.0, 9.0, "C");
    t.imposta(5, 28.0, 12.9, "M");
    t.imposta(6, 14.0, 7.6, "P");
    return t;
}

OpzioniGrafico tutte(bool mollier = false) {
    OpzioniGrafico o;
    for (Famiglia f : famiglie)
        o.imposta_famiglia(f, true);
    o.mollier = mollier;
    return o;
}

std::vector<std::string> descrizioni(const RecordingCanvas& c) {
    std::vector<std::string> r;
    for (const auto& p : c.primitive())
        r.push_back(p.descrizione());
    return r;
}

// The primitives of the layers: thin lines in an isoline colour, the legend, and the isoline labels.
bool di_strato(const Primitiva& p) {
    for (Famiglia f : famiglie)
        if (p.colore() == stile_famiglia(f).colore) return true;
    return p.tipo == Tipo::rettangolo && p.stato.spessore_penna == 1;
}

} // namespace

// Every point of every line has the line's value by the property functions at the chart's pressure, and the lines
// other than relative humidity run between that pressure's saturation curve and x = 0, starting on the curve.
TEST(Isolinee, PointsHaveTheirValue) {
    struct Caso {
        double tmin, tmax, xmin, xmax, passo_v; // the volume step at the program's fixed pressure
    };
    for (const Aria a : {Aria{}, Aria{80000.0}, Aria{pressione_minima}, Aria{pressione_massima}})
        for (const Caso& c : {Caso{-10, 55, 0, 32.5, 0.02}, Caso{7, 23, 5, 12, 0.01}, Caso{-20, 5, -1, 4, 0.01}}) {
            const double passo_v = passo_volume(c.tmin, c.tmax, c.xmin, c.xmax, a);
            if (a == Aria{}) {
                EXPECT_DOUBLE_EQ(passo_v, c.passo_v);
            }
            for (Famiglia f : famiglie) {
                const auto linee = isolinee(f, c.tmin, c.tmax, c.xmin, c.xmax, a);
                ASSERT_FALSE(linee.empty()) << nome_famiglia(f);
                for (const Isolinea& l : linee) {
                    const double passo = f == Famiglia::umidita_relativa ? 10.0
                                         : f == Famiglia::entalpia       ? 10.0
                                         : f == Famiglia::bulbo_umido    ? 5.0
                                                                         : passo_v;
                    EXPECT_NEAR(std::remainder(l.valore, passo), 0.0, 1e-9) << l.etichetta;
                    for (const PuntoMondo& q : l.punti) {
                        double valore = 0.0, tolleranza = 1e-9;
                        switch (f) {
                        case Famiglia::umidita_relativa:
                            valore = umidita_relativa(q.x, q.t, a);
                            break;
                        case Famiglia::entalpia:
                            valore = entalpia(q.x, q.t);
                            break;
                        case Famiglia::bulbo_umido: // the solver stops within 0.1 kJ/kg, under 0.1 °C
                            valore = temperatura_bulbo_umido(q.x, q.t, a);
                            tolleranza = 0.1;
                            // Air at −10 °C or warmer is searched from −10 °C up: below that (low pressures
                            // only) the line is checked by its definition, the enthalpy of saturated air there.
                            if (l.valore < -10.0 && q.t >= -10.0) {
                                valore = entalpia(q.x, q.t);
                                tolleranza = 1e-9;
                                ASSERT_NEAR(valore, entalpia(umidita_saturazione(l.valore, a), l.valore), tolleranza);
                                valore = l.valore;
                            }
                            break;
                        case Famiglia::volume_specifico:
                            valore = volume_specifico(q.t, q.x, a);
                            break;
                        }
                        ASSERT_NEAR(valore, l.valore, tolleranza)
                            << l.etichetta << " at " << q.t << " C " << q.x << ", " << a.pressione << " Pa";
                        if (f == Famiglia::umidita_relativa) continue;
                        EXPECT_LE(q.x, umidita_saturazione(q.t, a) + 1e-6) << l.etichetta;
                        EXPECT_GE(q.x, std::max(c.xmin, 0.0) - 1e-6) << l.etichetta;
                    }
                    if (f != Famiglia::umidita_relativa && l.punti.front().t > c.tmin) {
                        EXPECT_NEAR(l.punti.front().x, umidita_saturazione(l.punti.front().t, a), 1e-6) << l.etichetta;
                    }
                }
            }
        }
    // A rectangle no chart asks for gives no lines rather than a flood of them.
    EXPECT_TRUE(isolinee(Famiglia::entalpia, -10, 1e12, 0, 30, Aria{}).empty());
    EXPECT_EQ(isolinee(Famiglia::entalpia, -10, 55, 0, 32.5, Aria{}).front().etichetta, "h -10");
}

TEST(Isolinee, SegmentsAreClippedToTheRectangle) {
    struct Caso {
        double x1, y1, x2, y2;
        bool visibile;
        double a1, b1, a2, b2;
    };
    for (const Caso& c : {Caso{-10, 5, 20, 5, true, 0, 5, 10, 5}, Caso{5, 5, 6, 6, true, 5, 5, 6, 6},
                          Caso{-5, -5, 15, 15, true, 0, 0, 10, 10}, Caso{-1, 11, 11, 23, false, 0, 0, 0, 0},
                          Caso{20, 0, 20, 10, false, 0, 0, 0, 0}}) {
        double x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        ASSERT_EQ(ritaglia(x1, y1, x2, y2, 0, 0, 10, 10), c.visibile) << c.x1 << "," << c.y1;
        if (!c.visibile) continue;
        EXPECT_DOUBLE_EQ(x1, c.a1);
        EXPECT_DOUBLE_EQ(y1, c.b1);
        EXPECT_DOUBLE_EQ(x2, c.a2);
        EXPECT_DOUBLE_EQ(y2, c.b2);
    }
}

// Every primitive of the layers stays inside the plotting area, in every view and both orientations, on the screen
// and on the printer.
TEST(Strati, DrawnInsideThePlottingArea) {
    for (bool mollier : {false, true})
        for (VistaGrafico v :
             {VistaGrafico::standard, VistaGrafico::verifica, VistaGrafico::invernale, VistaGrafico::punto})
            for (Dispositivo d : {Dispositivo::schermo, Dispositivo::stampante}) {
                Banco b;
                b.p.imposta_dispositivo(d);
                b.stampante.imposta_spessore_penna(5);
                b.p.imposta_opzioni(tutte(mollier));
                TabellaPunti t = ciclo_estivo();
                if (v == VistaGrafico::punto) {
                    t = {};
                    t.imposta(1, 20.0, 7.25, "P");
                    t.imposta(2, 9.25, 7.25, "R");
                    t.imposta(3, 13.73, 9.79, "BU");
                }
                disegna_vista(b.p, v, t, 4);
                const RiquadroPixel area = area_grafico(b.p);
                int linee = 0;
                for (const Primitiva& p : b.canvas().primitive()) {
                    if (!di_strato(p)) continue;
                    linee += p.tipo == Tipo::linea;
                    EXPECT_TRUE(area.contiene(p.x1, p.y1) && area.contiene(p.x2, p.y2)) << p.descrizione();
                }
                EXPECT_GT(linee, 100) << nome_vista(v);
            }
}

// The layers only add: taking their primitives out of a drawing leaves the plain chart exactly, on the screen and
// on the printer; and a plain drawing after a Mollier one on the same plotter is the plain chart.
TEST(Strati, ThePlainChartStaysAsItIs) {
    for (Dispositivo d : {Dispositivo::schermo, Dispositivo::stampante}) {
        Banco semplice, strati;
        for (Banco* b : {&semplice, &strati}) {
            b->p.imposta_dispositivo(d);
            b->canvas().imposta_spessore_penna(5);
        }
        OpzioniGrafico o = tutte();
        o.titolo = "CICLO ESTIVO - 101335 Pa";
        strati.p.imposta_opzioni(o);
        diagramma_standard(semplice.p, ciclo_estivo(), 4);
        diagramma_standard(strati.p, ciclo_estivo(), 4);
        const auto a = descrizioni(semplice.canvas()), b = descrizioni(strati.canvas());
        std::size_t k = 0;
        while (k < a.size() && a[k] == b[k])
            ++k;
        ASSERT_GT(b.size(), a.size() + 100);
        EXPECT_TRUE(
            std::equal(a.begin() + static_cast<std::ptrdiff_t>(k), a.end(), b.end() - (a.end() - a.begin() - k)))
            << "the plain chart is changed after primitive " << k;
        EXPECT_NE(a[k - 1].find("\" X[g/kg]\""), std::string::npos) << "the layers come right after the frame";

        strati.canvas().svuota();
        strati.p.imposta_opzioni(tutte(true));
        diagramma_standard(strati.p, ciclo_estivo(), 4);
        strati.canvas().svuota();
        semplice.canvas().svuota();
        strati.p.imposta_opzioni({});
        diagramma_standard(strati.p, ciclo_estivo(), 4);
        diagramma_standard(semplice.p, ciclo_estivo(), 4);
        EXPECT_EQ(strati.canvas().descrizione(), semplice.canvas().descrizione());
    }
}

// Mollier view: humidity ratio across, temperature upward; each mark is centred on its point's (x, t) and its
// label starts there; the saturation curve starts at (x_sat(tmin), tmin).
TEST(Strati, MollierPlacesEveryPointAtItsXAndT) {
    Banco b;
    OpzioniGrafico o;
    o.mollier = true;
    b.p.imposta_opzioni(o);
    const TabellaPunti t = ciclo_estivo();
    diagramma_standard(b.p, t, 4);
    const FinestraPlotter& f = b.p.finestra_corrente();
    EXPECT_EQ(f.titolo_x, "X[g/kg]");
    EXPECT_EQ(f.titolo_y, "t [C]");
    EXPECT_DOUBLE_EQ(f.xmax, 32.5); // humidity ratio across
    EXPECT_DOUBLE_EQ(f.ymin, -10.0);
    const auto px = [&](double x) { return (x - f.xmin) * f.sx + f.ox; };
    const auto py = [&](double tt) { return b.p.h() - ((tt - f.ymin) * f.sy + f.oy); };
    const auto cerchi = b.schermo.solo(Tipo::ellisse);
    const auto testi = b.testi();
    ASSERT_EQ(cerchi.size(), 6u);
    for (int i = 1; i <= 6; ++i) {
        const Primitiva& c = cerchi[static_cast<std::size_t>(i - 1)];
        EXPECT_NEAR((c.x1 + c.x2) / 2.0, px(t[i].Y), 1.0) << t[i].etichetta;
        EXPECT_NEAR((c.y1 + c.y2) / 2.0, py(t[i].X), 1.0) << t[i].etichetta;
        // Radius 0.2 °C on the temperature scale.
        EXPECT_NEAR((c.x2 - c.x1) / 2.0, 0.2 * f.sy, 1.0);
        const auto etichetta = b.schermo.solo(Tipo::testo)[testi.size() - 6 + static_cast<std::size_t>(i) - 1];
        EXPECT_EQ(etichetta.testo, " " + t[i].etichetta);
        EXPECT_EQ(etichetta.x1, tronca_pixel(px(t[i].Y)));
        EXPECT_EQ(etichetta.y1, tronca_pixel(py(t[i].X)));
    }
    // The saturation curve starts at the frame's lowest temperature.
    const int cx = tronca_pixel(px(curva_saturazione(-10.0))), cy = tronca_pixel(py(-10.0));
    EXPECT_TRUE(std::any_of(b.schermo.primitive().begin(), b.schermo.primitive().end(), [&](const Primitiva& p) {
        return p.tipo == Tipo::linea && p.colore() == blu && p.x1 == cx && p.y1 == cy;
    }));
}

// A chart point millions of pixels off the chart (an extreme input) is clamped as every other pixel position,
// never overflows an int on its way (the sanitizers' float-cast and signed overflow), and hides no label.
TEST(Strati, APointFarOffTheChartHidesNothing) {
    for (bool mollier : {false, true}) {
        TabellaPunti lontani = ciclo_estivo();
        lontani.imposta(7, 1e9, 1e9, "L");
        lontani.imposta(8, -1e12, -1e12, "N");
        Banco vicino, lontano;
        vicino.p.imposta_opzioni(tutte(mollier));
        lontano.p.imposta_opzioni(tutte(mollier));
        diagramma(vicino.p, -10.0, 50.0, 0.0, 30.0, ciclo_estivo(), 4);
        diagramma(lontano.p, -10.0, 50.0, 0.0, 30.0, lontani, 4);
        const auto etichette = [](Banco& b) {
            std::vector<std::string> r;
            for (const Primitiva& p : b.canvas().solo(Tipo::testo))
                if (di_strato(p)) r.push_back(p.descrizione());
            return r;
        };
        EXPECT_GT(etichette(vicino).size(), 30u);
        EXPECT_EQ(etichette(lontano), etichette(vicino)) << mollier;
    }
}

TEST(Strati, LegendNamesTheFamiliesShownAndTheTitleLine) {
    Banco b;
    OpzioniGrafico o;
    o.umidita_relativa = o.volume_specifico = true;
    o.titolo = riga_titolo(6, pressione_atmosferica);
    b.p.imposta_opzioni(o);
    diagramma_standard(b.p, ciclo_estivo(), 4);
    const auto testi = b.testi();
    const auto ha = [&](const std::string& s) { return std::find(testi.begin(), testi.end(), s) != testi.end(); };
    EXPECT_TRUE(ha("CICLO ESTIVO - 101335 Pa"));
    EXPECT_TRUE(ha("umidita relativa [%]"));
    EXPECT_TRUE(ha("volume specifico [m3/kg]"));
    EXPECT_FALSE(ha("entalpia [kJ/kg]"));
    EXPECT_TRUE(ha("50%"));
    ASSERT_EQ(b.p.riquadri_occupati().size(), 1u);
    // The legend keeps clear of the process and the saturation curve.
    for (const auto& [x, y] : punti_processo(b.p, ciclo_estivo()))
        EXPECT_FALSE(b.p.riquadri_occupati().front().contiene(x, y)) << x << "," << y;

    // The title line goes on prints and files when some layer is on, and only then.
    EXPECT_EQ(con_titolo({}, 6, Aria{}).titolo, "");
    OpzioniGrafico m;
    m.mollier = true;
    EXPECT_EQ(con_titolo(m, 6, Aria{}).titolo, "CICLO ESTIVO - 101335 Pa");
    EXPECT_EQ(con_titolo(m, 6, Aria{80000.4}).titolo, "CICLO ESTIVO - 80000 Pa");
}

// With a model chosen, the lines follow the model's property functions (its wet bulb is the thermodynamic one) at
// the air's pressure, and the title names the model even with no layer on.
TEST(Isolinee, FollowTheAirsModel) {
    const Aria a{90000.0, &modello_ashrae()};
    for (Famiglia f : famiglie) {
        const auto linee = isolinee(f, -20, 55, 0, 32.5, a);
        ASSERT_FALSE(linee.empty()) << nome_famiglia(f);
        for (const Isolinea& l : linee) {
            for (const PuntoMondo& q : l.punti) {
                const double valore = f == Famiglia::umidita_relativa ? umidita_relativa(q.x, q.t, a)
                                      : f == Famiglia::entalpia       ? entalpia(q.x, q.t, a)
                                      : f == Famiglia::bulbo_umido    ? temperatura_bulbo_umido(q.x, q.t, a)
                                                                      : volume_specifico(q.t, q.x, a);
                ASSERT_NEAR(valore, l.valore, 1e-6) << l.etichetta << " at " << q.t << " C " << q.x;
                if (f != Famiglia::umidita_relativa) {
                    EXPECT_LE(q.x, umidita_saturazione(q.t, a) + 1e-6) << l.etichetta;
                }
            }
            if (f != Famiglia::umidita_relativa && l.punti.front().t > -20) {
                EXPECT_NEAR(l.punti.front().x, umidita_saturazione(l.punti.front().t, a), 1e-6) << l.etichetta;
            }
        }
    }
    EXPECT_EQ(con_titolo({}, 6, Aria{pressione_atmosferica, &modello_ashrae()}).titolo,
              "CICLO ESTIVO - 101335 Pa - ASHRAE");
}

TEST(Strati, ListOfFamiliesFromTheCommandLine) {
    OpzioniGrafico o;
    EXPECT_TRUE(leggi_isolinee("ur,tbu", o));
    EXPECT_TRUE(o.umidita_relativa && o.bulbo_umido && !o.entalpia && !o.volume_specifico);
    o = {};
    EXPECT_TRUE(leggi_isolinee("tutte", o));
    EXPECT_EQ(o, tutte());
    // Each list with the name that is not understood.
    const std::pair<const char*, const char*> sbagliate[] = {{"", ""}, {"ur,", ""}, {"ur,zz", "zz"}, {"UR", "UR"}};
    for (const auto& [lista, nome] : sbagliate) {
        OpzioniGrafico p;
        const Fatto letto = leggi_isolinee(lista, p);
        ASSERT_FALSE(letto) << lista;
        EXPECT_EQ(letto.errore(), (Errore{Causa::dati, "famiglia di isolinee \"" + std::string(nome) +
                                                           "\" sconosciuta (usare ur, h, tbu, v o tutte)"}));
        EXPECT_EQ(p, OpzioniGrafico{}) << lista;
    }
}

TEST(Lettura, StateAtAPointOfTheChart) {
    EXPECT_EQ(righe_stato(20.0, 7.25),
              (std::vector<std::string>{"t = 20,00 °C", "x = 7,25 g/kg", "ur = 50,0 %", "h = 38,41 kJ/kg",
                                        "tbu = 13,73 °C", "tr = 9,25 °C", "v = 0,840 m³/kg"}));
    EXPECT_EQ(righe_stato(20.0, 20.0),
              (std::vector<std::string>{"t = 20,00 °C", "x = 20,00 g/kg", "h = 70,65 kJ/kg", "oltre la saturazione"}));
    EXPECT_EQ(righe_stato(-15.0, 0.5)[5], "tr = -22,27 °C");
    EXPECT_EQ(righe_stato(20.0, 0.0)[5], "tr non definita");
    PuntoGrafico q{20.0, 7.25, "P"};
    EXPECT_EQ(righe_punto(q).front(), "punto P");
}

// A pixel reads back the state drawn there, to within the pixel, in both orientations; a click finds the nearest
// mark within its radius.
TEST(Lettura, PixelsReadBackTheirState) {
    for (bool mollier : {false, true}) {
        Banco b;
        OpzioniGrafico o;
        o.mollier = mollier;
        b.p.imposta_opzioni(o);
        const TabellaPunti t = ciclo_estivo();
        diagramma_standard(b.p, t, 4);
        const MappaGrafico m = MappaGrafico::di(b.p);
        double px = 0.0, py = 0.0;
        m.pixel(20.0, 7.25, px, py);
        const PuntoMondo w = m.mondo(tronca_pixel(px), tronca_pixel(py));
        EXPECT_NEAR(w.t, 20.0, 65.0 / 600.0);
        EXPECT_NEAR(w.x, 7.25, 32.5 / 600.0);
        m.pixel(t[5].X, t[5].Y, px, py);
        EXPECT_EQ(voce_vicina(m, t, tronca_pixel(px) + 3, tronca_pixel(py) - 2, 8.0), 5);
        EXPECT_EQ(voce_vicina(m, t, tronca_pixel(px) + 30, tronca_pixel(py), 8.0), 0);
    }
}
