#include "plot_qt/esporta.h"

#include "core/file_destinazione.h"
#include "core/numeri.h"
#include "plot_qt/grafico_qt.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>

namespace ondix {

namespace {

enum class Formato { png, svg, pdf };

// 96 dots per inch, as a screen: the 14-point labels come out at the size the chart window shows.
constexpr int dpi_schermo = 96;
constexpr int punti_per_metro = 3780; // 96 dpi

std::string errore_scrittura(const std::string& percorso, const std::string& motivo) {
    return "impossibile scrivere il grafico in \"" + testo_visibile(percorso) + "\": " + motivo;
}

// What is drawn into the file: the procedure with its layers, on a screen of the given size.
struct Disegno {
    const ProceduraDisegno& procedura;
    const OpzioniGrafico& opzioni;
    int larghezza, altezza;

    bool su(QPaintDevice& dispositivo) const {
        return disegna_schermata(dispositivo, procedura, opzioni, static_cast<std::uint16_t>(larghezza),
                                 static_cast<std::uint16_t>(altezza));
    }
};

bool scrivi_png(QBuffer& file, const Disegno& d) {
    QImage immagine(d.larghezza, d.altezza, QImage::Format_RGB32);
    immagine.setDotsPerMeterX(punti_per_metro);
    immagine.setDotsPerMeterY(punti_per_metro);
    return d.su(immagine) && immagine.save(&file, "PNG");
}

bool scrivi_svg(QBuffer& file, const Disegno& d) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(QSize(d.larghezza, d.altezza));
    svg.setViewBox(QRect(0, 0, d.larghezza, d.altezza));
    svg.setResolution(dpi_schermo);
    svg.setTitle("ondix");
    return d.su(svg);
}

bool scrivi_pdf(QBuffer& file, const Disegno& d) {
    QPdfWriter pdf(&file);
    pdf.setCreator("ondix");
    pdf.setTitle("ondix");
    pdf.setResolution(dpi_schermo);
    // One page the size of the screen, in pixels at 96 dpi.
    const QSizeF punti(d.larghezza * 72.0 / dpi_schermo, d.altezza * 72.0 / dpi_schermo);
    pdf.setPageSize(QPageSize(punti, QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    return d.su(pdf);
}

} // namespace

std::optional<std::string> esporta_grafico(const Contesto& ctx, std::optional<VistaGrafico> vista,
                                           const std::string& percorso, const OpzioniGrafico& opzioni) {
    if (!vista) return std::string("nessun grafico da scrivere: il calcolo non ha dato un grafico");
    // The title line at the calculation's own pressure (and model).
    return esporta_disegno(procedura_vista(*vista, ctx), con_titolo(opzioni, ctx.processo, ctx.aria),
                           larghezza_schermata, altezza_schermata, percorso);
}

std::optional<std::string> esporta_disegno(const ProceduraDisegno& procedura, const OpzioniGrafico& opzioni,
                                           std::uint16_t larghezza, std::uint16_t altezza,
                                           const std::string& percorso) {
    const QString nome = QString::fromStdString(percorso);
    const QString estensione = QFileInfo(nome).suffix().toLower();
    Formato formato;
    if (estensione == "png")
        formato = Formato::png;
    else if (estensione == "svg")
        formato = Formato::svg;
    else if (estensione == "pdf")
        formato = Formato::pdf;
    else
        return errore_scrittura(percorso, "il nome del file deve finire in .png, .svg o .pdf");
    if (!prepara_applicazione()) return errore_scrittura(percorso, "grafica non disponibile in questo processo");
    // A name that cannot be replaced (a device, a FIFO, a directory, a loop of links, a file the user may not
    // write) is refused before drawing.
    if (const Fatto f = verifica_destinazione(percorso); !f) return errore_scrittura(percorso, f.errore().testo);

    // The chart is drawn in memory, then written to a temporary file next to the target, which replaces the
    // target only once complete.
    QByteArray dati;
    QBuffer file(&dati);
    file.open(QIODevice::WriteOnly);
    const Disegno disegno{procedura, opzioni, std::max<int>(larghezza, 1), std::max<int>(altezza, 1)};
    bool fatto = false;
    switch (formato) {
    case Formato::png:
        fatto = scrivi_png(file, disegno);
        break;
    case Formato::svg:
        fatto = scrivi_svg(file, disegno);
        break;
    case Formato::pdf:
        fatto = scrivi_pdf(file, disegno);
        break;
    }
    file.close();
    if (!fatto) return errore_scrittura(percorso, "il disegno non è riuscito");
    if (const Fatto f =
            sostituisci_file(percorso, std::string_view(dati.constData(), static_cast<std::size_t>(dati.size())));
        !f)
        return errore_scrittura(percorso, f.errore().testo);
    return std::nullopt;
}

} // namespace ondix
