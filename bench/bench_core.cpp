// Speed of the moist-air functions, the solvers and one whole point-properties calculation.
#include "core/aria_umida.h"
#include "core/calcolo.h"
#include "core/rapporto.h"

#include <benchmark/benchmark.h>

using namespace ondix;

namespace {

// Temperatures spread over the chart's range so that no single branch is measured.
double temperatura(std::int64_t i) { return -5.0 + static_cast<double>(i % 551) * 0.1; }

void BM_pressione_saturazione(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s) benchmark::DoNotOptimize(pressione_saturazione(temperatura(i++)));
}
BENCHMARK(BM_pressione_saturazione);

void BM_entalpia(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s) benchmark::DoNotOptimize(entalpia(7.25, temperatura(i++)));
}
BENCHMARK(BM_entalpia);

void BM_umidita_specifica(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s) benchmark::DoNotOptimize(umidita_specifica(50, temperatura(i++)));
}
BENCHMARK(BM_umidita_specifica);

void BM_volume_specifico(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s) benchmark::DoNotOptimize(volume_specifico(temperatura(i++), 7.25));
}
BENCHMARK(BM_volume_specifico);

void BM_temperatura_rugiada(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s) benchmark::DoNotOptimize(temperatura_rugiada(50, 10.0 + static_cast<double>(i++ % 300) * 0.1));
}
BENCHMARK(BM_temperatura_rugiada);

// Cold air, dew point below −10 °C: the first bisection fails, the second finds it.
void BM_temperatura_rugiada_fredda(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s) benchmark::DoNotOptimize(temperatura_rugiada(50, -20.0 + static_cast<double>(i++ % 150) * 0.1));
}
BENCHMARK(BM_temperatura_rugiada_fredda);

void BM_temperatura_bulbo_umido(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(temperatura_bulbo_umido(7.25, 10.0 + static_cast<double>(i++ % 300) * 0.1));
}
BENCHMARK(BM_temperatura_bulbo_umido);

class EsternoMuto : public Esterno {
public:
    void messaggio(const std::string&) override {}
    std::string chiedi(const std::string&, const std::string&, const std::string& d) override { return d; }
    void apri_grafico(VistaGrafico) override {}
    void mostra_rapporto() override {}
};

void BM_calcolo_proprieta_punto(benchmark::State& s) {
    Contesto ctx;
    ctx.processo = 4;
    EsternoMuto est;
    for (auto _ : s) {
        imposta_maschera(ctx);
        benchmark::DoNotOptimize(vai_calcolo(ctx, est));
        benchmark::DoNotOptimize(ctx.rapporto.righe().data());
    }
}
BENCHMARK(BM_calcolo_proprieta_punto);

} // namespace

BENCHMARK_MAIN();
