// Process kinds and the per-kind setup of the input form, as data the GUI and the command line both apply.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ondix {

// Process kinds: 1 mixing, 2 sensible, 3 water humidification, 4 point properties, 5 condensation, 6 summer cycle,
// 7 winter cycle, 13 steam humidification, 17 winter cycle with steam, 21 summer verification.
using TipoProcesso = std::uint8_t;
inline constexpr std::array<TipoProcesso, 10> tipi_processo{1, 2, 3, 4, 5, 6, 7, 13, 17, 21};
bool tipo_valido(int tipo);

// The input form's state: ten labelled boxes and two option groups. Indices 0–9 stand for Edit1–Edit10 and
// StaticText1–StaticText10.
struct StatoMaschera {
    std::string titolo = "r";
    std::array<std::string, 10> testo{};     // Edit1 … Edit10
    std::array<std::string, 10> etichetta{}; // StaticText1 … StaticText10
    std::array<bool, 10> testo_visibile{};
    std::array<bool, 10> etichetta_visibile{};
    int umidita = 0; // RadioGroup1: 0 relative humidity %, 1 humidity ratio g/kg
    int portata = 0; // RadioGroup2: 0 volumetric flow m³/h, 1 mass flow kg/h
    bool umidita_visibile = true;
    bool portata_visibile = true;

    // A new form: every field visible, design texts "Edit1" …, "StaticText1" ….
    StatoMaschera();
};

// Title (caption) of the kind's input form, e.g. "CICLO ESTIVO"; empty for an unknown kind.
std::string_view titolo_processo(int tipo);
// Chart overlay code of the kind (which lines join the chart points); nullopt for an unknown kind.
std::optional<std::uint8_t> codice_grafico_processo(int tipo);

// Steps 3 and 4 of the per-kind setup: option groups to 0 and visible, fields 9–10 labels and box 10 hidden,
// then the kind's title, labels, defaults and visibility. Returns the kind's overlay code (nullopt: unknown
// kind, nothing of step 4 changed). Emptying the chart table and placing the window are the caller's part.
std::optional<std::uint8_t> imposta_maschera(int tipo, StatoMaschera& m);

} // namespace ondix
