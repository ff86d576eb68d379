#include "ui/finestra_rapporto.h"

#include "core/file_destinazione.h"
#include "core/rtf.h"
#include "ui/caratteri.h"
#include "ui/esterno_qt.h"
#include "ui/impostazioni.h"
#include "ui/schermo.h"
#include "ui/stampa_testo.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStyle>
#include <QTextDocument>

namespace ondix {

namespace {
void applica(QWidget* w, const Rettangolo& r) {
    w->setGeometry(r.left, r.top, r.width, r.height);
}
} // namespace

std::unique_ptr<QPrinter> stampante_predefinita() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

FinestraRapporto::FinestraRapporto(DimensioniSchermo schermo, QWidget* parent)
    : QDialog(parent), m_schermo(schermo), m_testo(new QPlainTextEdit(this)), m_stampa(new QPushButton(this)),
      m_uscita(new QPushButton(this)), m_salva(new QPushButton(this)), m_pdf(new QPushButton(this)),
      m_grafico(new QPushButton(this)), m_suggerimento(new QLabel(this)), m_stampante(stampante_predefinita) {
    setObjectName(QStringLiteral("Form2"));
    setProperty("pagina_manuale", QStringLiteral("relazione.html"));
    setModal(true);
    // A window manager maximises only windows that say they may be.
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    m_testo->setObjectName(QStringLiteral("RichEdit1"));
    m_testo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_testo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_testo->setFont(carattere(QStringLiteral("Courier New"), 8, false));

    m_stampa->setObjectName(QStringLiteral("BitBtn1"));
    m_stampa->setText(QStringLiteral("&Stampa"));
    m_uscita->setObjectName(QStringLiteral("BitBtn2"));
    m_uscita->setText(QStringLiteral("&Uscita"));
    m_salva->setObjectName(QStringLiteral("BitBtn3"));
    m_salva->setText(QStringLiteral("SALVA SU FILE WORD"));
    m_pdf->setObjectName(QStringLiteral("esporta_pdf"));
    m_pdf->setText(QStringLiteral("ESPORTA PDF"));
    m_pdf->setToolTip(QStringLiteral("La relazione di calcolo in PDF: intestazione, dati, risultati, grafico"));
    m_pdf->hide();
    m_grafico->setObjectName(QStringLiteral("mostra_grafico"));
    m_grafico->setText(QStringLiteral("DIAGRAMMA (Ctrl+G)"));
    m_grafico->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    m_grafico->setToolTip(QStringLiteral("Il diagramma psicrometrico di questo calcolo, di nuovo"));
    m_grafico->hide();
    m_suggerimento->setObjectName(QStringLiteral("suggerimento"));
    m_suggerimento->setText(QStringLiteral("Ctrl+G: di nuovo il diagramma\nF1: il manuale"));
    m_suggerimento->setStyleSheet(QStringLiteral("color: #606060"));
    m_suggerimento->hide();
    for (QPushButton* b : {m_stampa, m_uscita, m_salva, m_pdf, m_grafico})
        b->setAutoDefault(false);

    connect(m_stampa, &QPushButton::clicked, this, [this] { stampa(); });
    connect(m_uscita, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_salva, &QPushButton::clicked, this, [this] { salva(); });
    connect(m_pdf, &QPushButton::clicked, this, [this] {
        if (m_relazione) m_relazione(this);
    });
    connect(m_grafico, &QPushButton::clicked, this, [this] {
        if (m_mostra_grafico) m_mostra_grafico(this);
    });
    inizia();
}

void FinestraRapporto::carica(const std::vector<std::string>& righe) {
    QStringList testo;
    testo.reserve(static_cast<qsizetype>(righe.size()));
    for (const std::string& r : righe)
        testo << QString::fromStdString(r);
    m_testo->setPlainText(testo.join(QLatin1Char('\n')));
}

QStringList FinestraRapporto::righe() const {
    // The raw text keeps no-break spaces as the user typed them; paragraphs end in U+2029.
    QString testo = m_testo->document()->toRawText();
    testo.replace(QChar::LineSeparator, QChar::ParagraphSeparator);
    testo.replace(QLatin1Char('\n'), QChar::ParagraphSeparator);
    return testo.split(QChar::ParagraphSeparator);
}

void FinestraRapporto::inizia() {
    const LayoutRapporto l = layout_rapporto(m_schermo);
    setWindowTitle(QStringLiteral("dati di calcolo"));
    riempi_schermo(this, l.finestra);
    applica(m_testo, l.testo);
    m_testo->setFont(carattere(QStringLiteral("Courier New"), l.punti_testo, false));
    applica(m_stampa, l.stampa);
    applica(m_uscita, l.uscita);
    applica(m_salva, l.salva);
    // Below "SALVA SU FILE WORD" and "&Uscita", and the hint below "&Stampa", in the space under the button row.
    const int sotto = l.salva.top + l.salva.height + 5;
    applica(m_pdf, {l.salva.left, sotto, l.salva.width, l.salva.height});
    applica(m_grafico, {l.uscita.left, sotto, l.uscita.width, l.uscita.height});
    applica(m_suggerimento, {l.stampa.left, sotto, l.stampa.width, l.stampa.height});
    QFont f = font();
    f.setPointSize(l.punti_pulsanti);
    for (QPushButton* b : {m_stampa, m_uscita, m_salva, m_pdf, m_grafico})
        b->setFont(f);
    m_suggerimento->setWordWrap(true);
}

void FinestraRapporto::imposta_relazione(EsportaRelazione f) {
    m_relazione = std::move(f);
    m_pdf->setVisible(static_cast<bool>(m_relazione));
}

void FinestraRapporto::imposta_grafico(MostraGrafico f) {
    m_mostra_grafico = std::move(f);
    m_grafico->setVisible(static_cast<bool>(m_mostra_grafico));
    m_suggerimento->setVisible(static_cast<bool>(m_mostra_grafico));
}

void FinestraRapporto::showEvent(QShowEvent* e) {
    // The icon is looked up when first needed, not while the program starts.
    if (m_uscita->icon().isNull()) m_uscita->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    inizia();
    QDialog::showEvent(e);
}

void FinestraRapporto::stampa() {
    const std::unique_ptr<QPrinter> stampante = m_stampante ? m_stampante() : nullptr;
    stampa_o_avvisa(this, stampante.get(),
                    QStringLiteral("Nessuna stampante predefinita installata: il rapporto non è stato stampato."),
                    [this](QPrinter& p) { return stampa_su(p); });
}

bool FinestraRapporto::stampa_su(QPrinter& stampante) {
    // In the report's font, unless its longest line would not fit the page's width: then in the largest size
    // that fits, so that no line breaks in two.
    return stampa_righe(stampante, righe(), m_testo->font());
}

void FinestraRapporto::salva() {
    QFileDialog dialogo(this);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    // Reports saved under a name without the extension are listed as well, under "all files".
    dialogo.setNameFilters({QStringLiteral("rtf (*.rtf)"), QStringLiteral("tutti i file (*)")});
    // The name is used as typed (no extension added) and an existing file is replaced without a question.
    dialogo.setOptions(QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
    // It opens where the last report was saved.
    Impostazioni impostazioni;
    const QString ultima = impostazioni.cartella_rapporto();
    if (!ultima.isEmpty() && QDir(ultima).exists()) dialogo.setDirectory(ultima);
    if (dialogo.exec() != QDialog::Accepted) return;
    const QStringList scelti = dialogo.selectedFiles();
    if (scelti.isEmpty() || scelti.first().isEmpty()) return;
    impostazioni.ricorda_cartella_rapporto(QFileInfo(scelti.first()).absolutePath());
    salva_su_file(scelti.first());
}

bool FinestraRapporto::salva_su_file(const QString& nome) {
    std::vector<std::string> righe_utf8;
    for (const QString& r : righe())
        righe_utf8.push_back(r.toStdString());
    const std::string rtf = scrivi_rtf(righe_utf8, m_testo->font().pointSize());

    // The report goes to a temporary file next to the target, renamed over the target only when complete, so a
    // failed save leaves an existing file as it was; a device or a FIFO under the name is left alone.
    const std::string percorso = QFile::encodeName(nome).toStdString();
    const Fatto fatto = sostituisci_file(percorso, rtf);
    if (!fatto) {
        const QString motivo = genere_non_regolare(percorso) ? QStringLiteral("non è un file regolare")
                                                             : QString::fromStdString(fatto.errore().testo);
        avviso(this, QMessageBox::Critical, QStringLiteral("Impossibile salvare il file \"%1\": %2").arg(nome, motivo));
    }
    return fatto.ok();
}

} // namespace ondix
