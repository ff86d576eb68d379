// The drawing surface the plotter writes to: device pixels, y pointing down, with the state of a simple 2-D
// canvas (pen colour and width, text colour and font, brush colour, pen position).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ondix {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// "#RRGGBB".
std::string testo_rgb(Rgb c);

// How lines are drawn: continuous, or broken into dashes, dots, or dashes and dots.
enum class Tratteggio : std::uint8_t { continuo, tratteggiato, punteggiato, tratto_punto };

// What a canvas holds between primitives. Each primitive is drawn with the state current at the call.
struct StatoCanvas {
    Rgb colore_penna{0, 0, 0}; // lines and outlines
    int spessore_penna = 1;    // pixels
    Rgb colore_testo{0, 0, 0}; // font colour
    std::string font = "times new roman";
    int punti_font = 10;                          // font size, points
    Rgb colore_pennello{255, 255, 255};           // fills: ellipses, rectangles and the cells behind texts
    Tratteggio tratteggio = Tratteggio::continuo; // lines only
};

// Width and height of a text's cell, pixels.
struct MisuraTesto {
    int larghezza = 0, altezza = 0;
};

// An abstract canvas. The state lives here; a concrete canvas only renders the primitives.
class Canvas {
public:
    virtual ~Canvas() = default;

    void imposta_colore_penna(Rgb c) { m_stato.colore_penna = c; }
    void imposta_spessore_penna(int pixel) { m_stato.spessore_penna = pixel; }
    void imposta_colore_testo(Rgb c) { m_stato.colore_testo = c; }
    void imposta_font(std::string_view nome) { m_stato.font = nome; }
    void imposta_punti_font(int punti) { m_stato.punti_font = punti; }
    void imposta_colore_pennello(Rgb c) { m_stato.colore_pennello = c; }
    void imposta_tratteggio(Tratteggio t) { m_stato.tratteggio = t; }
    const StatoCanvas& stato() const { return m_stato; }
    // Replaces the whole state (a window that keeps its canvas colours between drawings restores them).
    void imposta_stato(const StatoCanvas& s) { m_stato = s; }

    // Moves the pen to (x, y) without drawing.
    void move_to(int x, int y) {
        m_x = x;
        m_y = y;
    }
    // A line from the pen position to (x, y), which becomes the pen position.
    void line_to(int x, int y) {
        linea(m_x, m_y, x, y);
        m_x = x;
        m_y = y;
    }
    int pen_x() const { return m_x; }
    int pen_y() const { return m_y; }
    // Lines joining `punti` in order (x, y pairs); the last point becomes the pen position. A canvas that can
    // draws them as one stroke, so that a dash pattern runs on across the joints.
    void polilinea(const std::vector<std::pair<int, int>>& punti) {
        if (punti.empty()) return;
        traccia_polilinea(punti);
        m_x = punti.back().first;
        m_y = punti.back().second;
    }

    // The closed polygon through `punti`, outlined with the pen and filled with the brush. By default (a canvas that
    // cannot fill) only its outline.
    virtual void poligono(const std::vector<std::pair<int, int>>& punti) {
        if (punti.size() < 2) return;
        std::vector<std::pair<int, int>> chiuso = punti;
        chiuso.push_back(punti.front());
        traccia_polilinea(chiuso);
    }
    // The ellipse inscribed in the box (x1, y1)–(x2, y2), outlined with the pen and filled with the brush.
    virtual void ellisse(int x1, int y1, int x2, int y2) = 0;
    // The rectangle (x1, y1)–(x2, y2), outlined with the pen and filled with the brush.
    virtual void rettangolo(int x1, int y1, int x2, int y2) = 0;
    // `testo` (UTF-8) with its cell's top-left corner at (x, y), in the current font and text colour, on an
    // opaque cell of the brush colour.
    virtual void scrivi(int x, int y, std::string_view testo) = 0;
    // The cell `testo` (UTF-8) takes in the current font. This estimate (half an em per character, at 96 dots
    // per inch) serves canvases that cannot measure.
    virtual MisuraTesto misura(std::string_view testo) const;

protected:
    // A straight line with the current pen.
    virtual void linea(int x1, int y1, int x2, int y2) = 0;
    // By default one line per pair of consecutive points.
    virtual void traccia_polilinea(const std::vector<std::pair<int, int>>& punti) {
        for (std::size_t i = 1; i < punti.size(); ++i)
            linea(punti[i - 1].first, punti[i - 1].second, punti[i].first, punti[i].second);
    }

private:
    StatoCanvas m_stato;
    int m_x = 0, m_y = 0;
};

} // namespace ondix
