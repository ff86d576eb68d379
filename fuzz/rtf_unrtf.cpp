// Round trip of the RTF writer through unrtf: every seed input of the RTF fuzz target is written as RTF, read
// back by `unrtf --text`, and compared with the report's text. unrtf's text output is Latin-1 and spells tabs
// and other characters its own way, so the comparison covers the inputs whose text is printable ASCII and
// Latin-1 letters (the report's own alphabet); the others are checked by the fuzz target's own reader.
#include "core/rtf.h"
#include "lettore_rtf.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The text as Latin-1 bytes; false if a character lies outside printable ASCII, U+00A0–U+00FF and '\n'.
bool in_latin1(const std::string& utf8, std::string& latin1) {
    latin1.clear();
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == '\n' || (c >= 0x20 && c < 0x7F)) {
            latin1 += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
            const auto d = static_cast<unsigned char>(utf8[i + 1]);
            const unsigned cp = ((c & 0x1Fu) << 6) | (d & 0x3Fu);
            if (cp < 0xA0) return false;
            latin1 += static_cast<char>(cp);
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

std::string leggi_tutto(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc != 3) {
        std::fprintf(stderr, "usage: rtf_unrtf CORPUS_DIR UNRTF\n");
        return 2;
    }
    std::vector<fs::path> file;
    for (const auto& voce : fs::directory_iterator(argv[1]))
        if (voce.is_regular_file()) file.push_back(voce.path());
    std::sort(file.begin(), file.end());

    const fs::path dir = fs::temp_directory_path() / ("ondix-rtf-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    int confrontati = 0, errori = 0;
    for (const auto& f : file) {
        const std::string dati = leggi_tutto(f);
        const ondix::IngressoRtf ingresso =
            ondix::dividi_ingresso_rtf(reinterpret_cast<const unsigned char*>(dati.data()), dati.size());
        std::string atteso;
        if (!in_latin1(ondix::testo_atteso(ingresso.righe), atteso)) continue;

        const fs::path rtf = dir / "rapporto.rtf";
        std::ofstream(rtf, std::ios::binary) << ondix::scrivi_rtf(ingresso.righe, ingresso.punti);
        const std::string comando = std::string(argv[2]) + " --text '" + rtf.string() + "' 2>/dev/null";
        std::FILE* p = ::popen(comando.c_str(), "r");
        if (!p) {
            std::fprintf(stderr, "cannot run %s\n", argv[2]);
            return 2;
        }
        std::string uscita;
        char buf[4096];
        for (std::size_t letti; (letti = std::fread(buf, 1, sizeof buf, p)) > 0;)
            uscita.append(buf, letti);
        const int stato = ::pclose(p);
        // The text follows unrtf's header, after a line of dashes.
        const std::string riga_inizio = "-----------------\n";
        const auto inizio = uscita.find(riga_inizio);
        const std::string testo = inizio == std::string::npos ? uscita : uscita.substr(inizio + riga_inizio.size());
        ++confrontati;
        if (stato != 0 || testo != atteso) {
            ++errori;
            std::fprintf(stderr, "%s: unrtf reads back\n[%s]\ninstead of\n[%s]\n", f.filename().c_str(), testo.c_str(),
                         atteso.c_str());
        }
    }
    fs::remove_all(dir);
    std::printf("%d of %zu seed inputs compared through unrtf, %d differ\n", confrontati, file.size(), errori);
    return errori == 0 && confrontati > 0 ? 0 : 1;
}
