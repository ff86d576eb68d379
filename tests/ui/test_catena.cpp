// The whole chain of windows as the user goes through it, with the real chart window: main window → form →
// "CALCOLA" → chart window → "continua" → report window → close → the form with its defaults again, for every
// process; a second calculation shows only its own chart; printing the chart and the report on the test run's
// print queue, read back from the PDF files it writes. (Saving, reopening and exporting: test_documenti.)
#include "dialoghi.h"
#include "pdf_prova.h"

#include "core/calcolo.h"
#include "esterno_prova.h"
#include "ui/caratteri.h"
#include "ui/finestra_grafico.h"
#include "ui/finestra_menu.h"
#include "ui/finestra_rapporto.h"
#include "ui/impostazioni.h"
#include "ui/schermo.h"

#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace ondix;
using prova::casella;
using prova::pulsante;
using prova::righe_rapporto;
using prova::Risponditore;
using prova::trova;

namespace {

struct Atteso {
    Contesto ctx;        // the table and overlay code the chart must show
    StatoMaschera prima; // the form's defaults
    QStringList rapporto;
    QStringList dialoghi; // messages and input boxes, in order
    std::optional<VistaGrafico> vista;
};

// Defaults of `tipo`, then box `n` set to `testo` (n = 0: nothing typed), then the calculation.
Atteso calcola_senza_finestre(TipoProcesso tipo, int n, const QString& testo, const QString& risposta) {
    Atteso a;
    a.ctx.processo = tipo;
    imposta_maschera(a.ctx);
    a.prima = a.ctx.maschera;
    if (n > 0) a.ctx.maschera.testo[static_cast<std::size_t>(n - 1)] = testo.toStdString();
    // The same calculation without windows: what the form, the chart and the report must show.
    EsternoProva esterno;
    if (!risposta.isEmpty()) esterno.risposta = risposta.toStdString();
    const Fatto esito = vai_calcolo(a.ctx, esterno);
    if (!esito) qFatal("the calculation failed: %s", esito.errore().testo.c_str());
    for (const std::string& r : a.ctx.rapporto.righe())
        a.rapporto << QString::fromStdString(r);
    for (const std::string& d : esterno.dialoghi)
        a.dialoghi << QString::fromStdString(d);
    a.vista = esterno.vista();
    return a;
}

// The chart of the table as a new chart window of `dimensione` draws it.
QImage grafico_atteso(const Contesto& ctx, VistaGrafico vista, QSize dimensione) {
    QPixmap p(dimensione);
    p.fill(Qt::white);
    PlotterQt plotter;
    plotter.disegna(p, Dispositivo::schermo, procedura_vista(vista, ctx));
    return p.toImage();
}

// Answers a message box with OK and an input box with `risposta` (its default when empty).
void rispondi(QWidget* w, const QString& risposta, QStringList& visti) {
    if (auto* m = qobject_cast<QMessageBox*>(w)) {
        visti << m->text();
        prova::premi_ok(w);
    } else if (auto* d = qobject_cast<QInputDialog*>(w)) {
        visti << d->windowTitle();
        if (!risposta.isEmpty()) d->setTextValue(risposta);
        d->accept();
    } else {
        visti << QStringLiteral("<unexpected: %1>").arg(prova::descrivi(w));
        prova::chiudi(w);
    }
}

// Words of a text, blanks of any length between them.
QString parole(const QString& t) {
    return t.simplified();
}

// What a chart window showed while it was open.
struct VistaFinestra {
    bool trovata = false;
    QRect geometria, continua, stampa;
    QString difetto_schermo; // empty when the whole window is the screen
    bool modale = false;
    QWidget* genitore = nullptr;
    QImage immagine;
    QImage dipinta; // what the window paints, grabbed
    QPointer<QWidget> finestra;
};

VistaFinestra osserva(QWidget* w) {
    VistaFinestra v;
    v.finestra = w;
    auto* g = dynamic_cast<FinestraGrafico*>(w);
    if (!g) return v;
    v.trovata = true;
    v.geometria = g->geometry();
    static_cast<void>(
        QTest::qWaitFor([&] { return (v.difetto_schermo = prova::difetto_schermo_coperto(g)).isEmpty(); }));
    v.continua = pulsante(g, "Button1")->geometry();
    v.stampa = pulsante(g, "BitBtn2")->geometry();
    v.modale = g->isModal() && QApplication::activeModalWidget() == g;
    v.genitore = g->parentWidget();
    v.immagine = g->immagine().toImage();
    v.dipinta = g->grab().toImage();
    return v;
}

} // namespace

