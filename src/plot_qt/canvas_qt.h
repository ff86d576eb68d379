// A canvas that renders through QPainter: the chart window's pixmap, a printer page, an image, SVG or PDF.
#pragma once

#include "chart/canvas.h"

#include <QFont>
#include <QString>

class QPainter;

namespace ondix {

// Makes "times new roman" resolve to a serif face even where that font is not installed (Liberation Serif,
// its metric twin, first). Needs a QGuiApplication; idempotent.
void prepara_font();

class QPainterCanvas : public Canvas {
public:
    explicit QPainterCanvas(QPainter* painter = nullptr) : m_painter(painter) {}
    // The painter the next primitives go to (null: they are dropped). The canvas state stays as it is.
    void imposta_painter(QPainter* painter) { m_painter = painter; }
    QPainter* painter() const { return m_painter; }

    void ellisse(int x1, int y1, int x2, int y2) override;
    void rettangolo(int x1, int y1, int x2, int y2) override;
    void poligono(const std::vector<std::pair<int, int>>& punti) override;
    void scrivi(int x, int y, std::string_view testo) override;
    // Measured with the painter's device when there is one (a printer page measures in its own pixels).
    MisuraTesto misura(std::string_view testo) const override;
    // The font the texts are written in now.
    QFont font_qt() const;

protected:
    void linea(int x1, int y1, int x2, int y2) override;
    void traccia_polilinea(const std::vector<std::pair<int, int>>& punti) override;

private:
    void usa_penna();

    QPainter* m_painter = nullptr;
    mutable QFont m_font;
    mutable QString m_font_nome;
    mutable int m_font_punti = -1;
};

} // namespace ondix
