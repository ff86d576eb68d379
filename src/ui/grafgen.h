// The chart window: the psychrometric chart of the last calculation, full-screen, with "continua" and "STAMPA".
#pragma once

#include "chart/diagramma.h"
#include "plot_qt/grafico_qt.h"
#include "ui/geometria.h"

#include <QDialog>
#include <QPixmap>

#include <functional>
#include <memory>

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

class TForm_grafica : public QDialog {
public:
    // The printer "STAMPA" prints on; nullptr when there is none.
    using FabbricaStampante = std::function<std::unique_ptr<QPrinter>()>;

    // A new chart window for a screen of `schermo` pixels; nothing is drawn until a procedure is set.
    explicit TForm_grafica(DimensioniSchermo schermo, QWidget* parent = nullptr);

    // The drawing procedure, called at every drawing (it reads the chart table when it draws).
    void imposta_procedura(ProceduraDisegno procedura) { m_procedura = std::move(procedura); }
    const ProceduraDisegno& procedura() const { return m_procedura; }

    // On activation: full screen at (0, 0), the window's size recorded as the screen size, the button row
    // placed, and the chart drawn again on the screen.
    void inizia();
    // One drawing of the procedure (if any) into the window's backing picture, which the window paints from.
    void ridisegna();
    // "STAMPA": the chart on the default printer, one page; a message when there is no printer or it fails.
    void stampagrafico();
    // Prints the chart on `stampante` as one job, on a landscape page, with pens spessore_penna_stampa_mm wide;
    // false if the printer cannot be used or failed.
    bool stampa_su(QPrinter& stampante);
    // "continua": closes the window.
    void termina();

    // The default printer unless replaced (tests print to PDF or to no printer at all).
    void imposta_stampante(FabbricaStampante f) { m_stampante = std::move(f); }

    // The picture the window shows: the last screen drawing, white where nothing was drawn, with the screen's own
    // pixels (its device pixel ratio is the window's).
    const QPixmap& immagine() const { return m_immagine; }
    // The screen size the last activation recorded (the window's own size), pixels.
    DimensioniSchermo schermo_registrato() const { return m_registrato; }
    // The plotter that draws this window's chart on the screen and on the printer.
    PlotterQt& plotter() { return m_plotter; }
    // Screen drawings made so far (activations, including the first one).
    int disegni() const { return m_disegni; }

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // The window's size recorded as the screen size, the button row placed, the chart drawn again.
    void adatta_alla_finestra();

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
};

// The chart of `vista` over the context in a new chart window, shown modally over `genitore` on a screen of
// `schermo`; returns once the window has been closed, and the window is gone by then.
void apri_finestra_grafico(QWidget* genitore, const Contesto& ctx, VistaGrafico vista, DimensioniSchermo schermo);

} // namespace ondix
