#include "ui/finestra_maschera.h"

#include "ui/caratteri.h"
#include "ui/casella.h"
#include "ui/esterno_qt.h"
#include "ui/finestra_rapporto.h"
#include "ui/impostazioni.h"
#include "ui/manuale.h"
#include "ui/relazione_pdf.h"
#include "ui/schermo.h"
#include "ui/stampa_testo.h"
#include "ui/suggerimenti.h"

#include <QAction>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace ondix {

namespace {

void applica(QWidget* w, const Rettangolo& r) {
    w->setGeometry(r.left, r.top, r.width, r.height);
}

QGroupBox* gruppo(QWidget* genitore, const char* nome, const QString& titolo, const QString& suggerimento,
                  const QString& prima, const QString& seconda, std::array<QRadioButton*, 2>& opzioni) {
    auto* g = new QGroupBox(titolo, genitore);
    g->setObjectName(QString::fromLatin1(nome));
    g->setToolTip(suggerimento);
    // The caption sits on the frame line, as in a classic option group, so that both options fit in the
    // button row's height.
    g->setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid palette(mid); margin-top: 0.6em; }"
                                    "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
    auto* disposizione = new QVBoxLayout(g);
    disposizione->setContentsMargins(4, 5, 2, 0);
    disposizione->setSpacing(0);
    auto* esclusivi = new QButtonGroup(g);
    opzioni = {new QRadioButton(prima, g), new QRadioButton(seconda, g)};
    for (int i = 0; i < 2; ++i) {
        esclusivi->addButton(opzioni[static_cast<std::size_t>(i)], i);
        disposizione->addWidget(opzioni[static_cast<std::size_t>(i)]);
    }
    opzioni[0]->setChecked(true);
    return g;
}

// The options take the group's font, a point smaller at a time while their texts would be cut: the group's size
// is fixed by the layout, and on narrow screens the full size does not fit.
void adatta_opzioni(QGroupBox* g, const std::array<QRadioButton*, 2>& opzioni, QFont f) {
    const QStyle* st = g->style();
    const int indicatore =
        st->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) + st->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    const QMargins m = g->layout()->contentsMargins();
    const int larghezza = g->width() - m.left() - m.right() - 2 - indicatore;
    // Below the caption, which sits on the frame line 0.6 em from the top.
    const int altezza = (g->height() - QFontMetrics(f).height() * 6 / 10 - m.top() - m.bottom() - 2) / 2;
    for (int punti = f.pointSize(); punti >= 6; --punti) {
        f.setPointSize(punti);
        for (QRadioButton* r : opzioni)
            r->setFont(f);
        const QFontMetrics fm(f);
        const int testo = std::max(fm.horizontalAdvance(opzioni[0]->text()), fm.horizontalAdvance(opzioni[1]->text()));
        if (testo <= larghezza && opzioni[0]->sizeHint().height() <= altezza) break;
    }
}

int scelta(const std::array<QRadioButton*, 2>& opzioni) {
    return opzioni[1]->isChecked() ? 1 : 0;
}

} // namespace

