#include "plot_qt/esporta.h"

#include "plot_qt/grafico_qt.h"

#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace ondix {

namespace {

enum class Formato { png, svg, pdf };

// 96 dots per inch, as a screen: the 14-point labels come out at the size the chart window shows.
constexpr int dpi_schermo = 96;
constexpr int punti_per_metro = 3780; // 96 dpi

std::string errore_scrittura(const std::string& percorso, const QString& motivo) {
    return "cannot write the chart to \"" + percorso + "\": " + motivo.toStdString();
}

bool scrivi_png(QSaveFile& file, const ProceduraDisegno& procedura) {
    QImage immagine(larghezza_schermata, altezza_schermata, QImage::Format_RGB32);
    immagine.setDotsPerMeterX(punti_per_metro);
    immagine.setDotsPerMeterY(punti_per_metro);
    return disegna_schermata(immagine, procedura) && immagine.save(&file, "PNG");
}

bool scrivi_svg(QSaveFile& file, const ProceduraDisegno& procedura) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(QSize(larghezza_schermata, altezza_schermata));
    svg.setViewBox(QRect(0, 0, larghezza_schermata, altezza_schermata));
    svg.setResolution(dpi_schermo);
    svg.setTitle("ondix");
    return disegna_schermata(svg, procedura);
}

bool scrivi_pdf(QSaveFile& file, const ProceduraDisegno& procedura) {
    QPdfWriter pdf(&file);
    pdf.setCreator("ondix");
    pdf.setTitle("ondix");
    pdf.setResolution(dpi_schermo);
    // One page the size of the screen: 1024 × 768 pixels at 96 dpi.
    const QSizeF punti(larghezza_schermata * 72.0 / dpi_schermo, altezza_schermata * 72.0 / dpi_schermo);
    pdf.setPageSize(QPageSize(punti, QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    return disegna_schermata(pdf, procedura);
}

} // namespace

std::optional<std::string> esporta_grafico(const Contesto& ctx, std::optional<VistaGrafico> vista,
                                           const std::string& percorso) {
    if (!vista) return std::string("no chart to write: the calculation made no chart");
    return esporta_disegno(procedura_vista(*vista, ctx), percorso);
}

std::optional<std::string> esporta_disegno(const ProceduraDisegno& procedura, const std::string& percorso) {
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
        return errore_scrittura(percorso, "the file name must end in .png, .svg or .pdf");
    if (!prepara_applicazione()) return errore_scrittura(percorso, "no graphics available in this process");

    // The chart goes to a temporary file next to the target, which replaces the target only once complete.
    QSaveFile file(nome);
    if (!file.open(QIODevice::WriteOnly)) return errore_scrittura(percorso, file.errorString());
    bool fatto = false;
    switch (formato) {
    case Formato::png:
        fatto = scrivi_png(file, procedura);
        break;
    case Formato::svg:
        fatto = scrivi_svg(file, procedura);
        break;
    case Formato::pdf:
        fatto = scrivi_pdf(file, procedura);
        break;
    }
    if (!fatto || file.error() != QFileDevice::NoError) {
        const QString motivo = file.error() != QFileDevice::NoError ? file.errorString() : QString("drawing failed");
        file.cancelWriting();
        return errore_scrittura(percorso, motivo);
    }
    if (!file.commit()) return errore_scrittura(percorso, file.errorString());
    return std::nullopt;
}

} // namespace ondix
