#include "core/aria_umida.h"

#include <cmath>

namespace ondix {

namespace {
// Enthalpy of sublimation over the gas constant of water vapour, K: the slope of ln(ps) over ice.
constexpr double sublimazione_su_r = 6141.0;

double polinomio_saturazione(double t) {
    const double T = t + 10.0;
    const double mm = 25.96529 + 2.595377 * T + 0.085580442 * T * T + 0.00068916518 * T * T * T +
                      0.0000476601456 * T * T * T * T;
    return 9.81 * mm;
}
} // namespace

double pressione_saturazione(double t) {
    if (t >= -10.0 || std::isnan(t)) return polinomio_saturazione(t);
    // Below −10 °C the polynomial is not valid (it even rises again below about −25 °C). Continue it with
    // ps = ps(−10) · exp(L/R · (1/263.15 − 1/T)), the over-ice slope, so the curve stays positive and
    // increasing. At and below absolute zero there is no vapour: 0 (the callers then divide by zero, which
    // the calculations report as a floating-point error).
    const double T = t + 273.15;
    if (T <= 0.0) return 0.0;
    return polinomio_saturazione(-10.0) * std::exp(sublimazione_su_r * (1.0 / 263.15 - 1.0 / T));
}

double umidita_specifica(double ur, double t, Aria a) {
    const double phi = ur / 100.0;
    return 1000.0 * 0.622 * phi / (a.pressione / pressione_saturazione(t) - phi);
}

double umidita_relativa(double x, double t, Aria a) {
    const double xk = x / 1000.0;
    return 100.0 * xk * a.pressione / (pressione_saturazione(t) * (0.622 + xk));
}

double umidita_saturazione(double t, Aria a) {
    const double ps = pressione_saturazione(t);
    return 622.0 * ps / (a.pressione - ps);
}

double curva_saturazione(double t, Aria a) { return umidita_specifica(100.0, t, a); }

double entalpia(double x, double t) { return 1.004 * t + (1.926 * t + 2490.0) * x / 1000.0; }

double volume_specifico(double t, double x, Aria a) {
    const double pv = umidita_relativa(x, t, a) * pressione_saturazione(t) / 100.0;
    return 287.0 * (t + 273.0) / (a.pressione - pv);
}

std::optional<double> temperatura_rugiada(double ur, double t, Aria a) {
    const double x = umidita_specifica(ur, t, a);
    double lo = -10.0, hi = t, mid = 0.0, xs = 0.0;
    int n = 0;
    do {
        ++n;
        mid = (lo + hi) / 2.0;
        xs = umidita_saturazione(mid, a);
        if (xs > x)
            hi = mid;
        else
            lo = mid;
    } while (!(std::fabs(x - xs) < 0.01 || n > 100));
    if (n <= 100) return mid;
    // No convergence: the dew point lies below −10 °C (or the air is above saturation). Search it on the
    // continuation of the saturation pressure below −10 °C, as the wet bulb does, down to −100 °C.
    if (!(x < umidita_saturazione(-10.0, a))) return std::nullopt;
    lo = -100.0;
    hi = -10.0;
    if (!(x >= umidita_saturazione(lo, a))) return std::nullopt; // drier than saturated air at −100 °C
    while (hi - lo >= 0.0005) {
        mid = (lo + hi) / 2.0;
        if (umidita_saturazione(mid, a) > x)
            hi = mid;
        else
            lo = mid;
    }
    return (lo + hi) / 2.0;
}

double temperatura_bulbo_umido(double x, double t, Aria a) {
    const double H = entalpia(x, t);
    // The search runs from −10 °C up to the dry bulb. For air colder than −10 °C that interval would be upside
    // down and the result would sit above the dry bulb; there the search starts 10 °C below the dry bulb instead.
    double lo = t < -10.0 ? t - 10.0 : -10.0, hi = t, mid = 0.0, hs = 0.0;
    int n = 0;
    do {
        ++n;
        mid = (lo + hi) / 2.0;
        hs = entalpia(umidita_saturazione(mid, a), mid);
        if (hs > H)
            hi = mid;
        else
            lo = mid;
    } while (!(n > 300 || std::fabs(hs - H) < 0.1));
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
    r.h = entalpia(r.x, r.t);
    r.ur = umidita_relativa(r.x, r.t, a);
    return r;
}

Sensibile trasformazione_sensibile(double t1, double ur1, double m, double t2, Aria a) {
    Sensibile r{};
    r.x = umidita_specifica(ur1, t1, a);
    r.h1 = entalpia(r.x, t1);
    r.h2 = entalpia(r.x, t2);
    r.ur2 = umidita_relativa(r.x, t2, a);
    r.potenza = (r.h2 - r.h1) * m / 3600.0;
    return r;
}

Stato umidificazione_adiabatica(double t1, double ur1, double tw, double eff, Aria a) {
    const double x1 = umidita_specifica(ur1, t1, a);
    const double h1 = entalpia(x1, t1);
    double lo = 0.0, hi = t1 + 20.0, mid = 0.0, hs = 0.0;
    int n = 0;
    for (;;) {
        mid = (lo + hi) / 2.0;
        const double xs = umidita_saturazione(mid, a);
        ++n;
        const double hw = (xs - x1) * 0.004186 * tw;
        hs = entalpia(xs, mid);
        const double d = hs - (h1 + hw);
        if (d > 0)
            hi = mid;
        else
            lo = mid;
        if (std::fabs(d) < 0.001 || n > 30) break;
    }
    const double ts = mid;
    const double t2 = t1 - (t1 - ts) * eff / 100.0;

    double xlo = x1, xhi = umidita_saturazione(ts, a), xm = 0.0;
    n = 0;
    for (;;) {
        xm = (xlo + xhi) / 2.0;
        const double hm = entalpia(xm, t2);
        ++n;
        if (hm >= hs)
            xhi = xm;
        else
            xlo = xm;
        if (std::fabs(hs - hm) < 0.001 || n > 60) break;
    }
    return {t2, xm};
}

Stato umidificazione_vapore(double t1, double x1, double tv, double x2) {
    const double dx = x2 - x1;
    const double h1 = entalpia(x1, t1);
    const double hv = (1.926 * tv + 2490.0) * dx / 1000.0;
    double lo = t1, hi = t1 + 30.0, mid = 0.0;
    int n = 0;
    for (;;) {
        ++n;
        mid = (lo + hi) / 2.0;
        const double d = h1 + hv - entalpia(x1 + dx, mid);
        if (d > 0)
            lo = mid;
        else
            hi = mid;
        if (n >= 100 || std::fabs(d) <= 0.01) break;
    }
    return {mid, x1 + dx};
}

Stato uscita_batteria_bypass(double t1, double x1, double tb, double bf, Aria a) {
    return {t1 - (1.0 - bf) * (t1 - tb), x1 - (1.0 - bf) * (x1 - umidita_saturazione(tb, a))};
}

double temperatura_a_entalpia(double x, double h, double t) {
    // The window [t − 40, t] with a floor at 0 °C may not contain the enthalpy sought; then the tolerance is
    // never met. 200 halvings are far more than the 40 °C window needs to reach double precision, so the cap
    // only ends searches that cannot succeed, returning the last temperature tried.
    constexpr int cap = 200;
    double hi = t, lo = t - 40.0, mid = t;
    for (int n = 0; n < cap; ++n) {
        mid = (hi + lo) / 2.0;
        if (mid < 0.0) mid = 0.0;
        const double hm = entalpia(x, mid);
        if (hm >= h)
            hi = mid;
        else
            lo = mid;
        if (std::fabs(hm - h) < 0.05) break;
    }
    return mid;
}

Stato umidifica_fino_a_retta(int medium, double t0, double x0, double tm, double a, double b) {
    const double k = medium == 0 ? 4.186 * tm * 0.05 / 1000.0 : 0.001 * 0.05 * (1.926 * tm + 2490.0);
    double t = t0, x = x0, h = entalpia(x0, t0);
    Stato r{t0, x0};
    int n = 0;
    for (;;) {
        h += k;
        ++n;
        x += 0.05;
        t = temperatura_a_entalpia(x, h, t);
        const double xl = (a * t + b) * 1000.0;
        r = {t, x};
        if (n > 100 || std::fabs(xl - x) <= 0.1) break;
    }
    return r;
}

} // namespace ondix
