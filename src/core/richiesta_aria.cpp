#include "core/richiesta_aria.h"

#include "core/altitudine.h"
#include "core/modello.h"
#include "core/numeri.h"

#include <cmath>
#include <utility>

namespace ondix {

namespace {

// What the asker calls a part: an option, a field, a key.
std::string nome(std::string_view parte, FonteAria fonte) {
    switch (fonte) {
    case FonteAria::opzioni:
        return "--" + std::string(parte);
    case FonteAria::libreria:
        break;
    case FonteAria::file:
        return "\"" + std::string(parte) + "\"";
    }
    return std::string(parte);
}

// A number given as a number or typed; nullopt for a typed text that is not a whole finite number.
std::optional<double> numero(const std::optional<double>& valore, const std::optional<std::string>& testo) {
    if (!testo) return valore;
    const auto v = numero_intero_testo(*testo);
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return v;
}

// A number as the refusal shows it: as it was typed, or written whole.
std::string mostrato(double valore, const std::optional<std::string>& testo) {
    return testo ? testo_visibile(*testo) : formatta(valore, 0, 0);
}

} // namespace

Esito<Aria> aria_richiesta(const RichiestaAria& r, FonteAria fonte, ParteAria* parte) {
    const bool file = fonte == FonteAria::file;
    const auto rifiuto = [&](ParteAria p, std::string testo) {
        if (parte) *parte = p;
        return Errore{Causa::dati, std::move(testo)};
    };
    const bool con_pressione = r.pressione || r.testo_pressione, con_quota = r.quota || r.testo_quota;
    // Two pressures are refused before anything else is looked at when one of them comes with each row.
    const auto due_pressioni = [&] {
        return rifiuto(ParteAria::quota, nome("pressione", fonte) + (r.pressione_per_riga ? " file" : "") + " e " +
                                             nome("quota", fonte) + " danno entrambe la pressione; usarne una");
    };
    if (r.pressione_per_riga && con_quota) return due_pressioni();
    Aria a;
    if (r.modello) {
        a.modello = modello_da_chiave(*r.modello);
        if (!a.modello)
            return rifiuto(ParteAria::modello, (file ? "" : nome("modello", fonte) + ": ") + "\"" +
                                                   testo_visibile(*r.modello) + "\" non è un modello (usare ashrae)");
    }
    if (con_pressione && con_quota) return due_pressioni();
    if (con_pressione) {
        const auto letta = numero(r.pressione, r.testo_pressione);
        if (!letta)
            return rifiuto(ParteAria::pressione, nome("pressione", fonte) + ": \"" +
                                                     testo_visibile(*r.testo_pressione) +
                                                     "\" non è una pressione in Pa");
        const double p = *letta;
        if (!(p >= pressione_minima && p <= pressione_massima)) {
            const std::string campo =
                " da " + formatta(pressione_minima, 0, 0) + " a " + formatta(pressione_massima, 0, 0) + " Pa";
            return rifiuto(ParteAria::pressione, file ? "pressione " + formatta(p, 0, 0) + " Pa fuori" + campo
                                                      : nome("pressione", fonte) + ": " +
                                                            mostrato(p, r.testo_pressione) + " Pa è fuori" + campo);
        }
        a.pressione = p;
    }
    if (con_quota) {
        const auto letta = numero(r.quota, r.testo_quota);
        if (!letta)
            return rifiuto(ParteAria::quota,
                           nome("quota", fonte) + ": \"" + testo_visibile(*r.testo_quota) + "\" non è una quota in m");
        const double z = *letta;
        if (!(z >= quota_minima && z <= quota_massima)) {
            const std::string tabella = "fuori dalla tabella delle quote, da " + formatta(quota_minima, 0, 0) + " a " +
                                        formatta(quota_massima, 0, 0) + " m";
            return rifiuto(ParteAria::quota, file ? "quota " + tabella
                                                  : nome("quota", fonte) + ": " + mostrato(z, r.testo_quota) + " m è " +
                                                        tabella + " (dare invece " +
                                                        (fonte == FonteAria::opzioni ? "--pressione" : "la pressione") +
                                                        ")");
        }
        a.pressione = pressione_pascal_da_quota(z);
    }
    return a;
}

} // namespace ondix
