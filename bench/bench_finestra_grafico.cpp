// From "CALCOLA" to the chart window's first complete paint, through the real input form and chart window (run it
// under Xvfb, or with QT_QPA_PLATFORM=offscreen): the computation, the new window, its drawing and its paint. And
// the readout under the mouse over a finished chart, and a drag on the working chart.
#include "ui/caratteri.h"
#include "ui/esterno_qt.h"
#include "ui/finestra_diagramma.h"
#include "ui/finestra_grafico.h"
#include "ui/finestra_maschera.h"
#include "ui/impostazioni.h"
#include "ui/schermo.h"
#include "ui/tela_diagramma.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>

using namespace ondix;

namespace {

using Orologio = std::chrono::steady_clock;

// Once armed, watches for the next paint of a chart window; once that paint (and its buttons') has gone to the
// screen, notes the time and closes the window, which ends the chart request.
class PrimoDisegno : public QObject {
public:
    Orologio::time_point fine{};
    int finestre = 0;
    bool armato = false;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (armato && e->type() == QEvent::Paint) {
            if (auto* g = dynamic_cast<FinestraGrafico*>(o)) {
                armato = false;
                ++finestre;
                QTimer::singleShot(0, g, [this, g] {
                    fine = Orologio::now();
                    g->termina();
                });
            }
        }
        return QObject::eventFilter(o, e);
    }
};

void BM_CalcolaFinoAlGrafico(benchmark::State& stato) {
    Contesto ctx;
    ctx.processo = static_cast<TipoProcesso>(stato.range(0));
    EsternoQt esterno(ctx); // no report window: the run ends with the chart
    FinestraMaschera form(ctx, esterno, dimensioni_schermo());
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        stato.SkipWithError("the input form was not shown");
        return;
    }
    auto* calcola = form.findChild<QPushButton*>(QStringLiteral("BitBtn2"));
    PrimoDisegno filtro;
    qApp->installEventFilter(&filtro);
    for (auto _ : stato) {
        const int prima = filtro.finestre;
        filtro.armato = true;
        const auto inizio = Orologio::now();
        calcola->click(); // returns once the chart window has closed
        if (filtro.finestre != prima + 1) {
            stato.SkipWithError("no chart window was painted");
            break;
        }
        stato.SetIterationTime(std::chrono::duration<double>(filtro.fine - inizio).count());
    }
    qApp->removeEventFilter(&filtro);
    form.close();
}
// Point properties (the point chart), summer cycle (the busiest standard chart), winter cycle.
BENCHMARK(BM_CalcolaFinoAlGrafico)->Arg(4)->Arg(6)->Arg(7)->UseManualTime()->Unit(benchmark::kMillisecond);

// The readout under the mouse: one mouse move over the chart window and the paint it causes (the box only; the
// chart is not drawn again), with every isoline on.
void BM_LetturaSottoIlMouse(benchmark::State& stato) {
    Contesto ctx;
    ctx.processo = 6;
    ctx.codice_grafico = 4;
    ctx.punti.imposta(1, 26.0, 10.5, "A");
    ctx.punti.imposta(2, 32.0, 18.0, "E");
    ctx.punti.imposta(3, 10.0, 7.6, "B");
    OpzioniGrafico o;
    for (Famiglia f : famiglie)
        o.imposta_famiglia(f, true);
    Impostazioni().ricorda_strati(o);
    Impostazioni().ricorda_lettura(true);
    FinestraGrafico f({1024, 768});
    f.imposta_grafico(ctx, VistaGrafico::standard);
    f.show();
    if (!QTest::qWaitForWindowExposed(&f)) {
        stato.SkipWithError("the chart window was not shown");
        return;
    }
    const int disegni = f.disegni();
    int i = 0;
    for (auto _ : stato) {
        ++i;
        const QPoint pos(300 + i % 400, 200 + i % 300);
        QMouseEvent mossa(QEvent::MouseMove, QPointF(pos), f.mapToGlobal(QPointF(pos)), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&f, &mossa);
        f.repaint(f.lettura().riquadro());
    }
    if (f.disegni() != disegni) stato.SkipWithError("the chart was drawn again on a mouse move");
    f.close();
    Impostazioni().ricorda_strati({});
    Impostazioni().ricorda_lettura(false);
}
BENCHMARK(BM_LetturaSottoIlMouse)->Unit(benchmark::kMicrosecond);

