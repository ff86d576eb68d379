#include "core/aria_umida.h"
#include "core/rapporto.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace ondix;

TEST(Rapporto, ValueLineLabelNumberUnitWithNothingBetween) {
    Rapporto r;
    scrivi_valore(r, 7, 1, "Temperatura        :", 20, " C");
    scrivi_valore(r, 8, 3, "Rapporto aria est/totale ", 0.25, "");
    scrivi_valore(r, 7, 1, "x:", 1234567.8, " C");
    EXPECT_EQ(r.righe(), (std::vector<std::string>{"Temperatura        :   20,0 C", "Rapporto aria est/totale    0,250",
                                                   "x:1234567,8 C"}));
}

TEST(Rapporto, DataLineHasA34CharacterLabelField) {
    Rapporto r;
    scrivi_dato(r, "Portata ponderale totale", "kg/h", 7, 0, 1234.4);
    scrivi_dato(r, "Portata acqua seconda umidificazione", "kg/h", 7, 1, 2.26);
    scrivi_dato(r, "", "", 7, 3, 0.2);
    scrivi_dato(r, "Salto di umidità specifica", "g/kg", 7, 3, 1.5);
    const auto& l = r.righe();
    EXPECT_EQ(l[0], "Portata ponderale totale          :   1234 kg/h");
    EXPECT_EQ(l[1], "Portata acqua seconda umidificazio:    2,3 kg/h");
    EXPECT_EQ(l[2], std::string(34, ' ') + ":  0,200 ");
    // The label field counts characters, not bytes.
    EXPECT_EQ(l[3], "Salto di umidità specifica        :  1,500 g/kg");
}

TEST(Rapporto, PointBlockWorkedExample) {
    Rapporto r;
    scrivi_punto_titolo(r, "      Punto ambiente", 20, 50);
    EXPECT_EQ(r.righe(), (std::vector<std::string>{
                             "--------------------------------------------",
                             "      Punto ambiente",
                             "Temperatura        :   20,0 C",
                             "umidita relativa   :   50,0 %",
                             "umidita specifica  :   7,25 g/kg ",
                             "Entalpia           :   38,4 kj/kg ",
                             "volume specifico   :  0,840 mc/kg",
                         }));
}

TEST(Rapporto, PointByHumidityRatioAndDryAir) {
    Rapporto r;
    scrivi_punto_x(r, 20, umidita_specifica(50, 20));
    EXPECT_EQ(r.righe()[1], "umidita relativa   :   50,0 %");
    Rapporto secco;
    scrivi_punto_ur(secco, 30, 0);
    EXPECT_EQ(secco.righe()[2], "umidita specifica  :   0,00 g/kg ");
    EXPECT_EQ(secco.righe()[3], "Entalpia           :   30,1 kj/kg "); // 1.004 × 30
}

TEST(Rapporto, CommaOnlyReplacesPoints) {
    EXPECT_EQ(con_virgola(""), "");
    EXPECT_EQ(con_virgola("abc"), "abc");
    EXPECT_EQ(con_virgola("1.2.3"), "1,2,3");
}

TEST(Rapporto, GuardRunsBeforeEveryAppendAndCanStopIt) {
    Rapporto r;
    int chiamate = 0;
    r.imposta_guardia([&] {
        if (++chiamate == 3) throw std::runtime_error("stop");
    });
    scrivi_separatore(r);
    r.aggiungi("due");
    EXPECT_THROW(r.aggiungi("tre"), std::runtime_error);
    EXPECT_EQ(r.righe().size(), 2u);
    r.imposta_guardia({});
    r.pulisci();
    EXPECT_TRUE(r.righe().empty());
}
