// The PDF calculation report from the desktop program: the title block asked in a small dialog (remembered), the
// file chosen, the report written and its writing confirmed.
#pragma once

#include "core/calcolo.h"
#include "core/documento.h"
#include "plot_qt/documento_pdf.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace ondix {

// The title block's dialog, filled from `base` (empty date: today's), with the site's altitude and the pressure
// `pressione` (Pa) shown as the report prints them; the fields typed (the altitude kept), or nullopt when
// cancelled. Project, site, author and revision are remembered on OK.
std::optional<Intestazione> chiedi_intestazione(QWidget* genitore, const Intestazione& base, double pressione);

// The title block a new calculation of the desktop program starts from: the one remembered, with the altitude of
// the site pressure when the air `aria` is at that pressure.
Intestazione intestazione_ricordata(Aria aria);

// The document of the calculation in `ctx`, with the messages it showed and the title block `intestazione`.
Documento documento_desktop(const Contesto& ctx, const std::vector<std::string>& messaggi, Intestazione intestazione);

// The name of the PDF file, asked in a save dialog opened on the folder of the last report; empty when cancelled.
QString chiedi_file_relazione(QWidget* genitore);

// Writes the report into `percorso`: a message box says why when it cannot, and a short one names the file when it
// is written. False if not written.
bool scrivi_relazione(QWidget* genitore, const Documento& documento, const GraficoDocumento* grafico,
                      const QString& percorso);

} // namespace ondix
