#include "chart/isolinee.h"

#include "core/aria_umida.h"
#include "core/modello.h"
#include "core/numeri.h"
#include "core/stato_aria.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace ondix {

namespace {

// The moist-air relations the lines follow, in the air the chart is drawn for: without a model the same correlations
// as the property functions, written out at the chart's pressure P (Pa); with a model the model's functions.
double x_da_ur(double ur, double t, Aria a) {
    if (a.modello) return umidita_specifica(ur, t, a);
    const double P = a.pressione;
    const double phi = ur / 100.0;
    return 1000.0 * 0.622 * phi / (P / pressione_saturazione(t) - phi);
}
double x_saturazione(double t, Aria a) {
    if (a.modello) return umidita_saturazione(t, a);
    const double P = a.pressione;
    const double ps = pressione_saturazione(t);
    return 622.0 * ps / (P - ps);
}
// Humidity ratio on the line of enthalpy h (kJ/kg) at t.
double x_entalpia(double h, double t, Aria a) {
    if (a.modello) return x_da_t_h(t, h, a);
    return 1000.0 * (h - 1.004 * t) / (1.926 * t + 2490.0);
}
// Humidity ratio on the line of specific volume v (m³/kg) at t (the volume is linear in x).
double x_volume(double v, double t, Aria a) {
    if (a.modello) {
        const double v0 = volume_specifico(t, 0.0, a);
        return (v - v0) / (volume_specifico(t, 1.0, a) - v0);
    }
    const double P = a.pressione;
    return 622.0 * (P * v / (287.0 * (t + 273.0)) - 1.0);
}
double volume(double t, double x, Aria a) {
    if (a.modello) return volume_specifico(t, x, a);
    const double P = a.pressione;
    return 287.0 * (t + 273.0) * (0.622 + x / 1000.0) / (0.622 * P);
}

// Temperatures searched for the saturation curve: below the boiling point at any pressure the chart is drawn at.
constexpr double t_minima = -100.0, t_massima = 95.0;

// The temperature where a line x = linea(t), falling with t, meets the rising saturation curve. Sixty halvings with
// the midpoint (lo + hi) / 2, as the chart has always searched it (not the shared bisection): the golden drawings
// hold its points to the last digit.
double incontro_saturazione(const std::function<double(double)>& linea, Aria a) {
    double lo = t_minima, hi = t_massima;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2.0;
        if (x_saturazione(mid, a) > linea(mid))
            hi = mid;
        else
            lo = mid;
    }
    return (lo + hi) / 2.0;
}

// The line x = linea(t) sampled from ta to tb, each end kept inside tmin … tmax (outside it the line is out of
// the rectangle anyway); empty when nothing of it is left.
std::vector<PuntoMondo> campiona(const std::function<double(double)>& linea, double ta, double tb, double tmin,
                                 double tmax, int campioni) {
    ta = std::max(ta, tmin);
    tb = std::min(tb, tmax);
    std::vector<PuntoMondo> r;
    if (!(tb > ta)) return r;
    r.reserve(static_cast<std::size_t>(campioni) + 1);
    for (int i = 0; i <= campioni; ++i) {
        const double t = i == campioni ? tb : ta + (tb - ta) * i / campioni;
        r.push_back({t, linea(t)});
    }
    return r;
}

std::string numero(double v, int decimali) {
    return formatta(v, 0, decimali);
}

// Samples of a straight-ish line (enthalpy, wet bulb, volume) across the rectangle.
constexpr int campioni_retta = 24;
// Samples of a relative-humidity curve across the rectangle.
constexpr int campioni_curva = 100;
// More lines than this in one family would be a smudge (a rectangle far wider than any chart): none are drawn.
constexpr double linee_massime = 200.0;

} // namespace

double passo_volume(double tmin, double tmax, double xmin, double xmax, Aria aria) {
    const double xlo = std::max(xmin, 0.0);
    const double xhi = std::clamp(x_saturazione(tmax, aria), xlo, std::max(xmax, xlo));
    const double linee = (volume(tmax, xhi, aria) - volume(tmin, xlo, aria)) / 0.01;
    return linee > 15.0 ? 0.02 : 0.01;
}

namespace {

// The rectangle the lines are drawn in and the air they follow; xlo and xhi the humidity ratios of its unsaturated
// corners of least and most enthalpy and volume.
struct Riquadro {
    double tmin, tmax, xmin, xmax;
    Aria a;
    double xlo, xhi;

