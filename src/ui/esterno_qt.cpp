#include "ui/esterno_qt.h"

#include "ui/grafgen.h"
#include "ui/schermo.h"
#include "ui/visualizza.h"

#include <QInputDialog>
#include <QMessageBox>

namespace ondix {

void EsternoQt::messaggio(const std::string& testo) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(nome_programma), QString::fromStdString(testo),
                    QMessageBox::Ok, m_genitore);
    box.exec();
}

std::string EsternoQt::chiedi(const std::string& titolo, const std::string& domanda, const std::string& predefinito) {
    QInputDialog box(m_genitore);
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(QString::fromStdString(titolo));
    box.setLabelText(QString::fromStdString(domanda));
    box.setTextValue(QString::fromStdString(predefinito));
    // Wide enough for its caption in the title bar.
    box.setMinimumWidth(360);
    if (box.exec() != QDialog::Accepted) return predefinito;
    return box.textValue().toStdString();
}

void EsternoQt::apri_grafico(VistaGrafico vista) {
    if (m_grafico) {
        m_grafico(m_genitore, m_ctx, vista);
        return;
    }
    // A new chart window, full-screen and modal: the report comes once it is closed.
    apri_finestra_grafico(m_genitore, m_ctx, vista, dimensioni_schermo());
}

void EsternoQt::mostra_rapporto() {
    TForm2* finestra = m_rapporto ? m_rapporto() : nullptr;
    if (!finestra) return;
    finestra->carica(m_ctx.rapporto.righe());
    finestra->exec();
}

void EsternoQt::errore(const QString& testo) {
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(nome_programma), testo, QMessageBox::Ok, m_genitore);
    box.exec();
}

} // namespace ondix
