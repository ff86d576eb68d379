// Air-handling units: chains that equal a process give its numbers, every section keeps its balances, the heat
// recovery follows EN 308, a designed duty fed back gives its target, and file faults name their line.
#include "core/aria_umida.h"
#include "core/calcolo.h"
#include "core/numeri.h"
#include "core/stato_aria.h"
#include "core/uta.h"
#include "core/uta_file.h"
#include "esterno_prova.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace ondix;

namespace {

struct Calcolata {
    Contesto ctx;
    RisultatoUta r;
    std::optional<Errore> errore;
};

// The unit of the JSON text `testo`, computed for its condition `condizione` (the first one when empty).
Calcolata calcola(const std::string& testo, const std::string& condizione = {}) {
    const auto u = leggi_uta(testo, "prova.json");
    EXPECT_TRUE(u.ok()) << (u.ok() ? "" : u.errore().testo);
    Calcolata c;
    if (!u.ok()) return c;
    const Condizione* k = &u->condizioni.front();
    if (!condizione.empty()) k = *trova_condizione(*u, condizione);
    EsternoProva est;
    if (const Fatto f = esegui_uta(*u, *k, c.ctx, est, c.r); !f) c.errore = f.errore();
    return c;
}

// A unit with outdoor air (t, ur), room (26, 50), the flow and the sections given as JSON.
std::string unita(double t, double ur, const std::string& portata, const std::string& sezioni,
                  const std::string& extra = {}) {
    return R"({"portata_esterna": )" + portata + R"(, "ambiente": {"t": 26, "ur": 50}, )" + extra +
           R"("condizioni": [{"nome": "c", "esterna": {"t": )" + std::to_string(t) + R"(, "ur": )" +
           std::to_string(ur) + R"(}}], "sezioni": [)" + sezioni + "]}";
}

// The `n` lines after the first line that is `titolo`, or nothing.
std::vector<std::string> dopo(const std::vector<std::string>& righe, const std::string& titolo, std::size_t n) {
    for (std::size_t i = 0; i < righe.size(); ++i)
        if (righe[i] == titolo && i + n < righe.size())
            return {righe.begin() + static_cast<std::ptrdiff_t>(i + 1),
                    righe.begin() + static_cast<std::ptrdiff_t>(i + 1 + n)};
    return {};
}

// The line that starts with `inizio`, from its ':' on, without blanks (the widths of the fields may differ).
std::string valore_riga(const std::vector<std::string>& righe, const std::string& inizio) {
    for (const std::string& r : righe)
        if (r.rfind(inizio, 0) == 0) {
            std::string v = r.substr(r.find(':'));
            std::erase(v, ' ');
            return v;
        }
    return "(manca " + inizio + ")";
}

Contesto processo(int tipo, const std::vector<std::pair<int, std::string>>& testi, int portata = 0) {
    Contesto ctx;
    ctx.processo = static_cast<TipoProcesso>(tipo);
    imposta_maschera(ctx);
    for (const auto& [n, t] : testi)
        ctx.maschera.testo.at(static_cast<std::size_t>(n - 1)) = t;
    ctx.maschera.portata = portata;
    EsternoProva est;
    EXPECT_TRUE(vai_calcolo(ctx, est).ok());
    return ctx;
}

} // namespace

