// What the desktop program remembers between runs, through one QSettings file.
#pragma once

#include <QString>

#include <optional>

namespace ondix::impostazioni {

// Keeps the settings in `percorso` (an INI file) instead of the user's configuration directory (tests).
void usa_file(const QString& percorso);

// The site pressure the calculations use, Pa; nullopt for the program's fixed pressure (also when the stored
// value is not a usable pressure).
std::optional<double> pressione_sito();
// Stores the site pressure; nullopt forgets it.
void salva_pressione_sito(std::optional<double> p);

} // namespace ondix::impostazioni
