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
#include <utility>
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

// What each state of many gives: output arrays (any may be null) of n values each.
struct Uscite {
    double *t = nullptr, *ur = nullptr, *x = nullptr, *h = nullptr, *v = nullptr;
    double *t_bulbo_umido = nullptr, *t_rugiada = nullptr;
};

// Many states at once: a[i] of quantity `prima` with b[i] of quantity `seconda`, each at pressioni[i] when
// `pressioni` is not null, else at aria.pressione; `fili` threads share the work (1: the calling thread alone).
struct RichiestaStati {
    Grandezza prima = Grandezza::t;
    const double* a = nullptr;
    Grandezza seconda = Grandezza::ur;
    const double* b = nullptr;
    std::size_t n = 0;
    Aria aria;
    const double* pressioni = nullptr;
    unsigned fili = 1;
};

// How many of the states could not be computed, and the first of them (its index and why).
struct RisultatoStati {
    std::size_t errori = 0;
    std::size_t indice_primo_errore = 0;
    std::string primo_errore; // empty when every state was computed
};

// Computes the states of `r` into `uscite`: a wet bulb or dew point the state has not, and every value of a state
// that cannot be computed, is NaN.
ONDIX_API RisultatoStati stati(const RichiestaStati& r, const Uscite& uscite);

// A state that could not be computed: its index and why (the text of ondix-calc).
struct ErroreStato {
    std::size_t indice = 0;
    std::string testo;
};

// What a table of states may ask beyond RichiestaStati.
struct OpzioniStati {
    // Further pairs, tried in order for a state the request's pair does not give (as "ondix-calc stati" takes a
    // weather file's dry bulb with its dew point, else with its relative humidity). Their values are in `valori`
    // (n each, indexed by Grandezza) beside the request's a and b. With further pairs a NaN value is one the state
    // is not given by: a pair with one is passed over, and a state none of whose pairs has both values is an error
    // ("valori mancanti: tr, ur").
    std::vector<std::pair<Grandezza, Grandezza>> altre_coppie;
    std::array<const double*, 6> valori{};
    // True: t with ur or x gives the state as the point-properties report computes it (a row of a CSV file); false:
    // as "ondix-calc stato" solves every pair (an hour of a weather file).
    bool come_rapporto = true;
    // When not null, filled with every state that could not be computed, in index order.
    std::vector<ErroreStato>* errori = nullptr;
};

// The same with further pairs, another solving of t with ur or x, or every failure listed.
ONDIX_API RisultatoStati stati(const RichiestaStati& r, const Uscite& uscite, const OpzioniStati& o);

// The same, kept for callers written before RichiestaStati: the states of a[i] (quantity ga) with b[i] (gb); returns
// the number that could not be computed, the first one's text into *primo_errore and its index into
// *indice_primo_errore when they are not null.
ONDIX_API std::size_t stati(Grandezza ga, const double* a, Grandezza gb, const double* b, std::size_t n,
                            const Aria& aria, const double* pressioni, const Uscite& uscite, unsigned fili = 1,
                            std::string* primo_errore = nullptr, std::size_t* indice_primo_errore = nullptr);

// The forms of a humidity in the input boxes and in a table of states.
enum class FormaUmidita { relativa = 0, specifica = 1 }; // ur in %, x in g/kg
// The forms of an air flow in the input boxes.
enum class FormaPortata { volumetrica = 0, massica = 1 }; // m³/h, kg/h of dry air

// The columns a table of states is computed from, found by their names as "ondix-calc stati" finds them in the
// header of a CSV file: t with ur (with x for FormaUmidita::specifica), else the only two of t, ur, x, h, tbu, tr;
// with `con_pressione` also p (or pressione). Names are read in lower case up to the first character that is not a
// letter, a digit or '_' ("T [C]" is t).
struct Colonne {
    Grandezza prima = Grandezza::t, seconda = Grandezza::ur; // the pair, in the order of Grandezza
    std::size_t indice_prima = 0, indice_seconda = 0;        // their positions among the names
    std::optional<std::size_t> indice_pressione;             // with con_pressione
};
// The columns of `nomi`; Errore (Causa::dati) with the text of ondix-calc stati when they give no pair, or give one
// wrongly.
ONDIX_API Colonne colonne_stati(const std::vector<std::string>& nomi, FormaUmidita umidita = FormaUmidita::relativa,
                                bool con_pressione = false);

