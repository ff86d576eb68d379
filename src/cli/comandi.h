// The subcommands of ondix-calc beyond a single calculation: a state from two properties, and the batch.
#pragma once

#include "cli/riepilogo.h"
#include "cli/stati.h"
#include "core/aria_umida.h"
#include "core/stato_aria.h"

#include <optional>
#include <string>
#include <vector>

namespace ondix {

// Sends what is still buffered to standard output. Returns -1 when everything was written, else the errno of the
// failed write (0 when the system gave none).
int scarica_uscita();

// "PREFIXcannot write the output: REASON" on standard error, for the errno `codice` of scarica_uscita.
void segnala_uscita(const char* prefisso, int codice);

struct RichiestaStato {
    std::vector<Noto> noti; // in the order given
    Aria aria;
    bool json = false;
    std::string rtf; // save the report there as well, when not empty
};

// "ondix-calc stato": the full state of two known properties as the point report (or JSON) on standard output.
// Exit status 0, or 2 with a message on standard error when the pair gives no state or the RTF cannot be saved.
int esegui_stato(const RichiestaStato& r);

struct RichiestaStati {
    std::string file = "-";
    OpzioniStati opzioni;
    bool riepilogo = false;
    std::vector<Soglia> soglie;
    std::string grafico; // chart file, when not empty
    // The chart's layers: isolines by family names ("ur,h,tbu,v" or "tutte"), the Mollier view.
    std::optional<std::string> isolinee;
    bool mollier = false;
};

// "ondix-calc stati": the exit status of codice_uscita_stati, or 2 when the file cannot be read or written.
int esegui_stati(RichiestaStati r);

} // namespace ondix
