#include "chart/strati.h"

#include "chart/isolinee.h"
#include "core/comfort.h"
#include "core/numeri.h"
#include "core/rapporto.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace ondix {

namespace {

constexpr Rgb bordo_legenda{0xA0, 0xA0, 0xA0};
constexpr Rgb nero{0, 0, 0};

// The plotting area as doubles: canvas x from xa to xb, y from ya (top) to yb (bottom).
struct Area {
    double xa, ya, xb, yb;
};

Area area_di(const Plotter& p) {
    const FinestraPlotter& f = p.finestra_corrente();
    const double H = p.h();
    return {f.ox, H - (f.oy + f.altezza), static_cast<double>(p.w()), H - f.oy};
}

// The window's world rectangle as temperatures and humidity ratios, whichever way the axes run.
void intervalli(const Plotter& p, double& tmin, double& tmax, double& xmin, double& xmax) {
    const FinestraPlotter& f = p.finestra_corrente();
    tmin = f.xmin;
    tmax = f.xmax;
    xmin = f.ymin;
    xmax = f.ymax;
    if (p.scambio_assi()) {
        std::swap(tmin, xmin);
        std::swap(tmax, xmax);
    }
}

RiquadroPixel gonfia(RiquadroPixel r, int d) {
    return {r.x - d, r.y - d, r.larghezza + 2 * d, r.altezza + 2 * d};
}

bool dentro(const RiquadroPixel& interno, const RiquadroPixel& esterno) {
    return interno.x >= esterno.x && interno.y >= esterno.y &&
           interno.x + interno.larghezza <= esterno.x + esterno.larghezza &&
           interno.y + interno.altezza <= esterno.y + esterno.altezza;
}

struct Segmento {
    double x1, y1, x2, y2;
};

// The parts of a line inside the area, canvas pixels.
std::vector<Segmento> parti_visibili(const Plotter& p, const Isolinea& l, const Area& a) {
    std::vector<Segmento> r;
    double px = 0.0, py = 0.0;
    p.punto_mondo(l.punti.front().t, l.punti.front().x, px, py);
    for (std::size_t i = 1; i < l.punti.size(); ++i) {
        double qx = 0.0, qy = 0.0;
        p.punto_mondo(l.punti[i].t, l.punti[i].x, qx, qy);
        double x1 = px, y1 = py, x2 = qx, y2 = qy;
        if (ritaglia(x1, y1, x2, y2, a.xa, a.ya, a.xb, a.yb)) r.push_back({x1, y1, x2, y2});
        px = qx;
        py = qy;
    }
    return r;
}

// The parts as strokes: segments that join end to start make one stroke; points on the same pixel count once.
void disegna_parti(Canvas& c, const std::vector<Segmento>& parti) {
    std::vector<std::pair<int, int>> tratto;
    const auto chiudi = [&] {
        if (tratto.size() > 1) c.polilinea(tratto);
        tratto.clear();
    };
    for (std::size_t i = 0; i < parti.size(); ++i) {
        const Segmento& s = parti[i];
        if (i > 0 && !(parti[i - 1].x2 == s.x1 && parti[i - 1].y2 == s.y1)) chiudi();
        const std::pair<int, int> a{tronca_pixel(s.x1), tronca_pixel(s.y1)}, b{tronca_pixel(s.x2), tronca_pixel(s.y2)};
        if (tratto.empty()) tratto.push_back(a);
        if (tratto.back() != b) tratto.push_back(b);
    }
    chiudi();
}

// The parts of a line with the length of each, for finding points along it.
struct Percorso {
    const std::vector<Segmento>& parti;
    std::vector<double> lunghezze;
    double totale = 0.0;

