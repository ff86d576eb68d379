#include "core/altitudine.h"
#include "core/aria_umida.h"
#include "core/nebbia.h"
#include "core/numeri.h"
#include "core/stato_aria.h"
#include "ricerche_piane.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

using namespace ondix;

TEST(PressioneSaturazione, ReferenceValuesOfThePolynomial) {
    // Values of the fit in mm of water column × 9.81, to two decimals.
    EXPECT_NEAR(pressione_saturazione(-10), 254.72, 0.005);
    EXPECT_NEAR(pressione_saturazione(0), 604.72, 0.005);
    EXPECT_NEAR(pressione_saturazione(20), 2335.38, 0.005);
    EXPECT_NEAR(pressione_saturazione(30), 4246.02, 0.005);
    EXPECT_NEAR(pressione_saturazione(50), 12324.43, 0.005);
}

TEST(PressioneSaturazione, BelowMinusTenIsPositiveIncreasingAndContinuous) {
    const double at_edge = pressione_saturazione(-10);
    EXPECT_NEAR(pressione_saturazione(-10.000001), at_edge, 1e-3);
    double previous = at_edge;
    for (double t = -10.5; t >= -80; t -= 0.5) {
        const double ps = pressione_saturazione(t);
        EXPECT_GT(ps, 0.0) << t;
        EXPECT_LT(ps, previous) << t;
        previous = ps;
    }
    // Over ice at −15 °C the true value is about 165 Pa; the scaled extension stays close to it.
    EXPECT_NEAR(pressione_saturazione(-15), 162.0, 8.0);
    EXPECT_EQ(pressione_saturazione(-273.15), 0.0);
}

TEST(Proprieta, WorkedStateAt20CAnd50Percent) {
    const double x = umidita_specifica(50, 20);
    EXPECT_NEAR(x, 7.25, 0.005);
    EXPECT_NEAR(entalpia(x, 20), 38.41, 0.005);
    EXPECT_NEAR(volume_specifico(20, x), 0.840, 0.0005);
    EXPECT_NEAR(temperatura_rugiada(50, 20).value(), 9.25, 0.005);
    EXPECT_NEAR(temperatura_bulbo_umido(x, 20), 13.73, 0.005);
}

TEST(Proprieta, DewPointStopsAfterTenHalvings) {
    // 20 − 30/2^10 … the bisection on [−10, 20] lands on 9.248046875 at the tenth halving.
    EXPECT_DOUBLE_EQ(temperatura_rugiada(50, 20).value(), 9.248046875);
}

TEST(Proprieta, DewPointBelowMinusTenIsSearchedDownToMinusHundred) {
    // Where the bisection from −10 °C does not converge: found on the saturation curve's continuation, to half of
    // 0.0005 K either side. Drier air than saturated air at −100 °C has none.
    const double x100 = umidita_saturazione(-100.0);
    const std::pair<double, double> casi[] = {
        {20, -5}, {80, -15}, {50, -40}, {umidita_relativa(x100 * 1.01, -20), -20}};
    for (const auto& [ur, t] : casi) {
        const std::optional<double> tdp = temperatura_rugiada(ur, t);
        ASSERT_TRUE(tdp) << ur << " % " << t << " C";
        const double x = umidita_specifica(ur, t);
        EXPECT_TRUE(*tdp > -100.0 && *tdp < -10.0 && *tdp < t) << *tdp;
        EXPECT_LE(umidita_saturazione(*tdp - 0.00025), x);
        EXPECT_GE(umidita_saturazione(*tdp + 0.00025), x);
    }
    EXPECT_FALSE(temperatura_rugiada(0, 20));
    EXPECT_FALSE(temperatura_rugiada(umidita_relativa(x100 * 0.99, -20), -20));
    EXPECT_FALSE(temperatura_rugiada(110, 20)); // above saturation
}

TEST(Proprieta, RelativeAndSpecificHumidityAreInverse) {
    for (double t : {-20.0, -5.0, 0.0, 12.5, 20.0, 35.0, 50.0})
        for (double ur : {0.0, 10.0, 50.0, 99.0, 100.0, 130.0})
            EXPECT_NEAR(umidita_relativa(umidita_specifica(ur, t), t), ur, 1e-9) << t << " " << ur;
}

