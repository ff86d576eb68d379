#include "ui/finestra_uta.h"

#include "core/numeri.h"
#include "core/richiesta_aria.h"
#include "core/uta_file.h"
#include "ui/finestra_uta_campi.h"
#include "ui/impostazioni.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace ondix {

using namespace finestra_uta;

namespace {

Uta unita_nuova() {
    Uta u;
    u.portata_esterna = {1000.0, false};
    u.ambiente = *stato_da_coppia({Grandezza::t, 26.0}, {Grandezza::ur, 50.0});
    Condizione k;
    k.nome = "estate";
    k.stagione = Stagione::estate;
    k.esterna = *stato_da_coppia({Grandezza::t, 32.0}, {Grandezza::ur, 50.0});
    u.condizioni.push_back(k);
    return u;
}

// The state (t, ur) in the air `a`, or why no air has it.
Esito<StatoCompleto> stato_tur(double t, double ur, Aria a) {
    return stato_da_coppia({Grandezza::t, t}, {Grandezza::ur, ur}, a);
}

} // namespace

FinestraUta::FinestraUta(EsternoQt::FornitoreRapporto rapporto, EsternoQt::ApriGrafico grafico, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FinestraUta"));
    setWindowTitle(QStringLiteral("UNITA DI TRATTAMENTO ARIA"));
    m_esterno.imposta_rapporto(std::move(rapporto));
    if (grafico) m_esterno.imposta_grafico(std::move(grafico));
    m_esterno.imposta_genitore(this);
    costruisci();
    imposta_uta(unita_nuova());
}

void FinestraUta::costruisci() {
    auto* principale = new QVBoxLayout(this);
    costruisci_pulsanti(principale);
    auto* corpo = new QHBoxLayout;
    principale->addLayout(corpo);

    // The unit and its conditions.
    auto* sinistra = new QVBoxLayout;
    corpo->addLayout(sinistra, 1);
    QFormLayout* fu = costruisci_unita(sinistra);
    QFormLayout* fc = costruisci_condizioni(sinistra);

    // The sections in the air's order.
    auto* centro = new QVBoxLayout;
    corpo->addLayout(centro, 1);
    costruisci_sezioni(centro);

    // The parameters of the section selected.
    m_parametri = new QGroupBox(QStringLiteral("Parametri della sezione"), this);
    m_modulo = new QFormLayout(m_parametri);
    // Within a 1024-pixel screen: a label too long for its row goes above its box.
    for (QFormLayout* f : {fu, fc, m_modulo})
        f->setRowWrapPolicy(QFormLayout::WrapLongRows);
    corpo->addWidget(m_parametri, 1);

    m_esito = new QLabel(this);
    m_esito->setObjectName(QStringLiteral("Esito"));
    m_esito->setWordWrap(true);
    principale->addWidget(m_esito);
    aggiorna_recenti();
    resize(1000, 600);
}

void FinestraUta::costruisci_pulsanti(QVBoxLayout* principale) {
    auto* file = new QHBoxLayout;
    auto* apri_b = pulsante(this, QStringLiteral("Apri..."), "Apri");
    auto* salva_b = pulsante(this, QStringLiteral("Salva..."), "Salva");
    m_recenti = pulsante(this, QStringLiteral("Recenti"), "Recenti");
    m_recenti->setMenu(new QMenu(m_recenti));
    auto* calcola_b = pulsante(this, QStringLiteral("CALCOLA"), "Calcola");
    auto* chiudi_b = pulsante(this, QStringLiteral("Chiudi"), "Chiudi");
    for (QPushButton* b : {apri_b, salva_b, m_recenti})
        file->addWidget(b);
    file->addStretch();
    file->addWidget(calcola_b);
    file->addWidget(chiudi_b);
    principale->addLayout(file);
    connect(apri_b, &QPushButton::clicked, this, [this] { apri(); });
    connect(salva_b, &QPushButton::clicked, this, [this] { salva(); });
    connect(calcola_b, &QPushButton::clicked, this, [this] { calcola(); });
    connect(chiudi_b, &QPushButton::clicked, this, &QDialog::accept);
}

