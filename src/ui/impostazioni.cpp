#include "ui/impostazioni.h"

#include <QSettings>

#include <memory>

namespace ondix {

namespace {

QString& file_scelto() {
    static QString percorso;
    return percorso;
}

std::unique_ptr<QSettings> apri() {
    if (!file_scelto().isEmpty()) return std::make_unique<QSettings>(file_scelto(), QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ondix"),
                                       QStringLiteral("ondix"));
}

QString chiave_famiglia(Famiglia f) {
    return QStringLiteral("grafico/isolinee_") + QString::fromLatin1(nome_famiglia(f));
}

} // namespace

void Impostazioni::usa_file(const QString& percorso) {
    file_scelto() = percorso;
}

OpzioniGrafico Impostazioni::strati() {
    const auto s = apri();
    OpzioniGrafico o;
    for (Famiglia f : famiglie)
        o.imposta_famiglia(f, s->value(chiave_famiglia(f), false).toBool());
    o.mollier = s->value(QStringLiteral("grafico/mollier"), false).toBool();
    return o;
}

void Impostazioni::salva_strati(const OpzioniGrafico& o) {
    const auto s = apri();
    for (Famiglia f : famiglie)
        s->setValue(chiave_famiglia(f), o.famiglia(f));
    s->setValue(QStringLiteral("grafico/mollier"), o.mollier);
}

bool Impostazioni::lettura() {
    return apri()->value(QStringLiteral("grafico/lettura"), false).toBool();
}

void Impostazioni::salva_lettura(bool on) {
    apri()->setValue(QStringLiteral("grafico/lettura"), on);
}

QString Impostazioni::cartella_immagini() {
    return apri()->value(QStringLiteral("grafico/cartella_immagini")).toString();
}

void Impostazioni::salva_cartella_immagini(const QString& cartella) {
    apri()->setValue(QStringLiteral("grafico/cartella_immagini"), cartella);
}

} // namespace ondix