    explicit Percorso(const std::vector<Segmento>& p) : parti(p) {
        lunghezze.reserve(p.size());
        for (const Segmento& s : p) {
            lunghezze.push_back(std::hypot(s.x2 - s.x1, s.y2 - s.y1));
            totale += lunghezze.back();
        }
    }
    // The point at fraction `frazione` of the total length.
    bool punto(double frazione, double& x, double& y) const {
        if (!(totale > 0.0)) return false;
        double resto = frazione * totale;
        for (std::size_t i = 0; i < parti.size(); ++i) {
            const Segmento& s = parti[i];
            const double l = lunghezze[i];
            if (resto <= l && l > 0.0) {
                x = s.x1 + (s.x2 - s.x1) * resto / l;
                y = s.y1 + (s.y2 - s.y1) * resto / l;
                return true;
            }
            resto -= l;
        }
        return false;
    }
};

// Where along a line each family tries its label first, as fractions of the visible length: the families start at
// different places so that their labels do not pile up.
const std::vector<double>& frazioni(Famiglia f) {
    static const std::array<std::vector<double>, 4> tabella{{
        {0.85, 0.7, 0.55, 0.93, 0.4, 0.25},
        {0.15, 0.3, 0.45, 0.6, 0.07, 0.75},
        {0.4, 0.55, 0.25, 0.7, 0.85, 0.1},
        {0.75, 0.6, 0.9, 0.45, 0.3, 0.15},
    }};
    return tabella[static_cast<std::size_t>(f)];
}

struct Etichetta {
    RiquadroPixel riquadro;
    std::string testo;
    Rgb colore;
};

class Etichettatura {
public:
    // Labels keep `distacco` pixels from each other.
    // `linee`: pixels along the process lines, which a label avoids where it can.
    Etichettatura(const RiquadroPixel& area, std::vector<RiquadroPixel> ostacoli, int distacco,
                  std::vector<std::pair<int, int>> linee = {})
        : m_area(area), m_ostacoli(std::move(ostacoli)), m_linee(std::move(linee)), m_distacco(distacco) {}

    // Places the label of a line at the first place along it where it fits inside the area and clear of the
    // labels placed so far, of the obstacles and of the process lines; failing that, at the first such place
    // that only crosses a process line; a line with no place at all stays without a label.
    void aggiungi(const std::vector<Segmento>& parti, Famiglia f, MisuraTesto m, std::string testo, Rgb colore) {
        const Percorso percorso(parti);
        std::vector<double> prove = frazioni(f);
        for (int k = 1; k < 20; ++k)
            prove.push_back(k * 0.05);
        for (const bool evita_linee : {true, false})
            for (double frazione : prove) {
                double x = 0.0, y = 0.0;
                if (!percorso.punto(frazione, x, y)) continue;
                const RiquadroPixel r{static_cast<int>(std::lround(x - m.larghezza / 2.0)),
                                      static_cast<int>(std::lround(y - m.altezza / 2.0)), m.larghezza, m.altezza};
                if (!libero(r) || (evita_linee && sulle_linee(r))) continue;
                m_fatte.push_back({r, std::move(testo), colore});
                return;
            }
    }
    const std::vector<Etichetta>& fatte() const { return m_fatte; }

private:
    bool sulle_linee(const RiquadroPixel& r) const {
        const RiquadroPixel g = gonfia(r, 1);
        for (const auto& [x, y] : m_linee)
            if (g.contiene(x, y)) return true;
        return false;
    }

    bool libero(const RiquadroPixel& r) const {
        if (!dentro(r, gonfia(m_area, -2))) return false;
        for (const RiquadroPixel& o : m_ostacoli)
            if (o.interseca(r)) return false;
        for (const Etichetta& e : m_fatte)
            if (gonfia(e.riquadro, m_distacco).interseca(r)) return false;
        return true;
    }

    RiquadroPixel m_area;
    std::vector<RiquadroPixel> m_ostacoli;
    std::vector<std::pair<int, int>> m_linee;
    std::vector<Etichetta> m_fatte;
    int m_distacco;
};

// The boxes the marks and their labels take with `d` pixels around, measured in the canvas's current font.
std::vector<RiquadroPixel> riquadri_segni(const Plotter& p, const Canvas& c, const IngombroProcesso& ingombro, int d) {
    std::vector<RiquadroPixel> r;
    for (const IngombroProcesso::Segno& s : ingombro.segni) {
        double x = 0.0, y = 0.0;
        p.punto_mondo(s.t, s.x, x, y);
        const MisuraTesto m = c.misura(" " + s.etichetta);
        // A point far off the chart (an extreme input) stops at the plotter's limit, well inside an int.
        r.push_back({tronca_pixel(x) - d, tronca_pixel(y) - d, m.larghezza + 2 * d, m.altezza + 2 * d});
    }
    return r;
}

struct RigaLegenda {
    bool famiglia;
    Famiglia f;
    std::string testo;
    MisuraTesto misura;
};

} // namespace

