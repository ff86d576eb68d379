#include "ui/esterno_qt.h"

#include "ui/casella.h"
#include "ui/finestra_grafico.h"
#include "ui/finestra_rapporto.h"
#include "ui/impostazioni.h"
#include "ui/relazione_pdf.h"
#include "ui/schermo.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>

#include <algorithm>

namespace ondix {

void avviso(QWidget* genitore, QMessageBox::Icon icona, const QString& testo) {
    QMessageBox box(icona, QString::fromLatin1(nome_programma), testo, QMessageBox::Ok, genitore);
    box.exec();
}

bool domanda_si_no(QWidget* genitore, const QString& testo) {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(nome_programma), testo,
                    QMessageBox::Yes | QMessageBox::No, genitore);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void EsternoQt::messaggio(const std::string& testo) {
    m_messaggi.push_back(testo);
    avviso(m_genitore, QMessageBox::NoIcon, QString::fromStdString(testo));
}

std::string EsternoQt::chiedi(const std::string& titolo, const std::string& domanda, const std::string& predefinito) {
    const std::string r =
        m_risposta ? *m_risposta : chiedi_o_annulla(titolo, domanda, predefinito).value_or(predefinito);
    if (!m_risposta_data) m_risposta_data = r;
    return r;
}

Intestazione EsternoQt::intestazione() const {
    return m_intestazione ? *m_intestazione : intestazione_ricordata(m_ctx.aria);
}

bool EsternoQt::esporta_relazione(QWidget* genitore, const std::optional<GraficoDocumento>& grafico, QString percorso) {
    const auto intestazione = chiedi_intestazione(genitore, this->intestazione(), m_ctx.aria.pressione);
    if (!intestazione) return false;
    m_intestazione = *intestazione;
    if (percorso.isEmpty()) percorso = chiedi_file_relazione(genitore);
    if (percorso.isEmpty()) return false;
    return scrivi_relazione(genitore, documento_desktop(m_ctx, m_messaggi, *m_intestazione),
                            grafico ? &*grafico : nullptr, percorso);
}

std::optional<std::string> EsternoQt::chiedi_o_annulla(const std::string& titolo, const std::string& domanda,
                                                       const std::string& predefinito) {
    QInputDialog box(m_genitore);
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(QString::fromStdString(titolo));
    // Without a window manager there is no title bar: a box without a prompt of its own shows its caption as the
    // question above the text box.
    box.setLabelText(QString::fromStdString(domanda.empty() ? titolo : domanda));
    box.setTextValue(QString::fromStdString(predefinito));
    if (auto* casella = box.findChild<QLineEdit*>()) {
        prepara_casella_numero(casella);
        // The caption in the title bar is often the only text that says what to type: the box is made wide
        // enough for it (beside the title bar's icon and buttons) and for the prompt. The box's layout sets its
        // minimum size from its contents, so the width goes to the text box.
        QFont grassetto = QApplication::font();
        grassetto.setBold(true);
        const int titolo_px = QFontMetrics(grassetto).horizontalAdvance(box.windowTitle()) + 160;
        const int domanda_px = box.fontMetrics().horizontalAdvance(box.labelText());
        const QMargins m = box.layout() ? box.layout()->contentsMargins() : QMargins(11, 11, 11, 11);
        casella->setMinimumWidth(std::max({titolo_px, domanda_px, 360}) - m.left() - m.right());
    }
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.textValue().toStdString();
}

void EsternoQt::apri_grafico(VistaGrafico vista) {
    m_vista = vista;
    if (m_grafico) {
        m_grafico(m_genitore, m_ctx, vista);
        return;
    }
    // A new chart window, full-screen and modal: the report comes once it is closed. Its PDF report is this
    // calculation's, with the same messages and title block as the report window's.
    apri_finestra_grafico(m_genitore, m_ctx, vista, dimensioni_schermo(),
                          [this](QWidget* genitore, const GraficoDocumento& grafico, const QString& percorso) {
                              return esporta_relazione(genitore, grafico, percorso);
                          });
}

void EsternoQt::mostra_rapporto() {
    FinestraRapporto* finestra = m_rapporto ? m_rapporto() : nullptr;
    if (!finestra) return;
    finestra->carica(m_ctx.rapporto.righe());
    // "ESPORTA PDF": this calculation's report, with the messages it showed and its chart with the layers the
    // chart window last had on.
    finestra->imposta_relazione([this](QWidget* genitore) {
        std::optional<GraficoDocumento> grafico;
        if (m_vista) grafico = grafico_documento(m_ctx, *m_vista, Impostazioni().strati());
        esporta_relazione(genitore, grafico);
    });
    // "DIAGRAMMA" (Ctrl+G) shows the calculation's chart again over the report, from the same points: nothing is
    // computed anew.
    if (m_vista)
        finestra->imposta_grafico([this, vista = *m_vista](QWidget* sopra) {
            QWidget* prima = m_genitore;
            m_genitore = sopra;
            apri_grafico(vista);
            m_genitore = prima;
        });
    finestra->exec();
    finestra->imposta_relazione({});
    finestra->imposta_grafico({});
    azzera_mostrati();
}

void EsternoQt::errore(const QString& testo) {
    avviso(m_genitore, QMessageBox::Critical, testo);
}

} // namespace ondix