QFormLayout* FinestraUta::costruisci_unita(QVBoxLayout* colonna) {
    auto* gruppo_unita = new QGroupBox(QStringLiteral("Unità"), this);
    auto* fu = new QFormLayout(gruppo_unita);
    m_nome = casella(this, "NomeUta");
    m_pressione = casella(this, "Pressione");
    m_portata = casella(this, "PortataEsterna");
    m_unita_portata = new QComboBox(this);
    m_unita_portata->setObjectName(QStringLiteral("UnitaPortata"));
    m_unita_portata->addItems({QStringLiteral("m3/h"), QStringLiteral("kg/h")});
    m_espulsione = casella(this, "PortataEspulsione");
    m_espulsione->setPlaceholderText(QStringLiteral("come la mandata"));
    m_ambiente_t = casella(this, "AmbienteT");
    m_ambiente_ur = casella(this, "AmbienteUr");
    fu->addRow(QStringLiteral("Nome"), m_nome);
    fu->addRow(QStringLiteral("Pressione [Pa]"), m_pressione);
    fu->addRow(QStringLiteral("Portata aria esterna"), m_portata);
    fu->addRow(QStringLiteral("Unità delle portate"), m_unita_portata);
    fu->addRow(QStringLiteral("Portata espulsione"), m_espulsione);
    fu->addRow(QStringLiteral("Ambiente: temperatura [C]"), m_ambiente_t);
    fu->addRow(QStringLiteral("Ambiente: umidità relativa [%]"), m_ambiente_ur);
    colonna->addWidget(gruppo_unita);
    for (QLineEdit* e : {m_nome, m_pressione, m_portata, m_espulsione, m_ambiente_t, m_ambiente_ur})
        connect(e, &QLineEdit::textEdited, this, [this] { leggi_unita(); });
    connect(m_unita_portata, &QComboBox::currentIndexChanged, this, [this] { leggi_unita(); });
    return fu;
}

QFormLayout* FinestraUta::costruisci_condizioni(QVBoxLayout* colonna) {
    auto* gruppo_cond = new QGroupBox(QStringLiteral("Condizioni"), this);
    auto* fc = new QFormLayout(gruppo_cond);
    m_condizioni = new QComboBox(this);
    m_condizioni->setObjectName(QStringLiteral("Condizioni"));
    m_condizioni->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_condizioni->setMinimumContentsLength(10);
    auto* nuova = pulsante(this, QStringLiteral("Nuova"), "NuovaCondizione");
    auto* togli = pulsante(this, QStringLiteral("Rimuovi"), "RimuoviCondizione");
    auto* riga_cond = new QHBoxLayout;
    riga_cond->addWidget(nuova);
    riga_cond->addWidget(togli);
    fc->addRow(QStringLiteral("Condizione"), m_condizioni);
    fc->addRow(QString(), riga_cond);
    m_nome_condizione = casella(this, "NomeCondizione");
    m_stagione = new QComboBox(this);
    m_stagione->setObjectName(QStringLiteral("Stagione"));
    for (const Stagione stagione : {Stagione::nessuna, Stagione::estate, Stagione::inverno})
        m_stagione->addItem(q(nome_stagione(stagione)));
    m_esterna_t = casella(this, "EsternaT");
    m_esterna_ur = casella(this, "EsternaUr");
    fc->addRow(QStringLiteral("Nome"), m_nome_condizione);
    fc->addRow(QStringLiteral("Stagione"), m_stagione);
    fc->addRow(QStringLiteral("Esterna: temperatura [C]"), m_esterna_t);
    fc->addRow(QStringLiteral("Esterna: umidità relativa [%]"), m_esterna_ur);
    colonna->addWidget(gruppo_cond);
    connect(m_condizioni, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_aggiornamento) mostra_condizione();
    });
    connect(nuova, &QPushButton::clicked, this, [this] { nuova_condizione(); });
    connect(togli, &QPushButton::clicked, this, [this] { rimuovi_condizione(); });
    for (QLineEdit* e : {m_nome_condizione, m_esterna_t, m_esterna_ur})
        connect(e, &QLineEdit::textEdited, this, [this] { leggi_condizione(); });
    connect(m_stagione, &QComboBox::currentIndexChanged, this, [this] { leggi_condizione(); });
    colonna->addStretch();
    return fc;
}

