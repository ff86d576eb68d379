#include "core/comfort.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace ondix {

namespace {

// Stefan–Boltzmann constant times the emissivity and the effective radiation area of a clothed body.
constexpr double radiazione = 3.96e-8;
// The standard writes absolute temperatures as t + 273.
constexpr double kelvin = 273.0;

Errore rifiuto(std::string testo) {
    return {Causa::dati, std::move(testo)};
}

double quarta(double t) {
    const double k = t + kelvin;
    const double k2 = k * k;
    return k2 * k2;
}

// Clothing area factor of an insulation icl, m²·K/W.
double fattore_abito(double icl) {
    return icl <= 0.078 ? 1.0 + 1.290 * icl : 1.05 + 0.645 * icl;
}

// Convective heat transfer coefficient, W/(m²·K): the larger of natural (clothing ta apart by dt) and forced
// convection (hc_forzata).
double convezione(double dt, double hc_forzata) {
    return std::max(2.38 * std::sqrt(std::sqrt(std::abs(dt))), hc_forzata);
}

// The clothing's surface temperature: the root of
//   tcl = 35.7 − 0.028·(M − W) − Icl·{3.96e-8·fcl·[(tcl + 273)⁴ − (tr + 273)⁴] + fcl·hc·(tcl − ta)}.
// The difference of its sides grows with tcl, and the root lies between the lowest and the highest of ta, tr and
// the skin-side term 35.7 − 0.028·(M − W): Newton's steps kept within that bracket, bisecting when one leaves it.
double temperatura_abito(double ta, double tr, double icl, double fcl, double hc_forzata, double pelle) {
    const double tr4 = quarta(tr);
    const auto scarto = [&](double tcl) {
        return tcl - pelle +
               icl * fcl * (radiazione * (quarta(tcl) - tr4) + convezione(tcl - ta, hc_forzata) * (tcl - ta));
    };
    double basso = std::min({ta, tr, pelle}), alto = std::max({ta, tr, pelle});
    double tcl = std::clamp(ta + (pelle - ta) / (3.5 * (6.45 * icl + 0.1)), basso, alto);
    for (int i = 0; i < 100 && alto - basso > 1e-9; ++i) {
        const double g = scarto(tcl);
        if (g == 0.0) return tcl;
        (g < 0.0 ? basso : alto) = tcl;
        const double dt = tcl - ta;
        const double naturale = 2.38 * std::sqrt(std::sqrt(std::abs(dt)));
        const double pendenza_convezione = naturale > hc_forzata ? 1.25 * naturale : hc_forzata;
        const double k = tcl + kelvin;
        const double derivata = 1.0 + icl * fcl * (4.0 * radiazione * k * k * k + pendenza_convezione);
        const double nuovo = tcl - g / derivata;
        if (std::abs(nuovo - tcl) < 1e-9) return nuovo;
        tcl = (nuovo > basso && nuovo < alto) ? nuovo : 0.5 * (basso + alto);
    }
    return tcl;
}

bool fuori(double v, double minimo, double massimo) {
    return v < minimo || v > massimo;
}

// "<nome> è fuori da <minimo> a <massimo> <unita>", the bounds in their shortest text.
Errore fuori_da(const char* nome, double minimo, double massimo, const char* unita) {
    const auto breve = [](double v) {
        char buf[32];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        return std::string(buf, r.ptr);
    };
    return rifiuto(std::string(nome) + " è fuori da " + breve(minimo) + " a " + breve(massimo) + " " + unita);
}

} // namespace

Fatto controlla_occupanti(double met, double clo, double v, double lavoro) {
    if (!(met >= met_minimo && met <= met_massimo)) return fuori_da("met", met_minimo, met_massimo, "met");
    if (!(clo >= 0.0 && clo <= clo_massimo)) return fuori_da("clo", 0.0, clo_massimo, "clo");
    if (!(v >= 0.0 && v <= v_massima)) return fuori_da("v", 0.0, v_massima, "m/s");
    if (!std::isfinite(lavoro)) return rifiuto("il lavoro esterno non è un numero finito");
    if (lavoro < 0.0) return rifiuto("il lavoro esterno non può essere negativo");
    if (!(lavoro < met)) return rifiuto("il metabolismo deve superare il lavoro esterno");
    return {};
}

double ppd_da_pmv(double pmv) {
    const double p2 = pmv * pmv;
    return 100.0 - 95.0 * std::exp(-0.03353 * p2 * p2 - 0.2179 * p2);
}

