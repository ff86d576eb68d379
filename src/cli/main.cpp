// ondix-calc: runs one calculation of the desktop program without windows and prints its report or JSON.
#include "cli/esecuzione.h"
#include "cli/stati.h"
#include "cli/uscita_json.h"
#include "core/maschera.h"
#include "core/numeri.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#ifdef ONDIX_CON_GRAFICO
#include "cli/grafico.h"
#endif

namespace {

const char* descrizione = R"(ondix-calc runs one moist-air calculation of ondix without windows.

KIND is the process: 1 mixing, 2 sensible heating/cooling, 3 humidification with water,
4 point properties, 5 cooling with condensation, 6 summer cycle, 7 winter cycle,
13 humidification with steam, 17 winter cycle with steam, 21 summer verification.

The ten input boxes start with the defaults of the kind's form; --e1 ... --e10 replace them.
Numbers are read as the form reads them: decimal point, the longest number at the start of
the text ("20,5" is 20, "" and "abc" are 0).

"ondix-calc KIND --campi" lists the boxes of the kind with their labels and defaults.

Output: the report lines, one per line (UTF-8). Each message box is printed on stderr as
"messaggio: TEXT". With --json, one JSON object on one line, with these keys in this order:
  versione_formato  1; raised when a key changes its meaning or goes away
  processo          KIND
  titolo            the title of the kind's form, such as "CICLO ESTIVO"
  rapporto          the report lines (array of strings)
  messaggi          the texts of the message boxes the calculation showed
  punti             the chart points in use: n (1 to 10), t (C), x (g/kg), etichetta
  vista             the chart requested: "standard", "verifica", "invernale", "punto",
                    or null when the calculation stopped before its chart
  codice_grafico    which lines join the chart points (0 to 10)
  errore            the floating-point error that stopped the calculation, or null
  t_rugiada         kind 4 only: the dew point (C), or null when the air has none
  nebbia            only when the calculation met supersaturated states (fog): for each,
                    punto, t, x, ur, and the state it settles to: t_equilibrio,
                    x_equilibrio, ur_equilibrio, acqua_liquida (g/kg of dry air) and
                    acqua_liquida_kg_h (null where unknown)

Exit status: 0 the calculation ran (also when it stopped at a message); 3 a floating-point
error stopped it (its text on stderr); 2 usage error, or the output or the chart could not
be written.

Batch: "ondix-calc stati FILE" computes the properties of every state in a CSV file
(see ondix-calc stati --help).

For example:

  $ ondix-calc 4                         # 20 C, 50 %
  $ ondix-calc 4 --e1 30 --e2 12 --umidita 1
  $ ondix-calc 2 --e4 35 --portata 1     # 1200 kg/h up to 35 C
  $ ondix-calc 6 --e8 8500 --risposta 0.2
  $ ondix-calc 1 --json
  $ ondix-calc 7 --grafico inverno.png
  $ ondix-calc 6 --grafico estate.svg --isolinee ur,h --mollier
)";

const char* spiegazione_stati =
    R"txt(Input (FILE, or standard input when FILE is "-" or missing): a header line, then one state
per line. The header names the columns: t (dry bulb, C) and ur (relative humidity, %), or
t and x (humidity ratio, g/kg) with --umidita 1; other columns are ignored, letter case and
a unit after the name ("t [C]") do not matter. A first line of numbers only is data, with t
in the first column; any other first line must be such a header. Fields are separated by
';', ',' or a tab (the first of these found in the first line); numbers use a decimal point;
fields may be in double quotes; blank lines are skipped; lines end in LF, CR LF or CR.

Output (standard output): a CSV with the input's separator and the header
  t,ur,x,h,v,t_bulbo_umido,t_rugiada
