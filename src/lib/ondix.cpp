// The library's API over the core: conversions between the API's own types and the program's, nothing computed
// here.
#include "ondix/ondix.h"

#include "core/colonne_stati.h"
#include "core/esecuzione.h"
#include "core/lettore_stati.h"
#include "core/maschera.h"
#include "core/modello.h"
#include "core/numeri.h"
#include "core/punti_grafico.h"
#include "core/richiesta_aria.h"
#include "core/stato_aria.h"
#include "core/tabella.h"
#include "core/testo_csv.h"
#include "core/uscita_json.h"

#include <algorithm>
#include <cmath>
#include <fstream>
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

// The states [da, a) of a request, each part counting its failures and keeping its first (and, when asked, every
// one). The parts are in index order, so the first part with a failure has the first failure.
struct Parte {
    std::size_t errori = 0, indice = 0;
    std::string testo;
    std::vector<ErroreStato> elenco;
};

// How a request's states are computed: its pair alone, or its pair and the further pairs of its options.
struct Metodo {
    const RichiestaStati& r;
    const OpzioniStati& o;
    std::vector<Coppia> coppie; // all the pairs, the request's first, when there are further pairs

    Esito<StatoCompleto> operator()(std::size_t i, ondix::Aria aria) const {
        if (coppie.empty()) {
            const Noto a{r.prima, r.a[i]}, b{r.seconda, r.b[i]};
            return o.come_rapporto ? stato_coppia(a, b, aria)
                                   : stato_da_coppia({static_cast<ondix::Grandezza>(a.grandezza), a.valore},
                                                     {static_cast<ondix::Grandezza>(b.grandezza), b.valore}, aria);
        }
        std::array<std::optional<double>, 6> valori{};
        const auto metti = [&](std::size_t g, const double* v) {
            if (v && !std::isnan(v[i])) valori[g] = v[i];
        };
        for (std::size_t g = 0; g < valori.size(); ++g)
            metti(g, o.valori[g]);
        metti(static_cast<std::size_t>(r.prima), r.a);
        metti(static_cast<std::size_t>(r.seconda), r.b);
        return stato_della_riga(valori, coppie, o.come_rapporto, aria);
    }
};

void calcola_parte(const RichiestaStati& r, const Uscite& u, const Metodo& m, bool elenca, ondix::Aria base,
                   std::size_t da, std::size_t a, Parte& p) {
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
            s = ar ? m(i, *ar) : Esito<StatoCompleto>(ar.errore());
        } else {
            s = m(i, base);
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
        if (elenca) p.elenco.push_back({i, s.errore().testo});
    }
}

// The quantity's name in a message.
std::string nome_di(Grandezza g) {
    return std::string(nome_grandezza(static_cast<ondix::Grandezza>(g)));
}

