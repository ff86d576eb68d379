// The psychrometric chart: frame, saturation curve, and the process overlay (the chart points as labelled circles
// joined by the lines the overlay code selects), drawn through the plotter.
#pragma once

#include "chart/plotter.h"
#include "chart/strati.h"
#include "core/calcolo.h"
#include "core/punti_grafico.h"

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace ondix {

// The whole chart for the world rectangle tmin … tmax °C × xmin … xmax g/kg (the frame widens it), on the
// plotter's current output, with the saturation curve of the air `aria`. Leaves the mapping flag on and the last
// pen selected.
void diagramma(Plotter& p, double tmin, double tmax, double xmin, double xmax, const TabellaPunti& punti,
               std::uint8_t codice_grafico, Aria aria = {});

// The chart without a process: frame, comfort zone, the plotter's layers (their labels clear of `ingombro`) and the
// saturation curve of the air `aria`, for the world rectangle tmin … tmax °C × xmin … xmax g/kg. Leaves the mapping
// flag on, ready for a process drawn over it in world units.
void fondo_diagramma(Plotter& p, double tmin, double tmax, double xmin, double xmax, const IngombroProcesso& ingombro,
                     Aria aria = {});

// The overlay: a mark for every entry in use, then the process lines of `codice_grafico`.
void disegna_processo(Plotter& p, const TabellaPunti& punti, std::uint8_t codice_grafico);
// The pairs of entries that the process lines of `codice_grafico` join, in drawing order (empty entries left out).
std::vector<std::pair<int, int>> linee_processo(const TabellaPunti& punti, std::uint8_t codice_grafico);

// The four chart views: each takes its ranges from the table as it is now and draws the chart.
void diagramma_standard(Plotter& p, const TabellaPunti& punti, std::uint8_t codice_grafico, Aria aria = {});
void diagramma_verifica(Plotter& p, const TabellaPunti& punti, std::uint8_t codice_grafico, Aria aria = {});
void diagramma_invernale(Plotter& p, const TabellaPunti& punti, std::uint8_t codice_grafico, Aria aria = {});
void diagramma_punto(Plotter& p, const TabellaPunti& punti, std::uint8_t codice_grafico, Aria aria = {});
// The procedure of view `v`.
void disegna_vista(Plotter& p, VistaGrafico v, const TabellaPunti& punti, std::uint8_t codice_grafico, Aria aria = {});

// A drawing procedure as the chart window keeps it: draws a whole chart on the plotter's current output.
using ProceduraDisegno = std::function<void(Plotter&)>;
// The procedure of view `v` over the context: it reads the table, the overlay code and the air when it draws, so
// it always shows the last calculation. The context must outlive the procedure.
ProceduraDisegno procedura_vista(VistaGrafico v, const Contesto& ctx);

// One drawing on the plotter's current output: the procedure (if any), then mapping off and the drawing closed.
void ridisegna(Plotter& p, const ProceduraDisegno& procedura);

} // namespace ondix
