// The unit window's sections: their list in the air's order, and the form of the parameters of the one selected.
#include "ui/finestra_uta.h"

#include "ui/finestra_uta_campi.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>

#include <algorithm>

namespace ondix {

using namespace finestra_uta;

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
    svuota_parametri();
    const int i = indice_sezione();
    m_parametri->setEnabled(i >= 0);
    if (i < 0) return;
    const auto n = static_cast<std::size_t>(i);
    const DescrizioneSezione& d = descrizione(m_uta.sezioni[n].tipo);
    m_parametri->setTitle(q(d.titolo));
    riga_nome_sezione(n);
    if (Condizione* k = condizione()) riga_attiva(n, *k);
    for (const ChiaveSezione& c : d.chiavi) {
        QString etichetta = q(c.descrizione);
        if (!c.unita.empty()) etichetta += QStringLiteral(" [") + q(c.unita) + QStringLiteral("]");
        if (c.genere == GenereChiave::interruttore)
            riga_interruttore(n, c, etichetta);
        else
            riga_valore(n, c, etichetta);
    }
}

void FinestraUta::svuota_parametri() {
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
}

void FinestraUta::riga_nome_sezione(std::size_t n) {
    auto* nome = casella(this, "NomeSezione");
    nome->setText(q(m_uta.sezioni[n].nome));
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
}

void FinestraUta::riga_attiva(std::size_t n, const Condizione& k) {
    auto* attiva = new QCheckBox(QStringLiteral("attiva nella condizione %1").arg(q(k.nome)), this);
    attiva->setObjectName(QStringLiteral("AttivaCondizione"));
    const std::string chiave(chiave_attiva);
    const auto o = k.sezioni.find(m_uta.sezioni[n].nome);
    const bool spenta = o != k.sezioni.end() && o->second.count(chiave) && o->second.at(chiave) == 0.0;
    attiva->setChecked(!spenta);
    m_modulo->addRow(QString(), attiva);
    if (o != k.sezioni.end() && !spenta)
        m_modulo->addRow(new QLabel(QStringLiteral("(in questa condizione valgono parametri propri, dal file)")));
    connect(attiva, &QCheckBox::toggled, this, [this, n, chiave](bool on) {
        Condizione* c = condizione();
        if (!c) return;
        const std::string& nome_s = m_uta.sezioni[n].nome;
        if (on)
            c->sezioni.erase(nome_s);
        else
            c->sezioni[nome_s] = {{chiave, 0.0}};
    });
}

void FinestraUta::riga_interruttore(std::size_t n, const ChiaveSezione& c, const QString& etichetta) {
    const std::string chiave(c.chiave);
    const Sezione& s = m_uta.sezioni[n];
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
}

void FinestraUta::riga_valore(std::size_t n, const ChiaveSezione& c, const QString& etichetta) {
    const std::string chiave(c.chiave);
    const Sezione& s = m_uta.sezioni[n];
    auto* e = new QLineEdit(this);
    e->setObjectName(q(c.chiave));
    const std::string massica = chiave + std::string(suffisso_massica);
    if (s.valori.count(chiave))
        e->setText(numero(s.valori.at(chiave)));
    else if (s.valori.count(massica))
        e->setText(q(testo_portata(numero(s.valori.at(massica)).toStdString(), true)));
    if (c.ruolo == RuoloChiave::alternativa) e->setPlaceholderText(QStringLiteral("oppure..."));
    m_modulo->addRow(etichetta, e);
    const bool portata = c.genere == GenereChiave::portata;
    connect(e, &QLineEdit::textEdited, this, [this, n, chiave, massica, portata, e](const QString& t) {
        auto& v = m_uta.sezioni[n].valori;
        v.erase(chiave);
        v.erase(massica);
        // A flow in kg/h of dry air is kept under its own key.
        const std::string scritto = t.toStdString();
        const auto [cifre, in_kg] = separa_portata(scritto);
        const bool kg = portata && in_kg;
        const QString testo = kg ? q(cifre) : t.trimmed();
        const auto x = leggi(testo);
        if (x) v[kg ? massica : chiave] = *x;
        e->setStyleSheet(x || testo.isEmpty() ? QString() : QStringLiteral("color: red"));
    });
}

void FinestraUta::aggiungi_sezione(TipoSezione t) {
    Sezione s;
    s.tipo = t;
    s.valori = valori_iniziali(t);
    const std::string base(descrizione(t).sigla);
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

} // namespace ondix
