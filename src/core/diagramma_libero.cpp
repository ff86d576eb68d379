#include "core/diagramma_libero.h"

#include "core/computazioni.h"
#include "core/modello.h"
#include "core/numeri.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

namespace ondix {

namespace {

struct Voce {
    TipoTrasformazione tipo;
    std::string_view chiave, nome;
};
constexpr std::array<Voce, 6> voci{{
    {TipoTrasformazione::miscela, "miscela", "Miscela"},
    {TipoTrasformazione::sensibile, "sensibile", "Riscaldamento/raffreddamento sensibile"},
    {TipoTrasformazione::batteria, "batteria", "Batteria di raffreddamento"},
    {TipoTrasformazione::adiabatica, "adiabatica", "Umidificazione adiabatica"},
    {TipoTrasformazione::vapore, "vapore", "Umidificazione a vapore"},
    {TipoTrasformazione::linea, "linea", "Linea libera"},
}};

const Voce& voce(TipoTrasformazione t) {
    return voci[static_cast<std::size_t>(t)];
}

Errore dati(std::string testo) {
    return Errore{Causa::dati, std::move(testo)};
}

// The state of a placed point: fog allowed, within the dry bulbs a state may have and the model's range.
Esito<StatoCompleto> stato_del_punto(double t, double x, Aria aria) {
    if (!std::isfinite(t) || !std::isfinite(x)) return dati("il punto non ha coordinate finite");
    if (t < t_minima_stato || t > t_massima_stato)
        return dati("t = " + formatta(t, 0, 2) + " C è fuori da " + formatta(t_minima_stato, 0, 0) + " a " +
                    formatta(t_massima_stato, 0, 0) + " C");
    if (x < 0.0) return dati("l'umidità specifica è sotto 0 g/kg");
    if (aria.modello)
        if (Fatto f = aria.modello->nel_campo(t, aria.pressione); !f) return f.errore();
    return stato_completo(t, x, aria);
}

} // namespace

char lettera_uscita(TipoTrasformazione t) {
    switch (t) {
    case TipoTrasformazione::miscela:
        return 'M';
    case TipoTrasformazione::sensibile:
        return 'S';
    case TipoTrasformazione::batteria:
        return 'B';
    case TipoTrasformazione::adiabatica:
        return 'U';
    case TipoTrasformazione::vapore:
        return 'V';
    case TipoTrasformazione::linea:
        break;
    }
    return 0;
}

std::string_view chiave_trasformazione(TipoTrasformazione t) {
    return voce(t).chiave;
}

std::optional<TipoTrasformazione> trasformazione_da_chiave(std::string_view chiave) {
    for (const Voce& v : voci)
        if (v.chiave == chiave) return v.tipo;
    return std::nullopt;
}

std::string_view nome_trasformazione(TipoTrasformazione t) {
    return voce(t).nome;
}

DefinizioneTrasformazione trasformazione_tra(TipoTrasformazione t, int da, int con) {
    DefinizioneTrasformazione k;
    k.tipo = t;
    k.da = da;
    k.con = con;
    return k;
}

bool due_ingressi(TipoTrasformazione t) {
    return t == TipoTrasformazione::miscela || t == TipoTrasformazione::linea;
}

DiagrammaLibero::DiagrammaLibero(Aria aria) : m_aria(aria) {}

void DiagrammaLibero::imposta_aria(Aria a) {
    m_aria = a;
    ricalcola();
}

std::optional<std::size_t> DiagrammaLibero::indice_stato(int id) const {
    for (std::size_t i = 0; i < m_def.stati.size(); ++i)
        if (m_def.stati[i].id == id) return i;
    return std::nullopt;
}

std::optional<std::size_t> DiagrammaLibero::indice_trasformazione(int id) const {
    for (std::size_t i = 0; i < m_def.trasformazioni.size(); ++i)
        if (m_def.trasformazioni[i].id == id) return i;
    return std::nullopt;
}

int DiagrammaLibero::id_stato(std::string_view nome) const {
    for (const DefinizioneStato& s : m_def.stati)
        if (s.nome == nome) return s.id;
    return 0;
}

std::optional<std::size_t> DiagrammaLibero::trasformazione_di(int id) const {
    for (std::size_t k = 0; k < m_def.trasformazioni.size(); ++k)
        if (m_def.trasformazioni[k].uscita == id) return k;
    return std::nullopt;
}

Fatto DiagrammaLibero::carica(DefinizioneDiagramma d) {
    std::set<int> noti, uscite, processi;
    std::set<std::string> nomi;
    int massimo = 0;
    for (const DefinizioneStato& s : d.stati) {
        if (s.id <= 0 || !noti.insert(s.id).second) return dati("uno stato ha un numero non valido o ripetuto");
        if (s.nome.empty()) return dati("uno stato non ha nome");
        if (!nomi.insert(s.nome).second) return dati("il nome \"" + testo_visibile(s.nome) + "\" è di due stati");
        massimo = std::max(massimo, s.id);
    }
    std::set<int> calcolati; // states known before the process being checked
    for (const DefinizioneStato& s : d.stati)
        if (s.origine != OrigineStato::trasformazione) calcolati.insert(s.id);
    for (const DefinizioneTrasformazione& k : d.trasformazioni) {
        const std::string chi = "la trasformazione " + std::string(chiave_trasformazione(k.tipo));
        if (k.id <= 0 || noti.count(k.id) || !processi.insert(k.id).second)
            return dati(chi + " ha un numero non valido o ripetuto");
        massimo = std::max(massimo, k.id);
        if (!calcolati.count(k.da)) return dati(chi + " parte da uno stato che non c'è o non è ancora calcolato");
        if (due_ingressi(k.tipo) != (k.con != 0) || (k.con != 0 && (!calcolati.count(k.con) || k.con == k.da)))
            return dati(chi + " non ha i due stati che le servono");
        if (k.tipo == TipoTrasformazione::linea) {
            if (k.uscita != 0) return dati(chi + " non calcola uno stato");
            continue;
        }
        const auto i = std::find_if(d.stati.begin(), d.stati.end(), [&k](const auto& s) { return s.id == k.uscita; });
        if (i == d.stati.end() || i->origine != OrigineStato::trasformazione || !uscite.insert(k.uscita).second)
            return dati(chi + " non ha il suo stato di uscita");
        calcolati.insert(k.uscita);
    }
    for (const DefinizioneStato& s : d.stati)
        if (s.origine == OrigineStato::trasformazione && !uscite.count(s.id))
            return dati("lo stato \"" + testo_visibile(s.nome) + "\" non è calcolato da nessuna trasformazione");
    d.prossimo_id = std::max(d.prossimo_id, massimo + 1);
    m_def = std::move(d);
    m_annullabili.clear();
    m_ripetibili.clear();
    m_trascinato = 0;
    ricalcola();
    return {};
}

void DiagrammaLibero::ricalcola() {
    m_stati.assign(m_def.stati.size(), StatoDiagramma{});
    m_trasformazioni.assign(m_def.trasformazioni.size(), RisultatoTrasformazione{});
    for (std::size_t i = 0; i < m_def.stati.size(); ++i)
        calcola_dato(i);
    for (std::size_t k = 0; k < m_def.trasformazioni.size(); ++k)
        calcola_trasformazione(k);
}

void DiagrammaLibero::ricalcola_da(int id, bool processo) {
    // The processes stand after those computing their inlets: one walk in order finds every one that follows.
    std::set<int> mossi;
    if (processo) {
        if (const auto k = indice_trasformazione(id)) {
            calcola_trasformazione(*k);
            mossi.insert(m_def.trasformazioni[*k].uscita);
        }
    } else if (const auto i = indice_stato(id)) {
        calcola_dato(*i);
        mossi.insert(id);
    }
    for (std::size_t k = 0; k < m_def.trasformazioni.size(); ++k) {
        const DefinizioneTrasformazione& t = m_def.trasformazioni[k];
        if (mossi.count(t.da) || (t.con != 0 && mossi.count(t.con))) {
            calcola_trasformazione(k);
            if (t.uscita != 0) mossi.insert(t.uscita);
        }
    }
}

void DiagrammaLibero::calcola_dato(std::size_t i) {
    const DefinizioneStato& d = m_def.stati[i];
    if (d.origine == OrigineStato::trasformazione) return;
    StatoDiagramma s;
    const Esito<StatoCompleto> e = d.origine == OrigineStato::punto ? stato_del_punto(d.a.valore, d.b.valore, m_aria)
                                                                    : stato_da_coppia(d.a, d.b, m_aria);
    if (e) {
        s.stato = *e;
        s.oltre_saturazione = e->x > umidita_saturazione(e->t, m_aria);
        if (sovrasaturo(e->ur)) s.nebbia = equilibrio_nebbia(e->t, e->x, m_aria);
    } else {
        s.errore = e.errore();
    }
    m_stati[i] = std::move(s);
}

void DiagrammaLibero::calcola_trasformazione(std::size_t k) {
    const DefinizioneTrasformazione& d = m_def.trasformazioni[k];
    const auto ia = indice_stato(d.da);
    const auto ib = d.con != 0 ? indice_stato(d.con) : std::nullopt;
    const auto iu = d.uscita != 0 ? indice_stato(d.uscita) : std::nullopt;
    RisultatoTrasformazione r;
    r.usata = d;
    std::optional<Stato> uscita;
    const StatoDiagramma* a = ia ? &m_stati[*ia] : nullptr;
    const StatoDiagramma* b = ib ? &m_stati[*ib] : nullptr;
    if (!a || !a->stato || (d.con != 0 && (!b || !b->stato))) {
        const std::string manca = !a || !a->stato ? nome_stato(*this, d.da) : nome_stato(*this, d.con);
        r.rifiuto = Errore{Causa::impianto, "lo stato " + manca + " non è calcolato"};
    } else {
        UscitaTrasformazione u =
            ondix::calcola_trasformazione(d, *a->stato, b ? &*b->stato : nullptr, a->portata, m_aria);
        r = std::move(u.risultato);
        uscita = u.uscita;
    }
    if (iu) {
        StatoDiagramma s;
        s.portata = r.portata;
        if (uscita) {
            s.stato = stato_completo(uscita->t, uscita->x, m_aria);
            s.oltre_saturazione = uscita->x > umidita_saturazione(uscita->t, m_aria);
            if (sovrasaturo(s.stato->ur)) s.nebbia = equilibrio_nebbia(uscita->t, uscita->x, m_aria);
        } else {
            s.errore = r.rifiuto;
        }
        m_stati[*iu] = std::move(s);
    }
    m_trasformazioni[k] = std::move(r);
}

std::string DiagrammaLibero::nome_libero(char lettera) const {
    // A process's outlet takes its kind's letter (M the mixture), numbered on when it is taken; a placed state the
    // first free letter.
    if (lettera != 0)
        for (int n = 1;; ++n) {
            const std::string nome = n == 1 ? std::string(1, lettera) : std::string(1, lettera) + std::to_string(n);
            if (id_stato(nome) == 0) return nome;
        }
    for (int giro = 1;; ++giro)
        for (char c = 'A'; c <= 'Z'; ++c) {
            const std::string nome = giro == 1 ? std::string(1, c) : std::string(1, c) + std::to_string(giro);
            if (id_stato(nome) == 0) return nome;
        }
}

void DiagrammaLibero::applica(std::string nome, DefinizioneDiagramma nuova) {
    m_annullabili.push_back({std::move(nome), m_def, nuova});
    if (m_annullabili.size() > passi_annullabili) m_annullabili.erase(m_annullabili.begin());
    m_ripetibili.clear();
    m_def = std::move(nuova);
    ricalcola();
}

int DiagrammaLibero::aggiungi_punto(double t, double x) {
    DefinizioneDiagramma d = m_def;
    DefinizioneStato s;
    s.id = d.prossimo_id++;
    s.nome = nome_libero();
    s.origine = OrigineStato::punto;
    s.a = {Grandezza::t, t};
    s.b = {Grandezza::x, x};
    const std::string passo = "nuovo stato " + s.nome;
    d.stati.push_back(std::move(s));
    applica(passo, std::move(d));
    return m_def.stati.back().id;
}

Esito<int> DiagrammaLibero::aggiungi_stato(std::string nome, Noto a, Noto b) {
    if (nome.empty()) nome = nome_libero();
    if (id_stato(nome) != 0) return dati("esiste già uno stato " + testo_visibile(nome));
    if (auto e = stato_da_coppia(a, b, m_aria); !e) return e.errore();
    DefinizioneDiagramma d = m_def;
    DefinizioneStato s{d.prossimo_id++, nome, OrigineStato::coppia, a, b};
    // Typed as a dry bulb and a humidity ratio it is a point of the chart, kept as a click keeps one.
    if (s.a.grandezza == Grandezza::x && s.b.grandezza == Grandezza::t) std::swap(s.a, s.b);
    if (s.a.grandezza == Grandezza::t && s.b.grandezza == Grandezza::x) s.origine = OrigineStato::punto;
    d.stati.push_back(s);
    applica("nuovo stato " + nome, std::move(d));
    return s.id;
}

Fatto DiagrammaLibero::sposta_in(DefinizioneDiagramma& d, int id, double t, double x) const {
    const auto i = indice_stato(id);
    if (!i) return dati("nessuno stato da spostare");
    DefinizioneStato& s = d.stati[*i];
    if (s.origine != OrigineStato::trasformazione) {
        if (auto e = stato_del_punto(t, x, m_aria); !e) return e.errore();
        s.origine = OrigineStato::punto;
        s.a = {Grandezza::t, t};
        s.b = {Grandezza::x, x};
        return {};
    }
    for (DefinizioneTrasformazione& k : d.trasformazioni)
        if (k.uscita == id) {
            k.obiettivo = Stato{t, x};
            return {};
        }
    return dati("lo stato non ha una trasformazione");
}

Fatto DiagrammaLibero::sposta(int id, double t, double x) {
    inizia_trascinamento(id);
    const Fatto f = trascina(t, x);
    fine_trascinamento();
    return f;
}

void DiagrammaLibero::inizia_trascinamento(int id) {
    m_trascinato = indice_stato(id) ? id : 0;
    m_prima_trascinamento = m_def;
}

Fatto DiagrammaLibero::trascina(double t, double x) {
    if (m_trascinato == 0) return dati("nessuno stato trascinato");
    if (Fatto f = sposta_in(m_def, m_trascinato, t, x); !f) return f;
    if (const auto k = trasformazione_di(m_trascinato))
        ricalcola_da(m_def.trasformazioni[*k].id, true);
    else
        ricalcola_da(m_trascinato, false);
    return {};
}

void DiagrammaLibero::fine_trascinamento() {
    if (m_trascinato == 0) return;
    const std::string nome = nome_stato(*this, m_trascinato);
    m_trascinato = 0;
    if (m_def == m_prima_trascinamento) return;
    DefinizioneDiagramma dopo = m_def;
    m_def = std::move(m_prima_trascinamento);
    applica("sposta " + nome, std::move(dopo));
}

Fatto DiagrammaLibero::rinomina(int id, std::string nome) {
    const auto i = indice_stato(id);
    if (!i) return dati("nessuno stato da rinominare");
    if (nome.empty()) return dati("il nome è vuoto");
    if (m_def.stati[*i].nome == nome) return {};
    if (id_stato(nome) != 0) return dati("esiste già uno stato " + testo_visibile(nome));
    DefinizioneDiagramma d = m_def;
    const std::string vecchio = d.stati[*i].nome;
    d.stati[*i].nome = nome;
    applica("rinomina " + vecchio + " in " + nome, std::move(d));
    return {};
}

DefinizioneDiagramma DiagrammaLibero::senza(const DefinizioneDiagramma& d, int id_stato, int id_trasformazione) const {
    std::set<int> via_stati, via_trasformazioni;
    if (id_stato != 0) via_stati.insert(id_stato);
    if (id_trasformazione != 0) via_trasformazioni.insert(id_trasformazione);
    // In order: a process goes with its inlets and its outlet; its outlet goes with it.
    for (const DefinizioneTrasformazione& k : d.trasformazioni)
        if (via_trasformazioni.count(k.id) || via_stati.count(k.da) || via_stati.count(k.con) ||
            via_stati.count(k.uscita)) {
            via_trasformazioni.insert(k.id);
            if (k.uscita != 0) via_stati.insert(k.uscita);
        }
    DefinizioneDiagramma r = d;
    std::erase_if(r.stati, [&](const DefinizioneStato& s) { return via_stati.count(s.id) > 0; });
    std::erase_if(r.trasformazioni,
                  [&](const DefinizioneTrasformazione& k) { return via_trasformazioni.count(k.id) > 0; });
    return r;
}

void DiagrammaLibero::elimina_stato(int id) {
    if (!indice_stato(id)) return;
    applica("elimina " + nome_stato(*this, id), senza(m_def, id, 0));
}

Esito<int> DiagrammaLibero::aggiungi_trasformazione(DefinizioneTrasformazione t) {
    if (!indice_stato(t.da)) return dati("la trasformazione non ha il suo stato di ingresso");
    if (due_ingressi(t.tipo)) {
        if (t.con == 0 || t.con == t.da || !indice_stato(t.con))
            return dati(std::string(nome_trasformazione(t.tipo)) + ": servono due stati diversi");
    } else {
        t.con = 0;
    }
    DefinizioneDiagramma d = m_def;
    t.id = d.prossimo_id++;
    t.uscita = 0;
    std::string passo = std::string(nome_trasformazione(t.tipo)) + " da " + nome_stato(*this, t.da);
    int risultato = t.id;
    if (t.tipo != TipoTrasformazione::linea) {
        DefinizioneStato u;
        u.id = d.prossimo_id++;
        u.nome = nome_libero(lettera_uscita(t.tipo));
        u.origine = OrigineStato::trasformazione;
        t.uscita = risultato = u.id;
        passo += " a " + u.nome;
        d.stati.push_back(std::move(u));
    }
    d.trasformazioni.push_back(t);
    applica(std::move(passo), std::move(d));
    return risultato;
}

Fatto DiagrammaLibero::modifica_trasformazione(const DefinizioneTrasformazione& t) {
    const auto k = indice_trasformazione(t.id);
    if (!k) return dati("nessuna trasformazione da modificare");
    DefinizioneDiagramma d = m_def;
    DefinizioneTrasformazione& v = d.trasformazioni[*k];
    const DefinizioneTrasformazione stessi = v;
    v = t;
    v.tipo = stessi.tipo;
    v.da = stessi.da;
    v.con = stessi.con;
    v.uscita = stessi.uscita;
    if (v == stessi) return {};
    applica("modifica " + std::string(nome_trasformazione(v.tipo)) + " da " + nome_stato(*this, v.da), std::move(d));
    return {};
}

void DiagrammaLibero::elimina_trasformazione(int id) {
    const auto k = indice_trasformazione(id);
    if (!k) return;
    const DefinizioneTrasformazione& t = m_def.trasformazioni[*k];
    applica("elimina " + std::string(nome_trasformazione(t.tipo)) + " da " + nome_stato(*this, t.da),
            senza(m_def, 0, id));
}

std::string DiagrammaLibero::prossimo_annulla() const {
    return m_annullabili.empty() ? std::string() : m_annullabili.back().nome;
}

std::string DiagrammaLibero::prossimo_ripeti() const {
    return m_ripetibili.empty() ? std::string() : m_ripetibili.back().nome;
}

bool DiagrammaLibero::annulla() {
    if (m_annullabili.empty()) return false;
    Passo p = std::move(m_annullabili.back());
    m_annullabili.pop_back();
    m_def = p.prima;
    m_ripetibili.push_back(std::move(p));
    ricalcola();
    return true;
}

bool DiagrammaLibero::ripeti() {
    if (m_ripetibili.empty()) return false;
    Passo p = std::move(m_ripetibili.back());
    m_ripetibili.pop_back();
    m_def = p.dopo;
    m_annullabili.push_back(std::move(p));
    ricalcola();
    return true;
}

std::string nome_stato(const DiagrammaLibero& d, int id) {
    const auto i = d.indice_stato(id);
    return i ? d.definizione_stato(*i).nome : std::string("?");
}

IntervalliGrafico intervalli_diagramma(const DiagrammaLibero& d) {
    IntervalliGrafico r{-5.0, 50.0, 0.0, 30.0};
    constexpr double margine = 2.0;
    for (std::size_t i = 0; i < d.numero_stati(); ++i) {
        const auto& s = d.stato(i).stato;
        if (!s) continue;
        r.tmin = std::min(r.tmin, s->t - margine);
        r.tmax = std::max(r.tmax, s->t + margine);
        r.xmin = std::min(r.xmin, s->x - margine);
        r.xmax = std::max(r.xmax, s->x + margine);
    }
    r.xmin = std::max(r.xmin, 0.0);
    return r;
}

} // namespace ondix
