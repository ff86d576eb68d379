// The choices the program remembers from one run to the next (the chart's layers, the readout, the folder
// charts are saved in), in the user's settings file, or in a file of the caller's choosing (tests).
#pragma once

#include "chart/opzioni_grafico.h"

#include <QString>

namespace ondix {

class Impostazioni {
public:
    // From now on the settings live in the INI file `percorso`; an empty path gives the user's own settings back.
    static void usa_file(const QString& percorso);

    // The chart layers last chosen (all off at first).
    static OpzioniGrafico strati();
    static void salva_strati(const OpzioniGrafico& o);
    // The state under the mouse shown over the chart (off at first).
    static bool lettura();
    static void salva_lettura(bool on);
    // The folder the last chart picture went to (empty at first).
    static QString cartella_immagini();
    static void salva_cartella_immagini(const QString& cartella);
};

} // namespace ondix
