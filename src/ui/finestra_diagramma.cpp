#include "ui/finestra_diagramma.h"

#include "core/diagramma_libero_tabella.h"
#include "core/modello.h"
#include "plot_qt/esporta.h"
#include "ui/dialoghi_diagramma.h"
#include "ui/esterno_qt.h"
#include "ui/finestra_maschera.h"
#include "ui/finestra_rapporto.h"
#include "ui/impostazioni.h"
#include "ui/relazione_pdf.h"
#include "ui/schermo.h"
#include "ui/stampa_testo.h"
#include "ui/strati_grafico.h"
#include "ui/tela_diagramma.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QSplitter>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace ondix {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QTableWidget* tabella(QWidget* genitore, const char* nome, QAbstractItemView::SelectionMode selezione) {
    auto* t = new QTableWidget(genitore);
    t->setObjectName(QString::fromLatin1(nome));
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(selezione);
    t->verticalHeader()->setVisible(false);
    t->setWordWrap(false);
    return t;
}

// The rows of `righe` into `t`: new items when the shape changes, only their texts otherwise (a drag). A cell of the
// column `allarme` that says something is shown in red.
void riempi(QTableWidget* t, const std::vector<std::string>& intestazione,
            const std::vector<std::vector<std::string>>& righe, std::size_t allarme, bool solo_testi) {
    const int n = static_cast<int>(righe.size()), colonne = static_cast<int>(intestazione.size());
    const bool stessa_forma = solo_testi && t->rowCount() == n && t->columnCount() == colonne;
    if (!stessa_forma) {
        t->clear();
        t->setColumnCount(colonne);
        t->setRowCount(n);
        QStringList titoli;
        for (const std::string& s : intestazione)
            titoli << q(s);
        t->setHorizontalHeaderLabels(titoli);
    }
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < colonne; ++c) {
            const QString testo = q(righe[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
            QTableWidgetItem* i = t->item(r, c);
            if (!i) {
                i = new QTableWidgetItem;
                // Numbers to the right, as in the text table.
                if (c >= 2 && static_cast<std::size_t>(c) < allarme)
                    i->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                t->setItem(r, c, i);
            }
            if (i->text() != testo) i->setText(testo);
            if (static_cast<std::size_t>(c) == allarme) i->setForeground(QColor(0xB0, 0x00, 0x00));
        }
    if (!stessa_forma) t->resizeColumnsToContents();
}

} // namespace

FinestraDiagramma::FinestraDiagramma(Aria aria, DimensioniSchermo schermo, QWidget* parent)
    : QDialog(parent), m_schermo(schermo), m_d(aria) {
    setObjectName(QStringLiteral("FinestraDiagramma"));
    setWindowTitle(q(std::string(titolo_diagramma_libero)));
    setProperty("pagina_manuale", QStringLiteral("diagramma.html"));
    costruisci();
    crea_azioni();
    aggiorna();
    dici(QStringLiteral("Clic: nuovo stato (Maiusc: valori tondi); trascinare uno stato lo sposta; Ctrl+clic: "
                        "secondo stato; doppio clic: rinomina; Canc: elimina"));
}

