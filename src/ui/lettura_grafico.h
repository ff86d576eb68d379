// The state under the mouse, in a small box painted over the chart window's picture (the chart is not drawn again
// for it): the air state at the cursor, or the properties of a chart point whose mark was clicked.
#pragma once

#include "chart/lettura.h"

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QStringList>

#include <vector>

class QPainter;

namespace ondix {

class LetturaGrafico {
public:
    LetturaGrafico();

    // After each drawing of the window's picture: where the chart lies on it, which corners the box may take
    // (clear of the process, the saturation curve and the legend) and the table whose marks can be clicked
    // (none: null). The box is hidden.
    void prepara(const Plotter& p, const TabellaPunti* punti);
    // The mouse moved to `pos` (window pixels): with `attiva` and inside the plotting area, the box shows the state
    // there, in a corner away from the cursor; otherwise it hides. A point shown by a click stays. Returns the
    // area to paint again.
    QRect muovi(QPoint pos, bool attiva);
    // A click at `pos`: on a mark the box shows that point until the next click; elsewhere it lets go of it.
    // Returns the area to paint again.
    QRect clic(QPoint pos, bool attiva);
    // Hides the box (and lets go of a clicked point). Returns the area to paint again.
    QRect nascondi();
    // The mouse left the window: hides the box, unless it shows a clicked point.
    QRect uscita();
    // Shows again what the mouse's last position reads (after a drawing, or when the readout is switched on).
    QRect ripeti(bool attiva) { return muovi(m_ultima, attiva); }

    void dipingi(QPainter& p) const;
    // What the box shows now (nothing when hidden), and where.
    const QStringList& righe() const { return m_righe; }
    QRect riquadro() const { return m_righe.isEmpty() ? QRect() : m_riquadro; }
    // The entry (1–10) of the clicked point shown, or 0.
    int punto() const { return m_punto; }

private:
    // Shows `righe` in the first corner that keeps clear of `pos`.
    QRect mostra(const std::vector<std::string>& righe, QPoint pos);

    QFont m_font;
    MappaGrafico m_mappa;
    bool m_pronta = false;
    const TabellaPunti* m_punti = nullptr;
    std::vector<RiquadroPixel> m_angoli;
    QStringList m_righe;
    QRect m_riquadro;
    int m_punto = 0;
    QPoint m_ultima{-1, -1}; // the mouse's last position over the window
};

} // namespace ondix
