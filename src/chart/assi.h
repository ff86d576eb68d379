// The graph frame: ranges widened to 1–2–5 tick steps, axes with arrowheads, ticks and labels drawn through the
// plotter, the plotter window set for drawing in world units, and a sampled curve plotter.
#pragma once

#include "chart/plotter.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ondix {

// The 1–2–5 series from 0.00001 to 100 000 000 (40 values).
inline constexpr double tabella_passi[40] = {
    0.00001, 0.00002, 0.00005, 0.0001, 0.0002, 0.0005, 0.001, 0.002, 0.005, 0.01,  0.02, 0.05, 0.1, 0.2,
    0.5,     1.0,     2.0,     5.0,    10.0,   20.0,   50.0,  100.0, 200.0, 500.0, 1e3,  2e3,  5e3, 1e4,
    2e4,     5e4,     1e5,     2e5,    5e5,    1e6,    2e6,   5e6,   1e7,   2e7,   5e7,  1e8};

// How the frame sits in the plotting area.
struct ImpostazioniAssi {
    int righe_margine_basso = 4;      // character rows under the x axis
    int colonne_margine_sinistro = 9; // character columns left of the y axis
    int margine_sinistro = 1;         // 1 keeps the left margin, 0 drops it
    int righe_extra = 0;              // extra rows under the x axis
};

// Number of intervals a curve is sampled in (200 points).
inline constexpr int intervalli_curva = 199;

struct CampoArrotondato {
    double passo;   // tick step
    double minimo;  // widened lower bound
    double massimo; // widened upper bound
};

// The tick step for the range lo … hi and both bounds moved outward to multiples of it.
CampoArrotondato campo_arrotondato(double lo, double hi);

// Tick label of `valore` on an axis whose tick step is `passo`; right-aligned labels are 8 characters wide.
std::string numero_asse(double valore, bool allineato_destra, double passo);

// Draws the frame for the world rectangle xmin … xmax × ymin … ymax (widened) and sets the plotter window to it.
// The titles are cut to 10 characters. Leaves the mapping flag off.
void assi(Plotter& p, std::string_view titolo_x, std::string_view titolo_y, std::uint16_t penna, double xmin,
          double ymin, double xmax, double ymax, const ImpostazioniAssi& impostazioni = {});

// Draws y = f(x) for x from a to b in 200 samples with pen `penna`, lifting the pen where y leaves the window's
// vertical range (its horizontal range when the plotter's axes are swapped). Uses the window set by `assi`; leaves
// the mapping flag off.
void traccia_funzione(Plotter& p, const std::function<double(double)>& f, std::uint16_t penna, double a, double b);

} // namespace ondix
