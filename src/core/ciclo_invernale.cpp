// Winter air conditioning: heating with water humidification (three plant arrangements chosen by the pre- and
// post-heating temperatures) and heating followed by steam humidification in small steps.
#include "core/aria_umida.h"
#include "core/computazioni.h"
#include "core/modello.h"
#include "core/numeri.h"
#include "core/stato_aria.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ondix {

namespace {

// Room, outdoor and mixture states and the room loads, shared by both winter cycles.
struct StatiInvernali {
    double tA, urA, tE, urE, r, Qs, Ql;
    double xA, hA, xE, vA, vE;
    Miscela M;
    double Q, shf;
};

// Checks between the steps, so that a floating-point error is the one that happened first.
StatiInvernali stati_invernali(Calcolo& c, double tA, double urA, double tE, double urE, double r, double Qs,
                               double Ql) {
    StatiInvernali s{};
    s.tA = tA;
    s.urA = urA;
    s.tE = tE;
    s.urE = urE;
    s.r = r;
    s.Qs = Qs;
    s.Ql = Ql;
    s.xA = umidita_specifica(urA, tA, c.aria());
    s.hA = entalpia(s.xA, tA, c.aria());
    c.controlla();
    s.xE = umidita_specifica(urE, tE, c.aria());
    c.controlla();
    s.vA = volume_specifico(tA, s.xA, c.aria());
    s.vE = volume_specifico(tE, s.xE, c.aria());
    c.controlla();
    // The fractions 1 − r and r take the place of the volumetric flows.
    s.M = miscela(tA, urA, 1.0 - r, tE, urE, r, c.aria());
    c.controlla();
    s.Q = Qs + Ql;
    s.shf = Qs / s.Q;
    c.controlla();
    return s;
}

void titolo_e_carichi(Calcolo& c, const StatiInvernali& s) {
    c.aggiungi("CICLO INVERNALE");
    c.aggiungi("Valori di ingresso");
    Rapporto& rap = c.rapporto();
    scrivi_valore(rap, 8, 0, "Potenza termica sensibile", s.Qs, " watt");
    scrivi_valore(rap, 8, 0, "Potenza termica latente  ", s.Ql, " watt");
    scrivi_valore(rap, 8, 3, "Rapporto aria est/totale ", s.r, "");
}

void tre_punti(Calcolo& c, const StatiInvernali& s) {
    Rapporto& rap = c.rapporto();
    scrivi_punto_titolo(rap, "    Ingresso", s.tA, s.urA, c.aria());
    scrivi_punto_titolo(rap, "    Esterno", s.tE, s.urE, c.aria());
    scrivi_punto_titolo(rap, "    Miscela", s.M.t, s.M.ur, c.aria());
    segnala_nebbia(c, "    Miscela", s.M.t, s.M.x);
}

// The six flow lines of kind 7; the total volumetric flow is taken at the state (tv, xv). Each value is computed
// when its line is written.
void portate(Calcolo& c, double G, double GE, double GI, double tv, double xv, const StatiInvernali& s) {
    Rapporto& rap = c.rapporto();
    scrivi_dato(rap, "Portata ponderale totale", "kg/h", 7, 0, G);
    scrivi_dato(rap, "Portata ponderale aria est", "kg/h", 7, 0, GE);
    scrivi_dato(rap, "Portata ponderale aria int", "kg/h", 7, 0, GI);
    const double V = G * volume_specifico(tv, xv, c.aria());
    scrivi_dato(rap, "Portata volumetrica totale", "mc/h", 7, 0, V);
    scrivi_dato(rap, "Portata volumetrica aria est", "mc/h", 7, 0, GE * s.vE);
    scrivi_dato(rap, "Portata volumetrica aria int", "mc/h", 7, 0, GI * s.vA);
    c.risultato("portata_kg_h", G);
    c.risultato("portata_aria_esterna_kg_h", GE);
    c.risultato("portata_aria_ambiente_kg_h", GI);
    c.risultato("portata_m3_h", V);
    c.risultato("portata_aria_esterna_m3_h", GE * s.vE);
    c.risultato("portata_aria_ambiente_m3_h", GI * s.vA);
}

// A result line of a winter report: written, and its number kept under `chiave`.
void dato(Calcolo& c, std::string_view etichetta, std::string_view unita, std::uint16_t d, double valore,
          std::string chiave) {
    scrivi_dato(c.rapporto(), etichetta, unita, 7, d, valore);
    c.risultato(std::move(chiave), valore);
}

// The states both winter cycles read: room in boxes 1–2, outdoor in 3–4, the outdoor-air fraction in box 5.
void verifica_ingressi_invernali(Calcolo& c, double tA, double urA, double tE, double urE, double r) {
    verifica_temperatura(c, 1, tA);
    verifica_umidita(c, 2, urA, tA, false);
    verifica_temperatura(c, 3, tE);
    verifica_umidita(c, 4, urE, tE, false);
    verifica_intervallo(c, 5, r, 0.0, 1.0);
}

// A heating coil (box n) that would have to cool the air from tI (°C) to t (°C).
void verifica_riscaldamento(Calcolo& c, int n, double t, double tI, const char* da) {
    c.controlla();
    if (t < tI)
        rifiuta(c, n,
                "temperatura inferiore a quella " + std::string(da) + " (" + formatta(tI, 0, 2) +
                    " C): il riscaldamento non può raffreddare!");
}

// The total mass flow 3.6·Q / dh (kg/h) of a supply at tI (°C), dh its enthalpy difference from the room's at tA:
// it must come out positive, else that supply cannot meet the room's loads (at dh = 0, to within rounding, no
// flow can). `sensibile` is the sensible heat the supply must bring into the room (W): a supply no warmer than the
// room cannot heat it, one no colder cannot cool it.
double portata_totale(Calcolo& c, double Q, double dh, double tI, double tA, double sensibile) {
    c.controlla();
    if (sensibile > 0.0 && !(tI > tA))
        c.impossibile("l aria immessa a " + formatta(tI, 0, 2) + " C non è più calda dell ambiente (" +
                      formatta(tA, 0, 2) + " C): non può riscaldarlo!");
    if (sensibile < 0.0 && !(tI < tA))
        c.impossibile("l aria immessa a " + formatta(tI, 0, 2) + " C non è più fredda dell ambiente (" +
                      formatta(tA, 0, 2) + " C): non può raffreddarlo!");
    const double G = std::fabs(dh) <= 1e-9 ? 0.0 : 3.6 * Q / dh;
    c.controlla();
    if (G > 0.0) return G;
    c.impossibile("l aria immessa a " + formatta(tI, 0, 2) +
                  " C non può compensare i carichi ambiente con alcuna portata!");
}

} // namespace