FinestraMaschera::FinestraMaschera(Contesto& ctx, EsternoQt& esterno, DimensioniSchermo schermo, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_esterno(esterno), m_schermo(schermo) {
    setObjectName(QStringLiteral("Form1"));
    setModal(true);
    // A window manager maximises only windows that say they may be.
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowTitle(QStringLiteral("r"));
    setAutoFillBackground(true);
    QPalette bianco = palette();
    bianco.setColor(QPalette::Window, Qt::white);
    setPalette(bianco);

    for (std::size_t i = 0; i < 10; ++i) {
        const QString n = QString::number(i + 1);
        m_etichette[i] = new QLabel(QStringLiteral("StaticText") + n, this);
        m_etichette[i]->setObjectName(QStringLiteral("StaticText") + n);
        m_etichette[i]->setTextFormat(Qt::PlainText);
        m_etichette[i]->setFocusPolicy(Qt::NoFocus);
        m_caselle[i] = new QLineEdit(QStringLiteral("Edit") + n, this);
        m_caselle[i]->setObjectName(QStringLiteral("Edit") + n);
        m_caselle[i]->setToolTip(QStringLiteral("F5: i dati dell'ultimo calcolo di questo tipo"));
        prepara_casella_numero(m_caselle[i]);
    }
    QPalette rosso = m_etichette[0]->palette();
    rosso.setColor(QPalette::Window, Qt::red);
    m_etichette[0]->setPalette(rosso);
    m_etichette[0]->setAutoFillBackground(true);

    m_uscita = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("&USCITA"), this);
    m_uscita->setObjectName(QStringLiteral("BitBtn1"));
    m_calcola = new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton), QStringLiteral("CALCOLA"), this);
    m_calcola->setObjectName(QStringLiteral("BitBtn2"));
    m_stampa =
        new QPushButton(style()->standardIcon(QStyle::SP_FileDialogDetailedView), QStringLiteral("STAMPA"), this);
    m_stampa->setObjectName(QStringLiteral("BitBtn3"));
    // Enter presses the focused button, or "CALCOLA" from anywhere else in the form.
    for (QPushButton* b : {m_uscita, m_calcola, m_stampa})
        b->setAutoDefault(true);
    m_calcola->setDefault(true);
    // A click prints without taking the focus, so Enter (CALCOLA) and the space bar never print again.
    m_stampa->setFocusPolicy(Qt::TabFocus);

    m_umidita = gruppo(this, "RadioGroup1", QStringLiteral("umidita"), QStringLiteral("umidità specifica in g/kg"),
                       QStringLiteral("relativa[ %]"), QStringLiteral("specifica [g/kg]"), m_opzioni_umidita);
    m_portata = gruppo(this, "RadioGroup2", QStringLiteral("portata"),
                       QStringLiteral("portata volumetrica in mc/h, ponderale in kg/h"),
                       QStringLiteral("volumetrica [mc/h]"), QStringLiteral("ponderale [kg/h]"), m_opzioni_portata);

    // Tab order as on the screen: the boxes top to bottom, then the button row left to right.
    std::vector<QWidget*> ordine(m_caselle.begin(), m_caselle.end());
    ordine.insert(ordine.end(), {m_calcola, m_stampa, m_uscita, m_opzioni_umidita[0], m_opzioni_umidita[1],
                                 m_opzioni_portata[0], m_opzioni_portata[1]});
    for (std::size_t i = 1; i < ordine.size(); ++i)
        setTabOrder(ordine[i - 1], ordine[i]);

    connect(m_uscita, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_calcola, &QPushButton::clicked, this, [this] { vai_calcolo(); });
    connect(m_stampa, &QPushButton::clicked, this, [this] { stampa(); });

    // The calculation as a file: in the form's context menu (right button) and on their keys.
    auto* salva = new QAction(QStringLiteral("Salva calcolo..."), this);
    salva->setObjectName(QStringLiteral("salva_calcolo"));
    salva->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(salva, &QAction::triggered, this, [this] { salva_calcolo(); });
    auto* apri = new QAction(QStringLiteral("Apri calcolo..."), this);
    apri->setObjectName(QStringLiteral("apri_calcolo"));
    apri->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(apri, &QAction::triggered, this, [this] { apri_calcolo(); });
    addActions({salva, apri});
    setContextMenuPolicy(Qt::ActionsContextMenu);

    m_ctx.maschera = StatoMaschera{};
    m_intestazione = intestazione_ricordata(m_ctx.aria);
    mostra_campi();
    aggiusta();
}

FinestraMaschera::~FinestraMaschera() {
    if (m_aria_sito) m_ctx.aria = *m_aria_sito;
}

FileCalcolo FinestraMaschera::dalle_caselle() const {
    FileCalcolo f;
    f.processo = m_ctx.processo;
    for (std::size_t i = 0; i < m_caselle.size(); ++i)
        f.testi[i] = m_caselle[i]->text().toStdString();
    f.umidita = scelta(m_opzioni_umidita);
    f.portata = scelta(m_opzioni_portata);
    f.pressione = m_ctx.aria.pressione;
    if (m_ctx.aria.modello) f.modello = std::string(m_ctx.aria.modello->chiave());
    if (m_aperto && caselle_come(*m_aperto)) f.risposta = m_aperto->risposta;
    return f;
}

bool FinestraMaschera::caselle_come(const FileCalcolo& f) const {
    for (std::size_t i = 0; i < m_caselle.size(); ++i)
        if (m_caselle[i]->text().toStdString() != f.testi[i]) return false;
    return f.processo == m_ctx.processo && scelta(m_opzioni_umidita) == f.umidita &&
           scelta(m_opzioni_portata) == f.portata;
}

