#include "core/computazioni.h"

namespace ondix {

Computazione computazione_per(int tipo) {
    switch (tipo) {
    case 4:
        return proprieta_punto;
    default:
        return nullptr;
    }
}

} // namespace ondix
