// The input form: ten labelled boxes and two option groups that the per-kind setup fills, and "CALCOLA".
#pragma once

#include "core/calcolo.h"
#include "core/file_calcolo.h"
#include "ui/geometria.h"

#include <QDialog>

#include <QStringList>

#include <array>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace ondix {

class EsternoQt;

class FinestraMaschera : public QDialog {
public:
    // A new form over the context (its process kind already set); the form starts from a new form's state.
    FinestraMaschera(Contesto& ctx, EsternoQt& esterno, DimensioniSchermo schermo, QWidget* parent = nullptr);

    // Layout from the screen size, once at creation.
    void aggiusta();
    // Per-kind setup: title, labels, defaults, visibility, option groups at 0, chart table emptied, full screen.
    // Runs when the form is first shown and every time it is active again after a calculation.
    void inizia();
    // "CALCOLA": the calculation driver over this form's fields; the texts and options it read are remembered
    // for the kind.
    void vai_calcolo();
    // F5: the texts and options of the last calculation of this kind, also from an earlier run, back in the form.
    void richiama();
    // "STAMPA": the form's title and its current inputs on the default printer; a message when there is none.
    void stampa();
    // Prints them on `stampante` as one job; false if the printer could not be used or failed.
    bool stampa_su(QPrinter& stampante);

    bool calcolo_in_corso() const { return m_calcolo_in_corso; }

    // The calculation a save writes: the one last computed in this form (its inputs as the calculation read them
    // and the answer its input box gave), or the boxes as they stand when none was; with its air, the chart's
    // layers and the form's title block (its altitude as the file's).
    FileCalcolo calcolo() const;
    // Puts a calculation file's kind, texts, option groups, air, answer and title block into the form (once it is
    // shown, after its per-kind setup). The air is the form's own until it closes; the site's comes back then. A
    // calculation of the file's inputs takes the file's answer without asking.
    void carica(const FileCalcolo& f);
    // "Salva calcolo" (Ctrl+S): asks for a file name and saves the form's calculation there.
    void salva_calcolo();
    // Saves it into `percorso`; a message says why when it cannot, and which inputs were saved when the boxes
    // have changed since the calculation. False if not saved.
    bool salva_calcolo_su(const QString& percorso);
    // The title block the form's reports and files carry.
    const Intestazione& intestazione() const { return m_intestazione; }
    // "Apri calcolo" (Ctrl+O): asks for a calculation file and puts it into the form.
    void apri_calcolo();
    // Reads `percorso` into the form; a message says why when it cannot be used (the form stays as it was).
    bool apri_calcolo_da(const QString& percorso);

    ~FinestraMaschera() override;

protected:
    void showEvent(QShowEvent* e) override;
    // F5 recalls; Escape asks before closing the form when typed data would be lost.
    void keyPressEvent(QKeyEvent* e) override;

private:
    void leggi_campi();  // boxes and option groups → the context's form state
    void mostra_campi(); // the context's form state → boxes, labels, option groups
    // The boxes or options differ from what the form last showed.
    bool dati_cambiati() const;
    // Title, then "label value" for each visible box and "group: option" for each visible group.
    QStringList righe_da_stampare() const;

    Contesto& m_ctx;
    EsternoQt& m_esterno;
    DimensioniSchermo m_schermo;
    std::array<QLabel*, 10> m_etichette{};
    std::array<QLineEdit*, 10> m_caselle{};
    QPushButton* m_uscita;
    QPushButton* m_calcola;
    QPushButton* m_stampa;
    QGroupBox* m_umidita;
    QGroupBox* m_portata;
    std::array<QRadioButton*, 2> m_opzioni_umidita{};
    std::array<QRadioButton*, 2> m_opzioni_portata{};
    StatoMaschera m_stato_mostrato; // what mostra_campi last put in the form
    bool m_calcolo_in_corso = false;
    bool m_mostrato = false;
    std::optional<FileCalcolo> m_da_caricare; // a file opened before the form was first shown
    std::optional<Aria> m_aria_sito;          // the site's air, while the form calculates in a file's
    std::optional<FileCalcolo> m_aperto;      // the file put into the form (its inputs and its answer)
    std::optional<FileCalcolo> m_calcolato;   // the inputs of the last calculation and the answer it was given
    Intestazione m_intestazione;
    void applica_calcolo(const FileCalcolo& f);
    // The kind, the boxes and options as they stand, the air; the opened file's answer when they are its inputs.
    FileCalcolo dalle_caselle() const;
    // The boxes and options hold the inputs of `f`.
    bool caselle_come(const FileCalcolo& f) const;
};

// The file dialog of a calculation file (.ondix): to save (the extension added) or to open, in the folder of the
// last calculation file; the name chosen, or an empty text when cancelled.
QString chiedi_file_calcolo(QWidget* genitore, bool salva);

} // namespace ondix
