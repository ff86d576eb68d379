#include "core/modello_ashrae.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace ondix {

namespace {

constexpr double zero_assoluto = 273.15; // K at 0 °C
// Below the triple point the saturation pressure is the one over ice.
constexpr double punto_triplo = 0.01; // °C
// Molar mass of water over that of dry air.
constexpr double rapporto_masse = 0.621945;
// Gas constant of dry air, J/(kg·K), and the ratio of the gas constants of vapour and dry air.
constexpr double r_aria_secca = 287.042;
constexpr double rapporto_r = 1.607858;

// ln(pws / Pa) over ice, −100 to 0 °C (Hyland and Wexler; ASHRAE ch. 1, eq. 5), and its derivative in T.
constexpr double c1 = -5.6745359e3, c2 = 6.3925247, c3 = -9.6778430e-3, c4 = 6.2215701e-7, c5 = 2.0747825e-9,
                 c6 = -9.4840240e-13, c7 = 4.1635019;
double ln_ps_ghiaccio(double T) {
    return c1 / T + c2 + T * (c3 + T * (c4 + T * (c5 + T * c6))) + c7 * std::log(T);
}
double d_ln_ps_ghiaccio(double T) {
    return -c1 / (T * T) + c3 + T * (2 * c4 + T * (3 * c5 + T * 4 * c6)) + c7 / T;
}

// ln(pws / Pa) over liquid water, 0 to 200 °C (Hyland and Wexler; ASHRAE ch. 1, eq. 6), and its derivative in T.
constexpr double c8 = -5.8002206e3, c9 = 1.3914993, c10 = -4.8640239e-2, c11 = 4.1764768e-5, c12 = -1.4452093e-8,
                 c13 = 6.5459673;
double ln_ps_acqua(double T) {
    return c8 / T + c9 + T * (c10 + T * (c11 + T * c12)) + c13 * std::log(T);
}
double d_ln_ps_acqua(double T) {
    return -c8 / (T * T) + c10 + T * (2 * c11 + T * 3 * c12) + c13 / T;
}

// The temperatures the equations themselves cover, °C.
constexpr double t_minima_equazioni = -100.0;
constexpr double t_massima_equazioni = 200.0;

// The saturation pressure by the equations themselves.
double ps_equazioni(double t) {
    const double T = t + zero_assoluto;
    return std::exp(t <= punto_triplo ? ln_ps_ghiaccio(T) : ln_ps_acqua(T));
}

// The same, evaluated faster: over −100 … 200 °C, in cells of about 1 K split at the triple point, the polynomial of
// degree 5 that interpolates the equations at the cell's Chebyshev nodes. Built once from the equations; within
// 1e-11 of them (relative), far below their own 300 ppm, with no exp or log per call.
class TabellaPs {
public:
    TabellaPs() {
        riempi(m_ghiaccio, t_min, punto_triplo);
        riempi(m_acqua, punto_triplo, t_max);
    }
    // Outside the table (and for NaN) the equations themselves.
    double operator()(double t) const {
        if (t <= punto_triplo) {
            if (!(t >= t_min)) return ps_equazioni(t);
            return valuta(m_ghiaccio, t);
        }
        if (!(t <= t_max)) return ps_equazioni(t);
        return valuta(m_acqua, t);
    }

private:
    static constexpr int grado = 5;
    static constexpr double t_min = -100.0, t_max = 200.0;
    struct Celle {
        double inizio = 0, larghezza = 0, per_larghezza = 0;
        int n = 0;
        std::vector<std::array<double, grado + 1>> c; // monomial coefficients in u ∈ [−1, 1]
    };

