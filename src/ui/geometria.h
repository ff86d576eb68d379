// Window geometry as pure functions of the screen size: every window lays itself out from these.
#pragma once

#include <array>
#include <cstdint>

namespace ondix {

// The screen size as the windows record it: width and height in pixels, 16-bit.
struct DimensioniSchermo {
    std::uint16_t larghezza = 0;
    std::uint16_t altezza = 0;
};

// Nearest integer, halves to the even one (2.5 → 2, 3.5 → 4, −2.5 → −2).
int arrotonda(double x);

struct Rettangolo {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rettangolo&) const = default;
};

// Main window: picture, the ten process buttons top to bottom, then "&USCITA", "ALTEZZA S.L.M.", "? INFO".
struct LayoutPrincipale {
    int b = 0, h = 0, g = 0; // button width, button height, gap
    Rettangolo immagine;
    std::array<Rettangolo, 10> colonna;
    std::array<Rettangolo, 3> destra;
    Rettangolo pressione; // under "? INFO": the site pressure, when one is in use
    Rettangolo modello;   // under the pressure: the model of moist air, when one is chosen
    Rettangolo diagramma; // below the main column, its right half: the working chart
    int punti = 10;       // button font size
};
LayoutPrincipale layout_principale(DimensioniSchermo s);

// Input form: labels and boxes 1–10, then the button row "CALCOLA", "STAMPA", "&USCITA" and the two option
// groups.
struct LayoutMaschera {
    int lw = 0, bw = 0, ew = 0, bh = 0, th = 0;
    std::array<Rettangolo, 10> etichette;
    std::array<Rettangolo, 10> caselle;
    Rettangolo calcola, stampa, uscita, umidita, portata;
    int punti = 0;        // every control but the option groups
    int punti_gruppi = 0; // the option groups
};
LayoutMaschera layout_maschera(DimensioniSchermo s);

// Report window: the text box and "&Stampa", "&Uscita", "SALVA SU FILE WORD".
struct LayoutRapporto {
    Rettangolo finestra, testo, stampa, uscita, salva;
    int punti_testo = 0;    // report font
    int punti_pulsanti = 0; // buttons
};
LayoutRapporto layout_rapporto(DimensioniSchermo s);

} // namespace ondix
