// Answers the modal dialogs of a test from timers, and closes any dialog the test did not expect, so that a
// GUI test never hangs on a window waiting for a user.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

class QLineEdit;
class QPushButton;

#include <deque>
#include <functional>
#include <vector>

namespace ondix::prova {

class Risponditore : public QObject {
public:
    // Acts on one modal dialog: it must close the dialog (or leave it to a later action); it may open others.
    using Azione = std::function<void(QWidget* dialogo)>;

    // A dialog that stays on top for more than `scadenza_ms` is closed and counted as a failure. Modal windows
    // already open (the test's own) are not dialogs to answer: they are left alone.
    explicit Risponditore(int scadenza_ms = 15000);
    ~Risponditore() override;

    // The next modal dialog that appears gets `azione`.
    void poi(Azione azione);

    // Dialogs that appeared with no action waiting, or stayed open too long, with what they showed.
    const QStringList& inattesi() const { return m_inattesi; }
    // Actions still waiting for their dialog.
    int restanti() const { return static_cast<int>(m_azioni.size()); }

protected:
    // A dialog that hides is new again when it shows once more (the report window is one object for the run).
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void controlla();

    QTimer m_orologio;
    std::deque<Azione> m_azioni;
    std::vector<QPointer<QWidget>> m_visti;
    std::vector<QPointer<QWidget>> m_gia_aperti;
    QPointer<QWidget> m_in_cima;
    qint64 m_in_cima_da = 0;
    int m_scadenza_ms;
    QStringList m_inattesi;
};

// The child of `w` of class T named `nome`; the test stops when there is none.
template <typename T> T* trova(QWidget* w, const QString& nome) {
    T* c = w->findChild<T*>(nome);
    if (!c) qFatal("control %s not found", qPrintable(nome));
    return c;
}
// The button `nome` of a window, the input box `Edit<n>` of a form, the lines of the report window's text.
QPushButton* pulsante(QWidget* w, const char* nome);
QLineEdit* casella(QWidget* form, int n);
QStringList righe_rapporto(QWidget* finestra);

// Title, class and text of a dialog, for failure messages.
QString descrivi(QWidget* dialogo);
// Closes a dialog the way its cancel button would.
void chiudi(QWidget* dialogo);
// Clicks the first button of a message box.
void premi_ok(QWidget* dialogo);

// Whether the test runs under a window manager (scripts/test starts one and sets ONDIX_GESTORE_FINESTRE).
bool con_gestore_finestre();
// What is wrong with how a window with a title bar fills the screen; empty when nothing is. With no window
// manager its inner area must be `rettangolo`; under one the whole window, title bar included, must cover the
// screen's free area exactly, with the title bar above the inner area.
QString difetto_schermo_pieno(QWidget* finestra, const QRect& rettangolo);
// The same for a window without a frame: the window is the whole screen, under a window manager or not.
QString difetto_schermo_coperto(QWidget* finestra);
// Waits (at most `ms`) until the window fills the screen; returns the last defect found, empty when none.
QString attendi_schermo_pieno(QWidget* finestra, const QRect& rettangolo, int ms = 5000);

} // namespace ondix::prova

// Every expected dialog came, and no other.
#define VERIFICA_DIALOGHI(r)                                                                                           \
    do {                                                                                                               \
        QVERIFY2((r).inattesi().isEmpty(), qPrintable((r).inattesi().join(QStringLiteral(" | "))));                    \
        QCOMPARE((r).restanti(), 0);                                                                                   \
    } while (0)
