// The altitude dialog of the main window: the input box, "patm.txt" in the program directory (or the user's data
// directory), the message.
#include "dialoghi.h"

#include "core/altitudine.h"
#include "core/aria_umida.h"
#include "core/modello_ashrae.h"
#include "ui/caratteri.h"
#include "ui/finestra_menu.h"
#include "ui/finestra_rapporto.h"
#include "ui/impostazioni.h"
#include "ui/pressione_sito.h"
#include "ui/schermo.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ondix;
using prova::Risponditore;

namespace {

struct RisultatoDialogo {
    QString titolo_box, prompt, predefinito;
    int larghezza_box = 0;
    QStringList messaggi;
    QList<QMessageBox::Icon> icone;
    QString domanda;
};

// Answers the next message box with its Yes or No button, noting its text.
Risponditore::Azione rispondi(bool si, QString& testo) {
    return [si, &testo](QWidget* w) {
        auto* m = qobject_cast<QMessageBox*>(w);
        testo = m ? m->text() : QStringLiteral("<not a message box>");
        QAbstractButton* b = m ? m->button(si ? QMessageBox::Yes : QMessageBox::No) : nullptr;
        if (b)
            b->click();
        else
            prova::chiudi(w);
    };
}

// Presses "ALTEZZA S.L.M." in `finestra` (a main window over `cartella` when null), puts `risposta` in the box
// (none: cancels it; `digitando`: typed key by key over the selected default) and expects `messaggi` message
// boxes afterwards; after them, the question whether to calculate with the pressure shown, answered `usa`.
RisultatoDialogo chiedi_altezza(const QString& cartella, std::optional<QString> risposta, int messaggi, Risponditore& r,
                                bool digitando = false, bool usa = false, FinestraMenu* finestra = nullptr) {
    RisultatoDialogo e;
    std::optional<FinestraMenu> propria;
    if (!finestra) finestra = &propria.emplace(cartella, dimensioni_schermo());
    r.poi([&e, risposta, digitando](QWidget* w) {
        auto* box = qobject_cast<QInputDialog*>(w);
        if (!box) {
            e.titolo_box = QStringLiteral("<not an input box>");
            prova::chiudi(w);
            return;
        }
        e.titolo_box = box->windowTitle();
        e.prompt = box->labelText();
        e.predefinito = box->textValue();
        e.larghezza_box = box->width();
        if (!risposta) {
            box->reject();
            return;
        }
        if (digitando)
            QTest::keyClicks(box->findChild<QLineEdit*>(), *risposta);
        else
            box->setTextValue(*risposta);
        box->accept();
    });
    for (int i = 0; i < messaggi; ++i)
        r.poi([&e](QWidget* w) {
            auto* m = qobject_cast<QMessageBox*>(w);
            e.messaggi << (m ? m->text() : QStringLiteral("<not a message box>"));
            e.icone << (m ? m->icon() : QMessageBox::NoIcon);
            prova::premi_ok(w);
        });
    if (messaggi > 0) r.poi(rispondi(usa, e.domanda));
    finestra->findChild<QPushButton*>(QStringLiteral("BitBtn13"))->click();
    return e;
}

// Keeps a reader from waiting for ever on the named pipe `fifo`: from `ms` on, until stopped, opens and closes
// its writing end now and then, so that a reader blocked on it reads an empty file; tells whether it ever had to.
class SbloccaPipe {
public:
    SbloccaPipe(const QString& fifo, int ms)
        : m_fifo(QFile::encodeName(fifo)), m_filo([this, ms] {
              const auto da = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
              while (!m_fermo) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
                  if (std::chrono::steady_clock::now() < da) continue;
                  // Only a reader waiting on the pipe lets this open succeed.
                  if (const int fd = ::open(m_fifo.constData(), O_WRONLY | O_NONBLOCK); fd >= 0) {
                      m_usato = true;
                      ::close(fd);
                  }
              }
          }) {}
    ~SbloccaPipe() { ferma(); }
    bool ferma() {
        m_fermo = true;
        if (m_filo.joinable()) m_filo.join();
        return m_usato;
    }

private:
    QByteArray m_fifo;
    std::atomic<bool> m_fermo{false}, m_usato{false};
    std::thread m_filo;
};

QByteArray contenuto(const QString& percorso) {
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll();
}

} // namespace

class TestAltitudine : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir, m_dati;
    QString cartella() const { return m_dir->path() + QLatin1Char('/'); }
    QString patm() const { return cartella() + QStringLiteral("patm.txt"); }
    // "patm.txt" in the user's data directory.
    QString patm_dati() const {
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/patm.txt");
    }

