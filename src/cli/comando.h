// The commands of ondix-calc: each declares its own options and runs once the command line is read; main() only
// builds the command line from them and dispatches.
#pragma once

#include "cli/disegno.h"
#include "cli/opzioni.h"
#include "core/documento.h"
#include "core/esecuzione.h"
#include "core/esito.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
}

namespace ondix {

class Comando {
public:
    virtual ~Comando() = default;
    // The subcommand's name ("stato"); empty for the program's own command, the single calculation.
    virtual std::string_view nome() const = 0;
    // One line for the list of subcommands.
    virtual std::string_view descrizione() const = 0;
    // The text after the options in the command's --help.
    virtual std::string_view spiegazione() const = 0;
    // Declares the command's options on `app`: the program itself, or the subcommand's own.
    virtual void dichiara(CLI::App& app) = 0;
    // Runs with the options read; the exit status.
    virtual int esegui() = 0;
};

// "ondix-calc KIND": one calculation of the desktop program.
std::unique_ptr<Comando> comando_calcolo();
// "ondix-calc stato": a state from two properties.
std::unique_ptr<Comando> comando_stato();
// "ondix-calc stati": the batch.
std::unique_ptr<Comando> comando_stati();
// "ondix-calc uta": an air-handling unit from a file.
std::unique_ptr<Comando> comando_uta();

// "ondix-calc apri": a calculation file recomputed.
std::unique_ptr<Comando> comando_apri();

// The subcommands, in the order the help lists them.
inline std::vector<std::unique_ptr<Comando>> sottocomandi() {
    std::vector<std::unique_ptr<Comando>> c;
    c.push_back(comando_stato());
    c.push_back(comando_stati());
    c.push_back(comando_uta());
    c.push_back(comando_apri());
    return c;
}

// What a single calculation writes: the report or JSON on standard output, and the files asked for.
struct UsciteCalcolo {
    bool json = false;
    std::optional<std::string> rtf;
    RichiestaDisegno disegno; // the chart file (empty: none) and the layers of the chart and the PDF's chart
    std::optional<std::string> pdf;
    Intestazione intestazione;               // the PDF's title block
    std::optional<RichiestaComfort> comfort; // the room state judged by the comfort model, when asked
};

// Runs one calculation and writes what `uscite` asks; the exit status.
int stampa_calcolo(const RichiestaCalcolo& richiesta, const UsciteCalcolo& uscite);

struct FileCalcolo;
// Computes the working chart of the calculation file `f` and writes what `uscite` asks: its table as text (or JSON),
// the RTF, the PDF and the chart. The exit status: 4 when a process of the chart is refused.
int stampa_diagramma(const FileCalcolo& f, const UsciteCalcolo& uscite);

// Exit status of a failure of this kind: 2 unusable input or output, 3 a floating-point error, 4 no possible
// plant.
int codice_uscita(Causa c);

// "ondix-calc: PREFIX: TEXT" (or "ondix-calc: TEXT" without a prefix) on standard error; returns the failure's
// exit status.
int segnala(std::string_view prefisso, const Errore& e);

// "ondix-calc: PREFIX: MOTIVO; FILE non è stato scritto" on standard error (without "PREFIX: " when it is empty):
// a file asked for that the calculation left nothing to write into. FILE is shown escaped (testo_visibile).
void segnala_non_scritto(std::string_view prefisso, std::string_view motivo, const std::string& file);

// Sends what is still buffered to standard output: done, or the failure with the system's reason (`motivo`, the
// errno of an earlier failed write, when the flush gives none).
Fatto scarica_uscita(int motivo = 0);

} // namespace ondix
