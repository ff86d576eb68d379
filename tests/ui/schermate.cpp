// The pictures of the README: the menu, the input form, the chart and the report of one summer cycle, as the
// program shows them on a 1024 × 768 screen. Run under Xvfb by scripts/screenshots.
// Usage: schermate DIR   (writes DIR/menu.png, DIR/maschera.png, DIR/grafico.png, DIR/rapporto.png)
#include "dialoghi.h"

#include "ui/caratteri.h"
#include "ui/finestra_menu.h"
#include "ui/schermo.h"

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
    return errori == 0 ? 0 : 1;
}
