// The process computations run through the driver, checked against worked values and edge cases.
#include "core/altitudine.h"
#include "core/aria_umida.h"
#include "core/calcolo.h"
#include "core/computazioni.h"
#include "core/modello_ashrae.h"
#include "core/numeri.h"
#include "core/punti_grafico.h"
#include "core/stato_aria.h"
#include "esterno_prova.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace ondix;

namespace {

// One calculation of a kind with its defaults, some boxes replaced ({box, text}) and the option groups set.
struct Esecuzione {
    Contesto ctx;
    EsternoProva est;
    std::optional<Errore> errore;

    Esecuzione(int tipo, std::vector<std::pair<int, std::string>> testi = {}, int umidita = 0, int portata = 0,
               std::optional<std::string> risposta = std::nullopt, Aria aria = {}) {
        ctx.processo = static_cast<TipoProcesso>(tipo);
        ctx.aria = aria;
        imposta_maschera(ctx);
        for (const auto& [n, t] : testi)
            ctx.maschera.testo.at(static_cast<std::size_t>(n - 1)) = t;
        ctx.maschera.umidita = umidita;
        ctx.maschera.portata = portata;
        est.risposta = std::move(risposta);
        if (const Fatto f = vai_calcolo(ctx, est); !f) errore = f.errore();
    }

    const std::vector<std::string>& righe() const { return ctx.rapporto.righe(); }
    // The first line that starts with `inizio`, or "" (the test then fails on its content).
    std::string riga(const std::string& inizio) const {
        for (const auto& r : righe())
            if (r.rfind(inizio, 0) == 0) return r;
        ADD_FAILURE() << "no line starting with \"" << inizio << "\"";
        return {};
    }
    // The number after the colon of a scrivi_dato line (decimal comma).
    double dato(const std::string& etichetta) const {
        std::string r = riga(etichetta);
        const auto p = r.find(':');
        if (p == std::string::npos) return NAN;
        r = r.substr(p + 1);
        std::replace(r.begin(), r.end(), ',', '.');
        return leggi_numero(r).valore;
    }
    int voci_in_uso() const {
        int n = 0;
        for (int i = 1; i <= TabellaPunti::numero_voci; ++i)
            n += ctx.punti[i].in_uso();
        return n;
    }
    const PuntoGrafico& voce(int n) const { return ctx.punti[n]; }
};

void attesa_senza_errore(const Esecuzione& e, VistaGrafico vista) {
    ASSERT_FALSE(e.errore) << e.errore->testo;
    ASSERT_EQ(e.est.viste.size(), 1u);
    EXPECT_EQ(e.est.viste[0], vista);
    EXPECT_EQ(e.est.rapporti_mostrati, 1);
}

// The calculation stopped because the inputs admit no plant: the message, no report, no chart, no numbers.
void attesa_impossibile(const Esecuzione& e, const std::string& testo) {
    ASSERT_TRUE(e.errore);
    EXPECT_EQ(*e.errore, (Errore{Causa::impianto, testo}));
    EXPECT_TRUE(e.est.viste.empty());
    EXPECT_EQ(e.est.rapporti_mostrati, 0);
    EXPECT_TRUE(e.righe().empty());
    EXPECT_EQ(e.voci_in_uso(), 0);
}

void attesa_errore(const Esecuzione& e, TipoErroreFP tipo) {
    ASSERT_TRUE(e.errore);
    EXPECT_EQ(*e.errore, (Errore{Causa::virgola_mobile, testo_errore(tipo)}));
    EXPECT_TRUE(e.est.viste.empty()) << "no chart after a floating-point error";
    EXPECT_EQ(e.est.rapporti_mostrati, 0);
}

} // namespace

// ---- mixing ------------------------------------------------------------------------------------------------------

TEST(Miscelazione, DefaultsMixByMassOnTheStraightLine) {
    Esecuzione e(1);
    attesa_senza_errore(e, VistaGrafico::standard);
    ASSERT_EQ(e.righe().size(), 26u);
    EXPECT_EQ(e.righe()[0], "       MISCELAZIONE");
    EXPECT_EQ(e.righe()[1], "        punto 1");
    EXPECT_EQ(e.righe()[9], "        punto 2");
    EXPECT_EQ(e.righe()[17], "        punto M");
    EXPECT_EQ(e.righe()[23], "------------------");
    const PuntoGrafico &E = e.voce(1), &A = e.voce(2), &M = e.voce(3);
    EXPECT_EQ(E.etichetta, "E");
    EXPECT_EQ(A.etichetta, "A");
    EXPECT_EQ(M.etichetta, "M");
    // Weighted by mass: the warmer, lighter stream counts a little less than by volume.
    const double per_volume = (27.0 * 8000 + 32.0 * 3000) / 11000;
    EXPECT_LT(M.X, per_volume);
    EXPECT_GT(M.X, per_volume - 0.1);
    // M on the segment E–A.
    const double cross = (A.X - E.X) * (M.Y - E.Y) - (A.Y - E.Y) * (M.X - E.X);
    EXPECT_NEAR(cross, 0.0, 1e-9);
    EXPECT_EQ(e.voci_in_uso(), 3);
}

TEST(Miscelazione, FlowLinesKeepTheDecimalPoint) {
    Esecuzione e(1);
    const double v1 = volume_specifico(27, umidita_specifica(50, 27));
    EXPECT_EQ(e.righe()[7], "portata ponderale  :" + formatta(8000 / v1, 6, 1) + " kg/h");
    EXPECT_EQ(e.righe()[8], "portata volumetrica:8000.0 mc/h");
    EXPECT_EQ(e.righe()[16], "portata volumetrica:3000.0 mc/h");
    EXPECT_EQ(e.righe()[2], "Temperatura        :   27,0 C");
    EXPECT_NE(e.righe()[24].find('.'), std::string::npos);
    EXPECT_NE(e.righe()[25].find('.'), std::string::npos);
}

TEST(Miscelazione, MassFlowsGiveVolumesThroughEachSpecificVolume) {
    Esecuzione e(1, {{3, "1000"}, {6, "500"}}, 0, 1);
    const double v1 = volume_specifico(27, umidita_specifica(50, 27));
    const double v2 = volume_specifico(32, umidita_specifica(60, 32));
    EXPECT_EQ(e.righe()[7], "portata ponderale  :1000.0 kg/h");
    EXPECT_EQ(e.righe()[8], "portata volumetrica:" + formatta(1000 * v1, 6, 1) + " mc/h");
    EXPECT_EQ(e.righe()[16], "portata volumetrica:" + formatta(500 * v2, 6, 1) + " mc/h");
    EXPECT_EQ(e.righe()[24], "portata ponderale  :1500.00 kg/h");
}

TEST(Miscelazione, HumidityRatiosAsInputs) {
    Esecuzione e(1, {{2, "10"}, {5, "12"}}, 1);
    attesa_senza_errore(e, VistaGrafico::standard);
    EXPECT_EQ(e.voce(1).Y, 10.0);
    EXPECT_EQ(e.voce(2).Y, 12.0);
    EXPECT_EQ(e.righe()[4], "umidita specifica  :  10,00 g/kg ");
    EXPECT_GT(e.voce(3).Y, 10.0);
    EXPECT_LT(e.voce(3).Y, 12.0);
}

TEST(Miscelazione, TwoZeroFlowsStopWithOnlyTheTitle) {
    Esecuzione e(1, {{3, "0"}, {6, "0"}});
    attesa_errore(e, TipoErroreFP::operazione_non_valida);
    EXPECT_EQ(e.errore->testo, "Opération en virgule flottante incorrecte.");
    EXPECT_EQ(e.righe(), std::vector<std::string>{"       MISCELAZIONE"});
}

