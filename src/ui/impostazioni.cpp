#include "ui/impostazioni.h"

#include "core/altitudine.h"

#include "core/aria_umida.h"
#include "core/richiesta_aria.h"
#include "ui/esterno_qt.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace ondix {

namespace {

struct Sessione {
    QString file_di_prova;
    // A problem with the file has been reported in this run.
    bool segnalato = false;
    // The settings of a run whose file cannot be read.
    QVariantMap memoria;
};

Sessione& sessione() {
    static Sessione s;
    return s;
}

QString gruppo_dati(TipoProcesso tipo) {
    return QStringLiteral("ultimo_calcolo/tipo_%1/").arg(tipo);
}

QString chiave_testo(std::size_t i) {
    return QStringLiteral("testo%1").arg(i + 1);
}

QString chiave_famiglia(Famiglia f) {
    return QStringLiteral("grafico/isolinee_") + QString::fromLatin1(nome_famiglia(f));
}

QString errno_testo(int e) {
    return QString::fromLocal8Bit(std::strerror(e));
}

// Whether `percorso` can be read as a settings file: absent (the first run) or a readable regular file. Anything
// else is not opened at all: reading a named pipe would wait for a writer for ever.
Fatto leggibile(const QString& percorso) {
    const QByteArray nome = QFile::encodeName(percorso);
    struct stat st {};
    if (::stat(nome.constData(), &st) != 0) {
        if (errno == ENOENT) return {};
        return Errore{Causa::file, errno_testo(errno).toStdString()};
    }
    if (!S_ISREG(st.st_mode)) return Errore{Causa::file, "non è un file regolare"};
    if (::access(nome.constData(), R_OK) != 0) return Errore{Causa::file, errno_testo(errno).toStdString()};
    return {};
}

// Why `percorso` could not be written, as far as the file and its folder tell.
std::string motivo_scrittura(const QString& percorso) {
    const QFileInfo info(percorso);
    const QByteArray nome = QFile::encodeName(info.exists() ? percorso : info.absolutePath());
    if (::access(nome.constData(), W_OK) != 0) return errno_testo(errno).toStdString();
    return "scrittura non riuscita";
}

// Tells the user about the first problem of the run with the settings file: a warning box over the active window,
// once the event in progress is over, so that the start-up, or the choice being saved, goes on meanwhile.
void segnala(const QString& testo) {
    Sessione& s = sessione();
    if (s.segnalato) return;
    s.segnalato = true;
    QTimer::singleShot(0, qApp, [testo] { avviso(QApplication::activeWindow(), QMessageBox::Warning, testo); });
}

} // namespace

Impostazioni::Impostazioni() {
    const QString percorso = file();
    if (const Fatto f = leggibile(percorso); !f) {
        segnala(QStringLiteral("Impostazioni non lette da %1: %2.\nIl programma usa le impostazioni predefinite; le "
                               "scelte fatte valgono fino alla chiusura e non saranno ricordate al prossimo avvio.")
                    .arg(QDir::toNativeSeparators(percorso), QString::fromStdString(f.errore().testo)));
        return;
    }
    m_settings = std::make_unique<QSettings>(percorso, QSettings::IniFormat);
}

Impostazioni::~Impostazioni() = default;

void Impostazioni::usa_file(const QString& percorso) {
    Sessione& s = sessione();
    s.file_di_prova = percorso;
    s.segnalato = false;
    s.memoria.clear();
}

QString Impostazioni::file() {
    const QString& prova = sessione().file_di_prova;
    if (!prova.isEmpty()) return prova;
    // Where the toolkit keeps the settings of the organisation "ondix"'s program "ondix"; only this file is read.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/ondix/ondix.conf");
}

QVariant Impostazioni::valore(const QString& chiave, const QVariant& predefinito) const {
    if (m_settings) return m_settings->value(chiave, predefinito);
    return sessione().memoria.value(chiave, predefinito);
}

void Impostazioni::imposta(const QString& chiave, const QVariant& v) {
    if (m_settings)
        m_settings->setValue(chiave, v);
    else
        sessione().memoria.insert(chiave, v);
}

void Impostazioni::rimuovi(const QString& chiave) {
    if (m_settings)
        m_settings->remove(chiave);
    else
        sessione().memoria.remove(chiave);
}

