#include "cli/riepilogo.h"

#include "core/numeri.h"
#include "core/rapporto.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace ondix {

namespace {

std::optional<double> valore_di(const StatoAria& s, Grandezza g) {
    switch (g) {
    case Grandezza::t:
        return s.t;
    case Grandezza::ur:
        return s.ur;
    case Grandezza::x:
        return s.x;
    case Grandezza::h:
        return s.h;
    case Grandezza::tbu:
        return s.bulbo_umido;
    case Grandezza::tr:
        return s.rugiada;
    }
    return std::nullopt;
}

std::string_view unita(Grandezza g) {
    switch (g) {
    case Grandezza::ur:
        return "%";
    case Grandezza::x:
        return "g/kg";
    case Grandezza::h:
        return "kj/kg";
    default:
        return "C";
    }
}

// A label padded to the summary's first column, then ":".
std::string etichetta(std::string_view testo) {
    std::string r(testo);
    if (r.size() < 21) r.resize(21, ' ');
    return r + ":";
}

} // namespace

std::optional<Soglia> soglia_da_testo(std::string_view testo) {
    const auto uguale = testo.find('=');
    if (uguale == std::string_view::npos) return std::nullopt;
    const auto g = grandezza_da_nome(testo.substr(0, uguale));
    const auto v = numero_intero_testo(testo.substr(uguale + 1));
    if (!g || !v || !std::isfinite(*v)) return std::nullopt;
    return Soglia{*g, *v};
}

double quantile(const std::vector<double>& valori, double q) {
    const double pos = q * static_cast<double>(valori.size() - 1);
    const auto k = static_cast<std::size_t>(std::floor(pos));
    if (k + 1 >= valori.size()) return valori.back();
    return valori[k] + (pos - static_cast<double>(k)) * (valori[k + 1] - valori[k]);
}

void Riepilogo::aggiungi(const StatoAria& s) {
    if (m_t.empty()) m_min_x = m_max_x = s.x;
    m_t.push_back(s.t);
    m_h.push_back(s.h);
    m_somma_x += s.x;
    m_min_x = std::min(m_min_x, s.x);
    m_max_x = std::max(m_max_x, s.x);
    for (std::size_t i = 0; i < m_soglie.size(); ++i) {
        const auto v = valore_di(s, m_soglie[i].grandezza);
        if (v && *v > m_soglie[i].valore) ++m_sopra[i];
    }
}

std::vector<std::string> Riepilogo::righe(std::string_view nome, std::string_view localita, std::string_view pressione,
                                          std::size_t scartate) const {
    std::vector<std::string> r;
    r.push_back("RIEPILOGO " + std::string(nome));
    if (!localita.empty()) r.push_back(etichetta("localita") + " " + std::string(localita));
    r.push_back(etichetta("pressione atmosferica") + " " + std::string(pressione));
    r.push_back(etichetta("ore") + formatta(static_cast<double>(m_t.size()), 8, 0) +
                "   (scartate: " + std::to_string(scartate) + ")");
    if (m_t.empty()) return r;

    std::vector<double> t = m_t, h = m_h;
    std::sort(t.begin(), t.end());
    std::sort(h.begin(), h.end());
    const double n = static_cast<double>(t.size());
    const auto media = [n](const std::vector<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0) / n; };
    const auto tre = [](std::string_view nomev, double a, double b, double c, int d) {
        return etichetta(nomev) + numero_virgola(a, 10, d) + numero_virgola(b, 10, d) + numero_virgola(c, 10, d);
    };
    r.push_back(std::string(22, ' ') + "    minimo     medio   massimo");
    r.push_back(tre("t  [C]", t.front(), media(t), t.back(), 1));
    r.push_back(tre("x  [g/kg]", m_min_x, m_somma_x / n, m_max_x, 2));
    r.push_back(tre("h  [kj/kg]", h.front(), media(h), h.back(), 1));
    // The share of the hours in which the design value is exceeded: 0.4 % and 1 % for cooling, 99 % and 99.6 %
    // for heating.
    constexpr std::array<double, 4> superata{0.004, 0.01, 0.99, 0.996};
    r.push_back(etichetta("valori di progetto") + "     0,4 %       1 %      99 %    99,6 %");
    for (const auto& [nomev, v] : {std::pair<std::string_view, const std::vector<double>*>{"t  [C]", &t},
                                   std::pair<std::string_view, const std::vector<double>*>{"h  [kj/kg]", &h}}) {
        std::string riga = etichetta(nomev);
        for (const double p : superata)
            riga += numero_virgola(quantile(*v, 1.0 - p), 10, 1);
        r.push_back(riga);
    }
    for (std::size_t i = 0; i < m_soglie.size(); ++i) {
        const Soglia& s = m_soglie[i];
        r.push_back(etichetta("ore con " + std::string(nome_grandezza(s.grandezza)) + " > " +
                              con_virgola(formatta(s.valore, 0, s.valore == std::floor(s.valore) ? 0 : 2)) + " " +
                              std::string(unita(s.grandezza))) +
                    formatta(static_cast<double>(m_sopra[i]), 8, 0));
    }
    return r;
}

} // namespace ondix
