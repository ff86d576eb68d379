#include "ui/lettura_grafico.h"

#include "chart/strati.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace ondix {

namespace {

constexpr int spazio = 6;        // inside the box, pixels
constexpr int righe_massime = 9; // a clicked point's label and its eight lines

QRect rettangolo(const RiquadroPixel& r) {
    return {r.x, r.y, r.larghezza, r.altezza};
}

} // namespace

LetturaGrafico::LetturaGrafico() : m_font(QFontDatabase::systemFont(QFontDatabase::FixedFont)) {
    m_font.setPixelSize(13);
    // Set in full: a painter on the window would take the window's bold italic for what is left unset.
    m_font.setBold(false);
    m_font.setItalic(false);
}

void LetturaGrafico::prepara(const Plotter& p, const TabellaPunti* punti) {
    m_mappa = MappaGrafico::di(p);
    m_punti = punti;
    m_pronta = m_mappa.area.larghezza > 0 && m_mappa.area.altezza > 0;
    m_righe.clear();
    m_punto = 0;
    // One size for every state, so that the box does not jump as the mouse moves.
    const QFontMetrics fm(m_font);
    int larghezza = 0;
    for (const char* campione : {"oltre la saturazione", "h = -100,00 kJ/kg", "v = 0,000 m³/kg", "punto XXXXXXXXXX",
                                 "tbu non definita", "t = -100,00 °C"})
        larghezza = std::max(larghezza, fm.horizontalAdvance(QString::fromUtf8(campione)));
    const int altezza = righe_massime * fm.lineSpacing() + 2 * spazio;
    m_angoli = angoli_liberi(m_mappa.area, larghezza + 2 * spazio, altezza,
                             punti ? punti_processo(p, *punti) : std::vector<std::pair<int, int>>{},
                             p.riquadri_occupati(), p.scambio_assi());
}

QRect LetturaGrafico::mostra(const std::vector<std::string>& righe, QPoint pos) {
    const QRect prima = riquadro();
    m_righe.clear();
    for (const std::string& r : righe)
        m_righe.push_back(QString::fromStdString(r));
    QRect angolo = rettangolo(m_angoli.front());
    for (const RiquadroPixel& a : m_angoli)
        if (!rettangolo(a).adjusted(-8, -8, 8, 8).contains(pos)) {
            angolo = rettangolo(a);
            break;
        }
    // As tall as its lines, against the corner's edge of the plotting area.
    const int altezza = static_cast<int>(m_righe.size()) * QFontMetrics(m_font).lineSpacing() + 2 * spazio;
    const bool in_basso = angolo.center().y() > m_mappa.area.y + m_mappa.area.altezza / 2;
    m_riquadro = QRect(angolo.left(), in_basso ? angolo.bottom() + 1 - altezza : angolo.top(), angolo.width(), altezza);
    return prima.united(m_riquadro);
}

QRect LetturaGrafico::muovi(QPoint pos, bool attiva) {
    m_ultima = pos;
    if (m_punto != 0) return {};
    if (!attiva || !m_pronta || !m_mappa.area.contiene(pos.x(), pos.y())) return nascondi();
    const PuntoMondo w = m_mappa.mondo(pos.x(), pos.y());
    return mostra(righe_stato(w.t, w.x, m_mappa.aria), pos);
}

QRect LetturaGrafico::clic(QPoint pos, bool attiva) {
    const int voce = m_pronta && m_punti ? voce_vicina(m_mappa, *m_punti, pos.x(), pos.y(), 8.0) : 0;
    if (voce == 0) {
        m_punto = 0;
        return muovi(pos, attiva);
    }
    m_punto = voce;
    return mostra(righe_punto((*m_punti)[voce], m_mappa.aria), pos);
}

QRect LetturaGrafico::nascondi() {
    const QRect prima = riquadro();
    m_righe.clear();
    m_punto = 0;
    return prima;
}

QRect LetturaGrafico::uscita() {
    m_ultima = {-1, -1};
    return m_punto == 0 ? nascondi() : QRect();
}

void LetturaGrafico::dipingi(QPainter& p) const {
    if (m_righe.isEmpty()) return;
    p.save();
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.setBrush(QColor(0xFF, 0xFF, 0xF0));
    p.drawRect(m_riquadro.adjusted(0, 0, -1, -1));
    p.setFont(m_font);
    p.setPen(Qt::black);
    const QFontMetrics fm(m_font);
    int y = m_riquadro.top() + spazio + fm.ascent();
    for (const QString& r : m_righe) {
        p.drawText(m_riquadro.left() + spazio, y, r);
        y += fm.lineSpacing();
    }
    p.restore();
}

} // namespace ondix
