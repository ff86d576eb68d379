// The report window: layout and font, printing, and saving as RTF read back by an independent reader (unrtf).
#include "dialoghi.h"
#include "pdf_prova.h"

#include "ui/caratteri.h"
#include "ui/finestra_rapporto.h"
#include "ui/impostazioni.h"
#include "ui/schermo.h"
#include "ui/stampa_testo.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace ondix;
using prova::Risponditore;

namespace {

const std::vector<std::string> rapporto_tipico = {
    "       PROPRIETA DEL PUNTO",        "Temperatura        :   20,0 C",      "umidita relativa   :   50,0 %",
    "umidita specifica  :   7,25 g/kg ", "Entalpia           :   38,4 kj/kg ", "volume specifico   :  0,840 mc/kg",
    "temperatura bulbo umido :13.73 C",  "temperatura rugiada     : 9.25 C",
};

QStringList come_qt(const std::vector<std::string>& righe) {
    QStringList l;
    for (const auto& r : righe)
        l << QString::fromStdString(r);
    return l;
}

QPlainTextEdit* casella(FinestraRapporto& f) {
    return f.findChild<QPlainTextEdit*>(QStringLiteral("RichEdit1"));
}
QPushButton* pulsante(FinestraRapporto& f, const char* nome) {
    return f.findChild<QPushButton*>(QString::fromLatin1(nome));
}

QByteArray contenuto(const QString& percorso) {
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// unrtf's plain text is single-byte; the accented letters the tests use sit where Latin-1 has them.
QString da_latin1(const QByteArray& b) {
    return QString::fromLatin1(b);
}

// The paragraphs of an RTF file as unrtf reads them (plain text mode), or an error text.
std::optional<QStringList> leggi_con_unrtf(const QString& percorso, QString& errore, bool html = false) {
    const QString programma = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    if (programma.isEmpty()) {
        errore = QStringLiteral("unrtf is not installed (scripts/common.sh installs it)");
        return std::nullopt;
    }
    QProcess p;
    p.start(programma, {html ? QStringLiteral("--html") : QStringLiteral("--text"), percorso});
    if (!p.waitForFinished(20000) || p.exitCode() != 0) {
        errore = QStringLiteral("unrtf failed: ") + QString::fromLocal8Bit(p.readAllStandardError());
        return std::nullopt;
    }
    const QByteArray uscita = p.readAllStandardOutput();
    if (html) return QStringList{QString::fromUtf8(uscita)};
    QStringList righe = da_latin1(uscita).split(QLatin1Char('\n'));
    // unrtf starts with comment lines and a rule of hyphens.
    const qsizetype inizio = righe.indexOf(QStringLiteral("-----------------"));
    if (inizio < 0) {
        errore = QStringLiteral("unexpected unrtf output: ") + QString::fromUtf8(uscita);
        return std::nullopt;
    }
    righe = righe.mid(inizio + 1);
    while (!righe.isEmpty() && righe.last().isEmpty())
        righe.removeLast();
    return righe;
}

// Answers the save dialog with `nome` (a path), checking the filter on the way.
Risponditore::Azione rispondi_salva(const QString& nome, QStringList& filtri, bool& chiede_sovrascrittura) {
    return [&filtri, &chiede_sovrascrittura, nome](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        if (!d) {
            filtri = QStringList{QStringLiteral("<not a file dialog>")};
            prova::chiudi(w);
            return;
        }
        filtri = d->nameFilters();
        chiede_sovrascrittura = !d->testOption(QFileDialog::DontConfirmOverwrite);
        // Typed into the name box, as a user would.
        if (auto* campo = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            campo->setText(nome);
        else
            d->selectFile(nome);
        QMetaObject::invokeMethod(d, "accept");
    };
}

} // namespace

class TestFinestraRapporto : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    QTemporaryDir m_impostazioni;
    QString percorso(const QString& nome) const { return m_dir->path() + QLatin1Char('/') + nome; }

private slots:
    void initTestCase() {
        installa_sostituzioni_caratteri();
        Impostazioni::usa_file(m_impostazioni.filePath(QStringLiteral("impostazioni.ini")));
    }
    void init() {
        m_dir.emplace();
        QVERIFY(m_dir->isValid());
    }
    void cleanup() { m_dir.reset(); }

    void finestraECarattere() {
        const DimensioniSchermo s = dimensioni_schermo();
        if (s.larghezza != 1024 || s.altezza != 768) QSKIP("the worked example needs a 1024 x 768 screen");
        FinestraRapporto f(s);
        f.carica(rapporto_tipico);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(f.windowTitle(), QStringLiteral("dati di calcolo"));
        const QString difetto = prova::attendi_schermo_pieno(&f, QRect(1, 1, 1024, 768));
        QVERIFY2(difetto.isEmpty(), qPrintable(difetto));
        QCOMPARE(casella(f)->geometry(), QRect(2, 8, 973, 576));
        QCOMPARE(pulsante(f, "BitBtn1")->geometry(), QRect(123, 587, 256, 38));
        QCOMPARE(pulsante(f, "BitBtn2")->geometry(), QRect(384, 587, 256, 38));
        QCOMPARE(pulsante(f, "BitBtn3")->geometry(), QRect(645, 587, 256, 38));
        QCOMPARE(pulsante(f, "BitBtn1")->text(), QStringLiteral("&Stampa"));
        QCOMPARE(pulsante(f, "BitBtn2")->text(), QStringLiteral("&Uscita"));
        QCOMPARE(pulsante(f, "BitBtn3")->text(), QStringLiteral("SALVA SU FILE WORD"));
        QCOMPARE(pulsante(f, "BitBtn1")->font().pointSize(), 12);
        const QFont carattere = casella(f)->font();
        QCOMPARE(carattere.family(), QStringLiteral("Courier New"));
        QCOMPARE(carattere.pointSize(), 17);
        // The font really drawn: Courier New itself or its metric twin, fixed pitch either way.
        const QFontInfo info(carattere);
        QVERIFY2(info.family() == QStringLiteral("Courier New") || info.family() == QStringLiteral("Liberation Mono"),
                 qPrintable(info.family()));
        QVERIFY(info.fixedPitch());
        QVERIFY(!casella(f)->isReadOnly());
        QCOMPARE(f.righe(), come_qt(rapporto_tipico));
        f.close();
    }

    void geometriaAltriSchermi() {
        FinestraRapporto f800({800, 600});
        QCOMPARE(casella(f800)->geometry(), QRect(2, 6, 760, 450));
        QCOMPARE(casella(f800)->font().pointSize(), 15);
        QCOMPARE(pulsante(f800, "BitBtn3")->geometry(), QRect(506, 459, 200, 30));
        QCOMPARE(pulsante(f800, "BitBtn2")->font().pointSize(), 10);
        FinestraRapporto f640({640, 480});
        QCOMPARE(casella(f640)->font().pointSize(), 8);
    }

    // Saved under a name without extension, edited text with accents included, read back by unrtf.
    void salvaSenzaEstensione() {
        FinestraRapporto f({1024, 768});
        f.carica(rapporto_tipico);
        casella(f)->appendPlainText(QStringLiteral("nota: perché è già più così, 5° {x} \\ fine"));
        Risponditore r;
        QStringList filtri;
        bool chiede = true;
        r.poi(rispondi_salva(percorso(QStringLiteral("rapporto")), filtri, chiede));
        pulsante(f, "BitBtn3")->click();
        VERIFICA_DIALOGHI(r);
        // "All files" lists what was saved without the extension when the dialog opens again.
        QCOMPARE(filtri, (QStringList{QStringLiteral("rtf (*.rtf)"), QStringLiteral("tutti i file (*)")}));
        QVERIFY(!chiede);
        QVERIFY(QFile::exists(percorso(QStringLiteral("rapporto"))));
        QVERIFY(!QFile::exists(percorso(QStringLiteral("rapporto.rtf"))));
        QVERIFY(contenuto(percorso(QStringLiteral("rapporto"))).startsWith("{\\rtf1"));
        QString errore;
        const auto letto = leggi_con_unrtf(percorso(QStringLiteral("rapporto")), errore);
        QVERIFY2(letto, qPrintable(errore));
        QStringList attese = come_qt(rapporto_tipico);
        attese << QStringLiteral("nota: perché è già più così, 5° {x} \\ fine");
        QCOMPARE(*letto, attese);
    }

    void caratteriFuoriDalCodice1252() {
        FinestraRapporto f({1024, 768});
        // unrtf's plain text cannot show these, its HTML can.
        f.carica({"5 € Ω ж"});
        QVERIFY(f.salva_su_file(percorso(QStringLiteral("u.rtf"))));
        QString errore;
        const auto letto = leggi_con_unrtf(percorso(QStringLiteral("u.rtf")), errore, true);
        QVERIFY2(letto, qPrintable(errore));
        QVERIFY2(letto->first().contains(QStringLiteral(">5 &euro; &Omega; &#1078;<br>")), qPrintable(letto->first()));
    }

    void sovrascriveSenzaChiedere() {
        const QString nome = percorso(QStringLiteral("esistente.rtf"));
        {
            QFile f(nome);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(5000, 'x'));
        }
        FinestraRapporto f({1024, 768});
        f.carica(rapporto_tipico);
        Risponditore r;
        QStringList filtri;
        bool chiede = true;
        r.poi(rispondi_salva(nome, filtri, chiede));
        pulsante(f, "BitBtn3")->click();
        VERIFICA_DIALOGHI(r); // no question about replacing it
        QString errore;
        const auto letto = leggi_con_unrtf(nome, errore);
        QVERIFY2(letto, qPrintable(errore));
        QCOMPARE(*letto, come_qt(rapporto_tipico));
    }

