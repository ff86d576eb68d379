// The library's API over the core: conversions between the API's own types and the program's, nothing computed
// here.
#include "ondix/ondix.h"

#include "core/colonne_stati.h"
#include "core/esecuzione.h"
#include "core/maschera.h"
#include "core/modello.h"
#include "core/numeri.h"
#include "core/punti_grafico.h"
#include "core/richiesta_aria.h"
#include "core/stato_aria.h"
#include "core/uscita_json.h"

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
    RichiestaAria r;
    r.pressione = a.pressione;
    if (!a.modello.empty()) r.modello = a.modello;
    return aria_richiesta(r, FonteAria::libreria);
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
    return stato_riga({static_cast<ondix::Grandezza>(a.grandezza), a.valore},
                      {static_cast<ondix::Grandezza>(b.grandezza), b.valore}, aria);
}

bool grandezza_valida(Grandezza g) {
    return static_cast<int>(g) >= 0 && static_cast<int>(g) <= static_cast<int>(Grandezza::tr);
}

// The states [da, a) of a request, each part counting its failures and keeping its first. The parts are in index
// order, so the first part with a failure has the first failure.
struct Parte {
    std::size_t errori = 0, indice = 0;
    std::string testo;
};

void calcola_parte(const RichiestaStati& r, const Uscite& u, ondix::Aria base, std::size_t da, std::size_t a,
                   Parte& p) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const auto scrivi = [](double* o, std::size_t i, double v) {
        if (o) o[i] = v;
    };
    for (std::size_t i = da; i < a; ++i) {
        Esito<StatoCompleto> s = ondix::Errore{};
        if (r.pressioni) {
            Aria ai = r.aria;
            ai.pressione = r.pressioni[i];
            auto ar = aria_di(ai);
            s = ar ? stato_coppia({r.prima, r.a[i]}, {r.seconda, r.b[i]}, *ar) : Esito<StatoCompleto>(ar.errore());
        } else {
            s = stato_coppia({r.prima, r.a[i]}, {r.seconda, r.b[i]}, base);
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
}

// The API's result of a headless run of kind `tipo`; the failure it stopped at thrown.
RisultatoProcesso risultato_di(const RisultatoCalcolo& e, int tipo) {
    if (e.errore) throw Errore(Causa::virgola_mobile, *e.errore);
    if (e.impossibile) throw Errore(Causa::impianto, *e.impossibile);

    const Contesto& ctx = e.contesto;
    RisultatoProcesso o;
    o.tipo = tipo;
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
    o.json = risultato_json(e);
    return o;
}

} // namespace

const char* versione() {
    return ONDIX_VERSIONE;
}

double pressione_da_quota(double quota) {
    RichiestaAria r;
    r.quota = quota;
    const auto a = aria_richiesta(r, FonteAria::libreria);
    if (!a) lancia(a.errore());
    return a->pressione;
}

Stato stato(Noto a, Noto b, const Aria& aria) {
    if (!grandezza_valida(a.grandezza) || !grandezza_valida(b.grandezza))
        throw Errore(Causa::dati, "grandezza sconosciuta (usare t, ur, x, h, tbu, tr)");
    const auto s = stato_coppia(a, b, aria_o_lancia(aria));
    if (!s) lancia(s.errore());
    return stato_di(*s);
}

RisultatoStati stati(const RichiestaStati& r, const Uscite& u) {
    if (!grandezza_valida(r.prima) || !grandezza_valida(r.seconda))
        throw Errore(Causa::dati, "grandezza sconosciuta (usare t, ur, x, h, tbu, tr)");
    const ondix::Aria base = aria_o_lancia(r.aria);
    // Below a few thousand states a thread costs more than it saves.
    const std::size_t parti = std::clamp<std::size_t>(r.n / 4096, 1, std::max(1u, r.fili));
    std::vector<Parte> risultati(parti);
    if (parti == 1) {
        calcola_parte(r, u, base, 0, r.n, risultati[0]);
    } else {
        std::vector<std::thread> lavoratori;
        for (std::size_t k = 0; k < parti; ++k)
            lavoratori.emplace_back(calcola_parte, std::cref(r), std::cref(u), base, r.n * k / parti,
                                    r.n * (k + 1) / parti, std::ref(risultati[k]));
        for (auto& l : lavoratori)
            l.join();
    }
    RisultatoStati esito;
    for (const Parte& p : risultati) {
        if (esito.errori == 0 && p.errori > 0) {
            esito.indice_primo_errore = p.indice;
            esito.primo_errore = p.testo;
        }
        esito.errori += p.errori;
    }
    return esito;
}

std::size_t stati(Grandezza ga, const double* a, Grandezza gb, const double* b, std::size_t n, const Aria& aria,
                  const double* pressioni, const Uscite& u, unsigned fili, std::string* primo_errore,
                  std::size_t* indice_primo_errore) {
    const RisultatoStati r = stati(RichiestaStati{ga, a, gb, b, n, aria, pressioni, fili}, u);
    if (r.errori > 0 && primo_errore) *primo_errore = r.primo_errore;
    if (r.errori > 0 && indice_primo_errore) *indice_primo_errore = r.indice_primo_errore;
    return r.errori;
}

Colonne colonne_stati(const std::vector<std::string>& nomi, FormaUmidita umidita, bool con_pressione) {
    const int u = umidita == FormaUmidita::specifica ? 1 : 0;
    const auto c = ondix::colonne_stati(nomi, u, con_pressione);
    if (!c) lancia(c.errore());
    if (!*c) throw Errore(Causa::dati, senza_colonne(nomi, u, ','));
    const ColonneStati& k = **c;
    return {static_cast<Grandezza>(k.prima), static_cast<Grandezza>(k.seconda), k.colonna_prima, k.colonna_seconda,
            k.colonna_pressione};
}

RisultatoProcesso processo(const RichiestaProcesso& p) {
    const int tipo = static_cast<int>(p.tipo), umidita = static_cast<int>(p.umidita);
    const int portata = static_cast<int>(p.portata);
    if (!tipo_valido(tipo))
        throw Errore(Causa::dati, "tipo di processo " + std::to_string(tipo) +
                                      " sconosciuto (usare 1, 2, 3, 4, 5, 6, 7, 13, 17 o 21)");
    if (umidita != 0 && umidita != 1) throw Errore(Causa::dati, "umidita: " + std::to_string(umidita) + " non è 0 o 1");
    if (portata != 0 && portata != 1) throw Errore(Causa::dati, "portata: " + std::to_string(portata) + " non è 0 o 1");
    RichiestaCalcolo r;
    r.tipo = tipo;
    r.testi = p.caselle;
    r.umidita = umidita;
    r.portata = portata;
    r.risposta = p.risposta;
    r.aria = aria_o_lancia(p.aria);
    return risultato_di(esegui(r), tipo);
}

RisultatoProcesso processo(const Processo& p) {
    return processo(RichiestaProcesso{static_cast<TipoProcesso>(p.tipo), p.caselle,
                                      static_cast<FormaUmidita>(p.umidita), static_cast<FormaPortata>(p.portata),
                                      p.risposta, p.aria});
}

} // namespace ondix::api
