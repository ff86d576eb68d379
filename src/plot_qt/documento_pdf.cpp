#include "plot_qt/documento_pdf.h"

#include "core/file_destinazione.h"
#include "core/numeri.h"
#include "plot_qt/grafico_qt.h"

#include <QBuffer>
#include <QDate>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <functional>

namespace ondix {

namespace {

// 96 units an inch, as the screen the chart is drawn for: the chart keeps its proportions of line and lettering.
constexpr int dpi = 96;
constexpr double mm = dpi / 25.4;
constexpr double margine = 18 * mm;
constexpr double alto_testata = 14 * mm; // the short title block above each page's text
constexpr double alto_piede = 10 * mm;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QFont carattere(double punti, bool grassetto = false) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(punti);
    f.setBold(grassetto);
    return f;
}

QString data_di(const Intestazione& i) {
    return i.data.empty() ? QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")) : q(i.data);
}

QString quota_e_pressione(const Documento& d) {
    QString s;
    if (d.intestazione.quota) s = q(formatta(*d.intestazione.quota, 0, 0)) + QStringLiteral(" m, ");
    return s + q(formatta(d.aria.pressione, 0, 0)) + QStringLiteral(" Pa");
}

// The pages, laid out top to bottom; run once to count them, once to draw them.
class Impaginatore {
public:
    Impaginatore(QPdfWriter& pdf, QPainter* painter, const Documento& d, int pagine)
        : m_pdf(pdf), m_painter(painter), m_documento(d), m_pagine(pagine) {}

    int pagina() const { return m_pagina; }

    void inizia() {
        m_pagina = 1;
        cornice();
    }

    // A new page, portrait or landscape; the painter follows the page's size.
    void nuova_pagina(bool orizzontale = false) {
        const QPageLayout::Orientation o = orizzontale ? QPageLayout::Landscape : QPageLayout::Portrait;
        if (m_pdf.pageLayout().orientation() != o) m_pdf.setPageOrientation(o);
        if (m_painter) m_pdf.newPage();
        ++m_pagina;
        cornice();
    }

    // Room for `alto` below the current line, on a new page if needed.
    void spazio(double alto) {
        if (m_y + alto > fondo()) nuova_pagina();
    }

    double larghezza() const { return m_pdf.width() - 2 * margine; }
    double fondo() const { return m_pdf.height() - margine - alto_piede; }

    void testo(const QString& t, const QFont& f, double dopo = 2 * mm, int allinea = Qt::AlignLeft) {
        const QFontMetricsF fm(f, &m_pdf);
        const QRectF misura = fm.boundingRect(QRectF(0, 0, larghezza(), 1e6), Qt::TextWordWrap | allinea, t);
        spazio(misura.height());
        if (m_painter) {
            m_painter->setFont(f);
            m_painter->drawText(QRectF(margine, m_y, larghezza(), misura.height()), Qt::TextWordWrap | allinea, t);
        }
        m_y += misura.height() + dopo;
    }

    void titolo_sezione(const QString& t) {
        spazio(14 * mm); // a heading is never the last line of a page
        m_y += 2 * mm;
        testo(t, carattere(12, true), 1.5 * mm);
    }

    // The title block in full: a framed grid of the fields.
    void intestazione() {
        const Intestazione& i = m_documento.intestazione;
        testo(QStringLiteral("RELAZIONE DI CALCOLO - ARIA UMIDA"), carattere(16, true), 1 * mm);
        testo(q(m_documento.titolo), carattere(13, true), 3 * mm);
        const std::vector<std::pair<QString, QString>> campi{
            {QStringLiteral("Progetto"), q(i.progetto)},
            {QStringLiteral("Sito"), q(i.sito)},
            {QStringLiteral("Quota e pressione"), quota_e_pressione(m_documento)},
            {QStringLiteral("Data"), data_di(i)},
            {QStringLiteral("Autore"), q(i.autore)},
            {QStringLiteral("Revisione"), q(i.revisione)},
        };
        const double riga = 7 * mm, colonna = larghezza() / 2, etichetta = 32 * mm;
        const double alto = riga * 3;
        spazio(alto);
        if (m_painter) {
            m_painter->setPen(QPen(Qt::black, 1.2));
            m_painter->drawRect(QRectF(margine, m_y, larghezza(), alto));
            m_painter->setPen(QPen(Qt::black, 0.5));
            for (int r = 1; r < 3; ++r)
                m_painter->drawLine(QPointF(margine, m_y + r * riga), QPointF(margine + larghezza(), m_y + r * riga));
            m_painter->drawLine(QPointF(margine + colonna, m_y), QPointF(margine + colonna, m_y + alto));
            for (std::size_t k = 0; k < campi.size(); ++k) {
                const double x = margine + (k % 2) * colonna + 1.5 * mm;
                const double y = m_y + static_cast<double>(k / 2) * riga;
                m_painter->setFont(carattere(8));
                m_painter->drawText(QRectF(x, y, etichetta, riga), Qt::AlignVCenter | Qt::AlignLeft, campi[k].first);
                m_painter->setFont(carattere(10, true));
                m_painter->drawText(QRectF(x + etichetta, y, colonna - etichetta - 3 * mm, riga),
                                    Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, campi[k].second);
            }
        }
        m_y += alto + 3 * mm;
    }

