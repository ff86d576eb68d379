#include "core/aria_umida.h"

#include "core/modello.h"
#include "core/ricerca.h"
#include "core/stato_aria.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace ondix {

namespace {
// Enthalpy of sublimation over the gas constant of water vapour, K: the slope of ln(ps) over ice.
constexpr double sublimazione_su_r = 6141.0;

double polinomio_saturazione(double t) {
    const double T = t + 10.0;
    const double mm =
        25.96529 + 2.595377 * T + 0.085580442 * T * T + 0.00068916518 * T * T * T + 0.0000476601456 * T * T * T * T;
    return 9.81 * mm;
}

// The searches of the correlations below keep their own loops rather than the shared bisection (ricerca.h): each
// stops by its own rule (a tolerance on the function, an iteration cap, the midpoint (lo + hi) / 2), and the reports
// give their results to the last bit, which the plain transcriptions of tests/core/ricerche_piane.h and the
// benchmarks check. Their early exits below must keep giving those same bits.
//
// A halving step that sets an end of the interval to the value it already has leaves the search as it was: every
// later step computes the same midpoint and the same comparison, so the result is the one at the iteration cap.
// Bit for bit, so that −0 and +0 count as different.
bool fermo(double estremo, double mid) {
    return std::bit_cast<std::uint64_t>(estremo) == std::bit_cast<std::uint64_t>(mid);
}

// True when −10 ≤ t ≤ 100 °C and ps(t) < P (the pressure of `a`): then over [−10, t] the saturation pressure is the
// polynomial, whose terms are all positive, so it and the saturation humidity ratio and enthalpy never decrease
// (rounding keeps that order), and none of them raises a floating-point exception. A search over such an interval may
// evaluate them anywhere in it, and a value at −10 °C bounds every value in it from below.
bool curva_regolare(double t, Aria a) {
    return t >= -10.0 && t <= 100.0 && polinomio_saturazione(t) < a.pressione;
}
} // namespace

double pressione_saturazione(double t, Aria a) {
    if (a.modello) return a.modello->pressione_saturazione(t);
    if (t >= -10.0 || std::isnan(t)) return polinomio_saturazione(t);
    // Below −10 °C the polynomial is not valid (it even rises again below about −25 °C). Continue it with
    // ps = ps(−10) · exp(L/R · (1/263.15 − 1/T)), the over-ice slope, so the curve stays positive and
    // increasing. At and below absolute zero there is no vapour: 0 (the callers then divide by zero, which
    // the calculations report as a floating-point error).
    const double T = t + 273.15;
    if (T <= 0.0) return 0.0;
    return polinomio_saturazione(-10.0) * std::exp(sublimazione_su_r * (1.0 / 263.15 - 1.0 / T));
}

double t_saturazione_continuata(double ps) {
    return 1.0 / (1.0 / 263.15 - std::log(ps / polinomio_saturazione(-10.0)) / sublimazione_su_r) - 273.15;
}

double pendenza_saturazione_continuata(double t) {
    const double T = t + 273.15;
    return pressione_saturazione(t) * sublimazione_su_r / (T * T);
}

double umidita_specifica(double ur, double t, Aria a) {
    if (a.modello) return a.modello->umidita_specifica(ur, t, a.pressione);
    const double phi = ur / 100.0;
    return 1000.0 * 0.622 * phi / (a.pressione / pressione_saturazione(t) - phi);
}

double umidita_relativa(double x, double t, Aria a) {
    if (a.modello) return a.modello->umidita_relativa(x, t, a.pressione);
    const double xk = x / 1000.0;
    return 100.0 * xk * a.pressione / (pressione_saturazione(t) * (0.622 + xk));
}

double umidita_saturazione(double t, Aria a) {
    if (a.modello) return a.modello->umidita_saturazione(t, a.pressione);
    const double ps = pressione_saturazione(t);
    return 622.0 * ps / (a.pressione - ps);
}