class TestCatena : public QObject {
    Q_OBJECT

    QTemporaryDir m_cartella;
    std::unique_ptr<FinestraMenu> m_principale;

    QString cartella() const { return m_cartella.path() + QLatin1Char('/'); }

private slots:
    void initTestCase() {
        installa_sostituzioni_caratteri();
        QVERIFY(m_cartella.isValid());
        // The chart windows draw the plain chart, whatever the user running the tests has chosen.
        Impostazioni::usa_file(m_cartella.filePath(QStringLiteral("impostazioni.ini")));
    }

    void init() {
        // As the program runs: the main window makes its own report window, and every chart request its own
        // chart window.
        m_principale = std::make_unique<FinestraMenu>(cartella(), dimensioni_schermo());
        m_principale->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_principale.get()));
    }

    void cleanup() { m_principale.reset(); }

    void catenaCompleta_data() {
        QTest::addColumn<QString>("bottone");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<int>("n_casella"); // the box typed into (0: none)
        QTest::addColumn<QString>("testo"); // what is typed there
        QTest::addColumn<QString>("risposta");
        QTest::addColumn<int>("dialoghi"); // message and input boxes during the calculation
        QTest::newRow("4 point properties") << "BitBtn2" << 4 << 1 << "25"
                                            << "" << 0;
        QTest::newRow("1 mixing") << "BitBtn3" << 1 << 1 << "26"
                                  << "" << 0;
        QTest::newRow("2 sensible") << "BitBtn4" << 2 << 4 << "35"
                                    << "" << 0;
        QTest::newRow("3 humidification") << "BitBtn5" << 3 << 0 << ""
                                          << "" << 0;
        QTest::newRow("13 steam humidification") << "BitBtn10" << 13 << 0 << ""
                                                 << "" << 0;
        QTest::newRow("5 condensation") << "BitBtn6" << 5 << 0 << ""
                                        << "" << 0;
        QTest::newRow("6 summer cycle") << "BitBtn7" << 6 << 0 << ""
                                        << "" << 0;
        // No meeting of the room line and the coil line: a message, then the bypass factor is asked.
        QTest::newRow("6 summer cycle, post-heating") << "BitBtn7" << 6 << 8 << "8500"
                                                      << "0.2" << 2;
        // The humidifier would pass the supply's humidity without pre-heating: a message, and it is held back.
        QTest::newRow("7 winter cycle") << "BitBtn8" << 7 << 0 << ""
                                        << "" << 1;
        QTest::newRow("17 winter cycle, steam") << "BitBtn12" << 17 << 0 << ""
                                                << "" << 0;
        QTest::newRow("21 summer verification") << "SpeedButton1" << 21 << 0 << ""
                                                << "" << 0;
    }

    void catenaCompleta() {
        QFETCH(QString, bottone);
        QFETCH(int, tipo);
        QFETCH(int, n_casella);
        QFETCH(QString, testo);
        QFETCH(QString, risposta);
        QFETCH(int, dialoghi);
        const Atteso atteso = calcola_senza_finestre(static_cast<TipoProcesso>(tipo), n_casella, testo, risposta);
        QVERIFY(atteso.vista.has_value());
        QCOMPARE(atteso.dialoghi.size(), dialoghi);

        Risponditore r;
        QString titolo;
        QStringList prima, dopo, attesi_dopo, visti;
        bool tabella_vuota_dopo = false, punti_durante_rapporto = false;
        VistaFinestra grafico;
        QStringList rapporto;
        QWidget* form = nullptr;
        r.poi([&](QWidget* w) {
            form = w;
            titolo = w->windowTitle();
            salva_schermata(QStringLiteral("%1 1 form").arg(QString::fromLatin1(QTest::currentDataTag())));
            for (int i = 1; i <= 10; ++i)
                if (casella_visibile(w, i)) prima << casella(w, i)->text();
            if (n_casella > 0) casella(w, n_casella)->setText(testo);
            pulsante(w, "BitBtn2")->click(); // CALCOLA: returns once the report window has closed
            for (int i = 1; i <= 10; ++i)
                if (casella_visibile(w, i)) dopo << casella(w, i)->text();
            tabella_vuota_dopo = true;
            for (int i = 1; i <= TabellaPunti::numero_voci; ++i)
                tabella_vuota_dopo = tabella_vuota_dopo && !m_principale->contesto().punti[i].in_uso();
            pulsante(w, "BitBtn1")->click(); // &USCITA
        });
        for (int i = 0; i < dialoghi; ++i)
            r.poi([&](QWidget* w) { rispondi(w, risposta, visti); });
        r.poi([&](QWidget* w) {
            grafico = osserva(w);
            salva_schermata(QStringLiteral("%1 2 chart").arg(QString::fromLatin1(QTest::currentDataTag())));
            pulsante(w, "Button1")->click(); // continua
        });
        r.poi([&](QWidget* w) {
            salva_schermata(QStringLiteral("%1 3 report").arg(QString::fromLatin1(QTest::currentDataTag())));
            rapporto = righe_rapporto(w);
            punti_durante_rapporto = m_principale->contesto().punti[1].in_uso();
            pulsante(w, "BitBtn2")->click(); // &Uscita
        });
        pulsante(m_principale.get(), bottone.toLatin1().constData())->click();
        VERIFICA_DIALOGHI(r);

        QCOMPARE(titolo, QString::fromStdString(atteso.prima.titolo));
        for (int i = 0; i < 10; ++i)
            if (atteso.prima.testo_visibile[static_cast<std::size_t>(i)])
                attesi_dopo << QString::fromStdString(atteso.prima.testo[static_cast<std::size_t>(i)]);
        QCOMPARE(prima, attesi_dopo);
        QCOMPARE(visti, atteso.dialoghi);

        // The chart window: full-screen, modal over the form, the chart of this calculation, painted as drawn.
        QVERIFY2(grafico.trovata, "the chart window did not come after CALCOLA");
        const DimensioniSchermo s = dimensioni_schermo();
        QCOMPARE(grafico.geometria, QRect(0, 0, s.larghezza, s.altezza));
        QCOMPARE(grafico.continua, QRect(208, s.altezza - 53, 145, 25));
        QCOMPARE(grafico.stampa, QRect(392, s.altezza - 53, 129, 25));
        QVERIFY2(grafico.difetto_schermo.isEmpty(), qPrintable(grafico.difetto_schermo));
        QVERIFY(grafico.modale);
        QCOMPARE(grafico.genitore, form);
        const QImage disegno = grafico_atteso(atteso.ctx, *atteso.vista, QSize(s.larghezza, s.altezza));
        QCOMPARE(grafico.immagine.convertToFormat(disegno.format()), disegno);
        const QRect area(0, 0, s.larghezza - 10, s.altezza - 80);
        QCOMPARE(grafico.dipinta.convertToFormat(disegno.format()).copy(area), disegno.copy(area));
        QVERIFY2(grafico.finestra.isNull(), "the chart window must be gone once closed");

        // Then the report, the same as without windows; and the form back to its defaults, the table empty.
        QCOMPARE(rapporto, atteso.rapporto);
        QVERIFY(punti_durante_rapporto);
        QCOMPARE(dopo, attesi_dopo);
        QVERIFY(tabella_vuota_dopo);
        QVERIFY(m_principale->isVisible());
    }

    // Closing the chart and calculating again: the new chart window shows the new process only.
    void secondoCalcoloSoloIlNuovo() {
        const Atteso primo = calcola_senza_finestre(2, 0, QString(), QString());
        const Atteso secondo = calcola_senza_finestre(2, 1, QStringLiteral("-3"), QString());
        Risponditore r;
        std::array<VistaFinestra, 2> grafici;
        r.poi([&](QWidget* w) {
            pulsante(w, "BitBtn2")->click();
            casella(w, 1)->setText(QStringLiteral("-3"));
            pulsante(w, "BitBtn2")->click();
            pulsante(w, "BitBtn1")->click();
        });
        for (auto& g : grafici) {
            r.poi([&](QWidget* w) {
                g = osserva(w);
                pulsante(w, "Button1")->click();
            });
            r.poi([](QWidget* w) { pulsante(w, "BitBtn2")->click(); });
        }
        pulsante(m_principale.get(), "BitBtn4")->click();
        VERIFICA_DIALOGHI(r);
        const DimensioniSchermo s = dimensioni_schermo();
        const QSize dimensione(s.larghezza, s.altezza);
        QVERIFY(grafici[0].trovata && grafici[1].trovata);
        const QImage atteso1 = grafico_atteso(primo.ctx, *primo.vista, dimensione);
        const QImage atteso2 = grafico_atteso(secondo.ctx, *secondo.vista, dimensione);
        QVERIFY(atteso1 != atteso2);
        QCOMPARE(grafici[0].immagine.convertToFormat(atteso1.format()), atteso1);
        QCOMPARE(grafici[1].immagine.convertToFormat(atteso2.format()), atteso2);
    }

    // The chart window repainted while it is open (hidden and shown, or told to update) still shows the chart.
    void ridipintaMostraAncoraIlGrafico() {
        Risponditore r;
        bool ok_update = false, ok_nascosta = false, blu = false;
        r.poi([&](QWidget* w) {
            pulsante(w, "BitBtn2")->click();
            pulsante(w, "BitBtn1")->click();
        });
        r.poi([&](QWidget* w) {
            auto* g = dynamic_cast<FinestraGrafico*>(w);
            if (!g) {
                prova::chiudi(w);
                return;
            }
            const QRect area(0, 0, g->width() - 10, g->height() - 80);
            const auto sullo_schermo = [&] {
                // What the display itself shows, where a window system is there to ask; else what it paints.
                QScreen* schermo = g->screen();
                const QPixmap p = schermo && QGuiApplication::platformName() == QLatin1String("xcb")
                                      ? schermo->grabWindow(0, 0, 0, g->width(), g->height())
                                      : g->grab();
                return p.toImage().convertToFormat(QImage::Format_RGB32).copy(area);
            };
            const QImage immagine = g->immagine().toImage().convertToFormat(QImage::Format_RGB32).copy(area);
            for (int y = 0; y < immagine.height() && !blu; y += 2)
                for (int x = 0; x < immagine.width() && !blu; ++x)
                    blu = immagine.pixel(x, y) == qRgb(0, 0, 255);
            g->update();
            QTest::qWait(50);
            ok_update = sullo_schermo() == immagine;
            // Another window over it, then gone: the chart window is exposed again (and active again).
            QWidget sopra;
            sopra.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
            sopra.setGeometry(g->geometry());
            sopra.setPalette(QPalette(Qt::yellow));
            sopra.setAutoFillBackground(true);
            sopra.show();
            QVERIFY(QTest::qWaitForWindowExposed(&sopra));
            QTest::qWait(50);
            sopra.close();
            QTest::qWait(100);
            ok_nascosta = sullo_schermo() == g->immagine().toImage().convertToFormat(QImage::Format_RGB32).copy(area);
            pulsante(w, "Button1")->click();
        });
        r.poi([](QWidget* w) { pulsante(w, "BitBtn2")->click(); });
        pulsante(m_principale.get(), "BitBtn7")->click();
        VERIFICA_DIALOGHI(r);
        QVERIFY(blu);
        QVERIFY(ok_update);
        QVERIFY(ok_nascosta);
    }

    // "STAMPA" in the chart window and "&Stampa" in the report window, on the default printer: the test run's
    // print queue writes one PDF for each, read back here. The chart comes on a landscape page with lines half a
    // millimetre wide; the report's lines, longer than its font allows on the page, each on one line.
    void stampaGraficoERapporto() {
        const QString coda = prova::cartella_coda();
        const QString pdf_grafico = m_cartella.filePath(QStringLiteral("grafico.pdf"));
        const QString pdf_rapporto = m_cartella.filePath(QStringLiteral("rapporto.pdf"));
        prova::IstantaneaPdf gia_in_coda;
        if (coda.isEmpty()) {
            qWarning("No print queue for this test run (ONDIX_CARTELLA_PDF is not set; scripts/test sets up CUPS "
                     "with a PDF queue): printing is checked through the toolkit's PDF output instead.");
            m_principale->rapporto()->imposta_stampante([&] { return pdf(pdf_rapporto); });
        } else {
            const QString attesa = qEnvironmentVariable("ONDIX_CODA_PDF");
            const QString predefinita = QPrinterInfo::defaultPrinter().printerName();
            QVERIFY2(!predefinita.isEmpty(), "the test run's print queue is set up, but there is no default printer");
            if (!attesa.isEmpty()) QCOMPARE(predefinita, attesa);
            gia_in_coda = prova::pdf_in(coda);
        }
        const Atteso atteso = calcola_senza_finestre(2, 0, QString(), QString());
        Risponditore r;
        r.poi([&](QWidget* w) {
            pulsante(w, "BitBtn2")->click();
            pulsante(w, "BitBtn1")->click();
        });
        r.poi([&](QWidget* w) {
            if (auto* g = dynamic_cast<FinestraGrafico*>(w); g && coda.isEmpty())
                g->imposta_stampante([&] { return pdf(pdf_grafico); });
            pulsante(w, "BitBtn2")->click(); // STAMPA: no dialog
            pulsante(w, "Button1")->click();
        });
        r.poi([&](QWidget* w) {
            pulsante(w, "BitBtn1")->click(); // &Stampa: no dialog
            pulsante(w, "BitBtn2")->click();
        });
        pulsante(m_principale.get(), "BitBtn4")->click();
        VERIFICA_DIALOGHI(r);

        QString grafico = pdf_grafico, rapporto = pdf_rapporto;
        if (!coda.isEmpty()) {
            const QStringList nuovi = prova::attendi_nuovi_pdf(coda, gia_in_coda, 2, 90000);
            QVERIFY2(nuovi.size() == 2,
                     qPrintable(QStringLiteral("the queue wrote %1 of 2 files in %2").arg(nuovi.size()).arg(coda)));
            // Which is which: the report's title is text only the report has.
            QString errore;
            const auto primo = prova::testo_pdf(nuovi[0], errore);
            QVERIFY2(primo, qPrintable(errore));
            const bool primo_rapporto = primo->contains(QStringLiteral("SALTO ENTALPICO"));
            rapporto = nuovi[primo_rapporto ? 0 : 1];
            grafico = nuovi[primo_rapporto ? 1 : 0];
        }
        controlla_rapporto_stampato(rapporto, atteso);
        if (QTest::currentTestFailed()) return;
        controlla_grafico_stampato(grafico);
        if (QTest::currentTestFailed()) return;
        // Read and found right: the queue's files of this test go (a failure above leaves them to look at).
        if (!coda.isEmpty()) {
            QFile::remove(grafico);
            QFile::remove(rapporto);
        }
    }

