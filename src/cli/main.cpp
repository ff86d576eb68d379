// ondix-calc: runs one calculation of the desktop program without windows and prints its report or JSON.
#include "cli/comandi.h"
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

Pressure: every calculation is at 101335 Pa unless --pressione PA or --quota M (the
altitude tool's table, -250 to 3000 m) gives the site's pressure; the report then opens
with the line "pressione atmosferica: 79500 Pa", the JSON has "pressione", and the chart's
saturation curve is drawn at that pressure.

Model: the program's own correlations unless --modello ashrae chooses the equations of
the ASHRAE Handbook (Hyland-Wexler saturation over ice and water, the thermodynamic wet
bulb, -60 to 150 C); the report then opens with "modello aria umida: ASHRAE", the JSON
has "modello" and the chart's title and isolines follow it. stato and stati take it too.

--rtf FILE also saves the report as the report window saves it (RTF, Courier New 17
points); the file is replaced only once complete.

Exit status: 0 the calculation ran (also when it stopped at a message); 3 a floating-point
error stopped it (its text on stderr); 2 usage error, or the output, the RTF or the chart
could not be written.

A state from two properties: "ondix-calc stato --t 26 --tbu 19" (see ondix-calc stato --help).
Batch: "ondix-calc stati FILE" computes the properties of every state in a CSV file or an
hourly weather file (EPW) (see ondix-calc stati --help).

For example:

  $ ondix-calc 4                         # 20 C, 50 %
  $ ondix-calc 4 --e1 30 --e2 12 --umidita 1
  $ ondix-calc 2 --e4 35 --portata 1     # 1200 kg/h up to 35 C
  $ ondix-calc 6 --e8 8500 --risposta 0.2
  $ ondix-calc 1 --json
  $ ondix-calc 7 --grafico inverno.png
  $ ondix-calc 6 --quota 1200 --rtf estivo.rtf
  $ ondix-calc 6 --grafico estate.svg --isolinee ur,h --mollier
)";

const char* spiegazione_stato =
    R"txt(Give exactly two of --t (dry bulb, C), --ur (relative humidity, %), --x (humidity ratio,
g/kg), --h (enthalpy, kJ/kg), --tbu (wet bulb, C), --tr (dew point, C). Every pair is
accepted except x with tr and h with tbu, which are not independent: the dew point follows
from the humidity ratio, and the wet bulb (the temperature of saturated air of the same
enthalpy, as the reports define it) from the enthalpy.

Output: the point-properties report (title, five property lines, wet bulb and dew point),
or with --json one object {"versione_formato", "t", "ur", "x", "h", "v", "t_bulbo_umido",
"t_rugiada", "pressione", "rapporto"}. The wet bulb and dew point are solved to far better than the
printed digits, so that the report gives back the values given.

A pair no air can have (ur over 100, a wet bulb or dew point above the dry bulb, a humidity
above saturation, a dry bulb outside -50 to 100 C) is reported on standard error with the
pair, and the exit status is 2.

For example:

  $ ondix-calc stato --t 26 --tbu 19
  $ ondix-calc stato --t 26 --tr 15 --quota 1500
  $ ondix-calc stato --h 50 --x 8 --json)txt";

const char* spiegazione_stati =
    R"txt(Input (FILE, or standard input when FILE is "-" or missing): a header line, then one state
per line. The header names the columns: t (dry bulb, C) and ur (relative humidity, %), or
t and x (humidity ratio, g/kg) with --umidita 1, or any other two of t, ur, x, h (enthalpy,
kJ/kg), tbu (wet bulb, C) and tr (dew point, C) as "ondix-calc stato" takes them; other
columns are ignored, letter case and a unit after the name ("t [C]") do not matter. A first
line of numbers only is data, with t in the first column; any other first line must be such
a header. Fields are separated by ';', ',' or a tab (the first of these found in the first
line); numbers use a decimal point; fields may be in double quotes; blank lines are skipped;
lines end in LF, CR LF or CR.

Weather files: an EnergyPlus weather file (EPW; by the name's .epw or by its first line
"LOCATION,...") is read as it is: for each hour the dry bulb, the dew point (or, where it is
missing, the relative humidity) and, with --pressione file, the station pressure. Values
the file marks as missing (99.9 C, 999 %, 999999 Pa) make the hour a bad row. The output
begins with the columns anno, mese, giorno, ora.

Output (standard output): a CSV with the input's separator and the header
  t,ur,x,h,v,t_bulbo_umido,t_rugiada
