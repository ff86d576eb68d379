// The yardsticks for the desktop program's start-up, timed the same way (ONDIX_MISURA_AVVIO, see src/app/avvio.h):
// an empty Qt window of the screen's size; with ONDIX_VUOTA_TESTO set the same window holding one line of text,
// which adds what any window with text pays once (the font database and the first font); with
// ONDIX_VUOTA_PULSANTI set the same window holding thirteen plain buttons with the menu's captions, font and places.
#include "avvio.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <cstdlib>

namespace {

const char* const testi[] = {" PROPRIETA DEL PUNTO",
                             "MISCELAZIONE",
                             "RISCALDAMENTO RAFFREDDAMENTO SENSIBILE",
                             "UMIDIFICAZIONE",
                             "UMIDIFICAZIONE CON VAPORE",
                             "RAFFREDDAMENTO CON CONDENSAZIONE",
                             "CICLO ESTIVO",
                             "CICLO INVERNALE",
                             "CICLO INVERNALE CON UMIDIFICAZIONE A VAPORE",
                             "VERIFICA ESTIVA",
                             "&USCITA",
                             "ALTEZZA S.L.M.",
                             "? INFO"};

void pulsanti(QWidget& finestra) {
    const QRect s = finestra.geometry();
    const int b = static_cast<int>(std::lround(s.width() * 0.6)), h = static_cast<int>(std::lround(s.height() * 0.055));
    const int g = static_cast<int>(std::lround(h / 4.5)), sinistra = (s.width() - b) / 2;
    const QFont f(QStringLiteral("Times New Roman"), 10, QFont::Bold);
    for (int i = 0; i < 13; ++i) {
        auto* p = new QPushButton(QString::fromLatin1(testi[i]), &finestra);
        p->setFont(f);
        if (i < 10)
            p->setGeometry(sinistra, 1 + i * (h + g), b, h);
        else
            p->setGeometry(sinistra + b + b / 10, s.height() / 5 + (i - 10) * (h * 8 / 5 + g), b / 4, h * 8 / 5);
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget finestra;
    finestra.setGeometry(QGuiApplication::primaryScreen()->geometry());
    if (std::getenv("ONDIX_VUOTA_TESTO")) {
        auto* testo = new QLabel(QStringLiteral("PROPRIETA DEL PUNTO"), &finestra);
        testo->setFont(QFont(QStringLiteral("Liberation Serif"), 10, QFont::Bold));
        testo->move(200, 10);
    }
    if (std::getenv("ONDIX_VUOTA_PULSANTI")) pulsanti(finestra);
    ondix::misura_avvio(finestra);
    finestra.show();
    return QApplication::exec();
}
