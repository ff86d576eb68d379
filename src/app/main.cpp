// ondix: the desktop psychrometric calculator.
#include "avvio.h"
#include "ui/caratteri.h"
#include "ui/mainform.h"
#include "ui/schermo.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ondix"));
    // The desktop entry that names the program and its icon where the window system asks for it (Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("ondix"));
    ondix::installa_sostituzioni_caratteri();
    // The program speaks Italian: so do the toolkit's own buttons and dialogs (when the translations are there).
    QTranslator traduzione;
    if (traduzione.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduzione);

    // The program directory, with its trailing separator: the background picture and "patm.txt" live there.
    const QString cartella = QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    const ondix::DimensioniSchermo schermo = ondix::dimensioni_schermo();

    // The main window (its creation lays it out); it makes the report window as soon as it is on the screen.
    ondix::Tform_ondix finestra(cartella, schermo);

    ondix::misura_avvio(finestra);
    finestra.show();
    return QApplication::exec();
}
