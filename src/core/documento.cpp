#include "core/documento.h"

#include "core/maschera.h"
#include "core/modello.h"
#include "core/numeri.h"
#include "core/stato_aria.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace ondix {

namespace {

// Runs of blanks as one blank.
std::string un_solo_spazio(std::string_view s) {
    std::string r;
    for (const char c : senza_blank(s))
        if (c != ' ' || r.empty() || r.back() != ' ') r += c;
    return r;
}

// The word a table of pairs gives `chiave`; none when it has no row for it.
template <std::size_t N>
std::optional<std::string> voce_tabella(const std::array<std::pair<std::string_view, std::string_view>, N>& tabella,
                                        std::string_view chiave) {
    for (const auto& [da, a] : tabella)
        if (chiave == da) return std::string(a);
    return std::nullopt;
}

// The reports' short units as the SI writes them.
std::string unita_scritta(std::string_view u) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 10> nomi{{
        {"C", "°C"},
        {"kj/kg", "kJ/kg"},
        {"mc/h", "m³/h"},
        {"mc/kg", "m³/kg"},
        {"watt", "W"},
        {"w", "W"},
        {"kw", "kW"},
        {"gr/kg", "g/kg"},
        {"mbar", "mbar"},
        {"Pa", "Pa"},
    }};
    return voce_tabella(nomi, u).value_or(std::string(u));
}

bool inizia_numero(std::string_view s) {
    if (s.empty()) return false;
    const char c = s.front();
    return (c >= '0' && c <= '9') || ((c == '-' || c == '+') && s.size() > 1 && s[1] >= '0' && s[1] <= '9');
}

// "value unit" after a label: the first word is the value when it is a number, the rest its unit; otherwise the
// whole text is the value.
void valore_e_unita(std::string_view resto, RigaDocumento& r) {
    resto = senza_blank(resto);
    if (!inizia_numero(resto)) {
        r.valore = un_solo_spazio(resto);
        return;
    }
    const auto spazio = resto.find(' ');
    r.valore = virgola_decimale(resto.substr(0, spazio));
    if (spazio != std::string_view::npos) r.unita = unita_scritta(senza_blank(resto.substr(spazio)));
}

bool separatore(std::string_view s) {
    s = senza_blank(s);
    return s.empty() || s.find_first_not_of('-') == std::string_view::npos;
}

// A row of "label   10500 watt": a label, at least two blanks, a number and what follows.
bool riga_senza_due_punti(std::string_view riga, RigaDocumento& r) {
    const auto spazi = riga.find("  ");
    if (spazi == std::string_view::npos || spazi == 0) return false;
    const std::string_view resto = senza_blank(riga.substr(spazi));
    if (!inizia_numero(resto)) return false;
    r.voce = un_solo_spazio(riga.substr(0, spazi));
    valore_e_unita(resto, r);
    return true;
}

// The unit of a form box: the label's "[unit]", else by the option groups for humidities and flows.
RigaDocumento riga_ingresso(std::string_view etichetta, const std::string& testo, int umidita, int portata) {
    RigaDocumento r;
    std::string voce(etichetta);
    while (!voce.empty() && (voce.back() == ':' || voce.back() == ' '))
        voce.pop_back();
    if (const auto a = voce.find('['), c = voce.find(']'); a != std::string::npos && c != std::string::npos && c > a) {
        r.unita = unita_scritta(voce.substr(a + 1, c - a - 1));
        voce.erase(a, c - a + 1);
    } else if (voce.rfind("umidita", 0) == 0) {
        r.unita = umidita == 0 ? "%" : "g/kg";
    } else if (voce.rfind("portata", 0) == 0) {
        r.unita = portata == 0 ? "m³/h" : "kg/h";
    }
    r.voce = un_solo_spazio(voce);
    r.valore = virgola_decimale(testo);
    return r;
}

} // namespace

