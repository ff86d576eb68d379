// The air-handling unit window driven as a new user would: a unit built from scratch by clicks (sections added,
// moved, removed, parameters typed), saved, opened again in a new window, computed; and the main window's entry.
#include "core/uta_file.h"
#include "ui/finestra_menu.h"
#include "ui/finestra_uta.h"
#include "ui/impostazioni.h"
#include "ui/schermo.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace ondix;

namespace {

template <typename T> T* trova(QWidget* w, const char* nome) {
    T* c = w->findChild<T*>(QString::fromLatin1(nome));
    if (!c) qFatal("control %s not found", nome);
    return c;
}

// Types `testo` over what the box holds, as a user selecting it all would.
void digita(QWidget* w, const char* nome, const QString& testo) {
    auto* e = trova<QLineEdit>(w, nome);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, testo);
}

void aggiungi(QWidget* w, TipoSezione t) {
    trova<QComboBox>(w, "TipoNuovaSezione")->setCurrentIndex(static_cast<int>(t));
    QTest::mouseClick(trova<QPushButton>(w, "AggiungiSezione"), Qt::LeftButton);
}

std::vector<std::string> nomi(const Uta& u) {
    std::vector<std::string> r;
    for (const Sezione& s : u.sezioni)
        r.push_back(s.nome);
    return r;
}

} // namespace

class TestFinestraUta : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Impostazioni::usa_file(m_cartella.filePath(QStringLiteral("impostazioni.ini"))); }

    void costruitaSalvataRiapertaCalcolata() {
        int grafici = 0;
        const auto grafico = [&](QWidget*, const Contesto&, VistaGrafico) { ++grafici; };
        FinestraUta f([] { return nullptr; }, grafico);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));

        digita(&f, "PortataEsterna", QStringLiteral("3000"));
        digita(&f, "NomeCondizione", QStringLiteral("inverno"));
        trova<QComboBox>(&f, "Stagione")->setCurrentIndex(2);
        digita(&f, "EsternaT", QStringLiteral("-5"));
        digita(&f, "EsternaUr", QStringLiteral("80"));
        aggiungi(&f, TipoSezione::recuperatore);
        aggiungi(&f, TipoSezione::miscela);
        aggiungi(&f, TipoSezione::riscaldamento);
        digita(&f, "t_uscita", QStringLiteral("22"));
        aggiungi(&f, TipoSezione::umidificatore_acqua);
        aggiungi(&f, TipoSezione::ventilatore);
        QCOMPARE(nomi(f.uta()), (std::vector<std::string>{"REC", "MIX", "RISC", "UMA", "VENT"}));
        // The humidifier goes; the fan, moved up and down again, stays last.
        trova<QListWidget>(&f, "Sezioni")->setCurrentRow(3);
        QTest::mouseClick(trova<QPushButton>(&f, "RimuoviSezione"), Qt::LeftButton);
        trova<QListWidget>(&f, "Sezioni")->setCurrentRow(3);
        QTest::mouseClick(trova<QPushButton>(&f, "SuSezione"), Qt::LeftButton);
        QCOMPARE(nomi(f.uta()), (std::vector<std::string>{"REC", "MIX", "VENT", "RISC"}));
        QTest::mouseClick(trova<QPushButton>(&f, "GiuSezione"), Qt::LeftButton);
        QCOMPARE(nomi(f.uta()), (std::vector<std::string>{"REC", "MIX", "RISC", "VENT"}));
        QCOMPARE(f.uta().sezioni[2].valori.at("t_uscita"), 22.0);
        QCOMPARE(f.uta().condizioni.front().esterna.t, -5.0);

        // A parameter that is not a number is not taken.
        trova<QListWidget>(&f, "Sezioni")->setCurrentRow(0);
        digita(&f, "efficienza_t", QStringLiteral("7x"));
        QTest::mouseClick(trova<QPushButton>(&f, "Calcola"), Qt::LeftButton);
        QVERIFY2(f.esito().contains(QStringLiteral("REC")), qPrintable(f.esito()));
        QCOMPARE(grafici, 0);
        digita(&f, "efficienza_t", QStringLiteral("75"));

        const QString file = m_cartella.filePath(QStringLiteral("unita.json"));
        QVERIFY2(f.salva_file(file), qPrintable(f.esito()));
        QCOMPARE(Impostazioni().file_uta_recenti().value(0), file);

        FinestraUta g([] { return nullptr; }, grafico);
        g.show();
        QVERIFY(g.apri_file(file));
        QCOMPARE(testo_uta(g.uta()), testo_uta(f.uta()));
        QTest::mouseClick(trova<QPushButton>(&g, "Calcola"), Qt::LeftButton);
        QCOMPARE(grafici, 1);
        QVERIFY2(g.esito().startsWith(QStringLiteral("Calcolata")), qPrintable(g.esito()));
        // Heated to 22 C, one kelvin more through the fan; the chart's first entry the outdoor air.
        bool trovata = false;
        for (const std::string& r : g.contesto().rapporto.righe())
            trovata = trovata || r == " 4 USCITA VENT";
        QVERIFY(trovata);
        QCOMPARE(g.contesto().punti[1].X, -5.0);
        QCOMPARE(g.contesto().codice_grafico, codice_catena);
        if (qEnvironmentVariableIsSet("ONDIX_SCHERMATA_UTA")) {
            trova<QListWidget>(&g, "Sezioni")->setCurrentRow(2);
            QTest::qWait(50); // the parameter rows are shown by the event loop
            g.grab().save(qEnvironmentVariable("ONDIX_SCHERMATA_UTA"));
        }

        // A file with a fault keeps the unit shown and says where.
        QFile rotto(m_cartella.filePath(QStringLiteral("rotto.json")));
        QVERIFY(rotto.open(QIODevice::WriteOnly));
        rotto.write(
            "{\"portata_esterna\": 1000,\n\"ambiente\": {\"t\": 26, \"ur\": 50},\n\"sezioni\": [{\"tipo\": \"x\"}]}");
        rotto.close();
        QVERIFY(!g.apri_file(rotto.fileName()));
        QVERIFY2(g.esito().contains(QStringLiteral("rotto.json:3:")), qPrintable(g.esito()));
        QCOMPARE(testo_uta(g.uta()), testo_uta(f.uta()));
    }

    // The main window's context menu holds the entry, with Ctrl+U, and it opens the unit window.
    void voceDelMenu() {
        FinestraMenu menu(m_cartella.path() + QLatin1Char('/'), {1024, 768});
        auto* voce = menu.findChild<QAction*>(QStringLiteral("SceltaUta"));
        QVERIFY(voce);
        QCOMPARE(voce->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_U));
        QVERIFY(menu.actions().contains(voce));
        bool aperta = false;
        QTimer::singleShot(0, this, [&] {
            auto* f = dynamic_cast<FinestraUta*>(QApplication::activeModalWidget());
            aperta = f != nullptr;
            if (f) f->reject();
        });
        voce->trigger();
        QVERIFY(aperta);
    }

private:
    QTemporaryDir m_cartella;
};

QTEST_MAIN(TestFinestraUta)
#include "test_finestra_uta.moc"
