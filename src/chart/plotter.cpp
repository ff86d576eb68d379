#include "chart/plotter.h"

#include <algorithm>
#include <cmath>

namespace ondix {

namespace {

// A device extent as the 16-bit value the plotter keeps: truncated, and held inside 0 … 65535 so that a tiny
// window or an enormous page cannot wrap around.
std::uint16_t estensione(double v) {
    if (!(v > 0.0)) return 0;
    if (v >= 65535.0) return 65535;
    return static_cast<std::uint16_t>(v);
}

} // namespace

bool colore_penna(std::uint16_t n, Rgb& colore) {
    switch (n) {
    case 0:
        colore = {0x00, 0x00, 0x00};
        return true;
    case 1:
        colore = {0x00, 0x00, 0xFF};
        return true;
    case 2:
        colore = {0x00, 0x80, 0x00};
        return true;
    case 3:
        colore = {0x00, 0xFF, 0xFF};
        return true;
    case 4:
        colore = {0xFF, 0x00, 0x00};
        return true;
    case 5:
        colore = {0xFF, 0x00, 0xFF};
        return true;
    case 6:
        colore = {0x80, 0x00, 0x00};
        return true;
    case 7:
        colore = {0x80, 0x80, 0x80};
        return true;
    case 14:
        colore = {0x80, 0x80, 0x00};
        return true;
    default:
        return false;
    }
}

int tronca_pixel(double v) {
    constexpr double limite = 1'000'000.0;
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::clamp(v, -limite, limite));
}

void Plotter::imposta_canvas_stampante(Canvas* canvas, int larghezza_pagina, int altezza_pagina) {
    m_canvas_stampante = canvas;
    m_pagina_w = larghezza_pagina;
    m_pagina_h = altezza_pagina;
}

void Plotter::apri_plotter() {
    m_mappatura = false;
    m_solo_scala = false;
    m_scambio = false;
    m_riquadri.clear();
    m_origine_x = 0.0;
    m_origine_y = 0.0;
    Canvas* c = canvas();
    if (m_dispositivo == Dispositivo::schermo) {
        m_cw = 6.0;
        m_ch = 6.0;
        m_w = estensione(static_cast<double>(m_schermo_w) - 10.0);
        m_h = estensione(static_cast<double>(m_schermo_h) - 80.0);
        if (c) c->imposta_spessore_penna(spessore_schermo);
    } else {
        m_w = estensione(std::trunc(0.9 * m_pagina_w));
        m_h = estensione(std::trunc(0.9 * m_pagina_h));
        m_cw = m_w / 100.0;
        m_ch = m_h / 80.0;
        if (c) c->imposta_punti_font(punti_font_stampante);
    }
}

void Plotter::finestra(double xmin, double xmax, double ymin, double ymax) {
    FinestraPlotter& f = m_finestra;
    f.xmin = xmin;
    f.xmax = xmax;
    f.ymin = ymin;
    f.ymax = ymax;
    f.larghezza = m_w - f.ox;
    f.altezza = m_h - f.oy;
    f.sx = f.larghezza / (xmax - xmin);
    f.sy = f.altezza / (ymax - ymin);
}

double Plotter::x_dispositivo(double x) const {
    if (!m_mappatura) return x;
    if (m_solo_scala) return m_finestra.sx * x;
    return (x - m_finestra.xmin) * m_finestra.sx + m_finestra.ox;
}

double Plotter::y_dispositivo(double y) const {
    double Y = y;
    if (m_mappatura) Y = m_solo_scala ? m_finestra.sy * y : (y - m_finestra.ymin) * m_finestra.sy + m_finestra.oy;
    // The screen canvas counts y downward from the top; the printer flips in each primitive instead.
    if (m_dispositivo == Dispositivo::schermo) Y = m_h - Y;
    return Y;
}

