// The README's example as the first callers of the library wrote it, with the process's kind and forms as numbers:
// built unchanged against the library, it must write what the example writes.
#include <ondix/ondix.h>

#include <cmath>
#include <cstdio>
#include <string>

int main() {
    using namespace ondix::api;
    const Stato s = stato({Grandezza::t, 26}, {Grandezza::tbu, 19}, {pressione_da_quota(1200), ""});
    std::printf("ur %.2f %%, x %.3f g/kg, h %.3f kJ/kg, tr %.2f C\n", s.ur, s.x, s.h, s.t_rugiada.value_or(0));

    Processo estivo;
    estivo.tipo = 6;
    estivo.caselle[7] = "8500"; // box 8: the air flow
    estivo.risposta = "0.2";
    const RisultatoProcesso r = processo(estivo);
    std::printf("%s: %zu report lines, %zu points\n", r.titolo.c_str(), r.rapporto.size(), r.punti.size());
    for (const Punto& p : r.punti)
        std::printf("  %d %-10s t %.2f C, x %.3f g/kg, h %.3f kJ/kg\n", p.n, p.etichetta.c_str(), p.stato.t, p.stato.x,
                    p.stato.h);

    try {
        (void)stato({Grandezza::t, 26}, {Grandezza::tbu, 28});
    } catch (const Errore& e) {
        std::printf("errore: %s\n", e.what());
    }

    // Many states through the first entry point, with its out-pointers: the same as through RichiestaStati.
    const double t[] = {20.0, 30.0, 40.0}, ur[] = {50.0, 120.0, 10.0};
    double h[3] = {}, h_nuovo[3] = {};
    std::string primo;
    std::size_t indice = 9;
    Uscite u;
    u.h = h;
    const std::size_t errori = stati(Grandezza::t, t, Grandezza::ur, ur, 3, Aria{}, nullptr, u, 1, &primo, &indice);
    u.h = h_nuovo;
    const RisultatoStati rs = stati(RichiestaStati{Grandezza::t, t, Grandezza::ur, ur, 3, Aria{}, nullptr, 1}, u);
    if (errori != rs.errori || primo != rs.primo_errore || indice != rs.indice_primo_errore || h[0] != h_nuovo[0] ||
        h[2] != h_nuovo[2] || !std::isnan(h[1]) || errori != 1 || indice != 1)
        return 1;
}
