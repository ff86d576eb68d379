// The comfort model against the validation table it is published with, the comfort zone's edges as a property, and
// the adaptive model's running mean and limits on a week worked by hand.
#include "core/comfort.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace ondix;

TEST(Comfort, Iso7730AnnexDTable) {
    // ISO 7730:2005, annex D, table D.1: air and mean radiant temperature (°C), relative air speed (m/s), relative
    // humidity (%), met, clo, then the PMV and PPD (%) the standard prints, to ±0.01 and ±0.5 %. Its row 23.5, 23.5,
    // 0.1, 40 %, 1.2 met, 1.0 clo (PMV 0.50, PPD 10) is left out: it disagrees with the standard's own algorithm,
    // which gives about 0.36 there. ASHRAE 55's examples are not in the table: their printed digits were not at
    // hand with certainty.
    struct Riga {
        double ta, tr, v, ur, met, clo, pmv, ppd;
    };
    const Riga tabella[] = {
        {22.0, 22.0, 0.1, 60, 1.2, 0.5, -0.75, 17}, {27.0, 27.0, 0.1, 60, 1.2, 0.5, 0.77, 17},
        {27.0, 27.0, 0.3, 60, 1.2, 0.5, 0.44, 9},   {23.5, 25.5, 0.1, 60, 1.2, 0.5, -0.01, 5},
        {23.5, 25.5, 0.3, 60, 1.2, 0.5, -0.55, 11}, {19.0, 19.0, 0.1, 40, 1.2, 1.0, -0.60, 13},
        {23.5, 23.5, 0.3, 40, 1.2, 1.0, 0.12, 5},   {23.0, 21.0, 0.1, 40, 1.2, 1.0, 0.05, 5},
        {23.0, 21.0, 0.3, 40, 1.2, 1.0, -0.16, 6},  {22.0, 22.0, 0.1, 60, 1.6, 0.5, 0.05, 5},
        {27.0, 27.0, 0.1, 60, 1.6, 0.5, 1.17, 34},  {27.0, 27.0, 0.3, 60, 1.6, 0.5, 0.95, 24},
    };
    for (const Riga& r : tabella) {
        StatoCompleto s;
        s.t = r.ta;
        s.ur = r.ur;
        const auto c = comfort_stato(s, {r.met, r.clo, r.v, r.tr, 0.0});
        ASSERT_TRUE(c) << r.ta;
        EXPECT_NEAR(c->pmv, r.pmv, 0.01 + 1e-9) << r.ta << ' ' << r.tr << ' ' << r.v << ' ' << r.met;
        EXPECT_NEAR(c->ppd, r.ppd, 0.5 + 1e-9) << r.ta << ' ' << r.tr << ' ' << r.v << ' ' << r.met;
        EXPECT_EQ(c->fuori, 0u);
    }
}

TEST(Comfort, CategoriesAndLimitsAtTheirBoundaries) {
    // Strictly inside a category's |PMV| limit, and one step past it.
    for (const Categoria c : {Categoria::I, Categoria::II, Categoria::III})
        for (const double segno : {-1.0, 1.0}) {
            EXPECT_EQ(categoria_pmv(segno * (limite_pmv(c) - 1e-9)), c);
            EXPECT_NE(categoria_pmv(segno * limite_pmv(c)), c);
        }
    EXPECT_EQ(categoria_pmv(0.7), Categoria::nessuna);
    // The ranges of the model: exactly at a limit is inside, one step past it is flagged.
    const auto fuori = [](double ta, double tr, double v, double pa, double met, double clo) {
        return pmv_ppd(ta, tr, v, pa, met, clo)->fuori & ~unsigned(fuori_pmv);
    };
    EXPECT_EQ(fuori(10, 40, 1.0, 2700, 0.8, 2.0), 0u);
    EXPECT_EQ(fuori(30, 10, 0.0, 0, 4.0, 0.0), 0u);
    EXPECT_EQ(fuori(9.99, 40.01, 1.01, 2700.1, 0.79, 2.01),
              unsigned(fuori_ta | fuori_tr | fuori_v | fuori_pa | fuori_met | fuori_clo));
    EXPECT_EQ(fuori(30.01, 9.99, 0.1, 1000, 4.01, 1.0), unsigned(fuori_ta | fuori_tr | fuori_met));
    EXPECT_EQ(testo_limiti(fuori_ta | fuori_pa), "ta, pa");
    // A body that cannot exist is refused, never computed.
    EXPECT_FALSE(pmv_ppd(22, 22, 0.1, 1000, 0.0, 0.5));
    EXPECT_FALSE(pmv_ppd(22, 22, -0.1, 1000, 1.2, 0.5));
    EXPECT_FALSE(pmv_ppd(22, 22, 0.1, 1000, 1.2, -0.5));
    EXPECT_FALSE(pmv_ppd(22, 22, 0.1, NAN, 1.2, 0.5));
}