TEST(Proprieta, SaturationCurveAgreesWithSaturationHumidity) {
    for (double t = -10; t <= 55; t += 0.25)
        EXPECT_NEAR(curva_saturazione(t), umidita_saturazione(t), 1e-9) << t;
}

TEST(Trattamenti, SensibleCoolingHasNegativePower) {
    const Sensibile s = trasformazione_sensibile(30, 40, 1000, 20);
    EXPECT_LT(s.potenza, 0.0);
    EXPECT_NEAR(s.potenza, (s.h2 - s.h1) * 1000 / 3600, 1e-12);
    EXPECT_GT(trasformazione_sensibile(20, 50, 1200, 45).potenza, 0.0);
}

TEST(Trattamenti, SteamOutletStaysWithinItsSearchWindow) {
    for (double x2 : {7.0, 7.001, 10.0, 30.0, 200.0}) {
        const Stato s = umidificazione_vapore(30, 7, 80, x2);
        EXPECT_GE(s.t, 30.0);
        EXPECT_LE(s.t, 60.0);
        EXPECT_DOUBLE_EQ(s.x, x2);
    }
    EXPECT_LE(umidificazione_vapore(30, 7, 80, 7).t - 30.0, 0.011);
}

TEST(Trattamenti, BypassFactorOneIsTheInletZeroTheCoil) {
    const Stato in = uscita_batteria_bypass(27, 11.1, 12, 1.0);
    EXPECT_DOUBLE_EQ(in.t, 27);
    EXPECT_DOUBLE_EQ(in.x, 11.1);
    const Stato coil = uscita_batteria_bypass(27, 11.1, 12, 0.0);
    EXPECT_DOUBLE_EQ(coil.t, 12);
    EXPECT_DOUBLE_EQ(coil.x, umidita_saturazione(12));
}

TEST(Trattamenti, MixingIsMassWeighted) {
    const Miscela m = miscela(27, 50, 8000, 32, 60, 3000);
    EXPECT_LT(m.t, (27.0 * 8000 + 32.0 * 3000) / 11000);
    EXPECT_GT(m.t, 27.0);
    EXPECT_NEAR(m.h, entalpia(m.x, m.t), 1e-12);
}

TEST(Trattamenti, AdiabaticHumidificationEfficiencyBounds) {
    const Stato zero = umidificazione_adiabatica(30, 30, 20, 0);
    EXPECT_DOUBLE_EQ(zero.t, 30.0);
    const Stato full = umidificazione_adiabatica(30, 30, 20, 100);
    EXPECT_NEAR(full.x, umidita_saturazione(full.t), 0.01);
}

TEST(Trattamenti, TemperatureAtEnthalpyEndsWhenTheTargetIsOutOfReach) {
    // The enthalpy lies above the window [t − 40, t]: the tolerance is never met, the cap ends the search.
    const double t = temperatura_a_entalpia(5, 500, 20);
    EXPECT_NEAR(t, 20.0, 1e-6);
    // Below the 0 °C floor.
    EXPECT_EQ(temperatura_a_entalpia(5, -50, 20), 0.0);
    EXPECT_TRUE(std::isfinite(temperatura_a_entalpia(5, std::nan(""), 20)));
}

TEST(Trattamenti, HumidifyToLineIsBounded) {
    // A line never reached: the walk stops after 101 steps of 0.05 g/kg.
    const Stato s = umidifica_fino_a_retta(0, 30, 5, 20, 0.0, 1.0);
    EXPECT_NEAR(s.x, 5 + 101 * 0.05, 1e-9);
    // A line reached at once.
    const Stato r = umidifica_fino_a_retta(1, 30, 5, 100, 0.0, 5.05 / 1000);
    EXPECT_NEAR(r.x, 5.05, 1e-12);
}

TEST(Proprieta, WetBulbOfAirColderThanMinusTenStaysBelowTheDryBulb) {
    const double x = umidita_specifica(80, -15);
    const double twb = temperatura_bulbo_umido(x, -15);
    EXPECT_LT(twb, -15.0);
    EXPECT_GT(twb, -17.0);
    EXPECT_NEAR(entalpia(umidita_saturazione(twb), twb), entalpia(x, -15), 0.1);
}

