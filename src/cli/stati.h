// Batch calculation of air states: a CSV of states (given by a pair of known properties) or an hourly weather
// file in, a CSV of their properties out.
#pragma once

#include "core/aria_umida.h"
#include "core/comfort.h"
#include "core/esito.h"
#include "core/stato_aria.h"
#include "core/testo_csv.h"

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ondix {

// The output's header line (no line end): "t,ur,x,h,v,t_bulbo_umido,t_rugiada" with `sep` between names.
std::string intestazione_stati(char sep);
// Appends `valore` with `d` decimals and a decimal point; a value that rounds to zero loses its minus sign.
void aggiungi_numero(std::string& riga, double valore, int d);
// One output line (no line end): t and ur with 2 decimals, x and h with 3, v with 4, wet bulb and dew point with
// 2 (empty when unknown); decimal point, no thousands separator, no blanks.
std::string riga_stati(const StatoCompleto& s, char sep);
// The same line with its line end '\n', appended to `uscita`.
void aggiungi_riga_stati(std::string& uscita, const StatoCompleto& s, char sep);

struct RisultatoStati {
    std::size_t scritte = 0;  // data rows written
    std::size_t scartate = 0; // bad rows reported and skipped
    // The input could not be used (no columns, a first line that is neither a header nor a row, a read error with
    // the system's reason), or the output failed: the run stopped there.
    std::optional<Errore> errore;
};

// Reads the CSV of states from `in` and writes the properties CSV to `out`, one row at a time (memory does not
// grow with the input); lines end in LF, CR LF or CR. `umidita` 0: the humidity column is "ur" (%), 1: it is "x"
// (g/kg). Each bad row is reported on `diagnostica` as "NAME:LINE: reason (riga scartata)", where NAME is `nome`;
// the name and the file's text in messages are escaped (testo_visibile). The output uses the input's separator.
// With `fili` above 1 that many worker threads compute blocks of rows while this thread reads and writes them;
// the output and the diagnostics are the same, in the same order, and memory stays bounded. A failed write stops
// the run at once, with the same rows written and the same rows reported whatever the threads.
RisultatoStati calcola_stati(std::istream& in, std::ostream& out, std::ostream& diagnostica, int umidita,
                             std::string_view nome, unsigned fili = 1);

// The decimal separator of the output's numbers.
enum class Decimali {
    dall_ingresso, // a comma when the input's first data line has one (a CSV not separated by ','), else a point
    punto,
    virgola, // with ';' between the fields when the input's separator is ','
};

// How a batch runs beyond the defaults.
struct OpzioniStati {
    int umidita = 0;                // 0: a CSV's humidity column is ur (%), 1: x (g/kg)
    unsigned fili = 1;              // worker threads (1: each row is computed by the reading thread as it is read)
    Aria aria;                      // the pressure of every row
    bool pressione_da_file = false; // each row at its own pressure (a CSV's column p, a weather file's station)
    bool scrivi_righe = true;       // false: rows are computed and reported, nothing is written to `out`
    bool copia_colonne = false;     // a CSV's columns not computed from are written too, in their order
    bool tieni_scarti = false;      // a bad row is written too, its computed fields empty (and still reported)
    Decimali decimali = Decimali::dall_ingresso;
    // Called with every state written (or computed, without writing), the air it was computed in and its row's
    // kept columns (a weather file's "year,month,day,hour,"), in input order, by the calling thread.
    std::function<void(const StatoCompleto&, Aria, std::string_view)> per_ogni_stato;
    // With occupants, each row ends with the columns pmv, ppd (%) and categoria (EN 16798-1) of a room at its state.
    std::optional<Occupanti> comfort;
    // Filled with a description of the place the data come from (a weather file's location), when known.
    std::string* descrizione = nullptr;
    // Set to whether the input is a weather file, when given.
    bool* meteo = nullptr;
    // Set to the output's separator before its header is written, when given.
    char* separatore = nullptr;
};

// As above, for a CSV or a weather file (EPW: by the name `nome` or by its first line). A weather file's rows keep
// their date and hour columns; with `pressione_da_file` every row carries its pressure in a last column p.
RisultatoStati calcola_stati(std::istream& in, std::ostream& out, std::ostream& diagnostica, const OpzioniStati& o,
                             std::string_view nome);

// The processor cores this process may run on (at least 1): the batch command's default number of threads.
unsigned fili_disponibili();

// Exit status of the batch command: 0 every row written, 1 some rows skipped, 2 the input could not be used.
int codice_uscita_stati(const RisultatoStati& e);

// The failure of a write to the output: "impossibile scrivere l'uscita", with the system's reason when `codice` (an
// errno) is not 0.
Errore uscita_non_scritta(int codice);

} // namespace ondix
