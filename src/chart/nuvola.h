// The year on the chart: every state of a batch (an hour of a weather file) as a dot on the psychrometric chart,
// shaded darker where dots pile up.
#pragma once

#include "chart/plotter.h"
#include "core/aria_umida.h"
#include "core/punti_grafico.h"

#include <vector>

namespace ondix {

struct PuntoNuvola {
    double t = 0; // dry bulb, °C
    double x = 0; // humidity ratio, g/kg
};

// The ranges of the standard chart, widened to hold every point.
IntervalliGrafico intervalli_nuvola(const std::vector<PuntoNuvola>& punti);

// Colour of a dot whose neighbourhood holds n dots when the most crowded one holds `massimo` (1 ≤ n ≤ massimo):
// from a light orange for a lone dot to a dark red, on a square-root scale.
Rgb colore_densita(int n, int massimo);

// The chart of a batch: the chart of the air `aria` without process points (frame, the plotter's layers,
// saturation curve) over the ranges of intervalli_nuvola, then every point as a small square shaded by the number of
// points in its cell of 0.5 °C × 0.25 g/kg and the eight cells around it, the most crowded drawn last. Leaves the
// mapping flag on.
void diagramma_nuvola(Plotter& p, const std::vector<PuntoNuvola>& punti, Aria aria = {});

} // namespace ondix
