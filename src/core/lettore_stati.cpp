// What the readers of tables of states share: a row's state from its known values, and the columns of a table
// read whole.
#include "core/lettore_stati.h"
#include "core/numeri.h"
#include "core/tabella.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ondix {

Esito<StatoCompleto> stato_della_riga(const std::array<std::optional<double>, 6>& valori,
                                      const std::vector<Coppia>& coppie, bool come_rapporto, Aria a) {
    std::string motivi;
    std::vector<Grandezza> mancanti;
    for (const auto& [ga, gb] : coppie) {
        const auto& va = valori[static_cast<std::size_t>(ga)];
        const auto& vb = valori[static_cast<std::size_t>(gb)];
        if (!va || !vb) {
            for (const Grandezza g : {ga, gb})
                if (!valori[static_cast<std::size_t>(g)] &&
                    std::find(mancanti.begin(), mancanti.end(), g) == mancanti.end())
                    mancanti.push_back(g);
            continue;
        }
        auto s = come_rapporto ? stato_riga({ga, *va}, {gb, *vb}, a) : stato_da_coppia({ga, *va}, {gb, *vb}, a);
        if (s) return s;
        motivi += (motivi.empty() ? "" : "; ") + s.errore().testo;
    }
    if (motivi.empty()) {
        std::string elenco;
        for (const Grandezza g : mancanti)
            elenco += (elenco.empty() ? "" : ", ") + std::string(nome_grandezza(g));
        return Errore{Causa::dati, "valori mancanti: " + elenco};
    }
    return Errore{Causa::dati, motivi};
}

void CelleColonna::aggiungi(std::string_view testo, std::optional<double> numero) {
    m_numeri.push_back(numero ? *numero : std::numeric_limits<double>::quiet_NaN());
    const bool non_numero = !numero && !testo.empty();
    m_testo = m_testo || non_numero;
    if (!m_quantita) {
        m_testi.emplace_back(testo);
        return;
    }
    // A quantity's column keeps the texts only of the cells that are not numbers, once there is one.
    if (non_numero && m_testi.empty()) m_testi.resize(m_numeri.size() - 1);
    if (non_numero)
        m_testi.emplace_back(testo);
    else if (!m_testi.empty())
        m_testi.emplace_back();
}

ColonnaTabella CelleColonna::colonna(std::string unita) && {
    ColonnaTabella c;
    c.nome = std::move(m_nome);
    c.unita = std::move(unita);
    c.numerica = m_quantita || !m_testo;
    if (c.numerica) {
        c.numeri = std::move(m_numeri);
        if (m_testo) c.testi = std::move(m_testi);
    } else {
        c.testi = std::move(m_testi);
    }
    return c;
}

Esito<Tabella> leggi_tabella(std::istream& in, std::string_view nome, FormatoTabella formato, int umidita) {
    LettoreRighe righe(in);
    PrimaRiga prima = leggi_prima_riga(righe);
    const bool epw =
        formato == FormatoTabella::epw || (formato == FormatoTabella::automatico && sembra_epw(nome, prima.testo));
    return epw ? leggi_tabella_epw(righe, std::move(prima), nome)
               : leggi_tabella_csv(righe, std::move(prima), nome, umidita);
}

} // namespace ondix