    // Temperature where a line of enthalpy h reaches x = xlo.
    double fine_entalpia(double h) const {
        if (a.modello) return t_da_x_h(xlo, h, a);
        return (h - 2.49 * xlo) / (1.004 + 0.001926 * xlo);
    }
};

void linee_umidita_relativa(const Riquadro& q, std::vector<Isolinea>& r) {
    for (int ur = 10; ur <= 90; ur += 10) {
        const auto linea = [ur, a = q.a](double t) { return x_da_ur(ur, t, a); };
        std::vector<PuntoMondo> punti = campiona(linea, q.tmin, q.tmax, q.tmin, q.tmax, campioni_curva);
        // The curve rises with t: past its first point above the rectangle nothing more of it shows.
        const auto sopra =
            std::find_if(punti.begin(), punti.end(), [xmax = q.xmax](const PuntoMondo& p) { return p.x > xmax; });
        if (sopra != punti.end()) punti.erase(sopra + 1, punti.end());
        r.push_back({Famiglia::umidita_relativa, double(ur), std::to_string(ur) + "%", std::move(punti)});
    }
}

void linee_entalpia(const Riquadro& q, std::vector<Isolinea>& r) {
    const Aria a = q.a;
    const double hlo = entalpia(q.xlo, q.tmin, a), hhi = entalpia(q.xhi, q.tmax, a);
    if (!((hhi - hlo) / 10.0 <= linee_massime)) return;
    for (double k = std::ceil(hlo / 10.0); k * 10.0 <= hhi; k += 1.0) {
        const double h = k * 10.0 + 0.0; // never −0
        const auto linea = [h, a](double t) { return x_entalpia(h, t, a); };
        const double ta = incontro_saturazione(linea, a);
        r.push_back({Famiglia::entalpia, h, "h " + numero(h, 0),
                     campiona(linea, ta, q.fine_entalpia(h), q.tmin, q.tmax, campioni_retta)});
    }
}

// The wet bulb of air is the temperature of saturated air of the same enthalpy: each line is the line of that
// enthalpy from the saturation curve at its temperature. A model's wet bulb is its own: each line is the model's
// humidity ratio of that wet bulb, down to x = xlo.
void linee_bulbo_umido(const Riquadro& q, std::vector<Isolinea>& r) {
    const Aria a = q.a;
    const double P = a.pressione;
    const double hlo = entalpia(q.xlo, q.tmin, a);
    if (!((q.tmax - q.tmin + 60.0) / 5.0 <= linee_massime)) return;
    for (double k = std::floor((q.tmin - 60.0) / 5.0); k * 5.0 <= q.tmax; k += 1.0) {
        const double tw = k * 5.0 + 0.0;
        if (tw < t_minima) continue;
        const double h = entalpia(x_saturazione(tw, a), tw, a);
        double fine = 0.0;
        std::function<double(double)> linea;
        if (a.modello) {
            const ModelloAria* m = a.modello;
            linea = [m, tw, P](double t) { return m->x_da_bulbo(t, tw, P); };
            // The line falls with t: where it reaches xlo, by halving up to 400 K past the curve.
            double lo = tw, hi = tw + 400.0;
            for (int i = 0; i < 60; ++i) {
                const double mid = (lo + hi) / 2.0;
                (linea(mid) > q.xlo ? lo : hi) = mid;
            }
            fine = (lo + hi) / 2.0;
            if (fine < q.tmin) continue;
        } else {
            if (h < hlo) continue;
            linea = [h](double t) { return x_entalpia(h, t, Aria{}); };
            fine = q.fine_entalpia(h);
        }
        std::vector<PuntoMondo> punti = campiona(linea, tw, fine, q.tmin, q.tmax, campioni_retta);
        // The line starts on the curve exactly.
        if (!punti.empty() && punti.front().t == tw) punti.front().x = x_saturazione(tw, a);
        r.push_back({Famiglia::bulbo_umido, tw, "tbu " + numero(tw, 0), std::move(punti)});
    }
}

void linee_volume(const Riquadro& q, std::vector<Isolinea>& r) {
    const Aria a = q.a;
    const double P = a.pressione;
    const double passo = passo_volume(q.tmin, q.tmax, q.xmin, q.xmax, a);
    const double vlo = volume(q.tmin, q.xlo, a), vhi = volume(q.tmax, q.xhi, a);
    if (!((vhi - vlo) / passo <= linee_massime)) return;
    // With a model: the volume is linear in t too, so the line reaches xlo where v(t, xlo) = v.
    const double v0 = volume(0.0, q.xlo, a), v100 = volume(100.0, q.xlo, a);
    for (double k = std::ceil(vlo / passo - 1e-9); k * passo <= vhi + 1e-12; k += 1.0) {
        const double v = k * passo + 0.0;
        const auto linea = [v, a](double t) { return x_volume(v, t, a); };
        const double ta = incontro_saturazione(linea, a);
        const double tb =
            a.modello ? (v - v0) * 100.0 / (v100 - v0) : P * v * 0.622 / (287.0 * (0.622 + q.xlo / 1000.0)) - 273.0;
        r.push_back({Famiglia::volume_specifico, v, "v " + numero(v, 2),
                     campiona(linea, ta, tb, q.tmin, q.tmax, campioni_retta)});
    }
}

} // namespace

std::vector<Isolinea> isolinee(Famiglia f, double tmin, double tmax, double xmin, double xmax, Aria a) {
    std::vector<Isolinea> r;
    if (!(tmax > tmin) || !(xmax > xmin) || !(a.pressione > 0.0)) return r;
    const double xlo = std::max(xmin, 0.0);
    // The unsaturated corner of the rectangle with the most enthalpy and volume.
    const double xhi = std::clamp(x_saturazione(tmax, a), xlo, std::max(xmax, xlo));
    const Riquadro q{tmin, tmax, xmin, xmax, a, xlo, xhi};
    switch (f) {
    case Famiglia::umidita_relativa:
        linee_umidita_relativa(q, r);
        break;
    case Famiglia::entalpia:
        linee_entalpia(q, r);
        break;
    case Famiglia::bulbo_umido:
        linee_bulbo_umido(q, r);
        break;
    case Famiglia::volume_specifico:
        linee_volume(q, r);
        break;
    }
    // Lines with nothing inside the temperature range are of no use.
    r.erase(std::remove_if(r.begin(), r.end(), [](const Isolinea& l) { return l.punti.size() < 2; }), r.end());
    return r;
}

} // namespace ondix
