// The chart options and drawings of the commands in a build without the chart: not offered, never drawn.
#include "cli/disegno.h"

namespace ondix {

namespace {

Errore senza_grafico() {
    return {Causa::dati, "questa versione di ondix-calc non disegna grafici"};
}

} // namespace

bool disegno_disponibile() {
    return false;
}

Fatto controlla_disegno(const RichiestaDisegno&) {
    return {};
}

Fatto disegna_calcolo(const Contesto&, std::optional<VistaGrafico>, const RichiestaDisegno&) {
    return senza_grafico();
}

Fatto scrivi_pdf(const Documento&, const Contesto*, std::optional<VistaGrafico>, const RichiestaDisegno&,
                 const std::string&) {
    return senza_grafico();
}

Fatto disegna_diagramma(const DiagrammaLibero&, const RichiestaDisegno&) {
    return senza_grafico();
}

Fatto scrivi_pdf_diagramma(const Documento&, const DiagrammaLibero&, const RichiestaDisegno&, const std::string&) {
    return senza_grafico();
}

Fatto NuvolaStati::disegna(Aria, const std::string&, const RichiestaDisegno&) const {
    return senza_grafico();
}

} // namespace ondix
