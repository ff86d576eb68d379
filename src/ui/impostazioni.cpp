#include "ui/impostazioni.h"

#include "core/aria_umida.h"

#include <QSettings>

#include <cmath>

namespace ondix {

namespace {

QString& file_di_prova() {
    static QString percorso;
    return percorso;
}

QString gruppo_dati(TipoProcesso tipo) {
    return QStringLiteral("ultimo_calcolo/tipo_%1").arg(tipo);
}

QString chiave_testo(std::size_t i) {
    return QStringLiteral("testo%1").arg(i + 1);
}

QString chiave_famiglia(Famiglia f) {
    return QStringLiteral("grafico/isolinee_") + QString::fromLatin1(nome_famiglia(f));
}

} // namespace

Impostazioni::Impostazioni()
    : m_settings(file_di_prova().isEmpty()
                     ? std::make_unique<QSettings>(QStringLiteral("ondix"), QStringLiteral("ondix"))
                     : std::make_unique<QSettings>(file_di_prova(), QSettings::IniFormat)) {}

Impostazioni::~Impostazioni() = default;

void Impostazioni::usa_file(const QString& percorso) {
    file_di_prova() = percorso;
}

void Impostazioni::ricorda_dati(TipoProcesso tipo, const StatoMaschera& m) {
    m_settings->beginGroup(gruppo_dati(tipo));
    for (std::size_t i = 0; i < m.testo.size(); ++i)
        m_settings->setValue(chiave_testo(i), QString::fromStdString(m.testo[i]));
    m_settings->setValue(QStringLiteral("umidita"), m.umidita);
    m_settings->setValue(QStringLiteral("portata"), m.portata);
    m_settings->endGroup();
    m_settings->sync();
}

bool Impostazioni::richiama_dati(TipoProcesso tipo, StatoMaschera& m) const {
    m_settings->beginGroup(gruppo_dati(tipo));
    const bool c_e = m_settings->contains(QStringLiteral("umidita"));
    if (c_e) {
        for (std::size_t i = 0; i < m.testo.size(); ++i)
            m.testo[i] = m_settings->value(chiave_testo(i)).toString().toStdString();
        m.umidita = m_settings->value(QStringLiteral("umidita")).toInt() == 1 ? 1 : 0;
        m.portata = m_settings->value(QStringLiteral("portata")).toInt() == 1 ? 1 : 0;
    }
    m_settings->endGroup();
    return c_e;
}

QString Impostazioni::cartella_rapporto() const {
    return m_settings->value(QStringLiteral("rapporto/cartella")).toString();
}

void Impostazioni::ricorda_cartella_rapporto(const QString& cartella) {
    m_settings->setValue(QStringLiteral("rapporto/cartella"), cartella);
    m_settings->sync();
}

OpzioniGrafico Impostazioni::strati() const {
    OpzioniGrafico o;
    for (Famiglia f : famiglie)
        o.imposta_famiglia(f, m_settings->value(chiave_famiglia(f), false).toBool());
    o.mollier = m_settings->value(QStringLiteral("grafico/mollier"), false).toBool();
    return o;
}

void Impostazioni::ricorda_strati(const OpzioniGrafico& o) {
    for (Famiglia f : famiglie)
        m_settings->setValue(chiave_famiglia(f), o.famiglia(f));
    m_settings->setValue(QStringLiteral("grafico/mollier"), o.mollier);
    m_settings->sync();
}

bool Impostazioni::lettura() const {
    return m_settings->value(QStringLiteral("grafico/lettura"), false).toBool();
}

void Impostazioni::ricorda_lettura(bool on) {
    m_settings->setValue(QStringLiteral("grafico/lettura"), on);
    m_settings->sync();
}

QString Impostazioni::cartella_immagini() const {
    return m_settings->value(QStringLiteral("grafico/cartella_immagini")).toString();
}

void Impostazioni::ricorda_cartella_immagini(const QString& cartella) {
    m_settings->setValue(QStringLiteral("grafico/cartella_immagini"), cartella);
    m_settings->sync();
}

std::optional<double> Impostazioni::pressione_sito() const {
    const QVariant v = m_settings->value(QStringLiteral("calcolo/pressione_sito"));
    if (!v.isValid()) return std::nullopt;
    bool ok = false;
    const double p = v.toDouble(&ok);
    if (!ok || !std::isfinite(p) || p < pressione_minima || p > pressione_massima) return std::nullopt;
    return p;
}

void Impostazioni::ricorda_pressione_sito(std::optional<double> p) {
    if (p)
        m_settings->setValue(QStringLiteral("calcolo/pressione_sito"), *p);
    else
        m_settings->remove(QStringLiteral("calcolo/pressione_sito"));
    m_settings->sync();
}

} // namespace ondix
