// The JSON form of a headless calculation's outcome.
#pragma once

#include "cli/esecuzione.h"

#include <string>

namespace ondix {

// {"processo", "titolo", "rapporto", "messaggi", "punti", "vista", "codice_grafico", "errore"} on one line, then
// "t_rugiada" when the calculation reported a dew point and "nebbia" when it reported supersaturated states.
std::string esito_json(const EsitoCalcolo& e);

} // namespace ondix
