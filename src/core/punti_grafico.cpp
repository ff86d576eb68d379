#include "core/punti_grafico.h"

#include "core/numeri.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ondix {

void TabellaPunti::azzera_etichette() {
    m_voci.fill(PuntoGrafico{});
}

void TabellaPunti::imposta(int n, double X, double Y, std::string_view etichetta) {
    PuntoGrafico& p = (*this)[n];
    p.X = X;
    p.Y = Y;
    p.etichetta = primi_caratteri(etichetta, 10);
    p.scritto = true;
}

std::string_view nome_vista(VistaGrafico v) {
    switch (v) {
    case VistaGrafico::standard:
        return "standard";
    case VistaGrafico::verifica:
        return "verifica";
    case VistaGrafico::invernale:
        return "invernale";
    case VistaGrafico::punto:
        return "punto";
    }
    return "standard";
}

std::optional<VistaGrafico> vista_da_nome(std::string_view nome) {
    for (auto v : {VistaGrafico::standard, VistaGrafico::verifica, VistaGrafico::invernale, VistaGrafico::punto})
        if (nome_vista(v) == nome) return v;
    return std::nullopt;
}

namespace {

// Margin of the point view around its points, °C and g/kg.
constexpr double margine_punto = 2.0;

// lo … hi in increasing order; a bound that is not a finite number takes the other's place, and a zero span is
// widened by the margin on both sides.
void in_ordine(double& lo, double& hi) {
    if (!std::isfinite(lo)) lo = std::isfinite(hi) ? hi : 0.0;
    if (!std::isfinite(hi)) hi = lo;
    if (lo > hi) std::swap(lo, hi);
    if (lo == hi) {
        lo -= margine_punto;
        hi += margine_punto;
    }
}

// Widens lo … hi so that v lies inside with the margin, when it does not lie inside already.
void comprendi(double& lo, double& hi, double v) {
    if (!std::isfinite(v)) return;
    if (v < lo) lo = v - margine_punto;
    if (v > hi) hi = v + margine_punto;
}

// The point chart: from the dew point (entry 2) to the dry bulb (entry 1) in temperature, from the state's humidity
// ratio (entry 1) to the wet bulb's saturation humidity ratio (entry 3), each with the margin. Whatever the table
// holds, the ranges come out in order and hold every point in use of the three.
IntervalliGrafico intervalli_punto(const TabellaPunti& punti) {
    const PuntoGrafico &p1 = punti[1], &p2 = punti[2], &p3 = punti[3];
    IntervalliGrafico r{p2.X - margine_punto, p1.X + margine_punto, p1.Y - margine_punto, p3.Y + margine_punto};
    // Air without a dew point leaves entry 2 empty: the range then starts at the colder of the other two.
    if (!p2.in_uso()) r.tmin = std::min(p1.X, p3.X) - margine_punto;
    in_ordine(r.tmin, r.tmax);
    in_ordine(r.xmin, r.xmax);
    for (int i = 1; i <= 3; ++i)
        if (punti[i].in_uso()) {
            comprendi(r.tmin, r.tmax, punti[i].X);
            comprendi(r.xmin, r.xmax, punti[i].Y);
        }
    return r;
}

} // namespace

IntervalliGrafico intervalli_vista(VistaGrafico v, const TabellaPunti& punti) {
    switch (v) {
    case VistaGrafico::standard:
        return {-5.0, 50.0, 0.0, 30.0};
    case VistaGrafico::verifica:
        return {-5.0, 50.0, 0.0, 25.0};
    case VistaGrafico::invernale: {
        // Over all ten entries, empty ones included (they count as 0, 0, which the starting values cover).
        IntervalliGrafico r{-5.0, 0.0, 0.0, 0.0};
        for (int i = 1; i <= TabellaPunti::numero_voci; ++i) {
            r.tmin = std::min(r.tmin, punti[i].X);
            r.tmax = std::max(r.tmax, punti[i].X);
            r.xmin = std::min(r.xmin, punti[i].Y);
            r.xmax = std::max(r.xmax, punti[i].Y);
        }
        return r;
    }
    case VistaGrafico::punto:
        return intervalli_punto(punti);
    }
    return {-5.0, 50.0, 0.0, 30.0};
}

} // namespace ondix
