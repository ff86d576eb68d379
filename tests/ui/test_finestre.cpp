// The main window and the input form, driven for real: buttons, per-kind setup, the typical run up to the
// report window and back, the floating-point error box, geometry, fonts and tab order; the keyboard, the recall
// of the last inputs and the form's printout.
#include "dialoghi.h"
#include "pdf_prova.h"

#include "core/computazioni.h"
#include "ui/caratteri.h"
#include "ui/finestra_maschera.h"
#include "ui/finestra_menu.h"
#include "ui/finestra_rapporto.h"
#include "ui/impostazioni.h"
#include "ui/manuale.h"
#include "ui/schermo.h"

#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <memory>

using namespace ondix;
using prova::Risponditore;

namespace {

template <typename T> T* trova(QWidget* w, const char* nome) {
    T* c = w->findChild<T*>(QString::fromLatin1(nome));
    if (!c) qFatal("control %s not found", nome);
    return c;
}

QString testo_edit(QWidget* form, int n) {
    return trova<QLineEdit>(form, ("Edit" + std::to_string(n)).c_str())->text();
}

void scrivi_edit(QWidget* form, int n, const QString& testo) {
    trova<QLineEdit>(form, ("Edit" + std::to_string(n)).c_str())->setText(testo);
}

QStringList righe_rapporto(QWidget* finestra) {
    return trova<QPlainTextEdit>(finestra, "RichEdit1")->toPlainText().split(QLatin1Char('\n'));
}

// What the window manager does when a window gets the focus back.
void attiva(QWidget* w) {
    if (!w) return;
    QEvent attivazione(QEvent::WindowActivate);
    QCoreApplication::sendEvent(w, &attivazione);
}

QRect R(int l, int t, int w, int h) {
    return QRect(l, t, w, h);
}

// What a message box showed.
struct Messaggio {
    QString titolo, testo;
    QMessageBox::Icon icona = QMessageBox::NoIcon;
};
Messaggio leggi_messaggio(QWidget* w) {
    auto* m = qobject_cast<QMessageBox*>(w);
    if (!m) return {w->windowTitle(), QStringLiteral("<not a message box>"), QMessageBox::NoIcon};
    return {m->windowTitle(), m->text(), m->icon()};
}

} // namespace

class TestFinestre : public QObject {
    Q_OBJECT

    QTemporaryDir m_cartella;
    std::unique_ptr<FinestraMenu> m_principale;
    QRect schermo_intero() const {
        const DimensioniSchermo s = m_principale->schermo();
        return QRect(0, 0, s.larghezza, s.altezza);
    }
    std::unique_ptr<FinestraRapporto> m_rapporto;

    QString cartella() const { return m_cartella.path() + QLatin1Char('/'); }
    QPushButton* pulsante(const char* nome) { return trova<QPushButton>(m_principale.get(), nome); }

private slots:
    void initTestCase() {
        installa_sostituzioni_caratteri();
        QVERIFY(m_cartella.isValid());
        Impostazioni::usa_file(m_cartella.filePath(QStringLiteral("impostazioni.ini")));
    }

