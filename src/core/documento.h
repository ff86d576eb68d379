// The calculation report as a document (the PDF report): the title block, the inputs and the results as tables
// with units, the warnings and the method note, all taken from what a calculation already reported.
#pragma once

#include "core/aria_umida.h"
#include "core/calcolo.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondix {

// The title block's fields, as the user gives them; an empty field is left blank.
struct Intestazione {
    std::string progetto;
    std::string sito;
    std::string autore;
    std::string revisione;
    std::string data;            // the date printed; empty: the day of the export (set by the writer)
    std::optional<double> quota; // site altitude, m, when the pressure came from it
    friend bool operator==(const Intestazione&, const Intestazione&) = default;
};

// One row of a table: quantity, value as the report printed it, unit. A heading row (`titolo`) has only `voce`.
struct RigaDocumento {
    std::string voce;
    std::string valore;
    std::string unita;
    bool titolo = false;
    bool avviso = false; // a line of a warning inside the results (fog)
    friend bool operator==(const RigaDocumento&, const RigaDocumento&) = default;
};

struct Documento {
    Intestazione intestazione;
    std::string titolo; // the process, e.g. "CICLO ESTIVO"
    Aria aria;
    std::vector<RigaDocumento> ingressi;
    std::vector<RigaDocumento> risultati;
    std::vector<std::string> avvisi; // framed: fog, messages, why no plant is possible
    std::vector<std::string> metodo; // the method note's lines
};

// The report lines as table rows: "label: value unit" lines give a row each (value and unit as printed, the unit
// written out: °C, kJ/kg, m³/h), "label   value unit" lines of the inputs likewise, other lines are headings;
// separators and blank lines are left out.
std::vector<RigaDocumento> righe_tabella(const std::vector<std::string>& righe);

// The method note of a calculation in the air `aria`: correlations or model, pressure, program and version.
std::vector<std::string> nota_metodo(Aria aria, std::string_view versione);

// The document of a calculation of the form: its title, the form's visible boxes with their units (by the option
// groups), the report's lines as results, the fog states, the messages shown and the reason no plant was possible.
Documento documento_calcolo(const Contesto& ctx, const std::vector<std::string>& messaggi,
                            const std::optional<std::string>& impossibile, Intestazione intestazione,
                            std::string_view versione);

// The document of any other report: `titolo`, the inputs given as rows, the report's lines as results.
Documento documento_rapporto(std::string titolo, std::vector<RigaDocumento> ingressi,
                             const std::vector<std::string>& righe, Aria aria, Intestazione intestazione,
                             std::string_view versione);

} // namespace ondix
