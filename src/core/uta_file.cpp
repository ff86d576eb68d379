#include "core/uta_file.h"

#include "core/altitudine.h"
#include "core/file_destinazione.h"
#include "core/modello.h"
#include "core/numeri.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace ondix {

namespace {

using json = nlohmann::ordered_json;

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

// A fault met while reading; caught by leggi_uta.
struct Guasto {
    Errore errore;
};

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

class Lettore {
public:
    Lettore(std::string_view json_testo, const std::string& nome_file)
        : m_righe(righe_valori(json_testo)), m_nome(nome_file) {}

    [[noreturn]] void guasto(const std::string& percorso, const std::string& testo) const {
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

    // The number at `percorso`, in `unita`: a JSON number in that unit, or a text "NUMBER UNIT".
    double numero(const json& v, const std::string& percorso, std::string_view unita) const {
        const std::string chiave = percorso.substr(percorso.rfind('/') + 1);
        if (v.is_number()) return v.get<double>();
        if (!v.is_string()) guasto(percorso, "\"" + chiave + "\": atteso un numero" + con_unita(unita));
        const std::string s = v.get<std::string>();
        const Conversione k = leggi_numero(s);
        if (k.letti == 0 || k.trabocco)
            guasto(percorso, "\"" + chiave + "\": \"" + testo_visibile(s) + "\" non è un numero" + con_unita(unita));
        std::string u = s.substr(k.letti);
        u.erase(0, u.find_first_not_of(' '));
        u.erase(u.find_last_not_of(' ') + 1);
        if (u.empty()) return k.valore;
        for (const UnitaAccettata& a : unita_accettate)
            if (a.unita == unita && a.scritta == u) return k.valore * a.fattore;
        guasto(percorso, "\"" + chiave + "\": unità \"" + testo_visibile(u) + "\" non valida" +
                             (unita.empty() ? std::string(" (numero puro)") : con_unita(unita)));
    }

    Portata portata(const json& v, const std::string& percorso) const {
        if (v.is_string()) {
            const std::string s = v.get<std::string>();
            const Conversione k = leggi_numero(s);
            std::string u = s.substr(k.letti);
            u.erase(0, u.find_first_not_of(' '));
            if (k.letti > 0 && u == "kg/h") return {k.valore, true};
        }
        return {numero(v, percorso, "m3/h"), false};
    }

    bool interruttore(const json& v, const std::string& percorso) const {
        if (!v.is_boolean())
            guasto(percorso, "\"" + percorso.substr(percorso.rfind('/') + 1) + "\": atteso true o false");
        return v.get<bool>();
    }

    std::string testo(const json& v, const std::string& percorso) const {
        if (!v.is_string()) guasto(percorso, "\"" + percorso.substr(percorso.rfind('/') + 1) + "\": atteso un testo");
        return v.get<std::string>();
    }

    const json& oggetto(const json& v, const std::string& percorso) const {
        if (!v.is_object())
            guasto(percorso, "\"" + percorso.substr(percorso.rfind('/') + 1) + "\": atteso un oggetto {...}");
        return v;
    }

    const json& richiesta(const json& o, const std::string& percorso, const std::string& chiave) const {
        if (!o.contains(chiave)) guasto(percorso, "manca la chiave \"" + chiave + "\"");
        return o.at(chiave);
    }

    // Keys that `o` may hold; "nota" (a comment) always.
    void solo(const json& o, const std::string& percorso, std::initializer_list<std::string_view> chiavi) const {
        for (const auto& [k, v] : o.items()) {
            if (k == "nota") continue;
            if (std::find(chiavi.begin(), chiavi.end(), k) == chiavi.end())
                guasto(percorso + "/" + k, "chiave \"" + k + "\" sconosciuta");
        }
    }

    // A state from any two of t, ur, x, h, tbu, tr.
    StatoCompleto stato(const json& v, const std::string& percorso, Aria aria) const {
        oggetto(v, percorso);
        std::vector<Noto> noti;
        for (const auto& [k, x] : v.items()) {
            if (k == "nota") continue;
            const auto g = grandezza_da_nome(k);
            if (!g)
                guasto(percorso + "/" + k,
                       "chiave \"" + k + "\" sconosciuta (uno stato si dà con due tra t, ur, x, h, tbu, tr)");
            const std::string_view u = *g == Grandezza::ur  ? "%"
                                       : *g == Grandezza::x ? "g/kg"
                                       : *g == Grandezza::h ? "kJ/kg"
                                                            : "C";
            noti.push_back({*g, numero(x, percorso + "/" + k, u)});
        }
        if (noti.size() != 2) guasto(percorso, "uno stato si dà con due grandezze tra t, ur, x, h, tbu, tr");
        auto s = stato_da_coppia(noti[0], noti[1], aria);
        if (!s) guasto(percorso, s.errore().testo);
        return *s;
    }

    // The parameters of a section of kind `d` in the object `o` (its "tipo" and "nome" left out).
    std::map<std::string, double> parametri(const json& o, const std::string& percorso,
                                            const DescrizioneSezione& d) const {
        std::map<std::string, double> r;
        for (const auto& [k, v] : o.items()) {
            if (k == "tipo" || k == "nome" || k == "nota") continue;
            const std::string p = percorso + "/" + k;
            if (k == "attiva") {
                r[k] = interruttore(v, p) ? 1.0 : 0.0;
                continue;
            }
            const auto c = std::find_if(d.chiavi.begin(), d.chiavi.end(),
                                        [&cercata = k](const ChiaveSezione& x) { return x.chiave == cercata; });
            if (c == d.chiavi.end()) {
                std::string note;
                for (const ChiaveSezione& x : d.chiavi)
                    note += (note.empty() ? "" : ", ") + std::string(x.chiave);
                guasto(p, "chiave \"" + k + "\" sconosciuta per " + std::string(d.nome) + " (chiavi: " + note +
                              ", attiva)");
            }
            if (c->unita == "si/no") {
                r[k] = interruttore(v, p) ? 1.0 : 0.0;
            } else if (c->unita == "m3/h") {
                const Portata q = portata(v, p);
                r[q.massica ? k + std::string(suffisso_massica) : k] = q.valore;
            } else {
                r[k] = numero(v, p, c->unita);
            }
        }
        return r;
    }

private:
    static std::string con_unita(std::string_view unita) {
        return unita.empty() ? std::string() : " (in " + std::string(unita) + ")";
    }

    std::map<std::string, int> m_righe;
    const std::string& m_nome;
};

Uta leggi(const json& j, const Lettore& l) {
    Uta u;
    l.oggetto(j, "");
    l.solo(j, "",
           {"nome", "pressione", "quota", "modello", "portata_esterna", "portata_espulsione", "ambiente", "condizioni",
            "sezioni"});
    if (j.contains("nome")) u.nome = l.testo(j["nome"], "/nome");
    if (j.contains("modello")) {
        const std::string m = l.testo(j["modello"], "/modello");
        u.aria.modello = modello_da_chiave(m);
        if (!u.aria.modello) l.guasto("/modello", "\"" + testo_visibile(m) + "\" non è un modello (usare ashrae)");
    }
    if (j.contains("pressione") && j.contains("quota"))
        l.guasto("/quota", "\"pressione\" e \"quota\" danno entrambe la pressione; usarne una");
    if (j.contains("pressione")) {
        const double p = l.numero(j["pressione"], "/pressione", "Pa");
        if (p < pressione_minima || p > pressione_massima)
            l.guasto("/pressione", "pressione " + formatta(p, 0, 0) + " Pa fuori da " +
                                       formatta(pressione_minima, 0, 0) + " a " + formatta(pressione_massima, 0, 0) +
                                       " Pa");
        u.aria.pressione = p;
    }
    if (j.contains("quota")) {
        const double z = l.numero(j["quota"], "/quota", "m");
        if (z < -250.0 || z > 3000.0) l.guasto("/quota", "quota fuori dalla tabella delle quote, da -250 a 3000 m");
        u.quota = z;
        u.aria.pressione = pressione_pascal_da_quota(z);
    }
    u.portata_esterna = l.portata(l.richiesta(j, "", "portata_esterna"), "/portata_esterna");
    if (j.contains("portata_espulsione"))
        u.portata_espulsione = l.portata(j["portata_espulsione"], "/portata_espulsione");
    u.ambiente = l.stato(l.richiesta(j, "", "ambiente"), "/ambiente", u.aria);

    const json& sezioni = l.richiesta(j, "", "sezioni");
    if (!sezioni.is_array()) l.guasto("/sezioni", "\"sezioni\": attesa una lista [...]");
    std::set<std::string> nomi;
    for (std::size_t i = 0; i < sezioni.size(); ++i) {
        const std::string p = "/sezioni/" + std::to_string(i);
        const json& o = l.oggetto(sezioni[i], p);
        const std::string tipo = l.testo(l.richiesta(o, p, "tipo"), p + "/tipo");
        const auto t = tipo_sezione_da_nome(tipo);
        if (!t) {
            std::string tipi;
            for (const DescrizioneSezione& d : descrizioni_sezioni())
                tipi += (tipi.empty() ? "" : ", ") + std::string(d.nome);
            l.guasto(p + "/tipo", "sezione \"" + testo_visibile(tipo) + "\" sconosciuta (tipi: " + tipi + ")");
        }
        Sezione s;
        s.tipo = *t;
        s.nome = o.contains("nome") ? l.testo(o["nome"], p + "/nome")
                                    : std::string(descrizione(*t).nome) + " " + std::to_string(i + 1);
        if (!nomi.insert(s.nome).second) l.guasto(p + "/nome", "due sezioni di nome \"" + s.nome + "\"");
        s.valori = l.parametri(o, p, descrizione(*t));
        if (const Fatto f = controlla_sezione(s); !f) l.guasto(p, s.nome + ": " + f.errore().testo);
        u.sezioni.push_back(std::move(s));
    }

    const json& condizioni = l.richiesta(j, "", "condizioni");
    if (!condizioni.is_array() || condizioni.empty())
        l.guasto("/condizioni", "\"condizioni\": attesa una lista [...] di almeno una condizione");
    for (std::size_t i = 0; i < condizioni.size(); ++i) {
        const std::string p = "/condizioni/" + std::to_string(i);
        const json& o = l.oggetto(condizioni[i], p);
        l.solo(o, p, {"nome", "stagione", "esterna", "ambiente", "sezioni"});
        Condizione k;
        k.nome = l.testo(l.richiesta(o, p, "nome"), p + "/nome");
        for (const Condizione& altra : u.condizioni)
            if (altra.nome == k.nome) l.guasto(p + "/nome", "due condizioni di nome \"" + k.nome + "\"");
        if (o.contains("stagione")) {
            k.stagione = l.testo(o["stagione"], p + "/stagione");
            if (k.stagione != "estate" && k.stagione != "inverno")
                l.guasto(p + "/stagione",
                         "stagione \"" + testo_visibile(k.stagione) + "\" non valida (estate o inverno)");
        }
        k.esterna = l.stato(l.richiesta(o, p, "esterna"), p + "/esterna", u.aria);
        if (o.contains("ambiente")) k.ambiente = l.stato(o["ambiente"], p + "/ambiente", u.aria);
        if (o.contains("sezioni")) {
            const std::string ps = p + "/sezioni";
            for (const auto& [nome, v] : l.oggetto(o["sezioni"], ps).items()) {
                const std::string pn = ps + "/" + nome;
                const auto s = std::find_if(u.sezioni.begin(), u.sezioni.end(),
                                            [&cercato = nome](const Sezione& x) { return x.nome == cercato; });
                if (s == u.sezioni.end()) l.guasto(pn, "nessuna sezione di nome \"" + nome + "\"");
                Sezione sc = *s;
                sc.valori = l.parametri(l.oggetto(v, pn), pn, descrizione(s->tipo));
                if (const Fatto f = controlla_sezione(sc); !f) l.guasto(pn, nome + ": " + f.errore().testo);
                k.sezioni[nome] = sc.valori;
            }
        }
        u.condizioni.push_back(std::move(k));
    }
    return u;
}

json valore_json(const std::string& chiave, double v, const DescrizioneSezione& d) {
    std::string_view k = chiave;
    if (k.ends_with(suffisso_massica)) return formatta(v, 0, 6) + " kg/h";
    for (const ChiaveSezione& c : d.chiavi)
        if (c.chiave == k && c.unita == "si/no") return v != 0.0;
    if (k == "attiva") return v != 0.0;
    return v;
}

void scrivi_parametri(json& o, const std::map<std::string, double>& valori, const DescrizioneSezione& d) {
    // In the order of the description, then the switch.
    for (const ChiaveSezione& c : d.chiavi)
        for (const std::string& k : {std::string(c.chiave), std::string(c.chiave) + std::string(suffisso_massica)})
            if (const auto i = valori.find(k); i != valori.end())
                o[std::string(c.chiave)] = valore_json(k, i->second, d);
    if (const auto i = valori.find("attiva"); i != valori.end()) o["attiva"] = i->second != 0.0;
}

json stato_json(const StatoCompleto& s) {
    return json{{"t", s.t}, {"ur", s.ur}};
}

json portata_json(const Portata& p) {
    if (p.massica) return formatta(p.valore, 0, 6) + " kg/h";
    return p.valore;
}

} // namespace

Esito<Uta> leggi_uta(std::string_view testo, const std::string& nome) {
    json j;
    try {
        j = json::parse(testo);
    } catch (const json::parse_error& e) {
        // The byte where the parser stopped: its line.
        const std::size_t fine = std::min<std::size_t>(e.byte, testo.size());
        const auto riga = 1 + std::count(testo.begin(), testo.begin() + static_cast<std::ptrdiff_t>(fine), '\n');
        std::string motivo = e.what();
        if (const auto i = motivo.find("syntax error"); i != std::string::npos) motivo = motivo.substr(i);
        return Errore{Causa::dati, nome + ":" + std::to_string(riga) + ": JSON non valido: " + testo_visibile(motivo)};
    }
    try {
        const Lettore l(testo, nome);
        return leggi(j, l);
    } catch (const Guasto& g) {
        return g.errore;
    }
}

Esito<Uta> carica_uta(const std::string& percorso) {
    std::ifstream f(percorso, std::ios::binary);
    if (!f) return Errore{Causa::file, "impossibile leggere \"" + testo_visibile(percorso) + "\""};
    std::ostringstream s;
    s << f.rdbuf();
    if (f.bad()) return Errore{Causa::file, "impossibile leggere \"" + testo_visibile(percorso) + "\""};
    return leggi_uta(s.str(), percorso);
}

std::string testo_uta(const Uta& u) {
    json j;
    if (!u.nome.empty()) j["nome"] = u.nome;
    if (u.aria.modello) j["modello"] = std::string(u.aria.modello->chiave());
    if (u.quota)
        j["quota"] = *u.quota;
    else
        j["pressione"] = u.aria.pressione;
    j["portata_esterna"] = portata_json(u.portata_esterna);
    if (u.portata_espulsione) j["portata_espulsione"] = portata_json(*u.portata_espulsione);
    j["ambiente"] = stato_json(u.ambiente);
    json sezioni = json::array();
    for (const Sezione& s : u.sezioni) {
        const DescrizioneSezione& d = descrizione(s.tipo);
        json o = {{"tipo", std::string(d.nome)}, {"nome", s.nome}};
        scrivi_parametri(o, s.valori, d);
        sezioni.push_back(o);
    }
    json condizioni = json::array();
    for (const Condizione& k : u.condizioni) {
        json o = {{"nome", k.nome}};
        if (!k.stagione.empty()) o["stagione"] = k.stagione;
        o["esterna"] = stato_json(k.esterna);
        if (k.ambiente) o["ambiente"] = stato_json(*k.ambiente);
        if (!k.sezioni.empty()) {
            json ss = json::object();
            for (const auto& [nome, valori] : k.sezioni) {
                const auto s = std::find_if(u.sezioni.begin(), u.sezioni.end(),
                                            [&cercato = nome](const Sezione& x) { return x.nome == cercato; });
                if (s == u.sezioni.end()) continue;
                json p = json::object();
                scrivi_parametri(p, valori, descrizione(s->tipo));
                ss[nome] = p;
            }
            o["sezioni"] = ss;
        }
        condizioni.push_back(o);
    }
    j["condizioni"] = condizioni;
    j["sezioni"] = sezioni;
    return j.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

Fatto salva_uta(const Uta& u, const std::string& percorso) {
    if (const Fatto f = sostituisci_file(percorso, testo_uta(u)); !f)
        return Errore{Causa::file, "impossibile salvare \"" + testo_visibile(percorso) + "\": " + f.errore().testo};
    return {};
}

} // namespace ondix
