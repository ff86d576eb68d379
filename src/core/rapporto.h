// The report: an ordered list of text lines (UTF-8), and the operations that build its lines.
#pragma once

#include "core/aria_umida.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ondix {

class Rapporto {
public:
    // Appends one line exactly as given. Runs the guard first, if one is set (it may throw).
    void aggiungi(std::string riga);
    // Puts one line before all the others (no guard).
    void anteponi(std::string riga) { m_righe.insert(m_righe.begin(), std::move(riga)); }
    void pulisci() { m_righe.clear(); }
    const std::vector<std::string>& righe() const { return m_righe; }
    // The whole report, lines joined by '\n' (no newline after the last line).
    std::string testo() const;

    // A check run before every append; a running calculation uses it to stop at a floating-point error.
    void imposta_guardia(std::function<void()> guardia) { m_guardia = std::move(guardia); }

private:
    std::vector<std::string> m_righe;
    std::function<void()> m_guardia;
};

// The text with every '.' turned into ','.
std::string con_virgola(std::string_view testo);
// A formatted number with the decimal comma: width w, d decimals, right-aligned, the field growing as needed.
std::string numero_virgola(double valore, int w, int d);

// label + number (w, d, comma) + unit, nothing in between.
void scrivi_valore(Rapporto& r, std::uint16_t w, std::uint16_t d, std::string_view etichetta, double valore,
                   std::string_view unita);
// label in a 34-character field + ":" + number (w, d, comma) + " " + unit.
void scrivi_dato(Rapporto& r, std::string_view etichetta, std::string_view unita, std::uint16_t w, std::uint16_t d,
                 double valore);
// "pressione atmosferica: 79500 Pa": the line that opens a report calculated at a site pressure.
std::string riga_pressione(Aria a);
// "modello aria umida: ASHRAE": the line that opens a report calculated with a model chosen explicitly.
std::string riga_modello(Aria a);
// The lines that open a report calculated in air other than the program's own: the model's, then the pressure's.
std::vector<std::string> righe_aria(Aria a);
// 44 hyphens.
void scrivi_separatore(Rapporto& r);
// The five property lines of a state whose every property is known: t (°C), ur (%), x (g/kg), h (kJ/kg), v (m³/kg).
void scrivi_cinque_righe(Rapporto& r, double t, double ur, double x, double h, double v);
// The five property lines of the state (t °C, ur %).
void scrivi_punto_ur(Rapporto& r, double t, double ur, Aria a = {});
// The five property lines of the state (t °C, x g/kg).
void scrivi_punto_x(Rapporto& r, double t, double x, Aria a = {});
// Separator, title line, then the five property lines of (t °C, ur %).
void scrivi_punto_titolo(Rapporto& r, std::string_view titolo, double t, double ur, Aria a = {});

} // namespace ondix
