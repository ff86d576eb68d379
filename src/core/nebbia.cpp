#include "core/nebbia.h"

#include "core/aria_umida.h"
#include "core/computazioni.h"
#include "core/numeri.h"
#include "core/stato_aria.h"

#include <cmath>

namespace ondix {

namespace {
// Upper end of the equilibrium search, °C: 95 °C where water boils above it (at the fixed pressure the
// saturation humidity ratio there is about 1950 g/kg), else 1 K below the boiling point at the air's pressure,
// where saturated air still holds a finite amount of water.
double t_massima_equilibrio(Aria a) {
    if (pressione_saturazione(95.0, a) < a.pressione) return 95.0;
    const std::optional<double> ebollizione = temperatura_saturazione(a.pressione, a);
    return ebollizione ? *ebollizione - 1.0 : 95.0;
}

double entalpia_satura(double t, Aria a) {
    return entalpia(umidita_saturazione(t, a), t, a);
}

std::string senza_blank_attorno(std::string_view s) {
    const auto inizio = s.find_first_not_of(' ');
    if (inizio == std::string_view::npos) return {};
    return std::string(s.substr(inizio, s.find_last_not_of(' ') - inizio + 1));
}

void scrivi_nebbia(Rapporto& r, const StatoNebbia& s, Aria a) {
    r.aggiungi("ATTENZIONE: stato sovrasaturo (nebbia)");
    if (!s.equilibrio) {
        r.aggiungi("equilibrio oltre " + formatta(t_massima_equilibrio(a), 0, 0) + " C: non calcolato");
        return;
    }
    const EquilibrioNebbia& e = *s.equilibrio;
    r.aggiungi("equilibrio: aria satura di pari entalpia");
    scrivi_valore(r, 7, 1, "Temperatura        :", e.t, " C");
    scrivi_valore(r, 7, 1, "umidita relativa   :", 100.0, " %");
    scrivi_valore(r, 7, 2, "umidita specifica  :", e.x, " g/kg ");
    scrivi_valore(r, 7, 2, "acqua liquida      :", e.acqua, " g/kg");
    if (s.portata) scrivi_valore(r, 7, 2, "portata acqua liq. :", e.acqua * *s.portata / 1000.0, " kg/h");
}
} // namespace

// isgreater: a quiet comparison, so that it never raises the invalid-operation flag the calculations watch.
bool sovrasaturo(double ur) {
    return std::isgreater(ur, 100.05);
}

std::optional<EquilibrioNebbia> equilibrio_nebbia(double t, double x, Aria a) {
    const double H = entalpia(x, t, a);
    // The same search as the wet bulb (saturated air of equal enthalpy), upward from the dry bulb: supersaturated
    // air has more enthalpy than saturated air at its own temperature.
    double lo = t, hi = t_massima_equilibrio(a);
    if (!(lo < hi) || !(entalpia_satura(hi, a) >= H)) return std::nullopt;
    // The cap only ends searches at temperatures so far out that doubles cannot split 0.0005 K. A loop of its own,
    // not the shared bisection: its midpoint (lo + hi) / 2 and its stopping rule give the equilibrium the reports
    // and their golden files show, to the last bit.
    for (int n = 0; n < 2000 && hi - lo >= 0.0005; ++n) {
        const double mid = (lo + hi) / 2.0;
        if (entalpia_satura(mid, a) > H)
            hi = mid;
        else
            lo = mid;
    }
    const double te = (lo + hi) / 2.0;
    const double xe = umidita_saturazione(te, a);
    return EquilibrioNebbia{te, xe, std::fmax(x - xe, 0.0)};
}

void segnala_nebbia(Calcolo& c, std::string_view titolo, double t, double x, std::optional<double> portata) {
    if (!std::isfinite(t) || !std::isfinite(x)) return;
    const double ur = umidita_relativa(x, t, c.aria());
    if (!sovrasaturo(ur)) return;
    StatoNebbia s;
    s.punto = senza_blank_attorno(titolo);
    s.t = t;
    s.x = x;
    s.ur = ur;
    s.equilibrio = equilibrio_nebbia(t, x, c.aria());
    s.portata = portata;
    scrivi_nebbia(c.rapporto(), s, c.aria());
    c.risultati().nebbia.push_back(std::move(s));
}

} // namespace ondix
