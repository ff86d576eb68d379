// "ondix-calc stati": the properties of every state of a CSV or weather file, as a CSV, a summary or a chart.
#include "cli/comando.h"
#include "cli/foglio.h"
#include "cli/opzioni.h"
#include "cli/riepilogo.h"
#include "cli/stati.h"
#include "core/numeri.h"

#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ondix {

namespace {

constexpr const char* testo_spiegazione =
    R"txt(Input (FILE, or standard input when FILE is "-" or missing): a header
line, then one state per line. The header names the columns: t (dry
bulb, C) and ur (relative humidity, %), or t and x (humidity ratio,
g/kg) with --umidita 1, or any other two of t, ur, x, h (enthalpy,
kJ/kg), tbu (wet bulb, C) and tr (dew point, C) as "ondix-calc stato"
takes them; other columns are ignored, letter case and a unit after the
name ("t [C]") do not matter. A first line of numbers only is data, with
t in the first column; any other first line must be such a header.
Fields are separated by ';', ',' or a tab (the first of these found in
the first line); numbers use a decimal point, or a decimal comma in a
file separated by ';' or a tab, as an Italian spreadsheet writes it
("20,5"; a number with both, such as "1.234,5", is a bad row); fields
may be in double quotes; blank lines are skipped; lines end in LF, CR LF
or CR.

Weather files: an EnergyPlus weather file (EPW; by the name's .epw or by
its first line "LOCATION,...") is read as it is: for each hour the dry
bulb, the dew point (or, where it is missing, the relative humidity)
and, with --pressione file, the station pressure. Values the file marks
as missing (99.9 C, 999 %, 999999 Pa) make the hour a bad row. The
output begins with the columns anno, mese, giorno, ora.

Output (standard output): a CSV with the input's separator and the
header
  t,ur,x,h,v,t_bulbo_umido,t_rugiada
t and ur in C and % with 2 decimals, x in g/kg and h in kj/kg with 3, v
in mc/kg with 4, wet bulb and dew point in C with 2 (the wet bulb empty
where its solver finds none, the dew point empty for air with none above
-100 C, such as 0 %); decimal point, no thousands separator. When the
input's first data line has a number with a decimal comma, the output
has decimal commas too (as a spreadsheet in the Italian convention reads
them); --decimali punto or virgola chooses (virgola with ';' between the
fields). The values
of t with ur or x are those of the point-properties report; states given
by other pairs, and weather files, have their wet bulb and dew point
solved as "ondix-calc stato" solves them. The rows are computed by one
thread per processor core (-j sets the number), in blocks of a few
thousand, and written in input order; with -j 1 each row is written
before the next one is read. Memory does not grow with the input, which
may be of any length, except with --grafico (below).

Pressure: 101335 Pa unless --pressione PA or --quota M gives another;
with --pressione file every row has its own, from a column p (or
pressione, Pa) or a weather file's station pressure, and the output ends
with a column p.

--riepilogo prints, instead of the rows, one screen: hours, minimum,
mean and maximum of t, x and h, the 0.4 %, 1 %, 99 % and 99.6 % design
values of t and h (the values exceeded in that share of the hours), and
with --soglia NAME=VALUE (t, ur, x, h, tbu or tr; repeatable) the hours
above each threshold. The summary takes at most 10 MB whatever the
input: the design values are read from counts in steps of 0.001 C and
0.001 kJ/kg, so that they are exact for values given with up to three
decimals and otherwise at most 0.0005 off (an enthalpy outside -100 to
1000 kJ/kg is counted at the nearer limit). --grafico FILE draws every
state as a dot on the chart, darker where they pile up (builds with the
chart only); it keeps every state until the chart is drawn, 16 bytes a
row (160 MB for ten million), and at most 8 MB more to draw them.

--comfort met=M,clo=C,v=V[,tr=T][,lavoro=W][,cat=I|II|III] ends every
row with pmv, ppd (%) and categoria (EN 16798-1) of a room at its state
(ISO 7730; tr is the air's unless given; met 0.7 to 10, clo 0 to 4, v 0
to 5 m/s, tr -50 to 100 C, lavoro from 0 to below met, or the option is
refused). With --riepilogo it counts the hours in each category instead,
each hour once, in the best category it meets (I, else II, else III,
else none; the hours outside the ranges ISO 7730 validates are counted
apart too), and for a weather file also by the adaptive model of EN
16798-1: the running mean of the daily mean dry bulbs (alpha 0.8; the
year is taken as a cycle, its first day starting from the seven-day
approximation over the last days), comfort temperature 0.33 trm + 18.8
C, limits +2/-3, +3/-4 and +4/-5 K for categories I, II and III; each
hour's dry bulb (with tr, the mean of the two) is judged against its
day's limits, and the hours of days whose running mean lies outside 10
to 30 C are counted apart. The adaptive count keeps 8 bytes an hour of a
weather file (70 kB a year) beyond the summary's 10 MB. With --grafico
the comfort zone of category cat (II by default) is shaded under the
dots.

Bad rows (not numbers, t outside -50..100 C, ur outside 0..100 %, x
below 0 or above saturation, missing fields, more fields than the first
line, lines over 65536 characters) are reported on standard error as
"FILE:LINE: reason (riga scartata)" and left out; the other rows are
written. Characters of the file that would control the terminal are
shown escaped. With --tieni-scarti a bad row is still reported ("(riga
senza valori)") but written too, with its computed fields empty, so that
the output has one row for every data line of the input.

--xlsx FILE writes the rows into a spreadsheet instead (an .xlsx
workbook, replaced only once complete): the same columns, each number a
number cell (whatever the locale of the program that opens it) shown
with the decimals of the CSV, the units in the header ("t [C]", "x
[g/kg]"), kept columns as numbers where a field is a number and as
texts otherwise; past 1048575 rows the rows go on in a new sheet. The
summary of --riepilogo still goes to standard output.

--copia-colonne also writes a CSV's columns that are not computed from
(a date, a time, a station...), header too: those before the first
column used come before the properties, the others after them, each in
its order ("data;ora;t;ur;vento" gives "data;ora;t;ur;x;h;v;
t_bulbo_umido;t_rugiada;vento"); their fields are copied as they are,
and a row without its last columns has them empty. A weather file always
keeps its date and hour.

Exit status: 0 every row written; 1 some rows skipped; 2 the input could
not be used (no such file, a read error, no t or humidity column in the
header, empty input), a write error (the command stops at the first one,
with the same rows written and reported whatever -j), or a usage error.

For example:

  $ ondix-calc stati meteo.csv > proprieta.csv
  $ ondix-calc stati --umidita 1 misure.csv
  $ printf 't;ur\n20;50\n-5.5;90\n' | ondix-calc stati -
  $ ondix-calc stati torino.epw --pressione file > ore.csv
  $ ondix-calc stati misure.csv --copia-colonne --tieni-scarti
  $ ondix-calc stati torino.epw --riepilogo --soglia t=30 --soglia h=60
  $ ondix-calc stati torino.epw --grafico anno.png > /dev/null
  $ ondix-calc stati torino.epw --xlsx ore.xlsx)txt";

class ComandoStati : public Comando {
public:
    std::string_view nome() const override { return "stati"; }
    std::string_view descrizione() const override { return "properties of every state of a CSV or weather file"; }
    std::string_view spiegazione() const override { return testo_spiegazione; }
    void dichiara(CLI::App& app) override;
    int esegui() override;

private:
    // The run once the options are checked.
    int calcola(std::istream& in, const std::string& nome, const std::vector<Soglia>& soglie,
                const RichiestaDisegno& disegno);

    std::string m_file = "-";
    OpzioniStati m_opzioni;
    bool m_riepilogo = false;
    std::vector<std::string> m_soglie;
    std::string m_decimali;
    OpzioniPressione m_pressione;
    OpzioniDisegno m_disegno;
    OpzioneComfort m_comfort;
    std::string m_xlsx;
};

void ComandoStati::dichiara(CLI::App& app) {
    app.add_option("FILE", m_file, "CSV or EPW file of states, \"-\" for standard input (the default)");
    app.add_option("--umidita", m_opzioni.umidita,
                   "humidity column: 0 ur, relative humidity in % (the default); 1 x, humidity ratio in g/kg")
        ->check(CLI::IsMember({0, 1}));
    m_opzioni.fili = fili_disponibili();
    app.add_option("-j,--fili", m_opzioni.fili,
                   "threads that compute the rows (default: one per processor core); 1 reads, computes and writes "
                   "one row after the other")
        ->check(CLI::Range(1u, 1024u));
    m_pressione.dichiara(app, true);
    app.add_flag("--copia-colonne", m_opzioni.copia_colonne,
                 "also write the CSV's other columns (date, time, station...), in their order around the properties");
    app.add_flag("--tieni-scarti", m_opzioni.tieni_scarti,
                 "write bad rows too, with empty computed fields, so that output and input match row by row");
    app.add_option("--decimali", m_decimali,
                   "decimal separator of the output: punto, or virgola (with ';' between the fields); default: "
                   "virgola when the input's numbers have one")
        ->check(CLI::IsMember({"punto", "virgola"}));
    app.add_option("--xlsx", m_xlsx,
                   "write the rows into the spreadsheet FILE (.xlsx: numbers as numbers, units in the header) "
                   "instead of standard output");
    app.add_flag("--riepilogo", m_riepilogo, "print a one-screen summary instead of the rows");
    app.add_option("--soglia", m_soglie, "with --riepilogo: count the hours above NAME=VALUE (e.g. t=30)")
        ->allow_extra_args(false);
    m_disegno.dichiara(app, "draw every state as a dot on the chart into FILE");
    m_comfort.dichiara(app);
}

int ComandoStati::esegui() {
    const auto aria = m_pressione.aria();
    if (!aria) return segnala(nome(), aria.errore());
    m_opzioni.aria = *aria;
    m_opzioni.pressione_da_file = m_pressione.per_riga();
    if (!m_decimali.empty()) m_opzioni.decimali = m_decimali == "virgola" ? Decimali::virgola : Decimali::punto;
    std::vector<Soglia> soglie;
    for (const auto& testo : m_soglie) {
        auto s = soglia_da_testo(testo);
        if (!s) return segnala(nome(), s.errore());
        soglie.push_back(*s);
    }
    if (!soglie.empty() && !m_riepilogo)
        return segnala(nome(), {Causa::dati, "--soglia conta le ore nel riepilogo; aggiungere --riepilogo"});
    const auto disegno = m_disegno.richiesta();
    if (!disegno) return segnala(nome(), disegno.errore());
    const auto comfort = m_comfort.richiesta();
    if (!comfort) return segnala(nome(), comfort.errore());
    RichiestaDisegno con_zona = *disegno;
    if (*comfort) {
        m_opzioni.comfort = (*comfort)->occupanti;
        con_zona.comfort = ZonaComfort{(*comfort)->occupanti, limite_pmv((*comfort)->categoria)};
    }

    std::ios::sync_with_stdio(false);
    if (m_file.empty() || m_file == "-") return calcola(std::cin, "<stdin>", soglie, con_zona);
    std::ifstream da_file;
    if (auto aperto = apri_file(m_file, da_file); !aperto) return segnala(nome(), aperto.errore());
    return calcola(da_file, m_file, soglie, con_zona);
}

int ComandoStati::calcola(std::istream& in, const std::string& nome_dati, const std::vector<Soglia>& soglie,
                          const RichiestaDisegno& disegno) {
    // The rows, or what the summary and the chart gather from them: the states themselves go no further.
    Riepilogo riepilogo(soglie);
    std::optional<OreComfort> ore_comfort;
    if (m_opzioni.comfort && m_riepilogo) ore_comfort.emplace(*m_opzioni.comfort);
    bool meteo = false;
    m_opzioni.meteo = &meteo;
    NuvolaStati nuvola;
    double somma_pressioni = 0;
    std::size_t stati = 0;
    const bool grafico = !disegno.file.empty();
    std::string localita;
    if (m_riepilogo || grafico) {
        m_opzioni.scrivi_righe = !m_riepilogo;
        m_opzioni.descrizione = &localita;
        m_opzioni.per_ogni_stato = [&](const StatoCompleto& s, Aria a, std::string_view chiave) {
            somma_pressioni += a.pressione;
            ++stati;
            if (m_riepilogo) riepilogo.aggiungi(s);
            if (ore_comfort) ore_comfort->aggiungi(s, a, chiave, meteo);
            if (grafico) nuvola.aggiungi(s.t, s.x);
        };
    }

    // The rows into a spreadsheet instead of standard output (where the summary, when asked for, still goes).
    std::unique_ptr<Foglio> foglio;
    std::unique_ptr<UscitaFoglio> al_foglio;
    std::unique_ptr<std::ostream> righe_foglio;
    char separatore = ',';
    if (!m_xlsx.empty()) {
        auto f = foglio_xlsx(m_xlsx, "stati");
        if (!f) return segnala(nome(), f.errore());
        foglio = std::move(*f);
        al_foglio = std::make_unique<UscitaFoglio>(
            *foglio, separatore, FormaStati{m_opzioni.pressione_da_file, m_opzioni.comfort.has_value()});
        righe_foglio = std::make_unique<std::ostream>(al_foglio.get());
        m_opzioni.scrivi_righe = true;
        m_opzioni.separatore = &separatore;
    }
    const RisultatoStati esito =
        calcola_stati(in, righe_foglio ? *righe_foglio : std::cout, std::cerr, m_opzioni, nome_dati);
    if (foglio && !esito.errore)
        if (Fatto chiuso = foglio->chiudi(); !chiuso) return segnala(nome(), chiuso.errore());
    if (m_riepilogo && !esito.errore) {
        // The pressure line of the summary.
        const std::string pressione =
            m_opzioni.pressione_da_file
                ? "della stazione, ora per ora (media " +
                      (stati ? formatta(somma_pressioni / static_cast<double>(stati), 0, 0) : "-") + " Pa)"
                : formatta(m_opzioni.aria.pressione, 0, 0) + " Pa";
        for (const auto& riga : riepilogo.righe(testo_visibile(nome_dati), localita, pressione, esito.scartate))
            std::cout << riga << '\n';
        if (ore_comfort)
            for (const auto& riga : ore_comfort->righe(meteo))
                std::cout << riga << '\n';
    }
    const Fatto scritto = scarica_uscita();
    if (esito.errore)
        segnala(nome(), *esito.errore);
    else if (!scritto)
        return segnala(nome(), scritto.errore());
    if (esito.scartate > 0)
        std::cerr << "ondix-calc: stati: righe "
                  << (m_opzioni.tieni_scarti && m_opzioni.scrivi_righe ? "senza valori: " : "scartate: ")
                  << esito.scartate << " su " << esito.scritte + esito.scartate << "\n";
    if (grafico && !esito.errore) {
        // With every row at its own pressure, the saturation curve is drawn at their mean.
        Aria aria = m_opzioni.aria;
        if (m_opzioni.pressione_da_file && stati > 0) aria.pressione = somma_pressioni / static_cast<double>(stati);
        if (auto disegnato = nuvola.disegna(aria, nome_dati, disegno); !disegnato)
            return segnala({}, disegnato.errore());
    }
    return codice_uscita_stati(esito);
}

} // namespace

std::unique_ptr<Comando> comando_stati() {
    return std::make_unique<ComandoStati>();
}

} // namespace ondix