StileFamiglia stile_famiglia(Famiglia f) {
    switch (f) {
    case Famiglia::umidita_relativa:
        return {{0x4A, 0x8C, 0xD0}, Tratteggio::continuo, "umidita relativa [%]"};
    case Famiglia::entalpia:
        return {{0xD8, 0x84, 0x1C}, Tratteggio::tratteggiato, "entalpia [kJ/kg]"};
    case Famiglia::bulbo_umido:
        return {{0x9A, 0x5C, 0xC0}, Tratteggio::tratto_punto, "bulbo umido [C]"};
    case Famiglia::volume_specifico:
        return {{0x8C, 0x74, 0x50}, Tratteggio::punteggiato, "volume specifico [m3/kg]"};
    }
    return {};
}

RiquadroPixel area_grafico(const Plotter& p) {
    const Area a = area_di(p);
    const int x = tronca_pixel(a.xa), y = tronca_pixel(a.ya);
    return {x, y, tronca_pixel(a.xb) - x + 1, tronca_pixel(a.yb) - y + 1};
}

bool ritaglia(double& x1, double& y1, double& x2, double& y2, double xa, double ya, double xb, double yb) {
    // Liang–Barsky: the segment as x1 + u·dx, y1 + u·dy for u in 0 … 1, cut by each of the four edges.
    const double dx = x2 - x1, dy = y2 - y1;
    double u0 = 0.0, u1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - xa, xb - x1, y1 - ya, yb - y1};
    for (int i = 0; i < 4; ++i) {
        if (!std::isfinite(p[i]) || !std::isfinite(q[i])) return false;
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double u = q[i] / p[i];
        if (p[i] < 0.0) {
            if (u > u1) return false;
            u0 = std::max(u0, u);
        } else {
            if (u < u0) return false;
            u1 = std::min(u1, u);
        }
    }
    const double ox = x1, oy = y1;
    x1 = std::clamp(ox + u0 * dx, xa, xb);
    y1 = std::clamp(oy + u0 * dy, ya, yb);
    x2 = std::clamp(ox + u1 * dx, xa, xb);
    y2 = std::clamp(oy + u1 * dy, ya, yb);
    return true;
}

IngombroProcesso ingombro_tabella(const TabellaPunti& punti, const std::vector<std::pair<int, int>>& linee) {
    IngombroProcesso r;
    std::array<std::size_t, TabellaPunti::numero_voci + 1> posto{};
    for (int i = 1; i <= TabellaPunti::numero_voci; ++i) {
        if (!punti[i].in_uso()) continue;
        posto[static_cast<std::size_t>(i)] = r.segni.size();
        r.segni.push_back({punti[i].X, punti[i].Y, punti[i].etichetta});
    }
    for (const auto& [k, j] : linee)
        r.linee.emplace_back(posto.at(static_cast<std::size_t>(k)), posto.at(static_cast<std::size_t>(j)));
    return r;
}

std::vector<std::pair<int, int>> punti_processo(const Plotter& p, const TabellaPunti& punti) {
    return punti_processo(p, ingombro_tabella(punti));
}

std::vector<std::pair<int, int>> punti_processo(const Plotter& p, const IngombroProcesso& ingombro) {
    const Area a = area_di(p);
    std::vector<std::pair<int, int>> r;
    const auto aggiungi = [&](double t, double x) {
        double cx = 0.0, cy = 0.0;
        p.punto_mondo(t, x, cx, cy);
        if (cx >= a.xa && cx <= a.xb && cy >= a.ya && cy <= a.yb) r.emplace_back(tronca_pixel(cx), tronca_pixel(cy));
    };
    const auto& segni = ingombro.segni;
    for (std::size_t i = 0; i < segni.size(); ++i) {
        aggiungi(segni[i].t, segni[i].x);
        for (std::size_t j = i + 1; j < segni.size(); ++j)
            for (int k = 1; k < 24; ++k) {
                const double u = k / 24.0;
                aggiungi(segni[i].t + u * (segni[j].t - segni[i].t), segni[i].x + u * (segni[j].x - segni[i].x));
            }
    }
    double tmin = 0.0, tmax = 0.0, xmin = 0.0, xmax = 0.0;
    intervalli(p, tmin, tmax, xmin, xmax);
    for (int k = 0; k <= 100; ++k) {
        const double t = tmin + (tmax - tmin) * k / 100.0;
        aggiungi(t, curva_saturazione(t, p.aria()));
    }
    return r;
}

