#include "core/rapporto.h"

#include "core/aria_umida.h"
#include "core/modello.h"
#include "core/numeri.h"

namespace ondix {

void Rapporto::aggiungi(std::string riga) {
    if (m_guardia) m_guardia();
    m_righe.push_back(std::move(riga));
}

std::string Rapporto::testo() const {
    std::string s;
    for (std::size_t i = 0; i < m_righe.size(); ++i) {
        if (i) s += '\n';
        s += m_righe[i];
    }
    return s;
}

std::string con_virgola(std::string_view testo) {
    std::string s(testo);
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

std::string numero_virgola(double valore, int w, int d) {
    return con_virgola(formatta(valore, w, d));
}

void scrivi_valore(Rapporto& r, std::uint16_t w, std::uint16_t d, std::string_view etichetta, double valore,
                   std::string_view unita) {
    std::string riga(etichetta);
    riga += numero_virgola(valore, w, d);
    riga += unita;
    r.aggiungi(std::move(riga));
}

void scrivi_dato(Rapporto& r, std::string_view etichetta, std::string_view unita, std::uint16_t w, std::uint16_t d,
                 double valore) {
    std::string campo = primi_caratteri(std::string(etichetta) + std::string(35, ' '), 34);
    campo += ':';
    campo += numero_virgola(valore, w, d);
    campo += ' ';
    campo += unita;
    r.aggiungi(std::move(campo));
}

std::string riga_pressione(Aria a) {
    return "pressione atmosferica: " + formatta(a.pressione, 0, 0) + " Pa";
}

std::vector<std::string> righe_aria(Aria a) {
    std::vector<std::string> righe;
    if (a.modello) righe.push_back(riga_modello(a));
    if (a.pressione != pressione_atmosferica) righe.push_back(riga_pressione(a));
    return righe;
}

std::string riga_modello(Aria a) {
    return "modello aria umida: " + (a.modello ? std::string(a.modello->nome()) : std::string("correlazioni"));
}

void scrivi_separatore(Rapporto& r) {
    r.aggiungi(std::string(44, '-'));
}

void scrivi_cinque_righe(Rapporto& r, double t, double ur, double x, double h, double v) {
    scrivi_valore(r, 7, 1, "Temperatura        :", t, " C");
    scrivi_valore(r, 7, 1, "umidita relativa   :", ur, " %");
    scrivi_valore(r, 7, 2, "umidita specifica  :", x, " g/kg ");
    scrivi_valore(r, 7, 1, "Entalpia           :", h, " kj/kg ");
    scrivi_valore(r, 7, 3, "volume specifico   :", v, " mc/kg");
}

namespace {
void cinque_righe(Rapporto& r, double t, double ur, double x, Aria a) {
    const double h = entalpia(x, t, a);
    const double v = volume_specifico(t, x, a);
    scrivi_cinque_righe(r, t, ur, x, h, v);
}
} // namespace

void scrivi_punto_ur(Rapporto& r, double t, double ur, Aria a) {
    cinque_righe(r, t, ur, umidita_specifica(ur, t, a), a);
}

void scrivi_punto_x(Rapporto& r, double t, double x, Aria a) {
    cinque_righe(r, t, umidita_relativa(x, t, a), x, a);
}

void scrivi_punto_titolo(Rapporto& r, std::string_view titolo, double t, double ur, Aria a) {
    scrivi_separatore(r);
    r.aggiungi(std::string(titolo));
    scrivi_punto_ur(r, t, ur, a);
}

} // namespace ondix
