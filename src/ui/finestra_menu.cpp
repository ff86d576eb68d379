#include "ui/finestra_menu.h"

#include "core/altitudine.h"
#include "core/file_calcolo.h"
#include "core/numeri.h"
#include "ui/caratteri.h"
#include "ui/esterno_qt.h"
#include "ui/finestra_diagramma.h"
#include "ui/finestra_maschera.h"
#include "ui/finestra_uta.h"
#include "ui/impostazioni.h"
#include "ui/manuale.h"
#include "ui/modello_sito.h"
#include "ui/pressione_sito.h"
#include "ui/schermo.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace ondix {

namespace {

// A button of the main column: it opens the input form of its process kind.
struct PulsanteProcesso {
    const char* nome;
    const char* testo;
    TipoProcesso tipo;
};

// The main column, top to bottom.
constexpr std::array<PulsanteProcesso, 10> colonna{{
    {"BitBtn2", " proprieta del punto", 4},
    {"BitBtn3", "miscelazione", 1},
    {"BitBtn4", "RISCALDAMENTO RAFFREDDAMENTO SENSIBILE", 2},
    {"BitBtn5", "UMIDIFICAZIONE", 3},
    {"BitBtn10", "UMIDIFICAZIONE CON VAPORE", 13},
    {"BitBtn6", "RAFFREDDAMENTO CON CONDENSAZIONE", 5},
    {"BitBtn7", "ciclo estivo", 6},
    {"BitBtn8", "CICLO INVERNALE", 7},
    {"BitBtn12", "CICLO INVERNALE CON UMIDIFICAZIONE A VAPORE", 17},
    {"SpeedButton1", "VERIFICA ESTIVA", 21},
}};

// A button of the right column and what it does.
struct Pulsante {
    const char* nome;
    const char* testo;
    void (FinestraMenu::*azione)();
};

// The right column, top to bottom.
constexpr std::array<Pulsante, 3> destra{{
    {"BitBtn1", "&USCITA", &FinestraMenu::chiudi},
    {"BitBtn13", "ALTEZZA S.L.M.", &FinestraMenu::chiedi_altitudine},
    {"BitBtn9", "? INFO", &FinestraMenu::informazioni},
}};

void applica(QWidget* w, const Rettangolo& r) {
    w->setGeometry(r.left, r.top, r.width, r.height);
}

// The exit button's picture: the toolkit's own close picture, from the resources built into it. Asking the style
// for it would first look it up in the desktop's icon theme, which costs more than drawing the whole menu.
QIcon icona_uscita(const QStyle* stile) {
    QIcon icona;
    for (const char* lato : {"16", "32", "128"})
        icona.addFile(QStringLiteral(":/qt-project.org/styles/commonstyle/images/standardbutton-close-%1.png")
                          .arg(QLatin1String(lato)));
    return icona.isNull() ? stile->standardIcon(QStyle::SP_DialogCloseButton) : icona;
}

// `f`, a point smaller at a time while the button's text would not fit its width (a narrow screen, or a large
// scale factor).
QFont adatta_al_pulsante(const QAbstractButton* b, QFont f) {
    QString testo = b->text();
    testo.remove(QLatin1Char('&'));
    const int icona = b->icon().isNull() ? 0 : b->iconSize().width() + 4;
    for (int punti = f.pointSize(); punti >= 6; --punti) {
        f.setPointSize(punti);
        const QFontMetrics fm(f);
        int larghezza = 0;
        for (const QString& riga : testo.split(QLatin1Char('\n')))
            larghezza = std::max(larghezza, fm.horizontalAdvance(riga));
        if (larghezza + icona + 10 <= b->width()) break;
    }
    return f;
}

} // namespace

QString maiuscole_ascii(const QString& testo) {
    QString r = testo;
    for (QChar& c : r)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    return r;
}

