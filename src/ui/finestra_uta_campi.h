// What the two files of the unit window share: texts between the core's and Qt's, the numbers of its boxes, and
// its widgets made with their object names (the tests find them by name).
#pragma once

#include "core/numeri.h"

#include <QLineEdit>
#include <QPushButton>
#include <QString>

#include <optional>
#include <string_view>

namespace ondix::finestra_uta {

inline QString q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

inline QString numero(double v) {
    return QString::number(v, 'g', 12);
}

// A number typed in a box: decimal point or comma; nullopt for anything else (an empty box among them).
inline std::optional<double> leggi(const QString& testo) {
    QString t = testo.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (t.isEmpty()) return std::nullopt;
    return numero_intero_testo(t.toStdString());
}

inline QLineEdit* casella(QWidget* genitore, const char* nome) {
    auto* e = new QLineEdit(genitore);
    e->setObjectName(QString::fromLatin1(nome));
    return e;
}

inline QPushButton* pulsante(QWidget* genitore, const QString& testo, const char* nome) {
    auto* b = new QPushButton(testo, genitore);
    b->setObjectName(QString::fromLatin1(nome));
    b->setAutoDefault(false);
    return b;
}

} // namespace ondix::finestra_uta