Esito<Comfort> pmv_ppd(double ta, double tr, double v, double pa, double met, double clo, double lavoro) {
    if (!std::isfinite(ta) || !std::isfinite(tr) || ta <= -kelvin || tr <= -kelvin)
        return rifiuto("comfort: temperatura non valida");
    if (const Fatto f = controlla_occupanti(met, clo, v, lavoro); !f) return rifiuto("comfort: " + f.errore().testo);
    if (!std::isfinite(pa) || pa < 0.0) return rifiuto("comfort: la pressione del vapore non può essere negativa");

    const double m = met * watt_per_met;
    const double mw = m - lavoro * watt_per_met;
    const double icl = clo * m2kw_per_clo;
    const double fcl = fattore_abito(icl);
    const double hc_forzata = 12.1 * std::sqrt(v);
    const double tcl = temperatura_abito(ta, tr, icl, fcl, hc_forzata, 35.7 - 0.028 * mw);
    const double hc = convezione(tcl - ta, hc_forzata);

    // The heat balance: what is produced minus what leaves by skin diffusion, sweating (never negative), latent
    // and dry respiration, radiation and convection from the clothing.
    const double diffusione = 3.05e-3 * (5733.0 - 6.99 * mw - pa);
    const double sudore = std::max(0.0, 0.42 * (mw - watt_per_met));
    const double latente_respiro = 1.7e-5 * m * (5867.0 - pa);
    const double secco_respiro = 0.0014 * m * (34.0 - ta);
    const double irraggiamento = radiazione * fcl * (quarta(tcl) - quarta(tr));
    const double convettivo = fcl * hc * (tcl - ta);
    const double carico = mw - diffusione - sudore - latente_respiro - secco_respiro - irraggiamento - convettivo;

    Comfort c;
    c.pmv = (0.303 * std::exp(-0.036 * m) + 0.028) * carico;
    c.ppd = ppd_da_pmv(c.pmv);
    c.t_abito = tcl;
    if (!std::isfinite(c.pmv)) return Errore{Causa::virgola_mobile, "comfort: il calcolo del PMV non converge"};
    if (fuori(c.pmv, -2.0, 2.0)) c.fuori |= fuori_pmv;
    if (fuori(met, 0.8, 4.0)) c.fuori |= fuori_met;
    if (fuori(clo, 0.0, 2.0)) c.fuori |= fuori_clo;
    if (fuori(ta, 10.0, 30.0)) c.fuori |= fuori_ta;
    if (fuori(tr, 10.0, 40.0)) c.fuori |= fuori_tr;
    if (fuori(v, 0.0, 1.0)) c.fuori |= fuori_v;
    if (fuori(pa, 0.0, 2700.0)) c.fuori |= fuori_pa;
    return c;
}

Esito<Comfort> comfort_stato(const StatoCompleto& s, const Occupanti& o, Aria a) {
    const double pa = s.ur / 100.0 * pressione_saturazione(s.t, a);
    return pmv_ppd(s.t, o.tr.value_or(s.t), o.v, pa, o.met, o.clo, o.lavoro);
}

std::string testo_limiti(unsigned f) {
    static constexpr std::array<const char*, 7> nomi{"PMV", "met", "clo", "ta", "tr", "v", "pa"};
    std::string testo;
    for (std::size_t i = 0; i < nomi.size(); ++i) {
        if ((f & (1u << i)) == 0) continue;
        if (!testo.empty()) testo += ", ";
        testo += nomi[i];
    }
    return testo;
}

const char* testo_categoria(Categoria c) {
    switch (c) {
    case Categoria::I:
        return "I";
    case Categoria::II:
        return "II";
    case Categoria::III:
        return "III";
    case Categoria::nessuna:
        break;
    }
    return "nessuna";
}

double limite_pmv(Categoria c) {
    switch (c) {
    case Categoria::I:
        return 0.2;
    case Categoria::II:
        return 0.5;
    case Categoria::III:
        return 0.7;
    case Categoria::nessuna:
        break;
    }
    return INFINITY;
}

Categoria categoria_pmv(double pmv) {
    const double a = std::abs(pmv);
    for (const Categoria c : {Categoria::I, Categoria::II, Categoria::III})
        if (a < limite_pmv(c)) return c;
    return Categoria::nessuna;
}

