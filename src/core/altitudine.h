// Altitude to atmospheric pressure, and the pressure file "patm.txt".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ondix {

// The ends of the altitude table, m: beyond them it would answer its last row's pressure.
inline constexpr double quota_minima = -250.0;
inline constexpr double quota_massima = 3000.0;

// Atmospheric pressure, mmHg, at altitude z (m above sea level): linear interpolation in the altitude table,
// 782 below −250 m and 536 above 3000 m.
double pressione_da_quota(double z);

// Atmospheric pressure, Pa, at altitude z (m): pressione_da_quota(z) × 101335 / 760, exactly 101335 at 0 m.
double pressione_pascal_da_quota(double z);

// Pressure, Pa, for the typed altitude answer; nullopt when the whole text is not a number (then nothing is
// written and nothing is shown).
std::optional<double> pressione_da_risposta(std::string_view risposta);

// The 23-character real format of the pressure file: " 1.01335000000000E+0005" for 101335.
std::string formato_reale(double valore);

// "pressione atmosferica:1013.350 mbar" for p = 101335 Pa.
std::string messaggio_pressione(double p);

// Writes `p` (Pa) as one line in the real format, CR LF ended, to `percorso`, replacing any earlier content;
// a write that fails leaves the earlier file as it was. Returns nullopt on success, else the system's text for
// the failure.
std::optional<std::string> scrivi_file_pressione(const std::string& percorso, double p);

} // namespace ondix