std::vector<RigaDocumento> righe_tabella(const std::vector<std::string>& righe) {
    std::vector<RigaDocumento> tabella;
    bool in_avviso = false, separato = false;
    for (const std::string& riga : righe) {
        if (separatore(riga)) {
            in_avviso = false;
            separato = !tabella.empty();
            continue;
        }
        RigaDocumento r;
        r.separato = std::exchange(separato, false);
        const std::string_view s = riga;
        if (senza_blank(s).rfind("ATTENZIONE", 0) == 0) in_avviso = true;
        // An indented line is a block's title (a point's name), and ends a warning's block.
        else if (s.front() == ' ')
            in_avviso = false;
        r.avviso = in_avviso;
        const auto due_punti = s.find(':');
        if (s.front() != ' ' && due_punti != std::string_view::npos && due_punti > 0 &&
            senza_blank(s.substr(0, due_punti)).size() > 0 && senza_blank(s).rfind("ATTENZIONE", 0) != 0) {
            r.voce = un_solo_spazio(s.substr(0, due_punti));
            valore_e_unita(s.substr(due_punti + 1), r);
        } else if (s.front() == ' ' || !riga_senza_due_punti(s, r)) {
            r.voce = un_solo_spazio(s);
            r.titolo = true;
        }
        tabella.push_back(std::move(r));
    }
    return tabella;
}

std::string virgola_decimale(std::string_view testo) {
    const std::string_view t = senza_blank(testo);
    std::size_t k = t.empty() || (t[0] != '-' && t[0] != '+') ? 0 : 1;
    std::size_t cifre = 0, separatori = 0;
    for (std::size_t i = k; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9')
            ++cifre;
        else if ((t[i] == '.' || t[i] == ',') && ++separatori == 1)
            continue;
        else
            return std::string(testo);
    }
    if (cifre == 0) return std::string(testo);
    std::string r(t);
    std::replace(r.begin(), r.end(), '.', ',');
    return r;
}

std::vector<std::string> nota_metodo(Aria aria, std::string_view versione, std::optional<double> quota) {
    std::vector<std::string> nota;
    const std::optional<double> ebollizione = temperatura_saturazione(aria.pressione, aria);
    const std::string bolle = ebollizione ? numero_virgola(*ebollizione, 0, 2) + " °C" : std::string("?");
    if (aria.modello) {
        nota.push_back("Proprietà dell'aria umida secondo il modello di riferimento " +
                       std::string(aria.modello->nome()) +
                       ": equazioni dell'ASHRAE Handbook - Fundamentals (capitolo Psychrometrics), con la pressione di "
                       "saturazione di Hyland e Wexler sull'acqua e sul ghiaccio, il fattore di arricchimento e il "
                       "bulbo umido termodinamico.");
        nota.push_back("Campo di validità: temperature da " + numero_virgola(aria.modello->t_minima(), 0, 0) + " a " +
                       numero_virgola(aria.modello->t_massima(), 0, 0) +
                       " °C e sotto l'ebollizione dell'acqua alla pressione di calcolo (" + bolle +
                       "); un dato fuori dal campo è rifiutato con il motivo.");
    } else {
        nota.push_back("Proprietà dell'aria umida secondo le correlazioni del programma: pressione di saturazione "
                       "del vapore da un polinomio di quarto grado in (t + 10), in mm di colonna d'acqua per 9,81 Pa; "
                       "umidità specifica x = 622·φ·ps / (P − φ·ps) g/kg; entalpia h = 1,004·t + (1,926·t + 2490)·x / "
                       "1000 kJ/kg; volume specifico v = 287·(t + 273) / (P − pv) m³/kg; bulbo umido e rugiada per "
                       "bisezione.");
        nota.push_back("Campo di validità: il polinomio di saturazione vale da −10 °C fino all'ebollizione dell'acqua "
                       "alla pressione di calcolo (" +
                       bolle +
                       "); sotto −10 °C è continuato con la pendenza della saturazione sul ghiaccio. Umidità relative "
                       "oltre 100 %, temperature oltre l'ebollizione e impianti impossibili sono rifiutati con il "
                       "motivo.");
    }
    std::string pressione = "Pressione atmosferica di calcolo: " + formatta(aria.pressione, 0, 0) + " Pa";
    if (quota)
        pressione += " (quota del sito " + formatta(*quota, 0, 0) + " m).";
    else
        pressione += aria.pressione == pressione_atmosferica ? " (livello del mare)." : " (pressione del sito).";
    nota.push_back(pressione);
    nota.push_back("I valori sono quelli del rapporto di calcolo, con le stesse cifre decimali.");
    nota.push_back("Calcolato con ondix " + std::string(versione) + ".");
    return nota;
}

