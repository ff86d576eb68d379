// The outside world of a calculation in the tests and the benchmarks: it records every message box, input box,
// chart request and report shown, and answers the input boxes with `risposta` (none: each is cancelled).
#pragma once

#include "core/calcolo.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ondix {

class EsternoProva : public Esterno {
public:
    struct Richiesta {
        std::string titolo, domanda, predefinito;
    };

    void messaggio(const std::string& testo) override {
        messaggi.push_back(testo);
        dialoghi.push_back(testo);
        if (dopo_messaggio) dopo_messaggio();
    }
    std::string chiedi(const std::string& titolo, const std::string& domanda, const std::string& predefinito) override {
        richieste.push_back({titolo, domanda, predefinito});
        dialoghi.push_back(titolo);
        return risposta.value_or(predefinito);
    }
    void apri_grafico(VistaGrafico v) override { viste.push_back(v); }
    void mostra_rapporto() override { ++rapporti_mostrati; }

    // The last chart requested, when there was one.
    std::optional<VistaGrafico> vista() const {
        return viste.empty() ? std::nullopt : std::optional<VistaGrafico>(viste.back());
    }

    std::optional<std::string> risposta;  // typed into every input box
    std::function<void()> dopo_messaggio; // run as each message box closes (as a dialog's event loop might)
    std::vector<std::string> messaggi;
    std::vector<Richiesta> richieste;
    std::vector<std::string> dialoghi; // the messages and the input boxes' titles, in order
    std::vector<VistaGrafico> viste;
    int rapporti_mostrati = 0;
};

} // namespace ondix
