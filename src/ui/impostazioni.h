// What the desktop program remembers from one run to the next: the inputs of the last calculation of each
// process kind and the folder the report was last saved in.
#pragma once

#include "core/maschera.h"

#include <QString>

#include <memory>

class QSettings;

namespace ondix {

class Impostazioni {
public:
    // The user's settings file, or the one named by usa_file.
    Impostazioni();
    ~Impostazioni();
    Impostazioni(const Impostazioni&) = delete;
    Impostazioni& operator=(const Impostazioni&) = delete;

    // From now on every Impostazioni reads and writes `percorso` (an INI file); an empty name goes back to the
    // user's own settings. For tests.
    static void usa_file(const QString& percorso);

    // The ten box texts and the two options of the form of `tipo` as its last calculation read them.
    void ricorda_dati(TipoProcesso tipo, const StatoMaschera& m);
    // Puts them back into `m`; false (and `m` unchanged) when no calculation of the kind is remembered.
    bool richiama_dati(TipoProcesso tipo, StatoMaschera& m) const;

    // The folder the report was last saved in; empty at first.
    QString cartella_rapporto() const;
    void ricorda_cartella_rapporto(const QString& cartella);

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace ondix
