#include "ui/finestra_diagramma.h"

#include "core/diagramma_libero_tabella.h"
#include "ui/dialoghi_diagramma.h"
#include "ui/esterno_qt.h"
#include "ui/schermo.h"
#include "ui/tela_diagramma.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
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
    // The air when it is not the program's own (a site pressure, a model), and the file.
    QString titolo = q(std::string(titolo_diagramma_libero));
    if (!(m_d.aria() == Aria{}))
        titolo += QStringLiteral(" - ") + q(riga_titolo(0, m_d.aria().pressione, m_d.aria().modello));
    if (!m_file.isEmpty()) titolo += QStringLiteral(" - ") + QFileInfo(m_file).fileName();
    setWindowTitle(titolo);
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
