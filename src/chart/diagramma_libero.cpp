#include "chart/diagramma_libero.h"

#include "core/aria_umida.h"
#include "core/diagramma_libero_tabella.h"

#include <map>

namespace ondix {

namespace {

constexpr std::uint16_t nero = 0, blu = 1, verde = 2, rosso = 4, grigio = 7;
// Radius of a state's mark, and of the small mark of a fog's equilibrium or of a target no process reaches, °C on
// the temperature scale (the process chart's marks are 0.2).
constexpr double raggio_segno = 0.2;
constexpr double raggio_piccolo = 0.12;

void tratteggio(Plotter& p, Tratteggio t) {
    if (Canvas* c = p.canvas()) c->imposta_tratteggio(t);
}

// A line in world units with the pen and dashes of `s`, dashes off afterwards.
void linea(Plotter& p, const StileTrasformazione& s, double t1, double x1, double t2, double x2) {
    p.penna(s.penna);
    tratteggio(p, s.tratteggio);
    p.linea(t1, x1, t2, x2);
    tratteggio(p, Tratteggio::continuo);
}

const StatoCompleto* stato_di(const DiagrammaLibero& d, int id) {
    const auto i = d.indice_stato(id);
    if (!i || !d.stato(*i).stato) return nullptr;
    return &*d.stato(*i).stato;
}

IngombroProcesso ingombro_di(const DiagrammaLibero& d) {
    IngombroProcesso r;
    std::map<int, std::size_t> posto;
    for (std::size_t i = 0; i < d.numero_stati(); ++i)
        if (const auto& s = d.stato(i).stato) {
            posto[d.definizione_stato(i).id] = r.segni.size();
            r.segni.push_back({s->t, s->x, d.definizione_stato(i).nome});
        }
    for (std::size_t k = 0; k < d.numero_trasformazioni(); ++k) {
        const DefinizioneTrasformazione& t = d.definizione_trasformazione(k);
        const int fine =
            t.tipo == TipoTrasformazione::linea || t.tipo == TipoTrasformazione::miscela ? t.con : t.uscita;
        if (posto.count(t.da) && posto.count(fine)) r.linee.emplace_back(posto[t.da], posto[fine]);
    }
    return r;
}

void disegna_trasformazioni(Plotter& p, const DiagrammaLibero& d) {
    for (std::size_t k = 0; k < d.numero_trasformazioni(); ++k) {
        const DefinizioneTrasformazione& t = d.definizione_trasformazione(k);
        const RisultatoTrasformazione& r = d.trasformazione(k);
        const StatoCompleto* a = stato_di(d, t.da);
        if (!a) continue;
        if (r.rifiuto) {
            // Where the user put an outlet no process reaches: a red dashed line to it.
            if (!t.obiettivo) continue;
            linea(p, {rosso, Tratteggio::tratteggiato}, a->t, a->x, t.obiettivo->t, t.obiettivo->x);
            p.cerchio(t.obiettivo->t, t.obiettivo->x, raggio_piccolo);
            continue;
        }
        const bool due = t.tipo == TipoTrasformazione::linea || t.tipo == TipoTrasformazione::miscela;
        const StatoCompleto* b = stato_di(d, due ? t.con : t.uscita);
        if (!b) continue;
        const StileTrasformazione s = stile_trasformazione(t.tipo, r.dh);
        linea(p, s, a->t, a->x, b->t, b->x);
        if (t.tipo == TipoTrasformazione::batteria && !r.asciutta) {
            // A wet coil's line runs on to saturated air at the coil's temperature.
            const double tb = r.usata.t_batteria;
            const StatoCompleto* u = stato_di(d, t.uscita);
            linea(p, {blu, Tratteggio::punteggiato}, u->t, u->x, tb, umidita_saturazione(tb, d.aria()));
        }
    }
}

void disegna_segni(Plotter& p, const DiagrammaLibero& d) {
    p.penna(nero);
    for (std::size_t i = 0; i < d.numero_stati(); ++i) {
        const auto& s = d.stato(i).stato;
        if (!s) continue;
        // The mark first: its white inside would cover the start of the label.
        p.cerchio(s->t, s->x, raggio_segno);
        p.scrivi_testo(d.definizione_stato(i).nome, s->t, s->x);
    }
}

void disegna_nebbia(Plotter& p, const DiagrammaLibero& d) {
    for (std::size_t i = 0; i < d.numero_stati(); ++i) {
        const StatoDiagramma& s = d.stato(i);
        if (!s.stato || !s.nebbia) continue;
        // Fog settles to saturated air of the same enthalpy.
        linea(p, {grigio, Tratteggio::tratteggiato}, s.stato->t, s.stato->x, s.nebbia->t, s.nebbia->x);
        p.cerchio(s.nebbia->t, s.nebbia->x, raggio_piccolo);
    }
}

} // namespace

StileTrasformazione stile_trasformazione(TipoTrasformazione t, double dh) {
    switch (t) {
    case TipoTrasformazione::miscela:
        return {nero, Tratteggio::continuo};
    case TipoTrasformazione::sensibile:
        return {dh < 0.0 ? blu : rosso, Tratteggio::continuo};
    case TipoTrasformazione::batteria:
        return {blu, Tratteggio::continuo};
    case TipoTrasformazione::adiabatica:
    case TipoTrasformazione::vapore:
        return {verde, Tratteggio::continuo};
    case TipoTrasformazione::linea:
        return {grigio, Tratteggio::tratteggiato};
    }
    return {nero, Tratteggio::continuo};
}

void disegna_diagramma_libero(Plotter& p, const DiagrammaLibero& d, const IntervalliGrafico& r) {
    fondo_diagramma(p, r.tmin, r.tmax, r.xmin, r.xmax, ingombro_di(d), d.aria());
    // As on the process charts, the lines after the marks: they pass over circles and labels.
    disegna_segni(p, d);
    disegna_trasformazioni(p, d);
    disegna_nebbia(p, d);
}

OpzioniGrafico con_titolo_libero(OpzioniGrafico o, Aria aria) {
    o = con_titolo(std::move(o), 0, aria);
    if (!o.titolo.empty()) o.titolo = std::string(titolo_diagramma_libero) + " - " + o.titolo;
    return o;
}

ProceduraDisegno procedura_diagramma_libero(const DiagrammaLibero& d, std::optional<IntervalliGrafico> fissi) {
    return [&d, fissi](Plotter& p) { disegna_diagramma_libero(p, d, fissi ? *fissi : intervalli_diagramma(d)); };
}

} // namespace ondix
