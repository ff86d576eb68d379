#include "ui/finestra_uta.h"

#include "core/numeri.h"
#include "core/uta_file.h"
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

namespace {

QString q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString numero(double v) {
    return QString::number(v, 'g', 12);
}

// A number typed in a box: decimal point or comma; nullopt for anything else (an empty box among them).
std::optional<double> leggi(const QString& testo) {
    QString t = testo.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (t.isEmpty()) return std::nullopt;
    return numero_intero_testo(t.toStdString());
}

// What a new section of each kind starts with: a duty that computes for ordinary air.
std::map<std::string, double> valori_iniziali(TipoSezione t) {
    switch (t) {
    case TipoSezione::recuperatore:
        return {{"efficienza_t", 70.0}};
    case TipoSezione::miscela:
        return {{"frazione_ripresa", 0.3}};
    case TipoSezione::riscaldamento:
        return {{"t_uscita", 20.0}};
    case TipoSezione::raffreddamento:
        return {{"fattore_bypass", 0.1}, {"t_batteria", 8.0}};
    case TipoSezione::umidificatore_acqua:
        return {{"t_acqua", 15.0}, {"efficienza", 80.0}};
    case TipoSezione::umidificatore_vapore:
        return {{"t_vapore", 100.0}, {"ur_uscita", 50.0}};
    case TipoSezione::ventilatore:
        return {{"aumento_t", 1.0}};
    }
    return {};
}

const char* sigla(TipoSezione t) {
    switch (t) {
    case TipoSezione::recuperatore:
        return "REC";
    case TipoSezione::miscela:
        return "MIX";
    case TipoSezione::riscaldamento:
        return "RISC";
    case TipoSezione::raffreddamento:
        return "BF";
    case TipoSezione::umidificatore_acqua:
        return "UMA";
    case TipoSezione::umidificatore_vapore:
        return "UMV";
    case TipoSezione::ventilatore:
        return "VENT";
    }
    return "SEZ";
}

Uta unita_nuova() {
    Uta u;
    u.portata_esterna = {1000.0, false};
    u.ambiente = *stato_da_coppia({Grandezza::t, 26.0}, {Grandezza::ur, 50.0});
    Condizione k;
    k.nome = "estate";
    k.stagione = "estate";
    k.esterna = *stato_da_coppia({Grandezza::t, 32.0}, {Grandezza::ur, 50.0});
    u.condizioni.push_back(k);
    return u;
}

// The state (t, ur) in the air `a`, or why no air has it.
Esito<StatoCompleto> stato_tur(double t, double ur, Aria a) {
    return stato_da_coppia({Grandezza::t, t}, {Grandezza::ur, ur}, a);
}

QLineEdit* casella(QWidget* genitore, const char* nome) {
    auto* e = new QLineEdit(genitore);
    e->setObjectName(QString::fromLatin1(nome));
    return e;
}

QPushButton* pulsante(QWidget* genitore, const QString& testo, const char* nome) {
    auto* b = new QPushButton(testo, genitore);
    b->setObjectName(QString::fromLatin1(nome));
    b->setAutoDefault(false);
    return b;
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

    auto* corpo = new QHBoxLayout;
    principale->addLayout(corpo);

    // The unit and its conditions.
    auto* sinistra = new QVBoxLayout;
    corpo->addLayout(sinistra, 1);
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
    sinistra->addWidget(gruppo_unita);
    for (QLineEdit* e : {m_nome, m_pressione, m_portata, m_espulsione, m_ambiente_t, m_ambiente_ur})
        connect(e, &QLineEdit::textEdited, this, [this] { leggi_unita(); });
    connect(m_unita_portata, &QComboBox::currentIndexChanged, this, [this] { leggi_unita(); });

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
    m_stagione->addItems({QString(), QStringLiteral("estate"), QStringLiteral("inverno")});
    m_esterna_t = casella(this, "EsternaT");
    m_esterna_ur = casella(this, "EsternaUr");
    fc->addRow(QStringLiteral("Nome"), m_nome_condizione);
    fc->addRow(QStringLiteral("Stagione"), m_stagione);
    fc->addRow(QStringLiteral("Esterna: temperatura [C]"), m_esterna_t);
    fc->addRow(QStringLiteral("Esterna: umidità relativa [%]"), m_esterna_ur);
    sinistra->addWidget(gruppo_cond);
    sinistra->addStretch();
    connect(m_condizioni, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_aggiornamento) mostra_condizione();
    });
    connect(nuova, &QPushButton::clicked, this, [this] { nuova_condizione(); });
    connect(togli, &QPushButton::clicked, this, [this] { rimuovi_condizione(); });
    for (QLineEdit* e : {m_nome_condizione, m_esterna_t, m_esterna_ur})
        connect(e, &QLineEdit::textEdited, this, [this] { leggi_condizione(); });
    connect(m_stagione, &QComboBox::currentIndexChanged, this, [this] { leggi_condizione(); });

    // The sections in the air's order.
    auto* centro = new QVBoxLayout;
    corpo->addLayout(centro, 1);
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
    centro->addWidget(gruppo_sez);
    connect(aggiungi, &QPushButton::clicked, this,
            [this] { aggiungi_sezione(static_cast<TipoSezione>(m_tipo_nuova->currentIndex())); });
    connect(rimuovi, &QPushButton::clicked, this, [this] { rimuovi_sezione(); });
    connect(su, &QPushButton::clicked, this, [this] { sposta(-1); });
    connect(giu, &QPushButton::clicked, this, [this] { sposta(+1); });
    connect(m_sezioni, &QListWidget::currentRowChanged, this, [this] {
        if (!m_aggiornamento) mostra_sezione();
    });

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
        m_stagione->setCurrentIndex(k->stagione == "estate" ? 1 : k->stagione == "inverno" ? 2 : 0);
        m_esterna_t->setText(numero(k->esterna.t));
        m_esterna_ur->setText(numero(k->esterna.ur));
    }
    m_aggiornamento = false;
    mostra_sezione(); // the section's switch for this condition
}