Fatto Impostazioni::scrivi() {
    if (!m_settings) return {}; // kept in memory: the file's problem was reported when it was read
    m_settings->sync();
    if (m_settings->status() == QSettings::NoError) return {};
    return Errore{Causa::file, motivo_scrittura(m_settings->fileName())};
}

void Impostazioni::salva() {
    if (const Fatto f = scrivi(); !f)
        segnala(QStringLiteral("Impostazioni non salvate in %1: %2.\nLe scelte fatte (come la pressione del sito) "
                               "valgono fino alla chiusura e non saranno ricordate al prossimo avvio.")
                    .arg(QDir::toNativeSeparators(m_settings->fileName()), QString::fromStdString(f.errore().testo)));
}

void Impostazioni::ricorda_dati(TipoProcesso tipo, const StatoMaschera& m) {
    const QString gruppo = gruppo_dati(tipo);
    for (std::size_t i = 0; i < m.testo.size(); ++i)
        imposta(gruppo + chiave_testo(i), QString::fromStdString(m.testo[i]));
    imposta(gruppo + QStringLiteral("umidita"), m.umidita);
    imposta(gruppo + QStringLiteral("portata"), m.portata);
    salva();
}

bool Impostazioni::richiama_dati(TipoProcesso tipo, StatoMaschera& m) const {
    const QString gruppo = gruppo_dati(tipo);
    if (!valore(gruppo + QStringLiteral("umidita")).isValid()) return false;
    for (std::size_t i = 0; i < m.testo.size(); ++i)
        m.testo[i] = valore(gruppo + chiave_testo(i)).toString().toStdString();
    m.umidita = valore(gruppo + QStringLiteral("umidita")).toInt() == 1 ? 1 : 0;
    m.portata = valore(gruppo + QStringLiteral("portata")).toInt() == 1 ? 1 : 0;
    return true;
}

QString Impostazioni::cartella_rapporto() const {
    return valore(QStringLiteral("rapporto/cartella")).toString();
}

void Impostazioni::ricorda_cartella_rapporto(const QString& cartella) {
    imposta(QStringLiteral("rapporto/cartella"), cartella);
    salva();
}

OpzioniGrafico Impostazioni::strati() const {
    OpzioniGrafico o;
    for (Famiglia f : famiglie)
        o.imposta_famiglia(f, valore(chiave_famiglia(f), false).toBool());
    o.mollier = valore(QStringLiteral("grafico/mollier"), false).toBool();
    if (valore(QStringLiteral("grafico/comfort"), false).toBool()) o.comfort = zona_comfort();
    return o;
}

ZonaComfort Impostazioni::zona_comfort() const {
    ZonaComfort z;
    const auto numero = [this](const char* chiave, double predefinito, double minimo, double massimo) {
        bool ok = false;
        const double v = valore(QString::fromLatin1(chiave), predefinito).toDouble(&ok);
        return ok && v >= minimo && v <= massimo ? v : predefinito;
    };
    z.occupanti.met = numero("comfort/met", 1.2, 0.8, 4.0);
    z.occupanti.clo = numero("comfort/clo", 0.5, 0.0, 2.0);
    z.occupanti.v = numero("comfort/v", 0.1, 0.0, 1.0);
    z.limite = numero("comfort/limite", 0.5, 0.1, 2.0);
    return z;
}

void Impostazioni::ricorda_zona_comfort(const ZonaComfort& z) {
    imposta(QStringLiteral("comfort/met"), z.occupanti.met);
    imposta(QStringLiteral("comfort/clo"), z.occupanti.clo);
    imposta(QStringLiteral("comfort/v"), z.occupanti.v);
    imposta(QStringLiteral("comfort/limite"), z.limite);
    salva();
}

void Impostazioni::ricorda_strati(const OpzioniGrafico& o) {
    for (Famiglia f : famiglie)
        imposta(chiave_famiglia(f), o.famiglia(f));
    imposta(QStringLiteral("grafico/mollier"), o.mollier);
    if (o.comfort || valore(QStringLiteral("grafico/comfort")).isValid())
        imposta(QStringLiteral("grafico/comfort"), o.comfort.has_value());
    salva();
}

