// The calculation report as an A4 PDF: title block, summary of the main results, warnings, inputs, results, method
// note with the box for the designer's signature, and the chart on its own landscape page, drawn by the same chart
// routine the window and the printer use. Vector throughout, the fonts embedded.
#pragma once

#include "chart/diagramma.h"
#include "chart/opzioni_grafico.h"
#include "core/documento.h"

#include <optional>
#include <string>

class QIODevice;

namespace ondix {

// The chart of a document: the drawing, its layers, and what its point letters stand for.
struct GraficoDocumento {
    ProceduraDisegno procedura;
    OpzioniGrafico opzioni;
    std::string legenda; // "A = ambiente   E = esterno ..."; empty: none
};

// The chart `vista` of the calculation in `ctx` (which must outlive it) with the layers `strati`, its title line
// as a print has it, and the legend of its points.
GraficoDocumento grafico_documento(const Contesto& ctx, VistaGrafico vista, const OpzioniGrafico& strati);

// Composes the document (and the chart, when given) as a PDF into `uscita`, open for writing. False if it could
// not be drawn.
bool componi_pdf(const Documento& documento, const GraficoDocumento* grafico, QIODevice& uscita);

// Writes the document as a PDF into `percorso` through the safe file writer. Returns nullopt on success, else a
// message for the user.
std::optional<std::string> esporta_pdf(const Documento& documento, const GraficoDocumento* grafico,
                                       const std::string& percorso);

} // namespace ondix
