// The calculation file (.ondix): a form's kind, its input texts and option groups, the air it is calculated in,
// the chart's layers and the report's title block, as one small JSON document that the desktop program saves and
// opens and `ondix-calc apri` recomputes.
#pragma once

#include "core/aria_umida.h"
#include "core/diagramma_libero.h"
#include "core/documento.h"
#include "core/esito.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondix {

// The format's name, its first key; and its version, raised when a key changes its meaning or goes away. A file
// of a later version is refused.
inline constexpr std::string_view nome_formato_calcolo = "ondix-calcolo";
inline constexpr int versione_file_calcolo = 1;
// A calculation file larger than this is not one (bytes).
inline constexpr std::size_t dimensione_massima_calcolo = 1 << 20;

struct FileCalcolo {
    int processo = 4;
    std::array<std::string, 10> testi{};      // Edit1 … Edit10 as typed
    int umidita = 0;                          // RadioGroup1
    int portata = 0;                          // RadioGroup2
    double pressione = pressione_atmosferica; // Pa
    std::optional<double> quota;              // m, when the pressure came from the site's altitude
    std::string modello;                      // the model's word ("ashrae"); empty: the program's correlations
    std::optional<std::string> risposta;      // typed into the input box a calculation opens, when recorded
    std::vector<std::string> isolinee;        // the chart's isoline families by short name ("ur", "h", "tbu", "v")
    bool mollier = false;                     // the chart's Mollier view
    Intestazione intestazione;                // the report's title block (its altitude is `quota`)
    // A working chart ("processo": "diagramma"): its states and processes, in place of the form's kind, texts and
    // option groups (then not read).
    std::optional<DefinizioneDiagramma> diagramma;
    friend bool operator==(const FileCalcolo&, const FileCalcolo&) = default;
};

// The file's text: JSON, indented, one key a line.
std::string testo_file_calcolo(const FileCalcolo& f);

// The calculation in `testo`; the reason (Causa::dati, in Italian) when it is not a calculation file, is damaged,
// is of a later version, or holds a value out of range, as "NOME:LINE: reason" with the line of the value.
Esito<FileCalcolo> leggi_file_calcolo(std::string_view testo, const std::string& nome);

// Saves `f` into `percorso` through the safe writer: the earlier file stays whole until the new one is complete.
Fatto salva_calcolo(const FileCalcolo& f, const std::string& percorso);

// Reads the calculation file `percorso`; the reason when it cannot be read (Causa::file) or used (Causa::dati).
Esito<FileCalcolo> apri_calcolo(const std::string& percorso);

// The air the file's calculation runs in: its pressure and model.
Aria aria_del_calcolo(const FileCalcolo& f);

} // namespace ondix