double curva_saturazione(double t, Aria a) {
    return umidita_specifica(100.0, t, a);
}

double entalpia(double x, double t, Aria a) {
    if (a.modello) return a.modello->entalpia(x, t);
    return 1.004 * t + (1.926 * t + 2490.0) * x / 1000.0;
}

double volume_specifico(double t, double x, Aria a) {
    if (a.modello) return a.modello->volume_specifico(t, x, a.pressione);
    const double pv = umidita_relativa(x, t, a) * pressione_saturazione(t) / 100.0;
    return 287.0 * (t + 273.0) / (a.pressione - pv);
}

namespace {

// Where a search over [−10, t] stopped: its last midpoint, whether it met its tolerance there, the halving's number.
struct FineRicerca {
    double mid;
    bool trovato;
    int n;
};

// A search over [−10, t] on a value f that rises with the temperature, halving as the correlations' searches do: the
// midpoint (lo + hi) / 2, the upper end moved to it when f there is above `obiettivo`, else the lower end; it stops
// when f is within `tolleranza` of the target, on a halving that sets an end to the value it already has (fermo), or
// at halving number cap + 1. The next three halvings can only visit the seven midpoints of the tree below the
// current one: their values are computed together, so that the evaluations overlap, and the three halvings walk
// them. For a curva_regolare(t), over which f may be evaluated anywhere.
template <class F> FineRicerca ricerca_regolare(double t, double obiettivo, double tolleranza, int cap, F f) {
    double lo = -10.0, hi = t, mid = (lo + hi) / 2.0;
    bool giu = false, trovato = false;
    // Halving number n on the value v at mid: true when the search stops there; `giu` tells which end moved.
    auto dimezza = [&](double v, int n) {
        giu = v > obiettivo;
        double& estremo = giu ? hi : lo;
        const bool ripete = fermo(estremo, mid);
        estremo = mid;
        trovato = std::fabs(v - obiettivo) < tolleranza;
        return n > cap || trovato || ripete;
    };
    for (int n = 1;; n += 3) {
        // Each midpoint from the interval the halvings would leave: (lo, mid) below, (mid, hi) above.
        const double b = (lo + mid) / 2.0, a = (mid + hi) / 2.0;
        const double bb = (lo + b) / 2.0, ba = (b + mid) / 2.0, ab = (mid + a) / 2.0, aa = (a + hi) / 2.0;
        const double v = f(mid), vb = f(b), va = f(a), vbb = f(bb), vba = f(ba), vab = f(ab), vaa = f(aa);
        if (dimezza(v, n)) return {mid, trovato, n};
        const bool primo_giu = giu;
        mid = primo_giu ? b : a;
        if (dimezza(primo_giu ? vb : va, n + 1)) return {mid, trovato, n + 1};
        mid = primo_giu ? (giu ? bb : ba) : (giu ? ab : aa);
        if (dimezza(primo_giu ? (giu ? vbb : vba) : (giu ? vab : vaa), n + 2)) return {mid, trovato, n + 2};
        mid = (lo + hi) / 2.0;
    }
}

// Humidity ratio of saturated air at t ≥ −10 °C, g/kg: umidita_saturazione(t), written out so that several
// evaluations overlap.
inline double x_satura(double t, Aria a) {
    const double ps = polinomio_saturazione(t);
    return 622.0 * ps / (a.pressione - ps);
}

// The dew-point search over [−10, t] for a curva_regolare(t), with the plain search's halvings, midpoints, stopping
// rule and cap. The midpoint it stopped at on the tolerance within 100 halvings; none when it ends at the cap, or
// worn down to one double.
std::optional<double> rugiada_regolare(double x, double t, Aria aria) {
    const FineRicerca f = ricerca_regolare(t, x, 0.01, 100, [aria](double m) { return x_satura(m, aria); });
    if (f.trovato && f.n <= 100) return f.mid;
    return std::nullopt;
}

} // namespace