double cerca_preriscaldamento(double x0, double t0, double xS, double eff, Aria a, bool* trovato) {
    double T = t0;
    bool fermo = false;
    for (int i = 0; i < 501; ++i) {
        const double tw = temperatura_bulbo_umido(x0, T, a);
        const double xw = umidita_saturazione(tw, a);
        const double e = (xS - x0) * 100.0 / (xw - x0);
        fermo = !(std::fabs(e - eff) > 0.01);
        if (!fermo) T = T + 0.05;
    }
    if (trovato) *trovato = fermo;
    return T;
}

namespace {

// The humidifier of arrangement A: the end of pre-heating tP (°C), the wet bulb tw (°C) of the pre-heated air,
// whose saturated state the humidifier heads for along a straight line, and the efficiency eff (%) it works at, so
// that it ends at tU = tP − (tP − tw)·eff/100 on the supply humidity.
struct UmidificatoreA {
    double tP, tw, eff;
};

// The humidifier that takes the mixture (tM °C, xM g/kg) to the supply humidity xS (g/kg) of the room line at tpost
// (°C) with the efficiency eff (%). The steps of 0.05 °C find the pre-heating where they stop on the efficiency;
// elsewhere it is solved: the saturated state that the efficiency reaches from xM to xS, and the dry bulb whose wet
// bulb that state is. When that lies below the mixture, the humidifier would overshoot even without pre-heating: it
// is held back to end on xS. When it lies where air cannot be, no plant exists.
UmidificatoreA umidificatore_a(Calcolo& c, double tM, double xM, double xS, double eff, double tpost) {
    const Aria a = c.aria();
    bool trovato = false;
    const double T = cerca_preriscaldamento(xM, tM, xS, eff, a, &trovato);
    c.controlla();
    if (trovato) return {T, temperatura_bulbo_umido(xM, T, a), eff};

    const std::string umidificatore = "un umidificatore al " + formatta(eff, 0, 2) + " %";
    if (!(eff > 0.0))
        c.impossibile("un umidificatore con efficienza 0 % non aggiunge acqua, e la retta ambiente a " +
                      formatta(tpost, 0, 2) + " C richiede " + formatta(xS, 0, 2) + " g/kg, più della miscela (" +
                      formatta(xM, 0, 2) + " g/kg)!");
    const double xw = xM + (xS - xM) * 100.0 / eff;
    const double tw = rugiada_da_x(xw, a).value_or(NAN);
    const double t = std::isfinite(tw) ? t_da_x_bulbo(xM, tw, a).value_or(NAN) : NAN;
    c.controlla();
    if (std::isfinite(t) && t < tM) {
        const std::optional<double> tw0 = bulbo_umido_di(tM, xM, a);
        if (tw0) {
            const double e0 = xS == xM ? 0.0 : (xS - xM) * 100.0 / (umidita_saturazione(*tw0, a) - xM);
            c.controlla();
            c.messaggio("anche senza preriscaldamento " + umidificatore + " porterebbe la miscela oltre i " +
                        formatta(xS, 0, 2) + " g/kg della retta ambiente a " + formatta(tpost, 0, 2) +
                        " C: nessun preriscaldamento, umidificazione regolata al " + formatta(e0, 0, 2) + " %");
            return {tM, *tw0, e0};
        }
    }
    const std::string nessuno = "nessun preriscaldamento porta " + umidificatore + " da " + formatta(xM, 0, 2) + " a " +
                                formatta(xS, 0, 2) + " g/kg: ";
    if (!std::isfinite(t)) c.impossibile(nessuno + "servirebbe aria satura a " + formatta(xw, 0, 2) + " g/kg!");
    const std::string preriscaldare = nessuno + "servirebbe preriscaldare la miscela a " + formatta(t, 0, 2) + " C, ";
    if (pressione_saturazione(t, a) >= a.pressione) c.impossibile(preriscaldare + testo_ebollizione(a));
    if (a.modello && !a.modello->nel_campo(t, a.pressione))
        c.impossibile(preriscaldare + "fuori dal campo del modello " + std::string(a.modello->nome()) + "!");
    return {t, tw, eff};
}

} // namespace