std::vector<RiquadroPixel> angoli_liberi(const RiquadroPixel& area, int larghezza, int altezza,
                                         const std::vector<std::pair<int, int>>& punti,
                                         const std::vector<RiquadroPixel>& riquadri, bool assi_scambiati, int margine) {
    const int m = margine;
    const int sinistra = area.x + m, destra = area.x + area.larghezza - larghezza - m;
    const int alto = area.y + m, basso = area.y + area.altezza - altezza - m;
    std::vector<RiquadroPixel> angoli{{sinistra, alto, larghezza, altezza},
                                      {destra, alto, larghezza, altezza},
                                      {destra, basso, larghezza, altezza},
                                      {sinistra, basso, larghezza, altezza}};
    if (assi_scambiati) std::rotate(angoli.begin(), angoli.begin() + 2, angoli.end());
    const auto costo = [&](const RiquadroPixel& r) {
        long n = 0;
        for (const RiquadroPixel& q : riquadri)
            if (q.interseca(r)) n += 1'000'000;
        for (const auto& [x, y] : punti)
            if (r.contiene(x, y)) ++n;
        return n;
    };
    std::stable_sort(angoli.begin(), angoli.end(),
                     [&](const RiquadroPixel& a, const RiquadroPixel& b) { return costo(a) < costo(b); });
    return angoli;
}

namespace {

// The part of the polygon `poli` inside the rectangle `a` (Sutherland–Hodgman, one edge after the other).
std::vector<std::pair<double, double>> ritaglia_poligono(std::vector<std::pair<double, double>> poli, const Area& a) {
    const auto taglia = [&poli](auto dentro, auto incrocio) {
        std::vector<std::pair<double, double>> fuori;
        for (std::size_t i = 0; i < poli.size(); ++i) {
            const auto& p = poli[i];
            const auto& q = poli[(i + 1) % poli.size()];
            const bool dp = dentro(p), dq = dentro(q);
            if (dp) fuori.push_back(p);
            if (dp != dq) fuori.push_back(incrocio(p, q));
        }
        poli.swap(fuori);
    };
    using P = std::pair<double, double>;
    const auto su_x = [](const P& p, const P& q, double x) {
        return P{x, p.second + (q.second - p.second) * (x - p.first) / (q.first - p.first)};
    };
    const auto su_y = [](const P& p, const P& q, double y) {
        return P{p.first + (q.first - p.first) * (y - p.second) / (q.second - p.second), y};
    };
    taglia([&](const P& p) { return p.first >= a.xa; }, [&](const P& p, const P& q) { return su_x(p, q, a.xa); });
    taglia([&](const P& p) { return p.first <= a.xb; }, [&](const P& p, const P& q) { return su_x(p, q, a.xb); });
    taglia([&](const P& p) { return p.second >= a.ya; }, [&](const P& p, const P& q) { return su_y(p, q, a.ya); });
    taglia([&](const P& p) { return p.second <= a.yb; }, [&](const P& p, const P& q) { return su_y(p, q, a.yb); });
    return poli;
}

// The zone's light fill, its outline and its label's colour.
constexpr Rgb fondo_comfort{214, 240, 214}, bordo_comfort{110, 170, 110}, testo_comfort{40, 110, 40};

} // namespace

