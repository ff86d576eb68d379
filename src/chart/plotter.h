// The plotter layer: pen-plotter primitives in world units (°C, g/kg) or device units, sent to the screen canvas
// or to the printer canvas. Device y points up here (0 is the bottom of the plotting area); the primitives flip it
// for the canvas. Every conversion from double to a pixel truncates toward zero.
#pragma once

#include "chart/canvas.h"
#include "chart/opzioni_grafico.h"
#include "core/aria_umida.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ondix {

enum class Dispositivo { schermo, stampante };

// The window record: where the graph sits on the device and how world units map onto it.
struct FinestraPlotter {
    double ox = 0.0, oy = 0.0;                             // device position of the lower-left corner
    double larghezza = 0.0, altezza = 0.0;                 // usable extent W − ox, H − oy
    double xmin = 0.0, xmax = 1.0, ymin = 0.0, ymax = 1.0; // world rectangle
    double sx = 1.0, sy = 1.0;                             // device units per world unit
    double passo_x = 0.0, passo_y = 0.0;                   // tick steps, world units (set by the graph frame)
    std::string titolo_x, titolo_y;                        // axis titles, at most 10 characters
};

// A rectangle of canvas pixels: top-left corner, width and height.
struct RiquadroPixel {
    int x = 0, y = 0, larghezza = 0, altezza = 0;
    bool contiene(int px, int py) const { return px >= x && px < x + larghezza && py >= y && py < y + altezza; }
    bool interseca(const RiquadroPixel& o) const {
        return x < o.x + o.larghezza && o.x < x + larghezza && y < o.y + o.altezza && o.y < y + altezza;
    }
    friend bool operator==(const RiquadroPixel&, const RiquadroPixel&) = default;
};

// Pen colours 0–7 and 14; nullopt-like `false` for the pens that keep the current colours (8–13, 15 and above).
bool colore_penna(std::uint16_t n, Rgb& colore);

// A coordinate to a pixel: truncation toward zero. NaN gives 0 and values beyond ±1 000 000 stop there, so a
// wild point can never overflow the integer or the rasteriser.
int tronca_pixel(double v);

class Plotter {
public:
    static constexpr int spessore_schermo = 3;      // pen width of the chart window, pixels
    static constexpr int punti_font_schermo = 14;   // points
    static constexpr int punti_font_stampante = 10; // points
    static constexpr std::string_view nome_font = "times new roman";

    // The canvases the two outputs draw on (either may be null: nothing is drawn there). The printer page is
    // given in printer pixels.
    void imposta_canvas_schermo(Canvas* canvas) { m_canvas_schermo = canvas; }
    void imposta_canvas_stampante(Canvas* canvas, int larghezza_pagina, int altezza_pagina);
    // The output the next drawing goes to.
    void imposta_dispositivo(Dispositivo d) { m_dispositivo = d; }
    Dispositivo dispositivo() const { return m_dispositivo; }
    // The screen size, pixels: the chart window records its own size here; W and H and the circle test use it.
    void imposta_dimensione_schermo(std::uint16_t larghezza, std::uint16_t altezza) {
        m_schermo_w = larghezza;
        m_schermo_h = altezza;
    }
    std::uint16_t larghezza_schermo() const { return m_schermo_w; }
    std::uint16_t altezza_schermo() const { return m_schermo_h; }

