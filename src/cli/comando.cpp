#include "cli/comando.h"

#include "cli/stati.h"
#include "core/numeri.h"

#include <cerrno>
#include <iostream>

namespace ondix {

int codice_uscita(Causa c) {
    switch (c) {
    case Causa::virgola_mobile:
        return 3;
    case Causa::impianto:
        return 4;
    case Causa::dati:
    case Causa::file:
        break;
    }
    return 2;
}

int segnala(std::string_view prefisso, const Errore& e) {
    std::cerr << "ondix-calc: ";
    if (!prefisso.empty()) std::cerr << prefisso << ": ";
    std::cerr << e.testo << '\n';
    return codice_uscita(e.causa);
}

void segnala_non_scritto(std::string_view prefisso, std::string_view motivo, const std::string& file) {
    std::cerr << "ondix-calc: ";
    if (!prefisso.empty()) std::cerr << prefisso << ": ";
    std::cerr << motivo << "; " << testo_visibile(file) << " non è stato scritto\n";
}

Fatto scarica_uscita(int motivo) {
    errno = 0;
    std::cout.flush();
    if (std::cout) return {};
    return uscita_non_scritta(motivo != 0 ? motivo : errno);
}

} // namespace ondix
