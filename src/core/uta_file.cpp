#include "core/uta_file.h"

#include "core/file_destinazione.h"
#include "core/lettore_json.h"
#include "core/modello.h"
#include "core/numeri.h"
#include "core/richiesta_aria.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace ondix {

namespace {

// The unit's own values over the reader's: flows, states, the parameters of a section, the air.
class LettoreUta : public LettoreJson {
public:
    using LettoreJson::LettoreJson;

    // A flow: a number (m³/h) or a text "N m3/h", or a mass flow of dry air "N kg/h".
    Portata portata(const json& v, const std::string& percorso) const {
        if (v.is_string()) {
            const std::string s = v.get<std::string>();
            const auto [cifre, massica] = separa_portata(s);
            if (const auto q = numero_intero_testo(cifre); massica && q) return {*q, true};
        }
        return {numero(v, percorso, "m3/h"), false};
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
            if (k == chiave_attiva) {
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
            switch (c->genere) {
            case GenereChiave::interruttore:
                r[k] = interruttore(v, p) ? 1.0 : 0.0;
                break;
            case GenereChiave::portata: {
                const Portata q = portata(v, p);
                r[q.massica ? k + std::string(suffisso_massica) : k] = q.valore;
                break;
            }
            case GenereChiave::numero:
                r[k] = numero(v, p, c->unita);
                break;
            }
        }
        return r;
    }

    // The unit's name, air (the file's, with what `sostituzione` gives in its place) and flows.
    void unita(const json& j, const RichiestaAria& sostituzione, Uta& u) const {
        if (j.contains("nome")) u.nome = testo(j["nome"], "/nome");
        RichiestaAria r;
        if (j.contains("modello")) r.modello = testo(j["modello"], "/modello");
        if (j.contains("pressione")) r.pressione = numero(j["pressione"], "/pressione", "Pa");
        if (j.contains("quota")) r.quota = numero(j["quota"], "/quota", "m");
        ParteAria parte = ParteAria::modello;
        if (const auto del_file = aria_richiesta(r, FonteAria::file, &parte); !del_file)
            guasto(parte == ParteAria::modello     ? "/modello"
                   : parte == ParteAria::pressione ? "/pressione"
                                                   : "/quota",
                   del_file.errore().testo);
        if (sostituzione.pressione || sostituzione.testo_pressione || sostituzione.quota || sostituzione.testo_quota) {
            r.pressione = sostituzione.pressione;
            r.testo_pressione = sostituzione.testo_pressione;
            r.quota = sostituzione.quota;
            r.testo_quota = sostituzione.testo_quota;
        }
        if (sostituzione.modello) r.modello = sostituzione.modello;
        const auto aria = aria_richiesta(r, FonteAria::file);
        if (!aria) guasto("", aria.errore().testo);
        u.aria = *aria;
        u.quota = r.testo_quota ? numero_intero_testo(*r.testo_quota) : r.quota;
        u.portata_esterna = portata(richiesta(j, "", "portata_esterna"), "/portata_esterna");
        if (j.contains("portata_espulsione"))
            u.portata_espulsione = portata(j["portata_espulsione"], "/portata_espulsione");
        u.ambiente = stato(richiesta(j, "", "ambiente"), "/ambiente", u.aria);
    }

    // The sections, in the air's order.
    void sezioni(const json& j, Uta& u) const {
        const json& sezioni = richiesta(j, "", "sezioni");
        if (!sezioni.is_array()) guasto("/sezioni", "\"sezioni\": attesa una lista [...]");
        std::set<std::string> nomi;
        for (std::size_t i = 0; i < sezioni.size(); ++i) {
            const std::string p = "/sezioni/" + std::to_string(i);
            const json& o = oggetto(sezioni[i], p);
            const std::string tipo = testo(richiesta(o, p, "tipo"), p + "/tipo");
            const auto t = tipo_sezione_da_nome(tipo);
            if (!t) {
                std::string tipi;
                for (const DescrizioneSezione& d : descrizioni_sezioni())
                    tipi += (tipi.empty() ? "" : ", ") + std::string(d.nome);
                guasto(p + "/tipo", "sezione \"" + testo_visibile(tipo) + "\" sconosciuta (tipi: " + tipi + ")");
            }
            Sezione s;
            s.tipo = *t;
            s.nome = o.contains("nome") ? testo(o["nome"], p + "/nome")
                                        : std::string(descrizione(*t).nome) + " " + std::to_string(i + 1);
            if (!nomi.insert(s.nome).second) guasto(p + "/nome", "due sezioni di nome \"" + s.nome + "\"");
            s.valori = parametri(o, p, descrizione(*t));
            if (const Fatto f = controlla_sezione(s); !f) guasto(p, s.nome + ": " + f.errore().testo);
            u.sezioni.push_back(std::move(s));
        }
    }

