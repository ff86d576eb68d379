// The model of moist air in the desktop program: chosen from the menu's context menu (or its shortcut), remembered
// between runs, shown on the menu by a button that leads back to the program's correlations.
#pragma once

#include "core/calcolo.h"

#include <QObject>

class QAction;
class QPushButton;
class QWidget;

namespace ondix {

class ModelloAria;

class ModelloSito : public QObject {
public:
    // Puts the (hidden) button and the choice on `menu` and applies the remembered model to `ctx`.
    ModelloSito(QWidget* menu, Contesto& ctx);

    // The menu's button: shown only while a model is chosen ("MODELLO" and the model's name).
    QPushButton* pulsante() const { return m_pulsante; }
    // The menu's choice "Modello aria umida ASHRAE" (Ctrl+M), checked while the model is in use.
    QAction* scelta() const { return m_scelta; }

    // The button: asks whether to go back to the program's correlations, and does so on yes.
    void chiedi_ritorno();
    // Uses the model m (nullptr: the program's correlations) from now on and remembers it.
    void usa(const ModelloAria* m);

private:
    void aggiorna();

    QWidget* m_menu;
    Contesto& m_ctx;
    QPushButton* m_pulsante;
    QAction* m_scelta;
};

} // namespace ondix