void FinestraDiagramma::costruisci() {
    auto* principale = new QVBoxLayout(this);
    principale->setContentsMargins(2, 2, 2, 2);
    auto* divisore = new QSplitter(Qt::Horizontal, this);
    m_tela = new TelaDiagramma(m_d, divisore);
    auto* destra = new QWidget(divisore);
    auto* colonna = new QVBoxLayout(destra);
    colonna->setContentsMargins(4, 0, 0, 0);
    // Two rows of buttons, close together: the processes to make, then the states and the edits.
    for (const char* nome : {"strumenti", "strumenti_modifica"}) {
        auto* strumenti = new QToolBar(destra);
        strumenti->setObjectName(QString::fromLatin1(nome));
        strumenti->setStyleSheet(QStringLiteral("QToolButton { padding: 1px 2px; }"));
        colonna->addWidget(strumenti);
    }
    colonna->addWidget(new QLabel(QStringLiteral("Stati"), destra));
    m_stati = tabella(destra, "tabella_stati", QAbstractItemView::ExtendedSelection);
    colonna->addWidget(m_stati, 3);
    colonna->addWidget(new QLabel(QStringLiteral("Trasformazioni"), destra));
    m_trasformazioni = tabella(destra, "tabella_trasformazioni", QAbstractItemView::SingleSelection);
    colonna->addWidget(m_trasformazioni, 2);
    m_messaggio = new QLabel(destra);
    m_messaggio->setObjectName(QStringLiteral("messaggio"));
    m_messaggio->setWordWrap(true);
    colonna->addWidget(m_messaggio);
    divisore->addWidget(m_tela);
    divisore->addWidget(destra);
    divisore->setStretchFactor(0, 3);
    divisore->setStretchFactor(1, 2);
    const int w = std::max<int>(m_schermo.larghezza, 400);
    divisore->setSizes({w * 3 / 5, w * 2 / 5});
    principale->addWidget(divisore);

    m_tela->modificato = [this](bool in_corso) {
        if (in_corso) {
            riempi_tabelle(true);
        } else {
            aggiorna();
        }
    };
    m_tela->selezione_cambiata = [this] { selezione_nelle_tabelle(); };
    m_tela->doppio_clic = [this](int id) { rinomina(id); };
    m_tela->avviso = [this](const QString& testo) { dici(testo); };
    connect(m_stati, &QTableWidget::itemSelectionChanged, this, [this] { selezione_dalle_tabelle(); });
    connect(m_stati, &QTableWidget::cellDoubleClicked, this, [this](int riga, int) {
        if (riga >= 0 && static_cast<std::size_t>(riga) < m_d.numero_stati())
            rinomina(m_d.definizione_stato(static_cast<std::size_t>(riga)).id);
    });
    connect(m_trasformazioni, &QTableWidget::cellDoubleClicked, this,
            [this](int riga, int) { modifica_trasformazione(riga); });
    connect(m_trasformazioni, &QTableWidget::itemSelectionChanged, this, [this] {
        // A process chosen in the table shows its states on the chart.
        if (m_riempimento) return;
        const auto righe = m_trasformazioni->selectionModel()->selectedRows();
        if (righe.isEmpty()) return;
        const DefinizioneTrasformazione& k = m_d.definizione_trasformazione(static_cast<std::size_t>(righe[0].row()));
        std::vector<int> ids{k.da};
        for (const int id : {k.con, k.uscita})
            if (id != 0) ids.push_back(id);
        m_tela->seleziona(ids);
        selezione_nelle_tabelle();
    });
}

