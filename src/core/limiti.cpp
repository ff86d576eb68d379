// The physical range of the inputs: a value no plant can have stops the calculation before anything is computed,
// with a message that names the box by its label.
#include "core/aria_umida.h"
#include "core/computazioni.h"
#include "core/modello.h"
#include "core/numeri.h"
#include "core/stato_aria.h"

namespace ondix {

// "<label>: <testo>": the label of box n without its colon and without repeated blanks.
void rifiuta(Calcolo& c, int n, const std::string& testo) {
    std::string nome;
    for (const char ch : c.etichetta(n)) {
        if (ch == ' ' && (nome.empty() || nome.back() == ' ')) continue;
        nome += ch;
    }
    while (!nome.empty() && (nome.back() == ' ' || nome.back() == ':'))
        nome.pop_back();
    c.impossibile(nome + ": " + testo);
}

void verifica_temperatura(Calcolo& c, int n, double t) {
    c.controlla();
    if (const Fatto f = temperatura_ammessa(t, c.aria()); !f) rifiuta(c, n, f.errore().testo);
}

Fatto temperatura_ammessa(double t, Aria aria) {
    // A model chosen explicitly is valid only over its own range; the correlations end at the boiling point.
    if (aria.modello)
        if (Fatto f = aria.modello->nel_campo(t, aria.pressione); !f) return f;
    if (pressione_saturazione(t, aria) >= aria.pressione) return Errore{Causa::impianto, testo_ebollizione(aria)};
    return {};
}

std::string testo_ebollizione(Aria a) {
    const std::optional<double> tb = temperatura_saturazione(a.pressione, a);
    return "oltre l ebollizione dell acqua (" + (tb ? formatta(*tb, 0, 2) : std::string("?")) + " C a " +
           formatta(a.pressione, 0, 0) + " Pa)!";
}

void verifica_umidita(Calcolo& c, int n, double u, double t, bool specifica) {
    c.controlla();
    if (u < 0) rifiuta(c, n, "l umidità non può essere negativa!");
    if (!specifica) {
        if (u > 100) rifiuta(c, n, "l umidità relativa non può essere maggiore di 100!");
        return;
    }
    const double xs = umidita_saturazione(t, c.aria());
    if (u > xs) rifiuta(c, n, "umidità specifica superiore a quella limite!(=" + formatta(xs, 5, 2) + ")");
}

void verifica_intervallo(Calcolo& c, int n, double v, double minimo, double massimo) {
    c.controlla();
    if (v < minimo || v > massimo)
        rifiuta(c, n,
                "il valore deve essere compreso fra " + formatta(minimo, 0, 0) + " e " + formatta(massimo, 0, 0) + "!");
}

void verifica_portata(Calcolo& c, int n, double f) {
    c.controlla();
    if (f < 0) rifiuta(c, n, "la portata non può essere negativa!");
}

} // namespace ondix
