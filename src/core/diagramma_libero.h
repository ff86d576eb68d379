// The working chart ("Diagramma libero"): air states placed on the chart or typed from two properties, and the
// processes that join them (mixing, sensible heating or cooling, a cooling coil, humidification with water or
// steam, a free line). A process computes its outlet state with the core's own process functions; what depends on
// what is kept, so that moving a state computes again every process and state that follows from it. Every edit is
// a step of an undo stack. The window draws and edits this model; `ondix-calc apri` computes it without windows.
#pragma once

#include "core/aria_umida.h"
#include "core/esito.h"
#include "core/nebbia.h"
#include "core/punti_grafico.h"
#include "core/stato_aria.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondix {

// How a state of the chart is known.
enum class OrigineStato {
    punto,          // placed on the chart (a click or a drag): its dry bulb and humidity ratio, fog allowed
    coppia,         // typed from two properties, as `ondix-calc stato` takes them
    trasformazione, // the outlet of a process
};

struct DefinizioneStato {
    int id = 0;
    std::string nome;
    OrigineStato origine = OrigineStato::punto;
    // punto: t (°C) and x (g/kg); coppia: the two quantities as typed. Unused for a process's outlet.
    Noto a{Grandezza::t, 20.0};
    Noto b{Grandezza::x, 7.0};
    friend bool operator==(const DefinizioneStato&, const DefinizioneStato&) = default;
};

enum class TipoTrasformazione { miscela, sensibile, batteria, adiabatica, vapore, linea };
inline constexpr TipoTrasformazione tipi_trasformazione[] = {
    TipoTrasformazione::miscela,    TipoTrasformazione::sensibile, TipoTrasformazione::batteria,
    TipoTrasformazione::adiabatica, TipoTrasformazione::vapore,    TipoTrasformazione::linea};

// The word of the file ("miscela", "sensibile", "batteria", "adiabatica", "vapore", "linea") and the kind it names.
std::string_view chiave_trasformazione(TipoTrasformazione t);
std::optional<TipoTrasformazione> trasformazione_da_chiave(std::string_view chiave);
// The name a user reads: "Miscela", "Riscaldamento/raffreddamento sensibile", ...
std::string_view nome_trasformazione(TipoTrasformazione t);
// The letter an outlet of the kind is named by: M the mixture, S sensible, B the coil, U and V the humidifiers; 0
// for the free line.
char lettera_uscita(TipoTrasformazione t);
// Whether the kind joins two states given beforehand (mixing: the two streams; the free line: its ends).
bool due_ingressi(TipoTrasformazione t);

struct DefinizioneTrasformazione {
    int id = 0;
    TipoTrasformazione tipo = TipoTrasformazione::linea;
    int da = 0;     // the inlet state (mixing: the first stream; free line: its start)
    int con = 0;    // mixing: the second stream; free line: its end; 0 otherwise
    int uscita = 0; // the state it computes; 0 for the free line
    // The parameters; each kind reads its own.
    double frazione = 0.5;       // mixing: mass fraction of `da` in the mixture, 0 … 1
    double t_uscita = 35.0;      // sensible: outlet temperature, °C
    double t_batteria = 10.0;    // coil: its temperature, °C
    double fattore_bypass = 0.1; // coil: 0 … 1
    double t_acqua = 15.0;       // adiabatic: water temperature, °C
    double efficienza = 80.0;    // adiabatic: %, 0 … 100
    double t_vapore = 100.0;     // steam: its temperature, °C
    double x_uscita = 10.0;      // steam: outlet humidity ratio, g/kg
    // Dry air through the process, kg/h (mixing by fraction: the mixture's); none: the inlet's, when it has one.
    std::optional<double> portata;
    // Mixing by flows: the two streams, kg/h of dry air (then the fraction is not read).
    std::optional<double> portata_da, portata_con;
    // Where the user placed the outlet (t °C, x g/kg): the parameters are then found from it (the fraction, the
    // outlet temperature, the coil's temperature and bypass factor, the efficiency, the outlet humidity ratio).
    std::optional<Stato> obiettivo;
    friend bool operator==(const DefinizioneTrasformazione&, const DefinizioneTrasformazione&) = default;
};