void FinestraDiagramma::crea_azioni() {
    auto* barra = new QMenuBar(this);
    layout()->setMenuBar(barra);
    const auto nuova = [this](const QString& testo, const char* nome, QKeySequence tasto, auto funzione) {
        auto* a = new QAction(testo, this);
        a->setObjectName(QString::fromLatin1(nome));
        if (!tasto.isEmpty()) a->setShortcut(tasto);
        connect(a, &QAction::triggered, this, funzione);
        addAction(a);
        return a;
    };
    QMenu* file = barra->addMenu(QStringLiteral("&File"));
    file->addAction(
        nuova(QStringLiteral("Apri diagramma..."), "apri_diagramma", QKeySequence::Open, [this] { apri(); }));
    file->addAction(
        nuova(QStringLiteral("Salva diagramma"), "salva_diagramma", QKeySequence::Save, [this] { salva(false); }));
    file->addAction(nuova(QStringLiteral("Salva diagramma con nome..."), "salva_diagramma_come",
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { salva(true); }));
    file->addSeparator();
    file->addAction(nuova(QStringLiteral("Stampa grafico"), "stampa", QKeySequence::Print, [this] { stampa(); }));
    file->addAction(nuova(QStringLiteral("Salva immagine..."), "salva_immagine", QKeySequence(Qt::CTRL | Qt::Key_E),
                          [this] { salva_immagine(); }));
    file->addSeparator();
    file->addAction(nuova(QStringLiteral("Chiudi"), "chiudi", QKeySequence(), [this] { close(); }));

    QMenu* modifica = barra->addMenu(QStringLiteral("&Modifica"));
    QAction* annulla = nuova(QStringLiteral("Annulla"), "annulla", QKeySequence::Undo, [this] {
        const QString passo = q(m_d.prossimo_annulla());
        if (m_d.annulla()) dici(QStringLiteral("annullato: ") + passo);
        aggiorna();
    });
    QAction* ripeti = nuova(QStringLiteral("Ripeti"), "ripeti", QKeySequence(Qt::CTRL | Qt::Key_Y), [this] {
        const QString passo = q(m_d.prossimo_ripeti());
        if (m_d.ripeti()) dici(QStringLiteral("ripetuto: ") + passo);
        aggiorna();
    });
    ripeti->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    modifica->addActions({annulla, ripeti});
    modifica->addSeparator();
    QAction* rinomina_stato = nuova(QStringLiteral("Rinomina stato..."), "rinomina", QKeySequence(Qt::Key_F2), [this] {
        if (!m_tela->selezione().empty()) rinomina(m_tela->selezione().front());
    });
    QAction* elimina_sel = nuova(QStringLiteral("Elimina"), "elimina", QKeySequence::Delete, [this] { elimina(); });
    modifica->addActions({rinomina_stato, elimina_sel});
    modifica->addSeparator();
    modifica->addAction(nuova(QStringLiteral("Copia tabella (per un foglio di calcolo)"), "copia_tabella",
                              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), [this] { copia_tabella(); }));

    QMenu* stati = barra->addMenu(QStringLiteral("&Stati"));
    QAction* nuovo = nuova(QStringLiteral("Nuovo stato da due grandezze..."), "nuovo_stato", QKeySequence::New,
                           [this] { nuovo_stato(); });
    stati->addAction(nuovo);

    QMenu* trasformazioni = barra->addMenu(QStringLiteral("&Trasformazioni"));
    QToolBar* strumenti = findChild<QToolBar*>(QStringLiteral("strumenti"));
    nuovo->setIconText(QStringLiteral("Stato..."));
    // The buttons' short names, in the order of the kinds.
    const char* brevi[] = {"Miscela", "Sensibile", "Batteria", "Adiabatica", "Vapore", "Linea"};
    int tasto = Qt::Key_1;
    for (const TipoTrasformazione t : tipi_trasformazione) {
        const std::string nome = "trasformazione_" + std::string(chiave_trasformazione(t));
        QAction* a = nuova(QString::fromUtf8(nome_trasformazione(t).data()) + QStringLiteral("..."), nome.c_str(),
                           QKeySequence(Qt::CTRL | tasto), [this, t] { nuova_trasformazione(t); });
        a->setIconText(QString::fromLatin1(brevi[tasto - Qt::Key_1]));
        a->setToolTip(a->text() + QStringLiteral(" (") + a->shortcut().toString(QKeySequence::NativeText) +
                      QStringLiteral(")"));
        ++tasto;
        trasformazioni->addAction(a);
        strumenti->addAction(a);
    }
    annulla->setIconText(QStringLiteral("Annulla"));
    ripeti->setIconText(QStringLiteral("Ripeti"));
    rinomina_stato->setIconText(QStringLiteral("Rinomina"));
    elimina_sel->setIconText(QStringLiteral("Elimina"));
    QAction* copia = azione("copia_tabella");
    copia->setIconText(QStringLiteral("Copia"));
    findChild<QToolBar*>(QStringLiteral("strumenti_modifica"))
        ->addActions({nuovo, rinomina_stato, elimina_sel, annulla, ripeti, copia});

    QMenu* grafico = barra->addMenu(QStringLiteral("&Grafico"));
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
    // The chart's own menu: what the states and the layers can do.
    m_tela->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_tela->addActions({nuovo});
    m_tela->addActions(trasformazioni->actions());
    auto* separatore = new QAction(this);
    separatore->setSeparator(true);
    m_tela->addActions({separatore, rinomina_stato, elimina_sel, annulla, ripeti});
    auto* separatore2 = new QAction(this);
    separatore2->setSeparator(true);
    m_tela->addAction(separatore2);
    m_tela->addActions(grafico->actions());
}

QAction* FinestraDiagramma::azione(const char* nome) const {
    return findChild<QAction*>(QString::fromLatin1(nome));
}

QString FinestraDiagramma::messaggio() const {
    return m_messaggio->text();
}

void FinestraDiagramma::dici(const QString& testo) {
    m_messaggio->setText(testo);
}