// The member of Risultati that holds the result named `nome`, or null.
std::optional<double> Risultati::*campo_risultato(std::string_view nome) {
    using R = Risultati;
    static constexpr std::pair<std::string_view, std::optional<double> R::*> campi[] = {
        {"portata_kg_h", &R::portata_kg_h},
        {"portata_m3_h", &R::portata_m3_h},
        {"portata_1_kg_h", &R::portata_1_kg_h},
        {"portata_1_m3_h", &R::portata_1_m3_h},
        {"portata_2_kg_h", &R::portata_2_kg_h},
        {"portata_2_m3_h", &R::portata_2_m3_h},
        {"portata_aria_ambiente_kg_h", &R::portata_aria_ambiente_kg_h},
        {"portata_aria_ambiente_m3_h", &R::portata_aria_ambiente_m3_h},
        {"portata_aria_esterna_kg_h", &R::portata_aria_esterna_kg_h},
        {"portata_aria_esterna_m3_h", &R::portata_aria_esterna_m3_h},
        {"potenza_kW", &R::potenza_kW},
        {"potenza_frigorifera_W", &R::potenza_frigorifera_W},
        {"potenza_frigorifera_sensibile_W", &R::potenza_frigorifera_sensibile_W},
        {"potenza_frigorifera_latente_W", &R::potenza_frigorifera_latente_W},
        {"potenza_frigorifera_aria_esterna_W", &R::potenza_frigorifera_aria_esterna_W},
        {"potenza_preriscaldamento_W", &R::potenza_preriscaldamento_W},
        {"potenza_postriscaldamento_W", &R::potenza_postriscaldamento_W},
        {"potenza_riscaldamento_W", &R::potenza_riscaldamento_W},
        {"verifica_potenza_sensibile_W", &R::verifica_potenza_sensibile_W},
        {"verifica_potenza_latente_W", &R::verifica_potenza_latente_W},
        {"condensa_kg_h", &R::condensa_kg_h},
        {"vapore_kg_h", &R::vapore_kg_h},
        {"acqua_umidificazione_kg_h", &R::acqua_umidificazione_kg_h},
        {"acqua_prima_umidificazione_kg_h", &R::acqua_prima_umidificazione_kg_h},
        {"acqua_seconda_umidificazione_kg_h", &R::acqua_seconda_umidificazione_kg_h},
        {"salto_entalpico_kJ_kg", &R::salto_entalpico_kJ_kg},
        {"salto_umidita_g_kg", &R::salto_umidita_g_kg},
        {"fattore_bypass", &R::fattore_bypass},
        {"fattore_termico", &R::fattore_termico},
        {"t_C", &R::t_C},
        {"ur_pct", &R::ur_pct},
        {"x_g_kg", &R::x_g_kg},
        {"h_kJ_kg", &R::h_kJ_kg},
        {"v_m3_kg", &R::v_m3_kg},
        {"t_bulbo_umido_C", &R::t_bulbo_umido_C},
    };
    for (const auto& [n, campo] : campi)
        if (n == nome) return campo;
    return nullptr;
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
    for (const auto& [nome, valore] : ctx.risultati.valori) {
        o.valori.push_back({nome, valore});
        if (std::optional<double> Risultati::*campo = campo_risultato(nome)) o.risultati.*campo = valore;
    }
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
    return stati(r, u, OpzioniStati{});
}

