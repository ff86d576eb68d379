// The report as Rich Text Format, written by hand so that any text a user types stays inside the document.
#pragma once

#include "core/esito.h"

#include <string>
#include <vector>

namespace ondix {

// RTF text of `righe` (UTF-8 report lines): one paragraph per line, all in Courier New of `punti` points.
// Windows-1252 characters are written as \'xx, other characters as \uN with '?' as the fallback, and "\", "{",
// "}" are escaped; tabs become \tab, other control characters and invalid UTF-8 bytes are dropped or replaced
// by U+FFFD. A '\n' inside a line starts a new paragraph. The result is 7-bit ASCII.
std::string scrivi_rtf(const std::vector<std::string>& righe, int punti);

// Font size of a report saved from the report window on a screen 1024 pixels wide (the size the chart files are
// drawn for), points.
inline constexpr int punti_rtf = 17;
// Saves report lines as the report window saves them: the same RTF, replacing the file only once it is complete;
// or the reason it could not.
Fatto salva_rapporto_rtf(const std::vector<std::string>& righe, const std::string& percorso);

} // namespace ondix
