#include "core/file_calcolo.h"

#include "core/altitudine.h"
#include "core/diagramma_libero_file.h"
#include "core/diagramma_libero_tabella.h"
#include "core/file_destinazione.h"
#include "core/maschera.h"
#include "core/modello.h"
#include "core/numeri.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

namespace ondix {

namespace {

using json = nlohmann::ordered_json;

Errore guasto(std::string testo) {
    return {Causa::dati, std::move(testo)};
}

// The string at `chiave` of `o`, or `predefinito` when absent; false when present and not a string.
bool stringa(const json& o, const char* chiave, std::string& v) {
    const auto it = o.find(chiave);
    if (it == o.end() || it->is_null()) return true;
    if (!it->is_string()) return false;
    v = it->get<std::string>();
    return true;
}

// The form's part of the file: the kind, the ten texts, the option groups and the answer.
Fatto leggi_maschera(const json& j, FileCalcolo& f) {
    // A whole number within an int before it becomes one, so that a larger one cannot wrap onto a kind.
    const json& p = j.value("processo", json());
    const bool in_int = p.is_number_unsigned()
                            ? p.get<unsigned long long>() <= INT_MAX
                            : p.is_number_integer() && p.get<long long>() >= INT_MIN && p.get<long long>() <= INT_MAX;
    if (!in_int || !tipo_valido(static_cast<int>(p.get<long long>())))
        return guasto(
            "\"processo\" del file non è un tipo di processo del programma (1, 2, 3, 4, 5, 6, 7, 13, 17 o 21)");
    f.processo = static_cast<int>(p.get<long long>());
    const json& t = j.value("testi", json());
    if (!t.is_array() || t.size() != f.testi.size()) return guasto("il file non ha i dieci testi della maschera");
    for (std::size_t k = 0; k < f.testi.size(); ++k) {
        if (!t[k].is_string()) return guasto("il testo " + std::to_string(k + 1) + " del file non è un testo");
        f.testi[k] = t[k].get<std::string>();
    }
    for (auto [chiave, campo] : {std::pair{"umidita", &f.umidita}, std::pair{"portata", &f.portata}}) {
        const json& g = j.value(chiave, json(0));
        if (!g.is_number_integer() || (g.get<long long>() != 0 && g.get<long long>() != 1))
            return guasto(std::string("\"") + chiave + "\" del file non è 0 o 1");
        *campo = static_cast<int>(g.get<long long>());
    }
    if (const json& r = j.value("risposta", json()); r.is_string())
        f.risposta = r.get<std::string>();
    else if (!r.is_null())
        return guasto("\"risposta\" del file non è un testo");
    return {};
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
    j["intestazione"] = {{"progetto", i.progetto}, {"sito", i.sito}, {"autore", i.autore}, {"revisione", i.revisione}};
    return j.dump(2, ' ', false, json::error_handler_t::replace) + '\n';
}

Esito<FileCalcolo> leggi_file_calcolo(std::string_view testo) {
    const json j = json::parse(testo.begin(), testo.end(), nullptr, false);
    if (j.is_discarded() || !j.is_object()) return guasto("il file non è un calcolo di ondix leggibile (JSON guasto)");
    if (j.value("formato", json()) != json(std::string(nome_formato_calcolo)))
        return guasto("il file non è un calcolo di ondix (manca \"formato\": \"ondix-calcolo\")");
    const json& v = j.value("versione", json());
    if (!v.is_number_integer() || v.get<long long>() < 1) return guasto("il file non dice la sua versione");
    if (v.get<long long>() > versione_file_calcolo)
        return guasto("il file è della versione " + std::to_string(v.get<long long>()) +
                      " del formato, più recente di questo programma (che legge fino alla " +
                      std::to_string(versione_file_calcolo) + "): aggiornare ondix per aprirlo");
    FileCalcolo f;
    if (j.value("processo", json()) == json(std::string(processo_diagramma))) {
        auto d = leggi_definizione_diagramma(j);
        if (!d) return d.errore();
        f.processo = 0;
        f.diagramma = std::move(*d);
    } else if (Fatto m = leggi_maschera(j, f); !m) {
        return m.errore();
    }
    if (const json& a = j.value("aria", json::object()); a.is_object()) {
        const json& pa = a.value("pressione", json(pressione_atmosferica));
        if (!pa.is_number() || !(pa.get<double>() >= pressione_minima && pa.get<double>() <= pressione_massima))
            return guasto("la pressione del file non è fra " + formatta(pressione_minima, 0, 0) + " e " +
                          formatta(pressione_massima, 0, 0) + " Pa");
        f.pressione = pa.get<double>();
        const json& q = a.value("quota", json());
        if (q.is_number() && std::isfinite(q.get<double>()))
            f.quota = q.get<double>();
        else if (!q.is_null())
            return guasto("la quota del file non è un numero");
        if (f.quota && !(*f.quota >= quota_minima_tabella && *f.quota <= quota_massima_tabella))
            return guasto("\"quota\" del file è fuori dalla tabella delle quote, da " +
                          formatta(quota_minima_tabella, 0, 0) + " a " + formatta(quota_massima_tabella, 0, 0) + " m");
        if (!stringa(a, "modello", f.modello)) return guasto("il modello del file non è un testo");
        if (!f.modello.empty() && !modello_da_chiave(f.modello))
            return guasto("il modello \"" + testo_visibile(f.modello) + "\" del file non è uno del programma");
    } else {
        return guasto("\"aria\" del file non è un oggetto");
    }
    if (const json& g = j.value("grafico", json::object()); g.is_object()) {
        const json& iso = g.value("isolinee", json::array());
        if (!iso.is_array()) return guasto("le isolinee del file non sono un elenco");
        for (const json& n : iso) {
            if (!n.is_string()) return guasto("le isolinee del file non sono nomi");
            f.isolinee.push_back(n.get<std::string>());
        }
        const json& m = g.value("mollier", json(false));
        if (!m.is_boolean()) return guasto("\"mollier\" del file non è vero o falso");
        f.mollier = m.get<bool>();
    } else {
        return guasto("\"grafico\" del file non è un oggetto");
    }
    if (const json& i = j.value("intestazione", json::object()); i.is_object()) {
        Intestazione& d = f.intestazione;
        if (!stringa(i, "progetto", d.progetto) || !stringa(i, "sito", d.sito) || !stringa(i, "autore", d.autore) ||
            !stringa(i, "revisione", d.revisione))
            return guasto("un campo dell'intestazione del file non è un testo");
    } else {
        return guasto("\"intestazione\" del file non è un oggetto");
    }
    return f;
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
    auto f = leggi_file_calcolo(testo);
    if (!f) return Errore{Causa::dati, "\"" + testo_visibile(percorso) + "\": " + f.errore().testo};
    return f;
}

} // namespace ondix
