// The kinds of section of an air-handling unit with their parameters, and what is read and checked of a unit before
// it is computed: one table that the file's reader and writer, the window, the help and the calculation share.
#include "core/uta.h"

#include "core/numeri.h"

#include <algorithm>
#include <cmath>

namespace ondix {

namespace {

using R = RuoloChiave;
using G = GenereChiave;

const std::vector<DescrizioneSezione> tabella_sezioni = {
    {TipoSezione::recuperatore,
     "recuperatore",
     "RECUPERATORE DI CALORE",
     "REC",
     {
         {"efficienza_t", G::numero, "%", "efficienza di temperatura (EN 308, lato mandata)", R::alternativa, false,
          70.0},
         {"t_uscita", G::numero, "C", "temperatura di uscita lato mandata (obiettivo)", R::alternativa, true},
         {"efficienza_x", G::numero, "%", "efficienza di umidità (0: a piastre, solo sensibile)", R::facoltativa},
         {"bypass_stagionale", G::interruttore, "", "bypass quando il recupero lavora contro la stagione",
          R::facoltativa},
     }},
    {TipoSezione::miscela,
     "miscela",
     "MISCELA CON ARIA DI RIPRESA",
     "MIX",
     {
         {"frazione_ripresa", G::numero, "", "frazione in massa di aria di ripresa nella miscela (0 ... <1)",
          R::alternativa, false, 0.3},
         {"portata_ripresa", G::portata, "m3/h", "portata di aria di ripresa (allo stato ambiente)", R::alternativa},
         {"t_uscita", G::numero, "C", "temperatura della miscela (obiettivo)", R::alternativa, true},
     }},
    {TipoSezione::riscaldamento,
     "riscaldamento",
     "BATTERIA DI RISCALDAMENTO",
     "RISC",
     {
         {"t_uscita", G::numero, "C", "temperatura di uscita (obiettivo)", R::alternativa, true, 20.0},
         {"potenza", G::numero, "kW", "potenza termica", R::alternativa},
     }},
    {TipoSezione::raffreddamento,
     "raffreddamento",
     "BATTERIA DI RAFFREDDAMENTO",
     "BF",
     {
         {"fattore_bypass", G::numero, "", "fattore di bypass (0 ... <1)", R::obbligatoria, false, 0.1},
         {"t_batteria", G::numero, "C", "temperatura della batteria", R::alternativa, false, 8.0},
         {"x_uscita", G::numero, "g/kg", "umidità specifica di uscita (obiettivo)", R::alternativa, true},
         {"t_uscita", G::numero, "C", "temperatura di uscita (obiettivo)", R::alternativa, true},
     }},
    {TipoSezione::umidificatore_acqua,
     "umidificatore_acqua",
     "UMIDIFICATORE ADIABATICO",
     "UMA",
     {
         {"t_acqua", G::numero, "C", "temperatura dell acqua", R::obbligatoria, false, 15.0},
         {"efficienza", G::numero, "%", "efficienza di saturazione", R::alternativa, false, 80.0},
         {"ur_uscita", G::numero, "%", "umidità relativa di uscita (obiettivo)", R::alternativa, true},
         {"x_uscita", G::numero, "g/kg", "umidità specifica di uscita (obiettivo)", R::alternativa, true},
     }},
    {TipoSezione::umidificatore_vapore,
     "umidificatore_vapore",
     "UMIDIFICATORE A VAPORE",
     "UMV",
     {
         {"t_vapore", G::numero, "C", "temperatura del vapore", R::obbligatoria, false, 100.0},
         {"x_uscita", G::numero, "g/kg", "umidità specifica di uscita (obiettivo)", R::alternativa, true},
         {"ur_uscita", G::numero, "%", "umidità relativa di uscita (obiettivo)", R::alternativa, true, 50.0},
     }},
    {TipoSezione::ventilatore,
     "ventilatore",
     "VENTILATORE",
     "VENT",
     {
         {"aumento_t", G::numero, "K", "aumento di temperatura", R::alternativa, false, 1.0},
         {"potenza", G::numero, "kW", "potenza ceduta all aria", R::alternativa},
     }},
};

} // namespace

std::optional<double> Sezione::valore(std::string_view chiave) const {
    const auto i = valori.find(std::string(chiave));
    if (i == valori.end()) return std::nullopt;
    return i->second;
}

bool Sezione::attiva() const {
    return valore(chiave_attiva).value_or(1.0) != 0.0;
}

const std::vector<DescrizioneSezione>& descrizioni_sezioni() {
    return tabella_sezioni;
}

const DescrizioneSezione& descrizione(TipoSezione t) {
    return tabella_sezioni.at(static_cast<std::size_t>(t));
}

std::optional<TipoSezione> tipo_sezione_da_nome(std::string_view nome) {
    for (const DescrizioneSezione& d : tabella_sezioni)
        if (d.nome == nome) return d.tipo;
    return std::nullopt;
}

Fatto controlla_sezione(const Sezione& s) {
    const DescrizioneSezione& d = descrizione(s.tipo);
    for (const auto& [chiave, v] : s.valori) {
        std::string_view k = chiave;
        if (k.ends_with(suffisso_massica)) k.remove_suffix(suffisso_massica.size());
        if (k == chiave_attiva) continue;
        const bool nota = std::any_of(d.chiavi.begin(), d.chiavi.end(), [&, &data = chiave](const ChiaveSezione& c) {
            return c.chiave == k && (k == data || c.genere == GenereChiave::portata);
        });
        if (!nota) return Errore{Causa::dati, "chiave \"" + chiave + "\" sconosciuta per " + std::string(d.nome)};
        if (!std::isfinite(v)) return Errore{Causa::dati, "\"" + chiave + "\" non è un numero"};
    }
    // A section switched off needs no duty.
    if (!s.attiva()) return {};
    std::string alternative;
    int date = 0;
    for (const ChiaveSezione& c : d.chiavi) {
        const bool data = s.valore(c.chiave) || (c.genere == GenereChiave::portata &&
                                                 s.valore(std::string(c.chiave) + std::string(suffisso_massica)));
        if (c.ruolo == RuoloChiave::obbligatoria && !data)
            return Errore{Causa::dati, "manca la chiave \"" + std::string(c.chiave) + "\" (" +
                                           std::string(c.descrizione) + ") per " + std::string(d.nome)};
        if (c.ruolo == RuoloChiave::alternativa) {
            date += data ? 1 : 0;
            alternative += (alternative.empty() ? "" : ", ") + std::string(c.chiave);
        }
    }
    if (!alternative.empty() && date != 1)
        return Errore{Causa::dati, std::string(date == 0 ? "manca" : "va data una sola") + " tra le chiavi " +
                                       alternative + " per " + std::string(d.nome)};
    return {};
}

std::string testo_portata(std::string numero, bool massica) {
    return massica ? std::move(numero) + " kg/h" : std::move(numero);
}

std::pair<std::string_view, bool> separa_portata(std::string_view testo) {
    constexpr std::string_view kg = "kg/h";
    const std::string_view t = senza_blank(testo);
    if (!t.ends_with(kg)) return {testo, false};
    return {senza_blank(t.substr(0, t.size() - kg.size())), true};
}

std::vector<Sezione> sezioni_in_condizione(const Uta& u, const Condizione& k) {
    std::vector<Sezione> r = u.sezioni;
    for (Sezione& s : r)
        if (const auto i = k.sezioni.find(s.nome); i != k.sezioni.end()) s.valori = i->second;
    return r;
}

std::map<std::string, double> valori_iniziali(TipoSezione t) {
    std::map<std::string, double> r;
    for (const ChiaveSezione& c : descrizione(t).chiavi)
        if (c.iniziale) r[std::string(c.chiave)] = *c.iniziale;
    return r;
}

std::string_view nome_stagione(Stagione s) {
    switch (s) {
    case Stagione::estate:
        return "estate";
    case Stagione::inverno:
        return "inverno";
    case Stagione::nessuna:
        break;
    }
    return {};
}

std::optional<Stagione> stagione_da_nome(std::string_view nome) {
    for (const Stagione s : {Stagione::estate, Stagione::inverno})
        if (nome == nome_stagione(s)) return s;
    return std::nullopt;
}

Esito<const Condizione*> trova_condizione(const Uta& u, std::string_view nome) {
    std::string nomi;
    for (const Condizione& k : u.condizioni) {
        if (k.nome == nome) return &k;
        nomi += (nomi.empty() ? "" : ", ") + k.nome;
    }
    return Errore{Causa::dati, "condizione \"" + std::string(nome) + "\" non trovata (condizioni: " + nomi + ")"};
}

} // namespace ondix
