#include "plot_qt/canvas_qt.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>

namespace ondix {

namespace {

QColor colore_qt(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

} // namespace

void prepara_font() {
    static bool fatto = false;
    if (fatto) return;
    fatto = true;
    const QStringList serif{"Liberation Serif", "Tinos", "Times", "Nimbus Roman", "DejaVu Serif", "FreeSerif"};
    for (const QString nome : {"times new roman", "Times New Roman"})
        QFont::insertSubstitutions(nome, serif);
}

QFont QPainterCanvas::font_qt() const {
    const QString nome = QString::fromStdString(stato().font);
    if (nome != m_font_nome || stato().punti_font != m_font_punti) {
        m_font = QFont(nome);
        m_font.setStyleHint(QFont::Serif);
        m_font.setPointSize(stato().punti_font > 0 ? stato().punti_font : 1);
        m_font_nome = nome;
        m_font_punti = stato().punti_font;
    }
    return m_font;
}

void QPainterCanvas::usa_penna() {
    QPen penna(colore_qt(stato().colore_penna));
    penna.setWidth(stato().spessore_penna);
    penna.setCapStyle(Qt::RoundCap);
    penna.setJoinStyle(Qt::RoundJoin);
    if (stato().tratteggio == Tratteggio::continuo) {
        m_painter->setPen(penna);
        return;
    }
    // Patterns in pen widths: long dashes, dots, dash and dot. A one-pixel broken line is drawn as the cosmetic
    // pen it looks like, which the rasteriser breaks into dashes itself.
    penna.setJoinStyle(Qt::BevelJoin);
    penna.setCosmetic(stato().spessore_penna <= 1);
    switch (stato().tratteggio) {
    case Tratteggio::continuo:
        break;
    case Tratteggio::tratteggiato:
        penna.setCapStyle(Qt::FlatCap);
        penna.setDashPattern({6.0, 4.0});
        break;
    case Tratteggio::punteggiato:
        penna.setCapStyle(Qt::FlatCap);
        penna.setDashPattern({1.5, 3.0});
        break;
    case Tratteggio::tratto_punto:
        penna.setCapStyle(Qt::FlatCap);
        penna.setDashPattern({8.0, 3.0, 1.5, 3.0});
        break;
    }
    m_painter->setPen(penna);
}

void QPainterCanvas::linea(int x1, int y1, int x2, int y2) {
    if (!m_painter) return;
    usa_penna();
    m_painter->drawLine(x1, y1, x2, y2);
}

void QPainterCanvas::traccia_polilinea(const std::vector<std::pair<int, int>>& punti) {
    if (!m_painter) return;
    usa_penna();
    QPolygon poligono(static_cast<int>(punti.size()));
    for (std::size_t i = 0; i < punti.size(); ++i)
        poligono.setPoint(static_cast<int>(i), punti[i].first, punti[i].second);
    m_painter->drawPolyline(poligono);
}

void QPainterCanvas::ellisse(int x1, int y1, int x2, int y2) {
    if (!m_painter) return;
    usa_penna();
    m_painter->setBrush(colore_qt(stato().colore_pennello));
    m_painter->drawEllipse(QRect(x1, y1, x2 - x1, y2 - y1));
}

void QPainterCanvas::rettangolo(int x1, int y1, int x2, int y2) {
    if (!m_painter) return;
    usa_penna();
    m_painter->setBrush(colore_qt(stato().colore_pennello));
    m_painter->drawRect(QRect(x1, y1, x2 - x1, y2 - y1));
}

void QPainterCanvas::poligono(const std::vector<std::pair<int, int>>& punti) {
    if (!m_painter || punti.empty()) return;
    usa_penna();
    m_painter->setBrush(colore_qt(stato().colore_pennello));
    QPolygon poligono(static_cast<int>(punti.size()));
    for (std::size_t i = 0; i < punti.size(); ++i)
        poligono.setPoint(static_cast<int>(i), punti[i].first, punti[i].second);
    m_painter->drawPolygon(poligono);
}

MisuraTesto QPainterCanvas::misura(std::string_view testo) const {
    const QString s = QString::fromUtf8(testo.data(), static_cast<qsizetype>(testo.size()));
    const QFontMetrics fm =
        m_painter && m_painter->device() ? QFontMetrics(font_qt(), m_painter->device()) : QFontMetrics(font_qt());
    return {fm.horizontalAdvance(s), fm.height()};
}

void QPainterCanvas::scrivi(int x, int y, std::string_view testo) {
    if (!m_painter) return;
    const QString s = QString::fromUtf8(testo.data(), static_cast<qsizetype>(testo.size()));
    m_painter->setFont(font_qt());
    const QFontMetrics fm = m_painter->fontMetrics();
    // The text's cell is opaque: it hides what was drawn under it.
    m_painter->fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), colore_qt(stato().colore_pennello));
    m_painter->setPen(colore_qt(stato().colore_testo));
    m_painter->drawText(QPoint(x, y + fm.ascent()), s);
}

} // namespace ondix
