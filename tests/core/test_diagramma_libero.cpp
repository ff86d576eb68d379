// The working chart: each process gives what the form of the same process gives, moving a state computes again
// exactly what follows from it, every edit undoes and redoes, and what no plant can do is refused in its line.
#include "core/diagramma_libero.h"
#include "core/diagramma_libero_tabella.h"
#include "core/esecuzione.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ondix {

namespace {

// A form's calculation with its boxes as texts, mass flows (kg/h) and the humidity option `umidita`.
RisultatoCalcolo forma(int tipo, std::vector<std::string> testi, int umidita = 0) {
    RichiestaCalcolo r;
    r.tipo = tipo;
    for (std::size_t i = 0; i < testi.size(); ++i)
        r.testi[i] = testi[i];
    r.umidita = umidita;
    r.portata = 1;
    return esegui(r);
}

double risultato(const RisultatoCalcolo& e, const std::string& chiave) {
    for (const auto& [k, v] : e.contesto.risultati.valori)
        if (k == chiave) return v;
    ADD_FAILURE() << "no result " << chiave;
    return 0.0;
}

double numero(const std::string& s) {
    return std::stod(s);
}

// The outlet of the process just added.
const StatoCompleto& uscita(const DiagrammaLibero& d, int id) {
    return *d.stato(*d.indice_stato(id)).stato;
}

const RisultatoTrasformazione& ultima(const DiagrammaLibero& d) {
    return d.trasformazione(d.numero_trasformazioni() - 1);
}

int dato(DiagrammaLibero& d, const std::string& nome, const std::string& t, const std::string& ur) {
    return *d.aggiungi_stato(nome, {Grandezza::t, numero(t)}, {Grandezza::ur, numero(ur)});
}

// A summer plant: outdoor E and room A mixed into M, a coil to C, a heater to S, a free line from A to S.
struct Impianto {
    DiagrammaLibero d;
    int e, a, m, c, s;
    Impianto() {
        e = dato(d, "E", "32", "50");
        a = dato(d, "A", "26", "50");
        auto k = trasformazione_tra(TipoTrasformazione::miscela, e, a);
        k.frazione = 0.3;
        m = *d.aggiungi_trasformazione(k);
        k = trasformazione_tra(TipoTrasformazione::batteria, m);
        k.t_batteria = 10.0;
        k.fattore_bypass = 0.15;
        k.portata = 5000.0;
        c = *d.aggiungi_trasformazione(k);
        k = trasformazione_tra(TipoTrasformazione::sensibile, c);
        k.t_uscita = 16.0;
        s = *d.aggiungi_trasformazione(k);
        (void)*d.aggiungi_trasformazione(trasformazione_tra(TipoTrasformazione::linea, a, s));
    }
};

} // namespace

// Every process of the chart against the form of the same process over a few inlets: the same outlet to the last
// bit, the same power and water.
TEST(DiagrammaLibero, ProcessesGiveWhatTheFormsGive) {
    const std::vector<std::vector<std::string>> ingressi{{"26", "50"}, {"32.5", "65"}, {"5", "80"}};
    for (const auto& i : ingressi) {
        DiagrammaLibero d;
        const int a = dato(d, "", i[0], i[1]);
        const int b = dato(d, "", "18", "40");

        auto k = trasformazione_tra(TipoTrasformazione::miscela, a, b);
        k.portata_da = 3000.0;
        k.portata_con = 1200.0;
        const int m = *d.aggiungi_trasformazione(k);
        const RisultatoCalcolo e1 = forma(1, {i[0], i[1], "3000", "18", "40", "1200"});
        EXPECT_EQ(uscita(d, m).t, e1.contesto.punti[3].X);
        EXPECT_EQ(uscita(d, m).x, e1.contesto.punti[3].Y);
        EXPECT_EQ(*ultima(d).portata, risultato(e1, "portata_kg_h"));

        k = trasformazione_tra(TipoTrasformazione::sensibile, a);
        k.t_uscita = 40.0;
        k.portata = 1500.0;
        const int s = *d.aggiungi_trasformazione(k);
        const RisultatoCalcolo e2 = forma(2, {i[0], i[1], "1500", "40"});
        EXPECT_EQ(uscita(d, s).x, e2.contesto.punti[2].Y);
        EXPECT_EQ(*ultima(d).potenza_kw(), risultato(e2, "potenza_kW"));

        k = trasformazione_tra(TipoTrasformazione::adiabatica, a);
        k.t_acqua = 12.0;
        k.efficienza = 85.0;
        const int u = *d.aggiungi_trasformazione(k);
        const RisultatoCalcolo e3 = forma(3, {i[0], i[1], "12", "85"});
        EXPECT_EQ(uscita(d, u).t, e3.contesto.punti[2].X);
        EXPECT_EQ(uscita(d, u).x, e3.contesto.punti[2].Y);

        k = trasformazione_tra(TipoTrasformazione::batteria, a);
        k.t_batteria = 2.0;
        k.fattore_bypass = 0.2;
        k.portata = 2000.0;
        const int c = *d.aggiungi_trasformazione(k);
        const RisultatoCalcolo e5 = forma(5, {i[0], i[1], "2000", "2", "0.2"});
        EXPECT_EQ(uscita(d, c).t, e5.contesto.punti[2].X);
        EXPECT_EQ(uscita(d, c).x, e5.contesto.punti[2].Y);
        EXPECT_EQ(-*ultima(d).acqua_kg_h(), risultato(e5, "condensa_kg_h"));

        // The steam starts from the inlet given by its humidity ratio, as kind 13 takes it.
        const StatoCompleto ia = *d.stato(0).stato;
        k = trasformazione_tra(TipoTrasformazione::vapore, a);
        k.t_vapore = 110.0;
        k.x_uscita = ia.x + 4.0;
        const int v = *d.aggiungi_trasformazione(k);
        const auto testo = [](double z) {
            char buf[40];
            std::snprintf(buf, sizeof buf, "%.17g", z);
            return std::string(buf);
        };
        const RisultatoCalcolo e13 = forma(13, {i[0], testo(ia.x), "110", testo(ia.x + 4.0)}, 1);
        EXPECT_EQ(uscita(d, v).t, e13.contesto.punti[2].X);
        EXPECT_EQ(uscita(d, v).x, e13.contesto.punti[2].Y);
        for (std::size_t n = 0; n < d.numero_trasformazioni(); ++n)
            EXPECT_FALSE(d.trasformazione(n).rifiuto) << d.trasformazione(n).rifiuto->testo;
    }
}

