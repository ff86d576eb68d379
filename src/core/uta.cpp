#include "core/uta.h"

#include "core/computazioni.h"
#include "core/nebbia.h"
#include "core/numeri.h"
#include "core/ricerca.h"

#include <algorithm>
#include <cmath>

namespace ondix {

namespace {

double acqua_kg_h(double dx, double m) {
    return dx * m / 1000.0;
}
double potenza_kw(double dh, double m) {
    return dh * m / 3600.0;
}

// The running calculation of one condition.
class Catena {
public:
    Catena(Calcolo& c, const Uta& u, const Condizione& k, RisultatoUta& r)
        : m_calcolo(c), m_uta(u), m_condizione(k), m_risultato(r) {}
    void calcola();

private:
    Aria aria() const { return m_calcolo.aria(); }
    StatoCompleto stato(double t, double x) const { return stato_completo(t, x, aria()); }
    [[noreturn]] void rifiuta(const Sezione& s, const std::string& testo) {
        m_calcolo.impossibile(s.nome + ": " + testo);
    }
    double richiesto(const Sezione& s, std::string_view chiave) { return *s.valore(chiave); }
    double massa(const Portata& p, const StatoCompleto& s) const { return p.massica ? p.valore : p.valore / s.v; }
    void scrivi_stato_catena(const std::string& titolo, const StatoCompleto& s, std::optional<double> m);
    void dato(RisultatoSezione& e, std::string chiave, double v, std::string_view unita, std::string_view etichetta,
              int decimali);

    void recuperatore(const Sezione& s, RisultatoSezione& e);
    void miscela_ripresa(const Sezione& s, RisultatoSezione& e);
    void riscaldamento(const Sezione& s, RisultatoSezione& e);
    void ventilatore(const Sezione& s, RisultatoSezione& e);
    // The outlet temperature of a section that gives the air the power it names, when it names one.
    std::optional<double> t_da_potenza(const Sezione& s);
    // Heats the air sensibly up to t2 (a coil or a fan); returns the power, kW.
    double riscalda(const Sezione& s, RisultatoSezione& e, double t2);
    void raffreddamento(const Sezione& s, RisultatoSezione& e);
    void umidificatore_acqua(const Sezione& s, RisultatoSezione& e);
    void umidificatore_vapore(const Sezione& s, RisultatoSezione& e);
    void intestazione();
    void sezione(const Sezione& s, int n);
    void chiusura();
    void punti_grafico();