void FinestraUta::mostra_sezioni() {
    m_aggiornamento = true;
    const int riga = m_sezioni->currentRow();
    m_sezioni->clear();
    for (std::size_t i = 0; i < m_uta.sezioni.size(); ++i) {
        const Sezione& s = m_uta.sezioni[i];
        m_sezioni->addItem(QString::number(i + 1) + QStringLiteral("  ") + q(s.nome) + QStringLiteral(" - ") +
                           q(descrizione(s.tipo).titolo));
    }
    m_sezioni->setCurrentRow(std::min(riga, m_sezioni->count() - 1));
    m_aggiornamento = false;
    mostra_sezione();
}

void FinestraUta::mostra_sezione() {
    // The rows go later: this may run from a signal of one of their own boxes.
    while (m_modulo->rowCount() > 0) {
        const QFormLayout::TakeRowResult r = m_modulo->takeRow(0);
        for (QLayoutItem* voce : {r.labelItem, r.fieldItem}) {
            if (!voce) continue;
            if (QWidget* w = voce->widget()) {
                w->setObjectName(QString());
                w->hide();
                w->deleteLater();
            }
            delete voce;
        }
    }
    const int i = indice_sezione();
    m_parametri->setEnabled(i >= 0);
    if (i < 0) return;
    const auto n = static_cast<std::size_t>(i);
    const Sezione& s = m_uta.sezioni[n];
    const DescrizioneSezione& d = descrizione(s.tipo);
    m_parametri->setTitle(q(d.titolo));

    auto* nome = casella(this, "NomeSezione");
    nome->setText(q(s.nome));
    m_modulo->addRow(QStringLiteral("Nome"), nome);
    connect(nome, &QLineEdit::editingFinished, this, [this, n, nome] {
        const std::string nuovo = nome->text().trimmed().toStdString();
        std::string& vecchio = m_uta.sezioni[n].nome;
        if (nuovo.empty() || nuovo == vecchio) return;
        for (const Sezione& x : m_uta.sezioni)
            if (x.nome == nuovo) {
                dici(QStringLiteral("Esiste già una sezione di nome %1").arg(q(nuovo)), true);
                return;
            }
        // The conditions name the section too.
        for (Condizione& k : m_uta.condizioni)
            if (auto nodo = k.sezioni.extract(vecchio)) {
                nodo.key() = nuovo;
                k.sezioni.insert(std::move(nodo));
            }
        vecchio = nuovo;
        mostra_sezioni();
    });

    // Switched on or off in the condition shown.
    if (Condizione* k = condizione()) {
        auto* attiva = new QCheckBox(QStringLiteral("attiva nella condizione %1").arg(q(k->nome)), this);
        attiva->setObjectName(QStringLiteral("AttivaCondizione"));
        const auto o = k->sezioni.find(s.nome);
        const bool spenta = o != k->sezioni.end() && o->second.count("attiva") && o->second.at("attiva") == 0.0;
        attiva->setChecked(!spenta);
        m_modulo->addRow(QString(), attiva);
        if (o != k->sezioni.end() && !spenta)
            m_modulo->addRow(new QLabel(QStringLiteral("(in questa condizione valgono parametri propri, dal file)")));
        connect(attiva, &QCheckBox::toggled, this, [this, n](bool on) {
            Condizione* c = condizione();
            if (!c) return;
            const std::string& nome_s = m_uta.sezioni[n].nome;
            if (on)
                c->sezioni.erase(nome_s);
            else
                c->sezioni[nome_s] = {{"attiva", 0.0}};
        });
    }

    for (const ChiaveSezione& c : d.chiavi) {
        const std::string chiave(c.chiave);
        QString etichetta = q(c.descrizione);
        if (!c.unita.empty() && c.unita != "si/no")
            etichetta += QStringLiteral(" [") + q(c.unita) + QStringLiteral("]");
        if (c.unita == "si/no") {
            auto* b = new QCheckBox(etichetta, this);
            b->setObjectName(q(c.chiave));
            b->setChecked(s.valori.count(chiave) && s.valori.at(chiave) != 0.0);
            m_modulo->addRow(QString(), b);
            connect(b, &QCheckBox::toggled, this, [this, n, chiave](bool on) {
                if (on)
                    m_uta.sezioni[n].valori[chiave] = 1.0;
                else
                    m_uta.sezioni[n].valori.erase(chiave);
            });
            continue;
        }
        auto* e = new QLineEdit(this);
        e->setObjectName(q(c.chiave));
        const std::string massica = chiave + std::string(suffisso_massica);
        if (s.valori.count(chiave))
            e->setText(numero(s.valori.at(chiave)));
        else if (s.valori.count(massica))
            e->setText(numero(s.valori.at(massica)) + QStringLiteral(" kg/h"));
        if (c.ruolo == RuoloChiave::alternativa) e->setPlaceholderText(QStringLiteral("oppure..."));
        m_modulo->addRow(etichetta, e);
        const bool portata = c.unita == "m3/h";
        connect(e, &QLineEdit::textEdited, this, [this, n, chiave, massica, portata, e](const QString& t) {
            auto& v = m_uta.sezioni[n].valori;
            v.erase(chiave);
            v.erase(massica);
            QString testo = t.trimmed();
            const bool kg = portata && testo.endsWith(QStringLiteral("kg/h"));
            if (kg) testo.chop(4);
            const auto x = leggi(testo);
            if (x) v[kg ? massica : chiave] = *x;
            e->setStyleSheet(x || testo.isEmpty() ? QString() : QStringLiteral("color: red"));
        });
    }
}

