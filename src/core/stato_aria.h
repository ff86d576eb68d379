// A moist-air state from any two known properties: the inverse solvers of the property functions and the
// dispatcher from a pair of known quantities to the full state.
#pragma once

#include "core/aria_umida.h"
#include "core/esito.h"
#include "core/rapporto.h"

#include <optional>
#include <string>
#include <string_view>

namespace ondix {

// The quantities a state can be given by, in the order pairs are named.
enum class Grandezza { t, ur, x, h, tbu, tr };

// "t", "ur", "x", "h", "tbu", "tr".
std::string_view nome_grandezza(Grandezza g);
// The quantity of a name above, or nullopt.
std::optional<Grandezza> grandezza_da_nome(std::string_view nome);

// One known quantity: dry bulb t (°C), relative humidity ur (%), humidity ratio x (g/kg), enthalpy h (kJ/kg),
// wet bulb tbu (°C) or dew point tr (°C).
struct Noto {
    Grandezza grandezza;
    double valore;
    friend bool operator==(const Noto&, const Noto&) = default;
};

// A full state. The wet bulb is the temperature of saturated air of the same enthalpy, the dew point the
// temperature of saturated air of the same humidity ratio, both as the point-properties report finds them
// (temperatura_bulbo_umido, temperatura_rugiada), so that a state shows the same values everywhere; either is
// empty where no saturated air down to −100 °C has them.
struct StatoCompleto {
    double t = 0, ur = 0, x = 0, h = 0, v = 0;  // °C, %, g/kg, kJ/kg, m³/kg
    std::optional<double> bulbo_umido, rugiada; // °C
};

// Dry bulbs a state may have, °C.
inline constexpr double t_minima_stato = -50.0;
inline constexpr double t_massima_stato = 100.0;

// Temperature, °C, at which water's saturation pressure is ps (Pa): the inverse of pressione_saturazione, searched
// in −100 … 200 °C; nullopt outside that range.
std::optional<double> temperatura_saturazione(double ps, Aria a = {});
// Dew point, °C, of air of humidity ratio x (g/kg): where umidita_saturazione meets x; nullopt for x ≤ 0 and for
// air drier than saturation at −100 °C.
std::optional<double> rugiada_da_x(double x, Aria a = {});
// Wet bulb, °C, of air of enthalpy h (kJ/kg): the temperature of saturated air of enthalpy h; nullopt below the
// enthalpy of saturated air at −100 °C.
std::optional<double> bulbo_umido_da_h(double h, Aria a = {});
// Wet bulb, °C, of air at t (°C) and x (g/kg), solved to 1e-10 K: with the correlations the temperature of saturated
// air of the same enthalpy, with a model the model's own; nullopt where bulbo_umido_da_h has none.
std::optional<double> bulbo_umido_di(double t, double x, Aria a = {});
// Dry bulb, °C, of air of humidity ratio x (g/kg) whose wet bulb (as bulbo_umido_di) is tbu (°C); nullopt with a
// model when none lies between tbu and 200 °C.
std::optional<double> t_da_x_bulbo(double x, double tbu, Aria a = {});
// Humidity ratio, g/kg, of air at t (°C) with enthalpy h (kJ/kg): entalpia solved for x (may be negative).
double x_da_t_h(double t, double h, Aria a = {});
// Dry bulb, °C, of air of humidity ratio x (g/kg) and enthalpy h (kJ/kg): entalpia solved for t.
double t_da_x_h(double x, double h, Aria a = {});
// Dry bulb, °C, at which air of humidity ratio x (g/kg) has relative humidity ur (%); nullopt when there is none
// in −100 … 200 °C or ur is 0.
std::optional<double> t_da_ur_x(double ur, double x, Aria a = {});
// Dry bulb, °C, at which air of relative humidity ur (%) has enthalpy h (kJ/kg); nullopt when there is none in
// −100 … 200 °C.
std::optional<double> t_da_ur_h(double ur, double h, Aria a = {});

// The full state at t (°C) and x (g/kg) in the air `a`, with the solvers above.
StatoCompleto stato_completo(double t, double x, Aria a = {});
// The quantity g of the state s (in the units of Grandezza); none for a wet bulb or dew point it has not.
std::optional<double> valore_di(const StatoCompleto& s, Grandezza g);

// The full state from two known quantities, in either order. Every pair of different quantities is accepted
// except x with tr and h with tbu, which are not independent (each follows from the other). A pair no air can
// have (ur above 100, a wet bulb or dew point above the dry bulb, a humidity above saturation, a dry bulb outside
// −50 … 100 °C) gives instead an Errore of Causa::dati whose text names the pair, such as "t = 26 C, tbu = 28 C:
// il bulbo umido è sopra il bulbo secco". The given values are kept as given in the state.
Esito<StatoCompleto> stato_da_coppia(Noto a, Noto b, Aria aria = {});

// The state from t (°C) and the humidity u as the point-properties report computes it: a relative humidity in %
// when `umidita` is 0, a humidity ratio in g/kg when it is 1. A value out of range (t outside −50…100 °C, ur
// outside 0…100 %, x below 0 or above saturation) gives the reason instead. The wet bulb is empty when its search
// range does not hold it, the dew point when the air has none above −100 °C (0 % relative humidity among them).
Esito<StatoCompleto> calcola_stato(double t, double u, int umidita, Aria a = {});
// The state of a pair as a row of a table of states is computed: t with ur or x (in either order) by calcola_stato,
// every other pair by stato_da_coppia.
Esito<StatoCompleto> stato_riga(Noto a, Noto b, Aria aria = {});

// The state as the point-properties report writes one: the title, the five property lines, then the wet bulb and
// the dew point ("non definita" where there is none).
void scrivi_stato(Rapporto& r, const StatoCompleto& s);

} // namespace ondix
