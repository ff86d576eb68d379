// The main window: the menu of processes, the altitude dialog, and the start of every calculation.
#pragma once

#include "core/calcolo.h"
#include "ui/esterno_qt.h"
#include "ui/geometria.h"
#include "ui/visualizza.h"

#include <QString>
#include <QWidget>

#include <array>
#include <memory>

class QAbstractButton;
class QIcon;
class QLabel;

namespace ondix {

class PressioneSito;

class Tform_ondix : public QWidget {
public:
    // `cartella_programma` ends in a path separator; it holds the background picture and receives "patm.txt".
    Tform_ondix(const QString& cartella_programma, DimensioniSchermo schermo, QWidget* parent = nullptr);

    // The report window shown at the end of every calculation. Without one set here, the main window makes its
    // own at the first calculation.
    void imposta_rapporto(TForm2* finestra) { m_rapporto_esterno = finestra; }
    TForm2* rapporto();
    // The chart window that serves the chart requests.
    void imposta_grafico(EsternoQt::ApriGrafico apri) { m_esterno.imposta_grafico(std::move(apri)); }

    void aggiusta(); // layout at creation
    void inizia();   // full screen again (after every dialog it opened)

    // The process buttons: set the process kind and show a new input form modally.
    void vai_1();       // point properties
    void vai_2();       // mixing
    void vai_3();       // sensible heating or cooling
    void vai_4();       // adiabatic humidification
    void vai_g();       // steam humidification
    void vai_6();       // cooling with condensation
    void vai_est();     // summer cycle
    void vai_inv();     // winter cycle
    void vai_inv_vap(); // winter cycle with steam humidification
    void vai_nuovo();   // summer verification
    void chiedialt();   // altitude → "patm.txt" (or the user's data directory) and the pressure message
    void vaidoc();      // "manuale sul testo"
    void chiudi();      // ends the program

    const Contesto& contesto() const { return m_ctx; }
    // The site pressure: its question after the altitude tool, its button on the menu.
    PressioneSito* pressione_sito() const { return m_pressione; }
    DimensioniSchermo schermo() const { return m_schermo; }
    const QString& cartella_programma() const { return m_cartella; }

protected:
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void apri_maschera(TipoProcesso tipo);
    // Writes "patm.txt" for `p` (Pa) and shows the pressure.
    void scrivi_pressione(double p);
    void carica_sfondo();
    // What the first screenful does not need: the program's icon.
    void dopo_primo_disegno();

    QString m_cartella;
    DimensioniSchermo m_schermo;
    Contesto m_ctx;
    EsternoQt m_esterno{m_ctx};
    QLabel* m_immagine;
    std::array<QAbstractButton*, 10> m_colonna{};
    std::array<QAbstractButton*, 3> m_destra{};
    PressioneSito* m_pressione;
    bool m_disegnata = false;
    TForm2* m_rapporto_esterno = nullptr;
    std::unique_ptr<TForm2> m_rapporto;
};

// The program's icon: the desktop theme's "ondix", else the one built into the program.
QIcon icona_programma();

// Upper case of the ASCII letters a–z; every other character unchanged.
QString maiuscole_ascii(const QString& testo);

} // namespace ondix
