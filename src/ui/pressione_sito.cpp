#include "ui/pressione_sito.h"

#include "core/altitudine.h"
#include "core/numeri.h"
#include "ui/esterno_qt.h"
#include "ui/impostazioni.h"

#include <QPushButton>

namespace ondix {

PressioneSito::PressioneSito(QWidget* menu, Contesto& ctx)
    : QObject(menu), m_menu(menu), m_ctx(ctx), m_pulsante(new QPushButton(menu)) {
    m_pulsante->setObjectName(QStringLiteral("PressioneSito"));
    m_pulsante->setToolTip(QStringLiteral("I calcoli usano questa pressione: premere per tornare a 101335 Pa"));
    m_pulsante->hide();
    connect(m_pulsante, &QPushButton::clicked, this, [this] { chiedi_ritorno(); });
    if (const auto p = Impostazioni().pressione_sito()) m_ctx.aria.pressione = *p;
    aggiorna();
}

void PressioneSito::proponi(double p, std::optional<double> quota) {
    if (!domanda_si_no(m_menu, QStringLiteral("Calcolare con questa pressione?"))) return;
    usa(p, quota);
}

void PressioneSito::chiedi_ritorno() {
    if (!domanda_si_no(m_menu, QStringLiteral("Tornare alla pressione di 101335 Pa?"))) return;
    usa(std::nullopt);
}

void PressioneSito::usa(std::optional<double> p, std::optional<double> quota) {
    // The fixed pressure itself (the altitude tool at 0 m) is no site pressure.
    if (p && *p == pressione_atmosferica) p.reset();
    // Beyond the table the pressure is that of its last row, not of the altitude typed.
    if (quota && !(*quota >= quota_minima && *quota <= quota_massima)) quota.reset();
    // The model of moist air is chosen on its own: only the pressure changes.
    m_ctx.aria.pressione = p ? *p : pressione_atmosferica;
    Impostazioni().ricorda_pressione_sito(p, quota);
    aggiorna();
}

void PressioneSito::aggiorna() {
    const bool in_uso = m_ctx.aria.pressione != pressione_atmosferica;
    if (in_uso)
        m_pulsante->setText(
            QStringLiteral("PRESSIONE\n%1 Pa").arg(QString::fromStdString(formatta(m_ctx.aria.pressione, 0, 0))));
    m_pulsante->setVisible(in_uso);
}

} // namespace ondix
