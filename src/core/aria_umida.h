// Moist-air properties with the engineering correlations the reports rely on, at the program's atmospheric
// pressure or at the pressure of a site.
#pragma once

#include <optional>

namespace ondix {

class ModelloAria; // core/modello.h

// The atmospheric pressure every calculation uses unless a site pressure is chosen, Pa.
inline constexpr double pressione_atmosferica = 101335.0;

// The air a property is computed in: its total pressure and the model of moist air. Passed by value (two
// registers); the default is the program's fixed pressure and its own correlations, with which every function gives
// exactly the numbers it always gave. A model chosen explicitly (modello.h) replaces the correlations in every
// function below that takes an Aria.
struct Aria {
    double pressione = pressione_atmosferica; // Pa
    const ModelloAria* modello = nullptr;     // nullptr: the correlations below
    friend bool operator==(const Aria&, const Aria&) = default;
};
// The site pressures a user may choose, Pa (about 9000 m above to 1500 m below sea level).
inline constexpr double pressione_minima = 30000.0;
inline constexpr double pressione_massima = 120000.0;

// Saturation pressure of water vapour, Pa, at t °C.
// Polynomial fit (mm of water column × 9.81) for t ≥ −10 °C; below that an over-ice Clausius–Clapeyron
// form scaled to meet the polynomial at −10 °C (positive, increasing, continuous). With a model, the model's.
double pressione_saturazione(double t, Aria a = {});
// Humidity ratio, g/kg, from relative humidity ur (%) and t (°C).
double umidita_specifica(double ur, double t, Aria a = {});
// Relative humidity, %, from humidity ratio x (g/kg) and t (°C); not clamped at 100.
double umidita_relativa(double x, double t, Aria a = {});
// Humidity ratio of saturated air at t (°C), g/kg.
double umidita_saturazione(double t, Aria a = {});
// Same quantity as umidita_specifica(100, t): the curve the chart draws.
double curva_saturazione(double t, Aria a = {});
// Enthalpy, kJ/kg of dry air, from x (g/kg) and t (°C).
double entalpia(double x, double t, Aria a = {});
// Specific volume, m³/kg of dry air, from t (°C) and x (g/kg).
double volume_specifico(double t, double x, Aria a = {});
// Dew point, °C, of air at ur (%) and t (°C), searched down to −100 °C; none for air drier than saturated air
// at −100 °C (0 % among them) or above saturation.
std::optional<double> temperatura_rugiada(double ur, double t, Aria a = {});
// Wet-bulb temperature, °C, of air at x (g/kg) and t (°C): with the correlations the temperature of saturated air of
// the same enthalpy, with a model its own (the reference model's is the thermodynamic wet bulb).
double temperatura_bulbo_umido(double x, double t, Aria a = {});

struct Miscela {
    double t, ur, h, x;
};
// Adiabatic mixing of two streams given by t (°C), ur (%) and volumetric flow V (m³/h).
Miscela miscela(double t1, double ur1, double V1, double t2, double ur2, double V2, Aria a = {});

struct Sensibile {
    double x, h1, ur2, h2, potenza; // potenza in kW, positive for heating
};
// Sensible heating or cooling from (t1, ur1) to t2 of a mass flow m (kg/h).
Sensibile trasformazione_sensibile(double t1, double ur1, double m, double t2, Aria a = {});

struct Stato {
    double t, x; // °C, g/kg
    friend bool operator==(const Stato&, const Stato&) = default;
};
// Adiabatic humidification with water at tw (°C) and efficiency eff (%), from (t1, ur1). At efficiency 0, or
// for air above saturation, the air comes out as it went in; the air never loses water.
Stato umidificazione_adiabatica(double t1, double ur1, double tw, double eff, Aria a = {});
// Humidification with steam at tv (°C) from (t1, x1) to the humidity ratio x2 (g/kg).
Stato umidificazione_vapore(double t1, double x1, double tv, double x2, Aria a = {});
// Outlet of a coil at tb (°C) with bypass factor bf (0–1), inlet (t1, x1). A dry coil (batteria_asciutta) leaves
// x as it is and changes only the temperature, by the same rule.
Stato uscita_batteria_bypass(double t1, double x1, double tb, double bf, Aria a = {});
// True when saturated air at the coil temperature tb (°C) holds as much water as air of humidity ratio x1 (g/kg)
// or more: nothing can condense on the coil.
bool batteria_asciutta(double x1, double tb, Aria a = {});
// Walks a humidification (medium 0 water, 1 steam, at tm °C) from (t0, x0) in 0.05 g/kg steps until the state
// reaches the line x = (a·t + b) × 1000; returns the end state.
Stato umidifica_fino_a_retta(int medium, double t0, double x0, double tm, double a, double b, Aria aria = {});
// Temperature, °C, at which air of humidity ratio x has enthalpy h, searched in [max(t − 40, 0), t].
double temperatura_a_entalpia(double x, double h, double t, Aria a = {});

} // namespace ondix