void disegna_zona_comfort(Plotter& p) {
    const OpzioniGrafico& o = p.opzioni();
    Canvas* c = p.canvas();
    if (!c || !o.comfort) return;
    const std::vector<VerticeZona> zona = zona_comfort(o.comfort->occupanti, o.comfort->limite, p.aria());
    if (zona.empty()) return;
    std::vector<std::pair<double, double>> poli;
    for (const VerticeZona& v : zona) {
        double cx = 0.0, cy = 0.0;
        p.punto_mondo(v.t, v.x, cx, cy);
        poli.emplace_back(cx, cy);
    }
    const Area a = area_di(p);
    poli = ritaglia_poligono(std::move(poli), a);
    if (poli.size() < 3) return;
    std::vector<std::pair<int, int>> pixel;
    double sx = 0.0, sy = 0.0;
    for (const auto& [x, y] : poli) {
        pixel.emplace_back(tronca_pixel(x), tronca_pixel(y));
        sx += x;
        sy += y;
    }
    const StatoCanvas prima = c->stato();
    const int penna_x = c->pen_x(), penna_y = c->pen_y();
    c->imposta_spessore_penna(1);
    c->imposta_tratteggio(Tratteggio::continuo);
    c->imposta_colore_penna(bordo_comfort);
    c->imposta_colore_pennello(fondo_comfort);
    c->poligono(pixel);
    // The label at the middle of the vertices, on the fill, when it fits inside the plotting area.
    c->imposta_punti_font(std::max(6, (prima.punti_font * 7 + 5) / 10));
    c->imposta_colore_testo(testo_comfort);
    const std::string testo = "comfort |PMV| ≤ " + con_virgola(formatta(o.comfort->limite, 0, 1));
    const MisuraTesto m = c->misura(testo);
    const double n = static_cast<double>(poli.size());
    const int x = tronca_pixel(sx / n) - m.larghezza / 2, y = tronca_pixel(sy / n) - m.altezza / 2;
    if (x >= a.xa && y >= a.ya && x + m.larghezza <= a.xb && y + m.altezza <= a.yb) c->scrivi(x, y, testo);
    c->imposta_stato(prima);
    c->move_to(penna_x, penna_y);
}

// Pixels along the process lines, a pixel apart.
std::vector<std::pair<int, int>> pixel_linee(const Plotter& p, const IngombroProcesso& ingombro) {
    std::vector<std::pair<int, int>> r;
    for (const auto& [k, j] : ingombro.linee) {
        const IngombroProcesso::Segno &a = ingombro.segni.at(k), &b = ingombro.segni.at(j);
        double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
        p.punto_mondo(a.t, a.x, x1, y1);
        p.punto_mondo(b.t, b.x, x2, y2);
        // A point far off the chart stops at the plotter's limit: the samples stay few.
        const int n = std::clamp(static_cast<int>(std::hypot(x2 - x1, y2 - y1)), 1, 4000);
        for (int i = 0; i <= n; ++i)
            r.emplace_back(tronca_pixel(x1 + (x2 - x1) * i / n), tronca_pixel(y1 + (y2 - y1) * i / n));
    }
    return r;
}

