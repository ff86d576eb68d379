// The chart window on its own: layout, the backing picture and repainting, activation, closing, and printing on
// a PDF printer, on no printer and on a printer that does not exist.
#include "dialoghi.h"
#include "pdf_prova.h"

#include "chart/recording_canvas.h"
#include "ui/caratteri.h"
#include "ui/finestra_grafico.h"
#include "ui/impostazioni.h"
#include "ui/schermo.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <stdexcept>

using namespace ondix;
using prova::Risponditore;

namespace {

QPushButton* pulsante(QWidget* w, const char* nome) {
    auto* b = w->findChild<QPushButton*>(QString::fromLatin1(nome));
    if (!b) qFatal("button %s not found", nome);
    return b;
}

// Point properties at 20 °C, 50 %: the point chart with its two green lines from P.
Contesto punto() {
    Contesto ctx;
    ctx.processo = 4;
    ctx.codice_grafico = 0;
    ctx.punti.imposta(1, 20.0, 7.25, "P");
    ctx.punti.imposta(2, 9.25, 7.25, "R");
    ctx.punti.imposta(3, 13.73, 9.79, "BU");
    return ctx;
}

// Sensible heating from 20 to 45 °C on the standard chart.
Contesto riscaldamento() {
    Contesto ctx;
    ctx.processo = 2;
    ctx.codice_grafico = 2;
    ctx.punti.imposta(1, 20.0, 7.25, "I");
    ctx.punti.imposta(2, 45.0, 7.25, "U");
    return ctx;
}

// The chart exactly as a new chart window draws it on a screen of 1024 × 768, on a picture like the window's.
QImage riferimento(const Contesto& ctx, VistaGrafico vista) {
    QPixmap p(1024, 768);
    p.fill(Qt::white);
    disegna_schermata(p, ctx, vista);
    return p.toImage();
}

int pixel_di(const QImage& img, QRgb colore, const QRect& zona) {
    int n = 0;
    for (int y = zona.top(); y <= zona.bottom(); ++y)
        for (int x = zona.left(); x <= zona.right(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (colore & 0xFFFFFF)) ++n;
    return n;
}

// A mouse move over the window, delivered at once (a move of the real pointer would arrive when the display
// server sends it).
void muovi(QWidget& w, QPoint pos) {
    QMouseEvent e(QEvent::MouseMove, QPointF(pos), w.mapToGlobal(QPointF(pos)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &e);
}

// Keeps the text of a message box (or what came instead) in `testo`, and closes it with its first button.
Risponditore::Azione leggi_messaggio(QString& testo) {
    return [&testo](QWidget* w) {
        auto* m = qobject_cast<QMessageBox*>(w);
        testo = m ? m->text() : QStringLiteral("<not a message box: %1>").arg(prova::descrivi(w));
        prova::premi_ok(w);
    };
}

std::unique_ptr<QPrinter> stampante_pdf(const QString& file) {
    auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
    p->setOutputFormat(QPrinter::PdfFormat);
    p->setOutputFileName(file);
    return p;
}

} // namespace

class TestFinestraGrafico : public QObject {
    Q_OBJECT

    QTemporaryDir m_cartella;

private slots:
    void initTestCase() {
        installa_sostituzioni_caratteri();
        installa_riattivazione_finestre();
        QVERIFY(m_cartella.isValid());
        Impostazioni::usa_file(impostazioni());
    }

    // Every test starts from empty settings: the plain chart.
    void init() {
        QSettings s(impostazioni(), QSettings::IniFormat);
        s.clear();
    }

    void layout_data() {
        QTest::addColumn<int>("sw");
        QTest::addColumn<int>("sh");
        QTest::addColumn<int>("riga");
        QTest::newRow("1024x768") << 1024 << 768 << 715;
        QTest::newRow("800x600") << 800 << 600 << 547;
        QTest::newRow("1920x1080") << 1920 << 1080 << 1027;
        QTest::newRow("640x480") << 640 << 480 << 427;
    }

    void layout() {
        QFETCH(int, sw);
        QFETCH(int, sh);
        QFETCH(int, riga);
        const LayoutGrafico l = layout_grafico({static_cast<std::uint16_t>(sw), static_cast<std::uint16_t>(sh)});
        QCOMPARE(l.finestra, (Rettangolo{0, 0, sw, sh}));
        QCOMPARE(l.continua, (Rettangolo{208, riga, 145, 25}));
        QCOMPARE(l.stampa, (Rettangolo{392, riga, 129, 25}));
    }

    // The 1024 × 768 example: buttons at top 715, plotting area 1014 × 688, the window's own size recorded.
    void finestraA1024Per768() {
        Contesto ctx = riscaldamento();
        FinestraGrafico f({1024, 768});
        f.imposta_procedura(procedura_vista(VistaGrafico::standard, ctx));
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QVERIFY(f.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(f.isModal());
        QCOMPARE(f.windowTitle(), QStringLiteral("  "));
        QCOMPARE(f.geometry(), QRect(0, 0, 1024, 768));
        // On a screen of that size, under a window manager or not, the whole window is the screen.
        if (f.screen()->geometry().size() == QSize(1024, 768)) {
            QString difetto;
            QVERIFY2(QTest::qWaitFor([&] { return (difetto = prova::difetto_schermo_coperto(&f)).isEmpty(); }),
                     qPrintable(difetto));
        }
        QCOMPARE(f.palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(f.font().pixelSize(), 11);
        QVERIFY(f.font().bold() && f.font().italic());
        QCOMPARE(int(f.schermo_registrato().larghezza), 1024);
        QCOMPARE(int(f.schermo_registrato().altezza), 768);
        QCOMPARE(int(f.plotter().plotter().w()), 1014);
        QCOMPARE(int(f.plotter().plotter().h()), 688);
        QCOMPARE(f.plotter().plotter().dispositivo(), Dispositivo::schermo);

        QPushButton* continua = pulsante(&f, "Button1");
        QPushButton* stampa = pulsante(&f, "BitBtn2");
        QCOMPARE(continua->text(), QStringLiteral("continua"));
        QCOMPARE(stampa->text(), QStringLiteral("STAMPA"));
        QCOMPARE(continua->geometry(), QRect(208, 715, 145, 25));
        QCOMPARE(stampa->geometry(), QRect(392, 715, 129, 25));
        QCOMPARE(continua->font().family(), QStringLiteral("Times New Roman"));
        QCOMPARE(continua->font().pixelSize(), 16);
        QVERIFY(!continua->font().bold() && !continua->font().italic());
        QCOMPARE(continua->palette().color(QPalette::ButtonText), QColor(0, 0, 255));
        QCOMPARE(stampa->font().family(), QStringLiteral("Times New Roman"));
        QCOMPARE(stampa->font().pixelSize(), 16);
        QVERIFY(stampa->font().bold() && stampa->font().italic());
        QCOMPARE(stampa->palette().color(QPalette::ButtonText), QColor(Qt::black));
        QVERIFY(!stampa->icon().isNull());
        f.close();
    }

    // The window is laid out from the screen at every activation, whatever was done to it meanwhile.
    void attivazioneRimetteAPostoLaFinestra() {
        Contesto ctx = riscaldamento();
        FinestraGrafico f({800, 600});
        f.imposta_procedura(procedura_vista(VistaGrafico::standard, ctx));
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        // Sized by the window system (a full-screen window on Wayland learns its size this way): the button row
        // and the chart follow the new size.
        f.setGeometry(30, 40, 500, 400);
        QVERIFY(QTest::qWaitFor([&] { return f.size() == QSize(500, 400); }));
        QCOMPARE(pulsante(&f, "BitBtn2")->geometry(), QRect(392, 347, 129, 25));
        QCOMPARE(f.immagine().size(), QSize(500, 400));
        QCOMPARE(int(f.plotter().plotter().w()), 490);
        pulsante(&f, "Button1")->move(0, 0);
        // Another window had the focus, and gives it back.
        QEvent disattivazione(QEvent::WindowDeactivate), attivazione(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&f, &disattivazione);
        QCoreApplication::sendEvent(&f, &attivazione);
        QCOMPARE(f.geometry(), QRect(0, 0, 800, 600));
        QCOMPARE(pulsante(&f, "Button1")->geometry(), QRect(208, 547, 145, 25));
        QCOMPARE(pulsante(&f, "BitBtn2")->geometry(), QRect(392, 547, 129, 25));
        QCOMPARE(int(f.plotter().plotter().w()), 790);
        QCOMPARE(int(f.plotter().plotter().h()), 520);
        QCOMPARE(f.immagine().size(), QSize(800, 600));
        f.close();
    }

    // The window shows the chart exactly as the chart library draws it, and keeps showing it when repainted.
    void immagineDelGrafico() {
        Contesto ctx = punto();
        FinestraGrafico f({1024, 768});
        f.imposta_procedura(procedura_vista(VistaGrafico::punto, ctx));
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QImage attesa = riferimento(ctx, VistaGrafico::punto);
        QCOMPARE(f.immagine().toImage().convertToFormat(attesa.format()), attesa);
        // Something was really drawn: the blue frame, the red first mark, the green process lines.
        const QRect area(0, 0, 1014, 688);
        QVERIFY(pixel_di(attesa, qRgb(0, 0, 255), area) > 1000);
        QVERIFY(pixel_di(attesa, qRgb(255, 0, 0), area) > 10);
        QVERIFY(pixel_di(attesa, qRgb(0, 128, 0), area) > 100);

        // What the window paints: the picture, with the two buttons on top below the plotting area.
        const auto dipinta = [&] { return f.grab().toImage().convertToFormat(attesa.format()).copy(area); };
        QCOMPARE(dipinta(), attesa.copy(area));
        f.update();
        QTest::qWait(20);
        QCOMPARE(dipinta(), attesa.copy(area));
        f.repaint();
        QCOMPARE(dipinta(), attesa.copy(area));
        // Shown again, the window is active again and draws the chart once more (the frame's labels take the
        // colour the last pen left on the canvas): what it paints is still the whole chart.
        const int disegni = f.disegni();
        f.hide();
        QTest::qWait(20);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QVERIFY(f.disegni() > disegni);
        QCOMPARE(dipinta(), f.immagine().toImage().convertToFormat(attesa.format()).copy(area));
        QVERIFY(pixel_di(dipinta(), qRgb(0, 0, 255), area) > 1000);
        QVERIFY(pixel_di(dipinta(), qRgb(0, 128, 0), area) > 100);
        f.update();
        QTest::qWait(20);
        QCOMPARE(dipinta(), f.immagine().toImage().convertToFormat(attesa.format()).copy(area));
        f.close();
    }

    // The window draws when shown and when it gets the focus back from another window, each time from the table
    // as it is then; an activation with no loss of focus before it (the show's own) draws nothing more.
    void ogniAttivazioneRidisegna() {
        Contesto ctx = riscaldamento();
        FinestraGrafico f({1024, 768});
        f.imposta_procedura(procedura_vista(VistaGrafico::standard, ctx));
        QCOMPARE(f.disegni(), 0);
        QEvent disattivazione(QEvent::WindowDeactivate), attivazione(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&f, &attivazione);
        QCOMPARE(f.disegni(), 0);
        QCoreApplication::sendEvent(&f, &disattivazione);
        QCoreApplication::sendEvent(&f, &attivazione);
        QCOMPARE(f.disegni(), 1);
        const QImage prima = f.immagine().toImage();
        QCOMPARE(prima, riferimento(ctx, VistaGrafico::standard).convertToFormat(prima.format()));
        QCoreApplication::sendEvent(&f, &attivazione);
        QCOMPARE(f.disegni(), 1);

        ctx.punti.imposta(2, 40.0, 20.0, "U");
        QCoreApplication::sendEvent(&f, &disattivazione);
        QCoreApplication::sendEvent(&f, &attivazione);
        QCOMPARE(f.disegni(), 2);
        QVERIFY(f.immagine().toImage() != prima);
        QCOMPARE(f.immagine().toImage(), riferimento(ctx, VistaGrafico::standard).convertToFormat(prima.format()));

        const int disegni = f.disegni();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QVERIFY(f.disegni() > disegni);
    }

    void senzaProceduraNienteDisegno() {
        FinestraGrafico f({1024, 768});
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QImage bianca(1024, 768, QImage::Format_RGB32);
        bianca.fill(Qt::white);
        QCOMPARE(f.immagine().toImage().convertToFormat(QImage::Format_RGB32), bianca);
        f.close();
    }

    // "continua" and the system's close command both end the modal chart request, and the window is gone.
    void continuaEChiusuraDistruggono_data() {
        QTest::addColumn<bool>("con_continua");
        QTest::newRow("continua") << true;
        QTest::newRow("close command") << false;
    }

    void continuaEChiusuraDistruggono() {
        QFETCH(bool, con_continua);
        const Contesto ctx = punto();
        Risponditore r;
        QPointer<QWidget> finestra;
        QString classe;
        bool disegnata = false;
        r.poi([&](QWidget* w) {
            finestra = w;
            classe = QString::fromLatin1(w->metaObject()->className());
            auto* g = dynamic_cast<FinestraGrafico*>(w);
            disegnata = g && g->disegni() >= 1 && g->geometry() == QRect(0, 0, 1024, 768);
            if (con_continua)
                pulsante(w, "Button1")->click();
            else
                w->close();
        });
        apri_finestra_grafico(nullptr, ctx, VistaGrafico::punto, {1024, 768});
        VERIFICA_DIALOGHI(r);
        QVERIFY2(disegnata, qPrintable(classe));
        QVERIFY(finestra.isNull());
    }

    // "STAMPA" on a PDF printer: one landscape page, the chart in the top-left 90 % with lines half a millimetre
    // wide, the screen picture and the screen output untouched.
    void stampaSuPdf() {
        const Contesto ctx = riscaldamento();
        FinestraGrafico f({1024, 768});
        f.imposta_procedura(procedura_vista(VistaGrafico::standard, ctx));
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QImage schermo = f.immagine().toImage();
        const QString pdf = m_cartella.filePath(QStringLiteral("grafico.pdf"));
        int stampanti = 0;
        f.imposta_stampante([&] {
            ++stampanti;
            return stampante_pdf(pdf);
        });
        Risponditore r; // no dialog at all
        pulsante(&f, "BitBtn2")->click();
        VERIFICA_DIALOGHI(r);
        QCOMPARE(stampanti, 1);
        QCOMPARE(f.plotter().plotter().dispositivo(), Dispositivo::schermo);
        QCOMPARE(spessore_penna_stampa_mm(1200), 24);
        QCOMPARE(spessore_penna_stampa_mm(300), 6);
        QCOMPARE(spessore_penna_stampa_mm(20), 1);
        QCOMPARE(f.plotter().canvas_stampante().stato().spessore_penna,
                 spessore_penna_stampa_mm(stampante_pdf(pdf)->resolution()));
        QCOMPARE(f.immagine().toImage(), schermo);
        const int disegni = f.disegni();
        f.close();
        QCOMPARE(disegni, 1);

        QString errore;
        const auto pagine = prova::pagine_pdf(pdf, errore);
        QVERIFY2(pagine, qPrintable(errore));
        QCOMPARE(*pagine, 1);
        const auto testo = prova::testo_pdf(pdf, errore);
        QVERIFY2(testo, qPrintable(errore));
        for (const char* atteso : {"tbs", "X[g/kg]", "I", "U"})
            QVERIFY2(testo->contains(QLatin1String(atteso)), qPrintable(*testo));
        verifica_pagina(pdf);
        const auto orizzontale = prova::orizzontale_pdf(pdf, errore);
        QVERIFY2(orizzontale, qPrintable(errore));
        QVERIFY(*orizzontale);
        // The frame's left side: about half a millimetre, 1.42 points.
        const QImage pagina = prova::pagina_pdf(pdf, 300, errore);
        QVERIFY2(!pagina.isNull(), qPrintable(errore));
        const double punti = prova::spessore_prima_linea(pagina, 300, 0.45);
        QVERIFY2(punti > 1.0 && punti < 2.0, qPrintable(QString::number(punti)));
    }

    // At a device pixel ratio of 2 the picture has the screen's own pixels, and the chart is drawn on it at that
    // resolution, not scaled up. Run by ctest with QT_SCALE_FACTOR=2.
    void altaDensita() {
        const Contesto ctx = punto();
        FinestraGrafico f(dimensioni_schermo());
        f.imposta_procedura(procedura_vista(VistaGrafico::punto, ctx));
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const qreal rapporto = f.devicePixelRatioF();
        if (!qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) QSKIP("run at scale 2 by ctest");
        QCOMPARE(rapporto, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
        QCOMPARE(f.immagine().devicePixelRatio(), rapporto);
        QCOMPARE(f.immagine().size(), f.size() * rapporto);
        QPixmap atteso(f.size() * rapporto);
        atteso.setDevicePixelRatio(rapporto);
        atteso.fill(Qt::white);
        {
            QPainter painter(&atteso);
            // Smoothed, with twice the pixels.
            painter.setRenderHint(QPainter::Antialiasing);
            PlotterQt plotter;
            plotter.disegna_schermo(painter, static_cast<std::uint16_t>(f.width()),
                                    static_cast<std::uint16_t>(f.height()), procedura_vista(VistaGrafico::punto, ctx));
        }
        QCOMPARE(f.immagine().toImage(), atteso.toImage());
        f.close();
        // The hint and the six letters of a summer cycle, with a site pressure, whole inside the window: each on its
        // line where it fits, else wrapped under the buttons.
        Contesto estivo;
        estivo.processo = 6;
        estivo.aria.pressione = 88135;
        for (int n = 1; n <= 6; ++n)
            estivo.punti.imposta(n, 20.0 + n, 8.0 + n, std::string(1, "AEBMCP"[n - 1]));
        FinestraGrafico g(dimensioni_schermo());
        g.imposta_grafico(estivo, VistaGrafico::standard);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        const DisposizioneSuggerimento d = g.disposizione_suggerimento();
        const QFontMetrics fm(g.carattere_suggerimento(d.pixel));
        QVERIFY(d.pixel >= 7);
        for (const auto& [riquadro, testo] : {std::pair{d.suggerimento, g.suggerimento()}, {d.legenda, g.legenda()}}) {
            QVERIFY2(g.rect().contains(riquadro), qPrintable(testo));
            const QRect occupato = fm.boundingRect(QRect(0, 0, riquadro.width(), 10000),
                                                   d.a_capo ? Qt::TextWordWrap : Qt::TextSingleLine, testo);
            QVERIFY2(occupato.width() <= riquadro.width() && occupato.height() <= riquadro.height() + 2,
                     qPrintable(testo));
        }
        g.close();
    }

    // A print that cannot be made is reported; the window and its plotter stay as they were. (A printer named
    // after a queue that does not exist is no such case: the toolkit sends the job to the default queue.)
    void stampaNonRiuscita() {
        const Contesto ctx = riscaldamento();
        FinestraGrafico f({1024, 768});
        f.imposta_procedura(procedura_vista(VistaGrafico::standard, ctx));
        const QString pdf = m_cartella.filePath(QStringLiteral("cartella-che-non-esiste/grafico.pdf"));
        f.imposta_stampante([&] { return stampante_pdf(pdf); });
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QImage schermo = f.immagine().toImage();
        Risponditore r;
        QString testo;
        r.poi(leggi_messaggio(testo));
        pulsante(&f, "BitBtn2")->click();
        VERIFICA_DIALOGHI(r);
        QVERIFY2(testo.contains(QStringLiteral("Stampa non riuscita")), qPrintable(testo));
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(f.plotter().plotter().dispositivo(), Dispositivo::schermo);
        QCOMPARE(f.immagine().toImage(), schermo);
        f.close();
    }

    void senzaStampante() {
        const Contesto ctx = riscaldamento();
        FinestraGrafico f({1024, 768});
        f.imposta_procedura(procedura_vista(VistaGrafico::standard, ctx));
        f.imposta_stampante([] { return std::unique_ptr<QPrinter>(); });
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        Risponditore r;
        QString testo;
        r.poi(leggi_messaggio(testo));
        pulsante(&f, "BitBtn2")->click();
        VERIFICA_DIALOGHI(r);
        QCOMPARE(testo, QStringLiteral("Nessuna stampante predefinita installata: il grafico non è stato stampato."));
        QCOMPARE(f.plotter().plotter().dispositivo(), Dispositivo::schermo);
        // The keyboard is the chart's again (its keys are shortcuts of the active window), with or without a window
        // manager.
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&f));
        f.close();
    }

    // With no print service reachable there is no default printer: "STAMPA" says so and prints nothing. Run by
    // ctest with the print service pointed nowhere.
    void nessunaStampanteNelSistema() {
        if (!QPrinterInfo::defaultPrinter().isNull()) {
            if (qEnvironmentVariableIsSet("ONDIX_SENZA_STAMPANTE"))
                QFAIL("a default printer is still visible with the print service pointed nowhere");
            QSKIP("a default printer is installed here (ctest runs this again without one)");
        }
        const Contesto ctx = riscaldamento();
        FinestraGrafico f({1024, 768});
        f.imposta_procedura(procedura_vista(VistaGrafico::standard, ctx));
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        Risponditore r;
        QString testo;
        r.poi(leggi_messaggio(testo));
        pulsante(&f, "BitBtn2")->click();
        VERIFICA_DIALOGHI(r);
        QCOMPARE(testo, QStringLiteral("Nessuna stampante predefinita installata: il grafico non è stato stampato."));
        f.close();
    }

    // A drawing that fails halfway through a print still leaves the plotter on the screen.
    void stampaInterrottaTornaAlloSchermo() {
        FinestraGrafico f({1024, 768});
        f.imposta_procedura([](Plotter& p) {
            p.apri_plotter();
            p.cornice();
            throw std::runtime_error("drawing failed");
        });
        const QString pdf = m_cartella.filePath(QStringLiteral("interrotta.pdf"));
        std::unique_ptr<QPrinter> stampante = stampante_pdf(pdf);
        bool lanciata = false;
        try {
            f.stampa_su(*stampante);
        } catch (const std::runtime_error&) {
            lanciata = true;
        }
        QVERIFY(lanciata);
        QCOMPARE(f.plotter().plotter().dispositivo(), Dispositivo::schermo);
    }

    // The printer gets the same chart as the screen, recorded primitive by primitive, only scaled to its page.
    void stampanteDisegnaLoStessoGrafico() {
        const Contesto ctx = punto();
        RecordingCanvas schermo, carta;
        Plotter p;
        p.imposta_canvas_schermo(&schermo);
        p.imposta_canvas_stampante(&carta, 4000, 3000);
        p.imposta_dimensione_schermo(1024, 768);
        ridisegna(p, procedura_vista(VistaGrafico::punto, ctx));
        p.imposta_dispositivo(Dispositivo::stampante);
        ridisegna(p, procedura_vista(VistaGrafico::punto, ctx));
        QCOMPARE(int(p.w()), 3600);
        QCOMPARE(int(p.h()), 2700);
        const auto testi = [](const RecordingCanvas& c) {
            QStringList t;
            for (const Primitiva& x : c.solo(Primitiva::Tipo::testo))
                t << QString::fromStdString(x.testo);
            return t;
        };
        QCOMPARE(testi(carta), testi(schermo));
        QCOMPARE(carta.solo(Primitiva::Tipo::ellisse).size(), schermo.solo(Primitiva::Tipo::ellisse).size());
    }

    // The layers switch with their keys and from the context menu (with check marks), and the choice outlives the
    // window; with every layer off again the picture is the plain chart.
    // The point chart ends with its green pen: a drawing after a layer key still has black axis texts.
    void stratiDaiTastiEDalMenu() {
        const Contesto ctx = punto();
        const QImage semplice = riferimento(ctx, VistaGrafico::punto);
        const auto immagine = [&](const FinestraGrafico& f) {
            return f.immagine().toImage().convertToFormat(semplice.format());
        };
        {
            FinestraGrafico f({1024, 768});
            f.imposta_grafico(ctx, VistaGrafico::punto);
            f.show();
            // The keys are the window's shortcuts: they reach it once it is the active window.
            f.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&f));
            QCOMPARE(f.strati(), OpzioniGrafico{});
            QCOMPARE(immagine(f), semplice);
            QTest::keyClick(&f, Qt::Key_U);
            QVERIFY(f.strati().umidita_relativa && f.azione("strato_ur")->isChecked());
            QVERIFY(immagine(f) != semplice);
            QTest::keyClick(&f, Qt::Key_M);
            QVERIFY(f.strati().mollier);
            QTest::keyClick(&f, Qt::Key_C);
            QCOMPARE(f.strati().comfort, std::optional<ZonaComfort>(ZonaComfort{}));

            QStringList voci, spuntate;
            QTimer::singleShot(50, &f, [&] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (!menu) return;
                for (QAction* a : menu->actions()) {
                    if (a->isSeparator()) continue;
                    voci << a->text();
                    if (a->isChecked()) spuntate << a->text();
                }
                QAction* entalpia = f.azione("strato_h");
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entalpia).center());
            });
            QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(500, 300), f.mapToGlobal(QPoint(500, 300)));
            QApplication::sendEvent(&f, &menu);
            QCOMPARE(voci.size(), 9);
            QCOMPARE(voci.last(), QStringLiteral("Salva immagine..."));
            QCOMPARE(spuntate, (QStringList{QStringLiteral("Curve di umidita relativa"),
                                            QStringLiteral("Diagramma di Mollier (h-x)"),
                                            QStringLiteral("Zona di comfort (PMV)")}));
            QVERIFY(f.strati().entalpia);
            f.close();
        }
        OpzioniGrafico atteso;
        atteso.umidita_relativa = atteso.entalpia = atteso.mollier = true;
        atteso.comfort = ZonaComfort{};
        FinestraGrafico g({1024, 768});
        g.imposta_grafico(ctx, VistaGrafico::punto);
        QCOMPARE(g.strati(), atteso);
        QVERIFY(g.azione("strato_h")->isChecked() && !g.azione("strato_tbu")->isChecked());
        g.show();
        // The keys are the window's shortcuts: they reach it once it is the active window.
        g.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&g));
        for (Qt::Key k : {Qt::Key_U, Qt::Key_H, Qt::Key_M, Qt::Key_C})
            QTest::keyClick(&g, k);
        QCOMPARE(g.strati(), OpzioniGrafico{});
        QCOMPARE(immagine(g), semplice);
        g.close();
        QCOMPARE(Impostazioni().strati(), OpzioniGrafico{});
    }

    // The readout is off at first; on, it shows the state under the cursor in a box painted over the picture,
    // which is not drawn again; outside the plotting area it hides; a click on a mark shows that point until the
    // next click. A picture saved meanwhile has none of it.
    void letturaSottoIlMouse() {
        const Contesto ctx = riscaldamento();
        FinestraGrafico f({1024, 768});
        f.imposta_grafico(ctx, VistaGrafico::standard);
        f.show();
        // The keys are the window's shortcuts: they reach it once it is the active window.
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        const MappaGrafico m = MappaGrafico::di(f.plotter().plotter());
        double px = 0.0, py = 0.0;
        m.pixel(30.0, 15.0, px, py);
        const QPoint cursore(tronca_pixel(px), tronca_pixel(py));
        muovi(f, cursore);
        QVERIFY(f.lettura().righe().isEmpty());

        QTest::keyClick(&f, Qt::Key_L);
        QVERIFY(Impostazioni().lettura());
        const int disegni = f.disegni();
        muovi(f, cursore);
        const PuntoMondo w = m.mondo(cursore.x(), cursore.y());
        QVERIFY(std::abs(w.t - 30.0) < 0.1 && std::abs(w.x - 15.0) < 0.1);
        QStringList attese;
        for (const std::string& r : righe_stato(w.t, w.x))
            attese << QString::fromStdString(r);
        QCOMPARE(f.lettura().righe(), attese);
        QCOMPARE(attese.size(), 7);
        const QRect box = f.lettura().riquadro();
        QVERIFY(!box.isEmpty() && !box.contains(cursore));
        QCOMPARE(f.disegni(), disegni);
        // Painted over the picture there, and only there.
        QImage dipinta = f.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImage quadro = f.immagine().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(dipinta.copy(box) != quadro.copy(box));
        for (QImage* i : {&dipinta, &quadro}) {
            QPainter p(i);
            p.fillRect(box, Qt::black);
        }
        QCOMPARE(dipinta.copy(0, 0, 1014, 688), quadro.copy(0, 0, 1014, 688));

        muovi(f, QPoint(20, 740));
        QVERIFY(f.lettura().righe().isEmpty());
        m.pixel(45.0, 7.25, px, py);
        QTest::mouseClick(&f, Qt::LeftButton, {}, QPoint(tronca_pixel(px) + 2, tronca_pixel(py) - 2));
        QCOMPARE(f.lettura().punto(), 2);
        muovi(f, cursore);
        QCOMPARE(f.lettura().righe().first(), QStringLiteral("punto U"));
        QCOMPARE(f.lettura().righe().at(1), QStringLiteral("t = 45,00 °C"));

        const QString png = m_cartella.filePath(QStringLiteral("con_lettura.png"));
        QVERIFY(f.salva_immagine_su(png));
        QCOMPARE(QImage(png).convertToFormat(QImage::Format_RGB32),
                 f.immagine().toImage().convertToFormat(QImage::Format_RGB32));
        QTest::mouseClick(&f, Qt::LeftButton, {}, cursore);
        QCOMPARE(f.lettura().punto(), 0);
        QCOMPARE(f.lettura().righe(), attese);
        QCOMPARE(f.disegni(), disegni);
        f.close();
    }

    // Ctrl+S: a file dialog for PNG, SVG or PDF; the picture at the window's size, with the title line and the
    // legend when a layer is on; the folder remembered for the next time. Printing carries the title line too.
    void salvaImmagineEStampaConIStrati() {
        OpzioniGrafico o;
        o.umidita_relativa = true;
        Impostazioni().ricorda_strati(o);
        const Contesto ctx = riscaldamento();
        FinestraGrafico f({800, 600});
        f.imposta_grafico(ctx, VistaGrafico::standard);
        // Not modal here, so that it never stands on top of the modal dialogs the test answers.
        f.setWindowModality(Qt::NonModal);
        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        const QString cartella = m_cartella.filePath(QStringLiteral("immagini"));
        QVERIFY(QDir().mkpath(cartella));
        Risponditore r;
        QStringList filtri;
        QString iniziale;
        const auto rispondi = [&](const QString& nome) {
            return [&, nome](QWidget* w) {
                auto* d = qobject_cast<QFileDialog*>(w);
                if (!d) return prova::chiudi(w);
                filtri = d->nameFilters();
                iniziale = d->directory().absolutePath();
                if (nome.isEmpty()) return prova::chiudi(w);
                // Typed names are not used: under a window manager the file view's selection, updated once the
                // dialog is activated, would replace the typed text.
                for (const QString& filtro : d->nameFilters())
                    if (nome.endsWith(filtro.mid(filtro.indexOf(QLatin1String("*.")) + 1).chopped(1)))
                        d->selectNameFilter(filtro);
                d->selectFile(nome);
                QMetaObject::invokeMethod(d, "accept");
            };
        };
        r.poi(rispondi(cartella + QStringLiteral("/grafico")));
        QTest::keyClick(&f, Qt::Key_S, Qt::ControlModifier);
        r.poi(rispondi(QStringLiteral("grafico.svg")));
        f.azione("salva_immagine")->trigger();
        r.poi(rispondi(QString()));
        f.salva_immagine();
        VERIFICA_DIALOGHI(r);
        // A calculation's chart offers its whole report as well.
        QCOMPARE(filtri,
                 (QStringList{QStringLiteral("PNG (*.png)"), QStringLiteral("SVG (*.svg)"),
                              QStringLiteral("PDF (*.pdf)"), QStringLiteral("Relazione di calcolo PDF (*.pdf)")}));
        QCOMPARE(iniziale, QDir(cartella).absolutePath());
        QCOMPARE(QImage(cartella + QStringLiteral("/grafico.png")).size(), QSize(800, 600));
        QFile svg(cartella + QStringLiteral("/grafico.svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QString testo = QString::fromUtf8(svg.readAll());
        QVERIFY(testo.contains(QLatin1String("viewBox=\"0 0 800 600\"")));
        QVERIFY(testo.contains(QLatin1String("RISCALDAMENTO-RAFFREDDAMENTO SENSIBILE - 101335 Pa")));
        QVERIFY(testo.contains(QLatin1String("umidita relativa [%]")));

        const QString pdf = m_cartella.filePath(QStringLiteral("strati.pdf"));
        QVERIFY(f.stampa_su(*stampante_pdf(pdf)));
        QString errore;
        const auto stampato = prova::testo_pdf(pdf, errore);
        QVERIFY2(stampato, qPrintable(errore));
        QVERIFY2(stampato->contains(QLatin1String("101335 Pa")), qPrintable(*stampato));
        // The window itself shows no title line.
        QCOMPARE(f.plotter().plotter().opzioni().titolo, std::string());
        f.close();
    }

private:
    QString impostazioni() const { return m_cartella.filePath(QStringLiteral("impostazioni.ini")); }

    // The page: something drawn in the top-left 90 %, nothing beyond it, the blue curve and frame among it.
    void verifica_pagina(const QString& pdf) {
        QString errore;
        const QImage pagina = prova::pagina_pdf(pdf, 100, errore);
        QVERIFY2(!pagina.isNull(), qPrintable(errore));
        const int w = pagina.width(), h = pagina.height();
        int blu = 0, fuori = 0, dentro = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const QColor c = pagina.pixelColor(x, y);
                if (c.red() > 240 && c.green() > 240 && c.blue() > 240) continue;
                // Thin lines come out light after smoothing: bluish is enough.
                if (c.blue() > c.red() + 40 && c.blue() > c.green() + 40) ++blu;
                // The page's printable area starts inside the paper's margins; 0.9 of it ends before 0.93 of
                // the paper.
                if (x > w * 0.93 || y > h * 0.93)
                    ++fuori;
                else
                    ++dentro;
            }
        QVERIFY2(blu > 200, qPrintable(QString::number(blu)));
        QVERIFY2(dentro > 2000, qPrintable(QString::number(dentro)));
        QCOMPARE(fuori, 0);
    }
};

QTEST_MAIN(TestFinestraGrafico)
#include "test_finestra_grafico.moc"
