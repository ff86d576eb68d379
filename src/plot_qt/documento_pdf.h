// The calculation report as an A4 PDF: title block, inputs, warnings, results, method note, and the chart on its
// own landscape page, drawn by the same chart routine the window and the printer use. Vector throughout, the
// fonts embedded.
#pragma once

#include "chart/diagramma.h"
#include "chart/opzioni_grafico.h"
#include "core/documento.h"

#include <optional>
#include <string>

class QIODevice;

namespace ondix {

// The chart of a document: the drawing and its layers.
struct GraficoDocumento {
    ProceduraDisegno procedura;
    OpzioniGrafico opzioni;
};

// Composes the document (and the chart, when given) as a PDF into `uscita`, open for writing. False if it could
// not be drawn.
bool componi_pdf(const Documento& documento, const GraficoDocumento* grafico, QIODevice& uscita);

// Writes the document as a PDF into `percorso` through the safe file writer. Returns nullopt on success, else a
// message for the user.
std::optional<std::string> esporta_pdf(const Documento& documento, const GraficoDocumento* grafico,
                                       const std::string& percorso);

} // namespace ondix
