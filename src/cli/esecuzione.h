// A headless run of one calculation: the form filled from options, the dialogs answered from options.
#pragma once

#include "core/calcolo.h"

#include <array>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace ondix {

struct RichiestaCalcolo {
    int tipo = 4;
    std::array<std::optional<std::string>, 10> testi{}; // replaces box N's text when set
    int umidita = 0;
    int portata = 0;
    std::optional<std::string> risposta; // typed into an input box; none: the box is cancelled
    Aria aria;                           // the pressure the calculation runs at
};

struct EsitoCalcolo {
    Contesto contesto;
    std::vector<std::string> messaggi;
    std::optional<VistaGrafico> vista; // the chart request made, if any
    std::optional<std::string> errore; // floating-point error text
};

// The outside world of a headless run: records messages and the chart request, answers input boxes.
class EsternoSenzaFinestre : public Esterno {
public:
    explicit EsternoSenzaFinestre(std::optional<std::string> risposta) : m_risposta(std::move(risposta)) {}
    void messaggio(const std::string& testo) override { messaggi.push_back(testo); }
    std::string chiedi(const std::string&, const std::string&, const std::string& predefinito) override {
        return m_risposta ? *m_risposta : predefinito;
    }
    void apri_grafico(VistaGrafico v) override { vista = v; }
    void mostra_rapporto() override {}

    std::vector<std::string> messaggi;
    std::optional<VistaGrafico> vista;

private:
    std::optional<std::string> m_risposta;
};

// Sets up the form for the kind as the input form does, applies the request's texts and options, and runs the
// driver.
EsitoCalcolo esegui(const RichiestaCalcolo& r);

// The air of the options --pressione (Pa) and --quota (m, through the altitude tool's table), either or neither
// given, and --modello (a model's word); the message for the user when a value is not a number, out of range or
// no model's word.
std::variant<Aria, std::string> aria_da_opzioni(const std::optional<std::string>& pressione,
                                               const std::optional<std::string>& quota,
                                               const std::optional<std::string>& modello = std::nullopt);

// Font size of a report saved from the report window on a screen 1024 pixels wide (the size the chart files are
// drawn for), points.
inline constexpr int punti_rtf = 17;
// Saves report lines as the report window saves them: the same RTF, replacing the file only once it is complete.
// nullopt on success, else the message for the user.
std::optional<std::string> salva_rapporto_rtf(const std::vector<std::string>& righe, const std::string& percorso);

} // namespace ondix
