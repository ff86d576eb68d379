#include "cli/riepilogo.h"

#include "core/numeri.h"
#include "core/rapporto.h"

#include <algorithm>
#include <cmath>

namespace ondix {

namespace {

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

Esito<Soglia> soglia_da_testo(std::string_view testo) {
    const Errore rifiuto{Causa::dati, "--soglia \"" + testo_visibile(testo) +
                                          "\" non è NOME=VALORE con NOME fra t, ur, x, h, tbu, tr"};
    const auto uguale = testo.find('=');
    if (uguale == std::string_view::npos) return rifiuto;
    const auto g = grandezza_da_nome(testo.substr(0, uguale));
    const auto v = numero_intero_testo(testo.substr(uguale + 1));
    if (!g || !v || !std::isfinite(*v)) return rifiuto;
    return Soglia{*g, *v};
}

Istogramma::Istogramma(double minimo, double massimo)
    : m_primo(std::llround(minimo * 1000.0)), m_ultimo(std::llround(massimo * 1000.0)),
      m_blocchi(static_cast<std::size_t>(m_ultimo - m_primo) / passi_per_blocco + 1) {}

void Istogramma::aggiungi(double v) {
    // The comparisons first: a value far beyond the range must not reach the conversion to an integer.
    const double passi = v * 1000.0;
    const std::int64_t k = !(passi > static_cast<double>(m_primo))    ? m_primo
                           : !(passi < static_cast<double>(m_ultimo)) ? m_ultimo
                                                                      : std::llround(passi);
    const auto i = static_cast<std::size_t>(k - m_primo);
    auto& blocco = m_blocchi[i / passi_per_blocco];
    if (!blocco) blocco = std::make_unique<Blocco>(Blocco{});
    ++(*blocco)[i % passi_per_blocco];
    ++m_quanti;
}

double Istogramma::valore_di_rango(std::uint64_t r) const {
    std::uint64_t prima = 0;
    for (std::size_t b = 0; b < m_blocchi.size(); ++b) {
        if (!m_blocchi[b]) continue;
        for (std::size_t j = 0; j < passi_per_blocco; ++j) {
            prima += (*m_blocchi[b])[j];
            if (prima > r)
                // Thousandths divided, not multiplied by 0.001: the double nearest to the decimal, as read.
                return static_cast<double>(m_primo + static_cast<std::int64_t>(b * passi_per_blocco + j)) / 1000.0;
        }
    }
    return static_cast<double>(m_ultimo) / 1000.0;
}

double Istogramma::quantile(double q) const {
    const double pos = q * static_cast<double>(m_quanti - 1);
    const auto k = static_cast<std::uint64_t>(std::floor(pos));
    const double a = valore_di_rango(k);
    if (k + 1 >= m_quanti) return a;
    return a + (pos - static_cast<double>(k)) * (valore_di_rango(k + 1) - a);
}

void Riepilogo::aggiungi(const StatoCompleto& s) {
    const std::array<double, 3> valori{s.t, s.x, s.h};
    for (std::size_t i = 0; i < valori.size(); ++i) {
        Estremi& e = m_estremi[i];
        if (m_ore == 0) e.minimo = e.massimo = valori[i];
        e.minimo = std::min(e.minimo, valori[i]);
        e.massimo = std::max(e.massimo, valori[i]);
        e.somma += valori[i];
    }
    ++m_ore;
    m_t.aggiungi(s.t);
    m_h.aggiungi(s.h);
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
    r.push_back(etichetta("ore") + formatta(static_cast<double>(m_ore), 8, 0) +
                "   (scartate: " + std::to_string(scartate) + ")");
    if (m_ore == 0) return r;

    const double n = static_cast<double>(m_ore);
    const auto tre = [n](std::string_view nomev, const Estremi& e, int d) {
        return etichetta(nomev) + numero_virgola(e.minimo, 10, d) + numero_virgola(e.somma / n, 10, d) +
               numero_virgola(e.massimo, 10, d);
    };
    r.push_back(std::string(22, ' ') + "    minimo     medio   massimo");
    r.push_back(tre("t  [C]", m_estremi[0], 1));
    r.push_back(tre("x  [g/kg]", m_estremi[1], 2));
    r.push_back(tre("h  [kj/kg]", m_estremi[2], 1));
    // The share of the hours in which the design value is exceeded: 0.4 % and 1 % for cooling, 99 % and 99.6 %
    // for heating.
    constexpr std::array<double, 4> superata{0.004, 0.01, 0.99, 0.996};
    r.push_back(etichetta("valori di progetto") + "     0,4 %       1 %      99 %    99,6 %");
    for (const auto& [nomev, v] : {std::pair<std::string_view, const Istogramma*>{"t  [C]", &m_t},
                                   std::pair<std::string_view, const Istogramma*>{"h  [kj/kg]", &m_h}}) {
        std::string riga = etichetta(nomev);
        for (const double p : superata)
            riga += numero_virgola(v->quantile(1.0 - p), 10, 1);
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

void OreComfort::aggiungi(const StatoCompleto& s, Aria a, std::string_view chiave, bool meteo) {
    if (const auto c = comfort_stato(s, m_occupanti, a)) {
        ++m_pmv[static_cast<std::size_t>(categoria_pmv(c->pmv))];
        if (c->fuori) ++m_fuori;
    } else {
        ++m_pmv[static_cast<std::size_t>(Categoria::nessuna)];
        ++m_fuori;
    }
    if (!meteo) return;
    // The day: the key without its last field (the hour).
    std::string_view giorno = chiave.substr(0, chiave.empty() ? 0 : chiave.size() - 1);
    giorno = giorno.substr(0, giorno.rfind(',') == std::string_view::npos ? 0 : giorno.rfind(','));
    if (m_giorni.empty() || giorno != m_giorno) {
        m_giorni.push_back({0.0, 0});
        m_giorno = giorno;
    }
    m_giorni.back().first += s.t;
    ++m_giorni.back().second;
    m_ore.push_back(m_occupanti.tr ? 0.5 * (s.t + *m_occupanti.tr) : s.t);
}

std::vector<std::string> OreComfort::righe(bool meteo) const {
    constexpr std::array<const char*, 4> nomi{"categoria I", "categoria II", "categoria III", "nessuna categoria"};
    const auto ore = [](std::size_t n) { return formatta(static_cast<double>(n), 8, 0); };
    // The categories are nested (I within II within III): an hour counts in the best one only.
    const std::string esclusive = "ore per categoria, esclusive: ogni ora conta solo nella migliore";
    const Occupanti& o = m_occupanti;
    std::vector<std::string> r;
    r.push_back("COMFORT PMV/PPD (ISO 7730), categorie " + std::string(schema_categorie) + ": met " +
                con_virgola(formatta(o.met, 0, 2)) + ", clo " + con_virgola(formatta(o.clo, 0, 2)) + ", v " +
                con_virgola(formatta(o.v, 0, 2)) + " m/s, tr " +
                (o.tr ? con_virgola(formatta(*o.tr, 0, 1)) + " C" : std::string("= t")));
    r.push_back(esclusive);
    for (std::size_t i = 0; i < nomi.size(); ++i)
        r.push_back(etichetta(nomi[i]) + ore(m_pmv[i]));
    r.push_back(etichetta("fuori limiti ISO 7730") + ore(m_fuori));
    if (!meteo) return r;

    std::vector<double> medie;
    medie.reserve(m_giorni.size());
    for (const auto& [somma, n] : m_giorni)
        medie.push_back(somma / static_cast<double>(n));
    const std::vector<double> trm = medie_mobili(medie);
    std::array<std::size_t, 4> adattive{};
    std::size_t fuori_campo = 0, ora = 0;
    for (std::size_t giorno = 0; giorno < m_giorni.size(); ++giorno) {
        const LimitiAdattivi l = limiti_adattivi(trm[giorno]);
        for (std::size_t k = 0; k < m_giorni[giorno].second; ++k, ++ora) {
            if (!l.valido)
                ++fuori_campo;
            else
                ++adattive[static_cast<std::size_t>(categoria_adattiva(m_ore[ora], l))];
        }
    }
    r.push_back("COMFORT ADATTIVO (" + std::string(schema_categorie) +
                "), media mobile esterna alfa 0,8, t operativa " + (o.tr ? "(t + tr) / 2" : "= t"));
    r.push_back(esclusive);
    r.push_back(etichetta("giorni") + ore(m_giorni.size()));
    for (std::size_t i = 0; i < nomi.size(); ++i)
        r.push_back(etichetta(nomi[i]) + ore(adattive[i]));
    r.push_back(etichetta("fuori campo 10-30 C") + ore(fuori_campo));
    return r;
}

} // namespace ondix
