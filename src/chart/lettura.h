// Reading the chart: from a pixel of the drawn chart back to the air state there, and that state (or a chart
// point's) as lines of text for a box painted over the chart.
#pragma once

#include "chart/isolinee.h"
#include "chart/plotter.h"
#include "core/punti_grafico.h"

#include <string>
#include <vector>

namespace ondix {

// How the last drawing placed world units on the canvas; kept by whoever reads positions afterwards.
struct MappaGrafico {
    FinestraPlotter finestra;
    double altezza = 0.0; // the plotter's H, device units
    bool scambio = false; // Mollier view: t upward, x across
    RiquadroPixel area;   // the plotting area, canvas pixels
    Aria aria;            // the air the chart was drawn for

    // The mapping of the plotter's last drawing (its window, extent and axes).
    static MappaGrafico di(const Plotter& p);
    // The world point (t °C, x g/kg) at the centre of canvas pixel (px, py).
    PuntoMondo mondo(int px, int py) const;
    // The canvas position of the world point (t, x), pixels (not truncated).
    void pixel(double t, double x, double& px, double& py) const;
};

// The state at (t °C, x g/kg), one property a line with a decimal comma: t, x, relative humidity, h, wet bulb,
// dew point ("non definita" where the solvers find none), v. Above the saturation curve only t, x and h, then
// "oltre la saturazione". The properties are those of the air `a`.
std::vector<std::string> righe_stato(double t, double x, Aria a = {});
// A chart point: its label, then the lines of its state.
std::vector<std::string> righe_punto(const PuntoGrafico& q, Aria a = {});
// The entry (1–10) in use whose mark is nearest to canvas pixel (px, py) and within `raggio` pixels; 0 for none.
int voce_vicina(const MappaGrafico& m, const TabellaPunti& punti, int px, int py, double raggio);

} // namespace ondix