FileCalcolo FinestraMaschera::calcolo() const {
    FileCalcolo f = m_calcolato ? *m_calcolato : dalle_caselle();
    const OpzioniGrafico strati = Impostazioni().strati();
    for (const Famiglia famiglia : famiglie)
        if (strati.famiglia(famiglia)) f.isolinee.emplace_back(nome_famiglia(famiglia));
    f.mollier = strati.mollier;
    f.intestazione = m_intestazione;
    f.intestazione.quota.reset();
    f.quota = m_intestazione.quota;
    return f;
}

void FinestraMaschera::carica(const FileCalcolo& f) {
    if (!m_mostrato) {
        m_da_caricare = f;
        return;
    }
    applica_calcolo(f);
}

void FinestraMaschera::applica_calcolo(const FileCalcolo& f) {
    m_ctx.processo = static_cast<TipoProcesso>(f.processo);
    imposta_maschera(m_ctx);
    StatoMaschera& m = m_ctx.maschera;
    for (std::size_t i = 0; i < m.testo.size(); ++i)
        m.testo[i] = f.testi[i];
    m.umidita = f.umidita;
    m.portata = f.portata;
    if (!m_aria_sito) m_aria_sito = m_ctx.aria;
    m_ctx.aria = aria_del_calcolo(f);
    mostra_campi();
    m_aperto = f;
    m_calcolato.reset();
    m_intestazione = f.intestazione;
    m_intestazione.quota = f.quota;
    // The chart shows the file's layers.
    OpzioniGrafico strati = Impostazioni().strati();
    for (const Famiglia famiglia : famiglie)
        strati.imposta_famiglia(famiglia, false);
    for (const std::string& nome : f.isolinee)
        (void)leggi_isolinee(nome, strati);
    strati.mollier = f.mollier;
    Impostazioni().ricorda_strati(strati);
}

QString chiedi_file_calcolo(QWidget* genitore, bool salva) {
    QFileDialog dialogo(genitore, salva ? QStringLiteral("Salva calcolo") : QStringLiteral("Apri calcolo"));
    dialogo.setAcceptMode(salva ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialogo.setFileMode(salva ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialogo.setOptions(QFileDialog::DontUseNativeDialog);
    if (salva) {
        dialogo.setNameFilter(QStringLiteral("Calcolo ondix (*.ondix)"));
        dialogo.setDefaultSuffix(QStringLiteral("ondix"));
    } else {
        dialogo.setNameFilters({QStringLiteral("Calcolo ondix (*.ondix)"), QStringLiteral("Tutti i file (*)")});
    }
    const QStringList recenti = Impostazioni().calcoli_recenti();
    if (!recenti.isEmpty() && QFileInfo(recenti.first()).dir().exists())
        dialogo.setDirectory(QFileInfo(recenti.first()).absolutePath());
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return {};
    return dialogo.selectedFiles().first();
}

void FinestraMaschera::salva_calcolo() {
    const QString nome = chiedi_file_calcolo(this, true);
    if (!nome.isEmpty()) salva_calcolo_su(nome);
}

bool FinestraMaschera::salva_calcolo_su(const QString& percorso) {
    const FileCalcolo f = calcolo();
    const Fatto salvato = ondix::salva_calcolo(f, QFile::encodeName(percorso).toStdString());
    if (!salvato) {
        avviso(this, QMessageBox::Critical, QString::fromStdString(salvato.errore().testo));
        return false;
    }
    Impostazioni().ricorda_calcolo_recente(QFileInfo(percorso).absoluteFilePath());
    // What was computed is saved, not what the boxes show now (their defaults, once the report has closed): the
    // user is told which inputs the file holds.
    if (m_calcolato && !caselle_come(*m_calcolato)) {
        QStringList dati;
        const StatoMaschera& m = m_ctx.maschera;
        for (std::size_t i = 0; i < m.testo.size(); ++i)
            if (m.testo_visibile[i])
                dati << QString::fromStdString(m.etichetta[i]).remove(QLatin1Char(':')).simplified() +
                            QLatin1Char(' ') + QString::fromStdString(f.testi[i]);
        if (f.risposta) dati << QStringLiteral("risposta ") + QString::fromStdString(*f.risposta);
        avviso(this, QMessageBox::Information,
               QStringLiteral("Salvato in %1 l'ultimo calcolo eseguito: %2.\n\nI dati ora nelle caselle non sono "
                              "stati calcolati e non sono nel file: per salvarli premere prima CALCOLA.")
                   .arg(QFileInfo(percorso).fileName(), dati.join(QStringLiteral("; "))));
    }
    return true;
}

void FinestraMaschera::apri_calcolo() {
    if (m_calcolo_in_corso) return;
    const QString nome = chiedi_file_calcolo(this, false);
    if (!nome.isEmpty()) apri_calcolo_da(nome);
}

bool FinestraMaschera::apri_calcolo_da(const QString& percorso) {
    const auto f = ondix::apri_calcolo(QFile::encodeName(percorso).toStdString());
    if (!f || f->diagramma) {
        avviso(this, QMessageBox::Critical,
               QStringLiteral("Calcolo non aperto: ") +
                   (f ? QStringLiteral("è un diagramma libero; si apre dal menu (Diagramma libero)")
                      : QString::fromStdString(f.errore().testo)));
        return false;
    }
    carica(*f);
    Impostazioni().ricorda_calcolo_recente(QFileInfo(percorso).absoluteFilePath());
    return true;
}

void FinestraMaschera::aggiusta() {
    const LayoutMaschera l = layout_maschera(m_schermo);
    const QFont f = carattere(QStringLiteral("Verdana"), l.punti, true);
    for (std::size_t i = 0; i < 10; ++i) {
        applica(m_etichette[i], l.etichette[i]);
        applica(m_caselle[i], l.caselle[i]);
        m_etichette[i]->setFont(f);
        m_caselle[i]->setFont(f);
    }
    applica(m_calcola, l.calcola);
    applica(m_stampa, l.stampa);
    applica(m_uscita, l.uscita);
    for (QPushButton* b : {m_calcola, m_stampa, m_uscita})
        b->setFont(f);
    applica(m_umidita, l.umidita);
    applica(m_portata, l.portata);
    const QFont fg = carattere(QStringLiteral("Verdana"), l.punti_gruppi, true);
    m_umidita->setFont(fg);
    m_portata->setFont(fg);
    adatta_opzioni(m_umidita, m_opzioni_umidita, fg);
    adatta_opzioni(m_portata, m_opzioni_portata, fg);
}

void FinestraMaschera::inizia() {
    leggi_campi(); // fields the kind does not name keep what they hold
    imposta_maschera(m_ctx);
    mostra_campi();
    riempi_schermo(this, {0, 0, m_schermo.larghezza, m_schermo.altezza});
    // Back from a calculation, the box that has the focus is ready to be typed over.
    if (auto* casella = qobject_cast<QLineEdit*>(focusWidget())) casella->selectAll();
}

void FinestraMaschera::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!m_mostrato) {
        m_mostrato = true;
        inizia();
        if (m_da_caricare) applica_calcolo(*std::exchange(m_da_caricare, std::nullopt));
    }
}