bool Impostazioni::lettura() const {
    return valore(QStringLiteral("grafico/lettura"), false).toBool();
}

void Impostazioni::ricorda_lettura(bool on) {
    imposta(QStringLiteral("grafico/lettura"), on);
    salva();
}

QString Impostazioni::cartella_immagini() const {
    return valore(QStringLiteral("grafico/cartella_immagini")).toString();
}

void Impostazioni::ricorda_cartella_immagini(const QString& cartella) {
    imposta(QStringLiteral("grafico/cartella_immagini"), cartella);
    salva();
}

namespace {
// The title block's remembered fields and their keys.
constexpr std::array<std::pair<const char*, std::string Intestazione::*>, 4> campi_intestazione{{
    {"relazione/progetto", &Intestazione::progetto},
    {"relazione/sito", &Intestazione::sito},
    {"relazione/autore", &Intestazione::autore},
    {"relazione/revisione", &Intestazione::revisione},
}};
} // namespace

Intestazione Impostazioni::intestazione() const {
    Intestazione i;
    for (const auto& [chiave, campo] : campi_intestazione)
        i.*campo = valore(QString::fromLatin1(chiave)).toString().toStdString();
    return i;
}

void Impostazioni::ricorda_intestazione(const Intestazione& i) {
    for (const auto& [chiave, campo] : campi_intestazione)
        imposta(QString::fromLatin1(chiave), QString::fromStdString(i.*campo));
    salva();
}

QStringList Impostazioni::calcoli_recenti() const {
    return valore(QStringLiteral("calcoli/recenti")).toStringList().mid(0, calcoli_recenti_massimi);
}

void Impostazioni::ricorda_calcolo_recente(const QString& percorso) {
    QStringList r = calcoli_recenti();
    r.removeAll(percorso);
    r.prepend(percorso);
    imposta(QStringLiteral("calcoli/recenti"), r.mid(0, calcoli_recenti_massimi));
    salva();
}

std::optional<double> Impostazioni::pressione_sito() const {
    const QVariant v = valore(QStringLiteral("calcolo/pressione_sito"));
    if (!v.isValid()) return std::nullopt;
    bool ok = false;
    RichiestaAria r;
    r.pressione = v.toDouble(&ok);
    const auto aria = aria_richiesta(r, FonteAria::libreria);
    if (!ok || !aria) return std::nullopt;
    return aria->pressione;
}

void Impostazioni::ricorda_pressione_sito(std::optional<double> p, std::optional<double> quota) {
    if (p)
        imposta(QStringLiteral("calcolo/pressione_sito"), *p);
    else
        rimuovi(QStringLiteral("calcolo/pressione_sito"));
    if (p && quota)
        imposta(QStringLiteral("calcolo/quota_sito"), *quota);
    else
        rimuovi(QStringLiteral("calcolo/quota_sito"));
    salva();
}

std::optional<double> Impostazioni::quota_sito() const {
    const QVariant v = valore(QStringLiteral("calcolo/quota_sito"));
    bool ok = false;
    const double q = v.toDouble(&ok);
    if (!v.isValid() || !ok || !(q >= quota_minima && q <= quota_massima) || !pressione_sito()) return std::nullopt;
    return q;
}

const ModelloAria* Impostazioni::modello() const {
    return modello_da_chiave(valore(QStringLiteral("calcolo/modello")).toString().toStdString());
}

void Impostazioni::ricorda_modello(const ModelloAria* m) {
    if (m)
        imposta(QStringLiteral("calcolo/modello"),
                QString::fromUtf8(m->chiave().data(), static_cast<qsizetype>(m->chiave().size())));
    else
        rimuovi(QStringLiteral("calcolo/modello"));
    salva();
}

QStringList Impostazioni::file_uta_recenti() const {
    return valore(QStringLiteral("uta/recenti")).toStringList();
}

void Impostazioni::ricorda_file_uta(const QString& percorso) {
    QStringList r = file_uta_recenti();
    r.removeAll(percorso);
    r.prepend(percorso);
    while (r.size() > 8)
        r.removeLast();
    imposta(QStringLiteral("uta/recenti"), r);
    salva();
}

} // namespace ondix
