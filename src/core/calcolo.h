// The calculation driver: the context a calculation runs in, the outside world it talks to, and the
// floating-point error that stops it.
#pragma once

#include "core/aria_umida.h"
#include "core/esito.h"
#include "core/maschera.h"
#include "core/nebbia.h"
#include "core/punti_grafico.h"
#include "core/rapporto.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace ondix {

// What a calculation shows or asks: message boxes, the input box, the chart, the report window.
// The desktop program, the command line and the tests each implement it.
class Esterno {
public:
    virtual ~Esterno() = default;
    // A message box with `testo`; returns when it is closed.
    virtual void messaggio(const std::string& testo) = 0;
    // An input box; returns the typed text, or `predefinito` when the user cancels.
    virtual std::string chiedi(const std::string& titolo, const std::string& domanda,
                               const std::string& predefinito) = 0;
    // The chart request: shows the chart of `vista` over the context's table; returns when it is closed.
    virtual void apri_grafico(VistaGrafico vista) = 0;
    // Shows the report (modally in the desktop program).
    virtual void mostra_rapporto() = 0;
};

// Values a calculation reports as text, kept as numbers for machine-readable output; cleared with the report.
struct RisultatiCalcolo {
    bool con_rugiada = false;        // the report has a dew-point line
    std::optional<double> rugiada;   // its value, °C; none when the air has no dew point in range
    std::vector<StatoNebbia> nebbia; // supersaturated states, in report order
    // The numbers of the report's result lines (flows, powers, water, factors), each under a name that ends in
    // its unit ("portata_kg_h", "potenza_frigorifera_W"), in report order, at full precision.
    std::vector<std::pair<std::string, double>> valori;
};

// Everything a calculation reads and writes, passed explicitly.
struct Contesto {
    TipoProcesso processo = 0;
    std::uint8_t codice_grafico = 0; // chart overlay code
    StatoMaschera maschera;
    TabellaPunti punti;
    Rapporto rapporto;
    RisultatiCalcolo risultati;
    // The air every property function of the calculation, its chart and its report use: the program's fixed
    // pressure unless a site pressure was chosen.
    Aria aria;
};

// The three floating-point faults that stop a calculation.
enum class TipoErroreFP { divisione_per_zero, operazione_non_valida, trabocco };

// "Division par zéro en virgule flottante." and its two siblings, full stop included.
std::string testo_errore(TipoErroreFP tipo);

class ErroreVirgolaMobile : public std::runtime_error {
public:
    explicit ErroreVirgolaMobile(TipoErroreFP tipo) : std::runtime_error(testo_errore(tipo)), m_tipo(tipo) {}
    TipoErroreFP tipo() const { return m_tipo; }

private:
    TipoErroreFP m_tipo;
};

// A running calculation: the context and the outside world, with a floating-point check before everything a
// user can see. Computations use only this to read the form and to act.
class Calcolo {
public:
    Calcolo(Contesto& ctx, Esterno& esterno);
    ~Calcolo();
    Calcolo(const Calcolo&) = delete;
    Calcolo& operator=(const Calcolo&) = delete;

    // Box n (1–10) read by the conversion rule; a number too large for a double is an overflow.
    double leggi(int n);
    // The text of box n (1–10) as it stands.
    const std::string& testo(int n) const;
    // The label of box n (1–10).
    const std::string& etichetta(int n) const;
    int umidita() const { return m_ctx.maschera.umidita; } // RadioGroup1
    int portata() const { return m_ctx.maschera.portata; } // RadioGroup2
    // The air (pressure) of this calculation.
    Aria aria() const { return m_ctx.aria; }

    Rapporto& rapporto() { return m_ctx.rapporto; }
    RisultatiCalcolo& risultati() { return m_ctx.risultati; }
    // Keeps the number of a result line the report writes, under `chiave` (its name and unit).
    void risultato(std::string chiave, double valore) {
        m_ctx.risultati.valori.emplace_back(std::move(chiave), valore);
    }
    void aggiungi(std::string riga) { m_ctx.rapporto.aggiungi(std::move(riga)); }

    TabellaPunti& punti() { return m_ctx.punti; }
    void azzera_etichette() { m_ctx.punti.azzera_etichette(); }
    // Writes chart entry n (1–10).
    void punto(int n, double X, double Y, std::string_view etichetta);

    void messaggio(const std::string& testo);
    std::string chiedi(const std::string& titolo, const std::string& domanda, const std::string& predefinito);
    // The chart request; the last action of a computation.
    void apri_grafico(VistaGrafico vista);

    // Stops the calculation because the inputs admit no possible plant or lie outside their physical range;
    // `testo` (Italian) names what cannot be met and why. The report and the chart table are emptied: a plant
    // that cannot exist has no numbers.
    [[noreturn]] void impossibile(std::string testo);

    // Throws ErroreVirgolaMobile if division by zero, an invalid operation or an overflow has happened since
    // the calculation started (or since the last call out to the user).
    void controlla() const;

private:
    // After a call out (dialogs may run the event loop, which may leave flags behind): start clean again.
    void dopo_chiamata();

    Contesto& m_ctx;
    Esterno& m_esterno;
};

// Mass flow, kg/h, from the flow text: the value itself with RadioGroup2 at 1, else the value divided by the
// specific volume at (t °C, x g/kg).
double converti_portata(Calcolo& c, const std::string& testo, double t, double x);

// A computation of one process kind.
using Computazione = void (*)(Calcolo&);
// The computation of the kind, or nullptr if none.
Computazione computazione_per(int tipo);

// Per-kind setup on the input form's activation: empties the chart table, sets the form's fields and the
// overlay code from the context's process kind.
void imposta_maschera(Contesto& ctx);

// "CALCOLA": clears the report (and its results), hides Edit10, runs the kind's computation, then shows the report.
// A calculation at a pressure other than the program's own opens its report (when it has one) with the pressure's
// line, and one with a model chosen explicitly with the model's line before it.
// On a floating-point error the computation stops, the report is not shown and the error (Causa::virgola_mobile,
// the runtime's text) is returned; when the computation finds no possible plant it stops the same way with
// Causa::impianto and its message, the report and the chart table empty.
Fatto vai_calcolo(Contesto& ctx, Esterno& esterno);

// What vai_calcolo does around a kind's computation, around `f` instead: the report and results cleared, the
// floating-point checks, the refusal of an impossible plant, the pressure's lines and the report shown.
Fatto esegui_computazione(Contesto& ctx, Esterno& esterno, const std::function<void(Calcolo&)>& f);

} // namespace ondix
