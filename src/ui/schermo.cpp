#include "ui/schermo.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace ondix {

DimensioniSchermo dimensioni_schermo() {
    const QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return {800, 600};
    const QSize d = s->geometry().size();
    const auto a16 = [](int v) { return static_cast<std::uint16_t>(std::clamp(v, 0, 65535)); };
    return {a16(d.width()), a16(d.height())};
}

} // namespace ondix
