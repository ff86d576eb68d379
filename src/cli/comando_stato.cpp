// "ondix-calc stato": the full state of air from two known properties, as the point report or JSON.
#include "cli/comando.h"
#include "cli/opzioni.h"
#include "core/esecuzione.h"
#include "core/numeri.h"
#include "core/rapporto.h"
#include "core/rtf.h"
#include "core/stato_aria.h"
#include "core/uscita_json.h"

#include <CLI/CLI.hpp>

#include <array>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ondix {

namespace {

constexpr const char* testo_spiegazione =
    R"txt(Give exactly two of --t (dry bulb, C), --ur (relative humidity, %), --x
(humidity ratio, g/kg), --h (enthalpy, kJ/kg), --tbu (wet bulb, C), --tr
(dew point, C). Every pair is accepted except x with tr and h with tbu,
which are not independent: the dew point follows from the humidity
ratio, and the wet bulb (the temperature of saturated air of the same
enthalpy, as the reports define it) from the enthalpy.

Output: the point-properties report (title, five property lines, wet
bulb and dew point), or with --json one object {"versione_formato", "t",
"ur", "x", "h", "v", "t_bulbo_umido", "t_rugiada", "pressione",
"rapporto"}. A wet bulb or dew point that is given is kept as given;
the others are the ones the point-properties report (KIND 4) gives for
the same state.

With --comfort met=M,clo=C,v=V[,tr=T][,lavoro=W] the report adds the
thermal comfort of a room at that state: PMV and PPD of ISO 7730 (the
mean radiant temperature tr is the air's unless given; the vapour
pressure is the state's), its category of EN 16798-1 (I, II, III, or
"nessuna" beyond III) and, when an input or the PMV lies outside the
ranges ISO 7730 validates, a line naming them (the values are computed
all the same); the JSON adds "comfort": {"pmv", "ppd", "categoria",
"schema", "fuori_limiti", "met", "clo", "v", "tr", "lavoro",
"categoria_zona"}. Beyond met 0.7 to 10, clo 0 to 4, v 0 to 5 m/s, tr -50
to 100 C or lavoro from 0 to below met the option is refused (exit
status 2).

A pair no air can have (ur over 100, a wet bulb or dew point above the
dry bulb, a humidity above saturation, a dry bulb outside -50 to 100 C)
is reported on standard error with the pair, and the exit status is 2.

For example:

  $ ondix-calc stato --t 26 --tbu 19
  $ ondix-calc stato --t 26 --tr 15 --quota 1500
  $ ondix-calc stato --h 50 --x 8 --json)txt";

// The options of the known quantities, in the order of Grandezza.
constexpr std::array<std::pair<const char*, const char*>, 6> opzioni_noti{{
    {"--t", "dry bulb, C"},
    {"--ur", "relative humidity, %"},
    {"--x", "humidity ratio, g/kg"},
    {"--h", "enthalpy, kJ/kg"},
    {"--tbu", "wet bulb, C"},
    {"--tr", "dew point, C"},
}};

// A known quantity (by its index in Grandezza) as a row of the report's inputs: its name, the text given, its unit.
RigaDocumento riga_noto(std::size_t grandezza, const std::string& testo) {
    static constexpr std::array<std::pair<const char*, const char*>, 6> nomi{{
        {"temperatura a bulbo secco", "°C"},
        {"umidità relativa", "%"},
        {"umidità specifica", "g/kg"},
        {"entalpia", "kJ/kg"},
        {"temperatura a bulbo umido", "°C"},
        {"temperatura di rugiada", "°C"},
    }};
    const auto& [voce, unita] = nomi[grandezza];
    return {voce, testo, unita};
}

class ComandoStato : public Comando {
public:
    std::string_view nome() const override { return "stato"; }
    std::string_view descrizione() const override { return "the full state of air from two known properties"; }
    std::string_view spiegazione() const override { return testo_spiegazione; }
    void dichiara(CLI::App& app) override;
    int esegui() override;

private:
    // The known quantities given, in the order of Grandezza; the reason when one is not a number or not two are
    // given.
    Esito<std::vector<Noto>> noti() const;