t and ur in C and % with 2 decimals, x in g/kg and h in kj/kg with 3, v in mc/kg with 4,
wet bulb and dew point in C with 2 (the wet bulb empty where its solver finds none, the dew
point empty for air with none above -100 C, such as 0 %);
decimal point, no thousands separator. The values are those of the point-properties report,
at 101335 Pa. The rows are computed by one thread per processor core (-j sets the number),
in blocks of a few thousand, and written in input order; memory does not grow with the
input, which may be of any length.

Bad rows (not numbers, t outside -50..100 C, ur outside 0..100 %, x below 0 or above
saturation, missing fields, more fields than the first line, lines over 65536 characters)
are reported on standard error as "FILE:LINE: reason (row skipped)" and left out; the other
rows are written. Characters of the file that would control the terminal are shown escaped.

Exit status: 0 every row written; 1 some rows skipped; 2 the input could not be used (no
such file, a read error, no t or humidity column in the header, empty input), a write error
(the command stops at the first one), or a usage error.

For example:

  $ ondix-calc stati meteo.csv > proprieta.csv
  $ ondix-calc stati --umidita 1 misure.csv
  $ printf 't;ur\n20;50\n-5.5;90\n' | ondix-calc stati -)txt";

// Sends what is still buffered to standard output. Returns -1 when everything was written, else the errno of the
// failed write (0 when the system gave none).
int scarica_uscita() {
    errno = 0;
    std::cout.flush();
    return std::cout ? -1 : errno;
}

void segnala_uscita(const char* prefisso, int codice) {
    std::cerr << prefisso << "cannot write the output";
    if (codice > 0) std::cerr << ": " << std::strerror(codice);
    std::cerr << '\n';
}

// The batch command with `fili` threads; the exit status of codice_uscita_stati, or 2 when the file cannot be
// read or written.
int esegui_stati(const std::string& file, int umidita, unsigned fili) {
    std::ios::sync_with_stdio(false);
    std::ifstream da_file;
    std::istream* in = &std::cin;
    std::string nome = "<stdin>";
    if (!file.empty() && file != "-") {
        nome = file;
        std::error_code ec;
        if (std::filesystem::is_directory(file, ec)) {
            std::cerr << "ondix-calc: stati: " << ondix::testo_visibile(file) << " is a directory\n";
            return 2;
        }
        da_file.open(file, std::ios::binary);
        if (!da_file) {
            std::cerr << "ondix-calc: stati: cannot open " << ondix::testo_visibile(file) << ": "
                      << std::strerror(errno) << '\n';
            return 2;
        }
        in = &da_file;
    }
    const ondix::EsitoStati esito = ondix::calcola_stati(*in, std::cout, std::cerr, umidita, nome, fili);
    const int errore_uscita = scarica_uscita();
    if (esito.errore) {
        std::cerr << "ondix-calc: stati: " << *esito.errore << '\n';
    } else if (errore_uscita >= 0) {
        segnala_uscita("ondix-calc: stati: ", errore_uscita);
        return 2;
    }
    if (esito.scartate > 0)
        std::cerr << "ondix-calc: stati: " << esito.scartate << " of " << esito.scritte + esito.scartate
                  << " rows skipped\n";
    return ondix::codice_uscita_stati(esito);
}

// "--campi": the boxes of the kind's form, as the options that fill them, with their labels and defaults.
void stampa_campi(int tipo) {
    ondix::StatoMaschera m;
    ondix::imposta_maschera(tipo, m);
    std::cout << ondix::titolo_processo(tipo) << " (ondix-calc " << tipo << ")\n";
    for (std::size_t i = 0; i < m.testo.size(); ++i) {
        if (!m.testo_visibile[i]) continue;
        std::string opzione = "--e" + std::to_string(i + 1);
        opzione.resize(7, ' ');
        std::string etichetta = m.etichetta[i];
        if (etichetta.size() < 32) etichetta.resize(32, ' ');
        std::cout << opzione << etichetta << ' ' << m.testo[i] << '\n';
    }
    if (m.umidita_visibile)
        std::cout << "--umidita 0  humidities in %, relative (the default); 1  humidity ratios in g/kg\n";
    if (m.portata_visibile)
        std::cout << "--portata 0  air flows in mc/h, volumetric (the default); 1  mass flows in kg/h\n";
}

} // namespace

