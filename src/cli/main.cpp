// ondix-calc: runs one calculation of the desktop program without windows and prints its report or JSON.
#include "cli/esecuzione.h"
#include "cli/uscita_json.h"
#include "core/maschera.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

#ifdef ONDIX_CON_GRAFICO
#include "plot_qt/esporta.h"
#endif

namespace {

const char* descrizione = R"(ondix-calc runs one moist-air calculation of ondix without windows.

KIND is the process: 1 mixing, 2 sensible heating/cooling, 3 humidification with water,
4 point properties, 5 cooling with condensation, 6 summer cycle, 7 winter cycle,
13 humidification with steam, 17 winter cycle with steam, 21 summer verification.

The ten input boxes start with the defaults of the kind's form; --e1 ... --e10 replace them.
Numbers are read as the form reads them: decimal point, the longest number at the start of
the text ("20,5" is 20, "" and "abc" are 0).

Output: the report lines, one per line (UTF-8). Each message box is printed on stderr as
"messaggio: TEXT". With --json one JSON object holds the report, the messages, the chart
points in use, the chart view and the floating-point error, if any.

Exit status: 0 the calculation ran (also when it stopped at a message); 3 a floating-point
error stopped it (its text on stderr); 2 usage error.

Examples:
  ondix-calc 4                          point properties at 20 C, 50 %
  ondix-calc 4 --e1 30 --e2 12 --umidita 1
  ondix-calc 6 --e8 8500 --risposta 0.2 summer cycle with post-heating, bypass factor 0.2
  ondix-calc 1 --json)";

} // namespace

int main(int argc, char** argv) {
    CLI::App app{descrizione, "ondix-calc"};
    app.formatter(std::make_shared<CLI::Formatter>());
    app.get_formatter()->column_width(28);

    int tipo = 0;
    ondix::RichiestaCalcolo richiesta;
    bool json = false;
    std::string grafico;

    app.add_option("KIND", tipo, "process kind: 1, 2, 3, 4, 5, 6, 7, 13, 17 or 21")->required();
    std::array<std::string, 10> testi;
    for (int i = 0; i < 10; ++i) {
        const std::string nome = "--e" + std::to_string(i + 1);
        app.add_option(nome, testi[static_cast<std::size_t>(i)],
                       "text of input box " + std::to_string(i + 1) + " (Edit" + std::to_string(i + 1) + ")")
            ->allow_extra_args(false);
    }
    app.add_option("--umidita", richiesta.umidita, "humidity inputs: 0 relative humidity in %, 1 humidity ratio in g/kg")
        ->check(CLI::IsMember({0, 1}));
    app.add_option("--portata", richiesta.portata, "air-flow inputs: 0 volumetric flow in mc/h, 1 mass flow in kg/h")
        ->check(CLI::IsMember({0, 1}));
    std::string risposta;
    auto* opt_risposta = app.add_option(
        "--risposta", risposta, "text typed into an input box the calculation opens (without it the box is cancelled)");
    app.add_flag("--json", json, "print one JSON object instead of the report");
#ifdef ONDIX_CON_GRAFICO
    app.add_option("--grafico", grafico,
                   "also draw the chart into FILE (.png, .svg or .pdf), as the chart window shows it at 1024 x 768");
#endif

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "ondix-calc: " << e.what() << "\n(ondix-calc --help explains the options)\n";
        return 2;
    }
    if (!ondix::tipo_valido(tipo)) {
        std::cerr << "ondix-calc: unknown process kind " << tipo
                  << " (use 1, 2, 3, 4, 5, 6, 7, 13, 17 or 21; see --help)\n";
        return 2;
    }
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
        for (const auto& m : esito.messaggi) std::cerr << "messaggio: " << m << '\n';
        for (const auto& riga : esito.contesto.rapporto.righe()) std::cout << riga << '\n';
    }
    std::cout.flush();
    if (esito.errore) std::cerr << *esito.errore << '\n';

#ifdef ONDIX_CON_GRAFICO
    if (!grafico.empty()) {
        if (const auto errore = ondix::esporta_grafico(esito.contesto, esito.vista, grafico)) {
            std::cerr << "ondix-calc: " << *errore << '\n';
            return 2;
        }
    }
#endif
    return esito.errore ? 3 : 0;
}
