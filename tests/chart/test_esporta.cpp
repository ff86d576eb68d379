// The chart export as a user runs it: ondix-calc KIND --grafico FILE, without a display.
#include "prova_esporta.h"

#include "chart/diagramma.h"
#include "core/file_calcolo.h"
#include "core/maschera.h"
#include "plot_qt/grafico_qt.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QXmlStreamReader>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

TEST_F(Esporta, PngIsTheScreenChartAt1024x768) {
    const fs::path png = dir / "punto.png";
    const Uscita e = calc("4 --grafico " + q(png));
    EXPECT_EQ(e.codice, 0);
    EXPECT_EQ(e.err, ""); // nothing but the program's own messages on stderr
    QImage img;
    ASSERT_TRUE(img.load(QString::fromStdString(png.string()), "PNG"));
    EXPECT_EQ(img.width(), 1024);
    EXPECT_EQ(img.height(), 768);
    EXPECT_EQ(img.pixelColor(1020, 760), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(54, 300), QColor(0, 0, 255));  // y axis
    EXPECT_EQ(img.pixelColor(500, 664), QColor(0, 0, 255)); // x axis
    EXPECT_EQ(contenuto(), (std::vector<std::string>{"punto.png"}));
}

// The drawing libraries are loaded for a chart only: the dynamic loader's list of the files it opened.
TEST_F(Esporta, QtIsLoadedOnlyForAChart) {
    const Uscita senza = calc("4", "LD_DEBUG=files");
    EXPECT_EQ(senza.codice, 0);
    EXPECT_NE(senza.err.find("libstdc++"), std::string::npos) << senza.err;
    EXPECT_EQ(senza.err.find("libQt6"), std::string::npos) << senza.err;
    const Uscita con = calc("4 --grafico " + q(dir / "punto.png"), "LD_DEBUG=files");
    EXPECT_EQ(con.codice, 0);
    EXPECT_NE(con.err.find("libQt6Gui"), std::string::npos);
}

TEST_F(Esporta, SvgAndPdfByExtensionInAnyCase) {
    const Uscita s = calc("4 --grafico " + q(dir / "punto.SVG"));
    EXPECT_EQ(s.codice, 0) << s.err;
    const std::string svg = leggi(dir / "punto.SVG");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("viewBox=\"0 0 1024 768\""), std::string::npos);
    EXPECT_NE(svg.find("tbs"), std::string::npos);
    EXPECT_NE(svg.find("X[g/kg]"), std::string::npos);
    EXPECT_NE(svg.find("times new roman"), std::string::npos);

    const Uscita p = calc("4 --grafico " + q(dir / "punto.Pdf"));
    EXPECT_EQ(p.codice, 0) << p.err;
    const std::string pdf = leggi(dir / "punto.Pdf");
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdf.find("%%EOF", pdf.size() - 16), std::string::npos);
    EXPECT_NE(pdf.find("/MediaBox [0 0 768.000000 576.000000]"), std::string::npos); // 1024 × 768 pixels at 96 dpi
}

TEST_F(Esporta, UnknownExtensionIsRefusedAndTouchesNothing) {
    scrivi(dir / "grafico.jpg", "vecchio");
    for (const char* nome : {"grafico.jpg", "grafico", "grafico.png.txt"}) {
        const Uscita e = calc("4 --grafico " + q(dir / nome));
        EXPECT_EQ(e.codice, 2) << nome;
        EXPECT_NE(e.err.find("ondix-calc: impossibile scrivere il grafico in"), std::string::npos) << e.err;
        EXPECT_NE(e.err.find(".png, .svg o .pdf"), std::string::npos) << e.err;
    }
    EXPECT_EQ(leggi(dir / "grafico.jpg"), "vecchio");
    EXPECT_EQ(contenuto(), (std::vector<std::string>{"grafico.jpg"}));
}

