#include "core/lettore_json.h"

#include "core/numeri.h"

#include <algorithm>
#include <vector>

namespace ondix {

namespace {

// The line of every key and array element of a JSON text, by path ("/sezioni/2/tipo"). nlohmann's parser keeps no
// positions of values, so the text is walked once more: strings, brackets, commas and literals are enough for a
// text that has already parsed.
std::map<std::string, int> righe_valori(std::string_view t) {
    struct Livello {
        bool array;
        int indice;
        std::string base, chiave;
        bool attende_chiave;
    };
    std::map<std::string, int> righe;
    std::vector<Livello> pila;
    int riga = 1;
    const auto inizia_valore = [&]() -> std::string {
        if (pila.empty()) return "";
        Livello& l = pila.back();
        if (!l.array) return l.base + "/" + l.chiave;
        const std::string p = l.base + "/" + std::to_string(++l.indice);
        righe[p] = riga;
        return p;
    };
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c == '\n') {
            ++riga;
        } else if (c == '"') {
            std::string s;
            std::size_t j = i + 1;
            for (; j < t.size() && t[j] != '"'; ++j) {
                if (t[j] == '\\' && j + 1 < t.size()) ++j;
                s += t[j];
            }
            if (!pila.empty() && !pila.back().array && pila.back().attende_chiave) {
                pila.back().chiave = s;
                pila.back().attende_chiave = false;
                righe[pila.back().base + "/" + s] = riga;
            } else {
                inizia_valore();
            }
            i = j;
        } else if (c == '{' || c == '[') {
            const std::string p = inizia_valore();
            pila.push_back({c == '[', -1, p, "", c == '{'});
        } else if (c == '}' || c == ']') {
            if (!pila.empty()) pila.pop_back();
        } else if (c == ',') {
            if (!pila.empty() && !pila.back().array) pila.back().attende_chiave = true;
        } else if (c != ':' && c != ' ' && c != '\t' && c != '\r') {
            inizia_valore();
            while (i + 1 < t.size() && std::string_view(",}] \t\r\n").find(t[i + 1]) == std::string_view::npos)
                ++i;
        }
    }
    return righe;
}

// Units the file may write for each unit of the descriptions, with the factor to it.
struct UnitaAccettata {
    std::string_view unita, scritta;
    double fattore;
};
constexpr UnitaAccettata unita_accettate[] = {
    {"C", "C", 1.0},       {"C", "°C", 1.0},          {"K", "K", 1.0},         {"%", "%", 1.0},
    {"g/kg", "g/kg", 1.0}, {"g/kg", "kg/kg", 1000.0}, {"kJ/kg", "kJ/kg", 1.0}, {"kJ/kg", "kj/kg", 1.0},
    {"kW", "kW", 1.0},     {"kW", "kw", 1.0},         {"kW", "W", 0.001},      {"m3/h", "m3/h", 1.0},
    {"m3/h", "m³/h", 1.0}, {"m3/h", "mc/h", 1.0},     {"Pa", "Pa", 1.0},       {"Pa", "kPa", 1000.0},
    {"Pa", "hPa", 100.0},  {"m", "m", 1.0},
};

std::string con_unita(std::string_view unita) {
    return unita.empty() ? std::string() : " (in " + std::string(unita) + ")";
}

// The key of the value at `percorso`: its last part.
std::string chiave_di(const std::string& percorso) {
    return percorso.substr(percorso.rfind('/') + 1);
}

} // namespace

LettoreJson::LettoreJson(std::string_view testo, std::string nome)
    : m_testo(testo), m_nome(std::move(nome)), m_righe(righe_valori(testo)) {}

Esito<json> LettoreJson::documento(std::string_view motivo) const {
    try {
        return json::parse(m_testo);
    } catch (const json::parse_error& e) {
        // The byte where the parser stopped: its line.
        const std::size_t fine = std::min<std::size_t>(e.byte, m_testo.size());
        const auto riga = 1 + std::count(m_testo.begin(), m_testo.begin() + static_cast<std::ptrdiff_t>(fine), '\n');
        std::string testo(motivo);
        if (testo.empty()) {
            std::string ragione = e.what();
            if (const auto i = ragione.find("syntax error"); i != std::string::npos) ragione = ragione.substr(i);
            testo = "JSON non valido: " + testo_visibile(ragione);
        }
        return Errore{Causa::dati, m_nome + ":" + std::to_string(riga) + ": " + testo};
    }
}

void LettoreJson::guasto(const std::string& percorso, const std::string& testo) const {
    // The line of the value, or of the nearest enclosing one that has a line.
    std::string p = percorso;
    int riga = 1;
    for (;;) {
        if (const auto i = m_righe.find(p); i != m_righe.end()) {
            riga = i->second;
            break;
        }
        const auto barra = p.rfind('/');
        if (barra == std::string::npos || p.empty()) break;
        p.resize(barra);
    }
    throw Guasto{{Causa::dati, m_nome + ":" + std::to_string(riga) + ": " + testo}};
}

double LettoreJson::numero(const json& v, const std::string& percorso, std::string_view unita) const {
    const std::string chiave = chiave_di(percorso);
    if (v.is_number()) return v.get<double>();
    if (!v.is_string()) guasto(percorso, "\"" + chiave + "\": atteso un numero" + con_unita(unita));
    const std::string s = v.get<std::string>();
    const Conversione k = leggi_numero(s);
    if (k.letti == 0 || k.trabocco)
        guasto(percorso, "\"" + chiave + "\": \"" + testo_visibile(s) + "\" non è un numero" + con_unita(unita));
    const std::string u(senza_blank(std::string_view(s).substr(k.letti)));
    if (u.empty()) return k.valore;
    for (const UnitaAccettata& a : unita_accettate)
        if (a.unita == unita && a.scritta == u) return k.valore * a.fattore;
    guasto(percorso, "\"" + chiave + "\": unità \"" + testo_visibile(u) + "\" non valida" +
                         (unita.empty() ? std::string(" (numero puro)") : con_unita(unita)));
}

bool LettoreJson::interruttore(const json& v, const std::string& percorso) const {
    if (!v.is_boolean()) guasto(percorso, "\"" + chiave_di(percorso) + "\": atteso true o false");
    return v.get<bool>();
}

std::string LettoreJson::testo(const json& v, const std::string& percorso) const {
    if (!v.is_string()) guasto(percorso, "\"" + chiave_di(percorso) + "\": atteso un testo");
    return v.get<std::string>();
}

const json& LettoreJson::oggetto(const json& v, const std::string& percorso) const {
    if (!v.is_object()) guasto(percorso, "\"" + chiave_di(percorso) + "\": atteso un oggetto {...}");
    return v;
}

const json& LettoreJson::richiesta(const json& o, const std::string& percorso, const std::string& chiave) const {
    if (!o.contains(chiave)) guasto(percorso, "manca la chiave \"" + chiave + "\"");
    return o.at(chiave);
}

void LettoreJson::solo(const json& o, const std::string& percorso,
                       std::initializer_list<std::string_view> chiavi) const {
    for (const auto& [k, v] : o.items()) {
        if (k == "nota") continue;
        if (std::find(chiavi.begin(), chiavi.end(), k) == chiavi.end())
            guasto(percorso + "/" + k, "chiave \"" + k + "\" sconosciuta");
    }
}

} // namespace ondix
