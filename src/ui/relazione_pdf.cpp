#include "ui/relazione_pdf.h"

#include "core/numeri.h"
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
#include <QLabel>
#include <QLineEdit>

#include <array>

namespace ondix {

std::optional<Intestazione> chiedi_intestazione(QWidget* genitore, const Intestazione& base, double pressione) {
    QDialog dialogo(genitore);
    dialogo.setObjectName(QStringLiteral("intestazione_pdf"));
    dialogo.setWindowTitle(QStringLiteral("Intestazione della relazione"));
    auto* modulo = new QFormLayout(&dialogo);
    const std::array<std::pair<const char*, std::string Intestazione::*>, 5> campi{{
        {"Progetto", &Intestazione::progetto},
        {"Sito", &Intestazione::sito},
        {"Autore", &Intestazione::autore},
        {"Revisione", &Intestazione::revisione},
        {"Data", &Intestazione::data},
    }};
    std::array<QLineEdit*, 5> caselle{};
    for (std::size_t i = 0; i < campi.size(); ++i) {
        QString testo = QString::fromStdString(base.*campi[i].second);
        if (campi[i].second == &Intestazione::data && testo.isEmpty())
            testo = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
        caselle[i] = new QLineEdit(testo, &dialogo);
        caselle[i]->setObjectName(QString::fromLatin1(campi[i].first).toLower());
        caselle[i]->setMinimumWidth(320);
        modulo->addRow(QString::fromLatin1(campi[i].first) + QLatin1Char(':'), caselle[i]);
        // The altitude and the pressure as the report prints them, after the site: the calculation's own.
        if (campi[i].second == &Intestazione::sito) {
            QString aria = QString::fromStdString(formatta(pressione, 0, 0)) + QStringLiteral(" Pa");
            if (base.quota) aria = QString::fromStdString(formatta(*base.quota, 0, 0)) + QStringLiteral(" m, ") + aria;
            auto* quota = new QLabel(aria, &dialogo);
            quota->setObjectName(QStringLiteral("quota"));
            modulo->addRow(QStringLiteral("Quota e pressione:"), quota);
        }
    }
    auto* pulsanti = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialogo);
    QObject::connect(pulsanti, &QDialogButtonBox::accepted, &dialogo, &QDialog::accept);
    QObject::connect(pulsanti, &QDialogButtonBox::rejected, &dialogo, &QDialog::reject);
    modulo->addRow(pulsanti);
    if (dialogo.exec() != QDialog::Accepted) return std::nullopt;
    Intestazione i = base;
    for (std::size_t k = 0; k < campi.size(); ++k)
        i.*campi[k].second = caselle[k]->text().toStdString();
    Impostazioni().ricorda_intestazione(i);
    return i;
}

Intestazione intestazione_ricordata(Aria aria) {
    const Impostazioni impostazioni;
    Intestazione i = impostazioni.intestazione();
    if (const auto p = impostazioni.pressione_sito(); p && *p == aria.pressione) i.quota = impostazioni.quota_sito();
    return i;
}

Documento documento_desktop(const Contesto& ctx, const std::vector<std::string>& messaggi, Intestazione intestazione) {
    return documento_calcolo(ctx, messaggi, std::nullopt, std::move(intestazione), ONDIX_VERSIONE);
}

QString chiedi_file_relazione(QWidget* genitore) {
    QFileDialog dialogo(genitore, QStringLiteral("Esporta la relazione di calcolo in PDF"));
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setOptions(QFileDialog::DontUseNativeDialog);
    dialogo.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    dialogo.setDefaultSuffix(QStringLiteral("pdf"));
    const QString cartella = Impostazioni().cartella_rapporto();
    if (!cartella.isEmpty() && QDir(cartella).exists()) dialogo.setDirectory(cartella);
    dialogo.selectFile(QStringLiteral("relazione.pdf"));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return {};
    return dialogo.selectedFiles().first();
}

bool scrivi_relazione(QWidget* genitore, const Documento& documento, const GraficoDocumento* grafico,
                      const QString& percorso) {
    if (const auto errore = esporta_pdf(documento, grafico, QFile::encodeName(percorso).toStdString())) {
        avviso(genitore, QMessageBox::Critical, QString::fromStdString(*errore));
        return false;
    }
    Impostazioni().ricorda_cartella_rapporto(QFileInfo(percorso).absolutePath());
    const QFileInfo scritto(percorso);
    avviso(genitore, QMessageBox::Information,
           QStringLiteral("Relazione di calcolo salvata: %1\nnella cartella %2")
               .arg(scritto.fileName(), QDir::toNativeSeparators(scritto.absolutePath())));
    return true;
}

} // namespace ondix
