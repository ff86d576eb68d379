// Tables written as spreadsheets: typed cells (numbers as numbers, whatever the reader's locale) under a header whose
// names carry the units. The batch's rows go in through UscitaFoglio; a table with its own numbers writes its rows
// straight to a Foglio.
#pragma once

#include "core/esito.h"

#include <cstddef>
#include <memory>
#include <streambuf>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ondix {

// A column of a sheet: its name, the unit written after it in the header ("t [C]"), and the decimals its numbers
// are shown with (-1: as they come).
struct ColonnaFoglio {
    std::string nome;
    std::string unita;
    int decimali = -1;
};

// A cell: empty, a number or a text.
using CellaFoglio = std::variant<std::monostate, double, std::string>;

// A spreadsheet written one row after the other, in constant memory.
class Foglio {
public:
    virtual ~Foglio() = default;
    // The header row (of every sheet the rows fill) and the columns' formats.
    virtual void intestazione(const std::vector<ColonnaFoglio>& colonne) = 0;
    // One row. Past the last row a sheet can hold, the rows go on in a new sheet with the same header.
    virtual void riga(const std::vector<CellaFoglio>& celle) = 0;
    // Writes the file (replacing it only once complete), or why it could not.
    virtual Fatto chiudi() = 0;
};

// An .xlsx workbook for `percorso`, its sheets named `nome` ("nome (2)", ... beyond the first), or why the file
// cannot be written there (checked before anything is computed).
Esito<std::unique_ptr<Foglio>> foglio_xlsx(const std::string& percorso, std::string_view nome);

// What follows the properties' columns in the batch's output: the pressure, the comfort's columns.
struct FormaStati {
    bool pressione = false;
    bool comfort = false;
};

// An output stream buffer that turns the batch's CSV lines into a sheet's rows: the first line is the header, the
// properties' columns get their units and decimals, and each field that is a number from end to end (read as the batch
// reads a field of a file with the output's separator) becomes a number cell, any other a text, an empty one an empty
// cell. `sep` is the output's separator, known once the header comes.
class UscitaFoglio : public std::streambuf {
public:
    UscitaFoglio(Foglio& foglio, const char& sep, FormaStati forma) : m_foglio(foglio), m_sep(sep), m_forma(forma) {}

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

private:
    void linea(std::string_view testo);

    Foglio& m_foglio;
    const char& m_sep;
    FormaStati m_forma;
    bool m_intestazione = true;
    std::string m_linea;
    std::vector<std::string> m_campi;
    std::vector<CellaFoglio> m_celle;
};

} // namespace ondix
