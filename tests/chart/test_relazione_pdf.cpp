// The PDF calculation report and the calculation files as a user makes them: ondix-calc KIND --pdf FILE and
// ondix-calc apri FILE, read back with poppler's tools.
#include "core/file_calcolo.h"
#include "core/maschera.h"

#include "prova_esporta.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>
#include <string>

// The PDF report of every kind, read back with poppler's tools: A4, the title block, every page numbered, every
// value of the report beside its label (with a decimal comma, as the report writes most of them), the units as the
// SI writes them, the summary, the signature's box, the fonts embedded, and the chart on its own page as vector
// paths with its point letters explained.
TEST_F(Esporta, PdfReportOfEveryKindReadsBack) {
    const std::string calc_ = std::string("env -u DISPLAY -u WAYLAND_DISPLAY '") + ONDIX_CALC + "' ";
    const std::regex riga_valore("^([^ :][^:]*?) *: *(-?[0-9][0-9.,]*)");
    for (const ondix::TipoProcesso tipo : ondix::tipi_processo) {
        SCOPED_TRACE(int(tipo));
        const fs::path pdf = dir / "relazione.pdf";
        int codice = -1;
        const std::string rapporto =
            esegui(calc_ + std::to_string(tipo) + " --pdf " + q(pdf) +
                       " --progetto 'Scuola Verdi' --autore 'M. Rossi' --revisione B --data 01/12/2026 --isolinee ur",
                   &codice);
        ASSERT_EQ(codice, 0);
        const int n = pagine(pdf);
        ASSERT_GE(n, 2);
        EXPECT_NE(esegui("pdfinfo '" + pdf.string() + "'").find("(A4)"), std::string::npos);
        const std::string testo = esegui("pdftotext -layout '" + pdf.string() + "' -");
        for (const std::string& atteso :
             {std::string("RELAZIONE DI CALCOLO"), std::string(ondix::titolo_processo(tipo)),
              std::string("Scuola Verdi"), std::string("M. Rossi - Rev. B - 01/12/2026"),
              std::string("Nota sul metodo"), std::string("Sintesi dei risultati"), std::string("timbro e firma"),
              std::string("Punti: "), std::string("Calcolato con ondix"), "Pagina 1 di " + std::to_string(n),
              "Pagina " + std::to_string(n) + " di " + std::to_string(n)})
            EXPECT_NE(testo.find(atteso), std::string::npos) << atteso;
        for (const char* breve : {" kj/kg", " mc/h", " kw", " watt"})
            EXPECT_EQ(testo.find(breve), std::string::npos) << breve;
        // Each "label: value" of the report is a row of the results: the label and the value on one line.
        std::istringstream righe(rapporto);
        int confrontate = 0;
        for (std::string r; std::getline(righe, r);) {
            std::smatch m;
            if (!std::regex_search(r, m, riga_valore)) continue;
            std::string voce = m[1];
            voce = std::regex_replace(voce, std::regex(" +"), " ");
            std::string valore = m[2].str();
            std::replace(valore.begin(), valore.end(), '.', ',');
            const std::regex cercata(std::regex_replace(voce, std::regex(R"([.()/\[\]+*?])"), R"(\$&)") + " +" +
                                     valore + "(?![0-9.,])");
            EXPECT_TRUE(std::regex_search(testo, cercata)) << r;
            ++confrontate;
        }
        EXPECT_GE(confrontate, 5);
        const std::string caratteri = esegui("pdffonts '" + pdf.string() + "'");
        EXPECT_NE(caratteri.find("LiberationSans"), std::string::npos) << caratteri;
        EXPECT_EQ(std::regex_search(caratteri, std::regex(R"(Identity-H +no )")), false) << caratteri;
        // Vector: no picture anywhere, and the chart's page made of paths.
        const std::string immagini = esegui("pdfimages -list '" + pdf.string() + "'");
        EXPECT_EQ(std::count(immagini.begin(), immagini.end(), '\n'), 2) << immagini;
        const std::string svg = esegui("pdftocairo -svg -f " + std::to_string(n) + " -l " + std::to_string(n) + " '" +
                                       pdf.string() + "' -");
        std::size_t tracciati = 0;
        for (std::size_t k = 0; (k = svg.find("<path", k)) != std::string::npos; ++k)
            ++tracciati;
        EXPECT_GT(tracciati, 50u);
        EXPECT_NE(svg.find("width=\"842"), std::string::npos) << "the chart's page is landscape";
    }
}

