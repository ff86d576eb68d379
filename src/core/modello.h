// A model of moist air: the saturation pressure of water vapour and the properties built on it. The engineering
// correlations of aria_umida.h are the program's own and need no object (an Aria without a model uses them); a
// model chosen explicitly is an implementation of this interface, carried by the Aria of the calculation, so that
// every function taking an Aria follows it without naming it.
#pragma once

#include "core/esito.h"

#include <optional>
#include <string_view>

namespace ondix {

// Units as everywhere in the program: °C, %, g/kg of dry air, kJ/kg of dry air, m³/kg of dry air, Pa.
class ModelloAria {
public:
    virtual ~ModelloAria() = default;

    // The name reports, the JSON and the chart title show ("ASHRAE").
    virtual std::string_view nome() const = 0;
    // The word that chooses the model on the command line ("ashrae").
    virtual std::string_view chiave() const = 0;

    // Saturation pressure of water vapour at t, Pa (over ice where the model says so).
    virtual double pressione_saturazione(double t) const = 0;
    // Temperature, °C, at which the saturation pressure is ps (the dew or frost point of vapour at ps); nullopt
    // outside the model's equations.
    virtual std::optional<double> temperatura_saturazione(double ps) const = 0;
    // Partial pressure of the vapour in air of humidity ratio x, Pa.
    virtual double pressione_vapore(double x, double P) const = 0;
    virtual double umidita_specifica(double ur, double t, double P) const = 0;
    virtual double umidita_relativa(double x, double t, double P) const = 0;
    virtual double umidita_saturazione(double t, double P) const = 0;
    virtual double entalpia(double x, double t) const = 0;
    virtual double volume_specifico(double t, double x, double P) const = 0;
    // Enthalpy of water vapour at t, kJ/kg of vapour (steam added to the air brings it).
    virtual double entalpia_vapore(double t) const = 0;
    // entalpia solved for x at (t, h), and for t at (x, h).
    virtual double x_da_t_h(double t, double h) const = 0;
    virtual double t_da_x_h(double x, double h) const = 0;
    // Wet bulb, °C, of air at (x, t) as the model defines it.
    virtual double bulbo_umido(double x, double t, double P) const = 0;
    // Humidity ratio, g/kg, of air at t whose wet bulb is tbu: the inverse of bulbo_umido in x.
    virtual double x_da_bulbo(double t, double tbu, double P) const = 0;
    // Whether the model's equations hold at t (°C) and P (Pa); the refusal's text is Italian, ready to show.
    virtual Fatto nel_campo(double t, double P) const = 0;
    // The dry bulbs the model holds over, °C.
    virtual double t_minima() const = 0;
    virtual double t_massima() const = 0;
};

// The model a command-line word names ("ashrae"), or nullptr for an unknown word.
const ModelloAria* modello_da_chiave(std::string_view chiave);

} // namespace ondix