    void annullareNonScriveNulla() {
        FinestraRapporto f({1024, 768});
        f.carica(rapporto_tipico);
        Risponditore r;
        r.poi([](QWidget* w) { prova::chiudi(w); });
        pulsante(f, "BitBtn3")->click();
        VERIFICA_DIALOGHI(r);
        QVERIFY(QDir(m_dir->path()).isEmpty());
    }

    // A save that fails half way names the file and leaves the earlier file as it was.
    void salvataggioFallitoLasciaIlFileIntatto() {
        const QString nome = percorso(QStringLiteral("vecchio.rtf"));
        {
            QFile f(nome);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("VECCHIO");
        }
        FinestraRapporto f({1024, 768});
        std::vector<std::string> lungo(400, "una riga abbastanza lunga del rapporto di prova, con numeri 123,45");
        f.carica(lungo);
        Risponditore r;
        QString testo;
        QMessageBox::Icon icona = QMessageBox::NoIcon;
        r.poi([&](QWidget* w) {
            auto* m = qobject_cast<QMessageBox*>(w);
            testo = m ? m->text() : QString();
            icona = m ? m->icon() : QMessageBox::NoIcon;
            prova::premi_ok(w);
        });
        // Files may grow to 1000 bytes only: the write fails part way, for root as well.
        rlimit prima{};
        getrlimit(RLIMIT_FSIZE, &prima);
        const auto segnale = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite = prima;
        limite.rlim_cur = 1000;
        setrlimit(RLIMIT_FSIZE, &limite);
        const bool ok = f.salva_su_file(nome);
        setrlimit(RLIMIT_FSIZE, &prima);
        std::signal(SIGXFSZ, segnale);
        VERIFICA_DIALOGHI(r);
        QVERIFY(!ok);
        QVERIFY2(testo.contains(nome), qPrintable(testo));
        // The system's own reason for the failed write.
        QVERIFY2(testo.endsWith(QString::fromLocal8Bit(std::strerror(EFBIG))), qPrintable(testo));
        QCOMPARE(icona, QMessageBox::Critical);
        QCOMPARE(contenuto(nome), QByteArray("VECCHIO"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("vecchio.rtf")});
    }

