#include "plot_qt/impaginatore.h"

#include "core/numeri.h"
#include "plot_qt/grafico_qt.h"

#include <QDate>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextOption>

#include <algorithm>
#include <array>

namespace ondix {

namespace {

// 96 units an inch, as the screen the chart is drawn for (the writer's resolution).
constexpr double mm = 96 / 25.4;
constexpr double margine = 18 * mm;
constexpr double alto_testata = 14 * mm; // the short title block above each page's text
constexpr double alto_piede = 10 * mm;
constexpr double riga_minima = 5.2 * mm;
constexpr double spazio_cella = 1.5 * mm; // between a cell's text and its edges

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QString data_di(const Intestazione& i) {
    return i.data.empty() ? QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")) : q(i.data);
}

QString quota_e_pressione(const Documento& d) {
    QString s;
    if (d.intestazione.quota) s = q(formatta(*d.intestazione.quota, 0, 0)) + QStringLiteral(" m, ");
    return s + q(formatta(d.aria.pressione, 0, 0)) + QStringLiteral(" Pa");
}

// The table's columns: quantity, value, unit, as fractions of the width.
constexpr double quota_voce = 0.56, quota_valore = 0.24;

} // namespace

QFont carattere_pdf(double punti, bool grassetto) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(punti);
    f.setBold(grassetto);
    return f;
}

Paragrafo::Paragrafo(const QString& testo, const QFont& f, double larghezza, QPaintDevice* dispositivo,
                     Qt::Alignment allinea)
    : m_layout(testo, f, dispositivo) {
    QTextOption o(allinea);
    o.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_layout.setTextOption(o);
    m_layout.setCacheEnabled(true);
    m_layout.beginLayout();
    for (QTextLine l = m_layout.createLine(); l.isValid(); l = m_layout.createLine()) {
        l.setLineWidth(std::max(larghezza, 1.0));
        l.setPosition(QPointF(0, m_altezza));
        m_altezza += l.height();
    }
    m_layout.endLayout();
}

void Paragrafo::disegna(QPainter* p, QPointF angolo) const {
    if (p) m_layout.draw(p, angolo);
}

Impaginatore::Impaginatore(QPdfWriter& pdf, QPainter* painter, const Documento& d, int pagine)
    : m_pdf(pdf), m_painter(painter), m_documento(d), m_pagine(pagine) {}

void Impaginatore::inizia() {
    m_pagina = 1;
    cornice();
}

void Impaginatore::nuova_pagina(bool orizzontale) {
    const QPageLayout::Orientation o = orizzontale ? QPageLayout::Landscape : QPageLayout::Portrait;
    if (m_pdf.pageLayout().orientation() != o) m_pdf.setPageOrientation(o);
    if (m_painter) m_pdf.newPage();
    ++m_pagina;
    cornice();
}

double Impaginatore::larghezza() const {
    return m_pdf.width() - 2 * margine;
}

double Impaginatore::fondo() const {
    return m_pdf.height() - margine - alto_piede;
}

double Impaginatore::pagina_intera() const {
    return fondo() - margine - alto_testata;
}

double Impaginatore::alto_testo(const QString& t, const QFont& f) const {
    return Paragrafo(t, f, larghezza(), &m_pdf).altezza();
}

void Impaginatore::testo(const QString& t, const QFont& f, double dopo, Qt::Alignment allinea) {
    const Paragrafo p(t, f, larghezza(), &m_pdf, allinea);
    if (p.altezza() > resto()) nuova_pagina();
    if (m_painter) m_painter->setPen(Qt::black);
    p.disegna(m_painter, QPointF(margine, m_y));
    m_y += p.altezza() + dopo;
}

double Impaginatore::alto_titolo() const {
    return 2 * mm + alto_testo(QStringLiteral("Xg"), carattere_pdf(12, true)) + 1.5 * mm;
}

void Impaginatore::titolo_sezione(const QString& t) {
    m_y += 2 * mm;
    testo(t, carattere_pdf(12, true), 1.5 * mm);
}