TEST(Miscelazione, OverflowingTextStopsAfterTheTitle) {
    Esecuzione e(1, {{4, "1e400"}});
    attesa_errore(e, TipoErroreFP::trabocco);
    EXPECT_EQ(e.righe(), std::vector<std::string>{"       MISCELAZIONE"});
}

// ---- sensible heating or cooling ---------------------------------------------------------------------------------

TEST(Sensibile, HeatingDefaults) {
    Esecuzione e(2);
    attesa_senza_errore(e, VistaGrafico::standard);
    ASSERT_EQ(e.righe().size(), 16u);
    EXPECT_EQ(e.righe()[0], "       RISCALDAMENTO SENSIBILE");
    EXPECT_EQ(e.righe()[1], "       INGRESSO");
    EXPECT_EQ(e.righe()[7], "       USCITA");
    EXPECT_EQ(e.righe()[8], "Temperatura        :   45,0 C");
    const double x = umidita_specifica(50, 20);
    const double m = 1200 / volume_specifico(20, x);
    EXPECT_EQ(e.righe()[14], "PORTATA                           :" + con_virgola(formatta(m, 10, 3)) + "  kg/h");
    EXPECT_NEAR(e.dato("SALTO ENTALPICO"), entalpia(x, 45) - entalpia(x, 20), 0.005);
    EXPECT_NEAR(e.dato("POTENZA TERMICA"), (entalpia(x, 45) - entalpia(x, 20)) * m / 3600, 0.0005);
    EXPECT_EQ(e.righe()[15].substr(e.righe()[15].size() - 4), "  kw");
}

TEST(Sensibile, CoolingIsNegativeUnderTheSameTitleAndKeepsTheHumidityRatio) {
    Esecuzione e(2, {{1, "30"}, {4, "15"}});
    EXPECT_EQ(e.righe()[0], "       RISCALDAMENTO SENSIBILE");
    EXPECT_LT(e.dato("SALTO ENTALPICO"), 0);
    EXPECT_LT(e.dato("POTENZA TERMICA"), 0);
    EXPECT_EQ(e.righe()[4], e.righe()[10]); // humidity ratio line of INGRESSO and USCITA
    EXPECT_EQ(e.voce(1).etichetta, "I");
    EXPECT_EQ(e.voce(2).etichetta, "U");
    EXPECT_EQ(e.voci_in_uso(), 2);
}

TEST(Sensibile, MassFlowIsTakenAsGiven) {
    Esecuzione e(2, {{3, "1000"}}, 0, 1);
    EXPECT_EQ(e.riga("PORTATA"), "PORTATA                           :  1000,000  kg/h");
}

// ---- humidification with water -----------------------------------------------------------------------------------

TEST(UmidificazioneAcqua, DefaultsReport) {
    Esecuzione e(3);
    attesa_senza_errore(e, VistaGrafico::standard);
    ASSERT_EQ(e.righe().size(), 16u);
    EXPECT_EQ(e.righe()[0], "    UMIDIFICAZIONE CON ACQUA");
    EXPECT_EQ(e.righe()[1], "temperatura acqua umidificazione:   20.0");
    EXPECT_EQ(e.righe()[2], "Efficienza % umidificazione     :   75.0");
    EXPECT_EQ(e.righe()[3], "INGRESSO");
    EXPECT_EQ(e.righe()[9], "USCITA");
    const Stato u = umidificazione_adiabatica(30, 30, 20, 75);
    const double x1 = umidita_specifica(30, 30);
    EXPECT_EQ(e.righe()[15], "Salto di umidità specifica        :" + con_virgola(formatta(u.x - x1, 7, 3)) + " g/kg");
    // Inlet and outlet lettered as the report names them.
    EXPECT_EQ(e.voce(1).etichetta, "I");
    EXPECT_EQ(e.voce(2).etichetta, "U");
    EXPECT_EQ(e.voce(2).X, u.t);
    EXPECT_EQ(e.voce(2).Y, u.x);
}

TEST(UmidificazioneAcqua, EfficiencyZeroKeepsTheTemperatureAndHundredSaturates) {
    Esecuzione zero(3, {{4, "0"}});
    EXPECT_EQ(zero.voce(2).X, 30.0);
    Esecuzione cento(3, {{4, "100"}});
    const PuntoGrafico& u = cento.voce(2);
    EXPECT_LT(u.X, 30.0);
    EXPECT_NEAR(umidita_relativa(u.Y, u.X), 100.0, 0.5);
    EXPECT_TRUE(cento.ctx.risultati.nebbia.empty()); // saturated, not fog
}

// ---- cooling with condensation -----------------------------------------------------------------------------------

TEST(Condensazione, DefaultsReportAndPoints) {
    Esecuzione e(5);
    attesa_senza_errore(e, VistaGrafico::standard);
    ASSERT_EQ(e.righe().size(), 19u);
    EXPECT_EQ(e.righe()[0], "    RAFFREDDAMENTO CONDENSATIVO");
    EXPECT_EQ(e.righe()[1], "temperatura batteria:   12.0 C");
    EXPECT_EQ(e.righe()[2], "fattore bypass                    :     0,200  ");
    EXPECT_EQ(e.righe()[3], "PORTATA VOLUMETRICA               :    1000,0  mc/h");
    EXPECT_EQ(e.righe()[5], "         INGRESSO");
    EXPECT_EQ(e.righe()[11], "         USCITA");
    EXPECT_EQ(e.voce(1).etichetta, "B");
    EXPECT_EQ(e.voce(1).X, 12.0);
    EXPECT_EQ(e.voce(1).Y, umidita_saturazione(12));
    EXPECT_EQ(e.voce(2).etichetta, "U");
    EXPECT_EQ(e.voce(3).etichetta, "I");
    EXPECT_EQ(e.voce(3).X, 27.0);
    const double x = umidita_specifica(50, 27);
    const double m = 1000 / volume_specifico(27, x);
    const double x2 = x - 0.8 * (x - umidita_saturazione(12));
    EXPECT_NEAR(e.dato("PORTATA ACQUA CONDENSATA"), (x - x2) * m / 1000, 0.0005);
}

TEST(Condensazione, BypassOneLeavesTheAirUntouched) {
    Esecuzione e(5, {{5, "1"}});
    EXPECT_EQ(e.voce(2).X, e.voce(3).X);
    EXPECT_EQ(e.voce(2).Y, e.voce(3).Y);
    EXPECT_EQ(e.riga("PORTATA ACQUA CONDENSATA"), "PORTATA ACQUA CONDENSATA          :  0,000 kg/h");
}

TEST(Condensazione, BypassZeroGivesSaturatedAirAtTheCoil) {
    Esecuzione e(5, {{5, "0"}});
    EXPECT_EQ(e.voce(2).X, 12.0);
    EXPECT_NEAR(e.voce(2).Y, umidita_saturazione(12), 1e-12);
    EXPECT_EQ(e.righe()[13], "umidita relativa   :  100,0 %");
    EXPECT_EQ(e.righe().size(), 19u); // saturated, not fog: no warning
}

TEST(Condensazione, DryCoilCoolsSensiblyOnly) {
    // Coil at 12 °C, air at 27 °C and 20 % (dew point near 2 °C): nothing condenses, x stays, t by the bypass rule.
    Esecuzione e(5, {{2, "20"}});
    attesa_senza_errore(e, VistaGrafico::standard);
    EXPECT_EQ(e.voce(2).Y, e.voce(3).Y);
    EXPECT_EQ(e.voce(2).X, 27 - (1 - 0.2) * (27 - 12));
    EXPECT_EQ(e.riga("PORTATA ACQUA CONDENSATA"), "PORTATA ACQUA CONDENSATA          :  0,000 kg/h");
    EXPECT_EQ(e.righe().back(), riga_batteria_asciutta);
    // A wet coil keeps its report: no such line.
    Esecuzione bagnata(5);
    EXPECT_EQ(std::count(bagnata.righe().begin(), bagnata.righe().end(), riga_batteria_asciutta), 0);
}

