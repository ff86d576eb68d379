#include "chart/assi.h"

#include "core/numeri.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

namespace ondix {

namespace {

// Ticks beyond this many are not drawn: only a range far outside anything the chart asks for gets there.
constexpr double tacche_massime = 10000.0;

// The first value of the 1–2–5 series above `ampiezza`, looked up from position 1 of the table. Beyond the table
// the series goes on (200 000 000, 500 000 000, …) so that any finite range still gets about 20 to 40 ticks.
double valore_tabella(double ampiezza) {
    for (int k = 1; k < 40; ++k)
        if (tabella_passi[k] > ampiezza) return tabella_passi[k];
    double decade = 1e8;
    double v = decade;
    for (int j = 0; !(v > ampiezza) && v < 1e300; ++j) {
        const int fase = j % 3;
        if (fase == 0) v = 2.0 * decade;
        if (fase == 1) v = 5.0 * decade;
        if (fase == 2) v = decade = 10.0 * decade;
    }
    return v;
}

// Bound v moved outward to a multiple of `passo`; an upper positive or lower negative bound always gains a step.
double bordo(double v, double passo, bool superiore) {
    if (v == 0.0) return 0.0;
    const double n = std::trunc(std::fabs(v) / passo);
    const bool verso_fuori = superiore ? v > 0.0 : v < 0.0;
    const double m = (verso_fuori ? n + 1.0 : n) * passo;
    return v < 0.0 ? -m : m;
}

std::string con_precisione(double v, std::chars_format formato, int decimali) {
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, formato, decimali);
    return std::string(buf, r.ptr);
}

// Decimals of a label that is not an integer, from the tick step.
int decimali_per(double passo) {
    if (passo >= 1.0) return 0;
    if (passo >= 0.1) return 2;
    if (passo >= 0.01) return 3;
    if (passo >= 0.001) return 4;
    // Finer steps: one decimal more for each further decade, as above.
    int d = 4;
    for (double soglia = 0.001; passo < soglia && d < 12; soglia /= 10.0)
        ++d;
    return d;
}

// Decimals the step itself has (2.5 has 1, 0.25 has 2), so that every multiple of it can be written exactly.
int decimali_del_passo(double passo) {
    double scalato = std::fabs(passo);
    for (int d = 0; d < 12; ++d, scalato *= 10.0)
        if (std::fabs(scalato - std::round(scalato)) <= 1e-9 * scalato) return d;
    return 12;
}

void asse_x(Plotter& p) {
    const FinestraPlotter& f = p.finestra_corrente();
    const double L = static_cast<double>(lunghezza_caratteri(f.titolo_x));
    const std::string titolo = primi_caratteri(f.titolo_x, 8);
    const double W = p.w(), cw = p.cw(), ch = p.ch(), ox = f.ox, oy = f.oy;
    const double n = std::trunc((f.xmax - f.xmin) / f.passo_x);

    p.linea(ox, oy, W, oy);
    p.linea(W, oy, W - 1.5 * cw, oy - cw);
    p.linea(W - 1.5 * cw, oy - cw, W - 1.5 * cw, oy + cw);
    p.linea(W - 1.5 * cw, oy + cw, W, oy);
    if (n >= 0.0 && n <= tacche_massime) {
        const int tacche = static_cast<int>(n);
        for (int i = 0; i <= tacche; ++i) {
            const double X = i * f.passo_x * f.sx + ox;
            const double valore = f.xmin + i * f.passo_x;
            if (i % 2 == 1) {
                p.linea(X, oy, X, oy - 0.6 * ch);
            } else if (i < tacche) {
                p.linea(X, oy, X, oy - ch);
                // No label where it would run into the axis title.
                if (X <= W - (L + 5.0) * cw)
                    p.scrivi_testo(numero_asse(valore, false, f.passo_x), X - cw, oy - 2.25 * ch);
            }
        }
    }
    p.scrivi_testo(titolo, W - (L + 2.0) * cw, oy - 2.25 * ch);
}

void asse_y(Plotter& p) {
    const FinestraPlotter& f = p.finestra_corrente();
    const double H = p.h(), cw = p.cw(), ch = p.ch(), ox = f.ox, oy = f.oy;
    const double m = std::trunc((f.ymax - f.ymin) / f.passo_y);

    p.linea(ox, oy, ox, H);
    p.linea(ox, H, ox - cw, H - cw);
    p.linea(ox - cw, H - cw, ox + cw, H - cw);
    p.linea(ox + cw, H - cw, ox, H);
    double colonna = ox - 7.0 * cw - ch;
    if (colonna < 0.0) colonna = 0.0;
    if (m >= 0.0 && m <= tacche_massime) {
        const int tacche = static_cast<int>(m);
        for (int i = 0; i <= tacche; ++i) {
            const double Y = f.sy * f.passo_y * i + oy;
            const double valore = f.ymin + i * f.passo_y;
            if (i % 2 == 1) {
                p.linea(ox, Y, ox - 0.75 * ch, Y);
            } else if (i < tacche) {
                p.linea(ox, Y, ox - ch, Y);
                p.scrivi_testo(numero_asse(valore, true, f.passo_y).substr(1), colonna, Y + 1.05 * cw);
            }
        }
    }
    p.scrivi_testo(f.titolo_y, ox - 7.0 * cw - ch - 1.5 * cw, H - 1.5 * ch);
}

} // namespace

