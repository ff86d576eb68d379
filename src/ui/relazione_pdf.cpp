#include "ui/relazione_pdf.h"

#include "ui/esterno_qt.h"
#include "ui/impostazioni.h"

#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>

#include <array>

namespace ondix {

std::optional<Intestazione> chiedi_intestazione(QWidget* genitore) {
    QDialog dialogo(genitore);
    dialogo.setObjectName(QStringLiteral("intestazione_pdf"));
    dialogo.setWindowTitle(QStringLiteral("Intestazione della relazione"));
    auto* modulo = new QFormLayout(&dialogo);
    Impostazioni impostazioni;
    const std::array<std::pair<const char*, QString>, 5> campi{{
        {"Progetto", impostazioni.progetto()},
        {"Sito", QString()},
        {"Autore", impostazioni.autore()},
        {"Revisione", QString()},
        {"Data", QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"))},
    }};
    std::array<QLineEdit*, 5> caselle{};
    for (std::size_t i = 0; i < campi.size(); ++i) {
        caselle[i] = new QLineEdit(campi[i].second, &dialogo);
        caselle[i]->setObjectName(QString::fromLatin1(campi[i].first).toLower());
        caselle[i]->setMinimumWidth(320);
        modulo->addRow(QString::fromLatin1(campi[i].first) + QLatin1Char(':'), caselle[i]);
    }
    auto* pulsanti = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialogo);
    QObject::connect(pulsanti, &QDialogButtonBox::accepted, &dialogo, &QDialog::accept);
    QObject::connect(pulsanti, &QDialogButtonBox::rejected, &dialogo, &QDialog::reject);
    modulo->addRow(pulsanti);
    if (dialogo.exec() != QDialog::Accepted) return std::nullopt;
    impostazioni.ricorda_progetto_autore(caselle[0]->text(), caselle[2]->text());
    Intestazione i;
    i.progetto = caselle[0]->text().toStdString();
    i.sito = caselle[1]->text().toStdString();
    i.autore = caselle[2]->text().toStdString();
    i.revisione = caselle[3]->text().toStdString();
    i.data = caselle[4]->text().toStdString();
    return i;
}

Documento documento_desktop(const Contesto& ctx, const std::vector<std::string>& messaggi, Intestazione intestazione) {
    return documento_calcolo(ctx, messaggi, std::nullopt, std::move(intestazione), ONDIX_VERSIONE);
}

bool scrivi_relazione(QWidget* genitore, const Documento& documento, const GraficoDocumento* grafico,
                      const QString& percorso) {
    const auto errore = esporta_pdf(documento, grafico, QFile::encodeName(percorso).toStdString());
    if (!errore) return true;
    avviso(genitore, QMessageBox::Critical, QString::fromStdString(*errore));
    return false;
}

void esporta_relazione(QWidget* genitore, const Contesto& ctx, const std::vector<std::string>& messaggi,
                       const std::optional<GraficoDocumento>& grafico) {
    const auto intestazione = chiedi_intestazione(genitore);
    if (!intestazione) return;
    QFileDialog dialogo(genitore, QStringLiteral("Esporta la relazione di calcolo in PDF"));
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setOptions(QFileDialog::DontUseNativeDialog);
    dialogo.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    dialogo.setDefaultSuffix(QStringLiteral("pdf"));
    Impostazioni impostazioni;
    const QString cartella = impostazioni.cartella_rapporto();
    if (!cartella.isEmpty() && QDir(cartella).exists()) dialogo.setDirectory(cartella);
    dialogo.selectFile(QStringLiteral("relazione.pdf"));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return;
    const QString nome = dialogo.selectedFiles().first();
    if (scrivi_relazione(genitore, documento_desktop(ctx, messaggi, *intestazione), grafico ? &*grafico : nullptr,
                         nome))
        impostazioni.ricorda_cartella_rapporto(QFileInfo(nome).absolutePath());
}

} // namespace ondix
