// The calculation file: written and read back unchanged for every kind; a damaged file or one of a later version
// refused with a reason and the line it is at, never a crash.
#include "core/diagramma_libero_tabella.h"
#include "core/file_calcolo.h"
#include "core/maschera.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace ondix {

namespace {

// A calculation of the kind with every field away from its default: the form's texts with a twist of text a
// user may type (blanks, quotes, accents, a comma), the other option groups, a site, a model, layers, a title.
FileCalcolo calcolo_di(int tipo) {
    StatoMaschera m;
    imposta_maschera(tipo, m);
    FileCalcolo f;
    f.processo = tipo;
    for (std::size_t i = 0; i < f.testi.size(); ++i)
        f.testi[i] = m.testo[i] + (i % 3 == 0 ? "" : i % 3 == 1 ? " \"x\"" : ",5 è");
    f.umidita = tipo % 2;
    f.portata = 1 - tipo % 2;
    f.pressione = 88135.25;
    f.quota = 1200;
    f.modello = tipo % 2 ? "ashrae" : "";
    f.risposta = tipo == 6 ? std::optional<std::string>("0.2") : std::nullopt;
    f.isolinee = {"ur", "tbu"};
    f.mollier = tipo % 2 == 0;
    f.intestazione = {"Scuola \"Verdi\"", "Milano", "M. Rossi", "B", "01/12/2026", std::nullopt};
    return f;
}

// A working chart with every kind of state and process: placed, typed (two pairs), outlets; mixing by fraction and
// by flows, a coil placed by its outlet, a flow, a free line.
DiagrammaLibero diagramma_di_prova() {
    DiagrammaLibero d(Aria{88135.25, nullptr});
    const int e = d.aggiungi_punto(32.5, 14.25);
    const int a = *d.aggiungi_stato("ambiente \"1\"", {Grandezza::tbu, 19.0}, {Grandezza::t, 26.0});
    const int f = *d.aggiungi_stato("", {Grandezza::h, 20.0}, {Grandezza::ur, 80.0});
    DefinizioneTrasformazione k = trasformazione_tra(TipoTrasformazione::miscela, e, a);
    k.frazione = 0.25;
    const int m = *d.aggiungi_trasformazione(k);
    k.portata_da = 1200.5;
    k.portata_con = 3000.0;
    (void)*d.aggiungi_trasformazione(k);
    k = trasformazione_tra(TipoTrasformazione::batteria, m);
    k.portata = 4200.0;
    const int c = *d.aggiungi_trasformazione(k);
    EXPECT_TRUE(d.sposta(c, 14.0, 8.5));
    for (const TipoTrasformazione t :
         {TipoTrasformazione::sensibile, TipoTrasformazione::adiabatica, TipoTrasformazione::vapore})
        (void)*d.aggiungi_trasformazione(trasformazione_tra(t, f));
    (void)*d.aggiungi_trasformazione(trasformazione_tra(TipoTrasformazione::linea, a, c));
    return d;
}

// The file of the working chart above.
FileCalcolo file_diagramma() {
    FileCalcolo f = calcolo_di(4);
    f.diagramma = diagramma_di_prova().definizione();
    return f;
}

// A file's text: changed in one place, and the line of a piece of it as written.
struct TestoFile {
    std::string testo;
    std::string cambia(const std::string& da, const std::string& a) const {
        std::string t = testo;
        const auto k = t.find(da);
        EXPECT_NE(k, std::string::npos) << da;
        return t.replace(k, da.size(), a);
    }
    int riga(const std::string& pezzo) const {
        const auto k = testo.find(pezzo);
        return 1 + static_cast<int>(std::count(testo.begin(), testo.begin() + static_cast<std::ptrdiff_t>(k), '\n'));
    }
};

} // namespace