// ---- supersaturated states ---------------------------------------------------------------------------------------

TEST(Nebbia, EveryProducedStateAboveSaturationIsFollowedByTheWarning) {
    struct Caso {
        int tipo;
        std::vector<std::pair<int, std::string>> testi;
        std::string titolo;
        bool portata;
    };
    const Caso casi[] = {
        {1, {{1, "35"}, {2, "95"}, {3, "3000"}, {4, "0"}, {5, "95"}, {6, "3000"}}, "        punto M", true},
        {5, {{2, "95"}, {5, "0.5"}}, "         USCITA", true},
        {13, {{4, "40"}}, "USCITA", false},
        {21, {{2, "90"}, {4, "95"}, {9, "0.5"}}, "      Punto uscita batteria:", true},
    };
    for (const Caso& k : casi) {
        Esecuzione e(k.tipo, k.testi);
        attesa_senza_errore(e, k.tipo == 21 ? VistaGrafico::verifica : VistaGrafico::standard);
        const auto& r = e.righe();
        const auto blocco = std::find(r.begin(), r.end(), k.titolo);
        ASSERT_LT(blocco + 6, r.end()) << k.tipo;
        EXPECT_EQ(*(blocco + 6), "ATTENZIONE: stato sovrasaturo (nebbia)") << k.tipo;
        ASSERT_EQ(e.ctx.risultati.nebbia.size(), 1u) << k.tipo;
        const StatoNebbia& n = e.ctx.risultati.nebbia[0];
        EXPECT_EQ(n.punto, k.titolo.substr(k.titolo.find_first_not_of(' '))) << k.tipo;
        ASSERT_TRUE(n.equilibrio);
        EXPECT_EQ(*(blocco + 8), "Temperatura        :" + numero_virgola(n.equilibrio->t, 7, 1) + " C");
        EXPECT_EQ(*(blocco + 9), "umidita relativa   :  100,0 %");
        EXPECT_EQ(*(blocco + 11), "acqua liquida      :" + numero_virgola(n.equilibrio->acqua, 7, 2) + " g/kg");
        EXPECT_EQ(n.portata.has_value(), k.portata) << k.tipo;
        if (n.portata) {
            EXPECT_EQ(*(blocco + 12),
                      "portata acqua liq. :" + numero_virgola(n.equilibrio->acqua * *n.portata / 1000, 7, 2) + " kg/h");
        }
    }
}

TEST(UmidificazioneAcqua, ColdAirIsHumidifiedOnTheContinuationAndZeroEfficiencyChangesNothing) {
    // −20 °C and 50 %: the saturation temperature lies below the first search's 0 °C; the air is cooled, not heated
    // to 0 °C, and the enthalpy balance (with the water's own) holds.
    Esecuzione e(3, {{1, "-20"}, {2, "50"}, {4, "100"}});
    attesa_senza_errore(e, VistaGrafico::standard);
    const PuntoGrafico &i = e.voce(1), &u = e.voce(2);
    EXPECT_LT(u.X, -20.0);
    EXPECT_GT(u.Y, i.Y);
    EXPECT_NEAR(entalpia(u.Y, u.X), entalpia(i.Y, i.X) + (u.Y - i.Y) * 0.004186 * 20, 0.05);
    Esecuzione zero(3, {{4, "0"}});
    EXPECT_EQ(zero.voce(2).X, zero.voce(1).X);
    EXPECT_EQ(zero.voce(2).Y, zero.voce(1).Y);
}

// ---- humidification with steam -----------------------------------------------------------------------------------

TEST(UmidificazioneVapore, DefaultsReport) {
    Esecuzione e(13);
    attesa_senza_errore(e, VistaGrafico::standard);
    ASSERT_EQ(e.righe().size(), 15u);
    EXPECT_EQ(e.righe()[0], "    UMIDIFICAZIONE CON VAPORE");
    EXPECT_EQ(e.righe()[1], "temperatura vapore:   80.0 C");
    EXPECT_EQ(e.righe()[11], "umidita specifica  :  15,00 g/kg ");
    EXPECT_EQ(e.righe()[14], "Salto di umidità specifica        :  8,000 g/kg");
    EXPECT_GT(e.voce(2).X, 30.0);
}

TEST(UmidificazioneVapore, NoJumpStaysAtTheInlet) {
    Esecuzione e(13, {{4, "7"}});
    EXPECT_EQ(e.righe()[14], "Salto di umidità specifica        :  0,000 g/kg");
    EXPECT_GE(e.voce(2).X, 30.0);
    EXPECT_LE(e.voce(2).X, 30.01);
    EXPECT_EQ(e.voce(2).Y, e.voce(1).Y);
}

// ---- summer cycle ------------------------------------------------------------------------------------------------

TEST(CicloEstivo, DefaultsMeetWithoutPostHeating) {
    Esecuzione e(6);
    attesa_senza_errore(e, VistaGrafico::standard);
    EXPECT_TRUE(e.est.messaggi.empty());
    EXPECT_TRUE(e.est.richieste.empty());
    ASSERT_EQ(e.righe().size(), 52u);
    EXPECT_EQ(e.righe()[0], "CICLO ESTIVO");
    EXPECT_EQ(e.righe()[1], "valori di ingresso");
    EXPECT_EQ(e.righe()[2], "Potenza termica sensibile   10500 watt");
    EXPECT_EQ(e.righe()[4], "Rapporto aria est/totale    0,250");
    EXPECT_EQ(e.righe()[34], "      Punto immissione in ambiente");
    EXPECT_EQ(e.riga("Fattore termico ambiente"), "Fattore termico ambiente          :  0,700 ");
    EXPECT_EQ(e.riga("portata ponderale totale"), "portata ponderale totale          :   3112 kg/h");
    EXPECT_EQ(e.riga("Potenza frigorifera     "), "Potenza frigorifera               :  19805 watt");
    EXPECT_EQ(e.dato("Potenza frigorifera aria esterna"), 8666);
    EXPECT_EQ(e.dato("acqua condensata"), 11.633);
    EXPECT_EQ(e.dato("portata volumetrica aria amb"), 2019);
    EXPECT_EQ(e.dato("portata volumetrica aria est"), 692);
    EXPECT_EQ(e.dato("portata volumetrica totale"), 2576);
    EXPECT_EQ(e.riga("FATTORE BYPASS"), "FATTORE BYPASS                    :  0,280 ");
    EXPECT_EQ(e.righe().back(), "FATTORE BYPASS                    :  0,280 ");
    EXPECT_NEAR(e.voce(4).X, 28.22, 0.005);
    EXPECT_NEAR(e.voce(4).Y, 12.83, 0.005);
    EXPECT_EQ(e.voce(5).etichetta, "C");
    EXPECT_NEAR(e.voce(5).X, 15.1, 0.05);
    EXPECT_NEAR(e.voce(5).Y, 9.09, 0.005);
    EXPECT_EQ(e.voce(3).Y, umidita_specifica(100, 10));
    EXPECT_FALSE(e.voce(6).in_uso());
    EXPECT_EQ(e.voci_in_uso(), 5);
}

