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

// Pre-heating temperature, °C, at which a humidifier of efficiency eff (%) takes air of humidity ratio x0 (g/kg)
// from the mixture at t0 (°C) to xS (g/kg), in the air `a`: 501 upward steps of 0.05 °C at most.
double cerca_preriscaldamento(double x0, double t0, double xS, double eff, Aria a = {});

} // namespace ondix