namespace {

// A process and the chain of sections that is the same process.
struct CasoCatena {
    const char* nome;
    int tipo;
    std::vector<std::pair<int, std::string>> testi;
    int portata;
    std::string uta;
    std::string titolo_processo;
    std::vector<std::string> righe_dato; // lines compared from their ':' on (the first in each report)
};

std::vector<CasoCatena> casi_catene() {
    return {
        {"miscela",
         1,
         {{1, "30"}, {2, "40"}, {3, "3000"}, {4, "26"}, {5, "50"}, {6, "5000"}},
         0,
         unita(30, 40, "3000", R"({"tipo": "miscela", "nome": "M", "portata_ripresa": 5000})"),
         "        punto M",
         {}},
        {"riscaldamento",
         2,
         {{1, "-5"}, {2, "80"}, {3, "4000"}, {4, "22"}},
         0,
         unita(-5, 80, "4000", R"({"tipo": "riscaldamento", "nome": "R", "t_uscita": 22})"),
         "       USCITA",
         {"POTENZA TERMICA", "SALTO ENTALPICO"}},
        {"raffreddamento sensibile",
         2,
         {{1, "32"}, {2, "20"}, {3, "1500"}, {4, "24"}},
         1,
         unita(32, 20, "\"1500 kg/h\"",
               R"({"tipo": "raffreddamento", "nome": "B", "fattore_bypass": 0, "t_uscita": 24})"),
         "       USCITA",
         {}},
        {"acqua",
         3,
         {{1, "30"}, {2, "30"}, {3, "20"}, {4, "75"}},
         0,
         unita(30, 30, "1000", R"({"tipo": "umidificatore_acqua", "nome": "U", "t_acqua": 20, "efficienza": 75})"),
         "USCITA",
         {}},
        {"vapore",
         13,
         {{1, "30"}, {2, "7"}, {3, "80"}, {4, "15"}},
         0,
         R"({"portata_esterna": 1000, "ambiente": {"t": 26, "ur": 50},
             "condizioni": [{"nome": "c", "esterna": {"t": 30, "x": 7}}],
             "sezioni": [{"tipo": "umidificatore_vapore", "nome": "V", "t_vapore": 80, "x_uscita": 15}]})",
         "USCITA",
         {}},
        {"batteria con bypass",
         5,
         {{1, "27"}, {2, "50"}, {3, "1000"}, {4, "12"}, {5, "0.2"}},
         0,
         unita(27, 50, "1000", R"({"tipo": "raffreddamento", "nome": "B", "t_batteria": 12, "fattore_bypass": 0.2})"),
         "         USCITA",
         {"PORTATA ACQUA CONDENSATA"}},
        // The winter cycle up to its post-heating: mixing (the outdoor and return flows in the cycle's volumetric
        // ratio), pre-heating to 20 C, humidification with water at 20 C and 35 %, post-heating to 35 C.
        {"ciclo invernale",
         7,
         {{8, "20"}, {9, "35"}, {10, "35"}},
         0,
         R"({"portata_esterna": 0.2, "ambiente": {"t": 21, "ur": 50},
             "condizioni": [{"nome": "c", "esterna": {"t": -5, "ur": 90}}],
             "sezioni": [{"tipo": "miscela", "nome": "M", "portata_ripresa": 0.8},
                         {"tipo": "riscaldamento", "nome": "PRE", "t_uscita": 20},
                         {"tipo": "umidificatore_acqua", "nome": "U", "t_acqua": 20, "efficienza": 35},
                         {"tipo": "riscaldamento", "nome": "POST", "t_uscita": 35}]})",
         "FINE postriscaldamento",
         {}},
    };
}

} // namespace

// A chain of one section (or two) that is a process gives the process's outlet block and its power, condensate or
// humidity lines to the last printed digit.
TEST(Uta, ChainsEqualToAProcessPrintItsNumbers) {
    for (const CasoCatena& c : casi_catene()) {
        SCOPED_TRACE(c.nome);
        const Contesto p = processo(c.tipo, c.testi, c.portata);
        const Calcolata u = calcola(c.uta);
        ASSERT_FALSE(u.errore) << u.errore->testo;
        const std::string ultimo =
            formatta(static_cast<double>(u.r.sezioni.size()), 2, 0) + " USCITA " + u.r.sezioni.back().nome;
        const auto attese = dopo(p.rapporto.righe(), c.titolo_processo, 5);
        ASSERT_EQ(attese.size(), 5u);
        EXPECT_EQ(dopo(u.ctx.rapporto.righe(), ultimo, 5), attese);
        for (const std::string& d : c.righe_dato)
            EXPECT_EQ(valore_riga(u.ctx.rapporto.righe(), d), valore_riga(p.rapporto.righe(), d));
    }
}