    // The operating conditions, each with its sections' own parameters.
    void condizioni(const json& j, Uta& u) const {
        const json& condizioni = richiesta(j, "", "condizioni");
        if (!condizioni.is_array() || condizioni.empty())
            guasto("/condizioni", "\"condizioni\": attesa una lista [...] di almeno una condizione");
        for (std::size_t i = 0; i < condizioni.size(); ++i) {
            const std::string p = "/condizioni/" + std::to_string(i);
            const json& o = oggetto(condizioni[i], p);
            solo(o, p, {"nome", "stagione", "esterna", "ambiente", "sezioni"});
            Condizione k;
            k.nome = testo(richiesta(o, p, "nome"), p + "/nome");
            for (const Condizione& altra : u.condizioni)
                if (altra.nome == k.nome) guasto(p + "/nome", "due condizioni di nome \"" + k.nome + "\"");
            if (o.contains("stagione")) {
                const std::string nome = testo(o["stagione"], p + "/stagione");
                const auto stagione = stagione_da_nome(nome);
                if (!stagione)
                    guasto(p + "/stagione", "stagione \"" + testo_visibile(nome) + "\" non valida (estate o inverno)");
                k.stagione = *stagione;
            }
            k.esterna = stato(richiesta(o, p, "esterna"), p + "/esterna", u.aria);
            if (o.contains("ambiente")) k.ambiente = stato(o["ambiente"], p + "/ambiente", u.aria);
            if (o.contains("sezioni")) sezioni_proprie(o["sezioni"], p + "/sezioni", u, k);
            u.condizioni.push_back(std::move(k));
        }
    }

private:
    // The parameters a condition gives some sections, by name.
    void sezioni_proprie(const json& v, const std::string& percorso, const Uta& u, Condizione& k) const {
        for (const auto& [nome, parametri_sezione] : oggetto(v, percorso).items()) {
            const std::string pn = percorso + "/" + nome;
            const auto s = std::find_if(u.sezioni.begin(), u.sezioni.end(),
                                        [&cercato = nome](const Sezione& x) { return x.nome == cercato; });
            if (s == u.sezioni.end()) guasto(pn, "nessuna sezione di nome \"" + nome + "\"");
            Sezione sc = *s;
            sc.valori = parametri(oggetto(parametri_sezione, pn), pn, descrizione(s->tipo));
            if (const Fatto f = controlla_sezione(sc); !f) guasto(pn, nome + ": " + f.errore().testo);
            k.sezioni[nome] = sc.valori;
        }
    }
};

Uta leggi(const json& j, const LettoreUta& l, const RichiestaAria& sostituzione) {
    Uta u;
    l.oggetto(j, "");
    l.solo(j, "",
           {"nome", "pressione", "quota", "modello", "portata_esterna", "portata_espulsione", "ambiente", "condizioni",
            "sezioni"});
    l.unita(j, sostituzione, u);
    l.sezioni(j, u);
    l.condizioni(j, u);
    return u;
}

json valore_json(const std::string& chiave, double v, const DescrizioneSezione& d) {
    std::string_view k = chiave;
    if (k.ends_with(suffisso_massica)) return testo_portata(formatta(v, 0, 6), true);
    for (const ChiaveSezione& c : d.chiavi)
        if (c.chiave == k && c.genere == GenereChiave::interruttore) return v != 0.0;
    if (k == chiave_attiva) return v != 0.0;
    return v;
}

void scrivi_parametri(json& o, const std::map<std::string, double>& valori, const DescrizioneSezione& d) {
    // In the order of the description, then the switch.
    for (const ChiaveSezione& c : d.chiavi)
        for (const std::string& k : {std::string(c.chiave), std::string(c.chiave) + std::string(suffisso_massica)})
            if (const auto i = valori.find(k); i != valori.end())
                o[std::string(c.chiave)] = valore_json(k, i->second, d);
    if (const auto i = valori.find(std::string(chiave_attiva)); i != valori.end()) o["attiva"] = i->second != 0.0;
}

json stato_json(const StatoCompleto& s) {
    return json{{"t", s.t}, {"ur", s.ur}};
}

json portata_json(const Portata& p) {
    if (p.massica) return testo_portata(formatta(p.valore, 0, 6), true);
    return p.valore;
}

} // namespace

Esito<Uta> leggi_uta(std::string_view testo, const std::string& nome, const RichiestaAria& sostituzione) {
    const LettoreUta l(testo, nome);
    return l.leggi_con<Uta>([&l, &sostituzione](const json& j) { return leggi(j, l, sostituzione); });
}

Esito<Uta> carica_uta(const std::string& percorso, const RichiestaAria& sostituzione) {
    std::ifstream f(percorso, std::ios::binary);
    if (!f) return Errore{Causa::file, "impossibile leggere \"" + testo_visibile(percorso) + "\""};
    std::ostringstream s;
    s << f.rdbuf();
    if (f.bad()) return Errore{Causa::file, "impossibile leggere \"" + testo_visibile(percorso) + "\""};
    return leggi_uta(s.str(), percorso, sostituzione);
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
        if (k.stagione != Stagione::nessuna) o["stagione"] = std::string(nome_stagione(k.stagione));
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