void FinestraUta::costruisci_sezioni(QVBoxLayout* colonna) {
    auto* gruppo_sez = new QGroupBox(QStringLiteral("Sezioni (nell ordine dell aria)"), this);
    auto* vs = new QVBoxLayout(gruppo_sez);
    m_sezioni = new QListWidget(this);
    m_sezioni->setObjectName(QStringLiteral("Sezioni"));
    vs->addWidget(m_sezioni);
    auto* riga_nuova = new QHBoxLayout;
    m_tipo_nuova = new QComboBox(this);
    m_tipo_nuova->setObjectName(QStringLiteral("TipoNuovaSezione"));
    m_tipo_nuova->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_tipo_nuova->setMinimumContentsLength(16);
    for (const DescrizioneSezione& d : descrizioni_sezioni())
        m_tipo_nuova->addItem(q(d.titolo));
    auto* aggiungi = pulsante(this, QStringLiteral("Aggiungi"), "AggiungiSezione");
    riga_nuova->addWidget(m_tipo_nuova, 1);
    riga_nuova->addWidget(aggiungi);
    vs->addLayout(riga_nuova);
    auto* riga_ord = new QHBoxLayout;
    auto* rimuovi = pulsante(this, QStringLiteral("Rimuovi"), "RimuoviSezione");
    auto* su = pulsante(this, QStringLiteral("Su"), "SuSezione");
    auto* giu = pulsante(this, QStringLiteral("Giù"), "GiuSezione");
    for (QPushButton* b : {rimuovi, su, giu})
        riga_ord->addWidget(b);
    vs->addLayout(riga_ord);
    colonna->addWidget(gruppo_sez);
    connect(aggiungi, &QPushButton::clicked, this,
            [this] { aggiungi_sezione(static_cast<TipoSezione>(m_tipo_nuova->currentIndex())); });
    connect(rimuovi, &QPushButton::clicked, this, [this] { rimuovi_sezione(); });
    connect(su, &QPushButton::clicked, this, [this] { sposta(-1); });
    connect(giu, &QPushButton::clicked, this, [this] { sposta(+1); });
    connect(m_sezioni, &QListWidget::currentRowChanged, this, [this] {
        if (!m_aggiornamento) mostra_sezione();
    });
}

void FinestraUta::imposta_uta(Uta u) {
    m_uta = std::move(u);
    mostra_unita();
    if (m_sezioni->count() > 0) m_sezioni->setCurrentRow(0);
}

void FinestraUta::mostra_unita() {
    m_aggiornamento = true;
    m_nome->setText(q(m_uta.nome));
    m_pressione->setText(numero(m_uta.aria.pressione));
    m_portata->setText(numero(m_uta.portata_esterna.valore));
    m_unita_portata->setCurrentIndex(m_uta.portata_esterna.massica ? 1 : 0);
    m_espulsione->setText(m_uta.portata_espulsione ? numero(m_uta.portata_espulsione->valore) : QString());
    m_ambiente_t->setText(numero(m_uta.ambiente.t));
    m_ambiente_ur->setText(numero(m_uta.ambiente.ur));
    m_condizioni->clear();
    for (const Condizione& k : m_uta.condizioni)
        m_condizioni->addItem(q(k.nome));
    m_aggiornamento = false;
    mostra_condizione();
    mostra_sezioni();
}

Condizione* FinestraUta::condizione() {
    const int i = m_condizioni->currentIndex();
    if (i < 0 || i >= static_cast<int>(m_uta.condizioni.size())) return nullptr;
    return &m_uta.condizioni[static_cast<std::size_t>(i)];
}

int FinestraUta::indice_sezione() const {
    const int i = m_sezioni->currentRow();
    return i >= 0 && i < static_cast<int>(m_uta.sezioni.size()) ? i : -1;
}

void FinestraUta::mostra_condizione() {
    m_aggiornamento = true;
    const Condizione* k = condizione();
    for (QWidget* w : std::initializer_list<QWidget*>{m_nome_condizione, m_stagione, m_esterna_t, m_esterna_ur})
        w->setEnabled(k != nullptr);
    if (k) {
        m_nome_condizione->setText(q(k->nome));
        m_stagione->setCurrentIndex(static_cast<int>(k->stagione));
        m_esterna_t->setText(numero(k->esterna.t));
        m_esterna_ur->setText(numero(k->esterna.ur));
    }
    m_aggiornamento = false;
    mostra_sezione(); // the section's switch for this condition
}

void FinestraUta::leggi_unita() {
    if (m_aggiornamento) return;
    m_uta.nome = m_nome->text().trimmed().toStdString();
    if (const auto p = leggi(m_pressione->text())) {
        RichiestaAria r;
        r.pressione = *p;
        if (const auto a = aria_richiesta(r, FonteAria::libreria)) {
            m_uta.aria.pressione = a->pressione;
            m_uta.quota.reset();
        }
    }
    const bool kg = m_unita_portata->currentIndex() == 1;
    if (const auto v = leggi(m_portata->text())) m_uta.portata_esterna = {*v, kg};
    if (const auto v = leggi(m_espulsione->text()))
        m_uta.portata_espulsione = Portata{*v, kg};
    else if (m_espulsione->text().trimmed().isEmpty())
        m_uta.portata_espulsione.reset();
    const auto t = leggi(m_ambiente_t->text()), ur = leggi(m_ambiente_ur->text());
    if (!t || !ur) return;
    if (const auto a = stato_tur(*t, *ur, m_uta.aria))
        m_uta.ambiente = *a;
    else
        dici(QStringLiteral("Ambiente: ") + q(a.errore().testo), true);
}

