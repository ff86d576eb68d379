#include "chart/isolinee.h"

#include "core/aria_umida.h"
#include "core/numeri.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace ondix {

namespace {

// The moist-air relations the lines follow, at the pressure P (Pa) the chart is drawn at: the same correlations as
// the property functions, which use the program's one pressure.
double x_da_ur(double ur, double t, double P) {
    const double phi = ur / 100.0;
    return 1000.0 * 0.622 * phi / (P / pressione_saturazione(t) - phi);
}
double x_saturazione(double t, double P) {
    const double ps = pressione_saturazione(t);
    return 622.0 * ps / (P - ps);
}
// Humidity ratio on the line of enthalpy h (kJ/kg) at t.
double x_entalpia(double h, double t) {
    return 1000.0 * (h - 1.004 * t) / (1.926 * t + 2490.0);
}
// Humidity ratio on the line of specific volume v (m³/kg) at t.
double x_volume(double v, double t, double P) {
    return 622.0 * (P * v / (287.0 * (t + 273.0)) - 1.0);
}
double volume(double t, double x, double P) {
    return 287.0 * (t + 273.0) * (0.622 + x / 1000.0) / (0.622 * P);
}

// Temperatures searched for the saturation curve: below the boiling point at any pressure the chart is drawn at.
constexpr double t_minima = -100.0, t_massima = 95.0;

// The temperature where a line x = linea(t), falling with t, meets the rising saturation curve.
double incontro_saturazione(const std::function<double(double)>& linea, double P) {
    double lo = t_minima, hi = t_massima;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2.0;
        if (x_saturazione(mid, P) > linea(mid))
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

double passo_volume(double tmin, double tmax, double xmin, double xmax, double pressione) {
    const double xlo = std::max(xmin, 0.0);
    const double xhi = std::clamp(x_saturazione(tmax, pressione), xlo, std::max(xmax, xlo));
    const double linee = (volume(tmax, xhi, pressione) - volume(tmin, xlo, pressione)) / 0.01;
    return linee > 15.0 ? 0.02 : 0.01;
}

std::vector<Isolinea> isolinee(Famiglia f, double tmin, double tmax, double xmin, double xmax, double P) {
    std::vector<Isolinea> r;
    if (!(tmax > tmin) || !(xmax > xmin) || !(P > 0.0)) return r;
    const double xlo = std::max(xmin, 0.0);
    // The unsaturated corner of the rectangle with the most enthalpy and volume.
    const double xhi = std::clamp(x_saturazione(tmax, P), xlo, std::max(xmax, xlo));
    // Temperature where a line of enthalpy h reaches x = xlo.
    const auto fine_entalpia = [xlo](double h) { return (h - 2.49 * xlo) / (1.004 + 0.001926 * xlo); };

    switch (f) {
    case Famiglia::umidita_relativa:
        for (int ur = 10; ur <= 90; ur += 10) {
            const auto linea = [ur, P](double t) { return x_da_ur(ur, t, P); };
            std::vector<PuntoMondo> punti = campiona(linea, tmin, tmax, tmin, tmax, campioni_curva);
            // The curve rises with t: past its first point above the rectangle nothing more of it shows.
            const auto sopra =
                std::find_if(punti.begin(), punti.end(), [xmax](const PuntoMondo& q) { return q.x > xmax; });
            if (sopra != punti.end()) punti.erase(sopra + 1, punti.end());
            r.push_back({f, double(ur), std::to_string(ur) + "%", std::move(punti)});
        }
        break;
    case Famiglia::entalpia: {
        const double hlo = entalpia(xlo, tmin), hhi = entalpia(xhi, tmax);
        if (!((hhi - hlo) / 10.0 <= linee_massime)) break;
        for (double k = std::ceil(hlo / 10.0); k * 10.0 <= hhi; k += 1.0) {
            const double h = k * 10.0 + 0.0; // never −0
            const auto linea = [h](double t) { return x_entalpia(h, t); };
            const double ta = incontro_saturazione(linea, P);
            r.push_back({f, h, "h " + numero(h, 0), campiona(linea, ta, fine_entalpia(h), tmin, tmax, campioni_retta)});
        }
        break;
    }
    case Famiglia::bulbo_umido: {
        // The wet bulb of air is the temperature of saturated air of the same enthalpy: each line is the line of
        // that enthalpy from the saturation curve at its temperature.
        const double hlo = entalpia(xlo, tmin);
        if (!((tmax - tmin + 60.0) / 5.0 <= linee_massime)) break;
        for (double k = std::floor((tmin - 60.0) / 5.0); k * 5.0 <= tmax; k += 1.0) {
            const double tw = k * 5.0 + 0.0;
            if (tw < t_minima) continue;
            const double h = entalpia(x_saturazione(tw, P), tw);
            if (h < hlo) continue;
            const auto linea = [h](double t) { return x_entalpia(h, t); };
            std::vector<PuntoMondo> punti = campiona(linea, tw, fine_entalpia(h), tmin, tmax, campioni_retta);
            // The line starts on the curve exactly.
            if (!punti.empty() && punti.front().t == tw) punti.front().x = x_saturazione(tw, P);
            r.push_back({f, tw, "tbu " + numero(tw, 0), std::move(punti)});
        }
        break;
    }
    case Famiglia::volume_specifico: {
        const double passo = passo_volume(tmin, tmax, xmin, xmax, P);
        const double vlo = volume(tmin, xlo, P), vhi = volume(tmax, xhi, P);
        if (!((vhi - vlo) / passo <= linee_massime)) break;
        for (double k = std::ceil(vlo / passo - 1e-9); k * passo <= vhi + 1e-12; k += 1.0) {
            const double v = k * passo + 0.0;
            const auto linea = [v, P](double t) { return x_volume(v, t, P); };
            const double ta = incontro_saturazione(linea, P);
            const double tb = P * v * 0.622 / (287.0 * (0.622 + xlo / 1000.0)) - 273.0;
            r.push_back({f, v, "v " + numero(v, 2), campiona(linea, ta, tb, tmin, tmax, campioni_retta)});
        }
        break;
    }
    }
    // Lines with nothing inside the temperature range are of no use.
    r.erase(std::remove_if(r.begin(), r.end(), [](const Isolinea& l) { return l.punti.size() < 2; }), r.end());
    return r;
}

} // namespace ondix
