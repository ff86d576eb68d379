#include "core/modello_ashrae.h"

#include <charconv>
#include <cmath>
#include <string>

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

// The wet bulb's heat balance (ASHRAE ch. 1, eq. 33 over a wet wick, eq. 35 over an iced one):
// W = ((a − b·t*)·Ws* − 1.006·(t − t*)) / (a + 1.86·t − c·t*).
struct Bulbo {
    double a, b, c;
    double (*ln_ps)(double T);
    double (*d_ln_ps)(double T);
};
constexpr Bulbo bulbo_bagnato{2501.0, 2.326, 4.186, ln_ps_acqua, d_ln_ps_acqua};
constexpr Bulbo bulbo_ghiacciato{2830.0, 0.24, 2.1, ln_ps_ghiaccio, d_ln_ps_ghiaccio};

// Humidity ratio, kg/kg, of air at t whose wet bulb on the wick `b` is ts; with `derivata` also d/dts.
double w_bulbo(const Bulbo& b, double t, double ts, double P, double* derivata = nullptr) {
    const double T = ts + zero_assoluto;
    const double ps = std::exp(b.ln_ps(T));
    const double ws = rapporto_masse * ps / (P - ps);
    const double n = (b.a - b.b * ts) * ws - 1.006 * (t - ts);
    const double d = b.a + 1.86 * t - b.c * ts;
    if (derivata) {
        const double dws = rapporto_masse * P * ps * b.d_ln_ps(T) / ((P - ps) * (P - ps));
        const double dn = -b.b * ws + (b.a - b.b * ts) * dws + 1.006;
        *derivata = (dn * d + b.c * n) / (d * d);
    }
    return n / d;
}

// The root of f (increasing) in [lo, hi], with f(lo) < 0 ≤ f(hi), to 1e-11 K: Newton's steps from `inizio`, which on
// these convex curves approach the root from above, kept inside the interval the signs leave; a step that would leave
// it, or that does not at least halve the one before (near the boiling point, where Ws grows without bound), is
// replaced by a halving. Where f is not a number (vapour at the total pressure) the root lies below.
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
        if (newton > lo && newton < hi && std::fabs(2.0 * (x - newton)) <= std::fabs(passo_prima)) {
            passo = x - newton;
            x = newton;
        } else {
            passo = (hi - lo) / 2.0;
            x = lo + passo;
        }
        if (std::fabs(passo) < 1e-11 || !(x > lo && x < hi)) return x;
    }
    return x;
}

std::string breve(double v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

class ModelloAshrae final : public ModelloAria {
public:
    std::string_view nome() const override { return "ASHRAE"; }
    std::string_view chiave() const override { return "ashrae"; }

    double pressione_saturazione(double t) const override {
        const double T = t + zero_assoluto;
        return std::exp(t <= punto_triplo ? ln_ps_ghiaccio(T) : ln_ps_acqua(T));
    }

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
        double lo = bagnato ? 0.0 : t_minima_equazioni;
        double hi = bagnato ? t : std::fmin(t, 0.0);
        // Above the boiling point no saturated air exists: the bulb lies below it. Newton's steps start from the
        // dry bulb, or from halfway down when that is the boiling point (where Ws has its pole).
        double inizio = hi;
        if (pressione_saturazione(hi) >= P)
            if (const auto eb = temperatura_saturazione(P)) {
                hi = *eb;
                inizio = lo + (hi - lo) / 2.0;
            }
        const auto f = [&](double ts, double& df) {
            if (pressione_saturazione(ts) >= P) return std::nan("");
            return w_bulbo(b, t, ts, P, &df) - w;
        };
        double df = 0.0;
        const double in_alto = f(hi, df);
        // Air above saturation (or at it): the bulb is the dry bulb.
        if (!(in_alto > 0) && !std::isnan(in_alto)) return hi;
        if (!(f(lo, df) < 0)) return lo;
        return radice(lo, hi, inizio, f);
    }

    double x_da_bulbo(double t, double tbu, double P) const override {
        return 1000.0 * w_bulbo(tbu >= 0.0 ? bulbo_bagnato : bulbo_ghiacciato, t, tbu, P);
    }

    Fatto nel_campo(double t, double P) const override {
        if (!(t >= t_minima_ashrae && t <= t_massima_ashrae))
            return Errore{Causa::dati, "modello ASHRAE: la temperatura " + breve(t) +
                                           " C e fuori dal campo del modello (da " + breve(t_minima_ashrae) + " a " +
                                           breve(t_massima_ashrae) + " C)"};
        if (!(P >= pressione_minima_ashrae && P <= pressione_massima_ashrae))
            return Errore{Causa::dati, "modello ASHRAE: la pressione " + breve(P) +
                                           " Pa e fuori dal campo del modello (da " + breve(pressione_minima_ashrae) +
                                           " a " + breve(pressione_massima_ashrae) + " Pa)"};
        return {};
    }
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
