// The JSON files of the program (an air-handling unit, a calculation) read with the line of every value, so that
// a fault names its place: "NAME:LINE: reason". Internal to the core: the JSON library stays out of its interface.
#pragma once

#include "core/esito.h"

#include <nlohmann/json.hpp>

#include <initializer_list>
#include <map>
#include <string>
#include <string_view>

namespace ondix {

using json = nlohmann::ordered_json;

class LettoreJson {
public:
    // `testo` is the document's text, `nome` the file's name as messages show it.
    LettoreJson(std::string_view testo, std::string nome);

    // The document; a text that is not JSON is refused at the line where the parser stopped, with `motivo` (when
    // given) or "JSON non valido: " and the parser's reason.
    Esito<json> documento(std::string_view motivo = {}) const;

    // Stops the reading with "NAME:LINE: testo", the line of the value at `percorso` ("/sezioni/2/tipo") or of the
    // nearest enclosing value that has one.
    [[noreturn]] void guasto(const std::string& percorso, const std::string& testo) const;

    // The number at `percorso`, in `unita`: a JSON number in that unit, or a text "NUMBER UNIT" in a unit it
    // converts from ("5 kW", "500 W").
    double numero(const json& v, const std::string& percorso, std::string_view unita) const;
    bool interruttore(const json& v, const std::string& percorso) const;
    std::string testo(const json& v, const std::string& percorso) const;
    const json& oggetto(const json& v, const std::string& percorso) const;
    // The value of `chiave` in `o`, which must have it.
    const json& richiesta(const json& o, const std::string& percorso, const std::string& chiave) const;
    // Keys that `o` may hold; "nota" (a comment) always.
    void solo(const json& o, const std::string& percorso, std::initializer_list<std::string_view> chiavi) const;

    // `leggi` run over the document (read with `motivo` as documento reads it): its value, or the fault it stopped at.
    template <class T, class F> Esito<T> leggi_con(F leggi, std::string_view motivo = {}) const {
        auto j = documento(motivo);
        if (!j) return j.errore();
        try {
            return leggi(*j);
        } catch (const Guasto& g) {
            return g.errore;
        }
    }

private:
    // A fault met while reading; caught by leggi_con.
    struct Guasto {
        Errore errore;
    };

    std::string_view m_testo;
    std::string m_nome;
    std::map<std::string, int> m_righe; // the line of every key and array element, by path
};

} // namespace ondix
