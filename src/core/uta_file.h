// The file of an air-handling unit: JSON with Italian keys, read with the line of every fault and written back in
// the same form.
#pragma once

#include "core/esito.h"
#include "core/uta.h"

#include <string>
#include <string_view>

namespace ondix {

// The unit described by the JSON text `testo`; a fault is reported as "NOME:LINE: reason", `nome` being the file's
// name as the user gave it.
Esito<Uta> leggi_uta(std::string_view testo, const std::string& nome);
// The unit in the file `percorso`.
Esito<Uta> carica_uta(const std::string& percorso);
// The JSON text of `u` (indented, one key a line) that leggi_uta reads back as the same unit.
std::string testo_uta(const Uta& u);
// Writes testo_uta(u) into `percorso`, replacing the file only once complete.
Fatto salva_uta(const Uta& u, const std::string& percorso);

} // namespace ondix
