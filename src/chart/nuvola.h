// The year on the chart: every state of a batch (an hour of a weather file) as a dot on the psychrometric chart,
// shaded darker where dots pile up.
#pragma once

#include "chart/plotter.h"
#include "core/aria_umida.h"
#include "core/punti_grafico.h"

#include <cstddef>
#include <initializer_list>
#include <vector>

namespace ondix {

struct PuntoNuvola {
    double t = 0; // dry bulb, °C
    double x = 0; // humidity ratio, g/kg
};

// The points of a batch, gathered in blocks of a fixed size: millions of them take their 16 bytes each and a block
// at most besides, never the double of a growing array that moves them all to a larger one. Header only: the
// command gathers them also in a build without the chart.
class PuntiNuvola {
public:
    PuntiNuvola() = default;
    PuntiNuvola(std::initializer_list<PuntoNuvola> punti) {
        for (const PuntoNuvola& q : punti)
            push_back(q);
    }
    void push_back(PuntoNuvola p) {
        if (m_n % per_blocco == 0) {
            m_blocchi.emplace_back();
            m_blocchi.back().reserve(per_blocco);
        }
        m_blocchi.back().push_back(p);
        ++m_n;
    }
    std::size_t size() const { return m_n; }
    const PuntoNuvola& operator[](std::size_t i) const { return m_blocchi[i / per_blocco][i % per_blocco]; }

private:
    static constexpr std::size_t per_blocco = std::size_t{1} << 16; // 1 MB
    std::vector<std::vector<PuntoNuvola>> m_blocchi;
    std::size_t m_n = 0;
};

// The ranges of the standard chart, widened to hold every point.
IntervalliGrafico intervalli_nuvola(const PuntiNuvola& punti);

// Colour of a dot whose neighbourhood holds n dots when the most crowded one holds `massimo` (1 ≤ n ≤ massimo):
// from a light orange for a lone dot to a dark red, on a square-root scale.
Rgb colore_densita(int n, int massimo);

// The chart of a batch: the chart of the air `aria` without process points (frame, the plotter's layers,
// saturation curve) over the ranges of intervalli_nuvola, then every point as a small square shaded by the number of
// points in its cell of 0.5 °C × 0.25 g/kg and the eight cells around it, the most crowded drawn last (points equally
// crowded in their order). Besides the points it takes a memory that does not grow with them: the cells' counts and
// an ordering buffer of a fixed size, the points being walked once for every buffer's worth. Leaves the mapping flag
// on.
void diagramma_nuvola(Plotter& p, const PuntiNuvola& punti, Aria aria = {});

} // namespace ondix
