// The text of tables of states (CSV and weather files) as the batch command and the library read them: lines read
// one at a time, fields split and read as numbers, each in one way for every reader, thread and caller.
#pragma once

#include "core/esito.h"

#include <cstddef>
#include <fstream>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondix {

// Longest line accepted; a longer one is reported and skipped without being kept in memory.
inline constexpr std::size_t lunghezza_massima_riga = 65536;

// Reads an input one line at a time. A line ends at LF, CR LF or a lone CR.
class LettoreRighe {
public:
    explicit LettoreRighe(std::istream& in) : m_in(in) {}

    // Reads one line into `riga` without its line end. Returns false at the end of the input and on a read
    // error (then guasto() is true and motivo() gives the system's reason). A line longer than
    // lunghezza_massima_riga is consumed to its end without being kept, and `troppo_lunga` is set.
    bool leggi(std::string& riga, bool& troppo_lunga);
    // The input failed (a read error), as opposed to ending.
    bool guasto() const;
    // ": REASON" of a read error, or nothing when the system gave none.
    std::string motivo() const { return m_errore ? ": " + *m_errore : std::string(); }

private:
    bool leggi_riga(std::string& riga, bool& troppo_lunga);

    std::istream& m_in;
    std::optional<std::string> m_errore;
};

// The first line of an input, read before its format is known.
struct PrimaRiga {
    bool presente = false;     // false: the input is empty
    bool troppo_lunga = false; // longer than lunghezza_massima_riga (then `testo` is empty)
    std::string testo;         // without its line end and without a UTF-8 byte order mark
};

// Opens the file `percorso` to be read into `f`, or gives why it cannot (Causa::file): "NAME è una cartella",
// "impossibile aprire NAME: REASON", the name escaped.
Fatto apri_file(const std::string& percorso, std::ifstream& f);

// Reads the first line of `in`, dropping a UTF-8 byte order mark.
PrimaRiga leggi_prima_riga(LettoreRighe& in);

// The reason a line over lunghezza_massima_riga is skipped: "riga più lunga di 65536 caratteri".
Errore riga_troppo_lunga();

// Splits one CSV line at `sep` into `campi` (cleared first). A field may be enclosed in double quotes (a doubled
// quote inside stands for one); blanks around a field are dropped.
void dividi_campi(std::string_view riga, char sep, std::vector<std::string>& campi);

// The separator of a file, from its first line: ';' if it holds one, else ',' if it holds one, else a tab if it
// holds one, else ','.
char separatore_di(std::string_view prima_riga);

// Why a row of `trovati` fields is refused where it needs at least `servono` and may have at most `massimi`
// ("attesi 3 campi, trovati 4", with a hint at the decimal separator of a file separated by ','); done otherwise.
Fatto conta_campi(std::size_t trovati, std::size_t servono, std::size_t massimi, char sep);

// A field shown in a message: at most 40 characters, in quotes, with control characters and invalid UTF-8
// escaped so that nothing from the file reaches the terminal as a command.
std::string citazione(std::string_view campo);
// Reads the number of field `campo` of column `colonna` into `valore`, or gives the reason it cannot ("colonna t
// vuota", "colonna t: \"abc\" non è un numero", ...). `sep` is the file's separator: in a file not separated by
// ',' a decimal comma is read as the point ("20,5"); a field with both, as a thousands separator would make it
// ("1.234,5"), is refused.
Fatto leggi_campo(std::string_view campo, std::string_view colonna, char sep, double& valore);
// The whole field as a number, read as leggi_campo reads it; nullopt otherwise.
std::optional<double> numero_campo(std::string_view campo, char sep);
// Appends a kept field for a CSV separated by `sep`: in double quotes (a quote doubled) when it holds the
// separator, a quote or a line end.
void aggiungi_campo(std::string& riga, std::string_view campo, char sep);

} // namespace ondix
