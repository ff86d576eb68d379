#include "chart/diagramma.h"

#include "chart/assi.h"
#include "chart/strati.h"
#include "core/aria_umida.h"

namespace ondix {

namespace {

constexpr std::uint16_t nero = 0, blu = 1, verde = 2, rosso = 4;
// Keeps the colours the canvas holds.
constexpr std::uint16_t penna_neutra = 15;
// Radius of a point mark, °C on the temperature scale.
constexpr double raggio_segno = 0.2;

// Line between entries k and j, world units; none when either entry is empty, since it holds no state.
void unisci(Plotter& p, const TabellaPunti& punti, int k, int j) {
    if (!punti[k].in_uso() || !punti[j].in_uso()) return;
    p.linea(punti[k].X, punti[k].Y, punti[j].X, punti[j].Y);
}

void segni_punti(Plotter& p, const TabellaPunti& punti) {
    for (int i = 1; i <= TabellaPunti::numero_voci; ++i) {
        const PuntoGrafico& q = punti[i];
        if (!q.in_uso()) continue;
        p.imposta_mappatura(true);
        // A later entry with exactly one coordinate 0 keeps the colour of the mark before it.
        if (q.X != 0.0 && q.Y != 0.0) p.penna(nero);
        if (i == 1) p.penna(rosso);
        // The mark first: its white inside would cover the start of the label.
        p.cerchio(q.X, q.Y, raggio_segno);
        p.scrivi_testo(q.etichetta, q.X, q.Y);
    }
}

} // namespace

namespace {

// The process lines of a chart overlay code in drawing order: `penna`(n) selects a pen, `unisci`(k, j) joins
// entries k and j. The drawing and the label placement of the layers both follow it.
template <class Penna, class Unisci>
void percorri_processo(const TabellaPunti& punti, std::uint8_t codice, Penna penna, Unisci unisci) {
    penna(verde);
    switch (codice) {
    case 0:
        unisci(1, 2);
        unisci(1, 3);
        return;
    case 3:
        unisci(1, 3);
        break;
    case 4:
    case 5:
        unisci(3, 4);
        unisci(1, 5);
        if (punti[6].X != 0.0 && punti[6].Y != 0.0) unisci(5, 6);
        break;
    case 11:
        // An air-handling unit: its states in order, entries 1 to 9; entry 10 (the room) stands alone.
        for (int k = 1; k < TabellaPunti::numero_voci - 1; ++k)
            unisci(k, k + 1);
        penna(nero);
        return;
    case 6: {
        const bool con_p7 = punti[7].X != 0.0;
        if (con_p7) unisci(6, 7);
        penna(nero);
        unisci(3, 4);
        unisci(4, 5);
        if (punti[6].X != 0.0) unisci(5, 6);
        penna(rosso);
        unisci(1, con_p7 ? 7 : 6);
        break;
    }
    default: // 1, 2, 7, 10: no green line
        break;
    }
    penna(nero);
    unisci(1, 2);
    if (codice == 7) {
        unisci(3, 4);
        unisci(1, 5);
        unisci(5, 4);
    }
}

} // namespace

std::vector<std::pair<int, int>> linee_processo(const TabellaPunti& punti, std::uint8_t codice) {
    std::vector<std::pair<int, int>> r;
    percorri_processo(
        punti, codice, [](std::uint16_t) {},
        [&](int k, int j) {
            if (punti[k].in_uso() && punti[j].in_uso()) r.emplace_back(k, j);
        });
    return r;
}

void disegna_processo(Plotter& p, const TabellaPunti& punti, std::uint8_t codice) {
    segni_punti(p, punti);

    // Lines join entries in world units, also when no mark switched the mapping on (an empty table).
    p.imposta_mappatura(true);
    percorri_processo(
        punti, codice, [&](std::uint16_t n) { p.penna(n); }, [&](int k, int j) { unisci(p, punti, k, j); });
}

void fondo_diagramma(Plotter& p, double tmin, double tmax, double xmin, double xmax, const IngombroProcesso& ingombro,
                     Aria aria) {
    const ImpostazioniAssi impostazioni{}; // left margin on, no extra rows
    // The layers (isolines) and whoever reads the drawing afterwards take the pressure the chart is drawn at.
    p.imposta_aria(aria);
    p.apri_plotter();
    p.cornice();
    if (p.opzioni().mollier) {
        // Humidity ratio across, temperature upward; everything after this is drawn in (t, x) and placed swapped.
        assi(p, "X[g/kg]", "t [C]", penna_neutra, xmin, tmin, xmax, tmax, impostazioni);
        p.imposta_scambio_assi(true);
    } else {
        assi(p, "tbs", "X[g/kg]", penna_neutra, tmin, xmin, tmax, xmax, impostazioni);
    }
    p.imposta_mappatura(true);
    disegna_zona_comfort(p);
    disegna_strati(p, ingombro);
    // Sampled over the frame's whole temperature range, as the isolines are, cut where it leaves the widened
    // humidity range.
    const FinestraPlotter& w = p.finestra_corrente();
    const bool mollier = p.opzioni().mollier;
    traccia_funzione(
        p, [aria](double t) { return curva_saturazione(t, aria); }, blu, mollier ? w.ymin : w.xmin,
        mollier ? w.ymax : w.xmax);
    // The curve leaves the mapping off; a process is drawn in world units.
    p.imposta_mappatura(true);
}

void diagramma(Plotter& p, double tmin, double tmax, double xmin, double xmax, const TabellaPunti& punti,
               std::uint8_t codice, Aria aria) {
    fondo_diagramma(p, tmin, tmax, xmin, xmax, ingombro_tabella(punti, linee_processo(punti, codice)), aria);
    p.penna(rosso);
    disegna_processo(p, punti, codice);
}

namespace {

void diagramma_vista(Plotter& p, VistaGrafico v, const TabellaPunti& punti, std::uint8_t codice, Aria aria) {
    const IntervalliGrafico r = intervalli_vista(v, punti);
    diagramma(p, r.tmin, r.tmax, r.xmin, r.xmax, punti, codice, aria);
}

} // namespace

void diagramma_standard(Plotter& p, const TabellaPunti& punti, std::uint8_t codice, Aria aria) {
    diagramma_vista(p, VistaGrafico::standard, punti, codice, aria);
}
void diagramma_verifica(Plotter& p, const TabellaPunti& punti, std::uint8_t codice, Aria aria) {
    diagramma_vista(p, VistaGrafico::verifica, punti, codice, aria);
}
void diagramma_invernale(Plotter& p, const TabellaPunti& punti, std::uint8_t codice, Aria aria) {
    diagramma_vista(p, VistaGrafico::invernale, punti, codice, aria);
}
void diagramma_punto(Plotter& p, const TabellaPunti& punti, std::uint8_t codice, Aria aria) {
    diagramma_vista(p, VistaGrafico::punto, punti, codice, aria);
}

void disegna_vista(Plotter& p, VistaGrafico v, const TabellaPunti& punti, std::uint8_t codice, Aria aria) {
    switch (v) {
    case VistaGrafico::standard:
        diagramma_standard(p, punti, codice, aria);
        return;
    case VistaGrafico::verifica:
        diagramma_verifica(p, punti, codice, aria);
        return;
    case VistaGrafico::invernale:
        diagramma_invernale(p, punti, codice, aria);
        return;
    case VistaGrafico::punto:
        diagramma_punto(p, punti, codice, aria);
        return;
    }
}

ProceduraDisegno procedura_vista(VistaGrafico v, const Contesto& ctx) {
    return [v, &ctx](Plotter& p) { disegna_vista(p, v, ctx.punti, ctx.codice_grafico, ctx.aria); };
}

void ridisegna(Plotter& p, const ProceduraDisegno& procedura) {
    if (!procedura) return;
    procedura(p);
    p.imposta_mappatura(false);
    p.chiudi_plotter();
}

} // namespace ondix
