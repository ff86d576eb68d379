// The reference model of moist air: the equations of the ASHRAE Handbook—Fundamentals, chapter 1 (saturation
// pressure by Hyland and Wexler over ice and over liquid water, ideal-gas mixing, the thermodynamic wet bulb with
// an ice bulb below 0 °C), for users who check their numbers against its tables.
#pragma once

#include "core/modello.h"

namespace ondix {

// Where the model is used: dry bulbs and total pressures its equations and tables cover.
inline constexpr double t_minima_ashrae = -60.0;             // °C
inline constexpr double t_massima_ashrae = 150.0;            // °C
inline constexpr double pressione_minima_ashrae = 30000.0;   // Pa
inline constexpr double pressione_massima_ashrae = 120000.0; // Pa

// The one instance; an Aria carries a pointer to it.
const ModelloAria& modello_ashrae();

} // namespace ondix
