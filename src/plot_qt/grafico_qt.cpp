#include "plot_qt/grafico_qt.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

#if defined(__SANITIZE_ADDRESS__)
// Fontconfig, under Qt's font database, leaves some of its caches unreachable at exit: its own, not leaks of this
// program. Silenced in sanitizer builds, quietly, since standard error is part of ondix-calc's output.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
#endif

namespace ondix {

namespace {

QtMessageHandler gestore_precedente = nullptr;

// A program without windows keeps its standard error for its own messages: Qt's warnings about the desktop
// session it does not have (runtime directory, platform plugin notes) are dropped; errors still go through.
void filtra_messaggi(QtMsgType tipo, const QMessageLogContext& contesto, const QString& testo) {
    if (tipo == QtDebugMsg || tipo == QtInfoMsg || tipo == QtWarningMsg) return;
    if (gestore_precedente) gestore_precedente(tipo, contesto, testo);
}

} // namespace

bool prepara_applicazione() {
    if (QCoreApplication::instance() == nullptr) {
        gestore_precedente = qInstallMessageHandler(filtra_messaggi);
        // Drawing needs no display: without a platform chosen, take the one that needs none.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char nome[] = "ondix";
        static char* argv[] = {nome, nullptr};
        // Lives until the process ends: destroying it during static destruction is not safe.
        static QGuiApplication* applicazione = new QGuiApplication(argc, argv);
        (void)applicazione;
    }
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return false;
    prepara_font();
    return true;
}

PlotterQt::PlotterQt() {
    m_plotter.imposta_canvas_schermo(&m_schermo);
    m_plotter.imposta_canvas_stampante(&m_stampante, 0, 0);
}

void PlotterQt::disegna_schermo(QPainter& painter, std::uint16_t larghezza_schermo, std::uint16_t altezza_schermo,
                                const ProceduraDisegno& procedura) {
    m_plotter.imposta_dispositivo(Dispositivo::schermo);
    m_plotter.imposta_dimensione_schermo(larghezza_schermo, altezza_schermo);
    m_schermo.imposta_painter(&painter);
    ridisegna(m_plotter, procedura);
    m_schermo.imposta_painter(nullptr);
}

void PlotterQt::disegna_stampante(QPainter& painter, const ProceduraDisegno& procedura, int spessore) {
    // Whatever happens while printing, the output is the screen again afterwards.
    struct Ripristino {
        PlotterQt& p;
        ~Ripristino() {
            p.m_stampante.imposta_painter(nullptr);
            p.m_plotter.imposta_dispositivo(Dispositivo::schermo);
        }
    } ripristino{*this};
    const QPaintDevice* pagina = painter.device();
    m_plotter.imposta_canvas_stampante(&m_stampante, pagina ? pagina->width() : 0, pagina ? pagina->height() : 0);
    m_plotter.imposta_dispositivo(Dispositivo::stampante);
    m_stampante.imposta_painter(&painter);
    m_stampante.imposta_spessore_penna(spessore);
    ridisegna(m_plotter, procedura);
}

bool PlotterQt::disegna(QPaintDevice& dispositivo, Dispositivo modo, const ProceduraDisegno& procedura) {
    QPainter painter;
    if (!painter.begin(&dispositivo)) return false;
    if (modo == Dispositivo::schermo) {
        const auto lato = [](int v) { return static_cast<std::uint16_t>(std::clamp(v, 0, 65535)); };
        disegna_schermo(painter, lato(dispositivo.width()), lato(dispositivo.height()), procedura);
    } else {
        disegna_stampante(painter, procedura);
    }
    return painter.end();
}

bool disegna_schermata(QPaintDevice& dispositivo, const Contesto& ctx, VistaGrafico vista) {
    return disegna_schermata(dispositivo, procedura_vista(vista, ctx), OpzioniGrafico{}, larghezza_schermata,
                             altezza_schermata);
}

bool disegna_schermata(QPaintDevice& dispositivo, const ProceduraDisegno& procedura, const OpzioniGrafico& opzioni,
                       std::uint16_t larghezza, std::uint16_t altezza) {
    QPainter painter;
    if (!painter.begin(&dispositivo)) return false;
    painter.fillRect(QRect(0, 0, larghezza, altezza), Qt::white);
    PlotterQt plotter;
    plotter.plotter().imposta_opzioni(opzioni);
    plotter.disegna_schermo(painter, larghezza, altezza, procedura);
    return painter.end();
}

} // namespace ondix
