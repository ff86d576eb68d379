// One computation per process kind; each reads the form through the Calcolo and ends with its chart request.
#pragma once

#include "core/calcolo.h"

#include <optional>
#include <string_view>

namespace ondix {

void proprieta_punto(Calcolo& c);              // kind 4
void miscelazione(Calcolo& c);                 // kind 1
void riscaldamento_raffreddamento(Calcolo& c); // kind 2
void umidificazione_acqua(Calcolo& c);         // kind 3
void raffreddamento_condensazione(Calcolo& c); // kind 5
void umidificazione_con_vapore(Calcolo& c);    // kind 13
void ciclo_estivo(Calcolo& c);                 // kind 6
void verifica_estiva(Calcolo& c);              // kind 21
void ciclo_invernale(Calcolo& c);              // kind 7
void ciclo_invernale_vapore(Calcolo& c);       // kind 17

// To follow the report block of a state the computation produced (block title `titolo`, t °C, x g/kg): when the
// state is supersaturated, the fog warning with its equilibrium and liquid water (also in kg/h when the mass flow
// of dry air `portata` through it is known), kept in the context's results too.
void segnala_nebbia(Calcolo& c, std::string_view titolo, double t, double x, std::optional<double> portata = {});

// The report line of a coil that stays dry (cooling without condensation).
inline constexpr std::string_view riga_batteria_asciutta = "batteria asciutta: raffreddamento solo sensibile";

// Range checks on the value of box n, read before anything is computed; a value outside the range stops the
// calculation (Calcolo::impossibile) with a message that names the box by its label.
// t (°C) below the boiling point of water at the calculation's pressure.
void verifica_temperatura(Calcolo& c, int n, double t);
// The same check outside a calculation: t (°C) within the model's range and below the boiling point in the air `a`,
// or the reason (the model's own text, or testo_ebollizione).
Fatto temperatura_ammessa(double t, Aria a);
// A humidity at t (°C): a relative humidity (%) in 0 … 100, or with `specifica` a humidity ratio (g/kg) in
// 0 … saturation.
void verifica_umidita(Calcolo& c, int n, double u, double t, bool specifica);
// A value in minimo … massimo (a fraction, a bypass factor, an efficiency in %).
void verifica_intervallo(Calcolo& c, int n, double v, double minimo, double massimo);
// A flow not below 0.
void verifica_portata(Calcolo& c, int n, double f);
// Stops the calculation with "<label of box n>: <testo>".
[[noreturn]] void rifiuta(Calcolo& c, int n, const std::string& testo);
// "oltre l ebollizione dell acqua (99.97 C a 101335 Pa)!" for the air `a`.
std::string testo_ebollizione(Aria a);

// Pre-heating temperature, °C, at which a humidifier of efficiency eff (%) takes air of humidity ratio x0 (g/kg)
// from the mixture at t0 (°C) to xS (g/kg), in the air `a`: 501 upward steps of 0.05 °C at most, which stop once the
// efficiency needed is within 0.01 % of eff. `trovato`, when given, tells whether they stopped so.
double cerca_preriscaldamento(double x0, double t0, double xS, double eff, Aria a = {}, bool* trovato = nullptr);

} // namespace ondix
