#include "dialoghi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <algorithm>

namespace ondix::prova {

QString descrivi(QWidget* dialogo) {
    QString d = QString::fromLatin1(dialogo->metaObject()->className()) + QStringLiteral(" \"") +
                dialogo->windowTitle() + QLatin1Char('"');
    if (auto* m = qobject_cast<QMessageBox*>(dialogo)) d += QStringLiteral(": ") + m->text();
    return d;
}

void chiudi(QWidget* dialogo) {
    if (auto* d = qobject_cast<QDialog*>(dialogo))
        d->done(QDialog::Rejected);
    else
        dialogo->close();
}

QPushButton* pulsante(QWidget* w, const char* nome) {
    return trova<QPushButton>(w, QString::fromLatin1(nome));
}

QLineEdit* casella(QWidget* form, int n) {
    return trova<QLineEdit>(form, QStringLiteral("Edit%1").arg(n));
}

QStringList righe_rapporto(QWidget* finestra) {
    return trova<QPlainTextEdit>(finestra, QStringLiteral("RichEdit1"))->toPlainText().split(QLatin1Char('\n'));
}

void premi_ok(QWidget* dialogo) {
    auto* m = qobject_cast<QMessageBox*>(dialogo);
    if (m && !m->buttons().isEmpty())
        m->buttons().first()->click();
    else
        chiudi(dialogo);
}

bool con_gestore_finestre() {
    return qEnvironmentVariableIsSet("ONDIX_GESTORE_FINESTRE");
}

namespace {
QString testo_rettangolo(const QRect& r) {
    return QStringLiteral("(%1, %2, %3 x %4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}
} // namespace

QString difetto_schermo_pieno(QWidget* finestra, const QRect& rettangolo) {
    const QRect interno = finestra->geometry(), cornice = finestra->frameGeometry();
    const QString visto =
        QStringLiteral(" (window %1, frame %2)").arg(testo_rettangolo(interno), testo_rettangolo(cornice));
    if (!con_gestore_finestre())
        return interno == rettangolo ? QString() : QStringLiteral("not at ") + testo_rettangolo(rettangolo) + visto;
    const QScreen* schermo = finestra->screen();
    if (!schermo) return QStringLiteral("no screen");
    const QRect libero = schermo->availableGeometry();
    if (cornice != libero)
        return QStringLiteral("the frame does not cover the screen's free area ") + testo_rettangolo(libero) + visto;
    if (interno.top() <= cornice.top()) return QStringLiteral("no title bar above the window") + visto;
    return QString();
}

QString difetto_schermo_coperto(QWidget* finestra) {
    const QScreen* schermo = finestra->screen();
    if (!schermo) return QStringLiteral("no screen");
    const QRect interno = finestra->geometry(), cornice = finestra->frameGeometry();
    if (interno == schermo->geometry() && cornice == interno) return QString();
    return QStringLiteral("not the screen %1 (window %2, frame %3)")
        .arg(testo_rettangolo(schermo->geometry()), testo_rettangolo(interno), testo_rettangolo(cornice));
}

QString attendi_schermo_pieno(QWidget* finestra, const QRect& rettangolo, int ms) {
    QString difetto;
    static_cast<void>(
        QTest::qWaitFor([&] { return (difetto = difetto_schermo_pieno(finestra, rettangolo)).isEmpty(); }, ms));
    return difetto;
}

Risponditore::Risponditore(int scadenza_ms) : m_scadenza_ms(scadenza_ms) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isModal()) m_gia_aperti.emplace_back(w);
    m_orologio.setInterval(25);
    connect(&m_orologio, &QTimer::timeout, this, [this] { controlla(); });
    m_orologio.start();
    qApp->installEventFilter(this);
}

bool Risponditore::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::Hide && o->isWidgetType())
        m_visti.erase(std::remove_if(m_visti.begin(), m_visti.end(),
                                     [o](const QPointer<QWidget>& p) { return p.isNull() || p == o; }),
                      m_visti.end());
    return QObject::eventFilter(o, e);
}

Risponditore::~Risponditore() {
    m_orologio.stop();
    qApp->removeEventFilter(this);
    // A dialog still open when the test ends would block the next one.
    while (QWidget* w = QApplication::activeModalWidget()) {
        if (std::any_of(m_gia_aperti.begin(), m_gia_aperti.end(), [w](const QPointer<QWidget>& p) { return p == w; }))
            break;
        m_inattesi << QStringLiteral("still open at the end: ") + descrivi(w);
        chiudi(w);
        QApplication::processEvents();
        if (QApplication::activeModalWidget() == w) break;
    }
}

void Risponditore::poi(Azione azione) {
    m_azioni.push_back(std::move(azione));
}

void Risponditore::controlla() {
    QWidget* w = QApplication::activeModalWidget();
    const qint64 ora = QDateTime::currentMSecsSinceEpoch();
    if (w != m_in_cima) {
        m_in_cima = w;
        m_in_cima_da = ora;
    }
    if (!w) return;
    if (std::any_of(m_gia_aperti.begin(), m_gia_aperti.end(), [w](const QPointer<QWidget>& p) { return p == w; }))
        return;
    const bool visto = std::any_of(m_visti.begin(), m_visti.end(), [w](const QPointer<QWidget>& p) { return p == w; });
    if (visto) {
        if (ora - m_in_cima_da > m_scadenza_ms) {
            m_inattesi << QStringLiteral("left open too long: ") + descrivi(w);
            chiudi(w);
        }
        return;
    }
    m_visti.emplace_back(w);
    if (m_azioni.empty()) {
        m_inattesi << QStringLiteral("unexpected: ") + descrivi(w);
        QTimer::singleShot(0, w, [w] { chiudi(w); });
        return;
    }
    Azione azione = std::move(m_azioni.front());
    m_azioni.pop_front();
    // From a fresh timer, so that the action may itself open modal dialogs while this one keeps watching.
    QTimer::singleShot(0, w, [w, azione = std::move(azione)] { azione(w); });
}

} // namespace ondix::prova
