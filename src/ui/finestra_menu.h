// The main window: the menu of processes, the altitude dialog, and the start of every calculation.
#pragma once

#include "core/calcolo.h"
#include "core/file_calcolo.h"
#include "ui/esterno_qt.h"
#include "ui/finestra_rapporto.h"
#include "ui/geometria.h"

#include <QString>
#include <QWidget>

#include <array>
#include <memory>

class QAbstractButton;
class QIcon;
class QLabel;
class QMenu;

namespace ondix {

class ModelloSito;
class PressioneSito;

class FinestraMenu : public QWidget {
public:
    // `cartella_programma` ends in a path separator; it holds the background picture and receives "patm.txt".
    FinestraMenu(const QString& cartella_programma, DimensioniSchermo schermo, QWidget* parent = nullptr);

    // The report window shown at the end of every calculation. Without one set here, the main window makes its
    // own at the first calculation.
    void imposta_rapporto(FinestraRapporto* finestra) { m_rapporto_esterno = finestra; }
    FinestraRapporto* rapporto();
    // The chart window that serves the chart requests.
    void imposta_grafico(EsternoQt::ApriGrafico apri) {
        m_apri_grafico = apri;
        m_esterno.imposta_grafico(std::move(apri));
    }

    void aggiusta(); // layout at creation
    void inizia();   // full screen again (after every dialog it opened)

    // A process button: sets the process kind and shows a new input form for it modally.
    void apri_maschera(TipoProcesso tipo);
    // Opens a calculation file in a new input form of its kind, modally; a message when the file cannot be used.
    // False when it could not be opened.
    bool apri_calcolo(const QString& percorso);
    // "Apri calcolo..." in the context menu (Ctrl+O): asks for the file.
    void scegli_calcolo();
    void chiedi_altitudine(); // altitude → "patm.txt" (or the user's data directory) and the pressure message
    void informazioni();      // "manuale sul testo"
    void chiudi();            // ends the program
    // The context menu's "Unità di trattamento aria" (Ctrl+U): the unit window, modal, with the chart and report
    // windows of the processes.
    void apri_uta();
    // "DIAGRAMMA LIBERO" below the column, and the context menu's "Diagramma libero..." (Ctrl+D): the working
    // chart's window, modal, in the air of the calculations; with the working chart of `file` when given.
    void apri_diagramma(const FileCalcolo* file = nullptr, const QString& percorso = {});

    const Contesto& contesto() const { return m_ctx; }
    // The site pressure: its question after the altitude tool, its button on the menu.
    PressioneSito* pressione_sito() const { return m_pressione; }
    // The model of moist air: its choice in the context menu, its button on the menu.
    ModelloSito* modello_sito() const { return m_modello; }
    DimensioniSchermo schermo() const { return m_schermo; }
    const QString& cartella_programma() const { return m_cartella; }

protected:
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    // Writes "patm.txt" for `p` (Pa) and shows the pressure.
    void scrivi_pressione(double p);
    void carica_sfondo();
    // "Calcoli recenti": the files last saved or opened, rebuilt each time the menu opens.
    void riempi_recenti();
    // What the first screenful does not need: the program's icon.
    void dopo_primo_disegno();

    QString m_cartella;
    DimensioniSchermo m_schermo;
    Contesto m_ctx;
    EsternoQt m_esterno{m_ctx};
    QLabel* m_immagine;
    std::array<QAbstractButton*, 10> m_colonna{};
    std::array<QAbstractButton*, 3> m_destra{};
    QAbstractButton* m_diagramma = nullptr;
    PressioneSito* m_pressione;
    ModelloSito* m_modello;
    bool m_disegnata = false;
    QMenu* m_recenti = nullptr;
    FinestraRapporto* m_rapporto_esterno = nullptr;
    std::unique_ptr<FinestraRapporto> m_rapporto;
    EsternoQt::ApriGrafico m_apri_grafico;
};

// The program's icon: the desktop theme's "ondix", else the one built into the program.
QIcon icona_programma();

// Upper case of the ASCII letters a–z; every other character unchanged.
QString maiuscole_ascii(const QString& testo);

} // namespace ondix