// A process of kind `t` from state `da` (and `con`: the mixing's second stream, the free line's end), its parameters
// at their defaults.
DefinizioneTrasformazione trasformazione_tra(TipoTrasformazione t, int da, int con = 0);

// Everything the chart is made of: what a file keeps and an undo step restores.
struct DefinizioneDiagramma {
    std::vector<DefinizioneStato> stati;                   // in the order the table lists them
    std::vector<DefinizioneTrasformazione> trasformazioni; // each after the processes computing its inlets
    int prossimo_id = 1;
    friend bool operator==(const DefinizioneDiagramma&, const DefinizioneDiagramma&) = default;
};

// A state as computed.
struct StatoDiagramma {
    std::optional<StatoCompleto> stato;     // none when it cannot be computed (then `errore` says why)
    std::optional<Errore> errore;           // why there is no state: a refused pair or process
    bool oltre_saturazione = false;         // more water than saturated air at its temperature holds
    std::optional<EquilibrioNebbia> nebbia; // supersaturated (fog): saturated air of the same enthalpy
    std::optional<double> portata;          // dry air through it, kg/h, when known
};

// A process as computed.
struct RisultatoTrasformazione {
    std::optional<Errore> rifiuto;   // why the process cannot exist (Causa::impianto); nothing else is then set
    DefinizioneTrasformazione usata; // the parameters it ran with (found from the target, when it has one)
    double dh = 0.0, dx = 0.0;       // outlet minus inlet: kJ/kg and g/kg of dry air (mixing: 0)
    std::optional<double> portata;   // kg/h of dry air through it, when known
    bool asciutta = false;           // a coil that stays dry (cooling without condensation)
    // Power per kg/h of dry air, W (positive heating the air); at the flow, kW; water added (negative: condensed),
    // kg/h.
    double watt_per_kg_h() const { return dh / 3.6; }
    std::optional<double> potenza_kw() const;
    std::optional<double> acqua_kg_h() const;
};

// The outcome of one process from its inlet `a` (and `b`, the second stream or the free line's end), with the flow
// through the inlet when known. The outlet is what the core's process functions give; parameters no plant can have
// and targets no plant reaches are refused (Causa::impianto) with the reason.
struct UscitaTrasformazione {
    RisultatoTrasformazione risultato;
    std::optional<Stato> uscita; // none for the free line and when refused
};
UscitaTrasformazione calcola_trasformazione(const DefinizioneTrasformazione& d, const StatoCompleto& a,
                                            const StatoCompleto* b, std::optional<double> portata_ingresso, Aria aria);

// The chart: its definition, the air it is computed in, every state and process computed, and the undo stack.
class DiagrammaLibero {
public:
    explicit DiagrammaLibero(Aria aria = {});

    Aria aria() const { return m_aria; }
    // Computes everything again in the air `a` (a site pressure, a model); not a step of the undo stack.
    void imposta_aria(Aria a);

    const DefinizioneDiagramma& definizione() const { return m_def; }
    // Replaces the whole chart (a file opened) and empties the undo stack; the reason when `d` does not hold
    // together (a process naming a state that is missing, an outlet of two processes, a name twice, ...).
    Fatto carica(DefinizioneDiagramma d);