// An outlet placed by the user: the coil, the humidifier, the steam and the mixing find the parameters that put
// the outlet there, and the process run with them puts it there.
TEST(DiagrammaLibero, ParametersFoundFromThePlacedOutlet) {
    DiagrammaLibero d;
    const int a = dato(d, "", "30", "50"), b = dato(d, "", "20", "30");
    // The mixture lies on the line between its streams: 60 % of the first one.
    const double xm = 0.6 * d.stato(0).stato->x + 0.4 * d.stato(1).stato->x;
    for (const auto& [tipo, t, x] :
         {std::tuple{TipoTrasformazione::batteria, 15.0, 9.0}, std::tuple{TipoTrasformazione::adiabatica, 25.0, 15.0},
          std::tuple{TipoTrasformazione::vapore, 31.0, 16.0}, std::tuple{TipoTrasformazione::miscela, 26.0, xm}}) {
        auto k = trasformazione_tra(tipo, a, tipo == TipoTrasformazione::miscela ? b : 0);
        const int u = *d.aggiungi_trasformazione(k);
        ASSERT_TRUE(d.sposta(u, t, x));
        const RisultatoTrasformazione& r = ultima(d);
        ASSERT_FALSE(r.rifiuto) << r.rifiuto->testo;
        // The coil and the mixing reach the point itself, the humidifiers its humidity ratio along their own line
        // (the adiabatic one within its own search's 0.001 kJ/kg).
        EXPECT_NEAR(uscita(d, u).x, x, tipo == TipoTrasformazione::adiabatica ? 1e-3 : 1e-6) << int(tipo);
        if (tipo == TipoTrasformazione::batteria || tipo == TipoTrasformazione::miscela) {
            EXPECT_NEAR(uscita(d, u).t, t, 1e-4) << int(tipo);
        }
    }
    // The coil found: its outlet lies on the line from the inlet to saturated air at the coil temperature.
    const DefinizioneTrasformazione& c = d.trasformazione(0).usata;
    const double xs = umidita_saturazione(c.t_batteria);
    EXPECT_NEAR((9.0 - xs) / (15.0 - c.t_batteria), (umidita_specifica(50.0, 30.0) - xs) / (30.0 - c.t_batteria), 1e-6);
}

// Moving a state computes again everything that follows from it, and only that: the chart after a few moves is the
// chart computed afresh from its definition.
TEST(DiagrammaLibero, MovingAStateComputesWhatFollows) {
    Impianto p;
    const StatoCompleto prima_c = uscita(p.d, p.c), prima_a = *p.d.stato(1).stato;
    p.d.inizia_trascinamento(p.e);
    ASSERT_TRUE(p.d.trascina(35.0, 16.0));
    ASSERT_TRUE(p.d.trascina(36.0, 17.0));
    EXPECT_NE(uscita(p.d, p.c).t, prima_c.t);
    EXPECT_EQ(p.d.stato(1).stato->t, prima_a.t);
    EXPECT_EQ(uscita(p.d, p.s).t, 16.0);

    DiagrammaLibero nuovo;
    ASSERT_TRUE(nuovo.carica(p.d.definizione()));
    EXPECT_EQ(tabella_diagramma(nuovo).stati, tabella_diagramma(p.d).stati);
    EXPECT_EQ(tabella_diagramma(nuovo).trasformazioni, tabella_diagramma(p.d).trasformazioni);
    p.d.fine_trascinamento();
    EXPECT_EQ(p.d.prossimo_annulla(), "sposta E");
}

