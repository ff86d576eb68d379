// Runs a fuzz target over files without libFuzzer: each argument is a file or a directory of files. Used by the
// ordinary builds to replay the seed corpus as a regression test.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> file;
    for (int i = 1; i < argc; ++i) {
        const fs::path p(argv[i]);
        if (fs::is_directory(p)) {
            for (const auto& voce : fs::directory_iterator(p))
                if (voce.is_regular_file()) file.push_back(voce.path());
        } else {
            file.push_back(p);
        }
    }
    std::sort(file.begin(), file.end());
    if (file.empty()) {
        std::fprintf(stderr, "no input files\n");
        return 1;
    }
    for (const auto& f : file) {
        std::ifstream in(f, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", f.c_str());
            return 1;
        }
        const std::vector<char> dati((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(dati.data()), dati.size());
    }
    std::printf("%zu inputs ran\n", file.size());
    return 0;
}
