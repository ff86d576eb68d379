// What "ondix-calc apri" writes for a working chart: its table as text or JSON, and the files asked for.
#include "cli/comando.h"
#include "cli/disegno.h"
#include "core/diagramma_libero_tabella.h"
#include "core/file_calcolo.h"
#include "core/numeri.h"
#include "core/rtf.h"

#include <iostream>

namespace ondix {

int stampa_diagramma(const FileCalcolo& f, const UsciteCalcolo& uscite) {
    DiagrammaLibero d(aria_del_calcolo(f));
    if (Fatto caricato = d.carica(*f.diagramma); !caricato) return segnala("apri", caricato.errore());
    const std::vector<std::string> righe = righe_diagramma(d);
    int codice = 0;
    if (uscite.json) {
        std::cout << json_diagramma(d) << '\n';
    } else {
        // A process no plant can run is a line of the table with its reason; it is also said as the processes say
        // it, and the exit status is theirs.
        for (std::size_t k = 0; k < d.numero_trasformazioni(); ++k)
            if (const auto& r = d.trasformazione(k).rifiuto)
                std::cerr << "messaggio: " << nome_trasformazione(d.definizione_trasformazione(k).tipo) << " da "
                          << nome_stato(d, d.definizione_trasformazione(k).da) << ": " << r->testo << '\n';
        for (const auto& riga : righe)
            std::cout << riga << '\n';
    }
    for (std::size_t k = 0; k < d.numero_trasformazioni(); ++k)
        if (d.trasformazione(k).rifiuto) codice = codice_uscita(Causa::impianto);
    if (const Fatto scritto = scarica_uscita(); !scritto) return segnala({}, scritto.errore());
    if (uscite.rtf)
        if (auto salvato = salva_rapporto_rtf(righe, *uscite.rtf); !salvato) return segnala({}, salvato.errore());
    if (uscite.pdf)
        if (auto scritta = scrivi_pdf_diagramma(documento_diagramma(d, uscite.intestazione, ONDIX_VERSIONE), d,
                                                uscite.disegno, *uscite.pdf);
            !scritta)
            return segnala({}, scritta.errore());
    if (!uscite.disegno.file.empty())
        if (auto disegnato = disegna_diagramma(d, uscite.disegno); !disegnato) return segnala({}, disegnato.errore());
    return codice;
}

} // namespace ondix
