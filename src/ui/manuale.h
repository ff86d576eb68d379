// The manual built into the program: Italian HTML pages, shown in a window with a search field, opened by F1 from
// every window.
#pragma once

#include <QDialog>
#include <QString>

class QKeyEvent;
class QLineEdit;
class QTextBrowser;

namespace ondix {

// The manual's window, on the page `pagina` (a file name of the manual, such as "grafico.html").
class FinestraManuale : public QDialog {
public:
    explicit FinestraManuale(const QString& pagina = QStringLiteral("indice.html"), QWidget* parent = nullptr);

    QTextBrowser* testo() const { return m_testo; }
    // Finds `parola` from the current position in the current page, then in the other pages (in the order of the
    // index); false if no page holds it.
    bool cerca(const QString& parola);

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    QTextBrowser* m_testo;
    QLineEdit* m_cerca;
};

// The manual's pages, by file name.
QStringList pagine_manuale();
// Opens the manual on `pagina` over the active window and returns when it is closed.
void apri_manuale(const QString& pagina = QStringLiteral("indice.html"));
// F1 opens the manual from every window of the program, on the page of the window it is pressed in.
void installa_tasto_manuale();
// That page: the one the window names (its property "pagina_manuale"), or that its kind of window has, else that of
// the window it was opened from; the index for the main window.
QString pagina_finestra(const QWidget* w);
// The manual's page of a process kind ("indice.html" for none).
QString pagina_processo(int tipo);

} // namespace ondix
