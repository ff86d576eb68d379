#include "core/colonne_stati.h"

#include <utility>

namespace ondix {

namespace {

std::optional<std::size_t> cerca_colonna(const std::vector<std::string>& nomi, std::string_view nome) {
    for (std::size_t i = 0; i < nomi.size(); ++i)
        if (nome_colonna(nomi[i]) == nome) return i;
    return std::nullopt;
}

std::string_view colonna_umidita(int umidita) {
    return umidita == 1 ? "x" : "ur";
}

Errore rifiuto(std::string testo) {
    return {Causa::dati, std::move(testo)};
}

} // namespace

std::string nome_colonna(std::string_view campo) {
    std::string nome;
    for (const char c : campo) {
        const bool lettera = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!lettera && !(c >= '0' && c <= '9') && c != '_') break;
        nome += lettera ? static_cast<char>(c | 0x20) : c;
    }
    return nome;
}

Esito<std::optional<ColonneStati>> colonne_stati(const std::vector<std::string>& nomi, int umidita,
                                                 bool con_pressione) {
    const std::string_view colonna_u = colonna_umidita(umidita);
    const std::string_view altra_u = colonna_umidita(umidita == 1 ? 0 : 1);
    ColonneStati c;
    if (con_pressione) {
        c.colonna_pressione = cerca_colonna(nomi, "p");
        if (!c.colonna_pressione) c.colonna_pressione = cerca_colonna(nomi, "pressione");
        if (!c.colonna_pressione)
            return rifiuto("l'intestazione non nomina una colonna p (la pressione in Pa di ogni riga)");
    }
    const auto ct = cerca_colonna(nomi, "t");
    const auto cu = cerca_colonna(nomi, colonna_u);
    if (ct && cu) {
        c.seconda = umidita == 1 ? Grandezza::x : Grandezza::ur;
        c.colonna_prima = *ct;
        c.colonna_seconda = *cu;
        return std::optional<ColonneStati>(c);
    }
    // Any other two of the known quantities, by their names.
    std::vector<std::pair<Grandezza, std::size_t>> note;
    for (const Grandezza g : {Grandezza::t, Grandezza::ur, Grandezza::x, Grandezza::h, Grandezza::tbu, Grandezza::tr})
        if (const auto i = cerca_colonna(nomi, nome_grandezza(g))) note.emplace_back(g, *i);
    const bool t_e_altra = ct && cerca_colonna(nomi, altra_u);
    if (note.size() == 2 && !t_e_altra) {
        // A pair that cannot give a state is a fault of the header, not of every row under it.
        const auto [a, b] = std::pair{note[0].first, note[1].first};
        if ((a == Grandezza::x && b == Grandezza::tr) || (a == Grandezza::h && b == Grandezza::tbu))
            return rifiuto("le colonne " + std::string(nome_grandezza(a)) + " e " + std::string(nome_grandezza(b)) +
                           " non sono indipendenti (l'una segue dall'altra); darne un'altra coppia");
        c.prima = a;
        c.seconda = b;
        c.colonna_prima = note[0].second;
        c.colonna_seconda = note[1].second;
        return std::optional<ColonneStati>(c);
    }
    if (!cu && cerca_colonna(nomi, altra_u))
        return rifiuto("l'intestazione ha una colonna " + std::string(altra_u) + ", non " + std::string(colonna_u) +
                       " (usare --umidita " + (umidita == 1 ? "0" : "1") + ")");
    if (note.size() > 2) {
        std::string elenco;
        for (const auto& [g, i] : note)
            elenco += (elenco.empty() ? "" : ", ") + std::string(nome_grandezza(g));
        return rifiuto("l'intestazione nomina più di due delle colonne t, ur, x, h, tbu, tr (" + elenco +
                       "); tenere le due che danno gli stati");
    }
    return std::optional<ColonneStati>{};
}

std::string senza_colonne(const std::vector<std::string>& nomi, int umidita, char sep) {
    const std::string colonna_u(colonna_umidita(umidita));
    return "l'intestazione non nomina una colonna " + (cerca_colonna(nomi, "t") ? colonna_u : std::string("t")) +
           " (attesa un'intestazione come \"t" + sep + colonna_u + "\")";
}

} // namespace ondix
