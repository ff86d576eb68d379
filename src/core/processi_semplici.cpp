// The single-treatment processes: mixing, sensible heating or cooling, humidification with water or steam and
// cooling with condensation. Each reads its boxes when it needs them, writes its report and chart points and
// ends with the standard chart.
#include "core/aria_umida.h"
#include "core/computazioni.h"
#include "core/numeri.h"

namespace ondix {

namespace {
// Humidity ratio (g/kg) and relative humidity (%) of a state from the humidity box value `u`, as RadioGroup1 says.
struct Umidita {
    double x, ur;
};
Umidita umidita_da_maschera(const Calcolo& c, double u, double t) {
    if (c.umidita() == 1) return {u, umidita_relativa(u, t, c.aria())};
    return {umidita_specifica(u, t, c.aria()), u};
}

// A state given by the temperature in box n and the humidity in box n + 1 (as RadioGroup1 says): refused when no
// air can have it.
void verifica_stato(Calcolo& c, int n, double t, double u) {
    verifica_temperatura(c, n, t);
    verifica_umidita(c, n + 1, u, t, c.umidita() == 1);
}
} // namespace

void miscelazione(Calcolo& c) {
    c.aggiungi("       MISCELAZIONE");
    const double t1 = c.leggi(1);
    const double h1 = c.leggi(2);
    const double f1 = c.leggi(3);
    const double t2 = c.leggi(4);
    const double h2 = c.leggi(5);
    const double f2 = c.leggi(6);
    verifica_stato(c, 1, t1, h1);
    verifica_portata(c, 3, f1);
    verifica_stato(c, 4, t2, h2);
    verifica_portata(c, 6, f2);

    // The checks between the steps stop at the first faulty step, so that the error shown is the one that
    // happened first.
    const Umidita u1 = umidita_da_maschera(c, h1, t1);
    c.controlla();
    const Umidita u2 = umidita_da_maschera(c, h2, t2);
    c.controlla();
    const double v1 = volume_specifico(t1, u1.x, c.aria());
    c.controlla();
    const double v2 = volume_specifico(t2, u2.x, c.aria());
    c.controlla();
    double m1 = 0.0, m2 = 0.0, V1 = 0.0, V2 = 0.0;
    if (c.portata() == 1) {
        m1 = f1;
        m2 = f2;
        V1 = m1 * v1;
        V2 = m2 * v2;
    } else {
        V1 = f1;
        V2 = f2;
        m1 = V1 / v1;
        m2 = V2 / v2;
    }
    c.controlla();
    // Two zero flows make the mixture 0/0: the next check stops the calculation there, with only the title written.
    const Miscela mix = miscela(t1, u1.ur, V1, t2, u2.ur, V2, c.aria());

    Rapporto& r = c.rapporto();
    c.aggiungi("        punto 1");
    scrivi_punto_ur(r, t1, u1.ur, c.aria());
    c.aggiungi("portata ponderale  :" + formatta(m1, 6, 1) + " kg/h");
    c.aggiungi("portata volumetrica:" + formatta(V1, 6, 1) + " mc/h");
    c.risultato("portata_1_kg_h", m1);
    c.risultato("portata_1_m3_h", V1);
    c.aggiungi("        punto 2");
    scrivi_punto_ur(r, t2, u2.ur, c.aria());
    c.aggiungi("portata ponderale  :" + formatta(m2, 6, 1) + " kg/h");
    c.aggiungi("portata volumetrica:" + formatta(V2, 6, 1) + " mc/h");
    c.risultato("portata_2_kg_h", m2);
    c.risultato("portata_2_m3_h", V2);
    c.aggiungi("        punto M");
    scrivi_punto_ur(r, mix.t, mix.ur, c.aria());

    // The mixture's humidity ratio is taken again from its relative humidity, as the chart point uses it.
    const double xM = umidita_specifica(mix.ur, mix.t, c.aria());
    const double m = m1 + m2;
    segnala_nebbia(c, "        punto M", mix.t, xM, m);
    const double vM = volume_specifico(mix.t, xM, c.aria());
    const double V = m * vM;
    c.aggiungi("------------------");
    c.aggiungi("portata ponderale  :" + formatta(m, 6, 2) + " kg/h");
    c.aggiungi("portata volumetrica:" + formatta(V, 6, 2) + " mc/h");
    c.risultato("portata_kg_h", m);
    c.risultato("portata_m3_h", V);

    c.punto(1, t1, u1.x, "E");
    c.punto(2, t2, u2.x, "A");
    c.punto(3, mix.t, xM, "M");
    c.apri_grafico(VistaGrafico::standard);
}

void riscaldamento_raffreddamento(Calcolo& c) {
    const double t1 = c.leggi(1);
    const double h1 = c.leggi(2);
    const Umidita u1 = umidita_da_maschera(c, h1, t1);
    c.controlla();
    const double m = converti_portata(c, c.testo(3), t1, u1.x);
    const double t2 = c.leggi(4);
    c.controlla();
    verifica_stato(c, 1, t1, h1);
    verifica_portata(c, 3, m);
    verifica_temperatura(c, 4, t2);
    const Sensibile s = trasformazione_sensibile(t1, u1.ur, m, t2, c.aria());

    Rapporto& r = c.rapporto();
    c.aggiungi("       RISCALDAMENTO SENSIBILE");
    c.aggiungi("       INGRESSO");
    scrivi_punto_ur(r, t1, u1.ur, c.aria());
    c.aggiungi("       USCITA");
    scrivi_punto_x(r, t2, u1.x, c.aria());
    segnala_nebbia(c, "       USCITA", t2, u1.x, m);
    scrivi_dato(r, "SALTO ENTALPICO", " kj/kg", 10, 2, s.h2 - s.h1);
    scrivi_dato(r, "PORTATA  ", " kg/h", 10, 3, m);
    scrivi_dato(r, "POTENZA TERMICA", " kw", 10, 3, s.potenza);
    c.risultato("salto_entalpico_kJ_kg", s.h2 - s.h1);
    c.risultato("portata_kg_h", m);
    c.risultato("potenza_kW", s.potenza);

    c.azzera_etichette();
    c.punto(1, t1, u1.x, "I");
    c.punto(2, t2, s.x, "U");
    c.apri_grafico(VistaGrafico::standard);
}

void umidificazione_acqua(Calcolo& c) {
    const double t1 = c.leggi(1);
    const double h1 = c.leggi(2);
    const double tw = c.leggi(3);
    const double eff = c.leggi(4);
    const Umidita u1 = umidita_da_maschera(c, h1, t1);
    c.controlla();
    verifica_stato(c, 1, t1, h1);
    verifica_temperatura(c, 3, tw);
    verifica_intervallo(c, 4, eff, 0.0, 100.0);
    const Stato u = umidificazione_adiabatica(t1, u1.ur, tw, eff, c.aria());

    Rapporto& r = c.rapporto();
    c.aggiungi("    UMIDIFICAZIONE CON ACQUA");
    c.aggiungi("temperatura acqua umidificazione:" + formatta(tw, 7, 1));
    c.aggiungi("Efficienza % umidificazione     :" + formatta(eff, 7, 1));
    c.aggiungi("INGRESSO");
    scrivi_punto_x(r, t1, u1.x, c.aria());
    c.aggiungi("USCITA");
    scrivi_punto_x(r, u.t, u.x, c.aria());
    segnala_nebbia(c, "USCITA", u.t, u.x);
    scrivi_dato(r, "Salto di umidità specifica", "g/kg", 7, 3, u.x - u1.x);
    c.risultato("salto_umidita_g_kg", u.x - u1.x);

    // Named as the report names them, so that the chart's marks are explained like every other kind's.
    c.punto(1, t1, u1.x, "I");
    c.punto(2, u.t, u.x, "U");
    c.apri_grafico(VistaGrafico::standard);
}

void raffreddamento_condensazione(Calcolo& c) {
    const double t = c.leggi(1);
    const double h = c.leggi(2);
    const double f = c.leggi(3);
    const double tb = c.leggi(4);
    const double bf = c.leggi(5);
    const Umidita u = umidita_da_maschera(c, h, t);
    c.controlla();
    verifica_stato(c, 1, t, h);
    verifica_portata(c, 3, f);
    verifica_temperatura(c, 4, tb);
    if (tb > t) rifiuta(c, 4, "la batteria è più calda dell aria e non può raffreddarla!");
    verifica_intervallo(c, 5, bf, 0.0, 1.0);
    const double v = volume_specifico(t, u.x, c.aria());
    c.controlla();
    double V = 0.0, m = 0.0;
    if (c.portata() == 1) {
        m = f;
        V = f * v;
    } else {
        V = f;
        m = f / v;
    }
    c.controlla();
    const Stato o = uscita_batteria_bypass(t, u.x, tb, bf, c.aria());
    const bool asciutta = batteria_asciutta(u.x, tb, c.aria());
    c.controlla();
    const double ur2 = umidita_relativa(o.x, o.t, c.aria());

    Rapporto& r = c.rapporto();
    c.aggiungi("    RAFFREDDAMENTO CONDENSATIVO");
    c.aggiungi("temperatura batteria:" + formatta(tb, 7, 1) + " C");
    scrivi_dato(r, "fattore bypass", " ", 10, 3, bf);
    scrivi_dato(r, "PORTATA VOLUMETRICA", " mc/h", 10, 1, V);
    scrivi_dato(r, "PORTATA PONDERALE", " kg/h", 10, 1, m);
    c.aggiungi("         INGRESSO");
    scrivi_punto_ur(r, t, u.ur, c.aria());
    c.aggiungi("         USCITA");
    scrivi_punto_ur(r, o.t, ur2, c.aria());
    segnala_nebbia(c, "         USCITA", o.t, o.x, m);
    scrivi_dato(r, "Salto di umidità specifica", "g/kg", 7, 3, u.x - o.x);
    scrivi_dato(r, "PORTATA ACQUA CONDENSATA", "kg/h", 7, 3, (u.x - o.x) * m / 1000.0);
    c.risultato("fattore_bypass", bf);
    c.risultato("portata_m3_h", V);
    c.risultato("portata_kg_h", m);
    c.risultato("salto_umidita_g_kg", u.x - o.x);
    c.risultato("condensa_kg_h", (u.x - o.x) * m / 1000.0);
    if (asciutta) c.aggiungi(std::string(riga_batteria_asciutta));

    c.azzera_etichette();
    c.punto(3, t, u.x, "I");
    c.punto(2, o.t, o.x, "U");
    c.punto(1, tb, umidita_saturazione(tb, c.aria()), "B");
    c.apri_grafico(VistaGrafico::standard);
}

void umidificazione_con_vapore(Calcolo& c) {
    const double t1 = c.leggi(1);
    const double x1 = c.leggi(2);
    const double tv = c.leggi(3);
    const double x2 = c.leggi(4);
    verifica_temperatura(c, 1, t1);
    verifica_umidita(c, 2, x1, t1, true);
    if (x2 < x1) rifiuta(c, 4, "il vapore non può togliere acqua: l umidità finale è inferiore a quella iniziale!");
    const Stato u = umidificazione_vapore(t1, x1, tv, x2, c.aria());

    Rapporto& r = c.rapporto();
    c.aggiungi("    UMIDIFICAZIONE CON VAPORE");
    c.aggiungi("temperatura vapore:" + formatta(tv, 7, 1) + " C");
    c.aggiungi("INGRESSO");
    scrivi_punto_x(r, t1, x1, c.aria());
    c.aggiungi("USCITA");
    scrivi_punto_x(r, u.t, u.x, c.aria());
    segnala_nebbia(c, "USCITA", u.t, u.x);
    scrivi_dato(r, "Salto di umidità specifica", "g/kg", 7, 3, u.x - x1);
    c.risultato("salto_umidita_g_kg", u.x - x1);

    c.punto(1, t1, x1, "I");
    c.punto(2, u.t, u.x, "U");
    c.apri_grafico(VistaGrafico::standard);
}

} // namespace ondix
