// Shared set-up for the chart tests: a plotter drawing into a recording canvas.
#pragma once

#include "chart/plotter.h"
#include "chart/recording_canvas.h"

#include <string>
#include <vector>

namespace ondix::test {

inline constexpr Rgb nero{0, 0, 0}, blu{0, 0, 255}, verde{0, 128, 0}, rosso{255, 0, 0};

// A plotter whose screen and printer canvases record what they are given.
struct Banco {
    RecordingCanvas schermo;
    RecordingCanvas stampante;
    Plotter p;

    // A 1024 × 768 screen (plotting area 1014 × 688) and an A4 page at 300 dpi.
    explicit Banco(std::uint16_t larghezza = 1024, std::uint16_t altezza = 768, int pagina_w = 2480,
                   int pagina_h = 3508) {
        p.imposta_canvas_schermo(&schermo);
        p.imposta_canvas_stampante(&stampante, pagina_w, pagina_h);
        p.imposta_dimensione_schermo(larghezza, altezza);
    }
    RecordingCanvas& canvas() { return p.dispositivo() == Dispositivo::schermo ? schermo : stampante; }
    // The texts drawn, in order.
    std::vector<std::string> testi() {
        std::vector<std::string> r;
        for (const auto& t : canvas().solo(Primitiva::Tipo::testo))
            r.push_back(t.testo);
        return r;
    }
};

} // namespace ondix::test