    static void riempi(Celle& k, double a, double b) {
        k.n = static_cast<int>(std::lround(b - a));
        k.inizio = a;
        k.larghezza = (b - a) / k.n;
        k.per_larghezza = 1.0 / k.larghezza;
        k.c.resize(static_cast<std::size_t>(k.n));
        constexpr int m = grado + 1;
        constexpr double pi = 3.14159265358979323846;
        for (int i = 0; i < k.n; ++i) {
            const double centro = a + (i + 0.5) * k.larghezza;
            // Values at the Chebyshev nodes u_j = cos(π(j + ½)/m), inside the cell (the ends belong to their phase).
            std::array<double, m> y{};
            for (int j = 0; j < m; ++j) {
                const double u = std::cos(pi * (j + 0.5) / m);
                const double T = centro + u * k.larghezza / 2.0 + zero_assoluto;
                y[static_cast<std::size_t>(j)] = std::exp(a < punto_triplo ? ln_ps_ghiaccio(T) : ln_ps_acqua(T));
            }
            // Chebyshev coefficients, then the monomial ones: T0 = 1, T1 = u, T(k+1) = 2u·Tk − T(k−1).
            std::array<double, m> cheb{};
            for (int q = 0; q < m; ++q) {
                double somma = 0.0;
                for (int j = 0; j < m; ++j)
                    somma += y[static_cast<std::size_t>(j)] * std::cos(pi * q * (j + 0.5) / m);
                cheb[static_cast<std::size_t>(q)] = somma * (q == 0 ? 1.0 : 2.0) / m;
            }
            std::array<std::array<double, m>, m> tk{}; // tk[q] = monomial coefficients of T_q
            tk[0][0] = 1.0;
            tk[1][1] = 1.0;
            for (int q = 2; q < m; ++q)
                for (int e = 0; e < m; ++e)
                    tk[static_cast<std::size_t>(q)][static_cast<std::size_t>(e)] =
                        (e > 0 ? 2.0 * tk[static_cast<std::size_t>(q - 1)][static_cast<std::size_t>(e - 1)] : 0.0) -
                        tk[static_cast<std::size_t>(q - 2)][static_cast<std::size_t>(e)];
            auto& c = k.c[static_cast<std::size_t>(i)];
            c.fill(0.0);
            for (int q = 0; q < m; ++q)
                for (int e = 0; e < m; ++e)
                    c[static_cast<std::size_t>(e)] += cheb[static_cast<std::size_t>(q)] *
                                                      tk[static_cast<std::size_t>(q)][static_cast<std::size_t>(e)];
        }
    }

    static double valuta(const Celle& k, double t) {
        const double r = (t - k.inizio) * k.per_larghezza;
        const int i = std::clamp(static_cast<int>(r), 0, k.n - 1);
        const double u = 2.0 * (r - i) - 1.0;
        const auto& c = k.c[static_cast<std::size_t>(i)];
        const double u2 = u * u;
        return (c[0] + c[1] * u) + u2 * ((c[2] + c[3] * u) + u2 * (c[4] + c[5] * u));
    }

