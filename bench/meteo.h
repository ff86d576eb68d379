// Hourly weather of a temperate site for the batch benchmarks: a yearly and a daily swing of temperature, the
// relative humidity moving against it.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace meteo {

struct Ora {
    double giorno, ora, t, ur;
};

inline Ora ora(std::int64_t i) {
    const double pi = 3.141592653589793;
    const double h = static_cast<double>(i % 24);
    const double g = static_cast<double>((i / 24) % 365);
    const double t = 12.0 - 10.0 * std::cos(2 * pi * (g - 15) / 365) - 4.0 * std::cos(2 * pi * (h - 4) / 24);
    const double ur = 70.0 + 20.0 * std::cos(2 * pi * (h - 4) / 24) - 0.5 * (t - 12.0);
    return {g, h, t, std::fmin(100.0, std::fmax(1.0, ur))};
}

// The rows as the batch command reads them: "data;ora;t;ur", t with one decimal, ur with none.
inline std::string csv(std::int64_t righe) {
    std::string s = "data;ora;t;ur\n";
    s.reserve(static_cast<std::size_t>(righe) * 32);
    for (std::int64_t i = 0; i < righe; ++i) {
        const Ora o = ora(i);
        char riga[64];
        const int n = std::snprintf(riga, sizeof riga, "%03d;%02d:00;%.1f;%.0f\n", static_cast<int>(o.giorno),
                                    static_cast<int>(o.ora), o.t, o.ur);
        s.append(riga, static_cast<std::size_t>(n));
    }
    return s;
}

// The same rows as numbers, rounded as the text has them.
inline std::vector<Ora> stati(std::int64_t righe) {
    std::vector<Ora> r;
    r.reserve(static_cast<std::size_t>(righe));
    for (std::int64_t i = 0; i < righe; ++i) {
        Ora o = ora(i);
        o.t = std::round(o.t * 10.0) / 10.0;
        o.ur = std::round(o.ur);
        r.push_back(o);
    }
    return r;
}

} // namespace meteo
