// "Diagramma libero": the working chart's window. The chart (with the chart window's layers, print and picture)
// on the left, the table of states and processes on the right; states placed with the mouse or typed, processes
// made between the states selected, every edit undone and redone, the whole saved and opened as a calculation file.
// The window only shows and edits the core's model (core/diagramma_libero.h).
#pragma once

#include "chart/opzioni_grafico.h"
#include "core/diagramma_libero.h"
#include "core/file_calcolo.h"
#include "ui/geometria.h"

#include <QDialog>
#include <QString>

#include <functional>

class QAction;
class QKeySequence;
class QLabel;
class QMenu;
class QPrinter;
class QTableWidget;

namespace ondix {

class TelaDiagramma;

class FinestraDiagramma : public QDialog {
public:
    // A new, empty chart in the air `aria` (the site pressure and model in use), for a screen of `schermo`.
    FinestraDiagramma(Aria aria, DimensioniSchermo schermo, QWidget* parent = nullptr);

    DiagrammaLibero& diagramma() { return m_d; }
    TelaDiagramma* tela() const { return m_tela; }
    QTableWidget* tabella_stati() const { return m_stati; }
    QTableWidget* tabella_trasformazioni() const { return m_trasformazioni; }
    // An action of the window by object name ("annulla", "ripeti", "elimina", "rinomina", "nuovo_stato",
    // "trasformazione_miscela" ... "trasformazione_linea", "copia_tabella", "stampa", "salva_immagine",
    // "apri_diagramma", "salva_diagramma", the layer switches).
    QAction* azione(const char* nome) const;
    // What the line under the table says now (a refusal, the step undone).
    QString messaggio() const;

    // A working chart of a calculation file, shown as it was saved (the file's air, layers and title block).
    void carica(const FileCalcolo& f, const QString& percorso = {});
    bool apri_file(const QString& percorso);
    bool salva_file(const QString& percorso);
    // A process of kind `t` between the states selected (two for the mixing and the free line, the first one
    // otherwise), its parameters asked; false when none was made.
    bool nuova_trasformazione(TipoTrasformazione t);
    // The chart printed as the chart window prints it; false if the printer failed.
    bool stampa_su(QPrinter& stampante);
    bool salva_immagine_su(const QString& percorso);

    // After every change of the chart: the picture, the tables, the undo steps.
    void aggiorna();

    // Escape, the close box, "Chiudi": a chart changed since it was opened or saved asks first whether to save it.
    void reject() override;
    // Whether the chart differs from the one last opened or saved (an empty new one counts as saved).
    bool modificato() const { return !(m_d.definizione() == m_salvato); }

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void costruisci();
    // The menus, the buttons and the chart's context menu (finestra_diagramma_azioni.cpp).
    void crea_azioni();
    void crea_menu_modifica(QMenu* modifica);
    void crea_menu_trasformazioni(QMenu* trasformazioni);
    void crea_menu_grafico(QMenu* grafico);
    void crea_barre_e_menu_tela();
    // An action of the window, in its shortcuts, named `nome`.
    QAction* nuova_azione(const QString& testo, const char* nome, const QKeySequence& tasto,
                          const std::function<void()>& funzione);
    void riempi_tabelle(bool solo_testi);
    void selezione_dalle_tabelle();
    void selezione_nelle_tabelle();
    void nuovo_stato();
    void rinomina(int id);
    void elimina();
    void modifica_trasformazione(int riga);
    void copia_tabella();
    void stampa();
    void salva_immagine();
    void apri();
    void salva(bool come);
    void cambia_strati();
    void dici(const QString& testo);
    OpzioniGrafico strati_per_file() const;
    FileCalcolo file_calcolo() const;

    DimensioniSchermo m_schermo;
    DiagrammaLibero m_d;
    TelaDiagramma* m_tela = nullptr;
    QTableWidget* m_stati = nullptr;
    QTableWidget* m_trasformazioni = nullptr;
    QLabel* m_messaggio = nullptr;
    QString m_file;
    FileCalcolo m_contorno;         // the title block and altitude of the file opened
    DefinizioneDiagramma m_salvato; // the chart as last opened or saved
    bool m_riempimento = false;
};

// The window over `genitore`, modal, in the air `aria`; with a file to open first when `percorso` is given.
void apri_finestra_diagramma(QWidget* genitore, Aria aria, DimensioniSchermo schermo, const FileCalcolo* file = nullptr,
                             const QString& percorso = {});

} // namespace ondix
