#include "ui/finestra_grafico.h"

#include "core/documento.h"
#include "core/numeri.h"
#include "ui/caratteri.h"
#include "ui/esterno_qt.h"
#include "ui/finestra_rapporto.h"
#include "ui/schermo.h"
#include "ui/stampa_testo.h"
#include "ui/strati_grafico.h"

#include <QEvent>
#include <QIcon>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace ondix {

namespace {

void applica(QWidget* w, const Rettangolo& r) {
    w->setGeometry(r.left, r.top, r.width, r.height);
}

// Times New Roman of `pixel` pixels.
QFont times(int pixel, bool grassetto, bool corsivo) {
    QFont f = carattere(QStringLiteral("Times New Roman"), 10, grassetto);
    f.setPixelSize(pixel);
    f.setItalic(corsivo);
    return f;
}

// A small printer: the sheet going in at the top, the body, the printed sheet coming out. The toolkit derives
// the greyed image of the disabled button from it.
QIcon glifo_stampa() {
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setPen(Qt::black);
    g.setBrush(Qt::white);
    g.drawRect(4, 1, 7, 4);
    g.setBrush(QColor(0x80, 0x80, 0x80));
    g.drawRect(1, 5, 13, 6);
    g.setBrush(Qt::white);
    g.drawRect(4, 9, 7, 5);
    g.drawLine(6, 11, 9, 11);
    g.setPen(QColor(0x00, 0x80, 0x00));
    g.drawPoint(12, 7);
    g.end();
    return QIcon(p);
}

} // namespace

DisposizioneSuggerimento disponi_suggerimento(QSize finestra, const QRect& continua, const QRect& stampa,
                                              const QString& suggerimento, const QString& legenda, QFont f) {
    DisposizioneSuggerimento d;
    d.pixel = f.pixelSize();
    const QFontMetrics fm(f);
    // As ever: beside "STAMPA", and under the buttons from the left of "continua".
    const int sinistra = stampa.right() + 16;
    d.suggerimento = QRect(sinistra, stampa.y(), std::max(0, finestra.width() - sinistra - 8), stampa.height());
    d.legenda = QRect(continua.x(), stampa.bottom() + 1, std::max(0, finestra.width() - continua.x() - 8),
                      std::max(0, finestra.height() - stampa.bottom() - 2));
    const bool accanto = d.suggerimento.width() >= 40 && fm.horizontalAdvance(suggerimento) <= d.suggerimento.width();
    const bool sotto = legenda.isEmpty() ||
                       (fm.horizontalAdvance(legenda) <= d.legenda.width() && d.legenda.height() >= fm.height() - 2);
    if (accanto && sotto) return d;
    // Under the buttons, across the window: the legend, then the hint when it is not beside the buttons.
    d.a_capo = true;
    const QRect spazio(8, stampa.bottom() + 1, std::max(0, finestra.width() - 16),
                       std::max(0, finestra.height() - stampa.bottom() - 2));
    const auto alto = [&](const QFontMetrics& m, const QString& t) {
        return t.isEmpty() ? 0 : m.boundingRect(QRect(0, 0, spazio.width(), 100000), Qt::TextWordWrap, t).height();
    };
    for (int pixel = d.pixel; pixel >= 7; --pixel) {
        f.setPixelSize(pixel);
        const QFontMetrics m(f);
        const bool ancora_accanto =
            accanto || (d.suggerimento.width() >= 40 && m.horizontalAdvance(suggerimento) <= d.suggerimento.width());
        const int h_legenda = alto(m, legenda), h_suggerimento = ancora_accanto ? 0 : alto(m, suggerimento);
        d.pixel = pixel;
        d.legenda = QRect(spazio.x(), spazio.y(), spazio.width(), h_legenda);
        d.suggerimento =
            ancora_accanto ? d.suggerimento : QRect(spazio.x(), spazio.y() + h_legenda, spazio.width(), h_suggerimento);
        if (h_legenda + h_suggerimento <= spazio.height()) break;
    }
    return d;
}

LayoutGrafico layout_grafico(DimensioniSchermo s) {
    // The button row: 35 and 28 pixels above the bottom edge, 10 back down.
    const int riga = s.altezza - 35 - 28 + 10;
    return {{0, 0, s.larghezza, s.altezza}, {208, riga, 145, 25}, {392, riga, 129, 25}};
}

