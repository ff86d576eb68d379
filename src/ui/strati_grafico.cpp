#include "ui/strati_grafico.h"

#include "ui/finestra_grafico.h"
#include "ui/impostazioni.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <QtMath>

namespace ondix {

namespace {

struct Interruttore {
    const char* nome;
    const char* testo;
    Qt::Key tasto;
};

// The switches in menu order; the first four are the isoline families in the order of `famiglie`.
constexpr Interruttore interruttori[] = {
    {"strato_ur", "Curve di umidita relativa", Qt::Key_U},       {"strato_h", "Linee di entalpia", Qt::Key_H},
    {"strato_tbu", "Linee di bulbo umido", Qt::Key_B},           {"strato_v", "Linee di volume specifico", Qt::Key_V},
    {"strato_mollier", "Diagramma di Mollier (h-x)", Qt::Key_M}, {"lettura", "Lettura sotto il mouse", Qt::Key_L},
    {"strato_comfort", "Zona di comfort (PMV)", Qt::Key_C},
};

bool acceso(const QWidget* finestra, const char* nome) {
    const auto* a = finestra->findChild<QAction*>(QString::fromLatin1(nome));
    return a && a->isChecked();
}

} // namespace

void crea_interruttori_strati(QWidget* finestra, const OpzioniGrafico& strati, bool lettura,
                              const std::function<void()>& cambiati, const std::function<void()>& parametri) {
    int i = 0;
    for (const Interruttore& s : interruttori) {
        auto* a = new QAction(QString::fromUtf8(s.testo), finestra);
        a->setObjectName(QString::fromLatin1(s.nome));
        a->setShortcut(QKeySequence(s.tasto));
        a->setCheckable(true);
        if (i < 4) a->setChecked(strati.famiglia(famiglie[i]));
        if (i == 4) a->setChecked(strati.mollier);
        if (i == 5) a->setChecked(lettura);
        if (i == 6) a->setChecked(strati.comfort.has_value());
        QObject::connect(a, &QAction::toggled, finestra, cambiati);
        finestra->addAction(a);
        if (i == 4) {
            auto* separatore = new QAction(finestra);
            separatore->setSeparator(true);
            finestra->addAction(separatore);
        }
        ++i;
    }
    auto* comfort = new QAction(QStringLiteral("Parametri di comfort..."), finestra);
    comfort->setObjectName(QStringLiteral("parametri_comfort"));
    QObject::connect(comfort, &QAction::triggered, finestra, parametri);
    finestra->addAction(comfort);
}

OpzioniGrafico strati_degli_interruttori(const QWidget* finestra, const OpzioniGrafico& attuali) {
    OpzioniGrafico o = attuali;
    for (int i = 0; i < 4; ++i)
        o.imposta_famiglia(famiglie[i], acceso(finestra, interruttori[i].nome));
    o.mollier = acceso(finestra, "strato_mollier");
    o.comfort.reset();
    if (acceso(finestra, "strato_comfort")) o.comfort = Impostazioni().zona_comfort();
    return o;
}

bool lettura_degli_interruttori(const QWidget* finestra) {
    return acceso(finestra, "lettura");
}

std::optional<ZonaComfort> chiedi_zona_comfort(QWidget* genitore) {
    ZonaComfort z = Impostazioni().zona_comfort();
    QDialog dialogo(genitore);
    dialogo.setWindowTitle(QStringLiteral("Parametri di comfort"));
    auto* modulo = new QFormLayout(&dialogo);
    const auto casella = [&dialogo](double minimo, double massimo, double passo, double v, const char* nome) {
        auto* s = new QDoubleSpinBox(&dialogo);
        s->setObjectName(QString::fromLatin1(nome));
        s->setLocale(QLocale::c());
        s->setRange(minimo, massimo);
        s->setSingleStep(passo);
        s->setDecimals(2);
        s->setValue(v);
        return s;
    };
    auto* met = casella(0.8, 4.0, 0.1, z.occupanti.met, "met");
    auto* clo = casella(0.0, 2.0, 0.1, z.occupanti.clo, "clo");
    auto* v = casella(0.0, 1.0, 0.05, z.occupanti.v, "v");
    auto* categoria = new QComboBox(&dialogo);
    categoria->setObjectName(QStringLiteral("categoria"));
    const Categoria categorie[] = {Categoria::I, Categoria::II, Categoria::III};
    for (const Categoria c : categorie)
        categoria->addItem(QStringLiteral("%1 (|PMV| < %2)")
                               .arg(QString::fromLatin1(testo_categoria(c)))
                               .arg(QString::number(limite_pmv(c), 'f', 1).replace('.', ',')));
    categoria->setCurrentIndex(z.limite <= 0.2 ? 0 : z.limite <= 0.5 ? 1 : 2);
    modulo->addRow(QStringLiteral("Metabolismo [met]"), met);
    modulo->addRow(QStringLiteral("Vestiario [clo]"), clo);
    modulo->addRow(QStringLiteral("Velocita dell aria [m/s]"), v);
    modulo->addRow(QStringLiteral("Categoria EN 16798-1"), categoria);
    auto* bottoni = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialogo);
    QObject::connect(bottoni, &QDialogButtonBox::accepted, &dialogo, &QDialog::accept);
    QObject::connect(bottoni, &QDialogButtonBox::rejected, &dialogo, &QDialog::reject);
    modulo->addRow(bottoni);
    if (dialogo.exec() != QDialog::Accepted) return std::nullopt;
    z.occupanti.met = met->value();
    z.occupanti.clo = clo->value();
    z.occupanti.v = v->value();
    z.limite = limite_pmv(categorie[categoria->currentIndex()]);
    Impostazioni().ricorda_zona_comfort(z);
    return z;
}

