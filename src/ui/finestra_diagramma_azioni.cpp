// The working chart's window: its menus, buttons and keys; the table copied; the chart printed and saved as a
// picture; the chart saved to and opened from a calculation file.
#include "core/diagramma_libero_tabella.h"
#include "core/modello.h"
#include "plot_qt/esporta.h"
#include "ui/esterno_qt.h"
#include "ui/finestra_diagramma.h"
#include "ui/finestra_maschera.h"
#include "ui/finestra_rapporto.h"
#include "ui/impostazioni.h"
#include "ui/relazione_pdf.h"
#include "ui/stampa_testo.h"
#include "ui/strati_grafico.h"
#include "ui/tela_diagramma.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QToolBar>

namespace ondix {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QAction* separatore(QObject* genitore) {
    auto* s = new QAction(genitore);
    s->setSeparator(true);
    return s;
}

} // namespace

QAction* FinestraDiagramma::nuova_azione(const QString& testo, const char* nome, const QKeySequence& tasto,
                                         const std::function<void()>& funzione) {
    auto* a = new QAction(testo, this);
    a->setObjectName(QString::fromLatin1(nome));
    if (!tasto.isEmpty()) a->setShortcut(tasto);
    connect(a, &QAction::triggered, this, funzione);
    addAction(a);
    return a;
}

void FinestraDiagramma::crea_azioni() {
    auto* barra = new QMenuBar(this);
    layout()->setMenuBar(barra);
    QMenu* file = barra->addMenu(QStringLiteral("&File"));
    file->addAction(
        nuova_azione(QStringLiteral("Apri diagramma..."), "apri_diagramma", QKeySequence::Open, [this] { apri(); }));
    file->addAction(nuova_azione(QStringLiteral("Salva diagramma"), "salva_diagramma", QKeySequence::Save,
                                 [this] { salva(false); }));
    file->addAction(nuova_azione(QStringLiteral("Salva diagramma con nome..."), "salva_diagramma_come",
                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { salva(true); }));
    file->addSeparator();
    file->addAction(
        nuova_azione(QStringLiteral("Stampa grafico"), "stampa", QKeySequence::Print, [this] { stampa(); }));
    file->addAction(nuova_azione(QStringLiteral("Salva immagine..."), "salva_immagine",
                                 QKeySequence(Qt::CTRL | Qt::Key_E), [this] { salva_immagine(); }));
    file->addSeparator();
    file->addAction(nuova_azione(QStringLiteral("Chiudi"), "chiudi", QKeySequence(), [this] { close(); }));
    crea_menu_modifica(barra->addMenu(QStringLiteral("&Modifica")));
    QMenu* stati = barra->addMenu(QStringLiteral("&Stati"));
    stati->addAction(nuova_azione(QStringLiteral("Nuovo stato da due grandezze..."), "nuovo_stato", QKeySequence::New,
                                  [this] { nuovo_stato(); }));
    crea_menu_trasformazioni(barra->addMenu(QStringLiteral("&Trasformazioni")));
    crea_menu_grafico(barra->addMenu(QStringLiteral("&Grafico")));
    crea_barre_e_menu_tela();
}

void FinestraDiagramma::crea_menu_modifica(QMenu* modifica) {
    QAction* annulla = nuova_azione(QStringLiteral("Annulla"), "annulla", QKeySequence::Undo, [this] {
        const QString passo = q(m_d.prossimo_annulla());
        if (m_d.annulla()) dici(QStringLiteral("annullato: ") + passo);
        aggiorna();
    });
    QAction* ripeti = nuova_azione(QStringLiteral("Ripeti"), "ripeti", QKeySequence(Qt::CTRL | Qt::Key_Y), [this] {
        const QString passo = q(m_d.prossimo_ripeti());
        if (m_d.ripeti()) dici(QStringLiteral("ripetuto: ") + passo);
        aggiorna();
    });
    ripeti->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    modifica->addActions({annulla, ripeti, separatore(this)});
    modifica->addAction(nuova_azione(QStringLiteral("Rinomina stato..."), "rinomina", QKeySequence(Qt::Key_F2), [this] {
        if (!m_tela->selezione().empty()) rinomina(m_tela->selezione().front());
    }));
    modifica->addAction(
        nuova_azione(QStringLiteral("Elimina"), "elimina", QKeySequence::Delete, [this] { elimina(); }));
    modifica->addSeparator();
    modifica->addAction(nuova_azione(QStringLiteral("Copia tabella (per un foglio di calcolo)"), "copia_tabella",
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), [this] { copia_tabella(); }));
}

