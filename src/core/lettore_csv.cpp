// The CSV reader of tables of states: a header naming the columns, then one state per line; the batch command
// reads the rows through LettoreCsv, the library a whole table through leggi_tabella_csv.
#include "core/colonne_stati.h"
#include "core/lettore_stati.h"
#include "core/numeri.h"
#include "core/tabella.h"

#include <algorithm>
#include <istream>

namespace ondix {

namespace {

bool tutti_numeri(const std::vector<std::string>& campi, char sep) {
    if (campi.size() < 2) return false;
    for (const auto& c : campi)
        if (!numero_campo(senza_blank(c), sep)) return false;
    return true;
}

// A line whose fields hold a number with a decimal comma.
bool con_virgole(const std::vector<std::string>& campi, char sep) {
    return sep != ',' && std::any_of(campi.begin(), campi.end(), [sep](const std::string& c) {
               return c.find(',') != std::string::npos && numero_campo(c, sep);
           });
}

// The header: the first line of the input that is not blank, into `riga`, counting the lines read in `numero`.
// `esempio` is the header the message of an empty input shows ("t,ur").
Fatto cerca_intestazione(LettoreRighe& in, PrimaRiga& prima, std::string& riga, std::size_t& numero,
                         const std::string& nome, std::string_view esempio) {
    bool troppo_lunga = prima.troppo_lunga;
    bool letta = prima.presente;
    riga = std::move(prima.testo);
    while (letta) {
        ++numero;
        if (troppo_lunga)
            return Errore{Causa::dati, nome + ":" + std::to_string(numero) +
                                           ": la riga d'intestazione è più lunga di " +
                                           std::to_string(lunghezza_massima_riga) + " caratteri"};
        if (!senza_blank(riga).empty()) return {};
        letta = in.leggi(riga, troppo_lunga);
    }
    if (in.guasto()) return Errore{Causa::file, nome + ": errore di lettura" + in.motivo()};
    return Errore{Causa::dati,
                  nome + ": l'ingresso è vuoto (attesa una riga d'intestazione come \"" + std::string(esempio) + "\")"};
}

class LettoreCsv : public LettoreDaRighe {
public:
    LettoreCsv(LettoreRighe& in, PrimaRiga prima, int umidita, bool con_pressione, bool copia_colonne,
               std::string_view nome)
        : LettoreDaRighe(in, std::move(prima), con_pressione, nome), m_umidita(umidita), m_copia(copia_colonne) {}

    Fatto apri() override;
    std::vector<Coppia> coppie() const override { return {m_coppia}; }
    bool come_rapporto() const override { return true; }
    std::vector<std::string> colonne_chiave() const override { return nomi(m_chiave); }
    std::vector<std::string> colonne_coda() const override { return nomi(m_coda); }
    char separatore() const override { return m_sep; }
    bool decimali_virgola() const override { return m_virgola; }
    bool ha_pressione() const override { return m_col_p.has_value(); }
    Fatto analizza(std::string_view linea, RigaStato& r, std::vector<std::string>& campi) const override;

private:
    Fatto leggi_intestazione(std::string_view colonna_u);
    // The kept columns, once the columns used are known.
    void scegli_colonne(bool con_intestazione);
    // Reads ahead to the first data line after the header, kept as the pending row, to see its decimal separator.
    void guarda_prima_riga();
    std::vector<std::string> nomi(const std::vector<std::size_t>& colonne) const {
        std::vector<std::string> n;
        for (const std::size_t c : colonne)
            n.push_back(m_nomi[c]);
        return n;
    }

