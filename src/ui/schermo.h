// The screen size that the windows lay themselves out from, and how a window fills the screen.
#pragma once

#include "ui/geometria.h"

class QWidget;

namespace ondix {

// Width and height of the primary screen in pixels, held in 16 bits (larger values are clamped).
DimensioniSchermo dimensioni_schermo();

// Fills the screen with a window that has a title bar. Where no window manager frames the window it takes
// `rettangolo` (its inner area, pixels); under a window manager it is maximised instead, so that the whole window,
// title bar and frame included, lies on the screen's free area.
void riempi_schermo(QWidget* finestra, const Rettangolo& rettangolo);

// Covers the screen with a window without a frame: `rettangolo`, and the window system's full-screen state, which
// gives it the whole screen also where windows cannot place themselves.
void copri_schermo(QWidget* finestra, const Rettangolo& rettangolo);

// When a modal window closes and no window is active, activates the modal window below it, or else the window it
// was opened from. A window manager does this itself; on a display without one the keyboard would otherwise stay
// with no window (the chart's keys, the buttons' accelerators). Installed once on the application.
void installa_riattivazione_finestre();

// Gives up the text selection the program owns (text marked with the mouse, the X11 primary selection), keeping
// what was copied (Ctrl+C).
void libera_selezione();
// Does so when the program ends: on exit the window system's toolkit hands what the program owns to the desktop's
// clipboard manager and waits for it, and a manager asked for a mere selection answers late or not at all
// (seconds). What was copied is still handed over. Installed once on the application.
void installa_uscita_immediata();

} // namespace ondix