t and ur in C and % with 2 decimals, x in g/kg and h in kj/kg with 3, v in mc/kg with 4,
wet bulb and dew point in C with 2 (the wet bulb empty where its solver finds none, the dew
point empty for air with none above -100 C, such as 0 %); decimal point, no thousands
separator. The values of t with ur or x are those of the point-properties report; states
given by other pairs, and weather files, have their wet bulb and dew point solved as
"ondix-calc stato" solves them. The rows are computed by one thread per processor core (-j
sets the number), in blocks of a few thousand, and written in input order; memory does not
grow with the input, which may be of any length.

Pressure: 101335 Pa unless --pressione PA or --quota M gives another; with --pressione file
every row has its own, from a column p (or pressione, Pa) or a weather file's station
pressure, and the output ends with a column p.

--riepilogo prints, instead of the rows, one screen: hours, minimum, mean and maximum of t,
x and h, the 0.4 %, 1 %, 99 % and 99.6 % design values of t and h (the values exceeded in
that share of the hours), and with --soglia NAME=VALUE (t, ur, x, h, tbu or tr; repeatable)
the hours above each threshold. --grafico FILE draws every state as a dot on the chart,
darker where they pile up (builds with the chart only).

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
  $ printf 't;ur\n20;50\n-5.5;90\n' | ondix-calc stati -
  $ ondix-calc stati torino.epw --pressione file > ore.csv
  $ ondix-calc stati torino.epw --riepilogo --soglia t=30 --soglia h=60
  $ ondix-calc stati torino.epw --grafico anno.png > /dev/null)txt";