std::optional<double> temperatura_rugiada(double ur, double t, Aria a) {
    if (a.modello) {
        // The temperature at which the vapour's partial pressure, ur × ps(t), saturates. Saturated air whose relative
        // humidity was computed from its humidity ratio may come a rounding above 100 %: it is saturated.
        if (!(ur > 0) || !(ur <= 100.0 * (1.0 + 1e-12))) return std::nullopt;
        return a.modello->temperatura_saturazione(std::fmin(ur, 100.0) / 100.0 * a.modello->pressione_saturazione(t));
    }
    const double x = umidita_specifica(ur, t, a);
    double lo = -10.0, hi = t, mid = 0.0, xs = 0.0;
    int n = 0;
    // Early exit to the cap: over a regular interval air drier than saturation at −10 °C by more than the
    // tolerance is met by no halving.
    // The values at −10 and −100 °C are kept for the program's fixed pressure, computed for any other.
    static const double xs_meno10_fissa = umidita_saturazione(-10.0);
    const double xs_meno10 = a == Aria{} ? xs_meno10_fissa : umidita_saturazione(-10.0, a);
    if (curva_regolare(t, a)) {
        if (x + 0.01 >= xs_meno10)
            if (const std::optional<double> r = rugiada_regolare(x, t, a)) return r;
        n = 101;
    }
    while (n <= 100) {
        ++n;
        mid = (lo + hi) / 2.0;
        xs = umidita_saturazione(mid, a);
        double& estremo = xs > x ? hi : lo;
        const bool ripete = fermo(estremo, mid);
        estremo = mid;
        if (std::fabs(x - xs) < 0.01) break;
        if (ripete) n = 101; // early exit to the cap: every later halving repeats this one
    }
    if (n <= 100) return mid;
    // No convergence: the dew point lies below −10 °C (or the air is above saturation). It is then the dew point
    // of the continuation of the saturation pressure below −10 °C, solved as the state tool solves it, down to
    // −100 °C.
    if (!(x < xs_meno10)) return std::nullopt;
    return rugiada_da_x(x, a);
}

namespace {

// Enthalpy of saturated air at t ≥ −10 °C, kJ/kg: entalpia(umidita_saturazione(t), t), written out so that
// several evaluations overlap.
inline double entalpia_satura(double t, Aria a) {
    const double ps = polinomio_saturazione(t);
    const double xs = 622.0 * ps / (a.pressione - ps);
    return 1.004 * t + (1.926 * t + 2490.0) * xs / 1000.0;
}

// The wet-bulb search over [−10, t] for a curva_regolare(t), with the plain search's halvings, midpoints and
// stopping rule. None when the search ends without meeting its tolerance: the wet bulb lies outside [−10, t].
std::optional<double> bulbo_umido_regolare(double H, double t, Aria aria) {
    // Air below saturation at −10 °C by more than the tolerance: every halving lowers the upper end, until the
    // interval is worn down to one double or the cap is reached.
    static const double hs_meno10_fissa = entalpia_satura(-10.0, Aria{});
    const double hs_meno10 = aria == Aria{} ? hs_meno10_fissa : entalpia_satura(-10.0, aria);
    if (H + 0.1 < hs_meno10) return std::nullopt;
    const FineRicerca f = ricerca_regolare(t, H, 0.1, 300, [aria](double m) { return entalpia_satura(m, aria); });
    if (f.trovato) return f.mid;
    return std::nullopt;
}

} // namespace