namespace {

// The sizes of the layers on a device: thin lines (a third of the process's pen), small labels (seven tenths of its
// font), and a unit of the small labels' height that the gaps and the legend's line samples follow.
struct MisureStrati {
    int spessore, punti_piccoli, unita, spazio, campione;
};

MisureStrati misure_strati(Canvas& c, const StatoCanvas& prima) {
    MisureStrati m{};
    m.spessore = std::max(1, prima.spessore_penna / 3);
    m.punti_piccoli = std::max(6, (prima.punti_font * 7 + 5) / 10);
    c.imposta_punti_font(m.punti_piccoli);
    m.unita = std::max(6, c.misura("0").altezza);
    c.imposta_punti_font(prima.punti_font);
    m.spazio = std::max(2, m.unita * 2 / 5);
    m.campione = 2 * m.unita;
    return m;
}

// The legend's rows: the title line, then a line sample and the name of each family shown, measured.
std::vector<RigaLegenda> righe_legenda(const OpzioniGrafico& o, Canvas& c, const MisureStrati& m) {
    std::vector<RigaLegenda> righe;
    if (!o.titolo.empty()) righe.push_back({false, Famiglia::umidita_relativa, o.titolo, c.misura(o.titolo)});
    c.imposta_punti_font(m.punti_piccoli);
    for (Famiglia f : famiglie)
        if (o.famiglia(f)) {
            const std::string nome = stile_famiglia(f).nome;
            righe.push_back({true, f, nome, c.misura(nome)});
        }
    return righe;
}

// Every family's lines shown, each with its labels placed where they fit.
void disegna_isolinee(Plotter& p, Canvas& c, Etichettatura& etichette, const MisureStrati& m) {
    const OpzioniGrafico& o = p.opzioni();
    const Area a = area_di(p);
    double tmin = 0.0, tmax = 0.0, xmin = 0.0, xmax = 0.0;
    intervalli(p, tmin, tmax, xmin, xmax);
    c.imposta_spessore_penna(m.spessore);
    for (Famiglia f : famiglie) {
        if (!o.famiglia(f)) continue;
        const StileFamiglia stile = stile_famiglia(f);
        c.imposta_colore_penna(stile.colore);
        c.imposta_tratteggio(stile.tratteggio);
        for (const Isolinea& l : isolinee(f, tmin, tmax, xmin, xmax, p.aria())) {
            const std::vector<Segmento> parti = parti_visibili(p, l, a);
            disegna_parti(c, parti);
            if (!parti.empty()) etichette.aggiungi(parti, f, c.misura(l.etichetta), l.etichetta, stile.colore);
        }
    }
    c.imposta_tratteggio(Tratteggio::continuo);
    c.imposta_colore_pennello({255, 255, 255});
    for (const Etichetta& e : etichette.fatte()) {
        c.imposta_colore_testo(e.colore);
        c.scrivi(e.riquadro.x, e.riquadro.y, e.testo);
    }
}

void disegna_legenda(Canvas& c, const RiquadroPixel& legenda, const std::vector<RigaLegenda>& righe,
                     const MisureStrati& m, int punti_font) {
    c.imposta_spessore_penna(1);
    c.imposta_colore_penna(bordo_legenda);
    c.rettangolo(legenda.x, legenda.y, legenda.x + legenda.larghezza, legenda.y + legenda.altezza);
    int y = legenda.y + m.spazio;
    for (const RigaLegenda& r : righe) {
        int x = legenda.x + m.spazio;
        if (r.famiglia) {
            const StileFamiglia stile = stile_famiglia(r.f);
            c.imposta_punti_font(m.punti_piccoli);
            c.imposta_colore_testo(stile.colore);
            c.imposta_colore_penna(stile.colore);
            c.imposta_spessore_penna(m.spessore);
            c.imposta_tratteggio(stile.tratteggio);
            c.move_to(x, y + r.misura.altezza / 2);
            c.line_to(x + m.campione, y + r.misura.altezza / 2);
            c.imposta_tratteggio(Tratteggio::continuo);
            x += m.campione + m.spazio;
        } else {
            c.imposta_punti_font(punti_font);
            c.imposta_colore_testo(nero);
        }
        c.scrivi(x, y, r.testo);
        y += r.misura.altezza;
    }
}

} // namespace

void disegna_strati(Plotter& p, const TabellaPunti& punti, const std::vector<std::pair<int, int>>& linee) {
    disegna_strati(p, ingombro_tabella(punti, linee));
}

void disegna_strati(Plotter& p, const IngombroProcesso& ingombro) {
    const OpzioniGrafico& o = p.opzioni();
    Canvas* c = p.canvas();
    if (!c || (!o.isolinee() && o.titolo.empty())) return;
    const StatoCanvas prima = c->stato();
    const int penna_x = c->pen_x(), penna_y = c->pen_y();
    const RiquadroPixel area = area_grafico(p);
    const MisureStrati m = misure_strati(*c, prima);
    const int margine = std::max(10, static_cast<int>(1.7 * p.cw()));
    std::vector<RiquadroPixel> ostacoli = riquadri_segni(p, *c, ingombro, m.spazio);

    const std::vector<RigaLegenda> righe = righe_legenda(o, *c, m);
    int larghezza = 0, altezza = m.spazio;
    for (const RigaLegenda& r : righe) {
        larghezza = std::max(larghezza, r.misura.larghezza + (r.famiglia ? m.campione + m.spazio : 0));
        altezza += r.misura.altezza;
    }
    larghezza += 2 * m.spazio;
    altezza += m.spazio;
    const RiquadroPixel legenda =
        angoli_liberi(area, larghezza, altezza, punti_processo(p, ingombro), {}, p.scambio_assi(), margine).front();
    ostacoli.push_back(gonfia(legenda, 2));

    Etichettatura etichette(area, ostacoli, std::max(2, m.unita / 5), pixel_linee(p, ingombro));
    disegna_isolinee(p, *c, etichette, m);
    disegna_legenda(*c, legenda, righe, m, prima.punti_font);
    p.occupa(legenda);

    c->imposta_stato(prima);
    c->move_to(penna_x, penna_y);
}

} // namespace ondix