// A column's name as ondix-calc stati reads it in a header: lower case, up to the first character that is not a
// letter, a digit or '_' ("T [C]" gives "t").
ONDIX_API std::string nome_colonna(const std::string& nome);

// The number of a cell of a table as ondix-calc stati reads a field: a decimal point, or a decimal comma where the
// file's `separatore` is not ','. A cell that is empty or not a number from end to end throws Errore (Causa::dati) with
// the command's text for column `colonna` ("colonna t vuota", "colonna t: \"abc\" non è un numero").
ONDIX_API double numero_cella(const std::string& testo, const std::string& colonna, char separatore = ';');

// A column of a table read from a file. A numeric column has each row's number in `numeri` (NaN where the cell is
// empty or not a number) and, when some cells are not numbers, each row's text in `testi` ("" where the cell held a
// number). A text column has each row's cell as written in `testi`, and no numeri.
struct Colonna {
    std::string nome;  // as the file's header writes it
    std::string unita; // "C", "%", "Pa" for a weather file's columns; empty when the file does not say
    bool numerica = true;
    std::vector<double> numeri;
    std::vector<std::string> testi;
};

// Where a weather file's data were taken (its LOCATION line).
struct Localita {
    std::string citta, regione, paese, fonte, wmo;
    std::optional<double> latitudine, longitudine; // degrees, north and east positive
    std::optional<double> fuso_orario;             // hours from UTC
    std::optional<double> quota;                   // m
};

// A row of a file the reader refuses as ondix-calc stati refuses it (a line over 65536 characters, more fields than
// the header, an hour without its date, a value that is not a number): its cells are empty.
struct RigaRifiutata {
    std::size_t riga = 0; // its index among the table's rows
    std::string motivo;   // the command's text
};

// The formats of the files of states.
enum class Formato {
    automatico, // as ondix-calc stati tells them apart: a weather file by its name (.epw) or its first line
                // ("LOCATION,..."), else a CSV
    csv,
    epw,
};

// A table of states as ondix-calc stati reads its file.
struct Tabella {
    Formato formato = Formato::csv;       // csv or epw
    char separatore = ',';                // between the fields
    bool decimali_virgola = false;        // the first row has a number with a decimal comma
    std::vector<std::size_t> linee;       // each row's line in the file (1 the first)
    std::vector<Colonna> colonne;         // in the file's order
    std::vector<RigaRifiutata> rifiutate; // in row order
    std::optional<Localita> localita;     // a weather file's
};

// Reads the file `percorso` as ondix-calc stati reads it. A CSV: the header's columns (a first line of numbers
// only is the first row, its columns named t, ur (x with FormaUmidita::specifica), colonna_3, ...), separated by
// ';', ',' or a tab, numbers with a decimal point or, where the separator is not ',', a decimal comma; a column is
// numeric when all its cells are numbers or empty, or when it is named as a quantity (t, ur, x, h, tbu, tr, p,
// pressione; "T [C]" too). A weather file (EPW): anno, mese, giorno, ora, minuto, t (dry bulb, C), tr (dew point,
// C), ur (relative humidity, %) and p (station pressure, Pa) of every hour, NaN where the file marks a value as
// missing, and the place. A file that cannot be opened or read throws Errore (Causa::file), one without a header or
// hours Errore (Causa::dati), each with the command's text.
ONDIX_API Tabella leggi_tabella(const std::string& percorso, Formato formato = Formato::automatico,
                                FormaUmidita umidita = FormaUmidita::relativa);
// The same for a CSV file and for a weather file.
ONDIX_API Tabella leggi_csv(const std::string& percorso, FormaUmidita umidita = FormaUmidita::relativa);
ONDIX_API Tabella leggi_epw(const std::string& percorso);

