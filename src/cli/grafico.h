// The chart-export module of ondix-calc and the program's side of it: a module loaded only when a chart is asked
// for, so that a calculation without a chart never maps the drawing libraries.
#pragma once

#include "chart/nuvola.h"
#include "chart/opzioni_grafico.h"
#include "core/calcolo.h"
#include "core/documento.h"

#include <optional>
#include <string>
#include <vector>

namespace ondix {

class DiagrammaLibero;

// What the module draws: the chart of `vista` over the context's point table and overlay code, with the layers of
// `opzioni`, into `percorso`; or, when `nuvola` is set, those states as dots on the chart of the air `aria`; or, when
// `diagramma` is set, that working chart.
struct RichiestaGrafico {
    const Contesto* contesto = nullptr;
    std::optional<VistaGrafico> vista;
    std::string percorso;
    const OpzioniGrafico* opzioni = nullptr;
    const PuntiNuvola* nuvola = nullptr;
    Aria aria;
    const DiagrammaLibero* diagramma = nullptr;
};

// The module's entry point, by this name: true when the chart was written, else false with a message for the user
// in `errore`.
using EsportaGrafico = bool (*)(const RichiestaGrafico* richiesta, std::string* errore);
inline constexpr const char* simbolo_esporta_grafico = "ondix_esporta_grafico";
// What the module writes as a PDF report: the document, and the chart of `grafico` (its `percorso` unused) on a
// page of its own when given.
struct RichiestaPdf {
    const Documento* documento = nullptr;
    const RichiestaGrafico* grafico = nullptr;
    std::string percorso;
};

// The module's PDF entry point, by this name: true when the report was written, else false with a message for the
// user in `errore`.
using EsportaPdf = bool (*)(const RichiestaPdf* richiesta, std::string* errore);
inline constexpr const char* simbolo_esporta_pdf = "ondix_esporta_pdf";
// The module's version, by this name: a function returning the ondix version it was built with, which must be
// the program's own (the request travels as C++ objects of that build).
using VersioneModulo = const char* (*)();
inline constexpr const char* simbolo_versione_modulo = "ondix_versione_modulo";
// File name of the module: beside the program in the build tree, in the private library directory once installed.
inline constexpr const char* nome_modulo_grafico = "ondix-grafico.so";

} // namespace ondix
