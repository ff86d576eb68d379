// Writing a whole file the safe way: into a temporary file next to the target, renamed over it when complete.
#pragma once

#include "core/esito.h"

#include <optional>
#include <string>
#include <string_view>

namespace ondix {

// What `percorso` is when it exists and is not a regular file (a symbolic link is followed): "cartella", "FIFO",
// "dispositivo a caratteri", "dispositivo a blocchi", "socket"; nullopt for a regular file or no file at all.
std::optional<std::string> genere_non_regolare(const std::string& percorso);

// Whether `percorso` may be replaced by a new file, as far as can be told before writing: not a symbolic-link loop,
// not a directory or another file that is not regular, not a file the user may not write. On failure an Errore of
// Causa::file whose text is the reason: the system's own (a directory is EISDIR, a loop ELOOP), or
// "è una FIFO, non un file regolare" and the like.
Fatto verifica_destinazione(const std::string& percorso);

// Writes `dati` as the whole content of `percorso`, once verifica_destinazione allows it. The data go to a
// temporary file in the target's directory (a short name, whatever the target's length), which replaces the target
// (through a symbolic link, the file it names) only once written and synced. An existing target's permissions, owner
// and group are kept; where its owner cannot be kept (a file of another user, replaced by one who may not give files
// away) the save is refused, and where only its group cannot be kept (the user's own file, a group the user is not
// in) the new file has the user's group. On failure the target stays as it was and the temporary file is removed;
// the reason is the system's text, or as verifica_destinazione says. A file-size limit reports EFBIG only where
// SIGXFSZ is ignored (the programs ignore it).
Fatto sostituisci_file(const std::string& percorso, std::string_view dati);

} // namespace ondix
