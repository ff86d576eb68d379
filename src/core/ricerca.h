// The bisection the solvers share: a bracket halved on a condition that turns from false to true inside it.
#pragma once

namespace ondix {

// The bracket a bisection ends with: the condition false at lo, true at hi.
struct Intervallo {
    double lo, hi;
    double medio() const { return lo + (hi - lo) / 2.0; }
};

// Halves [lo, hi] on `sopra` while the bracket is wider than `tolleranza`, at most `passi` times and no further than
// doubles can split it; the caller makes sure that `sopra` is false at lo and true at hi.
template <class F> Intervallo biseca(double lo, double hi, double tolleranza, F sopra, int passi = 200) {
    for (int n = 0; n < passi && hi - lo > tolleranza; ++n) {
        const double mid = lo + (hi - lo) / 2.0;
        if (!(mid > lo && mid < hi)) break;
        (sopra(mid) ? hi : lo) = mid;
    }
    return {lo, hi};
}

} // namespace ondix
