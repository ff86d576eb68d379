#include "chart/canvas.h"

#include <cstdio>

namespace ondix {

std::string testo_rgb(Rgb c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c.r, c.g, c.b);
    return buf;
}

} // namespace ondix
