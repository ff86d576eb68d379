#include "core/maschera.h"

#include <gtest/gtest.h>

using namespace ondix;

namespace {
// Visible boxes as a string of '1'/'0' for Edit1 … Edit10.
std::string visibili(const StatoMaschera& m) {
    std::string s;
    for (bool v : m.testo_visibile)
        s += v ? '1' : '0';
    return s;
}
} // namespace

TEST(Maschera, EveryKindHasItsTitleCodeAndVisibleBoxes) {
    struct Caso {
        int tipo;
        const char* titolo;
        int codice;
        const char* caselle;
        bool umidita, portata;
    };
    const Caso casi[] = {
        {1, "MISCELAZIONE", 1, "1111110000", true, true},
        {2, "RISCALDAMENTO-RAFFREDDAMENTO SENSIBILE", 2, "1111000000", true, true},
        {3, "UMIDIFICAZIONE ADIABATICA", 10, "1111000000", true, false},
        {4, "PROPRIETA DEL PUNTO", 0, "1100000000", true, false},
        {5, "RAFFREDDAMENTO CON CONDENSAZIONE", 3, "1111100000", true, true},
        {6, "CICLO ESTIVO", 4, "1111111100", false, false},
        {7, "CICLO INVERNALE", 6, "1111111110", false, false},
        {13, "UMIDIFICAZIONE CON VAPORE", 10, "1111000000", false, false},
        {17, "CICLO INVERNALE CON UMIDIFICAZIONE CON VAPORE", 7, "1111111110", false, false},
        {21, "CICLO ESTIVO:VERIFICA", 5, "1111101110", false, false},
    };
    for (const Caso& c : casi) {
        StatoMaschera m;
        m.umidita = 1;
        m.portata = 1;
        const auto codice = imposta_maschera(c.tipo, m);
        ASSERT_TRUE(codice) << c.tipo;
        EXPECT_EQ(*codice, c.codice) << c.tipo;
        EXPECT_EQ(m.titolo, c.titolo);
        EXPECT_EQ(visibili(m), c.caselle) << c.tipo;
        EXPECT_EQ(m.etichetta_visibile, m.testo_visibile) << c.tipo;
        EXPECT_EQ(m.umidita_visibile, c.umidita) << c.tipo;
        EXPECT_EQ(m.portata_visibile, c.portata) << c.tipo;
        EXPECT_EQ(m.umidita, 0);
        EXPECT_EQ(m.portata, 0);
        EXPECT_EQ(codice_grafico_processo(c.tipo), c.codice);
        EXPECT_EQ(titolo_processo(c.tipo), c.titolo);
    }
}

TEST(Maschera, HiddenBoxesStillReceiveTheirTexts) {
    StatoMaschera m7;
    imposta_maschera(7, m7);
    EXPECT_EQ(m7.testo[9], "65");
    EXPECT_EQ(m7.etichetta[9], "EFFICIENZA % UMIDIFICAZIONE:  ");
    EXPECT_EQ(m7.testo[8], "39");

    StatoMaschera m6;
    imposta_maschera(6, m6);
    EXPECT_EQ(m6.testo[8], "0.58");
    EXPECT_EQ(m6.etichetta[8], "FATTORE DI BYPASS          :");
    EXPECT_FALSE(m6.testo_visibile[8]);

    StatoMaschera m5;
    imposta_maschera(5, m5);
    EXPECT_EQ(m5.testo[5], "2000");
    EXPECT_FALSE(m5.testo_visibile[5]);
    EXPECT_EQ(m5.testo[4], "0.2");
}

TEST(Maschera, LabelsAndDefaultsAreExact) {
    StatoMaschera m;
    imposta_maschera(4, m);
    EXPECT_EQ(m.etichetta[0], "temperatura     [C] :");
    EXPECT_EQ(m.etichetta[1], "umidita             :");
    EXPECT_EQ(m.testo[0], "20");
    EXPECT_EQ(m.testo[1], "50");
    imposta_maschera(17, m);
    EXPECT_EQ(m.testo[5], "-5000");
    EXPECT_EQ(m.etichetta[5], "Potenza sensib   ambiente[w]:");
}

TEST(Maschera, SettingUpAgainRestoresDefaults) {
    StatoMaschera m;
    imposta_maschera(2, m);
    m.testo[0] = "99";
    m.umidita = 1;
    imposta_maschera(2, m);
    EXPECT_EQ(m.testo[0], "20");
    EXPECT_EQ(m.umidita, 0);
}

TEST(Maschera, UnknownKindOnlyResetsTheCommonPart) {
    StatoMaschera m;
    m.umidita = 1;
    EXPECT_FALSE(imposta_maschera(9, m));
    EXPECT_EQ(m.titolo, "r");
    EXPECT_EQ(m.testo[0], "Edit1");
    EXPECT_EQ(m.umidita, 0);
    EXPECT_FALSE(m.testo_visibile[9]);
    EXPECT_FALSE(m.etichetta_visibile[8]);
    EXPECT_TRUE(m.testo_visibile[8]);
    EXPECT_FALSE(tipo_valido(9));
    EXPECT_TRUE(tipo_valido(21));
}
