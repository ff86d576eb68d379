// A canvas that draws nothing and records every primitive in device pixels, for tests and benchmarks.
#pragma once

#include "chart/canvas.h"

#include <string>
#include <vector>

namespace ondix {

struct Primitiva {
    enum class Tipo { linea, ellisse, rettangolo, testo, poligono };
    Tipo tipo = Tipo::linea;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0; // texts: (x1, y1) is the top-left corner
    std::string testo;                  // texts only
    StatoCanvas stato;                  // the canvas state the primitive was drawn with
    // Polygons only: their vertices.
    std::vector<std::pair<int, int>> vertici;

    // The colour that shows: the text colour for texts, the pen colour otherwise.
    Rgb colore() const { return tipo == Tipo::testo ? stato.colore_testo : stato.colore_penna; }
    // One line of text, e.g. `linea 54 664 1014 664 #0000FF 3` (a broken line adds its pattern: `tratteggiata`)
    // or `testo 6 670 #000000 times new roman 14 " 0"`.
    std::string descrizione() const;
};

class RecordingCanvas : public Canvas {
public:
    void ellisse(int x1, int y1, int x2, int y2) override { registra(Primitiva::Tipo::ellisse, x1, y1, x2, y2); }
    void rettangolo(int x1, int y1, int x2, int y2) override { registra(Primitiva::Tipo::rettangolo, x1, y1, x2, y2); }
    void scrivi(int x, int y, std::string_view testo) override;
    void poligono(const std::vector<std::pair<int, int>>& punti) override;

    const std::vector<Primitiva>& primitive() const { return m_primitive; }
    // Only the primitives of one kind, in drawing order.
    std::vector<Primitiva> solo(Primitiva::Tipo tipo) const;
    // Every primitive, one description per line.
    std::string descrizione() const;
    void svuota() { m_primitive.clear(); }

protected:
    void linea(int x1, int y1, int x2, int y2) override { registra(Primitiva::Tipo::linea, x1, y1, x2, y2); }

private:
    void registra(Primitiva::Tipo tipo, int x1, int y1, int x2, int y2);
    std::vector<Primitiva> m_primitive;
};

} // namespace ondix