TEST_F(Esporta, UnwritablePathsAreReported) {
    scrivi(dir / "file", "x");
    fs::create_directory(dir / "cartella.png");
    for (const fs::path& p : {dir / "file" / "grafico.png", dir / "manca" / "grafico.svg", dir / "cartella.png"}) {
        const Uscita e = calc("4 --grafico " + q(p));
        EXPECT_EQ(e.codice, 2) << p;
        EXPECT_NE(e.err.find("ondix-calc: impossibile scrivere il grafico in \"" + p.string() + "\": "),
                  std::string::npos)
            << e.err;
    }
    EXPECT_TRUE(fs::is_directory(dir / "cartella.png"));
}

// A FIFO, a link to one and a loop of links stay what they are.
TEST_F(Esporta, AFifoOrALinkToOneIsNotReplacedByAFile) {
    ASSERT_EQ(mkfifo((dir / "coda.png").c_str(), 0600), 0);
    fs::create_symlink("coda.png", dir / "collegamento.svg");
    fs::create_symlink("anello2.png", dir / "anello1.png");
    fs::create_symlink("anello1.png", dir / "anello2.png");
    for (const auto& [nome, motivo] : {std::pair{"coda.png", "è una FIFO, non un file regolare"},
                                       std::pair{"collegamento.svg", "è una FIFO, non un file regolare"},
                                       std::pair{"anello1.png", static_cast<const char*>(std::strerror(ELOOP))}}) {
        const Uscita e = calc("4 --grafico " + q(dir / nome));
        EXPECT_EQ(e.codice, 2) << nome;
        EXPECT_NE(e.err.find("\": " + std::string(motivo)), std::string::npos) << e.err;
    }
    EXPECT_TRUE(fs::is_fifo(dir / "coda.png"));
    EXPECT_TRUE(fs::is_symlink(dir / "collegamento.svg"));
    EXPECT_TRUE(fs::is_symlink(dir / "anello1.png") && fs::is_symlink(dir / "anello2.png"));
    EXPECT_EQ(contenuto(), (std::vector<std::string>{"anello1.png", "anello2.png", "coda.png", "collegamento.svg"}));
}

TEST_F(Esporta, ThroughALinkTheFileItNamesIsReplaced) {
    scrivi(dir / "vero.png", "vecchio");
    fs::permissions(dir / "vero.png", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("vero.png", dir / "nome.png");
    const Uscita e = calc("4 --grafico " + q(dir / "nome.png"));
    EXPECT_EQ(e.codice, 0) << e.err;
    EXPECT_TRUE(fs::is_symlink(dir / "nome.png"));
    EXPECT_EQ(leggi(dir / "vero.png").substr(1, 3), "PNG");
    EXPECT_EQ(fs::status(dir / "vero.png").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(contenuto(), (std::vector<std::string>{"nome.png", "vero.png"}));
}

TEST_F(Esporta, NoChartRequestMeansNoFileAndTheOldOneStays) {
    const fs::path png = dir / "grafico.png";
    scrivi(png, "vecchio");
    // Relative humidity above 100 stops the point calculation at a message, before its chart.
    // The calculation itself ran, so the exit status stays 0.
    const Uscita e = calc("4 --e2 150 --grafico " + q(png));
    EXPECT_EQ(e.codice, 0);
    EXPECT_NE(e.err.find("il calcolo non ha prodotto un grafico"), std::string::npos) << e.err;
    EXPECT_EQ(leggi(png), "vecchio");
    // A floating-point error keeps its own exit status.
    const Uscita fp = calc("1 --e3 0 --e6 0 --grafico " + q(png));
    EXPECT_EQ(fp.codice, 3);
    EXPECT_EQ(leggi(png), "vecchio");
}

TEST_F(Esporta, AnExistingFileIsReplacedByANewOneNotRewrittenInPlace) {
    const fs::path png = dir / "grafico.png";
    scrivi(png, "vecchio");
    fs::create_hard_link(png, dir / "copia");
    const Uscita e = calc("4 --grafico " + q(png));
    EXPECT_EQ(e.codice, 0) << e.err;
    EXPECT_EQ(leggi(png).substr(1, 3), "PNG");
    // The old file (still reachable through its other name) was never opened for writing.
    EXPECT_EQ(leggi(dir / "copia"), "vecchio");
    EXPECT_EQ(contenuto(), (std::vector<std::string>{"copia", "grafico.png"}));
}

TEST_F(Esporta, ABatchAsDotsOnTheChart) {
    scrivi(dir / "anno.csv", "t,ur\n20,50\n20.1,50\n20.2,51\n-2,80\n31,40\n");
    const fs::path png = dir / "anno.png";
    const Uscita e = calc("stati " + q(dir / "anno.csv") + " --grafico " + q(png));
    EXPECT_EQ(e.codice, 0) << e.err;
    QImage img;
    ASSERT_TRUE(img.load(QString::fromStdString(png.string()), "PNG"));
    // The dots are shades between light orange and dark red; the frame and the curve stay blue.
    int punti = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() >= 128 && c.blue() < 100 && c.green() < 180) ++punti;
        }
    EXPECT_GE(punti, 5 * 4);
    EXPECT_EQ(img.pixelColor(54, 300), QColor(0, 0, 255));
    // A batch that cannot be read draws nothing.
    EXPECT_EQ(calc("stati " + q(dir / "manca.csv") + " --grafico " + q(dir / "b.png")).codice, 2);
    EXPECT_FALSE(fs::exists(dir / "b.png"));
}

