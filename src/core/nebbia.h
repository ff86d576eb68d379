// Supersaturated air (fog): a state holding more water than saturated air at its temperature, and the saturated
// state of equal enthalpy it settles to, with the rest of its water as liquid.
#pragma once

#include "core/aria_umida.h"

#include <optional>
#include <string>

namespace ondix {

// True when the relative humidity ur (%) is above saturation by more than the report can show: it prints above
// "100,0" with one decimal, that is ur > 100.05. Smaller excesses are the rounding of the solvers, not fog.
bool sovrasaturo(double ur);

// Saturated air of the same enthalpy as a supersaturated state.
struct EquilibrioNebbia {
    double t;     // °C
    double x;     // saturation humidity ratio at t, g/kg
    double acqua; // liquid water, g/kg of dry air: the state's humidity ratio minus x
};

// The equilibrium of supersaturated air at t (°C) and x (g/kg): the temperature where saturated air has the
// enthalpy of (x, t), searched from t up to 95 °C (or 1 K below the boiling point where water boils below 95 °C)
// to 0.0005 K, in the air `a`. None when it lies beyond that end.
std::optional<EquilibrioNebbia> equilibrio_nebbia(double t, double x, Aria a = {});

// A supersaturated state a calculation reported, kept for machine-readable output.
struct StatoNebbia {
    std::string punto;           // the report block's title, without surrounding blanks
    double t = 0, x = 0, ur = 0; // the state as reported: °C, g/kg, %
    std::optional<EquilibrioNebbia> equilibrio;
    std::optional<double> portata; // mass flow of dry air through the state, kg/h, when known
};

} // namespace ondix
