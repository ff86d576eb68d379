#include "ui/suggerimenti.h"

namespace ondix {

namespace {

struct Suggerimento {
    int tipo;
    int n;
    const char* testo;
};

const char* const umidita = "umidità: relativa in % (da 0 a 100) o specifica in g/kg, secondo il gruppo \"umidita\"";
const char* const portata =
    "portata: volumetrica in m³/h o ponderale in kg/h di aria secca, secondo il gruppo \"portata\"";
const char* const frazione = "frazione di aria esterna nella portata totale, da 0 a 1";

constexpr const char* estivo_qs = "carico sensibile estivo dell'ambiente, W: positivo quando l'ambiente riceve calore";
constexpr const char* estivo_ql = "carico latente estivo dell'ambiente, W: positivo quando l'ambiente riceve vapore";

const Suggerimento suggerimenti[] = {
    {1, 1, "temperatura della corrente 1 (E sul diagramma), °C"},
    {1, 2, umidita},
    {1, 3, portata},
    {1, 4, "temperatura della corrente 2 (A sul diagramma), °C"},
    {1, 5, umidita},
    {1, 6, portata},
    {2, 1, "temperatura in ingresso, °C"},
    {2, 2, umidita},
    {2, 3, portata},
    {2, 4, "temperatura in uscita, °C: più alta riscalda, più bassa raffredda (potenza negativa)"},
    {3, 1, "temperatura dell'aria in ingresso, °C"},
    {3, 2, umidita},
    {3, 3, "temperatura dell'acqua spruzzata, °C"},
    {3, 4, "efficienza dell'umidificatore, % da 0 a 100"},
    {4, 1, "temperatura a bulbo secco, °C"},
    {4, 2, umidita},
    {5, 1, "temperatura dell'aria in ingresso, °C"},
    {5, 2, umidita},
    {5, 3, portata},
    {5, 4, "temperatura superficiale della batteria, °C"},
    {5, 5, "fattore di bypass, da 0 (tutta l'aria tocca la batteria) a 1 (nessuna)"},
    {6, 1, "temperatura dell'ambiente, °C"},
    {6, 2, "umidità relativa dell'ambiente, %"},
    {6, 3, "temperatura esterna, °C"},
    {6, 4, "umidità relativa esterna, %"},
    {6, 5, frazione},
    {6, 6, estivo_qs},
    {6, 7, "temperatura superficiale della batteria, °C"},
    {6, 8, estivo_ql},
    {7, 1, "temperatura dell'ambiente, °C"},
    {7, 2, "umidità relativa dell'ambiente, %"},
    {7, 3, "temperatura esterna, °C"},
    {7, 4, "umidità relativa esterna, %"},
    {7, 5, frazione},
    {7, 6,
     "carico di riscaldamento, W: POSITIVO in questo ciclo (predefinito 5000); il ciclo con umidificazione a "
     "vapore usa il segno opposto"},
    {7, 7, "carico latente, W, con il segno opposto al sensibile (predefinito -500)"},
    {7, 8, "temperatura di preriscaldamento, °C; 0: la cerca il programma"},
    {7, 9, "temperatura di postriscaldamento, °C; 0: nessun postriscaldamento"},
    {13, 1, "temperatura dell'aria in ingresso, °C"},
    {13, 2, "umidità specifica in ingresso, g/kg"},
    {13, 3, "temperatura del vapore, °C"},
    {13, 4, "umidità specifica voluta in uscita, g/kg"},
    {17, 1, "temperatura dell'ambiente, °C"},
    {17, 2, "umidità relativa dell'ambiente, %"},
    {17, 3, "temperatura esterna, °C"},
    {17, 4, "umidità relativa esterna, %"},
    {17, 5, frazione},
    {17, 6,
     "carico sensibile, W: NEGATIVO per il riscaldamento in questo ciclo (predefinito -5000); il ciclo "
     "invernale usa il segno opposto"},
    {17, 7, "carico latente, W, con il segno opposto al sensibile (predefinito 500)"},
    {17, 8, "temperatura dopo il riscaldamento, °C"},
    {17, 9, "temperatura del vapore, °C"},
    {21, 1, "temperatura dell'ambiente, °C"},
    {21, 2, "umidità relativa dell'ambiente, %"},
    {21, 3, "temperatura esterna, °C"},
    {21, 4, "umidità relativa esterna, %"},
    {21, 5, frazione},
    {21, 7, "temperatura superficiale della batteria, °C"},
    {21, 8, "portata dell'aria, kg/h di aria secca"},
    {21, 9, "fattore di bypass della batteria, da 0 a 1"},
};

} // namespace

QString suggerimento_campo(int tipo, int n) {
    for (const Suggerimento& s : suggerimenti)
        if (s.tipo == tipo && s.n == n) return QString::fromUtf8(s.testo);
    return {};
}

} // namespace ondix
