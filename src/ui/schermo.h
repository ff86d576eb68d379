// The screen size that the windows lay themselves out from.
#pragma once

#include "ui/geometria.h"

namespace ondix {

// Width and height of the primary screen in pixels, held in 16 bits (larger values are clamped).
DimensioniSchermo dimensioni_schermo();

} // namespace ondix
