#include "core/aria_umida.h"
#include "core/computazioni.h"
#include "core/numeri.h"

namespace ondix {

void proprieta_punto(Calcolo& c) {
    c.azzera_etichette();
    const double t = c.leggi(1);
    const double u = c.leggi(2);
    verifica_temperatura(c, 1, t);
    const double xs = umidita_saturazione(t, c.aria());
    double x = 0.0, ur = 0.0;
    if (c.umidita() == 1) {
        x = u;
        ur = umidita_relativa(u, t, c.aria());
        if (u > xs) {
            c.messaggio("umidità specifica superiore a quella limite!(=" + formatta(xs, 5, 2) + ")");
            return;
        }
    } else {
        ur = u;
        x = umidita_specifica(u, t, c.aria());
        if (u > 100) {
            c.messaggio("l umidità relativa non può essere maggiore di 100!");
            return;
        }
    }
    verifica_umidita(c, 2, u, t, c.umidita() == 1);
    c.aggiungi("       PROPRIETA DEL PUNTO");
    scrivi_punto_ur(c.rapporto(), t, ur, c.aria());
    const double twb = temperatura_bulbo_umido(x, t, c.aria());
    c.aggiungi("temperatura bulbo umido :" + formatta(twb, 5, 2) + " C");
    const std::optional<double> tdp = temperatura_rugiada(ur, t, c.aria());
    // Air too dry to have a dew point in the search range says so; its chart has no point R.
    c.aggiungi("temperatura rugiada     :" + (tdp ? formatta(*tdp, 5, 2) + " C" : std::string(" non definita")));
    c.risultati().con_rugiada = true;
    c.risultati().rugiada = tdp;
    c.risultato("t_C", t);
    c.risultato("ur_pct", ur);
    c.risultato("x_g_kg", x);
    c.risultato("h_kJ_kg", entalpia(x, t, c.aria()));
    c.risultato("v_m3_kg", volume_specifico(t, x, c.aria()));
    c.risultato("t_bulbo_umido_C", twb);
    c.punto(1, t, x, "P");
    if (tdp) c.punto(2, *tdp, x, "R");
    c.punto(3, twb, umidita_saturazione(twb, c.aria()), "BU");
    c.apri_grafico(VistaGrafico::punto);
}

} // namespace ondix
