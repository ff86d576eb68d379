// The chart point table that a calculation fills and the chart draws, and the chart views.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace ondix {

struct PuntoGrafico {
    double X = 0.0;        // dry-bulb temperature, °C
    double Y = 0.0;        // humidity ratio, g/kg
    std::string etichetta; // at most 10 characters
    bool scritto = false;  // written by the calculation

    // An entry is in use when the calculation wrote it (a state at 0 °C and 0 g/kg too) or its coordinates are not
    // both 0.
    bool in_uso() const { return scritto || !(X == 0.0 && Y == 0.0); }
};

// Ten entries, numbered 1 to 10. Entry positions matter: the chart joins points by number.
class TabellaPunti {
public:
    static constexpr int numero_voci = 10;

    // Empties every entry (coordinates 0, labels empty).
    void azzera_etichette();
    // Entry n, 1 to 10.
    PuntoGrafico& operator[](int n) { return m_voci.at(static_cast<std::size_t>(n - 1)); }
    const PuntoGrafico& operator[](int n) const { return m_voci.at(static_cast<std::size_t>(n - 1)); }
    // Sets entry n (1 to 10); the label is cut to 10 characters.
    void imposta(int n, double X, double Y, std::string_view etichetta);

private:
    std::array<PuntoGrafico, numero_voci> m_voci{};
};

enum class VistaGrafico { standard, verifica, invernale, punto };

// "standard", "verifica", "invernale", "punto".
std::string_view nome_vista(VistaGrafico v);
std::optional<VistaGrafico> vista_da_nome(std::string_view nome);

// The world rectangle a view asks of the graph frame: °C and g/kg.
struct IntervalliGrafico {
    double tmin, tmax, xmin, xmax;
};
// Ranges of view `v` over the table as it is now (the winter and point views depend on it).
IntervalliGrafico intervalli_vista(VistaGrafico v, const TabellaPunti& punti);

} // namespace ondix