private:
    // The report printed into the PDF `rapporto`: one page with every line of the report `atteso`, in order.
    static void controlla_rapporto_stampato(const QString& rapporto, const Atteso& atteso) {
        QString errore;
        const auto pagine_rapporto = prova::pagine_pdf(rapporto, errore);
        QVERIFY2(pagine_rapporto, qPrintable(errore));
        QCOMPARE(*pagine_rapporto, 1);
        const auto testo_rapporto = prova::testo_pdf(rapporto, errore);
        QVERIFY2(testo_rapporto, qPrintable(errore));
        QStringList righe_pdf;
        for (const QString& riga : testo_rapporto->split(QLatin1Char('\n')))
            if (!parole(riga).isEmpty()) righe_pdf << parole(riga);
        QStringList righe_attese;
        qsizetype piu_lunga = 0;
        for (const QString& riga : atteso.rapporto) {
            if (!parole(riga).isEmpty()) righe_attese << parole(riga);
            piu_lunga = std::max(piu_lunga, riga.size());
        }
        QVERIFY2(piu_lunga > 50, "the report printed must have lines too long for its screen font on the page");
        // The toolkit's text printing numbers its pages at the foot.
        QCOMPARE(righe_pdf.value(righe_pdf.size() - 1), QStringLiteral("1"));
        righe_pdf.removeLast();
        QCOMPARE(righe_pdf, righe_attese);
    }

    // The chart printed into the PDF `grafico`: one landscape page, its axis titles and point labels, lines half a
    // millimetre wide, drawn in the top-left 90 % of the page.
    static void controlla_grafico_stampato(const QString& grafico) {
        QString errore;
        const auto pagine_grafico = prova::pagine_pdf(grafico, errore);
        QVERIFY2(pagine_grafico, qPrintable(errore));
        QCOMPARE(*pagine_grafico, 1);
        const auto testo_grafico = prova::testo_pdf(grafico, errore);
        QVERIFY2(testo_grafico, qPrintable(errore));
        const QStringList parole_grafico = parole(*testo_grafico).split(QLatin1Char(' '));
        for (const char* p : {"tbs", "X[g/kg]", "I", "U"})
            QVERIFY2(parole_grafico.contains(QLatin1String(p)), qPrintable(*testo_grafico));
        const auto orizzontale = prova::orizzontale_pdf(grafico, errore);
        QVERIFY2(orizzontale, qPrintable(errore));
        QVERIFY2(*orizzontale, "the chart is not printed on a landscape page");
        const QImage pagina300 = prova::pagina_pdf(grafico, 300, errore);
        QVERIFY2(!pagina300.isNull(), qPrintable(errore));
        const double spessore = prova::spessore_prima_linea(pagina300, 300, 0.45); // the frame's left side
        QVERIFY2(spessore > 1.0 && spessore < 2.0, qPrintable(QStringLiteral("%1 pt").arg(spessore)));
        const QImage pagina = prova::pagina_pdf(grafico, 100, errore);
        QVERIFY2(!pagina.isNull(), qPrintable(errore));
        int blu = 0, rosso = 0;
        QRect disegnato;
        for (int y = 0; y < pagina.height(); ++y)
            for (int x = 0; x < pagina.width(); ++x) {
                const QColor c = pagina.pixelColor(x, y);
                if (c.red() > 240 && c.green() > 240 && c.blue() > 240) continue;
                disegnato |= QRect(x, y, 1, 1);
                if (c.blue() > c.red() + 40 && c.blue() > c.green() + 40) ++blu;
                if (c.red() > c.green() + 40 && c.red() > c.blue() + 40) ++rosso;
            }
        QVERIFY2(blu > 100, qPrintable(QString::number(blu)));   // saturation curve
        QVERIFY2(rosso > 0, qPrintable(QString::number(rosso))); // the first point
        // 90 % of the printable page each way, which is turned on the paper in a landscape print: the drawing
        // covers most of the paper and leaves a band free on one side each way.
        const QString estensione = QStringLiteral("%1 x %2 of %3 x %4")
                                       .arg(disegnato.width())
                                       .arg(disegnato.height())
                                       .arg(pagina.width())
                                       .arg(pagina.height());
        QVERIFY2(disegnato.width() > pagina.width() * 0.8 && disegnato.width() < pagina.width() * 0.93,
                 qPrintable(estensione));
        QVERIFY2(disegnato.height() > pagina.height() * 0.8 && disegnato.height() < pagina.height() * 0.93,
                 qPrintable(estensione));
    }

    static bool casella_visibile(QWidget* form, int n) { return !casella(form, n)->isHidden(); }

    static std::unique_ptr<QPrinter> pdf(const QString& file) {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(file);
        return p;
    }

    // With ONDIX_SCHERMATE naming a directory: what the display shows now, saved there as NAME.png.
    static void salva_schermata(const QString& nome) {
        const QString dir = qEnvironmentVariable("ONDIX_SCHERMATE");
        if (dir.isEmpty()) return;
        QTest::qWait(300);
        QScreen* schermo = QGuiApplication::primaryScreen();
        QString file = nome;
        file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("_"));
        if (schermo) schermo->grabWindow(0).save(QDir(dir).filePath(file + QStringLiteral(".png")));
    }
};

QTEST_MAIN(TestCatena)
#include "test_catena.moc"
