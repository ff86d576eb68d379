#include "chart/lettura.h"

#include "chart/strati.h"
#include "core/aria_umida.h"
#include "core/numeri.h"

#include <cmath>

namespace ondix {

namespace {

// `valore` with `decimali` decimals and a decimal comma.
std::string numero(double valore, int decimali) {
    std::string s = formatta(valore, 0, decimali);
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

std::string riga(const char* nome, double valore, int decimali, const char* unita) {
    return std::string(nome) + " = " + numero(valore, decimali) + " " + unita;
}

} // namespace

MappaGrafico MappaGrafico::di(const Plotter& p) {
    return {p.finestra_corrente(), static_cast<double>(p.h()), p.scambio_assi(), area_grafico(p), p.aria()};
}

PuntoMondo MappaGrafico::mondo(int px, int py) const {
    const FinestraPlotter& f = finestra;
    const double a = (px + 0.5 - f.ox) / f.sx + f.xmin;
    const double b = (altezza - (py + 0.5) - f.oy) / f.sy + f.ymin;
    return scambio ? PuntoMondo{b, a} : PuntoMondo{a, b};
}

void MappaGrafico::pixel(double t, double x, double& px, double& py) const {
    const FinestraPlotter& f = finestra;
    if (scambio) std::swap(t, x);
    px = (t - f.xmin) * f.sx + f.ox;
    py = altezza - ((x - f.ymin) * f.sy + f.oy);
}

std::vector<std::string> righe_stato(double t, double x, Aria a) {
    std::vector<std::string> r{riga("t", t, 2, "°C"), riga("x", x, 2, "g/kg")};
    if (x < 0.0) return r;
    const double h = entalpia(x, t, a);
    if (x > umidita_saturazione(t, a)) {
        r.push_back(riga("h", h, 2, "kJ/kg"));
        r.emplace_back("oltre la saturazione");
        return r;
    }
    const double ur = umidita_relativa(x, t, a);
    r.push_back(riga("ur", ur, 1, "%"));
    r.push_back(riga("h", h, 2, "kJ/kg"));
    // The wet-bulb solver searches a bounded range; a result that misses its tolerance is no answer. A model's wet
    // bulb is always solved.
    const double tbu = temperatura_bulbo_umido(x, t, a);
    if (a.modello || std::fabs(entalpia(umidita_saturazione(tbu, a), tbu) - h) < 0.1)
        r.push_back(riga("tbu", tbu, 2, "°C"));
    else
        r.emplace_back("tbu non definita");
    if (const std::optional<double> tr = temperatura_rugiada(ur, t, a))
        r.push_back(riga("tr", *tr, 2, "°C"));
    else
        r.emplace_back("tr non definita");
    r.push_back(riga("v", volume_specifico(t, x, a), 3, "m³/kg"));
    return r;
}

std::vector<std::string> righe_punto(const PuntoGrafico& q, Aria a) {
    std::vector<std::string> r{"punto " + q.etichetta};
    for (std::string& s : righe_stato(q.X, q.Y, a))
        r.push_back(std::move(s));
    return r;
}

int voce_vicina(const MappaGrafico& m, const TabellaPunti& punti, int px, int py, double raggio) {
    int migliore = 0;
    double distanza = raggio;
    for (int i = 1; i <= TabellaPunti::numero_voci; ++i) {
        if (!punti[i].in_uso()) continue;
        double x = 0.0, y = 0.0;
        m.pixel(punti[i].X, punti[i].Y, x, y);
        const double d = std::hypot(px + 0.5 - x, py + 0.5 - y);
        if (d <= distanza) {
            distanza = d;
            migliore = i;
        }
    }
    return migliore;
}

} // namespace ondix