void Impaginatore::in_riquadro(const QString& t, QFont f, const QRectF& riquadro, Qt::Alignment allinea) {
    for (double punti = f.pointSizeF(); punti > 5; punti -= 0.5) {
        f.setPointSizeF(punti);
        if (Paragrafo(t, f, riquadro.width(), &m_pdf).altezza() <= riquadro.height()) break;
    }
    const Paragrafo p(t, f, riquadro.width(), &m_pdf, allinea & Qt::AlignHorizontal_Mask);
    if (!m_painter) return;
    m_painter->save();
    m_painter->setClipRect(riquadro);
    const double y = allinea & Qt::AlignBottom    ? riquadro.bottom() - p.altezza()
                     : allinea & Qt::AlignVCenter ? riquadro.center().y() - p.altezza() / 2
                                                  : riquadro.top();
    p.disegna(m_painter, QPointF(riquadro.left(), std::max(y, riquadro.top())));
    m_painter->restore();
}

void Impaginatore::cornice() {
    m_y = margine + alto_testata;
    if (!m_painter) return;
    const Intestazione& i = m_documento.intestazione;
    QString sinistra = QStringLiteral("ondix - ") + q(m_documento.titolo);
    if (!i.progetto.empty()) sinistra += QStringLiteral(" - ") + q(i.progetto);
    QString destra = data_di(i);
    if (!i.revisione.empty()) destra = QStringLiteral("Rev. ") + q(i.revisione) + QStringLiteral(" - ") + destra;
    if (!i.autore.empty()) destra = q(i.autore) + QStringLiteral(" - ") + destra;
    // Side by side when both fit on the line; else the right part gets up to its share of the width and each
    // part wraps (in smaller letters if need be) inside its own box, so that the two never meet.
    const QFont f = carattere_pdf(8);
    const QFontMetricsF fm(f, &m_pdf);
    const double spazio = 6 * mm, w = larghezza();
    const double ws = fm.horizontalAdvance(sinistra), wd = fm.horizontalAdvance(destra);
    const double destra_w =
        ws + wd + spazio <= w ? wd + 1 : std::clamp(w - ws - spazio, std::min(wd + 1, w * 0.4), w * 0.45);
    const QRectF riga(margine, margine, w, alto_testata - 5 * mm);
    m_painter->setPen(Qt::black);
    in_riquadro(sinistra, f, QRectF(riga.left(), riga.top(), w - destra_w - spazio, riga.height()),
                Qt::AlignLeft | Qt::AlignBottom);
    in_riquadro(destra, f, QRectF(riga.right() - destra_w, riga.top(), destra_w, riga.height()),
                Qt::AlignRight | Qt::AlignBottom);
    m_painter->setPen(QPen(Qt::black, 0.6));
    m_painter->drawLine(QPointF(margine, riga.bottom() + 1 * mm), QPointF(margine + w, riga.bottom() + 1 * mm));
    const QRectF piede(margine, m_pdf.height() - margine - alto_piede + 4 * mm, w, alto_piede - 4 * mm);
    m_painter->drawLine(piede.topLeft(), piede.topRight());
    const QString numero = QStringLiteral("Pagina %1 di %2").arg(m_pagina).arg(m_pagine);
    const double numero_w = fm.horizontalAdvance(numero) + 1;
    m_painter->setPen(Qt::black);
    in_riquadro(numero, f, QRectF(piede.right() - numero_w, piede.top(), numero_w, piede.height()),
                Qt::AlignRight | Qt::AlignVCenter);
    if (!i.sito.empty())
        in_riquadro(q(i.sito), f, QRectF(piede.left(), piede.top(), w - numero_w - spazio, piede.height()),
                    Qt::AlignLeft | Qt::AlignVCenter);
}

