#include "core/esecuzione.h"

#include "core/maschera.h"
#include "core/numeri.h"

#include <array>
#include <charconv>

namespace ondix {

RisultatoCalcolo esegui(const RichiestaCalcolo& r) {
    RisultatoCalcolo e;
    Contesto& ctx = e.contesto;
    ctx.processo = static_cast<TipoProcesso>(r.tipo);
    imposta_maschera(ctx);
    for (std::size_t i = 0; i < r.testi.size(); ++i)
        if (r.testi[i]) ctx.maschera.testo[i] = *r.testi[i];
    ctx.maschera.umidita = r.umidita;
    ctx.maschera.portata = r.portata;
    ctx.aria = r.aria;
    EsternoSenzaFinestre esterno(r.risposta);
    if (const Fatto f = vai_calcolo(ctx, esterno); !f)
        (f.errore().causa == Causa::impianto ? e.impossibile : e.errore) = f.errore().testo;
    e.messaggi = std::move(esterno.messaggi);
    e.vista = esterno.vista;
    return e;
}

std::vector<std::string> testi_letti_in_parte(const RichiestaCalcolo& r) {
    std::vector<std::string> avvisi;
    StatoMaschera m;
    imposta_maschera(r.tipo, m);
    for (std::size_t i = 0; i < r.testi.size(); ++i) {
        if (!r.testi[i] || !m.testo_visibile[i]) continue;
        std::string_view testo = *r.testi[i];
        while (!testo.empty() && (testo.back() == ' ' || testo.back() == '\t'))
            testo.remove_suffix(1);
        const Conversione c = leggi_numero(testo);
        if (testo.find_first_not_of(" \t\n\v\f\r") == std::string_view::npos || c.letti == testo.size() || c.trabocco)
            continue;
        std::array<char, 32> numero;
        const auto fine = std::to_chars(numero.data(), numero.data() + numero.size(), c.valore).ptr;
        // The label as the form shows it, its runs of blanks (which align the form's columns) made one.
        std::string etichetta;
        for (const char ch : m.etichetta[i])
            if (ch != ' ' || (!etichetta.empty() && etichetta.back() != ' ')) etichetta += ch;
        while (!etichetta.empty() && (etichetta.back() == ' ' || etichetta.back() == ':'))
            etichetta.pop_back();
        avvisi.push_back("--e" + std::to_string(i + 1) + " (" + testo_visibile(etichetta) + "): \"" +
                         testo_visibile(*r.testi[i]) + "\" non è tutto un numero; il calcolo usa " +
                         std::string(numero.data(), static_cast<std::size_t>(fine - numero.data())));
    }
    return avvisi;
}

RisultatoCondizione esegui_condizione(const Uta& u, const Condizione& k) {
    RisultatoCondizione c;
    c.condizione = &k;
    EsternoSenzaFinestre esterno(std::nullopt);
    if (const Fatto f = esegui_uta(u, k, c.contesto, esterno, c.risultato); !f) c.errore = f.errore();
    c.vista = esterno.vista;
    return c;
}

} // namespace ondix
