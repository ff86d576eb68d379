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
#include <QPushButton>
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

// The page of the windows that do not name one themselves, by their object names.
constexpr std::pair<const char*, const char*> pagine_finestre[] = {
    {"FinestraUta", "uta.html"},
    {"intestazione_pdf", "relazione.html"},
};

class TastoManuale : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(e)->key() != Qt::Key_F1 || m_aperta) return false;
        if (static_cast<QKeyEvent*>(e)->modifiers() != Qt::NoModifier || !o->isWidgetType()) return false;
        // The manual's own window answers F1 by staying as it is.
        if (dynamic_cast<FinestraManuale*>(static_cast<QWidget*>(o)->window())) return true;
        m_aperta = true;
        apri_manuale(pagina_finestra(static_cast<QWidget*>(o)));
        m_aperta = false;
        return true;
    }

private:
    bool m_aperta = false;
};

} // namespace

QString pagina_finestra(const QWidget* w) {
    // The window's own page, else that of the window it was opened from (a dialog of the form: the process's).
    for (const QWidget* f = w ? w->window() : nullptr; f;
         f = f->parentWidget() ? f->parentWidget()->window() : nullptr) {
        const QVariant pagina = f->property("pagina_manuale");
        if (pagina.isValid()) return pagina.toString();
        for (const auto& [nome, pagina_nome] : pagine_finestre)
            if (f->objectName() == QLatin1String(nome)) return QString::fromLatin1(pagina_nome);
    }
    return QStringLiteral("indice.html");
}

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
    // Enter belongs to the search field: no button takes it.
    for (QAbstractButton* b : pulsanti->buttons())
        if (auto* p = qobject_cast<QPushButton*>(b)) p->setAutoDefault(false);
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

void FinestraManuale::keyPressEvent(QKeyEvent* e) {
    // Enter in the search field finds the next match (the field's own signal); it never closes the manual.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && e->modifiers() == Qt::NoModifier) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
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
