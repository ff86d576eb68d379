// The working chart's part of a calculation file: its states and processes under "stati" and "trasformazioni",
// states named and processes pointing at them by name. Used by the calculation file's reader and writer only.
#pragma once

#include "core/diagramma_libero.h"
#include "core/lettore_json.h"

#include <string_view>

namespace ondix {

// The word of "processo" that marks a calculation file as a working chart.
inline constexpr std::string_view processo_diagramma = "diagramma";

// Adds "stati" and "trasformazioni" to `j`: a placed state as {"nome", "t", "x"}, a typed one with its two
// quantities by their names (as `ondix-calc stato` takes them), a process's outlet with its name only; a process
// with "tipo", its states ("da", "con" or "a", "uscita"), its parameters, "portata" and "obiettivo" when given.
void scrivi_definizione_diagramma(const DefinizioneDiagramma& d, json& j);

// The chart of `j` ("stati" and "trasformazioni"). A key unknown or missing, a value that is not a number, a name
// repeated or missing, a process pointing at a state that does not come before it stop the reading through `l`,
// at the line of the value.
DefinizioneDiagramma leggi_definizione_diagramma(const json& j, const LettoreJson& l);

} // namespace ondix