void FinestraUta::leggi_condizione() {
    if (m_aggiornamento) return;
    Condizione* k = condizione();
    if (!k) return;
    const std::string nome = m_nome_condizione->text().trimmed().toStdString();
    if (!nome.empty() && nome != k->nome) {
        k->nome = nome;
        m_aggiornamento = true;
        m_condizioni->setItemText(m_condizioni->currentIndex(), q(nome));
        m_aggiornamento = false;
    }
    // The list holds the seasons in the order of Stagione.
    k->stagione = static_cast<Stagione>(std::max(0, m_stagione->currentIndex()));
    const auto t = leggi(m_esterna_t->text()), ur = leggi(m_esterna_ur->text());
    if (!t || !ur) return;
    if (const auto e = stato_tur(*t, *ur, m_uta.aria))
        k->esterna = *e;
    else
        dici(QStringLiteral("Esterna: ") + q(e.errore().testo), true);
}

void FinestraUta::nuova_condizione() {
    Condizione k = condizione() ? *condizione() : unita_nuova().condizioni.front();
    std::string nome = "condizione " + std::to_string(m_uta.condizioni.size() + 1);
    k.nome = nome;
    m_uta.condizioni.push_back(std::move(k));
    mostra_unita();
    m_condizioni->setCurrentIndex(m_condizioni->count() - 1);
}

void FinestraUta::rimuovi_condizione() {
    const int i = m_condizioni->currentIndex();
    if (i < 0 || m_uta.condizioni.size() <= 1) {
        dici(QStringLiteral("Un unità ha almeno una condizione"), true);
        return;
    }
    m_uta.condizioni.erase(m_uta.condizioni.begin() + i);
    mostra_unita();
}

void FinestraUta::dici(const QString& testo, bool errore) {
    m_esito->setText(testo);
    m_esito->setStyleSheet(errore ? QStringLiteral("color: red") : QString());
}

QString FinestraUta::esito() const {
    return m_esito->text();
}

bool FinestraUta::apri_file(const QString& percorso) {
    auto u = carica_uta(percorso.toStdString());
    if (!u) {
        dici(q(u.errore().testo), true);
        return false;
    }
    m_file = percorso;
    imposta_uta(std::move(*u));
    Impostazioni().ricorda_file_uta(percorso);
    aggiorna_recenti();
    dici(QStringLiteral("Aperto %1").arg(percorso), false);
    return true;
}

bool FinestraUta::salva_file(const QString& percorso) {
    for (const Sezione& s : m_uta.sezioni)
        if (const Fatto f = controlla_sezione(s); !f) {
            dici(q(s.nome + ": " + f.errore().testo), true);
            return false;
        }
    if (const Fatto f = salva_uta(m_uta, percorso.toStdString()); !f) {
        dici(q(f.errore().testo), true);
        return false;
    }
    m_file = percorso;
    Impostazioni().ricorda_file_uta(percorso);
    aggiorna_recenti();
    dici(QStringLiteral("Salvato %1").arg(percorso), false);
    return true;
}

void FinestraUta::apri() {
    const QString p = QFileDialog::getOpenFileName(this, QStringLiteral("Apri unità di trattamento aria"),
                                                   QFileInfo(m_file).path(), QStringLiteral("Unità (*.json)"));
    if (!p.isEmpty()) apri_file(p);
}

void FinestraUta::salva() {
    const QString p = QFileDialog::getSaveFileName(this, QStringLiteral("Salva unità di trattamento aria"), m_file,
                                                   QStringLiteral("Unità (*.json)"));
    if (!p.isEmpty()) salva_file(p);
}

void FinestraUta::aggiorna_recenti() {
    QMenu* menu = m_recenti->menu();
    menu->clear();
    const QStringList recenti = Impostazioni().file_uta_recenti();
    for (const QString& f : recenti)
        menu->addAction(f, this, [this, f] { apri_file(f); });
    m_recenti->setEnabled(!recenti.isEmpty());
}

void FinestraUta::calcola() {
    for (const Sezione& s : m_uta.sezioni)
        if (const Fatto f = controlla_sezione(s); !f) {
            dici(q(s.nome + ": " + f.errore().testo), true);
            return;
        }
    const Condizione* k = condizione();
    if (!k) return;
    m_ctx = Contesto{};
    const Condizione copia = *k;
    if (const Fatto f = esegui_uta(m_uta, copia, m_ctx, m_esterno, m_risultato); !f) {
        dici(QStringLiteral("Condizione %1: %2").arg(q(copia.nome), q(f.errore().testo)), true);
        return;
    }
    dici(QStringLiteral("Calcolata la condizione %1").arg(q(copia.nome)), false);
}

} // namespace ondix