namespace {

// Section i of a computed unit keeps its balances: dry air, water and energy (with the water or steam it takes and
// the condensate it gives), and a recovery's two sides agree.
void controlla_bilanci(const Calcolata& c, std::size_t i) {
    const auto& st = c.r.stati;
    const RisultatoSezione& e = c.r.sezioni[i - 1];
    SCOPED_TRACE(e.nome);
    const StatoCompleto &a = st[i - 1].stato, &b = st[i].stato;
    const double m = st[i].portata;
    std::map<std::string, double> d;
    for (const DatoSezione& x : e.dati)
        d[x.chiave] = x.valore;
    const double dh = m * (b.h - a.h) / 3600.0, dx = m * (b.x - a.x) / 1000.0;
    switch (e.tipo) {
    case TipoSezione::recuperatore: {
        const double mx = d["portata_espulsione"];
        const StatoCompleto &i11 = *e.espulsione_ingresso, &o12 = *e.espulsione_uscita;
        EXPECT_NEAR(dh, d["potenza_recuperata"], 1e-9);
        EXPECT_NEAR(dh, mx * (i11.h - o12.h) / 3600.0, 1e-3);
        EXPECT_NEAR(dx, mx * (i11.x - o12.x) / 1000.0, 1e-9);
        break;
    }
    case TipoSezione::miscela: {
        const double mr = d["portata_ripresa"];
        const StatoCompleto& r = c.r.ambiente;
        EXPECT_NEAR(m, st[i - 1].portata + mr, 1e-9);
        EXPECT_NEAR(m * b.x, st[i - 1].portata * a.x + mr * r.x, 1e-6 * m);
        // t and x mix by mass, as the mixing process mixes them: the enthalpy then differs from the
        // mass-weighted one by the cross term of 1.926 t x, well under 0.1 kJ/kg.
        EXPECT_NEAR(m * b.h, st[i - 1].portata * a.h + mr * r.h, 0.1 * m);
        break;
    }
    case TipoSezione::riscaldamento:
    case TipoSezione::ventilatore:
        EXPECT_NEAR(dh, d["potenza"], 1e-6);
        EXPECT_EQ(b.x, a.x);
        break;
    case TipoSezione::raffreddamento:
        EXPECT_NEAR(-dx, d["condensa"], 1e-9);
        EXPECT_NEAR(-dh, d["potenza_frigorifera"] + d["condensa"] * 4.186 * 7.0 / 3600.0, 1e-9);
        EXPECT_LE(b.x, a.x);
        break;
    case TipoSezione::umidificatore_acqua:
        EXPECT_NEAR(dx, d["acqua"], 1e-9);
        // The core's humidifier ends on the enthalpy of its saturated state, which carries the water of
        // full saturation: above the water taken at part efficiency by (xs - x2) 4.186 tw / 1000.
        EXPECT_GE(b.h - a.h, (b.x - a.x) / 1000.0 * 4.186 * 15.0 - 0.003);
        EXPECT_NEAR(b.h - a.h, (b.x - a.x) / 1000.0 * 4.186 * 15.0, 0.2);
        break;
    case TipoSezione::umidificatore_vapore:
        EXPECT_NEAR(dx, d["vapore"], 1e-9);
        EXPECT_NEAR(b.h - a.h, (b.x - a.x) / 1000.0 * (1.926 * 100.0 + 2490.0), 0.011);
        EXPECT_NEAR(b.ur, 98.0, 1e-6);
        break;
    }
    if (e.tipo != TipoSezione::miscela) {
        EXPECT_EQ(m, st[i - 1].portata);
    }
}

} // namespace

