#include "core/uta.h"

#include "core/computazioni.h"
#include "core/nebbia.h"
#include "core/numeri.h"

#include <algorithm>
#include <cmath>

namespace ondix {

namespace {

using R = RuoloChiave;

const std::vector<DescrizioneSezione> tabella_sezioni = {
    {TipoSezione::recuperatore,
     "recuperatore",
     "RECUPERATORE DI CALORE",
     {
         {"efficienza_t", "%", "efficienza di temperatura (EN 308, lato mandata)", R::alternativa},
         {"t_uscita", "C", "temperatura di uscita lato mandata (obiettivo)", R::alternativa, true},
         {"efficienza_x", "%", "efficienza di umidità (0: a piastre, solo sensibile)", R::facoltativa},
         {"bypass_stagionale", "si/no", "bypass quando il recupero lavora contro la stagione", R::facoltativa},
     }},
    {TipoSezione::miscela,
     "miscela",
     "MISCELA CON ARIA DI RIPRESA",
     {
         {"frazione_ripresa", "", "frazione in massa di aria di ripresa nella miscela (0 ... <1)", R::alternativa},
         {"portata_ripresa", "m3/h", "portata di aria di ripresa (allo stato ambiente)", R::alternativa},
         {"t_uscita", "C", "temperatura della miscela (obiettivo)", R::alternativa, true},
     }},
    {TipoSezione::riscaldamento,
     "riscaldamento",
     "BATTERIA DI RISCALDAMENTO",
     {
         {"t_uscita", "C", "temperatura di uscita (obiettivo)", R::alternativa, true},
         {"potenza", "kW", "potenza termica", R::alternativa},
     }},
    {TipoSezione::raffreddamento,
     "raffreddamento",
     "BATTERIA DI RAFFREDDAMENTO",
     {
         {"fattore_bypass", "", "fattore di bypass (0 ... <1)", R::obbligatoria},
         {"t_batteria", "C", "temperatura della batteria", R::alternativa},
         {"x_uscita", "g/kg", "umidità specifica di uscita (obiettivo)", R::alternativa, true},
         {"t_uscita", "C", "temperatura di uscita (obiettivo)", R::alternativa, true},
     }},
    {TipoSezione::umidificatore_acqua,
     "umidificatore_acqua",
     "UMIDIFICATORE ADIABATICO",
     {
         {"t_acqua", "C", "temperatura dell acqua", R::obbligatoria},
         {"efficienza", "%", "efficienza di saturazione", R::alternativa},
         {"ur_uscita", "%", "umidità relativa di uscita (obiettivo)", R::alternativa, true},
         {"x_uscita", "g/kg", "umidità specifica di uscita (obiettivo)", R::alternativa, true},
     }},
    {TipoSezione::umidificatore_vapore,
     "umidificatore_vapore",
     "UMIDIFICATORE A VAPORE",
     {
         {"t_vapore", "C", "temperatura del vapore", R::obbligatoria},
         {"x_uscita", "g/kg", "umidità specifica di uscita (obiettivo)", R::alternativa, true},
         {"ur_uscita", "%", "umidità relativa di uscita (obiettivo)", R::alternativa, true},
     }},
    {TipoSezione::ventilatore,
     "ventilatore",
     "VENTILATORE",
     {
         {"aumento_t", "K", "aumento di temperatura", R::alternativa},
         {"potenza", "kW", "potenza ceduta all aria", R::alternativa},
     }},
};

// The key "attiva" (si/no) every section takes: a section switched off lets the air through as it is.
constexpr std::string_view chiave_attiva = "attiva";

std::optional<double> valore(const Sezione& s, std::string_view chiave) {
    const auto i = s.valori.find(std::string(chiave));
    if (i == s.valori.end()) return std::nullopt;
    return i->second;
}

bool ha(const Sezione& s, std::string_view chiave) {
    return valore(s, chiave).has_value();
}

double acqua_kg_h(double dx, double m) {
    return dx * m / 1000.0;
}
double potenza_kw(double dh, double m) {
    return dh * m / 3600.0;
}

// The running calculation of one condition.
class Catena {
public:
    Catena(Calcolo& c, const Uta& u, const Condizione& k, RisultatoUta& r) : m_c(c), m_u(u), m_k(k), m_r(r) {}
    void calcola();

private:
    Aria aria() const { return m_c.aria(); }
    StatoCompleto stato(double t, double x) const { return stato_completo(t, x, aria()); }
    [[noreturn]] void rifiuta(const Sezione& s, const std::string& testo) { m_c.impossibile(s.nome + ": " + testo); }
    double richiesto(const Sezione& s, std::string_view chiave) { return *valore(s, chiave); }
    double massa(const Portata& p, const StatoCompleto& s) const { return p.massica ? p.valore : p.valore / s.v; }
    void scrivi_stato_catena(const std::string& titolo, const StatoCompleto& s, std::optional<double> m);
    void dato(EsitoSezione& e, std::string chiave, double v, std::string_view unita, std::string_view etichetta,
              int decimali);