// A number option of "stato": its value, or a message.
std::optional<std::string> leggi_noto(const std::string& opzione, const std::string& testo, ondix::Grandezza g,
                                      std::vector<ondix::Noto>& noti) {
    const auto v = ondix::numero_intero_testo(testo);
    if (!v) return opzione + ": \"" + testo + "\" is not a number";
    noti.push_back({g, *v});
    return std::nullopt;
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
    std::string pressione, quota, rtf;
    auto* opt_pressione = app.add_option("--pressione", pressione, "calculate at this atmospheric pressure, Pa");
    auto* opt_quota = app.add_option("--quota", quota, "calculate at the pressure of this altitude, m (-250 to 3000)");
    std::string modello, modello_stato, modello_stati;
    const char* aiuto_modello = "moist-air model: ashrae, the ASHRAE Handbook's (-60 to 150 C); default: the correlations";
    auto* opt_modello = app.add_option("--modello", modello, aiuto_modello);
    app.add_option("--rtf", rtf, "also save the report into FILE as RTF, as the report window saves it");
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

    auto* stato = app.add_subcommand("stato", "the full state of air from two known properties");
    stato->footer(spiegazione_stato);
    const std::array<std::pair<const char*, const char*>, 6> opzioni_stato{{
        {"--t", "dry bulb, C"},
        {"--ur", "relative humidity, %"},
        {"--x", "humidity ratio, g/kg"},
        {"--h", "enthalpy, kJ/kg"},
        {"--tbu", "wet bulb, C"},
        {"--tr", "dew point, C"},
    }};
    std::array<std::string, 6> testi_stato;
    for (std::size_t i = 0; i < opzioni_stato.size(); ++i)
        stato->add_option(opzioni_stato[i].first, testi_stato[i], opzioni_stato[i].second);
    std::string pressione_stato, quota_stato, rtf_stato;
    bool json_stato = false;
    auto* opt_pressione_stato = stato->add_option("--pressione", pressione_stato, "atmospheric pressure, Pa");
    auto* opt_quota_stato = stato->add_option("--quota", quota_stato, "altitude, m (-250 to 3000)");
    auto* opt_modello_stato = stato->add_option("--modello", modello_stato, aiuto_modello);
    stato->add_option("--rtf", rtf_stato, "also save the report into FILE as RTF");
    stato->add_flag("--json", json_stato, "print one JSON object instead of the report");

    auto* stati = app.add_subcommand("stati", "computes the properties of every air state of a CSV or weather file");
    stati->footer(spiegazione_stati);
    ondix::RichiestaStati richiesta_stati;
    stati->add_option("FILE", richiesta_stati.file,
                      "CSV or EPW file of states, \"-\" for standard input (the default)");
    stati
        ->add_option("--umidita", richiesta_stati.opzioni.umidita,
                     "humidity column: 0 ur, relative humidity in % (the default); 1 x, humidity ratio in g/kg")
        ->check(CLI::IsMember({0, 1}));
    unsigned fili_stati = ondix::fili_disponibili();
    stati
        ->add_option("-j,--fili", fili_stati,
                     "threads that compute the rows (default: one per processor core); 1 reads, computes and writes "
                     "one row after the other")
        ->check(CLI::Range(1u, 1024u));
    std::string pressione_stati, quota_stati;
    std::vector<std::string> soglie;
    auto* opt_pressione_stati = stati->add_option(
        "--pressione", pressione_stati, "atmospheric pressure, Pa, or \"file\": each row's own (column p, EPW station)");
    auto* opt_quota_stati = stati->add_option("--quota", quota_stati, "altitude, m (-250 to 3000)");
    auto* opt_modello_stati = stati->add_option("--modello", modello_stati, aiuto_modello);
    stati->add_flag("--riepilogo", richiesta_stati.riepilogo, "print a one-screen summary instead of the rows");
    stati->add_option("--soglia", soglie, "with --riepilogo: count the hours above NAME=VALUE (e.g. t=30)")
        ->allow_extra_args(false);
#ifdef ONDIX_CON_GRAFICO
    stati->add_option("--grafico", richiesta_stati.grafico, "draw every state as a dot on the chart into FILE");
    std::string isolinee_stati;
    auto* opt_isolinee_stati = stati->add_option("--isolinee", isolinee_stati,
                                                 "with --grafico: isolines, LIST of ur,h,tbu,v or tutte");
    stati->add_flag("--mollier", richiesta_stati.mollier, "with --grafico: the Mollier h-x view");
#endif
    const auto testo_di = [](const CLI::Option* o, const std::string& v) {
        return o->count() > 0 ? std::optional<std::string>(v) : std::nullopt;
    };

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
        // A help or version text that could not be written is a failure like any other output's (with the
        // system's reason, which the first failed write leaves in errno).
        errno = 0;
        app.exit(e);
        const int motivo = errno;
        const int errore_uscita = ondix::scarica_uscita();
        if (errore_uscita < 0) return 0;
        ondix::segnala_uscita("ondix-calc: ", motivo != 0 ? motivo : errore_uscita);
        return 2;
    } catch (const CLI::ParseError& e) {
        std::cerr << "ondix-calc: " << ondix::testo_visibile(e.what()) << "\n(ondix-calc --help explains the options)\n";
        return 2;
    }
    for (const CLI::App* sotto : {stato, stati}) {
        if (!sotto->parsed()) continue;
        // The process options belong to one calculation; with a subcommand they would be ignored.
        const std::string nome = sotto->get_name();
        for (const CLI::Option* o : app.get_options())
            if (o->count() > 0) {
                std::cerr << "ondix-calc: " << o->get_name() << " before \"" << nome
                          << "\" belongs to one calculation; the " << (sotto == stati ? "batch" : nome)
                          << " options follow \"" << nome << "\"\n(ondix-calc " << nome
                          << " --help explains them)\n";
                return 2;
            }
    }
    if (stato->parsed()) {
        ondix::RichiestaStato r;
        for (std::size_t i = 0; i < opzioni_stato.size(); ++i) {
            if (stato->get_option(opzioni_stato[i].first)->count() == 0) continue;
            if (const auto m = leggi_noto(opzioni_stato[i].first, testi_stato[i], static_cast<ondix::Grandezza>(i),
                                          r.noti)) {
                std::cerr << "ondix-calc: stato: " << ondix::testo_visibile(*m) << '\n';
                return 2;
            }
        }
        const auto aria = ondix::aria_da_opzioni(testo_di(opt_pressione_stato, pressione_stato),
                                                 testo_di(opt_quota_stato, quota_stato),
                                                 testo_di(opt_modello_stato, modello_stato));
        if (const auto* m = std::get_if<std::string>(&aria)) {
            std::cerr << "ondix-calc: stato: " << ondix::testo_visibile(*m) << '\n';
            return 2;
        }
        r.aria = std::get<ondix::Aria>(aria);
        r.json = json_stato;
        r.rtf = rtf_stato;
        return ondix::esegui_stato(r);
    }
    if (stati->parsed()) {
        auto testo_p = testo_di(opt_pressione_stati, pressione_stati);
        if (testo_p && *testo_p == "file") {
            richiesta_stati.opzioni.pressione_da_file = true;
            testo_p.reset();
            if (opt_quota_stati->count() > 0) {
                std::cerr << "ondix-calc: stati: --pressione file and --quota both give the pressure; use one\n";
                return 2;
            }
        }
        const auto aria = ondix::aria_da_opzioni(testo_p, testo_di(opt_quota_stati, quota_stati),
                                                 testo_di(opt_modello_stati, modello_stati));
        if (const auto* m = std::get_if<std::string>(&aria)) {
            std::cerr << "ondix-calc: stati: " << ondix::testo_visibile(*m) << '\n';
            return 2;
        }
        richiesta_stati.opzioni.aria = std::get<ondix::Aria>(aria);
        for (const auto& testo : soglie) {
            const auto s = ondix::soglia_da_testo(testo);
            if (!s) {
                std::cerr << "ondix-calc: stati: --soglia \"" << ondix::testo_visibile(testo)
                          << "\" is not NAME=VALUE with NAME one of t, ur, x, h, tbu, tr\n";
                return 2;
            }
            richiesta_stati.soglie.push_back(*s);
        }
        if (!soglie.empty() && !richiesta_stati.riepilogo) {
            std::cerr << "ondix-calc: stati: --soglia counts hours in the summary; add --riepilogo\n";
            return 2;
        }
#ifdef ONDIX_CON_GRAFICO
        if ((opt_isolinee_stati->count() > 0 || richiesta_stati.mollier) && richiesta_stati.grafico.empty()) {
            std::cerr << "ondix-calc: stati: --isolinee and --mollier go with --grafico\n";
            return 2;
        }
        if (opt_isolinee_stati->count() > 0) richiesta_stati.isolinee = isolinee_stati;
#endif
        richiesta_stati.opzioni.fili = fili_stati;
        return ondix::esegui_stati(std::move(richiesta_stati));
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
        const int errore_uscita = ondix::scarica_uscita();
        if (errore_uscita >= 0) ondix::segnala_uscita("ondix-calc: ", errore_uscita);
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
            std::cerr << "ondix-calc: --isolinee: " << ondix::testo_visibile(*errore) << '\n';
            return 2;
        }
