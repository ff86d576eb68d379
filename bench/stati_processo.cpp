// The batch command as a user runs it, whole process: rows per second and peak memory of "ondix-calc stati" on a
// weather year (EPW) and on a CSV of a million rows with a pressure column, and the peak memory at a tenth of the
// rows, which must be the same (rows are read and written one at a time).
//   stati_processo [RUNS]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double pi = 3.141592653589793;

// Hourly weather of a temperate plain: a yearly and a daily swing, humidity moving against the temperature, the
// pressure drifting with the weather.
struct Ora {
    double t, ur, tr, p;
};
Ora ora(long i) {
    const double giorno = static_cast<double>((i / 24) % 365), h = static_cast<double>(i % 24);
    Ora o{};
    o.t = 12.0 - 10.0 * std::cos(2 * pi * (giorno - 15) / 365) - 4.0 * std::cos(2 * pi * (h - 4) / 24);
    o.ur = std::clamp(70.0 + 20.0 * std::cos(2 * pi * (h - 4) / 24) - 0.5 * (o.t - 12.0), 5.0, 100.0);
    const double g = std::log(o.ur / 100) + 17.625 * o.t / (243.04 + o.t);
    o.tr = 243.04 * g / (17.625 - g);
    o.p = 98500 + 700 * std::sin(2 * pi * giorno / 9);
    return o;
}

void scrivi_epw(const fs::path& f, int anni = 1) {
    std::ofstream o(f, std::ios::binary);
    o << "LOCATION,Pianura,XX,ITA,Sintetico,000000,45.0,9.0,1.0,120.0\nDESIGN CONDITIONS,0\n"
         "TYPICAL/EXTREME PERIODS,0\nGROUND TEMPERATURES,0\nHOLIDAYS/DAYLIGHT SAVINGS,No,0,0,0\nCOMMENTS 1,\n"
         "COMMENTS 2,\nDATA PERIODS,1,1,Data,Friday, 1/ 1,12/31\n";
    const int giorni[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    long i = 0;
    char riga[512];
    for (int a = 0; a < anni; ++a)
        for (int m = 0; m < 12; ++m)
            for (int d = 1; d <= giorni[m]; ++d)
                for (int h = 1; h <= 24; ++h, ++i) {
                    const Ora x = ora(i);
                    std::snprintf(
                        riga, sizeof riga,
                        "2021,%d,%d,%d,60,A7A7A7A7*0?9?9?9?9?9?9?9A7A7A7A7A7A7*0E8*0*0,%.1f,%.1f,%.0f,%.0f,0,0,"
                        "300,0,0,0,0,0,0,0,180,2.1,5,5,16.1,77777,9,999999999,0,0.1000,0,88,0.000,0.0,0.0\n",
                        m + 1, d, h, x.t, x.tr, x.ur, x.p);
                    o << riga;
                }
}

void scrivi_csv(const fs::path& f, long righe) {
    std::ofstream o(f, std::ios::binary);
    o << "data,ora,t,ur,p\n";
    char riga[128];
    for (long i = 0; i < righe; ++i) {
        const Ora x = ora(i);
        std::snprintf(riga, sizeof riga, "%03ld,%02ld:00,%.1f,%.0f,%.0f\n", (i / 24) % 365, i % 24, x.t, x.ur, x.p);
        o << riga;
    }
}

struct Misura {
    double secondi;
    long picco_kb;
    int codice;
};

// Runs the command with its output thrown away; wall time and the child's peak resident memory.
Misura esegui(const std::vector<std::string>& argomenti) {
    const auto inizio = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int nulla = open("/dev/null", O_WRONLY);
        dup2(nulla, 1);
        dup2(nulla, 2);
        std::vector<char*> argv;
        for (const auto& a : argomenti)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int stato = 0;
    rusage uso{};
    wait4(pid, &stato, 0, &uso);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count();
    return {s, uso.ru_maxrss, WIFEXITED(stato) ? WEXITSTATUS(stato) : -1};
}

void riporta(const char* nome, const std::vector<std::string>& argomenti, long righe, int volte) {
    Misura migliore{1e9, 0, 0};
    for (int k = 0; k < volte; ++k) {
        const Misura m = esegui(argomenti);
        if (m.secondi < migliore.secondi) migliore.secondi = m.secondi;
        migliore.picco_kb = std::max(migliore.picco_kb, m.picco_kb);
        migliore.codice = m.codice;
    }
    std::printf("%-44s %9ld rows %8.3f s %12.0f rows/s %8ld KB peak  exit %d\n", nome, righe, migliore.secondi,
                static_cast<double>(righe) / migliore.secondi, migliore.picco_kb, migliore.codice);
}

} // namespace

int main(int argc, char** argv) {
    const int volte = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::string modello = (fs::temp_directory_path() / "ondix-stati-XXXXXX").string();
    if (!mkdtemp(modello.data())) return 1;
    const fs::path dir = modello;
    scrivi_epw(dir / "anno.epw");
    scrivi_epw(dir / "vuoto.epw", 0);
    scrivi_epw(dir / "dieci.epw", 10);
    scrivi_csv(dir / "milione.csv", 1000000);
    scrivi_csv(dir / "centomila.csv", 100000);
    const std::string calc = ONDIX_CALC;
    const std::string epw = (dir / "anno.epw").string();
    const std::string milione = (dir / "milione.csv").string();

    // The program's start and end alone, for reading the year's figures (a year takes a few tens of milliseconds).
    riporta("EPW header only (start-up)", {calc, "stati", (dir / "vuoto.epw").string()}, 0, volte);
    riporta("EPW year", {calc, "stati", epw}, 8760, volte);
    riporta("EPW ten years", {calc, "stati", (dir / "dieci.epw").string()}, 87600, volte);
    riporta("EPW year, station pressure", {calc, "stati", epw, "--pressione", "file"}, 8760, volte);
    riporta("EPW year, summary", {calc, "stati", epw, "--riepilogo", "--soglia", "t=25"}, 8760, volte);
    riporta("EPW year, chart PNG", {calc, "stati", epw, "--grafico", (dir / "anno.png").string()}, 8760, volte);
    riporta("CSV 100 000 rows, pressure column",
            {calc, "stati", (dir / "centomila.csv").string(), "--pressione", "file"}, 100000, volte);
    riporta("CSV 1 000 000 rows, pressure column", {calc, "stati", milione, "--pressione", "file"}, 1000000, volte);
    riporta("CSV 1 000 000 rows, one pressure", {calc, "stati", milione, "--quota", "1000"}, 1000000, volte);
    // The summary's peak memory must not grow with the rows: compare with the year's.
    riporta("CSV 1 000 000 rows, summary", {calc, "stati", milione, "--pressione", "file", "--riepilogo"}, 1000000,
            volte);
    riporta("CSV 1 000 000 rows, summary with comfort",
            {calc, "stati", milione, "--riepilogo", "--comfort", "met=1.2,clo=0.5,v=0.1"}, 1000000, volte);
    // The chart keeps 16 bytes a row, and at most 8 MB more to draw them.
    riporta("CSV 1 000 000 rows, chart PNG", {calc, "stati", milione, "--grafico", (dir / "milione.png").string()},
            1000000, volte);
    riporta("CSV 1 000 000 rows, one thread", {calc, "stati", milione, "--quota", "1000", "-j", "1"}, 1000000, volte);
    fs::remove_all(dir);
    return 0;
}
