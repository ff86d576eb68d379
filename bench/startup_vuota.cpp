// The yardsticks for the desktop program's start-up, timed the same way (ONDIX_MISURA_AVVIO, see src/app/avvio.h):
// an empty Qt window of the screen's size, or with ONDIX_VUOTA_TESTO set the same window holding one line of text,
// which adds what any window with text pays once (the font database and the first font).
#include "avvio.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget finestra;
    finestra.setGeometry(QGuiApplication::primaryScreen()->geometry());
    if (std::getenv("ONDIX_VUOTA_TESTO")) {
        auto* testo = new QLabel(QStringLiteral("PROPRIETA DEL PUNTO"), &finestra);
        testo->setFont(QFont(QStringLiteral("Liberation Serif"), 10, QFont::Bold));
        testo->move(200, 10);
    }
    ondix::misura_avvio(finestra);
    finestra.show();
    return QApplication::exec();
}