#endif
    richiesta.tipo = tipo;
    for (int i = 0; i < 10; ++i) {
        const auto* o = app.get_option("--e" + std::to_string(i + 1));
        if (o->count() > 0) richiesta.testi[static_cast<std::size_t>(i)] = testi[static_cast<std::size_t>(i)];
    }
    if (opt_risposta->count() > 0) richiesta.risposta = risposta;
    const auto aria = ondix::aria_da_opzioni(testo_di(opt_pressione, pressione), testo_di(opt_quota, quota),
                                             testo_di(opt_modello, modello));
    if (const auto* m = std::get_if<std::string>(&aria)) {
        std::cerr << "ondix-calc: " << ondix::testo_visibile(*m) << '\n';
        return 2;
    }
    richiesta.aria = std::get<ondix::Aria>(aria);

    const ondix::EsitoCalcolo esito = ondix::esegui(richiesta);

    if (json) {
        std::cout << ondix::esito_json(esito) << '\n';
    } else {
        for (const auto& m : esito.messaggi)
            std::cerr << "messaggio: " << m << '\n';
        for (const auto& riga : esito.contesto.rapporto.righe())
            std::cout << riga << '\n';
    }
    const int errore_uscita = ondix::scarica_uscita();
    if (esito.errore) std::cerr << *esito.errore << '\n';
    if (errore_uscita >= 0) {
        // Nothing of the report may be missing unnoticed: no chart is drawn for a report that was lost.
        ondix::segnala_uscita("ondix-calc: ", errore_uscita);
        return 2;
    }

    if (!rtf.empty()) {
        // The report window is not shown after a floating-point error: there is no report to save.
        if (esito.errore) {
            std::cerr << "ondix-calc: the calculation stopped at an error; " << ondix::testo_visibile(rtf)
                      << " was not written\n";
        } else if (const auto errore = ondix::salva_rapporto_rtf(esito.contesto.rapporto.righe(), rtf)) {
            std::cerr << "ondix-calc: " << *errore << '\n';
            return 2;
        }
    }

#ifdef ONDIX_CON_GRAFICO
    if (!grafico.empty()) {
        // A calculation that stopped before its chart request has no chart: nothing is written, and the exit
        // status stays the calculation's own.
        if (!esito.vista) {
            std::cerr << "ondix-calc: the calculation made no chart; " << ondix::testo_visibile(grafico)
                      << " was not written\n";
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
