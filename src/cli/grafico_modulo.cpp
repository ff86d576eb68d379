// The chart-export module of ondix-calc: the one place where the command line meets the drawing libraries.
#include "chart/diagramma_libero.h"
#include "chart/nuvola.h"
#include "cli/grafico.h"
#include "plot_qt/documento_pdf.h"
#include "plot_qt/esporta.h"
#include "plot_qt/grafico_qt.h"

#include <utility>

extern "C" {

__attribute__((visibility("default"))) bool ondix_esporta_grafico(const ondix::RichiestaGrafico* r,
                                                                  std::string* errore) {
    std::optional<std::string> e;
    if (r->diagramma) {
        e = ondix::esporta_disegno(ondix::procedura_diagramma_libero(*r->diagramma), *r->opzioni,
                                   ondix::larghezza_schermata, ondix::altezza_schermata, r->percorso);
    } else if (r->nuvola) {
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

__attribute__((visibility("default"))) bool ondix_esporta_pdf(const ondix::RichiestaPdf* r, std::string* errore) {
    std::optional<ondix::GraficoDocumento> grafico;
    if (const ondix::RichiestaGrafico* g = r->grafico) {
        if (g->diagramma)
            grafico = ondix::GraficoDocumento{ondix::procedura_diagramma_libero(*g->diagramma), *g->opzioni, {}};
        else if (g->nuvola)
            grafico = ondix::GraficoDocumento{
                [g](ondix::Plotter& p) { ondix::diagramma_nuvola(p, *g->nuvola, g->aria); }, *g->opzioni, {}};
        else if (g->contesto && g->vista)
            grafico = ondix::grafico_documento(*g->contesto, *g->vista, *g->opzioni);
    }
    auto e = ondix::esporta_pdf(*r->documento, grafico ? &*grafico : nullptr, r->percorso);
    if (!e) return true;
    *errore = std::move(*e);
    return false;
}

__attribute__((visibility("default"))) const char* ondix_versione_modulo() {
    return ONDIX_VERSIONE;
}
}