    void init() {
        m_principale = std::make_unique<FinestraMenu>(cartella(), dimensioni_schermo());
        m_rapporto = std::make_unique<FinestraRapporto>(dimensioni_schermo());
        m_principale->imposta_rapporto(m_rapporto.get());
        // These tests go from the form to the report window; the chart window has tests of its own.
        m_principale->imposta_grafico([](QWidget*, const Contesto&, VistaGrafico) {});
        m_principale->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_principale.get()));
    }

    void cleanup() {
        m_principale.reset();
        m_rapporto.reset();
    }

    // Run under an Italian or German locale, the program's C locale has a decimal comma: the report must not care.
    void localeDelSistema() {
        const QByteArray lc = qgetenv("LC_ALL");
        if (!lc.startsWith("it_") && !lc.startsWith("de_")) QSKIP("not run under an Italian or German locale");
        QCOMPARE(QByteArray(std::localeconv()->decimal_point), QByteArray(","));
    }

    void pulsantiDellaFinestraPrincipale() {
        QCOMPARE(m_principale->windowTitle(), QStringLiteral("ondix1"));
        const std::pair<const char*, const char*> attesi[] = {
            {"BitBtn2", " PROPRIETA DEL PUNTO"},
            {"BitBtn3", "MISCELAZIONE"},
            {"BitBtn4", "RISCALDAMENTO RAFFREDDAMENTO SENSIBILE"},
            {"BitBtn5", "UMIDIFICAZIONE"},
            {"BitBtn10", "UMIDIFICAZIONE CON VAPORE"},
            {"BitBtn6", "RAFFREDDAMENTO CON CONDENSAZIONE"},
            {"BitBtn7", "CICLO ESTIVO"},
            {"BitBtn8", "CICLO INVERNALE"},
            {"BitBtn12", "CICLO INVERNALE CON UMIDIFICAZIONE A VAPORE"},
            {"SpeedButton1", "VERIFICA ESTIVA"},
            {"BitBtn1", "&USCITA"},
            {"BitBtn13", "ALTEZZA S.L.M."},
            {"BitBtn9", "? INFO"},
        };
        for (const auto& [nome, testo] : attesi) {
            QPushButton* b = pulsante(nome);
            QCOMPARE(b->text(), QString::fromLatin1(testo));
            QCOMPARE(b->font().family(), QStringLiteral("Times New Roman"));
            QVERIFY(b->font().bold());
            QCOMPARE(b->font().pointSize(), 10);
        }
        // No focus taken by a click; the keyboard reaches it.
        QCOMPARE(pulsante("SpeedButton1")->focusPolicy(), Qt::TabFocus);
        QCOMPARE(maiuscole_ascii(QStringLiteral("umidità àbc")), QStringLiteral("UMIDITà àBC"));
    }

    void geometriaRealePrincipale() {
        const DimensioniSchermo s = m_principale->schermo();
        if (s.larghezza != 1024 || s.altezza != 768) QSKIP("the worked example needs a 1024 x 768 screen");
        const QString difetto = prova::attendi_schermo_pieno(m_principale.get(), R(0, 0, 1024, 768));
        QVERIFY2(difetto.isEmpty(), qPrintable(difetto));
        QCOMPARE(trova<QLabel>(m_principale.get(), "Image1")->geometry(), R(51, 1, 922, 614));
        QCOMPARE(pulsante("BitBtn2")->geometry(), R(205, 1, 614, 42));
        QCOMPARE(pulsante("BitBtn3")->geometry(), R(205, 52, 614, 42));
        QCOMPARE(pulsante("SpeedButton1")->geometry(), R(205, 460, 614, 42));
        QCOMPARE(pulsante("BitBtn1")->geometry(), R(861, 154, 154, 67));
        QCOMPARE(pulsante("BitBtn13")->geometry(), R(861, 230, 154, 67));
        QCOMPARE(pulsante("BitBtn9")->geometry(), R(861, 306, 154, 67));
    }

    void geometriaRealeMaschera_data() {
        QTest::addColumn<int>("sw");
        QTest::addColumn<int>("sh");
        QTest::addColumn<QRect>("edit1");
        QTest::addColumn<QRect>("static2");
        QTest::addColumn<QRect>("calcola");
        QTest::addColumn<QRect>("gruppo2");
        QTest::addColumn<int>("punti");
        QTest::newRow("1024x768") << 1024 << 768 << R(499, 10, 197, 38) << R(2, 50, 492, 38) << R(2, 454, 184, 61)
                                  << R(768, 454, 232, 61) << 16;
        QTest::newRow("800x600") << 800 << 600 << R(391, 10, 154, 30) << R(2, 42, 384, 30) << R(2, 354, 144, 48)
                                 << R(604, 354, 182, 48) << 14;
        QTest::newRow("640x480") << 640 << 480 << R(314, 10, 123, 24) << R(2, 36, 307, 24) << R(2, 284, 115, 38)
                                 << R(486, 284, 146, 38) << 12;
    }

    void geometriaRealeMaschera() {
        QFETCH(int, sw);
        QFETCH(int, sh);
        QFETCH(QRect, edit1);
        QFETCH(QRect, static2);
        QFETCH(QRect, calcola);
        QFETCH(QRect, gruppo2);
        QFETCH(int, punti);
        Contesto ctx;
        ctx.processo = 1;
        EsternoQt esterno(ctx);
        const DimensioniSchermo s{static_cast<std::uint16_t>(sw), static_cast<std::uint16_t>(sh)};
        FinestraMaschera form(ctx, esterno, s);
        QCOMPARE(trova<QLineEdit>(&form, "Edit1")->geometry(), edit1);
        QCOMPARE(trova<QLabel>(&form, "StaticText2")->geometry(), static2);
        QCOMPARE(trova<QPushButton>(&form, "BitBtn2")->geometry(), calcola);
        QCOMPARE(trova<QGroupBox>(&form, "RadioGroup2")->geometry(), gruppo2);
        const QFont f = trova<QLineEdit>(&form, "Edit1")->font();
        QCOMPARE(f.family(), QStringLiteral("Verdana"));
        QVERIFY(f.bold());
        QCOMPARE(f.pointSize(), punti);
        QCOMPARE(trova<QGroupBox>(&form, "RadioGroup1")->font().pointSize(), punti - 3);
        QCOMPARE(trova<QPushButton>(&form, "BitBtn1")->font().pointSize(), punti);
    }

    // The message box, like every dialog, leaves the main window full screen again.
    void infoMostraIlManuale() {
        m_principale->showNormal();
        m_principale->setGeometry(100, 100, 400, 300);
        QVERIFY(QTest::qWaitFor([&] { return m_principale->geometry().width() == 400; }));
        Risponditore r;
        Messaggio m;
        r.poi([&](QWidget* w) {
            m = leggi_messaggio(w);
            prova::premi_ok(w);
        });
        pulsante("BitBtn9")->click();
        VERIFICA_DIALOGHI(r);
        QCOMPARE(m.testo, QStringLiteral("manuale sul testo"));
        QCOMPARE(m.titolo, QStringLiteral("ondix"));
        const QString difetto = prova::attendi_schermo_pieno(m_principale.get(), schermo_intero());
        QVERIFY2(difetto.isEmpty(), qPrintable(difetto));
        // Its other button opens the manual, and so does F1; the manual finds a word in any of its pages.
        QStringList aperte;
        bool trovata = false;
        r.poi([&](QWidget* w) { qobject_cast<QMessageBox*>(w)->buttons().last()->click(); });
        const auto manuale = [&](QWidget* w) {
            aperte << w->objectName();
            if (auto* f = dynamic_cast<FinestraManuale*>(w)) trovata = f->cerca(QStringLiteral("bypass"));
            prova::chiudi(w);
        };
        r.poi(manuale);
        r.poi(manuale);
        pulsante("BitBtn9")->click();
        QTest::keyClick(m_principale.get(), Qt::Key_F1);
        VERIFICA_DIALOGHI(r);
        QCOMPARE(aperte, (QStringList{"manuale", "manuale"}));
        QVERIFY(trovata);
    }

    void uscitaChiudeLaFinestraPrincipale() {
        QVERIFY(m_principale->isVisible());
        pulsante("BitBtn1")->click();
        QVERIFY(!m_principale->isVisible());
    }

    // The typical run: point properties with the defaults, "CALCOLA", the report window with the eight lines,
    // close, and the defaults back in the form.
    void esecuzioneTipica() {
        Risponditore r;
        QString titolo, e1, e2, visibili_dopo, dopo_e1, difetto_prima, difetto_dopo;
        QStringList righe;
        QString titolo_rapporto;
        bool p_durante = false, vuota_dopo = false, e1_durante = false;
        int vista_richiesta = -1;
        m_principale->imposta_grafico([&](QWidget*, const Contesto& ctx, VistaGrafico v) {
            vista_richiesta = static_cast<int>(v);
            p_durante = ctx.punti[1].etichetta == "P" && ctx.punti[3].etichetta == "BU";
        });
        r.poi([&](QWidget* w) {
            titolo = w->windowTitle();
            e1 = testo_edit(w, 1);
            e2 = testo_edit(w, 2);
            difetto_prima = prova::attendi_schermo_pieno(w, schermo_intero());
            scrivi_edit(w, 1, QStringLiteral("25")); // typed, then reset by the setup after the report
            scrivi_edit(w, 1, QStringLiteral("20"));
            trova<QPushButton>(w, "BitBtn2")->click(); // CALCOLA: returns once the report window has closed
            dopo_e1 = testo_edit(w, 1);
            // The form keeps its title bar on the screen after a calculation.
            difetto_dopo = prova::attendi_schermo_pieno(w, schermo_intero());
            vuota_dopo = !m_principale->contesto().punti[1].in_uso();
            for (int i = 1; i <= 10; ++i)
                visibili_dopo += trova<QLineEdit>(w, ("Edit" + std::to_string(i)).c_str())->isVisible() ? '1' : '0';
            trova<QPushButton>(w, "BitBtn1")->click(); // &USCITA
        });
        r.poi([&](QWidget* w) {
            titolo_rapporto = w->windowTitle();
            righe = righe_rapporto(w);
            attiva(m_principale->findChild<QDialog*>(QStringLiteral("Form1")));
            e1_durante = m_principale->contesto().punti[1].X == 20.0;
            trova<QPushButton>(w, "BitBtn2")->click(); // &Uscita
        });
        pulsante("BitBtn2")->click();
        VERIFICA_DIALOGHI(r);
        QCOMPARE(titolo, QStringLiteral("PROPRIETA DEL PUNTO"));
        QCOMPARE(e1, QStringLiteral("20"));
        QCOMPARE(e2, QStringLiteral("50"));
        QCOMPARE(titolo_rapporto, QStringLiteral("dati di calcolo"));
        const QStringList attese = {
            QStringLiteral("       PROPRIETA DEL PUNTO"),         QStringLiteral("Temperatura        :   20,0 C"),
            QStringLiteral("umidita relativa   :   50,0 %"),      QStringLiteral("umidita specifica  :   7,25 g/kg "),
            QStringLiteral("Entalpia           :   38,4 kj/kg "), QStringLiteral("volume specifico   :  0,840 mc/kg"),
            QStringLiteral("temperatura bulbo umido :13.73 C"),   QStringLiteral("temperatura rugiada     : 9.25 C"),
        };
        QCOMPARE(righe, attese);
        QCOMPARE(vista_richiesta, static_cast<int>(VistaGrafico::punto));
        QVERIFY(p_durante);
        QVERIFY2(e1_durante, "the chart table must still hold the points while the report is shown");
        QCOMPARE(dopo_e1, QStringLiteral("20"));
        QVERIFY(vuota_dopo);
        QCOMPARE(visibili_dopo, QStringLiteral("1100000000"));
        QVERIFY(m_principale->isVisible());
        QVERIFY2(difetto_prima.isEmpty(), qPrintable(difetto_prima));
        QVERIFY2(difetto_dopo.isEmpty(), qPrintable(difetto_dopo));
        const QString difetto = prova::attendi_schermo_pieno(m_principale.get(), schermo_intero());
        QVERIFY2(difetto.isEmpty(), qPrintable(difetto));
    }

    // By keyboard alone: the first box's text is selected as the form opens, so typing replaces it; a comma typed
    // (also the keypad's) enters a point; Enter runs "CALCOLA"; back from the report the box is selected again.
    void tastiera() {
        Risponditore r;
        QString selezionato, e1, e2, selezionato_dopo, e1_dopo;
        QStringList righe;
        r.poi([&](QWidget* w) {
            QLineEdit* primo = trova<QLineEdit>(w, "Edit1");
            w->activateWindow();
            // The window system hands the form the keyboard: the first box has it.
            if (!QTest::qWaitFor([&] { return primo->hasFocus(); })) qWarning("the first box did not get the focus");
            selezionato = primo->selectedText();
            QTest::keyClicks(primo, QStringLiteral("22,5"));
            e1 = primo->text();
            QTest::keyClick(primo, Qt::Key_Tab);
            QLineEdit* secondo = trova<QLineEdit>(w, "Edit2");
            QTest::keyClicks(secondo, QStringLiteral("40"));
            QTest::keyClick(secondo, Qt::Key_Comma, Qt::KeypadModifier);
            QTest::keyClick(secondo, Qt::Key_5, Qt::KeypadModifier);
            e2 = secondo->text();
            QTest::keyClick(secondo, Qt::Key_Return); // returns once the report window has closed
            selezionato_dopo = secondo->selectedText();
            e1_dopo = primo->text();
            trova<QPushButton>(w, "BitBtn1")->click();
        });
        r.poi([&](QWidget* w) {
            righe = righe_rapporto(w);
            trova<QPushButton>(w, "BitBtn2")->click();
        });
        pulsante("BitBtn2")->click();
        VERIFICA_DIALOGHI(r);
        QCOMPARE(selezionato, QStringLiteral("20"));
        QCOMPARE(e1, QStringLiteral("22.5"));
        QCOMPARE(e2, QStringLiteral("40.5"));
        QCOMPARE(righe.value(1), QStringLiteral("Temperatura        :   22,5 C"));
        QCOMPARE(righe.value(2), QStringLiteral("umidita relativa   :   40,5 %"));
        QCOMPARE(e1_dopo, QStringLiteral("20"));
        QCOMPARE(selezionato_dopo, QStringLiteral("50"));
    }

    // Escape closes a form at once only when nothing typed would be lost; otherwise it asks first.
    void escapeNonPerdeIDati() {
        Risponditore r;
        QString domanda, e1_dopo_no;
        bool aperta_dopo_no = false, chiusa_dopo_si = false;
        r.poi([&](QWidget* w) {
            scrivi_edit(w, 1, QStringLiteral("31"));
            QTest::keyClick(trova<QLineEdit>(w, "Edit1"), Qt::Key_Escape); // asked: no
            aperta_dopo_no = w->isVisible();
            e1_dopo_no = testo_edit(w, 1);
            QPointer<QWidget> form(w);
            QTest::keyClick(trova<QLineEdit>(w, "Edit1"), Qt::Key_Escape); // asked: yes
            chiusa_dopo_si = form.isNull() || !form->isVisible();
        });
        r.poi([&](QWidget* w) {
            domanda = leggi_messaggio(w).testo;
            qobject_cast<QMessageBox*>(w)->button(QMessageBox::No)->click();
        });
        r.poi([&](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::Yes)->click(); });
        // Nothing typed: Escape closes the form with no question.
        r.poi([&](QWidget* w) { QTest::keyClick(trova<QLineEdit>(w, "Edit1"), Qt::Key_Escape); });
        pulsante("BitBtn2")->click();
        pulsante("BitBtn2")->click();
        VERIFICA_DIALOGHI(r);
        QVERIFY2(domanda.contains(QStringLiteral("persi")), qPrintable(domanda));
        QVERIFY(aperta_dopo_no);
        QCOMPARE(e1_dopo_no, QStringLiteral("31"));
        QVERIFY(chiusa_dopo_si);
    }

    // Every button of the main window is reached with Tab, and Enter presses it.
    void tastieraNellaFinestraPrincipale() {
        pulsante("BitBtn2")->setFocus();
        QStringList ordine;
        for (int i = 0; i < 13; ++i) {
            QWidget* f = m_principale->focusWidget();
            QVERIFY(f);
            ordine << f->objectName();
            QTest::keyClick(f, Qt::Key_Tab);
        }
        ordine.sort();
        QCOMPARE(ordine, (QStringList{"BitBtn1", "BitBtn10", "BitBtn12", "BitBtn13", "BitBtn2", "BitBtn3", "BitBtn4",
                                      "BitBtn5", "BitBtn6", "BitBtn7", "BitBtn8", "BitBtn9", "SpeedButton1"}));
        Risponditore r;
        QString titolo;
        r.poi([&](QWidget* w) {
            titolo = w->windowTitle();
            trova<QPushButton>(w, "BitBtn1")->click();
        });
        pulsante("SpeedButton1")->setFocus();
        QTest::keyClick(m_principale->focusWidget(), Qt::Key_Return);
        VERIFICA_DIALOGHI(r);
        QCOMPARE(titolo, QStringLiteral("CICLO ESTIVO:VERIFICA"));
    }

    // F5 brings back the texts and options of the last calculation of the kind, in this run and the next; a kind
    // never calculated keeps its defaults.
    void richiamoConF5() {
        QTemporaryDir dir;
        Impostazioni::usa_file(dir.filePath(QStringLiteral("impostazioni.ini")));
        Risponditore r;
        QString e1_dopo, e1_f5, suggerimento;
        bool ponderale_f5 = false;
        r.poi([&](QWidget* w) {
            suggerimento = trova<QLineEdit>(w, "Edit4")->toolTip();
            scrivi_edit(w, 1, QStringLiteral("-3"));
            trova<QGroupBox>(w, "RadioGroup2")->findChildren<QRadioButton*>().at(1)->setChecked(true);
            trova<QPushButton>(w, "BitBtn2")->click();
            e1_dopo = testo_edit(w, 1);
            QTest::keyClick(trova<QLineEdit>(w, "Edit3"), Qt::Key_F5);
            e1_f5 = testo_edit(w, 1);
            ponderale_f5 = trova<QGroupBox>(w, "RadioGroup2")->findChildren<QRadioButton*>().at(1)->isChecked();
            trova<QPushButton>(w, "BitBtn1")->click();
        });
        r.poi([](QWidget* w) { trova<QPushButton>(w, "BitBtn2")->click(); });
        pulsante("BitBtn4")->click();
        VERIFICA_DIALOGHI(r);
        QVERIFY2(suggerimento.contains(QStringLiteral("F5")), qPrintable(suggerimento));
        QCOMPARE(e1_dopo, QStringLiteral("20"));
        QCOMPARE(e1_f5, QStringLiteral("-3"));
        QVERIFY(ponderale_f5);

        // The next run.
        cleanup();
        init();
        QString nuova_corsa, altro_tipo;
        r.poi([&](QWidget* w) {
            QTest::keyClick(trova<QLineEdit>(w, "Edit1"), Qt::Key_F5);
            nuova_corsa = testo_edit(w, 1);
            trova<QPushButton>(w, "BitBtn1")->click();
        });
        r.poi([&](QWidget* w) {
            QTest::keyClick(trova<QLineEdit>(w, "Edit1"), Qt::Key_F5);
            altro_tipo = testo_edit(w, 1);
            trova<QPushButton>(w, "BitBtn1")->click();
        });
        pulsante("BitBtn4")->click();
        pulsante("BitBtn3")->click();
        VERIFICA_DIALOGHI(r);
        Impostazioni::usa_file(m_cartella.filePath(QStringLiteral("impostazioni.ini")));
        QCOMPARE(nuova_corsa, QStringLiteral("-3"));
        QCOMPARE(altro_tipo, QStringLiteral("27"));
    }

    // "STAMPA" prints the form's title and its inputs as they stand.
    void stampaDellaMaschera() {
        Contesto ctx;
        ctx.processo = 4;
        EsternoQt esterno(ctx);
        FinestraMaschera form(ctx, esterno, dimensioni_schermo());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        scrivi_edit(&form, 2, QStringLiteral("65"));
        const QString pdf = m_cartella.filePath(QStringLiteral("maschera.pdf"));
        QPrinter stampante(QPrinter::HighResolution);
        stampante.setOutputFormat(QPrinter::PdfFormat);
        stampante.setOutputFileName(pdf);
        QVERIFY(form.stampa_su(stampante));
        form.close();
        QString errore;
        const auto testo = prova::testo_pdf(pdf, errore);
        QVERIFY2(testo, qPrintable(errore));
        QStringList righe;
        for (const QString& riga : testo->split(QLatin1Char('\n')))
            if (!riga.simplified().isEmpty()) righe << riga.simplified();
        const auto riga = [&](int i, const char* valore) {
            return (QString::fromStdString(ctx.maschera.etichetta[static_cast<std::size_t>(i)]) + QLatin1Char(' ') +
                    QLatin1String(valore))
                .simplified();
        };
        QCOMPARE(righe.mid(0, 3), (QStringList{"PROPRIETA DEL PUNTO", riga(0, "20"), riga(1, "65")}));
        QVERIFY2(righe.contains(QStringLiteral("umidita: relativa[ %]")), qPrintable(righe.join(QLatin1Char('|'))));
    }

    void valoriDigitatiTornanoAiPredefiniti() {
        Risponditore r;
        QString durante, dopo;
        QStringList righe;
        r.poi([&](QWidget* w) {
            scrivi_edit(w, 1, QStringLiteral("30"));
            trova<QPushButton>(w, "BitBtn2")->click();
            dopo = testo_edit(w, 1);
            trova<QPushButton>(w, "BitBtn1")->click();
        });
        r.poi([&](QWidget* w) {
            righe = righe_rapporto(w);
            trova<QPushButton>(w, "BitBtn2")->click();
        });
        pulsante("BitBtn2")->click();
        VERIFICA_DIALOGHI(r);
        QCOMPARE(righe.value(1), QStringLiteral("Temperatura        :   30,0 C"));
        QCOMPARE(dopo, QStringLiteral("20"));
    }

    // A message box in the middle of a computation leaves the form and the table alone until the computation
    // has ended.
    void messaggioNonReimpostaLaMaschera() {
        Risponditore r;
        Messaggio m;
        QString e2_messaggio, e2_rapporto, e2_dopo;
        bool specifica_messaggio = false, specifica_dopo = true;
        QStringList righe;
        r.poi([&](QWidget* w) {
            scrivi_edit(w, 2, QStringLiteral("15"));
            const auto opzioni = trova<QGroupBox>(w, "RadioGroup1")->findChildren<QRadioButton*>();
            opzioni.at(1)->setChecked(true);
            trova<QPushButton>(w, "BitBtn2")->click();
            e2_dopo = testo_edit(w, 2);
            specifica_dopo = opzioni.at(1)->isChecked();
            trova<QPushButton>(w, "BitBtn1")->click();
        });
        r.poi([&](QWidget* w) {
            m = leggi_messaggio(w);
            QWidget* form = w->parentWidget();
            // The form may be activated meanwhile (the user clicks it, the window manager hands it the focus).
            attiva(form);
            e2_messaggio = testo_edit(form, 2);
            specifica_messaggio =
                trova<QGroupBox>(form, "RadioGroup1")->findChildren<QRadioButton*>().at(1)->isChecked();
            prova::premi_ok(w);
        });
        r.poi([&](QWidget* w) {
            righe = righe_rapporto(w);
            attiva(m_principale->findChild<QDialog*>(QStringLiteral("Form1")));
            e2_rapporto = m_principale->contesto().maschera.testo[1].c_str();
            trova<QPushButton>(w, "BitBtn2")->click();
        });
        pulsante("BitBtn2")->click();
        VERIFICA_DIALOGHI(r);
        QCOMPARE(m.testo, QStringLiteral("umidità specifica superiore a quella limite!(=14.67)"));
        QCOMPARE(m.titolo, QStringLiteral("ondix"));
        QCOMPARE(e2_messaggio, QStringLiteral("15"));
        QVERIFY(specifica_messaggio);
        QCOMPARE(e2_rapporto, QStringLiteral("15"));
        QCOMPARE(righe, QStringList{QString()}); // the report window opens empty
        QCOMPARE(e2_dopo, QStringLiteral("50"));
        QVERIFY(!specifica_dopo);
    }

    // A floating-point error: a stop box titled with the program's name, no report window, the form stays with
    // what was typed, to be corrected.
    void erroreVirgolaMobile() {
        Risponditore r;
        Messaggio m;
        bool form_aperta = false;
        QString e1_dopo, e2_dopo;
        r.poi([&](QWidget* w) {
            scrivi_edit(w, 1, QStringLiteral("1e400"));
            scrivi_edit(w, 2, QStringLiteral("40"));
            trova<QPushButton>(w, "BitBtn2")->click();
            form_aperta = w->isVisible();
            e1_dopo = testo_edit(w, 1);
            e2_dopo = testo_edit(w, 2);
            trova<QPushButton>(w, "BitBtn1")->click();
        });
        r.poi([&](QWidget* w) {
            m = leggi_messaggio(w);
            prova::premi_ok(w);
        });
        pulsante("BitBtn2")->click();
        VERIFICA_DIALOGHI(r); // no report window came
        QCOMPARE(m.titolo, QStringLiteral("ondix"));
        QCOMPARE(m.icona, QMessageBox::Critical);
        QCOMPARE(m.testo, QStringLiteral("Débordement en virgule flottante."));
        QVERIFY(form_aperta);
        QCOMPARE(e1_dopo, QStringLiteral("1e400"));
        QCOMPARE(e2_dopo, QStringLiteral("40"));
    }

    // Inputs that admit no plant: the message, no report window, and the form keeps what was typed.
    void impiantoImpossibile() {
        Risponditore r;
        Messaggio m;
        QString e4_dopo, e1_dopo;
        r.poi([&](QWidget* w) {
            scrivi_edit(w, 1, QStringLiteral("25"));
            scrivi_edit(w, 4, QStringLiteral("120"));
            trova<QPushButton>(w, "BitBtn2")->click();
            e1_dopo = testo_edit(w, 1);
            e4_dopo = testo_edit(w, 4);
            trova<QPushButton>(w, "BitBtn1")->click();
        });
        r.poi([&](QWidget* w) {
            m = leggi_messaggio(w);
            prova::premi_ok(w);
        });
        pulsante("BitBtn5")->click();
        VERIFICA_DIALOGHI(r); // no report window came
        QCOMPARE(m.titolo, QStringLiteral("ondix"));
        QCOMPARE(m.testo, QStringLiteral("efficienza umidificazione[%]: il valore deve essere compreso fra 0 e 100!"));
        QCOMPARE(e1_dopo, QStringLiteral("25"));
        QCOMPARE(e4_dopo, QStringLiteral("120"));
    }

    void miscelaConPortateNulle() {
        if (!computazione_per(1)) QSKIP("the mixing computation is not there yet");
        Risponditore r;
        Messaggio m;
        QString titolo;
        r.poi([&](QWidget* w) {
            titolo = w->windowTitle();
            scrivi_edit(w, 3, QStringLiteral("0"));
            scrivi_edit(w, 6, QStringLiteral("0"));
            trova<QPushButton>(w, "BitBtn2")->click();
            trova<QPushButton>(w, "BitBtn1")->click();
        });
        r.poi([&](QWidget* w) {
            m = leggi_messaggio(w);
            prova::premi_ok(w);
        });
        pulsante("BitBtn3")->click();
        VERIFICA_DIALOGHI(r);
        QCOMPARE(titolo, QStringLiteral("MISCELAZIONE"));
        QCOMPARE(m.icona, QMessageBox::Critical);
        QCOMPARE(m.testo, QStringLiteral("Opération en virgule flottante incorrecte."));
    }

    // Every process button opens a fresh form of its kind, shown with its title.
    void ogniPulsanteApreLaSuaMaschera() {
        const std::pair<const char*, const char*> casi[] = {
            {"BitBtn2", "PROPRIETA DEL PUNTO"},
            {"BitBtn3", "MISCELAZIONE"},
            {"BitBtn4", "RISCALDAMENTO-RAFFREDDAMENTO SENSIBILE"},
            {"BitBtn5", "UMIDIFICAZIONE ADIABATICA"},
            {"BitBtn10", "UMIDIFICAZIONE CON VAPORE"},
            {"BitBtn6", "RAFFREDDAMENTO CON CONDENSAZIONE"},
            {"BitBtn7", "CICLO ESTIVO"},
            {"BitBtn8", "CICLO INVERNALE"},
            {"BitBtn12", "CICLO INVERNALE CON UMIDIFICAZIONE CON VAPORE"},
            {"SpeedButton1", "CICLO ESTIVO:VERIFICA"},
        };
        for (const auto& [nome, titolo] : casi) {
            Risponditore r;
            QString visto;
            QWidget* form = nullptr;
            r.poi([&](QWidget* w) {
                visto = w->windowTitle();
                form = w;
                trova<QPushButton>(w, "BitBtn1")->click();
            });
            pulsante(nome)->click();
            VERIFICA_DIALOGHI(r);
            QCOMPARE(visto, QString::fromLatin1(titolo));
            QVERIFY(form != nullptr);
        }
    }

    void secondaPressioneParteDaiPredefiniti() {
        for (int giro = 0; giro < 2; ++giro) {
            Risponditore r;
            QString e1;
            r.poi([&](QWidget* w) {
                e1 = testo_edit(w, 1);
                scrivi_edit(w, 1, QStringLiteral("99"));
                trova<QPushButton>(w, "BitBtn1")->click();
            });
            pulsante("BitBtn3")->click();
            VERIFICA_DIALOGHI(r);
            QCOMPARE(e1, QStringLiteral("27"));
        }
    }

    // As the program runs it: the main window makes its own report window.
    void finestraDelRapportoPropria() {
        // The report window is made when it is first needed, not at start-up.
        const auto finestre_rapporto = [] {
            int n = 0;
            for (QWidget* w : QApplication::topLevelWidgets())
                n += dynamic_cast<FinestraRapporto*>(w) != nullptr;
            return n;
        };
        const int prima = finestre_rapporto();
        FinestraMenu finestra(cartella(), dimensioni_schermo());
        finestra.imposta_grafico([](QWidget*, const Contesto&, VistaGrafico) {});
        finestra.show();
        QVERIFY(QTest::qWaitForWindowExposed(&finestra));
        QVERIFY(!trova<QPushButton>(&finestra, "BitBtn1")->icon().isNull());
        QTRY_VERIFY(!finestra.windowIcon().isNull()); // set after the first paint
        QVERIFY(!finestra.windowIcon().pixmap(32, 32).isNull());
        QTest::qWait(50);
        QCOMPARE(finestre_rapporto(), prima);
        FinestraRapporto* propria = finestra.rapporto();
        QCOMPARE(finestre_rapporto(), prima + 1);
        QVERIFY(propria);
        QCOMPARE(finestra.rapporto(), propria);
        Risponditore r;
        QStringList righe;
        QWidget* vista = nullptr;
        r.poi([&](QWidget* w) {
            trova<QPushButton>(w, "BitBtn2")->click();
            trova<QPushButton>(w, "BitBtn1")->click();
        });
        r.poi([&](QWidget* w) {
            vista = w;
            righe = righe_rapporto(w);
            trova<QPushButton>(w, "BitBtn2")->click();
        });
        trova<QPushButton>(&finestra, "BitBtn2")->click();
        VERIFICA_DIALOGHI(r);
        QCOMPARE(vista, static_cast<QWidget*>(propria));
        QCOMPARE(righe.size(), 8);
    }

    void dueCalcoliStessoRapporto() {
        Risponditore r;
        QStringList primo, secondo;
        r.poi([&](QWidget* w) {
            trova<QPushButton>(w, "BitBtn2")->click();
            trova<QPushButton>(w, "BitBtn2")->click();
            trova<QPushButton>(w, "BitBtn1")->click();
        });
        // The report window is one window for the whole run, shown once per calculation.
        r.poi([&](QWidget* w) {
            primo = righe_rapporto(w);
            trova<QPushButton>(w, "BitBtn2")->click();
        });
        r.poi([&](QWidget* w) {
            secondo = righe_rapporto(w);
            trova<QPushButton>(w, "BitBtn2")->click();
        });
        pulsante("BitBtn2")->click();
        VERIFICA_DIALOGHI(r);
        QCOMPARE(primo.size(), 8);
        QCOMPARE(secondo, primo);
    }

    void immagineDiSfondo_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QByteArray>("formato");
        QTest::addColumn<bool>("caricata");
        QTest::newRow("bmp") << QStringLiteral("ondix1.bmp") << QByteArray("BMP") << true;
        QTest::newRow("png") << QStringLiteral("ondix1.png") << QByteArray("PNG") << true;
        QTest::newRow("png named bmp") << QStringLiteral("ondix1.bmp") << QByteArray("PNG") << true;
        QTest::newRow("broken") << QStringLiteral("ondix1.bmp") << QByteArray() << false;
        QTest::newRow("other name") << QStringLiteral("sfondo.bmp") << QByteArray("BMP") << false;
    }

    void immagineDiSfondo() {
        QFETCH(QString, nome);
        QFETCH(QByteArray, formato);
        QFETCH(bool, caricata);
        QTemporaryDir dir;
        const QString file = dir.path() + QLatin1Char('/') + nome;
        if (formato.isEmpty()) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("BM this is not a bitmap at all");
        } else {
            QImage img(40, 30, QImage::Format_RGB32);
            img.fill(Qt::blue);
            QVERIFY(img.save(file, formato.constData()));
        }
        FinestraMenu finestra(dir.path() + QLatin1Char('/'), {1024, 768});
        auto* immagine = trova<QLabel>(&finestra, "Image1");
        QCOMPARE(!immagine->pixmap().isNull(), caricata);
        if (caricata) {
            QCOMPARE(immagine->pixmap().size(), QSize(40, 30));
            QVERIFY(immagine->hasScaledContents()); // stretched over the area
            QCOMPARE(immagine->geometry(), R(51, 1, 922, 614));
        }
    }

    void suggerimentiEOrdineDiTabulazione() {
        Contesto ctx;
        ctx.processo = 0; // no kind: every field but 9 and 10 stays visible, both groups too
        EsternoQt esterno(ctx);
        FinestraMaschera form(ctx, esterno, dimensioni_schermo());
        QCOMPARE(trova<QGroupBox>(&form, "RadioGroup1")->toolTip(), QStringLiteral("umidità specifica in g/kg"));
        QCOMPARE(trova<QGroupBox>(&form, "RadioGroup2")->toolTip(),
                 QStringLiteral("portata volumetrica in mc/h, ponderale in kg/h"));
        QCOMPARE(trova<QPushButton>(&form, "BitBtn3")->text(), QStringLiteral("STAMPA"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // The form's own focus, so that another program's window taking the display's focus changes nothing.
        trova<QLineEdit>(&form, "Edit1")->setFocus();
        QStringList ordine;
        for (int i = 0; i < 15; ++i) {
            QWidget* f = form.focusWidget();
            QVERIFY(f);
            QString nome = f->objectName();
            if (qobject_cast<QRadioButton*>(f)) nome = f->parentWidget()->objectName();
            ordine << nome;
            QTest::keyClick(f, Qt::Key_Tab);
        }
        // As on the screen: the boxes top to bottom, then CALCOLA, STAMPA, USCITA and the two groups.
        QCOMPARE(ordine, (QStringList{"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9",
                                      "BitBtn2", "BitBtn3", "BitBtn1", "RadioGroup1", "RadioGroup2", "Edit1"}));
        // A click on STAMPA leaves the focus where it was: Enter and the space bar do not print again.
        QTest::mousePress(trova<QPushButton>(&form, "BitBtn3"), Qt::LeftButton, {}, QPoint(1, 1));
        QTest::mouseRelease(trova<QPushButton>(&form, "BitBtn3"), Qt::LeftButton, {}, QPoint(-20, -20));
        QVERIFY(form.focusWidget() != trova<QPushButton>(&form, "BitBtn3"));
        form.close();
    }
};

QTEST_MAIN(TestFinestre)
#include "test_finestre.moc"