TEST(CicloEstivo, SteepRoomLineAsksForTheBypassFactor) {
    Esecuzione e(6, {{8, "8500"}}, 0, 0, "0.2");
    attesa_senza_errore(e, VistaGrafico::standard);
    ASSERT_EQ(e.est.messaggi.size(), 1u);
    EXPECT_EQ(e.est.messaggi[0], "nessun incontro fra la retta del fattore termico ambiente e quella della batteria");
    ASSERT_EQ(e.est.richieste.size(), 1u);
    EXPECT_EQ(e.est.richieste[0].titolo, "Immettere fattore di bypass batteria:");
    EXPECT_EQ(e.est.richieste[0].domanda, "Fattore di bypass della batteria, da 0 a 1 (tipico 0.1 - 0.3):");
    EXPECT_EQ(e.est.richieste[0].predefinito, "");
    EXPECT_EQ(e.righe()[34], "      Punto uscita batteria:");
    EXPECT_EQ(e.riga("Fattore termico ambiente"), "Fattore termico ambiente          :  0,553 ");
    EXPECT_EQ(e.voce(6).etichetta, "P");
    EXPECT_NEAR(e.voce(6).X, 13.6, 0.05);
    EXPECT_NEAR(e.voce(6).Y, 8.67, 0.005);
    EXPECT_NEAR(e.voce(5).X, 19.4, 0.05);
    EXPECT_EQ(e.voce(5).Y, e.voce(6).Y); // post-heating at constant humidity ratio
    EXPECT_EQ(e.riga("FATTORE BYPASS"), "FATTORE BYPASS                    :  0,200 ");
    EXPECT_EQ(e.righe().back().rfind("Potenza postriscaldamento         :", 0), 0u);
    EXPECT_GT(e.dato("Potenza postriscaldamento"), 0);
}

TEST(CicloEstivo, CancelledBoxPutsTheCoilOutletOnTheCoil) {
    Esecuzione e(6, {{8, "8500"}});
    attesa_senza_errore(e, VistaGrafico::standard);
    EXPECT_EQ(e.voce(6).X, 10.0);
    EXPECT_NEAR(e.voce(6).Y, umidita_saturazione(10), 1e-9);
    EXPECT_EQ(e.voce(5).Y, e.voce(6).Y);
    EXPECT_EQ(e.riga("FATTORE BYPASS"), "FATTORE BYPASS                    :  0,000 ");
}

TEST(CicloEstivo, MeetingColderThanTheCoilIsNoMeeting) {
    // Here the two lines cross near 10.3 °C, below the 15 °C coil.
    Esecuzione e(6, {{7, "15"}, {8, "2000"}}, 0, 0, "0.05");
    attesa_senza_errore(e, VistaGrafico::standard);
    EXPECT_EQ(e.est.messaggi.size(), 1u);
    EXPECT_TRUE(e.voce(6).in_uso());
    EXPECT_NEAR(e.voce(6).X, 15 + (e.voce(4).X - 15) * 0.05, 1e-9);
    // With a bypass factor of 0.3 the coil outlet holds more water than the room line allows below the room
    // temperature: the supply would be warmer than the room, and no flow meets the loads.
    Esecuzione calda(6, {{7, "15"}, {8, "2000"}}, 0, 0, "0.3");
    attesa_impossibile(calda, "l aria immessa a 29.09 C e 11.30 g/kg non può compensare i carichi ambiente con "
                              "alcuna portata!");
    EXPECT_EQ(calda.est.messaggi.size(), 1u);
}

TEST(CicloEstivo, MeetingBeyondTheMixtureIsNoMeeting) {
    // The lines cross just past the mixture (a bypass factor a little above 1), where the coil cannot take the air:
    // the message and the bypass factor asked, then post-heating, instead of "troppo secca".
    Esecuzione e(
        6, {{1, "26.9"}, {2, "43.9"}, {3, "20.1"}, {4, "74.3"}, {5, "0.26"}, {6, "2645"}, {7, "13.7"}, {8, "-1913"}}, 0,
        0, "0.14");
    attesa_senza_errore(e, VistaGrafico::standard);
    EXPECT_EQ(e.est.messaggi.size(), 1u);
    EXPECT_EQ(e.est.richieste.size(), 1u);
    const PuntoGrafico &A = e.voce(1), &M = e.voce(4), &S = e.voce(5), &P = e.voce(6);
    EXPECT_NEAR(P.X, 13.7 + (M.X - 13.7) * 0.14, 1e-9);
    EXPECT_EQ(S.Y, P.Y);
    EXPECT_LE(P.Y, M.Y);
    // The flow takes up the room's total load between the supply and the room.
    const double G = e.dato("portata ponderale totale");
    EXPECT_EQ(G, 25139);
    EXPECT_NEAR(G * (entalpia(A.Y, A.X) - entalpia(S.Y, S.X)) / 3.6, 2645 - 1913, 1);
}

TEST(CicloEstivo, PlantsThatCannotExistAreRefused) {
    // Dry outdoor air and no latent load: the room line crosses the coil line beyond the mixture, which is no
    // meeting; on the horizontal room line the supply would need more water than any coil outlet holds.
    Esecuzione secca(6, {{4, "20"}, {8, "0"}}, 0, 0, "0.2");
    attesa_impossibile(secca, "nessun carico latente: l aria in uscita batteria (8.07 g/kg) dovrebbe avere l umidità "
                              "ambiente (11.14 g/kg), che la batteria non raggiunge!");
    EXPECT_EQ(secca.est.richieste.size(), 1u);
    // A dry coil at 14 °C: the room line needs supply air far colder than the coil outlet.
    Esecuzione fredda(6, {{4, "20"}, {7, "14"}, {8, "500"}}, 0, 0, "0.2");
    attesa_impossibile(fredda, "la retta ambiente richiede aria a -41.03 C, più fredda dell uscita batteria (16.85 "
                               "C): nessun postriscaldamento può raggiungerla!");
    // No latent load and no meeting: a clear refusal, not a division by zero.
    Esecuzione orizzontale(
        6, {{1, "24"}, {2, "30"}, {3, "35"}, {4, "50"}, {5, "0.1"}, {6, "-500"}, {7, "20"}, {8, "0"}}, 0, 0, "0.1");
    ASSERT_TRUE(orizzontale.errore);
    EXPECT_EQ(orizzontale.errore->causa, Causa::impianto);
    // A bypass factor typed outside 0 … 1.
    Esecuzione bf(6, {{8, "8500"}}, 0, 0, "1.2");
    attesa_impossibile(bf, "fattore di bypass batteria: il valore deve essere compreso fra 0 e 1!");
}

TEST(CicloEstivo, NoLatentLoadMeetsOnTheHorizontalRoomLine) {
    Esecuzione e(6, {{8, "0"}});
    attesa_senza_errore(e, VistaGrafico::standard);
    EXPECT_NEAR(e.voce(5).Y, e.voce(1).Y, 1e-9);
}

TEST(CicloEstivo, DryCoilMeetsTheRoomLineAtTheMixturesHumidity) {
    Esecuzione e(6, {{1, "24"}, {2, "40"}, {3, "-5"}, {4, "20"}, {5, "0.1"}, {7, "14"}, {8, "4500"}});
    attesa_senza_errore(e, VistaGrafico::standard);
    EXPECT_TRUE(e.est.messaggi.empty());
    EXPECT_EQ(e.voce(5).Y, e.voce(4).Y);
    EXPECT_EQ(e.riga("acqua condensata"), "acqua condensata                  :  0,000 kg/h");
    EXPECT_EQ(e.riga("batteria asciutta"), riga_batteria_asciutta);
    EXPECT_EQ(e.dato("FATTORE BYPASS"), 0.818);
}

TEST(CicloEstivo, ZeroTotalLoadStopsBeforeAnyLine) {
    Esecuzione e(6, {{6, "4500"}, {8, "-4500"}});
    attesa_errore(e, TipoErroreFP::divisione_per_zero);
    EXPECT_TRUE(e.righe().empty());
}

TEST(CicloEstivo, CoilNotColderThanTheMixtureIsRefused) {
    ASSERT_EQ(miscela(27, 50, 1, 32, 60, 0).t, 27.0);
    for (const char* tB : {"27", "28"}) {
        Esecuzione e(6, {{5, "0"}, {7, tB}});
        attesa_impossibile(e, "Temperatura batteria [C]: la batteria non è più fredda della miscela (27.00 C)!");
    }
}

