// The weather-file reader of tables of states: EnergyPlus weather files (EPW), eight header lines then one hour
// per line: year, month, day, hour, minute, data source, dry bulb (°C), dew point (°C), relative humidity (%),
// station pressure (Pa), and further fields that are not used here. The batch command reads the hours through
// LettoreEpw, the library a whole year through leggi_tabella_epw.
#include "core/lettore_stati.h"
#include "core/numeri.h"
#include "core/tabella.h"

#include <array>
#include <cmath>
#include <istream>
#include <limits>

namespace ondix {

namespace {

// Fields of an hour, counted from 1 as the format describes them.
constexpr std::size_t campo_bulbo_secco = 7;
constexpr std::size_t campo_rugiada = 8;
constexpr std::size_t campo_umidita = 9;
constexpr std::size_t campo_pressione = 10;
constexpr std::size_t campi_chiave = 4; // year, month, day, hour
constexpr std::array<std::string_view, campi_chiave> nomi_chiave{"anno", "mese", "giorno", "ora"};

// The codes a weather file writes for a value it does not have.
constexpr double temperatura_mancante = 99.9;
constexpr double umidita_mancante = 999.0;
constexpr double pressione_mancante = 999999.0;

bool inizia_con(std::string_view s, std::string_view prefisso) {
    if (s.size() < prefisso.size()) return false;
    for (std::size_t i = 0; i < prefisso.size(); ++i) {
        const char c = s[i];
        const char minuscola = (c >= 'A' && c <= 'Z') ? static_cast<char>(c | 0x20) : c;
        if (minuscola != prefisso[i]) return false;
    }
    return true;
}

// Splits the first fields of an hour into `campi`: the rest of the line (some 25 fields of sun, wind and rain) is
// not split.
void dividi_ora(std::string_view linea, std::vector<std::string>& campi) {
    std::size_t fine = std::string_view::npos, da = 0;
    for (std::size_t n = 0; n < campo_pressione; ++n) {
        fine = linea.find(',', da);
        if (fine == std::string_view::npos) break;
        da = fine + 1;
    }
    dividi_campi(linea.substr(0, fine), ',', campi);
}

// Why the hour's date field i (0 to 3) cannot be kept: it must be a whole number.
Fatto controlla_data(const std::vector<std::string>& campi, std::size_t i) {
    if (numero_intero_testo(campi[i])) return {};
    return Errore{Causa::dati,
                  "colonna " + std::string(nomi_chiave[i]) + ": " + citazione(campi[i]) + " non è un numero"};
}

// The LOCATION line's fields: LOCATION, city, state or province, country, source, station, latitude, longitude,
// time zone, elevation (m).
LocalitaMeteo localita_di(const std::vector<std::string>& campi) {
    const auto testo = [&](std::size_t i) { return i < campi.size() ? campi[i] : std::string(); };
    const auto numero = [&](std::size_t i) { return i < campi.size() ? numero_campo(campi[i], ',') : std::nullopt; };
    return {testo(1), testo(2), testo(3), testo(4), testo(5), numero(6), numero(7), numero(8), numero(9)};
}

class LettoreEpw : public LettoreDaRighe {
public:
    LettoreEpw(LettoreRighe& in, PrimaRiga prima, bool con_pressione, std::string_view nome)
        : LettoreDaRighe(in, std::move(prima), con_pressione, nome) {}

