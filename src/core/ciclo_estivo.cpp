// Summer air conditioning with a cooling coil: the design cycle (supply where the room line meets the coil line,
// or post-heating when they do not meet) and the verification of an existing plant.
#include "core/aria_umida.h"
#include "core/computazioni.h"
#include "core/numeri.h"

#include <cmath>

namespace ondix {

namespace {

// The separator and the six flow lines both summer reports share (m³/h, kg/h).
void scrivi_portate(Calcolo& c, double VA, double VE, double V, double GA, double GE) {
    Rapporto& rap = c.rapporto();
    scrivi_separatore(rap);
    scrivi_dato(rap, "portata volumetrica aria amb", "mc/h", 7, 0, VA);
    scrivi_dato(rap, "portata volumetrica aria est", "mc/h", 7, 0, VE);
    scrivi_dato(rap, "portata volumetrica totale", "mc/h", 7, 0, V);
    scrivi_dato(rap, "portata ponderale aria amb", "kg/h", 7, 0, GA);
    scrivi_dato(rap, "portata ponderale aria est", "kg/h", 7, 0, GE);
    scrivi_dato(rap, "portata ponderale totale", "kg/h", 7, 0, GE + GA);
    c.risultato("portata_aria_ambiente_m3_h", VA);
    c.risultato("portata_aria_esterna_m3_h", VE);
    c.risultato("portata_m3_h", V);
    c.risultato("portata_aria_ambiente_kg_h", GA);
    c.risultato("portata_aria_esterna_kg_h", GE);
    c.risultato("portata_kg_h", GE + GA);
}

// Room, outdoor, coil and mixture states that both summer computations start from.
struct StatiEstivi {
    double xA, hA, xE, hE, xB;
    Miscela M;
};

// Appends the four titled blocks (room, outdoor, coil, mixture) and returns their states. The mixing is by the
// fractions 1 − r and r in place of volumetric flows; `G` is the mass flow through the mixture, kg/h, if known.
StatiEstivi punti_estivi(Calcolo& c, double tA, double urA, double tE, double urE, double tB, double r,
                         std::optional<double> G) {
    Rapporto& rap = c.rapporto();
    StatiEstivi s{};
    scrivi_punto_titolo(rap, "      Punto ambiente", tA, urA, c.aria());
    s.xA = umidita_specifica(urA, tA, c.aria());
    s.hA = entalpia(s.xA, tA, c.aria());
    scrivi_punto_titolo(rap, "      Punto esterno", tE, urE, c.aria());
    s.xE = umidita_specifica(urE, tE, c.aria());
    s.hE = entalpia(s.xE, tE, c.aria());
    scrivi_punto_titolo(rap, "      Batteria     ", tB, 100.0, c.aria());
    s.xB = umidita_specifica(100.0, tB, c.aria());
    s.M = miscela(tA, urA, 1.0 - r, tE, urE, r, c.aria());
    scrivi_punto_titolo(rap, "      Punto di miscela", s.M.t, s.M.ur, c.aria());
    segnala_nebbia(c, "      Punto di miscela", s.M.t, s.M.x, G);
    return s;
}

// The four states both summer computations read (room in boxes 1–2, outdoor in 3–4), the outdoor-air fraction
// (box 5) and the coil temperature (box 7): refused when no air or plant can have them.
void verifica_ingressi_estivi(Calcolo& c, double tA, double urA, double tE, double urE, double r, double tB) {
    verifica_temperatura(c, 1, tA);
    verifica_umidita(c, 2, urA, tA, false);
    verifica_temperatura(c, 3, tE);
    verifica_umidita(c, 4, urE, tE, false);
    verifica_intervallo(c, 5, r, 0.0, 1.0);
    verifica_temperatura(c, 7, tB);
}

// A typed answer read like a box: the longest number at its start, 0 when there is none.
double numero_risposta(const std::string& testo) {
    const Conversione k = leggi_numero(testo);
    if (k.trabocco) throw ErroreVirgolaMobile(TipoErroreFP::trabocco);
    return k.valore;
}

} // namespace

// A linear report writer: the report's lines in their order, each computed where it is written; kept whole so that
// it reads as the report it writes.
void ciclo_estivo(Calcolo& c) {
    c.azzera_etichette();
    const double tA = c.leggi(1);
    const double urA = c.leggi(2);
    const double tE = c.leggi(3);
    const double urE = c.leggi(4);
    const double r = c.leggi(5);
    const double Qs = c.leggi(6);
    const double tB = c.leggi(7);
    const double Ql = c.leggi(8);
    verifica_ingressi_estivi(c, tA, urA, tE, urE, r, tB);
    const double shf = Qs / (Qs + Ql);
    c.controlla();

    Rapporto& rap = c.rapporto();
    c.aggiungi("CICLO ESTIVO");
    c.aggiungi("valori di ingresso");
    scrivi_valore(rap, 8, 0, "Potenza termica sensibile", Qs, " watt");
    scrivi_valore(rap, 8, 0, "Potenza termica latente  ", Ql, " watt");
    scrivi_valore(rap, 8, 3, "Rapporto aria est/totale ", r, "");
    // The mass flow follows from the supply state, found after the mixture's block.
    const StatiEstivi s = punti_estivi(c, tA, urA, tE, urE, tB, r, std::nullopt);
    const double tM = s.M.t, xM = s.M.x, hM = s.M.h;
    c.controlla();
    if (tB >= tM) rifiuta(c, 7, "la batteria non è più fredda della miscela (" + formatta(tM, 0, 2) + " C)!");

    // Room line X = k·t + cA and coil line X = m·t + cB, X in kg/kg. A dry coil cools the mixture sensibly only:
    // its line is the horizontal through M.
    const double xsB = umidita_saturazione(tB, c.aria());
    const bool asciutta = batteria_asciutta(xM, tB, c.aria());
    const double k = (1.0 - shf) / (2490.0 * shf);
    c.controlla();
    const double cA = s.xA / 1000.0 - k * tA;
    const double m = asciutta ? 0.0 : 0.001 * (xM - xsB) / (tM - tB);
    c.controlla();
    const double cB = asciutta ? xM / 1000.0 : 0.001 * xsB - m * tB;

    double tS = 0.0, xS = 0.0;
    bool incontro = false;
    if (asciutta) {
        // The room line crosses the horizontal coil line at the mixture's humidity: a supply the coil reaches
        // when it lies between the coil and the mixture.
        if (k != 0.0) {
            tS = (cA - cB) / (m - k);
            xS = xM;
            incontro = tS >= tB && tS <= tM;
        }
    } else if (k < m) {
        // The coil takes the mixture towards B: a meeting beyond the mixture (wetter than it, to within rounding) is
        // no supply the coil gives.
        tS = (cA - cB) / (m - k);
        xS = 1000.0 * (m * tS + cB);
        incontro = tS >= tB && !(xS > xM + 1e-9);
    }
    double tP = 0.0, xP = 0.0, hP = 0.0, bf = 0.0;
    if (!incontro) {
        // The box that follows asks for the factor in its own words, with the range. An empty answer stays the
        // coil itself (0).
        c.messaggio("nessun incontro fra la retta del fattore termico ambiente e quella della batteria");
        bf = numero_risposta(c.chiedi("Immettere fattore di bypass batteria:",
                                      "Fattore di bypass della batteria, da 0 a 1 (tipico 0.1 - 0.3):", ""));
        if (bf < 0.0 || bf > 1.0)
            c.impossibile("fattore di bypass batteria: il valore deve essere compreso fra 0 e 1!");
        // The coil outlet lies on the coil line; the supply is reached by heating it up to the room line.
        tP = tB + (tM - tB) * bf;
        xP = asciutta ? xM : 1000.0 * (m * tP + cB);
        // A horizontal room line (no latent load) is reached by heating only from its own humidity.
        if (k == 0.0)
            c.impossibile("nessun carico latente: l aria in uscita batteria (" + formatta(xP, 0, 2) +
                          " g/kg) dovrebbe avere l umidità ambiente (" + formatta(s.xA, 0, 2) +
                          " g/kg), che la batteria non raggiunge!");
        const double urP = umidita_relativa(xP, tP, c.aria());
        hP = entalpia(xP, tP, c.aria());
        scrivi_punto_titolo(rap, "      Punto uscita batteria:", tP, urP, c.aria());
        segnala_nebbia(c, "      Punto uscita batteria:", tP, xP);
        xS = xP;
        tS = (xP / 1000.0 - cA) / k;
        c.controlla();
        if (tS < tP)
            c.impossibile("la retta ambiente richiede aria a " + formatta(tS, 0, 2) +
                          " C, più fredda dell uscita batteria (" + formatta(tP, 0, 2) +
                          " C): nessun postriscaldamento può raggiungerla!");
    }
    c.controlla();
    // A coil only takes water out of the mixture.
    if (xS > xM + 1e-9)
        c.impossibile("la miscela (" + formatta(xM, 0, 2) + " g/kg) è troppo secca per il carico latente: l aria " +
                      "immessa dovrebbe avere " + formatta(xS, 0, 2) + " g/kg, serve umidificare!");
    const double hS = entalpia(xS, tS, c.aria());
    const double urS = umidita_relativa(xS, tS, c.aria());
    scrivi_punto_titolo(rap, "      Punto immissione in ambiente", tS, urS, c.aria());
    segnala_nebbia(c, "      Punto immissione in ambiente", tS, xS);

    c.controlla();
    // A supply of the room's enthalpy (to within rounding) takes up no load at any flow.
    const double G = std::fabs(s.hA - hS) <= 1e-9 ? 0.0 : 3.6 * (Qs + Ql) / (s.hA - hS);
    c.controlla();
    if (G <= 0.0)
        c.impossibile("l aria immessa a " + formatta(tS, 0, 2) + " C e " + formatta(xS, 0, 2) +
                      " g/kg non può compensare i carichi ambiente con alcuna portata!");
    const double GE = G * r;
    const double GA = (1.0 - r) * G;
    const double VA = volume_specifico(tA, s.xA, c.aria()) * GA;
    const double VE = volume_specifico(tE, s.xE, c.aria()) * GE;
    const double V = volume_specifico(tS, xS, c.aria()) * G;

    scrivi_portate(c, VA, VE, V, GA, GE);
    const double PF = incontro ? (hM - hS) * G / 3.6 : (hM - hP) * G / 3.6;
    const double PE = (s.hE - hS) * GE / 3.6;
    const double condensa = (xM - xS) * G * 0.001;
    scrivi_dato(rap, "Fattore termico ambiente", "", 7, 3, shf);
    scrivi_dato(rap, "Potenza frigorifera     ", "watt", 7, 0, PF);
    scrivi_dato(rap, "Potenza frigorifera aria esterna", "watt", 7, 0, PE);
    scrivi_dato(rap, "acqua condensata                ", "kg/h", 7, 3, condensa);
    c.risultato("fattore_termico", shf);
    c.risultato("potenza_frigorifera_W", PF);
    c.risultato("potenza_frigorifera_aria_esterna_W", PE);
    c.risultato("condensa_kg_h", condensa);
    if (asciutta) c.aggiungi(std::string(riga_batteria_asciutta));
    if (incontro) {
        const double fattore = (tS - tB) / (tM - tB);
        scrivi_dato(rap, "FATTORE BYPASS                  ", "", 7, 3, fattore);
        c.risultato("fattore_bypass", fattore);
    } else {
        const double PP = (hS - hP) * G / 3.6;
        scrivi_dato(rap, "FATTORE BYPASS                  ", "", 7, 3, bf);
        scrivi_dato(rap, "Potenza postriscaldamento     ", "watt", 7, 0, PP);
        c.risultato("fattore_bypass", bf);
        c.risultato("potenza_postriscaldamento_W", PP);
    }

    c.punto(1, tA, s.xA, "A");
    c.punto(2, tE, s.xE, "E");
    c.punto(3, tB, s.xB, "B");
    c.punto(4, tM, xM, "M");
    c.punto(5, tS, xS, "C");
    if (!incontro) c.punto(6, tP, xP, "P");
    c.apri_grafico(VistaGrafico::standard);
}

void verifica_estiva(Calcolo& c) {
    c.azzera_etichette();
    c.rapporto().pulisci();
    const double tA = c.leggi(1);
    const double urA = c.leggi(2);
    const double tE = c.leggi(3);
    const double urE = c.leggi(4);
    const double r = c.leggi(5);
    const double tB = c.leggi(7);
    const double G = c.leggi(8);
    const double bf = c.leggi(9);
    verifica_ingressi_estivi(c, tA, urA, tE, urE, r, tB);
    verifica_portata(c, 8, G);
    verifica_intervallo(c, 9, bf, 0.0, 1.0);

    Rapporto& rap = c.rapporto();
    c.aggiungi("CICLO ESTIVO-VERIFICA");
    c.aggiungi("valori di ingresso");
    scrivi_valore(rap, 8, 0, "Portata aria             ", G, " kg/h");
    scrivi_valore(rap, 8, 3, "Rapporto aria est/totale ", r, "");
    const StatiEstivi s = punti_estivi(c, tA, urA, tE, urE, tB, r, G);
    const double tM = s.M.t, xM = s.M.x;

    c.controlla();
    if (tB > tM && bf < 1.0)
        rifiuta(c, 7, "la batteria è più calda della miscela (" + formatta(tM, 0, 2) + " C) e non può raffreddarla!");

    // Coil outlet: the coil surface state and the mixture mixed by the bypass factor. It is the supply. A dry coil
    // cools sensibly only.
    const double xsB = umidita_saturazione(tB, c.aria());
    const bool asciutta = batteria_asciutta(xM, tB, c.aria());
    const double tO = tB + (tM - tB) * bf;
    const double xO = asciutta ? xM : xsB + bf * (xM - xsB);
    const double urO = umidita_relativa(xO, tO, c.aria());
    const double hO = entalpia(xO, tO, c.aria());
    scrivi_punto_titolo(rap, "      Punto uscita batteria:", tO, urO, c.aria());
    segnala_nebbia(c, "      Punto uscita batteria:", tO, xO, G);

    const double GE = G * r;
    const double GA = (1.0 - r) * G;
    const double VA = volume_specifico(tA, s.xA, c.aria()) * GA;
    const double VE = volume_specifico(tE, s.xE, c.aria()) * GE;
    const double V = volume_specifico(tO, xO, c.aria()) * G;

    scrivi_portate(c, VA, VE, V, GA, GE);
    // The powers are what the supply air takes up in the room (from O to A); the sensible one uses 1.04.
    const double PT = (s.hA - hO) * G / 3.6;
    scrivi_dato(rap, "Potenza frigorifera TOT  ", "watt", 7, 0, PT);
    const double PS = (tA - tO) * (G * 1.04) / 3.6;
    scrivi_dato(rap, "Potenza frigorifera sens  ", "watt", 7, 0, PS);
    scrivi_dato(rap, "Potenza frigorifera lat  ", "watt", 7, 0, PT - PS);
    const double PE = (s.hE - hO) * GE / 3.6;
    const double condensa = (xM - xO) * G * 0.001;
    scrivi_dato(rap, "Potenza frigorifera aria esterna", "watt", 7, 0, PE);
    scrivi_dato(rap, "acqua condensata                ", "kg/h", 7, 3, condensa);
    if (asciutta) c.aggiungi(std::string(riga_batteria_asciutta));
    scrivi_dato(rap, "FATTORE BYPASS                  ", "", 7, 3, bf);
    c.risultato("potenza_frigorifera_W", PT);
    c.risultato("potenza_frigorifera_sensibile_W", PS);
    c.risultato("potenza_frigorifera_latente_W", PT - PS);
    c.risultato("potenza_frigorifera_aria_esterna_W", PE);
    c.risultato("condensa_kg_h", condensa);
    c.risultato("fattore_bypass", bf);
    scrivi_separatore(rap);

    c.punto(1, tA, s.xA, "A");
    c.punto(2, tE, s.xE, "E");
    c.punto(3, tB, s.xB, "B");
    c.punto(4, tM, xM, "M");
    c.punto(5, tO, xO, "P");
    c.apri_grafico(VistaGrafico::verifica);
}

} // namespace ondix
