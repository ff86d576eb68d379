// The working chart as the user reads it: its table of states and processes (the window's, the text of
// `ondix-calc apri`, the lines a spreadsheet pastes), its JSON and its PDF document.
#pragma once

#include "core/diagramma_libero.h"
#include "core/documento.h"

#include <string>
#include <string_view>
#include <vector>

namespace ondix {

// The title of the chart's reports and of its file.
inline constexpr std::string_view titolo_diagramma_libero = "DIAGRAMMA LIBERO";

// Rows of cells with a decimal comma, as the readout writes numbers: one row a state (t, ur, x, h, v, wet bulb,
// dew point, flow; above saturation only t, x and h, as the readout), one row a process (its states, parameters,
// enthalpy and humidity-ratio change, power per kg/h of dry air, and at its flow power and water; or why it cannot
// exist).
struct TabellaDiagramma {
    std::vector<std::string> intestazione_stati;
    std::vector<std::vector<std::string>> stati;
    std::vector<std::string> intestazione_trasformazioni;
    std::vector<std::vector<std::string>> trasformazioni;
};
TabellaDiagramma tabella_diagramma(const DiagrammaLibero& d);

// Column of the notes (fog, a refusal) in a state's row, and of the outcome in a process's row.
inline constexpr std::size_t colonna_note_stati = 10;
inline constexpr std::size_t colonna_esito_trasformazioni = 10;

// The two tables one under the other as text: the title, the air's lines when it is not the program's own, then
// each table with its columns aligned.
std::vector<std::string> righe_diagramma(const DiagrammaLibero& d);

// The two tables as lines of tab-separated cells, a blank line between them: what a spreadsheet pastes.
std::string tabella_tsv(const DiagrammaLibero& d);

// One JSON object: "versione_formato", "processo" ("diagramma"), "titolo", "pressione", "modello" (when chosen),
// "stati" and "trasformazioni" with every number at full precision (null where there is none), "rapporto".
std::string json_diagramma(const DiagrammaLibero& d);

// The PDF document: the given states and the processes' parameters as inputs, every state and duty as results,
// fog and refusals as warnings.
Documento documento_diagramma(const DiagrammaLibero& d, Intestazione intestazione, std::string_view versione);

} // namespace ondix
