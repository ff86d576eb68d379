#include "cli/grafico.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace ondix {

namespace {

// The directory of the running program, from /proc/self/exe; empty if it cannot be read.
std::filesystem::path cartella_programma() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe.parent_path();
}

struct Modulo {
    EsportaGrafico esporta = nullptr;
    std::string errore;
};

Modulo carica() {
    Modulo m;
    const std::filesystem::path cartella = cartella_programma();
    if (cartella.empty()) {
        m.errore = "the program's own directory cannot be found (/proc/self/exe)";
        return m;
    }
    // Beside the program (the build tree), then where the installation puts it.
    const std::array<std::filesystem::path, 2> percorsi{cartella / nome_modulo_grafico,
                                                        cartella / ONDIX_MODULI_RELATIVO / nome_modulo_grafico};
    std::string provati;
    for (const auto& p : percorsi) {
        std::error_code ec;
        if (!std::filesystem::exists(p, ec)) {
            provati += (provati.empty() ? "" : ", ") + p.lexically_normal().string();
            continue;
        }
        // Kept loaded to the end: the drawing libraries keep state that lives until the process ends.
        void* h = dlopen(p.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (!h) {
            const char* e = dlerror();
            m.errore = "the chart module cannot be loaded: " + std::string(e ? e : p.string());
            return m;
        }
        const auto versione = reinterpret_cast<VersioneModulo>(dlsym(h, simbolo_versione_modulo));
        const auto esporta = reinterpret_cast<EsportaGrafico>(dlsym(h, simbolo_esporta_grafico));
        if (!versione || !esporta) {
            m.errore = "the chart module " + p.string() + " is not one of ondix";
        } else if (std::string_view(versione()) != ONDIX_VERSIONE) {
            m.errore =
                "the chart module " + p.string() + " is of ondix " + versione() + ", this program of " + ONDIX_VERSIONE;
        } else {
            m.esporta = esporta;
        }
        return m;
    }
    m.errore = "the chart module is not installed (looked for " + provati + ")";
    return m;
}

} // namespace

std::optional<std::string> esporta_grafico_modulo(const Contesto& ctx, std::optional<VistaGrafico> vista,
                                                  const std::string& percorso, const OpzioniGrafico& opzioni) {
    static const Modulo modulo = carica();
    if (!modulo.esporta) return modulo.errore;
    const RichiestaGrafico richiesta{&ctx, vista, percorso, &opzioni, nullptr, ctx.aria};
    std::string errore;
    if (modulo.esporta(&richiesta, &errore)) return std::nullopt;
    return errore;
}

std::optional<std::string> esporta_nuvola_modulo(const std::vector<PuntoNuvola>& punti, Aria aria,
                                                 const std::string& percorso, const OpzioniGrafico& opzioni) {
    static const Modulo modulo = carica();
    if (!modulo.esporta) return modulo.errore;
    const RichiestaGrafico richiesta{nullptr, std::nullopt, percorso, &opzioni, &punti, aria};
    std::string errore;
    if (modulo.esporta(&richiesta, &errore)) return std::nullopt;
    return errore;
}

} // namespace ondix
