// Saving a whole file so that a failure never leaves a half-written one behind.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ondix {

// Writes `contenuto` to `percorso` through a temporary file in the same directory, which replaces the target
// only once it is complete and flushed to the disk; an existing file keeps its permissions, a symbolic link
// its link (the file it points to is replaced). Returns nullopt on success, else the system's text for the
// failure; then the target is as it was and no temporary file is left.
std::optional<std::string> salva_atomico(const std::string& percorso, std::string_view contenuto);

} // namespace ondix
