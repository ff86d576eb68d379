// The input form: ten labelled boxes and two option groups that the per-kind setup fills, and "CALCOLA".
#pragma once

#include "core/calcolo.h"
#include "ui/geometria.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ondix {

class EsternoQt;

class TForm1 : public QDialog {
public:
    // A new form over the context (its process kind already set); the form starts from a new form's state.
    TForm1(Contesto& ctx, EsternoQt& esterno, DimensioniSchermo schermo, QWidget* parent = nullptr);

    // Layout from the screen size, once at creation.
    void aggiusta();
    // Per-kind setup: title, labels, defaults, visibility, option groups at 0, chart table emptied, full screen.
    // Runs when the form is first shown and every time it is active again after a calculation.
    void inizia();
    // "CALCOLA": the calculation driver over this form's fields.
    void vai_calcolo();

    bool calcolo_in_corso() const { return m_calcolo_in_corso; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void leggi_campi();  // boxes and option groups → the context's form state
    void mostra_campi(); // the context's form state → boxes, labels, option groups

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
    bool m_calcolo_in_corso = false;
    bool m_mostrato = false;
};

} // namespace ondix