// The processes of the program, by their numbers as "ondix-calc KIND" takes them.
enum class TipoProcesso {
    miscelazione = 1,                 // mixing of two streams
    riscaldamento_raffreddamento = 2, // sensible heating or cooling
    umidificazione = 3,               // adiabatic humidification with water
    proprieta_punto = 4,              // the properties of one state
    raffreddamento_condensazione = 5, // cooling coil with bypass
    ciclo_estivo = 6,                 // summer cycle
    ciclo_invernale = 7,              // winter cycle
    umidificazione_vapore = 13,       // humidification with steam
    ciclo_invernale_vapore = 17,      // winter cycle with steam humidification
    verifica_estiva = 21,             // summer verification
};

// A process of the program, as "ondix-calc KIND" runs it: the kind, the texts of the ten input boxes that replace
// the form's defaults (as --e1 ... --e10), the humidity and flow forms (as --umidita and --portata), the text typed
// into an input box the calculation opens (none: the box is cancelled), and the air.
struct RichiestaProcesso {
    TipoProcesso tipo = TipoProcesso::proprieta_punto;
    std::array<std::optional<std::string>, 10> caselle{};
    FormaUmidita umidita = FormaUmidita::relativa;
    FormaPortata portata = FormaPortata::volumetrica;
    std::optional<std::string> risposta;
    Aria aria;
};

// The same request with the kind and the forms as their numbers, kept for callers written before the enums.
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

// The numbers of a process's result lines, each under the name of the JSON's "risultati" that ends in its unit
// (kg/h of dry air, m3/h, W or kW as the report prints the power, kJ/kg, g/kg, m3/kg, C, pct %; a factor has none).
// A result whose line the report has not written is empty. aria_ambiente is the room air taken back, aria_esterna
// the outdoor air; a flow without either is the total.
struct Risultati {
    std::optional<double> portata_kg_h, portata_m3_h;
    std::optional<double> portata_1_kg_h, portata_1_m3_h, portata_2_kg_h, portata_2_m3_h; // kind 1's streams
    std::optional<double> portata_aria_ambiente_kg_h, portata_aria_ambiente_m3_h;
    std::optional<double> portata_aria_esterna_kg_h, portata_aria_esterna_m3_h;
    std::optional<double> potenza_kW; // kind 2
    std::optional<double> potenza_frigorifera_W, potenza_frigorifera_sensibile_W, potenza_frigorifera_latente_W;
    std::optional<double> potenza_frigorifera_aria_esterna_W;
    std::optional<double> potenza_preriscaldamento_W, potenza_postriscaldamento_W, potenza_riscaldamento_W;
    std::optional<double> verifica_potenza_sensibile_W, verifica_potenza_latente_W;
    std::optional<double> condensa_kg_h, vapore_kg_h;
    std::optional<double> acqua_umidificazione_kg_h, acqua_prima_umidificazione_kg_h, acqua_seconda_umidificazione_kg_h;
    std::optional<double> salto_entalpico_kJ_kg, salto_umidita_g_kg;
    std::optional<double> fattore_bypass, fattore_termico;
    std::optional<double> t_C, ur_pct, x_g_kg, h_kJ_kg, v_m3_kg, t_bulbo_umido_C; // kind 4's state
};

// One result line's number under its name (as in Risultati).
struct Valore {
    std::string nome;
    double valore = 0;
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
    Risultati risultati;        // the numbers of the result lines
    std::vector<Valore> valori; // the same, in the report's order (the JSON's "risultati")
    // The warnings ondix-calc prints for boxes whose text it reads only in part ("--e1 (temperatura [C]): \"20,5\"
    // non è tutto un numero; il calcolo usa 20"): the calculation ran with the value given.
    std::vector<std::string> avvisi;
};

// Runs the process. A kind that does not exist, a humidity or flow form other than those of the enums, or an
// unusable air throws Errore (Causa::dati); a floating-point error (Causa::virgola_mobile) or inputs that admit no
// possible plant (Causa::impianto) throw with the text ondix-calc prints.
ONDIX_API RisultatoProcesso processo(const RichiestaProcesso& p);
// The same, kept for callers written before RichiestaProcesso.
ONDIX_API RisultatoProcesso processo(const Processo& p);

// The chart is drawn by ondix-calc --grafico (the chart module of the package ondix-grafico), not by this library:
// the library does not depend on a graphics toolkit.

} // namespace ondix::api
