// Reading back what a print produced: PDF files inspected with poppler's tools, and the print queue's output
// directory watched for new files.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

namespace ondix::prova {

// Pages of a PDF file as pdfinfo reads them; nullopt (and `errore`) when it cannot be read.
std::optional<int> pagine_pdf(const QString& percorso, QString& errore);
// The text of a PDF file as pdftotext reads it (layout kept); nullopt (and `errore`) when it cannot be read.
std::optional<QString> testo_pdf(const QString& percorso, QString& errore);
// The first page of a PDF file rendered at `dpi` by pdftoppm; a null image (and `errore`) on failure.
QImage pagina_pdf(const QString& percorso, int dpi, QString& errore);
// Whether the first page of a PDF file is read in landscape: its text runs along the page's long side (a landscape
// page, or a landscape print turned onto portrait paper), as pdftotext finds the longest word; nullopt (and
// `errore`) when it cannot be read.
std::optional<bool> orizzontale_pdf(const QString& percorso, QString& errore);
// Width, in points, of the first line met going right from the left edge of `pagina` (rendered at `dpi`) at
// `altezza` (a fraction of its height); 0 when there is none.
double spessore_prima_linea(const QImage& pagina, int dpi, double altezza);

// The print queue's output directory for this user, from ONDIX_CARTELLA_PDF; empty when the test run has no
// print queue of its own.
QString cartella_coda();
// The PDF files in `cartella` with the time each was last written.
using IstantaneaPdf = QHash<QString, QDateTime>;
IstantaneaPdf pdf_in(const QString& cartella);
// Waits (at most `scadenza_ms`) until `cartella` holds `quanti` PDF files that are new or rewritten since `prima`
// (a restarted queue numbers its jobs from 1 again), each complete enough for pdfinfo to read; returns their
// paths, or what came on time.
QStringList attendi_nuovi_pdf(const QString& cartella, const IstantaneaPdf& prima, int quanti, int scadenza_ms);

} // namespace ondix::prova
