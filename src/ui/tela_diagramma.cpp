#include "ui/tela_diagramma.h"

#include "ui/strati_grafico.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ondix {

namespace {

// How near the mouse must be to a mark to take it, pixels.
constexpr double raggio_presa = 8.0;
// Round values: the dry bulb and the humidity ratio steps.
constexpr double passo_t = 0.5;
constexpr double passo_x = 0.5;

std::uint16_t lato(int v) {
    return static_cast<std::uint16_t>(std::clamp(v, 1, 65535));
}

} // namespace

PuntoMondo arrotonda_punto(PuntoMondo p) {
    return {std::round(p.t / passo_t) * passo_t, std::round(p.x / passo_x) * passo_x};
}

TelaDiagramma::TelaDiagramma(DiagrammaLibero& diagramma, QWidget* parent) : QWidget(parent), m_d(diagramma) {
    setObjectName(QStringLiteral("tela"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::CrossCursor);
}

void TelaDiagramma::imposta_strati(const OpzioniGrafico& o) {
    m_strati = o;
    ridisegna();
}

void TelaDiagramma::imposta_lettura(bool on) {
    m_lettura_attiva = on;
    update(on ? m_lettura.ripeti(true) : m_lettura.nascondi());
}

void TelaDiagramma::ridisegna() {
    const DimensioniSchermo s{lato(width()), lato(height())};
    m_plotter.plotter().imposta_dimensione_schermo(s.larghezza, s.altezza);
    disegna_immagine(m_immagine, m_plotter, s, devicePixelRatioF(), m_strati, procedura_diagramma_libero(m_d, m_fissi));
    m_mappa = MappaGrafico::di(m_plotter.plotter());
    m_disegnato = m_mappa.area.larghezza > 0 && m_mappa.area.altezza > 0;
    if (!m_trascina) m_lettura.prepara(m_plotter.plotter(), nullptr);
    ++m_disegni;
    update();
}

void TelaDiagramma::seleziona(std::vector<int> ids) {
    std::erase_if(ids, [this](int id) { return !m_d.indice_stato(id); });
    if (ids == m_selezione) return;
    m_selezione = std::move(ids);
    update();
}

std::optional<QPointF> TelaDiagramma::posizione(int id) const {
    const auto i = m_d.indice_stato(id);
    if (!m_disegnato || !i) return std::nullopt;
    std::optional<Stato> dove;
    if (const auto& s = m_d.stato(*i).stato) dove = Stato{s->t, s->x};
    // An outlet placed where no process reaches stays where it was put, so that it can be dragged back.
    if (const auto k = m_d.trasformazione_di(id); !dove && k) dove = m_d.definizione_trasformazione(*k).obiettivo;
    if (!dove) return std::nullopt;
    double x = 0.0, y = 0.0;
    m_mappa.pixel(dove->t, dove->x, x, y);
    return QPointF(x, y);
}

int TelaDiagramma::stato_vicino(QPoint pos) const {
    int migliore = 0;
    double distanza = raggio_presa;
    for (std::size_t i = 0; i < m_d.numero_stati(); ++i) {
        const int id = m_d.definizione_stato(i).id;
        if (const auto q = posizione(id)) {
            const double d = std::hypot(pos.x() + 0.5 - q->x(), pos.y() + 0.5 - q->y());
            if (d <= distanza) {
                distanza = d;
                migliore = id;
            }
        }
    }
    return migliore;
}

std::optional<PuntoMondo> TelaDiagramma::punto(QPoint pos) const {
    if (!m_disegnato) return std::nullopt;
    const RiquadroPixel& a = m_mappa.area;
    return m_mappa.mondo(std::clamp(pos.x(), a.x, a.x + a.larghezza - 1),
                         std::clamp(pos.y(), a.y, a.y + a.altezza - 1));
}

std::optional<PuntoMondo> TelaDiagramma::punto_evento(const QMouseEvent* e) const {
    const auto p = punto(e->position().toPoint());
    if (p && (e->modifiers() & Qt::ShiftModifier)) return arrotonda_punto(*p);
    return p;
}

void TelaDiagramma::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawPixmap(0, 0, m_immagine);
    // The selected states ringed, over the picture: a selection draws nothing again.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xFF, 0x8C, 0x00), 2.5));
    p.setBrush(Qt::NoBrush);
    for (const int id : m_selezione)
        if (const auto q = posizione(id)) p.drawEllipse(*q, 9.0, 9.0);
    m_lettura.dipingi(p);
}

void TelaDiagramma::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    ridisegna();
}

void TelaDiagramma::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    const QPoint pos = e->position().toPoint();
    const int id = stato_vicino(pos);
    if (id == 0) {
        // A click on the chart places a state there.
        if (!m_disegnato || !m_mappa.area.contiene(pos.x(), pos.y())) return;
        const auto w = punto_evento(e);
        const int nuovo = m_d.aggiungi_punto(w->t, w->x);
        m_selezione = {nuovo};
        ridisegna();
        if (modificato) modificato(false);
        if (selezione_cambiata) selezione_cambiata();
        return;
    }
    if (e->modifiers() & Qt::ControlModifier) {
        const auto k = std::find(m_selezione.begin(), m_selezione.end(), id);
        if (k == m_selezione.end())
            m_selezione.push_back(id);
        else
            m_selezione.erase(k);
    } else if (std::find(m_selezione.begin(), m_selezione.end(), id) == m_selezione.end()) {
        m_selezione = {id};
    }
    update();
    if (selezione_cambiata) selezione_cambiata();
    // The chart holds still under the mouse while the state moves.
    m_fissi = intervalli_diagramma(m_d);
    m_trascina = true;
    m_d.inizia_trascinamento(id);
    update(m_lettura.nascondi());
    setCursor(Qt::ClosedHandCursor);
}

void TelaDiagramma::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (!m_trascina) {
        aggiorna_cursore(pos);
        update(m_lettura.muovi(pos, m_lettura_attiva));
        return;
    }
    const auto w = punto_evento(e);
    if (!w) return;
    if (const Fatto f = m_d.trascina(w->t, w->x); !f) {
        if (avviso) avviso(QString::fromStdString(f.errore().testo));
        return;
    }
    ridisegna();
    if (modificato) modificato(true);
}

void TelaDiagramma::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !m_trascina) return QWidget::mouseReleaseEvent(e);
    m_trascina = false;
    m_fissi.reset();
    m_d.fine_trascinamento();
    ridisegna();
    aggiorna_cursore(e->position().toPoint());
    if (modificato) modificato(false);
}

void TelaDiagramma::mouseDoubleClickEvent(QMouseEvent* e) {
    const int id = stato_vicino(e->position().toPoint());
    if (id != 0 && doppio_clic) doppio_clic(id);
}

void TelaDiagramma::leaveEvent(QEvent* e) {
    update(m_lettura.uscita());
    QWidget::leaveEvent(e);
}

void TelaDiagramma::aggiorna_cursore(QPoint pos) {
    setCursor(stato_vicino(pos) != 0 ? Qt::OpenHandCursor : Qt::CrossCursor);
}

} // namespace ondix