int main(int argc, char** argv) {
    // A file-size limit makes a write fail with EFBIG, reported like any write error, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    CLI::App app{descrizione, "ondix-calc"};
    app.formatter(std::make_shared<CLI::Formatter>());
    app.get_formatter()->column_width(28);

    int tipo = 0;
    ondix::RichiestaCalcolo richiesta;
    bool json = false;
    std::string grafico;

    // Not required by the parser: "ondix-calc stati" runs without it; checked below.
    auto* opt_tipo = app.add_option("KIND", tipo, "process kind: 1, 2, 3, 4, 5, 6, 7, 13, 17 or 21");
    std::array<std::string, 10> testi;
    for (int i = 0; i < 10; ++i) {
        const std::string nome = "--e" + std::to_string(i + 1);
        app.add_option(nome, testi[static_cast<std::size_t>(i)],
                       "text of input box " + std::to_string(i + 1) + " (Edit" + std::to_string(i + 1) + ")")
            ->allow_extra_args(false);
    }
    app.add_option("--umidita", richiesta.umidita,
                   "humidity inputs: 0 relative humidity in %, 1 humidity ratio in g/kg")
        ->check(CLI::IsMember({0, 1}));
    app.add_option("--portata", richiesta.portata, "air-flow inputs: 0 volumetric flow in mc/h, 1 mass flow in kg/h")
        ->check(CLI::IsMember({0, 1}));
    std::string risposta;
    auto* opt_risposta = app.add_option(
        "--risposta", risposta, "text typed into an input box the calculation opens (without it the box is cancelled)");
    app.add_flag("--json", json, "print one JSON object instead of the report (its keys are listed above)");
    bool campi = false;
    app.add_flag("--campi", campi, "print the input boxes of KIND (option, label, default) and exit");
    app.set_version_flag("--version", "ondix-calc " ONDIX_VERSIONE, "print the version and exit");
#ifdef ONDIX_CON_GRAFICO
    app.add_option("--grafico", grafico,
                   "also draw the chart into FILE (.png, .svg or .pdf), as the chart window shows it at 1024 x 768");
    std::string isolinee;
    bool mollier = false;
    auto* opt_isolinee = app.add_option("--isolinee", isolinee,
                                        "with --grafico: isolines of relative humidity, enthalpy, wet bulb, specific "
                                        "volume: LIST of ur,h,tbu,v or tutte");
    app.add_flag("--mollier", mollier, "with --grafico: the Mollier h-x view (humidity ratio across, t upward)");
#endif

    auto* stati = app.add_subcommand("stati", "computes the properties of every air state of a CSV file");
    stati->footer(spiegazione_stati);
    std::string file_stati = "-";
    int umidita_stati = 0;
    stati->add_option("FILE", file_stati, "CSV file of states, \"-\" for standard input (the default)");
    stati
        ->add_option("--umidita", umidita_stati,
                     "humidity column: 0 ur, relative humidity in % (the default); 1 x, humidity ratio in g/kg")
        ->check(CLI::IsMember({0, 1}));
    unsigned fili_stati = ondix::fili_disponibili();
    stati
        ->add_option("-j,--fili", fili_stati,
                     "threads that compute the rows (default: one per processor core); 1 reads, computes and writes "
                     "one row after the other")
        ->check(CLI::Range(1u, 1024u));

    // "--e1=" means an empty box; CLI11 would take the next argument as its value instead. Spell it as two
    // arguments, which CLI11 reads as the empty text.
    std::vector<std::string> argomenti(argv + 1, argv + argc);
    for (std::size_t i = 0; i < argomenti.size(); ++i) {
        const std::string& a = argomenti[i];
        if (a.size() > 3 && a.rfind("--", 0) == 0 && a.back() == '=' && a.find('=') == a.size() - 1) {
            argomenti[i].pop_back();
            argomenti.insert(argomenti.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::string());
            ++i;
        }
    }
    std::reverse(argomenti.begin(), argomenti.end()); // CLI11 takes them last first

    try {
        app.parse(argomenti);
    } catch (const CLI::Success& e) { // --help, --version
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "ondix-calc: " << e.what() << "\n(ondix-calc --help explains the options)\n";
        return 2;
    }
    if (stati->parsed()) {
        // The process options belong to one calculation; with the batch command they would be ignored.
        for (const CLI::Option* o : app.get_options())
            if (o->count() > 0) {
                std::cerr << "ondix-calc: " << o->get_name()
                          << " before \"stati\" belongs to one calculation; the batch options follow \"stati\"\n"
                             "(ondix-calc stati --help explains them)\n";
                return 2;
            }
        return esegui_stati(file_stati, umidita_stati, fili_stati);
    }
    if (opt_tipo->count() == 0) {
        std::cerr << "ondix-calc: KIND is required\n(ondix-calc --help explains the options)\n";
        return 2;
    }
    if (!ondix::tipo_valido(tipo)) {
        std::cerr << "ondix-calc: unknown process kind " << tipo
                  << " (use 1, 2, 3, 4, 5, 6, 7, 13, 17 or 21; see --help)\n";
        return 2;
    }
    if (campi) {
        stampa_campi(tipo);
        const int errore_uscita = scarica_uscita();
        if (errore_uscita >= 0) segnala_uscita("ondix-calc: ", errore_uscita);
        return errore_uscita >= 0 ? 2 : 0;
    }
#ifdef ONDIX_CON_GRAFICO
    ondix::OpzioniGrafico strati;
    strati.mollier = mollier;
    if ((opt_isolinee->count() > 0 || mollier) && grafico.empty()) {
        std::cerr
            << "ondix-calc: --isolinee and --mollier go with --grafico\n(ondix-calc --help explains the options)\n";
        return 2;
    }
    if (opt_isolinee->count() > 0)
        if (const auto errore = ondix::leggi_isolinee(isolinee, strati)) {
            std::cerr << "ondix-calc: --isolinee: " << *errore << '\n';
            return 2;
        }
#endif
    richiesta.tipo = tipo;
    for (int i = 0; i < 10; ++i) {
        const auto* o = app.get_option("--e" + std::to_string(i + 1));
        if (o->count() > 0) richiesta.testi[static_cast<std::size_t>(i)] = testi[static_cast<std::size_t>(i)];
    }
    if (opt_risposta->count() > 0) richiesta.risposta = risposta;

    const ondix::EsitoCalcolo esito = ondix::esegui(richiesta);

    if (json) {
        std::cout << ondix::esito_json(esito) << '\n';
    } else {
        for (const auto& m : esito.messaggi)
            std::cerr << "messaggio: " << m << '\n';
        for (const auto& riga : esito.contesto.rapporto.righe())
            std::cout << riga << '\n';
    }
    const int errore_uscita = scarica_uscita();
    if (esito.errore) std::cerr << *esito.errore << '\n';
    if (errore_uscita >= 0) {
        // Nothing of the report may be missing unnoticed: no chart is drawn for a report that was lost.
        segnala_uscita("ondix-calc: ", errore_uscita);
        return 2;
    }

#ifdef ONDIX_CON_GRAFICO
    if (!grafico.empty()) {
        // A calculation that stopped before its chart request has no chart: nothing is written, and the exit
        // status stays the calculation's own.
        if (!esito.vista) {
            std::cerr << "ondix-calc: the calculation made no chart; " << grafico << " was not written\n";
            return esito.errore ? 3 : 0;
        }
        if (const auto errore = ondix::esporta_grafico_modulo(esito.contesto, esito.vista, grafico, strati)) {
            std::cerr << "ondix-calc: " << *errore << '\n';
            return 2;
        }
    }
#endif
    return esito.errore ? 3 : 0;
}
