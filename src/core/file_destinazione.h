// Writing a whole file the safe way: into a temporary file next to the target, renamed over it when complete.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ondix {

// Why a file could not be written.
struct ErroreFile {
    int codice = 0;     // errno of the call that failed; 0 when the target exists and is not a regular file
    std::string genere; // then what it is: "directory", "FIFO", "character device", "block device", "socket"

    // The reason in English: the system's text for `codice`, or "it is a FIFO, not a regular file".
    std::string testo() const;
};

// What `percorso` is when it exists and is not a regular file (a symbolic link is followed): "directory",
// "FIFO", "character device", "block device" or "socket"; nullopt for a regular file or no file at all.
std::optional<std::string> genere_non_regolare(const std::string& percorso);

// Writes `dati` as the whole content of `percorso`. An existing target that is not a regular file (a device, a
// FIFO, a directory) is refused untouched. Otherwise the data go to a temporary file in the target's directory,
// which replaces the target (through a symbolic link, the file it names) only once written and synced, keeping
// an existing target's permissions; on failure the target stays as it was and the temporary file is removed.
// A file-size limit reports EFBIG only where SIGXFSZ is ignored (the programs ignore it).
// Returns nullopt on success.
std::optional<ErroreFile> sostituisci_file(const std::string& percorso, std::string_view dati);

} // namespace ondix
