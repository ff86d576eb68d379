// The air-handling unit window: the unit built section by section (added, removed, moved), its conditions, opened
// from and saved to the unit's file, and computed with CALCOLA into the chart and report windows of the processes.
#pragma once

#include "core/calcolo.h"
#include "core/uta.h"
#include "ui/esterno_qt.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QVBoxLayout;

namespace ondix {

class FinestraUta : public QDialog {
public:
    // `rapporto` gives the report window (none: no report is shown), `grafico` opens the chart (none: a new chart
    // window, as for the processes).
    FinestraUta(EsternoQt::FornitoreRapporto rapporto, EsternoQt::ApriGrafico grafico, QWidget* parent = nullptr);

    const Uta& uta() const { return m_uta; }
    // Shows `u` for editing.
    void imposta_uta(Uta u);
    // The unit of the file `percorso`; on a fault the window keeps its unit and shows why.
    bool apri_file(const QString& percorso);
    // Saves the unit into `percorso`; false (and why, shown) when it cannot.
    bool salva_file(const QString& percorso);
    // "CALCOLA": the condition chosen, computed; the chart and the report shown as for a process.
    void calcola();
    // A new section of kind `t` after the one selected (at the end when none is).
    void aggiungi_sezione(TipoSezione t);

    // The last calculation's context (report and chart table) and what the window last said.
    const Contesto& contesto() const { return m_ctx; }
    QString esito() const;

private:
    void costruisci();
    // The parts of the window: the buttons on top, the unit's fields, its conditions, the list of sections (each
    // added to the layout given), and the parameters' form.
    void costruisci_pulsanti(QVBoxLayout* principale);
    QFormLayout* costruisci_unita(QVBoxLayout* colonna);
    QFormLayout* costruisci_condizioni(QVBoxLayout* colonna);
    void costruisci_sezioni(QVBoxLayout* colonna);
    void mostra_unita();
    void mostra_condizione();
    void mostra_sezioni();
    void mostra_sezione();
    // The rows of the parameters' form: emptied, then the section's name, its switch in the condition shown, and
    // one row a parameter (a switch, or a box for a number or a flow).
    void svuota_parametri();
    void riga_nome_sezione(std::size_t n);
    void riga_attiva(std::size_t n, const Condizione& k);
    void riga_interruttore(std::size_t n, const ChiaveSezione& c, const QString& etichetta);
    void riga_valore(std::size_t n, const ChiaveSezione& c, const QString& etichetta);
    void leggi_unita();
    void leggi_condizione();
    void sposta(int verso);
    void rimuovi_sezione();
    void nuova_condizione();
    void rimuovi_condizione();
    void apri();
    void salva();
    void aggiorna_recenti();
    void dici(const QString& testo, bool errore);
    Condizione* condizione();
    int indice_sezione() const;

    Uta m_uta;
    Contesto m_ctx;
    EsternoQt m_esterno{m_ctx};
    RisultatoUta m_risultato;
    QString m_file;
    bool m_aggiornamento = false; // the widgets are being filled: their signals change nothing

    QLineEdit *m_nome = nullptr, *m_pressione = nullptr, *m_portata = nullptr, *m_espulsione = nullptr;
    QComboBox* m_unita_portata = nullptr;
    QLineEdit *m_ambiente_t = nullptr, *m_ambiente_ur = nullptr;
    QComboBox *m_condizioni = nullptr, *m_stagione = nullptr;
    QLineEdit *m_nome_condizione = nullptr, *m_esterna_t = nullptr, *m_esterna_ur = nullptr;
    QListWidget* m_sezioni = nullptr;
    QComboBox* m_tipo_nuova = nullptr;
    QGroupBox* m_parametri = nullptr;
    QFormLayout* m_modulo = nullptr;
    QPushButton* m_recenti = nullptr;
    QLabel* m_esito = nullptr;
};

} // namespace ondix
