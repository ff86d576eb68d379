// Properties at a site's pressure, and a state from any two of its properties.
#include "core/altitudine.h"
#include "core/aria_umida.h"
#include "core/numeri.h"
#include "core/stato_aria.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace ondix;

namespace {

// An independent moist-air model to compare with: Magnus saturation pressure over water (Alduchov and
// Eskridge) and over ice below 0 °C, the humidity ratio, enthalpy and volume of the ASHRAE handbook, and the
// psychrometric wet bulb.
double ps_magnus(double t) {
    return t < 0 ? 611.21 * std::exp(22.587 * t / (t + 273.86)) : 610.94 * std::exp(17.625 * t / (t + 243.04));
}
struct Riferimento {
    double x, h, v, tr, tbu;
};
Riferimento riferimento(double t, double ur, double P) {
    const double pw = ur / 100 * ps_magnus(t);
    const double W = 0.621945 * pw / (P - pw);
    Riferimento r{};
    r.x = 1000 * W;
    r.h = 1.006 * t + W * (2501 + 1.86 * t);
    r.v = 287.042 * (t + 273.15) * (1 + 1.607858 * W) / P;
    double lo = -90, hi = t;
    for (int i = 0; i < 200; ++i)
        ((ps_magnus((lo + hi) / 2) > pw) ? hi : lo) = (lo + hi) / 2;
    r.tr = lo;
    lo = -90, hi = t;
    for (int i = 0; i < 200; ++i) {
        const double tw = (lo + hi) / 2, pws = ps_magnus(tw), Ws = 0.621945 * pws / (P - pws);
        const double Wc = ((2501 - 2.326 * tw) * Ws - 1.006 * (t - tw)) / (2501 + 1.86 * t - 4.186 * tw);
        (Wc > W ? hi : lo) = tw;
    }
    r.tbu = lo;
    return r;
}

StatoCompleto stato(Noto a, Noto b, Aria aria = {}) {
    const auto r = stato_da_coppia(a, b, aria);
    if (!r) ADD_FAILURE() << r.errore().testo;
    return r ? *r : StatoCompleto{};
}

std::string rifiuto(Noto a, Noto b, Aria aria = {}) {
    const auto r = stato_da_coppia(a, b, aria);
    if (r) return "<accepted>";
    EXPECT_EQ(r.errore().causa, Causa::dati) << r.errore().testo;
    return r.errore().testo;
}

using G = Grandezza;

} // namespace

TEST(Pressione, TheDefaultIsTheFixedPressureBitForBit) {
    const Aria fissa{101335.0};
    EXPECT_EQ(pressione_pascal_da_quota(0), 101335.0);
    for (double t = -20; t <= 50; t += 2.5)
        for (double ur : {0.0, 12.5, 50.0, 87.0, 100.0}) {
            const double x = umidita_specifica(ur, t);
            EXPECT_EQ(x, umidita_specifica(ur, t, fissa));
            EXPECT_EQ(umidita_relativa(x, t), umidita_relativa(x, t, fissa));
            EXPECT_EQ(volume_specifico(t, x), volume_specifico(t, x, fissa));
            EXPECT_EQ(temperatura_rugiada(ur, t), temperatura_rugiada(ur, t, fissa));
            EXPECT_EQ(temperatura_bulbo_umido(x, t), temperatura_bulbo_umido(x, t, fissa));
            EXPECT_EQ(curva_saturazione(t), curva_saturazione(t, fissa));
        }
}

TEST(Pressione, PropertiesAtAltitudeAgreeWithAnIndependentModel) {
    // The two models differ by their saturation curves (up to 1 % near 0 °C) and constants; a pressure left at
    // sea level would be 6 % off at 500 m and 40 % off at 3000 m.
    for (double z : {0.0, 500.0, 1000.0, 2000.0, 3000.0}) {
        const Aria a{pressione_pascal_da_quota(z)};
        for (double t = -5; t <= 45; t += 5)
            for (double ur : {10.0, 50.0, 90.0}) {
                const Riferimento r = riferimento(t, ur, a.pressione);
                const double x = umidita_specifica(ur, t, a);
                const StatoCompleto s = stato_completo(t, x, a);
                EXPECT_NEAR(x / r.x, 1.0, 0.015) << z << " m " << t << " C " << ur << " %";
                EXPECT_NEAR(s.h, r.h, 0.8) << z << " m " << t << " C " << ur << " %";
                EXPECT_NEAR(s.v / r.v, 1.0, 0.002) << z << " m " << t << " C " << ur << " %";
                EXPECT_NEAR(*s.rugiada, r.tr, 0.35) << z << " m " << t << " C " << ur << " %";
                EXPECT_NEAR(*s.bulbo_umido, r.tbu, 0.35) << z << " m " << t << " C " << ur << " %";
                // The report's own solvers, where their search reaches.
                EXPECT_NEAR(temperatura_rugiada(ur, t, a).value_or(NAN), r.tr, 0.35);
                if (t > 0) {
                    EXPECT_NEAR(temperatura_bulbo_umido(x, t, a), r.tbu, 0.4);
                }
            }
    }
}

