// The RTF writer: any report text gives a well-formed 7-bit RTF document whose text, read back, is the report's
// text (control characters dropped, invalid UTF-8 replaced).
#include "core/rtf.h"
#include "lettore_rtf.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    const ondix::IngressoRtf ingresso = ondix::dividi_ingresso_rtf(dati, n);
    const std::string rtf = ondix::scrivi_rtf(ingresso.righe, ingresso.punti);
    std::string errore;
    const auto testo = ondix::leggi_rtf(rtf, errore);
    if (!testo) {
        std::fprintf(stderr, "not well-formed RTF: %s\n", errore.c_str());
        std::abort();
    }
    if (ondix::senza_sostituti(*testo) != ondix::senza_sostituti(ondix::testo_atteso(ingresso.righe))) {
        std::fprintf(stderr, "the text read back differs from the report\n");
        std::abort();
    }
    return 0;
}