void disegna_immagine(QPixmap& immagine, PlotterQt& plotter, DimensioniSchermo s, qreal rapporto,
                      const OpzioniGrafico& strati, const ProceduraDisegno& procedura) {
    // The picture has the screen's own pixels (twice as many each way on a screen at scale 2); the chart is drawn
    // in the window's units on it, so lines and texts come out sharp.
    const QSize dimensione(std::max<int>(s.larghezza, 1), std::max<int>(s.altezza, 1));
    const QSize fisica(qCeil(dimensione.width() * rapporto), qCeil(dimensione.height() * rapporto));
    if (immagine.size() != fisica || immagine.devicePixelRatio() != rapporto) {
        immagine = QPixmap(fisica);
        immagine.setDevicePixelRatio(rapporto);
    }
    immagine.fill(Qt::white);
    plotter.plotter().imposta_opzioni(strati);
    if (!procedura) return;
    QPainter painter(&immagine);
    // With more device pixels than window units the edges are smoothed: thin lines would show a staircase.
    if (rapporto > 1.0) painter.setRenderHint(QPainter::Antialiasing);
    // Every drawing starts from the canvas's first colours: the axis texts are black, not in the colour of the
    // previous drawing's last process line.
    plotter.canvas_schermo().imposta_stato(StatoCanvas{});
    plotter.disegna_schermo(painter, s.larghezza, s.altezza, procedura);
}

bool stampa_grafico(QPrinter& stampante, PlotterQt& plotter, const ProceduraDisegno& procedura,
                    const OpzioniGrafico& strati, const OpzioniGrafico& schermo) {
    if (!stampante.isValid()) return false;
    // The whole chart on one landscape page, in its top-left 90 %, with lines half a millimetre wide at any
    // resolution; the plotter is back on the screen afterwards whatever happens, and the window keeps the
    // picture it shows.
    stampante.setPageOrientation(QPageLayout::Landscape);
    struct Ripristino {
        Plotter& p;
        const OpzioniGrafico& o;
        ~Ripristino() { p.imposta_opzioni(o); }
    } ripristino{plotter.plotter(), schermo};
    plotter.plotter().imposta_opzioni(strati);
    plotter.canvas_stampante().imposta_stato(StatoCanvas{});
    QPainter painter;
    if (!painter.begin(&stampante)) return false;
    plotter.disegna_stampante(painter, procedura, spessore_penna_stampa_mm(stampante.resolution()));
    const bool ok = painter.end();
    return ok && stampante.printerState() != QPrinter::Error && stampante.printerState() != QPrinter::Aborted;
}

QString chiedi_file_immagine(QWidget* genitore, bool* relazione) {
    QFileDialog dialogo(genitore, QStringLiteral("Salva immagine del grafico"));
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setOptions(QFileDialog::DontUseNativeDialog);
    const QString tipo_relazione = QStringLiteral("Relazione di calcolo PDF (*.pdf)");
    QStringList tipi{QStringLiteral("PNG (*.png)"), QStringLiteral("SVG (*.svg)"), QStringLiteral("PDF (*.pdf)")};
    // The whole calculation report, with this chart, where there is a calculation to report.
    if (relazione) tipi << tipo_relazione;
    dialogo.setNameFilters(tipi);
    const QString cartella = Impostazioni().cartella_immagini();
    dialogo.setDirectory(cartella.isEmpty() || !QDir(cartella).exists() ? QDir::homePath() : cartella);
    dialogo.selectFile(QStringLiteral("grafico.png"));
    // The name's extension follows the type chosen.
    QObject::connect(&dialogo, &QFileDialog::filterSelected, &dialogo, [&dialogo](const QString& filtro) {
        dialogo.setDefaultSuffix(filtro.mid(filtro.indexOf(QLatin1String("*.")) + 2).chopped(1));
    });
    dialogo.setDefaultSuffix(QStringLiteral("png"));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return {};
    if (relazione) *relazione = dialogo.selectedNameFilter() == tipo_relazione;
    return dialogo.selectedFiles().first();
}

} // namespace ondix