void FinestraMaschera::vai_calcolo() {
    if (m_calcolo_in_corso) return;
    m_calcolo_in_corso = true;
    leggi_campi();
    Impostazioni().ricorda_dati(m_ctx.processo, m_ctx.maschera);
    // The inputs as this calculation reads them, kept for "Salva calcolo" with the answer its input box gives: a
    // file's recorded answer when these are the file's inputs (the box is then not shown), else the user's.
    FileCalcolo dati = dalle_caselle();
    m_esterno.azzera_mostrati();
    m_esterno.azzera_risposta();
    m_esterno.imposta_risposta(dati.risposta);
    m_esterno.imposta_intestazione(m_intestazione);
    QWidget* prima = m_esterno.genitore();
    m_esterno.imposta_genitore(this);
    // Message boxes, input boxes, the chart and the report window open and close while the computation runs;
    // the form is set up again only once it has ended, so none of them resets the fields or the chart table
    // that the computation is still using.
    const ondix::Fatto esito = ondix::vai_calcolo(m_ctx, m_esterno);
    mostra_campi();
    const bool impossibile = !esito && esito.errore().causa == ondix::Causa::impianto;
    if (impossibile)
        m_esterno.messaggio(esito.errore().testo);
    else if (!esito)
        m_esterno.errore(QString::fromUtf8(esito.errore().testo));
    m_esterno.imposta_genitore(prima);
    m_esterno.imposta_risposta(std::nullopt);
    m_intestazione = m_esterno.intestazione();
    dati.risposta = m_esterno.risposta_data();
    m_calcolato = std::move(dati);
    m_calcolo_in_corso = false;
    // Every window opened from the form has closed and the form is active again. Inputs that admit no plant, or
    // that stopped the calculation at an error, stay in the boxes, to be corrected.
    if (esito) inizia();
}

