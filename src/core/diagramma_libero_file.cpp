#include "core/diagramma_libero_file.h"

#include "core/numeri.h"

#include <algorithm>
#include <map>
#include <set>

namespace ondix {

namespace {

// The parameters each kind keeps, by key, and where they live.
struct Parametro {
    const char* chiave;
    double DefinizioneTrasformazione::*campo;
    std::string_view unita; // as the file may write it after the number
};
std::vector<Parametro> parametri_di(TipoTrasformazione t) {
    using D = DefinizioneTrasformazione;
    switch (t) {
    case TipoTrasformazione::miscela:
        return {}; // a fraction or two flows: read apart
    case TipoTrasformazione::sensibile:
        return {{"t_uscita", &D::t_uscita, "C"}};
    case TipoTrasformazione::batteria:
        return {{"t_batteria", &D::t_batteria, "C"}, {"fattore_bypass", &D::fattore_bypass, ""}};
    case TipoTrasformazione::adiabatica:
        return {{"t_acqua", &D::t_acqua, "C"}, {"efficienza", &D::efficienza, "%"}};
    case TipoTrasformazione::vapore:
        return {{"t_vapore", &D::t_vapore, "C"}, {"x_uscita", &D::x_uscita, "g/kg"}};
    case TipoTrasformazione::linea:
        return {};
    }
    return {};
}

struct LetturaStati {
    std::map<std::string, int> ids; // by name
    std::set<int> uscite_libere;    // outlets not yet claimed by a process
};

DefinizioneStato leggi_stato(const json& o, const std::string& percorso, int id, const LettoreJson& l) {
    l.oggetto(o, percorso);
    DefinizioneStato s;
    s.id = id;
    s.nome = l.testo(l.richiesta(o, percorso, "nome"), percorso + "/nome");
    if (s.nome.empty()) l.guasto(percorso + "/nome", "\"nome\": il nome è vuoto");
    std::vector<Noto> noti;
    for (const auto& [chiave, v] : o.items()) {
        if (chiave == "nota" || chiave == "nome") continue;
        const auto g = grandezza_da_nome(chiave);
        if (!g) l.guasto(percorso + "/" + chiave, "chiave \"" + testo_visibile(chiave) + "\" sconosciuta");
        // The units of `ondix-calc stato`: C, %, g/kg, kJ/kg.
        constexpr std::string_view unita[] = {"C", "%", "g/kg", "kJ/kg", "C", "C"};
        noti.push_back({*g, l.numero(v, percorso + "/" + chiave, unita[static_cast<std::size_t>(*g)])});
    }
    if (noti.empty()) {
        s.origine = OrigineStato::trasformazione;
        return s;
    }
    if (noti.size() != 2)
        l.guasto(percorso, "stato " + testo_visibile(s.nome) + ": servono due grandezze (o nessuna, per un'uscita)");
    s.a = noti[0];
    s.b = noti[1];
    s.origine = OrigineStato::coppia;
    if (s.a.grandezza == Grandezza::x && s.b.grandezza == Grandezza::t) std::swap(s.a, s.b);
    if (s.a.grandezza == Grandezza::t && s.b.grandezza == Grandezza::x) s.origine = OrigineStato::punto;
    return s;
}

// The state named by `chiave` in `o`, known by now; 0 when the key is absent.
int riferimento(const json& o, const std::string& percorso, const char* chiave, const LetturaStati& stati,
                const LettoreJson& l) {
    const auto it = o.find(chiave);
    if (it == o.end()) return 0;
    const std::string nome = l.testo(*it, percorso + "/" + chiave);
    const auto s = stati.ids.find(nome);
    if (s == stati.ids.end())
        l.guasto(percorso + "/" + chiave, "\"" + std::string(chiave) + "\": nessuno stato " + testo_visibile(nome));
    return s->second;
}

void leggi_parametri(const json& o, const std::string& percorso, DefinizioneTrasformazione& k, const LettoreJson& l) {
    for (const Parametro& p : parametri_di(k.tipo))
        k.*p.campo = l.numero(l.richiesta(o, percorso, p.chiave), percorso + "/" + p.chiave, p.unita);
    if (k.tipo == TipoTrasformazione::miscela) {
        if (const auto it = o.find("portate"); it != o.end()) {
            if (!it->is_array() || it->size() != 2)
                l.guasto(percorso + "/portate", "\"portate\": attese due portate (kg/h), una per stato");
            k.portata_da = l.numero((*it)[0], percorso + "/portate/0", "kg/h");
            k.portata_con = l.numero((*it)[1], percorso + "/portate/1", "kg/h");
        } else {
            k.frazione = l.numero(l.richiesta(o, percorso, "frazione"), percorso + "/frazione", "");
        }
    }
    if (const auto it = o.find("portata"); it != o.end()) k.portata = l.numero(*it, percorso + "/portata", "kg/h");
    if (const auto it = o.find("obiettivo"); it != o.end()) {
        const std::string p = percorso + "/obiettivo";
        l.solo(l.oggetto(*it, p), p, {"t", "x"});
        k.obiettivo = Stato{l.numero(l.richiesta(*it, p, "t"), p + "/t", "C"),
                            l.numero(l.richiesta(*it, p, "x"), p + "/x", "g/kg")};
    }
}

DefinizioneTrasformazione leggi_trasformazione(const json& o, const std::string& percorso, int id, LetturaStati& stati,
                                               const LettoreJson& l) {
    l.oggetto(o, percorso);
    DefinizioneTrasformazione k;
    k.id = id;
    const std::string tipo = l.testo(l.richiesta(o, percorso, "tipo"), percorso + "/tipo");
    const auto t = trasformazione_da_chiave(tipo);
    if (!t)
        l.guasto(percorso + "/tipo", "\"tipo\": \"" + testo_visibile(tipo) +
                                         "\" non è miscela, sensibile, batteria, adiabatica, vapore o linea");
    k.tipo = *t;
    const bool linea = k.tipo == TipoTrasformazione::linea;
    const bool miscela = k.tipo == TipoTrasformazione::miscela;
    std::vector<std::string_view> chiavi{"tipo", "da", "portata", "obiettivo"};
    if (linea) chiavi.push_back("a");
    if (!linea) chiavi.push_back("uscita");
    if (miscela) chiavi.insert(chiavi.end(), {"con", "frazione", "portate"});
    for (const Parametro& p : parametri_di(k.tipo))
        chiavi.push_back(p.chiave);
    for (const auto& [chiave, v] : o.items())
        if (chiave != "nota" && std::find(chiavi.begin(), chiavi.end(), chiave) == chiavi.end())
            l.guasto(percorso + "/" + chiave, "chiave \"" + testo_visibile(chiave) + "\" sconosciuta per " + tipo);
    (void)l.richiesta(o, percorso, "da");
    k.da = riferimento(o, percorso, "da", stati, l);
    if (linea || miscela) {
        const char* secondo = linea ? "a" : "con";
        (void)l.richiesta(o, percorso, secondo);
        k.con = riferimento(o, percorso, secondo, stati, l);
        if (k.con == k.da) l.guasto(percorso + "/" + secondo, "servono due stati diversi");
    }
    if (!linea) {
        (void)l.richiesta(o, percorso, "uscita");
        k.uscita = riferimento(o, percorso, "uscita", stati, l);
        if (!stati.uscite_libere.erase(k.uscita))
            l.guasto(percorso + "/uscita",
                     "\"uscita\" deve nominare uno stato senza grandezze, uscita di questa sola trasformazione");
    }
    leggi_parametri(o, percorso, k, l);
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

DefinizioneDiagramma leggi_definizione_diagramma(const json& j, const LettoreJson& l) {
    const json& stati = l.richiesta(j, "", "stati");
    if (!stati.is_array()) l.guasto("/stati", "\"stati\": atteso un elenco");
    const json vuoto = json::array();
    const json& trasformazioni = j.contains("trasformazioni") ? j.at("trasformazioni") : vuoto;
    if (!trasformazioni.is_array()) l.guasto("/trasformazioni", "\"trasformazioni\": atteso un elenco");
    DefinizioneDiagramma d;
    LetturaStati letti;
    int id = 1;
    for (std::size_t n = 0; n < stati.size(); ++n) {
        const std::string percorso = "/stati/" + std::to_string(n);
        DefinizioneStato s = leggi_stato(stati[n], percorso, id++, l);
        if (!letti.ids.emplace(s.nome, s.id).second)
            l.guasto(percorso + "/nome", "il nome \"" + testo_visibile(s.nome) + "\" è di due stati");
        if (s.origine == OrigineStato::trasformazione) letti.uscite_libere.insert(s.id);
        d.stati.push_back(std::move(s));
    }
    for (std::size_t n = 0; n < trasformazioni.size(); ++n)
        d.trasformazioni.push_back(
            leggi_trasformazione(trasformazioni[n], "/trasformazioni/" + std::to_string(n), id++, letti, l));
    for (std::size_t n = 0; n < d.stati.size(); ++n)
        if (letti.uscite_libere.count(d.stati[n].id))
            l.guasto("/stati/" + std::to_string(n), "lo stato \"" + testo_visibile(d.stati[n].nome) +
                                                        "\" non ha grandezze e nessuna trasformazione lo calcola");
    d.prossimo_id = id;
    // Each process after those computing its states.
    if (Fatto f = DiagrammaLibero().carica(d); !f) l.guasto("/trasformazioni", f.errore().testo);
    return d;
}

} // namespace ondix