// A linear report writer: the report's lines in their order, each computed where it is written; kept whole so that
// it reads as the report it writes.
void ciclo_invernale(Calcolo& c) {
    const double tA = c.leggi(1);
    const double urA = c.leggi(2);
    const double tE = c.leggi(3);
    const double urE = c.leggi(4);
    const double r = c.leggi(5);
    const double Qs = c.leggi(6);
    const double Ql = c.leggi(7);
    const double tpre = c.leggi(8);
    const double tpost = c.leggi(9);
    const double eff = c.leggi(10);
    verifica_ingressi_invernali(c, tA, urA, tE, urE, r);
    verifica_temperatura(c, 8, tpre);
    verifica_temperatura(c, 9, tpost);
    verifica_intervallo(c, 10, eff, 0.0, 100.0);
    const StatiInvernali s = stati_invernali(c, tA, urA, tE, urE, r, Qs, Ql);
    // Room line X = k·t + cr, X in kg/kg.
    const double k = (1.0 - s.shf) / (2480.0 * s.shf);
    c.controlla();
    const double cr = s.xA / 1000.0 - k * tA;
    const double tM = s.M.t, xM = s.M.x, hM = s.M.h;

    Rapporto& rap = c.rapporto();
    titolo_e_carichi(c, s);
    scrivi_valore(rap, 8, 1, "Temperatura preriscaldamento", tpre, " C");
    scrivi_valore(rap, 8, 1, "Temperatura postriscaldamento", tpost, " C");
    scrivi_valore(rap, 8, 1, "Efficienza umidificazione", eff, " %");
    tre_punti(c, s);

    const double urP = umidita_relativa(xM, tpre, c.aria());
    c.punto(1, tA, s.xA, "A");
    c.punto(2, tE, s.xE, "E");
    c.punto(3, tM, xM, "M");

    if (tpre != 0.0 && tpost > 0.0) {
        // Pre-heating to tpre, humidification, post-heating to tpost, final humidification to the room line.
        verifica_riscaldamento(c, 8, tpre, tM, "di miscela");
        const double hP = entalpia(xM, tpre, c.aria());
        c.punto(4, tpre, xM, "P");
        scrivi_punto_titolo(rap, "FINE preriscaldamento", tpre, urP, c.aria());
        segnala_nebbia(c, "FINE preriscaldamento", tpre, xM);
        const Stato u = umidificazione_adiabatica(tpre, urP, 20.0, eff, c.aria());
        scrivi_punto_titolo(rap, "FINE UMIDIFICAZIONE INIZIALE", u.t, umidita_relativa(u.x, u.t, c.aria()), c.aria());
        segnala_nebbia(c, "FINE UMIDIFICAZIONE INIZIALE", u.t, u.x);
        const double hU = entalpia(u.x, u.t, c.aria());
        const double hR = entalpia(u.x, tpost, c.aria());
        if (u.x > s.xA) {
            c.messaggio("temperatura preriscaldamento eccessiva !");
        } else {
            verifica_riscaldamento(c, 9, tpost, u.t, "di fine umidificazione");
            c.punto(5, u.t, u.x, "U");
            scrivi_punto_titolo(rap, "FINE postriscaldamento", tpost, umidita_relativa(u.x, tpost, c.aria()), c.aria());
            segnala_nebbia(c, "FINE postriscaldamento", tpost, u.x);
            c.punto(6, tpost, u.x, "R");
            const Stato i = umidifica_fino_a_retta(0, tpost, u.x, 20.0, k, cr, c.aria());
            scrivi_punto_titolo(rap, "FINE umidificazione finale", i.t, umidita_relativa(i.x, i.t, c.aria()), c.aria());
            segnala_nebbia(c, "FINE umidificazione finale", i.t, i.x);
            scrivi_separatore(rap);
            const double hI = entalpia(i.x, i.t, c.aria());
            c.punto(7, i.t, i.x, "I");
            const double G = portata_totale(c, s.Q, hI - s.hA, i.t, tA, Qs);
            const double GE = G * r;
            const double GI = (1.0 - r) * G;
            portate(c, G, GE, GI, i.t, i.x, s);
            dato(c, "Potenza preriscaldamento", "watt", 0, (hP - hM) * G / 3.6, "potenza_preriscaldamento_W");
            dato(c, "Potenza postriscaldamento", "watt", 0, (hR - hU) * G / 3.6, "potenza_postriscaldamento_W");
            dato(c, "Potenza riscaldamento totale", "watt", 0, ((hR - hU) + (hP - hM)) * G / 3.6,
                 "potenza_riscaldamento_W");
            dato(c, "Portata acqua prima umidificazione", "kg/h", 1, (u.x - xM) * G / 1000.0,
                 "acqua_prima_umidificazione_kg_h");
            dato(c, "Portata acqua seconda umidificazione", "kg/h", 1, (i.x - u.x) * G / 1000.0,
                 "acqua_seconda_umidificazione_kg_h");
        }
    } else if (tpost == 0.0) {
        // Heating to tpre, then humidification up to the room line; no post-heating.
        verifica_riscaldamento(c, 8, tpre, tM, "di miscela");
        const double hP = entalpia(xM, tpre, c.aria());
        scrivi_punto_titolo(rap, "FINE riscaldamento", tpre, urP, c.aria());
        segnala_nebbia(c, "FINE riscaldamento", tpre, xM);
        c.punto(4, tpre, xM, "P");
        const Stato i = umidifica_fino_a_retta(0, tpre, xM, 20.0, k, cr, c.aria());
        scrivi_punto_titolo(rap, "FINE umidificazione ", i.t, umidita_relativa(i.x, i.t, c.aria()), c.aria());
        segnala_nebbia(c, "FINE umidificazione ", i.t, i.x);
        scrivi_separatore(rap);
        const double hI = entalpia(i.x, i.t, c.aria());
        c.punto(5, i.t, i.x, "I");
        const double G = portata_totale(c, s.Q, hI - s.hA, i.t, tA, Qs);
        const double GE = G * r;
        const double GI = (1.0 - r) * G;
        portate(c, G, GE, GI, i.t, i.x, s);
        dato(c, "Potenza preriscaldamento", "watt", 0, (hP - hM) * G / 3.6, "potenza_preriscaldamento_W");
        dato(c, "Potenza riscaldamento totale", "watt", 0, (hP - hM) * G / 3.6, "potenza_riscaldamento_W");
        dato(c, "Portata acqua umidificazione", "kg/h", 1, (i.x - xM) * G / 1000.0, "acqua_umidificazione_kg_h");
        dato(c, "Verifica potenza termica sensibile", "watt", 1,
             (entalpia(i.x, i.t, c.aria()) - entalpia(i.x, tA, c.aria())) * G / 3.6, "verifica_potenza_sensibile_W");
        dato(c, "Verifica potenza termica latente", "watt", 1,
             (entalpia(s.xA, tA, c.aria()) - entalpia(i.x, tA, c.aria())) * G / 3.6, "verifica_potenza_latente_W");
    } else if (tpost > 0.0) {
        // tpre is 0 here: pre-heating to the temperature from which a humidifier of efficiency eff ends on the
        // supply humidity, humidification, post-heating to tpost on the room line.
        const double xS = (k * tpost + cr) * 1000.0;
        c.controlla();
        // The humidifier only adds water.
        if (xS < xM)
            c.impossibile("la retta ambiente a " + formatta(tpost, 0, 2) + " C richiede " + formatta(xS, 0, 2) +
                          " g/kg, meno della miscela (" + formatta(xM, 0, 2) + " g/kg): servirebbe deumidificare!");
        const UmidificatoreA u = umidificatore_a(c, tM, xM, xS, eff, tpost);
        const double tP = u.tP;
        const double urP_a = umidita_relativa(xM, tP, c.aria());
        c.punto(4, tP, xM, "P");
        const double tU = tP - (tP - u.tw) * u.eff / 100.0;
        verifica_riscaldamento(c, 9, tpost, tU, "di fine umidificazione");
        c.punto(5, tU, xS, "U");
        scrivi_punto_titolo(rap, "FINE pre-riscaldamento", tP, urP_a, c.aria());
        segnala_nebbia(c, "FINE pre-riscaldamento", tP, xM);
        scrivi_punto_titolo(rap, "FINE umidificazione ", tU, umidita_relativa(xS, tU, c.aria()), c.aria());
        segnala_nebbia(c, "FINE umidificazione ", tU, xS);
        const double hP = entalpia(xM, tP, c.aria());
        const double hU = entalpia(xS, tU, c.aria());
        const double hI = entalpia(xS, tpost, c.aria());
        c.punto(6, tpost, xS, "I");
        scrivi_punto_titolo(rap, "FINE POSTriscaldamento ", tpost, umidita_relativa(xS, tpost, c.aria()), c.aria());
        segnala_nebbia(c, "FINE POSTriscaldamento ", tpost, xS);
        scrivi_separatore(rap);
        const double G = portata_totale(c, s.Q, hI - s.hA, tpost, tA, Qs);
        const double GE = G * r;
        const double GI = (1.0 - r) * G;
        portate(c, G, GE, GI, tM, xM, s);
        dato(c, "Potenza preriscaldamento", "watt", 0, (hP - hM) * G / 3.6, "potenza_preriscaldamento_W");
        dato(c, "Potenza riscaldamento totale", "watt", 0, ((hP - hM) + (hI - hU)) * G / 3.6,
             "potenza_riscaldamento_W");
        dato(c, "Portata acqua umidificazione", "kg/h", 1, (xS - xM) * G / 1000.0, "acqua_umidificazione_kg_h");
        dato(c, "Verifica potenza termica latente", "watt", 1,
             (entalpia(s.xA, tA, c.aria()) - entalpia(xS, tA, c.aria())) * G / 3.6, "verifica_potenza_latente_W");
        dato(c, "Verifica potenza termica sensibile", "watt", 1,
             (entalpia(xS, tpost, c.aria()) - entalpia(xS, tA, c.aria())) * G / 3.6, "verifica_potenza_sensibile_W");
    }
    // A negative post-heating temperature selects no arrangement: inputs and the three points only.
    c.apri_grafico(VistaGrafico::invernale);
}