    Fatto apri() override;
    // The dew point is given to a tenth of a degree, the relative humidity to a whole per cent: the dew point
    // fixes the humidity ratio more closely, and the relative humidity serves where it is missing.
    std::vector<Coppia> coppie() const override {
        return {{Grandezza::t, Grandezza::tr}, {Grandezza::t, Grandezza::ur}};
    }
    bool come_rapporto() const override { return false; }
    std::vector<std::string> colonne_chiave() const override { return {"anno", "mese", "giorno", "ora"}; }
    char separatore() const override { return ','; }
    bool ha_pressione() const override { return m_con_pressione; }
    Fatto analizza(std::string_view linea, RigaStato& r, std::vector<std::string>& campi) const override;
    std::string descrizione() const override { return m_descrizione; }
    std::optional<LocalitaMeteo> localita() const override { return m_localita; }

private:
    std::string m_descrizione;
    std::optional<LocalitaMeteo> m_localita;
};

Fatto LettoreEpw::apri() {
    // The header lines (LOCATION, DESIGN CONDITIONS, ..., DATA PERIODS) begin with a word; the first line that
    // begins with a number is the first hour.
    bool troppo_lunga = m_prima.troppo_lunga;
    bool letta = m_prima.presente;
    m_riga = std::move(m_prima.testo);
    while (letta) {
        ++m_numero;
        if (troppo_lunga)
            return errore("la riga è più lunga di " + std::to_string(lunghezza_massima_riga) + " caratteri");
        dividi_campi(m_riga, ',', m_campi);
        if (!m_campi.empty() && numero_intero_testo(m_campi[0])) {
            m_riga_in_attesa = true;
            return {};
        }
        if (inizia_con(m_riga, "location,") && m_campi.size() >= 4) {
            // The file's own text, escaped: it is shown on the terminal.
            m_descrizione = testo_visibile(m_campi[1]);
            if (!m_campi[3].empty()) m_descrizione += " (" + testo_visibile(m_campi[3]) + ")";
            if (m_campi.size() >= 10 && numero_intero_testo(m_campi[9]))
                m_descrizione += ", quota " + m_campi[9] + " m";
            m_localita = localita_di(m_campi);
        }
        letta = m_in.leggi(m_riga, troppo_lunga);
    }
    if (m_in.guasto()) return errore_lettura();
    return Errore{Causa::dati,
                  m_nome + ": il file meteo non contiene ore (attese otto righe d'intestazione, poi una riga per ora)"};
}

Fatto LettoreEpw::analizza(std::string_view linea, RigaStato& r, std::vector<std::string>& campi) const {
    const auto rifiuto = [](std::string motivo) { return Errore{Causa::dati, std::move(motivo)}; };
    dividi_ora(linea, campi);

    const std::size_t servono = m_con_pressione ? campo_pressione : campo_umidita;
    if (campi.size() < servono)
        return rifiuto("attesi almeno " + std::to_string(servono) + " campi, trovati " + std::to_string(campi.size()));
    r.valori = {};
    r.pressione.reset();
    r.chiave.clear();
    r.con_colonne = false;
    for (std::size_t i = 0; i < campi_chiave; ++i) {
        // Written out as read: numbers only, so that nothing in them can shift the output's columns.
        if (auto data = controlla_data(campi, i); !data) return data;
        r.chiave += campi[i];
        r.chiave += m_sep_uscita;
    }
    r.con_colonne = true;
    const auto campo = [&](std::size_t n, std::string_view nome, double& v) {
        return leggi_campo(campi[n - 1], nome, ',', v);
    };
    double t = 0, tr = 0, ur = 0;
    if (auto letto = campo(campo_bulbo_secco, "bulbo secco", t); !letto) return letto;
    if (t >= temperatura_mancante) return rifiuto("bulbo secco mancante (" + campi[campo_bulbo_secco - 1] + ")");
    if (auto letto = campo(campo_rugiada, "rugiada", tr); !letto) return letto;
    if (auto letto = campo(campo_umidita, "umidità relativa", ur); !letto) return letto;
    const bool senza_rugiada = tr >= temperatura_mancante, senza_umidita = ur >= umidita_mancante;
    if (senza_rugiada && senza_umidita)
        return rifiuto("rugiada e umidità relativa mancanti (" + campi[campo_rugiada - 1] + ", " +
                       campi[campo_umidita - 1] + ")");
    if (m_con_pressione) {
        double p = 0;
        if (auto letto = campo(campo_pressione, "pressione della stazione", p); !letto) return letto;
        if (p >= pressione_mancante)
            return rifiuto("pressione della stazione mancante (" + campi[campo_pressione - 1] + ")");
        r.pressione = p;
    }
    r.valori[static_cast<std::size_t>(Grandezza::t)] = t;
    if (!senza_rugiada) r.valori[static_cast<std::size_t>(Grandezza::tr)] = tr;
    if (!senza_umidita) r.valori[static_cast<std::size_t>(Grandezza::ur)] = ur;
    return {};
}

// The columns of a weather file's table, in order, with their units.
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> colonne_meteo{{
    {"anno", ""},
    {"mese", ""},
    {"giorno", ""},
    {"ora", ""},
    {"minuto", ""},
    {"t", "C"},
    {"tr", "C"},
    {"ur", "%"},
    {"p", "Pa"},
}};

// One hour of a table: its values in the order of colonne_meteo, NaN where the file has none (a value marked as
// missing, a minute or a station pressure that is not a number); why the batch command refuses the hour, when it
// does for its text (not for a missing value): its values are then NaN but for a readable date.
Fatto ora_della_tabella(std::string_view linea, std::vector<std::string>& campi, std::array<double, 9>& v) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    v.fill(nan);
    dividi_ora(linea, campi);
    if (campi.size() < campo_umidita)
        return Errore{Causa::dati, "attesi almeno " + std::to_string(campo_umidita) + " campi, trovati " +
                                       std::to_string(campi.size())};
    Fatto esito;
    for (std::size_t i = 0; i < campi_chiave; ++i) {
        if (auto data = controlla_data(campi, i); !data && esito)
            esito = data;
        else if (data)
            v[i] = *numero_intero_testo(campi[i]);
    }
    v[4] = numero_intero_testo(campi[4]).value_or(nan);
    const auto leggi = [&](std::size_t campo, std::string_view nome, double mancante, double& valore) {
        double letto = 0;
        if (auto f = leggi_campo(campi[campo - 1], nome, ',', letto); !f) {
            if (esito) esito = f;
        } else if (letto < mancante) {
            valore = letto;
        }
    };
    leggi(campo_bulbo_secco, "bulbo secco", temperatura_mancante, v[5]);
    leggi(campo_rugiada, "rugiada", temperatura_mancante, v[6]);
    leggi(campo_umidita, "umidità relativa", umidita_mancante, v[7]);
    if (campi.size() >= campo_pressione)
        if (const auto p = numero_campo(campi[campo_pressione - 1], ','); p && *p < pressione_mancante) v[8] = *p;
    if (!esito)
        for (std::size_t i = 5; i < v.size(); ++i)
            v[i] = nan;
    return esito;
}

} // namespace

