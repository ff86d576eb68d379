// The documents an engineer hands over, made through the real windows: a calculation saved after it was computed
// (once its report has closed and the form is back at its defaults) with the answer its input box was given and the
// whole title block, reopened without the question and recomputed to the same report, in the windows and without
// them; its PDF report from the report window and from the chart window, with the same messages; the manual opened
// on each window's page, its search field, and its examples against the program's output.
#include "dialoghi.h"
#include "pdf_prova.h"

#include "core/altitudine.h"
#include "core/esecuzione.h"
#include "core/file_calcolo.h"
#include "ui/caratteri.h"
#include "ui/finestra_grafico.h"
#include "ui/finestra_maschera.h"
#include "ui/finestra_menu.h"
#include "ui/impostazioni.h"
#include "ui/manuale.h"
#include "ui/pressione_sito.h"
#include "ui/schermo.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>

#include <memory>

using namespace ondix;
using namespace ondix::prova;

namespace {

// A message box's text, then OK.
Risponditore::Azione leggi(QString& testo) {
    return [&testo](QWidget* w) {
        testo = prova::descrivi(w);
        prova::premi_ok(w);
    };
}

// A file dialog answered with `nome`, of the type whose filter is `filtro` when given.
Risponditore::Azione scegli_file(const QString& nome, const QString& filtro = {}) {
    return [nome, filtro](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        if (!d) return prova::chiudi(w);
        if (!filtro.isEmpty()) d->selectNameFilter(filtro);
        // Its folder, then its name typed into the name box, as a user does.
        d->setDirectory(QFileInfo(nome).absolutePath());
        d->selectFile(QFileInfo(nome).fileName());
        trova<QLineEdit>(d, QStringLiteral("fileNameEdit"))->setText(QFileInfo(nome).fileName());
        QMetaObject::invokeMethod(d, "accept");
    };
}

// The title block's dialog: its fields as shown into `visti` (by object name), the `dati` typed, then OK (or
// cancelled when `dati` is empty).
Risponditore::Azione intestazione(QMap<QString, QString>& visti, const QMap<QString, QString>& dati) {
    return [&visti, dati](QWidget* w) {
        for (QLineEdit* e : w->findChildren<QLineEdit*>())
            visti[e->objectName()] = e->text();
        visti[QStringLiteral("quota")] = trova<QLabel>(w, QStringLiteral("quota"))->text();
        for (auto k = dati.begin(); k != dati.end(); ++k)
            trova<QLineEdit>(w, k.key())->setText(k.value());
        if (dati.isEmpty())
            prova::chiudi(w);
        else
            static_cast<QDialog*>(w)->accept();
    };
}

} // namespace

class TestDocumenti : public QObject {
    Q_OBJECT

    QTemporaryDir m_cartella;
    std::unique_ptr<FinestraMenu> m_principale;

    QString file(const char* nome) const { return m_cartella.filePath(QString::fromLatin1(nome)); }

private slots:
    void initTestCase() {
        installa_sostituzioni_caratteri();
        QVERIFY(m_cartella.isValid());
        Impostazioni::usa_file(file("impostazioni.ini"));
    }