    std::size_t numero_stati() const { return m_def.stati.size(); }
    std::size_t numero_trasformazioni() const { return m_def.trasformazioni.size(); }
    const DefinizioneStato& definizione_stato(std::size_t i) const { return m_def.stati[i]; }
    const StatoDiagramma& stato(std::size_t i) const { return m_stati[i]; }
    const DefinizioneTrasformazione& definizione_trasformazione(std::size_t i) const { return m_def.trasformazioni[i]; }
    const RisultatoTrasformazione& trasformazione(std::size_t i) const { return m_trasformazioni[i]; }
    // Position of the state or process `id` in its list; none when there is none so numbered.
    std::optional<std::size_t> indice_stato(int id) const;
    std::optional<std::size_t> indice_trasformazione(int id) const;
    // The state called `nome`, by id; 0 when none is.
    int id_stato(std::string_view nome) const;
    // The process that computes state `id`; none for a given state.
    std::optional<std::size_t> trasformazione_di(int id) const;

    // Edits, each one step of the undo stack.
    // A state at (t °C, x g/kg), named with the first free letter; its id.
    int aggiungi_punto(double t, double x);
    // A state typed from two quantities; refused (nothing added) when no air has them or the name is taken.
    Esito<int> aggiungi_stato(std::string nome, Noto a, Noto b);
    // A given state to (t, x) (it becomes a placed state); a process's outlet: the process's target.
    Fatto sposta(int id, double t, double x);
    Fatto rinomina(int id, std::string nome);
    // A state, with every process that uses or computes it and whatever follows from those.
    void elimina_stato(int id);
    // A process between existing states; its outlet (named with the first free letter) is added after them. The id
    // of the outlet (of the process for the free line); refused when the states do not fit the kind.
    Esito<int> aggiungi_trasformazione(DefinizioneTrasformazione t);
    // New parameters for the process of the same id (its states stay as they are).
    Fatto modifica_trasformazione(const DefinizioneTrasformazione& t);
    // A process, its outlet and whatever follows from it.
    void elimina_trasformazione(int id);

    // A drag: the states computed again at each move, one undo step at the end (none when nothing moved).
    void inizia_trascinamento(int id);
    Fatto trascina(double t, double x);
    void fine_trascinamento();
    int trascinato() const { return m_trascinato; }

    bool puo_annullare() const { return !m_annullabili.empty(); }
    bool puo_ripetere() const { return !m_ripetibili.empty(); }
    // The step undo or redo would take ("sposta A"); empty when none.
    std::string prossimo_annulla() const;
    std::string prossimo_ripeti() const;
    bool annulla();
    bool ripeti();

    // Steps kept for undo at most.
    static constexpr std::size_t passi_annullabili = 200;

private:
    struct Passo {
        std::string nome;
        DefinizioneDiagramma prima, dopo;
    };
    // Makes `nuova` the chart as the step `nome`.
    void applica(std::string nome, DefinizioneDiagramma nuova);
    // Computes every state and process again.
    void ricalcola();
    // Computes again state `id` (when given) and every process and state that follows from it; `processo`: from
    // that process on instead.
    void ricalcola_da(int id, bool processo);
    void calcola_dato(std::size_t i);
    void calcola_trasformazione(std::size_t k);
    // A name no state has: from `lettera` on (A, A2, ...), or the first free letter for 0.
    std::string nome_libero(char lettera = 0) const;
    // The states and processes that go with state `id` when it is deleted.
    DefinizioneDiagramma senza(const DefinizioneDiagramma& d, int id_stato, int id_trasformazione) const;
    Fatto sposta_in(DefinizioneDiagramma& d, int id, double t, double x) const;

    Aria m_aria;
    DefinizioneDiagramma m_def;
    std::vector<StatoDiagramma> m_stati;
    std::vector<RisultatoTrasformazione> m_trasformazioni;
    std::vector<Passo> m_annullabili, m_ripetibili;
    int m_trascinato = 0;
    DefinizioneDiagramma m_prima_trascinamento;
};

// The name of state `id` ("?" when there is none).
std::string nome_stato(const DiagrammaLibero& d, int id);

// The ranges a chart of `d` is drawn over: the standard chart's, widened to hold every state with a margin.
IntervalliGrafico intervalli_diagramma(const DiagrammaLibero& d);

} // namespace ondix
