// The moist-air searches exactly as their stopping rules state them, every halving run to the tolerance or the
// cap: the yardstick that the library's shortened searches must match bit for bit.
#pragma once

#include "core/aria_umida.h"
#include "core/ricerca.h"
#include "core/stato_aria.h"

#include <cmath>
#include <optional>

namespace ondix::piane {

// The solvers of the state tool with the correlations: a bisection of [−100, 200] °C to 1e-10 K on the condition.
template <class F> double biseca_t(F sopra) {
    return biseca(-100.0, 200.0, 1e-10, sopra).medio();
}

inline std::optional<double> temperatura_saturazione(double ps, Aria a = {}) {
    if (!(ps >= pressione_saturazione(-100.0) && ps <= pressione_saturazione(200.0))) return std::nullopt;
    return biseca_t([&](double t) { return pressione_saturazione(t, a) > ps; });
}

inline std::optional<double> rugiada_da_x(double x, Aria a = {}) {
    if (!(x > 0) || !std::isfinite(x)) return std::nullopt;
    const double xk = x / 1000.0;
    return piane::temperatura_saturazione(a.pressione * xk / (0.622 + xk), a);
}

inline std::optional<double> bulbo_umido_da_h(double h, Aria a = {}) {
    const auto hs = [&](double t) { return entalpia(umidita_saturazione(t, a), t, a); };
    if (!std::isfinite(h) || hs(-100.0) > h) return std::nullopt;
    const auto sopra = [&](double t) { return pressione_saturazione(t, a) >= a.pressione || hs(t) > h; };
    if (!sopra(200.0)) return std::nullopt;
    return biseca_t(sopra);
}

inline std::optional<double> temperatura_rugiada(double ur, double t, Aria a = {}) {
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
    if (!(x < umidita_saturazione(-10.0, a))) return std::nullopt;
    return piane::rugiada_da_x(x, a);
}

inline double temperatura_bulbo_umido(double x, double t, Aria a = {}) {
    const double H = entalpia(x, t);
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
    // Not met within [−10, t]: the continuation below −10 °C.
    if (t >= -10.0 && std::fabs(hs - H) < 0.1) return mid;
    if (t <= 100.0 && pressione_saturazione(t) < a.pressione)
        if (const std::optional<double> r = piane::bulbo_umido_da_h(H, a)) return *r;
    return mid;
}

inline Stato umidificazione_adiabatica(double t1, double ur1, double tw, double eff) {
    const double x1 = umidita_specifica(ur1, t1);
    if (eff == 0.0 || x1 > umidita_saturazione(t1)) return {t1, x1};
    const double h1 = entalpia(x1, t1);
    double lo = 0.0, hi = t1 + 20.0, mid = 0.0, hs = 0.0, d = 0.0;
    for (int n = 1;; ++n) {
        mid = (lo + hi) / 2.0;
        const double xs = umidita_saturazione(mid);
        hs = entalpia(xs, mid);
        d = hs - (h1 + (xs - x1) * 0.004186 * tw);
        if (d > 0)
            hi = mid;
        else
            lo = mid;
        if (std::fabs(d) < 0.001 || n > 30) break;
    }
    if (!(std::fabs(d) < 0.001)) {
        // The saturation temperature below the bracket: down to −100 °C, to 1e-10 K.
        lo = -100.0;
        hi = t1;
        for (int k = 0; k < 200 && hi - lo > 1e-10; ++k) {
            mid = lo + (hi - lo) / 2.0;
            const double xs = umidita_saturazione(mid);
            if (entalpia(xs, mid) - (h1 + (xs - x1) * 0.004186 * tw) > 0)
                hi = mid;
            else
                lo = mid;
        }
        mid = lo + (hi - lo) / 2.0;
        hs = entalpia(umidita_saturazione(mid), mid);
    }
    const double t2 = t1 - (t1 - mid) * eff / 100.0;
    double xlo = x1, xhi = umidita_saturazione(mid), xm = 0.0;
    for (int n = 1;; ++n) {
        xm = (xlo + xhi) / 2.0;
        const double hm = entalpia(xm, t2);
        if (hm >= hs)
            xhi = xm;
        else
            xlo = xm;
        if (std::fabs(hs - hm) < 0.001 || n > 60) break;
    }
    return {t2, std::fmax(xm, x1)};
}

inline Stato umidificazione_vapore(double t1, double x1, double tv, double x2) {
    const double dx = x2 - x1;
    const double h1 = entalpia(x1, t1);
    const double hv = (1.926 * tv + 2490.0) * dx / 1000.0;
    double lo = t1, hi = t1 + 30.0, mid = 0.0;
    for (int n = 1;; ++n) {
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

inline double temperatura_a_entalpia(double x, double h, double t) {
    double hi = t, lo = t - 40.0, mid = t;
    for (int n = 0; n < 200; ++n) {
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

} // namespace ondix::piane
