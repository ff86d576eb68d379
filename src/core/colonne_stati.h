// The columns a table of states is computed from, found by the names in its header: the rule the batch command
// applies to the first line of a CSV file and the library (with the Python module) to a table's column names.
#pragma once

#include "core/esito.h"
#include "core/stato_aria.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondix {

// A column name as written in a header: lower case, cut at the first character that is not a letter, a digit
// or '_', so that "T [C]", "ur(%)" and "x g/kg" name t, ur and x.
std::string nome_colonna(std::string_view campo);

// The columns of a table of states: the pair of known quantities (in the order of Grandezza) with their positions,
// and the position of the pressure (Pa) when each row carries one.
struct ColonneStati {
    Grandezza prima = Grandezza::t, seconda = Grandezza::ur;
    std::size_t colonna_prima = 0, colonna_seconda = 1;
    std::optional<std::size_t> colonna_pressione;
};

// The columns named by `nomi`: t with ur (with x when `umidita` is 1) wherever they are, else the only two of t, ur,
// x, h, tbu, tr the names give; with `con_pressione` also the column p (or pressione). The reason (Causa::dati,
// about "l'intestazione") when the names give a pair wrongly: no pressure column, a pair that is not independent (x
// with tr, h with tbu), the other humidity column than `umidita` asks for, more than two. None when they name no
// pair at all: the line may not be a header (senza_colonne says why it is not one).
Esito<std::optional<ColonneStati>> colonne_stati(const std::vector<std::string>& nomi, int umidita, bool con_pressione);

// Why names that give no pair are not a header of states: "l'intestazione non nomina una colonna t (attesa
// un'intestazione come "t,ur")", with `sep` between the example's names.
std::string senza_colonne(const std::vector<std::string>& nomi, int umidita, char sep);

} // namespace ondix