void FinestraDiagramma::crea_menu_trasformazioni(QMenu* trasformazioni) {
    // The buttons' short names, in the order of the kinds.
    const char* brevi[] = {"Miscela", "Sensibile", "Batteria", "Adiabatica", "Vapore", "Linea"};
    int tasto = Qt::Key_1;
    for (const TipoTrasformazione t : tipi_trasformazione) {
        const std::string nome = "trasformazione_" + std::string(chiave_trasformazione(t));
        QAction* a = nuova_azione(QString::fromUtf8(nome_trasformazione(t).data()) + QStringLiteral("..."),
                                  nome.c_str(), QKeySequence(Qt::CTRL | tasto), [this, t] { nuova_trasformazione(t); });
        a->setIconText(QString::fromLatin1(brevi[tasto - Qt::Key_1]));
        a->setToolTip(a->text() + QStringLiteral(" (") + a->shortcut().toString(QKeySequence::NativeText) +
                      QStringLiteral(")"));
        ++tasto;
        trasformazioni->addAction(a);
    }
}

void FinestraDiagramma::crea_menu_grafico(QMenu* grafico) {
    const Impostazioni impostazioni;
    const int prima = static_cast<int>(actions().size());
    crea_interruttori_strati(
        this, impostazioni.strati(), impostazioni.lettura(), [this] { cambia_strati(); },
        [this] {
            if (chiedi_zona_comfort(this)) cambia_strati();
        });
    grafico->addActions(actions().mid(prima));
    m_tela->imposta_strati(impostazioni.strati());
    m_tela->imposta_lettura(impostazioni.lettura());
}

void FinestraDiagramma::crea_barre_e_menu_tela() {
    // Two rows of buttons by their short names: the processes, then the states and the edits.
    const std::pair<const char*, const char*> brevi[] = {{"nuovo_stato", "Stato..."}, {"rinomina", "Rinomina"},
                                                         {"elimina", "Elimina"},      {"annulla", "Annulla"},
                                                         {"ripeti", "Ripeti"},        {"copia_tabella", "Copia"}};
    QList<QAction*> modifiche;
    for (const auto& [nome, breve] : brevi) {
        azione(nome)->setIconText(QString::fromLatin1(breve));
        modifiche << azione(nome);
    }
    QList<QAction*> trasformazioni;
    for (const TipoTrasformazione t : tipi_trasformazione)
        trasformazioni << azione(("trasformazione_" + std::string(chiave_trasformazione(t))).c_str());
    findChild<QToolBar*>(QStringLiteral("strumenti"))->addActions(trasformazioni);
    findChild<QToolBar*>(QStringLiteral("strumenti_modifica"))->addActions(modifiche);
    // The chart's own menu: what the states and the layers can do.
    m_tela->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_tela->addAction(azione("nuovo_stato"));
    m_tela->addActions(trasformazioni);
    m_tela->addActions({separatore(this), azione("rinomina"), azione("elimina"), azione("annulla"), azione("ripeti"),
                        separatore(this)});
    m_tela->addActions(findChild<QMenuBar*>()->actions().last()->menu()->actions());
}

QAction* FinestraDiagramma::azione(const char* nome) const {
    return findChild<QAction*>(QString::fromLatin1(nome));
}

void FinestraDiagramma::copia_tabella() {
    QApplication::clipboard()->setText(q(tabella_tsv(m_d)));
    dici(QStringLiteral("Tabella copiata: incollarla in un foglio di calcolo."));
}

OpzioniGrafico FinestraDiagramma::strati_per_file() const {
    return con_titolo_libero(m_tela->strati(), m_d.aria());
}

bool FinestraDiagramma::stampa_su(QPrinter& stampante) {
    return stampa_grafico(stampante, m_tela->plotter(), m_tela->procedura(), strati_per_file(), m_tela->strati());
}

void FinestraDiagramma::stampa() {
    const std::unique_ptr<QPrinter> stampante = stampante_predefinita();
    stampa_o_avvisa(this, stampante.get(),
                    QStringLiteral("Nessuna stampante predefinita installata: il grafico non è stato stampato."),
                    [this](QPrinter& p) { return stampa_su(p); });
}

bool FinestraDiagramma::salva_immagine_su(const QString& percorso) {
    const auto errore = esporta_disegno(m_tela->procedura(), strati_per_file(), larghezza_schermata, altezza_schermata,
                                        percorso.toStdString());
    if (!errore) return true;
    avviso(this, QMessageBox::Critical, QStringLiteral("Immagine non salvata: %1").arg(q(*errore)));
    return false;
}