void FinestraUta::leggi_unita() {
    if (m_aggiornamento) return;
    m_uta.nome = m_nome->text().trimmed().toStdString();
    if (const auto p = leggi(m_pressione->text()); p && *p >= pressione_minima && *p <= pressione_massima) {
        m_uta.aria.pressione = *p;
        m_uta.quota.reset();
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
    const int s = m_stagione->currentIndex();
    k->stagione = s == 1 ? "estate" : s == 2 ? "inverno" : "";
    const auto t = leggi(m_esterna_t->text()), ur = leggi(m_esterna_ur->text());
    if (!t || !ur) return;
    if (const auto e = stato_tur(*t, *ur, m_uta.aria))
        k->esterna = *e;
    else
        dici(QStringLiteral("Esterna: ") + q(e.errore().testo), true);
}

void FinestraUta::aggiungi_sezione(TipoSezione t) {
    Sezione s;
    s.tipo = t;
    s.valori = valori_iniziali(t);
    const std::string base = sigla(t);
    s.nome = base;
    for (int n = 2;
         std::any_of(m_uta.sezioni.begin(), m_uta.sezioni.end(), [&](const Sezione& x) { return x.nome == s.nome; });
         ++n)
        s.nome = base + std::to_string(n);
    const int i = indice_sezione();
    const auto dove = i < 0 ? m_uta.sezioni.end() : m_uta.sezioni.begin() + i + 1;
    const int nuova = static_cast<int>(dove - m_uta.sezioni.begin());
    m_uta.sezioni.insert(dove, std::move(s));
    mostra_sezioni();
    m_sezioni->setCurrentRow(nuova);
}

void FinestraUta::rimuovi_sezione() {
    const int i = indice_sezione();
    if (i < 0) return;
    const std::string nome = m_uta.sezioni[static_cast<std::size_t>(i)].nome;
    for (Condizione& k : m_uta.condizioni)
        k.sezioni.erase(nome);
    m_uta.sezioni.erase(m_uta.sezioni.begin() + i);
    mostra_sezioni();
}

void FinestraUta::sposta(int verso) {
    const int i = indice_sezione();
    const int j = i + verso;
    if (i < 0 || j < 0 || j >= static_cast<int>(m_uta.sezioni.size())) return;
    std::swap(m_uta.sezioni[static_cast<std::size_t>(i)], m_uta.sezioni[static_cast<std::size_t>(j)]);
    m_aggiornamento = true;
    m_sezioni->setCurrentRow(j);
    m_aggiornamento = false;
    mostra_sezioni();
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
