// The PDF calculation report from the desktop program: the title block asked in a small dialog (project and
// author remembered), the file chosen, the report written.
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

// The title block's dialog, filled from the settings (project, author) and today's date; the fields typed, or
// nullopt when cancelled. Project and author are remembered on OK.
std::optional<Intestazione> chiedi_intestazione(QWidget* genitore);

// The document of the calculation in `ctx`, with the messages it showed and the title block `intestazione`.
Documento documento_desktop(const Contesto& ctx, const std::vector<std::string>& messaggi, Intestazione intestazione);

// Writes the report into `percorso`; a message box says why when it cannot. False if not written.
bool scrivi_relazione(QWidget* genitore, const Documento& documento, const GraficoDocumento* grafico,
                      const QString& percorso);

// "ESPORTA PDF": the title block, then the file name (the folder of the last report), then the report.
void esporta_relazione(QWidget* genitore, const Contesto& ctx, const std::vector<std::string>& messaggi,
                       const std::optional<GraficoDocumento>& grafico);

} // namespace ondix
