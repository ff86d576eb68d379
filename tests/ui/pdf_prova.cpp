#include "pdf_prova.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace ondix::prova {

namespace {

// Runs a poppler tool and returns its standard output; nullopt (and `errore`) when it is missing or fails.
std::optional<QByteArray> esegui(const QString& nome, const QStringList& argomenti, QString& errore) {
    const QString programma = QStandardPaths::findExecutable(nome);
    if (programma.isEmpty()) {
        errore = nome + QStringLiteral(" is not installed (scripts/common.sh installs poppler-utils)");
        return std::nullopt;
    }
    QProcess p;
    p.start(programma, argomenti);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        errore = nome + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAllStandardError());
        return std::nullopt;
    }
    return p.readAllStandardOutput();
}

} // namespace

std::optional<int> pagine_pdf(const QString& percorso, QString& errore) {
    const auto uscita = esegui(QStringLiteral("pdfinfo"), {percorso}, errore);
    if (!uscita) return std::nullopt;
    const auto m = QRegularExpression(QStringLiteral("^Pages:\\s*(\\d+)"), QRegularExpression::MultilineOption)
                       .match(QString::fromUtf8(*uscita));
    if (!m.hasMatch()) {
        errore = QStringLiteral("pdfinfo gave no page count for ") + percorso;
        return std::nullopt;
    }
    return m.captured(1).toInt();
}

std::optional<QString> testo_pdf(const QString& percorso, QString& errore) {
    const auto uscita =
        esegui(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), percorso, QStringLiteral("-")}, errore);
    if (!uscita) return std::nullopt;
    return QString::fromUtf8(*uscita);
}

QImage pagina_pdf(const QString& percorso, int dpi, QString& errore) {
    QTemporaryDir dir;
    const QString radice = dir.path() + QStringLiteral("/pagina");
    if (!esegui(QStringLiteral("pdftoppm"),
                {QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
                 QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-r"), QString::number(dpi), percorso,
                 radice},
                errore))
        return {};
    QImage immagine(radice + QStringLiteral(".png"));
    if (immagine.isNull()) errore = QStringLiteral("pdftoppm wrote no image for ") + percorso;
    return immagine;
}

std::optional<bool> orizzontale_pdf(const QString& percorso, QString& errore) {
    const auto uscita = esegui(QStringLiteral("pdftotext"),
                               {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                                QStringLiteral("-l"), QStringLiteral("1"), percorso, QStringLiteral("-")},
                               errore);
    if (!uscita) return std::nullopt;
    const QString testo = QString::fromUtf8(*uscita);
    const auto pagina =
        QRegularExpression(QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\"")).match(testo);
    // The longest word tells which way the text runs.
    double larga = 0, alta = 0;
    qsizetype lettere = 0;
    auto parole = QRegularExpression(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                                                    "yMax=\"([0-9.]+)\">([^<]*)</word>"))
                      .globalMatch(testo);
    while (parole.hasNext()) {
        const auto p = parole.next();
        if (p.captured(5).size() <= lettere) continue;
        lettere = p.captured(5).size();
        larga = p.captured(3).toDouble() - p.captured(1).toDouble();
        alta = p.captured(4).toDouble() - p.captured(2).toDouble();
    }
    if (!pagina.hasMatch() || lettere < 3) {
        errore = QStringLiteral("pdftotext found no page or no word of 3 letters in ") + percorso;
        return std::nullopt;
    }
    const bool pagina_larga = pagina.captured(1).toDouble() > pagina.captured(2).toDouble();
    return (larga > alta) == pagina_larga;
}

double spessore_prima_linea(const QImage& pagina, int dpi, double altezza) {
    const int y = static_cast<int>(pagina.height() * altezza);
    const auto scuro = [&](int x) {
        const QColor c = pagina.pixelColor(x, y);
        return c.red() < 200 || c.green() < 200 || c.blue() < 200;
    };
    int x = 0;
    while (x < pagina.width() && !scuro(x))
        ++x;
    int fine = x;
    while (fine < pagina.width() && scuro(fine))
        ++fine;
    return (fine - x) * 72.0 / dpi;
}

QString cartella_coda() {
    return qEnvironmentVariable("ONDIX_CARTELLA_PDF");
}

IstantaneaPdf pdf_in(const QString& cartella) {
    IstantaneaPdf file;
    for (const QFileInfo& f : QDir(cartella).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files))
        file.insert(f.fileName(), f.lastModified());
    return file;
}

QStringList attendi_nuovi_pdf(const QString& cartella, const IstantaneaPdf& prima, int quanti, int scadenza_ms) {
    const QDeadlineTimer scadenza(scadenza_ms);
    QStringList pronti;
    for (;;) {
        pronti.clear();
        const IstantaneaPdf ora = pdf_in(cartella);
        for (auto f = ora.cbegin(); f != ora.cend(); ++f) {
            if (prima.contains(f.key()) && prima.value(f.key()) == f.value()) continue;
            QString errore;
            // The queue writes the file in place: it is ready once it reads as a whole PDF.
            const QString percorso = QDir(cartella).filePath(f.key());
            if (pagine_pdf(percorso, errore)) pronti << percorso;
        }
        if (pronti.size() >= quanti || scadenza.hasExpired()) {
            pronti.sort();
            return pronti;
        }
        QTest::qWait(200);
    }
}

} // namespace ondix::prova
