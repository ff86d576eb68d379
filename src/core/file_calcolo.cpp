#include "core/file_calcolo.h"

#include "core/diagramma_libero_file.h"
#include "core/diagramma_libero_tabella.h"
#include "core/file_destinazione.h"
#include "core/lettore_json.h"
#include "core/maschera.h"
#include "core/modello.h"
#include "core/numeri.h"
#include "core/richiesta_aria.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

namespace ondix {

namespace {

// Sets `v` to the string at `chiave` of `o`, leaving it as it is when the key is absent or null; false when the
// value is there and is not a string.
bool stringa(const json& o, const char* chiave, std::string& v) {
    const auto it = o.find(chiave);
    if (it == o.end() || it->is_null()) return true;
    if (!it->is_string()) return false;
    v = it->get<std::string>();
    return true;
}

// The object at `chiave` of `j`, an empty one when absent.
json oggetto_o_vuoto(const json& j, const char* chiave) {
    return j.value(chiave, json::object());
}

// The format's name and version.
void leggi_formato(const json& j, const LettoreJson& l) {
    if (j.value("formato", json()) != json(std::string(nome_formato_calcolo)))
        l.guasto("/formato", "il file non è un calcolo di ondix (manca \"formato\": \"ondix-calcolo\")");
    const json& v = j.value("versione", json());
    if (!v.is_number_integer() || v.get<long long>() < 1) l.guasto("/versione", "il file non dice la sua versione");
    if (v.get<long long>() > versione_file_calcolo)
        l.guasto("/versione", "il file è della versione " + std::to_string(v.get<long long>()) +
                                  " del formato, più recente di questo programma (che legge fino alla " +
                                  std::to_string(versione_file_calcolo) + "): aggiornare ondix per aprirlo");
}

// The kind, the form's texts and option groups and the answer to the input box.
void leggi_maschera(const json& j, const LettoreJson& l, FileCalcolo& f) {
    // A whole number within an int before it becomes one, so that a larger one cannot wrap onto a kind.
    const json& p = j.value("processo", json());
    const bool in_int = p.is_number_unsigned()
                            ? p.get<unsigned long long>() <= INT_MAX
                            : p.is_number_integer() && p.get<long long>() >= INT_MIN && p.get<long long>() <= INT_MAX;
    if (!in_int || !tipo_valido(static_cast<int>(p.get<long long>())))
        l.guasto("/processo",
                 "\"processo\" del file non è un tipo di processo del programma (1, 2, 3, 4, 5, 6, 7, 13, 17 o 21)");
    f.processo = static_cast<int>(p.get<long long>());
    const json& t = j.value("testi", json());
    if (!t.is_array() || t.size() != f.testi.size()) l.guasto("/testi", "il file non ha i dieci testi della maschera");
    for (std::size_t k = 0; k < f.testi.size(); ++k) {
        if (!t[k].is_string())
            l.guasto("/testi/" + std::to_string(k), "il testo " + std::to_string(k + 1) + " del file non è un testo");
        f.testi[k] = t[k].get<std::string>();
    }
    for (auto [chiave, campo] : {std::pair{"umidita", &f.umidita}, std::pair{"portata", &f.portata}}) {
        const json& g = j.value(chiave, json(0));
        if (!g.is_number_integer() || (g.get<long long>() != 0 && g.get<long long>() != 1))
            l.guasto(std::string("/") + chiave, std::string("\"") + chiave + "\" del file non è 0 o 1");
        *campo = static_cast<int>(g.get<long long>());
    }
    if (const json& r = j.value("risposta", json()); r.is_string())
        f.risposta = r.get<std::string>();
    else if (!r.is_null())
        l.guasto("/risposta", "\"risposta\" del file non è un testo");
}

// The pressure, the altitude it came from and the model, through the door every air goes through.
void leggi_aria(const json& j, const LettoreJson& l, FileCalcolo& f) {
    const json a = oggetto_o_vuoto(j, "aria");
    if (!a.is_object()) l.guasto("/aria", "\"aria\" del file non è un oggetto");
    const json& pa = a.value("pressione", json(pressione_atmosferica));
    if (!pa.is_number()) l.guasto("/aria/pressione", "\"pressione\": atteso un numero (in Pa)");
    f.pressione = pa.get<double>();
    const json& q = a.value("quota", json());
    if (q.is_number() && std::isfinite(q.get<double>()))
        f.quota = q.get<double>();
    else if (!q.is_null())
        l.guasto("/aria/quota", "la quota del file non è un numero");
    if (f.quota && !(*f.quota >= quota_minima && *f.quota <= quota_massima))
        l.guasto("/aria/quota", "\"quota\" del file è fuori dalla tabella delle quote, da " +
                                    formatta(quota_minima, 0, 0) + " a " + formatta(quota_massima, 0, 0) + " m");
    if (!stringa(a, "modello", f.modello)) l.guasto("/aria/modello", "il modello del file non è un testo");
    RichiestaAria r;
    r.pressione = f.pressione;
    if (!f.modello.empty()) r.modello = f.modello;
    ParteAria parte = ParteAria::pressione;
    if (const auto aria = aria_richiesta(r, FonteAria::file, &parte); !aria)
        l.guasto(parte == ParteAria::modello ? "/aria/modello" : "/aria/pressione", aria.errore().testo);
}

// The chart's layers and the report's title block.
void leggi_grafico_intestazione(const json& j, const LettoreJson& l, FileCalcolo& f) {
    const json g = oggetto_o_vuoto(j, "grafico");
    if (!g.is_object()) l.guasto("/grafico", "\"grafico\" del file non è un oggetto");
    const json& iso = g.value("isolinee", json::array());
    if (!iso.is_array()) l.guasto("/grafico/isolinee", "le isolinee del file non sono un elenco");
    for (std::size_t k = 0; k < iso.size(); ++k) {
        if (!iso[k].is_string())
            l.guasto("/grafico/isolinee/" + std::to_string(k), "le isolinee del file non sono nomi");
        f.isolinee.push_back(iso[k].get<std::string>());
    }
    const json& m = g.value("mollier", json(false));
    if (!m.is_boolean()) l.guasto("/grafico/mollier", "\"mollier\" del file non è vero o falso");
    f.mollier = m.get<bool>();
    const json i = oggetto_o_vuoto(j, "intestazione");
    if (!i.is_object()) l.guasto("/intestazione", "\"intestazione\" del file non è un oggetto");
    Intestazione& d = f.intestazione;
    for (auto [chiave, campo] :
         {std::pair{"progetto", &d.progetto}, std::pair{"sito", &d.sito}, std::pair{"autore", &d.autore},
          std::pair{"revisione", &d.revisione}, std::pair{"data", &d.data}})
        if (!stringa(i, chiave, *campo))
            l.guasto(std::string("/intestazione/") + chiave, "un campo dell'intestazione del file non è un testo");
}

} // namespace

std::string testo_file_calcolo(const FileCalcolo& f) {
    json aria = {{"pressione", f.pressione},
                 {"quota", f.quota ? json(*f.quota) : json(nullptr)},
                 {"modello", f.modello.empty() ? json(nullptr) : json(f.modello)}};
    const Intestazione& i = f.intestazione;
    json j = {{"formato", std::string(nome_formato_calcolo)}, {"versione", versione_file_calcolo}};
    if (f.diagramma) {
        j["processo"] = std::string(processo_diagramma);
        j["titolo"] = std::string(titolo_diagramma_libero);
        scrivi_definizione_diagramma(*f.diagramma, j);
    } else {
        j["processo"] = f.processo;
        j["titolo"] = std::string(titolo_processo(f.processo));
        j["testi"] = f.testi;
        j["umidita"] = f.umidita;
        j["portata"] = f.portata;
        j["risposta"] = f.risposta ? json(*f.risposta) : json(nullptr);
    }
    j["aria"] = aria;
    j["grafico"] = {{"isolinee", f.isolinee}, {"mollier", f.mollier}};
    j["intestazione"] = {
        {"progetto", i.progetto}, {"sito", i.sito}, {"autore", i.autore}, {"revisione", i.revisione}, {"data", i.data}};
    return j.dump(2, ' ', false, json::error_handler_t::replace) + '\n';
}

Esito<FileCalcolo> leggi_file_calcolo(std::string_view testo, const std::string& nome) {
    const LettoreJson l(testo, nome);
    constexpr std::string_view guasto = "il file non è un calcolo di ondix leggibile (JSON guasto)";
    return l.leggi_con<FileCalcolo>(
        [&l, guasto](const json& j) {
            if (!j.is_object()) l.guasto("", std::string(guasto));
            FileCalcolo f;
            leggi_formato(j, l);
            if (j.value("processo", json()) == json(std::string(processo_diagramma))) {
                f.processo = 0;
                f.diagramma = leggi_definizione_diagramma(j, l);
            } else {
                leggi_maschera(j, l, f);
            }
            leggi_aria(j, l, f);
            leggi_grafico_intestazione(j, l, f);
            return f;
        },
        guasto);
}

Fatto salva_calcolo(const FileCalcolo& f, const std::string& percorso) {
    if (const Fatto scritto = sostituisci_file(percorso, testo_file_calcolo(f)); !scritto)
        return Errore{Causa::file, "impossibile salvare il calcolo in \"" + testo_visibile(percorso) +
                                       "\": " + scritto.errore().testo};
    return {};
}

Esito<FileCalcolo> apri_calcolo(const std::string& percorso) {
    const auto errore_file = [&](const std::string& motivo) {
        return Errore{Causa::file, "impossibile aprire il calcolo \"" + testo_visibile(percorso) + "\": " + motivo};
    };
    if (const auto genere = genere_non_regolare(percorso))
        return errore_file("non è un file regolare (" + *genere + ")");
    std::ifstream in(percorso, std::ios::binary);
    if (!in) return errore_file(std::strerror(errno));
    std::string testo;
    testo.resize(dimensione_massima_calcolo + 1);
    in.read(testo.data(), static_cast<std::streamsize>(testo.size()));
    if (in.bad()) return errore_file(std::strerror(errno));
    testo.resize(static_cast<std::size_t>(in.gcount()));
    if (testo.size() > dimensione_massima_calcolo) return errore_file("il file è troppo grande per un calcolo");
    return leggi_file_calcolo(testo, testo_visibile(percorso));
}

Aria aria_del_calcolo(const FileCalcolo& f) {
    return {f.pressione, f.modello.empty() ? nullptr : modello_da_chiave(f.modello)};
}

} // namespace ondix
