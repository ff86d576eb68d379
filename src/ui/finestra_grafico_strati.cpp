// The chart window's additions to the plain chart: the layer switches (keys and context menu, remembered), the
// readout under the mouse, and saving the picture.
#include "ui/esterno_qt.h"
#include "ui/finestra_grafico.h"
#include "ui/impostazioni.h"
#include "ui/relazione_pdf.h"

#include "plot_qt/esporta.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>

namespace ondix {

namespace {

struct Interruttore {
    const char* nome;
    const char* testo;
    Qt::Key tasto;
};

// The switches in menu order; the first four are the isoline families in the order of `famiglie`.
constexpr Interruttore interruttori[] = {
    {"strato_ur", "Curve di umidita relativa", Qt::Key_U},       {"strato_h", "Linee di entalpia", Qt::Key_H},
    {"strato_tbu", "Linee di bulbo umido", Qt::Key_B},           {"strato_v", "Linee di volume specifico", Qt::Key_V},
    {"strato_mollier", "Diagramma di Mollier (h-x)", Qt::Key_M}, {"lettura", "Lettura sotto il mouse", Qt::Key_L},
};

} // namespace

void FinestraGrafico::crea_azioni() {
    const Impostazioni impostazioni;
    m_strati = impostazioni.strati();
    m_lettura_attiva = impostazioni.lettura();
    int i = 0;
    for (const Interruttore& s : interruttori) {
        auto* a = new QAction(QString::fromUtf8(s.testo), this);
        a->setObjectName(QString::fromLatin1(s.nome));
        a->setShortcut(QKeySequence(s.tasto));
        a->setCheckable(true);
        if (i < 4) a->setChecked(m_strati.famiglia(famiglie[i]));
        if (i == 4) a->setChecked(m_strati.mollier);
        if (i == 5) a->setChecked(m_lettura_attiva);
        connect(a, &QAction::toggled, this, [this] { cambia_strati(); });
        addAction(a);
        if (i == 4) {
            auto* separatore = new QAction(this);
            separatore->setSeparator(true);
            addAction(separatore);
        }
        ++i;
    }
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
    OpzioniGrafico o = m_strati;
    for (int i = 0; i < 4; ++i)
        o.imposta_famiglia(famiglie[i], azione(interruttori[i].nome)->isChecked());
    o.mollier = azione("strato_mollier")->isChecked();
    const bool lettura = azione("lettura")->isChecked();
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

OpzioniGrafico FinestraGrafico::strati_per_file() const {
    // The title line at the calculation's own pressure.
    return con_titolo(m_strati, m_ctx ? m_ctx->processo : 0, m_ctx ? m_ctx->aria : Aria{});
}

void FinestraGrafico::imposta_grafico(const Contesto& ctx, VistaGrafico vista) {
    m_ctx = &ctx;
    imposta_procedura(procedura_vista(vista, ctx));
}

void FinestraGrafico::salva_immagine() {
    QFileDialog dialogo(this, QStringLiteral("Salva immagine del grafico"));
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setOptions(QFileDialog::DontUseNativeDialog);
    const QString relazione = QStringLiteral("Relazione di calcolo PDF (*.pdf)");
    QStringList tipi{QStringLiteral("PNG (*.png)"), QStringLiteral("SVG (*.svg)"), QStringLiteral("PDF (*.pdf)")};
    // The whole calculation report, with this chart, where the chart is a calculation's.
    if (m_ctx) tipi << relazione;
    dialogo.setNameFilters(tipi);
    const QString cartella = Impostazioni().cartella_immagini();
    dialogo.setDirectory(cartella.isEmpty() || !QDir(cartella).exists() ? QDir::homePath() : cartella);
    dialogo.selectFile(QStringLiteral("grafico.png"));
    // The name's extension follows the type chosen.
    connect(&dialogo, &QFileDialog::filterSelected, &dialogo, [&dialogo](const QString& filtro) {
        dialogo.setDefaultSuffix(filtro.mid(filtro.indexOf(QLatin1String("*.")) + 2).chopped(1));
    });
    dialogo.setDefaultSuffix(QStringLiteral("png"));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return;
    const QString nome = dialogo.selectedFiles().first();
    if (dialogo.selectedNameFilter() == relazione) {
        const auto intestazione = chiedi_intestazione(this);
        if (!intestazione) return;
        const GraficoDocumento grafico{m_procedura, strati_per_file()};
        if (scrivi_relazione(this, documento_desktop(*m_ctx, {}, *intestazione), &grafico, nome))
            Impostazioni().ricorda_cartella_immagini(QFileInfo(nome).absolutePath());
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
