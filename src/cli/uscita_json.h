// The JSON form of a headless calculation's outcome.
#pragma once

#include "cli/esecuzione.h"
#include "cli/opzioni.h"
#include "core/comfort.h"
#include "core/stato_aria.h"

#include <string>

namespace ondix {

// Version of the JSON's layout, its first key: raised when a key changes its meaning or goes away.
inline constexpr int versione_formato_json = 1;

// A room state judged by the comfort model: the outcome, what --comfort asked, and the mean radiant temperature the
// judgement used (°C: the one given, or the air's).
struct GiudizioComfort {
    Comfort esito;
    RichiestaComfort richiesta;
    double tr = 0;
};

// {"versione_formato", "processo", "titolo", "rapporto", "messaggi", "punti", "vista", "codice_grafico",
// "errore"} on one line, then "t_rugiada" when the calculation reported a dew point, "nebbia" when it reported
// supersaturated states, "impossibile" when it stopped because the inputs admit no possible plant and "pressione"
// (Pa) when it ran at a site pressure, "modello" when a model was chosen, "comfort" when `comfort` judges its room
// state, and last "risultati": the numbers of the report's result lines (flows, powers, water, factors) by name
// and unit.
std::string esito_json(const EsitoCalcolo& e, const GiudizioComfort* comfort = nullptr);

// {"t", "ur", "x", "h", "v", "t_bulbo_umido", "t_rugiada", "pressione", "rapporto"} of a state on one line; an
// undefined wet bulb or dew point is null; with `comfort`, "comfort" before "rapporto".
std::string stato_json(const StatoCompleto& s, Aria aria, const std::vector<std::string>& rapporto,
                       const GiudizioComfort* comfort = nullptr);

} // namespace ondix
