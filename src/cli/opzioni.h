// The options several commands share, each declared and checked in one place: the pressure (--pressione,
// --quota), the output as JSON (--json), the report's RTF file (--rtf) and the chart (--grafico, --isolinee,
// --mollier).
#pragma once

#include "cli/disegno.h"
#include "core/aria_umida.h"
#include "core/comfort.h"
#include "core/documento.h"
#include "core/esito.h"
#include "core/richiesta_aria.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace ondix {

// --pressione PA and --quota M (the altitude tool's table, -250 to 3000 m), either or neither, and --modello NAME
// (the moist-air model; none: the program's correlations): the air a command calculates in.
class OpzioniPressione {
public:
    // `per_riga`: --pressione also takes "file", each row's own pressure.
    void dichiara(CLI::App& app, bool per_riga = false);
    // What the options given ask of the air, as typed.
    RichiestaAria richiesta() const;
    // The air of the options given; the reason when a value is not a number, is out of range, both pressures are
    // given, or the model is not one of the program's.
    Esito<Aria> aria() const;
    // --pressione file was given.
    bool per_riga() const;
    // The altitude of --quota, m, when it was given as a number.
    std::optional<double> quota() const;

private:
    std::string m_pressione, m_quota, m_modello;
    CLI::Option* m_opzione_pressione = nullptr;
    CLI::Option* m_opzione_quota = nullptr;
    CLI::Option* m_opzione_modello = nullptr;
};

// --json: one JSON object instead of the report.
class OpzioneJson {
public:
    void dichiara(CLI::App& app);
    bool chiesta() const { return m_json; }

private:
    bool m_json = false;
};

// --rtf FILE: the report saved as the report window saves it.
class OpzioneRtf {
public:
    void dichiara(CLI::App& app);
    // Given (with a name: an empty name is refused by controlla).
    bool chiesta() const;
    Fatto controlla() const;
    const std::string& file() const { return m_file; }

private:
    std::string m_file;
    CLI::Option* m_opzione = nullptr;
};

// --grafico FILE, --isolinee LIST, --mollier: declared only in a build that draws charts.
class OpzioniDisegno {
public:
    // `cosa`: the help's words for what --grafico draws.
    void dichiara(CLI::App& app, const char* cosa);
    // The options given, checked: an empty file name, or --isolinee or --mollier without --grafico (or another
    // drawing, `altro_disegno`, such as --pdf), is refused.
    Esito<RichiestaDisegno> richiesta(bool altro_disegno = false) const;

private:
    RichiestaDisegno m_richiesta;
    std::string m_isolinee;
    CLI::Option* m_opzione_file = nullptr;
    CLI::Option* m_opzione_isolinee = nullptr;
};

// --pdf FILE and the title block's fields --progetto, --sito, --autore, --revisione, --data: declared only in a
// build that draws charts.
class OpzioniPdf {
public:
    void dichiara(CLI::App& app);
    // --pdf given.
    bool chiesta() const;
    // An empty file name, or a title-block field without --pdf, is refused.
    Fatto controlla() const;
    const std::string& file() const { return m_file; }
    // The title block `base` with the fields given put in, and the site's altitude `quota` (m) when known.
    Intestazione intestazione(std::optional<double> quota, Intestazione base = {}) const;

private:
    std::string m_file;
    Intestazione m_intestazione;
    CLI::Option* m_opzione = nullptr;
    // --progetto, --sito, --autore, --revisione, --data.
    std::array<CLI::Option*, 5> m_campi{};
};

// What --comfort asks: the occupants, and the category whose |PMV| limit bounds the chart's comfort zone.
// --comfort met=M,clo=C,v=V[,tr=T][,lavoro=W][,cat=I|II|III]: the room judged by the comfort model.
class OpzioneComfort {
public:
    void dichiara(CLI::App& app);
    // The request given, checked; none without the option. The reason when a key is unknown, repeated or missing,
    // or a value is not a number or no body or room can have it.
    Esito<std::optional<RichiestaComfort>> richiesta() const;

private:
    std::string m_testo;
    CLI::Option* m_opzione = nullptr;
};

} // namespace ondix
