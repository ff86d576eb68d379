#include "ui/caratteri.h"

#include <QStringList>

namespace ondix {

void installa_sostituzioni_caratteri() {
    // The substitutes come first in Qt's lookup, ahead of fontconfig's own fallback, which could pick a font of
    // other metrics (the report's columns need a fixed pitch of Courier's width).
    QFont::insertSubstitutions(QStringLiteral("Courier New"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
}

QFont carattere(const QString& famiglia, int punti, bool grassetto) {
    QFont f(famiglia, punti > 0 ? punti : 1, grassetto ? QFont::Bold : QFont::Normal);
    if (famiglia == QLatin1String("Courier New")) {
        f.setStyleHint(QFont::TypeWriter);
        f.setFixedPitch(true);
    } else if (famiglia == QLatin1String("Times New Roman")) {
        f.setStyleHint(QFont::Serif);
    } else {
        f.setStyleHint(QFont::SansSerif);
    }
    return f;
}

} // namespace ondix