    // A missing directory; a FIFO (or a device) under the name, which stays what it is.
    void destinazioniImpossibili() {
        QVERIFY(mkfifo(QFile::encodeName(percorso(QStringLiteral("coda.rtf"))).constData(), 0600) == 0);
        const std::pair<QString, const char*> casi[] = {{QStringLiteral("manca/rapporto.rtf"), std::strerror(ENOENT)},
                                                        {QStringLiteral("coda.rtf"), "non è un file regolare"}};
        for (const auto& [file, motivo] : casi) {
            FinestraRapporto f({1024, 768});
            f.carica(rapporto_tipico);
            Risponditore r;
            QString testo;
            r.poi([&](QWidget* w) {
                testo = qobject_cast<QMessageBox*>(w) ? qobject_cast<QMessageBox*>(w)->text() : QString();
                prova::premi_ok(w);
            });
            const QString nome = percorso(file);
            QVERIFY(!f.salva_su_file(nome));
            VERIFICA_DIALOGHI(r);
            QCOMPARE(
                testo,
                QStringLiteral("Impossibile salvare il file \"%1\": %2").arg(nome, QString::fromLocal8Bit(motivo)));
        }
        QCOMPARE(QFileInfo(percorso(QStringLiteral("coda.rtf"))).isFile(), false);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("coda.rtf")});
    }

    void stampaSuPdf() {
        FinestraRapporto f({1024, 768});
        std::vector<std::string> lungo;
        for (int i = 0; i < 150; ++i)
            lungo.push_back("riga " + std::to_string(i));
        f.carica(lungo);
        const QString pdf = percorso(QStringLiteral("stampa.pdf"));
        int stampanti = 0;
        f.imposta_stampante([&] {
            ++stampanti;
            auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
            p->setOutputFormat(QPrinter::PdfFormat);
            p->setOutputFileName(pdf);
            return p;
        });
        Risponditore r; // no dialog at all
        pulsante(f, "BitBtn1")->click();
        VERIFICA_DIALOGHI(r);
        QCOMPARE(stampanti, 1);
        const QByteArray b = contenuto(pdf);
        QVERIFY(b.startsWith("%PDF"));
        // 150 lines at 17 points do not fit on one page: one document, several pages.
        const auto pagine = QString::fromLatin1(b).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")));
        QVERIFY2(pagine >= 3, qPrintable(QString::number(pagine)));
    }

    // A report whose lines are too long for the page in the report's font is printed in a smaller one: no line
    // breaks in two. Short lines keep the report's font.
    void righeLungheSuUnaRiga() {
        FinestraRapporto f({1024, 768});
        const std::vector<std::string> righe = {
            "SALTO ENTALPICO                   :     25,45  kj/kg",
            "una riga scritta a mano, molto piu lunga di ogni riga del rapporto: 123456789",
        };
        f.carica(righe);
        const QString pdf = percorso(QStringLiteral("lunghe.pdf"));
        f.imposta_stampante([&] {
            auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
            p->setOutputFormat(QPrinter::PdfFormat);
            p->setOutputFileName(pdf);
            return p;
        });
        Risponditore r;
        pulsante(f, "BitBtn1")->click();
        VERIFICA_DIALOGHI(r);
        QString errore;
        const auto testo = prova::testo_pdf(pdf, errore);
        QVERIFY2(testo, qPrintable(errore));
        QStringList stampate;
        for (const QString& riga : testo->split(QLatin1Char('\n')))
            if (!riga.simplified().isEmpty()) stampate << riga.simplified();
        QCOMPARE(stampate.mid(0, 2), (QStringList{come_qt(righe)[0].simplified(), come_qt(righe)[1].simplified()}));

        QPrinter stampante(QPrinter::HighResolution);
        stampante.setOutputFormat(QPrinter::PdfFormat);
        const QFont corpo17 = carattere(QStringLiteral("Courier New"), 17, false);
        QCOMPARE(carattere_di_stampa(stampante, come_qt(rapporto_tipico), corpo17).pointSizeF(), 17.0);
        QVERIFY(carattere_di_stampa(stampante, come_qt(righe), corpo17).pointSizeF() < 12.0);
    }

    // The save dialog opens in the folder the last report was saved in, also in a new window.
    void salvaRicordaLaCartella() {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("rapporti")));
        const QString cartella = percorso(QStringLiteral("rapporti"));
        Risponditore r;
        QStringList filtri;
        bool chiede = true;
        QString aperta;
        r.poi(rispondi_salva(cartella + QStringLiteral("/primo.rtf"), filtri, chiede));
        r.poi([&](QWidget* w) {
            if (auto* d = qobject_cast<QFileDialog*>(w)) aperta = d->directory().absolutePath();
            prova::chiudi(w);
        });
        {
            FinestraRapporto f({1024, 768});
            f.carica(rapporto_tipico);
            pulsante(f, "BitBtn3")->click();
        }
        FinestraRapporto nuova({1024, 768});
        pulsante(nuova, "BitBtn3")->click();
        VERIFICA_DIALOGHI(r);
        QVERIFY(QFile::exists(cartella + QStringLiteral("/primo.rtf")));
        QCOMPARE(aperta, QDir(cartella).absolutePath());
    }

    void senzaStampante() {
        FinestraRapporto f({1024, 768});
        f.carica(rapporto_tipico);
        f.imposta_stampante([] { return std::unique_ptr<QPrinter>(); });
        Risponditore r;
        QString testo;
        r.poi([&](QWidget* w) {
            testo = qobject_cast<QMessageBox*>(w) ? qobject_cast<QMessageBox*>(w)->text() : QString();
            prova::premi_ok(w);
        });
        pulsante(f, "BitBtn1")->click();
        VERIFICA_DIALOGHI(r);
        QVERIFY2(testo.contains(QStringLiteral("stampante")), qPrintable(testo));
    }

    void stampantePredefinitaDelSistema() {
        if (!QPrinterInfo::defaultPrinter().isNull()) QSKIP("a default printer is installed here");
        QVERIFY(stampante_predefinita() == nullptr);
        FinestraRapporto f({1024, 768});
        Risponditore r;
        r.poi([](QWidget* w) { prova::premi_ok(w); });
        pulsante(f, "BitBtn1")->click();
        VERIFICA_DIALOGHI(r);
    }
};

QTEST_MAIN(TestFinestraRapporto)
#include "test_finestra_rapporto.moc"
