#include "ui/geometria.h"

#include <algorithm>
#include <cmath>

namespace ondix {

int arrotonda(double x) {
    const double base = std::floor(x);
    const double resto = x - base;
    double r = base;
    if (resto > 0.5 || (resto == 0.5 && std::fmod(base, 2.0) != 0.0)) r = base + 1.0;
    return static_cast<int>(r);
}

LayoutPrincipale layout_principale(DimensioniSchermo s) {
    const int sw = s.larghezza, sh = s.altezza;
    LayoutPrincipale l;
    l.b = arrotonda(sw * 0.6);
    l.h = arrotonda(sh * 0.055);
    l.g = arrotonda(l.h / 4.5);
    l.immagine.width = arrotonda(sw * 0.9);
    l.immagine.height = arrotonda(sh * 0.8);
    l.immagine.top = 1;
    l.immagine.left = (sw - l.immagine.width) / 2;
    int top = l.immagine.top;
    const int left = (sw - l.b) / 2;
    for (Rettangolo& r : l.colonna) {
        r = {left, top, l.b, l.h};
        top += l.h + l.g;
    }
    // In the room the column leaves below itself: a row of the column's height, half its width, on the right.
    const int mezzo = (l.b - l.g) / 2;
    l.diagramma = {left + l.b - mezzo, top, mezzo, l.h};
    // The right column keeps a gap's width from the screen's right edge (at these proportions it would end a few
    // pixels past it).
    const int dw = arrotonda(l.b * 0.25), dh = arrotonda(l.h * 1.6);
    const int dleft = std::min(left + l.b + arrotonda(l.b / 10.0), sw - l.g - dw);
    top = arrotonda(sh / 5.0);
    for (Rettangolo& r : l.destra) {
        r = {dleft, top, dw, dh};
        top += dh + l.g;
    }
    l.pressione = {dleft, top, dw, dh};
    l.modello = {dleft, top + dh + l.g, dw, dh};
    return l;
}

LayoutMaschera layout_maschera(DimensioniSchermo s) {
    const int sw = s.larghezza, sh = s.altezza;
    LayoutMaschera l;
    l.lw = arrotonda(sw * 0.48);
    l.bw = arrotonda(sw * 0.18);
    l.ew = arrotonda(l.lw * 0.4);
    l.bh = arrotonda(sh * 0.08);
    l.th = sh / 20;
    l.punti = sw == 800 ? 14 : sw > 800 ? 16 : 12;
    l.punti_gruppi = l.punti - 3;

    const int riga = arrotonda((sh - l.bh * 1.95) * 0.7);
    l.calcola = {2, riga, l.bw, l.bh};
    l.stampa = {l.calcola.left + l.calcola.width + 3, riga, l.bw, l.bh};
    l.uscita = {l.stampa.left + l.stampa.width + 3, riga, l.bw, l.bh};
    const int w1 = arrotonda(l.bw * 1.1);
    l.umidita = {l.uscita.left + l.uscita.width + 3, riga, w1, l.bh};
    l.portata = {l.umidita.left + l.umidita.width + 3, riga, arrotonda(w1 * 1.15), l.bh};

    int top = 10;
    for (std::size_t i = 0; i < l.etichette.size(); ++i) {
        l.etichette[i] = {2, top, l.lw, l.th};
        l.caselle[i] = {2 + l.lw + 5, top, l.ew, l.th};
        top += l.th + 2;
    }
    return l;
}

LayoutRapporto layout_rapporto(DimensioniSchermo s) {
    const int sw = s.larghezza, sh = s.altezza;
    LayoutRapporto l;
    // Below 800 pixels the buttons keep a readable 10 points, like the 800-pixel screen.
    const int fs = sw > 800 ? 12 : 10;
    l.finestra = {1, 1, sw, sh};
    l.testo = {2, arrotonda(sh * 0.01), arrotonda(sw * 0.95), arrotonda(sh * 0.75)};
    l.punti_testo = sw >= 800 ? fs + 5 : 8;
    l.punti_pulsanti = fs;
    const int top = l.testo.top + l.testo.height + 3, w = arrotonda(sw * 0.25), h = arrotonda(sh * 0.05);
    l.stampa = {arrotonda(sw * 0.12), top, w, h};
    l.uscita = {l.stampa.left + w + 5, top, w, h};
    l.salva = {l.uscita.left + w + 5, top, w, h};
    return l;
}

} // namespace ondix
