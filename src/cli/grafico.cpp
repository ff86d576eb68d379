// The chart options and drawings of the commands in a build with the chart: drawn by the chart-export module.
#include "cli/grafico.h"

#include "chart/diagramma_libero.h"
#include "cli/disegno.h"
#include "core/numeri.h"

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
    EsportaPdf pdf = nullptr;
    std::string errore;
};

Modulo carica() {
    Modulo m;
    const std::filesystem::path cartella = cartella_programma();
    if (cartella.empty()) {
        m.errore = "la cartella del programma non si trova (/proc/self/exe)";
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
            m.errore = "impossibile caricare il modulo dei grafici: " + std::string(e ? e : p.string());
            return m;
        }
        const auto versione = reinterpret_cast<VersioneModulo>(dlsym(h, simbolo_versione_modulo));
        const auto esporta = reinterpret_cast<EsportaGrafico>(dlsym(h, simbolo_esporta_grafico));
        const auto pdf = reinterpret_cast<EsportaPdf>(dlsym(h, simbolo_esporta_pdf));
        if (!versione || !esporta || !pdf) {
            m.errore = "il modulo dei grafici " + p.string() + " non è di ondix";
        } else if (std::string_view(versione()) != ONDIX_VERSIONE) {
            m.errore = "il modulo dei grafici " + p.string() + " è di ondix " + versione() + ", questo programma di " +
                       ONDIX_VERSIONE;
        } else {
            m.esporta = esporta;
            m.pdf = pdf;
        }
        return m;
    }
    m.errore = "il modulo dei grafici non è installato (cercato in " + provati + ")";
    return m;
}

// The module, loaded once.
const Modulo& modulo() {
    static const Modulo m = carica();
    return m;
}

// Draws with the module, or says why it cannot.
Fatto esporta(const RichiestaGrafico& richiesta) {
    const Modulo& m = modulo();
    if (!m.esporta) return Errore{Causa::file, m.errore};
    std::string errore;
    if (m.esporta(&richiesta, &errore)) return {};
    return Errore{Causa::file, std::move(errore)};
}

// The chart's layers of the options given.
OpzioniGrafico strati_di(const RichiestaDisegno& r) {
    OpzioniGrafico o;
    o.mollier = r.mollier;
    o.comfort = r.comfort;
    if (r.isolinee) (void)leggi_isolinee(*r.isolinee, o); // checked by controlla_disegno
    return o;
}

} // namespace

bool disegno_disponibile() {
    return true;
}

Fatto controlla_disegno(const RichiestaDisegno& r) {
    OpzioniGrafico o;
    if (r.isolinee)
        if (const Fatto letto = leggi_isolinee(*r.isolinee, o); !letto)
            return Errore{Causa::dati, "--isolinee: " + testo_visibile(letto.errore().testo)};
    return {};
}

Fatto disegna_calcolo(const Contesto& ctx, std::optional<VistaGrafico> vista, const RichiestaDisegno& r) {
    const OpzioniGrafico strati = strati_di(r);
    return esporta(RichiestaGrafico{&ctx, vista, r.file, &strati, nullptr, ctx.aria});
}

Fatto scrivi_pdf(const Documento& documento, const Contesto* ctx, std::optional<VistaGrafico> vista,
                 const RichiestaDisegno& strati, const std::string& percorso) {
    const Modulo& m = modulo();
    if (!m.pdf) return Errore{Causa::file, m.errore};
    const OpzioniGrafico opzioni = strati_di(strati);
    RichiestaGrafico grafico{ctx, vista, {}, &opzioni, nullptr, ctx ? ctx->aria : Aria{}};
    const RichiestaPdf richiesta{&documento, ctx && vista ? &grafico : nullptr, percorso};
    std::string errore;
    if (m.pdf(&richiesta, &errore)) return {};
    return Errore{Causa::file, std::move(errore)};
}

Fatto disegna_diagramma(const DiagrammaLibero& d, const RichiestaDisegno& r) {
    const OpzioniGrafico strati = con_titolo_libero(strati_di(r), d.aria());
    RichiestaGrafico richiesta{nullptr, std::nullopt, r.file, &strati, nullptr, d.aria()};
    richiesta.diagramma = &d;
    return esporta(richiesta);
}

Fatto scrivi_pdf_diagramma(const Documento& documento, const DiagrammaLibero& d, const RichiestaDisegno& strati,
                           const std::string& percorso) {
    const Modulo& m = modulo();
    if (!m.pdf) return Errore{Causa::file, m.errore};
    const OpzioniGrafico opzioni = con_titolo_libero(strati_di(strati), d.aria());
    RichiestaGrafico grafico{nullptr, std::nullopt, {}, &opzioni, nullptr, d.aria()};
    grafico.diagramma = &d;
    const RichiestaPdf richiesta{&documento, &grafico, percorso};
    std::string errore;
    if (m.pdf(&richiesta, &errore)) return {};
    return Errore{Causa::file, std::move(errore)};
}

Fatto NuvolaStati::disegna(Aria aria, const std::string& origine, const RichiestaDisegno& r) const {
    OpzioniGrafico strati = strati_di(r);
    if (strati.qualcuno() || aria.modello)
        strati.titolo =
            std::filesystem::path(origine).filename().string() + " - " + riga_titolo(0, aria.pressione, aria.modello);
    return esporta(RichiestaGrafico{nullptr, std::nullopt, r.file, &strati, &m_punti, aria});
}

} // namespace ondix
