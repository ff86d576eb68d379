// A headless run of one calculation: the form filled from a request, the dialogs answered from it. The command line,
// the library and the tests run the processes through it.
#pragma once

#include "core/calcolo.h"
#include "core/esito.h"
#include "core/uta.h"

#include <array>
#include <optional>
#include <string>
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

// What a headless run leaves: the context (report, chart table, results), the texts of the message boxes, the
// chart requested, and why it stopped when it did.
struct RisultatoCalcolo {
    Contesto contesto;
    std::vector<std::string> messaggi;
    std::optional<VistaGrafico> vista;      // the chart request made, if any
    std::optional<std::string> errore;      // floating-point error text
    std::optional<std::string> impossibile; // why the inputs admit no possible plant, when the calculation stopped so
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
RisultatoCalcolo esegui(const RichiestaCalcolo& r);

// The request's box texts that the conversion rule reads only in part ("20,5" is 20, "abc" is 0), each as a
// warning that names the box by its option and label and gives the value the calculation uses: "--e1 (temperatura
// [C]): \"20,5\" non è tutto un numero; il calcolo usa 20". An empty or blank text is 0 as the form reads it, and
// blanks after the number are nothing lost: no warning. Boxes the kind's form hides are not read.
std::vector<std::string> testi_letti_in_parte(const RichiestaCalcolo& r);

// What a condition of an air-handling unit computed without windows leaves: the context (report, chart table), the
// unit's numbers, the chart requested, and why it stopped when it did.
struct RisultatoCondizione {
    const Condizione* condizione = nullptr;
    Contesto contesto;
    RisultatoUta risultato;
    std::optional<Errore> errore;
    std::optional<VistaGrafico> vista;
};

// Computes condition `k` of `u` as esegui_uta does, without windows.
RisultatoCondizione esegui_condizione(const Uta& u, const Condizione& k);

} // namespace ondix
