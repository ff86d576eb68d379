// The file of an air-handling unit: JSON with Italian keys, read with the line of every fault and written back in
// the same form.
#pragma once

#include "core/esito.h"
#include "core/richiesta_aria.h"
#include "core/uta.h"

#include <string>
#include <string_view>

namespace ondix {

// The unit described by the JSON text `testo`; a fault is reported as "NOME:LINE: reason", `nome` being the file's
// name as the user gave it. What `sostituzione` gives (the command line's air, checked by the caller) replaces the
// file's own part by part: a pressure or an altitude the file's pressure and altitude, a model its model; the
// states of the file are read in the air that results.
Esito<Uta> leggi_uta(std::string_view testo, const std::string& nome, const RichiestaAria& sostituzione = {});
// The unit in the file `percorso`, read as leggi_uta reads it.
Esito<Uta> carica_uta(const std::string& percorso, const RichiestaAria& sostituzione = {});
// The JSON text of `u` (indented, one key a line) that leggi_uta reads back as the same unit.
std::string testo_uta(const Uta& u);
// Writes testo_uta(u) into `percorso`, replacing the file only once complete.
Fatto salva_uta(const Uta& u, const std::string& percorso);

} // namespace ondix
