#include "plot_qt/documento_pdf.h"

#include "core/file_destinazione.h"
#include "core/numeri.h"
#include "plot_qt/grafico_qt.h"
#include "plot_qt/impaginatore.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace ondix {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

void impagina(Impaginatore& p, const Documento& d, const GraficoDocumento* g) {
    p.inizia();
    p.intestazione();
    if (!d.sintesi.empty()) p.tabella(QStringLiteral("Sintesi dei risultati"), d.sintesi);
    if (!d.avvisi.empty()) {
        p.titolo_sezione(QStringLiteral("Avvisi"));
        p.avvisi(d.avvisi);
    }
    const QString ingressi = QStringLiteral("Processo e dati di ingresso");
    if (d.ingressi.empty()) {
        p.titolo_sezione(ingressi);
        p.testo(QStringLiteral("Nessun dato di ingresso."), carattere_pdf(9), 2);
    } else {
        p.tabella(ingressi, d.ingressi);
    }
    // The note and the signature follow the last block of the results on its page: never a page of their own.
    if (d.risultati.empty()) {
        p.titolo_sezione(QStringLiteral("Risultati"));
        p.testo(QStringLiteral("Il calcolo non ha dato risultati."), carattere_pdf(9), 2);
    } else {
        p.tabella(QStringLiteral("Risultati"), d.risultati, p.alto_nota_e_firma(d.metodo));
    }
    p.nota_e_firma(d.metodo);
    if (g) p.grafico(*g);
}

} // namespace

GraficoDocumento grafico_documento(const Contesto& ctx, VistaGrafico vista, const OpzioniGrafico& strati) {
    return {procedura_vista(vista, ctx), con_titolo(strati, ctx.processo, ctx.aria),
            legenda_punti(ctx.processo, ctx.punti)};
}

bool componi_pdf(const Documento& documento, const GraficoDocumento* grafico, QIODevice& uscita) {
    if (!prepara_applicazione()) return false;
    QPdfWriter pdf(&uscita);
    pdf.setCreator(QStringLiteral("ondix"));
    pdf.setTitle(QStringLiteral("Relazione di calcolo - ") + q(documento.titolo));
    pdf.setResolution(96); // as the screen the chart is drawn for: it keeps its proportions of line and lettering
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
