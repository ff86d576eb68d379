// ondix: the desktop psychrometric calculator.
#include "avvio.h"
#include "ui/caratteri.h"
#include "ui/finestra_menu.h"
#include "ui/schermo.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

const char* aiuto = R"(Usage: ondix [OPTION] [FILE]
ondix is a desktop calculator for moist air (psychrometrics), for the design and the check of
air-conditioning and heating plants. Its interface is in Italian.

It starts full screen on the menu of processes: the properties of one air state, the mixing of
two air streams, sensible heating or cooling, adiabatic humidification with water,
humidification with steam, cooling with condensation through a coil with a bypass factor, the
summer cycle, the summer verification, the winter cycle and the winter cycle with steam
humidification. A process button opens the input form with the process's default values;
CALCOLA shows the psychrometric chart of the process and then the report, which can be edited,
printed on the default printer, saved as an RTF file or exported as a PDF calculation report.
The input form saves its calculation into a .ondix file (Ctrl+S) and opens one (Ctrl+O); FILE,
such a file, opens in the form of its process. "ALTEZZA S.L.M." turns a site altitude
into the atmospheric pressure. Numbers are typed with a decimal point. F1 opens the manual
(in Italian) from every window; it is installed as HTML under /usr/share/doc/ondix/manuale/ too.

ondix-calc runs the same calculations without windows.

Options:
  -h, --help     print this help and exit
  -v, --version  print the version and exit
The toolkit's own options (such as -platform offscreen) are accepted as well.

Files:
  patm.txt       the pressure written by the altitude tool: next to the program, or in
                 ~/.local/share/ondix/ where the program's directory is not writable
  ondix1.bmp     the menu's background picture, if present: next to the program, or in
                 ~/.local/share/ondix/ or /usr/share/ondix/
  ondix.conf     in ~/.config/ondix/: the site pressure, the last inputs of each
                 process, the chart's layers and the folders last used
)";

} // namespace

int main(int argc, char** argv) {
    // Answered before the toolkit starts, so that they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(aiuto, stdout);
            return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 2;
        }
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::puts("ondix " ONDIX_VERSIONE);
            return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 2;
        }
    }
    // A file-size limit makes a save fail with a message (EFBIG) instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ondix"));
    // The desktop entry that names the program and its icon where the window system asks for it (Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.ondix.Ondix"));
    ondix::installa_sostituzioni_caratteri();
    ondix::installa_riattivazione_finestre();
    ondix::installa_uscita_immediata();
    // The program speaks Italian: so do the toolkit's own buttons and dialogs (when the translations are there).
    QTranslator traduzione;
    if (traduzione.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduzione);

    // The program directory, with its trailing separator: the background picture and "patm.txt" live there.
    const QString cartella = QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    const ondix::DimensioniSchermo schermo = ondix::dimensioni_schermo();

    // The main window (its creation lays it out); it makes the report window as soon as it is on the screen.
    ondix::FinestraMenu finestra(cartella, schermo);

    ondix::misura_avvio(finestra);
    finestra.show();
    // A calculation file given (the desktop opens one so) opens in its form once the menu is up.
    const QStringList argomenti = QCoreApplication::arguments();
    for (qsizetype i = 1; i < argomenti.size(); ++i)
        if (!argomenti[i].startsWith(QLatin1Char('-'))) {
            QTimer::singleShot(0, &finestra, [&finestra, file = argomenti[i]] { finestra.apri_calcolo(file); });
            break;
        }
    return QApplication::exec();
}