void FinestraDiagramma::aggiorna() {
    m_tela->seleziona(m_tela->selezione()); // drops the states that are gone
    m_tela->ridisegna();
    riempi_tabelle(false);
    QAction* annulla = azione("annulla");
    QAction* ripeti = azione("ripeti");
    annulla->setEnabled(m_d.puo_annullare());
    ripeti->setEnabled(m_d.puo_ripetere());
    annulla->setText(m_d.puo_annullare() ? QStringLiteral("Annulla: ") + q(m_d.prossimo_annulla())
                                         : QStringLiteral("Annulla"));
    ripeti->setText(m_d.puo_ripetere() ? QStringLiteral("Ripeti: ") + q(m_d.prossimo_ripeti())
                                       : QStringLiteral("Ripeti"));
    setWindowTitle(q(std::string(titolo_diagramma_libero)) +
                   (m_file.isEmpty() ? QString() : QStringLiteral(" - ") + QFileInfo(m_file).fileName()));
}

void FinestraDiagramma::riempi_tabelle(bool solo_testi) {
    m_riempimento = true;
    const TabellaDiagramma t = tabella_diagramma(m_d);
    riempi(m_stati, t.intestazione_stati, t.stati, colonna_note_stati, solo_testi);
    riempi(m_trasformazioni, t.intestazione_trasformazioni, t.trasformazioni, colonna_esito_trasformazioni, solo_testi);
    m_riempimento = false;
    if (!solo_testi) selezione_nelle_tabelle();
}

void FinestraDiagramma::selezione_dalle_tabelle() {
    if (m_riempimento) return;
    std::vector<int> ids;
    for (const QModelIndex& i : m_stati->selectionModel()->selectedRows())
        if (static_cast<std::size_t>(i.row()) < m_d.numero_stati())
            ids.push_back(m_d.definizione_stato(static_cast<std::size_t>(i.row())).id);
    // The order they were picked in stays: the first is a process's inlet.
    std::vector<int> ordinati;
    for (const int id : m_tela->selezione())
        if (std::find(ids.begin(), ids.end(), id) != ids.end()) ordinati.push_back(id);
    for (const int id : ids)
        if (std::find(ordinati.begin(), ordinati.end(), id) == ordinati.end()) ordinati.push_back(id);
    m_tela->seleziona(ordinati);
}

