#include "chart/canvas.h"

#include "core/numeri.h"

#include <cmath>
#include <cstdio>

namespace ondix {

std::string testo_rgb(Rgb c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c.r, c.g, c.b);
    return buf;
}

MisuraTesto Canvas::misura(std::string_view testo) const {
    const double em = m_stato.punti_font * 96.0 / 72.0;
    return {static_cast<int>(std::ceil(0.5 * em * static_cast<double>(lunghezza_caratteri(testo)))),
            static_cast<int>(std::ceil(1.15 * em))};
}

} // namespace ondix
