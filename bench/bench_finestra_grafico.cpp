// From "CALCOLA" to the chart window's first complete paint, through the real input form and chart window (run it
// under Xvfb, or with QT_QPA_PLATFORM=offscreen): the computation, the new window, its drawing and its paint. And
// the readout under the mouse over a finished chart.
#include "ui/caratteri.h"
#include "ui/esterno_qt.h"
#include "ui/finestra_grafico.h"
#include "ui/finestra_maschera.h"
#include "ui/impostazioni.h"
#include "ui/schermo.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPushButton>
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
