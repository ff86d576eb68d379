// What the export tests share: the command-line program run as a user runs it, in a directory of its own, and the
// standard output of the tools that read its files back.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace prova_esporta {

inline std::string leggi(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

inline void scrivi(const fs::path& p, const std::string& testo) {
    std::ofstream(p, std::ios::binary) << testo;
}

struct Uscita {
    int codice;
    std::string err;
};

class Esporta : public ::testing::Test {
protected:
    void SetUp() override {
        std::string modello = (fs::temp_directory_path() / "ondix-esporta-XXXXXX").string();
        ASSERT_NE(mkdtemp(modello.data()), nullptr);
        dir = modello;
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs ondix-calc with `argomenti` (already quoted), no display and no platform chosen, and the environment
    // variables `ambiente` ("NAME=value ...").
    Uscita calc(const std::string& argomenti, const std::string& ambiente = "") {
        const fs::path err = dir / "stderr.txt";
        const std::string comando = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + ambiente + " '" +
                                    ONDIX_CALC "' " + argomenti + " >/dev/null 2>'" + err.string() + "'";
        const int stato = std::system(comando.c_str());
        Uscita e{WIFEXITED(stato) ? WEXITSTATUS(stato) : -1, leggi(err)};
        fs::remove(err);
        return e;
    }
    std::string q(const fs::path& p) { return "'" + p.string() + "'"; }
    // The files in the directory, by name.
    std::vector<std::string> contenuto() {
        std::vector<std::string> r;
        for (const auto& e : fs::directory_iterator(dir))
            r.push_back(e.path().filename().string());
        std::sort(r.begin(), r.end());
        return r;
    }

    fs::path dir;
};

// The standard output of a command, and its exit status.
inline std::string esegui(const std::string& comando, int* codice = nullptr) {
    std::string uscita;
    if (FILE* p = popen(comando.c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
            uscita.append(buf, n);
        const int stato = pclose(p);
        if (codice) *codice = WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
    }
    return uscita;
}

inline int pagine(const fs::path& pdf) {
    std::smatch m;
    const std::string info = esegui("pdfinfo '" + pdf.string() + "' 2>&1");
    return std::regex_search(info, m, std::regex("Pages: +([0-9]+)")) ? std::stoi(m[1]) : -1;
}

} // namespace prova_esporta

using namespace prova_esporta; // NOLINT: the tests' own names, in every test file that includes this
