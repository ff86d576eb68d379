// A table of states read whole from a CSV or weather file, by the same readers as the batch command's rows: the
// library hands it to its callers (and the Python module turns it into a DataFrame).
#pragma once

#include "core/esito.h"
#include "core/lettore_stati.h"

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondix {

// One column. A numeric column has each row's number in `numeri` (NaN where the cell is empty or not a number) and,
// when some of its cells are not numbers, each row's text in `testi` ("" where the cell was a number). A text
// column has each row's cell as written in `testi` and no `numeri`.
struct ColonnaTabella {
    std::string nome;  // as the header writes it
    std::string unita; // "C", "%", "Pa" for a weather file's columns; empty when the file does not say
    bool numerica = true;
    std::vector<double> numeri;
    std::vector<std::string> testi;
};

// A row the reader refused as the batch command refuses it (a line over the longest, more fields than the header,
// a weather file's hour without its date): its cells are empty.
struct RigaRifiutata {
    std::size_t riga = 0; // its index among the rows
    std::string motivo;
};

struct Tabella {
    bool meteo = false;             // a weather file (EPW), else a CSV
    char separatore = ',';          // of the fields
    bool decimali_virgola = false;  // the first data line has a number with a decimal comma
    std::vector<std::size_t> linee; // each row's line in the file (1 the first)
    std::vector<ColonnaTabella> colonne;
    std::vector<RigaRifiutata> rifiutate; // in row order
    std::optional<LocalitaMeteo> localita;
};

// Which reader a table is read by.
enum class FormatoTabella {
    automatico, // as "ondix-calc stati" tells them apart: a weather file by its name ".epw" or its first line
                // "LOCATION,", else a CSV
    csv,
    epw,
};

// A table read as "ondix-calc stati" reads its file. A CSV: its header (or, when its first line is numbers only,
// the columns named t, ur (x with `umidita` 1), colonna_3, ...), its separator, its quoted fields, decimal commas
// where the separator is not ',', blank lines skipped; a column is numeric when every cell is a number or empty, or
// when its name is that of a quantity (t, ur, x, h, tbu, tr, p, pressione: "T [C]" too). A weather file (EPW): for
// each hour anno, mese, giorno, ora, minuto, t (dry bulb, C), tr (dew point, C), ur (relative humidity, %) and p
// (station pressure, Pa), NaN where the file marks a value as missing, and the place from its LOCATION line. The
// reason, naming `nome` and the line as the command does, when the file cannot be read or has no header.
Esito<Tabella> leggi_tabella(std::istream& in, std::string_view nome, FormatoTabella formato, int umidita = 0);

// The same from the input's lines, its first line already read (the readers' part of leggi_tabella).
Esito<Tabella> leggi_tabella_csv(LettoreRighe& in, PrimaRiga prima, std::string_view nome, int umidita);
Esito<Tabella> leggi_tabella_epw(LettoreRighe& in, PrimaRiga prima, std::string_view nome);

// What reading a table's columns builds: the cells of one column, row by row.
class CelleColonna {
public:
    // `quantita`: the column holds a quantity, numeric whatever some of its cells hold.
    CelleColonna(std::string nome, bool quantita) : m_nome(std::move(nome)), m_quantita(quantita) {}
    // The next row's cell: its text, and its number when it is one.
    void aggiungi(std::string_view testo, std::optional<double> numero);
    // The column, once every row is in.
    ColonnaTabella colonna(std::string unita = {}) &&;

private:
    std::string m_nome;
    bool m_quantita;
    bool m_testo = false; // a cell that is neither empty nor a number was met
    std::vector<double> m_numeri;
    std::vector<std::string> m_testi; // every cell's text until the column is known to be numeric
};

} // namespace ondix