CampoArrotondato campo_arrotondato(double lo, double hi) {
    const double passo = valore_tabella(std::fabs(hi - lo)) / 20.0;
    return {passo, bordo(lo, passo, false), bordo(hi, passo, true)};
}

namespace {

// The label text before alignment.
std::string testo_etichetta(double valore, double passo) {
    // A value within rounding noise of 0 is the zero tick.
    if (valore == 0.0 || std::fabs(valore) < std::fabs(passo) * 1e-9) return std::string(1, '0');
    const bool intero = valore == std::floor(valore);
    // A step of 2.5 would give 0 decimals by the rule of the step's size, and the tick at −7.5 would read "-8".
    const int d = intero ? 0 : std::max(decimali_per(passo), decimali_del_passo(passo));
    const double a = std::fabs(valore);
    if (a >= 999999.0 || a <= 0.0001) {
        std::string s = con_precisione(valore, std::chars_format::scientific, 1);
        for (char& c : s)
            if (c == 'e') c = 'E';
        return s;
    }
    // Halves away from zero.
    const double scala = std::pow(10.0, d);
    std::string s = con_precisione(std::round(valore * scala) / scala, std::chars_format::fixed, d);
    if (!intero && s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s;
}

} // namespace

std::string numero_asse(double valore, bool allineato_destra, double passo) {
    std::string s = testo_etichetta(valore, passo);
    if (allineato_destra) {
        if (s.size() < 8) s.insert(0, 8 - s.size(), ' ');
        s = s.substr(s.size() - 8);
    }
    return s;
}

void assi(Plotter& p, std::string_view titolo_x, std::string_view titolo_y, std::uint16_t penna, double xmin,
          double ymin, double xmax, double ymax, const ImpostazioniAssi& impostazioni) {
    FinestraPlotter& f = p.finestra_corrente();
    f.titolo_x = primi_caratteri(titolo_x, 10);
    f.titolo_y = primi_caratteri(titolo_y, 10);
    if (ymin == ymax) {
        ymin *= 0.5;
        ymax *= 1.5;
        if (ymin > ymax) std::swap(ymin, ymax); // a negative value
    }
    // A range still of zero width (both bounds 0) has no scale: give it one unit.
    if (ymin == ymax) ymax = ymin + 1.0;
    if (xmin == xmax) xmax = xmin + 1.0;

    const CampoArrotondato cx = campo_arrotondato(xmin, xmax);
    f.passo_x = cx.passo;
    const CampoArrotondato cy = campo_arrotondato(ymin, ymax);
    f.passo_y = cy.passo;

    f.ox = impostazioni.margine_sinistro * impostazioni.colonne_margine_sinistro * p.cw() + p.origine_x();
    f.oy = (impostazioni.righe_margine_basso + impostazioni.righe_extra) * p.ch() + p.origine_y();
    p.finestra(cx.minimo, cx.massimo, cy.minimo, cy.massimo);

    p.penna(penna);
    p.imposta_mappatura(false);
    asse_x(p);
    asse_y(p);
}

void traccia_funzione(Plotter& p, const std::function<double(double)>& f, std::uint16_t penna, double a, double b) {
    p.penna(penna);
    p.imposta_mappatura(true);
    const FinestraPlotter& w = p.finestra_corrente();
    // The values run up the window, or across it when the axes are swapped.
    const double ymin = p.scambio_assi() ? w.xmin : w.ymin, ymax = p.scambio_assi() ? w.xmax : w.ymax;
    bool sposta = true;
    for (int i = 0; i <= intervalli_curva; ++i) {
        const double x = a + ((b - a) / intervalli_curva) * i;
        const double y = f(x);
        // Outside the window's vertical range (or not a number): lift the pen.
        if (!(y >= ymin && y <= ymax)) {
            sposta = true;
            continue;
        }
        if (sposta)
            p.sposta(x, y);
        else
            p.traccia(x, y);
        sposta = false;
    }
    p.imposta_mappatura(false);
}

} // namespace ondix
