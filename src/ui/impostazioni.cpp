#include "ui/impostazioni.h"

#include "core/aria_umida.h"

#include <QSettings>

#include <cmath>
#include <memory>

namespace ondix::impostazioni {

namespace {

QString& file_scelto() {
    static QString percorso;
    return percorso;
}

std::unique_ptr<QSettings> apri() {
    if (!file_scelto().isEmpty()) return std::make_unique<QSettings>(file_scelto(), QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ondix"),
                                       QStringLiteral("ondix"));
}

const QString chiave_pressione = QStringLiteral("calcolo/pressione_sito");

} // namespace

void usa_file(const QString& percorso) {
    file_scelto() = percorso;
}

std::optional<double> pressione_sito() {
    const QVariant v = apri()->value(chiave_pressione);
    if (!v.isValid()) return std::nullopt;
    bool ok = false;
    const double p = v.toDouble(&ok);
    if (!ok || !std::isfinite(p) || p < pressione_minima || p > pressione_massima) return std::nullopt;
    return p;
}

void salva_pressione_sito(std::optional<double> p) {
    auto s = apri();
    if (p)
        s->setValue(chiave_pressione, *p);
    else
        s->remove(chiave_pressione);
    s->sync();
}

} // namespace ondix::impostazioni