FinestraMenu::FinestraMenu(const QString& cartella_programma, DimensioniSchermo schermo, QWidget* parent)
    : QWidget(parent), m_cartella(cartella_programma), m_schermo(schermo), m_immagine(new QLabel(this)) {
    setObjectName(QStringLiteral("form_ondix"));
    setWindowTitle(QStringLiteral("ondix1"));
    resize(812, 605);
    m_immagine->setObjectName(QStringLiteral("Image1"));
    m_immagine->setScaledContents(true);

    QPushButton* ultimo = nullptr;
    for (std::size_t i = 0; i < colonna.size(); ++i) {
        auto* b = new QPushButton(maiuscole_ascii(QString::fromLatin1(colonna[i].testo)), this);
        b->setObjectName(QString::fromLatin1(colonna[i].nome));
        const TipoProcesso tipo = colonna[i].tipo;
        connect(b, &QPushButton::clicked, this, [this, tipo] { apri_maschera(tipo); });
        m_colonna[i] = ultimo = b;
    }
    // The speed button takes no focus when clicked; the Tab key reaches it like every other button.
    ultimo->setFocusPolicy(Qt::TabFocus);
    for (std::size_t i = 0; i < destra.size(); ++i) {
        auto* b = new QPushButton(maiuscole_ascii(QString::fromLatin1(destra[i].testo)), this);
        b->setObjectName(QString::fromLatin1(destra[i].nome));
        connect(b, &QPushButton::clicked, this, destra[i].azione);
        m_destra[i] = b;
    }
    m_destra[0]->setIcon(icona_uscita(style()));
    m_esterno.imposta_rapporto([this] { return rapporto(); });
    m_pressione = new PressioneSito(this, m_ctx);
    m_modello = new ModelloSito(this, m_ctx);
    // Beside the model's choice in the context menu: the air-handling units.
    auto* uta = new QAction(QStringLiteral("Unità di trattamento aria..."), this);
    uta->setObjectName(QStringLiteral("SceltaUta"));
    uta->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));
    connect(uta, &QAction::triggered, this, [this] { apri_uta(); });
    addAction(uta);
    // The working chart: beside the units in the context menu, and a button in the room below the column that takes
    // no part in the buttons' keyboard order.
    auto* diagramma = new QAction(QStringLiteral("Diagramma libero..."), this);
    diagramma->setObjectName(QStringLiteral("SceltaDiagramma"));
    diagramma->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(diagramma, &QAction::triggered, this, [this] { apri_diagramma(); });
    addAction(diagramma);
    auto* pulsante_diagramma = new QPushButton(QStringLiteral("DIAGRAMMA LIBERO"), this);
    pulsante_diagramma->setObjectName(QStringLiteral("diagramma_libero"));
    pulsante_diagramma->setFocusPolicy(Qt::NoFocus);
    pulsante_diagramma->setToolTip(QStringLiteral("Stati e trasformazioni sul grafico (Ctrl+D)"));
    connect(pulsante_diagramma, &QPushButton::clicked, this, [this] { apri_diagramma(); });
    m_diagramma = pulsante_diagramma;
    installa_tasto_manuale();
    // Calculation files, after the model's choice in the context menu.
    auto* separatore = new QAction(this);
    separatore->setSeparator(true);
    auto* apri = new QAction(QStringLiteral("Apri calcolo..."), this);
    apri->setObjectName(QStringLiteral("apri_calcolo"));
    apri->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(apri, &QAction::triggered, this, [this] { scegli_calcolo(); });
    m_recenti = new QMenu(QStringLiteral("Calcoli recenti"), this);
    m_recenti->setObjectName(QStringLiteral("calcoli_recenti"));
    connect(m_recenti, &QMenu::aboutToShow, this, [this] { riempi_recenti(); });
    addActions({separatore, apri, m_recenti->menuAction()});
    setContextMenuPolicy(Qt::ActionsContextMenu);
    aggiusta();
}

void FinestraMenu::riempi_recenti() {
    m_recenti->clear();
    const QStringList recenti = Impostazioni().calcoli_recenti();
    for (const QString& percorso : recenti) {
        QAction* a = m_recenti->addAction(QFileInfo(percorso).fileName());
        a->setToolTip(percorso);
        connect(a, &QAction::triggered, this, [this, percorso] { apri_calcolo(percorso); });
    }
    if (recenti.isEmpty()) m_recenti->addAction(QStringLiteral("(nessuno)"))->setEnabled(false);
}

