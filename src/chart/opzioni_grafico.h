// The layers a chart may carry beyond the plain drawing, as one plain value that the window, the printer and the
// command line fill alike. Every layer off (the default) is the plain chart. The pressure is not among them: the
// chart is drawn for the calculation's air, which `diagramma` receives and records on the plotter.
#pragma once

#include "core/aria_umida.h"
#include "core/comfort.h"
#include "core/esito.h"

#include <optional>
#include <string>
#include <string_view>

namespace ondix {

class ModelloAria;

// The families of isolines.
enum class Famiglia { umidita_relativa, entalpia, bulbo_umido, volume_specifico };
inline constexpr Famiglia famiglie[] = {Famiglia::umidita_relativa, Famiglia::entalpia, Famiglia::bulbo_umido,
                                        Famiglia::volume_specifico};

// The comfort zone a chart shades: where |PMV| stays within `limite` for the occupants, the radiant temperature
// equal to the air's.
struct ZonaComfort {
    Occupanti occupanti;
    double limite = 0.5;
    friend bool operator==(const ZonaComfort&, const ZonaComfort&) = default;
};

struct OpzioniGrafico {
    bool umidita_relativa = false; // relative humidity 10 … 90 %
    bool entalpia = false;         // enthalpy every 10 kJ/kg
    bool bulbo_umido = false;      // wet bulb every 5 °C
    bool volume_specifico = false; // specific volume every 0.01 or 0.02 m³/kg
    bool mollier = false;          // humidity ratio across, temperature upward
    std::string titolo;            // a title line above the legend; empty: none
    // The comfort zone, shaded under the process; none: not drawn.
    std::optional<ZonaComfort> comfort;

    bool famiglia(Famiglia f) const;
    void imposta_famiglia(Famiglia f, bool on);
    // Some family of isolines is on.
    bool isolinee() const;
    // Some layer is on (a family, the Mollier view or the comfort zone).
    bool qualcuno() const;
    friend bool operator==(const OpzioniGrafico&, const OpzioniGrafico&) = default;
};

// The short name of a family as the command line and the settings spell it: "ur", "h", "tbu", "v".
std::string_view nome_famiglia(Famiglia f);

// Turns on the families of `lista`: names separated by commas ("ur,h,tbu,v"), or "tutte". Fails (Causa::dati)
// naming what was not understood, and then `o` is left as it was.
Fatto leggi_isolinee(std::string_view lista, OpzioniGrafico& o);

// The options for a print or an export of a chart of process kind `tipo_processo` drawn for the air `aria`: with the
// title line (its pressure, and its model when one was chosen) when some layer is on or a model was chosen, as they
// are otherwise.
OpzioniGrafico con_titolo(OpzioniGrafico o, int tipo_processo, Aria aria);

// The title line of an exported or printed chart: the process's name and the pressure, e.g.
// "CICLO ESTIVO - 101335 Pa", and with a model chosen explicitly its name after it ("... - 101335 Pa - ASHRAE").
std::string riga_titolo(int tipo_processo, double pressione, const ModelloAria* modello = nullptr);

} // namespace ondix
