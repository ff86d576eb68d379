// The pictures of the README: the menu, the input form, the chart and the report of one summer cycle, and a summer
// plant on the working chart, as the program shows them on a 1024 × 768 screen. Run under Xvfb by
// scripts/screenshots.
// Usage: schermate DIR   (writes DIR/menu.png, DIR/maschera.png, DIR/grafico.png, DIR/rapporto.png,
//                         DIR/diagramma.png)
#include "dialoghi.h"

#include "ui/caratteri.h"
#include "ui/finestra_diagramma.h"
#include "ui/finestra_menu.h"
#include "ui/schermo.h"
#include "ui/tela_diagramma.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLibraryInfo>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

#include <cstdio>

using namespace ondix;

namespace {

QString cartella_uscita;
int errori = 0;

// The window once everything pending is painted (all of them fill the screen), in few colours: the windows use a
// handful, and the files stay small.
void scatta(const char* nome, QWidget* finestra) {
    if (!QTest::qWaitForWindowExposed(finestra)) {
        std::fprintf(stderr, "schermate: %s: the window did not come on the screen\n", nome);
        ++errori;
    }
    QTest::qWait(300);
    const QImage schermo = finestra->grab().toImage();
    const QImage ridotta = schermo.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    const QString file = QDir(cartella_uscita).filePath(QString::fromLatin1(nome) + QStringLiteral(".png"));
    if (schermo.isNull() || !ridotta.save(file, "PNG", 9)) {
        std::fprintf(stderr, "schermate: cannot write %s\n", qPrintable(file));
        ++errori;
    }
}

void premi(QWidget* finestra, const char* nome) {
    auto* b = finestra->findChild<QPushButton*>(QString::fromLatin1(nome));
    if (!b) qFatal("button %s not found", nome);
    b->click();
}

// A summer plant built on the working chart: outdoor and room air mixed, the mixture through a coil whose outlet
// was placed on the chart, then heated; the room line drawn freely; a state above saturation.
void diagramma_estivo(DiagrammaLibero& d) {
    const int e = *d.aggiungi_stato("E", {Grandezza::t, 32.0}, {Grandezza::ur, 50.0});
    const int a = *d.aggiungi_stato("A", {Grandezza::t, 26.0}, {Grandezza::ur, 50.0});
    DefinizioneTrasformazione k = trasformazione_tra(TipoTrasformazione::miscela, e, a);
    k.frazione = 0.3;
    const int m = *d.aggiungi_trasformazione(k);
    k = trasformazione_tra(TipoTrasformazione::batteria, m);
    k.portata = 5000.0;
    const int c = *d.aggiungi_trasformazione(k);
    (void)d.sposta(c, 13.0, 8.4);
    k = trasformazione_tra(TipoTrasformazione::sensibile, c);
    k.t_uscita = 16.0;
    const int s = *d.aggiungi_trasformazione(k);
    (void)d.aggiungi_trasformazione(trasformazione_tra(TipoTrasformazione::linea, s, a));
    (void)d.aggiungi_punto(20.0, 18.0);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: schermate DIR\n", stderr);
        return 2;
    }
    cartella_uscita = QString::fromLocal8Bit(argv[1]);
    installa_sostituzioni_caratteri();
    QTranslator traduzione;
    if (traduzione.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduzione);

    FinestraMenu principale(QDir::tempPath() + QLatin1Char('/'), dimensioni_schermo());
    principale.show();
    if (!QTest::qWaitForWindowExposed(&principale)) return 1;
    scatta("menu", &principale);

    prova::Risponditore r(60000);
    r.poi([](QWidget* form) {
        scatta("maschera", form);
        premi(form, "BitBtn2"); // CALCOLA: returns once the report window has closed
        premi(form, "BitBtn1"); // &USCITA
    });
    r.poi([](QWidget* grafico) {
        scatta("grafico", grafico);
        premi(grafico, "Button1"); // continua
    });
    r.poi([](QWidget* rapporto) {
        scatta("rapporto", rapporto);
        premi(rapporto, "BitBtn2"); // &Uscita
    });
    premi(&principale, "BitBtn7"); // ciclo estivo
    if (!r.inattesi().isEmpty() || r.restanti() != 0) {
        std::fprintf(stderr, "schermate: the windows did not come as expected: %s\n",
                     qPrintable(r.inattesi().join(QStringLiteral(" | "))));
        return 1;
    }

    FinestraDiagramma diagramma({}, dimensioni_schermo());
    diagramma_estivo(diagramma.diagramma());
    diagramma.azione("strato_ur")->setChecked(true);
    diagramma.azione("strato_h")->setChecked(true);
    diagramma.show();
    diagramma.tela()->seleziona({diagramma.diagramma().id_stato("M")});
    diagramma.aggiorna();
    scatta("diagramma", &diagramma);
    return errori == 0 ? 0 : 1;
}