TEST(CicloEstivo, NoSensibleLoadMakesTheRoomLineVerticalAndStops) {
    // SHF 0: the slope divides by zero once the four points are written.
    Esecuzione e(6, {{6, "0"}});
    attesa_errore(e, TipoErroreFP::divisione_per_zero);
    EXPECT_EQ(e.righe().size(), 33u);
}

TEST(CicloEstivo, OverflowingAnswerStopsAfterTheMessage) {
    Esecuzione e(6, {{8, "8500"}}, 0, 0, "1e400");
    attesa_errore(e, TipoErroreFP::trabocco);
    EXPECT_EQ(e.est.messaggi.size(), 1u);
    EXPECT_EQ(e.righe().size(), 33u);
}

// ---- summer verification -----------------------------------------------------------------------------------------

TEST(VerificaEstiva, Defaults) {
    Esecuzione e(21);
    attesa_senza_errore(e, VistaGrafico::verifica);
    ASSERT_EQ(e.righe().size(), 53u);
    EXPECT_EQ(e.righe()[0], "CICLO ESTIVO-VERIFICA");
    EXPECT_EQ(e.righe()[2], "Portata aria                 1500 kg/h");
    EXPECT_EQ(e.righe()[33], "      Punto uscita batteria:");
    EXPECT_EQ(e.righe()[34], "Temperatura        :   13,6 C");
    EXPECT_EQ(e.righe()[36], "umidita specifica  :   8,67 g/kg ");
    EXPECT_EQ(e.riga("Potenza frigorifera TOT"), "Potenza frigorifera TOT           :   8289 watt");
    EXPECT_EQ(e.dato("Potenza frigorifera sens"), 5787);
    EXPECT_EQ(e.dato("Potenza frigorifera lat"), 2502);
    EXPECT_EQ(e.dato("Potenza frigorifera aria esterna"), 4442);
    EXPECT_EQ(e.dato("acqua condensata"), 6.232);
    EXPECT_EQ(e.dato("portata volumetrica totale"), 1235);
    EXPECT_EQ(e.righe().back(), std::string(44, '-'));
    EXPECT_EQ(e.voce(5).etichetta, "P");
    EXPECT_NEAR(e.voce(5).X, 13.645, 0.001);
    EXPECT_EQ(e.voci_in_uso(), 5);
}

TEST(VerificaEstiva, BypassZeroAndOne) {
    Esecuzione zero(21, {{9, "0"}});
    EXPECT_EQ(zero.voce(5).X, 10.0);
    EXPECT_EQ(zero.voce(5).Y, umidita_saturazione(10));
    Esecuzione uno(21, {{9, "1"}});
    EXPECT_EQ(uno.voce(5).X, uno.voce(4).X);
    EXPECT_EQ(uno.voce(5).Y, uno.voce(4).Y);
    EXPECT_EQ(uno.dato("acqua condensata"), 0.0);
}

TEST(VerificaEstiva, DryCoilCoolsSensiblyOnly) {
    // Coil at 20 °C, mixture near 28 °C and 12.8 g/kg: saturated air at 20 °C holds 14.7 g/kg.
    Esecuzione e(21, {{7, "20"}});
    attesa_senza_errore(e, VistaGrafico::verifica);
    EXPECT_EQ(e.voce(5).Y, e.voce(4).Y);
    EXPECT_EQ(e.riga("acqua condensata"), "acqua condensata                  :  0,000 kg/h");
    EXPECT_EQ(e.riga("batteria asciutta"), riga_batteria_asciutta);
}

TEST(VerificaEstiva, NoOutdoorAirMixesToTheRoom) {
    Esecuzione e(21, {{5, "0"}});
    EXPECT_NEAR(e.voce(4).X, 27.0, 1e-12);
    EXPECT_NEAR(e.voce(4).Y, e.voce(1).Y, 1e-12);
    EXPECT_EQ(e.dato("portata ponderale aria est"), 0.0);
    EXPECT_EQ(e.dato("portata volumetrica aria est"), 0.0);
    Esecuzione tutta(21, {{5, "1"}});
    EXPECT_NEAR(tutta.voce(4).X, 32.0, 1e-12);
}

// ---- winter cycle ------------------------------------------------------------------------------------------------

TEST(CercaPreriscaldamento, StaysPutWhenTheEfficiencyMatchesAndClimbs501StepsOtherwise) {
    const double x0 = 6.0, t0 = 20.0, xS = 7.0;
    const double xw = umidita_saturazione(temperatura_bulbo_umido(x0, t0));
    const double eff = (xS - x0) * 100 / (xw - x0);
    EXPECT_EQ(cerca_preriscaldamento(x0, t0, xS, eff), t0);
    double atteso = t0;
    for (int i = 0; i < 501; ++i)
        atteso += 0.05;
    EXPECT_EQ(cerca_preriscaldamento(x0, t0, xS, 1000), atteso);
}

TEST(CercaPreriscaldamento, EndsOnUndefinedInputs) {
    // An undefined efficiency never counts as a mismatch, so the temperature stays where it started.
    EXPECT_EQ(cerca_preriscaldamento(NAN, 20, 7, 65), 20.0);
    EXPECT_EQ(cerca_preriscaldamento(6, 20, NAN, 65), 20.0);
    EXPECT_TRUE(std::isnan(cerca_preriscaldamento(6, NAN, 7, 65)));
}

TEST(CicloInvernale, DefaultsTakePathA) {
    Esecuzione e(7);
    attesa_senza_errore(e, VistaGrafico::invernale);
    // From the mixture a humidifier at 65 % would already pass the supply's 6.99 g/kg: no pre-heating, and the
    // humidifier held back to end on the room line.
    ASSERT_EQ(e.est.messaggi.size(), 1u);
    EXPECT_EQ(e.est.messaggi[0], "anche senza preriscaldamento un umidificatore al 65.00 % porterebbe la miscela oltre "
                                 "i 6.99 g/kg della retta ambiente a 39.00 C: nessun preriscaldamento, umidificazione "
                                 "regolata al 26.95 %");
    ASSERT_EQ(e.righe().size(), 62u);
    EXPECT_EQ(e.righe()[0], "CICLO INVERNALE");
    EXPECT_EQ(e.righe()[1], "Valori di ingresso");
    EXPECT_EQ(e.righe()[3], "Potenza termica latente      -500 watt");
    EXPECT_EQ(e.righe()[5], "Temperatura preriscaldamento     0,0 C");
    EXPECT_EQ(e.righe()[7], "Efficienza umidificazione    65,0 %");
    EXPECT_EQ(e.righe()[30], "FINE pre-riscaldamento");
    EXPECT_EQ(e.righe()[37], "FINE umidificazione ");
    EXPECT_EQ(e.righe()[44], "FINE POSTriscaldamento ");
    const PuntoGrafico& M = e.voce(3);
    EXPECT_NEAR(M.X, 15.37, 0.005);
    EXPECT_NEAR(M.Y, 6.53, 0.005);
    EXPECT_EQ(e.voce(4).X, M.X);
    EXPECT_EQ(e.voce(5).etichetta, "U");
    EXPECT_NEAR(e.voce(6).Y, 6.99, 0.005);
    EXPECT_EQ(e.voce(6).X, 39.0);
    EXPECT_EQ(e.voce(6).etichetta, "I");
    EXPECT_EQ(e.voci_in_uso(), 6);
    EXPECT_EQ(e.dato("Portata ponderale totale"), 983);
    EXPECT_EQ(e.dato("Potenza preriscaldamento"), 0);
    // All the heat from M to I: (57.14 − 31.94) kJ/kg × 983 kg/h.
    EXPECT_NEAR(e.dato("Potenza riscaldamento totale"), 6884, 1);
    EXPECT_NEAR(e.dato("Verifica potenza termica latente"), 502, 1);
    EXPECT_NEAR(e.dato("Verifica potenza termica sensibile"), 5002, 1);
    EXPECT_EQ(e.righe().back().rfind("Verifica potenza termica sensibile:", 0), 0u);
}

