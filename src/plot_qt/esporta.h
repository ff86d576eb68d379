// Chart export to an image file (PNG, SVG or PDF by extension).
#pragma once

#include "chart/diagramma.h"
#include "core/calcolo.h"

#include <optional>
#include <string>

namespace ondix {

// Draws the chart of `vista` over the context's table and overlay code into `percorso`, as the chart window
// shows it on a 1024 × 768 screen. Returns nullopt on success, else a message for the user.
std::optional<std::string> esporta_grafico(const Contesto& ctx, std::optional<VistaGrafico> vista,
                                           const std::string& percorso);
// The same for any drawing procedure (a chart that is not a calculation's, such as a weather year's).
std::optional<std::string> esporta_disegno(const ProceduraDisegno& procedura, const std::string& percorso);

} // namespace ondix