    void recuperatore(const Sezione& s, EsitoSezione& e);
    void miscela_ripresa(const Sezione& s, EsitoSezione& e);
    void riscaldamento(const Sezione& s, EsitoSezione& e, bool ventilatore);
    void raffreddamento(const Sezione& s, EsitoSezione& e);
    void umidificatore_acqua(const Sezione& s, EsitoSezione& e);
    void umidificatore_vapore(const Sezione& s, EsitoSezione& e);
    void punti_grafico();

    Calcolo& m_c;
    const Uta& m_u;
    const Condizione& m_k;
    RisultatoUta& m_r;
    StatoCompleto m_aria;     // the air at the current point of the chain
    double m_m = 0.0;         // its mass flow of dry air, kg/h
    StatoCompleto m_ambiente; // the room (return) air
    double m_recuperata = 0.0, m_trattamento = 0.0;
    bool m_con_recupero = false;
};

void Catena::scrivi_stato_catena(const std::string& titolo, const StatoCompleto& s, std::optional<double> m) {
    Rapporto& r = m_c.rapporto();
    const auto temperatura = [](const std::optional<double>& v) {
        return v ? formatta(*v, 5, 2) + " C" : std::string(" non definita");
    };
    m_c.aggiungi(titolo);
    scrivi_cinque_righe(r, s.t, s.ur, s.x, s.h, s.v);
    m_c.aggiungi("temperatura bulbo umido :" + temperatura(s.bulbo_umido));
    m_c.aggiungi("temperatura rugiada     :" + temperatura(s.rugiada));
    if (m) m_c.aggiungi("portata ponderale  :" + formatta(*m, 9, 2) + " kg/h");
    segnala_nebbia(m_c, titolo, s.t, s.x, m);
}

void Catena::dato(EsitoSezione& e, std::string chiave, double v, std::string_view unita, std::string_view etichetta,
                  int decimali) {
    scrivi_dato(m_c.rapporto(), etichetta, unita, 10, static_cast<std::uint16_t>(decimali), v);
    e.dati.push_back({std::move(chiave), v, unita});
}

// Heat recovery, with the definitions of EN 308. Indices: 11 extract air in (the room), 12 extract air out (to
// outside), 21 outdoor air in (the chain at this point), 22 supply air out. The supply side's temperature ratio is
// (t22 − t21) / (t11 − t21) and its humidity ratio (x22 − x21) / (x11 − x21); they give the supply outlet. The
// extract side follows from the balances of energy and water with the two mass flows:
// m_x (h11 − h12) = m_s (h22 − h21) and m_x (x11 − x12) = m_s (x22 − x21), and its temperature ratio is reported
// as (t11 − t12) / (t11 − t21).
void Catena::recuperatore(const Sezione& s, EsitoSezione& e) {
    const StatoCompleto in = m_aria, est = m_ambiente;
    const double ms = m_m;
    const double mx = m_u.portata_espulsione ? massa(*m_u.portata_espulsione, est) : ms;
    m_c.controlla();
    if (!(mx > 0.0)) rifiuta(s, "la portata di espulsione deve essere sopra 0");
    dato(e, "portata_espulsione", mx, " kg/h", "portata espulsione", 2);
    const double dt = est.t - in.t;
    // Against the season: in summer a recovery that would heat the outdoor air, in winter one that would cool it.
    if (valore(s, "bypass_stagionale").value_or(0.0) != 0.0 &&
        ((m_k.stagione == "estate" && dt > 0.0) || (m_k.stagione == "inverno" && dt < 0.0))) {
        e.esclusa = true;
        m_c.aggiungi("bypass stagionale: recupero escluso (lavorerebbe contro la stagione)");
        return;
    }
    double et = 0.0;
    if (const auto eff = valore(s, "efficienza_t")) {
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
    const double ex = valore(s, "efficienza_x").value_or(0.0) / 100.0;
    if (ex < 0.0 || ex > 1.0) rifiuta(s, "l efficienza di umidità va da 0 a 100 %");
    const double t22 = in.t + et * dt;
    const double x22 = in.x + ex * (est.x - in.x);
    const StatoCompleto out = stato(t22, x22);
    m_c.controlla();
    const double rapporto_masse = ms / mx;
    const double h12 = est.h - rapporto_masse * (out.h - in.h);
    const double x12 = est.x - rapporto_masse * (x22 - in.x);
    if (x12 < 0.0) rifiuta(s, "il lato espulsione cederebbe più acqua di quanta ne abbia");
    const double t12 = t_da_x_h(x12, h12, aria());
    const StatoCompleto esp = stato(t12, x12);
    m_c.controlla();
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
    m_c.aggiungi("espulsione uscita");
    Rapporto& r = m_c.rapporto();
    scrivi_cinque_righe(r, esp.t, esp.ur, esp.x, esp.h, esp.v);
    e.espulsione_ingresso = est;
    e.espulsione_uscita = esp;
    if (sovrasaturo(esp.ur)) {
        const auto eq = equilibrio_nebbia(esp.t, esp.x, aria());
        const std::string testo = "ATTENZIONE: " + s.nome + ": condensa sul lato espulsione";
        m_c.aggiungi(testo);
        m_r.avvisi.push_back(testo);
        if (eq) {
            dato(e, "condensa_espulsione", acqua_kg_h(eq->acqua, mx), " kg/h", "condensa lato espulsione", 3);
            if (eq->t < 0.0 || esp.t < 0.0) {
                const std::string brina =
                    "ATTENZIONE: " + s.nome + ": rischio di brina sul lato espulsione (sotto 0 C con acqua liquida)";
                m_c.aggiungi(brina);
                m_r.avvisi.push_back(brina);
            }
        }
    }
    m_aria = out;
}

void Catena::miscela_ripresa(const Sezione& s, EsitoSezione& e) {
    const StatoCompleto in = m_aria, rip = m_ambiente;
    double mr = 0.0;
    if (const auto f = valore(s, "frazione_ripresa")) {
        if (*f < 0.0 || *f >= 1.0) rifiuta(s, "la frazione di ripresa va da 0 a meno di 1");
        mr = m_m * *f / (1.0 - *f);
    } else if (const auto v = valore(s, "portata_ripresa")) {
        if (*v < 0.0) rifiuta(s, "la portata di ripresa non può essere negativa");
        mr = *v / rip.v;
    } else if (const auto mm = valore(s, std::string("portata_ripresa") + std::string(suffisso_massica))) {
        if (*mm < 0.0) rifiuta(s, "la portata di ripresa non può essere negativa");
        mr = *mm;
    } else {
        // The mixture's temperature is the mass-weighted mean of the two: the return share follows from it.
        const double t = richiesto(s, "t_uscita");
        const double quota = rip.t == in.t ? (t == in.t ? 0.0 : -1.0) : (t - in.t) / (rip.t - in.t);
        if (!(quota >= 0.0 && quota < 1.0))
            rifiuta(s, "temperatura di miscela " + formatta(t, 0, 1) + " C non raggiungibile tra " +
                           formatta(in.t, 0, 1) + " C e " + formatta(rip.t, 0, 1) + " C");
        mr = m_m * quota / (1.0 - quota);
    }
    m_c.controlla();
    const Miscela mix = miscela(in.t, in.ur, m_m * in.v, rip.t, rip.ur, mr * rip.v, aria());
    // The mixture's humidity ratio is taken again from its relative humidity, as the mixing process does.
    const double xm = umidita_specifica(mix.ur, mix.t, aria());
    m_c.controlla();
    scrivi_stato_catena("ripresa", rip, mr);
    dato(e, "portata_ripresa", mr, " kg/h", "portata ripresa", 2);
    dato(e, "portata_ripresa_volumetrica", mr * rip.v, " mc/h", "portata ripresa volumetrica", 2);
    dato(e, "frazione_ripresa", mr / (mr + m_m), " ", "frazione ripresa", 3);
    m_m += mr;
    m_aria = stato(mix.t, xm);
}

void Catena::riscaldamento(const Sezione& s, EsitoSezione& e, bool ventilatore) {
    const StatoCompleto in = m_aria;
    double t2 = 0.0;
    if (const auto p = valore(s, "potenza")) {
        if (*p < 0.0) rifiuta(s, "la potenza non può essere negativa");
        t2 = t_da_x_h(in.x, in.h + *p * 3600.0 / m_m, aria());
    } else if (ventilatore) {
        const double dt = richiesto(s, "aumento_t");
        if (dt < 0.0) rifiuta(s, "l aumento di temperatura non può essere negativo");
        t2 = in.t + dt;
    } else {
        t2 = richiesto(s, "t_uscita");
        if (t2 < in.t)
            rifiuta(s, "temperatura di uscita " + formatta(t2, 0, 1) + " C sotto quella di ingresso (" +
                           formatta(in.t, 0, 1) + " C): una batteria di riscaldamento non raffredda");
    }
    m_c.controlla();
    if (t2 >= t_massima_stato) rifiuta(s, "temperatura di uscita oltre " + formatta(t_massima_stato, 0, 0) + " C");
    const Sensibile sen = trasformazione_sensibile(in.t, in.ur, m_m, t2, aria());
    m_c.controlla();
    dato(e, "salto_entalpico", sen.h2 - sen.h1, " kj/kg", "SALTO ENTALPICO", 2);
    dato(e, "potenza", sen.potenza, " kw", "POTENZA TERMICA", 3);
    if (!ventilatore) m_trattamento += sen.potenza;
    m_aria = stato(t2, in.x);
}

void Catena::raffreddamento(const Sezione& s, EsitoSezione& e) {
    const StatoCompleto in = m_aria;
    const double bf = richiesto(s, "fattore_bypass");
    if (!(bf >= 0.0 && bf < 1.0)) rifiuta(s, "il fattore di bypass va da 0 a meno di 1");
    double tb = 0.0;
    if (const auto t = valore(s, "t_batteria")) {
        tb = *t;
        if (tb > in.t) rifiuta(s, "la batteria è più calda dell aria e non può raffreddarla!");
    } else if (const auto t2 = valore(s, "t_uscita")) {
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
        double lo = tmin, hi = in.t;
        for (int n = 0; n < 200 && hi - lo > 1e-9; ++n) {
            const double mid = lo + (hi - lo) / 2.0;
            (uscita_batteria_bypass(in.t, in.x, mid, bf, aria()).x >= x2 ? hi : lo) = mid;
        }
        tb = x2 >= in.x ? std::min(in.t, in.rugiada.value_or(in.t)) : hi;
    }
    m_c.controlla();
    const Stato o = uscita_batteria_bypass(in.t, in.x, tb, bf, aria());
    const bool asciutta = batteria_asciutta(in.x, tb, aria());
    const StatoCompleto out = stato(o.t, o.x);
    m_c.controlla();
    // The condensate leaves at the coil's temperature, carrying 4.186 kJ/kg K of it.
    const double condensa = acqua_kg_h(in.x - out.x, m_m);
    const double q = potenza_kw(in.h - out.h, m_m) - condensa * 4.186 * tb / 3600.0;
    dato(e, "t_batteria", tb, " C", "temperatura batteria", 2);
    dato(e, "fattore_bypass", bf, " ", "fattore bypass", 3);
    dato(e, "potenza", -q, " kw", "POTENZA TERMICA", 3);
    dato(e, "potenza_frigorifera", q, " kw", "POTENZA FRIGORIFERA", 3);
    dato(e, "condensa", condensa, " kg/h", "PORTATA ACQUA CONDENSATA", 3);
    if (asciutta) m_c.aggiungi(std::string(riga_batteria_asciutta));
    m_trattamento -= q;
    m_aria = out;
}

void Catena::umidificatore_acqua(const Sezione& s, EsitoSezione& e) {
    const StatoCompleto in = m_aria;
    const double tw = richiesto(s, "t_acqua");
    if (tw < 0.0 || tw >= 100.0) rifiuta(s, "la temperatura dell acqua va da 0 a 100 C");
    const auto uscita = [&](double eff) { return umidificazione_adiabatica(in.t, in.ur, tw, eff, aria()); };
    double eff = 0.0;
    if (const auto v = valore(s, "efficienza")) {
        eff = *v;
        if (eff < 0.0 || eff > 100.0) rifiuta(s, "l efficienza va da 0 a 100 %");
    } else {
        // Relative humidity and humidity ratio at the outlet both rise with the efficiency: halve 0 … 100 on
        // the one targeted.
        const bool su_ur = ha(s, "ur_uscita");
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
        double lo = 0.0, hi = 100.0;
        for (int n = 0; n < 100 && hi - lo > 1e-9; ++n) {
            const double mid = lo + (hi - lo) / 2.0;
            (misura(mid) >= obiettivo ? hi : lo) = mid;
        }
        eff = hi;
    }
    m_c.controlla();
    const Stato o = uscita(eff);
    const StatoCompleto out = stato(o.t, o.x);
    m_c.controlla();
    dato(e, "t_acqua", tw, " C", "temperatura acqua", 1);
    dato(e, "efficienza", eff, " %", "efficienza", 2);
    dato(e, "acqua", acqua_kg_h(out.x - in.x, m_m), " kg/h", "PORTATA ACQUA", 3);
    m_aria = out;
}

void Catena::umidificatore_vapore(const Sezione& s, EsitoSezione& e) {
    const StatoCompleto in = m_aria;
    const double tv = richiesto(s, "t_vapore");
    double x2 = 0.0;
    if (const auto v = valore(s, "x_uscita")) {
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
        double lo = in.x, hi = umidita_saturazione(in.t + 30.0, aria());
        if (ur_uscita(hi) < ur) rifiuta(s, "umidità relativa di uscita non raggiungibile");
        for (int n = 0; n < 200 && hi - lo > 1e-10; ++n) {
            const double mid = lo + (hi - lo) / 2.0;
            (ur_uscita(mid) >= ur ? hi : lo) = mid;
        }
        x2 = hi;
    }
    m_c.controlla();
    const Stato o = umidificazione_vapore(in.t, in.x, tv, x2, aria());
    const StatoCompleto out = stato(o.t, o.x);
    m_c.controlla();
    dato(e, "t_vapore", tv, " C", "temperatura vapore", 1);
    dato(e, "vapore", acqua_kg_h(out.x - in.x, m_m), " kg/h", "PORTATA VAPORE", 3);
    m_aria = out;
}

// One entry a state, in order, joined by the chart; entry 10 the room. A section that leaves the air as it is
// adds no entry; a chain of more than nine states keeps its first eight and its last.
void Catena::punti_grafico() {
    std::vector<const StatoUta*> scelti;
    for (const StatoUta& s : m_r.stati)
        if (scelti.empty() || s.stato.t != scelti.back()->stato.t || s.stato.x != scelti.back()->stato.x)
            scelti.push_back(&s);
    if (scelti.size() > 9) scelti.erase(scelti.begin() + 8, scelti.end() - 1);
    m_c.azzera_etichette();
    int n = 1;
    for (const StatoUta* s : scelti)
        m_c.punto(n++, s->stato.t, s->stato.x, std::to_string(s->numero));
    m_c.punto(10, m_ambiente.t, m_ambiente.x, "A");
}

void Catena::calcola() {
    m_r = {};
    m_r.condizione = m_k.nome;
    m_ambiente = m_k.ambiente ? *m_k.ambiente : m_u.ambiente;
    m_r.ambiente = m_ambiente;
    m_aria = m_k.esterna;
    m_m = massa(m_u.portata_esterna, m_aria);
    m_c.controlla();
    if (!(m_m > 0.0)) m_c.impossibile("la portata di aria esterna deve essere sopra 0");

    m_c.aggiungi("       UNITA DI TRATTAMENTO ARIA");
    if (!m_u.nome.empty()) m_c.aggiungi("unita     : " + m_u.nome);
    m_c.aggiungi("condizione: " + m_k.nome + (m_k.stagione.empty() ? "" : " (" + m_k.stagione + ")"));
    scrivi_separatore(m_c.rapporto());
    scrivi_stato_catena("AMBIENTE (ripresa)", m_ambiente, std::nullopt);
    scrivi_separatore(m_c.rapporto());
    scrivi_stato_catena(" 0 ARIA ESTERNA", m_aria, m_m);
    m_r.stati.push_back({0, "ARIA ESTERNA", m_aria, m_m});

    const std::vector<Sezione> sezioni = sezioni_in_condizione(m_u, m_k);
    for (std::size_t i = 0; i < sezioni.size(); ++i) {
        const Sezione& s = sezioni[i];
        const int n = static_cast<int>(i + 1);
        const DescrizioneSezione& d = descrizione(s.tipo);
        EsitoSezione e;
        e.nome = s.nome;
        e.tipo = s.tipo;
        scrivi_separatore(m_c.rapporto());
        m_c.aggiungi(formatta(n, 2, 0) + " " + s.nome + " - " + std::string(d.titolo));
        e.attiva = valore(s, chiave_attiva).value_or(1.0) != 0.0;
        if (!e.attiva) {
            m_c.aggiungi("sezione non attiva");
        } else {
            switch (s.tipo) {
            case TipoSezione::recuperatore:
                recuperatore(s, e);
                break;
            case TipoSezione::miscela:
                miscela_ripresa(s, e);
                break;
            case TipoSezione::riscaldamento:
                riscaldamento(s, e, false);
                break;
            case TipoSezione::ventilatore:
                riscaldamento(s, e, true);
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
        scrivi_stato_catena(formatta(n, 2, 0) + " USCITA " + s.nome, m_aria, m_m);
        m_r.stati.push_back({n, s.nome, m_aria, m_m});
        m_r.sezioni.push_back(std::move(e));
    }
    scrivi_separatore(m_c.rapporto());
    if (m_con_recupero) {
        scrivi_dato(m_c.rapporto(), "POTENZA RECUPERATA", " kw", 10, 3, m_recuperata);
        // The recovered power's share of the treatment in its own direction: recovery plus the coils that heat
        // (or cool) the air the same way.
        const double totale = m_recuperata + m_trattamento;
        if (m_recuperata != 0.0 && totale != 0.0 && (m_recuperata > 0.0) == (totale > 0.0)) {
            double stesso_verso = m_recuperata;
            for (const EsitoSezione& e : m_r.sezioni)
                for (const DatoSezione& d : e.dati)
                    if (d.chiave == "potenza" && e.tipo != TipoSezione::ventilatore &&
                        (d.valore > 0.0) == (m_recuperata > 0.0))
                        stesso_verso += d.valore;
            scrivi_dato(m_c.rapporto(), "quota recuperata del trattamento", " %", 10, 1,
                        m_recuperata / stesso_verso * 100.0);
        }
    }
    for (const std::string& a : m_r.avvisi)
        m_c.aggiungi(a);
    punti_grafico();
    VistaGrafico vista = VistaGrafico::standard;
    for (const StatoUta& s : m_r.stati)
        if (s.stato.t < -5.0 || s.stato.t > 50.0 || s.stato.x > 30.0) vista = VistaGrafico::invernale;
    m_c.apri_grafico(vista);
}

} // namespace

const std::vector<DescrizioneSezione>& descrizioni_sezioni() {
    return tabella_sezioni;
}

const DescrizioneSezione& descrizione(TipoSezione t) {
    return tabella_sezioni.at(static_cast<std::size_t>(t));
}

std::optional<TipoSezione> tipo_sezione_da_nome(std::string_view nome) {
    for (const DescrizioneSezione& d : tabella_sezioni)
        if (d.nome == nome) return d.tipo;
    return std::nullopt;
}

Fatto controlla_sezione(const Sezione& s) {
    const DescrizioneSezione& d = descrizione(s.tipo);
    for (const auto& [chiave, v] : s.valori) {
        std::string_view k = chiave;
        if (k.ends_with(suffisso_massica)) k.remove_suffix(suffisso_massica.size());
        if (k == chiave_attiva) continue;
        const bool nota = std::any_of(d.chiavi.begin(), d.chiavi.end(), [&, &data = chiave](const ChiaveSezione& c) {
            return c.chiave == k && (k == data || c.unita == "m3/h");
        });
        if (!nota) return Errore{Causa::dati, "chiave \"" + chiave + "\" sconosciuta per " + std::string(d.nome)};
        if (!std::isfinite(v)) return Errore{Causa::dati, "\"" + chiave + "\" non è un numero"};
    }
    // A section switched off needs no duty.
    if (valore(s, chiave_attiva).value_or(1.0) == 0.0) return {};
    std::string alternative;
    int date = 0;
    for (const ChiaveSezione& c : d.chiavi) {
        const bool data =
            ha(s, c.chiave) || (c.unita == "m3/h" && ha(s, std::string(c.chiave) + std::string(suffisso_massica)));
        if (c.ruolo == RuoloChiave::obbligatoria && !data)
            return Errore{Causa::dati, "manca la chiave \"" + std::string(c.chiave) + "\" (" +
                                           std::string(c.descrizione) + ") per " + std::string(d.nome)};
        if (c.ruolo == RuoloChiave::alternativa) {
            date += data ? 1 : 0;
            alternative += (alternative.empty() ? "" : ", ") + std::string(c.chiave);
        }
    }
    if (!alternative.empty() && date != 1)
        return Errore{Causa::dati, std::string(date == 0 ? "manca" : "va data una sola") + " tra le chiavi " +
                                       alternative + " per " + std::string(d.nome)};
    return {};
}

std::vector<Sezione> sezioni_in_condizione(const Uta& u, const Condizione& k) {
    std::vector<Sezione> r = u.sezioni;
    for (Sezione& s : r)
        if (const auto i = k.sezioni.find(s.nome); i != k.sezioni.end()) s.valori = i->second;
    return r;
}

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

Esito<const Condizione*> trova_condizione(const Uta& u, std::string_view nome) {
    std::string nomi;
    for (const Condizione& k : u.condizioni) {
        if (k.nome == nome) return &k;
        nomi += (nomi.empty() ? "" : ", ") + k.nome;
    }
    return Errore{Causa::dati, "condizione \"" + std::string(nome) + "\" non trovata (condizioni: " + nomi + ")"};
}

} // namespace ondix
