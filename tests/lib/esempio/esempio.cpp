// The example of the README: a state from a pair, a process, an error.
#include <ondix/ondix.h>

#include <cstdio>

int main() {
    using namespace ondix::api;
    const Stato s = stato({Grandezza::t, 26}, {Grandezza::tbu, 19}, {pressione_da_quota(1200), ""});
    std::printf("ur %.2f %%, x %.3f g/kg, h %.3f kJ/kg, tr %.2f C\n", s.ur, s.x, s.h, s.t_rugiada.value_or(0));

    RichiestaProcesso estivo;
    estivo.tipo = TipoProcesso::ciclo_estivo;
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
}
