// Writes N rows of the benchmarks' hourly weather (meteo.h) as the batch command reads them: meteo_csv N > FILE.
#include "meteo.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const long righe = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 8760;
    const std::string testo = meteo::csv(righe);
    return std::fwrite(testo.data(), 1, testo.size(), stdout) == testo.size() ? 0 : 1;
}