    // A table of rows: quantity, value, unit; headings across, warning lines tinted.
    void tabella(const std::vector<RigaDocumento>& righe) {
        const double riga = 5.2 * mm;
        const double c_voce = larghezza() * 0.58, c_valore = larghezza() * 0.2;
        const auto testata = [&] {
            spazio(2 * riga);
            if (m_painter) {
                m_painter->fillRect(QRectF(margine, m_y, larghezza(), riga), QColor(215, 215, 215));
                m_painter->setPen(Qt::black);
                m_painter->setFont(carattere(9, true));
                m_painter->drawText(QRectF(margine + 1.5 * mm, m_y, c_voce, riga), Qt::AlignVCenter,
                                    QStringLiteral("Grandezza"));
                m_painter->drawText(QRectF(margine + c_voce, m_y, c_valore, riga), Qt::AlignVCenter | Qt::AlignRight,
                                    QStringLiteral("Valore"));
                m_painter->drawText(QRectF(margine + c_voce + c_valore + 3 * mm, m_y, c_voce, riga), Qt::AlignVCenter,
                                    QStringLiteral("Unità"));
            }
            m_y += riga;
        };
        testata();
        for (const RigaDocumento& r : righe) {
            // A heading is never a page's last row.
            if (m_y + riga * (r.titolo ? 2 : 1) > fondo()) {
                nuova_pagina();
                testata();
            }
            if (m_painter) {
                const QRectF tutta(margine, m_y, larghezza(), riga);
                if (r.avviso)
                    m_painter->fillRect(tutta, QColor(255, 228, 200));
                else if (r.titolo)
                    m_painter->fillRect(tutta, QColor(238, 238, 238));
                m_painter->setPen(QPen(QColor(160, 160, 160), 0.4));
                m_painter->drawLine(tutta.bottomLeft(), tutta.bottomRight());
                m_painter->setPen(Qt::black);
                if (r.titolo) {
                    m_painter->setFont(carattere(9, true));
                    m_painter->drawText(tutta.adjusted(1.5 * mm, 0, 0, 0), Qt::AlignVCenter | Qt::TextSingleLine,
                                        q(r.voce));
                } else {
                    m_painter->setFont(carattere(9));
                    m_painter->drawText(QRectF(margine + 1.5 * mm, m_y, c_voce - 3 * mm, riga),
                                        Qt::AlignVCenter | Qt::TextSingleLine, q(r.voce));
                    m_painter->drawText(QRectF(margine + c_voce, m_y, c_valore, riga),
                                        Qt::AlignVCenter | Qt::AlignRight | Qt::TextSingleLine, q(r.valore));
                    m_painter->drawText(QRectF(margine + c_voce + c_valore + 3 * mm, m_y,
                                               larghezza() - c_voce - c_valore - 3 * mm, riga),
                                        Qt::AlignVCenter | Qt::TextSingleLine, q(r.unita));
                }
            }
            m_y += riga;
        }
        m_y += 2 * mm;
    }

    // The warnings, each in a frame.
    void avvisi(const std::vector<std::string>& testi) {
        const QFont f = carattere(10, true);
        const QFontMetricsF fm(f, &m_pdf);
        for (const std::string& t : testi) {
            const double dentro = larghezza() - 8 * mm;
            const QString s = QStringLiteral("ATTENZIONE: ") + q(t);
            const double alto = fm.boundingRect(QRectF(0, 0, dentro, 1e6), Qt::TextWordWrap, s).height() + 6 * mm;
            spazio(alto);
            if (m_painter) {
                const QRectF cornice(margine, m_y, larghezza(), alto);
                m_painter->fillRect(cornice, QColor(255, 243, 224));
                m_painter->setPen(QPen(QColor(200, 80, 0), 2));
                m_painter->drawRect(cornice);
                m_painter->setPen(Qt::black);
                m_painter->setFont(f);
                m_painter->drawText(cornice.adjusted(4 * mm, 3 * mm, -4 * mm, -3 * mm), Qt::TextWordWrap, s);
            }
            m_y += alto + 2 * mm;
        }
    }