// Over a grid of outdoor states and both seasons' rooms, every section of a full unit keeps its balances: dry air,
// water and energy (with the water or steam it takes and the condensate it gives), and the recovery's two sides
// agree.
TEST(Uta, EverySectionKeepsItsBalancesOverAGrid) {
    const std::string sezioni = R"(
        {"tipo": "recuperatore", "nome": "REC", "efficienza_t": 70, "efficienza_x": 50},
        {"tipo": "miscela", "nome": "MIX", "frazione_ripresa": 0.3},
        {"tipo": "riscaldamento", "nome": "PRE", "potenza": 4},
        {"tipo": "umidificatore_acqua", "nome": "UA", "t_acqua": 15, "efficienza": 60},
        {"tipo": "umidificatore_vapore", "nome": "UV", "t_vapore": 100, "ur_uscita": 98},
        {"tipo": "raffreddamento", "nome": "BF", "t_batteria": 7, "fattore_bypass": 0.15},
        {"tipo": "ventilatore", "nome": "V", "aumento_t": 1})";
    int calcolate = 0;
    for (double t : {-10.0, 0.0, 12.0, 24.0, 35.0})
        for (double ur : {20.0, 60.0, 95.0}) {
            SCOPED_TRACE(std::to_string(t) + " C " + std::to_string(ur) + " %");
            const Calcolata c =
                calcola(unita(t, ur, "\"3000 kg/h\"", sezioni, R"("portata_espulsione": "2500 kg/h", )"));
            if (c.errore) {
                // Only the steam humidifier may refuse: air already above its target.
                EXPECT_NE(c.errore->testo.find("UV: "), std::string::npos) << c.errore->testo;
                continue;
            }
            ++calcolate;
            const auto& st = c.r.stati;
            ASSERT_EQ(st.size(), 8u);
            for (std::size_t i = 1; i < st.size(); ++i)
                controlla_bilanci(c, i);
        }
    EXPECT_GE(calcolate, 10);
}

// EN 308 on hand-computed cases: supply ratios give the supply outlet; the extract outlet follows from the balances
// with unequal flows (1000 kg/h supply, 800 kg/h extract).
TEST(Uta, RecoveryFollowsEn308WithUnequalFlows) {
    const auto rec = [](const std::string& eff) {
        return calcola(R"({"portata_esterna": "1000 kg/h", "portata_espulsione": "800 kg/h",
            "ambiente": {"t": 20, "x": 8}, "condizioni": [{"nome": "c", "esterna": {"t": 0, "x": 2}}],
            "sezioni": [{"tipo": "recuperatore", "nome": "R", )" +
                       eff + "}]}");
    };
    // Plate, 70 %: t22 = 0 + 0.7 (20 - 0) = 14 C at x 2; h22 - h21 = (1.004 + 1.926 * 0.002) * 14 = 14.109928;
    // h11 - h12 = 1.25 * that = 17.63741; x12 = 8; t12 = 20 - 17.63741 / (1.004 + 1.926 * 0.008) = 2.698380 C.
    const Calcolata p = rec(R"("efficienza_t": 70)");
    ASSERT_FALSE(p.errore);
    EXPECT_NEAR(p.r.stati[1].stato.t, 14.0, 1e-12);
    EXPECT_NEAR(p.r.stati[1].stato.x, 2.0, 1e-12);
    EXPECT_NEAR(p.r.sezioni[0].espulsione_uscita->t, 2.698380, 1e-5);
    EXPECT_NEAR(p.r.sezioni[0].espulsione_uscita->x, 8.0, 1e-12);
    EXPECT_NEAR(p.r.sezioni[0].dati[3].valore, 86.5081, 1e-3); // extract-side ratio (20 - t12) / 20
    // Rotary, 70 % and 50 %: x22 = 2 + 0.5 (8 - 2) = 5; x12 = 8 - 1.25 * 3 = 4.25.
    const Calcolata r = rec(R"("efficienza_t": 70, "efficienza_x": 50)");
    ASSERT_FALSE(r.errore);
    EXPECT_NEAR(r.r.stati[1].stato.x, 5.0, 1e-12);
    EXPECT_NEAR(r.r.sezioni[0].espulsione_uscita->x, 4.25, 1e-12);
    // A target outlet temperature gives the efficiency back.
    const Calcolata t = rec(R"("t_uscita": 14)");
    ASSERT_FALSE(t.errore);
    EXPECT_NEAR(t.r.sezioni[0].dati[1].valore, 70.0, 1e-9);
}

// A cold exhaust that crosses saturation warns of condensate and, below 0 C, of frost; the seasonal bypass leaves
// a recovery out when it would warm summer air.
TEST(Uta, RecoveryWarnsOfFrostAndBypassesAgainstTheSeason) {
    const Calcolata f = calcola(unita(-15, 80, "3000", R"({"tipo": "recuperatore", "nome": "R", "efficienza_t": 85})",
                                      R"("portata_espulsione": 2000, )"));
    ASSERT_FALSE(f.errore);
    ASSERT_EQ(f.r.avvisi.size(), 2u);
    EXPECT_NE(f.r.avvisi[1].find("brina"), std::string::npos);
    const std::string estate = R"({"portata_esterna": 1000, "ambiente": {"t": 26, "ur": 50},
        "condizioni": [{"nome": "e", "stagione": "estate", "esterna": {"t": 20, "ur": 50}},
                       {"nome": "i", "stagione": "inverno", "esterna": {"t": 20, "ur": 50}}],
        "sezioni": [{"tipo": "recuperatore", "nome": "R", "efficienza_t": 70, "bypass_stagionale": true}]})";
    EXPECT_TRUE(calcola(estate, "e").r.sezioni[0].esclusa);
    EXPECT_FALSE(calcola(estate, "i").r.sezioni[0].esclusa);
}