TEST(Comfort, OccupantsAreBoundedWhenRead) {
    // Exactly at each bound the occupants are computed; one step past it they are refused, naming the value.
    EXPECT_TRUE(controlla_occupanti(met_minimo, 0.0, 0.0, 0.0));
    EXPECT_TRUE(controlla_occupanti(met_massimo, clo_massimo, v_massima, met_massimo - 1e-9));
    const auto motivo = [](double met, double clo, double v, double lavoro) {
        const Fatto f = controlla_occupanti(met, clo, v, lavoro);
        return f ? std::string() : f.errore().testo;
    };
    EXPECT_EQ(motivo(0.69, 0.5, 0.1, 0), "met è fuori da 0.7 a 10 met");
    EXPECT_EQ(motivo(10.01, 0.5, 0.1, 0), "met è fuori da 0.7 a 10 met");
    EXPECT_EQ(motivo(1e300, 0.5, 0.1, 0), "met è fuori da 0.7 a 10 met");
    EXPECT_EQ(motivo(1.2, -0.01, 0.1, 0), "clo è fuori da 0 a 4 clo");
    EXPECT_EQ(motivo(1.2, 4.01, 0.1, 0), "clo è fuori da 0 a 4 clo");
    EXPECT_EQ(motivo(1.2, 0.5, -0.01, 0), "v è fuori da 0 a 5 m/s");
    EXPECT_EQ(motivo(1.2, 0.5, 1e50, 0), "v è fuori da 0 a 5 m/s");
    EXPECT_EQ(motivo(1.2, 0.5, 0.1, -1), "il lavoro esterno non può essere negativo");
    EXPECT_EQ(motivo(1.2, 0.5, 0.1, 1.2), "il metabolismo deve superare il lavoro esterno");
    EXPECT_EQ(motivo(NAN, 0.5, 0.1, 0), "met è fuori da 0.7 a 10 met");
    // Within the bounds the PMV follows the body: more air speed cools a sedentary body at 24 °C, down to the bound.
    double prima = INFINITY;
    for (const double v : {0.0, 0.1, 1.0, 2.0, v_massima}) {
        const auto c = pmv_ppd(24, 24, v, 1500, 1.2, 0.5);
        ASSERT_TRUE(c) << v;
        EXPECT_LT(c->pmv, prima) << v;
        prima = c->pmv;
    }
    EXPECT_FALSE(pmv_ppd(24, 24, 1e50, 1500, 1.2, 0.5));
}

TEST(Comfort, ZoneVerticesLieOnTheirPmvEdge) {
    // Over occupants, limits and pressures: every vertex of the zone has PMV = −limit on its first half and +limit
    // on its second, at the occupants' radiant temperature (the air's when they have none), so that the zone agrees
    // with the category of a state judged with the same occupants; its humidity runs from dry air to saturation.
    for (const double p : {101335.0, 79500.0})
        for (const Occupanti o : {Occupanti{1.2, 0.5, 0.1, {}, 0}, Occupanti{1.0, 1.0, 0.3, 25.0, 0}})
            for (const double limite : {0.2, 0.5, 0.7}) {
                const Aria a{p, nullptr};
                const auto zona = zona_comfort(o, limite, a);
                ASSERT_EQ(zona.size(), 22u);
                for (std::size_t i = 0; i < zona.size(); ++i) {
                    const double ur = umidita_relativa(zona[i].x, zona[i].t, a);
                    const auto c = pmv_ppd(zona[i].t, o.tr.value_or(zona[i].t), o.v,
                                           ur / 100.0 * pressione_saturazione(zona[i].t, a), o.met, o.clo);
                    EXPECT_NEAR(c->pmv, i < 11 ? -limite : limite, 1e-5) << p << ' ' << limite << ' ' << i;
                }
                EXPECT_EQ(zona.front().x, 0.0);
                EXPECT_NEAR(umidita_relativa(zona[10].x, zona[10].t, a), 100.0, 1e-9);
                EXPECT_LT(zona[10].t, zona[11].t);
            }
}

TEST(Comfort, AdaptiveModelOnAWeek) {
    // Daily means 20, 22, 24, 26, 24, 22, 20 °C as a cycle. Worked by hand: the first day's running mean from the
    // seven days before it, (20 + 0.8·22 + 0.6·24 + 0.5·26 + 0.4·24 + 0.3·22 + 0.2·20) / 3.8 = 85.2 / 3.8; then
    // 0.2·20 + 0.8·22.4210526 = 21.9368421 and 0.2·22 + 0.8·21.9368421 = 21.9494737.
    const auto trm = medie_mobili({20, 22, 24, 26, 24, 22, 20});
    ASSERT_EQ(trm.size(), 7u);
    EXPECT_NEAR(trm[0], 85.2 / 3.8, 1e-12);
    EXPECT_NEAR(trm[1], 21.9368421, 1e-7);
    EXPECT_NEAR(trm[2], 21.9494737, 1e-7);
    EXPECT_NEAR(trm[6], 0.2 * 22 + 0.8 * trm[5], 1e-12);
    // At θrm = 20 °C: θc = 25.4 °C; category I 22.4 … 27.4, II 21.4 … 28.4, III 20.4 … 29.4.
    const LimitiAdattivi l = limiti_adattivi(20.0);
    EXPECT_NEAR(l.t_comfort, 25.4, 1e-12);
    const double d = 1e-6;
    EXPECT_EQ(categoria_adattiva(27.4 - d, l), Categoria::I);
    EXPECT_EQ(categoria_adattiva(27.4 + d, l), Categoria::II);
    EXPECT_EQ(categoria_adattiva(22.4 + d, l), Categoria::I);
    EXPECT_EQ(categoria_adattiva(22.4 - d, l), Categoria::II);
    EXPECT_EQ(categoria_adattiva(29.4 - d, l), Categoria::III);
    EXPECT_EQ(categoria_adattiva(29.4 + d, l), Categoria::nessuna);
    EXPECT_EQ(categoria_adattiva(20.4 - d, l), Categoria::nessuna);
    // The model applies for θrm from 10 to 30 °C.
    EXPECT_TRUE(limiti_adattivi(10.0).valido);
    EXPECT_TRUE(limiti_adattivi(30.0).valido);
    EXPECT_FALSE(limiti_adattivi(10.0 - d).valido);
    EXPECT_EQ(categoria_adattiva(limiti_adattivi(30.0 + d).t_comfort, limiti_adattivi(30.0 + d)), Categoria::nessuna);
}
