#include "ui/schermo.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace ondix {

DimensioniSchermo dimensioni_schermo() {
    const QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return {800, 600};
    const QSize d = s->geometry().size();
    const auto a16 = [](int v) { return static_cast<std::uint16_t>(std::clamp(v, 0, 65535)); };
    return {a16(d.width()), a16(d.height())};
}

namespace {

// The rectangle is as large as the screen the window is on (a layout for another size is only placed).
bool come_lo_schermo(const QWidget* finestra, const Rettangolo& r) {
    const QScreen* s = finestra->screen();
    return s && s->geometry().size() == QSize(r.width, r.height);
}

void imposta_stato(QWidget* finestra, Qt::WindowState stato) {
    const Qt::WindowStates altri = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    finestra->setWindowState((finestra->windowState() & ~altri) | stato);
}

class Riattivazione : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::Hide || !o->isWidgetType()) return false;
        const auto* chiusa = static_cast<QWidget*>(o);
        if (!chiusa->isWindow() || !chiusa->isModal()) return false;
        QPointer<QWidget> origine = chiusa->parentWidget() ? chiusa->parentWidget()->window() : nullptr;
        // Once the window is gone: by then a window manager has usually chosen the next active window already.
        QTimer::singleShot(0, this, [origine] {
            if (QApplication::activeWindow() || QApplication::activePopupWidget()) return;
            QWidget* prossima = QApplication::activeModalWidget();
            if (!prossima) prossima = origine;
            if (prossima && prossima->isVisible()) prossima->activateWindow();
        });
        return false;
    }
};

} // namespace

void installa_riattivazione_finestre() {
    static Riattivazione* filtro = nullptr;
    if (filtro || !qApp) return;
    filtro = new Riattivazione(qApp);
    qApp->installEventFilter(filtro);
}

void libera_selezione() {
    QClipboard* appunti = QGuiApplication::clipboard();
    if (appunti->supportsSelection() && appunti->ownsSelection()) appunti->clear(QClipboard::Selection);
}

void installa_uscita_immediata() {
    static bool installata = false;
    if (installata || !qApp) return;
    installata = true;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { libera_selezione(); });
}

void riempi_schermo(QWidget* finestra, const Rettangolo& r) {
    // A window on the screen with a frame around it is in a window manager's hands: placing its inner area at the
    // screen's corner would push the title bar off the screen, so it is only maximised (again). Before it is
    // shown, and wherever nothing frames it, it takes its rectangle as well; a window manager then maximises it
    // as it maps it.
    const bool incorniciata = finestra->isVisible() && finestra->frameGeometry() != finestra->geometry();
    if (!incorniciata) finestra->setGeometry(r.left, r.top, r.width, r.height);
    if (come_lo_schermo(finestra, r)) imposta_stato(finestra, Qt::WindowMaximized);
}

void copri_schermo(QWidget* finestra, const Rettangolo& r) {
    finestra->setGeometry(r.left, r.top, r.width, r.height);
    if (come_lo_schermo(finestra, r)) imposta_stato(finestra, Qt::WindowFullScreen);
}

} // namespace ondix