void FinestraDiagramma::salva_immagine() {
    bool relazione = false;
    const QString nome = chiedi_file_immagine(this, &relazione);
    if (nome.isEmpty()) return;
    bool salvato = false;
    if (relazione) {
        const auto intestazione = chiedi_intestazione(this, intestazione_ricordata(m_d.aria()), m_d.aria().pressione);
        if (!intestazione) return;
        const GraficoDocumento grafico{m_tela->procedura(), strati_per_file(), {}};
        salvato = scrivi_relazione(this, documento_diagramma(m_d, *intestazione, ONDIX_VERSIONE), &grafico, nome);
    } else {
        salvato = salva_immagine_su(nome);
    }
    if (salvato) Impostazioni().ricorda_cartella_immagini(QFileInfo(nome).absolutePath());
}

void FinestraDiagramma::cambia_strati() {
    const bool lettura = lettura_degli_interruttori(this);
    Impostazioni().ricorda_lettura(lettura);
    m_tela->imposta_lettura(lettura);
    const OpzioniGrafico o = strati_degli_interruttori(this, m_tela->strati());
    Impostazioni().ricorda_strati(o);
    if (!(o == m_tela->strati())) m_tela->imposta_strati(o);
}

FileCalcolo FinestraDiagramma::file_calcolo() const {
    FileCalcolo f = m_contorno;
    f.processo = 0;
    f.diagramma = m_d.definizione();
    if (f.pressione != m_d.aria().pressione) f.quota.reset();
    f.pressione = m_d.aria().pressione;
    f.modello = m_d.aria().modello ? std::string(m_d.aria().modello->chiave()) : std::string();
    f.isolinee.clear();
    for (const Famiglia famiglia : famiglie)
        if (m_tela->strati().famiglia(famiglia)) f.isolinee.emplace_back(nome_famiglia(famiglia));
    f.mollier = m_tela->strati().mollier;
    return f;
}

bool FinestraDiagramma::salva_file(const QString& percorso) {
    const Fatto salvato = salva_calcolo(file_calcolo(), QFile::encodeName(percorso).toStdString());
    if (!salvato) {
        avviso(this, QMessageBox::Critical, q(salvato.errore().testo));
        return false;
    }
    m_file = percorso;
    m_salvato = m_d.definizione();
    Impostazioni().ricorda_calcolo_recente(QFileInfo(percorso).absoluteFilePath());
    dici(QStringLiteral("Salvato in ") + percorso);
    aggiorna();
    return true;
}

void FinestraDiagramma::salva(bool come) {
    const QString nome = come || m_file.isEmpty() ? chiedi_file_calcolo(this, true) : m_file;
    if (!nome.isEmpty()) salva_file(nome);
}

void FinestraDiagramma::apri() {
    const QString nome = chiedi_file_calcolo(this, false);
    if (!nome.isEmpty()) apri_file(nome);
}

bool FinestraDiagramma::apri_file(const QString& percorso) {
    const auto f = apri_calcolo(QFile::encodeName(percorso).toStdString());
    if (!f || !f->diagramma) {
        avviso(this, QMessageBox::Critical,
               QStringLiteral("Diagramma non aperto: ") +
                   (f ? QStringLiteral("il file è un calcolo della maschera") : q(f.errore().testo)));
        return false;
    }
    carica(*f, percorso);
    Impostazioni().ricorda_calcolo_recente(QFileInfo(percorso).absoluteFilePath());
    return true;
}

void FinestraDiagramma::carica(const FileCalcolo& f, const QString& percorso) {
    DiagrammaLibero prova(aria_del_calcolo(f));
    if (const Fatto caricato = prova.carica(f.diagramma.value_or(DefinizioneDiagramma{})); !caricato) {
        avviso(this, QMessageBox::Critical, QStringLiteral("Diagramma non aperto: ") + q(caricato.errore().testo));
        return;
    }
    m_d.imposta_aria(prova.aria());
    (void)m_d.carica(*f.diagramma);
    m_salvato = m_d.definizione();
    m_contorno = f;
    m_file = percorso;
    // The chart shows the file's layers, as a calculation opened in the form does.
    OpzioniGrafico strati = m_tela->strati();
    for (const Famiglia famiglia : famiglie)
        strati.imposta_famiglia(famiglia, false);
    for (const std::string& nome : f.isolinee)
        (void)leggi_isolinee(nome, strati);
    strati.mollier = f.mollier;
    const char* nomi[] = {"strato_ur", "strato_h", "strato_tbu", "strato_v"};
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker blocco(azione(nomi[i]));
        azione(nomi[i])->setChecked(strati.famiglia(famiglie[i]));
    }
    {
        const QSignalBlocker blocco(azione("strato_mollier"));
        azione("strato_mollier")->setChecked(strati.mollier);
    }
    Impostazioni().ricorda_strati(strati);
    m_tela->seleziona({});
    m_tela->imposta_strati(strati);
    aggiorna();
}

} // namespace ondix