    void init() {
        m_principale = std::make_unique<FinestraMenu>(m_cartella.path() + QLatin1Char('/'), dimensioni_schermo());
        m_principale->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_principale.get()));
    }

    void cleanup() { m_principale.reset(); }

    // A summer cycle at the pressure of a site 1200 m high whose lines do not meet (a message, then the bypass
    // factor asked and answered 0.2): exported as a PDF from the chart window and from the report window, saved with
    // Ctrl+S once the report has closed and the form shows its defaults again, reopened by the main window,
    // recomputed without the question, and headless.
    void calcoloSalvatoDopoIlCalcoloERiaperto() {
        m_principale->pressione_sito()->usa(pressione_pascal_da_quota(1200), 1200);
        Primo p;
        calcola_esporta_salva(p);
        if (QTest::currentTestFailed()) return;
        QCOMPARE(p.titolo_grafico, QStringLiteral("CICLO ESTIVO - diagramma psicrometrico"));
        QVERIFY2(p.conferma.contains(QStringLiteral("estivo.pdf")), qPrintable(p.conferma));
        QVERIFY2(p.conferma_grafico.contains(QStringLiteral("dal_grafico.pdf")), qPrintable(p.conferma_grafico));
        // The second title block starts from the first one's answers.
        QCOMPARE(p.visti.value(QStringLiteral("sito")), QStringLiteral("Sondrio, via Roma 1"));
        QCOMPARE(p.visti.value(QStringLiteral("quota")), QStringLiteral("1200 m, 88135 Pa"));
        // Both PDFs carry the message the calculation showed.
        for (const char* pdf : {"dal_grafico.pdf", "estivo.pdf"}) {
            QString errore;
            const auto testo = prova::testo_pdf(file(pdf), errore);
            QVERIFY2(testo, qPrintable(errore));
            QVERIFY2(testo->simplified().contains(QStringLiteral("ATTENZIONE: ") +
                                                  p.messaggio.section(QLatin1Char('"'), 3).left(30)),
                     qPrintable(pdf + (QStringLiteral(": ") + *testo)));
            QVERIFY(testo->contains(QStringLiteral("Sondrio, via Roma 1")));
            QVERIFY(testo->contains(QStringLiteral("1200 m, 88135 Pa")));
        }

        // What was computed is saved, not the defaults the form shows again; the user is told which inputs.
        QCOMPARE(p.e1_dopo, QStringLiteral("27"));
        QVERIFY2(p.salvato.contains(QStringLiteral("28")) && p.salvato.contains(QStringLiteral("8500")) &&
                     p.salvato.contains(QStringLiteral("0.2")),
                 qPrintable(p.salvato));
        const auto f = apri_calcolo(QFile::encodeName(file("estivo.ondix")).toStdString());
        QVERIFY2(f, f ? "" : f.errore().testo.c_str());
        QCOMPARE(QString::fromStdString(f->testi[0]), QStringLiteral("28"));
        QCOMPARE(QString::fromStdString(f->testi[7]), QStringLiteral("8500"));
        QCOMPARE(f->risposta, std::optional<std::string>("0.2"));
        QCOMPARE(f->quota, std::optional<double>(1200));
        QCOMPARE(f->pressione, pressione_pascal_da_quota(1200));
        const Intestazione atteso{"Scuola Verdi", "Sondrio, via Roma 1", "M. Rossi", "C", "01/12/2026", std::nullopt};
        QVERIFY(f->intestazione == atteso);

        riapri(p.rapporto);
        if (QTest::currentTestFailed()) return;
        // Without windows, as ondix-calc apri runs it: the same report.
        RichiestaCalcolo richiesta;
        richiesta.tipo = f->processo;
        for (std::size_t i = 0; i < f->testi.size(); ++i)
            richiesta.testi[i] = f->testi[i];
        richiesta.risposta = f->risposta;
        richiesta.aria = aria_del_calcolo(*f);
        const RisultatoCalcolo esito = esegui(richiesta);
        QStringList senza_finestre;
        for (const std::string& riga : esito.contesto.rapporto.righe())
            senza_finestre << QString::fromStdString(riga);
        QCOMPARE(senza_finestre, p.rapporto);
    }

    // A damaged file: refused with a message that says why, left as it was.
    void unFileGuastoERifiutato() {
        const QByteArray guasto("{\"formato\": \"ondix-calcolo\", \"versione\": 1, \"processo\"");
        QFile f(file("guasto.ondix"));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(guasto);
        f.close();
        QString messaggio;
        Risponditore r;
        r.poi(leggi(messaggio));
        QVERIFY(!m_principale->apri_calcolo(file("guasto.ondix")));
        VERIFICA_DIALOGHI(r);
        QVERIFY2(messaggio.contains(QStringLiteral("JSON guasto")), qPrintable(messaggio));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), guasto);
    }

    // F1 opens the manual on the page of the window it is pressed in.
    void f1ApreLaPaginaDellaFinestra() {
        QStringList pagine;
        const auto manuale = [&](QWidget* w) {
            if (auto* m = dynamic_cast<FinestraManuale*>(w)) pagine << m->testo()->source().fileName();
            prova::chiudi(w);
        };
        Risponditore r;
        r.poi([&](QWidget* w) {
            QTest::keyClick(w, Qt::Key_F1);
            pulsante(w, "BitBtn2")->click();
            pulsante(w, "BitBtn1")->click();
        });
        r.poi(manuale);
        r.poi([&](QWidget* w) {
            QTest::keyClick(w, Qt::Key_F1);
            pulsante(w, "Button1")->click();
        });
        r.poi(manuale);
        r.poi([&](QWidget* w) {
            QTest::keyClick(w, Qt::Key_F1);
            pulsante(w, "BitBtn2")->click();
        });
        r.poi(manuale);
        r.poi(manuale);
        pulsante(m_principale.get(), "BitBtn5")->click(); // humidification with water
        QTest::keyClick(m_principale.get(), Qt::Key_F1);
        r.poi([&](QWidget* w) {
            QTest::keyClick(w, Qt::Key_F1);
            prova::chiudi(w);
        });
        r.poi(manuale);
        m_principale->apri_uta();
        VERIFICA_DIALOGHI(r);
        QCOMPARE(pagine,
                 (QStringList{"umidificazione.html", "grafico.html", "relazione.html", "indice.html", "uta.html"}));
    }

    // Enter in the search field finds the next match, again and again, and the manual stays open.
    void invioTrovaLaProssima() {
        FinestraManuale m(QStringLiteral("estivo.html"));
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        auto* cerca = trova<QLineEdit>(&m, QStringLiteral("cerca_manuale"));
        cerca->setFocus();
        QTest::keyClicks(cerca, QStringLiteral("batteria"));
        QList<int> posizioni;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(cerca, Qt::Key_Return);
            QVERIFY(m.isVisible());
            QCOMPARE(m.testo()->textCursor().selectedText().toLower(), QStringLiteral("batteria"));
            posizioni << m.testo()->textCursor().position();
        }
        QVERIFY2(posizioni[0] < posizioni[1] && posizioni[1] < posizioni[2], qPrintable(QString::number(posizioni[2])));
        m.close();
    }

    // Every example of the manual is what ondix-calc prints now for its command.
    void esempiDelManualeCalcolatiDalProgramma() {
        int esempi = 0;
        const QRegularExpression blocco(QStringLiteral("<pre class=\"esempio\">(.*?)</pre>"),
                                        QRegularExpression::DotMatchesEverythingOption);
        for (const QString& pagina : pagine_manuale()) {
            QFile f(QStringLiteral(":/ondix/manuale/") + pagina);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString html = QString::fromUtf8(f.readAll());
            QVERIFY2(!html.contains(QStringLiteral("@ESEMPIO")), qPrintable(pagina));
            QVERIFY2(!html.contains(QStringLiteral("@ONDIX_VERSIONE@")), qPrintable(pagina));
            for (auto m = blocco.globalMatch(html); m.hasNext();) {
                QTextDocument d;
                d.setHtml(QStringLiteral("<pre>") + m.next().captured(1) + QStringLiteral("</pre>"));
                const QString testo = d.toPlainText();
                const QString comando = testo.section(QLatin1Char('\n'), 0, 0);
                QVERIFY2(comando.startsWith(QStringLiteral("$ ondix-calc ")), qPrintable(comando));
                QProcess p;
                p.setWorkingDirectory(QString::fromUtf8(ONDIX_DATI));
                QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
                ambiente.remove(QStringLiteral("DISPLAY"));
                ambiente.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
                p.setProcessEnvironment(ambiente);
                p.start(QString::fromUtf8(ONDIX_CALC), comando.mid(13).split(QLatin1Char(' '), Qt::SkipEmptyParts));
                QVERIFY(p.waitForFinished(30000));
                QString uscita = QString::fromUtf8(p.readAllStandardError() + p.readAllStandardOutput());
                if (uscita.endsWith(QLatin1Char('\n'))) uscita.chop(1);
                QCOMPARE(testo.section(QLatin1Char('\n'), 1), uscita);
                ++esempi;
            }
        }
        QVERIFY2(esempi >= 8, qPrintable(QString::number(esempi)));
    }

    // When the program ends it gives up the text marked with the mouse, which a clipboard manager would otherwise
    // be asked to keep (the exit waits for it); what was copied stays for the manager to take.
    void lUscitaLasciaLaSelezione() {
        QClipboard* appunti = QGuiApplication::clipboard();
        if (!appunti->supportsSelection()) QSKIP("no selection on this platform");
        appunti->setText(QStringLiteral("copiato"), QClipboard::Clipboard);
        appunti->setText(QStringLiteral("segnato"), QClipboard::Selection);
        QVERIFY(appunti->ownsSelection());
        libera_selezione();
        QVERIFY(!appunti->ownsSelection());
        QVERIFY(appunti->ownsClipboard());
        QCOMPARE(appunti->text(QClipboard::Clipboard), QStringLiteral("copiato"));
    }

