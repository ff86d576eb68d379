// The weather-file reader of the batch command: EnergyPlus weather files (EPW), eight header lines then one
// hour per line: year, month, day, hour, minute, data source, dry bulb (°C), dew point (°C), relative humidity
// (%), station pressure (Pa), and further fields that are not used here.
#include "cli/lettore_stati.h"
#include "core/numeri.h"

#include <array>
#include <istream>

namespace ondix {

namespace {

// Fields of an hour, counted from 1 as the format describes them.
constexpr std::size_t campo_bulbo_secco = 7;
constexpr std::size_t campo_rugiada = 8;
constexpr std::size_t campo_umidita = 9;
constexpr std::size_t campo_pressione = 10;
constexpr std::size_t campi_chiave = 4; // year, month, day, hour

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

private:
    std::string m_descrizione;
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
            // LOCATION, city, state or province, country, source, station, latitude, longitude, time zone,
            // elevation (m).
            // The file's own text, escaped: it is shown on the terminal.
            m_descrizione = testo_visibile(m_campi[1]);
            if (!m_campi[3].empty()) m_descrizione += " (" + testo_visibile(m_campi[3]) + ")";
            if (m_campi.size() >= 10 && numero_intero_testo(m_campi[9]))
                m_descrizione += ", quota " + m_campi[9] + " m";
        }
        letta = m_in.leggi(m_riga, troppo_lunga);
    }
    if (m_in.guasto()) return errore_lettura();
    return Errore{Causa::dati,
                  m_nome + ": il file meteo non contiene ore (attese otto righe d'intestazione, poi una riga per ora)"};
}

Fatto LettoreEpw::analizza(std::string_view linea, RigaStato& r, std::vector<std::string>& campi) const {
    const auto rifiuto = [](std::string motivo) { return Errore{Causa::dati, std::move(motivo)}; };
    // Only the first fields are used: the rest of the line (some 25 fields of sun, wind and rain) is not split.
    std::size_t fine = std::string_view::npos, da = 0;
    for (std::size_t n = 0; n < campo_pressione; ++n) {
        fine = linea.find(',', da);
        if (fine == std::string_view::npos) break;
        da = fine + 1;
    }
    dividi_campi(linea.substr(0, fine), ',', campi);

    const std::size_t servono = m_con_pressione ? campo_pressione : campo_umidita;
    if (campi.size() < servono)
        return rifiuto("attesi almeno " + std::to_string(servono) + " campi, trovati " + std::to_string(campi.size()));
    r.valori = {};
    r.pressione.reset();
    r.chiave.clear();
    r.con_colonne = false;
    constexpr std::array<std::string_view, campi_chiave> nomi_chiave{"anno", "mese", "giorno", "ora"};
    for (std::size_t i = 0; i < campi_chiave; ++i) {
        // Written out as read: numbers only, so that nothing in them can shift the output's columns.
        if (!numero_intero_testo(campi[i]))
            return rifiuto("colonna " + std::string(nomi_chiave[i]) + ": " + citazione(campi[i]) + " non è un numero");
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

} // namespace

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
