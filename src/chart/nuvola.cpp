#include "chart/nuvola.h"

#include "chart/diagramma.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <map>

namespace ondix {

namespace {

constexpr double cella_t = 0.5;  // °C
constexpr double cella_x = 0.25; // g/kg
constexpr Rgb chiaro{253, 174, 97};
constexpr Rgb scuro{128, 0, 38};

} // namespace

IntervalliGrafico intervalli_nuvola(const PuntiNuvola& punti) {
    IntervalliGrafico r{-5.0, 50.0, 0.0, 30.0};
    for (std::size_t i = 0; i < punti.size(); ++i) {
        const PuntoNuvola& q = punti[i];
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

void diagramma_nuvola(Plotter& p, const PuntiNuvola& punti, Aria aria) {
    const IntervalliGrafico r = intervalli_nuvola(punti);
    // The chart of a calculation without points: frame, layers, saturation curve.
    diagramma(p, r.tmin, r.tmax, r.xmin, r.xmax, TabellaPunti{}, 0, aria);
    p.imposta_mappatura(true);

    // Points per cell of a grid over the ranges.
    const auto colonne = static_cast<std::size_t>(std::ceil((r.tmax - r.tmin) / cella_t)) + 1;
    const auto righe = static_cast<std::size_t>(std::ceil((r.xmax - r.xmin) / cella_x)) + 1;
    // The cell of a point; none (SIZE_MAX) for a point not finite.
    const auto cella_di = [&](const PuntoNuvola& q) {
        if (!std::isfinite(q.t) || !std::isfinite(q.x)) return SIZE_MAX;
        const auto c = static_cast<std::size_t>((q.t - r.tmin) / cella_t);
        const auto k = static_cast<std::size_t>((q.x - r.xmin) / cella_x);
        return std::min(k, righe - 1) * colonne + std::min(c, colonne - 1);
    };
    std::vector<std::size_t> conteggi(colonne * righe, 0);
    for (std::size_t i = 0; i < punti.size(); ++i)
        if (const std::size_t c = cella_di(punti[i]); c != SIZE_MAX) ++conteggi[c];
    // A dot's crowd: the points of its cell and of the eight around it, so that the shading runs smoothly.
    std::vector<int> folla(conteggi.size(), 0);
    for (std::size_t k = 0; k < righe; ++k)
        for (std::size_t c = 0; c < colonne; ++c) {
            std::size_t n = 0;
            for (std::size_t kk = k > 0 ? k - 1 : 0; kk <= std::min(k + 1, righe - 1); ++kk)
                for (std::size_t cc = c > 0 ? c - 1 : 0; cc <= std::min(c + 1, colonne - 1); ++cc)
                    n += conteggi[kk * colonne + cc];
            folla[k * colonne + c] = static_cast<int>(n);
        }
    const int massimo = folla.empty() ? 1 : std::max(1, *std::max_element(folla.begin(), folla.end()));
    // The crowds the points have, in increasing order, with how many points have each.
    std::map<int, std::size_t> per_folla;
    for (std::size_t c = 0; c < conteggi.size(); ++c)
        if (conteggi[c] > 0) per_folla[folla[c]] += conteggi[c];
    conteggi = {};

    // Light dots first, so that the crowded ones stay visible on top; equally crowded ones in their order. The crowds
    // are taken in runs whose points fit the buffer: each run walks the points once and places each of its points in
    // the buffer after those of the lower crowds of the run. A crowd larger than the buffer is drawn as it is walked.
    // Half a character wide: 3 pixels on the screen, in proportion on a printed page.
    const int lato = std::max(2, static_cast<int>(std::lround(p.cw() / 2.0)));
    const auto disegna = [&](std::size_t i, int n) {
        p.quadratino(punti[i].t, punti[i].x, lato, colore_densita(n, massimo));
    };
    constexpr std::size_t capienza = std::size_t{1} << 20;
    std::vector<std::size_t> ordine;
    std::vector<int> livelli;           // the crowds of the run
    std::vector<std::size_t> posizioni; // where each crowd's next point goes in the buffer
    for (auto it = per_folla.begin(); it != per_folla.end();) {
        auto fine = std::next(it);
        std::size_t quanti = it->second;
        for (; fine != per_folla.end() && quanti + fine->second <= capienza; ++fine)
            quanti += fine->second;
        if (std::next(it) == fine) {
            for (std::size_t i = 0; i < punti.size(); ++i)
                if (const std::size_t c = cella_di(punti[i]); c != SIZE_MAX && folla[c] == it->first)
                    disegna(i, it->first);
            it = fine;
            continue;
        }
        livelli.clear();
        posizioni.clear();
        for (std::size_t inizio = 0; it != fine; ++it) {
            livelli.push_back(it->first);
            posizioni.push_back(inizio);
            inizio += it->second;
        }
        ordine.resize(quanti);
        for (std::size_t i = 0; i < punti.size(); ++i) {
            const std::size_t c = cella_di(punti[i]);
            if (c == SIZE_MAX || folla[c] < livelli.front() || folla[c] > livelli.back()) continue;
            const auto l = std::lower_bound(livelli.begin(), livelli.end(), folla[c]);
            ordine[posizioni[static_cast<std::size_t>(l - livelli.begin())]++] = i;
        }
        for (const std::size_t i : ordine)
            disegna(i, folla[cella_di(punti[i])]);
    }
}

} // namespace ondix