// Over a grid of arrangement-A inputs, at two pressures and with both models of air, every plant reported keeps the
// humidifier's energy balance: it moves the pre-heated air P on a straight line (in t and x) towards the saturated
// state W at P's wet bulb, and stops at the efficiency's share of the way, U. W has P's enthalpy (the correlations,
// whose wet bulb is met to 0.1 kJ/kg) or P's plus that of the water at W (the reference model's thermodynamic wet
// bulb), and since the enthalpy is bilinear in t and x the straight line bows below the line of constant enthalpy
// by 1.926e-3·f·(1 − f)·Δt·Δx at the share f. Pre-heating never cools, and U lies on the supply's humidity.
TEST(CicloInvernale, HumidifierOfArrangementAKeepsTheEnergyBalance) {
    const Aria arie[] = {Aria{}, Aria{80000.0}, Aria{101325.0, &modello_ashrae()}, Aria{70000.0, &modello_ashrae()}};
    int piante = 0, regolate = 0;
    for (const Aria& aria : arie)
        for (const char* te : {"-15", "-5", "5"})
            for (const char* r : {"0.2", "0.5", "1"})
                for (const char* ql : {"-500", "300"})
                    for (const char* tpost : {"30", "39", "50"})
                        for (const char* eff : {"30", "65", "95"}) {
                            Esecuzione e(7, {{3, te}, {5, r}, {7, ql}, {9, tpost}, {10, eff}}, 0, 0, std::nullopt,
                                         aria);
                            const std::string quale = std::string("--e3 ") + te + " --e5 " + r + " --e7 " + ql +
                                                      " --e9 " + tpost + " --e10 " + eff + " at " +
                                                      formatta(aria.pressione, 0, 0) + (aria.modello ? " ashrae" : "");
                            if (e.errore) {
                                EXPECT_EQ(e.errore->causa, Causa::impianto) << quale << ": " << e.errore->testo;
                                continue;
                            }
                            ++piante;
                            const PuntoGrafico &M = e.voce(3), &P = e.voce(4), &U = e.voce(5);
                            // The efficiency the humidifier works at: the one typed, or the one it is held back to.
                            double f = std::atof(eff) / 100.0;
                            for (const std::string& m : e.est.messaggi)
                                if (const auto k = m.find("regolata al "); k != std::string::npos) {
                                    f = std::atof(m.c_str() + k + 12) / 100.0;
                                    ++regolate;
                                }
                            EXPECT_GE(P.X, M.X) << quale;
                            EXPECT_EQ(P.Y, M.Y) << quale;
                            EXPECT_EQ(U.Y, e.voce(6).Y) << quale;
                            const double hP = entalpia(P.Y, P.X, aria), hU = entalpia(U.Y, U.X, aria);
                            const double dt = U.X - P.X, dx = U.Y - P.Y;
                            const double acqua = aria.modello ? 4.186e-3 * dx * std::max(0.0, P.X) : 0.0;
                            const double curva = f > 0 ? 1.926e-3 * (1 - f) / f * std::fabs(dt * dx) : 0.0;
                            EXPECT_LE(std::fabs(hU - hP), 0.1 + acqua + curva + 1e-9) << quale;
                            EXPECT_GE(hU - hP, -0.1 - curva - 1e-9) << quale;
                        }
    EXPECT_GT(piante, 400);
    EXPECT_GT(regolate, 50);
}

TEST(CicloInvernale, PathBStopsAtTooMuchPreHeating) {
    Esecuzione e(7, {{8, "20"}, {9, "39"}});
    attesa_senza_errore(e, VistaGrafico::invernale);
    ASSERT_EQ(e.est.messaggi, std::vector<std::string>{"temperatura preriscaldamento eccessiva !"});
    ASSERT_EQ(e.righe().size(), 43u);
    EXPECT_EQ(e.righe()[30], "FINE preriscaldamento");
    EXPECT_EQ(e.righe()[37], "FINE UMIDIFICAZIONE INIZIALE");
    EXPECT_EQ(e.righe()[38], "Temperatura        :   15,5 C");
    EXPECT_EQ(e.righe()[40], "umidita specifica  :   8,43 g/kg ");
    EXPECT_EQ(e.voci_in_uso(), 4);
    EXPECT_EQ(e.voce(4).X, 20.0);
}

TEST(CicloInvernale, PathBToTheRoomLine) {
    // Pre-heating above the mixture's 15.4 C, a humidifier weak enough to stay below the room's humidity.
    Esecuzione e(7, {{8, "16"}, {9, "30"}, {10, "40"}});
    attesa_senza_errore(e, VistaGrafico::invernale);
    EXPECT_TRUE(e.est.messaggi.empty());
    EXPECT_EQ(e.voci_in_uso(), 7);
    EXPECT_EQ(e.voce(6).etichetta, "R");
    EXPECT_EQ(e.voce(7).etichetta, "I");
    EXPECT_EQ(e.riga("Portata acqua seconda umidificazio"),
              "Portata acqua seconda umidificazio:" + con_virgola(formatta(e.dato("Portata acqua seconda"), 7, 1)) +
                  " kg/h");
    EXPECT_GT(e.dato("Portata ponderale totale"), 0);
}

TEST(CicloInvernale, PathCHeatsThenHumidifiesToTheRoomLine) {
    Esecuzione e(7, {{8, "30"}, {9, "0"}});
    attesa_senza_errore(e, VistaGrafico::invernale);
    ASSERT_EQ(e.righe().size(), 55u);
    EXPECT_EQ(e.righe()[30], "FINE riscaldamento");
    EXPECT_EQ(e.righe()[37], "FINE umidificazione ");
    EXPECT_NEAR(e.voce(5).X, 27.97, 0.01);
    EXPECT_NEAR(e.voce(5).Y, 7.38, 0.01);
    EXPECT_EQ(e.dato("Portata ponderale totale"), 2595);
    EXPECT_EQ(e.dato("Potenza preriscaldamento"), e.dato("Potenza riscaldamento totale"));
    // Sensible check first, latent second on this path.
    EXPECT_EQ(e.righe()[53].rfind("Verifica potenza termica sensibile", 0), 0u);
    EXPECT_EQ(e.righe()[54].rfind("Verifica potenza termica latente", 0), 0u);
    EXPECT_EQ(e.voci_in_uso(), 5);
}

TEST(CicloInvernale, NegativePostHeatingSelectsNoPath) {
    Esecuzione e(7, {{9, "-1"}});
    attesa_senza_errore(e, VistaGrafico::invernale);
    EXPECT_EQ(e.righe().size(), 29u);
    EXPECT_EQ(e.righe()[23], "    Miscela");
    EXPECT_EQ(e.voci_in_uso(), 3);
}

TEST(CicloInvernale, ZeroSensibleLoadStopsBeforeAnyLine) {
    Esecuzione e(7, {{6, "0"}});
    attesa_errore(e, TipoErroreFP::divisione_per_zero);
    EXPECT_TRUE(e.righe().empty());
}

TEST(CicloInvernale, ColdOutdoorAirGivesFiniteResults) {
    // At −60 °C the mixture is fog: six warning lines follow its block.
    for (const auto& [te, righe] : {std::pair{"-15", 62u}, {"-30", 62u}, {"-60", 68u}}) {
        Esecuzione e(7, {{3, te}});
        attesa_senza_errore(e, VistaGrafico::invernale);
        EXPECT_EQ(e.righe().size(), righe) << te;
        EXPECT_EQ(e.ctx.risultati.nebbia.size(), righe == 68u ? 1u : 0u) << te;
        EXPECT_GT(e.dato("Portata ponderale totale"), 0) << te;
        for (int n = 1; n <= 6; ++n)
            EXPECT_TRUE(std::isfinite(e.voce(n).X) && std::isfinite(e.voce(n).Y)) << te;
    }
}