    Celle m_ghiaccio, m_acqua;
};

const TabellaPs& tabella_ps() {
    static const TabellaPs tabella;
    return tabella;
}

// The wet bulb's heat balance (ASHRAE ch. 1, eq. 33 over a wet wick, eq. 35 over an iced one):
// W = ((a − b·t*)·Ws* − 1.006·(t − t*)) / (a + 1.86·t − c·t*).
struct Bulbo {
    double a, b, c;
};
constexpr Bulbo bulbo_bagnato{2501.0, 2.326, 4.186};
constexpr Bulbo bulbo_ghiacciato{2830.0, 0.24, 2.1};

// Humidity ratio, kg/kg, of air at t whose wet bulb on the wick `b` is ts; with `derivata` also d/dts. Not a number
// where the vapour at ts would be at the total pressure or above.
double w_bulbo(const Bulbo& b, double t, double ts, double P, double* derivata = nullptr) {
    const double ps = tabella_ps()(ts);
    if (!(ps < P)) return std::numeric_limits<double>::quiet_NaN();
    const double ws = rapporto_masse * ps / (P - ps);
    const double n = (b.a - b.b * ts) * ws - 1.006 * (t - ts);
    const double d = b.a + 1.86 * t - b.c * ts;
    if (derivata) {
        const double T = ts + zero_assoluto;
        const double d_ln_ps = ts <= punto_triplo ? d_ln_ps_ghiaccio(T) : d_ln_ps_acqua(T);
        const double dws = rapporto_masse * P * ps * d_ln_ps / ((P - ps) * (P - ps));
        const double dn = -b.b * ws + (b.a - b.b * ts) * dws + 1.006;
        *derivata = (dn * d + b.c * n) / (d * d);
    }
    return n / d;
}

// The wet bulb's balance on the wick `b` for air (t, w) at the bulb temperature ts, written as the logarithm of
// Ws*·(a − b·t*) over w·(a + 1.86·t − c·t*) + 1.006·(t − t*): zero at the wet bulb, positive above it, and nearly
// straight in ts (ln Ws* nearly is), so that Newton's method needs two or three steps. With `df`, d/dts. Not a
// number where the vapour at ts would be at the total pressure or above, or the air is dry at its dry bulb.
double bilancio_bulbo(const Bulbo& b, double t, double w, double ts, double P, double& df) {
    const double ps = tabella_ps()(ts);
    const double q = w * (b.a + 1.86 * t - b.c * ts) + 1.006 * (t - ts);
    if (!(ps < P) || !(q > 0)) return std::numeric_limits<double>::quiet_NaN();
    const double n = b.a - b.b * ts;
    const double T = ts + zero_assoluto;
    const double d_ln_ps = ts <= punto_triplo ? d_ln_ps_ghiaccio(T) : d_ln_ps_acqua(T);
    df = d_ln_ps * P / (P - ps) - b.b / n + (w * b.c + 1.006) / q;
    return std::log(rapporto_masse * ps * n / ((P - ps) * q));
}

// The root of f (increasing) in [lo, hi], with f(lo) < 0, to the rounding of t; hi when f(hi) ≤ 0: Newton's steps from
// `inizio`, which on these convex curves approach the root from above, kept inside the interval the signs leave; a step
// that would leave it, or that does not at least halve the one before (near the boiling point, where Ws grows without
// bound), is replaced by a halving. Where f is not a number (vapour at the total pressure) the root lies below.
template <class F> double radice(double lo, double hi, double inizio, F f) {
    double x = inizio, passo = hi - lo, passo_prima = passo;
    for (int n = 0; n < 200; ++n) {
        double df = 0.0;
        const double v = f(x, df);
        if (std::isnan(v) || v > 0)
            hi = x;
        else if (v < 0)
            lo = x;
        else
            return x;
        const double newton = std::isfinite(v) && df > 0 ? x - v / df : hi + 1.0;
        passo_prima = passo;
        const bool di_newton = newton > lo && newton < hi && std::fabs(2.0 * (x - newton)) <= std::fabs(passo_prima);
        if (di_newton) {
            passo = x - newton;
            x = newton;
        } else {
            passo = (hi - lo) / 2.0;
            x = lo + passo;
        }
        // Newton's steps converge quadratically: after one below 1e-8 K from a point where f is already small the
        // error is far below 1e-12 K (a small step where f is large is the slope of a singular end, not the root).
        // Halvings go on to 1e-11 K.
        const bool finito = di_newton ? std::fabs(passo) < 1e-8 && std::fabs(v) < 1e-6 : std::fabs(passo) < 1e-11;
        if (finito || !(x > lo && x < hi)) return x;
    }
    return x;
}

std::string breve(double v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

class ModelloAshrae final : public ModelloAria {
    const TabellaPs& m_ps = tabella_ps();

public:
    std::string_view nome() const override { return "ASHRAE"; }
    std::string_view chiave() const override { return "ashrae"; }

    double pressione_saturazione(double t) const override { return m_ps(t); }

    std::optional<double> temperatura_saturazione(double ps) const override {
        if (!(ps >= pressione_saturazione(t_minima_equazioni) && ps <= pressione_saturazione(t_massima_equazioni)))
            return std::nullopt;
        const double lp = std::log(ps);
        const bool ghiaccio = lp <= ln_ps_ghiaccio(punto_triplo + zero_assoluto);
        const auto ln_ps = ghiaccio ? ln_ps_ghiaccio : ln_ps_acqua;
        const auto d_ln_ps = ghiaccio ? d_ln_ps_ghiaccio : d_ln_ps_acqua;
        // Newton's method on ln(pws), nearly linear in 1/T, from a Magnus-type first guess; three or four steps.
        const double a = std::log(ps / 611.2);
        double t = ghiaccio ? 272.62 * a / (22.46 - a) : 243.12 * a / (17.62 - a);
        for (int n = 0; n < 50; ++n) {
            const double T = t + zero_assoluto;
            const double passo = (ln_ps(T) - lp) / d_ln_ps(T);
            t -= passo;
            if (std::fabs(passo) < 1e-11) break;
        }
        return t;
    }

    double pressione_vapore(double x, double P) const override {
        const double xk = x / 1000.0;
        return P * xk / (rapporto_masse + xk);
    }

    double umidita_specifica(double ur, double t, double P) const override {
        const double pw = ur / 100.0 * pressione_saturazione(t);
        return 1000.0 * rapporto_masse * pw / (P - pw);
    }

    double umidita_relativa(double x, double t, double P) const override {
        return 100.0 * pressione_vapore(x, P) / pressione_saturazione(t);
    }

    double umidita_saturazione(double t, double P) const override {
        const double ps = pressione_saturazione(t);
        return 1000.0 * rapporto_masse * ps / (P - ps);
    }

    double entalpia(double x, double t) const override { return 1.006 * t + x / 1000.0 * (2501.0 + 1.86 * t); }

    double volume_specifico(double t, double x, double P) const override {
        return r_aria_secca * (t + zero_assoluto) * (1.0 + rapporto_r * x / 1000.0) / P;
    }

    double entalpia_vapore(double t) const override { return 2501.0 + 1.86 * t; }

    double x_da_t_h(double t, double h) const override { return 1000.0 * (h - 1.006 * t) / (2501.0 + 1.86 * t); }

    double t_da_x_h(double x, double h) const override {
        const double xk = x / 1000.0;
        return (h - 2501.0 * xk) / (1.006 + 1.86 * xk);
    }

    double bulbo_umido(double x, double t, double P) const override {
        const double w = x / 1000.0;
        // The wick is wet when its balance puts the bulb at or above 0 °C; else it is iced (and the bulb below 0).
        // Near 0 °C both balances may have a solution (the wet one above 0, the iced one below): the wet one is
        // taken, so that the wet bulb of air above freezing leaves the wet wick only where it must.
        const bool bagnato = t >= 0.0 && w_bulbo(bulbo_bagnato, t, 0.0, P) <= w;
        const Bulbo& b = bagnato ? bulbo_bagnato : bulbo_ghiacciato;
        // At the lower end the balance is below any humidity ratio: at 0 °C by the choice of the wick, at −100 °C
        // by the dry air's sensible heat.
        const double lo = bagnato ? 0.0 : t_minima_equazioni;
        double hi = bagnato ? t : std::fmin(t, 0.0);
        // Above the boiling point no saturated air exists: the bulb lies below it. Newton's steps start from the
        // dry bulb, or from halfway down when that is the boiling point (where Ws has its pole). Below 60 °C the
        // vapour is below any total pressure of the model's range.
        double inizio = hi;
        if ((hi >= 60.0 || P < pressione_minima_ashrae) && pressione_saturazione(hi) >= P)
            if (const auto eb = temperatura_saturazione(P)) {
                hi = *eb;
                inizio = lo + (hi - lo) / 2.0;
            }
        // Air above saturation (or at it) has the dry bulb as its wet bulb: then f(hi) ≤ 0 and the search ends at hi.
        const auto f = [&](double ts, double& df) { return bilancio_bulbo(b, t, w, ts, P, df); };
        return radice(lo, hi, inizio, f);
    }

    double x_da_bulbo(double t, double tbu, double P) const override {
        return 1000.0 * w_bulbo(tbu >= 0.0 ? bulbo_bagnato : bulbo_ghiacciato, t, tbu, P);
    }

    Fatto nel_campo(double t, double P) const override {
        if (!(t >= t_minima_ashrae && t <= t_massima_ashrae))
            return Errore{Causa::dati, "modello ASHRAE: la temperatura " + breve(t) +
                                           " C è fuori dal campo del modello (da " + breve(t_minima_ashrae) + " a " +
                                           breve(t_massima_ashrae) + " C)"};
        if (!(P >= pressione_minima_ashrae && P <= pressione_massima_ashrae))
            return Errore{Causa::dati, "modello ASHRAE: la pressione " + breve(P) +
                                           " Pa è fuori dal campo del modello (da " + breve(pressione_minima_ashrae) +
                                           " a " + breve(pressione_massima_ashrae) + " Pa)"};
        return {};
    }

    double t_minima() const override { return t_minima_ashrae; }
    double t_massima() const override { return t_massima_ashrae; }
};

} // namespace

const ModelloAria& modello_ashrae() {
    static const ModelloAshrae m;
    return m;
}

const ModelloAria* modello_da_chiave(std::string_view chiave) {
    if (chiave == modello_ashrae().chiave()) return &modello_ashrae();
    return nullptr;
}

} // namespace ondix
