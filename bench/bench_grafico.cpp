// One full chart drawing at 1024 × 768: into a QImage as the chart window draws it, into the recording canvas
// (the drawing logic alone), and the whole PNG export; the first two plain and with every isoline on.
#include "chart/diagramma.h"
#include "chart/nuvola.h"
#include "chart/recording_canvas.h"
#include "esterno_prova.h"
#include "plot_qt/documento_pdf.h"
#include "plot_qt/esporta.h"
#include "plot_qt/grafico_qt.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <cmath>
#include <filesystem>
#include <vector>

using namespace ondix;

namespace {

// A summer cycle's points (overlay code 4), the busiest standard chart.
Contesto ciclo_estivo() {
    Contesto ctx;
    ctx.codice_grafico = 4;
    ctx.punti.imposta(1, 26.0, 10.5, "A");
    ctx.punti.imposta(2, 32.0, 18.0, "E");
    ctx.punti.imposta(3, 10.0, 7.6, "B");
    ctx.punti.imposta(4, 15.0, 9.0, "C");
    ctx.punti.imposta(5, 28.0, 12.9, "M");
    ctx.punti.imposta(6, 14.0, 7.6, "P");
    return ctx;
}

// Argument 0: the plain chart; 1: every family of isolines on, with the legend and a title line.
OpzioniGrafico strati(std::int64_t n) {
    OpzioniGrafico o;
    if (n == 0) return o;
    for (Famiglia f : famiglie)
        o.imposta_famiglia(f, true);
    o.titolo = riga_titolo(6, pressione_atmosferica);
    return o;
}

void BM_GraficoSuQImage(benchmark::State& stato) {
    if (!prepara_applicazione()) {
        stato.SkipWithError("no QGuiApplication");
        return;
    }
    const Contesto ctx = ciclo_estivo();
    const OpzioniGrafico o = strati(stato.range(0));
    QImage immagine(larghezza_schermata, altezza_schermata, QImage::Format_RGB32);
    immagine.setDotsPerMeterX(3780);
    immagine.setDotsPerMeterY(3780);
    for (auto _ : stato) {
        disegna_schermata(immagine, procedura_vista(VistaGrafico::standard, ctx), o, larghezza_schermata,
                          altezza_schermata);
        benchmark::DoNotOptimize(immagine.constBits());
    }
}
BENCHMARK(BM_GraficoSuQImage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_GraficoSuRecordingCanvas(benchmark::State& stato) {
    const Contesto ctx = ciclo_estivo();
    RecordingCanvas canvas;
    Plotter plotter;
    plotter.imposta_opzioni(strati(stato.range(0)));
    plotter.imposta_canvas_schermo(&canvas);
    plotter.imposta_dimensione_schermo(larghezza_schermata, altezza_schermata);
    for (auto _ : stato) {
        canvas.svuota();
        ridisegna(plotter, procedura_vista(VistaGrafico::standard, ctx));
        benchmark::DoNotOptimize(canvas.primitive().data());
    }
    stato.counters["primitive"] = static_cast<double>(canvas.primitive().size());
}
BENCHMARK(BM_GraficoSuRecordingCanvas)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A year of hours as dots (the chart of "ondix-calc stati FILE --grafico"), drawn into a QImage.
void BM_AnnoSuQImage(benchmark::State& stato) {
    if (!prepara_applicazione()) {
        stato.SkipWithError("no QGuiApplication");
        return;
    }
    PuntiNuvola ore;
    const double pi = 3.141592653589793;
    for (int i = 0; i < 8760; ++i) {
        const double giorno = i / 24, ora = i % 24;
        const double t = 12.0 - 10.0 * std::cos(2 * pi * (giorno - 15) / 365) - 4.0 * std::cos(2 * pi * (ora - 4) / 24);
        ore.push_back({t, std::fmax(0.5, 0.6 * umidita_saturazione(t) - 0.02 * ora)});
    }
    QImage immagine(larghezza_schermata, altezza_schermata, QImage::Format_RGB32);
    for (auto _ : stato) {
        disegna_schermata(
            immagine, [&ore](Plotter& p) { diagramma_nuvola(p, ore); }, OpzioniGrafico{}, larghezza_schermata,
            altezza_schermata);
        benchmark::DoNotOptimize(immagine.constBits());
    }
    stato.counters["punti"] = static_cast<double>(ore.size());
}
BENCHMARK(BM_AnnoSuQImage)->Unit(benchmark::kMillisecond);

void BM_EsportaPng(benchmark::State& stato) {
    const Contesto ctx = ciclo_estivo();
    const std::string percorso = (std::filesystem::temp_directory_path() / "ondix-bench-grafico.png").string();
    for (auto _ : stato) {
        if (const auto errore = esporta_grafico(ctx, VistaGrafico::standard, percorso)) {
            stato.SkipWithError(errore->c_str());
            break;
        }
    }
    std::filesystem::remove(percorso);
}
BENCHMARK(BM_EsportaPng)->Unit(benchmark::kMillisecond);

} // namespace

// The PDF calculation report of the default summer cycle, every isoline on, written through the safe writer:
// the calculation run once, then the document composed and written (the whole of "ESPORTA PDF" after its dialogs).
void BM_RelazionePdf(benchmark::State& stato) {
    if (!prepara_applicazione()) {
        stato.SkipWithError("no QGuiApplication");
        return;
    }
    EsternoProva esterno;
    Contesto ctx;
    ctx.processo = 6;
    imposta_maschera(ctx);
    if (!vai_calcolo(ctx, esterno) || !esterno.vista()) {
        stato.SkipWithError("the summer cycle did not run");
        return;
    }
    Intestazione intestazione{"Scuola Verdi", "Milano", "M. Rossi", "A", "01/12/2026", std::nullopt};
    const Documento d = documento_calcolo(ctx, {}, std::nullopt, intestazione, "bench");
    const GraficoDocumento g = grafico_documento(ctx, *esterno.vista(), strati(1));
    const auto percorso = std::filesystem::temp_directory_path() / "ondix-bench-relazione.pdf";
    for (auto _ : stato)
        if (esporta_pdf(d, &g, percorso.string())) stato.SkipWithError("the PDF was not written");
    std::filesystem::remove(percorso);
}
BENCHMARK(BM_RelazionePdf)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
