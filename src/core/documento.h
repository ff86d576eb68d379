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
    bool avviso = false;   // a line of a warning inside the results (fog)
    bool separato = false; // a separator stands before it in the report: a new block of rows begins
    friend bool operator==(const RigaDocumento&, const RigaDocumento&) = default;
};

struct Documento {
    Intestazione intestazione;
    std::string titolo; // the process, e.g. "CICLO ESTIVO"
    Aria aria;
    std::vector<RigaDocumento> sintesi; // the main results, on the first page
    std::vector<RigaDocumento> ingressi;
    std::vector<RigaDocumento> risultati;
    std::vector<std::string> avvisi; // framed: fog, messages, why no plant is possible
    std::vector<std::string> metodo; // the method note's lines
};

// The report lines as table rows: "label: value unit" lines give a row each (value and unit as printed, the
// number with a decimal comma, the unit as the SI writes it: °C, kJ/kg, m³/h, kW), "label   value unit" lines of
// the inputs likewise, other lines are headings; separators and blank lines are left out.
std::vector<RigaDocumento> righe_tabella(const std::vector<std::string>& righe);

// A number written with a decimal comma, the Italian way: "20.5" and "20,5" give "20,5", "-0.58" gives "-0,58";
// a text that is not a plain number is returned as it is.
std::string virgola_decimale(std::string_view testo);

// The method note of a calculation in the air `aria`: the correlations or the model named with their formulas or
// source, the pressure (with the site's altitude `quota`, m, when it came from one), the limits within which the
// values hold, and the program's version.
std::vector<std::string> nota_metodo(Aria aria, std::string_view versione, std::optional<double> quota = std::nullopt);

// The main results of a calculation, one row for each typed result (the numbers of RisultatiCalcolo::valori, the
// JSON's "risultati"): named in words, the value as the report's rows `risultati` print it (else with the
// decimals usual for its unit), the unit as the SI writes it.
std::vector<RigaDocumento> sintesi_risultati(const RisultatiCalcolo& r, const std::vector<RigaDocumento>& risultati);

// What the chart's point letters stand for in a calculation of kind `tipo` (0: an air-handling unit's chain of
// numbered states), for the letters its table uses, in the kind's order: "A = ambiente   E = esterno ...". Empty
// when the table has no lettered point.
std::string legenda_punti(TipoProcesso tipo, const TabellaPunti& punti);

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
