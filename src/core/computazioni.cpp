#include "core/computazioni.h"

namespace ondix {

Computazione computazione_per(int tipo) {
    switch (tipo) {
    case 1:
        return miscelazione;
    case 2:
        return riscaldamento_raffreddamento;
    case 3:
        return umidificazione_acqua;
    case 4:
        return proprieta_punto;
    case 5:
        return raffreddamento_condensazione;
    case 6:
        return ciclo_estivo;
    case 7:
        return ciclo_invernale;
    case 13:
        return umidificazione_con_vapore;
    case 17:
        return ciclo_invernale_vapore;
    case 21:
        return verifica_estiva;
    default:
        return nullptr;
    }
}

} // namespace ondix
