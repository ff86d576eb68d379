// Thermal comfort of a room: the PMV/PPD model of ISO 7730 (Fanger's heat balance), its categories, the adaptive
// model of EN 16798-1 for rooms without mechanical cooling, and the comfort zone a chart shades.
#pragma once

#include "core/aria_umida.h"
#include "core/esito.h"
#include "core/rapporto.h"
#include "core/stato_aria.h"

#include <optional>
#include <string>
#include <vector>

namespace ondix {

// 1 met, W/m² of body surface; 1 clo, m²·K/W.
inline constexpr double watt_per_met = 58.15;
inline constexpr double m2kw_per_clo = 0.155;

// The occupants and the room beyond the air state: metabolic rate (met), clothing insulation (clo), relative air
// speed (m/s), mean radiant temperature (°C; none: equal to the air's) and external work (met).
struct Occupanti {
    double met = 1.2;
    double clo = 0.5;
    double v = 0.1;
    std::optional<double> tr;
    double lavoro = 0.0;
    friend bool operator==(const Occupanti&, const Occupanti&) = default;
};

// The occupants the model is computed for, wider than the ranges ISO 7730 validates it over (between the two a value
// is computed and flagged): metabolic rate from 0.7 met (sleeping) to 10 met (the hardest work), clothing from 0 to
// 4 clo (polar clothing), relative air speed from 0 to 5 m/s (a strong draught; beyond it the forced-convection term
// of the model no longer describes a room), external work from 0 to below the metabolic rate.
inline constexpr double met_minimo = 0.7, met_massimo = 10.0;
inline constexpr double clo_massimo = 4.0;
inline constexpr double v_massima = 5.0; // m/s
// Whether the metabolic rate met, clothing clo, relative air speed v (m/s) and external work lavoro (met) lie within
// those bounds; otherwise the reason, naming the value and its bounds ("met è fuori da 0.7 a 10 met").
Fatto controlla_occupanti(double met, double clo, double v, double lavoro);

// The ranges ISO 7730 validates the model over; a value outside is still computed and flagged by one bit.
enum LimiteComfort : unsigned {
    fuori_pmv = 1u << 0, // PMV outside −2 … +2
    fuori_met = 1u << 1, // metabolic rate outside 0.8 … 4 met (46 … 232 W/m²)
    fuori_clo = 1u << 2, // clothing outside 0 … 2 clo
    fuori_ta = 1u << 3,  // air temperature outside 10 … 30 °C
    fuori_tr = 1u << 4,  // mean radiant temperature outside 10 … 40 °C
    fuori_v = 1u << 5,   // relative air speed outside 0 … 1 m/s
    fuori_pa = 1u << 6,  // water vapour pressure outside 0 … 2700 Pa
};

struct Comfort {
    double pmv = 0;     // predicted mean vote
    double ppd = 0;     // predicted percentage of dissatisfied, %
    double t_abito = 0; // surface temperature of the clothing, °C
    unsigned fuori = 0; // LimiteComfort bits of the inputs and result outside the model's ranges
};

// PMV and PPD of ISO 7730 at air temperature ta and mean radiant temperature tr (°C), relative air speed v (m/s),
// water vapour pressure pa (Pa), metabolic rate met, clothing clo and external work lavoro (met). The clothing's
// surface temperature is found from its heat balance to 1e-9 K. Inputs outside the bounds of controlla_occupanti,
// a negative vapour pressure or a value not finite give the reason instead.
Esito<Comfort> pmv_ppd(double ta, double tr, double v, double pa, double met, double clo, double lavoro = 0.0);
// The same for the room air state s in the air `a`: the vapour pressure is the state's relative humidity times
// the saturation pressure at its dry bulb, both of the air `a`.
Esito<Comfort> comfort_stato(const StatoCompleto& s, const Occupanti& o, Aria a = {});
// PPD, %, of a PMV.
double ppd_da_pmv(double pmv);
// The names of the ranges in `fuori`, comma separated ("ta, pa"); empty when none.
std::string testo_limiti(unsigned fuori);

// The categories of EN 16798-1 (I, II, III; the same limits as ISO 7730's A, B, C) and none of them.
enum class Categoria { I, II, III, nessuna };
// "I", "II", "III", "nessuna".
// A room to judge: its occupants and the category whose PMV limit bounds the comfort zone.
struct RichiestaComfort {
    Occupanti occupanti;
    Categoria categoria = Categoria::II;
};

const char* testo_categoria(Categoria c);
// The category of a PMV: I when |PMV| < 0.2 (PPD < 6 %), II when < 0.5 (PPD < 10 %), III when < 0.7 (PPD < 15 %).
Categoria categoria_pmv(double pmv);
// The |PMV| limit of category I, II or III (0.2, 0.5, 0.7).
double limite_pmv(Categoria c);

// The adaptive model of EN 16798-1: the running mean of the outdoor temperature, with α = 0.8.
inline constexpr double alfa_media_mobile = 0.8;
// θrm of a day from the day before's: (1 − α)·θed−1 + α·θrm−1, with θed−1 the day before's mean outdoor temperature.
double media_mobile(double trm_ieri, double t_media_ieri);
// θrm of each day of a run of daily mean outdoor temperatures taken as a cycle (a weather year: the first day
// follows the last). The first day starts from the standard's seven-day approximation over the days before it,
// (θed−1 + 0.8·θed−2 + 0.6·θed−3 + 0.5·θed−4 + 0.4·θed−5 + 0.3·θed−6 + 0.2·θed−7) / 3.8, then the recurrence runs.
std::vector<double> medie_mobili(const std::vector<double>& medie_giornaliere);

// Comfort temperature and limits of the adaptive model at a running mean trm (°C).
struct LimitiAdattivi {
    double t_comfort = 0; // 0.33·θrm + 18.8
    bool valido = false;  // θrm within 10 … 30 °C, where the model applies
};
LimitiAdattivi limiti_adattivi(double trm);
// The upper and lower operative temperature of category I, II or III: θc + 2, 3, 4 and θc − 3, 4, 5 K.
double limite_superiore(const LimitiAdattivi& l, Categoria c);
double limite_inferiore(const LimitiAdattivi& l, Categoria c);
// The best category whose limits (both included) hold the operative temperature to; nessuna outside III's, and
// when the model does not apply.
Categoria categoria_adattiva(double to, const LimitiAdattivi& l);

// The scheme the categories are named by in every output.
inline constexpr const char* schema_categorie = "EN 16798-1";

// The comfort block of a report for the room air at ta (°C): a separator, the title, the occupants' data, PMV, PPD,
// the category of EN 16798-1 and, when any, the line naming the model's ranges the inputs lie outside of.
void scrivi_comfort(Rapporto& r, const Comfort& c, const Occupanti& o, double ta);

// One vertex of a comfort zone on a chart: dry bulb, °C, and humidity ratio, g/kg.
struct VerticeZona {
    double t, x;
};
// The comfort zone |PMV| ≤ limite for the occupants `o` (at their mean radiant temperature, or at the air's when
// they have none) in the air `a`, as a closed polygon: the PMV = −limite edge from dry air up to saturation, then the
// PMV = +limite edge from saturation down to dry air, each vertex solved for t at a relative humidity. Empty when
// the zone does not lie within −50 … 100 °C, or the inputs are refused.
std::vector<VerticeZona> zona_comfort(const Occupanti& o, double limite, Aria a = {});

} // namespace ondix
