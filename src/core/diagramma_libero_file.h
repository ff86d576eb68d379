// The working chart's part of a calculation file: its states and processes under "stati" and "trasformazioni",
// states named and processes pointing at them by name. Used by the calculation file's reader and writer only.
#pragma once

#include "core/diagramma_libero.h"
#include "core/esito.h"

#include <nlohmann/json.hpp>

#include <string_view>

namespace ondix {

// The word of "processo" that marks a calculation file as a working chart.
inline constexpr std::string_view processo_diagramma = "diagramma";

// Adds "stati" and "trasformazioni" to `j`: a placed state as {"nome", "t", "x"}, a typed one with its two
// quantities by their names (as `ondix-calc stato` takes them), a process's outlet with its name only; a process
// with "tipo", its states ("da", "con" or "a", "uscita"), its parameters, "portata" and "obiettivo" when given.
void scrivi_definizione_diagramma(const DefinizioneDiagramma& d, nlohmann::ordered_json& j);

// The chart of `j` ("stati" and "trasformazioni"); the reason (Causa::dati, Italian, naming the state or process)
// when a key is unknown or missing, a value is not a number, a name is repeated or missing, a process points at a
// state that does not come before it.
Esito<DefinizioneDiagramma> leggi_definizione_diagramma(const nlohmann::ordered_json& j);

} // namespace ondix
