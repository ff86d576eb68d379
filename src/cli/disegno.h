// What the commands ask of the chart, whether or not this build draws charts: the chart options as given on the
// command line, and the drawings. In a build with the chart they go to the chart-export module (grafico.cpp);
// without it (senza_grafico.cpp) the options are not offered and nothing is drawn.
#pragma once

#include "chart/nuvola.h"
#include "chart/opzioni_grafico.h"
#include "core/calcolo.h"
#include "core/documento.h"
#include "core/esito.h"

#include <optional>
#include <string>
#include <vector>

namespace ondix {

// True when this build draws charts (and offers --grafico, --isolinee and --mollier).
bool disegno_disponibile();

// The chart options of a command line.
struct RichiestaDisegno {
    std::string file;                    // where to draw; empty: no chart
    std::optional<std::string> isolinee; // isoline families by name ("ur,h,tbu,v" or "tutte"), when given
    bool mollier = false;                // the Mollier h-x view
    std::optional<ZonaComfort> comfort;  // the comfort zone shaded under the process (--comfort)
};

// Checks the isoline names of `r`; the reason when one is not known.
Fatto controlla_disegno(const RichiestaDisegno& r);

// Draws the chart `vista` of a calculation's context into r.file.
Fatto disegna_calcolo(const Contesto& ctx, std::optional<VistaGrafico> vista, const RichiestaDisegno& r);

class DiagrammaLibero;
// Draws the working chart `d` into r.file, as its window shows it at 1024 × 768.
Fatto disegna_diagramma(const DiagrammaLibero& d, const RichiestaDisegno& r);
// Writes the document as a PDF report into `percorso` with the working chart `d` on a page of its own.
Fatto scrivi_pdf_diagramma(const Documento& documento, const DiagrammaLibero& d, const RichiestaDisegno& strati,
                           const std::string& percorso);

// Writes the document as a PDF report into `percorso`, with the chart `vista` of the context (with the layers of
// `strati`) on a page of its own when both are given. Any report can be written so: build its Documento
// (core/documento.h) and call this.
Fatto scrivi_pdf(const Documento& documento, const Contesto* ctx, std::optional<VistaGrafico> vista,
                 const RichiestaDisegno& strati, const std::string& percorso);

// The states of a batch gathered for a chart of dots: 16 bytes a state, and the drawing's fixed memory.
class NuvolaStati {
public:
    void aggiungi(double t, double x) { m_punti.push_back({t, x}); }

    // Draws every state as a dot on the chart of the air `aria` into r.file; `origine` names the data in the
    // title of a chart with layers.
    Fatto disegna(Aria aria, const std::string& origine, const RichiestaDisegno& r) const;

private:
    PuntiNuvola m_punti;
};

} // namespace ondix