void FinestraDiagramma::selezione_nelle_tabelle() {
    const bool prima = m_riempimento;
    m_riempimento = true;
    m_stati->clearSelection();
    for (const int id : m_tela->selezione())
        if (const auto i = m_d.indice_stato(id))
            m_stati->selectionModel()->select(m_stati->model()->index(static_cast<int>(*i), 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    m_riempimento = prima;
}

bool FinestraDiagramma::nuova_trasformazione(TipoTrasformazione t) {
    const std::vector<int>& sel = m_tela->selezione();
    const std::size_t servono = due_ingressi(t) ? 2 : 1;
    if (sel.size() < servono) {
        dici(servono == 2 ? QStringLiteral("Selezionare prima i due stati (Ctrl+clic sul secondo).")
                          : QStringLiteral("Selezionare prima lo stato di ingresso."));
        return false;
    }
    DefinizioneTrasformazione k = trasformazione_tra(t, sel[0], servono == 2 ? sel[1] : 0);
    // Starting values near the inlet.
    if (const auto i = m_d.indice_stato(k.da); i && m_d.stato(*i).stato) {
        const StatoCompleto& a = *m_d.stato(*i).stato;
        k.t_uscita = std::round(a.t + 10.0);
        k.t_batteria = std::round(std::min(a.t - 5.0, a.rugiada.value_or(a.t) - 5.0));
        k.x_uscita = std::round(a.x + 2.0);
    }
    QString stati = QStringLiteral("da ") + q(nome_stato(m_d, k.da));
    if (k.con != 0)
        stati += (t == TipoTrasformazione::linea ? QStringLiteral(" a ") : QStringLiteral(" con ")) +
                 q(nome_stato(m_d, k.con));
    const auto p = chiedi_parametri(this, k, stati);
    if (!p) return false;
    const auto r = m_d.aggiungi_trasformazione(*p);
    if (!r) {
        dici(q(r.errore().testo));
        return false;
    }
    if (t != TipoTrasformazione::linea) m_tela->seleziona({*r});
    aggiorna();
    const RisultatoTrasformazione& fatto = m_d.trasformazione(m_d.numero_trasformazioni() - 1);
    dici(fatto.rifiuto ? QStringLiteral("Impossibile: ") + q(fatto.rifiuto->testo)
                       : QStringLiteral("Fatto: ") + q(m_d.prossimo_annulla()));
    return true;
}

void FinestraDiagramma::modifica_trasformazione(int riga) {
    if (riga < 0 || static_cast<std::size_t>(riga) >= m_d.numero_trasformazioni()) return;
    const std::size_t k = static_cast<std::size_t>(riga);
    const RisultatoTrasformazione& r = m_d.trasformazione(k);
    // The parameters it runs with now, also when they were found from its placed outlet.
    DefinizioneTrasformazione d = r.rifiuto ? m_d.definizione_trasformazione(k) : r.usata;
    const auto p = chiedi_parametri(this, d, QStringLiteral("da ") + q(nome_stato(m_d, d.da)));
    if (!p) return;
    if (const Fatto f = m_d.modifica_trasformazione(*p); !f) dici(q(f.errore().testo));
    aggiorna();
}

void FinestraDiagramma::nuovo_stato() {
    StatoDigitato s{"", {Grandezza::t, 26.0}, {Grandezza::ur, 50.0}};
    while (const auto digitato = chiedi_stato(this, s)) {
        s = *digitato;
        const auto r = m_d.aggiungi_stato(s.nome, s.a, s.b);
        if (r) {
            m_tela->seleziona({*r});
            aggiorna();
            return;
        }
        avviso(this, QMessageBox::Warning, QStringLiteral("Stato non aggiunto: ") + q(r.errore().testo));
    }
}

void FinestraDiagramma::rinomina(int id) {
    bool ok = false;
    const QString nome = QInputDialog::getText(this, QStringLiteral("Rinomina stato"), QStringLiteral("Nome:"),
                                               QLineEdit::Normal, q(nome_stato(m_d, id)), &ok);
    if (!ok) return;
    if (const Fatto f = m_d.rinomina(id, nome.trimmed().toStdString()); !f) dici(q(f.errore().testo));
    aggiorna();
}

void FinestraDiagramma::elimina() {
    const auto righe = m_trasformazioni->selectionModel()->selectedRows();
    if (m_trasformazioni->hasFocus() && !righe.isEmpty()) {
        m_d.elimina_trasformazione(m_d.definizione_trasformazione(static_cast<std::size_t>(righe[0].row())).id);
    } else {
        for (const int id : std::vector<int>(m_tela->selezione()))
            m_d.elimina_stato(id);
    }
    aggiorna();
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
        const auto intestazione = chiedi_intestazione(this);
        if (!intestazione) return;
        const GraficoDocumento grafico{m_tela->procedura(), strati_per_file()};
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

void FinestraDiagramma::reject() {
    if (modificato()) {
        QMessageBox domanda(QMessageBox::Question, windowTitle(),
                            QStringLiteral("Il diagramma non è salvato. Salvarlo prima di chiudere?"),
                            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
        domanda.setDefaultButton(QMessageBox::Save);
        const int scelta = domanda.exec();
        if (scelta == QMessageBox::Cancel) return;
        if (scelta == QMessageBox::Save) {
            salva(false);
            if (modificato()) return; // not saved: the window stays
        }
    }
    QDialog::reject();
}

void FinestraDiagramma::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    riempi_schermo(this, {0, 0, m_schermo.larghezza, m_schermo.altezza});
}

void FinestraDiagramma::keyPressEvent(QKeyEvent* e) {
    // Escape clears the selection first; with nothing selected it closes the window, as in every dialog.
    if (e->key() == Qt::Key_Escape && !m_tela->selezione().empty()) {
        m_tela->seleziona({});
        selezione_nelle_tabelle();
        return;
    }
    QDialog::keyPressEvent(e);
}

void apri_finestra_diagramma(QWidget* genitore, Aria aria, DimensioniSchermo schermo, const FileCalcolo* file,
                             const QString& percorso) {
    FinestraDiagramma finestra(aria, schermo, genitore);
    if (file) finestra.carica(*file, percorso);
    finestra.exec();
}

} // namespace ondix
