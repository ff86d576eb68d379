#include "chart/recording_canvas.h"

#include <cstdio>

namespace ondix {

std::string Primitiva::descrizione() const {
    const auto n = [](int v) { return std::to_string(v); };
    switch (tipo) {
    case Tipo::linea: {
        static constexpr const char* tratti[] = {"", " tratteggiata", " punteggiata", " tratto-punto"};
        return "linea " + n(x1) + ' ' + n(y1) + ' ' + n(x2) + ' ' + n(y2) + ' ' + testo_rgb(stato.colore_penna) + ' ' +
               n(stato.spessore_penna) + tratti[static_cast<int>(stato.tratteggio)];
    }
    case Tipo::ellisse:
    case Tipo::rettangolo:
        return std::string(tipo == Tipo::ellisse ? "ellisse " : "rettangolo ") + n(x1) + ' ' + n(y1) + ' ' + n(x2) +
               ' ' + n(y2) + ' ' + testo_rgb(stato.colore_penna) + ' ' + n(stato.spessore_penna) + ' ' +
               testo_rgb(stato.colore_pennello);
    case Tipo::poligono: {
        std::string r = "poligono";
        for (const auto& [x, y] : vertici)
            r += ' ' + n(x) + ' ' + n(y);
        return r + ' ' + testo_rgb(stato.colore_penna) + ' ' + n(stato.spessore_penna) + ' ' +
               testo_rgb(stato.colore_pennello);
    }
    case Tipo::testo:
        return "testo " + n(x1) + ' ' + n(y1) + ' ' + testo_rgb(stato.colore_testo) + ' ' + stato.font + ' ' +
               n(stato.punti_font) + " \"" + testo + '"';
    }
    return {};
}

void RecordingCanvas::scrivi(int x, int y, std::string_view testo) {
    registra(Primitiva::Tipo::testo, x, y, x, y);
    m_primitive.back().testo = testo;
}

void RecordingCanvas::poligono(const std::vector<std::pair<int, int>>& punti) {
    if (punti.empty()) return;
    registra(Primitiva::Tipo::poligono, punti.front().first, punti.front().second, punti.back().first,
             punti.back().second);
    m_primitive.back().vertici = punti;
}

std::vector<Primitiva> RecordingCanvas::solo(Primitiva::Tipo tipo) const {
    std::vector<Primitiva> r;
    for (const auto& p : m_primitive)
        if (p.tipo == tipo) r.push_back(p);
    return r;
}

std::string RecordingCanvas::descrizione() const {
    std::string r;
    for (const auto& p : m_primitive)
        r += p.descrizione() + '\n';
    return r;
}

void RecordingCanvas::registra(Primitiva::Tipo tipo, int x1, int y1, int x2, int y2) {
    Primitiva p;
    p.tipo = tipo;
    p.x1 = x1;
    p.y1 = y1;
    p.x2 = x2;
    p.y2 = y2;
    p.stato = stato();
    m_primitive.push_back(std::move(p));
}

} // namespace ondix
