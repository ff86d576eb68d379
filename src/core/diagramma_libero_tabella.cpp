#include "core/diagramma_libero_tabella.h"

#include "core/computazioni.h"
#include "core/modello.h"
#include "core/numeri.h"
#include "core/rapporto.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>

namespace ondix {

namespace {

using json = nlohmann::ordered_json;

std::string n(double v, int d) {
    return numero_virgola(v, 0, d);
}
std::string n(const std::optional<double>& v, int d) {
    return v ? n(*v, d) : std::string();
}

// The shortest text that reads back as `v`, with a decimal comma: a typed value as typed.
std::string breve(double v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return con_virgola(std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
}

std::string origine(const DiagrammaLibero& d, std::size_t i) {
    const DefinizioneStato& s = d.definizione_stato(i);
    switch (s.origine) {
    case OrigineStato::punto:
        return "sul grafico";
    case OrigineStato::coppia:
        return std::string(nome_grandezza(s.a.grandezza)) + " " + breve(s.a.valore) + ", " +
               std::string(nome_grandezza(s.b.grandezza)) + " " + breve(s.b.valore);
    case OrigineStato::trasformazione:
        if (const auto k = d.trasformazione_di(s.id))
            return std::string(chiave_trasformazione(d.definizione_trasformazione(*k).tipo));
        return {};
    }
    return {};
}

std::string nota_stato(const StatoDiagramma& s) {
    if (s.errore) return s.errore->testo;
    if (s.nebbia)
        return "nebbia: equilibrio " + n(s.nebbia->t, 2) + " °C, " + n(s.nebbia->x, 2) + " g/kg, acqua liquida " +
               n(s.nebbia->acqua, 2) + " g/kg";
    if (s.oltre_saturazione) return "oltre la saturazione";
    return {};
}

std::vector<std::string> riga_stato(const DiagrammaLibero& d, std::size_t i) {
    const StatoDiagramma& s = d.stato(i);
    std::vector<std::string> r{d.definizione_stato(i).nome, origine(d, i)};
    if (s.stato) {
        const StatoCompleto& c = *s.stato;
        // Above saturation only what the readout shows there.
        const bool pieno = !s.oltre_saturazione;
        r.insert(r.end(), {n(c.t, 2), pieno ? n(c.ur, 1) : "", n(c.x, 2), n(c.h, 2), pieno ? n(c.v, 3) : "",
                           pieno ? n(c.bulbo_umido, 2) : "", pieno ? n(c.rugiada, 2) : ""});
    } else {
        r.resize(r.size() + 7);
    }
    r.push_back(n(s.portata, 1));
    r.push_back(nota_stato(s));
    return r;
}

std::string ingressi_di(const DiagrammaLibero& d, const DefinizioneTrasformazione& k) {
    std::string s = nome_stato(d, k.da);
    if (k.tipo == TipoTrasformazione::miscela) s += " + " + nome_stato(d, k.con);
    return s;
}

std::string arrivo_di(const DiagrammaLibero& d, const DefinizioneTrasformazione& k) {
    return nome_stato(d, k.tipo == TipoTrasformazione::linea ? k.con : k.uscita);
}

std::string parametri(const DefinizioneTrasformazione& k) {
    std::string s;
    switch (k.tipo) {
    case TipoTrasformazione::miscela:
        if (k.portata_da && k.portata_con)
            s = "portate " + n(*k.portata_da, 1) + " + " + n(*k.portata_con, 1) + " kg/h";
        else
            s = "frazione " + n(k.frazione, 3);
        break;
    case TipoTrasformazione::sensibile:
        s = "t uscita " + n(k.t_uscita, 2) + " °C";
        break;
    case TipoTrasformazione::batteria:
        s = "t batteria " + n(k.t_batteria, 2) + " °C, bypass " + n(k.fattore_bypass, 3);
        break;
    case TipoTrasformazione::adiabatica:
        s = "t acqua " + n(k.t_acqua, 1) + " °C, efficienza " + n(k.efficienza, 2) + " %";
        break;
    case TipoTrasformazione::vapore:
        s = "t vapore " + n(k.t_vapore, 1) + " °C, x uscita " + n(k.x_uscita, 2) + " g/kg";
        break;
    case TipoTrasformazione::linea:
        break;
    }
    if (k.obiettivo) s += " (dall uscita posta sul grafico)";
    return s;
}

std::string esito(const RisultatoTrasformazione& r) {
    if (r.rifiuto) return r.rifiuto->testo;
    if (r.asciutta) return std::string(riga_batteria_asciutta);
    return {};
}

// The process as the table names it: a sensible one by what it does.
std::string nome_in_tabella(const DefinizioneTrasformazione& def, const RisultatoTrasformazione& r) {
    if (def.tipo == TipoTrasformazione::sensibile && !r.rifiuto)
        return r.dh < 0.0 ? "Raffreddamento sensibile" : "Riscaldamento sensibile";
    return std::string(nome_trasformazione(def.tipo));
}

std::vector<std::string> riga_trasformazione(const DiagrammaLibero& d, std::size_t k) {
    const DefinizioneTrasformazione& def = d.definizione_trasformazione(k);
    const RisultatoTrasformazione& r = d.trasformazione(k);
    std::vector<std::string> riga{nome_in_tabella(def, r), ingressi_di(d, def), arrivo_di(d, def),
                                  parametri(r.rifiuto ? def : r.usata)};
    const bool con_carico = !r.rifiuto && def.tipo != TipoTrasformazione::miscela;
    if (con_carico) {
        riga.insert(riga.end(), {n(r.dh, 2), n(r.dx, 2), n(r.watt_per_kg_h(), 2)});
    } else {
        riga.resize(riga.size() + 3);
    }
    riga.push_back(r.rifiuto ? std::string() : n(r.portata, 1));
    riga.push_back(con_carico ? n(r.potenza_kw(), 3) : std::string());
    riga.push_back(con_carico ? n(r.acqua_kg_h(), 3) : std::string());
    riga.push_back(esito(r));
    return riga;
}

// The rows of a table as aligned text: numbers to the right, words to the left, two blanks apart, the last column
// as it is.
void allinea(std::vector<std::string>& righe, const std::vector<std::vector<std::string>>& tabella,
             std::size_t numeri_da, std::size_t numeri_a) {
    std::vector<std::size_t> larghezze;
    for (const auto& r : tabella)
        for (std::size_t c = 0; c < r.size(); ++c) {
            if (larghezze.size() <= c) larghezze.resize(c + 1, 0);
            larghezze[c] = std::max(larghezze[c], lunghezza_caratteri(r[c]));
        }
    for (const auto& r : tabella) {
        std::string s;
        for (std::size_t c = 0; c < r.size(); ++c) {
            const std::string spazi(larghezze[c] - lunghezza_caratteri(r[c]), ' ');
            if (c > 0) s += "  ";
            if (c + 1 == r.size())
                s += r[c];
            else
                s += c >= numeri_da && c < numeri_a ? spazi + r[c] : r[c] + spazi;
        }
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        righe.push_back(std::move(s));
    }
}

json numero(const std::optional<double>& v) {
    return v ? json(*v) : json(nullptr);
}

json stato_json(const DiagrammaLibero& d, std::size_t i) {
    const DefinizioneStato& def = d.definizione_stato(i);
    const StatoDiagramma& s = d.stato(i);
    const char* origini[] = {"punto", "coppia", "trasformazione"};
    json j = {{"nome", def.nome}, {"origine", origini[static_cast<int>(def.origine)]}};
    const auto& c = s.stato;
    j["t"] = c ? json(c->t) : json(nullptr);
    j["ur"] = c ? json(c->ur) : json(nullptr);
    j["x"] = c ? json(c->x) : json(nullptr);
    j["h"] = c ? json(c->h) : json(nullptr);
    j["v"] = c ? json(c->v) : json(nullptr);
    j["t_bulbo_umido"] = c ? numero(c->bulbo_umido) : json(nullptr);
    j["t_rugiada"] = c ? numero(c->rugiada) : json(nullptr);
    j["portata_kg_h"] = numero(s.portata);
    j["oltre_saturazione"] = s.oltre_saturazione;
    j["nebbia"] =
        s.nebbia
            ? json{{"t_equilibrio", s.nebbia->t}, {"x_equilibrio", s.nebbia->x}, {"acqua_liquida", s.nebbia->acqua}}
            : json(nullptr);
    j["errore"] = s.errore ? json(s.errore->testo) : json(nullptr);
    return j;
}

json trasformazione_json(const DiagrammaLibero& d, std::size_t k) {
    const DefinizioneTrasformazione& def = d.definizione_trasformazione(k);
    const RisultatoTrasformazione& r = d.trasformazione(k);
    const DefinizioneTrasformazione& u = r.rifiuto ? def : r.usata;
    json j = {{"tipo", std::string(chiave_trasformazione(def.tipo))}, {"da", nome_stato(d, def.da)}};
    if (def.con != 0) j[def.tipo == TipoTrasformazione::linea ? "a" : "con"] = nome_stato(d, def.con);
    if (def.uscita != 0) j["uscita"] = nome_stato(d, def.uscita);
    switch (def.tipo) {
    case TipoTrasformazione::miscela:
        if (u.portata_da && u.portata_con)
            j["portate_kg_h"] = {*u.portata_da, *u.portata_con};
        else
            j["frazione"] = u.frazione;
        break;
    case TipoTrasformazione::sensibile:
        j["t_uscita"] = u.t_uscita;
        break;
    case TipoTrasformazione::batteria:
        j["t_batteria"] = u.t_batteria;
        j["fattore_bypass"] = u.fattore_bypass;
        break;
    case TipoTrasformazione::adiabatica:
        j["t_acqua"] = u.t_acqua;
        j["efficienza"] = u.efficienza;
        break;
    case TipoTrasformazione::vapore:
        j["t_vapore"] = u.t_vapore;
        j["x_uscita"] = u.x_uscita;
        break;
    case TipoTrasformazione::linea:
        break;
    }
    j["dall_obiettivo"] = def.obiettivo.has_value();
    const bool carico = !r.rifiuto && def.tipo != TipoTrasformazione::miscela;
    j["dh_kJ_kg"] = carico ? json(r.dh) : json(nullptr);
    j["dx_g_kg"] = carico ? json(r.dx) : json(nullptr);
    j["potenza_W_per_kg_h"] = carico ? json(r.watt_per_kg_h()) : json(nullptr);
    j["portata_kg_h"] = r.rifiuto ? json(nullptr) : numero(r.portata);
    j["potenza_kW"] = carico ? numero(r.potenza_kw()) : json(nullptr);
    j["acqua_kg_h"] = carico ? numero(r.acqua_kg_h()) : json(nullptr);
    j["asciutta"] = r.asciutta;
    j["impossibile"] = r.rifiuto ? json(r.rifiuto->testo) : json(nullptr);
    return j;
}

} // namespace

TabellaDiagramma tabella_diagramma(const DiagrammaLibero& d) {
    TabellaDiagramma t;
    t.intestazione_stati = {"stato",     "origine",  "t [°C]",  "ur [%]",         "x [g/kg]", "h [kJ/kg]",
                            "v [m³/kg]", "tbu [°C]", "tr [°C]", "portata [kg/h]", "note"};
    t.intestazione_trasformazioni = {"trasformazione", "da",           "a",          "parametri",
                                     "Δh [kJ/kg]",     "Δx [g/kg]",    "W per kg/h", "portata [kg/h]",
                                     "potenza [kW]",   "acqua [kg/h]", "esito"};
    for (std::size_t i = 0; i < d.numero_stati(); ++i)
        t.stati.push_back(riga_stato(d, i));
    for (std::size_t k = 0; k < d.numero_trasformazioni(); ++k)
        t.trasformazioni.push_back(riga_trasformazione(d, k));
    return t;
}

std::vector<std::string> righe_diagramma(const DiagrammaLibero& d) {
    const TabellaDiagramma t = tabella_diagramma(d);
    std::vector<std::string> r{std::string(titolo_diagramma_libero)};
    for (std::string& s : righe_aria(d.aria()))
        r.push_back(std::move(s));
    r.emplace_back("STATI");
    std::vector<std::vector<std::string>> stati{t.intestazione_stati};
    stati.insert(stati.end(), t.stati.begin(), t.stati.end());
    allinea(r, stati, 2, colonna_note_stati);
    r.emplace_back();
    r.emplace_back("TRASFORMAZIONI");
    std::vector<std::vector<std::string>> trasformazioni{t.intestazione_trasformazioni};
    trasformazioni.insert(trasformazioni.end(), t.trasformazioni.begin(), t.trasformazioni.end());
    allinea(r, trasformazioni, 4, colonna_esito_trasformazioni);
    return r;
}

std::string tabella_tsv(const DiagrammaLibero& d) {
    const TabellaDiagramma t = tabella_diagramma(d);
    std::string s;
    const auto riga = [&s](const std::vector<std::string>& celle) {
        for (std::size_t c = 0; c < celle.size(); ++c) {
            // A tab or a line end inside a cell would split it.
            std::string cella = celle[c];
            std::replace_if(
                cella.begin(), cella.end(), [](char ch) { return ch == '\t' || ch == '\n' || ch == '\r'; }, ' ');
            s += (c ? "\t" : "") + cella;
        }
        s += '\n';
    };
    riga(t.intestazione_stati);
    for (const auto& r : t.stati)
        riga(r);
    s += '\n';
    riga(t.intestazione_trasformazioni);
    for (const auto& r : t.trasformazioni)
        riga(r);
    return s;
}

std::string json_diagramma(const DiagrammaLibero& d) {
    json stati = json::array(), trasformazioni = json::array();
    for (std::size_t i = 0; i < d.numero_stati(); ++i)
        stati.push_back(stato_json(d, i));
    for (std::size_t k = 0; k < d.numero_trasformazioni(); ++k)
        trasformazioni.push_back(trasformazione_json(d, k));
    json j = {{"versione_formato", 1},
              {"processo", "diagramma"},
              {"titolo", std::string(titolo_diagramma_libero)},
              {"pressione", d.aria().pressione}};
    if (d.aria().modello) j["modello"] = std::string(d.aria().modello->nome());
    j["stati"] = stati;
    j["trasformazioni"] = trasformazioni;
    j["rapporto"] = righe_diagramma(d);
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

Documento documento_diagramma(const DiagrammaLibero& d, Intestazione intestazione, std::string_view versione) {
    Documento doc =
        documento_rapporto(std::string(titolo_diagramma_libero), {}, {}, d.aria(), std::move(intestazione), versione);
    const TabellaDiagramma t = tabella_diagramma(d);
    for (std::size_t i = 0; i < d.numero_stati(); ++i)
        if (d.definizione_stato(i).origine != OrigineStato::trasformazione)
            doc.ingressi.push_back({"stato " + t.stati[i][0], t.stati[i][1], "", false, false});
    for (const auto& r : t.trasformazioni)
        doc.ingressi.push_back({r[0] + " " + r[1] + " → " + r[2], r[3], "", false, false});
    // Every state's properties, then every process's duty; a cell left empty is a property the state has not.
    const std::vector<std::string> unita_stati{"", "", "°C", "%", "g/kg", "kJ/kg", "m³/kg", "°C", "°C", "kg/h"};
    for (std::size_t i = 0; i < t.stati.size(); ++i) {
        const auto& r = t.stati[i];
        doc.risultati.push_back({"stato " + r[0], "", "", true, false});
        for (std::size_t c = 2; c < colonna_note_stati; ++c) {
            const std::string& voce = t.intestazione_stati[c];
            if (!r[c].empty())
                doc.risultati.push_back({voce.substr(0, voce.find(' ')), r[c], unita_stati[c], false, false});
        }
        // A state its process could not compute: the process's warning says why.
        const bool calcolato = d.definizione_stato(i).origine == OrigineStato::trasformazione && d.stato(i).errore;
        if (!r[colonna_note_stati].empty() && !calcolato)
            doc.avvisi.push_back("Stato " + r[0] + ": " + r[colonna_note_stati] + ".");
    }
    const std::vector<std::string> unita_carichi{"kJ/kg", "g/kg", "W per kg/h", "kg/h", "kW", "kg/h"};
    const std::vector<std::string> voci_carichi{"Δh", "Δx", "potenza specifica", "portata", "potenza", "acqua"};
    for (const auto& r : t.trasformazioni) {
        doc.risultati.push_back({r[0] + " " + r[1] + " → " + r[2], "", "", true, false});
        for (std::size_t c = 4; c < colonna_esito_trasformazioni; ++c)
            if (!r[c].empty()) doc.risultati.push_back({voci_carichi[c - 4], r[c], unita_carichi[c - 4], false, false});
        if (!r[colonna_esito_trasformazioni].empty())
            doc.avvisi.push_back(r[0] + " " + r[1] + " → " + r[2] + ": " + r[colonna_esito_trasformazioni] + ".");
    }
    return doc;
}

} // namespace ondix
