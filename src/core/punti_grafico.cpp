#include "core/punti_grafico.h"

#include "core/numeri.h"

#include <algorithm>

namespace ondix {

void TabellaPunti::azzera_etichette() { m_voci.fill(PuntoGrafico{}); }

void TabellaPunti::imposta(int n, double X, double Y, std::string_view etichetta) {
    PuntoGrafico& p = (*this)[n];
    p.X = X;
    p.Y = Y;
    p.etichetta = primi_caratteri(etichetta, 10);
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
        return {punti[2].X - 2.0, punti[1].X + 2.0, punti[1].Y - 2.0, punti[3].Y + 2.0};
    }
    return {-5.0, 50.0, 0.0, 30.0};
}

} // namespace ondix