// ---- winter cycle with steam -------------------------------------------------------------------------------------

TEST(CicloInvernaleVapore, Defaults47Steps) {
    Esecuzione e(17);
    attesa_senza_errore(e, VistaGrafico::invernale);
    ASSERT_EQ(e.righe().size(), 50u);
    EXPECT_EQ(e.righe()[5], "Temperatura riscaldamento    35,0 C");
    EXPECT_EQ(e.righe()[28], "FINE riscaldamento");
    EXPECT_EQ(e.righe()[35], "Punto Immissione in ambiente");
    const PuntoGrafico &M = e.voce(3), &I = e.voce(5);
    EXPECT_NEAR((I.Y - M.Y) / 0.05, 47.0, 1e-6);
    EXPECT_NEAR(I.X, 35.34, 0.005);
    EXPECT_NEAR(I.Y, 7.19, 0.005);
    EXPECT_EQ(e.dato("Portata ponderale totale"), 1221);
    EXPECT_EQ(e.dato("Portata vapore umidificazione"), 2.9);
    const double G = 3.6 * (-4500) / (entalpia(umidita_specifica(50, 21), 21) - entalpia(I.Y, I.X));
    EXPECT_NEAR((I.Y - M.Y) * G / 1000, 2.87, 0.005);
    EXPECT_EQ(e.voci_in_uso(), 5);
}

TEST(CicloInvernaleVapore, UnreachableFactorStopsAfter300Steps) {
    Esecuzione e(17, {{7, "-10000"}});
    attesa_senza_errore(e, VistaGrafico::invernale);
    EXPECT_NEAR((e.voce(5).Y - e.voce(3).Y) / 0.05, 300.0, 1e-6);
}

TEST(CicloInvernale, HeatingBelowTheRoomIsRefused) {
    attesa_impossibile(Esecuzione(7, {{8, "20"}, {9, "0"}}),
                       "l aria immessa a 16.96 C non è più calda dell ambiente (21.00 C): non può riscaldarlo!");
    attesa_impossibile(Esecuzione(17, {{8, "15"}}),
                       "l aria immessa a 19.39 C non è più calda dell ambiente (21.00 C): non può riscaldarlo!");
    // Pre-heating below the mixture, post-heating below the end of humidification.
    attesa_impossibile(Esecuzione(7, {{8, "10"}, {9, "39"}}),
                       "temperatura preriscaldam [C]: temperatura inferiore a quella di miscela (15.37 C): il "
                       "riscaldamento non può raffreddare!");
}

TEST(CicloInvernaleVapore, ZeroTotalLoadStops) {
    Esecuzione e(17, {{6, "0"}, {7, "0"}});
    attesa_errore(e, TipoErroreFP::operazione_non_valida);
    EXPECT_TRUE(e.righe().empty());
}

// ---- every kind: inputs outside their physical range, plants that cannot exist ----------------------------------

TEST(Limiti, ValuesOutsideTheirRangeAreRefusedByTheirBox) {
    const std::string fra01 = ": il valore deve essere compreso fra 0 e 1!";
    const std::string ebollizione = "temperatura [C]: oltre l ebollizione dell acqua (" +
                                    formatta(*temperatura_saturazione(pressione_atmosferica), 0, 2) +
                                    " C a 101335 Pa)!";
    struct Caso {
        int tipo;
        std::vector<std::pair<int, std::string>> testi;
        std::string messaggio; // empty: accepted
    };
    const Caso casi[] = {
        {3, {{4, "100"}}, ""},
        {3, {{4, "100.01"}}, "efficienza umidificazione[%]: il valore deve essere compreso fra 0 e 100!"},
        {3, {{4, "-0.01"}}, "efficienza umidificazione[%]: il valore deve essere compreso fra 0 e 100!"},
        {7, {{10, "100.01"}}, "EFFICIENZA % UMIDIFICAZIONE: il valore deve essere compreso fra 0 e 100!"},
        {5, {{5, "1"}}, ""},
        {5, {{5, "1.01"}}, "FATTORE BYPASS" + fra01},
        {5, {{5, "-0.01"}}, "FATTORE BYPASS" + fra01},
        {21, {{9, "1.01"}}, "FATTORE DI BYPASS" + fra01},
        {6, {{5, "1.01"}}, "rapporto aria est/totale" + fra01},
        {17, {{5, "-0.01"}}, "rapporto aria est/totale" + fra01},
        {13, {{4, "7"}}, ""},
        {13,
         {{4, "6.99"}},
         "umid specif finale [g/kg]: il vapore non può togliere acqua: l umidità finale è inferiore a quella "
         "iniziale!"},
        {13, {{2, "27.2"}, {4, "30"}}, ""},
        {13, {{2, "27.3"}}, "umid specif iniziale[g/kg]: umidità specifica superiore a quella limite!(=27.20)"},
        {1, {{5, "100"}}, ""},
        {1, {{5, "100.01"}}, "umidita 2: l umidità relativa non può essere maggiore di 100!"},
        {2, {{2, "-0.01"}}, "umidita 1: l umidità non può essere negativa!"},
        {1, {{6, "-1"}}, "portata 2: la portata non può essere negativa!"},
        {21, {{8, "-1"}}, "Portata aria [kg/h]: la portata non può essere negativa!"},
        {5, {{4, "27.01"}}, "temperatura batteria[C]: la batteria è più calda dell aria e non può raffreddarla!"},
        // The program's correlation boils at 103.47 C at its fixed pressure.
        {4, {{1, "103.4"}, {2, "50"}}, ""},
        {4, {{1, "103.5"}, {2, "50"}}, ebollizione},
        {4, {{2, "-1"}}, "umidita: l umidità non può essere negativa!"},
    };
    for (const Caso& k : casi) {
        SCOPED_TRACE(std::to_string(k.tipo) + " " + k.testi[0].second + " " + k.messaggio);
        Esecuzione e(k.tipo, k.testi);
        if (k.messaggio.empty()) {
            EXPECT_FALSE(e.errore) << k.tipo << " " << k.testi[0].second << ": " << e.errore->testo;
        } else {
            attesa_impossibile(e, k.messaggio);
        }
    }
    // At 3000 m water boils near 93 C (by the program's correlation): 95 C is refused, naming that boiling point.
    const Aria quota{pressione_pascal_da_quota(3000)};
    Esecuzione bolle(4, {{1, "95"}, {2, "100"}}, 0, 0, std::nullopt, quota);
    attesa_impossibile(bolle, "temperatura [C]: oltre l ebollizione dell acqua (92.87 C a 71468 Pa)!");
}

TEST(Limiti, StateAtZeroDegreesAndZeroHumidityIsDrawn) {
    Esecuzione e(4, {{1, "0"}, {2, "0"}});
    attesa_senza_errore(e, VistaGrafico::punto);
    EXPECT_TRUE(e.voce(1).in_uso());
}