void scrivi_comfort(Rapporto& r, const Comfort& c, const Occupanti& o, double ta) {
    scrivi_separatore(r);
    r.aggiungi("      Comfort termico (ISO 7730, PMV/PPD)");
    scrivi_dato(r, "metabolismo", "met", 7, 2, o.met);
    scrivi_dato(r, "vestiario", "clo", 7, 2, o.clo);
    scrivi_dato(r, "velocita relativa dell aria", "m/s", 7, 2, o.v);
    scrivi_dato(r, "temperatura media radiante", "C", 7, 2, o.tr.value_or(ta));
    if (o.lavoro != 0.0) scrivi_dato(r, "lavoro esterno", "met", 7, 2, o.lavoro);
    scrivi_dato(r, "PMV", "", 7, 2, c.pmv);
    scrivi_dato(r, "PPD", "%", 7, 1, c.ppd);
    r.aggiungi("categoria " + std::string(schema_categorie) + ": " + testo_categoria(categoria_pmv(c.pmv)));
    if (c.fuori != 0) r.aggiungi("fuori dai limiti di ISO 7730: " + testo_limiti(c.fuori));
}

double media_mobile(double trm_ieri, double t_media_ieri) {
    return (1.0 - alfa_media_mobile) * t_media_ieri + alfa_media_mobile * trm_ieri;
}

std::vector<double> medie_mobili(const std::vector<double>& ted) {
    const std::size_t n = ted.size();
    std::vector<double> trm(n);
    if (n == 0) return trm;
    static constexpr std::array<double, 7> pesi{1.0, 0.8, 0.6, 0.5, 0.4, 0.3, 0.2};
    double somma = 0.0;
    for (std::size_t k = 1; k <= pesi.size(); ++k)
        somma += pesi[k - 1] * ted[(n - k % n) % n];
    trm[0] = somma / 3.8;
    for (std::size_t i = 1; i < n; ++i)
        trm[i] = media_mobile(trm[i - 1], ted[i - 1]);
    return trm;
}

LimitiAdattivi limiti_adattivi(double trm) {
    return {0.33 * trm + 18.8, trm >= 10.0 && trm <= 30.0};
}

double limite_superiore(const LimitiAdattivi& l, Categoria c) {
    return l.t_comfort + (c == Categoria::I ? 2.0 : c == Categoria::II ? 3.0 : 4.0);
}

double limite_inferiore(const LimitiAdattivi& l, Categoria c) {
    return l.t_comfort - (c == Categoria::I ? 3.0 : c == Categoria::II ? 4.0 : 5.0);
}

Categoria categoria_adattiva(double to, const LimitiAdattivi& l) {
    if (!l.valido) return Categoria::nessuna;
    for (const Categoria c : {Categoria::I, Categoria::II, Categoria::III})
        if (to >= limite_inferiore(l, c) && to <= limite_superiore(l, c)) return c;
    return Categoria::nessuna;
}

std::vector<VerticeZona> zona_comfort(const Occupanti& o, double limite, Aria a) {
    // PMV at dry bulb t and relative humidity ur, at the occupants' radiant temperature (the air's when they have
    // none); NaN when refused.
    const auto pmv = [&](double t, double ur) {
        const auto c =
            pmv_ppd(t, o.tr.value_or(t), o.v, ur / 100.0 * pressione_saturazione(t, a), o.met, o.clo, o.lavoro);
        return c ? c->pmv : NAN;
    };
    // At a fixed relative humidity (and radiant temperature) PMV grows with the dry bulb: bisection for
    // PMV = obiettivo.
    const auto risolvi = [&](double ur, double obiettivo) -> std::optional<double> {
        double basso = t_minima_stato,
               alto =
                   std::min(t_massima_stato, temperatura_saturazione(a.pressione, a).value_or(t_massima_stato) - 1.0);
        const double g_basso = pmv(basso, ur) - obiettivo, g_alto = pmv(alto, ur) - obiettivo;
        if (!(g_basso < 0.0 && g_alto > 0.0)) return std::nullopt;
        while (alto - basso > 1e-7) {
            const double medio = 0.5 * (basso + alto);
            const double g = pmv(medio, ur) - obiettivo;
            if (std::isnan(g)) return std::nullopt;
            (g < 0.0 ? basso : alto) = medio;
        }
        return 0.5 * (basso + alto);
    };
    constexpr int passi = 10; // relative humidity in steps of 10 %
    std::vector<VerticeZona> zona;
    for (int lato = 0; lato < 2; ++lato)
        for (int i = 0; i <= passi; ++i) {
            const double ur = 100.0 * (lato == 0 ? i : passi - i) / passi;
            const auto t = risolvi(ur, lato == 0 ? -limite : limite);
            if (!t) return {};
            zona.push_back({*t, umidita_specifica(ur, *t, a)});
        }
    return zona;
}

} // namespace ondix