    // Begins a drawing on the current output: mapping off, extent, character cell, offsets, pen width or font.
    void apri_plotter();
    // Ends a drawing; nothing to flush.
    void chiudi_plotter() {}
    // Sets the world rectangle and the scales from the ox, oy already in the window record.
    void finestra(double xmin, double xmax, double ymin, double ymax);
    // World (or device, mapping off) to device units; y is flipped to the canvas on the screen only.
    double x_dispositivo(double x) const;
    double y_dispositivo(double y) const;
    void sposta(double x, double y);
    void traccia(double x, double y);
    void linea(double x1, double y1, double x2, double y2);
    // Writes `s` (UTF-8) with its top-left corner at (x, y): a leading "#" is dropped and one space put in front.
    void scrivi_testo(std::string_view s, double x, double y);
    // A circle of world radius r (on the x scale) centred at (x, y).
    void cerchio(double x, double y, double r);
    // A filled square `lato` canvas pixels wide, centred at (x, y), in `colore`; the canvas colours stay as they
    // were.
    void quadratino(double x, double y, int lato, Rgb colore);
    // Selects pen n: pens 0–7 and 14 set the line and text colours, the others keep them.
    void penna(std::uint16_t n);
    // Mapping off; on the screen the line colour becomes blue, on the printer a frame around the plotting area.
    void cornice();

    // Device extent of the plotting area and character cell, device units.
    std::uint16_t w() const { return m_w; }
    std::uint16_t h() const { return m_h; }
    double cw() const { return m_cw; }
    double ch() const { return m_ch; }
    // Frame origin offsets, added by the graph frame to its margins.
    double origine_x() const { return m_origine_x; }
    double origine_y() const { return m_origine_y; }
    FinestraPlotter& finestra_corrente() { return m_finestra; }
    const FinestraPlotter& finestra_corrente() const { return m_finestra; }
    bool mappatura() const { return m_mappatura; }
    void imposta_mappatura(bool on) { m_mappatura = on; }
    std::uint16_t penna_corrente() const { return m_penna; }

    // The layers the next drawings carry (all off: the plain chart).
    void imposta_opzioni(OpzioniGrafico o) { m_opzioni = std::move(o); }
    const OpzioniGrafico& opzioni() const { return m_opzioni; }
    // The air the chart is drawn for, recorded by the chart as it starts a drawing: the layers, the saturation
    // curve's points and whoever reads the drawing afterwards take the pressure from here.
    void imposta_aria(Aria a) { m_aria = a; }
    Aria aria() const { return m_aria; }
    // Swapped axes (the Mollier view): while mapping, a world point (t, x) is placed at (x, t) of the window, and
    // a circle's radius is measured on the vertical (temperature) scale. `apri_plotter` turns it off.
    void imposta_scambio_assi(bool on) { m_scambio = on; }
    bool scambio_assi() const { return m_scambio; }
    // Canvas position (pixels, not truncated) of the world point (t, x), mapped through the window.
    void punto_mondo(double t, double x, double& cx, double& cy) const;
    // Boxes the drawing has laid over the plotting area (a legend), for whatever is painted over it later.
    // `apri_plotter` empties the list.
    const std::vector<RiquadroPixel>& riquadri_occupati() const { return m_riquadri; }
    void occupa(const RiquadroPixel& r) { m_riquadri.push_back(r); }
    // The canvas of the current output, or null.
    Canvas* canvas() const { return m_dispositivo == Dispositivo::schermo ? m_canvas_schermo : m_canvas_stampante; }

private:
    // Device point of (x, y) as the canvas pixel it lands on.
    void punto_canvas(double x, double y, int& cx, int& cy);

    Dispositivo m_dispositivo = Dispositivo::schermo;
    Canvas* m_canvas_schermo = nullptr;
    Canvas* m_canvas_stampante = nullptr;
    int m_pagina_w = 0, m_pagina_h = 0;
    std::uint16_t m_schermo_w = 0, m_schermo_h = 0;

    std::uint16_t m_w = 0, m_h = 0;
    double m_cw = 6.0, m_ch = 6.0;
    double m_origine_x = 0.0, m_origine_y = 0.0;
    FinestraPlotter m_finestra;
    bool m_mappatura = false;
    bool m_solo_scala = false;
    std::uint16_t m_penna = 0;
    OpzioniGrafico m_opzioni;
    Aria m_aria;
    bool m_scambio = false;
    std::vector<RiquadroPixel> m_riquadri;
};

} // namespace ondix