void Impaginatore::intestazione() {
    const Intestazione& i = m_documento.intestazione;
    testo(QStringLiteral("RELAZIONE DI CALCOLO - ARIA UMIDA"), carattere_pdf(16, true), 1 * mm);
    testo(q(m_documento.titolo), carattere_pdf(13, true), 3 * mm);
    const std::array<std::pair<QString, QString>, 6> campi{{
        {QStringLiteral("Progetto"), q(i.progetto)},
        {QStringLiteral("Sito"), q(i.sito)},
        {QStringLiteral("Quota e pressione"), quota_e_pressione(m_documento)},
        {QStringLiteral("Data"), data_di(i)},
        {QStringLiteral("Autore"), q(i.autore)},
        {QStringLiteral("Revisione"), q(i.revisione)},
    }};
    const double colonna = larghezza() / 2, etichetta = 30 * mm, valore = colonna - etichetta - 2 * spazio_cella;
    const QFont f_etichetta = carattere_pdf(8), f_valore = carattere_pdf(10, true);
    // Each row as high as its taller value, wrapped between words inside its cell.
    std::array<double, 3> alti{};
    for (std::size_t k = 0; k < campi.size(); ++k)
        alti[k / 2] = std::max(
            {alti[k / 2], 7 * mm, Paragrafo(campi[k].second, f_valore, valore, &m_pdf).altezza() + 2 * spazio_cella,
             Paragrafo(campi[k].first, f_etichetta, etichetta, &m_pdf).altezza() + 2 * spazio_cella});
    const double alto = alti[0] + alti[1] + alti[2];
    if (alto > resto()) nuova_pagina();
    if (m_painter) {
        m_painter->setPen(QPen(Qt::black, 1.2));
        m_painter->drawRect(QRectF(margine, m_y, larghezza(), alto));
        m_painter->setPen(QPen(Qt::black, 0.5));
        m_painter->drawLine(QPointF(margine + colonna, m_y), QPointF(margine + colonna, m_y + alto));
        double y = m_y;
        for (std::size_t r = 0; r < alti.size(); ++r) {
            if (r > 0) m_painter->drawLine(QPointF(margine, y), QPointF(margine + larghezza(), y));
            for (std::size_t c = 0; c < 2; ++c) {
                const auto& [nome, testo_valore] = campi[r * 2 + c];
                const double x = margine + static_cast<double>(c) * colonna + spazio_cella;
                m_painter->setPen(Qt::black);
                in_riquadro(nome, f_etichetta, QRectF(x, y, etichetta, alti[r]), Qt::AlignLeft | Qt::AlignVCenter);
                in_riquadro(testo_valore, f_valore,
                            QRectF(x + etichetta, y + spazio_cella, valore, alti[r] - 2 * spazio_cella),
                            Qt::AlignLeft | Qt::AlignVCenter);
            }
            y += alti[r];
        }
    }
    m_y += alto + 3 * mm;
}

double Impaginatore::alto_riga(const RigaDocumento& r) const {
    const double w = larghezza();
    if (r.titolo)
        return std::max(riga_minima,
                        Paragrafo(q(r.voce), carattere_pdf(9, true), w - 2 * spazio_cella, &m_pdf).altezza() +
                            1.6 * mm);
    const QFont f = carattere_pdf(9);
    const double voce = Paragrafo(q(r.voce), f, w * quota_voce - 2 * spazio_cella, &m_pdf).altezza();
    const double valore = Paragrafo(q(r.valore), f, w * quota_valore - 2 * spazio_cella, &m_pdf).altezza();
    const double unita =
        Paragrafo(q(r.unita), f, w * (1 - quota_voce - quota_valore) - 2 * spazio_cella, &m_pdf).altezza();
    return std::max(riga_minima, std::max({voce, valore, unita}) + 1.6 * mm);
}

