#include "chart/nuvola.h"

#include "chart/diagramma.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace ondix {

namespace {

constexpr double cella_t = 0.5;  // °C
constexpr double cella_x = 0.25; // g/kg
constexpr Rgb chiaro{253, 174, 97};
constexpr Rgb scuro{128, 0, 38};

} // namespace

IntervalliGrafico intervalli_nuvola(const std::vector<PuntoNuvola>& punti) {
    IntervalliGrafico r{-5.0, 50.0, 0.0, 30.0};
    for (const PuntoNuvola& q : punti) {
        if (!std::isfinite(q.t) || !std::isfinite(q.x)) continue;
        r.tmin = std::min(r.tmin, q.t);
        r.tmax = std::max(r.tmax, q.t);
        r.xmin = std::min(r.xmin, q.x);
        r.xmax = std::max(r.xmax, q.x);
    }
    return r;
}

Rgb colore_densita(int n, int massimo) {
    const double f = massimo > 1 ? std::sqrt(static_cast<double>(n - 1) / static_cast<double>(massimo - 1)) : 0.0;
    const auto mescola = [f](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround(a + (static_cast<double>(b) - a) * std::clamp(f, 0.0, 1.0)));
    };
    return {mescola(chiaro.r, scuro.r), mescola(chiaro.g, scuro.g), mescola(chiaro.b, scuro.b)};
}

void diagramma_nuvola(Plotter& p, const std::vector<PuntoNuvola>& punti, Aria aria) {
    const IntervalliGrafico r = intervalli_nuvola(punti);
    // The chart of a calculation without points: frame, layers, saturation curve.
    diagramma(p, r.tmin, r.tmax, r.xmin, r.xmax, TabellaPunti{}, 0, aria);
    p.imposta_mappatura(true);

    // Points per cell of a grid over the ranges.
    const auto colonne = static_cast<std::size_t>(std::ceil((r.tmax - r.tmin) / cella_t)) + 1;
    const auto righe = static_cast<std::size_t>(std::ceil((r.xmax - r.xmin) / cella_x)) + 1;
    std::vector<int> conteggi(colonne * righe, 0);
    std::vector<std::size_t> cella(punti.size(), SIZE_MAX);
    for (std::size_t i = 0; i < punti.size(); ++i) {
        const PuntoNuvola& q = punti[i];
        if (!std::isfinite(q.t) || !std::isfinite(q.x)) continue;
        const auto c = static_cast<std::size_t>((q.t - r.tmin) / cella_t);
        const auto k = static_cast<std::size_t>((q.x - r.xmin) / cella_x);
        cella[i] = std::min(k, righe - 1) * colonne + std::min(c, colonne - 1);
        ++conteggi[cella[i]];
    }
    // A dot's crowd: the points of its cell and of the eight around it, so that the shading runs smoothly.
    std::vector<int> folla(conteggi.size(), 0);
    for (std::size_t k = 0; k < righe; ++k)
        for (std::size_t c = 0; c < colonne; ++c) {
            int n = 0;
            for (std::size_t kk = k > 0 ? k - 1 : 0; kk <= std::min(k + 1, righe - 1); ++kk)
                for (std::size_t cc = c > 0 ? c - 1 : 0; cc <= std::min(c + 1, colonne - 1); ++cc)
                    n += conteggi[kk * colonne + cc];
            folla[k * colonne + c] = n;
        }
    conteggi.swap(folla);
    const int massimo = conteggi.empty() ? 1 : std::max(1, *std::max_element(conteggi.begin(), conteggi.end()));
    // Light dots first, so that the crowded ones stay visible on top.
    std::vector<std::size_t> ordine(punti.size());
    std::iota(ordine.begin(), ordine.end(), std::size_t{0});
    ordine.erase(std::remove_if(ordine.begin(), ordine.end(), [&](std::size_t i) { return cella[i] == SIZE_MAX; }),
                 ordine.end());
    std::stable_sort(ordine.begin(), ordine.end(),
                     [&](std::size_t a, std::size_t b) { return conteggi[cella[a]] < conteggi[cella[b]]; });
    // Half a character wide: 3 pixels on the screen, in proportion on a printed page.
    const int lato = std::max(2, static_cast<int>(std::lround(p.cw() / 2.0)));
    for (const std::size_t i : ordine)
        p.quadratino(punti[i].t, punti[i].x, lato, colore_densita(conteggi[cella[i]], massimo));
}

} // namespace ondix
