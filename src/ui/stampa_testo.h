// Printing lines of fixed-pitch text, one paragraph per line.
#pragma once

#include <QFont>
#include <QStringList>

class QPrinter;

namespace ondix {

// The font `righe` are printed in on `stampante`: `carattere` itself when the longest line fits the width of the
// page's text area, else the largest size (half points, down to 6) at which it fits.
QFont carattere_di_stampa(const QPrinter& stampante, const QStringList& righe, const QFont& carattere);

// Prints `righe` as one job on `stampante` (an empty document title; pages numbered at the foot), in
// carattere_di_stampa. False if the printer could not be used or failed.
bool stampa_righe(QPrinter& stampante, const QStringList& righe, const QFont& carattere);

} // namespace ondix