    // The chart on a landscape page, as wide as the page allows at the chart window's proportions.
    void grafico(const GraficoDocumento& g) {
        nuova_pagina(true);
        testo(QStringLiteral("Diagramma psicrometrico"), carattere(12, true), 2 * mm);
        const double spazio_w = larghezza(), spazio_h = fondo() - m_y;
        const double scala = std::min(spazio_w / larghezza_schermata, spazio_h / altezza_schermata);
        if (m_painter) {
            m_painter->save();
            m_painter->translate(margine + (spazio_w - larghezza_schermata * scala) / 2, m_y);
            m_painter->scale(scala, scala);
            m_painter->setClipRect(QRectF(0, 0, larghezza_schermata, altezza_schermata));
            m_painter->fillRect(QRectF(0, 0, larghezza_schermata, altezza_schermata), Qt::white);
            PlotterQt plotter;
            plotter.plotter().imposta_opzioni(g.opzioni);
            plotter.disegna_schermo(*m_painter, larghezza_schermata, altezza_schermata, g.procedura);
            m_painter->restore();
            m_painter->setPen(QPen(Qt::black, 0.5));
            m_painter->drawRect(QRectF(margine + (spazio_w - larghezza_schermata * scala) / 2, m_y,
                                       larghezza_schermata * scala, altezza_schermata * scala));
        }
        m_y += altezza_schermata * scala;
    }

private:
    // The short title block at the top and the page number at the foot.
    void cornice() {
        m_y = margine + alto_testata;
        if (!m_painter) return;
        const Intestazione& i = m_documento.intestazione;
        QString sinistra = QStringLiteral("ondix - ") + q(m_documento.titolo);
        if (!i.progetto.empty()) sinistra += QStringLiteral(" - ") + q(i.progetto);
        QString destra = data_di(i);
        if (!i.revisione.empty()) destra = QStringLiteral("Rev. ") + q(i.revisione) + QStringLiteral(" - ") + destra;
        if (!i.autore.empty()) destra = q(i.autore) + QStringLiteral(" - ") + destra;
        const QRectF riga(margine, margine, larghezza(), alto_testata - 5 * mm);
        m_painter->setPen(Qt::black);
        m_painter->setFont(carattere(8));
        m_painter->drawText(riga, Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine, sinistra);
        m_painter->drawText(riga, Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine, destra);
        m_painter->setPen(QPen(Qt::black, 0.6));
        m_painter->drawLine(QPointF(margine, riga.bottom() + 1 * mm),
                            QPointF(margine + larghezza(), riga.bottom() + 1 * mm));
        const QRectF piede(margine, m_pdf.height() - margine - alto_piede + 4 * mm, larghezza(), alto_piede - 4 * mm);
        m_painter->drawLine(piede.topLeft(), piede.topRight());
        m_painter->drawText(piede, Qt::AlignRight | Qt::AlignVCenter,
                            QStringLiteral("Pagina %1 di %2").arg(m_pagina).arg(m_pagine));
        if (!i.sito.empty()) m_painter->drawText(piede, Qt::AlignLeft | Qt::AlignVCenter, q(i.sito));
    }

    QPdfWriter& m_pdf;
    QPainter* m_painter;
    const Documento& m_documento;
    int m_pagine;
    int m_pagina = 1;
    double m_y = 0;
};

void impagina(Impaginatore& p, const Documento& d, const GraficoDocumento* g) {
    p.inizia();
    p.intestazione();
    p.titolo_sezione(QStringLiteral("Processo e dati di ingresso"));
    if (d.ingressi.empty())
        p.testo(QStringLiteral("Nessun dato di ingresso."), carattere(9));
    else
        p.tabella(d.ingressi);
    if (!d.avvisi.empty()) {
        p.titolo_sezione(QStringLiteral("Avvisi"));
        p.avvisi(d.avvisi);
    }
    p.titolo_sezione(QStringLiteral("Risultati"));
    if (d.risultati.empty())
        p.testo(QStringLiteral("Il calcolo non ha dato risultati."), carattere(9));
    else
        p.tabella(d.risultati);
    p.titolo_sezione(QStringLiteral("Nota sul metodo"));
    for (const std::string& riga : d.metodo)
        p.testo(q(riga), carattere(9), 1 * mm);
    if (g) p.grafico(*g);
}

} // namespace

bool componi_pdf(const Documento& documento, const GraficoDocumento* grafico, QIODevice& uscita) {
    if (!prepara_applicazione()) return false;
    QPdfWriter pdf(&uscita);
    pdf.setCreator(QStringLiteral("ondix"));
    pdf.setTitle(QStringLiteral("Relazione di calcolo - ") + q(documento.titolo));
    pdf.setResolution(dpi);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Portrait);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    // First the pages are counted, for "Pagina n di N"; then drawn.
    Impaginatore conta(pdf, nullptr, documento, 0);
    impagina(conta, documento, grafico);
    pdf.setPageOrientation(QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&pdf)) return false;
    painter.setRenderHint(QPainter::Antialiasing);
    Impaginatore disegna(pdf, &painter, documento, conta.pagina());
    impagina(disegna, documento, grafico);
    return painter.end();
}

std::optional<std::string> esporta_pdf(const Documento& documento, const GraficoDocumento* grafico,
                                       const std::string& percorso) {
    const auto errore = [&](const std::string& motivo) {
        return "impossibile scrivere la relazione in \"" + testo_visibile(percorso) + "\": " + motivo;
    };
    if (const Fatto f = verifica_destinazione(percorso); !f) return errore(f.errore().testo);
    QByteArray dati;
    QBuffer file(&dati);
    file.open(QIODevice::WriteOnly);
    const bool fatto = componi_pdf(documento, grafico, file);
    file.close();
    if (!fatto) return errore("il disegno non è riuscito");
    if (const Fatto f =
            sostituisci_file(percorso, std::string_view(dati.constData(), static_cast<std::size_t>(dati.size())));
        !f)
        return errore(f.errore().testo);
    return std::nullopt;
}

} // namespace ondix
