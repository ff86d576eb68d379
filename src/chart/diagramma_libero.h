// The working chart drawn: the chart without a process (frame, layers, saturation curve), then every state as a
// labelled mark and every process as a line in its kind's colour over them, fog with a dashed line to its
// equilibrium.
#pragma once

#include "chart/diagramma.h"
#include "core/diagramma_libero.h"

#include <optional>

namespace ondix {

// How a process of each kind is drawn: its pen (Plotter::penna), and dashed or not.
struct StileTrasformazione {
    std::uint16_t penna;
    Tratteggio tratteggio;
};
// A sensible process heats (red) or cools (blue) by the sign of its enthalpy change `dh`.
StileTrasformazione stile_trasformazione(TipoTrasformazione t, double dh = 0.0);

// The chart of `d` over the ranges `r`, on the plotter's current output, in the chart's air. Leaves the mapping flag
// on.
void disegna_diagramma_libero(Plotter& p, const DiagrammaLibero& d, const IntervalliGrafico& r);

// The options for a print or an export of a working chart in the air `aria`: the title line ("DIAGRAMMA LIBERO -
// 101335 Pa") when some layer is on or a model was chosen.
OpzioniGrafico con_titolo_libero(OpzioniGrafico o, Aria aria);

// The drawing procedure of `d`: over `fissi` when given (a drag keeps the chart still under the mouse), else over
// intervalli_diagramma at each drawing. The chart must outlive the procedure.
ProceduraDisegno procedura_diagramma_libero(const DiagrammaLibero& d,
                                            std::optional<IntervalliGrafico> fissi = std::nullopt);

} // namespace ondix
