#include "cli/comandi.h"

#include "cli/esecuzione.h"
#include "cli/uscita_json.h"
#include "core/numeri.h"
#include "core/rapporto.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#ifdef ONDIX_CON_GRAFICO
#include "chart/nuvola.h"
#include "chart/opzioni_grafico.h"
#include "cli/grafico.h"
#endif

namespace ondix {

int scarica_uscita() {
    errno = 0;
    std::cout.flush();
    return std::cout ? -1 : errno;
}

void segnala_uscita(const char* prefisso, int codice) {
    std::cerr << prefisso << "cannot write the output";
    if (codice > 0) std::cerr << ": " << std::strerror(codice);
    std::cerr << '\n';
}

int esegui_stato(const RichiestaStato& r) {
    if (r.noti.size() != 2) {
        std::cerr << "ondix-calc: stato: give exactly two of --t, --ur, --x, --h, --tbu, --tr (" << r.noti.size()
                  << " given)\n";
        return 2;
    }
    const auto esito = stato_da_coppia(r.noti[0], r.noti[1], r.aria);
    if (const auto* m = std::get_if<std::string>(&esito)) {
        std::cerr << "ondix-calc: stato: " << *m << '\n';
        return 2;
    }
    const StatoCompleto& s = std::get<StatoCompleto>(esito);
    Rapporto rapporto;
    if (r.aria.modello) rapporto.aggiungi(riga_modello(r.aria));
    if (r.aria.pressione != pressione_atmosferica) rapporto.aggiungi(riga_pressione(r.aria));
    scrivi_stato(rapporto, s);
    if (r.json) {
        std::cout << stato_json(s, r.aria, rapporto.righe()) << '\n';
    } else {
        for (const auto& riga : rapporto.righe())
            std::cout << riga << '\n';
    }
    if (const int errore_uscita = scarica_uscita(); errore_uscita >= 0) {
        segnala_uscita("ondix-calc: stato: ", errore_uscita);
        return 2;
    }
    if (!r.rtf.empty()) {
        if (const auto errore = salva_rapporto_rtf(rapporto.righe(), r.rtf)) {
            std::cerr << "ondix-calc: " << *errore << '\n';
            return 2;
        }
    }
    return 0;
}

namespace {

// The pressure line of the summary.
std::string testo_pressione(const OpzioniStati& o, double somma, std::size_t n) {
    if (o.pressione_da_file)
        return "della stazione, ora per ora (media " + (n ? formatta(somma / static_cast<double>(n), 0, 0) : "-") +
               " Pa)";
    return formatta(o.aria.pressione, 0, 0) + " Pa";
}

} // namespace

int esegui_stati(RichiestaStati r) {
#ifdef ONDIX_CON_GRAFICO
    OpzioniGrafico strati;
    strati.mollier = r.mollier;
    if (r.isolinee)
        if (const auto errore = leggi_isolinee(*r.isolinee, strati)) {
            std::cerr << "ondix-calc: stati: --isolinee: " << testo_visibile(*errore) << '\n';
            return 2;
        }
#endif
    std::ios::sync_with_stdio(false);
    std::ifstream da_file;
    std::istream* in = &std::cin;
    std::string nome = "<stdin>";
    if (!r.file.empty() && r.file != "-") {
        nome = r.file;
        std::error_code ec;
        if (std::filesystem::is_directory(r.file, ec)) {
            std::cerr << "ondix-calc: stati: " << testo_visibile(r.file) << " is a directory\n";
            return 2;
        }
        da_file.open(r.file, std::ios::binary);
        if (!da_file) {
            std::cerr << "ondix-calc: stati: cannot open " << testo_visibile(r.file) << ": " << std::strerror(errno)
                      << '\n';
            return 2;
        }
        in = &da_file;
    }

    Riepilogo riepilogo(r.soglie);
    double somma_pressioni = 0;
    std::size_t stati = 0;
#ifdef ONDIX_CON_GRAFICO
    std::vector<PuntoNuvola> nuvola;
#endif
    const bool raccogli = r.riepilogo || !r.grafico.empty();
    std::string localita;
    if (raccogli) {
        r.opzioni.scrivi_righe = !r.riepilogo;
        r.opzioni.descrizione = &localita;
        r.opzioni.per_ogni_stato = [&](const StatoAria& s, Aria a) {
            somma_pressioni += a.pressione;
            ++stati;
            if (r.riepilogo) riepilogo.aggiungi(s);
#ifdef ONDIX_CON_GRAFICO
            if (!r.grafico.empty()) nuvola.push_back({s.t, s.x});
#endif
        };
    }

    const EsitoStati esito = calcola_stati(*in, std::cout, std::cerr, r.opzioni, nome);
    if (r.riepilogo && !esito.errore)
        for (const auto& riga :
             riepilogo.righe(testo_visibile(nome), localita, testo_pressione(r.opzioni, somma_pressioni, stati),
                             esito.scartate))
            std::cout << riga << '\n';
    const int errore_uscita = scarica_uscita();
    if (esito.errore) {
        std::cerr << "ondix-calc: stati: " << *esito.errore << '\n';
    } else if (errore_uscita >= 0) {
        segnala_uscita("ondix-calc: stati: ", errore_uscita);
        return 2;
    }
    if (esito.scartate > 0)
        std::cerr << "ondix-calc: stati: " << esito.scartate << " of " << esito.scritte + esito.scartate
                  << " rows skipped\n";
#ifdef ONDIX_CON_GRAFICO
    if (!r.grafico.empty() && !esito.errore) {
        // With every row at its own pressure, the saturation curve is drawn at their mean.
        Aria aria = r.opzioni.aria;
        if (r.opzioni.pressione_da_file && stati > 0) aria.pressione = somma_pressioni / static_cast<double>(stati);
        strati.pressione = aria.pressione;
        strati.modello = aria.modello;
        if (strati.qualcuno() || aria.modello)
            strati.titolo = std::filesystem::path(nome).filename().string() + " - " +
                            riga_titolo(0, aria.pressione, aria.modello);
        if (const auto errore = esporta_nuvola_modulo(nuvola, aria, r.grafico, strati)) {
            std::cerr << "ondix-calc: " << *errore << '\n';
            return 2;
        }
    }
#endif
    return codice_uscita_stati(esito);
}

} // namespace ondix
