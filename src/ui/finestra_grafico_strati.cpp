// The chart window's additions to the plain chart: the layer switches (keys and context menu, remembered), the
// readout under the mouse, and saving the picture.
#include "ui/esterno_qt.h"
#include "ui/finestra_grafico.h"
#include "ui/impostazioni.h"
#include "ui/relazione_pdf.h"

#include "plot_qt/esporta.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLocale>
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
    {"strato_comfort", "Zona di comfort (PMV)", Qt::Key_C},
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
        if (i == 6) a->setChecked(m_strati.comfort.has_value());
        connect(a, &QAction::toggled, this, [this] { cambia_strati(); });
        addAction(a);
        if (i == 4) {
            auto* separatore = new QAction(this);
            separatore->setSeparator(true);
            addAction(separatore);
        }
        ++i;
    }
    auto* parametri = new QAction(QStringLiteral("Parametri di comfort..."), this);
    parametri->setObjectName(QStringLiteral("parametri_comfort"));
    connect(parametri, &QAction::triggered, this, [this] { parametri_comfort(); });
    addAction(parametri);
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
    o.comfort.reset();
    if (azione("strato_comfort")->isChecked()) o.comfort = Impostazioni().zona_comfort();
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

void FinestraGrafico::parametri_comfort() {
    ZonaComfort z = Impostazioni().zona_comfort();
    QDialog dialogo(this);
    dialogo.setWindowTitle(QStringLiteral("Parametri di comfort"));
    auto* modulo = new QFormLayout(&dialogo);
    const auto casella = [&dialogo](double minimo, double massimo, double passo, double v, const char* nome) {
        auto* s = new QDoubleSpinBox(&dialogo);
        s->setObjectName(QString::fromLatin1(nome));
        s->setLocale(QLocale::c());
        s->setRange(minimo, massimo);
        s->setSingleStep(passo);
        s->setDecimals(2);
        s->setValue(v);
        return s;
    };
    auto* met = casella(0.8, 4.0, 0.1, z.occupanti.met, "met");
    auto* clo = casella(0.0, 2.0, 0.1, z.occupanti.clo, "clo");
    auto* v = casella(0.0, 1.0, 0.05, z.occupanti.v, "v");
    auto* categoria = new QComboBox(&dialogo);
    categoria->setObjectName(QStringLiteral("categoria"));
    const Categoria categorie[] = {Categoria::I, Categoria::II, Categoria::III};
    for (const Categoria c : categorie)
        categoria->addItem(QStringLiteral("%1 (|PMV| < %2)")
                               .arg(QString::fromLatin1(testo_categoria(c)))
                               .arg(QString::number(limite_pmv(c), 'f', 1).replace('.', ',')));
    categoria->setCurrentIndex(z.limite <= 0.2 ? 0 : z.limite <= 0.5 ? 1 : 2);
    modulo->addRow(QStringLiteral("Metabolismo [met]"), met);
    modulo->addRow(QStringLiteral("Vestiario [clo]"), clo);
    modulo->addRow(QStringLiteral("Velocita dell aria [m/s]"), v);
    modulo->addRow(QStringLiteral("Categoria EN 16798-1"), categoria);
    auto* bottoni = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialogo);
    connect(bottoni, &QDialogButtonBox::accepted, &dialogo, &QDialog::accept);
    connect(bottoni, &QDialogButtonBox::rejected, &dialogo, &QDialog::reject);
    modulo->addRow(bottoni);
    if (dialogo.exec() != QDialog::Accepted) return;
    z.occupanti.met = met->value();
    z.occupanti.clo = clo->value();
    z.occupanti.v = v->value();
    z.limite = limite_pmv(categorie[categoria->currentIndex()]);
    Impostazioni().ricorda_zona_comfort(z);
    if (!m_strati.comfort || *m_strati.comfort == z) return;
    m_strati.comfort = z;
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