TEST(Proprieta, FogIsWhatPrintsAboveHundredAndSettlesAtEqualEnthalpy) {
    // The double nearest 100.05 prints 100,0: saturated within the solvers' rounding, not fog.
    EXPECT_EQ(formatta(100.05, 0, 1), "100.0");
    EXPECT_FALSE(sovrasaturo(100.05));
    EXPECT_TRUE(sovrasaturo(std::nextafter(100.05, 200.0)));
    EXPECT_FALSE(sovrasaturo(std::nan("")));
    for (const auto& [t, x] : {std::pair{16.0, 17.8}, {0.0, 7.25}, {-20.0, 1.0}, {60.0, 400.0}}) {
        const auto e = equilibrio_nebbia(t, x);
        ASSERT_TRUE(e) << t;
        EXPECT_GT(e->t, t);
        EXPECT_EQ(e->x, umidita_saturazione(e->t));
        EXPECT_NEAR(entalpia(e->x, e->t), entalpia(x, t), 0.005) << t;
        EXPECT_NEAR(e->x + e->acqua, x, 1e-12);
        EXPECT_GT(e->acqua, 0.0);
    }
    // Beyond the search's 95 °C: no equilibrium.
    EXPECT_FALSE(equilibrio_nebbia(30.0, 5000.0));
    // At 2500 m water boils below 95 °C: the search ends below the boiling point and still finds the equilibrium.
    const Aria quota{pressione_pascal_da_quota(2500)};
    const double xf = umidita_saturazione(18.7, quota) + 2.0;
    const auto e = equilibrio_nebbia(18.7, xf, quota);
    ASSERT_TRUE(e);
    EXPECT_NEAR(entalpia(e->x, e->t), entalpia(xf, 18.7), 0.005);
}

TEST(Proprieta, WetBulbTheSearchCannotFindIsTheContinuations) {
    // Below −10 °C, or within a few kelvin above it in dry air, the search over [−10, t] cannot meet its
    // tolerance: the wet bulb is that of the continuation, as the state tool finds it, between dew point and dry bulb.
    for (const auto& [t, ur] : {std::pair{-8.0, 10.0}, {-10.0, 30.0}, {-15.0, 80.0}, {-30.0, 100.0}}) {
        const double x = umidita_specifica(ur, t);
        const double twb = temperatura_bulbo_umido(x, t);
        EXPECT_EQ(twb, bulbo_umido_da_h(entalpia(x, t))) << t;
        EXPECT_GE(twb, *temperatura_rugiada(ur, t) - 1e-6) << t;
        EXPECT_LE(twb, t + 1e-9) << t;
    }
    // Where it can, the search keeps its own result.
    EXPECT_EQ(formatta(temperatura_bulbo_umido(umidita_specifica(60.5, 25), 25), 0, 2), "19.53");
}

TEST(Trattamenti, AdiabaticHumidificationOfColdAirKeepsTheEnthalpyBalance) {
    for (const double t1 : {-20.0, -5.0, 2.0}) {
        const double x1 = umidita_specifica(50, t1);
        const Stato u = umidificazione_adiabatica(t1, 50, 20, 100);
        EXPECT_LT(u.t, t1);
        EXPECT_GT(u.x, x1);
        EXPECT_NEAR(entalpia(u.x, u.t), entalpia(x1, t1) + (u.x - x1) * 0.004186 * 20, 0.05) << t1;
    }
    const Stato zero = umidificazione_adiabatica(30, 30, 20, 0);
    EXPECT_EQ(zero.t, 30.0);
    EXPECT_EQ(zero.x, umidita_specifica(30, 30));
}