    int m_umidita;
    bool m_copia;
    bool m_virgola = false;
    std::vector<std::string> m_nomi;           // of every column of the first line
    std::vector<std::size_t> m_chiave, m_coda; // the kept columns before and after the properties
    char m_sep = ',';
    Coppia m_coppia{Grandezza::t, Grandezza::ur};
    std::size_t m_col_a = 0, m_col_b = 1;
    std::optional<std::size_t> m_col_p;
    std::size_t m_servono = 2;       // fields a row needs
    std::size_t m_campi_massimi = 2; // fields a row may have
};

Fatto LettoreCsv::apri() {
    const std::string colonna_u = m_umidita == 1 ? "x" : "ur";
    m_coppia = {Grandezza::t, m_umidita == 1 ? Grandezza::x : Grandezza::ur};

    // The header: the first line that is not blank.
    if (auto trovata = cerca_intestazione(m_in, m_prima, m_riga, m_numero, m_nome, "t," + colonna_u); !trovata)
        return trovata;

    m_sep = separatore_di(m_riga);
    dividi_campi(m_riga, m_sep, m_campi);
    // Rows may have fewer fields than the first line (the columns after the last one used may be missing), not
    // more: an extra field would mean that a value was split, as a decimal comma splits it.
    m_campi_massimi = m_campi.size();
    auto intestazione = leggi_intestazione(colonna_u);
    m_servono = std::max({m_col_a, m_col_b, m_col_p.value_or(0)}) + 1;
    if (!intestazione) return intestazione;
    if (m_copia) scegli_colonne(!m_riga_in_attesa);
    if (m_riga_in_attesa)
        m_virgola = con_virgole(m_campi, m_sep);
    else if (m_sep != ',')
        guarda_prima_riga();
    return intestazione;
}

void LettoreCsv::scegli_colonne(bool con_intestazione) {
    const std::size_t prima = std::min({m_col_a, m_col_b, m_col_p.value_or(m_col_a)});
    for (std::size_t i = 0; i < m_campi.size(); ++i) {
        m_nomi.push_back(con_intestazione ? m_campi[i] : "colonna_" + std::to_string(i + 1));
        if (i == m_col_a || i == m_col_b || i == m_col_p) continue;
        (i < prima ? m_chiave : m_coda).push_back(i);
    }
}

void LettoreCsv::guarda_prima_riga() {
    bool troppo_lunga = false;
    while (m_in.leggi(m_riga, troppo_lunga)) {
        ++m_numero;
        if (!troppo_lunga && senza_blank(m_riga).empty()) continue;
        m_riga_in_attesa = true;
        m_attesa_troppo_lunga = troppo_lunga;
        if (troppo_lunga) return;
        std::vector<std::string> campi;
        dividi_campi(m_riga, m_sep, campi);
        m_virgola = con_virgole(campi, m_sep);
        return;
    }
}

Fatto LettoreCsv::leggi_intestazione(std::string_view colonna_u) {
    // A first line of numbers only is data, not a header: the columns are then taken in order.
    if (tutti_numeri(m_campi, m_sep)) {
        m_riga_in_attesa = true;
        if (m_con_pressione) m_col_p = 2;
        return {};
    }
    const auto colonne = colonne_stati(m_campi, m_umidita, m_con_pressione);
    if (!colonne) return errore(colonne.errore().testo);
    if (*colonne) {
        const ColonneStati& c = **colonne;
        m_coppia = {c.prima, c.seconda};
        m_col_a = c.colonna_prima;
        m_col_b = c.colonna_seconda;
        m_col_p = c.colonna_pressione;
        return {};
    }
    // Not a header. With a number in it, the line was meant as the first row: say what is wrong with it.
    const bool con_numeri =
        std::any_of(m_campi.begin(), m_campi.end(), [](const std::string& c) { return numero_intero_testo(c); });
    if (con_numeri) {
        std::string motivo;
        double v = 0;
        if (m_campi.size() < 2)
            motivo = "attesi 2 campi, trovati " + std::to_string(m_campi.size());
        else if (auto letto = leggi_campo(m_campi[0], "t", m_sep, v); !letto)
            motivo = letto.errore().testo;
        else if (letto = leggi_campo(m_campi[1], colonna_u, m_sep, v); !letto)
            motivo = letto.errore().testo;
        return errore("né un'intestazione che nomini le colonne t e " + std::string(colonna_u) +
                      " né una riga di numeri: " + motivo);
    }
    return errore(senza_colonne(m_campi, m_umidita, m_sep));
}

Fatto LettoreCsv::analizza(std::string_view linea, RigaStato& r, std::vector<std::string>& campi) const {
    dividi_campi(linea, m_sep, campi);
    r.con_colonne = false;
    if (auto contati = conta_campi(campi.size(), m_servono, m_campi_massimi, m_sep); !contati) return contati;
    r.valori = {};
    r.pressione.reset();
    if (m_copia) {
        // A row may end before the last columns: theirs are written empty.
        const auto campo = [&](std::size_t i) { return i < campi.size() ? std::string_view(campi[i]) : ""; };
        r.chiave.clear();
        r.coda.clear();
        for (const std::size_t i : m_chiave) {
            aggiungi_campo(r.chiave, campo(i), m_sep_uscita);
            r.chiave += m_sep_uscita;
        }
        for (const std::size_t i : m_coda) {
            r.coda += m_sep_uscita;
            aggiungi_campo(r.coda, campo(i), m_sep_uscita);
        }
        r.con_colonne = true;
    }
    double a = 0, b = 0;
    if (auto letto = leggi_campo(campi[m_col_a], nome_grandezza(m_coppia.first), m_sep, a); !letto) return letto;
    if (auto letto = leggi_campo(campi[m_col_b], nome_grandezza(m_coppia.second), m_sep, b); !letto) return letto;
    if (m_col_p) {
        double p = 0;
        if (auto letto = leggi_campo(campi[*m_col_p], "p", m_sep, p); !letto) return letto;
        r.pressione = p;
    }
    r.valori[static_cast<std::size_t>(m_coppia.first)] = a;
    r.valori[static_cast<std::size_t>(m_coppia.second)] = b;
    return {};
}

// True for the name of a column that holds a quantity of a state or its pressure.
bool nome_di_quantita(std::string_view nome) {
    const std::string n = nome_colonna(nome);
    return grandezza_da_nome(n) || n == "p" || n == "pressione";
}

// The cells of one line of a table into its columns: none when the row is refused.
void aggiungi_riga(Tabella& t, std::vector<CelleColonna>& celle, const std::vector<std::string>* campi) {
    for (std::size_t i = 0; i < celle.size(); ++i) {
        const std::string_view testo = campi && i < campi->size() ? std::string_view((*campi)[i]) : "";
        celle[i].aggiungi(testo, testo.empty() ? std::nullopt : numero_campo(testo, t.separatore));
    }
}

} // namespace

Esito<Tabella> leggi_tabella_csv(LettoreRighe& in, PrimaRiga prima, std::string_view nome_dato, int umidita) {
    const std::string nome = testo_visibile(nome_dato);
    std::string riga;
    std::size_t numero = 0;
    if (auto trovata = cerca_intestazione(in, prima, riga, numero, nome, umidita == 1 ? "t,x" : "t,ur"); !trovata)
        return trovata.errore();
    Tabella t;
    t.separatore = separatore_di(riga);
    std::vector<std::string> campi;
    dividi_campi(riga, t.separatore, campi);
    // A first line of numbers only is the first row, its columns named as the batch command takes them.
    const bool senza_intestazione = tutti_numeri(campi, t.separatore);
    std::vector<CelleColonna> celle;
    for (std::size_t i = 0; i < campi.size(); ++i) {
        if (!senza_intestazione)
            celle.emplace_back(campi[i], nome_di_quantita(campi[i]));
        else if (i < 2)
            celle.emplace_back(i == 0 ? "t" : umidita == 1 ? "x" : "ur", true);
        else
            celle.emplace_back("colonna_" + std::to_string(i + 1), false);
    }
    const auto riga_di_dati = [&](std::size_t linea, bool troppo_lunga) {
        const std::size_t indice = t.linee.size();
        t.linee.push_back(linea);
        Fatto letta = troppo_lunga ? Fatto(riga_troppo_lunga()) : Fatto();
        if (letta) {
            dividi_campi(riga, t.separatore, campi);
            letta = conta_campi(campi.size(), 0, celle.size(), t.separatore);
        }
        if (!letta) t.rifiutate.push_back({indice, letta.errore().testo});
        if (indice == 0) t.decimali_virgola = letta && con_virgole(campi, t.separatore);
        aggiungi_riga(t, celle, letta ? &campi : nullptr);
    };
    if (senza_intestazione) riga_di_dati(numero, false);
    bool troppo_lunga = false;
    while (in.leggi(riga, troppo_lunga)) {
        ++numero;
        if (!troppo_lunga && senza_blank(riga).empty()) continue;
        riga_di_dati(numero, troppo_lunga);
    }
    if (in.guasto())
        return Errore{Causa::file, nome + ": errore di lettura dopo la riga " + std::to_string(numero) + in.motivo()};
    for (CelleColonna& c : celle)
        t.colonne.push_back(std::move(c).colonna());
    return t;
}

std::unique_ptr<LettoreStati> lettore_csv(LettoreRighe& in, PrimaRiga prima, int umidita, bool con_pressione,
                                          bool copia_colonne, std::string_view nome) {
    return std::make_unique<LettoreCsv>(in, std::move(prima), umidita, con_pressione, copia_colonne, nome);
}

} // namespace ondix
