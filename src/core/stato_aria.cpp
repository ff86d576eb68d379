#include "core/stato_aria.h"

#include "core/modello.h"
#include "core/numeri.h"
#include "core/ricerca.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace ondix {

namespace {

constexpr double t_ricerca_min = -100.0;
constexpr double t_ricerca_max = 200.0;
// Temperatures that a state computed elsewhere gives a rounding apart, °C: a dew point this far above the dry
// bulb is the dry bulb.
constexpr double margine_t = 1e-9;

// Width at which a search in temperature stops, °C: far below any printed digit, and reached in about 42 halvings
// of the widest interval searched.
constexpr double precisione_t = 1e-10;

// The point in [lo, hi] where `sopra` turns from false to true, to within precisione_t (the middle of the last
// bracket); the caller has made sure that `sopra` is false at lo and true at hi.
template <class F> double biseca_t(double lo, double hi, F sopra) {
    return biseca(lo, hi, precisione_t, sopra).medio();
}

// biseca_t over the whole range searched, [t_ricerca_min, t_ricerca_max], for a condition that turns once, near t0
// (an estimate of where), without its halvings. Every midpoint they take is on the grid of the range's 2^42 parts:
// the range's ends and every fraction k/2^42 of its 300 K are exact in binary, and so are the halvings' sums and
// halves. The condition changes by far more than its rounding from one grid point to the next, so it turns once
// along the grid, and the halvings end on the part whose lower end it is false at and whose upper end true, as the
// grid walked from t0 finds it. The middle of that part is the result, bit for bit; nullopt when t0 is more than a
// few parts away (then the halvings are taken).
constexpr int dimezzamenti_ricerca = 42; // 300 K halved down to precisione_t
static_assert((t_ricerca_max - t_ricerca_min) / (1LL << dimezzamenti_ricerca) <= precisione_t &&
              (t_ricerca_max - t_ricerca_min) / (1LL << (dimezzamenti_ricerca - 1)) > precisione_t);

template <class F> std::optional<double> biseca_attorno(double t0, F sopra) {
    constexpr double parti = static_cast<double>(1LL << dimezzamenti_ricerca);
    constexpr double passo = (t_ricerca_max - t_ricerca_min) / parti;
    if (!(t0 > t_ricerca_min && t0 < t_ricerca_max)) return std::nullopt;
    const auto punto = [](double k) { return t_ricerca_min + k * passo; };
    double k = std::floor((t0 - t_ricerca_min) / passo);
    // The lower end of the range and the upper one are taken as false and true, as the halvings take them.
    for (int passi = 0; k > 0 && sopra(punto(k)); --k)
        if (++passi > 4) return std::nullopt;
    for (int passi = 0; k < parti - 1 && !sopra(punto(k + 1)); ++k)
        if (++passi > 4) return std::nullopt;
    return Intervallo{punto(k), punto(k + 1)}.medio();
}

// biseca_t over the whole range, from the estimate t0 when it leads there.
template <class F> double biseca_da(double t0, F sopra) {
    if (const std::optional<double> t = biseca_attorno(t0, sopra)) return *t;
    return biseca_t(t_ricerca_min, t_ricerca_max, sopra);
}

double entalpia_satura(double t, Aria a) {
    return entalpia(umidita_saturazione(t, a), t, a);
}

// The wet bulb and the dew point of the state (t, x) as the point-properties report gives them, so that one state
// shows one wet bulb and one dew point wherever it is shown; none where no saturated air down to −100 °C has them.
std::optional<double> bulbo_umido_del_rapporto(double t, double x, Aria a) {
    if (a.modello) return a.modello->bulbo_umido(x, t, a.pressione);
    const double h = entalpia(x, t);
    if (!std::isfinite(h) || entalpia_satura(t_ricerca_min, a) > h) return std::nullopt;
    return temperatura_bulbo_umido(x, t, a);
}
std::optional<double> rugiada_del_rapporto(double t, double x, Aria a) {
    return temperatura_rugiada(umidita_relativa(x, t, a), t, a);
}

constexpr std::array<std::string_view, 6> nomi{"t", "ur", "x", "h", "tbu", "tr"};
constexpr std::array<std::string_view, 6> unita{"C", "%", "g/kg", "kJ/kg", "C", "C"};

std::size_t indice(Grandezza g) {
    return static_cast<std::size_t>(g);
}

// The shortest text that reads back as `v`.
std::string breve(double v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string descrivi(Noto n) {
    return std::string(nome_grandezza(n.grandezza)) + " = " + breve(n.valore) + " " +
           std::string(unita[indice(n.grandezza)]);
}

// A pair or quantity no air can have: bad input, never a fault of the calculation.
Errore rifiuto(std::string testo) {
    return Errore{Causa::dati, std::move(testo)};
}

// A pair that no air within the searches' range has.
Errore nessuna_aria() {
    return rifiuto("nessuna aria fra -100 e 200 C ha questi valori");
}

// Whether air can have this quantity on its own, or why not.
Fatto controlla_valore(Noto n, Aria a) {
    const double v = n.valore;
    if (!std::isfinite(v)) return rifiuto(std::string(nome_grandezza(n.grandezza)) + " non è un numero finito");
    switch (n.grandezza) {
    case Grandezza::ur:
        if (v < 0) return rifiuto("l'umidità relativa è sotto 0 %");
        // A saturated state computed elsewhere may come a rounding above 100 %.
        if (v > 100 + 1e-9) return rifiuto("l'umidità relativa è sopra 100 %");
        break;
    case Grandezza::x:
        if (v < 0) return rifiuto("l'umidità specifica è sotto 0 g/kg");
        break;
    case Grandezza::t:
    case Grandezza::tbu:
    case Grandezza::tr: {
        // A wet bulb or dew point may lie below the coldest dry bulb a state may have.
        if (a.modello) {
            // The model's own range, for the wet bulb and the dew point too (both lie below the dry bulb).
            if (n.grandezza == Grandezza::t || v > t_massima_stato)
                if (Fatto f = a.modello->nel_campo(v, a.pressione); !f) return f;
            if (n.grandezza != Grandezza::t && v < t_ricerca_min)
                return rifiuto(std::string(nome_grandezza(n.grandezza)) + " è fuori da " + breve(t_ricerca_min) +
                               " a " + breve(t_massima_stato) + " C");
            break;
        }
        const double minimo = n.grandezza == Grandezza::t ? t_minima_stato : t_ricerca_min;
        if (v < minimo || v > t_massima_stato)
            return rifiuto(std::string(nome_grandezza(n.grandezza)) + " è fuori da " + breve(minimo) + " a " +
                           breve(t_massima_stato) + " C");
        break;
    }
    case Grandezza::h:
        break;
    }
    return {};
}

struct Tx {
    double t, x;
};
using Soluzione = Esito<Tx>;

Soluzione da_x_h(double x, double h, Aria a) {
    return Tx{t_da_x_h(x, h, a), x};
}

// A wet bulb and a humidity ratio: with the correlations through the enthalpy of saturated air at the wet bulb.
Soluzione da_x_tbu(double x, double tbu, Aria a) {
    const auto t = t_da_x_bulbo(x, tbu, a);
    if (!t) return nessuna_aria();
    return Tx{*t, x};
}

Soluzione da_ur_x(double ur, double x, Aria a) {
    if (ur == 0) {
        if (x == 0) return rifiuto("l'aria secca (ur = 0, x = 0) può avere qualsiasi temperatura");
        return rifiuto("l'aria con vapore acqueo non può avere umidità relativa 0");
    }
    const auto t = t_da_ur_x(ur, x, a);
    if (!t) return nessuna_aria();
    return Tx{*t, x};
}

Soluzione da_ur_h(double ur, double h, Aria a) {
    const auto t = t_da_ur_h(ur, h, a);
    if (!t) return nessuna_aria();
    return Tx{*t, umidita_specifica(ur, *t, a)};
}

Soluzione dal_bulbo(double t, double tbu, Aria a) {
    if (tbu > t + margine_t) return rifiuto("il bulbo umido è sopra il bulbo secco");
    const double x = a.modello ? a.modello->x_da_bulbo(t, std::min(tbu, t), a.pressione)
                               : x_da_t_h(t, entalpia_satura(std::min(tbu, t), a));
    if (x < 0) {
        const auto minimo = bulbo_umido_di(t, 0.0, a);
        return rifiuto("il bulbo umido è sotto quello dell'aria secca a questo bulbo secco (" +
                       (minimo ? formatta(*minimo, 0, 2) : "?") + " C)");
    }
    return Tx{t, x};
}

// A relative humidity and a wet bulb.
Soluzione da_ur_tbu(double ur, double tbu, Aria a) {
    if (!a.modello) return da_ur_h(ur, entalpia_satura(tbu, a), a);
    // The dry bulb where air of this relative humidity has the wet bulb tbu: above it the humidity ratio of the
    // relative humidity grows while the one of the wet bulb falls.
    const double x_min = umidita_specifica(ur, tbu, a);
    if (!(a.modello->x_da_bulbo(tbu, tbu, a.pressione) >= x_min)) return nessuna_aria();
    const auto sopra = [&](double t) {
        return ur / 100.0 * pressione_saturazione(t, a) >= a.pressione ||
               umidita_specifica(ur, t, a) > a.modello->x_da_bulbo(t, tbu, a.pressione);
    };
    if (!sopra(t_ricerca_max)) return nessuna_aria();
    const double t = biseca_t(tbu, t_ricerca_max, sopra);
    return Tx{t, umidita_specifica(ur, t, a)};
}

// The dry bulb t with the quantity gq of value w.
Soluzione con_t(double t, Grandezza gq, double w, Aria a) {
    switch (gq) {
    case Grandezza::ur:
        return Tx{t, umidita_specifica(w, t, a)};
    case Grandezza::x:
        return Tx{t, w};
    case Grandezza::h: {
        const double x = x_da_t_h(t, w, a);
        if (x < 0)
            return rifiuto("l'entalpia è sotto quella dell'aria secca a questo bulbo secco (" +
                           formatta(entalpia(0.0, t, a), 0, 2) + " kJ/kg)");
        return Tx{t, x};
    }
    case Grandezza::tbu:
        return dal_bulbo(t, w, a);
    case Grandezza::tr:
        if (w > t + margine_t) return rifiuto("il punto di rugiada è sopra il bulbo secco");
        return Tx{t, umidita_saturazione(std::min(w, t), a)};
    case Grandezza::t:
        break;
    }
    return rifiuto("questa coppia non è gestita"); // not reached: t with t is refused before
}

} // namespace

Fatto coppia_valida(Grandezza a, Grandezza b) {
    using G = Grandezza;
    if (indice(b) < indice(a)) std::swap(a, b);
    if (a == b) return rifiuto(std::string(nome_grandezza(a)) + " è dato due volte");
    if (a == G::x && b == G::tr)
        return rifiuto("x e tr non sono indipendenti: il punto di rugiada segue dall'umidità specifica; dare "
                       "un'altra coppia");
    if (a == G::h && b == G::tbu)
        return rifiuto("h e tbu non sono indipendenti: il bulbo umido (aria satura della stessa entalpia) segue "
                       "dall'entalpia; dare un'altra coppia");
    return {};
}

namespace {

// (t, x) of the pair p < q (in the order of Grandezza), or the reason there is none.
Soluzione risolvi(Noto p, Noto q, Aria a) {
    using G = Grandezza;
    const G gp = p.grandezza, gq = q.grandezza;
    const double u = p.valore, w = q.valore;
    if (Fatto f = coppia_valida(gp, gq); !f) return f.errore();
    switch (gp) {
    case G::t:
        return con_t(u, gq, w, a);
    case G::ur:
        if (gq == G::x) return da_ur_x(u, w, a);
        if (gq == G::h) return da_ur_h(u, w, a);
        if (gq == G::tbu) return da_ur_tbu(u, w, a);
        if (gq == G::tr) return da_ur_x(u, umidita_saturazione(w, a), a);
        break;
    case G::x:
        if (gq == G::h) return da_x_h(u, w, a);
        if (gq == G::tbu) return da_x_tbu(u, w, a);
        break;
    case G::h:
        if (gq == G::tr) return da_x_h(umidita_saturazione(w, a), u, a);
        break;
    case G::tbu:
        if (gq == G::tr) {
            if (w > u + margine_t) return rifiuto("il punto di rugiada è sopra il bulbo umido");
            return da_x_tbu(umidita_saturazione(std::min(w, u), a), u, a);
        }
        break;
    default:
        break;
    }
    return rifiuto("questa coppia non è gestita"); // not reached: every pair is handled above
}

} // namespace

std::string_view nome_grandezza(Grandezza g) {
    return nomi[indice(g)];
}

std::optional<Grandezza> grandezza_da_nome(std::string_view nome) {
    for (std::size_t i = 0; i < nomi.size(); ++i)
        if (nomi[i] == nome) return static_cast<Grandezza>(i);
    return std::nullopt;
}

std::optional<double> temperatura_saturazione(double ps, Aria a) {
    if (a.modello) return a.modello->temperatura_saturazione(ps);
    if (!(ps >= pressione_saturazione(t_ricerca_min) && ps <= pressione_saturazione(t_ricerca_max)))
        return std::nullopt;
    const auto sopra = [ps](double t) { return pressione_saturazione(t) > ps; };
    // Below −10 °C the saturation pressure is the continuation, which has an inverse.
    if (ps < pressione_saturazione(-10.0)) return biseca_da(t_saturazione_continuata(ps), sopra);
    return biseca_t(t_ricerca_min, t_ricerca_max, sopra);
}

std::optional<double> rugiada_da_x(double x, Aria a) {
    if (!(x > 0) || !std::isfinite(x)) return std::nullopt;
    // umidita_saturazione(t) = x where the saturation pressure equals the vapour's partial pressure.
    if (a.modello) return a.modello->temperatura_saturazione(a.modello->pressione_vapore(x, a.pressione));
    const double xk = x / 1000.0;
    return temperatura_saturazione(a.pressione * xk / (0.622 + xk));
}

namespace {

// The temperature, °C, of saturated air of enthalpy h (kJ/kg) between −100 and −10 °C, where the saturation pressure
// is the continuation, by Newton's method within the bracket (an estimate for biseca_da); none when it does not
// settle to about 1e-12 K.
std::optional<double> bulbo_umido_continuato(double h, Aria a) {
    double lo = t_ricerca_min, hi = -10.0, t = std::fmin(-10.0, h / 1.004);
    for (int n = 0; n < 60; ++n) {
        const double ps = pressione_saturazione(t);
        const double xs = 622.0 * ps / (a.pressione - ps);
        const double f = 1.004 * t + (1.926 * t + 2490.0) * xs / 1000.0 - h;
        (f > 0 ? hi : lo) = t;
        const double dxs =
            622.0 * a.pressione / ((a.pressione - ps) * (a.pressione - ps)) * pendenza_saturazione_continuata(t);
        const double df = 1.004 + 1.926 * xs / 1000.0 + (1.926 * t + 2490.0) * dxs / 1000.0;
        double prossimo = t - f / df;
        if (!(prossimo > lo && prossimo < hi)) prossimo = lo + (hi - lo) / 2.0;
        if (std::fabs(prossimo - t) < 1e-12) return prossimo;
        t = prossimo;
    }
    return std::nullopt;
}

} // namespace

std::optional<double> bulbo_umido_da_h(double h, Aria a) {
    if (!std::isfinite(h) || entalpia_satura(t_ricerca_min, a) > h) return std::nullopt;
    // Saturated air exists only below the boiling point, where its enthalpy grows without bound.
    const auto sopra = [h, a](double t) {
        return pressione_saturazione(t, a) >= a.pressione || entalpia_satura(t, a) > h;
    };
    if (!sopra(t_ricerca_max)) return std::nullopt;
    if (!a.modello && entalpia_satura(-10.0, a) > h)
        if (const auto t0 = bulbo_umido_continuato(h, a)) return biseca_da(*t0, sopra);
    return biseca_t(t_ricerca_min, t_ricerca_max, sopra);
}

std::optional<double> bulbo_umido_di(double t, double x, Aria a) {
    if (a.modello) return a.modello->bulbo_umido(x, t, a.pressione);
    return bulbo_umido_da_h(entalpia(x, t, a), a);
}

std::optional<double> t_da_x_bulbo(double x, double tbu, Aria a) {
    // With the correlations through the enthalpy of saturated air at the wet bulb.
    if (!a.modello) return t_da_x_h(x, entalpia_satura(tbu, a), a);
    // Over the dry bulb the humidity ratio that gives the wet bulb tbu falls, from saturation at t = tbu.
    const auto sopra = [&](double t) { return a.modello->x_da_bulbo(t, tbu, a.pressione) < x; };
    if (sopra(tbu) || !sopra(t_ricerca_max)) return std::nullopt;
    return biseca_t(tbu, t_ricerca_max, sopra);
}

double x_da_t_h(double t, double h, Aria a) {
    if (a.modello) return a.modello->x_da_t_h(t, h);
    return (h - 1.004 * t) * 1000.0 / (1.926 * t + 2490.0);
}

double t_da_x_h(double x, double h, Aria a) {
    if (a.modello) return a.modello->t_da_x_h(x, h);
    return (h - 2490.0 * x / 1000.0) / (1.004 + 1.926 * x / 1000.0);
}

std::optional<double> t_da_ur_x(double ur, double x, Aria a) {
    if (!(ur > 0) || !(x > 0) || !std::isfinite(ur) || !std::isfinite(x)) return std::nullopt;
    if (a.modello) return a.modello->temperatura_saturazione(a.modello->pressione_vapore(x, a.pressione) * 100.0 / ur);
    const double xk = x / 1000.0;
    return temperatura_saturazione(a.pressione * xk / (0.622 + xk) * 100.0 / ur);
}

std::optional<double> t_da_ur_h(double ur, double h, Aria a) {
    if (!std::isfinite(ur) || !std::isfinite(h) || ur < 0) return std::nullopt;
    const double phi = ur / 100.0;
    const auto g = [ur, a](double t) { return entalpia(umidita_specifica(ur, t, a), t, a); };
    // Air of this relative humidity exists only while φ·ps stays below the total pressure.
    const auto sopra = [&](double t) { return phi * pressione_saturazione(t, a) >= a.pressione || g(t) > h; };
    if (sopra(t_ricerca_min) || !sopra(t_ricerca_max)) return std::nullopt;
    return biseca_t(t_ricerca_min, t_ricerca_max, sopra);
}

StatoCompleto stato_completo(double t, double x, Aria a) {
    StatoCompleto s;
    s.t = t;
    s.x = x;
    s.ur = umidita_relativa(x, t, a);
    s.h = entalpia(x, t, a);
    s.v = volume_specifico(t, x, a);
    s.bulbo_umido = bulbo_umido_del_rapporto(t, x, a);
    s.rugiada = rugiada_del_rapporto(t, x, a);
    return s;
}

std::optional<double> valore_di(const StatoCompleto& s, Grandezza g) {
    switch (g) {
    case Grandezza::t:
        return s.t;
    case Grandezza::ur:
        return s.ur;
    case Grandezza::x:
        return s.x;
    case Grandezza::h:
        return s.h;
    case Grandezza::tbu:
        return s.bulbo_umido;
    case Grandezza::tr:
        return s.rugiada;
    }
    return std::nullopt;
}

Esito<StatoCompleto> stato_da_coppia(Noto a, Noto b, Aria aria) {
    const std::string coppia = descrivi(a) + ", " + descrivi(b) + ": ";
    // The reason, after the pair it is about.
    const auto della_coppia = [&](const Errore& e) { return Errore{e.causa, coppia + e.testo}; };
    for (const Noto n : {a, b})
        if (const Fatto f = controlla_valore(n, aria); !f) return della_coppia(f.errore());
    Noto p = a, q = b;
    if (indice(q.grandezza) < indice(p.grandezza)) std::swap(p, q);
    for (Noto* n : {&p, &q})
        if (n->grandezza == Grandezza::ur) n->valore = std::min(n->valore, 100.0);
    const Soluzione e = risolvi(p, q, aria);
    if (!e) return della_coppia(e.errore());
    Tx s = *e;

    if (!std::isfinite(s.t) || !std::isfinite(s.x)) return rifiuto(coppia + "nessuna aria ha questi valori");
    if (aria.modello) {
        // A dry bulb solved a rounding past a limit of the model counts as at it.
        const auto fuori = [&](double t) { return !aria.modello->nel_campo(t, aria.pressione); };
        if (const Fatto f = aria.modello->nel_campo(s.t, aria.pressione);
            !f && fuori(s.t - margine_t) && fuori(s.t + margine_t)) {
            const ModelloAria& m = *aria.modello;
            if (!(s.t >= m.t_minima() && s.t <= m.t_massima()))
                return rifiuto(coppia + "il bulbo secco sarebbe " + formatta(s.t, 0, 2) + " C, fuori dal campo del " +
                               "modello " + std::string(m.nome()) + " (da " + breve(m.t_minima()) + " a " +
                               breve(m.t_massima()) + " C)");
            return della_coppia(f.errore());
        }
    } else if (s.t < t_minima_stato || s.t > t_massima_stato)
        return rifiuto(coppia + "il bulbo secco sarebbe " + formatta(s.t, 0, 2) + " C, fuori da " +
                       breve(t_minima_stato) + " a " + breve(t_massima_stato) + " C");
    // Above the boiling point a model still has air (of any humidity ratio); the correlations end there.
    const bool sopra_ebollizione = pressione_saturazione(s.t, aria) >= aria.pressione;
    if (sopra_ebollizione && !aria.modello) {
        const std::optional<double> ebollizione = temperatura_saturazione(aria.pressione);
        return rifiuto(coppia + "il bulbo secco " + formatta(s.t, 0, 2) +
                       " C non è sotto il punto di ebollizione dell'acqua a " + formatta(aria.pressione, 0, 0) +
                       " Pa (" + (ebollizione ? formatta(*ebollizione, 0, 2) : "?") + " C)");
    }
    // A humidity ratio below 0 from these pairs is vapour at more than the total pressure.
    if (s.x < 0)
        return rifiuto(coppia + "il vapore d'acqua supererebbe la pressione totale (" + formatta(aria.pressione, 0, 0) +
                       " Pa)");
    const double xs = umidita_saturazione(s.t, aria);
    // A state solved onto the saturation curve may land a rounding above it.
    if (!sopra_ebollizione && s.x > xs * (1.0 + 1e-9))
        return rifiuto(coppia + "l'umidità è sopra la saturazione (" + formatta(xs, 0, 3) + " g/kg a " +
                       formatta(s.t, 0, 2) + " C)");
    if (!sopra_ebollizione && s.x > xs) s.x = xs;

    // The full state; a wet bulb or dew point that was given is not solved for again.
    StatoCompleto r;
    r.t = s.t;
    r.x = s.x;
    r.ur = umidita_relativa(s.x, s.t, aria);
    r.h = entalpia(s.x, s.t, aria);
    r.v = volume_specifico(s.t, s.x, aria);
    if (a.grandezza != Grandezza::tbu && b.grandezza != Grandezza::tbu)
        r.bulbo_umido = bulbo_umido_del_rapporto(s.t, s.x, aria);
    if (a.grandezza != Grandezza::tr && b.grandezza != Grandezza::tr) r.rugiada = rugiada_del_rapporto(s.t, s.x, aria);
    for (const Noto n : {a, b}) {
        switch (n.grandezza) {
        case Grandezza::t:
            r.t = n.valore;
            break;
        case Grandezza::ur:
            r.ur = n.valore;
            break;
        case Grandezza::x:
            r.x = n.valore;
            break;
        case Grandezza::h:
            r.h = n.valore;
            break;
        case Grandezza::tbu:
            r.bulbo_umido = n.valore;
            break;
        case Grandezza::tr:
            r.rugiada = n.valore;
            break;
        }
    }
    return r;
}

Esito<StatoCompleto> calcola_stato(double t, double u, int umidita, Aria a) {
    const auto rifiuto = [](std::string testo) { return Errore{Causa::dati, std::move(testo)}; };
    if (!std::isfinite(t) || !std::isfinite(u)) return rifiuto("non è un numero finito");
    if (a.modello) {
        if (const Fatto f = a.modello->nel_campo(t, a.pressione); !f) return f.errore();
    } else if (t < t_minima_stato || t > t_massima_stato)
        return rifiuto("temperatura " + formatta(t, 0, 2) + " C fuori da " + formatta(t_minima_stato, 0, 0) + " a " +
                       formatta(t_massima_stato, 0, 0) + " C");
    StatoCompleto s;
    s.t = t;
    if (umidita == 1) {
        const double xs = umidita_saturazione(t, a);
        if (u < 0) return rifiuto("umidità specifica " + formatta(u, 0, 3) + " g/kg sotto 0");
        if (u > xs)
            return rifiuto("umidità specifica " + formatta(u, 0, 3) + " g/kg sopra la saturazione (" +
                           formatta(xs, 0, 3) + " g/kg a " + formatta(t, 0, 2) + " C)");
        s.x = u;
        s.ur = umidita_relativa(u, t, a);
    } else {
        if (u < 0 || u > 100) return rifiuto("umidità relativa " + formatta(u, 0, 2) + " % fuori da 0 a 100");
        s.ur = u;
        s.x = umidita_specifica(u, t, a);
    }
    s.h = entalpia(s.x, t, a);
    s.v = volume_specifico(t, s.x, a);
    if (!std::isfinite(s.x) || !std::isfinite(s.ur) || !std::isfinite(s.h) || !std::isfinite(s.v) || s.v <= 0)
        return rifiuto("fuori dal campo delle correlazioni dell'aria umida");

    // The wet-bulb solver stops on its tolerance or on its iteration cap; only a stop on the tolerance gives the
    // answer (it searches no lower than −10 °C, or 10 °C below a colder dry bulb). Checking the tolerance again
    // tells the two apart. The dew point is empty only for air with none above −100 °C. A model's wet bulb is
    // always solved.
    const double twb = temperatura_bulbo_umido(s.x, t, a);
    if (a.modello || std::fabs(entalpia(umidita_saturazione(twb, a), twb) - s.h) < 0.1) s.bulbo_umido = twb;
    s.rugiada = temperatura_rugiada(s.ur, t, a);
    return s;
}

Esito<StatoCompleto> stato_riga(Noto a, Noto b, Aria aria) {
    const auto umidita = [](Grandezza g) { return g == Grandezza::ur ? 0 : g == Grandezza::x ? 1 : -1; };
    if (a.grandezza == Grandezza::t && umidita(b.grandezza) >= 0)
        return calcola_stato(a.valore, b.valore, umidita(b.grandezza), aria);
    if (b.grandezza == Grandezza::t && umidita(a.grandezza) >= 0)
        return calcola_stato(b.valore, a.valore, umidita(a.grandezza), aria);
    return stato_da_coppia(a, b, aria);
}

void scrivi_stato(Rapporto& r, const StatoCompleto& s) {
    const auto temperatura = [](const std::optional<double>& v) {
        return v ? formatta(*v, 5, 2) + " C" : std::string(" non definita");
    };
    r.aggiungi("       PROPRIETA DEL PUNTO");
    scrivi_cinque_righe(r, s.t, s.ur, s.x, s.h, s.v);
    r.aggiungi("temperatura bulbo umido :" + temperatura(s.bulbo_umido));
    r.aggiungi("temperatura rugiada     :" + temperatura(s.rugiada));
}

} // namespace ondix