void FinestraMenu::scegli_calcolo() {
    const QString cartella = Impostazioni().calcoli_recenti().value(0).isEmpty()
                                 ? QString()
                                 : QFileInfo(Impostazioni().calcoli_recenti().value(0)).absolutePath();
    const QString nome = QFileDialog::getOpenFileName(this, QStringLiteral("Apri calcolo"), cartella,
                                                      QStringLiteral("Calcolo ondix (*.ondix);;Tutti i file (*)"),
                                                      nullptr, QFileDialog::DontUseNativeDialog);
    if (!nome.isEmpty()) apri_calcolo(nome);
    inizia();
}

bool FinestraMenu::apri_calcolo(const QString& percorso) {
    const auto f = ondix::apri_calcolo(QFile::encodeName(percorso).toStdString());
    if (!f) {
        avviso(this, QMessageBox::Critical,
               QStringLiteral("Calcolo non aperto: ") + QString::fromStdString(f.errore().testo));
        return false;
    }
    Impostazioni().ricorda_calcolo_recente(QFileInfo(percorso).absoluteFilePath());
    if (f->diagramma) {
        apri_diagramma(&*f, percorso);
        return true;
    }
    m_ctx.processo = static_cast<TipoProcesso>(f->processo);
    FinestraMaschera maschera(m_ctx, m_esterno, m_schermo, this);
    maschera.carica(*f);
    maschera.exec();
    inizia();
    return true;
}

void FinestraMenu::aggiusta() {
    move(1, 1);
    resize(m_schermo.larghezza, height());
    const LayoutPrincipale l = layout_principale(m_schermo);
    const QFont f = carattere(QStringLiteral("Times New Roman"), l.punti, true);
    applica(m_immagine, l.immagine);
    carica_sfondo();
    for (std::size_t i = 0; i < m_colonna.size(); ++i) {
        applica(m_colonna[i], l.colonna[i]);
        m_colonna[i]->setFont(f);
    }
    for (std::size_t i = 0; i < m_destra.size(); ++i) {
        applica(m_destra[i], l.destra[i]);
        m_destra[i]->setFont(adatta_al_pulsante(m_destra[i], f));
    }
    applica(m_diagramma, l.diagramma);
    m_diagramma->setFont(adatta_al_pulsante(m_diagramma, f));
    applica(m_pressione->pulsante(), l.pressione);
    m_pressione->pulsante()->setFont(f);
    applica(m_modello->pulsante(), l.modello);
    m_modello->pulsante()->setFont(f);
}

void FinestraMenu::carica_sfondo() {
    // "ondix1.bmp" first; a picture of another format under another common extension does as well. The
    // format is taken from the content, so a missing, unreadable or broken file just leaves the area empty.
    // The program directory comes first; an installed program finds it in the user's or the system's data
    // directories.
    QStringList cartelle{m_cartella};
    for (const QString& c : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation))
        cartelle << c + QLatin1Char('/');
    for (const QString& cartella : cartelle)
        for (const char* nome : {"ondix1.bmp", "ondix1.png", "ondix1.jpg", "ondix1.jpeg", "ondix1.gif"}) {
            const QString percorso = cartella + QString::fromLatin1(nome);
            if (!QFileInfo(percorso).isFile()) continue;
            QImageReader lettore(percorso);
            lettore.setDecideFormatFromContent(true);
            const QImage immagine = lettore.read();
            if (immagine.isNull()) continue;
            m_immagine->setPixmap(QPixmap::fromImage(immagine));
            return;
        }
}

void FinestraMenu::inizia() {
    riempi_schermo(this, {0, 0, m_schermo.larghezza, m_schermo.altezza});
}

void FinestraMenu::keyPressEvent(QKeyEvent* e) {
    // Enter presses the button that has the keyboard focus, as the space bar does.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (auto* b = qobject_cast<QAbstractButton*>(focusWidget()); b && b->isEnabled() && b->window() == this) {
            b->click();
            return;
        }
    }
    QWidget::keyPressEvent(e);
}

void FinestraMenu::showEvent(QShowEvent* e) {
    inizia();
    QWidget::showEvent(e);
}

void FinestraMenu::paintEvent(QPaintEvent* e) {
    QWidget::paintEvent(e);
    if (!m_disegnata) {
        m_disegnata = true;
        QTimer::singleShot(0, this, [this] { dopo_primo_disegno(); });
    }
}

