// What every window that shows a chart shares with the chart window: the layer switches (keys and context menu,
// remembered), the comfort zone's dialog, the picture it paints from, its print and the choice of a picture file.
#pragma once

#include "chart/diagramma.h"
#include "plot_qt/grafico_qt.h"
#include "ui/geometria.h"

#include <QPixmap>
#include <QString>

#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace ondix {

// The switches in menu order ("strato_ur", "strato_h", "strato_tbu", "strato_v", "strato_mollier", "lettura",
// "strato_comfort", by object name; keys U, H, B, V, M, L, C), checked as `strati` and `lettura` say, then
// "Parametri di comfort..." ("parametri_comfort"), added to `finestra`'s actions. `cambiati` runs at each toggle,
// `parametri` when the comfort parameters are asked for.
void crea_interruttori_strati(QWidget* finestra, const OpzioniGrafico& strati, bool lettura,
                              const std::function<void()>& cambiati, const std::function<void()>& parametri);
// The layers the switches of `finestra` choose, the rest as in `attuali`; the comfort zone as remembered.
OpzioniGrafico strati_degli_interruttori(const QWidget* finestra, const OpzioniGrafico& attuali);
// Whether the switch "lettura" of `finestra` is on.
bool lettura_degli_interruttori(const QWidget* finestra);

// The comfort zone's occupants and limit, asked in a small dialog from the remembered ones and remembered on OK;
// nullopt when cancelled.
std::optional<ZonaComfort> chiedi_zona_comfort(QWidget* genitore);

// One screen drawing of `procedura` with the layers `strati` into `immagine`, made `dimensione` window units at the
// device pixel ratio `rapporto`, white where nothing is drawn; every drawing starts from the canvas's first
// colours.
void disegna_immagine(QPixmap& immagine, PlotterQt& plotter, DimensioniSchermo dimensione, qreal rapporto,
                      const OpzioniGrafico& strati, const ProceduraDisegno& procedura);

// Prints `procedura` on `stampante` as one job: the whole chart on one landscape page with pens half a millimetre
// wide, with the layers `strati` (a title line among them); the plotter's layers are `schermo` again afterwards,
// whatever happens. False if the printer cannot be used or failed.
bool stampa_grafico(QPrinter& stampante, PlotterQt& plotter, const ProceduraDisegno& procedura,
                    const OpzioniGrafico& strati, const OpzioniGrafico& schermo);

// The dialog of "Salva immagine": PNG, SVG or PDF, and "Relazione di calcolo PDF" when `relazione` is given (it then
// says whether that was the type chosen), starting in the folder of the last picture. The file chosen, or an empty
// text when cancelled.
QString chiedi_file_immagine(QWidget* genitore, bool* relazione);

} // namespace ondix
