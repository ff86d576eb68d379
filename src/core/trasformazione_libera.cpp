// One process of the working chart: its outlet from its inlets with the process functions of aria_umida.h, as the
// single-treatment processes compute it, and, when the user placed the outlet, the parameters found from that
// target. What no plant can do is refused with the reason.
#include "core/computazioni.h"
#include "core/diagramma_libero.h"
#include "core/numeri.h"

#include <cmath>

namespace ondix {

namespace {

Errore impossibile(std::string testo) {
    return Errore{Causa::impianto, std::move(testo)};
}

std::string gradi(double t) {
    return formatta(t, 0, 1) + " C";
}
std::string grammi(double x) {
    return formatta(x, 0, 2) + " g/kg";
}

// A temperature the process reads: within the model and below boiling; `cosa` names it.
std::optional<Errore> temperatura(std::string_view cosa, double t, Aria aria) {
    if (!std::isfinite(t)) return impossibile(std::string(cosa) + " non è un numero");
    if (const Fatto f = temperatura_ammessa(t, aria); !f)
        return impossibile(std::string(cosa) + ": " + f.errore().testo);
    return std::nullopt;
}

std::optional<Errore> intervallo(std::string_view cosa, double v, double minimo, double massimo) {
    if (v >= minimo && v <= massimo) return std::nullopt;
    return impossibile(std::string(cosa) + " va da " + formatta(minimo, 0, 0) + " a " + formatta(massimo, 0, 0));
}

std::optional<Errore> portata_valida(std::string_view cosa, const std::optional<double>& m) {
    if (!m || (std::isfinite(*m) && *m >= 0.0)) return std::nullopt;
    return impossibile(std::string(cosa) + " non può essere negativa");
}

// The point in [lo, hi] where `sopra` turns from false to true, halved down to 1e-9 of its unit; `sopra` is false
// at lo and true at hi.
template <class F> double dimezza(double lo, double hi, F sopra) {
    for (int n = 0; n < 200 && hi - lo > 1e-9; ++n) {
        const double mid = lo + (hi - lo) / 2.0;
        (sopra(mid) ? hi : lo) = mid;
    }
    return lo + (hi - lo) / 2.0;
}

struct Calcolato {
    std::optional<Errore> rifiuto;
    std::optional<Stato> uscita;
    bool asciutta = false;
    std::optional<double> dh; // kJ/kg, when the process function gives it
};
Calcolato no(Errore e) {
    return {std::move(e), std::nullopt, false, std::nullopt};
}
Calcolato si(Stato uscita, bool asciutta = false, std::optional<double> dh = std::nullopt) {
    return {std::nullopt, uscita, asciutta, dh};
}

Calcolato miscela_di(DefinizioneTrasformazione& d, const StatoCompleto& a, const StatoCompleto& b, Aria aria) {
    const bool per_portate = d.portata_da && d.portata_con;
    if (d.obiettivo) {
        // Mixing moves the mass-weighted mean along the line between the streams: the fraction is the target's
        // share of the way from `con` to `da`, on the wider of the two spans.
        const bool su_t = std::fabs(a.t - b.t) >= std::fabs(a.x - b.x);
        const double da = su_t ? a.t : a.x, con = su_t ? b.t : b.x, v = su_t ? d.obiettivo->t : d.obiettivo->x;
        if (da == con) return no(impossibile("i due stati coincidono: la miscela è uno dei due"));
        const double f = (v - con) / (da - con);
        if (!(f >= 0.0 && f <= 1.0)) return no(impossibile("la miscela sta sulla retta fra i due stati, non oltre"));
        if (per_portate) {
            const double totale = *d.portata_da + *d.portata_con;
            d.portata_da = f * totale;
            d.portata_con = totale - *d.portata_da;
        } else {
            d.frazione = f;
        }
    }
    double ma = d.frazione, mb = 1.0 - d.frazione;
    if (per_portate) {
        ma = *d.portata_da;
        mb = *d.portata_con;
        if (auto e = portata_valida("la portata del primo flusso", d.portata_da)) return no(*e);
        if (auto e = portata_valida("la portata del secondo flusso", d.portata_con)) return no(*e);
        if (!(ma + mb > 0.0)) return no(impossibile("due portate nulle non fanno una miscela"));
    } else if (auto e = intervallo("la frazione del primo flusso", d.frazione, 0.0, 1.0)) {
        return no(*e);
    }
    // As the mixing process: the streams by volume at their own states, the mixture's humidity ratio taken again
    // from its relative humidity.
    const double va = volume_specifico(a.t, a.x, aria), vb = volume_specifico(b.t, b.x, aria);
    const Miscela mix = miscela(a.t, a.ur, ma * va, b.t, b.ur, mb * vb, aria);
    return si(Stato{mix.t, umidita_specifica(mix.ur, mix.t, aria)});
}

Calcolato sensibile_di(DefinizioneTrasformazione& d, const StatoCompleto& a, Aria aria) {
    if (d.obiettivo) d.t_uscita = d.obiettivo->t;
    if (auto e = temperatura("la temperatura di uscita", d.t_uscita, aria)) return no(*e);
    const Sensibile s = trasformazione_sensibile(a.t, a.ur, 1.0, d.t_uscita, aria);
    return si(Stato{d.t_uscita, s.x}, false, s.h2 - s.h1);
}

// The coil that takes `a` to the target: the coil temperature where the line from the inlet through the target
// meets the saturation curve (the first crossing below the target), and the bypass factor that stops there.
std::optional<Errore> batteria_da_obiettivo(DefinizioneTrasformazione& d, const StatoCompleto& a, Aria aria) {
    const Stato o = *d.obiettivo;
    if (o.t > a.t) return impossibile("una batteria di raffreddamento non scalda l aria (uscita " + gradi(o.t) + ")");
    if (o.x > a.x + 1e-9)
        return impossibile("umidità specifica di uscita " + grammi(o.x) + " sopra quella di ingresso (" + grammi(a.x) +
                           "): una batteria non aggiunge acqua");
    if (o.x >= a.x - 1e-9) {
        // No water taken: a dry coil, the warmest one, at the inlet's dew point (a hair above it, so that the
        // dew point's own rounding cannot leave the coil a trace wet).
        double tb = std::min(a.t, a.rugiada.value_or(a.t));
        for (double su = 1e-9; su < 1e-3 && !batteria_asciutta(a.x, tb, aria); su *= 10.0)
            tb = std::min(a.t, a.rugiada.value_or(a.t) + su);
        if (o.t < tb)
            return impossibile("una batteria asciutta non porta l aria sotto il suo punto di rugiada (" + gradi(tb) +
                               ")");
        d.t_batteria = tb;
        d.fattore_bypass = a.t > tb ? (o.t - tb) / (a.t - tb) : 0.0;
        return std::nullopt;
    }
    if (o.t >= a.t) return impossibile("una batteria che toglie acqua raffredda anche l aria");
    const double pendenza = (a.x - o.x) / (a.t - o.t);
    const auto scarto = [&](double t) { return o.x + pendenza * (t - o.t) - umidita_saturazione(t, aria); };
    const bool sopra = scarto(o.t) > 0.0;
    double alto = o.t;
    constexpr double passo = 0.5;
    for (double t = o.t - passo; t >= t_minima_stato; t -= passo) {
        if ((scarto(t) > 0.0) != sopra) {
            const double tb = dimezza(t, alto, [&](double u) { return (scarto(u) > 0.0) == sopra; });
            d.t_batteria = tb;
            d.fattore_bypass = (o.t - tb) / (a.t - tb);
            return std::nullopt;
        }
        alto = t;
    }
    if (scarto(o.t) == 0.0) {
        d.t_batteria = o.t;
        d.fattore_bypass = 0.0;
        return std::nullopt;
    }
    return impossibile("nessuna batteria porta l aria fin qui: la retta della batteria non incontra la saturazione");
}

Calcolato batteria_di(DefinizioneTrasformazione& d, const StatoCompleto& a, Aria aria) {
    if (d.obiettivo)
        if (auto e = batteria_da_obiettivo(d, a, aria)) return no(*e);
    if (auto e = temperatura("la temperatura della batteria", d.t_batteria, aria)) return no(*e);
    if (d.t_batteria > a.t) return no(impossibile("la batteria è più calda dell aria e non può raffreddarla!"));
    if (auto e = intervallo("il fattore di bypass", d.fattore_bypass, 0.0, 1.0)) return no(*e);
    const Stato o = uscita_batteria_bypass(a.t, a.x, d.t_batteria, d.fattore_bypass, aria);
    return si(o, batteria_asciutta(a.x, d.t_batteria, aria));
}

Calcolato adiabatica_di(DefinizioneTrasformazione& d, const StatoCompleto& a, Aria aria) {
    if (auto e = temperatura("la temperatura dell acqua", d.t_acqua, aria)) return no(*e);
    const auto uscita = [&](double eff) { return umidificazione_adiabatica(a.t, a.ur, d.t_acqua, eff, aria); };
    if (d.obiettivo) {
        // The humidity ratio at the outlet rises with the efficiency: the efficiency that reaches the target's.
        const double x = d.obiettivo->x;
        if (x < a.x) return no(impossibile("un umidificatore non asciuga l aria"));
        const double massimo = uscita(100.0).x;
        if (x > massimo) return no(impossibile("con efficienza 100 % l aria esce a " + grammi(massimo)));
        d.efficienza = dimezza(0.0, 100.0, [&](double eff) { return uscita(eff).x >= x; });
    }
    if (auto e = intervallo("l efficienza (%)", d.efficienza, 0.0, 100.0)) return no(*e);
    return si(uscita(d.efficienza));
}

Calcolato vapore_di(DefinizioneTrasformazione& d, const StatoCompleto& a, Aria aria) {
    if (d.obiettivo) d.x_uscita = d.obiettivo->x;
    if (!std::isfinite(d.t_vapore) || d.t_vapore < 0.0)
        return no(impossibile("la temperatura del vapore non è valida"));
    if (!(d.x_uscita >= a.x))
        return no(impossibile("il vapore non può togliere acqua: l umidità finale è inferiore a quella iniziale!"));
    return si(umidificazione_vapore(a.t, a.x, d.t_vapore, d.x_uscita, aria));
}

} // namespace

std::optional<double> RisultatoTrasformazione::potenza_kw() const {
    if (!portata) return std::nullopt;
    return dh * *portata / 3600.0;
}

std::optional<double> RisultatoTrasformazione::acqua_kg_h() const {
    if (!portata) return std::nullopt;
    return dx * *portata / 1000.0;
}

UscitaTrasformazione calcola_trasformazione(const DefinizioneTrasformazione& def, const StatoCompleto& a,
                                            const StatoCompleto* b, std::optional<double> portata_ingresso, Aria aria) {
    UscitaTrasformazione r;
    RisultatoTrasformazione& e = r.risultato;
    e.usata = def;
    DefinizioneTrasformazione& d = e.usata;
    const auto rifiuta = [&](Errore err) {
        e.rifiuto = std::move(err);
        return r;
    };
    if (auto err = portata_valida("la portata", d.portata)) return rifiuta(*err);
    e.portata = d.portata ? d.portata : portata_ingresso;
    Calcolato c;
    switch (d.tipo) {
    case TipoTrasformazione::miscela:
        c = miscela_di(d, a, *b, aria);
        if (d.portata_da && d.portata_con)
            e.portata = *d.portata_da + *d.portata_con;
        else
            e.portata = d.portata;
        break;
    case TipoTrasformazione::sensibile:
        c = sensibile_di(d, a, aria);
        break;
    case TipoTrasformazione::batteria:
        c = batteria_di(d, a, aria);
        break;
    case TipoTrasformazione::adiabatica:
        c = adiabatica_di(d, a, aria);
        break;
    case TipoTrasformazione::vapore:
        c = vapore_di(d, a, aria);
        break;
    case TipoTrasformazione::linea:
        e.dh = b->h - a.h;
        e.dx = b->x - a.x;
        return r;
    }
    if (c.rifiuto) return rifiuta(*c.rifiuto);
    if (!c.uscita || !std::isfinite(c.uscita->t) || !std::isfinite(c.uscita->x))
        return rifiuta(impossibile("il calcolo non dà uno stato dell aria"));
    if (auto err = temperatura("l uscita", c.uscita->t, aria)) return rifiuta(*err);
    r.uscita = c.uscita;
    e.asciutta = c.asciutta;
    if (d.tipo != TipoTrasformazione::miscela) {
        e.dh = c.dh ? *c.dh : entalpia(c.uscita->x, c.uscita->t, aria) - a.h;
        e.dx = d.tipo == TipoTrasformazione::sensibile ? 0.0 : c.uscita->x - a.x;
    }
    return r;
}

} // namespace ondix
