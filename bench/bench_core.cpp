// Speed of the moist-air functions, the solvers and one whole point-properties calculation, each beside the bare
// correlations (kernels.h) where there is one to compare with.
#include "core/aria_umida.h"
#include "core/calcolo.h"
#include "core/comfort.h"
#include "core/modello_ashrae.h"
#include "core/rapporto.h"
#include "esterno_prova.h"
#include "kernels.h"
#include "ricerche_piane.h"

#include <benchmark/benchmark.h>

#include <bit>
#include <cstdint>
#include <optional>
#include <vector>

using namespace ondix;

namespace {

// Temperatures spread over the chart's range so that no single branch is measured.
double temperatura(std::int64_t i) {
    return -5.0 + static_cast<double>(i % 551) * 0.1;
}

void BM_pressione_saturazione(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(pressione_saturazione(temperatura(i++)));
}
BENCHMARK(BM_pressione_saturazione);

// PMV and PPD of a room state (the clothing temperature solved each time), over air temperatures, humidities and
// air speeds that take both convection branches.
void BM_comfort_stato(benchmark::State& s) {
    std::int64_t i = 0;
    StatoCompleto st;
    for (auto _ : s) {
        st.t = 10.0 + static_cast<double>(i % 211) * 0.1;
        st.ur = static_cast<double>(i % 101);
        const Occupanti o{1.2, 0.5, 0.05 + static_cast<double>(i % 7) * 0.05, {}, 0.0};
        ++i;
        benchmark::DoNotOptimize(comfort_stato(st, o));
    }
}
BENCHMARK(BM_comfort_stato);

void BM_kernel_pressione_saturazione(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(kernel::ps(temperatura(i++)));
}
BENCHMARK(BM_kernel_pressione_saturazione);

void BM_entalpia(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(entalpia(7.25, temperatura(i++)));
}
BENCHMARK(BM_entalpia);

void BM_umidita_specifica(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(umidita_specifica(50, temperatura(i++)));
}
BENCHMARK(BM_umidita_specifica);

void BM_kernel_umidita_specifica(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(kernel::x(50, temperatura(i++)));
}
BENCHMARK(BM_kernel_umidita_specifica);

void BM_volume_specifico(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(volume_specifico(temperatura(i++), 7.25));
}
BENCHMARK(BM_volume_specifico);

void BM_kernel_volume_specifico(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(kernel::v(temperatura(i++), 7.25));
}
BENCHMARK(BM_kernel_volume_specifico);

void BM_temperatura_rugiada(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(temperatura_rugiada(50, 10.0 + static_cast<double>(i++ % 300) * 0.1));
}
BENCHMARK(BM_temperatura_rugiada);

// Cold air, dew point below −10 °C: the first bisection fails, the second finds it.
void BM_temperatura_rugiada_fredda(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(temperatura_rugiada(50, -20.0 + static_cast<double>(i++ % 150) * 0.1));
}
BENCHMARK(BM_temperatura_rugiada_fredda);

void BM_temperatura_bulbo_umido(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(temperatura_bulbo_umido(7.25, 10.0 + static_cast<double>(i++ % 300) * 0.1));
}
BENCHMARK(BM_temperatura_bulbo_umido);

// The reference model's property functions and solvers, each beside the same call with the correlations above, at
// the program's pressure.
const Aria ashrae{pressione_atmosferica, &modello_ashrae()};

void BM_ashrae_pressione_saturazione(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(pressione_saturazione(temperatura(i++), ashrae));
}
BENCHMARK(BM_ashrae_pressione_saturazione);

void BM_ashrae_entalpia(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(entalpia(7.25, temperatura(i++), ashrae));
}
BENCHMARK(BM_ashrae_entalpia);

void BM_ashrae_umidita_specifica(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(umidita_specifica(50, temperatura(i++), ashrae));
}
BENCHMARK(BM_ashrae_umidita_specifica);

void BM_ashrae_volume_specifico(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(volume_specifico(temperatura(i++), 7.25, ashrae));
}
BENCHMARK(BM_ashrae_volume_specifico);

void BM_ashrae_temperatura_rugiada(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(temperatura_rugiada(50, 10.0 + static_cast<double>(i++ % 300) * 0.1, ashrae));
}
BENCHMARK(BM_ashrae_temperatura_rugiada);

void BM_ashrae_temperatura_bulbo_umido(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(temperatura_bulbo_umido(7.25, 10.0 + static_cast<double>(i++ % 300) * 0.1, ashrae));
}
BENCHMARK(BM_ashrae_temperatura_bulbo_umido);

// The solvers over the grid of states t −10…50 °C by 1, ur 5…100 % by 5 (1220 states), beside the kernels: the
// time per pass over the grid; the grid holds converging, capped and worn-down searches in their natural mix.
struct Griglia {
    std::vector<double> t, ur, x, x_kernel, x_ashrae;
    Griglia(double t0, double t1, double dt, double ur0, double ur1, double dur) {
        for (double tt = t0; tt <= t1 + 1e-9; tt += dt)
            for (double u = ur0; u <= ur1 + 1e-9; u += dur) {
                t.push_back(tt);
                ur.push_back(u);
                x.push_back(umidita_specifica(u, tt));
                x_kernel.push_back(kernel::x(u, tt));
                x_ashrae.push_back(umidita_specifica(u, tt, ashrae));
            }
    }
};
const Griglia& griglia() {
    static const Griglia g(-10, 50, 1, 5, 100, 5);
    return g;
}
// Dry air from −10 to 0 °C: the dew point lies below −10 °C and the plain search runs all its 101 halvings.
const Griglia& griglia_secca() {
    static const Griglia g(-10, 0, 0.5, 5, 30, 5);
    return g;
}
// Air at −10 °C and just above: the wet bulb lies at or below −10 °C, where the plain search runs 300 halvings.
const Griglia& griglia_limite() {
    static const Griglia g(-10, -9, 0.25, 5, 80, 5);
    return g;
}

template <class F> void per_griglia(benchmark::State& s, const Griglia& g, F f) {
    for (auto _ : s)
        for (std::size_t i = 0; i < g.t.size(); ++i)
            benchmark::DoNotOptimize(f(g, i));
    s.SetItemsProcessed(s.iterations() * static_cast<std::int64_t>(g.t.size()));
}

const auto rugiada = [](const Griglia& g, std::size_t i) { return temperatura_rugiada(g.ur[i], g.t[i]); };
const auto rugiada_k = [](const Griglia& g, std::size_t i) { return kernel::rugiada(g.ur[i], g.t[i]); };
const auto bulbo = [](const Griglia& g, std::size_t i) { return temperatura_bulbo_umido(g.x[i], g.t[i]); };
const auto bulbo_k = [](const Griglia& g, std::size_t i) { return kernel::bulbo_umido(g.x_kernel[i], g.t[i]); };

const auto rugiada_a = [](const Griglia& g, std::size_t i) { return temperatura_rugiada(g.ur[i], g.t[i], ashrae); };
const auto bulbo_a = [](const Griglia& g, std::size_t i) {
    return temperatura_bulbo_umido(g.x_ashrae[i], g.t[i], ashrae);
};

void BM_griglia_rugiada(benchmark::State& s) {
    per_griglia(s, griglia(), rugiada);
}
void BM_griglia_ashrae_rugiada(benchmark::State& s) {
    per_griglia(s, griglia(), rugiada_a);
}
void BM_griglia_ashrae_bulbo_umido(benchmark::State& s) {
    per_griglia(s, griglia(), bulbo_a);
}
void BM_secca_ashrae_rugiada(benchmark::State& s) {
    per_griglia(s, griglia_secca(), rugiada_a);
}
void BM_limite_ashrae_bulbo_umido(benchmark::State& s) {
    per_griglia(s, griglia_limite(), bulbo_a);
}
void BM_griglia_kernel_rugiada(benchmark::State& s) {
    per_griglia(s, griglia(), rugiada_k);
}
void BM_griglia_bulbo_umido(benchmark::State& s) {
    per_griglia(s, griglia(), bulbo);
}
void BM_griglia_kernel_bulbo_umido(benchmark::State& s) {
    per_griglia(s, griglia(), bulbo_k);
}
void BM_secca_rugiada(benchmark::State& s) {
    per_griglia(s, griglia_secca(), rugiada);
}
void BM_secca_kernel_rugiada(benchmark::State& s) {
    per_griglia(s, griglia_secca(), rugiada_k);
}
void BM_limite_bulbo_umido(benchmark::State& s) {
    per_griglia(s, griglia_limite(), bulbo);
}
void BM_limite_kernel_bulbo_umido(benchmark::State& s) {
    per_griglia(s, griglia_limite(), bulbo_k);
}
BENCHMARK(BM_griglia_rugiada);
BENCHMARK(BM_griglia_ashrae_rugiada);
BENCHMARK(BM_griglia_ashrae_bulbo_umido);
BENCHMARK(BM_secca_ashrae_rugiada);
BENCHMARK(BM_limite_ashrae_bulbo_umido);
BENCHMARK(BM_griglia_kernel_rugiada);
BENCHMARK(BM_griglia_bulbo_umido);
BENCHMARK(BM_griglia_kernel_bulbo_umido);
BENCHMARK(BM_secca_rugiada);
BENCHMARK(BM_secca_kernel_rugiada);
BENCHMARK(BM_limite_bulbo_umido);
BENCHMARK(BM_limite_kernel_bulbo_umido);

// Not a speed: the shortened searches against the plain ones on a fine grid of 1,002,001 states (t −15…55 °C by
// 0.07, ur 0…100 % by 0.1), both solvers; any result that differs by a bit is an error.
void BM_verifica_ricerche(benchmark::State& s) {
    std::int64_t diverse = 0, stati = 0;
    const auto bit = [](double v) { return std::bit_cast<std::uint64_t>(v); };
    const auto bit_rugiada = [](std::optional<double> v) { return v ? std::bit_cast<std::uint64_t>(*v) : 1; };
    for (auto _ : s)
        for (int i = 0; i <= 1000; ++i) {
            const double t = -15.0 + 0.07 * i;
            for (int j = 0; j <= 1000; ++j) {
                const double ur = 0.1 * j;
                const double x = umidita_specifica(ur, t);
                diverse += bit_rugiada(temperatura_rugiada(ur, t)) != bit_rugiada(piane::temperatura_rugiada(ur, t));
                diverse += bit(temperatura_bulbo_umido(x, t)) != bit(piane::temperatura_bulbo_umido(x, t));
                ++stati;
            }
        }
    s.counters["stati"] = static_cast<double>(stati);
    s.counters["diverse"] = static_cast<double>(diverse);
    if (diverse != 0) s.SkipWithError("a shortened search differs from the plain one");
}
BENCHMARK(BM_verifica_ricerche)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_calcolo_proprieta_punto(benchmark::State& s) {
    Contesto ctx;
    ctx.processo = 4;
    EsternoProva est;
    for (auto _ : s) {
        imposta_maschera(ctx);
        benchmark::DoNotOptimize(vai_calcolo(ctx, est));
        benchmark::DoNotOptimize(ctx.rapporto.righe().data());
    }
}
BENCHMARK(BM_calcolo_proprieta_punto);

} // namespace

BENCHMARK_MAIN();
