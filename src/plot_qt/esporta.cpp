#include "plot_qt/esporta.h"

namespace ondix {

std::optional<std::string> esporta_grafico(const Contesto&, std::optional<VistaGrafico>, const std::string&) {
    return std::string("chart export is not available yet");
}

} // namespace ondix