// A working chart of 20 states and 20 processes: ten placed states; a chain from the first through a mixing, a
// coil, a heater, a humidifier, steam, and four more mixings and heaters (ten outlets); ten free lines.
void impianto_di_prova(DiagrammaLibero& d) {
    std::vector<int> dati;
    for (int i = 0; i < 10; ++i)
        dati.push_back(d.aggiungi_punto(20.0 + i * 1.5, 6.0 + i * 0.6));
    const auto aggiungi = [&d](TipoTrasformazione t, int da, int con, auto imposta) {
        DefinizioneTrasformazione k = trasformazione_tra(t, da, con);
        k.portata = 3000.0;
        imposta(k);
        return *d.aggiungi_trasformazione(k);
    };
    const auto niente = [](DefinizioneTrasformazione&) {};
    int u = aggiungi(TipoTrasformazione::miscela, dati[0], dati[9], niente);
    u = aggiungi(TipoTrasformazione::batteria, u, 0, [](DefinizioneTrasformazione& k) { k.t_batteria = 8.0; });
    u = aggiungi(TipoTrasformazione::sensibile, u, 0, [](DefinizioneTrasformazione& k) { k.t_uscita = 22.0; });
    u = aggiungi(TipoTrasformazione::adiabatica, u, 0, niente);
    u = aggiungi(TipoTrasformazione::vapore, u, 0, [](DefinizioneTrasformazione& k) { k.x_uscita = 14.0; });
    for (int i = 1; i <= 5; ++i)
        u = aggiungi(i % 2 ? TipoTrasformazione::miscela : TipoTrasformazione::sensibile, u, i % 2 ? dati[i] : 0,
                     [i](DefinizioneTrasformazione& k) { k.t_uscita = 24.0 + i; });
    for (int i = 0; i < 10; ++i)
        (void)aggiungi(TipoTrasformazione::linea, dati[static_cast<std::size_t>(i)],
                       d.definizione_stato(10 + static_cast<std::size_t>(i)).id, niente);
}

// A drag on the working chart with every layer on (the four families of isolines and the comfort zone): one mouse
// move with the button held and what it causes, painted: every process following the state computed again, the
// chart drawn again, the table's texts replaced, the chart and both tables painted.
void BM_TrascinaDiagramma(benchmark::State& stato) {
    OpzioniGrafico o;
    for (Famiglia f : famiglie)
        o.imposta_famiglia(f, true);
    o.comfort = ZonaComfort{};
    Impostazioni().ricorda_strati(o);
    FinestraDiagramma f({}, {1024, 768});
    impianto_di_prova(f.diagramma());
    f.show();
    if (!QTest::qWaitForWindowExposed(&f)) {
        stato.SkipWithError("the window was not shown");
        return;
    }
    f.aggiorna();
    for (std::size_t k = 0; k < f.diagramma().numero_trasformazioni(); ++k)
        if (f.diagramma().trasformazione(k).rifiuto) {
            stato.SkipWithError(f.diagramma().trasformazione(k).rifiuto->testo.c_str());
            return;
        }
    TelaDiagramma* t = f.tela();
    const int id = f.diagramma().definizione_stato(0).id;
    const QPoint inizio = t->posizione(id)->toPoint();
    QTest::mousePress(t, Qt::LeftButton, {}, inizio);
    int i = 0;
    for (auto _ : stato) {
        ++i;
        const QPoint pos = inizio + QPoint(i % 40, -(i % 30));
        QMouseEvent mossa(QEvent::MouseMove, QPointF(pos), t->mapToGlobal(QPointF(pos)), Qt::NoButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(t, &mossa);
        t->repaint();
        f.tabella_stati()->viewport()->repaint();
        f.tabella_trasformazioni()->viewport()->repaint();
    }
    QTest::mouseRelease(t, Qt::LeftButton, {}, inizio);
    stato.counters["stati"] = static_cast<double>(f.diagramma().numero_stati());
    stato.counters["trasformazioni"] = static_cast<double>(f.diagramma().numero_trasformazioni());
    f.hide(); // closing would ask whether to save the chart
    Impostazioni().ricorda_strati({});
}
BENCHMARK(BM_TrascinaDiagramma)->Unit(benchmark::kMillisecond);

// The model alone: the first state of the same chart moved, everything that follows from it computed again.
void BM_RicalcoloDiagramma(benchmark::State& stato) {
    DiagrammaLibero d;
    impianto_di_prova(d);
    d.inizia_trascinamento(d.definizione_stato(0).id);
    int i = 0;
    for (auto _ : stato) {
        ++i;
        benchmark::DoNotOptimize(d.trascina(20.0 + (i % 40) * 0.05, 6.0 + (i % 30) * 0.05));
    }
    d.fine_trascinamento();
}
BENCHMARK(BM_RicalcoloDiagramma)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    installa_sostituzioni_caratteri();
    // The benchmarks choose their chart layers themselves, away from the user's settings.
    QTemporaryDir cartella;
    Impostazioni::usa_file(cartella.filePath(QStringLiteral("impostazioni.ini")));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
