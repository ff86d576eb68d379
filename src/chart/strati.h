// The layers drawn between the chart's frame and its saturation curve: isolines with their labels, clipped to
// the plotting area, and a legend with the title line. The process is drawn over them afterwards.
#pragma once

#include "chart/plotter.h"
#include "core/punti_grafico.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace ondix {

// How a family of isolines is drawn and named in the legend.
struct StileFamiglia {
    Rgb colore;
    Tratteggio tratteggio;
    const char* nome; // legend text, e.g. "umidita relativa [%]"
};
StileFamiglia stile_famiglia(Famiglia f);

// What the layers keep clear of: the process's marks with their labels (world units, in drawing order) and the
// process lines, each joining two marks (their positions in `segni`).
struct IngombroProcesso {
    struct Segno {
        double t, x;
        std::string etichetta;
    };
    std::vector<Segno> segni;
    std::vector<std::pair<std::size_t, std::size_t>> linee;
};
// The marks of the table's entries in use, in entry order, and the lines joining the entry pairs `linee`.
IngombroProcesso ingombro_tabella(const TabellaPunti& punti, const std::vector<std::pair<int, int>>& linee = {});

// The layers of the plotter's options, on its current output, after the frame (the window must be set). Nothing
// with every layer off; the canvas state and the pen position are as they were afterwards. The legend's box is
// recorded as occupied on the plotter. The isolines' labels keep clear of the marks and, where a place along the line
// allows it, of the process lines.
void disegna_strati(Plotter& p, const IngombroProcesso& ingombro);
// The same for the entries of a chart table and the process lines joining the entry pairs `linee`.
void disegna_strati(Plotter& p, const TabellaPunti& punti, const std::vector<std::pair<int, int>>& linee = {});

// The comfort zone of the plotter's options, shaded lightly and labelled, clipped to the plotting area, at the
// pressure of the plotter's air (the window must be set). Nothing without the zone; the canvas state and the pen
// position are as they were afterwards.
void disegna_zona_comfort(Plotter& p);

// The plotting area of the current window, canvas pixels.
RiquadroPixel area_grafico(const Plotter& p);

// Clips the segment (x1, y1)–(x2, y2) to the rectangle xa … xb × ya … yb; false when nothing of it is inside.
bool ritaglia(double& x1, double& y1, double& x2, double& y2, double xa, double ya, double xb, double yb);

// Canvas pixels that the process and the saturation curve pass through, inside the plotting area: the marks,
// points along the segments between any two of them, and the curve. A box laid over the chart avoids them.
std::vector<std::pair<int, int>> punti_processo(const Plotter& p, const TabellaPunti& punti);
std::vector<std::pair<int, int>> punti_processo(const Plotter& p, const IngombroProcesso& ingombro);

// The four corners of the plotting area for a box of `larghezza` × `altezza` pixels, best first: clear of every
// box of `riquadri`, then over the fewest of `punti`, then the corner beyond the saturation curve first (top-left,
// or bottom-right with swapped axes), then the others clockwise. The boxes keep `margine` pixels from the edges.
std::vector<RiquadroPixel> angoli_liberi(const RiquadroPixel& area, int larghezza, int altezza,
                                         const std::vector<std::pair<int, int>>& punti,
                                         const std::vector<RiquadroPixel>& riquadri, bool assi_scambiati = false,
                                         int margine = 10);

} // namespace ondix
