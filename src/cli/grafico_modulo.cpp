// The chart-export module of ondix-calc: the one place where the command line meets the drawing libraries.
#include "chart/nuvola.h"
#include "cli/grafico.h"
#include "plot_qt/esporta.h"
#include "plot_qt/grafico_qt.h"

#include <utility>

extern "C" {

__attribute__((visibility("default"))) bool ondix_esporta_grafico(const ondix::RichiestaGrafico* r,
                                                                  std::string* errore) {
    std::optional<std::string> e;
    if (r->nuvola) {
        const auto disegno = [r](ondix::Plotter& p) { ondix::diagramma_nuvola(p, *r->nuvola, r->aria); };
        e = ondix::esporta_disegno(disegno, *r->opzioni, ondix::larghezza_schermata, ondix::altezza_schermata,
                                   r->percorso);
    } else {
        e = ondix::esporta_grafico(*r->contesto, r->vista, r->percorso, *r->opzioni);
    }
    if (!e) return true;
    *errore = std::move(*e);
    return false;
}

__attribute__((visibility("default"))) const char* ondix_versione_modulo() {
    return ONDIX_VERSIONE;
}
}
