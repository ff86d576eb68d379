#include "ui/modello_sito.h"

#include "core/modello_ashrae.h"
#include "ui/esterno_qt.h"
#include "ui/impostazioni.h"

#include <QAction>
#include <QKeySequence>
#include <QPushButton>
#include <QWidget>

namespace ondix {

ModelloSito::ModelloSito(QWidget* menu, Contesto& ctx)
    : QObject(menu), m_menu(menu), m_ctx(ctx), m_pulsante(new QPushButton(menu)), m_scelta(new QAction(menu)) {
    m_pulsante->setObjectName(QStringLiteral("ModelloSito"));
    m_pulsante->hide();
    connect(m_pulsante, &QPushButton::clicked, this, [this] { chiedi_ritorno(); });
    // The choice lives in the menu window's context menu (right button) and answers its shortcut there.
    m_scelta->setObjectName(QStringLiteral("SceltaModello"));
    m_scelta->setText(QStringLiteral("Modello aria umida ASHRAE"));
    m_scelta->setCheckable(true);
    m_scelta->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(m_scelta, &QAction::triggered, this, [this](bool on) { usa(on ? &modello_ashrae() : nullptr); });
    menu->addAction(m_scelta);
    menu->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_ctx.aria.modello = Impostazioni().modello();
    aggiorna();
}

void ModelloSito::chiedi_ritorno() {
    if (!domanda_si_no(m_menu, QStringLiteral("Tornare alle correlazioni del programma?"))) return;
    usa(nullptr);
}

void ModelloSito::usa(const ModelloAria* m) {
    // The site pressure is chosen on its own: only the model changes.
    m_ctx.aria.modello = m;
    Impostazioni().ricorda_modello(m);
    aggiorna();
}

void ModelloSito::aggiorna() {
    const ModelloAria* m = m_ctx.aria.modello;
    if (m) {
        const QString nome = QString::fromUtf8(m->nome().data(), static_cast<qsizetype>(m->nome().size()));
        m_pulsante->setText(QStringLiteral("MODELLO\n") + nome);
        m_pulsante->setToolTip(QStringLiteral("I calcoli usano il modello aria umida %1: premere per tornare alle "
                                              "correlazioni del programma")
                                   .arg(nome));
    }
    m_pulsante->setVisible(m != nullptr);
    m_scelta->setChecked(m != nullptr);
}

} // namespace ondix