TEST_F(Esporta, TheReportSavedAsTheReportWindowSavesIt) {
    const fs::path rtf = dir / "rapporto.rtf";
    scrivi(rtf, "vecchio");
    fs::create_hard_link(rtf, dir / "copia");
    const Uscita e = calc("4 --rtf " + q(rtf));
    EXPECT_EQ(e.codice, 0) << e.err;
    const std::string testo = leggi(rtf);
    EXPECT_EQ(testo.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(testo.find("\\fs34"), std::string::npos); // Courier New 17 points, as on a 1024-pixel screen
    EXPECT_NE(testo.find("PROPRIETA DEL PUNTO\\par"), std::string::npos);
    EXPECT_EQ(leggi(dir / "copia"), "vecchio"); // replaced, never rewritten in place
    // No report after a floating-point error, and an unwritable place is reported.
    EXPECT_EQ(calc("1 --e3 0 --e6 0 --rtf " + q(dir / "fp.rtf")).codice, 3);
    EXPECT_FALSE(fs::exists(dir / "fp.rtf"));
    const Uscita m = calc("4 --rtf " + q(dir / "manca" / "r.rtf"));
    EXPECT_EQ(m.codice, 2);
    EXPECT_NE(m.err.find("impossibile salvare il rapporto in"), std::string::npos) << m.err;
    EXPECT_EQ(contenuto(), (std::vector<std::string>{"copia", "rapporto.rtf"}));
}

// The layers on a file: isolines, the Mollier axes and the title line; asked for without a file, or with an
// unknown family, they are a usage error and the calculation does not run.
TEST_F(Esporta, LayersOnTheFileWithATitleLine) {
    const fs::path svg = dir / "estate.svg";
    const Uscita e = calc("6 --isolinee ur,h --mollier --grafico " + q(svg));
    EXPECT_EQ(e.codice, 0) << e.err;
    const std::string testo = leggi(svg);
    for (const char* atteso : {"CICLO ESTIVO - 101335 Pa", "umidita relativa [%]", "entalpia [kJ/kg]", "50%", "t [C]"})
        EXPECT_NE(testo.find(atteso), std::string::npos) << atteso;
    EXPECT_EQ(testo.find("bulbo umido [C]"), std::string::npos);
    EXPECT_EQ(testo.find("tbs"), std::string::npos);
}

// One SVG per chart view, drawn through the export as a user asks for it, against the drawing kept in
// tests/chart/svg: element by element, the same kinds, attributes and texts, every number within a hundredth of a
// pixel. After a change meant to alter a drawing, ONDIX_RIGENERA_SVG=1 ctest -R GoldenSvg writes the new ones
// there, to be looked at and committed.
namespace {

struct VistaCampione {
    const char* nome;
    const char* argomenti;
};

const VistaCampione viste_campione[] = {
    {"piano", "6"},
    {"umidita_relativa", "6 --isolinee ur"},
    {"entalpia", "6 --isolinee h"},
    {"bulbo_umido", "6 --isolinee tbu"},
    {"volume_specifico", "6 --isolinee v"},
    {"mollier", "6 --mollier --isolinee tutte"},
    {"pressione_sito", "6 --pressione 80000 --isolinee tutte"},
    {"nuvola", "stati anno.csv --quota 1000 --isolinee ur"}, // a batch as dots
    {"comfort", "6 --comfort met=1.2,clo=0.5,v=0.1"},        // the comfort zone under a cycle
};

// An element of the SVG: its kind, its attributes as "name=value" in order, and its own text.
struct ElementoSvg {
    std::string tipo;
    std::vector<std::string> attributi;
    std::string testo;
};

std::vector<ElementoSvg> elementi_svg(const std::string& svg) {
    std::vector<ElementoSvg> r;
    QXmlStreamReader x(QByteArray::fromStdString(svg));
    std::vector<std::size_t> aperti;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            ElementoSvg e{x.name().toString().toStdString(), {}, {}};
            for (const QXmlStreamAttribute& a : x.attributes())
                e.attributi.push_back(a.qualifiedName().toString().toStdString() + "=" +
                                      a.value().toString().toStdString());
            aperti.push_back(r.size());
            r.push_back(std::move(e));
        } else if (x.isEndElement()) {
            aperti.pop_back();
        } else if (x.isCharacters() && !x.isWhitespace() && !aperti.empty()) {
            r[aperti.back()].testo += x.text().toString().toStdString();
        }
    }
    if (x.hasError()) r.push_back({"errore XML: " + x.errorString().toStdString(), {}, {}});
    return r;
}