RisultatoStati stati(const RichiestaStati& r, const Uscite& u, const OpzioniStati& o) {
    const auto sconosciuta = [] { return Errore(Causa::dati, "grandezza sconosciuta (usare t, ur, x, h, tbu, tr)"); };
    if (!grandezza_valida(r.prima) || !grandezza_valida(r.seconda)) throw sconosciuta();
    // A pair that can give no state is a fault of the request, not of each state.
    const auto valida = [](Grandezza a, Grandezza b) {
        if (Fatto f = coppia_valida(static_cast<ondix::Grandezza>(a), static_cast<ondix::Grandezza>(b)); !f)
            lancia(f.errore());
    };
    valida(r.prima, r.seconda);
    Metodo m{r, o, {}};
    if (!o.altre_coppie.empty()) {
        m.coppie.emplace_back(static_cast<ondix::Grandezza>(r.prima), static_cast<ondix::Grandezza>(r.seconda));
        for (const auto& [a, b] : o.altre_coppie) {
            if (!grandezza_valida(a) || !grandezza_valida(b)) throw sconosciuta();
            valida(a, b);
            for (const Grandezza g : {a, b})
                if (!o.valori[static_cast<std::size_t>(g)] && g != r.prima && g != r.seconda)
                    throw Errore(Causa::dati,
                                 "la coppia " + nome_di(a) + " e " + nome_di(b) + " non ha i valori di " + nome_di(g));
            m.coppie.emplace_back(static_cast<ondix::Grandezza>(a), static_cast<ondix::Grandezza>(b));
        }
    }
    const ondix::Aria base = aria_o_lancia(r.aria);
    // Below a few thousand states a thread costs more than it saves.
    const std::size_t parti = std::clamp<std::size_t>(r.n / 4096, 1, std::max(1u, r.fili));
    const bool elenca = o.errori != nullptr;
    RisultatoStati esito;
    if (elenca) o.errori->clear();
    const auto aggiungi = [&](Parte& p) {
        if (esito.errori == 0 && p.errori > 0) {
            esito.indice_primo_errore = p.indice;
            esito.primo_errore = p.testo;
        }
        esito.errori += p.errori;
        if (elenca)
            o.errori->insert(o.errori->end(), std::make_move_iterator(p.elenco.begin()),
                             std::make_move_iterator(p.elenco.end()));
    };
    if (parti == 1) {
        Parte p;
        calcola_parte(r, u, m, elenca, base, 0, r.n, p);
        aggiungi(p);
        return esito;
    }
    std::vector<Parte> risultati(parti);
    std::vector<std::thread> lavoratori;
    for (std::size_t k = 0; k < parti; ++k)
        lavoratori.emplace_back(calcola_parte, std::cref(r), std::cref(u), std::cref(m), elenca, base, r.n * k / parti,
                                r.n * (k + 1) / parti, std::ref(risultati[k]));
    for (auto& l : lavoratori)
        l.join();
    for (Parte& p : risultati)
        aggiungi(p);
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

std::string nome_colonna(const std::string& nome) {
    return ondix::nome_colonna(nome);
}

double numero_cella(const std::string& testo, const std::string& colonna, char separatore) {
    double v = 0;
    if (auto letto = leggi_campo(testo, colonna, separatore, v); !letto) lancia(letto.errore());
    return v;
}

Tabella leggi_tabella(const std::string& percorso, Formato formato, FormaUmidita umidita) {
    std::ifstream f;
    if (auto aperto = apri_file(percorso, f); !aperto) lancia(aperto.errore());
    const FormatoTabella quale = formato == Formato::csv   ? FormatoTabella::csv
                                 : formato == Formato::epw ? FormatoTabella::epw
                                                           : FormatoTabella::automatico;
    auto letta = ondix::leggi_tabella(f, percorso, quale, umidita == FormaUmidita::specifica ? 1 : 0);
    if (!letta) lancia(letta.errore());
    ondix::Tabella& t = *letta;
    Tabella o;
    o.formato = t.meteo ? Formato::epw : Formato::csv;
    o.separatore = t.separatore;
    o.decimali_virgola = t.decimali_virgola;
    o.linee = std::move(t.linee);
    for (auto& c : t.colonne)
        o.colonne.push_back(
            {std::move(c.nome), std::move(c.unita), c.numerica, std::move(c.numeri), std::move(c.testi)});
    for (auto& r : t.rifiutate)
        o.rifiutate.push_back({r.riga, std::move(r.motivo)});
    if (t.localita) {
        LocalitaMeteo& l = *t.localita;
        o.localita = Localita{std::move(l.citta), std::move(l.regione), std::move(l.paese),
                              std::move(l.fonte), std::move(l.wmo),     l.latitudine,
                              l.longitudine,      l.fuso_orario,        l.quota};
    }
    return o;
}

Tabella leggi_csv(const std::string& percorso, FormaUmidita umidita) {
    return leggi_tabella(percorso, Formato::csv, umidita);
}

Tabella leggi_epw(const std::string& percorso) {
    return leggi_tabella(percorso, Formato::epw);
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
    RisultatoProcesso o = risultato_di(esegui(r), tipo);
    o.avvisi = testi_letti_in_parte(r);
    return o;
}

RisultatoProcesso processo(const Processo& p) {
    return processo(RichiestaProcesso{static_cast<TipoProcesso>(p.tipo), p.caselle,
                                      static_cast<FormaUmidita>(p.umidita), static_cast<FormaPortata>(p.portata),
                                      p.risposta, p.aria});
}

} // namespace ondix::api