void FinestraMenu::dopo_primo_disegno() {
    // Without a window manager nothing gives the new window the keyboard: it asks for it, and the first button
    // has the focus.
    if (!isActiveWindow()) activateWindow();
    if (!focusWidget()) m_colonna[0]->setFocus(Qt::ActiveWindowFocusReason);
    // The program's icon, for the window manager's title bars and task list: the desktop theme's, where the
    // package installed one, else the program's own. Looking it up in the theme takes longer than drawing the
    // whole menu, so it waits until the menu is on the screen.
    if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(icona_programma());
}

FinestraRapporto* FinestraMenu::rapporto() {
    if (m_rapporto_esterno) return m_rapporto_esterno;
    // Made at the first calculation: setting up its text box costs more than drawing the whole menu.
    if (!m_rapporto) m_rapporto = std::make_unique<FinestraRapporto>(m_schermo);
    return m_rapporto.get();
}

void FinestraMenu::apri_maschera(TipoProcesso tipo) {
    m_ctx.processo = tipo;
    // A fresh form for every press; it is not used again once closed.
    FinestraMaschera maschera(m_ctx, m_esterno, m_schermo, this);
    maschera.exec();
    inizia();
}

void FinestraMenu::apri_uta() {
    FinestraUta finestra([this] { return rapporto(); }, m_apri_grafico, this);
    finestra.exec();
    inizia();
}

void FinestraMenu::apri_diagramma(const FileCalcolo* file, const QString& percorso) {
    apri_finestra_diagramma(this, m_ctx.aria, m_schermo, file, percorso);
    inizia();
}

void FinestraMenu::chiedi_altitudine() {
    m_esterno.imposta_genitore(this);
    // Cancelling the box ends the dialog: nothing is written, nothing is shown.
    const auto risposta = m_esterno.chiedi_o_annulla("ALTEZZA S.l:m: (metri):", "", "0");
    const auto p = risposta ? pressione_da_risposta(*risposta) : std::nullopt;
    if (p) {
        scrivi_pressione(*p);
        // The pressure is on the screen: the user may calculate with it from now on (its altitude goes with it).
        m_pressione->proponi(*p, numero_intero_testo(*risposta));
    } // not a number: refused without a word
    inizia();
}

void FinestraMenu::scrivi_pressione(double p) {
    // The message in millibar, and the same pressure in pascal as the report and the menu give it.
    const QString messaggio = QString::fromStdString(messaggio_pressione(p)) + QStringLiteral("\n= ") +
                              QString::fromStdString(formatta(p, 0, 0)) + QStringLiteral(" Pa");
    const QString file = m_cartella + QStringLiteral("patm.txt");
    const auto errore = scrivi_file_pressione(file.toStdString(), p);
    if (!errore) {
        m_esterno.messaggio(messaggio.toStdString());
        return;
    }
    // The program directory of an installed program is not the user's to write: the file goes to the user's data
    // directory, and the message says where. The pressure is shown in any case.
    const QString motivo = QDir::toNativeSeparators(file) + QStringLiteral(": ") + QString::fromStdString(*errore);
    const QString cartella = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!cartella.isEmpty() && QDir().mkpath(cartella)) {
        const QString altro = QDir(cartella).filePath(QStringLiteral("patm.txt"));
        if (!scrivi_file_pressione(altro.toStdString(), p)) {
            m_esterno.messaggio(
                (messaggio + QStringLiteral("\n\nsalvata in ") + QDir::toNativeSeparators(altro)).toStdString());
            return;
        }
    }
    m_esterno.errore(messaggio + QStringLiteral("\n\nnon salvata: ") + motivo);
}

void FinestraMenu::informazioni() {
    // The message as ever, with the way to the manual built into the program.
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(nome_programma), QStringLiteral("manuale sul testo"),
                    QMessageBox::Ok, this);
    box.setInformativeText(QStringLiteral("Il manuale è nel programma: F1 lo apre da ogni finestra."));
    QAbstractButton* manuale = box.addButton(QStringLiteral("Apri il &manuale"), QMessageBox::ActionRole);
    box.exec();
    if (box.clickedButton() == manuale) apri_manuale();
    inizia();
}

void FinestraMenu::chiudi() {
    close();
}

QIcon icona_programma() {
    return QIcon::fromTheme(QStringLiteral("ondix"), QIcon(QStringLiteral(":/ondix/ondix.svg")));
}

} // namespace ondix
