// Chart export to an image file (PNG, SVG or PDF by extension).
#pragma once

#include "chart/diagramma.h"
#include "core/calcolo.h"

#include <cstdint>

#include <optional>
#include <string>

namespace ondix {

// Draws the chart of `vista` over the context's table and overlay code into `percorso`, as the chart window
// shows it on a 1024 × 768 screen, with the layers of `opzioni` (and then a title line). Returns nullopt on
// success, else a message for the user.
std::optional<std::string> esporta_grafico(const Contesto& ctx, std::optional<VistaGrafico> vista,
                                           const std::string& percorso, const OpzioniGrafico& opzioni = {});

// Draws `procedura` with the layers of `opzioni` into `percorso` (.png, .svg or .pdf) as a chart window of
// `larghezza` × `altezza` pixels shows it. Returns nullopt on success, else a message for the user.
std::optional<std::string> esporta_disegno(const ProceduraDisegno& procedura, const OpzioniGrafico& opzioni,
                                           std::uint16_t larghezza, std::uint16_t altezza, const std::string& percorso);

} // namespace ondix