namespace {

// The unit a typed result's name ends in, as the SI writes it, and the decimals it is given when the report has
// no row for it.
struct UnitaRisultato {
    std::string_view suffisso, unita;
    int decimali;
};
constexpr std::array<UnitaRisultato, 9> unita_risultati{{
    {"_kg_h", "kg/h", 2},
    {"_m3_h", "m³/h", 0},
    {"_kW", "kW", 3},
    {"_W", "W", 0},
    {"_kJ_kg", "kJ/kg", 2},
    {"_g_kg", "g/kg", 2},
    {"_m3_kg", "m³/kg", 3},
    {"_C", "°C", 2},
    {"_pct", "%", 1},
}};

// A typed result's name in words: "potenza_frigorifera_aria_esterna" → "Potenza frigorifera aria esterna".
std::string nome_risultato(std::string_view radice) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 11> nomi{{
        {"t", "Temperatura"},
        {"ur", "Umidità relativa"},
        {"x", "Umidità specifica"},
        {"h", "Entalpia"},
        {"v", "Volume specifico"},
        {"t_bulbo_umido", "Temperatura di bulbo umido"},
        {"condensa", "Acqua condensata"},
        {"fattore_bypass", "Fattore di bypass"},
        {"fattore_termico", "Fattore termico ambiente"},
        {"salto_umidita", "Salto di umidità specifica"},
        {"vapore", "Vapore"},
    }};
    if (auto nome = voce_tabella(nomi, radice)) return *nome;
    std::string r;
    for (std::size_t i = 0; i < radice.size(); ++i) {
        if (radice.substr(i, 7) == "umidita") {
            r += "umidità";
            i += 6;
            continue;
        }
        r += radice[i] == '_' ? ' ' : radice[i];
    }
    if (!r.empty() && r[0] >= 'a' && r[0] <= 'z') r[0] = static_cast<char>(r[0] - 'a' + 'A');
    return r;
}

// The number a table's value writes, and its decimals; none when it is not one.
std::optional<double> valore_scritto(std::string_view testo, int& decimali) {
    std::string t(senza_blank(testo));
    std::replace(t.begin(), t.end(), ',', '.');
    const std::optional<double> v = numero_intero_testo(t);
    const auto punto = t.find('.');
    decimali = punto == std::string::npos ? 0 : static_cast<int>(t.size() - punto - 1);
    return v;
}

} // namespace

std::vector<RigaDocumento> sintesi_risultati(const RisultatiCalcolo& r, const std::vector<RigaDocumento>& risultati) {
    std::vector<RigaDocumento> sintesi;
    std::vector<bool> usata(risultati.size(), false);
    for (const auto& [chiave, valore] : r.valori) {
        const std::string_view k = chiave;
        const UnitaRisultato* u = nullptr;
        for (const UnitaRisultato& c : unita_risultati)
            if (k.size() > c.suffisso.size() && k.substr(k.size() - c.suffisso.size()) == c.suffisso) {
                u = &c;
                break;
            }
        RigaDocumento riga;
        const std::string_view radice = u ? k.substr(0, k.size() - u->suffisso.size()) : k;
        riga.unita = u ? std::string(u->unita) : std::string();
        riga.voce = nome_risultato(radice);
        // A flow says whether it is the volume or the mass, and the whole one says so.
        if (radice.rfind("portata", 0) == 0 && (riga.unita == "m³/h" || riga.unita == "kg/h"))
            riga.voce = std::string(riga.unita == "kg/h" ? "Portata ponderale" : "Portata volumetrica") +
                        (radice == "portata" ? std::string(" totale") : riga.voce.substr(7));
        riga.valore = numero_virgola(valore, 0, u ? u->decimali : 3);
        // The report's own row of the value: the same unit, the same number at the decimals it is printed with.
        for (std::size_t i = 0; i < risultati.size(); ++i) {
            int decimali = 0;
            const std::optional<double> v = valore_scritto(risultati[i].valore, decimali);
            if (usata[i] || risultati[i].titolo || risultati[i].unita != riga.unita || !v) continue;
            if (std::fabs(*v - valore) > 0.5 * std::pow(10.0, -decimali) * (1 + 1e-9)) continue;
            usata[i] = true;
            riga.valore = risultati[i].valore;
            break;
        }
        sintesi.push_back(std::move(riga));
    }
    return sintesi;
}