// Design then verification: the duty a target gives, fed back as the parameter, gives the target; a target out of
// the section's reach is refused naming the section.
TEST(Uta, DesignedDutyFedBackGivesTheTarget) {
    struct Caso {
        const char* sezione_progetto;
        const char* dato;      // the duty found
        const char* parametro; // the key it is given back as
        double (*misura)(const StatoCompleto&);
        double obiettivo;
        const char* base; // the section's other keys
    };
    const auto x = [](const StatoCompleto& s) { return s.x; };
    const auto t = [](const StatoCompleto& s) { return s.t; };
    const auto ur = [](const StatoCompleto& s) { return s.ur; };
    const Caso casi[] = {
        {R"("x_uscita": 9.5)", "t_batteria", "t_batteria", +x, 9.5,
         R"("tipo": "raffreddamento", "fattore_bypass": 0.1)"},
        {R"("t_uscita": 15)", "t_batteria", "t_batteria", +t, 15.0,
         R"("tipo": "raffreddamento", "fattore_bypass": 0.1)"},
        {R"("t_uscita": 40)", "potenza", "potenza", +t, 40.0, R"("tipo": "riscaldamento")"},
        {R"("ur_uscita": 80)", "efficienza", "efficienza", +ur, 80.0,
         R"("tipo": "umidificatore_acqua", "t_acqua": 15)"},
        {R"("ur_uscita": 60)", "vapore", "x_uscita", +ur, 60.0, R"("tipo": "umidificatore_vapore", "t_vapore": 100)"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.sezione_progetto);
        const auto sez = [&](const std::string& p) {
            return "{" + std::string(c.base) + R"(, "nome": "S", )" + p + "}";
        };
        const Calcolata d = calcola(unita(30, 40, "\"2000 kg/h\"", sez(c.sezione_progetto)));
        ASSERT_FALSE(d.errore) << d.errore->testo;
        EXPECT_NEAR(c.misura(d.r.stati[1].stato), c.obiettivo, 1e-6);
        double duty = 0.0;
        for (const DatoSezione& v : d.r.sezioni[0].dati)
            if (v.chiave == c.dato) duty = v.valore;
        // The steam flow (kg/h) is given back as the outlet's humidity ratio: x1 + flow × 1000 / m.
        if (std::string(c.parametro) == "x_uscita") duty = d.r.stati[0].stato.x + duty * 1000.0 / 2000.0;
        char testo[64];
        std::snprintf(testo, sizeof testo, "\"%s\": %.17g", c.parametro, duty);
        const Calcolata v = calcola(unita(30, 40, "\"2000 kg/h\"", sez(testo)));
        ASSERT_FALSE(v.errore) << v.errore->testo;
        EXPECT_NEAR(c.misura(v.r.stati[1].stato), c.obiettivo, 1e-6);
    }
    const std::pair<const char*, const char*> irraggiungibili[] = {
        {R"({"tipo": "umidificatore_acqua", "nome": "UMI", "t_acqua": 15, "ur_uscita": 101})", "UMI: "},
        {R"({"tipo": "umidificatore_vapore", "nome": "UMV", "t_vapore": 100, "ur_uscita": 100.5})", "UMV: "},
        {R"({"tipo": "raffreddamento", "nome": "BF", "fattore_bypass": 0.1, "x_uscita": 20})", "BF: "},
        {R"({"tipo": "raffreddamento", "nome": "BF", "fattore_bypass": 0.5, "x_uscita": 2})", "BF: "},
        {R"({"tipo": "riscaldamento", "nome": "POST", "t_uscita": 20})", "POST: "},
    };
    for (const auto& [s, nome] : irraggiungibili) {
        const Calcolata c = calcola(unita(30, 40, "1000", s));
        ASSERT_TRUE(c.errore) << s;
        EXPECT_EQ(c.errore->causa, Causa::impianto);
        EXPECT_EQ(c.errore->testo.rfind(nome, 0), 0u) << c.errore->testo;
        EXPECT_TRUE(c.ctx.rapporto.righe().empty());
    }
}

