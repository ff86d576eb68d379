// What the desktop program remembers from one run to the next: the inputs of the last calculation of each
// process kind, the folder the report was last saved in, the chart window's layers, readout and picture folder,
// and the site pressure and the model of moist air the calculations use.
#pragma once

#include "chart/opzioni_grafico.h"
#include "core/documento.h"
#include "core/esito.h"
#include "core/maschera.h"
#include "core/modello.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

class QSettings;

namespace ondix {

class Impostazioni {
public:
    // The user's settings file, or the one named by usa_file. A file that cannot be read (not a regular file, no
    // permission) is not opened: the run starts from the defaults and keeps its choices in memory. A file that
    // cannot be read or written is reported to the user once per run, with a warning box.
    Impostazioni();
    ~Impostazioni();
    Impostazioni(const Impostazioni&) = delete;
    Impostazioni& operator=(const Impostazioni&) = delete;

    // From now on every Impostazioni reads and writes `percorso` (an INI file); an empty name goes back to the
    // user's own settings. A problem with the new file is reported again. For tests.
    static void usa_file(const QString& percorso);
    // The settings file: the one usa_file named, else ~/.config/ondix/ondix.conf (under $XDG_CONFIG_HOME).
    static QString file();

    // The ten box texts and the two options of the form of `tipo` as its last calculation read them.
    void ricorda_dati(TipoProcesso tipo, const StatoMaschera& m);
    // Puts them back into `m`; false (and `m` unchanged) when no calculation of the kind is remembered.
    bool richiama_dati(TipoProcesso tipo, StatoMaschera& m) const;

    // The folder the report was last saved in; empty at first.
    QString cartella_rapporto() const;
    void ricorda_cartella_rapporto(const QString& cartella);

    // The chart layers last chosen (all off at first; the pressure and the title line are not kept).
    OpzioniGrafico strati() const;
    void ricorda_strati(const OpzioniGrafico& o);
    // The occupants and limit of the chart's comfort zone, whether or not it is shown (at first 1.2 met, 0.5 clo,
    // 0.1 m/s, |PMV| 0.5); values out of the dialog's ranges read as the defaults.
    ZonaComfort zona_comfort() const;
    void ricorda_zona_comfort(const ZonaComfort& z);
    // The state under the mouse shown over the chart (off at first).
    bool lettura() const;
    void ricorda_lettura(bool on);
    // The folder the last chart picture was saved in; empty at first.
    QString cartella_immagini() const;
    void ricorda_cartella_immagini(const QString& cartella);

    // The site pressure the calculations use, Pa; nullopt for the program's fixed pressure (also when the stored
    // value is not a usable pressure).
    std::optional<double> pressione_sito() const;
    // Remembers the site pressure, and the altitude it came from (m) when known; nullopt forgets them.
    void ricorda_pressione_sito(std::optional<double> p, std::optional<double> quota = std::nullopt);
    // The altitude of the remembered site pressure, m, when it came from one (within the altitude table).
    std::optional<double> quota_sito() const;
    // The model of moist air chosen for the calculations; nullptr for the program's correlations (also when the
    // stored word names no model).
    const ModelloAria* modello() const;
    // Remembers the model; nullptr forgets it.
    void ricorda_modello(const ModelloAria* m);
    // The title block of the last report exported as PDF: project, site, author and revision (not its date, nor
    // the altitude, which is the site pressure's).
    Intestazione intestazione() const;
    void ricorda_intestazione(const Intestazione& i);
    QString progetto() const { return QString::fromStdString(intestazione().progetto); }
    // The calculation files last saved or opened, the latest first (at most calcoli_recenti_massimi).
    QStringList calcoli_recenti() const;
    // Puts `percorso` first among them.
    void ricorda_calcolo_recente(const QString& percorso);
    static constexpr int calcoli_recenti_massimi = 8;

    // The files of air-handling units last opened or saved, the latest first (at most eight).
    QStringList file_uta_recenti() const;
    // Puts `percorso` first among them.
    void ricorda_file_uta(const QString& percorso);

private:
    QVariant valore(const QString& chiave, const QVariant& predefinito = {}) const;
    void imposta(const QString& chiave, const QVariant& v);
    void rimuovi(const QString& chiave);
    // Writes what was set to the file; a failure is reported (once per run).
    void salva();
    Fatto scrivi();

    // nullptr when the file cannot be read: the settings of the run are then kept in memory.
    std::unique_ptr<QSettings> m_settings;
};

} // namespace ondix