FinestraGrafico::FinestraGrafico(DimensioniSchermo schermo, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_schermo(schermo), m_continua(new QPushButton(this)),
      m_stampa(new QPushButton(this)), m_stampante(stampante_predefinita) {
    setObjectName(QStringLiteral("Form_grafica"));
    setProperty("pagina_manuale", QStringLiteral("grafico.html"));
    setModal(true);
    setWindowTitle(QStringLiteral("  "));
    setFont(times(11, true, true));
    QPalette sfondo = palette();
    sfondo.setColor(QPalette::Window, Qt::white);
    setPalette(sfondo);
    // The backing picture covers the window: no need to clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_continua->setObjectName(QStringLiteral("Button1"));
    m_continua->setText(QStringLiteral("continua"));
    m_continua->setFont(times(16, false, false));
    QPalette blu = m_continua->palette();
    blu.setColor(QPalette::ButtonText, QColor(0x00, 0x00, 0xFF));
    m_continua->setPalette(blu);

    m_stampa->setObjectName(QStringLiteral("BitBtn2"));
    m_stampa->setText(QStringLiteral("STAMPA"));
    m_stampa->setFont(times(16, true, true));
    QPalette nero = m_stampa->palette();
    nero.setColor(QPalette::ButtonText, Qt::black);
    m_stampa->setPalette(nero);
    m_stampa->setIcon(glifo_stampa());
    m_stampa->setAutoDefault(false);

    connect(m_continua, &QPushButton::clicked, this, [this] { termina(); });
    connect(m_stampa, &QPushButton::clicked, this, [this] { stampa(); });

    const LayoutGrafico l = layout_grafico(m_schermo);
    applica(this, l.finestra);
    applica(m_continua, l.continua);
    applica(m_stampa, l.stampa);
    m_registrato = m_schermo;
    m_plotter.plotter().imposta_dimensione_schermo(m_registrato.larghezza, m_registrato.altezza);
    crea_azioni();
}

void FinestraGrafico::inizia() {
    const int disegni = m_disegni;
    copri_schermo(this, layout_grafico(m_schermo).finestra);
    // Unless the change of size has just done so.
    if (m_disegni == disegni) adatta_alla_finestra();
}

void FinestraGrafico::adatta_alla_finestra() {
    // The window's own size is the screen size from now on: the plotting area and the circle test use it.
    const auto lato = [](int v) { return static_cast<std::uint16_t>(std::clamp(v, 0, 65535)); };
    m_registrato = {lato(width()), lato(height())};
    m_plotter.plotter().imposta_dimensione_schermo(m_registrato.larghezza, m_registrato.altezza);
    const LayoutGrafico l = layout_grafico(m_registrato);
    applica(m_continua, l.continua);
    applica(m_stampa, l.stampa);
    m_disattivata = false;
    ridisegna();
}

void FinestraGrafico::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    // Where the window system, not the window, decides the size of a full-screen window (Wayland), the window
    // learns its size only now: the buttons and the chart follow it.
    if (isVisible() && (e->size().width() != m_registrato.larghezza || e->size().height() != m_registrato.altezza))
        adatta_alla_finestra();
}

void FinestraGrafico::ridisegna() {
    disegna_immagine(m_immagine, m_plotter, m_registrato, devicePixelRatioF(), m_strati, m_procedura);
    if (m_procedura)
        m_lettura.prepara(m_plotter.plotter(), m_ctx ? &m_ctx->punti : nullptr);
    else
        m_lettura = LetturaGrafico();
    ++m_disegni;
    update();
}

void FinestraGrafico::stampa() {
    const std::unique_ptr<QPrinter> stampante = m_stampante ? m_stampante() : nullptr;
    stampa_o_avvisa(this, stampante.get(),
                    QStringLiteral("Nessuna stampante predefinita installata: il grafico non è stato stampato."),
                    [this](QPrinter& p) { return stampa_su(p); });
}

int spessore_penna_stampa_mm(int dpi) {
    return std::max(1, static_cast<int>(std::lround(0.5 / 25.4 * dpi)));
}