// Faults of the file name the file and the line of the offending key, and what is wrong.
TEST(Uta, FileFaultsNameTheirLine) {
    const std::string testa = "{\n\"portata_esterna\": 1000,\n\"ambiente\": {\"t\": 26, \"ur\": 50},\n"
                              "\"condizioni\": [{\"nome\": \"c\", \"esterna\": {\"t\": 30, \"ur\": 40}}],\n"
                              "\"sezioni\": [\n";
    const std::pair<std::string, std::string> casi[] = {
        {testa + "{\"tipo\": \"riscaldamento\", \"t_uscita\": 30},\n{\"tipo\": \"deumidificatore\"}\n]}",
         "prova.json:7: sezione \"deumidificatore\" sconosciuta"},
        {testa + "{\"tipo\": \"raffreddamento\",\n\"t_batteria\": 7}\n]}",
         "prova.json:6: raffreddamento 1: manca la chiave \"fattore_bypass\""},
        {testa + "{\"tipo\": \"riscaldamento\",\n\"potenza\": \"5 kcal/h\"}\n]}",
         "prova.json:7: \"potenza\": unità \"kcal/h\" non valida (in kW)"},
        {testa + "{\"tipo\": \"riscaldamento\", \"potenza\": 5,\n\"t_uscita\": 30}\n]}",
         "prova.json:6: riscaldamento 1: va data una sola tra le chiavi t_uscita, potenza per riscaldamento"},
        {testa + "{\"tipo\": \"ventilatore\",\n\"aumento\": 1}\n]}",
         "prova.json:7: chiave \"aumento\" sconosciuta per ventilatore"},
        {testa + "{\"tipo\": \"ventilatore\", \"aumento_t\": 1}\n,]}", "prova.json:7: JSON non valido"},
        {"{\n\"ambiente\": {\"t\": 26, \"ur\": 50}}", "prova.json:1: manca la chiave \"portata_esterna\""},
        {"{\"portata_esterna\": 1000,\n\"ambiente\": {\"t\": 26,\n\"ur\": 150}}", "prova.json:2: t = 26 C, ur = 150 %"},
        // The air: the limit of the altitude table and one past it, a model that is none.
        {"{\"portata_esterna\": 1000,\n\"quota\": 3000.5}",
         "prova.json:2: quota fuori dalla tabella delle quote, da -250 a 3000 m"},
        {"{\"portata_esterna\": 1000,\n\"quota\": 3000}", "prova.json:1: manca la chiave \"ambiente\""},
        {"{\"portata_esterna\": 1000,\n\"pressione\": 29999}",
         "prova.json:2: pressione 29999 Pa fuori da 30000 a 120000 Pa"},
        {"{\"portata_esterna\": 1000,\n\"modello\": \"x\"}", "prova.json:2: \"x\" non è un modello (usare ashrae)"},
    };
    for (const auto& [testo, atteso] : casi) {
        const auto u = leggi_uta(testo, "prova.json");
        ASSERT_FALSE(u.ok()) << atteso;
        EXPECT_EQ(u.errore().testo.substr(0, atteso.size()), atteso);
        EXPECT_EQ(u.errore().causa, Causa::dati);
    }
}

