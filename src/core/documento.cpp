#include "core/documento.h"

#include "core/maschera.h"
#include "core/modello.h"
#include "core/numeri.h"

#include <algorithm>
#include <array>
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

// The reports' short units written out.
std::string unita_scritta(std::string_view u) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 8> nomi{{
        {"C", "°C"},
        {"kj/kg", "kJ/kg"},
        {"mc/h", "m³/h"},
        {"mc/kg", "m³/kg"},
        {"watt", "W"},
        {"w", "W"},
        {"mbar", "mbar"},
        {"Pa", "Pa"},
    }};
    for (const auto& [breve, scritta] : nomi)
        if (u == breve) return std::string(scritta);
    return std::string(u);
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
    r.valore = std::string(resto.substr(0, spazio));
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
    r.valore = testo;
    return r;
}

} // namespace

std::vector<RigaDocumento> righe_tabella(const std::vector<std::string>& righe) {
    std::vector<RigaDocumento> tabella;
    bool in_avviso = false;
    for (const std::string& riga : righe) {
        if (separatore(riga)) {
            in_avviso = false;
            continue;
        }
        RigaDocumento r;
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

std::vector<std::string> nota_metodo(Aria aria, std::string_view versione) {
    std::vector<std::string> nota;
    if (aria.modello)
        nota.push_back("Proprietà dell'aria umida secondo il modello " + std::string(aria.modello->nome()) +
                       " (equazioni dell'ASHRAE Handbook: saturazione di Hyland e Wexler su acqua e ghiaccio, "
                       "bulbo umido termodinamico).");
    else
        nota.push_back("Proprietà dell'aria umida secondo le correlazioni del programma (tensione di vapore "
                       "saturo, umidità specifica, entalpia e volume specifico dell'aria umida).");
    nota.push_back("Pressione atmosferica di calcolo: " + formatta(aria.pressione, 0, 0) + " Pa" +
                   (aria.pressione == pressione_atmosferica ? " (livello del mare)." : " (pressione del sito)."));
    nota.push_back("I valori sono quelli del rapporto di calcolo, con le stesse cifre decimali.");
    nota.push_back("Calcolato con ondix " + std::string(versione) + ".");
    return nota;
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
    d.metodo = nota_metodo(aria, versione);
    return d;
}

} // namespace ondix
