// Speed of the batch command's engine: rows per second through calcola_stati, for a year of hourly data and for
// a million rows, and the cost of one state.
#include "cli/stati.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <sstream>
#include <streambuf>
#include <string>

using namespace ondix;

namespace {

// Hourly weather of a temperate site: a yearly and a daily swing of temperature, humidity moving against it.
std::string file_meteo(std::int64_t righe) {
    std::string s = "data;ora;t;ur\n";
    s.reserve(static_cast<std::size_t>(righe) * 32);
    const double pi = 3.141592653589793;
    for (std::int64_t i = 0; i < righe; ++i) {
        const double ora = static_cast<double>(i % 24);
        const double giorno = static_cast<double>((i / 24) % 365);
        const double t = 12.0 - 10.0 * std::cos(2 * pi * (giorno - 15) / 365) - 4.0 * std::cos(2 * pi * (ora - 4) / 24);
        const double ur = 70.0 + 20.0 * std::cos(2 * pi * (ora - 4) / 24) - 0.5 * (t - 12.0);
        char riga[64];
        const int n = std::snprintf(riga, sizeof riga, "%03d;%02d:00;%.1f;%.0f\n", static_cast<int>(giorno),
                                    static_cast<int>(ora), t, std::fmin(100.0, std::fmax(1.0, ur)));
        s.append(riga, static_cast<std::size_t>(n));
    }
    return s;
}

// An output that throws everything away: the measure is the engine, not a file system.
class Scarico : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void BM_calcola_stati(benchmark::State& s) {
    const std::string ingresso = file_meteo(s.range(0));
    Scarico scarico;
    std::ostream out(&scarico), err(&scarico);
    for (auto _ : s) {
        std::istringstream in(ingresso);
        const EsitoStati e = calcola_stati(in, out, err, 0, "meteo");
        if (e.scritte != static_cast<std::size_t>(s.range(0))) s.SkipWithError("rows were skipped");
    }
    s.SetItemsProcessed(s.iterations() * s.range(0));
    s.SetBytesProcessed(s.iterations() * static_cast<std::int64_t>(ingresso.size()));
}
BENCHMARK(BM_calcola_stati)->Arg(8760)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_calcola_stato(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s) {
        const double t = -5.0 + static_cast<double>(i % 451) * 0.1;
        benchmark::DoNotOptimize(calcola_stato(t, 20.0 + static_cast<double>(i % 81), 0));
        ++i;
    }
}
BENCHMARK(BM_calcola_stato);

void BM_riga_stati(benchmark::State& s) {
    const auto stato = std::get<StatoAria>(calcola_stato(20, 50, 0));
    for (auto _ : s)
        benchmark::DoNotOptimize(riga_stati(stato, ';'));
}
BENCHMARK(BM_riga_stati);

} // namespace

BENCHMARK_MAIN();