// Two attribute values alike: the same text around the numbers, and each number within `tolleranza`.
bool simili(const std::string& a, const std::string& b, double tolleranza) {
    static const std::regex numero(R"([-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?)");
    std::sregex_iterator ia(a.begin(), a.end(), numero), ib(b.begin(), b.end(), numero), fine;
    std::size_t da = 0, db = 0;
    for (; ia != fine && ib != fine; ++ia, ++ib) {
        if (a.substr(da, static_cast<std::size_t>(ia->position()) - da) !=
            b.substr(db, static_cast<std::size_t>(ib->position()) - db))
            return false;
        if (!(std::fabs(std::stod(ia->str()) - std::stod(ib->str())) <= tolleranza)) return false;
        da = static_cast<std::size_t>(ia->position() + ia->length());
        db = static_cast<std::size_t>(ib->position() + ib->length());
    }
    return ia == fine && ib == fine && a.substr(da) == b.substr(db);
}

std::string descrivi(const ElementoSvg& e) {
    std::string r = "<" + e.tipo;
    for (const std::string& a : e.attributi)
        r += " " + a;
    return r + ">" + e.testo;
}

// The differences between two SVGs, at most `quante`; empty when alike.
std::vector<std::string> differenze_svg(const std::string& atteso, const std::string& ottenuto,
                                        std::size_t quante = 5) {
    const std::vector<ElementoSvg> a = elementi_svg(atteso), b = elementi_svg(ottenuto);
    std::vector<std::string> r;
    if (a.size() != b.size())
        r.push_back(std::to_string(a.size()) + " elements expected, " + std::to_string(b.size()) + " drawn");
    for (std::size_t i = 0; i < std::min(a.size(), b.size()) && r.size() < quante; ++i) {
        bool uguale =
            a[i].tipo == b[i].tipo && a[i].testo == b[i].testo && a[i].attributi.size() == b[i].attributi.size();
        for (std::size_t k = 0; uguale && k < a[i].attributi.size(); ++k)
            uguale = simili(a[i].attributi[k], b[i].attributi[k], 0.01);
        if (!uguale)
            r.push_back("element " + std::to_string(i) + ": expected " + descrivi(a[i]) + "\n  drawn " +
                        descrivi(b[i]));
    }
    return r;
}