private slots:
    void initTestCase() { installa_sostituzioni_caratteri(); }
    void init() {
        m_dir.emplace();
        m_dati.emplace();
        QVERIFY(m_dir->isValid() && m_dati->isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dati->path()));
    }
    void cleanup() {
        Impostazioni::usa_file(QString());
        m_dir.reset();
        m_dati.reset();
    }

    void zeroMetri() {
        Risponditore r;
        const RisultatoDialogo e = chiedi_altezza(cartella(), QStringLiteral("0"), 1, r);
        VERIFICA_DIALOGHI(r);
        QCOMPARE(e.titolo_box, QStringLiteral("ALTEZZA S.l:m: (metri):"));
        // The question is inside the box as well, for a display without title bars.
        QCOMPARE(e.prompt, e.titolo_box);
        QCOMPARE(e.predefinito, QStringLiteral("0"));
        QCOMPARE(e.messaggi, QStringList{QStringLiteral("pressione atmosferica:1013.350 mbar\n= 101335 Pa")});
        QCOMPARE(contenuto(patm()), QByteArray(" 1.01335000000000E+0005\r\n"));
        // Wide enough for its caption, the only text saying what to type, beside the title bar's buttons.
        QFont grassetto = QApplication::font();
        grassetto.setBold(true);
        const int titolo = QFontMetrics(grassetto).horizontalAdvance(e.titolo_box);
        QVERIFY2(e.larghezza_box >= titolo + 120,
                 qPrintable(QStringLiteral("%1 < %2 + 120").arg(e.larghezza_box).arg(titolo)));
    }

    void milleMetri() {
        Risponditore r;
        // 677 mmHg x 101335 / 760 = 90268.151315789... Pa
        const RisultatoDialogo e = chiedi_altezza(cartella(), QStringLiteral("1000"), 1, r);
        VERIFICA_DIALOGHI(r);
        QCOMPARE(e.messaggi, QStringList{QStringLiteral("pressione atmosferica: 902.682 mbar\n= 90268 Pa")});
        QCOMPARE(contenuto(patm()), QByteArray(" 9.02681513157895E+0004\r\n"));
    }

    // Typed over the selected default, a comma (as the Italian keypad types it) is a decimal point.
    void virgolaDigitata() {
        Risponditore r;
        const RisultatoDialogo e = chiedi_altezza(cartella(), QStringLiteral("1000,5"), 1, r, true);
        VERIFICA_DIALOGHI(r);
        // 677 + (657 - 677) / 250 x 0.5 = 676.96 mmHg, 90262.8 Pa
        QCOMPARE(e.messaggi, QStringList{QStringLiteral("pressione atmosferica: 902.628 mbar\n= 90263 Pa")});
    }

    void sostituisceIlFilePrecedente() {
        {
            QFile f(patm());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("a much longer earlier content that must disappear entirely\r\n");
        }
        Risponditore r;
        chiedi_altezza(cartella(), QStringLiteral("2250"), 1, r);
        VERIFICA_DIALOGHI(r);
        // 586 mmHg
        QCOMPARE(contenuto(patm()), QByteArray(" 7.81346184210526E+0004\r\n"));
    }

    // Cancelling the box writes nothing and shows nothing: the site's stored pressure stays.
    void annullareNonTocca() {
        {
            QFile f(patm());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(" 9.02681513157895E+0004\r\n");
        }
        Risponditore r;
        const RisultatoDialogo e = chiedi_altezza(cartella(), std::nullopt, 0, r);
        VERIFICA_DIALOGHI(r);
        QCOMPARE(e.messaggi, QStringList());
        QCOMPARE(contenuto(patm()), QByteArray(" 9.02681513157895E+0004\r\n"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("patm.txt")});
    }

    void risposteNonNumericheRifiutateInSilenzio_data() {
        QTest::addColumn<QString>("risposta");
        QTest::newRow("empty") << QString();
        QTest::newRow("unit typed") << QStringLiteral("1000m");
        QTest::newRow("comma") << QStringLiteral("1000,5");
        QTest::newRow("words") << QStringLiteral("mille");
        QTest::newRow("huge") << QStringLiteral("1e999");
    }
    void risposteNonNumericheRifiutateInSilenzio() {
        QFETCH(QString, risposta);
        Risponditore r;
        chiedi_altezza(cartella(), risposta, 0, r);
        VERIFICA_DIALOGHI(r); // no message box at all
        QVERIFY(!QFile::exists(patm()));
    }

    // Where the program directory cannot take the file (an installed program's, a missing one, "patm.txt" taken
    // by a directory), it goes to the user's data directory, and the message says where.
    void cartellaNonScrivibile_data() {
        QTest::addColumn<QString>("caso");
        QTest::newRow("patm.txt is a directory") << QStringLiteral("cartella");
        QTest::newRow("missing directory") << QStringLiteral("mancante");
        QTest::newRow("read-only directory") << QStringLiteral("sola lettura");
    }
    void cartellaNonScrivibile() {
        QFETCH(QString, caso);
        QString programma = cartella();
        if (caso == QLatin1String("cartella")) QVERIFY(QDir(cartella()).mkdir(QStringLiteral("patm.txt")));
        if (caso == QLatin1String("mancante")) programma += QStringLiteral("manca/");
        if (caso == QLatin1String("sola lettura")) {
            if (::geteuid() == 0) QSKIP("root writes into read-only directories");
            QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
        }
        Risponditore r;
        const RisultatoDialogo e = chiedi_altezza(programma, QStringLiteral("1000"), 1, r);
        QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        VERIFICA_DIALOGHI(r);
        QCOMPARE(e.messaggi,
                 QStringList{QStringLiteral("pressione atmosferica: 902.682 mbar\n= 90268 Pa\n\nsalvata in ") +
                             patm_dati()});
        QCOMPARE(e.icone.value(0), QMessageBox::NoIcon);
        QCOMPARE(contenuto(patm_dati()), QByteArray(" 9.02681513157895E+0004\r\n"));
        QVERIFY(!QFileInfo(programma + QStringLiteral("patm.txt")).isFile());
    }

    // Nowhere to write: the pressure is still shown, with the reason the file could not be written.
    void nessunaCartellaScrivibile() {
        QVERIFY(QDir(cartella()).mkdir(QStringLiteral("patm.txt")));
        const QString file = m_dati->filePath(QStringLiteral("un file"));
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        qputenv("XDG_DATA_HOME", QFile::encodeName(file));
        Risponditore r;
        const RisultatoDialogo e = chiedi_altezza(cartella(), QStringLiteral("0"), 1, r);
        VERIFICA_DIALOGHI(r);
        QCOMPARE(e.messaggi,
                 QStringList{QStringLiteral("pressione atmosferica:1013.350 mbar\n= 101335 Pa\n\nnon salvata: ") +
                             patm() + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(EISDIR))});
        QCOMPARE(e.icone.value(0), QMessageBox::Critical);
    }

    // Answered no, the question leaves the calculations at 101335 Pa.
    void icalcoliRestanoA101335() {
        Risponditore r;
        FinestraMenu finestra(cartella(), dimensioni_schermo());
        const RisultatoDialogo e = chiedi_altezza(cartella(), QStringLiteral("3000"), 1, r, false, false, &finestra);
        VERIFICA_DIALOGHI(r);
        QCOMPARE(e.domanda, QStringLiteral("Calcolare con questa pressione?"));
        QCOMPARE(finestra.contesto().aria, Aria{});
        QVERIFY(finestra.findChild<QPushButton*>(QStringLiteral("PressioneSito"))->isHidden());
        QCOMPARE(contenuto(patm()), QByteArray(" 7.14678421052632E+0004\r\n"));
    }

    // Yes to the question: every calculation uses the pressure, the menu shows it, the next run remembers it;
    // its button leads back to 101335 Pa.
    void pressioneDiCalcolo() {
        Impostazioni::usa_file(m_dir->filePath(QStringLiteral("ondix.ini")));
        const double p = pressione_pascal_da_quota(1000);
        {
            FinestraMenu finestra(cartella(), dimensioni_schermo());
            auto* pulsante = finestra.findChild<QPushButton*>(QStringLiteral("PressioneSito"));
            QVERIFY(pulsante && pulsante->isHidden());
            Risponditore r;
            const RisultatoDialogo e = chiedi_altezza(cartella(), QStringLiteral("1000"), 1, r, false, true, &finestra);
            VERIFICA_DIALOGHI(r);
            QCOMPARE(e.domanda, QStringLiteral("Calcolare con questa pressione?"));
            QCOMPARE(finestra.contesto().aria.pressione, p);
            QVERIFY(!pulsante->isHidden());
            QCOMPARE(pulsante->text(), QStringLiteral("PRESSIONE\n90268 Pa"));
            const QRect info = finestra.findChild<QPushButton*>(QStringLiteral("BitBtn9"))->geometry();
            QCOMPARE(pulsante->geometry().left(), info.left());
            QVERIFY(pulsante->geometry().top() > info.bottom());
        }
        FinestraMenu di_nuovo(cartella(), dimensioni_schermo());
        QCOMPARE(di_nuovo.contesto().aria.pressione, p);
        auto* pulsante = di_nuovo.findChild<QPushButton*>(QStringLiteral("PressioneSito"));
        QString testo;
        Risponditore r;
        r.poi(rispondi(false, testo));
        r.poi(rispondi(true, testo));
        pulsante->click(); // no: nothing changes
        QCOMPARE(di_nuovo.contesto().aria.pressione, p);
        pulsante->click();
        VERIFICA_DIALOGHI(r);
        QCOMPARE(testo, QStringLiteral("Tornare alla pressione di 101335 Pa?"));
        QCOMPARE(di_nuovo.contesto().aria, Aria{});
        QVERIFY(pulsante->isHidden());
        QCOMPARE(FinestraMenu(cartella(), dimensioni_schermo()).contesto().aria, Aria{});
        Impostazioni::usa_file(QString());
    }

    // The model of moist air, chosen in the menu's context menu: every calculation uses it and its report says
    // so, the menu shows it, the next run remembers it, the site pressure leaves it alone; its button leads back
    // to the program's correlations.
    void modelloDiCalcolo() {
        const QString file = m_dir->filePath(QStringLiteral("ondix.ini"));
        Impostazioni::usa_file(file);
        {
            FinestraMenu finestra(cartella(), dimensioni_schermo());
            FinestraRapporto rapporto(dimensioni_schermo());
            finestra.imposta_rapporto(&rapporto);
            finestra.imposta_grafico([](QWidget*, const Contesto&, VistaGrafico) {});
            auto* pulsante = finestra.findChild<QPushButton*>(QStringLiteral("ModelloSito"));
            auto* scelta = finestra.findChild<QAction*>(QStringLiteral("SceltaModello"));
            QVERIFY(pulsante && pulsante->isHidden() && scelta && !scelta->isChecked());
            QVERIFY(!QFile::exists(file));
            QCOMPARE(finestra.contextMenuPolicy(), Qt::ActionsContextMenu);
            QVERIFY(finestra.actions().contains(scelta));
            QCOMPARE(scelta->text(), QStringLiteral("Modello aria umida ASHRAE"));
            QCOMPARE(scelta->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
            finestra.show();
            finestra.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&finestra));
            QTest::keyClick(&finestra, Qt::Key_M, Qt::ControlModifier);
            QCOMPARE(finestra.contesto().aria, (Aria{pressione_atmosferica, &modello_ashrae()}));
            QVERIFY(!pulsante->isHidden() && scelta->isChecked());
            QVERIFY(finestra.findChild<QPushButton*>(QStringLiteral("PressioneSito"))->isHidden());
            QCOMPARE(pulsante->text(), QStringLiteral("MODELLO\nASHRAE"));
            const QRect info = finestra.findChild<QPushButton*>(QStringLiteral("BitBtn9"))->geometry();
            QCOMPARE(pulsante->geometry().left(), info.left());
            QVERIFY(pulsante->geometry().top() > info.bottom() + info.height());

            Risponditore r;
            QString riga;
            r.poi([](QWidget* w) {
                w->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click(); // CALCOLA, until the report closes
                w->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click(); // &USCITA
            });
            r.poi([&riga](QWidget* w) {
                riga = w->findChild<QPlainTextEdit*>(QStringLiteral("RichEdit1"))->toPlainText().section('\n', 0, 0);
                w->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click(); // the report's &Uscita
            });
            finestra.findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click(); // point properties
            VERIFICA_DIALOGHI(r);
            QCOMPARE(riga, QStringLiteral("modello aria umida: ASHRAE"));

            // A site pressure chosen, then dropped, keeps the model.
            finestra.pressione_sito()->usa(90000.0);
            QCOMPARE(finestra.contesto().aria, (Aria{90000.0, &modello_ashrae()}));
            finestra.pressione_sito()->usa(std::nullopt);
            QCOMPARE(finestra.contesto().aria, (Aria{pressione_atmosferica, &modello_ashrae()}));
        }
        FinestraMenu di_nuovo(cartella(), dimensioni_schermo());
        QCOMPARE(di_nuovo.contesto().aria.modello, &modello_ashrae());
        QVERIFY(di_nuovo.findChild<QPushButton*>(QStringLiteral("PressioneSito"))->isHidden());
        auto* pulsante = di_nuovo.findChild<QPushButton*>(QStringLiteral("ModelloSito"));
        QVERIFY(!pulsante->isHidden());
        QString testo;
        Risponditore r;
        r.poi(rispondi(false, testo));
        r.poi(rispondi(true, testo));
        pulsante->click(); // no: nothing changes
        QCOMPARE(di_nuovo.contesto().aria.modello, &modello_ashrae());
        pulsante->click();
        VERIFICA_DIALOGHI(r);
        QCOMPARE(testo, QStringLiteral("Tornare alle correlazioni del programma?"));
        QCOMPARE(di_nuovo.contesto().aria, Aria{});
        QVERIFY(pulsante->isHidden());
        QVERIFY(!di_nuovo.findChild<QAction*>(QStringLiteral("SceltaModello"))->isChecked());
        QCOMPARE(FinestraMenu(cartella(), dimensioni_schermo()).contesto().aria, Aria{});
        Impostazioni::usa_file(QString());
    }

    // The user's settings stay where the toolkit has always kept them for the program.
    void fileDelleImpostazioni() {
        QCOMPARE(Impostazioni::file(), QSettings(QStringLiteral("ondix"), QStringLiteral("ondix")).fileName());
    }

    // A settings file that cannot be read (a named pipe, a directory) or written: the program starts at once,
    // says so once with the file's name, keeps the site pressure chosen for the rest of the run, and leaves the
    // file as it was.
    void impostazioniNonUsabili_data() {
        QTest::addColumn<QString>("caso");
        QTest::newRow("named pipe") << QStringLiteral("fifo");
        QTest::newRow("directory") << QStringLiteral("cartella");
        QTest::newRow("not writable") << QStringLiteral("non scrivibile");
    }
    void impostazioniNonUsabili() {
        QFETCH(QString, caso);
        QString file = m_dir->filePath(QStringLiteral("ondix.ini"));
        const bool in_lettura = caso != QLatin1String("non scrivibile");
        if (caso == QLatin1String("fifo")) QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        if (caso == QLatin1String("cartella")) QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("ondix.ini")));
        // A file system where nobody, root included, can make a file.
        if (caso == QLatin1String("non scrivibile")) file = QStringLiteral("/proc/ondix-prova/ondix.ini");
        Impostazioni::usa_file(file);
        const QString letto = QStringLiteral("Impostazioni non lette da ") + file +
                              QStringLiteral(": non è un file regolare.\nIl programma usa le impostazioni predefinite; "
                                             "le scelte fatte valgono fino alla chiusura e non saranno ricordate al "
                                             "prossimo avvio.");
        const QString scritto_inizio = QStringLiteral("Impostazioni non salvate in ") + file + QStringLiteral(": ");
        const QString scritto_fine = QStringLiteral(".\nLe scelte fatte (come la pressione del sito) valgono fino "
                                                    "alla chiusura e non saranno ricordate al prossimo avvio.");
        QStringList avvisi;
        const auto annota = [&avvisi](QWidget* w) {
            auto* m = qobject_cast<QMessageBox*>(w);
            avvisi << (m && m->icon() == QMessageBox::Warning ? m->text() : prova::descrivi(w));
            prova::premi_ok(w);
        };

        Risponditore r;
        SbloccaPipe sblocca(file, 2000);
        FinestraMenu finestra(cartella(), dimensioni_schermo());
        finestra.show();
        if (in_lettura) r.poi(annota);
        QTest::qWait(100);
        QTRY_COMPARE(r.restanti(), 0);
        QVERIFY2(!sblocca.ferma(), "the start-up waited on the named pipe");
        QCOMPARE(finestra.contesto().aria, Aria{});

        const double p = pressione_pascal_da_quota(1000);
        chiedi_altezza(cartella(), QStringLiteral("1000"), 1, r, false, true, &finestra);
        if (!in_lettura) r.poi(annota);
        QTest::qWait(100);
        QTRY_COMPARE(r.restanti(), 0);
        QCOMPARE(finestra.contesto().aria.pressione, p);
        if (in_lettura) QCOMPARE(Impostazioni().pressione_sito(), std::optional<double>(p));
        // Saved again (back to 101335 Pa): not said again.
        QString testo;
        r.poi(rispondi(true, testo));
        finestra.findChild<QPushButton*>(QStringLiteral("PressioneSito"))->click();
        QTest::qWait(100);
        VERIFICA_DIALOGHI(r);
        QCOMPARE(finestra.contesto().aria, Aria{});

        QCOMPARE(avvisi.size(), 1);
        if (in_lettura)
            QCOMPARE(avvisi[0], letto);
        else
            QVERIFY2(avvisi[0].startsWith(scritto_inizio) && avvisi[0].endsWith(scritto_fine), qPrintable(avvisi[0]));
        QCOMPARE(QFileInfo(file).isFile(), false);
        Impostazioni::usa_file(QString());
    }
};

QTEST_MAIN(TestAltitudine)
#include "test_altitudine_ui.moc"