TEST(StatoDaCoppia, EveryIndependentPairGivesBackTheState) {
    const std::vector<G> tutte{G::t, G::ur, G::x, G::h, G::tbu, G::tr};
    for (const double P : {101335.0, pressione_pascal_da_quota(3000)}) {
        const Aria a{P};
        for (double t = -20; t <= 50; t += 7.5)
            for (double ur : {3.0, 35.0, 80.0, 100.0}) {
                const StatoCompleto s = stato_completo(t, umidita_specifica(ur, t, a), a);
                const auto valore = [&](G g) {
                    switch (g) {
                    case G::t:
                        return s.t;
                    case G::ur:
                        return s.ur;
                    case G::x:
                        return s.x;
                    case G::h:
                        return s.h;
                    // Given to the precision of the inverse solvers: a state shows the report's wet bulb and dew
                    // point, which are not.
                    case G::tbu:
                        return *bulbo_umido_da_h(s.h, a);
                    case G::tr:
                        return *rugiada_da_x(s.x, a);
                    }
                    return 0.0;
                };
                for (std::size_t i = 0; i < tutte.size(); ++i)
                    for (std::size_t j = i + 1; j < tutte.size(); ++j) {
                        const G a1 = tutte[i], b1 = tutte[j];
                        if ((a1 == G::x && b1 == G::tr) || (a1 == G::h && b1 == G::tbu)) continue;
                        const auto r = stato_da_coppia({b1, valore(b1)}, {a1, valore(a1)}, a);
                        const std::string dove = std::string(nome_grandezza(a1)) + "," +
                                                 std::string(nome_grandezza(b1)) + " at " + std::to_string(t) + " C " +
                                                 std::to_string(ur) + " % " + std::to_string(P) + " Pa";
                        ASSERT_TRUE(r) << dove << ": " << r.errore().testo;
                        const StatoCompleto& q = *r;
                        // Far better than the printed digits (t 0.1 C, x 0.01 g/kg, ur 0.1 %, h 0.1 kJ/kg).
                        EXPECT_NEAR(q.t, s.t, 1e-6) << dove;
                        EXPECT_NEAR(q.x, s.x, 1e-6 * (1 + s.x)) << dove;
                        EXPECT_NEAR(q.ur, s.ur, 1e-5) << dove;
                        EXPECT_NEAR(q.h, s.h, 1e-6) << dove;
                        EXPECT_NEAR(q.v, s.v, 1e-9) << dove;
                        const bool tbu = a1 == G::tbu || b1 == G::tbu, tr = a1 == G::tr || b1 == G::tr;
                        EXPECT_NEAR(*q.bulbo_umido, tbu ? valore(G::tbu) : *s.bulbo_umido, 1e-6) << dove;
                        EXPECT_NEAR(*q.rugiada, tr ? valore(G::tr) : *s.rugiada, 1e-6) << dove;
                    }
            }
    }
}

TEST(StatoDaCoppia, TheInverseSolversMeetTheirForwardFunctions) {
    for (double t = -60; t <= 90; t += 3.7) {
        EXPECT_NEAR(*temperatura_saturazione(pressione_saturazione(t)), t, 1e-9) << t;
        for (const Aria a : {Aria{}, Aria{60000}}) {
            if (pressione_saturazione(t) >= a.pressione) continue;
            EXPECT_NEAR(*rugiada_da_x(umidita_saturazione(t, a), a), t, 1e-9) << t;
            EXPECT_NEAR(*bulbo_umido_da_h(entalpia(umidita_saturazione(t, a), t), a), t, 1e-9) << t;
        }
    }
    // Nothing below saturation at -100 C, and no dew point for dry air.
    EXPECT_FALSE(rugiada_da_x(0));
    EXPECT_FALSE(rugiada_da_x(1e-9));
    EXPECT_FALSE(bulbo_umido_da_h(-200));
    EXPECT_NEAR(*rugiada_da_x(0.05), -44.5, 1.0); // below the -10 C the report's solver reaches
}