void FinestraMaschera::richiama() {
    if (m_calcolo_in_corso) return;
    leggi_campi();
    if (!Impostazioni().richiama_dati(m_ctx.processo, m_ctx.maschera)) return;
    mostra_campi();
    if (auto* casella = qobject_cast<QLineEdit*>(focusWidget())) casella->selectAll();
}

bool FinestraMaschera::dati_cambiati() const {
    for (std::size_t i = 0; i < m_caselle.size(); ++i)
        if (m_caselle[i]->text().toStdString() != m_stato_mostrato.testo[i]) return true;
    return scelta(m_opzioni_umidita) != m_stato_mostrato.umidita ||
           scelta(m_opzioni_portata) != m_stato_mostrato.portata;
}

void FinestraMaschera::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_F5 && e->modifiers() == Qt::NoModifier) {
        richiama();
        return;
    }
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        // Escape closes the form straight away only when nothing typed would be lost.
        if (dati_cambiati() &&
            !domanda_si_no(this, QStringLiteral("Chiudere la maschera? I dati inseriti andranno persi.")))
            return;
        reject();
        return;
    }
    QDialog::keyPressEvent(e);
}

QStringList FinestraMaschera::righe_da_stampare() const {
    QStringList righe{windowTitle(), QString()};
    for (std::size_t i = 0; i < m_caselle.size(); ++i) {
        if (m_caselle[i]->isHidden()) continue;
        const QString etichetta = m_etichette[i]->isHidden() ? QString() : m_etichette[i]->text();
        righe << etichetta + QLatin1Char(' ') + m_caselle[i]->text();
    }
    for (const auto& [gruppo, opzioni] : {std::pair{m_umidita, &m_opzioni_umidita}, {m_portata, &m_opzioni_portata}})
        if (!gruppo->isHidden()) righe << gruppo->title() + QStringLiteral(": ") + (*opzioni)[scelta(*opzioni)]->text();
    return righe;
}

void FinestraMaschera::stampa() {
    const std::unique_ptr<QPrinter> stampante = stampante_predefinita();
    stampa_o_avvisa(this, stampante.get(),
                    QStringLiteral("Nessuna stampante predefinita installata: i dati non sono stati stampati."),
                    [this](QPrinter& p) { return stampa_su(p); });
    // Reached with the Tab key, "STAMPA" hands the focus back to the first box once it has printed.
    if (focusWidget() == m_stampa) {
        const auto casella =
            std::find_if(m_caselle.begin(), m_caselle.end(), [](QLineEdit* c) { return c->isVisible(); });
        if (casella != m_caselle.end()) (*casella)->setFocus(Qt::OtherFocusReason);
    }
}

bool FinestraMaschera::stampa_su(QPrinter& stampante) {
    return stampa_righe(stampante, righe_da_stampare(), carattere(QStringLiteral("Courier New"), 12, false));
}

void FinestraMaschera::leggi_campi() {
    StatoMaschera& m = m_ctx.maschera;
    for (std::size_t i = 0; i < 10; ++i)
        m.testo[i] = m_caselle[i]->text().toStdString();
    m.umidita = scelta(m_opzioni_umidita);
    m.portata = scelta(m_opzioni_portata);
}

void FinestraMaschera::mostra_campi() {
    const StatoMaschera& m = m_ctx.maschera;
    setWindowTitle(QString::fromStdString(m.titolo));
    // F1 opens the manual on this process's page.
    setProperty("pagina_manuale", pagina_processo(m_ctx.processo));
    for (std::size_t i = 0; i < 10; ++i) {
        m_etichette[i]->setText(QString::fromStdString(m.etichetta[i]));
        m_caselle[i]->setText(QString::fromStdString(m.testo[i]));
        m_etichette[i]->setToolTip(suggerimento_campo(m_ctx.processo, static_cast<int>(i) + 1));
        m_etichette[i]->setVisible(m.etichetta_visibile[i]);
        m_caselle[i]->setVisible(m.testo_visibile[i]);
    }
    m_opzioni_umidita[m.umidita == 1 ? 1 : 0]->setChecked(true);
    m_opzioni_portata[m.portata == 1 ? 1 : 0]->setChecked(true);
    m_umidita->setVisible(m.umidita_visibile);
    m_portata->setVisible(m.portata_visibile);
    m_stato_mostrato = m;
}

} // namespace ondix
