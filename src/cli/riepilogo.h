// The one-screen summary of a batch of states (an hourly weather year): extremes, means, design values and hours
// above thresholds.
#pragma once

#include "cli/stati.h"
#include "core/stato_aria.h"

#include <array>
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
// "t=30" → {t, 30}; nullopt when the text is not a known name, '=' and a number.
std::optional<Soglia> soglia_da_testo(std::string_view testo);

// The value exceeded by the fraction 1 − q of `valori` (sorted ascending, not empty): the q-quantile, interpolated
// linearly between neighbours.
double quantile(const std::vector<double>& valori, double q);

class Riepilogo {
public:
    explicit Riepilogo(std::vector<Soglia> soglie = {}) : m_soglie(std::move(soglie)), m_sopra(m_soglie.size()) {}
    void aggiungi(const StatoAria& s);
    std::size_t ore() const { return m_t.size(); }

    // The summary lines: the source's name and place, the pressure text, the counts, the minimum, mean and maximum
    // of t, x and h, the 0.4 %, 1 %, 99 % and 99.6 % design values of t and h (the values exceeded in that share of
    // the hours), then the hours above each threshold. Numbers with the decimal comma, as in the reports.
    std::vector<std::string> righe(std::string_view nome, std::string_view localita, std::string_view pressione,
                                   std::size_t scartate) const;

private:
    std::vector<Soglia> m_soglie;
    std::vector<std::size_t> m_sopra;
    std::vector<double> m_t, m_h;
    double m_somma_x = 0, m_min_x = 0, m_max_x = 0;
};

} // namespace ondix
