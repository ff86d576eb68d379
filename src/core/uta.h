// Air-handling units: a chain of sections (heat recovery, mixing, coils, humidifiers, fan) the outdoor air runs
// through on its way to the room, computed for one operating condition with the physics of aria_umida.h.
#pragma once

#include "core/aria_umida.h"
#include "core/calcolo.h"
#include "core/esito.h"
#include "core/stato_aria.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ondix {

enum class TipoSezione {
    recuperatore,        // heat recovery against the extract air: plate (sensible) or rotary (enthalpy)
    miscela,             // mixing with return air
    riscaldamento,       // heating coil
    raffreddamento,      // cooling coil (dry or wet)
    umidificatore_acqua, // adiabatic humidifier
    umidificatore_vapore,
    ventilatore,
};

// How a parameter of a section takes part in the section's choice of duty.
enum class RuoloChiave {
    obbligatoria, // always needed
    alternativa,  // exactly one of the section's alternatives is given: a parameter or an outlet target
    facoltativa,  // may be left out
};

// What the value of a section's parameter is.
enum class GenereChiave {
    numero,       // a number in the key's unit
    portata,      // a flow of air: m³/h (the key's unit), or kg/h of dry air
    interruttore, // true or false, kept as 1 and 0
};

// One parameter of a section: its key in the file, what its value is, its unit as the file writes it ("" for a
// pure number or a switch), its meaning for the user (Italian) and the value a new section starts with (none: the
// parameter is left out).
struct ChiaveSezione {
    std::string_view chiave;
    GenereChiave genere;
    std::string_view unita;
    std::string_view descrizione;
    RuoloChiave ruolo;
    bool obiettivo = false; // a target at the section's outlet (the section's duty is found from it)
    std::optional<double> iniziale = {};
};

struct DescrizioneSezione {
    TipoSezione tipo;
    std::string_view nome;   // the word in the file: "recuperatore"
    std::string_view titolo; // for reports and windows: "RECUPERATORE DI CALORE"
    std::string_view sigla;  // the name a new section takes: "REC"
    std::vector<ChiaveSezione> chiavi;
};

// Every kind of section, in the order of TipoSezione.
const std::vector<DescrizioneSezione>& descrizioni_sezioni();
const DescrizioneSezione& descrizione(TipoSezione t);
std::optional<TipoSezione> tipo_sezione_da_nome(std::string_view nome);

// The parameters a new section of kind `t` starts with: a duty that computes for ordinary air.
std::map<std::string, double> valori_iniziali(TipoSezione t);

// Switches are kept as 1 and 0; a mass flow given in kg/h is kept under the key with this suffix.
inline constexpr std::string_view suffisso_massica = "_massica";

// The key every section takes: a section switched off (attiva false) lets the air through as it is.
inline constexpr std::string_view chiave_attiva = "attiva";

struct Sezione {
    TipoSezione tipo = TipoSezione::riscaldamento;
    std::string nome;
    std::map<std::string, double> valori; // the parameters by key, in the units of the section's description

    // The parameter `chiave`, when given.
    std::optional<double> valore(std::string_view chiave) const;
    // Not switched off.
    bool attiva() const;
};

// Whether the parameters of `s` are known keys and choose one duty; the reason (Italian, naming the key) when not.
Fatto controlla_sezione(const Sezione& s);

// A flow of air: volumetric (m³/h at the state of the air it measures) or of dry air (kg/h).
struct Portata {
    double valore = 0.0;
    bool massica = false;
};

// The text of a flow, as files and windows write it: the number (written by the caller), followed by " kg/h" for a
// mass flow ("3000 kg/h").
std::string testo_portata(std::string numero, bool massica);
// The number part of a flow's text and whether it is a mass flow: a text ending in "kg/h" ("3000 kg/h", "3000kg/h")
// gives the number before it, blanks at either end dropped; any other text gives itself, not a mass flow.
std::pair<std::string_view, bool> separa_portata(std::string_view testo);

// The season of an operating condition, for the recovery's seasonal bypass; in the order the window lists them.
enum class Stagione { nessuna, estate, inverno };
// "estate", "inverno", and "" for none: the words of the file, the report and the JSON.
std::string_view nome_stagione(Stagione s);
// The season a file's word names ("estate", "inverno"); nullopt for any other word.
std::optional<Stagione> stagione_da_nome(std::string_view nome);

// An operating condition: the outdoor state, the room (return) state when it differs from the unit's, the season
// and, by section name, parameters that replace the section's own in this condition.
struct Condizione {
    std::string nome;
    StatoCompleto esterna;
    std::optional<StatoCompleto> ambiente;
    Stagione stagione = Stagione::nessuna;
    std::map<std::string, std::map<std::string, double>> sezioni;
};

struct Uta {
    std::string nome;
    Aria aria;
    std::optional<double> quota;               // m, when the pressure was given by altitude
    Portata portata_esterna;                   // outdoor air taken in (volumetric at the outdoor state)
    std::optional<Portata> portata_espulsione; // extract air through the recovery (volumetric at the room state);
                                               // none: the supply's own mass flow at the recovery
    StatoCompleto ambiente;
    std::vector<Condizione> condizioni;
    std::vector<Sezione> sezioni;
};

// The sections of `u` in condition `k`: each with the condition's parameters where it gives some.
std::vector<Sezione> sezioni_in_condizione(const Uta& u, const Condizione& k);

// A state of the chain: the outdoor air (numero 0) or the outlet of a section.
struct StatoUta {
    int numero = 0;
    std::string sezione; // the section's name, "ARIA ESTERNA" for the intake
    StatoCompleto stato;
    double portata = 0.0; // dry air through it, kg/h
};

// A number a section reports, by key: potenza (kW, positive heating the air), acqua (kg/h), ...
struct DatoSezione {
    std::string chiave;
    double valore;
    std::string_view unita;
};

// What a section did in a condition: its numbers by key and, for a recovery, its extract side.
struct RisultatoSezione {
    std::string nome;
    TipoSezione tipo;
    bool attiva = true;
    bool esclusa = false; // the recovery's seasonal bypass left it out
    std::vector<DatoSezione> dati;
    std::optional<StatoCompleto> espulsione_ingresso, espulsione_uscita; // a recovery's extract side
};

// What one condition of a unit gives: every state of the chain, what each section did, the room, and the warnings
// (the report prints each once, in the block of its section).
struct RisultatoUta {
    std::string condizione;
    std::vector<StatoUta> stati;
    std::vector<RisultatoSezione> sezioni;
    StatoCompleto ambiente;
    std::vector<std::string> avvisi;
};

// Computes condition `k` of `u` as a calculation: the report (Italian, the style of the processes) and the chart
// table (one entry a state, joined in order; code codice_catena) of `c`, the numbers into `r`. A target a section
// cannot reach stops the calculation (Calcolo::impossibile) with a message that names the section.
void calcola_uta(Calcolo& c, const Uta& u, const Condizione& k, RisultatoUta& r);

// The chart overlay code of a chain: every entry in use joined to the next.
inline constexpr std::uint8_t codice_catena = 11;

// Runs calcola_uta in a fresh context `ctx` (its air set from the unit): the driver's floating-point checks and
// its refusal of impossible plants, as for the processes.
Fatto esegui_uta(const Uta& u, const Condizione& k, Contesto& ctx, Esterno& esterno, RisultatoUta& r);

// The condition called `nome`; the reason when the unit has none so called.
Esito<const Condizione*> trova_condizione(const Uta& u, std::string_view nome);

} // namespace ondix