namespace {

// What each point letter stands for, by process kind: the chart's letters in the words of the report.
struct Lettera {
    std::string_view lettera;
    std::string_view significato;
};

std::vector<Lettera> lettere_processo(TipoProcesso tipo) {
    switch (tipo) {
    case 4:
        return {{"P", "punto"}, {"R", "rugiada"}, {"BU", "bulbo umido"}};
    case 1:
        return {{"E", "punto 1"}, {"A", "punto 2"}, {"M", "miscela"}};
    case 2:
    case 3:
    case 13:
        return {{"I", "ingresso"}, {"U", "uscita"}};
    case 5:
        return {{"I", "ingresso"}, {"U", "uscita"}, {"B", "batteria"}};
    case 6:
        return {{"A", "ambiente"}, {"E", "esterno"},    {"B", "batteria"},
                {"M", "miscela"},  {"C", "immissione"}, {"P", "uscita batteria"}};
    case 21:
        return {{"A", "ambiente"}, {"E", "esterno"}, {"B", "batteria"}, {"M", "miscela"}, {"P", "uscita batteria"}};
    case 7:
        return {{"A", "ambiente"},       {"E", "esterno"},           {"M", "miscela"},   {"P", "preriscaldamento"},
                {"U", "umidificazione"}, {"R", "postriscaldamento"}, {"I", "immissione"}};
    case 17:
        return {{"A", "ambiente"}, {"E", "esterno"}, {"M", "miscela"}, {"P", "preriscaldamento"}, {"I", "immissione"}};
    default: // an air-handling unit: its states by the number of the section they leave, then the room
        return {{"0", "aria esterna"},     {"1", "uscita sezione 1"}, {"2", "uscita sezione 2"},
                {"3", "uscita sezione 3"}, {"4", "uscita sezione 4"}, {"5", "uscita sezione 5"},
                {"6", "uscita sezione 6"}, {"7", "uscita sezione 7"}, {"8", "uscita sezione 8"},
                {"9", "uscita sezione 9"}, {"A", "ambiente"}};
    }
}

} // namespace

std::string legenda_punti(TipoProcesso tipo, const TabellaPunti& punti) {
    std::string legenda;
    for (const Lettera& l : lettere_processo(tipo))
        for (int n = 1; n <= TabellaPunti::numero_voci; ++n)
            if (punti[n].in_uso() && punti[n].etichetta == l.lettera) {
                legenda += (legenda.empty() ? "" : "   ") + std::string(l.lettera) + " = " + std::string(l.significato);
                break;
            }
    return legenda;
}

Documento documento_calcolo(const Contesto& ctx, const std::vector<std::string>& messaggi,
                            const std::optional<std::string>& impossibile, Intestazione intestazione,
                            std::string_view versione) {
    std::vector<RigaDocumento> ingressi;
    const StatoMaschera& m = ctx.maschera;
    for (std::size_t i = 0; i < m.testo.size(); ++i)
        if (m.testo_visibile[i] && m.etichetta_visibile[i])
            ingressi.push_back(riga_ingresso(m.etichetta[i], m.testo[i], m.umidita, m.portata));
    Documento d = documento_rapporto(std::string(titolo_processo(ctx.processo)), std::move(ingressi),
                                     ctx.rapporto.righe(), ctx.aria, std::move(intestazione), versione);
    d.sintesi = sintesi_risultati(ctx.risultati, d.risultati);
    for (const StatoNebbia& s : ctx.risultati.nebbia) {
        std::string a = (s.punto.empty() ? std::string("Uno stato") : s.punto) +
                        ": stato sovrasaturo (nebbia), umidità relativa " + numero_virgola(s.ur, 0, 1) + " %";
        if (s.equilibrio)
            a += "; equilibrio a " + numero_virgola(s.equilibrio->t, 0, 1) + " °C con " +
                 numero_virgola(s.equilibrio->acqua, 0, 2) + " g/kg di acqua liquida";
        d.avvisi.push_back(a + ".");
    }
    for (const std::string& testo : messaggi)
        d.avvisi.push_back(testo);
    if (impossibile) d.avvisi.push_back("Impianto impossibile: " + *impossibile);
    return d;
}

Documento documento_rapporto(std::string titolo, std::vector<RigaDocumento> ingressi,
                             const std::vector<std::string>& righe, Aria aria, Intestazione intestazione,
                             std::string_view versione) {
    Documento d;
    d.intestazione = std::move(intestazione);
    d.titolo = std::move(titolo);
    d.aria = aria;
    d.ingressi = std::move(ingressi);
    d.risultati = righe_tabella(righe);
    d.metodo = nota_metodo(aria, versione, d.intestazione.quota);
    return d;
}

} // namespace ondix