private:
    // What the first calculation showed and answered.
    struct Primo {
        QStringList rapporto;
        QString messaggio, titolo_grafico, conferma_grafico, conferma, salvato, e1_dopo;
        QMap<QString, QString> visti, visti_grafico;
    };

    // The summer cycle with boxes 1 and 8 at 28 and 8500, its answer 0.2; its PDF from the chart window with the
    // whole title block typed, then from the report window with a new revision; saved once the report has closed.
    void calcola_esporta_salva(Primo& p) {
        const QMap<QString, QString> titolo{{"progetto", "Scuola Verdi"},
                                            {"sito", "Sondrio, via Roma 1"},
                                            {"autore", "M. Rossi"},
                                            {"revisione", "B"},
                                            {"data", "01/12/2026"}};
        Risponditore r;
        r.poi([&](QWidget* w) {
            casella(w, 1)->setText(QStringLiteral("28"));
            casella(w, 8)->setText(QStringLiteral("8500"));
            pulsante(w, "BitBtn2")->click(); // CALCOLA: returns once the report window has closed
            p.e1_dopo = casella(w, 1)->text();
            w->findChild<QAction*>(QStringLiteral("salva_calcolo"))->trigger(); // Ctrl+S
            pulsante(w, "BitBtn1")->click();
        });
        r.poi(leggi(p.messaggio));
        r.poi([](QWidget* w) {
            auto* d = qobject_cast<QInputDialog*>(w);
            if (!d) return prova::chiudi(w);
            d->setTextValue(QStringLiteral("0.2"));
            d->accept();
        });
        r.poi([&](QWidget* w) { // the chart: its whole report as a PDF, then "continua"
            p.titolo_grafico = w->windowTitle();
            static_cast<FinestraGrafico*>(w)->azione("salva_immagine")->trigger();
            pulsante(w, "Button1")->click();
        });
        r.poi(scegli_file(file("dal_grafico.pdf"), QStringLiteral("Relazione di calcolo PDF (*.pdf)")));
        r.poi(intestazione(p.visti_grafico, titolo));
        r.poi(leggi(p.conferma_grafico));
        r.poi([&](QWidget* w) { // the report: its PDF, then closed
            p.rapporto = righe_rapporto(w);
            QVERIFY(pulsante(w, "mostra_grafico")->isVisible());
            pulsante(w, "esporta_pdf")->click();
            pulsante(w, "BitBtn2")->click();
        });
        r.poi(intestazione(p.visti, {{"revisione", "C"}}));
        r.poi(scegli_file(file("estivo.pdf")));
        r.poi(leggi(p.conferma));
        r.poi(scegli_file(file("estivo.ondix")));
        r.poi(leggi(p.salvato));
        pulsante(m_principale.get(), "BitBtn7")->click();
        VERIFICA_DIALOGHI(r);
    }

    // The saved file reopened by the main window, the settings holding another title block and no site pressure:
    // the file's texts, no question, the report `primo` again, and the title block dialog showing the file's.
    void riapri(const QStringList& primo) {
        QStringList secondo, riaperti;
        QMap<QString, QString> visti;
        QString messaggio;
        {
            Risponditore r;
            r.poi([&](QWidget* w) {
                riaperti << casella(w, 1)->text() << casella(w, 8)->text();
                pulsante(w, "BitBtn2")->click();
                pulsante(w, "BitBtn1")->click();
            });
            r.poi(leggi(messaggio));
            r.poi([](QWidget* w) { pulsante(w, "Button1")->click(); });
            r.poi([&](QWidget* w) {
                secondo = righe_rapporto(w);
                pulsante(w, "esporta_pdf")->click();
                pulsante(w, "BitBtn2")->click();
            });
            r.poi(intestazione(visti, {}));
            Impostazioni().ricorda_intestazione({});
            m_principale->pressione_sito()->usa(std::nullopt);
            QVERIFY(m_principale->apri_calcolo(file("estivo.ondix")));
            VERIFICA_DIALOGHI(r);
        }
        QCOMPARE(riaperti, (QStringList{QStringLiteral("28"), QStringLiteral("8500")}));
        QCOMPARE(secondo, primo);
        QCOMPARE(visti.value(QStringLiteral("revisione")), QStringLiteral("C"));
        QCOMPARE(visti.value(QStringLiteral("data")), QStringLiteral("01/12/2026"));
        QCOMPARE(visti.value(QStringLiteral("quota")), QStringLiteral("1200 m, 88135 Pa"));
    }
};

QTEST_MAIN(TestDocumenti)
#include "test_documenti.moc"