namespace {

// The number after the colon of a report line, its decimal comma read as a point.
double numero_riga(std::string r) {
    std::replace(r.begin(), r.end(), ',', '.');
    const auto p = r.find(':');
    return leggi_numero(p == std::string::npos ? r : r.substr(p + 1)).valore;
}

// The lines of a plant that can exist: no flow, water, condensate or steam below 0, no bypass factor outside
// 0 … 1, no humidity ratio below 0, and a fog warning within five lines of a relative humidity above saturation.
void controlla_righe(const std::vector<std::string>& r, int tipo, const std::string& quale) {
    for (std::size_t k = 0; k < r.size(); ++k) {
        const std::string& l = r[k];
        std::string minuscola = l;
        std::transform(l.begin(), l.end(), minuscola.begin(), [](unsigned char ch) { return std::tolower(ch); });
        if (l.rfind("umidita relativa", 0) == 0 && numero_riga(l) > 100.05) {
            const auto fine = r.begin() + static_cast<std::ptrdiff_t>(std::min(k + 5, r.size()));
            EXPECT_NE(
                std::find(r.begin() + static_cast<std::ptrdiff_t>(k), fine, "ATTENZIONE: stato sovrasaturo (nebbia)"),
                fine)
                << quale << ": " << l;
        }
        if (l.rfind("umidita specifica", 0) == 0) {
            EXPECT_GE(numero_riga(l), 0.0) << quale << ": " << l;
        }
        const bool quantita = minuscola.rfind("portata", 0) == 0 || minuscola.rfind("acqua", 0) == 0 ||
                              (minuscola.rfind("salto di umid", 0) == 0 && (tipo == 3 || tipo == 13)) ||
                              minuscola.rfind("fattore bypass", 0) == 0 ||
                              l.rfind("Potenza frigorifera     ", 0) == 0 || l.rfind("Potenza pre", 0) == 0 ||
                              l.rfind("Potenza post", 0) == 0 || l.rfind("Potenza riscaldamento", 0) == 0;
        if (quantita) {
            EXPECT_GE(numero_riga(l), 0.0) << quale << ": " << l;
        }
        if (minuscola.rfind("fattore bypass", 0) == 0) {
            EXPECT_LE(numero_riga(l), 1.0) << quale;
        }
    }
}

// The chart points of a plant that can exist: none below 0 g/kg, no cooling coil that heats or adds water, no
// humidifier that dries, the wet bulb between the dew point and the dry bulb.
void controlla_punti(const Esecuzione& e, int tipo, const std::string& quale) {
    for (int i = 1; i <= TabellaPunti::numero_voci; ++i)
        if (e.voce(i).in_uso()) {
            EXPECT_GE(e.voce(i).Y, 0.0) << quale;
        }
    if (tipo == 5) {
        EXPECT_LE(e.voce(2).X, e.voce(3).X) << quale;
        EXPECT_LE(e.voce(2).Y, e.voce(3).Y) << quale;
    }
    if (tipo == 3 || tipo == 13) {
        EXPECT_GE(e.voce(2).Y, e.voce(1).Y) << quale;
    }
    if (tipo == 4 && e.voce(2).in_uso()) {
        // Wet bulb (BU) between the dew point (R) and the dry bulb (P), within the searches' tolerances.
        EXPECT_GE(e.voce(3).X, e.voce(2).X - 0.05) << quale;
        EXPECT_LE(e.voce(3).X, e.voce(1).X + 1e-9) << quale;
    }
}

} // namespace

// Over a grid of inputs of every kind at three pressures: every calculation either stops with a reason or reports
// a plant that can exist. No flow, water, condensate or steam below 0, no bypass factor outside 0 … 1, no heater or
// cooling coil working backwards, no state below 0 g/kg or above saturation without its fog warning, and the wet
// bulb between the dew point and the dry bulb.
TEST(Limiti, EveryReportedPlantCanExist) {
    const std::vector<std::string> T{"-30", "-12", "-5", "0", "10", "20", "27", "35", "45", "90"};
    const std::vector<std::string> UR{"0", "10", "30", "60.5", "95", "100", "101"};
    const std::vector<std::string> F{"0", "1000", "5000", "-1"};
    const std::vector<std::string> FR{"0", "0.25", "0.5", "1", "1.2"};
    const std::vector<std::string> Q{"0", "500", "4500", "10500", "-500", "-5000"};
    const std::vector<std::string> EFF{"0", "65", "100", "120"};
    std::mt19937 caso(18);
    const auto scegli = [&](const std::vector<std::string>& v) { return v[caso() % v.size()]; };
    int possibili = 0, rifiutati = 0;
    for (const double p : {pressione_atmosferica, 80000.0, pressione_pascal_da_quota(2500)})
        for (int n = 0; n < 60; ++n) {
            const std::vector<std::pair<int, std::vector<std::pair<int, std::string>>>> prove{
                {1, {{1, scegli(T)}, {2, scegli(UR)}, {3, scegli(F)}, {4, scegli(T)}, {5, scegli(UR)}, {6, scegli(F)}}},
                {2, {{1, scegli(T)}, {2, scegli(UR)}, {3, scegli(F)}, {4, scegli(T)}}},
                {3, {{1, scegli(T)}, {2, scegli(UR)}, {3, scegli({"0", "20", "60"})}, {4, scegli(EFF)}}},
                {4, {{1, scegli(T)}, {2, scegli(UR)}}},
                {5, {{1, scegli(T)}, {2, scegli(UR)}, {3, scegli(F)}, {4, scegli(T)}, {5, scegli(FR)}}},
                {6,
                 {{1, scegli({"24", "27"})},
                  {2, scegli({"40", "60"})},
                  {3, scegli(T)},
                  {4, scegli(UR)},
                  {5, scegli(FR)},
                  {6, scegli(Q)},
                  {7, scegli({"8", "12", "16"})},
                  {8, scegli(Q)}}},
                {21,
                 {{1, scegli({"24", "27"})},
                  {2, scegli({"40", "60"})},
                  {3, scegli(T)},
                  {4, scegli(UR)},
                  {5, scegli(FR)},
                  {7, scegli({"8", "12", "20"})},
                  {8, scegli(F)},
                  {9, scegli(FR)}}},
                {7,
                 {{3, scegli(T)},
                  {4, scegli(UR)},
                  {5, scegli(FR)},
                  {6, scegli(Q)},
                  {7, scegli(Q)},
                  {8, scegli({"0", "10", "20", "30"})},
                  {9, scegli({"0", "30", "39", "-1"})},
                  {10, scegli(EFF)}}},
                {17,
                 {{3, scegli(T)},
                  {4, scegli(UR)},
                  {5, scegli(FR)},
                  {6, scegli(Q)},
                  {7, scegli(Q)},
                  {8, scegli({"10", "15", "35", "45"})}}},
                {13, {{1, scegli(T)}, {2, scegli({"0", "2", "7", "15"})}, {4, scegli({"0", "7", "15", "30"})}}},
            };
            for (const auto& [tipo, testi] : prove) {
                const std::string risposta = scegli(FR);
                Esecuzione e(tipo, testi, 0, 0, risposta, Aria{p});
                if (e.errore) {
                    rifiutati += e.errore->causa == Causa::impianto;
                    continue;
                }
                ++possibili;
                std::string quale = std::to_string(tipo);
                for (const auto& [box, testo] : testi)
                    quale += " --e" + std::to_string(box) + " " + testo;
                quale += " --risposta " + risposta + " --pressione " + formatta(p, 0, 0);
                controlla_righe(e.righe(), tipo, quale);
                controlla_punti(e, tipo, quale);
            }
        }
    EXPECT_GT(possibili, 300);
    EXPECT_GT(rifiutati, 100);
}

// ---- every kind: odd texts never crash ---------------------------------------------------------------------------

TEST(TestiStrani, EveryKindEndsWithAChartOrAnError) {
    for (const int tipo : {1, 2, 3, 5, 6, 7, 13, 17, 21}) {
        for (const char* testo : {"abc", "", "20,5", "1e400", "-1e300", "nan", "-300"}) {
            for (int box = 1; box <= 10; ++box) {
                Esecuzione e(tipo, {{box, testo}}, 0, 0, "0.5");
                if (e.errore)
                    EXPECT_TRUE(e.est.viste.empty());
                else
                    EXPECT_EQ(e.est.viste.size(), 1u) << tipo << " " << testo << " " << box;
            }
        }
    }
}
