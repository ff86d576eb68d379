// The yardstick for the property functions: the correlations and the two searches written out bare, at the fixed
// pressure, with nothing around them (no branch below −10 °C, no early exit).
#pragma once

#include <cmath>

namespace kernel {

inline constexpr double P = 101335.0;

inline double ps(double t) {
    const double T = t + 10.0;
    return 9.81 * (25.96529 + 2.595377 * T + 0.085580442 * T * T + 0.00068916518 * T * T * T +
                   0.0000476601456 * T * T * T * T);
}
inline double x(double ur, double t) {
    const double phi = ur / 100.0;
    return 1000.0 * 0.622 * phi / (P / ps(t) - phi);
}
inline double ur(double x, double t) {
    const double xk = x / 1000.0;
    return 100.0 * xk * P / (ps(t) * (0.622 + xk));
}
inline double xs(double t) {
    const double p = ps(t);
    return 622.0 * p / (P - p);
}
inline double h(double x, double t) {
    return 1.004 * t + (1.926 * t + 2490.0) * x / 1000.0;
}
inline double v(double t, double x) {
    return 287.0 * (t + 273.0) / (P - ur(x, t) * ps(t) / 100.0);
}

inline double rugiada(double ur, double t) {
    const double xt = x(ur, t);
    double lo = -10.0, hi = t, mid = 0.0, s = 0.0;
    int n = 0;
    do {
        ++n;
        mid = (lo + hi) / 2.0;
        s = xs(mid);
        if (s > xt)
            hi = mid;
        else
            lo = mid;
    } while (!(std::fabs(xt - s) < 0.01 || n > 100));
    return n > 100 ? 0.0 : mid;
}

inline double bulbo_umido(double x, double t) {
    const double H = h(x, t);
    double lo = -10.0, hi = t, mid = 0.0, hs = 0.0;
    int n = 0;
    do {
        ++n;
        mid = (lo + hi) / 2.0;
        hs = h(xs(mid), mid);
        if (hs > H)
            hi = mid;
        else
            lo = mid;
    } while (!(n > 300 || std::fabs(hs - H) < 0.1));
    return mid;
}

} // namespace kernel