void Impaginatore::riga(const RigaDocumento& r, double alto) {
    if (m_painter) {
        const double w = larghezza();
        const QRectF tutta(margine, m_y, w, alto);
        if (r.avviso)
            m_painter->fillRect(tutta, QColor(255, 228, 200));
        else if (r.titolo)
            m_painter->fillRect(tutta, QColor(238, 238, 238));
        m_painter->setPen(QPen(QColor(160, 160, 160), 0.4));
        m_painter->drawLine(tutta.bottomLeft(), tutta.bottomRight());
        m_painter->setPen(Qt::black);
        const auto cella = [&](double da, double larga) {
            return QRectF(margine + da + spazio_cella, m_y, larga - 2 * spazio_cella, alto);
        };
        if (r.titolo) {
            in_riquadro(q(r.voce), carattere_pdf(9, true), cella(0, w), Qt::AlignLeft | Qt::AlignVCenter);
        } else {
            const QFont f = carattere_pdf(9);
            in_riquadro(q(r.voce), f, cella(0, w * quota_voce), Qt::AlignLeft | Qt::AlignVCenter);
            in_riquadro(q(r.valore), f, cella(w * quota_voce, w * quota_valore), Qt::AlignRight | Qt::AlignVCenter);
            in_riquadro(q(r.unita), f, cella(w * (quota_voce + quota_valore), w * (1 - quota_voce - quota_valore)),
                        Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    m_y += alto;
}

void Impaginatore::testata() {
    RigaDocumento r{"Grandezza", "Valore", "Unità", false, false};
    if (m_painter) {
        m_painter->fillRect(QRectF(margine, m_y, larghezza(), riga_minima), QColor(215, 215, 215));
        m_painter->setPen(Qt::black);
        const double w = larghezza();
        const QFont f = carattere_pdf(9, true);
        const auto cella = [&](double da, double larga) {
            return QRectF(margine + da + spazio_cella, m_y, larga - 2 * spazio_cella, riga_minima);
        };
        in_riquadro(q(r.voce), f, cella(0, w * quota_voce), Qt::AlignLeft | Qt::AlignVCenter);
        in_riquadro(q(r.valore), f, cella(w * quota_voce, w * quota_valore), Qt::AlignRight | Qt::AlignVCenter);
        in_riquadro(q(r.unita), f, cella(w * (quota_voce + quota_valore), w * (1 - quota_voce - quota_valore)),
                    Qt::AlignLeft | Qt::AlignVCenter);
    }
    m_y += riga_minima;
}

void Impaginatore::continua(const QString& titolo) {
    nuova_pagina();
    titolo_sezione(titolo + QStringLiteral(" (segue)"));
    testata();
}

void Impaginatore::tabella(const QString& titolo, const std::vector<RigaDocumento>& righe, double coda) {
    std::vector<double> alti;
    for (const RigaDocumento& r : righe)
        alti.push_back(alto_riga(r));
    // The blocks: a run of headings with the rows that follow them, or rows with no heading before them; a
    // separator of the report ends a block too.
    std::vector<std::pair<std::size_t, std::size_t>> blocchi;
    for (std::size_t i = 0; i < righe.size();) {
        const std::size_t inizio = i;
        const auto segue = [&] { return i < righe.size() && (i == inizio || !righe[i].separato); };
        // Rows before the table's first heading (the pressure's line) go with it.
        for (int giro = 0; giro < 2; ++giro) {
            while (segue() && righe[i].titolo)
                ++i;
            while (segue() && !righe[i].titolo)
                ++i;
            if (inizio > 0 || righe[0].titolo || !segue()) break;
        }
        blocchi.emplace_back(inizio, i);
    }
    const auto alto_da = [&](std::size_t da, std::size_t a) {
        double h = 0;
        for (std::size_t k = da; k < a; ++k)
            h += alti[k];
        return h;
    };
    const double capo = alto_titolo() + riga_minima; // a section title and the table's head
    // The whole table on a new page where it fits whole, else at least its first block with the title.
    const double intera = capo + alto_da(0, righe.size()) + coda;
    const double primo =
        blocchi.empty() ? 0 : capo + alto_da(blocchi[0].first, blocchi[0].second) + (blocchi.size() == 1 ? coda : 0);
    const auto in_una_pagina = [&](double h) { return h > resto() && h <= pagina_intera(); };
    if (in_una_pagina(intera) || in_una_pagina(primo) || capo + (righe.empty() ? 0 : alti[0]) > resto()) nuova_pagina();
    titolo_sezione(titolo);
    testata();
    for (std::size_t b = 0; b < blocchi.size(); ++b) {
        const auto [da, a] = blocchi[b];
        const double serve = alto_da(da, a) + (b + 1 == blocchi.size() ? coda : 0);
        // The block moves to a new page where it fits whole; one longer than a page is split below.
        if (serve > resto() && serve <= pagina_intera() - capo) continua(titolo);
        for (std::size_t k = da; k < a; ++k) {
            // A heading never ends a page: it goes with the row after it.
            const double con_seguente = alti[k] + (righe[k].titolo && k + 1 < a ? alti[k + 1] : 0);
            if (con_seguente > resto()) {
                continua(titolo);
                if (!righe[k].titolo && righe[da].titolo) {
                    RigaDocumento ripetuta = righe[da];
                    ripetuta.voce += " (segue)";
                    riga(ripetuta, alti[da]);
                }
            }
            riga(righe[k], alti[k]);
        }
    }
    m_y += 2 * mm;
}

void Impaginatore::avvisi(const std::vector<std::string>& testi) {
    const QFont f = carattere_pdf(10, true);
    for (const std::string& t : testi) {
        const Paragrafo p(QStringLiteral("ATTENZIONE: ") + q(t), f, larghezza() - 8 * mm, &m_pdf);
        const double alto = p.altezza() + 6 * mm;
        if (alto > resto()) nuova_pagina();
        if (m_painter) {
            const QRectF riquadro(margine, m_y, larghezza(), alto);
            m_painter->fillRect(riquadro, QColor(255, 243, 224));
            m_painter->setPen(QPen(QColor(200, 80, 0), 2));
            m_painter->drawRect(riquadro);
            m_painter->setPen(Qt::black);
            p.disegna(m_painter, QPointF(margine + 4 * mm, m_y + 3 * mm));
        }
        m_y += alto + 2 * mm;
    }
}

double Impaginatore::firma_alta() const {
    return 30 * mm;
}

double Impaginatore::alto_nota_e_firma(const std::vector<std::string>& nota) const {
    double h = alto_titolo() + 3 * mm + firma_alta();
    for (const std::string& riga_nota : nota)
        h += alto_testo(q(riga_nota), carattere_pdf(9)) + 1 * mm;
    return h;
}

void Impaginatore::nota_e_firma(const std::vector<std::string>& nota) {
    // The note and the signature stay together, on a new page if they do not fit here.
    const double alto = alto_nota_e_firma(nota);
    if (alto > resto() && alto <= pagina_intera()) nuova_pagina();
    titolo_sezione(QStringLiteral("Nota sul metodo"));
    for (const std::string& riga_nota : nota)
        testo(q(riga_nota), carattere_pdf(9), 1 * mm);
    m_y += 3 * mm;
    if (firma_alta() > resto()) nuova_pagina();
    if (m_painter) {
        const double w = larghezza(), sinistra = w * 0.35;
        const QRectF riquadro(margine, m_y, w, firma_alta());
        m_painter->setPen(QPen(Qt::black, 0.8));
        m_painter->drawRect(riquadro);
        m_painter->drawLine(QPointF(margine + sinistra, m_y), QPointF(margine + sinistra, m_y + firma_alta()));
        m_painter->setPen(Qt::black);
        const QFont etichetta = carattere_pdf(8), valore = carattere_pdf(10, true);
        const double r = 6 * mm;
        in_riquadro(QStringLiteral("Data"), etichetta,
                    QRectF(margine + spazio_cella, m_y + spazio_cella, sinistra - 2 * spazio_cella, r),
                    Qt::AlignLeft | Qt::AlignTop);
        in_riquadro(data_di(m_documento.intestazione), valore,
                    QRectF(margine + spazio_cella, m_y + r, sinistra - 2 * spazio_cella, r),
                    Qt::AlignLeft | Qt::AlignTop);
        const double x = margine + sinistra + spazio_cella, larga = w - sinistra - 2 * spazio_cella;
        in_riquadro(QStringLiteral("Il progettista (timbro e firma)"), etichetta,
                    QRectF(x, m_y + spazio_cella, larga, r), Qt::AlignLeft | Qt::AlignTop);
        in_riquadro(q(m_documento.intestazione.autore), valore, QRectF(x, m_y + r, larga, r),
                    Qt::AlignLeft | Qt::AlignTop);
    }
    m_y += firma_alta() + 2 * mm;
}

void Impaginatore::grafico(const GraficoDocumento& g) {
    nuova_pagina(true);
    testo(QStringLiteral("Diagramma psicrometrico"), carattere_pdf(12, true), 2 * mm);
    const QString legenda = g.legenda.empty() ? QString() : QStringLiteral("Punti: ") + q(g.legenda);
    const double sotto = legenda.isEmpty() ? 0 : alto_testo(legenda, carattere_pdf(9)) + 2 * mm;
    const double spazio_w = larghezza(), spazio_h = fondo() - m_y - sotto;
    const double scala = std::min(spazio_w / larghezza_schermata, spazio_h / altezza_schermata);
    const double x = margine + (spazio_w - larghezza_schermata * scala) / 2;
    if (m_painter) {
        m_painter->save();
        m_painter->translate(x, m_y);
        m_painter->scale(scala, scala);
        m_painter->setClipRect(QRectF(0, 0, larghezza_schermata, altezza_schermata));
        m_painter->fillRect(QRectF(0, 0, larghezza_schermata, altezza_schermata), Qt::white);
        PlotterQt plotter;
        plotter.plotter().imposta_opzioni(g.opzioni);
        plotter.disegna_schermo(*m_painter, larghezza_schermata, altezza_schermata, g.procedura);
        m_painter->restore();
        m_painter->setPen(QPen(Qt::black, 0.5));
        m_painter->drawRect(QRectF(x, m_y, larghezza_schermata * scala, altezza_schermata * scala));
    }
    m_y += altezza_schermata * scala + 2 * mm;
    if (!legenda.isEmpty()) testo(legenda, carattere_pdf(9), 0);
}

} // namespace ondix
