// Speed of the batch command's engine: rows per second through calcola_stati, for a year of hourly data and for
// a million rows, with one and two threads, beside PsychroLib's compute path; the cost of one state and of one
// output line.
#include "cli/stati.h"

#include "meteo.h"
#include "psychrolib_si.h"

#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

using namespace ondix;

namespace {

// An output that throws everything away: the measure is the engine, not a file system.
class Scarico : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void BM_calcola_stati(benchmark::State& s) {
    const std::string ingresso = meteo::csv(s.range(0));
    Scarico scarico;
    std::ostream out(&scarico), err(&scarico);
    for (auto _ : s) {
        std::istringstream in(ingresso);
        const RisultatoStati e = calcola_stati(in, out, err, 0, "meteo", static_cast<unsigned>(s.range(1)));
        if (e.scritte != static_cast<std::size_t>(s.range(0))) s.SkipWithError("rows were skipped");
    }
    s.SetItemsProcessed(s.iterations() * s.range(0));
    s.SetBytesProcessed(s.iterations() * static_cast<std::int64_t>(ingresso.size()));
}
// Rows, threads; wall-clock time, since the threads share the work.
BENCHMARK(BM_calcola_stati)
    ->Args({8760, 1})
    ->Args({8760, 2})
    ->Args({1000000, 1})
    ->Args({1000000, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same rows with --comfort's columns: PMV, PPD and category of a room at each state (at most twice the time of
// the plain rows).
void BM_calcola_stati_comfort(benchmark::State& s) {
    const std::string ingresso = meteo::csv(s.range(0));
    Scarico scarico;
    std::ostream out(&scarico), err(&scarico);
    OpzioniStati o;
    o.fili = static_cast<unsigned>(s.range(1));
    o.comfort = Occupanti{1.2, 0.5, 0.1, {}, 0.0};
    for (auto _ : s) {
        std::istringstream in(ingresso);
        const RisultatoStati e = calcola_stati(in, out, err, o, "meteo");
        if (e.scritte != static_cast<std::size_t>(s.range(0))) s.SkipWithError("rows were skipped");
    }
    s.SetItemsProcessed(s.iterations() * s.range(0));
}
BENCHMARK(BM_calcola_stati_comfort)
    ->Args({1000000, 1})
    ->Args({1000000, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The yardstick: PsychroLib's compute path for the same states (humidity ratio, wet bulb, dew point, vapour
// pressure, enthalpy, volume, degree of saturation at 101335 Pa), numbers in and out of memory, one core.
void BM_psychrolib_calcolo(benchmark::State& s) {
    const std::vector<meteo::Ora> stati = meteo::stati(s.range(0));
    for (auto _ : s)
        for (const meteo::Ora& o : stati)
            benchmark::DoNotOptimize(psychrolib_si::CalcPsychrometricsFromRelHum(o.t, o.ur / 100.0, 101335.0));
    s.SetItemsProcessed(s.iterations() * s.range(0));
}
BENCHMARK(BM_psychrolib_calcolo)->Arg(8760)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_calcola_stato(benchmark::State& s) {
    std::int64_t i = 0;
    for (auto _ : s) {
        const double t = -5.0 + static_cast<double>(i % 451) * 0.1;
        benchmark::DoNotOptimize(calcola_stato(t, 20.0 + static_cast<double>(i % 81), 0));
        ++i;
    }
}
BENCHMARK(BM_calcola_stato);

// One output line of a year of weather states, as the batch writes it (appended to a buffer that is reused), and
// as the same text was made with std::to_chars alone: the yardstick for the quick number writer.
std::vector<StatoCompleto> stati_anno() {
    std::vector<StatoCompleto> r;
    for (const meteo::Ora& o : meteo::stati(8760))
        r.push_back(*calcola_stato(o.t, o.ur, 0));
    return r;
}

void BM_aggiungi_riga_stati(benchmark::State& s) {
    const auto stati = stati_anno();
    std::string uscita;
    std::size_t i = 0;
    for (auto _ : s) {
        uscita.clear();
        aggiungi_riga_stati(uscita, stati[i++ % stati.size()], ';');
        benchmark::DoNotOptimize(uscita.data());
    }
}
BENCHMARK(BM_aggiungi_riga_stati);

void aggiungi_to_chars(std::string& riga, double valore, int d) {
    std::array<char, 400> buf;
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), valore, std::chars_format::fixed, d);
    std::string_view testo(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
    if (testo.size() > 1 && testo.front() == '-' && testo.find_first_not_of("-0.") == std::string_view::npos)
        testo.remove_prefix(1);
    riga += testo;
}

void BM_riga_stati_to_chars(benchmark::State& s) {
    const auto stati = stati_anno();
    std::string uscita;
    std::size_t i = 0;
    for (auto _ : s) {
        const StatoCompleto& st = stati[i++ % stati.size()];
        uscita.clear();
        aggiungi_to_chars(uscita, st.t, 2);
        uscita += ';';
        aggiungi_to_chars(uscita, st.ur, 2);
        uscita += ';';
        aggiungi_to_chars(uscita, st.x, 3);
        uscita += ';';
        aggiungi_to_chars(uscita, st.h, 3);
        uscita += ';';
        aggiungi_to_chars(uscita, st.v, 4);
        uscita += ';';
        if (st.bulbo_umido) aggiungi_to_chars(uscita, *st.bulbo_umido, 2);
        uscita += ';';
        if (st.rugiada) aggiungi_to_chars(uscita, *st.rugiada, 2);
        uscita += '\n';
        benchmark::DoNotOptimize(uscita.data());
    }
}
BENCHMARK(BM_riga_stati_to_chars);

} // namespace

BENCHMARK_MAIN();
