// The pages of the PDF report laid out top to bottom: texts wrapped inside their boxes, tables whose blocks stay on
// one page with their titles, the short title block and the page number on every page. One pass counts the pages,
// a second one (with a painter) draws them the same way.
#pragma once

#include "core/documento.h"
#include "plot_qt/documento_pdf.h"

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTextLayout>

#include <string>
#include <vector>

class QPainter;
class QPaintDevice;
class QPdfWriter;

namespace ondix {

// Liberation Sans of `punti` points.
QFont carattere_pdf(double punti, bool grassetto = false);

// A text laid out in a width, its lines broken between words (inside a word only when the word alone is wider).
class Paragrafo {
public:
    Paragrafo(const QString& testo, const QFont& f, double larghezza, QPaintDevice* dispositivo,
              Qt::Alignment allinea = Qt::AlignLeft);
    Paragrafo(const Paragrafo&) = delete;
    Paragrafo& operator=(const Paragrafo&) = delete;
    double altezza() const { return m_altezza; }
    // Draws it with its top-left corner at `angolo`, in the painter's pen; nothing without a painter.
    void disegna(QPainter* p, QPointF angolo) const;

private:
    QTextLayout m_layout;
    double m_altezza = 0;
};

class Impaginatore {
public:
    Impaginatore(QPdfWriter& pdf, QPainter* painter, const Documento& d, int pagine);

    int pagina() const { return m_pagina; }
    void inizia();
    // A new page, portrait or landscape; the painter follows the page's size.
    void nuova_pagina(bool orizzontale = false);

    double larghezza() const;
    double fondo() const;
    // The room left on this page, and that of a page just begun.
    double resto() const { return fondo() - m_y; }
    double pagina_intera() const;

    // A paragraph across the page, on a new page if it does not fit here.
    void testo(const QString& t, const QFont& f, double dopo, Qt::Alignment allinea = Qt::AlignLeft);
    double alto_testo(const QString& t, const QFont& f) const;
    // A section's title; the height it takes.
    void titolo_sezione(const QString& t);
    double alto_titolo() const;

    // The title block in full: a framed grid of the fields, each value wrapped inside its cell.
    void intestazione();
    // A table of rows (quantity, value, unit) under its section title. Each block (a heading and its rows) stays on
    // one page when a page holds it, the whole table too; a block longer than a page goes on with its heading and
    // the section's title repeated. `coda` is the height that must follow the last block on its page.
    void tabella(const QString& titolo, const std::vector<RigaDocumento>& righe, double coda = 0);
    // The warnings, each in a frame.
    void avvisi(const std::vector<std::string>& testi);
    // The method note, then the box for the date and the designer's stamp and signature; and their height.
    void nota_e_firma(const std::vector<std::string>& nota);
    double alto_nota_e_firma(const std::vector<std::string>& nota) const;
    // The chart on a landscape page, as large as the page allows at the chart window's proportions, its point
    // letters explained under it.
    void grafico(const GraficoDocumento& g);

private:
    // The short title block at the top and the page number at the foot.
    void cornice();
    // `t` wrapped in `riquadro`, in `f` made smaller down to 5 points until it fits; never drawn outside it.
    void in_riquadro(const QString& t, QFont f, const QRectF& riquadro, Qt::Alignment allinea);
    double alto_riga(const RigaDocumento& r) const;
    void riga(const RigaDocumento& r, double alto);
    // The table's head ("Grandezza", "Valore", "Unità").
    void testata();
    // The table goes on on a new page: the section's title marked as continued, and the head.
    void continua(const QString& titolo);
    double firma_alta() const;

    QPdfWriter& m_pdf;
    QPainter* m_painter;
    const Documento& m_documento;
    int m_pagine;
    int m_pagina = 1;
    double m_y = 0;
};

} // namespace ondix
