// The one-screen summary of a batch of states (an hourly weather year): extremes, means, design values and hours
// above thresholds.
#pragma once

#include "cli/stati.h"
#include "core/comfort.h"
#include "core/esito.h"
#include "core/stato_aria.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondix {

// Hours above `valore` of quantity `grandezza` are counted.
struct Soglia {
    Grandezza grandezza;
    double valore;
};
// "t=30" → {t, 30}; the reason when the text is not a known name, '=' and a number.
Esito<Soglia> soglia_da_testo(std::string_view testo);

// How many values fell on each step of 0.001 between `minimo` and `massimo` (a value beyond them counts at the
// nearer one): the quantiles of any number of values in a memory that does not grow with them. Blocks of steps
// are allocated as values reach them, so that values spread over a few degrees take a few kilobytes, and the
// whole range at most 8 bytes a step. A value given with at most three decimals is kept exactly; any other is
// at most 0.0005 off.
class Istogramma {
public:
    Istogramma(double minimo, double massimo);
    void aggiungi(double v);
    std::uint64_t quanti() const { return m_quanti; }
    // The value exceeded by the fraction 1 − q of the values (at least one): the q-quantile, interpolated linearly
    // between neighbours as over the sorted values.
    double quantile(double q) const;

private:
    static constexpr std::size_t passi_per_blocco = 1024;
    using Blocco = std::array<std::uint64_t, passi_per_blocco>;
    // The value of rank `r` (0 is the smallest).
    double valore_di_rango(std::uint64_t r) const;

    std::int64_t m_primo, m_ultimo; // the steps of the range, in thousandths
    std::vector<std::unique_ptr<Blocco>> m_blocchi;
    std::uint64_t m_quanti = 0;
};

class Riepilogo {
public:
    explicit Riepilogo(std::vector<Soglia> soglie = {})
        : m_soglie(std::move(soglie)), m_sopra(m_soglie.size()), m_t(t_minima_stato, t_massima_stato),
          m_h(h_minima, h_massima) {}
    void aggiungi(const StatoCompleto& s);
    std::size_t ore() const { return m_ore; }

    // The range of enthalpies the design values are read in, kJ/kg: an enthalpy beyond it counts as its limit.
    static constexpr double h_minima = -100.0, h_massima = 1000.0;

    // The summary lines: the source's name and place, the pressure text, the counts, the minimum, mean and maximum
    // of t, x and h, the 0.4 %, 1 %, 99 % and 99.6 % design values of t and h (the values exceeded in that share of
    // the hours), then the hours above each threshold. Numbers with the decimal comma, as in the reports.
    std::vector<std::string> righe(std::string_view nome, std::string_view localita, std::string_view pressione,
                                   std::size_t scartate) const;

private:
    std::vector<Soglia> m_soglie;
    std::vector<std::size_t> m_sopra;
    Istogramma m_t, m_h;
    // Minimum, sum and maximum of t, x and h, in this order.
    struct Estremi {
        double minimo = 0, somma = 0, massimo = 0;
    };
    std::array<Estremi, 3> m_estremi;
    std::size_t m_ore = 0;
};

// The hours of a batch in each comfort category of EN 16798-1, each hour counted once, in the best category it
// meets: by the PMV model of a room at every state, and for a weather file also by the adaptive model, the running
// mean of the outdoor temperature taken from the daily means of the file's dry bulbs (the year as a cycle,
// medie_mobili) and each hour's operative temperature (the dry bulb, or its mean with the occupants' radiant
// temperature) judged against that day's limits. The PMV counts take a fixed memory; the adaptive model, whose first
// day follows the year's last, keeps each hour's operative temperature (8 bytes) and each day's sum until the end.
class OreComfort {
public:
    explicit OreComfort(const Occupanti& o) : m_occupanti(o) {}
    // One state; with `meteo` (a weather file) also for the adaptive model, `chiave` being the row's
    // "year,month,day,hour," (the day is all but the hour).
    void aggiungi(const StatoCompleto& s, Aria a, std::string_view chiave, bool meteo);
    // The lines of the summary: the hours in each PMV category, and with `meteo` in each adaptive one.
    std::vector<std::string> righe(bool meteo) const;

private:
    Occupanti m_occupanti;
    std::array<std::size_t, 4> m_pmv{}; // I, II, III, none
    std::size_t m_fuori = 0;            // hours whose inputs or PMV lie outside the model's ranges
    // Each hour's operative temperature, in order, and each day's sum of dry bulbs and number of hours.
    std::vector<double> m_ore;
    std::vector<std::pair<double, std::size_t>> m_giorni;
    std::string m_giorno; // the key of the last day
};

} // namespace ondix
