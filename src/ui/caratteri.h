// Fonts of the windows, with metric twins where the named fonts are not installed.
#pragma once

#include <QFont>
#include <QString>

namespace ondix {

// Courier New → Liberation Mono, Times New Roman → Liberation Serif, Verdana → DejaVu Sans. Call once after the
// application object exists and before any window is made.
void installa_sostituzioni_caratteri();

// A font of `famiglia`, `punti` points, bold when asked, with a style hint so that the lookup stays sensible even
// without the substitutions.
QFont carattere(const QString& famiglia, int punti, bool grassetto);

} // namespace ondix
