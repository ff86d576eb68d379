#include "ui/manuale.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace ondix {

namespace {

const QString radice = QStringLiteral(":/ondix/manuale/");

QString testo_pagina(const QString& nome) {
    QFile f(radice + nome);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QTextDocument d;
    d.setHtml(QString::fromUtf8(f.readAll()));
    return d.toPlainText();
}

class TastoManuale : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(e)->key() != Qt::Key_F1 || m_aperta) return false;
        if (static_cast<QKeyEvent*>(e)->modifiers() != Qt::NoModifier || !o->isWidgetType()) return false;
        // The manual's own window answers F1 by staying as it is.
        if (dynamic_cast<FinestraManuale*>(static_cast<QWidget*>(o)->window())) return true;
        const QVariant pagina = static_cast<QWidget*>(o)->window()->property("pagina_manuale");
        m_aperta = true;
        apri_manuale(pagina.isValid() ? pagina.toString() : QStringLiteral("indice.html"));
        m_aperta = false;
        return true;
    }

private:
    bool m_aperta = false;
};

} // namespace

QStringList pagine_manuale() {
    return QDir(radice).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

QString pagina_processo(int tipo) {
    switch (tipo) {
    case 1:
        return QStringLiteral("miscelazione.html");
    case 2:
        return QStringLiteral("sensibile.html");
    case 3:
        return QStringLiteral("umidificazione.html");
    case 4:
        return QStringLiteral("proprieta.html");
    case 5:
        return QStringLiteral("condensazione.html");
    case 6:
        return QStringLiteral("estivo.html");
    case 7:
        return QStringLiteral("invernale.html");
    case 13:
        return QStringLiteral("vapore.html");
    case 17:
        return QStringLiteral("invernale_vapore.html");
    case 21:
        return QStringLiteral("verifica.html");
    default:
        return QStringLiteral("indice.html");
    }
}

FinestraManuale::FinestraManuale(const QString& pagina, QWidget* parent)
    : QDialog(parent), m_testo(new QTextBrowser(this)), m_cerca(new QLineEdit(this)) {
    setObjectName(QStringLiteral("manuale"));
    setWindowTitle(QStringLiteral("ondix - manuale"));
    m_testo->setObjectName(QStringLiteral("testo_manuale"));
    m_testo->setSearchPaths({radice});
    m_testo->setOpenExternalLinks(false);
    m_cerca->setObjectName(QStringLiteral("cerca_manuale"));
    m_cerca->setPlaceholderText(QStringLiteral("Cerca nel manuale (Invio: la prossima)"));
    m_cerca->setClearButtonEnabled(true);
    auto* disposizione = new QVBoxLayout(this);
    auto* etichetta = new QLabel(QStringLiteral("&Cerca:"), this);
    etichetta->setBuddy(m_cerca);
    disposizione->addWidget(etichetta);
    disposizione->addWidget(m_cerca);
    disposizione->addWidget(m_testo, 1);
    // Without a window manager there is no title bar to close it by.
    auto* pulsanti = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(pulsanti, &QDialogButtonBox::rejected, this, &QDialog::reject);
    disposizione->addWidget(pulsanti);
    connect(m_cerca, &QLineEdit::returnPressed, this, [this] {
        if (!cerca(m_cerca->text())) m_cerca->setStyleSheet(QStringLiteral("color: red"));
    });
    connect(m_cerca, &QLineEdit::textEdited, this, [this] { m_cerca->setStyleSheet(QString()); });
    m_testo->setSource(QUrl(pagina));
    // Most of the screen, wherever it is.
    const QRect schermo = screen() ? screen()->availableGeometry() : QRect(0, 0, 800, 600);
    resize(std::min(schermo.width() * 3 / 4, 900), schermo.height() * 4 / 5);
    m_cerca->setFocus();
}

bool FinestraManuale::cerca(const QString& parola) {
    if (parola.trimmed().isEmpty()) return false;
    if (m_testo->find(parola)) return true;
    // The other pages, after the current one, then from the start round to it.
    const QStringList pagine = pagine_manuale();
    const QString attuale = m_testo->source().fileName();
    const auto inizio = pagine.indexOf(attuale);
    for (qsizetype i = 1; i <= pagine.size(); ++i) {
        const QString& p = pagine[(inizio + i + pagine.size()) % pagine.size()];
        if (!testo_pagina(p).contains(parola, Qt::CaseInsensitive)) continue;
        if (p != attuale) m_testo->setSource(QUrl(p));
        m_testo->moveCursor(QTextCursor::Start);
        return m_testo->find(parola);
    }
    return false;
}

void apri_manuale(const QString& pagina) {
    QWidget* sopra = QApplication::activeModalWidget();
    if (!sopra) sopra = QApplication::activeWindow();
    FinestraManuale finestra(pagina, sopra);
    finestra.exec();
}

void installa_tasto_manuale() {
    static TastoManuale* filtro = nullptr;
    if (filtro || !qApp) return;
    filtro = new TastoManuale(qApp);
    qApp->installEventFilter(filtro);
}

} // namespace ondix
