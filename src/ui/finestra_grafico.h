// The chart window: the psychrometric chart of the last calculation, full-screen, with "continua" and "STAMPA".
#pragma once

#include "chart/diagramma.h"
#include "plot_qt/documento_pdf.h"
#include "plot_qt/grafico_qt.h"
#include "ui/geometria.h"
#include "ui/lettura_grafico.h"

#include <QDialog>
#include <QPixmap>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QPrinter;
class QPushButton;

namespace ondix {

// Chart window: the window itself, and the button row that stands 53 pixels above its bottom edge.
struct LayoutGrafico {
    Rettangolo finestra, continua, stampa;
};
// The layout for a window of `s` (its width and height, pixels): full size at (0, 0); "continua" at left 208,
// 145 × 25, and "STAMPA" at left 392, 129 × 25, both at top height − 53.
LayoutGrafico layout_grafico(DimensioniSchermo s);

// Pen width of a chart printed at `dpi` dots per inch: half a millimetre, in printer pixels (at least 1).
int spessore_penna_stampa_mm(int dpi);

// Where the chart window writes its hint (the site pressure, the keys) and the legend of its points, window units.
struct DisposizioneSuggerimento {
    QRect suggerimento;  // the hint, in grey
    QRect legenda;       // "Punti: " and the legend, in black
    int pixel = 0;       // the letters' size
    bool a_capo = false; // wrapped inside their boxes; else each on one line, centred on it
};
// The hint on one line beside the buttons and the legend on one line under them, in letters of `f` (whose pixel
// size is as large as the buttons allow) as long as each fits there; else what does not fit goes under the buttons
// across the whole window, wrapped, both in the largest letters (down to 7 pixels) that fit the room left.
DisposizioneSuggerimento disponi_suggerimento(QSize finestra, const QRect& continua, const QRect& stampa,
                                              const QString& suggerimento, const QString& legenda, QFont f);

class FinestraGrafico : public QDialog {
public:
    // The printer "STAMPA" prints on; nullptr when there is none.
    using FabbricaStampante = std::function<std::unique_ptr<QPrinter>()>;
    // Writes the PDF report of the chart's calculation, with this chart, into the file named; false if not written.
    using EsportaRelazione = std::function<bool(QWidget* genitore, const GraficoDocumento&, const QString& percorso)>;

    // A new chart window for a screen of `schermo` pixels; nothing is drawn until a procedure is set.
    explicit FinestraGrafico(DimensioniSchermo schermo, QWidget* parent = nullptr);

    // The drawing procedure, called at every drawing (it reads the chart table when it draws).
    void imposta_procedura(ProceduraDisegno procedura) { m_procedura = std::move(procedura); }
    const ProceduraDisegno& procedura() const { return m_procedura; }

    // On activation: full screen at (0, 0), the window's size recorded as the screen size, the button row
    // placed, and the chart drawn again on the screen.
    void inizia();
    // One drawing of the procedure (if any) into the window's backing picture, which the window paints from.
    void ridisegna();
    // "STAMPA": the chart on the default printer, one page; a message when there is no printer or it fails.
    void stampa();
    // Prints the chart on `stampante` as one job, on a landscape page, with pens spessore_penna_stampa_mm wide;
    // false if the printer cannot be used or failed.
    bool stampa_su(QPrinter& stampante);
    // "continua": closes the window.
    void termina();

    // The default printer unless replaced (tests print to PDF or to no printer at all).
    void imposta_stampante(FabbricaStampante f) { m_stampante = std::move(f); }

    // The chart of `vista` over the context: its drawing procedure, the table whose marks can be clicked, and the
    // process the window's title and the title line of prints and pictures name. The context must outlive the
    // window.
    void imposta_grafico(const Contesto& ctx, VistaGrafico vista);
    // What "Salva immagine" writes as "Relazione di calcolo PDF"; without it the report has no messages and the
    // title block remembered.
    void imposta_relazione(EsportaRelazione f) { m_relazione = std::move(f); }
    // The layers drawn over the plain chart, and the readout under the mouse: as last chosen (the settings) when
    // the window is made; the keys U, H, B, V, M, L and the context menu switch them, remembered for the next run.
    const OpzioniGrafico& strati() const { return m_strati; }
    bool lettura_attiva() const { return m_lettura_attiva; }
    // The menu's and the keys' switches and "Salva immagine" (Ctrl+S), by object name ("strato_ur", "strato_h",
    // "strato_tbu", "strato_v", "strato_mollier", "lettura", "salva_immagine").
    QAction* azione(const char* nome) const;
    // Ctrl+S: asks for a file, then saves the chart there.
    void salva_immagine();
    // The chart as the window shows it, at its size, with the title line when a layer is on, into `percorso`
    // (.png, .svg or .pdf); a message when it cannot be written. False if not written.
    bool salva_immagine_su(const QString& percorso);
    // The box over the chart with the state under the mouse.
    const LetturaGrafico& lettura() const { return m_lettura; }

    // The picture the window shows: the last screen drawing, white where nothing was drawn, with the screen's own
    // pixels (its device pixel ratio is the window's).
    const QPixmap& immagine() const { return m_immagine; }
    // The screen size the last activation recorded (the window's own size), pixels.
    DimensioniSchermo schermo_registrato() const { return m_registrato; }
    // The plotter that draws this window's chart on the screen and on the printer.
    PlotterQt& plotter() { return m_plotter; }
    // Screen drawings made so far (activations, including the first one).
    int disegni() const { return m_disegni; }
    // Where the hint and the legend are written now, and in what letters; the legend "Punti: ...", and the hint.
    DisposizioneSuggerimento disposizione_suggerimento() const;
    QFont carattere_suggerimento(int pixel) const;
    QString legenda() const;
    QString suggerimento() const;

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void dipingi_suggerimento(QPainter& p) const;
    void resizeEvent(QResizeEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    // The window's size recorded as the screen size, the button row placed, the chart drawn again.
    void adatta_alla_finestra();
    // The switches, the context menu and Ctrl+S (finestra_grafico_strati.cpp).
    void crea_azioni();
    // A switch was pressed: remember the choice and draw again.
    void cambia_strati();
    // The small dialog of the comfort zone's occupants and limit; the zone is redrawn when shown.
    void parametri_comfort();
    // The options a print or a picture is drawn with: the window's layers, and the title line when one is on.
    OpzioniGrafico strati_per_file() const;

    DimensioniSchermo m_schermo;
    DimensioniSchermo m_registrato;
    QPushButton* m_continua;
    QPushButton* m_stampa;
    ProceduraDisegno m_procedura;
    FabbricaStampante m_stampante;
    PlotterQt m_plotter;
    QPixmap m_immagine;
    int m_disegni = 0;
    // The window has lost the focus since it last drew: its next activation draws again.
    bool m_disattivata = false;
    const Contesto* m_ctx = nullptr;
    std::optional<VistaGrafico> m_vista;
    EsportaRelazione m_relazione;
    OpzioniGrafico m_strati;
    bool m_lettura_attiva = false;
    LetturaGrafico m_lettura;
};

// The chart of `vista` over the context in a new chart window, shown modally over `genitore` on a screen of
// `schermo`, its PDF report written by `relazione`; returns once the window has been closed, and the window is gone
// by then.
void apri_finestra_grafico(QWidget* genitore, const Contesto& ctx, VistaGrafico vista, DimensioniSchermo schermo,
                           FinestraGrafico::EsportaRelazione relazione = {});

} // namespace ondix