// Every edit is one step: undone back to the empty chart, redone to the same chart, a drag one step, a new edit after
// an undo drops what could be redone.
TEST(DiagrammaLibero, EveryEditUndoesAndRedoes) {
    Impianto p;
    const DefinizioneDiagramma finale = p.d.definizione();
    ASSERT_TRUE(p.d.sposta(p.a, 25.0, 9.0));
    ASSERT_TRUE(p.d.rinomina(p.s, "immissione"));
    p.d.elimina_stato(p.m);
    EXPECT_EQ(p.d.numero_stati(), 2u); // M, C and S went with the mixing
    EXPECT_EQ(p.d.numero_trasformazioni(), 0u);
    int passi = 0;
    while (p.d.annulla())
        ++passi;
    EXPECT_EQ(passi, 9);
    EXPECT_EQ(p.d.numero_stati(), 0u);
    for (int n = 0; n < 6; ++n)
        ASSERT_TRUE(p.d.ripeti());
    EXPECT_EQ(p.d.definizione(), finale);
    EXPECT_EQ(tabella_diagramma(p.d).stati[2][0], "M"); // the mixture
    (void)p.d.aggiungi_punto(10.0, 5.0);
    EXPECT_FALSE(p.d.puo_ripetere());
}

// What no plant can do: a coil warmer than its inlet (after the inlet moved), a coil target that adds water, steam
// that dries; each refused in its own line with the reason, and what follows from it has no state.
TEST(DiagrammaLibero, ImpossibleProcessesAreRefusedInTheirLine) {
    Impianto p;
    ASSERT_TRUE(p.d.sposta(p.e, 5.0, 3.0));
    ASSERT_TRUE(p.d.sposta(p.a, 8.0, 4.0));
    const RisultatoTrasformazione& coil = p.d.trasformazione(1);
    ASSERT_TRUE(coil.rifiuto);
    EXPECT_EQ(coil.rifiuto->causa, Causa::impianto);
    EXPECT_EQ(coil.rifiuto->testo, "la batteria è più calda dell aria e non può raffreddarla!");
    EXPECT_FALSE(p.d.stato(*p.d.indice_stato(p.s)).stato);
    EXPECT_NE(tabella_diagramma(p.d).trasformazioni[2][colonna_esito_trasformazioni].find("non è calcolato"),
              std::string::npos);
    ASSERT_TRUE(p.d.annulla());
    ASSERT_TRUE(p.d.annulla());
    EXPECT_FALSE(p.d.trasformazione(1).rifiuto);

    // The coil's outlet dragged above its inlet's humidity ratio: just above is refused, just on it is a dry coil.
    const double xm = uscita(p.d, p.m).x, tm = uscita(p.d, p.m).t;
    ASSERT_TRUE(p.d.sposta(p.c, tm - 5.0, xm + 1e-6));
    EXPECT_NE(p.d.trasformazione(1).rifiuto->testo.find("una batteria non aggiunge acqua"), std::string::npos);
    ASSERT_TRUE(p.d.sposta(p.c, tm - 5.0, xm));
    EXPECT_FALSE(p.d.trasformazione(1).rifiuto);
    EXPECT_TRUE(p.d.trasformazione(1).asciutta);

    auto k = trasformazione_tra(TipoTrasformazione::vapore, p.a);
    k.x_uscita = uscita(p.d, p.a).x - 0.5;
    (void)*p.d.aggiungi_trasformazione(k);
    EXPECT_EQ(ultima(p.d).rifiuto->testo,
              "il vapore non può togliere acqua: l umidità finale è inferiore a quella iniziale!");
}

// A state placed above the saturation curve is fog: its table line shows what the readout shows there and the
// equilibrium of the same enthalpy.
TEST(DiagrammaLibero, FogStatesShowTheirEquilibrium) {
    DiagrammaLibero d;
    (void)d.aggiungi_punto(20.0, 18.0);
    const StatoDiagramma& s = d.stato(0);
    ASSERT_TRUE(s.nebbia);
    EXPECT_NEAR(entalpia(s.nebbia->x, s.nebbia->t), entalpia(18.0, 20.0), 0.01);
    EXPECT_NEAR(s.nebbia->acqua, 18.0 - s.nebbia->x, 1e-12);
    const auto riga = tabella_diagramma(d).stati[0];
    EXPECT_EQ(riga[3], ""); // no relative humidity above saturation
    EXPECT_EQ(riga[colonna_note_stati].rfind("nebbia: equilibrio ", 0), 0u);
}

} // namespace ondix
