// The chart of the working chart's window: drawn by the chart routine into a picture, with the states under the
// mouse. A click places a state (on round values with Shift held), a press on a state selects it (Ctrl adds to the
// selection) and a drag moves it, the processes that follow from it moving with it; a double click names it.
#pragma once

#include "chart/diagramma_libero.h"
#include "chart/lettura.h"
#include "plot_qt/grafico_qt.h"
#include "ui/lettura_grafico.h"

#include <QPixmap>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

namespace ondix {

// A point of the chart on round values: the dry bulb to 0.5 °C, the humidity ratio to 0.5 g/kg.
PuntoMondo arrotonda_punto(PuntoMondo p);

class TelaDiagramma : public QWidget {
public:
    TelaDiagramma(DiagrammaLibero& diagramma, QWidget* parent = nullptr);

    // The layers drawn, and the readout under the mouse.
    void imposta_strati(const OpzioniGrafico& o);
    const OpzioniGrafico& strati() const { return m_strati; }
    void imposta_lettura(bool on);

    // The chart drawn again into the picture: over the ranges the chart asks for, or those held by a drag.
    void ridisegna();
    int disegni() const { return m_disegni; }

    // The selected states by id, in the order they were selected.
    const std::vector<int>& selezione() const { return m_selezione; }
    void seleziona(std::vector<int> ids);

    // Where the mark of state `id` lies, widget pixels (an outlet no process reaches: where it was placed); none when
    // it is not drawn.
    std::optional<QPointF> posizione(int id) const;
    // The state whose mark is within a few pixels of `pos`; 0 for none.
    int stato_vicino(QPoint pos) const;
    // The chart point at widget pixel `pos`, held inside the plotting area; none when the chart is not drawn.
    std::optional<PuntoMondo> punto(QPoint pos) const;

    PlotterQt& plotter() { return m_plotter; }
    // The drawing procedure of prints and pictures: the chart over the ranges it asks for.
    ProceduraDisegno procedura() const { return procedura_diagramma_libero(m_d); }

    // After an edit made with the mouse; `in_corso`: a drag goes on (the table's rows stay the same).
    std::function<void(bool in_corso)> modificato;
    std::function<void()> selezione_cambiata;
    std::function<void(int id)> doppio_clic;
    // A drag the chart refused (a place no state may have): the reason.
    std::function<void(const QString&)> avviso;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    // The point under the mouse as a new position: on round values with Shift held.
    std::optional<PuntoMondo> punto_evento(const QMouseEvent* e) const;
    void aggiorna_cursore(QPoint pos);

    DiagrammaLibero& m_d;
    PlotterQt m_plotter;
    QPixmap m_immagine;
    MappaGrafico m_mappa;
    bool m_disegnato = false;
    LetturaGrafico m_lettura;
    OpzioniGrafico m_strati;
    bool m_lettura_attiva = false;
    std::vector<int> m_selezione;
    std::optional<IntervalliGrafico> m_fissi; // held while a drag goes on
    bool m_trascina = false;
    int m_disegni = 0;
};

} // namespace ondix