Esito<Tabella> leggi_tabella_epw(LettoreRighe& in, PrimaRiga prima, std::string_view nome_dato) {
    const std::string nome = testo_visibile(nome_dato);
    LettoreEpw lettore(in, std::move(prima), false, nome);
    if (auto aperto = lettore.apri(); !aperto) return aperto.errore();
    Tabella t;
    t.meteo = true;
    t.localita = lettore.localita();
    std::vector<CelleColonna> celle;
    for (const auto& [n, u] : colonne_meteo)
        celle.emplace_back(std::string(n), true);
    std::vector<std::string> campi;
    std::array<double, 9> valori{};
    const auto ora = [&](std::string_view linea, std::size_t numero, bool troppo_lunga) {
        t.linee.push_back(numero);
        Fatto letta = troppo_lunga ? Fatto(riga_troppo_lunga()) : ora_della_tabella(linea, campi, valori);
        if (troppo_lunga) valori.fill(std::numeric_limits<double>::quiet_NaN());
        if (!letta) t.rifiutate.push_back({t.linee.size() - 1, letta.errore().testo});
        for (std::size_t i = 0; i < celle.size(); ++i)
            celle[i].aggiungi({}, std::isnan(valori[i]) ? std::nullopt : std::optional<double>(valori[i]));
    };
    std::size_t numero = lettore.numero_riga();
    ora(*lettore.riga_in_attesa(), numero, lettore.riga_in_attesa_troppo_lunga());
    std::string riga;
    bool troppo_lunga = false;
    while (in.leggi(riga, troppo_lunga)) {
        ++numero;
        if (!troppo_lunga && senza_blank(riga).empty()) continue;
        ora(riga, numero, troppo_lunga);
    }
    if (in.guasto())
        return Errore{Causa::file, nome + ": errore di lettura dopo la riga " + std::to_string(numero) + in.motivo()};
    for (std::size_t i = 0; i < celle.size(); ++i)
        t.colonne.push_back(std::move(celle[i]).colonna(std::string(colonne_meteo[i].second)));
    return t;
}

bool sembra_epw(std::string_view nome, std::string_view prima_riga) {
    if (nome.size() >= 4) {
        std::string coda(nome.substr(nome.size() - 4));
        for (char& c : coda)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c | 0x20);
        if (coda == ".epw") return true;
    }
    return inizia_con(prima_riga, "location,");
}

std::unique_ptr<LettoreStati> lettore_epw(LettoreRighe& in, PrimaRiga prima, bool con_pressione,
                                          std::string_view nome) {
    return std::make_unique<LettoreEpw>(in, std::move(prima), con_pressione, nome);
}

} // namespace ondix