void ciclo_invernale_vapore(Calcolo& c) {
    const double tA = c.leggi(1);
    const double urA = c.leggi(2);
    const double tE = c.leggi(3);
    const double urE = c.leggi(4);
    const double r = c.leggi(5);
    const double Qs = c.leggi(6);
    const double Ql = c.leggi(7);
    const double tH = c.leggi(8);
    const double tv = c.leggi(9);
    verifica_ingressi_invernali(c, tA, urA, tE, urE, r);
    verifica_temperatura(c, 8, tH);
    const StatiInvernali s = stati_invernali(c, tA, urA, tE, urE, r, Qs, Ql);
    const double tM = s.M.t, xM = s.M.x, hM = s.M.h;

    Rapporto& rap = c.rapporto();
    titolo_e_carichi(c, s);
    scrivi_valore(rap, 8, 1, "Temperatura riscaldamento", tH, " C");
    tre_punti(c, s);
    c.punto(1, tA, s.xA, "A");
    c.punto(2, tE, s.xE, "E");
    c.punto(3, tM, xM, "M");

    verifica_riscaldamento(c, 8, tH, tM, "di miscela");
    const double hH = entalpia(xM, tH, c.aria());
    scrivi_punto_titolo(rap, "FINE riscaldamento", tH, umidita_relativa(xM, tH, c.aria()), c.aria());
    segnala_nebbia(c, "FINE riscaldamento", tH, xM);
    c.punto(4, tH, xM, "P");

    // Steam in steps of 0.05 g/kg until the heat factor of the state before the step, relative to the room,
    // matches the room's; the supply is the state one step past it, or after 300 steps.
    double t = tH, x = xM;
    for (int n = 0;;) {
        const Stato passo = umidificazione_vapore(t, x, tv, x + 0.05, c.aria());
        const double sens = (t - tA) * 1.004;
        const double lat = (x - s.xA) * (1.926 * t + 2490.0) / 1000.0;
        const double f = sens / (sens + lat);
        c.controlla();
        ++n;
        t = passo.t;
        x = passo.x;
        if (n >= 300 || std::fabs(f - s.shf) <= 0.01) break;
    }
    const double tS = t, xS = x;
    const double hS = entalpia(xS, tS, c.aria());
    const double urS = umidita_relativa(xS, tS, c.aria());
    scrivi_punto_titolo(rap, "Punto Immissione in ambiente", tS, urS, c.aria());
    segnala_nebbia(c, "Punto Immissione in ambiente", tS, xS);
    scrivi_separatore(rap);
    c.punto(5, tS, xS, "I");

    const double G = portata_totale(c, s.Q, s.hA - hS, tS, tA, -Qs);
    dato(c, "Portata ponderale totale", "kg/h", 0, G, "portata_kg_h");
    dato(c, "Portata ponderale aria est", "kg/h", 0, G * r, "portata_aria_esterna_kg_h");
    dato(c, "Portata ponderale aria int", "kg/h", 0, (1.0 - r) * G, "portata_aria_ambiente_kg_h");
    dato(c, "Portata volumetrica totale", "mc/h", 0, G * volume_specifico(tS, xS, c.aria()), "portata_m3_h");
    dato(c, "Portata volumetrica aria est", "mc/h", 0, G * r * s.vE, "portata_aria_esterna_m3_h");
    dato(c, "Portata volumetrica aria int", "mc/h", 0, (1.0 - r) * G * s.vA, "portata_aria_ambiente_m3_h");
    dato(c, "Potenza riscaldamento", "watt", 0, (hH - hM) * G / 3.6, "potenza_riscaldamento_W");
    dato(c, "Portata vapore umidificazione", "kg/h", 1, (xS - xM) * G / 1000.0, "vapore_kg_h");
    c.apri_grafico(VistaGrafico::invernale);
}

} // namespace ondix