bool FinestraGrafico::stampa_su(QPrinter& stampante) {
    // The print carries the title line when a layer is on; the screen goes back to its own layers afterwards.
    return stampa_grafico(stampante, m_plotter, m_procedura, strati_per_file(), m_strati);
}

void FinestraGrafico::termina() {
    close();
}

bool FinestraGrafico::event(QEvent* e) {
    // Activation when the window gets the focus back from another window; the activation that comes with
    // showing it is the show's, which has drawn already.
    if (e->type() == QEvent::WindowDeactivate) m_disattivata = true;
    if (e->type() == QEvent::WindowActivate && m_disattivata) inizia();
    return QDialog::event(e);
}

void FinestraGrafico::showEvent(QShowEvent* e) {
    inizia();
    QDialog::showEvent(e);
}

void FinestraGrafico::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, m_immagine);
    // Beyond the picture (a window made larger than the screen it was drawn for) the background is white.
    const QRect resto = rect();
    const QSize disegnata = m_immagine.deviceIndependentSize().toSize();
    if (disegnata.width() < resto.width())
        p.fillRect(disegnata.width(), 0, resto.width() - disegnata.width(), resto.height(), Qt::white);
    if (disegnata.height() < resto.height())
        p.fillRect(0, disegnata.height(), resto.width(), resto.height() - disegnata.height(), Qt::white);
    m_lettura.dipingi(p);
    dipingi_suggerimento(p);
}

QString FinestraGrafico::suggerimento() const {
    QString testo;
    if (m_ctx && m_ctx->aria.pressione != pressione_atmosferica)
        testo = QStringLiteral("pressione del sito %1 Pa   ")
                    .arg(QString::fromStdString(formatta(m_ctx->aria.pressione, 0, 0)));
    return testo + QStringLiteral("strati: tasti U H B V M L o tasto destro del mouse   F1: manuale");
}

QFont FinestraGrafico::carattere_suggerimento(int pixel) const {
    QFont f = font();
    f.setBold(false);
    f.setItalic(false);
    f.setPixelSize(pixel);
    return f;
}

QString FinestraGrafico::legenda() const {
    const std::string l = m_ctx ? legenda_punti(m_ctx->processo, m_ctx->punti) : std::string();
    return l.empty() ? QString() : QStringLiteral("Punti:   ") + QString::fromStdString(l);
}

DisposizioneSuggerimento FinestraGrafico::disposizione_suggerimento() const {
    return disponi_suggerimento(size(), m_continua->geometry(), m_stampa->geometry(), suggerimento(), legenda(),
                                carattere_suggerimento(std::max(9, m_stampa->height() / 2)));
}

void FinestraGrafico::dipingi_suggerimento(QPainter& p) const {
    // Beside and under the buttons, on the window only: never in a print or a saved picture.
    const DisposizioneSuggerimento d = disposizione_suggerimento();
    p.setFont(carattere_suggerimento(d.pixel));
    const int una_riga = Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine;
    const int flag = d.a_capo ? Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap : una_riga;
    p.setPen(QColor(0x60, 0x60, 0x60));
    if (d.suggerimento.width() >= 40) {
        const bool in_riga = d.suggerimento.y() == m_stampa->y();
        p.drawText(d.suggerimento, in_riga ? una_riga : flag,
                   in_riga ? p.fontMetrics().elidedText(suggerimento(), Qt::ElideRight, d.suggerimento.width())
                           : suggerimento());
    }
    const QString punti = legenda();
    if (punti.isEmpty() || d.legenda.height() < (d.a_capo ? 1 : p.fontMetrics().height() - 2)) return;
    p.setPen(Qt::black);
    p.drawText(d.legenda, flag,
               d.a_capo ? punti : p.fontMetrics().elidedText(punti, Qt::ElideRight, d.legenda.width()));
}

void apri_finestra_grafico(QWidget* genitore, const Contesto& ctx, VistaGrafico vista, DimensioniSchermo schermo,
                           FinestraGrafico::EsportaRelazione relazione) {
    // One new window per chart request, destroyed when this returns: closing it ends the request.
    FinestraGrafico finestra(schermo, genitore);
    finestra.imposta_grafico(ctx, vista);
    finestra.imposta_relazione(std::move(relazione));
    finestra.exec();
}

} // namespace ondix