double temperatura_bulbo_umido(double x, double t, Aria a) {
    if (a.modello) return a.modello->bulbo_umido(x, t, a.pressione);
    const double H = entalpia(x, t);
    if (curva_regolare(t, a))
        if (const std::optional<double> r = bulbo_umido_regolare(H, t, a)) return *r;
    // Where the search over [−10, t] cannot meet its tolerance (a wet bulb below −10 °C, air colder than −10 °C,
    // for which that interval is upside down, or air above saturation) the wet bulb is that of the continuation
    // of the saturation pressure below −10 °C, solved as the state tool solves it.
    if (t <= 100.0 && pressione_saturazione(t) < a.pressione)
        if (const std::optional<double> r = bulbo_umido_da_h(H, a)) return *r;
    // Beyond every range (air colder than saturated air at −100 °C, or above the boiling point): the search from
    // 10 °C below the dry bulb, or from −10 °C, up to the dry bulb.
    double lo = t < -10.0 ? t - 10.0 : -10.0, hi = t, mid = 0.0, hs = 0.0;
    int n = 0;
    bool ripete = false;
    do {
        ++n;
        mid = (lo + hi) / 2.0;
        hs = entalpia(umidita_saturazione(mid, a), mid);
        double& estremo = hs > H ? hi : lo;
        ripete = fermo(estremo, mid);
        estremo = mid;
    } while (!(n > 300 || std::fabs(hs - H) < 0.1 || ripete));
    return mid;
}

Miscela miscela(double t1, double ur1, double V1, double t2, double ur2, double V2, Aria a) {
    const double x1 = umidita_specifica(ur1, t1, a);
    const double x2 = umidita_specifica(ur2, t2, a);
    const double m1 = V1 / volume_specifico(t1, x1, a);
    const double m2 = V2 / volume_specifico(t2, x2, a);
    // With both flows 0 these are 0/0: the invalid operation is what the calculations report.
    Miscela r{};
    r.x = (m1 * x1 + m2 * x2) / (m1 + m2);
    r.t = (m1 * t1 + m2 * t2) / (m1 + m2);
    r.h = entalpia(r.x, r.t, a);
    r.ur = umidita_relativa(r.x, r.t, a);
    return r;
}

Sensibile trasformazione_sensibile(double t1, double ur1, double m, double t2, Aria a) {
    Sensibile r{};
    r.x = umidita_specifica(ur1, t1, a);
    r.h1 = entalpia(r.x, t1, a);
    r.h2 = entalpia(r.x, t2, a);
    r.ur2 = umidita_relativa(r.x, t2, a);
    r.potenza = (r.h2 - r.h1) * m / 3600.0;
    return r;
}

Stato umidificazione_adiabatica(double t1, double ur1, double tw, double eff, Aria a) {
    const double x1 = umidita_specifica(ur1, t1, a);
    // A humidifier that does not work, or air above saturation, which can take no more water, leaves the air as
    // it is.
    if (eff == 0.0 || x1 > umidita_saturazione(t1, a)) return {t1, x1};
    const double h1 = entalpia(x1, t1, a);
    // Enthalpy of saturated air at t less that of the air plus the water it took up to saturation.
    const auto scarto = [&](double t, double& hs) {
        const double xs = umidita_saturazione(t, a);
        const double hw = (xs - x1) * 0.004186 * tw;
        hs = entalpia(xs, t, a);
        return hs - (h1 + hw);
    };
    double lo = 0.0, hi = t1 + 20.0, mid = 0.0, hs = 0.0;
    int n = 0;
    bool trovato = false;
    for (;;) {
        mid = (lo + hi) / 2.0;
        ++n;
        const double d = scarto(mid, hs);
        double& estremo = d > 0 ? hi : lo;
        const bool ripete = fermo(estremo, mid);
        estremo = mid;
        trovato = std::fabs(d) < 0.001;
        if (trovato || n > 30 || ripete) break;
    }
    if (!trovato) {
        // The saturation temperature lies outside 0 … t1 + 20 °C (cold air): below the air's own temperature,
        // down to −100 °C on the continuation of the saturation pressure, to 1e-10 K.
        double h = 0.0;
        mid = biseca(-100.0, t1, 1e-10, [&](double t) { return scarto(t, h) > 0; }).medio();
        scarto(mid, hs);
    }
    const double ts = mid;
    const double t2 = t1 - (t1 - ts) * eff / 100.0;

    double xlo = x1, xhi = umidita_saturazione(ts, a), xm = 0.0;
    n = 0;
    for (;;) {
        xm = (xlo + xhi) / 2.0;
        const double hm = entalpia(xm, t2, a);
        ++n;
        double& estremo = hm >= hs ? xhi : xlo;
        const bool ripete = fermo(estremo, xm);
        estremo = xm;
        if (std::fabs(hs - hm) < 0.001 || n > 60 || ripete) break;
    }
    // Saturated air may end a rounding below its own humidity ratio: a humidifier never takes water out.
    return {t2, std::fmax(xm, x1)};
}

