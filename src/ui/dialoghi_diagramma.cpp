#include "ui/dialoghi_diagramma.h"

#include "core/numeri.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>

#include <vector>

namespace ondix {

namespace {

QString testo_numero(double v) {
    return QString::number(v, 'g', 10);
}

QLineEdit* casella(QDialog& d, const char* nome, const QString& testo) {
    auto* e = new QLineEdit(testo, &d);
    e->setObjectName(QString::fromLatin1(nome));
    return e;
}

// A box of the dialog and where its number goes.
struct Campo {
    QLineEdit* casella;
    QString etichetta;
    double* valore;
};

QDialogButtonBox* pulsanti(QDialog& d) {
    return new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
}

// OK reads every box of `campi` (and `leggi_altro`), keeping the dialog open with a warning while one is not a
// number.
void accetta_se_numeri(QDialog& d, QDialogButtonBox* b, const std::vector<Campo>& campi,
                       const std::function<bool()>& leggi_altro) {
    QObject::connect(b, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    QObject::connect(b, &QDialogButtonBox::accepted, &d, [&d, campi, leggi_altro] {
        for (const Campo& c : campi) {
            if (!c.casella->isEnabled()) continue;
            const auto v = numero_digitato(c.casella->text());
            if (!v) {
                QMessageBox::warning(&d, d.windowTitle(), c.etichetta + QStringLiteral(": non è un numero"));
                c.casella->setFocus();
                return;
            }
            *c.valore = *v;
        }
        if (leggi_altro && !leggi_altro()) return;
        d.accept();
    });
}

} // namespace

std::optional<double> numero_digitato(const QString& testo) {
    QString t = testo.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (t.isEmpty()) return std::nullopt;
    return numero_intero_testo(t.toStdString());
}

std::optional<StatoDigitato> chiedi_stato(QWidget* genitore, const StatoDigitato& iniziale) {
    QDialog d(genitore);
    d.setObjectName(QStringLiteral("dialogo_stato"));
    d.setWindowTitle(QStringLiteral("Nuovo stato"));
    auto* modulo = new QFormLayout(&d);
    auto* nome = casella(d, "nome", QString::fromStdString(iniziale.nome));
    nome->setPlaceholderText(QStringLiteral("la prima lettera libera"));
    modulo->addRow(QStringLiteral("Nome"), nome);
    StatoDigitato r = iniziale;
    std::vector<Campo> campi;
    std::vector<QComboBox*> scelte;
    for (Noto* n : {&r.a, &r.b}) {
        auto* scelta = new QComboBox(&d);
        scelta->setObjectName(n == &r.a ? QStringLiteral("grandezza_1") : QStringLiteral("grandezza_2"));
        for (const char* g : {"t [C]", "ur [%]", "x [g/kg]", "h [kJ/kg]", "tbu [C]", "tr [C]"})
            scelta->addItem(QString::fromLatin1(g));
        scelta->setCurrentIndex(static_cast<int>(n->grandezza));
        auto* valore = casella(d, n == &r.a ? "valore_1" : "valore_2", testo_numero(n->valore));
        auto* riga = new QHBoxLayout;
        riga->addWidget(scelta);
        riga->addWidget(valore);
        modulo->addRow(n == &r.a ? QStringLiteral("Prima grandezza") : QStringLiteral("Seconda grandezza"), riga);
        campi.push_back({valore, scelta->currentText(), &n->valore});
        scelte.push_back(scelta);
    }
    auto* b = pulsanti(d);
    modulo->addRow(b);
    accetta_se_numeri(d, b, campi, {});
    if (d.exec() != QDialog::Accepted) return std::nullopt;
    r.nome = nome->text().trimmed().toStdString();
    r.a.grandezza = static_cast<Grandezza>(scelte[0]->currentIndex());
    r.b.grandezza = static_cast<Grandezza>(scelte[1]->currentIndex());
    return r;
}

std::optional<DefinizioneTrasformazione> chiedi_parametri(QWidget* genitore, const DefinizioneTrasformazione& k,
                                                          const QString& stati) {
    QDialog d(genitore);
    d.setObjectName(QStringLiteral("dialogo_trasformazione"));
    d.setWindowTitle(QString::fromUtf8(nome_trasformazione(k.tipo).data()));
    auto* modulo = new QFormLayout(&d);
    modulo->addRow(new QLabel(stati, &d));
    DefinizioneTrasformazione r = k;
    r.obiettivo.reset();
    std::vector<Campo> campi;
    const auto aggiungi = [&](const char* nome, const char* etichetta, double* valore) {
        auto* e = casella(d, nome, testo_numero(*valore));
        modulo->addRow(QString::fromUtf8(etichetta), e);
        campi.push_back({e, QString::fromUtf8(etichetta), valore});
        return e;
    };
    QRadioButton* per_portate = nullptr;
    double portata_da = k.portata_da.value_or(1000.0), portata_con = k.portata_con.value_or(1000.0);
    switch (k.tipo) {
    case TipoTrasformazione::miscela: {
        auto* per_frazione = new QRadioButton(QStringLiteral("per frazione"), &d);
        per_portate = new QRadioButton(QStringLiteral("per portate"), &d);
        per_portate->setObjectName(QStringLiteral("per_portate"));
        (k.portata_da && k.portata_con ? per_portate : per_frazione)->setChecked(true);
        auto* riga = new QHBoxLayout;
        riga->addWidget(per_frazione);
        riga->addWidget(per_portate);
        modulo->addRow(QStringLiteral("Miscela"), riga);
        auto* f = aggiungi("frazione", "frazione del primo stato (0-1)", &r.frazione);
        auto* m1 = aggiungi("portata_da", "portata del primo stato [kg/h]", &portata_da);
        auto* m2 = aggiungi("portata_con", "portata del secondo stato [kg/h]", &portata_con);
        const auto scegli = [f, m1, m2, per_portate] {
            f->setEnabled(!per_portate->isChecked());
            m1->setEnabled(per_portate->isChecked());
            m2->setEnabled(per_portate->isChecked());
        };
        QObject::connect(per_portate, &QRadioButton::toggled, &d, scegli);
        scegli();
        break;
    }
    case TipoTrasformazione::sensibile:
        aggiungi("t_uscita", "temperatura di uscita [C]", &r.t_uscita);
        break;
    case TipoTrasformazione::batteria:
        aggiungi("t_batteria", "temperatura della batteria [C]", &r.t_batteria);
        aggiungi("fattore_bypass", "fattore di bypass (0-1)", &r.fattore_bypass);
        break;
    case TipoTrasformazione::adiabatica:
        aggiungi("t_acqua", "temperatura dell acqua [C]", &r.t_acqua);
        aggiungi("efficienza", "efficienza [%]", &r.efficienza);
        break;
    case TipoTrasformazione::vapore:
        aggiungi("t_vapore", "temperatura del vapore [C]", &r.t_vapore);
        aggiungi("x_uscita", "umidità specifica di uscita [g/kg]", &r.x_uscita);
        break;
    case TipoTrasformazione::linea:
        break;
    }
    // The flow through the process, kg/h of dry air: optional (empty: the inlet's, when it has one).
    auto* portata = casella(d, "portata", k.portata ? testo_numero(*k.portata) : QString());
    portata->setPlaceholderText(k.tipo == TipoTrasformazione::miscela ? QStringLiteral("nessuna")
                                                                      : QStringLiteral("quella dell ingresso"));
    if (k.tipo == TipoTrasformazione::miscela) {
        modulo->addRow(QStringLiteral("portata della miscela [kg/h]"), portata);
        QObject::connect(per_portate, &QRadioButton::toggled, portata, [portata](bool p) { portata->setEnabled(!p); });
        portata->setEnabled(!per_portate->isChecked());
    } else {
        modulo->addRow(QStringLiteral("portata [kg/h]"), portata);
    }
    auto* b = pulsanti(d);
    modulo->addRow(b);
    accetta_se_numeri(d, b, campi, [&] {
        r.portata.reset();
        if (portata->isEnabled() && !portata->text().trimmed().isEmpty()) {
            const auto v = numero_digitato(portata->text());
            if (!v) {
                QMessageBox::warning(&d, d.windowTitle(), QStringLiteral("portata: non è un numero"));
                return false;
            }
            r.portata = *v;
        }
        return true;
    });
    if (d.exec() != QDialog::Accepted) return std::nullopt;
    r.portata_da.reset();
    r.portata_con.reset();
    if (per_portate && per_portate->isChecked()) {
        r.portata_da = portata_da;
        r.portata_con = portata_con;
    }
    return r;
}

} // namespace ondix