TEST_F(Esporta, PdfReportFramesTheFogWarning) {
    const fs::path pdf = dir / "nebbia.pdf";
    const Uscita e = calc("1 --e1 35 --e2 95 --e3 3000 --e4 0 --e5 95 --e6 3000 --pdf " + q(pdf));
    ASSERT_EQ(e.codice, 0) << e.err;
    const std::string testo = esegui("pdftotext '" + pdf.string() + "' -");
    EXPECT_NE(testo.find("Avvisi"), std::string::npos);
    EXPECT_NE(testo.find("ATTENZIONE: punto M: stato sovrasaturo (nebbia)"), std::string::npos) << testo;
    // A state's report: no chart, one page.
    const Uscita s = calc("stato --t 26 --tbu 19 --quota 1200 --pdf " + q(dir / "stato.pdf"));
    ASSERT_EQ(s.codice, 0) << s.err;
    EXPECT_EQ(pagine(dir / "stato.pdf"), 1);
    EXPECT_NE(esegui("pdftotext '" + (dir / "stato.pdf").string() + "' -").find("1200 m, 88135 Pa"), std::string::npos);
    // An air-handling unit's report: its conditions' report, then its chart on a page of its own.
    const Uscita u = calc("uta " + q(fs::path(ONDIX_DATI) / "uta_esempio.json") + " --pdf " + q(dir / "uta.pdf"));
    ASSERT_EQ(u.codice, 0) << u.err;
    EXPECT_GE(pagine(dir / "uta.pdf"), 2);
    EXPECT_NE(esegui("pdftotext '" + (dir / "uta.pdf").string() + "' -").find("BATTERIA DI RAFFREDDAMENTO"),
              std::string::npos);
    // A field of the title block without --pdf is a mistake.
    EXPECT_EQ(calc("4 --autore X").codice, 2);
}

// A calculation file of every kind recomputes to the output of the same calculation given by options.
TEST_F(Esporta, ACalculationFileRecomputesAsItsKind) {
    const std::string calc_ = std::string("'") + ONDIX_CALC + "' ";
    for (const ondix::TipoProcesso tipo : ondix::tipi_processo) {
        SCOPED_TRACE(int(tipo));
        ondix::StatoMaschera m;
        ondix::imposta_maschera(tipo, m);
        ondix::FileCalcolo f;
        f.processo = tipo;
        std::string opzioni = std::to_string(tipo) + " --umidita 1 --portata 1 --pressione 95000 --modello ashrae";
        for (std::size_t i = 0; i < f.testi.size(); ++i) {
            f.testi[i] = m.testo[i];
            opzioni += " --e" + std::to_string(i + 1) + "='" + m.testo[i] + "'";
        }
        f.umidita = f.portata = 1;
        f.pressione = 95000;
        f.modello = "ashrae";
        ASSERT_TRUE(ondix::salva_calcolo(f, (dir / "c.ondix").string()));
        const std::string atteso = esegui(calc_ + opzioni + " --json");
        EXPECT_NE(atteso.find("\"versione_formato\""), std::string::npos);
        EXPECT_EQ(esegui(calc_ + "apri " + q(dir / "c.ondix") + " --json"), atteso);
    }
}

namespace {

// A word of a PDF page and its box, points, as pdftotext -bbox-layout finds them.
struct Parola {
    double x0, y0, x1, y1;
    std::string testo;
};
struct PaginaPdf {
    double larghezza = 0, altezza = 0;
    std::vector<Parola> parole;
};

double attributo(const std::string& s, std::size_t da, const std::string& nome) {
    const std::size_t k = s.find(nome + "=\"", da);
    return k == std::string::npos ? 0 : std::stod(s.substr(k + nome.size() + 2));
}

std::vector<PaginaPdf> parole_pdf(const fs::path& pdf) {
    const std::string xml = esegui("pdftotext -bbox-layout '" + pdf.string() + "' -");
    std::vector<PaginaPdf> pagine_lette;
    for (std::size_t k = 0; (k = xml.find('<', k)) != std::string::npos; ++k) {
        if (xml.compare(k, 6, "<page ") == 0) {
            pagine_lette.push_back({attributo(xml, k, "width"), attributo(xml, k, "height"), {}});
        } else if (xml.compare(k, 6, "<word ") == 0 && !pagine_lette.empty()) {
            const std::size_t inizio = xml.find('>', k) + 1, fine = xml.find("</word>", inizio);
            pagine_lette.back().parole.push_back({attributo(xml, k, "xMin"), attributo(xml, k, "yMin"),
                                                  attributo(xml, k, "xMax"), attributo(xml, k, "yMax"),
                                                  xml.substr(inizio, fine - inizio)});
        }
    }
    return pagine_lette;
}

// The words of a text, split at blanks.
std::vector<std::string> parole_di(const std::string& testo) {
    std::istringstream in(testo);
    std::vector<std::string> r;
    for (std::string p; in >> p;)
        r.push_back(p);
    return r;
}

} // namespace

