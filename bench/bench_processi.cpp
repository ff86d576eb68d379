// Speed of each whole calculation as the command line runs it: form setup, computation, report and chart points.
#include "cli/esecuzione.h"

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
        EsitoCalcolo e = esegui(r);
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

BENCHMARK_MAIN();
