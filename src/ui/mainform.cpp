#include "ui/mainform.h"

#include "core/altitudine.h"
#include "ui/caratteri.h"
#include "ui/nuovoondix.h"
#include "ui/pressione_sito.h"
#include "ui/schermo.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QIcon>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>

namespace ondix {

namespace {

struct Pulsante {
    const char* nome;
    const char* testo;
    void (Tform_ondix::*azione)();
};

// The main column, top to bottom.
constexpr std::array<Pulsante, 10> colonna{{
    {"BitBtn2", " proprieta del punto", &Tform_ondix::vai_1},
    {"BitBtn3", "miscelazione", &Tform_ondix::vai_2},
    {"BitBtn4", "RISCALDAMENTO RAFFREDDAMENTO SENSIBILE", &Tform_ondix::vai_3},
    {"BitBtn5", "UMIDIFICAZIONE", &Tform_ondix::vai_4},
    {"BitBtn10", "UMIDIFICAZIONE CON VAPORE", &Tform_ondix::vai_g},
    {"BitBtn6", "RAFFREDDAMENTO CON CONDENSAZIONE", &Tform_ondix::vai_6},
    {"BitBtn7", "ciclo estivo", &Tform_ondix::vai_est},
    {"BitBtn8", "CICLO INVERNALE", &Tform_ondix::vai_inv},
    {"BitBtn12", "CICLO INVERNALE CON UMIDIFICAZIONE A VAPORE", &Tform_ondix::vai_inv_vap},
    {"SpeedButton1", "VERIFICA ESTIVA", &Tform_ondix::vai_nuovo},
}};

// The right column, top to bottom.
constexpr std::array<Pulsante, 3> destra{{
    {"BitBtn1", "&USCITA", &Tform_ondix::chiudi},
    {"BitBtn13", "ALTEZZA S.L.M.", &Tform_ondix::chiedialt},
    {"BitBtn9", "? INFO", &Tform_ondix::vaidoc},
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

} // namespace

QString maiuscole_ascii(const QString& testo) {
    QString r = testo;
    for (QChar& c : r)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    return r;
}

Tform_ondix::Tform_ondix(const QString& cartella_programma, DimensioniSchermo schermo, QWidget* parent)
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
        connect(b, &QPushButton::clicked, this, colonna[i].azione);
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
    aggiusta();
}

void Tform_ondix::aggiusta() {
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
        m_destra[i]->setFont(f);
    }
    applica(m_pressione->pulsante(), l.pressione);
    m_pressione->pulsante()->setFont(f);
}

void Tform_ondix::carica_sfondo() {
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

void Tform_ondix::inizia() {
    riempi_schermo(this, {0, 0, m_schermo.larghezza, m_schermo.altezza});
}

void Tform_ondix::keyPressEvent(QKeyEvent* e) {
    // Enter presses the button that has the keyboard focus, as the space bar does.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (auto* b = qobject_cast<QAbstractButton*>(focusWidget()); b && b->isEnabled() && b->window() == this) {
            b->click();
            return;
        }
    }
    QWidget::keyPressEvent(e);
}

void Tform_ondix::showEvent(QShowEvent* e) {
    inizia();
    QWidget::showEvent(e);
}

void Tform_ondix::paintEvent(QPaintEvent* e) {
    QWidget::paintEvent(e);
    if (!m_disegnata) {
        m_disegnata = true;
        QTimer::singleShot(0, this, [this] { dopo_primo_disegno(); });
    }
}

void Tform_ondix::dopo_primo_disegno() {
    // The program's icon, for the window manager's title bars and task list: the desktop theme's, where the
    // package installed one, else the program's own. Looking it up in the theme takes longer than drawing the
    // whole menu, so it waits until the menu is on the screen.
    if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(icona_programma());
}

TForm2* Tform_ondix::rapporto() {
    if (m_rapporto_esterno) return m_rapporto_esterno;
    // Made at the first calculation: setting up its text box costs more than drawing the whole menu.
    if (!m_rapporto) m_rapporto = std::make_unique<TForm2>(m_schermo);
    return m_rapporto.get();
}

void Tform_ondix::apri_maschera(TipoProcesso tipo) {
    m_ctx.processo = tipo;
    // A fresh form for every press; it is not used again once closed.
    TForm1 maschera(m_ctx, m_esterno, m_schermo, this);
    maschera.exec();
    inizia();
}

void Tform_ondix::vai_1() {
    apri_maschera(4);
}
void Tform_ondix::vai_2() {
    apri_maschera(1);
}
void Tform_ondix::vai_3() {
    apri_maschera(2);
}
void Tform_ondix::vai_4() {
    apri_maschera(3);
}
void Tform_ondix::vai_g() {
    apri_maschera(13);
}
void Tform_ondix::vai_6() {
    apri_maschera(5);
}
void Tform_ondix::vai_est() {
    apri_maschera(6);
}
void Tform_ondix::vai_inv() {
    apri_maschera(7);
}
void Tform_ondix::vai_inv_vap() {
    apri_maschera(17);
}
void Tform_ondix::vai_nuovo() {
    apri_maschera(21);
}

void Tform_ondix::chiedialt() {
    m_esterno.imposta_genitore(this);
    // Cancelling the box ends the dialog: nothing is written, nothing is shown.
    const auto risposta = m_esterno.chiedi_o_annulla("ALTEZZA S.l:m: (metri):", "", "0");
    const auto p = risposta ? pressione_da_risposta(*risposta) : std::nullopt;
    if (p) {
        scrivi_pressione(*p);
        // The pressure is on the screen: the user may calculate with it from now on.
        m_pressione->proponi(*p);
    } // not a number: refused without a word
    inizia();
}

void Tform_ondix::scrivi_pressione(double p) {
    const QString messaggio = QString::fromStdString(messaggio_pressione(p));
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

void Tform_ondix::vaidoc() {
    m_esterno.imposta_genitore(this);
    m_esterno.messaggio("manuale sul testo");
    inizia();
}

void Tform_ondix::chiudi() {
    close();
}

QIcon icona_programma() {
    return QIcon::fromTheme(QStringLiteral("ondix"), QIcon(QStringLiteral(":/ondix/ondix.svg")));
}

} // namespace ondix