// A working chart saved and read back is the same chart: the same file again, the same table.
TEST(FileCalcolo, WorkingChartReadsBackAsWritten) {
    const DiagrammaLibero d = diagramma_di_prova();
    const FileCalcolo f = file_diagramma();
    const std::string testo = testo_file_calcolo(f);
    const auto letto = leggi_file_calcolo(testo, "d.ondix");
    ASSERT_TRUE(letto) << letto.errore().testo;
    ASSERT_TRUE(letto->diagramma);
    EXPECT_EQ(letto->pressione, f.pressione);
    EXPECT_EQ(letto->intestazione, f.intestazione);
    EXPECT_EQ(testo_file_calcolo(*letto), testo);
    DiagrammaLibero riletto(d.aria());
    ASSERT_TRUE(riletto.carica(*letto->diagramma));
    EXPECT_EQ(righe_diagramma(riletto), righe_diagramma(d));
    EXPECT_EQ(testo.find("\"testi\""), std::string::npos);
}

TEST(FileCalcolo, EveryKindReadsBackAsWritten) {
    for (const TipoProcesso tipo : tipi_processo) {
        const FileCalcolo f = calcolo_di(tipo);
        const auto letto = leggi_file_calcolo(testo_file_calcolo(f), "c.ondix");
        ASSERT_TRUE(letto) << int(tipo) << ": " << letto.errore().testo;
        EXPECT_EQ(*letto, f) << int(tipo);
    }
}

// Every prefix of a file cut short, and every byte of it turned into a brace, is refused or read, never a crash;
// a cut file is never taken for a whole one.
TEST(FileCalcolo, DamagedFilesAreRefusedWithAReason) {
    const std::string testo = testo_file_calcolo(calcolo_di(6));
    for (std::size_t n = 0; n + 1 < testo.size(); ++n) {
        const auto letto = leggi_file_calcolo(std::string_view(testo).substr(0, n), "c.ondix");
        ASSERT_FALSE(letto) << n;
        EXPECT_EQ(letto.errore().causa, Causa::dati);
        EXPECT_FALSE(letto.errore().testo.empty());
    }
    for (std::size_t n = 0; n < testo.size(); ++n) {
        std::string guasto = testo;
        guasto[n] = '}';
        (void)leggi_file_calcolo(guasto, "c.ondix");
    }
}

