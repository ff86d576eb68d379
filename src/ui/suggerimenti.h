// What each input box of the form expects: the quantity, its unit and, for the loads, the sign convention.
#pragma once

#include <QString>

namespace ondix {

// The tooltip of the caption of box `n` (1–10) of process kind `tipo`; empty where there is nothing to add.
QString suggerimento_campo(int tipo, int n);

} // namespace ondix
