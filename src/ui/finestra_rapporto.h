// The report window: the report of the last calculation in a fixed-pitch, editable box, printed on the default
// printer or saved as RTF.
#pragma once

#include "ui/geometria.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPrinter;
class QPushButton;

namespace ondix {

class FinestraRapporto : public QDialog {
public:
    // The printer "&Stampa" prints on; nullptr when there is none.
    using FabbricaStampante = std::function<std::unique_ptr<QPrinter>()>;

    explicit FinestraRapporto(DimensioniSchermo schermo, QWidget* parent = nullptr);

    // Replaces the box's text with the report lines (UTF-8).
    void carica(const std::vector<std::string>& righe);
    // The report as it stands in the box, edits included, one entry per paragraph.
    QStringList righe() const;

    // On every activation: caption and layout from the screen size.
    void inizia();
    // "&Stampa": the whole report on the default printer, one job; a message when there is no printer.
    void stampa();
    // Prints the report on `stampante` as one job with an empty title; false if the printer failed.
    bool stampa_su(QPrinter& stampante);
    // "SALVA SU FILE WORD": asks for a file name and saves the report there as RTF.
    void salva();
    // Writes the report as RTF to `nome` exactly as given, replacing the file only once the new one is complete;
    // on failure a message names the file and false is returned.
    bool salva_su_file(const QString& nome);

    // "ESPORTA PDF": what exports the report of the calculation shown, set with the report; the button is shown
    // only while one is set.
    using EsportaRelazione = std::function<void(QWidget* genitore)>;
    void imposta_relazione(EsportaRelazione f);
    // "DIAGRAMMA" (Ctrl+G): what shows the calculation's chart again over the report, set with the report; the
    // button and its hint are shown only while one is set.
    using MostraGrafico = std::function<void(QWidget* sopra)>;
    void imposta_grafico(MostraGrafico f);

    // The default printer unless replaced (tests print to PDF).
    void imposta_stampante(FabbricaStampante f) { m_stampante = std::move(f); }

protected:
    void showEvent(QShowEvent* e) override;

private:
    DimensioniSchermo m_schermo;
    QPlainTextEdit* m_testo;
    QPushButton* m_stampa;
    QPushButton* m_uscita;
    QPushButton* m_salva;
    QPushButton* m_pdf;
    QPushButton* m_grafico;
    QLabel* m_suggerimento;
    FabbricaStampante m_stampante;
    EsportaRelazione m_relazione;
    MostraGrafico m_mostra_grafico;
};

// The system's default printer, or nullptr when none is installed.
std::unique_ptr<QPrinter> stampante_predefinita();

} // namespace ondix