TEST(StatoDaCoppia, PairsNoAirCanHaveAreRefusedByName) {
    const struct {
        Noto a, b;
        const char* messaggio;
    } casi[] = {
        {{G::t, 26}, {G::tbu, 28}, "t = 26 C, tbu = 28 C: il bulbo umido è sopra il bulbo secco"},
        {{G::t, 26}, {G::tr, 26.5}, "t = 26 C, tr = 26.5 C: il punto di rugiada è sopra il bulbo secco"},
        {{G::tbu, 15}, {G::tr, 16}, "tbu = 15 C, tr = 16 C: il punto di rugiada è sopra il bulbo umido"},
        {{G::t, 20}, {G::ur, 100.5}, "t = 20 C, ur = 100.5 %: l'umidità relativa è sopra 100 %"},
        {{G::ur, -1}, {G::h, 40}, "ur = -1 %, h = 40 kJ/kg: l'umidità relativa è sotto 0 %"},
        {{G::t, 20}, {G::x, 15}, "t = 20 C, x = 15 g/kg: l'umidità è sopra la saturazione (14.673 g/kg a 20.00 C)"},
        {{G::h, 30}, {G::x, 20}, "h = 30 kJ/kg, x = 20 g/kg: l'umidità è sopra la saturazione (0.685 g/kg a -18.99 C)"},
        {{G::t, 20},
         {G::h, 10},
         "t = 20 C, h = 10 kJ/kg: l'entalpia è sotto quella dell'aria secca a questo bulbo secco "
         "(20.08 kJ/kg)"},
        {{G::t, 20},
         {G::tbu, 2},
         "t = 20 C, tbu = 2 C: il bulbo umido è sotto quello dell'aria secca a questo bulbo secco (5.78 C)"},
        {{G::t, -70}, {G::ur, 50}, "t = -70 C, ur = 50 %: t è fuori da -50 a 100 C"},
        {{G::x, 5}, {G::h, 500}, "x = 5 g/kg, h = 500 kJ/kg: il bulbo secco sarebbe 480.99 C, fuori da -50 a 100 C"},
        {{G::x, 8},
         {G::tr, 10},
         "x = 8 g/kg, tr = 10 C: x e tr non sono indipendenti: il punto di rugiada segue "
         "dall'umidità specifica; dare un'altra coppia"},
        {{G::tbu, 19},
         {G::h, 50},
         "tbu = 19 C, h = 50 kJ/kg: h e tbu non sono indipendenti: il bulbo umido "
         "(aria satura della stessa entalpia) segue dall'entalpia; dare un'altra coppia"},
        {{G::t, 20}, {G::t, 21}, "t = 20 C, t = 21 C: t è dato due volte"},
        {{G::ur, 0}, {G::x, 0}, "ur = 0 %, x = 0 g/kg: l'aria secca (ur = 0, x = 0) può avere qualsiasi temperatura"},
        {{G::t, NAN}, {G::ur, 50}, "t = nan C, ur = 50 %: t non è un numero finito"},
    };
    for (const auto& c : casi)
        EXPECT_EQ(rifiuto(c.a, c.b), c.messaggio);
    // At 3000 m water boils near 90 C: saturated air at 95 C does not exist.
    EXPECT_EQ(rifiuto({G::t, 95}, {G::ur, 50}, Aria{pressione_pascal_da_quota(3000)}),
              "t = 95 C, ur = 50 %: il bulbo secco 95.00 C non è sotto il punto di ebollizione dell'acqua a 71468 Pa "
              "(92.87 C)");
}

TEST(StatoDaCoppia, WetBulbAndDewPointAreThePointReports) {
    // One state, one wet bulb: the point-properties report, its chart and the state tool all give 19.53 C.
    const auto s = *stato_da_coppia({Grandezza::t, 25}, {Grandezza::ur, 60.5});
    EXPECT_EQ(s.bulbo_umido, temperatura_bulbo_umido(umidita_specifica(60.5, 25), 25));
    EXPECT_EQ(formatta(*s.bulbo_umido, 0, 2), "19.53");
    EXPECT_EQ(formatta(*s.rugiada, 0, 2), formatta(*temperatura_rugiada(60.5, 25), 0, 2));
}

TEST(StatoDaCoppia, BoundariesAreAccepted) {
    // Saturated air given by each of its temperatures, and dry air.
    const StatoCompleto sat = stato({G::t, 20}, {G::tr, 20});
    EXPECT_EQ(sat.x, umidita_saturazione(20));
    EXPECT_NEAR(sat.ur, 100, 1e-9);
    EXPECT_NEAR(stato({G::t, 20}, {G::tbu, 20}).x, umidita_saturazione(20), 1e-9);
    const StatoCompleto secca = stato({G::t, 20}, {G::ur, 0});
    EXPECT_EQ(secca.x, 0);
    EXPECT_FALSE(secca.rugiada);
    EXPECT_TRUE(secca.bulbo_umido);
    EXPECT_EQ(stato({G::t, -50}, {G::ur, 50}).t, -50);
    EXPECT_EQ(stato({G::t, 100}, {G::ur, 5}).t, 100);
    // The given values are kept exactly.
    const StatoCompleto s = stato({G::t, 26}, {G::tbu, 19});
    EXPECT_EQ(*s.bulbo_umido, 19);
    EXPECT_EQ(formatta(s.x, 0, 2), "10.93");
}

TEST(StatoDaCoppia, ReportInThePointFormat) {
    Rapporto r;
    scrivi_stato(r, stato({G::t, 20}, {G::ur, 50}));
    EXPECT_EQ(r.righe(),
              (std::vector<std::string>{"       PROPRIETA DEL PUNTO", "Temperatura        :   20,0 C",
                                        "umidita relativa   :   50,0 %", "umidita specifica  :   7,25 g/kg ",
                                        "Entalpia           :   38,4 kj/kg ", "volume specifico   :  0,840 mc/kg",
                                        "temperatura bulbo umido :13.73 C", "temperatura rugiada     : 9.25 C"}));
    r.pulisci();
    scrivi_stato(r, stato({G::t, 20}, {G::ur, 0}));
    EXPECT_EQ(r.righe().back(), "temperatura rugiada     : non definita");
}
