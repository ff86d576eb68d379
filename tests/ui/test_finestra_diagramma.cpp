// The working chart's window driven with the mouse as a user would: states placed by clicks (one on round values),
// joined by a mixing and a coil, a state dragged with the processes following it, the coil's outlet dragged where no
// coil reaches, every step undone and redone; the table checked against the state solver. Then the menu's entries,
// the file saved and opened again, the table copied.
#include "dialoghi.h"

#include "core/diagramma_libero_tabella.h"
#include "core/stato_aria.h"
#include "ui/finestra_diagramma.h"
#include "ui/finestra_menu.h"
#include "ui/impostazioni.h"
#include "ui/tela_diagramma.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace ondix;

namespace {

QString cella(const QTableWidget* t, int riga, int colonna) {
    const QTableWidgetItem* i = t->item(riga, colonna);
    return i ? i->text() : QString();
}

double numero(const QString& s) {
    QString t = s;
    return t.replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
}

// The row of the states table against the state the solver gives for the point placed: every property within the
// half of its last printed decimal.
QString difetto_riga(const QTableWidget* t, int riga, PuntoMondo p) {
    const auto s = stato_da_coppia({Grandezza::t, p.t}, {Grandezza::x, p.x});
    if (!s) return QString::fromStdString(s.errore().testo);
    const std::pair<int, double> attesi[] = {{2, s->t}, {3, s->ur},           {4, s->x},       {5, s->h},
                                             {6, s->v}, {7, *s->bulbo_umido}, {8, *s->rugiada}};
    const double mezzo[] = {0.005, 0.05, 0.005, 0.005, 0.0005, 0.005, 0.005};
    for (std::size_t k = 0; k < std::size(attesi); ++k) {
        const QString testo = cella(t, riga, attesi[k].first);
        if (testo.isEmpty() || std::fabs(numero(testo) - attesi[k].second) > mezzo[k] + 1e-9)
            return QStringLiteral("row %1 column %2: %3, the solver %4")
                .arg(riga)
                .arg(attesi[k].first)
                .arg(testo)
                .arg(attesi[k].second, 0, 'f', 4);
    }
    return {};
}

// A drag with the left button held, through the widget's own mouse events: pressed at `da`, moved in steps, let go
// at `a`.
void trascina(QWidget* w, QPoint da, QPoint a, Qt::KeyboardModifiers tasti = {}) {
    QTest::mousePress(w, Qt::LeftButton, tasti, da);
    for (int k = 1; k <= 8; ++k) {
        const QPoint p = da + (a - da) * k / 8;
        QMouseEvent movimento(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, tasti);
        QApplication::sendEvent(w, &movimento);
    }
    QTest::mouseRelease(w, Qt::LeftButton, tasti, a);
}

// Answers the process dialog with `valori` (box name, text), then OK.
prova::Risponditore::Azione parametri(std::vector<std::pair<const char*, QString>> valori) {
    return [valori](QWidget* d) {
        for (const auto& [nome, testo] : valori) {
            auto* e = d->findChild<QLineEdit*>(QString::fromLatin1(nome));
            QVERIFY2(e, nome);
            e->setText(testo);
        }
        d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    };
}

QPoint pixel(const TelaDiagramma* t, int id) {
    return t->posizione(id)->toPoint();
}

// The window driven through one scenario, step by step.
struct Scena {
    FinestraDiagramma f{{}, {1024, 768}};
    TelaDiagramma* t = f.tela();
    QTableWidget* stati = f.tabella_stati();
    QTableWidget* processi = f.tabella_trasformazioni();
    prova::Risponditore r;
    PuntoMondo we{}, wa{}, wn{}; // where A and B were placed, where A was dragged
    int a = 0, b = 0;
    QString coil_prima; // the coil's outlet temperature before the drag
};

// Two clicks: outdoor air and room air, each row as the state solver has it; a third on round values.
void piazza(Scena& s) {
    const QPoint pe = s.t->rect().center() + QPoint(s.t->width() / 5, -s.t->height() / 8);
    const QPoint pa = s.t->rect().center() + QPoint(s.t->width() / 20, s.t->height() / 10);
    s.we = *s.t->punto(pe);
    s.wa = *s.t->punto(pa);
    QTest::mouseClick(s.t, Qt::LeftButton, {}, pe);
    QTest::mouseClick(s.t, Qt::LeftButton, {}, pa);
    QCOMPARE(s.stati->rowCount(), 2);
    QCOMPARE(cella(s.stati, 0, 0), QStringLiteral("A"));
    QVERIFY2(difetto_riga(s.stati, 0, s.we).isEmpty(), qPrintable(difetto_riga(s.stati, 0, s.we)));
    QVERIFY2(difetto_riga(s.stati, 1, s.wa).isEmpty(), qPrintable(difetto_riga(s.stati, 1, s.wa)));
    QTest::mouseClick(s.t, Qt::LeftButton, Qt::ShiftModifier, s.t->rect().center() + QPoint(-40, 60));
    QCOMPARE(std::fmod(numero(cella(s.stati, 2, 2)) * 2.0, 1.0), 0.0);
    QCOMPARE(std::fmod(numero(cella(s.stati, 2, 4)) * 2.0, 1.0), 0.0);
    s.a = s.f.diagramma().definizione_stato(0).id;
    s.b = s.f.diagramma().definizione_stato(1).id;
}

// A and B joined by a mixing of 30 % of A, the mixture on the line between them; the mixture cooled by a coil at
// 8 C, bypass 0.1, 2000 kg/h, with its power and condensed water.
void unisci(Scena& s) {
    QTest::mouseClick(s.t, Qt::LeftButton, {}, pixel(s.t, s.a));
    QTest::mouseClick(s.t, Qt::LeftButton, Qt::ControlModifier, pixel(s.t, s.b));
    QCOMPARE(s.t->selezione(), (std::vector<int>{s.a, s.b}));
    s.r.poi(parametri({{"frazione", QStringLiteral("0,3")}}));
    QVERIFY(s.f.nuova_trasformazione(TipoTrasformazione::miscela));
    QCOMPARE(s.processi->rowCount(), 1);
    QCOMPARE(cella(s.processi, 0, 1), QStringLiteral("A + B"));
    QCOMPARE(numero(cella(s.stati, 3, 2)), std::round((0.3 * s.we.t + 0.7 * s.wa.t) * 100.0) / 100.0);
    s.r.poi(parametri({{"t_batteria", QStringLiteral("8")},
                       {"fattore_bypass", QStringLiteral("0.1")},
                       {"portata", QStringLiteral("2000")}}));
    QVERIFY(s.f.nuova_trasformazione(TipoTrasformazione::batteria));
    QCOMPARE(s.processi->rowCount(), 2);
    QVERIFY(numero(cella(s.processi, 1, 8)) < 0.0); // kW: cooling
    QVERIFY(numero(cella(s.processi, 1, 9)) < 0.0); // kg/h: condensed
    QCOMPARE(cella(s.processi, 1, 10), QString());  // no refusal
    s.coil_prima = cella(s.stati, 4, 2);
}

// A dragged: its row follows the solver at the new place, the mixture and the coil's outlet follow it. The coil's
// outlet dragged above its inlet: the coil's line says why no coil goes there.
void trascina_stati(Scena& s) {
    const QPoint nuovo = pixel(s.t, s.a) + QPoint(40, -30);
    s.wn = *s.t->punto(nuovo);
    trascina(s.t, pixel(s.t, s.a), nuovo);
    QVERIFY2(difetto_riga(s.stati, 0, s.wn).isEmpty(), qPrintable(difetto_riga(s.stati, 0, s.wn)));
    QCOMPARE(numero(cella(s.stati, 3, 2)), std::round((0.3 * s.wn.t + 0.7 * s.wa.t) * 100.0) / 100.0);
    QVERIFY(cella(s.stati, 4, 2) != s.coil_prima);
    QCOMPARE(s.f.diagramma().prossimo_annulla(), std::string("sposta A"));
    const int c = s.f.diagramma().definizione_stato(4).id;
    trascina(s.t, pixel(s.t, c), pixel(s.t, s.f.diagramma().definizione_stato(3).id) + QPoint(-30, -25));
    QVERIFY2(cella(s.processi, 1, 10).contains(QStringLiteral("una batteria non aggiunge acqua")),
             qPrintable(cella(s.processi, 1, 10)));
    // Where it was let go it can be taken again: dragged back below the inlet, the coil is found.
    trascina(s.t, pixel(s.t, c), pixel(s.t, s.f.diagramma().definizione_stato(3).id) + QPoint(-40, 20));
    QCOMPARE(cella(s.processi, 1, 10), QString());
    s.f.azione("annulla")->trigger();
}

// Undone step by step with the keys (the coil again, then A where it was placed), redone; then closed with Escape:
// the chart is not saved, so the window asks first; kept open, then let go.
void annulla_e_chiudi(Scena& s) {
    s.f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&s.f));
    QTest::keyClick(&s.f, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(cella(s.processi, 1, 10), QString());
    QTest::keyClick(&s.f, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY2(difetto_riga(s.stati, 0, s.we).isEmpty(), qPrintable(difetto_riga(s.stati, 0, s.we)));
    QCOMPARE(cella(s.stati, 4, 2), s.coil_prima);
    QTest::keyClick(&s.f, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY2(difetto_riga(s.stati, 0, s.wn).isEmpty(), qPrintable(difetto_riga(s.stati, 0, s.wn)));
    QVERIFY(s.f.messaggio().startsWith(QStringLiteral("ripetuto: sposta A")));
    s.r.poi([](QWidget* d) { static_cast<QMessageBox*>(d)->button(QMessageBox::Cancel)->click(); });
    QTest::keyClick(&s.f, Qt::Key_Escape);
    QTest::keyClick(&s.f, Qt::Key_Escape); // the first one let go of the selection
    QVERIFY(s.f.isVisible());
    s.r.poi([](QWidget* d) { static_cast<QMessageBox*>(d)->button(QMessageBox::Discard)->click(); });
    QTest::keyClick(&s.f, Qt::Key_Escape);
    QVERIFY(!s.f.isVisible());
}

} // namespace

class TestFinestraDiagramma : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Impostazioni::usa_file(m_cartella.filePath(QStringLiteral("impostazioni.ini"))); }

    void piazzaUnisciTrascinaAnnulla() {
        Scena s;
        s.f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.f));
        // Maximised like the other windows.
        const QString difetto = prova::attendi_schermo_pieno(&s.f, QRect(0, 0, 1024, 768));
        QVERIFY2(difetto.isEmpty(), qPrintable(difetto));
        for (void (*passo)(Scena&) : {&piazza, &unisci, &trascina_stati, &annulla_e_chiudi}) {
            passo(s);
            if (QTest::currentTestFailed()) return;
        }
        VERIFICA_DIALOGHI(s.r);
    }

    void menuFileECopia() {
        FinestraMenu menu(m_cartella.path() + QLatin1Char('/'), {1024, 768});
        auto* pulsante = menu.findChild<QPushButton*>(QStringLiteral("diagramma_libero"));
        QVERIFY(pulsante);
        // Below the column, its right half; out of the buttons' keyboard order.
        QCOMPARE(pulsante->geometry(), QRect(517, 511, 302, 42));
        QCOMPARE(pulsante->focusPolicy(), Qt::NoFocus);
        auto* voce = menu.findChild<QAction*>(QStringLiteral("SceltaDiagramma"));
        QVERIFY(voce && menu.actions().contains(voce));
        QCOMPARE(voce->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
        prova::Risponditore r;
        r.poi([](QWidget* d) {
            QVERIFY(dynamic_cast<FinestraDiagramma*>(d));
            static_cast<QDialog*>(d)->reject();
        });
        pulsante->click();
        VERIFICA_DIALOGHI(r);

        FinestraDiagramma f({}, {1024, 768});
        (void)f.diagramma().aggiungi_punto(30.0, 12.0);
        (void)*f.diagramma().aggiungi_stato("R", {Grandezza::t, 24.0}, {Grandezza::ur, 55.0});
        DefinizioneTrasformazione k =
            trasformazione_tra(TipoTrasformazione::sensibile, f.diagramma().definizione_stato(0).id);
        k.t_uscita = 40.0;
        QVERIFY(f.diagramma().aggiungi_trasformazione(k));
        f.aggiorna();
        const QString file = m_cartella.filePath(QStringLiteral("diagramma.ondix"));
        QVERIFY(f.salva_file(file));
        // Opened from the menu, the file comes back in a window of its own with the same table.
        QString tabella;
        r.poi([&tabella](QWidget* d) {
            auto* g = dynamic_cast<FinestraDiagramma*>(d);
            QVERIFY(g);
            tabella = QString::fromStdString(tabella_tsv(g->diagramma()));
            g->reject();
        });
        QVERIFY(menu.apri_calcolo(file));
        VERIFICA_DIALOGHI(r);
        QCOMPARE(tabella, QString::fromStdString(tabella_tsv(f.diagramma())));
        f.azione("copia_tabella")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), tabella);
    }

private:
    QTemporaryDir m_cartella;
};

QTEST_MAIN(TestFinestraDiagramma)
#include "test_finestra_diagramma.moc"