// `svg` against the kept drawing `nome`.svg (or kept as it, with ONDIX_RIGENERA_SVG set); `caso` names it in the
// failures.
void confronta_con_campione(const std::string& nome, const std::string& svg, const std::string& caso) {
    const fs::path campione = fs::path(ONDIX_SVG_CAMPIONI) / (nome + ".svg");
    if (std::getenv("ONDIX_RIGENERA_SVG")) {
        std::ofstream(campione, std::ios::binary) << svg;
        return;
    }
    ASSERT_TRUE(fs::exists(campione)) << campione;
    for (const std::string& d : differenze_svg(leggi(campione), svg))
        ADD_FAILURE() << caso << ": " << d;
}

} // namespace

TEST_F(Esporta, GoldenSvgOfEveryChartView) {
    std::string anno = "t,ur\n";
    for (int ora = 0; ora < 48; ++ora)
        anno += std::to_string(ora % 24 + ora / 3 - 4) + "," + std::to_string(30 + (ora * 7) % 60) + "\n";
    scrivi(dir / "anno.csv", anno);
    for (const VistaCampione& v : viste_campione) {
        const fs::path svg = dir / (std::string(v.nome) + ".svg");
        std::string argomenti = v.argomenti;
        if (const auto k = argomenti.find("anno.csv"); k != std::string::npos)
            argomenti.replace(k, 8, q(dir / "anno.csv"));
        const Uscita e = calc(argomenti + " --grafico " + q(svg));
        ASSERT_EQ(e.codice, 0) << v.nome << ": " << e.err;
        confronta_con_campione(v.nome, leggi(svg), std::string(v.nome) + " (" + v.argomenti + ")");
    }
}

// The printed chart, which has its own sizes (the page's 90 %, a 10-point font, a frame), on an A4 landscape page
// at 150 dpi: a summer cycle with every layer and its title line, at a site pressure.
TEST(GoldenSvg, ThePrintedChart) {
    ASSERT_TRUE(ondix::prepara_applicazione());
    ondix::Contesto ctx;
    ctx.processo = 6;
    ctx.codice_grafico = 4;
    ctx.aria = ondix::Aria{90000.0};
    ctx.punti.imposta(1, 26.0, 10.5, "A");
    ctx.punti.imposta(2, 32.0, 18.0, "E");
    ctx.punti.imposta(3, 10.0, 7.6, "B");
    ctx.punti.imposta(4, 15.0, 9.0, "C");
    ctx.punti.imposta(5, 28.0, 12.9, "M");
    ondix::OpzioniGrafico o;
    for (ondix::Famiglia f : ondix::famiglie)
        o.imposta_famiglia(f, true);
    QByteArray dati;
    QBuffer file(&dati);
    file.open(QIODevice::WriteOnly);
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(QSize(1754, 1240));
        svg.setViewBox(QRect(0, 0, 1754, 1240));
        svg.setResolution(150);
        ondix::PlotterQt pq;
        pq.plotter().imposta_opzioni(ondix::con_titolo(o, ctx.processo, ctx.aria));
        QPainter painter(&svg);
        pq.disegna_stampante(painter, ondix::procedura_vista(ondix::VistaGrafico::standard, ctx), 3);
    }
    confronta_con_campione("stampa", dati.toStdString(), "printed chart");
}

// The comparison itself: a point moved by more than the tolerance, a missing element or a changed text is told;
// a move within it is not.
TEST(SvgComparison, TellsMovedMissingAndChangedElements) {
    const std::string base =
        R"(<svg><g fill="#4a8cd0"><polyline points="10,20.5 30,40 "/><text x="5">50%</text></g></svg>)";
    EXPECT_TRUE(differenze_svg(base, base).empty());
    auto con = [&](const std::string& da, const std::string& a) {
        std::string s = base;
        s.replace(s.find(da), da.size(), a);
        return s;
    };
    EXPECT_TRUE(differenze_svg(base, con("20.5", "20.509")).empty());
    EXPECT_FALSE(differenze_svg(base, con("20.5", "20.52")).empty());
    EXPECT_FALSE(differenze_svg(base, con("30,40 ", "30,40 31,41 ")).empty());
    EXPECT_FALSE(differenze_svg(base, con(R"(<text x="5">50%</text>)", "")).empty());
    EXPECT_FALSE(differenze_svg(base, con("50%", "60%")).empty());
    EXPECT_FALSE(differenze_svg(base, con("#4a8cd0", "#4a8cd1")).empty());
}
