// The chart window's additions to the plain chart: the layer switches (keys and context menu, remembered), the
// readout under the mouse, and saving the picture.
#include "ui/esterno_qt.h"
#include "ui/finestra_grafico.h"
#include "ui/impostazioni.h"
#include "ui/relazione_pdf.h"
#include "ui/strati_grafico.h"

#include "plot_qt/esporta.h"

#include <QAction>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>

namespace ondix {

void FinestraGrafico::crea_azioni() {
    const Impostazioni impostazioni;
    m_strati = impostazioni.strati();
    m_lettura_attiva = impostazioni.lettura();
    crea_interruttori_strati(
        this, m_strati, m_lettura_attiva, [this] { cambia_strati(); }, [this] { parametri_comfort(); });
    auto* separatore = new QAction(this);
    separatore->setSeparator(true);
    addAction(separatore);
    auto* salva = new QAction(QStringLiteral("Salva immagine..."), this);
    salva->setObjectName(QStringLiteral("salva_immagine"));
    salva->setShortcut(QKeySequence::Save);
    connect(salva, &QAction::triggered, this, [this] { salva_immagine(); });
    addAction(salva);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    // The readout follows the mouse without a button pressed.
    setMouseTracking(true);
}

QAction* FinestraGrafico::azione(const char* nome) const {
    return findChild<QAction*>(QString::fromLatin1(nome));
}

void FinestraGrafico::cambia_strati() {
    const OpzioniGrafico o = strati_degli_interruttori(this, m_strati);
    const bool lettura = lettura_degli_interruttori(this);
    if (lettura != m_lettura_attiva) {
        m_lettura_attiva = lettura;
        Impostazioni().ricorda_lettura(lettura);
        update(lettura ? m_lettura.ripeti(true) : m_lettura.nascondi());
    }
    if (o == m_strati) return;
    m_strati = o;
    Impostazioni().ricorda_strati(m_strati);
    ridisegna();
    update(m_lettura.ripeti(m_lettura_attiva));
}

void FinestraGrafico::parametri_comfort() {
    const auto z = chiedi_zona_comfort(this);
    if (!z || !m_strati.comfort || *m_strati.comfort == *z) return;
    m_strati.comfort = *z;
    Impostazioni().ricorda_strati(m_strati);
    ridisegna();
    update(m_lettura.ripeti(m_lettura_attiva));
}

OpzioniGrafico FinestraGrafico::strati_per_file() const {
    // The title line at the calculation's own pressure.
    return con_titolo(m_strati, m_ctx ? m_ctx->processo : 0, m_ctx ? m_ctx->aria : Aria{});
}

void FinestraGrafico::imposta_grafico(const Contesto& ctx, VistaGrafico vista) {
    m_ctx = &ctx;
    m_vista = vista;
    imposta_procedura(procedura_vista(vista, ctx));
    // The window system's lists name the window by the process (an air-handling unit's chart has none).
    const std::string_view processo = titolo_processo(ctx.processo);
    if (!processo.empty())
        setWindowTitle(QString::fromUtf8(processo.data(), static_cast<qsizetype>(processo.size())) +
                       QStringLiteral(" - diagramma psicrometrico"));
}

void FinestraGrafico::salva_immagine() {
    bool relazione = false;
    // The whole calculation report, with this chart, where the chart is a calculation's.
    const QString nome = chiedi_file_immagine(this, m_ctx ? &relazione : nullptr);
    if (nome.isEmpty()) return;
    if (relazione) {
        GraficoDocumento grafico = grafico_documento(*m_ctx, m_vista.value_or(VistaGrafico::standard), m_strati);
        grafico.procedura = m_procedura;
        bool scritta = false;
        if (m_relazione) {
            scritta = m_relazione(this, grafico, nome);
        } else if (const auto intestazione =
                       chiedi_intestazione(this, intestazione_ricordata(m_ctx->aria), m_ctx->aria.pressione)) {
            scritta = scrivi_relazione(this, documento_desktop(*m_ctx, {}, *intestazione), &grafico, nome);
        }
        if (scritta) Impostazioni().ricorda_cartella_immagini(QFileInfo(nome).absolutePath());
        return;
    }
    if (salva_immagine_su(nome)) Impostazioni().ricorda_cartella_immagini(QFileInfo(nome).absolutePath());
}

bool FinestraGrafico::salva_immagine_su(const QString& percorso) {
    const auto errore = esporta_disegno(m_procedura, strati_per_file(), schermo_registrato().larghezza,
                                        schermo_registrato().altezza, percorso.toStdString());
    if (!errore) return true;
    avviso(this, QMessageBox::Critical,
           QStringLiteral("Immagine non salvata: %1").arg(QString::fromStdString(*errore)));
    return false;
}

void FinestraGrafico::mouseMoveEvent(QMouseEvent* e) {
    update(m_lettura.muovi(e->position().toPoint(), m_lettura_attiva));
    QDialog::mouseMoveEvent(e);
}

void FinestraGrafico::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) update(m_lettura.clic(e->position().toPoint(), m_lettura_attiva));
    QDialog::mousePressEvent(e);
}

void FinestraGrafico::leaveEvent(QEvent* e) {
    update(m_lettura.uscita());
    QDialog::leaveEvent(e);
}

} // namespace ondix
