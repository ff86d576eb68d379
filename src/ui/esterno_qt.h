// The outside world of a calculation in the desktop program: message boxes, the input box, the chart window
// and the report window.
#pragma once

#include "core/calcolo.h"
#include "core/documento.h"
#include "plot_qt/documento_pdf.h"

#include <QMessageBox>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace ondix {

class FinestraRapporto;

class EsternoQt : public Esterno {
public:
    // Shows the chart of a view over the context's table, modally over `genitore`; returns when it is closed.
    using ApriGrafico = std::function<void(QWidget* genitore, const Contesto& ctx, VistaGrafico vista)>;

    explicit EsternoQt(const Contesto& ctx) : m_ctx(ctx) {}

    // Where the report window comes from: one window for the whole run.
    using FornitoreRapporto = std::function<FinestraRapporto*()>;
    void imposta_rapporto(FornitoreRapporto fornitore) { m_rapporto = std::move(fornitore); }
    // Replaces the chart window (tests); without one the chart request opens a new chart window.
    void imposta_grafico(ApriGrafico apri) { m_grafico = std::move(apri); }
    // The window that the dialogs belong to (the input form while it computes).
    void imposta_genitore(QWidget* genitore) { m_genitore = genitore; }
    QWidget* genitore() const { return m_genitore; }

    void messaggio(const std::string& testo) override;
    // The input box; with an answer given beforehand (imposta_risposta) that answer, and no box. What it answers
    // (typed, or the default when the box is cancelled) is kept: risposta_data.
    std::string chiedi(const std::string& titolo, const std::string& domanda, const std::string& predefinito) override;
    // The answer the input boxes of the next calculations give without being shown (a calculation file's); nullopt:
    // they are shown.
    void imposta_risposta(std::optional<std::string> r) { m_risposta = std::move(r); }
    // The first answer an input box gave since azzera_risposta; nullopt when none was asked.
    const std::optional<std::string>& risposta_data() const { return m_risposta_data; }
    void azzera_risposta() { m_risposta_data.reset(); }
    // The title block the PDF reports of the calculations start from (until one is set, the remembered one); what
    // the title block's dialog is given is kept in it.
    void imposta_intestazione(Intestazione i) { m_intestazione = std::move(i); }
    Intestazione intestazione() const;
    // The PDF report of the calculation, with the messages it has shown so far and `grafico`: the title block asked,
    // then the file (unless `percorso` names it), then written and confirmed. False when not written.
    bool esporta_relazione(QWidget* genitore, const std::optional<GraficoDocumento>& grafico, QString percorso = {});
    // The same input box; nullopt when the user cancels it.
    std::optional<std::string> chiedi_o_annulla(const std::string& titolo, const std::string& domanda,
                                                const std::string& predefinito);
    void apri_grafico(VistaGrafico vista) override;
    void mostra_rapporto() override;

    // The messages shown and the chart requested since the last report was shown (for its PDF).
    const std::vector<std::string>& messaggi_mostrati() const { return m_messaggi; }
    std::optional<VistaGrafico> vista_mostrata() const { return m_vista; }
    // Forgets them: a new calculation starts.
    void azzera_mostrati() {
        m_messaggi.clear();
        m_vista.reset();
    }

    // A message box with a stop sign, titled with the program's name: errors that end a handler.
    void errore(const QString& testo);

private:
    const Contesto& m_ctx;
    FornitoreRapporto m_rapporto;
    ApriGrafico m_grafico;
    QWidget* m_genitore = nullptr;
    std::vector<std::string> m_messaggi;
    std::optional<VistaGrafico> m_vista; // the chart of the last calculation, shown again from its report
    std::optional<std::string> m_risposta;
    std::optional<std::string> m_risposta_data;
    std::optional<Intestazione> m_intestazione;
};

// The program's name, the title of its message boxes.
inline constexpr const char* nome_programma = "ondix";

// A message box titled with the program's name, with an OK button, modal over `genitore`; returns once closed.
void avviso(QWidget* genitore, QMessageBox::Icon icona, const QString& testo);
// A question titled with the program's name: Yes or No, No the default. True when the answer is Yes.
bool domanda_si_no(QWidget* genitore, const QString& testo);

} // namespace ondix
