// The site pressure in the desktop program: offered after the altitude tool, remembered between runs, shown on
// the menu by a button that leads back to the program's fixed pressure.
#pragma once

#include "core/calcolo.h"

#include <QObject>

#include <optional>

class QPushButton;
class QWidget;

namespace ondix {

class PressioneSito : public QObject {
public:
    // Puts the (hidden) button on `menu` and applies the remembered pressure to `ctx`.
    PressioneSito(QWidget* menu, Contesto& ctx);

    // The menu's button: shown only while a site pressure is in use ("PRESSIONE" and the pressure in Pa).
    QPushButton* pulsante() const { return m_pulsante; }

    // After the altitude tool has shown the pressure p (Pa) of the altitude `quota` (m): asks "Calcolare con questa
    // pressione?"; yes makes it the pressure of every calculation and remembers it with its altitude (which the
    // reports' title block names), no changes nothing.
    void proponi(double p, std::optional<double> quota = std::nullopt);
    // The button: asks whether to go back to 101335 Pa, and does so on yes.
    void chiedi_ritorno();
    // Uses the pressure p (nullopt: the fixed one) from now on and remembers it, with the altitude it came from
    // when that lies within the altitude table.
    void usa(std::optional<double> p, std::optional<double> quota = std::nullopt);

private:
    void aggiorna();

    QWidget* m_menu;
    Contesto& m_ctx;
    QPushButton* m_pulsante;
};

} // namespace ondix
