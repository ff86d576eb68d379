#include "core/maschera.h"

#include <algorithm>
#include <initializer_list>

namespace ondix {

namespace {

struct Campo {
    int n; // 1–10
    const char* etichetta;
    const char* predefinito;
};

struct Impostazione {
    int tipo;
    const char* titolo;
    std::uint8_t codice;
    std::initializer_list<Campo> visibili;           // shown, with label and default
    std::initializer_list<int> nascosti;             // fields (label and box) hidden
    std::initializer_list<Campo> nascosti_con_testo; // receive texts but stay hidden (nullptr: keep)
    bool umidita_visibile;
    bool portata_visibile;
};

const Impostazione impostazioni[] = {
    {1,
     "MISCELAZIONE",
     1,
     {{1, "temperatura   1[C]:", "27"},
      {2, "umidita       1:", "50"},
      {3, "portata       1:", "8000"},
      {4, "temperatura   2[C]:", "32"},
      {5, "umidita       2:", "60"},
      {6, "portata       2:", "3000"}},
     {7, 8, 9},
     {},
     true,
     true},
    {2,
     "RISCALDAMENTO-RAFFREDDAMENTO SENSIBILE",
     2,
     {{1, "temperatura      1[C]:", "20"},
      {2, "umidita             1:", "50"},
      {3, "portata              :", "1200"},
      {4, "temperatura      2[C]:", "45"}},
     {5, 6, 7, 8, 9},
     {},
     true,
     true},
    {3,
     "UMIDIFICAZIONE ADIABATICA",
     10,
     {{1, "temperatura iniziale    [C] :", "30"},
      {2, "umidita     iniziale    [%] :", "30"},
      {3, "temperatura h2O         [C] :", "20"},
      {4, "efficienza umidificazione[%]:", "75"}},
     {5, 6, 7, 8, 9},
     {},
     true,
     false},
    {4,
     "PROPRIETA DEL PUNTO",
     0,
     {{1, "temperatura     [C] :", "20"}, {2, "umidita             :", "50"}},
     {3, 4, 5, 6, 7, 8, 9},
     {},
     true,
     false},
    {5,
     "RAFFREDDAMENTO CON CONDENSAZIONE",
     3,
     {{1, "temperatura  aria [C]:", "27"},
      {2, "umidita          :", "50"},
      {3, "portata              :", "1000"},
      {4, "temperatura  batteria[C]:", "12"},
      {5, "FATTORE BYPASS       :", "0.2"}},
     {6, 7, 8, 9},
     {{6, nullptr, "2000"}},
     true,
     true},
    {6,
     "CICLO ESTIVO",
     4,
     {{1, "temperatura ambiente[C]:", "27"},
      {2, "umidita     ambiente[%]:", "50"},
      {3, "temperatura esterna [C]:", "32"},
      {4, "umidita     esterna [%]:", "60"},
      {5, "rapporto aria est/totale   :", "0.25"},
      {6, "Potenza termica sensib   [w]:", "10500"},
      {7, "Temperatura batteria     [C]:", "10"},
      {8, "Potenza termica latente  [w]:", "4500"}},
     {9},
     {{9, "FATTORE DI BYPASS          :", "0.58"}},
     false,
     false},
    {7,
     "CICLO INVERNALE",
     6,
     {{1, "temperatura ambiente [C]:", "21"},
      {2, "umidita     ambiente [%]:", "50"},
      {3, "temperatura esterna  [C]:", "-5"},
      {4, "umidita     esterna  [%]:", "90"},
      {5, "rapporto aria est/totale    :", "0.2"},
      {6, "Potenza sensibile ambiente[w]:", "5000"},
      {7, "Potenza latente ambiente  [w]:", "-500"},
      {8, "temperatura preriscaldam  [C]:", "0"},
      {9, "temperatura postriscaldam [C]:", "39"}},
     {},
     {{10, "EFFICIENZA % UMIDIFICAZIONE:  ", "65"}},
     false,
     false},
    {13,
     "UMIDIFICAZIONE CON VAPORE",
     10,
     {{1, "temperatura iniziale[C]:", "30"},
      {2, "umid specif iniziale[g/kg] :", "7"},
      {3, "temperatura vapore  [C]:", "80"},
      {4, "umid specif finale  [g/kg]:", "15"}},
     {5, 6, 7, 8, 9},
     {},
     false,
     false},
    {17,
     "CICLO INVERNALE CON UMIDIFICAZIONE CON VAPORE",
     7,
     {{1, "temperatura ambiente     [C]:", "21"},
      {2, "umidita ambiente relativa[%]:", "50"},
      {3, "temperatura esterna      [C]:", "-5"},
      {4, "umidita     esterna      [%]:", "90"},
      {5, "rapporto aria est/totale    :", "0.5"},
      {6, "Potenza sensib   ambiente[w]:", "-5000"},
      {7, "Potenza latente ambiente [w]:", "500"},
      {8, "temperatura riscaldamento[C]:", "35"},
      {9, "temperatura vapore       [C]:", "80"}},
     {},
     {},
     false,
     false},
    {21,
     "CICLO ESTIVO:VERIFICA",
     5,
     {{1, "temperatura ambiente[C]:", "27"},
      {2, "umidita     ambiente[%]:", "50"},
      {3, "temperatura esterna [C]:", "32"},
      {4, "umidita     esterna [%]:", "60"},
      {5, "rapporto aria est/totale   :", "0.25"},
      {7, "Temperatura batteria     [C]:", "10"},
      {8, "Portata aria   [kg/h]:", "1500"},
      {9, "FATTORE DI BYPASS          :", "0.2"}},
     {6},
     {},
     false,
     false},
};

const Impostazione* trova(int tipo) {
    for (const auto& i : impostazioni)
        if (i.tipo == tipo) return &i;
    return nullptr;
}

} // namespace

bool tipo_valido(int tipo) {
    return trova(tipo) != nullptr;
}

StatoMaschera::StatoMaschera() {
    for (int i = 0; i < 10; ++i) {
        testo[static_cast<std::size_t>(i)] = "Edit" + std::to_string(i + 1);
        etichetta[static_cast<std::size_t>(i)] = "StaticText" + std::to_string(i + 1);
    }
    testo_visibile.fill(true);
    etichetta_visibile.fill(true);
}

std::string_view titolo_processo(int tipo) {
    const Impostazione* i = trova(tipo);
    return i ? i->titolo : "";
}

std::optional<std::uint8_t> codice_grafico_processo(int tipo) {
    const Impostazione* i = trova(tipo);
    if (!i) return std::nullopt;
    return i->codice;
}

std::optional<std::uint8_t> imposta_maschera(int tipo, StatoMaschera& m) {
    m.umidita = 0;
    m.portata = 0;
    m.umidita_visibile = true;
    m.portata_visibile = true;
    m.etichetta_visibile[8] = false;
    m.etichetta_visibile[9] = false;
    m.testo_visibile[9] = false;

    const Impostazione* imp = trova(tipo);
    if (!imp) return std::nullopt;
    m.titolo = imp->titolo;
    for (const int n : imp->nascosti) {
        m.etichetta_visibile[static_cast<std::size_t>(n - 1)] = false;
        m.testo_visibile[static_cast<std::size_t>(n - 1)] = false;
    }
    for (const Campo& c : imp->visibili) {
        const auto k = static_cast<std::size_t>(c.n - 1);
        m.etichetta[k] = c.etichetta;
        m.testo[k] = c.predefinito;
        m.etichetta_visibile[k] = true;
        m.testo_visibile[k] = true;
    }
    for (const Campo& c : imp->nascosti_con_testo) {
        const auto k = static_cast<std::size_t>(c.n - 1);
        if (c.etichetta) m.etichetta[k] = c.etichetta;
        if (c.predefinito) m.testo[k] = c.predefinito;
    }
    m.umidita_visibile = imp->umidita_visibile;
    m.portata_visibile = imp->portata_visibile;
    return imp->codice;
}

} // namespace ondix