void Plotter::punto_mondo(double t, double x, double& cx, double& cy) const {
    const FinestraPlotter& f = m_finestra;
    if (m_scambio) std::swap(t, x);
    cx = (t - f.xmin) * f.sx + f.ox;
    cy = m_h - ((x - f.ymin) * f.sy + f.oy);
}

void Plotter::punto_canvas(double x, double y, int& cx, int& cy) {
    m_solo_scala = false;
    if (m_mappatura && m_scambio) std::swap(x, y);
    cx = tronca_pixel(x_dispositivo(x));
    cy = tronca_pixel(y_dispositivo(y));
    if (m_dispositivo == Dispositivo::stampante) cy = m_h - cy;
}

void Plotter::sposta(double x, double y) {
    int cx = 0, cy = 0;
    punto_canvas(x, y, cx, cy);
    if (Canvas* c = canvas()) c->move_to(cx, cy);
}

void Plotter::traccia(double x, double y) {
    int cx = 0, cy = 0;
    punto_canvas(x, y, cx, cy);
    if (Canvas* c = canvas()) c->line_to(cx, cy);
}

void Plotter::linea(double x1, double y1, double x2, double y2) {
    sposta(x1, y1);
    traccia(x2, y2);
}

void Plotter::scrivi_testo(std::string_view s, double x, double y) {
    if (!s.empty() && s.front() == '#') s.remove_prefix(1);
    const std::string testo = " " + std::string(s);
    int cx = 0, cy = 0;
    punto_canvas(x, y, cx, cy);
    Canvas* c = canvas();
    if (!c) return;
    c->imposta_font(nome_font);
    if (m_dispositivo == Dispositivo::schermo) c->imposta_punti_font(punti_font_schermo);
    c->scrivi(cx, cy, testo);
}

void Plotter::cerchio(double x, double y, double r) {
    const bool scambio = m_mappatura && m_scambio;
    if (scambio) std::swap(x, y);
    m_solo_scala = true;
    const double R = scambio ? m_finestra.sy * r : x_dispositivo(r);
    m_solo_scala = false;
    const double X = x_dispositivo(x);
    const double Y = y_dispositivo(y);
    Canvas* c = canvas();
    if (!c) return;
    if (m_dispositivo == Dispositivo::schermo) {
        // Marks that would fall under the left edge or the chart window's buttons are left out.
        if (!(X >= 10.0 && X <= m_schermo_w && Y >= 0.0 && Y <= m_schermo_h - 50.0)) return;
        c->ellisse(tronca_pixel(X - R), tronca_pixel(Y - R), tronca_pixel(X + R), tronca_pixel(Y + R));
    } else {
        const double Yc = m_h - Y;
        c->ellisse(tronca_pixel(X - R), tronca_pixel(Yc - R), tronca_pixel(X + R), tronca_pixel(Yc + R));
    }
}

void Plotter::quadratino(double x, double y, int lato, Rgb colore) {
    int cx = 0, cy = 0;
    punto_canvas(x, y, cx, cy);
    Canvas* c = canvas();
    if (!c) return;
    const StatoCanvas prima = c->stato();
    c->imposta_colore_penna(colore);
    c->imposta_colore_pennello(colore);
    c->imposta_spessore_penna(1);
    const int mezzo = lato / 2;
    c->rettangolo(cx - mezzo, cy - mezzo, cx - mezzo + lato - 1, cy - mezzo + lato - 1);
    c->imposta_stato(prima);
}

void Plotter::penna(std::uint16_t n) {
    m_penna = n;
    Rgb colore;
    if (!colore_penna(n, colore)) return;
    if (Canvas* c = canvas()) {
        c->imposta_colore_penna(colore);
        c->imposta_colore_testo(colore);
    }
}

void Plotter::cornice() {
    m_mappatura = false;
    Canvas* c = canvas();
    if (!c) return;
    if (m_dispositivo == Dispositivo::schermo)
        c->imposta_colore_penna({0x00, 0x00, 0xFF});
    else
        c->rettangolo(1, 1, m_w - 1, m_h);
}

} // namespace ondix
