// libondix: the moist-air calculations of ondix for other programs.
//
//   #include <ondix/ondix.h>
//   const ondix::api::Stato s = ondix::api::stato({ondix::api::Grandezza::t, 26}, {ondix::api::Grandezza::tbu, 19});
//
// Units everywhere: °C, % (relative humidity), g/kg of dry air (humidity ratio), kJ/kg of dry air (enthalpy),
// m³/kg of dry air (specific volume), Pa (pressure). A call that cannot give a result throws ondix::api::Errore
// with the Italian text ondix-calc prints for the same input. Every function may be called from several threads
// at once.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#if defined(_WIN32)
#define ONDIX_API
#else
#define ONDIX_API __attribute__((visibility("default")))
#endif

namespace ondix::api {

// The library's version, such as "1.0.0".
ONDIX_API const char* versione();

// What kind of failure an Errore is (the same kinds as ondix-calc's exit statuses).
enum class Causa {
    dati,           // an input that cannot be used (ondix-calc exits with 2)
    file,           // a file that cannot be read or written (2)
    virgola_mobile, // a floating-point error stopped a calculation (3)
    impianto,       // the inputs admit no possible plant or lie outside their physical range (4)
};

class ONDIX_API Errore : public std::runtime_error {
public:
    Errore(Causa causa, const std::string& testo) : std::runtime_error(testo), m_causa(causa) {}
    Causa causa() const { return m_causa; }

private:
    Causa m_causa;
};

// The air of a calculation: its pressure and its model ("" the program's own correlations, "ashrae" the
// equations of the ASHRAE Handbook).
struct Aria {
    double pressione = 101335.0;
    std::string modello;
};

// The pressure, Pa, at an altitude (m, -250 to 3000) from the altitude table of the program.
ONDIX_API double pressione_da_quota(double quota);

// The quantities a state can be given by.
enum class Grandezza { t, ur, x, h, tbu, tr };
// One known quantity.
struct Noto {
    Grandezza grandezza;
    double valore;
};

// A full state; the wet bulb or dew point is empty where the air has none the solvers find.
struct Stato {
    double t = 0, ur = 0, x = 0, h = 0, v = 0;
    std::optional<double> t_bulbo_umido, t_rugiada;
};

// The state from any two different known quantities, in either order, except x with tr and h with tbu (not
// independent). t with ur or x gives the state as the point-properties report and "ondix-calc stati" compute it,
// the other pairs as "ondix-calc stato" solves them. A pair no air can have throws Errore (Causa::dati).
ONDIX_API Stato stato(Noto a, Noto b, const Aria& aria = {});

// Many states at once: a[i] of quantity ga with b[i] of quantity gb, each at pressioni[i] when `pressioni` is not
// null, else at aria.pressione. Each output array (any may be null) gets n values; a wet bulb or dew point the
// state has not, and every value of a state that cannot be computed, is NaN. `fili` threads share the work (1:
// the calling thread alone). Returns the number of states that could not be computed; the text of the first one
// goes into *primo_errore when it is not null.
struct Uscite {
    double *t = nullptr, *ur = nullptr, *x = nullptr, *h = nullptr, *v = nullptr;
    double *t_bulbo_umido = nullptr, *t_rugiada = nullptr;
};
ONDIX_API std::size_t stati(Grandezza ga, const double* a, Grandezza gb, const double* b, std::size_t n,
                            const Aria& aria, const double* pressioni, const Uscite& uscite, unsigned fili = 1,
                            std::string* primo_errore = nullptr, std::size_t* indice_primo_errore = nullptr);

// A process of the program, as "ondix-calc KIND" runs it: the kind (1 mixing, 2 sensible heating/cooling, 3
// humidification with water, 4 point properties, 5 cooling with condensation, 6 summer cycle, 7 winter cycle, 13
// humidification with steam, 17 winter cycle with steam, 21 summer verification), the texts of the ten input
// boxes that replace the form's defaults (as --e1 ... --e10), the humidity and flow units (as --umidita and
// --portata), the text typed into an input box the calculation opens (none: the box is cancelled).
struct Processo {
    int tipo = 4;
    std::array<std::optional<std::string>, 10> caselle{};
    int umidita = 0;
    int portata = 0;
    std::optional<std::string> risposta;
    Aria aria;
};

// A point the calculation put on the chart (n 1 to 10) and the full state there.
struct Punto {
    int n = 0;
    std::string etichetta;
    Stato stato;
};

// Supersaturated air (fog) the calculation met, and the state it settles to.
struct Nebbia {
    std::string punto;
    double t = 0, x = 0, ur = 0;
    std::optional<double> t_equilibrio, x_equilibrio, acqua_liquida; // °C, g/kg, g/kg of dry air
    std::optional<double> acqua_liquida_kg_h;
};

struct RisultatoProcesso {
    int tipo = 0;
    std::string titolo;                // such as "CICLO ESTIVO"
    std::vector<std::string> rapporto; // the report lines
    std::vector<std::string> messaggi; // the texts of the message boxes the calculation showed
    std::vector<Punto> punti;          // the chart points in use
    std::optional<std::string> vista;  // the chart requested ("standard", ...), none when it stopped before
    int codice_grafico = 0;            // which lines join the chart points
    std::optional<double> t_rugiada;   // kind 4: the dew point
    std::vector<Nebbia> nebbia;
    // The same object "ondix-calc KIND --json" prints, on one line: every result the JSON has, with its keys.
    std::string json;
};

// Runs the process. A kind that does not exist, a humidity or flow unit other than 0 or 1, or an unusable air
// throws Errore (Causa::dati); a floating-point error (Causa::virgola_mobile) or inputs that admit no possible
// plant (Causa::impianto) throw with the text ondix-calc prints.
ONDIX_API RisultatoProcesso processo(const Processo& p);

// The chart is drawn by ondix-calc --grafico (the chart module of the package ondix-grafico), not by this library:
// the library does not depend on a graphics toolkit.

} // namespace ondix::api
