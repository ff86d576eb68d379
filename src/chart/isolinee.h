// The isolines of the psychrometric chart as polylines in world units (°C, g/kg), before any clipping.
#pragma once

#include "chart/opzioni_grafico.h"
#include "core/aria_umida.h"

#include <string>
#include <vector>

namespace ondix {

struct PuntoMondo {
    double t = 0.0; // dry bulb, °C
    double x = 0.0; // humidity ratio, g/kg
};

struct Isolinea {
    Famiglia famiglia = Famiglia::umidita_relativa;
    double valore = 0.0;           // %, kJ/kg, °C or m³/kg
    std::string etichetta;         // "50%", "h 40", "tbu 15", "v 0.84"
    std::vector<PuntoMondo> punti; // in order along the line
};

// The lines of family `f` that may cross the rectangle t ∈ [tmin, tmax] °C × x ∈ [xmin, xmax] g/kg, in the air
// `a`: at its pressure and, when it has a model, by the model's relations (and wet bulb). Relative humidity
// 10 … 90 % runs across the whole temperature range; enthalpy (every 10 kJ/kg), wet bulb (every 5 °C) and specific
// volume (every `passo_volume`) run from the saturation curve down to x = max(xmin, 0). Parts outside the rectangle
// are left to the caller's clipping.
std::vector<Isolinea> isolinee(Famiglia f, double tmin, double tmax, double xmin, double xmax, Aria a);

// Step of the specific-volume lines over that rectangle in the air `a`, m³/kg: 0.01, or 0.02 when 0.01 would give
// more than 15.
double passo_volume(double tmin, double tmax, double xmin, double xmax, Aria a);

} // namespace ondix
