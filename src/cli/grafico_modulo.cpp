// The chart-export module of ondix-calc: the one place where the command line meets the drawing libraries.
#include "cli/grafico.h"
#include "plot_qt/esporta.h"

#include <utility>

extern "C" {

__attribute__((visibility("default"))) bool ondix_esporta_grafico(const ondix::RichiestaGrafico* r,
                                                                  std::string* errore) {
    auto e = ondix::esporta_grafico(*r->contesto, r->vista, r->percorso, *r->opzioni);
    if (!e) return true;
    *errore = std::move(*e);
    return false;
}

__attribute__((visibility("default"))) const char* ondix_versione_modulo() {
    return ONDIX_VERSIONE;
}
}
