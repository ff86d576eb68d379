// Drawing the chart onto Qt paint devices through one plotter, in screen or printer mode.
#pragma once

#include "chart/diagramma.h"
#include "chart/plotter.h"
#include "plot_qt/canvas_qt.h"

#include <cstdint>

class QPainter;
class QPaintDevice;

namespace ondix {

// Makes sure a QGuiApplication exists, for programs without windows: when none exists one is created (on the
// offscreen platform unless QT_QPA_PLATFORM names one) and kept until the process ends. Then sets up the fonts.
// Returns false if only a non-GUI QCoreApplication exists, which cannot draw text.
bool prepara_applicazione();

// Pen width of the printer canvas while a chart is printed, printer pixels.
inline constexpr int spessore_penna_stampa = 5;

// One plotter with a screen canvas and a printer canvas whose colours persist from one drawing to the next, as a
// chart window's canvases do.
class PlotterQt {
public:
    PlotterQt();
    PlotterQt(const PlotterQt&) = delete;
    PlotterQt& operator=(const PlotterQt&) = delete;

    Plotter& plotter() { return m_plotter; }
    QPainterCanvas& canvas_schermo() { return m_schermo; }
    QPainterCanvas& canvas_stampante() { return m_stampante; }

    // Screen mode: records the screen size (the chart window's own size, pixels), then draws with `procedura`
    // through `painter` (its device is the window's canvas; the plotting area is its top-left
    // (width − 10) × (height − 80)).
    void disegna_schermo(QPainter& painter, std::uint16_t larghezza_schermo, std::uint16_t altezza_schermo,
                         const ProceduraDisegno& procedura);
    // Printer mode: the page is the painter's device (a QPrinter, or any device standing for one); the chart
    // fills its top-left 90 %, with pen width `spessore`. The output is the screen again afterwards.
    void disegna_stampante(QPainter& painter, const ProceduraDisegno& procedura, int spessore = spessore_penna_stampa);

    // Either mode straight onto a device: on the screen the device's own size is the screen size (a chart
    // window's backing pixmap); on the printer the device is the page (a QPrinter: this begins and ends the
    // print job). False if the device cannot be painted on.
    bool disegna(QPaintDevice& dispositivo, Dispositivo modo, const ProceduraDisegno& procedura);

private:
    Plotter m_plotter;
    QPainterCanvas m_schermo;
    QPainterCanvas m_stampante;
};

// Size of the screen the chart files are drawn for, pixels.
inline constexpr std::uint16_t larghezza_schermata = 1024;
inline constexpr std::uint16_t altezza_schermata = 768;

// The chart of `vista` over the context, on a white 1024 × 768 page of `dispositivo`, exactly as the chart window
// shows it on a screen of that size. False if the device cannot be painted on.
bool disegna_schermata(QPaintDevice& dispositivo, const Contesto& ctx, VistaGrafico vista);
// `procedura` with the layers of `opzioni`, on a white page of `dispositivo` of `larghezza` × `altezza` pixels,
// as a chart window of that size shows it.
bool disegna_schermata(QPaintDevice& dispositivo, const ProceduraDisegno& procedura, const OpzioniGrafico& opzioni,
                       std::uint16_t larghezza, std::uint16_t altezza);

} // namespace ondix
