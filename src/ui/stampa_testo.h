// Printing from the windows: lines of fixed-pitch text, one paragraph per line, and what a print command tells
// the user.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;
class QWidget;

namespace ondix {

// The font `righe` are printed in on `stampante`: `carattere` itself when the longest line fits the width of the
// page's text area, else the largest size (half points, down to 6) at which it fits.
QFont carattere_di_stampa(const QPrinter& stampante, const QStringList& righe, const QFont& carattere);

// Prints `righe` as one job on `stampante` (an empty document title; pages numbered at the foot), in
// carattere_di_stampa. False if the printer could not be used or failed.
bool stampa_righe(QPrinter& stampante, const QStringList& righe, const QFont& carattere);

// A window's print command: `stampa` on `stampante`. With no printer (nullptr) a warning box says
// `senza_stampante`; a print that fails is reported naming the printer. The boxes are modal over `finestra`.
void stampa_o_avvisa(QWidget* finestra, QPrinter* stampante, const QString& senza_stampante,
                     const std::function<bool(QPrinter&)>& stampa);

} // namespace ondix
