// "ondix-calc apri": a calculation file of the desktop program recomputed without windows.
#include "cli/comando.h"
#include "cli/opzioni.h"
#include "core/file_calcolo.h"
#include "core/modello.h"
#include "core/numeri.h"

#include <CLI/CLI.hpp>

#include <string>

namespace ondix {

namespace {

constexpr const char* testo_spiegazione =
    R"txt(FILE is a calculation saved by the input form ("Salva calcolo", a .ondix
file): the process, the ten input texts, the option groups, the site
pressure and model, the chart's layers and the report's title block.
The calculation runs as "ondix-calc KIND" runs it with the same inputs,
and prints the same report or JSON. --grafico and --pdf draw the chart
with the file's layers unless --isolinee or --mollier are given; the
PDF's title block is the file's, each field replaced by the option that
gives it.

A working chart saved by the "Diagramma libero" window is computed as
the window computes it: the table of its states (t, ur, x, h, v, wet
bulb, dew point, flow, fog) and of its processes (parameters, enthalpy
and humidity-ratio change, power per kg/h, and at a flow power and
water) is printed, or with --json every number; --grafico and --pdf
draw the chart. A process that cannot exist is a line with its reason,
also said on standard error, and the exit status is then 4.

A file that is not a calculation, is damaged or holds a value out of
range is refused with the reason, exit status 2; so is a file of a later
version of the format than this program reads.

For example:

  $ ondix-calc apri estivo.ondix
  $ ondix-calc apri estivo.ondix --pdf estivo.pdf --autore "M. Rossi")txt";

class ComandoApri : public Comando {
public:
    std::string_view nome() const override { return "apri"; }
    std::string_view descrizione() const override { return "recompute a saved calculation or working chart"; }
    std::string_view spiegazione() const override { return testo_spiegazione; }
    void dichiara(CLI::App& app) override;
    int esegui() override;

private:
    std::string m_file;
    OpzioneJson m_json;
    OpzioneRtf m_rtf;
    OpzioniDisegno m_disegno;
    OpzioniPdf m_pdf;
};

void ComandoApri::dichiara(CLI::App& app) {
    app.add_option("FILE", m_file, "the calculation file (.ondix)")->required();
    m_json.dichiara(app);
    m_rtf.dichiara(app);
    m_disegno.dichiara(app, "also draw the chart into FILE (.png, .svg or .pdf), as the chart window shows it at "
                            "1024 x 768");
    m_pdf.dichiara(app);
}

int ComandoApri::esegui() {
    auto disegno = m_disegno.richiesta(m_pdf.chiesta());
    if (!disegno) return segnala(nome(), disegno.errore());
    if (auto rtf = m_rtf.controlla(); !rtf) return segnala(nome(), rtf.errore());
    if (auto pdf = m_pdf.controlla(); !pdf) return segnala(nome(), pdf.errore());
    const auto f = apri_calcolo(m_file);
    if (!f) return segnala(nome(), Errore{Causa::dati, f.errore().testo});

    UsciteCalcolo uscite;
    uscite.json = m_json.chiesta();
    if (m_rtf.chiesta()) uscite.rtf = m_rtf.file();
    uscite.disegno = *disegno;
    // The file's layers, unless the command line gives its own.
    if (!uscite.disegno.isolinee && !uscite.disegno.mollier) {
        std::string nomi;
        for (const std::string& n : f->isolinee)
            nomi += (nomi.empty() ? "" : ",") + n;
        if (!nomi.empty()) uscite.disegno.isolinee = nomi;
        uscite.disegno.mollier = f->mollier;
        if (auto letti = controlla_disegno(uscite.disegno); !letti)
            return segnala(nome(), Errore{Causa::dati, testo_visibile(m_file) + ": " + letti.errore().testo});
    }
    if (m_pdf.chiesta()) {
        uscite.pdf = m_pdf.file();
        uscite.intestazione = m_pdf.intestazione(f->quota, f->intestazione);
    }
    if (f->diagramma) return stampa_diagramma(*f, uscite);

    RichiestaCalcolo richiesta;
    richiesta.tipo = f->processo;
    for (std::size_t i = 0; i < f->testi.size(); ++i)
        richiesta.testi[i] = f->testi[i];
    richiesta.umidita = f->umidita;
    richiesta.portata = f->portata;
    richiesta.risposta = f->risposta;
    richiesta.aria = aria_del_calcolo(*f);

    return stampa_calcolo(richiesta, uscite);
}

} // namespace

std::unique_ptr<Comando> comando_apri() {
    return std::make_unique<ComandoApri>();
}

} // namespace ondix
