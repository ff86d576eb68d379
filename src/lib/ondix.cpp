// The library's API over the core and the command line's headless run: conversions between the API's own types
// and the program's, nothing computed here.
#include "ondix/ondix.h"

#include "cli/esecuzione.h"
#include "cli/stati.h"
#include "cli/uscita_json.h"
#include "core/altitudine.h"
#include "core/maschera.h"
#include "core/modello.h"
#include "core/numeri.h"
#include "core/punti_grafico.h"
#include "core/stato_aria.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>

#ifndef ONDIX_VERSIONE
#define ONDIX_VERSIONE "0"
#endif

namespace ondix::api {

namespace {

[[noreturn]] void lancia(const ondix::Errore& e) {
    Causa c = Causa::dati;
    switch (e.causa) {
    case ondix::Causa::dati:
        c = Causa::dati;
        break;
    case ondix::Causa::file:
        c = Causa::file;
        break;
    case ondix::Causa::virgola_mobile:
        c = Causa::virgola_mobile;
        break;
    case ondix::Causa::impianto:
        c = Causa::impianto;
        break;
    }
    throw Errore(c, e.testo);
}

// The program's air of the API's; the reason when the pressure or the model cannot be used.
Esito<ondix::Aria> aria_di(const Aria& a) {
    ondix::Aria r;
    if (!a.modello.empty()) {
        r.modello = modello_da_chiave(a.modello);
        if (!r.modello)
            return ondix::Errore{ondix::Causa::dati,
                                 "modello: \"" + testo_visibile(a.modello) + "\" non è un modello (usare ashrae)"};
    }
    if (!std::isfinite(a.pressione) || a.pressione < pressione_minima || a.pressione > pressione_massima)
        return ondix::Errore{ondix::Causa::dati, "pressione: " + formatta(a.pressione, 0, 0) + " Pa è fuori da " +
                                                     formatta(pressione_minima, 0, 0) + " a " +
                                                     formatta(pressione_massima, 0, 0) + " Pa"};
    r.pressione = a.pressione;
    return r;
}

ondix::Aria aria_o_lancia(const Aria& a) {
    auto r = aria_di(a);
    if (!r) lancia(r.errore());
    return *r;
}

Stato stato_di(const StatoCompleto& s) {
    return {s.t, s.ur, s.x, s.h, s.v, s.bulbo_umido, s.rugiada};
}

// The state of a pair as the batch command computes a CSV row's.
Esito<StatoCompleto> stato_coppia(Noto a, Noto b, ondix::Aria aria) {
    const auto ga = static_cast<ondix::Grandezza>(a.grandezza);
    const auto gb = static_cast<ondix::Grandezza>(b.grandezza);
    if (ga == ondix::Grandezza::t && (gb == ondix::Grandezza::ur || gb == ondix::Grandezza::x))
        return calcola_stato(a.valore, b.valore, gb == ondix::Grandezza::x ? 1 : 0, aria);
    if (gb == ondix::Grandezza::t && (ga == ondix::Grandezza::ur || ga == ondix::Grandezza::x))
        return calcola_stato(b.valore, a.valore, ga == ondix::Grandezza::x ? 1 : 0, aria);
    return stato_da_coppia({ga, a.valore}, {gb, b.valore}, aria);
}

bool grandezza_valida(Grandezza g) {
    return static_cast<int>(g) >= 0 && static_cast<int>(g) <= static_cast<int>(Grandezza::tr);
}

} // namespace

const char* versione() {
    return ONDIX_VERSIONE;
}

double pressione_da_quota(double quota) {
    if (!std::isfinite(quota) || quota < -250.0 || quota > 3000.0)
        throw Errore(Causa::dati,
                     "quota: " + formatta(quota, 0, 0) +
                         " m è fuori dalla tabella delle quote, da -250 a 3000 m (dare invece la pressione)");
    return pressione_pascal_da_quota(quota);
}

Stato stato(Noto a, Noto b, const Aria& aria) {
    if (!grandezza_valida(a.grandezza) || !grandezza_valida(b.grandezza))
        throw Errore(Causa::dati, "grandezza sconosciuta (usare t, ur, x, h, tbu, tr)");
    const auto s = stato_coppia(a, b, aria_o_lancia(aria));
    if (!s) lancia(s.errore());
    return stato_di(*s);
}

std::size_t stati(Grandezza ga, const double* a, Grandezza gb, const double* b, std::size_t n, const Aria& aria,
                  const double* pressioni, const Uscite& u, unsigned fili, std::string* primo_errore,
                  std::size_t* indice_primo_errore) {
    if (!grandezza_valida(ga) || !grandezza_valida(gb))
        throw Errore(Causa::dati, "grandezza sconosciuta (usare t, ur, x, h, tbu, tr)");
    const ondix::Aria base = aria_o_lancia(aria);
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const auto scrivi = [](double* o, std::size_t i, double v) {
        if (o) o[i] = v;
    };
    // Each part counts its failures and keeps its first; the parts are in index order, so the first part with a
    // failure has the first failure.
    struct Parte {
        std::size_t errori = 0, indice = 0;
        std::string testo;
    };
    const auto calcola = [&](std::size_t da, std::size_t a_, Parte& p) {
        for (std::size_t i = da; i < a_; ++i) {
            Esito<StatoCompleto> s = ondix::Errore{};
            if (pressioni) {
                Aria ai = aria;
                ai.pressione = pressioni[i];
                auto ar = aria_di(ai);
                s = ar ? stato_coppia({ga, a[i]}, {gb, b[i]}, *ar) : Esito<StatoCompleto>(ar.errore());
            } else {
                s = stato_coppia({ga, a[i]}, {gb, b[i]}, base);
            }
            if (s) {
                scrivi(u.t, i, s->t);
                scrivi(u.ur, i, s->ur);
                scrivi(u.x, i, s->x);
                scrivi(u.h, i, s->h);
                scrivi(u.v, i, s->v);
                scrivi(u.t_bulbo_umido, i, s->bulbo_umido.value_or(nan));
                scrivi(u.t_rugiada, i, s->rugiada.value_or(nan));
                continue;
            }
            for (double* o : {u.t, u.ur, u.x, u.h, u.v, u.t_bulbo_umido, u.t_rugiada})
                scrivi(o, i, nan);
            if (p.errori++ == 0) {
                p.indice = i;
                p.testo = s.errore().testo;
            }
        }
    };
    // Below a few thousand states a thread costs more than it saves.
    const std::size_t parti = std::clamp<std::size_t>(n / 4096, 1, std::max(1u, fili));
    std::vector<Parte> risultati(parti);
    if (parti == 1) {
        calcola(0, n, risultati[0]);
    } else {
        std::vector<std::thread> lavoratori;
        for (std::size_t k = 0; k < parti; ++k)
            lavoratori.emplace_back(calcola, n * k / parti, n * (k + 1) / parti, std::ref(risultati[k]));
        for (auto& l : lavoratori)
            l.join();
    }
    std::size_t errori = 0;
    const Parte* prima = nullptr;
    for (const Parte& p : risultati) {
        errori += p.errori;
        if (!prima && p.errori > 0) prima = &p;
    }
    if (prima && primo_errore) *primo_errore = prima->testo;
    if (prima && indice_primo_errore) *indice_primo_errore = prima->indice;
    return errori;
}

RisultatoProcesso processo(const Processo& p) {
    if (!tipo_valido(p.tipo))
        throw Errore(Causa::dati, "tipo di processo " + std::to_string(p.tipo) +
                                      " sconosciuto (usare 1, 2, 3, 4, 5, 6, 7, 13, 17 o 21)");
    if (p.umidita != 0 && p.umidita != 1)
        throw Errore(Causa::dati, "umidita: " + std::to_string(p.umidita) + " non è 0 o 1");
    if (p.portata != 0 && p.portata != 1)
        throw Errore(Causa::dati, "portata: " + std::to_string(p.portata) + " non è 0 o 1");
    RichiestaCalcolo r;
    r.tipo = p.tipo;
    r.testi = p.caselle;
    r.umidita = p.umidita;
    r.portata = p.portata;
    r.risposta = p.risposta;
    r.aria = aria_o_lancia(p.aria);
    const EsitoCalcolo e = esegui(r);
    if (e.errore) throw Errore(Causa::virgola_mobile, *e.errore);
    if (e.impossibile) throw Errore(Causa::impianto, *e.impossibile);

    const Contesto& ctx = e.contesto;
    RisultatoProcesso o;
    o.tipo = p.tipo;
    o.titolo = std::string(titolo_processo(ctx.processo));
    o.rapporto = ctx.rapporto.righe();
    o.messaggi = e.messaggi;
    for (int n = 1; n <= TabellaPunti::numero_voci; ++n) {
        const PuntoGrafico& q = ctx.punti[n];
        if (q.in_uso()) o.punti.push_back({n, q.etichetta, stato_di(stato_completo(q.X, q.Y, ctx.aria))});
    }
    if (e.vista) o.vista = std::string(nome_vista(*e.vista));
    o.codice_grafico = ctx.codice_grafico;
    o.t_rugiada = ctx.risultati.rugiada;
    for (const StatoNebbia& s : ctx.risultati.nebbia) {
        Nebbia nb{s.punto, s.t, s.x, s.ur, {}, {}, {}, {}};
        if (s.equilibrio) {
            nb.t_equilibrio = s.equilibrio->t;
            nb.x_equilibrio = s.equilibrio->x;
            nb.acqua_liquida = s.equilibrio->acqua;
            if (s.portata) nb.acqua_liquida_kg_h = s.equilibrio->acqua * *s.portata / 1000.0;
        }
        o.nebbia.push_back(std::move(nb));
    }
    o.json = esito_json(e);
    return o;
}

} // namespace ondix::api