// Names of 80 characters in every field of the title block, and a unit file under a long path: on every page of
// text no two words' boxes overlap and every word lies on the page, and every word of the names is there whole.
TEST_F(Esporta, LongNamesWrapInsideTheirCellsAndNeverOverlap) {
    const std::string progetto = "Ampliamento e riqualificazione energetica della scuola primaria Giuseppe Verdi B";
    const std::string sito = "Milano, via Giuseppe Garibaldi 12, edificio scolastico comunale, ala nord, primo";
    const std::string autore = "Ing. Maria Antonietta Rossi Bianchi, Studio Tecnico Associato Rossi & Verdi srl.";
    const std::string revisione = "B - seconda emissione per il permesso di costruire del 2026 dopo le osservazioni";
    for (const std::string* n : {&progetto, &sito, &autore, &revisione})
        ASSERT_EQ(n->size(), 80u) << *n;
    const fs::path cartella = dir / "Progetto esecutivo impianti meccanici" / "unita di trattamento aria del corpo B";
    fs::create_directories(cartella);
    fs::copy_file(fs::path(ONDIX_DATI) / "uta_esempio.json", cartella / "uta_esempio_con_un_nome_molto_lungo.json");
    const std::string titolo = " --progetto '" + progetto + "' --sito '" + sito + "' --autore '" + autore +
                               "' --revisione '" + revisione + "' --data 01/12/2026";
    const std::vector<std::string> comandi{"1", "6 --quota 1200", "7",
                                           "uta " + q(cartella / "uta_esempio_con_un_nome_molto_lungo.json")};
    for (const std::string& comando : comandi) {
        SCOPED_TRACE(comando);
        const fs::path pdf = dir / "lunghi.pdf";
        ASSERT_EQ(calc(comando + " --pdf " + q(pdf) + titolo).codice, 0);
        const std::vector<PaginaPdf> lette = parole_pdf(pdf);
        ASSERT_EQ(static_cast<int>(lette.size()), pagine(pdf));
        for (std::size_t p = 0; p < lette.size(); ++p) {
            const PaginaPdf& pagina = lette[p];
            if (pagina.larghezza > pagina.altezza) continue; // the chart's page
            for (std::size_t i = 0; i < pagina.parole.size(); ++i) {
                const Parola& a = pagina.parole[i];
                EXPECT_TRUE(a.x0 >= 0 && a.y0 >= 0 && a.x1 <= pagina.larghezza && a.y1 <= pagina.altezza)
                    << "page " << p + 1 << ": " << a.testo;
                for (std::size_t j = i + 1; j < pagina.parole.size(); ++j) {
                    const Parola& b = pagina.parole[j];
                    // A quarter of a point is the rounding of the boxes of words that touch.
                    const bool sovrapposte = std::min(a.x1, b.x1) - std::max(a.x0, b.x0) > 0.25 &&
                                             std::min(a.y1, b.y1) - std::max(a.y0, b.y0) > 0.25;
                    EXPECT_FALSE(sovrapposte)
                        << "page " << p + 1 << ": \"" << a.testo << "\" over \"" << b.testo << "\"";
                }
            }
        }
        // The title block on the first page holds every word of every name.
        std::vector<std::string> prima;
        for (const Parola& w : lette.front().parole)
            prima.push_back(w.testo);
        for (const std::string* n : {&progetto, &sito, &autore, &revisione})
            for (const std::string& w : parole_di(*n)) {
                std::string atteso = w;
                if (atteso == "&") atteso = "&amp;";
                EXPECT_NE(std::find(prima.begin(), prima.end(), atteso), prima.end()) << w;
            }
    }
    // The unit's file is named in full, wrapped inside the value's cell.
    std::string tutto;
    for (const PaginaPdf& pagina : parole_pdf(dir / "lunghi.pdf"))
        for (const Parola& w : pagina.parole)
            tutto += w.testo;
    EXPECT_NE(tutto.find("uta_esempio_con_un_nome_molto_lungo.json"), std::string::npos) << tutto;
}