// The searches stop as soon as their result is known; over a grid that takes every branch (converged, capped,
// interval worn down to one double, cold and dry air, degenerate inputs), the dew point and the wet bulb at the
// fixed pressure and at site pressures up to both limits, they give what the plain searches give, with the same
// floating-point exceptions raised.
TEST(Ricerche, EarlyExitsGiveThePlainSearchesResultsBitForBit) {
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    std::vector<double> temperature{-10.0, -0.0, 100.0, 150.0, -273.15, nan, inf, -inf};
    for (double t = -30; t <= 105; t += 0.7)
        temperature.push_back(t);
    std::vector<double> umidita{0.0, 0.001, 0.01, 100.0, 140.0, -5.0, nan};
    for (double ur = 0.5; ur < 100; ur += 2.5)
        umidita.push_back(ur);
    std::size_t diverse = 0, casi = 0;
    std::ostringstream prima;
    auto confronta = [&](const char* nome, auto breve, auto piana, double p1, double p2,
                         double pressione = pressione_atmosferica) {
        ++casi;
        constexpr int controllate = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
        std::feclearexcept(FE_ALL_EXCEPT);
        const double a = breve();
        const int fa = std::fetestexcept(controllate);
        std::feclearexcept(FE_ALL_EXCEPT);
        const double b = piana();
        const int fb = std::fetestexcept(controllate);
        if (std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) && fa == fb) return;
        if (diverse++ == 0)
            prima << nome << "(" << p1 << ", " << p2 << ") at " << pressione << " Pa: " << a << " instead of " << b
                  << ", exceptions " << fa << " instead of " << fb;
    };
    for (const Aria a : {Aria{}, Aria{80000.0}, Aria{pressione_minima}, Aria{pressione_massima}})
        for (double t : temperature)
            for (double ur : umidita) {
                // No dew point reads as a NaN that no search returns.
                const auto valore = [](std::optional<double> r) {
                    return r ? *r : std::bit_cast<double>(0x7ff8deadbeef0000);
                };
                confronta(
                    "temperatura_rugiada", [&] { return valore(temperatura_rugiada(ur, t, a)); },
                    [&] { return valore(piane::temperatura_rugiada(ur, t, a)); }, ur, t, a.pressione);
                const double x = umidita_specifica(ur, t, a);
                confronta(
                    "temperatura_bulbo_umido", [&] { return temperatura_bulbo_umido(x, t, a); },
                    [&] { return piane::temperatura_bulbo_umido(x, t, a); }, x, t, a.pressione);
            }
    // The solvers below −10 °C, which start from the continuation's inverse (the saturation temperature) and from
    // Newton's method (the wet bulb), over the range the searches cover, cold and dry air most densely.
    for (const Aria a : {Aria{}, Aria{pressione_minima}, Aria{pressione_massima}}) {
        for (double t = -101; t <= 201; t += t < -5 ? 0.37 : 3.1) {
            const double ps = pressione_saturazione(t, a) * 0.9999999;
            confronta(
                "temperatura_saturazione", [&] { return temperatura_saturazione(ps, a).value_or(-1000.0); },
                [&] { return piane::temperatura_saturazione(ps, a).value_or(-1000.0); }, ps, t, a.pressione);
        }
        for (double h = -110; h <= 20; h += 0.173)
            confronta(
                "bulbo_umido_da_h", [&] { return bulbo_umido_da_h(h, a).value_or(-1000.0); },
                [&] { return piane::bulbo_umido_da_h(h, a).value_or(-1000.0); }, h, 0, a.pressione);
    }
    for (double t1 = -10; t1 <= 50; t1 += 7.5)
        for (double ur : {0.0, 10.0, 50.0, 100.0})
            for (double tw : {0.0, 20.0, 90.0})
                for (double eff : {0.0, 75.0, 100.0}) {
                    confronta(
                        "umidificazione_adiabatica t", [&] { return umidificazione_adiabatica(t1, ur, tw, eff).t; },
                        [&] { return piane::umidificazione_adiabatica(t1, ur, tw, eff).t; }, t1, ur);
                    confronta(
                        "umidificazione_adiabatica x", [&] { return umidificazione_adiabatica(t1, ur, tw, eff).x; },
                        [&] { return piane::umidificazione_adiabatica(t1, ur, tw, eff).x; }, t1, ur);
                }
    for (double t1 = -10; t1 <= 50; t1 += 7.5)
        for (double x1 : {0.0, 5.0, 15.0})
            for (double tv : {20.0, 100.0})
                for (double x2 : {0.0, 7.0, 7.001, 20.0, 300.0})
                    confronta(
                        "umidificazione_vapore", [&] { return umidificazione_vapore(t1, x1, tv, x2).t; },
                        [&] { return piane::umidificazione_vapore(t1, x1, tv, x2).t; }, t1, x2);
    for (double x : {0.0, 5.0, 20.0})
        for (double h = -60; h <= 150; h += 2.5)
            for (double t = -20; t <= 60; t += 4)
                confronta(
                    "temperatura_a_entalpia", [&] { return temperatura_a_entalpia(x, h, t); },
                    [&] { return piane::temperatura_a_entalpia(x, h, t); }, h, t);
    EXPECT_EQ(diverse, 0u) << "of " << casi << "; the first: " << prima.str();
}
