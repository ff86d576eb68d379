// Speed of each whole calculation as the command line runs it: form setup, computation, report and chart points.
#include "core/esecuzione.h"
#include "core/uta.h"
#include "core/uta_file.h"
#include "esterno_prova.h"

#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace ondix;

namespace {

RichiestaCalcolo richiesta(int tipo, std::vector<std::pair<int, std::string>> testi = {},
                           std::optional<std::string> risposta = std::nullopt) {
    RichiestaCalcolo r;
    r.tipo = tipo;
    for (auto& [n, t] : testi)
        r.testi.at(static_cast<std::size_t>(n - 1)) = std::move(t);
    r.risposta = std::move(risposta);
    return r;
}

void esegui_ripetuto(benchmark::State& s, const RichiestaCalcolo& r) {
    for (auto _ : s) {
        RisultatoCalcolo e = esegui(r);
        benchmark::DoNotOptimize(e.contesto.rapporto.righe().data());
    }
}

void BM_proprieta_punto(benchmark::State& s) {
    esegui_ripetuto(s, richiesta(4));
}
void BM_miscelazione(benchmark::State& s) {
    esegui_ripetuto(s, richiesta(1));
}
void BM_riscaldamento_raffreddamento(benchmark::State& s) {
    esegui_ripetuto(s, richiesta(2));
}
void BM_umidificazione_acqua(benchmark::State& s) {
    esegui_ripetuto(s, richiesta(3));
}
void BM_raffreddamento_condensazione(benchmark::State& s) {
    esegui_ripetuto(s, richiesta(5));
}
void BM_umidificazione_con_vapore(benchmark::State& s) {
    esegui_ripetuto(s, richiesta(13));
}
void BM_ciclo_estivo(benchmark::State& s) {
    esegui_ripetuto(s, richiesta(6));
}
// The post-heating case, with its message and input box.
void BM_ciclo_estivo_postriscaldamento(benchmark::State& s) {
    esegui_ripetuto(s, richiesta(6, {{8, "8500"}}, "0.2"));
}
void BM_verifica_estiva(benchmark::State& s) {
    esegui_ripetuto(s, richiesta(21));
}
// Defaults: the pre-heating search runs all its 501 steps.
void BM_ciclo_invernale_a(benchmark::State& s) {
    esegui_ripetuto(s, richiesta(7));
}
void BM_ciclo_invernale_b(benchmark::State& s) {
    esegui_ripetuto(s, richiesta(7, {{8, "10"}, {9, "30"}}));
}
void BM_ciclo_invernale_c(benchmark::State& s) {
    esegui_ripetuto(s, richiesta(7, {{8, "30"}, {9, "0"}}));
}
// Defaults: 47 steam steps.
void BM_ciclo_invernale_vapore(benchmark::State& s) {
    esegui_ripetuto(s, richiesta(17));
}
// A room factor the steam path never reaches: all 300 steps.
void BM_ciclo_invernale_vapore_300(benchmark::State& s) {
    esegui_ripetuto(s, richiesta(17, {{7, "-10000"}}));
}

// An air-handling unit of ten sections, with targets to design for, computed for both its conditions (report,
// chart table and numbers), the file read once beforehand.
constexpr const char* uta_dieci_sezioni = R"({
  "portata_esterna": "4000 m3/h", "portata_espulsione": "3600 m3/h", "ambiente": {"t": 26, "ur": 50},
  "sezioni": [
    {"tipo": "recuperatore", "nome": "REC", "efficienza_t": 75, "efficienza_x": 60, "bypass_stagionale": true},
    {"tipo": "miscela", "nome": "MIX", "frazione_ripresa": 0.3},
    {"tipo": "riscaldamento", "nome": "PRE", "t_uscita": 18},
    {"tipo": "raffreddamento", "nome": "BF", "fattore_bypass": 0.1, "x_uscita": 9.5},
    {"tipo": "umidificatore_acqua", "nome": "UMA", "t_acqua": 15, "ur_uscita": 60},
    {"tipo": "umidificatore_vapore", "nome": "UMV", "t_vapore": 100, "x_uscita": 8.5},
    {"tipo": "riscaldamento", "nome": "POST", "t_uscita": 18},
    {"tipo": "raffreddamento", "nome": "BF2", "fattore_bypass": 0.2, "t_uscita": 17},
    {"tipo": "umidificatore_vapore", "nome": "UMV2", "t_vapore": 100, "ur_uscita": 55},
    {"tipo": "ventilatore", "nome": "VENT", "potenza": 1.5}
  ],
  "condizioni": [
    {"nome": "estate", "stagione": "estate", "esterna": {"t": 32, "ur": 50},
     "sezioni": {"PRE": {"attiva": false}, "UMA": {"attiva": false}, "UMV": {"attiva": false},
                  "UMV2": {"attiva": false}}},
    {"nome": "inverno", "stagione": "inverno", "esterna": {"t": -5, "ur": 80}, "ambiente": {"t": 20, "ur": 40},
     "sezioni": {"BF": {"attiva": false}, "BF2": {"attiva": false}, "POST": {"t_uscita": 22}}}
  ]})";

void BM_uta_dieci_sezioni_due_condizioni(benchmark::State& s) {
    const auto u = leggi_uta(uta_dieci_sezioni, "bench.json");
    if (!u) {
        s.SkipWithError(u.errore().testo.c_str());
        return;
    }
    EsternoProva est;
    for (auto _ : s)
        for (const Condizione& k : u->condizioni) {
            Contesto ctx;
            RisultatoUta r;
            if (!esegui_uta(*u, k, ctx, est, r)) s.SkipWithError("condizione impossibile");
            benchmark::DoNotOptimize(ctx.rapporto.righe().data());
        }
}

} // namespace

BENCHMARK(BM_proprieta_punto);
BENCHMARK(BM_miscelazione);
BENCHMARK(BM_riscaldamento_raffreddamento);
BENCHMARK(BM_umidificazione_acqua);
BENCHMARK(BM_raffreddamento_condensazione);
BENCHMARK(BM_umidificazione_con_vapore);
BENCHMARK(BM_ciclo_estivo);
BENCHMARK(BM_ciclo_estivo_postriscaldamento);
BENCHMARK(BM_verifica_estiva);
BENCHMARK(BM_ciclo_invernale_a);
BENCHMARK(BM_ciclo_invernale_b);
BENCHMARK(BM_ciclo_invernale_c);
BENCHMARK(BM_ciclo_invernale_vapore);
BENCHMARK(BM_ciclo_invernale_vapore_300);
BENCHMARK(BM_uta_dieci_sezioni_due_condizioni);

BENCHMARK_MAIN();