    std::array<std::string, 6> m_testi;
    std::array<CLI::Option*, 6> m_opzioni{};
    OpzioneJson m_json;
    OpzioniPressione m_pressione;
    OpzioneRtf m_rtf;
    OpzioniPdf m_pdf;
    OpzioneComfort m_comfort;
};

void ComandoStato::dichiara(CLI::App& app) {
    for (std::size_t i = 0; i < opzioni_noti.size(); ++i)
        m_opzioni[i] = app.add_option(opzioni_noti[i].first, m_testi[i], opzioni_noti[i].second);
    m_pressione.dichiara(app);
    m_rtf.dichiara(app);
    m_json.dichiara(app);
    m_pdf.dichiara(app);
    m_comfort.dichiara(app);
}

Esito<std::vector<Noto>> ComandoStato::noti() const {
    std::vector<Noto> noti;
    for (std::size_t i = 0; i < opzioni_noti.size(); ++i) {
        if (m_opzioni[i]->count() == 0) continue;
        const auto v = numero_intero_testo(m_testi[i]);
        if (!v)
            return Errore{Causa::dati, std::string(opzioni_noti[i].first) + ": \"" + testo_visibile(m_testi[i]) +
                                           "\" non è un numero"};
        noti.push_back({static_cast<Grandezza>(i), *v});
    }
    if (noti.size() != 2)
        return Errore{Causa::dati, "dare esattamente due fra --t, --ur, --x, --h, --tbu, --tr (date: " +
                                       std::to_string(noti.size()) + ")"};
    return noti;
}

int ComandoStato::esegui() {
    const auto noti = this->noti();
    if (!noti) return segnala(nome(), noti.errore());
    const auto aria = m_pressione.aria();
    if (!aria) return segnala(nome(), aria.errore());
    if (auto rtf = m_rtf.controlla(); !rtf) return segnala(nome(), rtf.errore());
    if (auto pdf = m_pdf.controlla(); !pdf) return segnala(nome(), pdf.errore());
    const auto comfort = m_comfort.richiesta();
    if (!comfort) return segnala(nome(), comfort.errore());

    const auto esito = stato_da_coppia((*noti)[0], (*noti)[1], *aria);
    if (!esito) return segnala(nome(), esito.errore());
    const StatoCompleto& s = *esito;
    Rapporto rapporto;
    for (std::string& riga : righe_aria(*aria))
        rapporto.aggiungi(std::move(riga));
    scrivi_stato(rapporto, s);
    std::optional<GiudizioComfort> giudizio;
    if (*comfort) {
        const auto c = comfort_stato(s, (*comfort)->occupanti, *aria);
        if (!c) return segnala(nome(), c.errore());
        giudizio = GiudizioComfort{*c, **comfort, (*comfort)->occupanti.tr.value_or(s.t)};
        scrivi_comfort(rapporto, *c, (*comfort)->occupanti, s.t);
    }
    if (m_json.chiesta()) {
        std::cout << stato_json(s, *aria, rapporto.righe(), giudizio ? &*giudizio : nullptr) << '\n';
    } else {
        for (const auto& riga : rapporto.righe())
            std::cout << riga << '\n';
    }
    if (auto scritto = scarica_uscita(); !scritto) return segnala(nome(), scritto.errore());
    if (m_rtf.chiesta())
        if (auto salvato = salva_rapporto_rtf(rapporto.righe(), m_rtf.file()); !salvato)
            return segnala({}, salvato.errore());
    if (m_pdf.chiesta()) {
        // The inputs are the two quantities given, as given.
        std::vector<RigaDocumento> ingressi;
        for (std::size_t i = 0; i < m_opzioni.size(); ++i)
            if (m_opzioni[i]->count() > 0) ingressi.push_back(riga_noto(i, m_testi[i]));
        const Documento d = documento_rapporto("STATO DELL'ARIA", std::move(ingressi), rapporto.righe(), *aria,
                                               m_pdf.intestazione(m_pressione.quota()), ONDIX_VERSIONE);
        if (auto scritta = scrivi_pdf(d, nullptr, std::nullopt, {}, m_pdf.file()); !scritta)
            return segnala(nome(), scritta.errore());
    }
    return 0;
}

} // namespace

std::unique_ptr<Comando> comando_stato() {
    return std::make_unique<ComandoStato>();
}

} // namespace ondix
