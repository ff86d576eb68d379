#include "core/diagramma_libero_file.h"

#include "core/numeri.h"

#include <cmath>
#include <map>
#include <set>

namespace ondix {

namespace {

using json = nlohmann::ordered_json;

Errore guasto(std::string testo) {
    return {Causa::dati, std::move(testo)};
}

// The parameters each kind keeps, by key, and where they live.
struct Parametro {
    const char* chiave;
    double DefinizioneTrasformazione::*campo;
};
std::vector<Parametro> parametri_di(TipoTrasformazione t) {
    using D = DefinizioneTrasformazione;
    switch (t) {
    case TipoTrasformazione::miscela:
        return {}; // a fraction or two flows: read apart
    case TipoTrasformazione::sensibile:
        return {{"t_uscita", &D::t_uscita}};
    case TipoTrasformazione::batteria:
        return {{"t_batteria", &D::t_batteria}, {"fattore_bypass", &D::fattore_bypass}};
    case TipoTrasformazione::adiabatica:
        return {{"t_acqua", &D::t_acqua}, {"efficienza", &D::efficienza}};
    case TipoTrasformazione::vapore:
        return {{"t_vapore", &D::t_vapore}, {"x_uscita", &D::x_uscita}};
    case TipoTrasformazione::linea:
        return {};
    }
    return {};
}

std::optional<double> numero_finito(const json& v) {
    if (!v.is_number() || !std::isfinite(v.get<double>())) return std::nullopt;
    return v.get<double>();
}

struct LetturaStato {
    std::map<std::string, int> ids; // by name
    std::set<int> uscite_libere;    // outlets not yet claimed by a process
};

Esito<DefinizioneStato> leggi_stato(const json& o, std::size_t n, int id) {
    const std::string chi = "stato " + std::to_string(n + 1);
    if (!o.is_object()) return guasto(chi + " non è un oggetto");
    DefinizioneStato s;
    s.id = id;
    std::vector<Noto> noti;
    for (const auto& [chiave, v] : o.items()) {
        if (chiave == "nota") continue;
        if (chiave == "nome") {
            if (!v.is_string() || v.get<std::string>().empty()) return guasto(chi + ": \"nome\" non è un testo");
            s.nome = v.get<std::string>();
            continue;
        }
        const auto g = grandezza_da_nome(chiave);
        if (!g) return guasto(chi + ": chiave \"" + testo_visibile(chiave) + "\" sconosciuta");
        const auto x = numero_finito(v);
        if (!x) return guasto(chi + ": \"" + chiave + "\" non è un numero");
        noti.push_back({*g, *x});
    }
    if (s.nome.empty()) return guasto(chi + " non ha \"nome\"");
    if (noti.empty()) {
        s.origine = OrigineStato::trasformazione;
        return s;
    }
    if (noti.size() != 2) return guasto("stato " + testo_visibile(s.nome) + ": servono due grandezze (o nessuna)");
    s.a = noti[0];
    s.b = noti[1];
    s.origine = OrigineStato::coppia;
    if (s.a.grandezza == Grandezza::x && s.b.grandezza == Grandezza::t) std::swap(s.a, s.b);
    if (s.a.grandezza == Grandezza::t && s.b.grandezza == Grandezza::x) s.origine = OrigineStato::punto;
    return s;
}

// The state named by `chiave` in `o`, known by now; 0 when the key is absent.
Esito<int> riferimento(const json& o, const char* chiave, const LetturaStato& l, const std::string& chi) {
    const auto it = o.find(chiave);
    if (it == o.end()) return 0;
    if (!it->is_string()) return guasto(chi + ": \"" + chiave + "\" non è il nome di uno stato");
    const auto s = l.ids.find(it->get<std::string>());
    if (s == l.ids.end())
        return guasto(chi + ": \"" + chiave + "\": nessuno stato " + testo_visibile(it->get<std::string>()));
    return s->second;
}

Fatto leggi_parametri(const json& o, DefinizioneTrasformazione& k, const std::string& chi) {
    std::set<std::string> note{"tipo", "da", "con", "a", "uscita", "portata", "obiettivo", "nota"};
    for (const Parametro& p : parametri_di(k.tipo)) {
        note.insert(p.chiave);
        const auto it = o.find(p.chiave);
        if (it == o.end()) return guasto(chi + ": manca \"" + p.chiave + "\"");
        const auto v = numero_finito(*it);
        if (!v) return guasto(chi + ": \"" + p.chiave + "\" non è un numero");
        k.*p.campo = *v;
    }
    if (k.tipo == TipoTrasformazione::miscela) {
        note.insert({"frazione", "portate"});
        if (const auto it = o.find("portate"); it != o.end()) {
            if (!it->is_array() || it->size() != 2 || !numero_finito((*it)[0]) || !numero_finito((*it)[1]))
                return guasto(chi + ": \"portate\" non è una coppia di numeri (kg/h)");
            k.portata_da = (*it)[0].get<double>();
            k.portata_con = (*it)[1].get<double>();
        } else if (const auto f = o.find("frazione"); f != o.end() && numero_finito(*f)) {
            k.frazione = f->get<double>();
        } else {
            return guasto(chi + ": serve \"frazione\" (un numero) o \"portate\"");
        }
    }
    if (const auto it = o.find("portata"); it != o.end()) {
        const auto v = numero_finito(*it);
        if (!v) return guasto(chi + ": \"portata\" non è un numero");
        k.portata = *v;
    }
    if (const auto it = o.find("obiettivo"); it != o.end()) {
        if (!it->is_object() || !it->contains("t") || !it->contains("x") || !numero_finito(it->at("t")) ||
            !numero_finito(it->at("x")))
            return guasto(chi + ": \"obiettivo\" non è un punto {\"t\", \"x\"}");
        k.obiettivo = Stato{it->at("t").get<double>(), it->at("x").get<double>()};
    }
    for (const auto& [chiave, v] : o.items())
        if (!note.count(chiave)) return guasto(chi + ": chiave \"" + testo_visibile(chiave) + "\" sconosciuta");
    return {};
}

Esito<DefinizioneTrasformazione> leggi_trasformazione(const json& o, std::size_t n, int id, LetturaStato& l) {
    std::string chi = "trasformazione " + std::to_string(n + 1);
    if (!o.is_object()) return guasto(chi + " non è un oggetto");
    DefinizioneTrasformazione k;
    k.id = id;
    const json& t = o.value("tipo", json());
    const auto tipo = t.is_string() ? trasformazione_da_chiave(t.get<std::string>()) : std::nullopt;
    if (!tipo) return guasto(chi + ": \"tipo\" non è miscela, sensibile, batteria, adiabatica, vapore o linea");
    k.tipo = *tipo;
    chi += " (" + t.get<std::string>() + ")";
    const auto da = riferimento(o, "da", l, chi);
    const auto con = riferimento(o, k.tipo == TipoTrasformazione::linea ? "a" : "con", l, chi);
    const auto uscita = riferimento(o, "uscita", l, chi);
    if (!da) return da.errore();
    if (!con) return con.errore();
    if (!uscita) return uscita.errore();
    k.da = *da;
    k.con = *con;
    k.uscita = *uscita;
    if (k.da == 0) return guasto(chi + ": manca \"da\"");
    if (due_ingressi(k.tipo) != (k.con != 0))
        return guasto(chi + (due_ingressi(k.tipo) ? ": manca il secondo stato" : ": ha uno stato di troppo"));
    if (k.tipo == TipoTrasformazione::linea) {
        if (k.uscita != 0) return guasto(chi + ": una linea non ha \"uscita\"");
    } else if (k.uscita == 0 || !l.uscite_libere.erase(k.uscita)) {
        return guasto(chi +
                      ": \"uscita\" deve nominare uno stato senza grandezze, uscita di questa sola trasformazione");
    }
    if (Fatto f = leggi_parametri(o, k, chi); !f) return f.errore();
    return k;
}

} // namespace

void scrivi_definizione_diagramma(const DefinizioneDiagramma& d, json& j) {
    std::map<int, std::string> nomi;
    json stati = json::array();
    for (const DefinizioneStato& s : d.stati) {
        nomi[s.id] = s.nome;
        json o = {{"nome", s.nome}};
        if (s.origine != OrigineStato::trasformazione) {
            o[std::string(nome_grandezza(s.a.grandezza))] = s.a.valore;
            o[std::string(nome_grandezza(s.b.grandezza))] = s.b.valore;
        }
        stati.push_back(o);
    }
    json trasformazioni = json::array();
    for (const DefinizioneTrasformazione& k : d.trasformazioni) {
        json o = {{"tipo", std::string(chiave_trasformazione(k.tipo))}, {"da", nomi[k.da]}};
        if (k.con != 0) o[k.tipo == TipoTrasformazione::linea ? "a" : "con"] = nomi[k.con];
        if (k.uscita != 0) o["uscita"] = nomi[k.uscita];
        if (k.tipo == TipoTrasformazione::miscela) {
            if (k.portata_da && k.portata_con)
                o["portate"] = {*k.portata_da, *k.portata_con};
            else
                o["frazione"] = k.frazione;
        }
        for (const Parametro& p : parametri_di(k.tipo))
            o[p.chiave] = k.*p.campo;
        if (k.portata) o["portata"] = *k.portata;
        if (k.obiettivo) o["obiettivo"] = {{"t", k.obiettivo->t}, {"x", k.obiettivo->x}};
        trasformazioni.push_back(o);
    }
    j["stati"] = stati;
    j["trasformazioni"] = trasformazioni;
}

Esito<DefinizioneDiagramma> leggi_definizione_diagramma(const json& j) {
    const json& stati = j.value("stati", json());
    const json& trasformazioni = j.value("trasformazioni", json::array());
    if (!stati.is_array()) return guasto("il diagramma non ha l'elenco \"stati\"");
    if (!trasformazioni.is_array()) return guasto("\"trasformazioni\" del diagramma non è un elenco");
    DefinizioneDiagramma d;
    LetturaStato l;
    int id = 1;
    for (std::size_t n = 0; n < stati.size(); ++n) {
        auto s = leggi_stato(stati[n], n, id++);
        if (!s) return s.errore();
        if (!l.ids.emplace(s->nome, s->id).second)
            return guasto("il nome \"" + testo_visibile(s->nome) + "\" è di due stati");
        if (s->origine == OrigineStato::trasformazione) l.uscite_libere.insert(s->id);
        d.stati.push_back(std::move(*s));
    }
    for (std::size_t n = 0; n < trasformazioni.size(); ++n) {
        auto k = leggi_trasformazione(trasformazioni[n], n, id++, l);
        if (!k) return k.errore();
        d.trasformazioni.push_back(*k);
    }
    if (!l.uscite_libere.empty())
        for (const DefinizioneStato& s : d.stati)
            if (l.uscite_libere.count(s.id))
                return guasto("lo stato \"" + testo_visibile(s.nome) +
                              "\" non ha grandezze e nessuna trasformazione lo calcola");
    d.prossimo_id = id;
    // The order of the processes, each after those computing its states, is checked where the chart is loaded.
    if (Fatto f = DiagrammaLibero().carica(d); !f) return f.errore();
    return d;
}

} // namespace ondix