TEST(FileCalcolo, RefusesWhatIsNotAUsableCalculation) {
    // The line a fault names: that of the key changed, found in the text as written.
    const TestoFile buono{testo_file_calcolo(calcolo_di(1))};
    const TestoFile libero{testo_file_calcolo(file_diagramma())};
    const auto cambia = [&buono](const std::string& da, const std::string& a) { return buono.cambia(da, a); };
    const auto riga_di = [&buono](const std::string& pezzo) { return buono.riga(pezzo); };
    struct Caso {
        std::string testo, motivo;
        int riga;
    };
    const Caso casi[] = {
        {"", "JSON guasto", 1},
        {"[1, 2]", "JSON guasto", 1},
        {"{\"versione\": 1}", "ondix-calcolo", 1},
        {"{\n\"formato\": \"ondix-calcolo\",\n\"versione\": 1,\n\"processo\": 4,\n}", "JSON guasto", 5},
        {cambia("\"versione\": 1", "\"versione\": 2"), "versione 2 del formato, più recente", riga_di("\"versione\"")},
        {cambia("\"versione\": 1", "\"versione\": \"1\""), "versione", riga_di("\"versione\"")},
        {cambia("\"processo\": 1", "\"processo\": 8"), "tipo di processo", riga_di("\"processo\"")},
        {cambia("\"umidita\": 1", "\"umidita\": 2"), "\"umidita\"", riga_di("\"umidita\"")},
        {cambia("\"pressione\": 88135.25", "\"pressione\": 29999"), "pressione 29999 Pa fuori da 30000 a 120000 Pa",
         riga_di("\"pressione\"")},
        {cambia("\"pressione\": 88135.25", "\"pressione\": 120001"), "pressione", riga_di("\"pressione\"")},
        {cambia("\"modello\": \"ashrae\"", "\"modello\": \"x\""), "\"x\" non è un modello", riga_di("\"modello\"")},
        {cambia("\"mollier\": false", "\"mollier\": 0"), "mollier", riga_di("\"mollier\"")},
        // 2^32 + 1, 2^64 + 1 and -(2^32 - 1) must not wrap onto kind 1.
        {cambia("\"processo\": 1", "\"processo\": 4294967297"), "\"processo\"", riga_di("\"processo\"")},
        {cambia("\"processo\": 1", "\"processo\": 18446744073709551617"), "\"processo\"", riga_di("\"processo\"")},
        {cambia("\"processo\": 1", "\"processo\": -4294967295"), "\"processo\"", riga_di("\"processo\"")},
        {cambia("\"quota\": 1200.0", "\"quota\": 1e308"), "\"quota\" del file è fuori", riga_di("\"quota\"")},
        {cambia("\"quota\": 1200.0", "\"quota\": 3000.5"), "\"quota\" del file è fuori", riga_di("\"quota\"")},
        {cambia("\"quota\": 1200.0", "\"quota\": -250.5"), "\"quota\" del file è fuori", riga_di("\"quota\"")},
        // A working chart: its states and processes, each fault at its line.
        {libero.cambia("\"tipo\": \"linea\"", "\"tipo\": \"retta\""), "\"retta\" non è miscela",
         libero.riga("\"linea\"")},
        {libero.cambia("\"tipo\": \"linea\"", "\"tipo\": \"linea\", \"colore\": 1"), "\"colore\" sconosciuta",
         libero.riga("\"linea\"")},
        {libero.cambia("\"t_batteria\": 10.0,", ""), "\"t_batteria\"", libero.riga("\"tipo\": \"batteria\"") - 1},
        {libero.cambia("\"da\": \"B\"", "\"da\": \"Z\""), "nessuno stato Z", libero.riga("\"da\": \"B\"")},
        {libero.cambia("\"frazione\": 0.25", "\"frazione\": \"0.25 %\""), "\"frazione\"", libero.riga("\"frazione\"")},
        {libero.cambia("\"x\": 14.25", "\"x\": null"), "\"x\": atteso un numero", libero.riga("\"x\": 14.25")},
        {libero.cambia("\"h\": 20.0,", ""), "servono due grandezze", libero.riga("\"nome\": \"B\"") - 1},
        {libero.cambia("\"nome\": \"V\"", "\"nome\": \"A\""), "è di due stati", libero.riga("\"nome\": \"V\"")},
        {libero.cambia("\"uscita\": \"M2\"", "\"uscita\": \"M\""), "\"uscita\"", libero.riga("\"uscita\": \"M2\"")},
        {libero.cambia("\"stati\"", "\"stato\""), "\"stati\"", 1},
    };
    for (const Caso& c : casi) {
        const auto letto = leggi_file_calcolo(c.testo, "c.ondix");
        ASSERT_FALSE(letto) << c.testo;
        EXPECT_EQ(letto.errore().testo.rfind("c.ondix:" + std::to_string(c.riga) + ": ", 0), 0u)
            << letto.errore().testo;
        EXPECT_NE(letto.errore().testo.find(c.motivo), std::string::npos) << letto.errore().testo;
    }
    // At the limits of the pressure and of the altitude: read.
    EXPECT_TRUE(leggi_file_calcolo(cambia("\"quota\": 1200.0", "\"quota\": -250"), "c.ondix"));
    EXPECT_TRUE(leggi_file_calcolo(cambia("\"quota\": 1200.0", "\"quota\": 3000"), "c.ondix"));
    EXPECT_TRUE(leggi_file_calcolo(cambia("\"pressione\": 88135.25", "\"pressione\": 30000"), "c.ondix"));
    EXPECT_TRUE(leggi_file_calcolo(cambia("\"pressione\": 88135.25", "\"pressione\": 120000"), "c.ondix"));
}

// A saved file opens as it was saved; a save or an open that cannot be done says so.
TEST(FileCalcolo, SavedFileOpensAsSaved) {
    const auto dir = std::filesystem::temp_directory_path() / ("ondix-calcolo-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string percorso = (dir / "estivo.ondix").string();
    const FileCalcolo f = calcolo_di(6);
    ASSERT_TRUE(salva_calcolo(f, percorso));
    const auto letto = apri_calcolo(percorso);
    ASSERT_TRUE(letto) << letto.errore().testo;
    EXPECT_EQ(*letto, f);
    EXPECT_FALSE(salva_calcolo(f, (dir / "manca" / "x.ondix").string()));
    EXPECT_FALSE(apri_calcolo(dir.string())); // a directory
    std::filesystem::remove_all(dir);
}

} // namespace ondix