// The air given in place of the file's replaces it part by part, and the file's states are read in it: the unit is
// the one whose file gives that air.
TEST(Uta, AirGivenInPlaceOfTheFilesIsTheUnitsOwn) {
    const std::string sezione = R"({"tipo": "riscaldamento", "nome": "R", "t_uscita": 30})";
    const std::string con_quota = unita(20, 50, "1000", sezione, R"("quota": 1200, )");
    const auto leggi = [](const std::string& testo, const RichiestaAria& r) {
        auto u = leggi_uta(testo, "prova.json", r);
        EXPECT_TRUE(u.ok()) << (u.ok() ? "" : u.errore().testo);
        return u.ok() ? *u : Uta{};
    };
    RichiestaAria a_zero;
    a_zero.quota = 0.0;
    RichiestaAria ashrae;
    ashrae.modello = "ashrae";
    // An altitude that gives the program's own pressure replaces the file's altitude too.
    EXPECT_EQ(testo_uta(leggi(con_quota, a_zero)),
              testo_uta(leggi(unita(20, 50, "1000", sezione, R"("quota": 0, )"), {})));
    const Uta u = leggi(con_quota, a_zero);
    EXPECT_EQ(u.aria.pressione, pressione_atmosferica);
    EXPECT_EQ(u.ambiente.x, stato_da_coppia({Grandezza::t, 26}, {Grandezza::ur, 50})->x);
    // A model alone keeps the file's altitude.
    const Uta m = leggi(con_quota, ashrae);
    EXPECT_EQ(m.quota, 1200.0);
    EXPECT_EQ(m.aria.pressione, leggi(con_quota, {}).aria.pressione);
    EXPECT_NE(m.aria.modello, nullptr);
}

// What the file writer writes, the reader reads back as the same unit.
TEST(Uta, WrittenFileReadsBackAsTheSameUnit) {
    const std::string testo =
        unita(32, 50, "\"2500 kg/h\"",
              R"({"tipo": "recuperatore", "nome": "R", "efficienza_t": 70, "bypass_stagionale": true},
                                       {"tipo": "miscela", "nome": "M", "portata_ripresa": "800 kg/h"},
                                       {"tipo": "raffreddamento", "nome": "B", "fattore_bypass": 0.1, "x_uscita": 9})",
              R"("quota": 300, "portata_espulsione": 2000, )");
    const auto u = leggi_uta(testo, "a.json");
    ASSERT_TRUE(u.ok()) << u.errore().testo;
    const auto v = leggi_uta(testo_uta(*u), "b.json");
    ASSERT_TRUE(v.ok()) << v.errore().testo;
    EXPECT_EQ(testo_uta(*v), testo_uta(*u));
    EXPECT_EQ(v->sezioni[1].valori, u->sezioni[1].valori);
    EXPECT_EQ(v->aria, u->aria);
}
