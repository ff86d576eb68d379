#include "ui/stampa_testo.h"

#include "ui/esterno_qt.h"

#include <QFontMetricsF>
#include <QPrinter>
#include <QTextDocument>

#include <algorithm>

namespace ondix {

namespace {

// Width of the text area of a page that QTextDocument::print lays out: the page's printable width less its two
// 2 cm margins and the document's own margins, printer pixels; a little less, for rounding in the layout.
double larghezza_testo(const QPrinter& stampante) {
    const double dpi = stampante.logicalDpiX();
    const double margini = 2.0 * (2.0 / 2.54) * dpi + 2.0 * QTextDocument().documentMargin() * dpi / 96.0;
    return (stampante.width() - margini) * 0.98;
}

} // namespace

QFont carattere_di_stampa(const QPrinter& stampante, const QStringList& righe, const QFont& carattere) {
    const double spazio = larghezza_testo(stampante);
    const auto larghezza = [&](const QFont& f) {
        const QFontMetricsF fm(f, &stampante);
        double massima = 0.0;
        for (const QString& r : righe)
            massima = std::max(massima, fm.horizontalAdvance(r));
        return massima;
    };
    QFont f = carattere;
    if (f.pointSizeF() <= 0.0 || larghezza(f) <= spazio) return f;
    for (double punti = std::floor(f.pointSizeF() * 2.0) / 2.0; punti > 6.0; punti -= 0.5) {
        f.setPointSizeF(punti);
        if (larghezza(f) <= spazio) return f;
    }
    f.setPointSizeF(std::min(6.0, carattere.pointSizeF()));
    return f;
}

bool stampa_righe(QPrinter& stampante, const QStringList& righe, const QFont& carattere) {
    if (!stampante.isValid()) return false;
    stampante.setDocName(QString());
    QTextDocument documento;
    documento.setDefaultFont(carattere_di_stampa(stampante, righe, carattere));
    documento.setPlainText(righe.join(QLatin1Char('\n')));
    documento.print(&stampante);
    return stampante.printerState() != QPrinter::Error && stampante.printerState() != QPrinter::Aborted;
}

void stampa_o_avvisa(QWidget* finestra, QPrinter* stampante, const QString& senza_stampante,
                     const std::function<bool(QPrinter&)>& stampa) {
    if (!stampante) {
        avviso(finestra, QMessageBox::Warning, senza_stampante);
        return;
    }
    if (!stampa(*stampante))
        avviso(finestra, QMessageBox::Critical,
               QStringLiteral("Stampa non riuscita sulla stampante \"%1\".").arg(stampante->printerName()));
}

} // namespace ondix