namespace {
// Enthalpy of water vapour at tv (°C), kJ/kg: what each kilogram of steam brings in.
double entalpia_vapore(double tv, Aria a) {
    return a.modello ? a.modello->entalpia_vapore(tv) : 1.926 * tv + 2490.0;
}
} // namespace

Stato umidificazione_vapore(double t1, double x1, double tv, double x2, Aria a) {
    const double dx = x2 - x1;
    const double h1 = entalpia(x1, t1, a);
    const double hv = entalpia_vapore(tv, a) * dx / 1000.0;
    double lo = t1, hi = t1 + 30.0, mid = 0.0;
    int n = 0;
    for (;;) {
        ++n;
        mid = (lo + hi) / 2.0;
        const double d = h1 + hv - entalpia(x1 + dx, mid, a);
        double& estremo = d > 0 ? lo : hi;
        const bool ripete = fermo(estremo, mid);
        estremo = mid;
        if (n >= 100 || std::fabs(d) <= 0.01 || ripete) break;
    }
    return {mid, x1 + dx};
}

Stato uscita_batteria_bypass(double t1, double x1, double tb, double bf, Aria a) {
    const double t2 = t1 - (1.0 - bf) * (t1 - tb);
    // A dry coil (its saturated state holds as much water as the air or more) cools sensibly only.
    if (batteria_asciutta(x1, tb, a)) return {t2, x1};
    return {t2, x1 - (1.0 - bf) * (x1 - umidita_saturazione(tb, a))};
}

bool batteria_asciutta(double x1, double tb, Aria a) {
    return umidita_saturazione(tb, a) >= x1;
}

double temperatura_a_entalpia(double x, double h, double t, Aria a) {
    // The window [t − 40, t] with a floor at 0 °C may not contain the enthalpy sought; then the tolerance is
    // never met. 200 halvings are far more than the 40 °C window needs to reach double precision, so the cap
    // only ends searches that cannot succeed, returning the last temperature tried.
    constexpr int cap = 200;
    double hi = t, lo = t - 40.0, mid = t;
    for (int n = 0; n < cap; ++n) {
        mid = (hi + lo) / 2.0;
        if (mid < 0.0) mid = 0.0;
        const double hm = entalpia(x, mid, a);
        double& estremo = hm >= h ? hi : lo;
        const bool ripete = fermo(estremo, mid);
        estremo = mid;
        if (std::fabs(hm - h) < 0.05 || ripete) break;
    }
    return mid;
}

Stato umidifica_fino_a_retta(int medium, double t0, double x0, double tm, double a, double b, Aria aria) {
    const double k = medium == 0 ? 4.186 * tm * 0.05 / 1000.0 : 0.001 * 0.05 * entalpia_vapore(tm, aria);
    double t = t0, x = x0, h = entalpia(x0, t0, aria);
    Stato r{t0, x0};
    int n = 0;
    for (;;) {
        h += k;
        ++n;
        x += 0.05;
        t = temperatura_a_entalpia(x, h, t, aria);
        const double xl = (a * t + b) * 1000.0;
        r = {t, x};
        if (n > 100 || std::fabs(xl - x) <= 0.1) break;
    }
    return r;
}

} // namespace ondix
