// The small dialogs of the working chart's window: a state typed from two properties, and a process's parameters.
#pragma once

#include "core/diagramma_libero.h"

#include <QString>

#include <optional>
#include <string>

class QWidget;

namespace ondix {

// A number as a user types it in a box: a decimal point or comma, blanks around; nullopt for anything else.
std::optional<double> numero_digitato(const QString& testo);

struct StatoDigitato {
    std::string nome; // empty: the first free letter
    Noto a, b;
};
// Asks a state's name and two of its properties (t, ur, x, h, tbu, tr), starting from `iniziale`; nullopt when
// cancelled. A box that does not hold a number keeps the dialog open.
std::optional<StatoDigitato> chiedi_stato(QWidget* genitore, const StatoDigitato& iniziale);

// Asks the parameters of a process of `k`'s kind (and its flow), starting from `k`'s own; the process with them,
// its target dropped (its parameters are now typed), or nullopt when cancelled.
std::optional<DefinizioneTrasformazione> chiedi_parametri(QWidget* genitore, const DefinizioneTrasformazione& k,
                                                          const QString& stati);

} // namespace ondix