    Calcolo& m_calcolo;
    const Uta& m_uta;
    const Condizione& m_condizione;
    RisultatoUta& m_risultato;
    StatoCompleto m_aria;     // the air at the current point of the chain
    double m_portata = 0.0;   // its mass flow of dry air, kg/h
    StatoCompleto m_ambiente; // the room (return) air
    double m_recuperata = 0.0, m_trattamento = 0.0;
    bool m_con_recupero = false;
};

void Catena::scrivi_stato_catena(const std::string& titolo, const StatoCompleto& s, std::optional<double> m) {
    Rapporto& r = m_calcolo.rapporto();
    const auto temperatura = [](const std::optional<double>& v) {
        return v ? formatta(*v, 5, 2) + " C" : std::string(" non definita");
    };
    m_calcolo.aggiungi(titolo);
    scrivi_cinque_righe(r, s.t, s.ur, s.x, s.h, s.v);
    m_calcolo.aggiungi("temperatura bulbo umido :" + temperatura(s.bulbo_umido));
    m_calcolo.aggiungi("temperatura rugiada     :" + temperatura(s.rugiada));
    if (m) m_calcolo.aggiungi("portata ponderale  :" + formatta(*m, 9, 2) + " kg/h");
    segnala_nebbia(m_calcolo, titolo, s.t, s.x, m);
}

void Catena::dato(RisultatoSezione& e, std::string chiave, double v, std::string_view unita, std::string_view etichetta,
                  int decimali) {
    scrivi_dato(m_calcolo.rapporto(), etichetta, unita, 10, static_cast<std::uint16_t>(decimali), v);
    e.dati.push_back({std::move(chiave), v, unita});
}

// Heat recovery, with the definitions of EN 308. Indices: 11 extract air in (the room), 12 extract air out (to
// outside), 21 outdoor air in (the chain at this point), 22 supply air out. The supply side's temperature ratio is
// (t22 − t21) / (t11 − t21) and its humidity ratio (x22 − x21) / (x11 − x21); they give the supply outlet. The
// extract side follows from the balances of energy and water with the two mass flows:
// m_x (h11 − h12) = m_s (h22 − h21) and m_x (x11 − x12) = m_s (x22 − x21), and its temperature ratio is reported
// as (t11 − t12) / (t11 − t21).
void Catena::recuperatore(const Sezione& s, RisultatoSezione& e) {
    const StatoCompleto in = m_aria, est = m_ambiente;
    const double ms = m_portata;
    const double mx = m_uta.portata_espulsione ? massa(*m_uta.portata_espulsione, est) : ms;
    m_calcolo.controlla();
    if (!(mx > 0.0)) rifiuta(s, "la portata di espulsione deve essere sopra 0");
    dato(e, "portata_espulsione", mx, " kg/h", "portata espulsione", 2);
    const double dt = est.t - in.t;
    // Against the season: in summer a recovery that would heat the outdoor air, in winter one that would cool it.
    if (s.valore("bypass_stagionale").value_or(0.0) != 0.0 &&
        ((m_condizione.stagione == Stagione::estate && dt > 0.0) ||
         (m_condizione.stagione == Stagione::inverno && dt < 0.0))) {
        e.esclusa = true;
        m_calcolo.aggiungi("bypass stagionale: recupero escluso (lavorerebbe contro la stagione)");
        return;
    }
    double et = 0.0;
    if (const auto eff = s.valore("efficienza_t")) {
        if (*eff < 0.0 || *eff > 100.0) rifiuta(s, "l efficienza di temperatura va da 0 a 100 %");
        et = *eff / 100.0;
    } else {
        const double t22 = richiesto(s, "t_uscita");
        if (dt == 0.0) {
            if (t22 != in.t) rifiuta(s, "aria esterna e di ripresa alla stessa temperatura: nessun recupero possibile");
        } else {
            et = (t22 - in.t) / dt;
        }
        if (et < 0.0 || et > 1.0)
            rifiuta(s, "temperatura di uscita " + formatta(t22, 0, 1) + " C non raggiungibile (efficienza " +
                           formatta(et * 100.0, 0, 1) + " %, fuori da 0 ... 100 %)");
    }
    const double ex = s.valore("efficienza_x").value_or(0.0) / 100.0;
    if (ex < 0.0 || ex > 1.0) rifiuta(s, "l efficienza di umidità va da 0 a 100 %");
    const double t22 = in.t + et * dt;
    const double x22 = in.x + ex * (est.x - in.x);
    const StatoCompleto out = stato(t22, x22);
    m_calcolo.controlla();
    const double rapporto_masse = ms / mx;
    const double h12 = est.h - rapporto_masse * (out.h - in.h);
    const double x12 = est.x - rapporto_masse * (x22 - in.x);
    if (x12 < 0.0) rifiuta(s, "il lato espulsione cederebbe più acqua di quanta ne abbia");
    const double t12 = t_da_x_h(x12, h12, aria());
    const StatoCompleto esp = stato(t12, x12);
    m_calcolo.controlla();
    const double q = potenza_kw(out.h - in.h, ms);
    dato(e, "efficienza_t", et * 100.0, " %", "efficienza temp. lato mandata", 1);
    dato(e, "efficienza_x", ex * 100.0, " %", "efficienza umidita lato mandata", 1);
    if (dt != 0.0)
        dato(e, "efficienza_t_espulsione", (est.t - t12) / dt * 100.0, " %", "efficienza temp. lato espulsione", 1);
    dato(e, "potenza_recuperata", q, " kw", "POTENZA RECUPERATA", 3);
    if (x22 > in.x) dato(e, "acqua_recuperata", acqua_kg_h(x22 - in.x, ms), " kg/h", "acqua recuperata", 3);
    m_recuperata += q;
    m_con_recupero = true;
    scrivi_stato_catena("espulsione ingresso (ripresa)", est, mx);
    m_calcolo.aggiungi("espulsione uscita");
    Rapporto& r = m_calcolo.rapporto();
    scrivi_cinque_righe(r, esp.t, esp.ur, esp.x, esp.h, esp.v);
    e.espulsione_ingresso = est;
    e.espulsione_uscita = esp;
    if (sovrasaturo(esp.ur)) {
        const auto eq = equilibrio_nebbia(esp.t, esp.x, aria());
        const std::string testo = "ATTENZIONE: " + s.nome + ": condensa sul lato espulsione";
        m_calcolo.aggiungi(testo);
        m_risultato.avvisi.push_back(testo);
        if (eq) {
            dato(e, "condensa_espulsione", acqua_kg_h(eq->acqua, mx), " kg/h", "condensa lato espulsione", 3);
            if (eq->t < 0.0 || esp.t < 0.0) {
                const std::string brina =
                    "ATTENZIONE: " + s.nome + ": rischio di brina sul lato espulsione (sotto 0 C con acqua liquida)";
                m_calcolo.aggiungi(brina);
                m_risultato.avvisi.push_back(brina);
            }
        }
    }
    m_aria = out;
}

void Catena::miscela_ripresa(const Sezione& s, RisultatoSezione& e) {
    const StatoCompleto in = m_aria, rip = m_ambiente;
    double mr = 0.0;
    if (const auto f = s.valore("frazione_ripresa")) {
        if (*f < 0.0 || *f >= 1.0) rifiuta(s, "la frazione di ripresa va da 0 a meno di 1");
        mr = m_portata * *f / (1.0 - *f);
    } else if (const auto v = s.valore("portata_ripresa")) {
        if (*v < 0.0) rifiuta(s, "la portata di ripresa non può essere negativa");
        mr = *v / rip.v;
    } else if (const auto mm = s.valore(std::string("portata_ripresa") + std::string(suffisso_massica))) {
        if (*mm < 0.0) rifiuta(s, "la portata di ripresa non può essere negativa");
        mr = *mm;
    } else {
        // The mixture's temperature is the mass-weighted mean of the two: the return share follows from it.
        const double t = richiesto(s, "t_uscita");
        const double quota = rip.t == in.t ? (t == in.t ? 0.0 : -1.0) : (t - in.t) / (rip.t - in.t);
        if (!(quota >= 0.0 && quota < 1.0))
            rifiuta(s, "temperatura di miscela " + formatta(t, 0, 1) + " C non raggiungibile tra " +
                           formatta(in.t, 0, 1) + " C e " + formatta(rip.t, 0, 1) + " C");
        mr = m_portata * quota / (1.0 - quota);
    }
    m_calcolo.controlla();
    const Miscela mix = miscela(in.t, in.ur, m_portata * in.v, rip.t, rip.ur, mr * rip.v, aria());
    // The mixture's humidity ratio is taken again from its relative humidity, as the mixing process does.
    const double xm = umidita_specifica(mix.ur, mix.t, aria());
    m_calcolo.controlla();
    scrivi_stato_catena("ripresa", rip, mr);
    dato(e, "portata_ripresa", mr, " kg/h", "portata ripresa", 2);
    dato(e, "portata_ripresa_volumetrica", mr * rip.v, " mc/h", "portata ripresa volumetrica", 2);
    dato(e, "frazione_ripresa", mr / (mr + m_portata), " ", "frazione ripresa", 3);
    m_portata += mr;
    m_aria = stato(mix.t, xm);
}

std::optional<double> Catena::t_da_potenza(const Sezione& s) {
    const auto p = s.valore("potenza");
    if (!p) return std::nullopt;
    if (*p < 0.0) rifiuta(s, "la potenza non può essere negativa");
    return t_da_x_h(m_aria.x, m_aria.h + *p * 3600.0 / m_portata, aria());
}

void Catena::riscaldamento(const Sezione& s, RisultatoSezione& e) {
    double t2 = 0.0;
    if (const auto t = t_da_potenza(s)) {
        t2 = *t;
    } else {
        t2 = richiesto(s, "t_uscita");
        if (t2 < m_aria.t)
            rifiuta(s, "temperatura di uscita " + formatta(t2, 0, 1) + " C sotto quella di ingresso (" +
                           formatta(m_aria.t, 0, 1) + " C): una batteria di riscaldamento non raffredda");
    }
    m_trattamento += riscalda(s, e, t2);
}

// The fan's heat warms the air but is not part of its treatment.
void Catena::ventilatore(const Sezione& s, RisultatoSezione& e) {
    double t2 = 0.0;
    if (const auto t = t_da_potenza(s)) {
        t2 = *t;
    } else {
        const double dt = richiesto(s, "aumento_t");
        if (dt < 0.0) rifiuta(s, "l aumento di temperatura non può essere negativo");
        t2 = m_aria.t + dt;
    }
    riscalda(s, e, t2);
}

double Catena::riscalda(const Sezione& s, RisultatoSezione& e, double t2) {
    const StatoCompleto in = m_aria;
    m_calcolo.controlla();
    if (t2 >= t_massima_stato) rifiuta(s, "temperatura di uscita oltre " + formatta(t_massima_stato, 0, 0) + " C");
    const Sensibile sen = trasformazione_sensibile(in.t, in.ur, m_portata, t2, aria());
    m_calcolo.controlla();
    dato(e, "salto_entalpico", sen.h2 - sen.h1, " kj/kg", "SALTO ENTALPICO", 2);
    dato(e, "potenza", sen.potenza, " kw", "POTENZA TERMICA", 3);
    m_aria = stato(t2, in.x);
    return sen.potenza;
}

void Catena::raffreddamento(const Sezione& s, RisultatoSezione& e) {
    const StatoCompleto in = m_aria;
    const double bf = richiesto(s, "fattore_bypass");
    if (!(bf >= 0.0 && bf < 1.0)) rifiuta(s, "il fattore di bypass va da 0 a meno di 1");
    double tb = 0.0;
    if (const auto t = s.valore("t_batteria")) {
        tb = *t;
        if (tb > in.t) rifiuta(s, "la batteria è più calda dell aria e non può raffreddarla!");
    } else if (const auto t2 = s.valore("t_uscita")) {
        if (*t2 > in.t)
            rifiuta(s, "temperatura di uscita " + formatta(*t2, 0, 1) + " C sopra quella di ingresso (" +
                           formatta(in.t, 0, 1) + " C)");
        tb = in.t - (in.t - *t2) / (1.0 - bf);
    } else {
        const double x2 = richiesto(s, "x_uscita");
        if (x2 > in.x)
            rifiuta(s, "umidità specifica di uscita " + formatta(x2, 0, 2) + " g/kg sopra quella di ingresso (" +
                           formatta(in.x, 0, 2) + " g/kg): una batteria non aggiunge acqua");
        // The outlet's humidity ratio rises with the coil temperature: halve [tmin, t1] on it. At the inlet's
        // humidity ratio the coil stays dry; take the warmest such coil, the dew point.
        constexpr double tmin = -10.0;
        if (uscita_batteria_bypass(in.t, in.x, tmin, bf, aria()).x > x2)
            rifiuta(s, "umidità specifica di uscita " + formatta(x2, 0, 2) +
                           " g/kg non raggiungibile con fattore di bypass " + formatta(bf, 0, 3) +
                           " (servirebbe una batteria sotto " + formatta(tmin, 0, 0) + " C)");
        const double hi = biseca(tmin, in.t, 1e-9, [&](double tc) {
                              return uscita_batteria_bypass(in.t, in.x, tc, bf, aria()).x >= x2;
                          }).hi;
        tb = x2 >= in.x ? std::min(in.t, in.rugiada.value_or(in.t)) : hi;
    }
    m_calcolo.controlla();
    const Stato o = uscita_batteria_bypass(in.t, in.x, tb, bf, aria());
    const bool asciutta = batteria_asciutta(in.x, tb, aria());
    const StatoCompleto out = stato(o.t, o.x);
    m_calcolo.controlla();
    // The condensate leaves at the coil's temperature, carrying 4.186 kJ/kg K of it.
    const double condensa = acqua_kg_h(in.x - out.x, m_portata);
    const double q = potenza_kw(in.h - out.h, m_portata) - condensa * 4.186 * tb / 3600.0;
    dato(e, "t_batteria", tb, " C", "temperatura batteria", 2);
    dato(e, "fattore_bypass", bf, " ", "fattore bypass", 3);
    dato(e, "potenza", -q, " kw", "POTENZA TERMICA", 3);
    dato(e, "potenza_frigorifera", q, " kw", "POTENZA FRIGORIFERA", 3);
    dato(e, "condensa", condensa, " kg/h", "PORTATA ACQUA CONDENSATA", 3);
    if (asciutta) m_calcolo.aggiungi(std::string(riga_batteria_asciutta));
    m_trattamento -= q;
    m_aria = out;
}

void Catena::umidificatore_acqua(const Sezione& s, RisultatoSezione& e) {
    const StatoCompleto in = m_aria;
    const double tw = richiesto(s, "t_acqua");
    if (tw < 0.0 || tw >= 100.0) rifiuta(s, "la temperatura dell acqua va da 0 a 100 C");
    const auto uscita = [&](double eff) { return umidificazione_adiabatica(in.t, in.ur, tw, eff, aria()); };
    double eff = 0.0;
    if (const auto v = s.valore("efficienza")) {
        eff = *v;
        if (eff < 0.0 || eff > 100.0) rifiuta(s, "l efficienza va da 0 a 100 %");
    } else {
        // Relative humidity and humidity ratio at the outlet both rise with the efficiency: halve 0 … 100 on
        // the one targeted.
        const bool su_ur = s.valore("ur_uscita").has_value();
        const double obiettivo = su_ur ? richiesto(s, "ur_uscita") : richiesto(s, "x_uscita");
        const auto misura = [&](double k) {
            const Stato o = uscita(k);
            return su_ur ? umidita_relativa(o.x, o.t, aria()) : o.x;
        };
        const std::string cosa = su_ur ? "umidità relativa di uscita " + formatta(obiettivo, 0, 1) + " %"
                                       : "umidità specifica di uscita " + formatta(obiettivo, 0, 2) + " g/kg";
        const double inizio = su_ur ? in.ur : in.x;
        if (obiettivo < inizio) rifiuta(s, cosa + " sotto quella di ingresso: un umidificatore non asciuga");
        const double massimo = misura(100.0);
        if (obiettivo > massimo + 1e-9)
            rifiuta(s, cosa + " non raggiungibile: con efficienza 100 % l aria esce a " +
                           (su_ur ? formatta(massimo, 0, 1) + " %" : formatta(massimo, 0, 2) + " g/kg"));
        eff = biseca(
                  0.0, 100.0, 1e-9, [&](double k) { return misura(k) >= obiettivo; }, 100)
                  .hi;
    }
    m_calcolo.controlla();
    const Stato o = uscita(eff);
    const StatoCompleto out = stato(o.t, o.x);
    m_calcolo.controlla();
    dato(e, "t_acqua", tw, " C", "temperatura acqua", 1);
    dato(e, "efficienza", eff, " %", "efficienza", 2);
    dato(e, "acqua", acqua_kg_h(out.x - in.x, m_portata), " kg/h", "PORTATA ACQUA", 3);
    m_aria = out;
}

void Catena::umidificatore_vapore(const Sezione& s, RisultatoSezione& e) {
    const StatoCompleto in = m_aria;
    const double tv = richiesto(s, "t_vapore");
    double x2 = 0.0;
    if (const auto v = s.valore("x_uscita")) {
        x2 = *v;
        if (x2 < in.x) rifiuta(s, "il vapore non può togliere acqua: l umidità finale è inferiore a quella iniziale!");
    } else {
        const double ur = richiesto(s, "ur_uscita");
        if (ur > 100.0) rifiuta(s, "umidità relativa di uscita " + formatta(ur, 0, 1) + " % oltre la saturazione");
        if (ur < in.ur)
            rifiuta(s, "umidità relativa di uscita " + formatta(ur, 0, 1) + " % sotto quella di ingresso (" +
                           formatta(in.ur, 0, 1) + " %): il vapore non asciuga");
        // The outlet's relative humidity rises with the steam added: halve on the humidity ratio up to that of
        // saturated air 30 K warmer (steam never warms the air that much).
        const auto ur_uscita = [&](double x) {
            const Stato o = umidificazione_vapore(in.t, in.x, tv, x, aria());
            return umidita_relativa(o.x, o.t, aria());
        };
        const double massimo = umidita_saturazione(in.t + 30.0, aria());
        if (ur_uscita(massimo) < ur) rifiuta(s, "umidità relativa di uscita non raggiungibile");
        x2 = biseca(in.x, massimo, 1e-10, [&](double x) { return ur_uscita(x) >= ur; }).hi;
    }
    m_calcolo.controlla();
    const Stato o = umidificazione_vapore(in.t, in.x, tv, x2, aria());
    const StatoCompleto out = stato(o.t, o.x);
    m_calcolo.controlla();
    dato(e, "t_vapore", tv, " C", "temperatura vapore", 1);
    dato(e, "vapore", acqua_kg_h(out.x - in.x, m_portata), " kg/h", "PORTATA VAPORE", 3);
    m_aria = out;
}

// One entry a state, in order, joined by the chart; entry 10 the room. A section that leaves the air as it is
// adds no entry; a chain of more than nine states keeps its first eight and its last.
void Catena::punti_grafico() {
    std::vector<const StatoUta*> scelti;
    for (const StatoUta& s : m_risultato.stati)
        if (scelti.empty() || s.stato.t != scelti.back()->stato.t || s.stato.x != scelti.back()->stato.x)
            scelti.push_back(&s);
    if (scelti.size() > 9) scelti.erase(scelti.begin() + 8, scelti.end() - 1);
    m_calcolo.azzera_etichette();
    int n = 1;
    for (const StatoUta* s : scelti)
        m_calcolo.punto(n++, s->stato.t, s->stato.x, std::to_string(s->numero));
    m_calcolo.punto(10, m_ambiente.t, m_ambiente.x, "A");
}

void Catena::intestazione() {
    m_risultato = {};
    m_risultato.condizione = m_condizione.nome;
    m_ambiente = m_condizione.ambiente ? *m_condizione.ambiente : m_uta.ambiente;
    m_risultato.ambiente = m_ambiente;
    m_aria = m_condizione.esterna;
    m_portata = massa(m_uta.portata_esterna, m_aria);
    m_calcolo.controlla();
    if (!(m_portata > 0.0)) m_calcolo.impossibile("la portata di aria esterna deve essere sopra 0");

    m_calcolo.aggiungi("       UNITA DI TRATTAMENTO ARIA");
    if (!m_uta.nome.empty()) m_calcolo.aggiungi("unita     : " + m_uta.nome);
    const std::string_view stagione = nome_stagione(m_condizione.stagione);
    m_calcolo.aggiungi("condizione: " + m_condizione.nome +
                       (stagione.empty() ? "" : " (" + std::string(stagione) + ")"));
    scrivi_separatore(m_calcolo.rapporto());
    scrivi_stato_catena("AMBIENTE (ripresa)", m_ambiente, std::nullopt);
    scrivi_separatore(m_calcolo.rapporto());
    scrivi_stato_catena(" 0 ARIA ESTERNA", m_aria, m_portata);
    m_risultato.stati.push_back({0, "ARIA ESTERNA", m_aria, m_portata});
}

// Section n of the chain: its block of the report, its numbers, and the state at its outlet.
void Catena::sezione(const Sezione& s, int n) {
    RisultatoSezione e;
    e.nome = s.nome;
    e.tipo = s.tipo;
    scrivi_separatore(m_calcolo.rapporto());
    m_calcolo.aggiungi(formatta(n, 2, 0) + " " + s.nome + " - " + std::string(descrizione(s.tipo).titolo));
    e.attiva = s.attiva();
    if (!e.attiva) {
        m_calcolo.aggiungi("sezione non attiva");
    } else {
        switch (s.tipo) {
        case TipoSezione::recuperatore:
            recuperatore(s, e);
            break;
        case TipoSezione::miscela:
            miscela_ripresa(s, e);
            break;
        case TipoSezione::riscaldamento:
            riscaldamento(s, e);
            break;
        case TipoSezione::ventilatore:
            ventilatore(s, e);
            break;
        case TipoSezione::raffreddamento:
            raffreddamento(s, e);
            break;
        case TipoSezione::umidificatore_acqua:
            umidificatore_acqua(s, e);
            break;
        case TipoSezione::umidificatore_vapore:
            umidificatore_vapore(s, e);
            break;
        }
    }
    scrivi_stato_catena(formatta(n, 2, 0) + " USCITA " + s.nome, m_aria, m_portata);
    m_risultato.stati.push_back({n, s.nome, m_aria, m_portata});
    m_risultato.sezioni.push_back(std::move(e));
}

// The recovered power and its share of the treatment. The warnings stand in the blocks of their sections only.
void Catena::chiusura() {
    scrivi_separatore(m_calcolo.rapporto());
    if (!m_con_recupero) return;
    scrivi_dato(m_calcolo.rapporto(), "POTENZA RECUPERATA", " kw", 10, 3, m_recuperata);
    // The recovered power's share of the treatment in its own direction: recovery plus the coils that heat
    // (or cool) the air the same way.
    const double totale = m_recuperata + m_trattamento;
    if (m_recuperata == 0.0 || totale == 0.0 || (m_recuperata > 0.0) != (totale > 0.0)) return;
    double stesso_verso = m_recuperata;
    for (const RisultatoSezione& e : m_risultato.sezioni)
        for (const DatoSezione& d : e.dati)
            if (d.chiave == "potenza" && e.tipo != TipoSezione::ventilatore && (d.valore > 0.0) == (m_recuperata > 0.0))
                stesso_verso += d.valore;
    scrivi_dato(m_calcolo.rapporto(), "quota recuperata del trattamento", " %", 10, 1,
                m_recuperata / stesso_verso * 100.0);
}

void Catena::calcola() {
    intestazione();
    const std::vector<Sezione> sezioni = sezioni_in_condizione(m_uta, m_condizione);
    for (std::size_t i = 0; i < sezioni.size(); ++i)
        sezione(sezioni[i], static_cast<int>(i + 1));
    chiusura();
    punti_grafico();
    VistaGrafico vista = VistaGrafico::standard;
    for (const StatoUta& s : m_risultato.stati)
        if (s.stato.t < -5.0 || s.stato.t > 50.0 || s.stato.x > 30.0) vista = VistaGrafico::invernale;
    m_calcolo.apri_grafico(vista);
}

} // namespace

void calcola_uta(Calcolo& c, const Uta& u, const Condizione& k, RisultatoUta& r) {
    Catena(c, u, k, r).calcola();
}

Fatto esegui_uta(const Uta& u, const Condizione& k, Contesto& ctx, Esterno& esterno, RisultatoUta& r) {
    ctx.aria = u.aria;
    ctx.processo = 0;
    ctx.codice_grafico = codice_catena;
    ctx.punti.azzera_etichette();
    return esegui_computazione(ctx, esterno, [&](Calcolo& c) { calcola_uta(c, u, k, r); });
}

} // namespace ondix
