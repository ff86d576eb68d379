// The one door through which a pressure, an altitude and a model's name, given on the command line, through the
// library, in a file or in a row of a table, become the air of a calculation: every range and every refusal of them
// is here.
#pragma once

#include "core/altitudine.h"
#include "core/aria_umida.h"
#include "core/esito.h"

#include <optional>
#include <string>

namespace ondix {

// What the air of a calculation is asked to be, each part given or not; nothing given is the program's pressure
// with its own correlations. A pressure or an altitude is given as a number, or as the text a user typed (read
// here as a whole number text, and quoted as typed when refused).
struct RichiestaAria {
    std::optional<double> pressione;    // Pa
    std::optional<double> quota;        // m: the pressure of the altitude table there
    std::optional<std::string> modello; // the word of a model ("ashrae")
    std::optional<std::string> testo_pressione, testo_quota;
    bool pressione_per_riga = false; // the pressure comes with each row of a table (refused with an altitude)
};

// Who asks: a refusal names what was given as the asker calls it.
enum class FonteAria {
    opzioni,  // the command line's options: "--pressione: 29999 Pa è fuori da 30000 a 120000 Pa"
    libreria, // the library's fields: "pressione: 29999 Pa è fuori da 30000 a 120000 Pa"
    file,     // a file's keys or a row's column, whose reader names the place: "pressione 29999 Pa fuori da ..."
};

// The part of a request a refusal is about, for a file's reader to name its line.
enum class ParteAria { modello, pressione, quota };

// The air of the request; or why it cannot be had (Causa::dati): a word that names none of the program's models,
// both a pressure and an altitude, a text that is not a number, a pressure outside pressione_minima …
// pressione_massima (or not finite), an altitude outside the table. The part refused goes into `parte` when it is not
// null.
Esito<Aria> aria_richiesta(const RichiestaAria& r, FonteAria fonte, ParteAria* parte = nullptr);

} // namespace ondix
