// The typed results of processes against their JSON: for every kind (and the arrangements that write other lines),
// each number of "risultati" is in RisultatoProcesso::valori in the same order and in the member of Risultati named
// as its key, and no other member is set. Built against the installed library; exits 1 with the first difference.
#include <nlohmann/json.hpp>
#include <ondix/ondix.h>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace ondix::api;

namespace {

// The keys of "risultati" as the README's table lists them, each with its member.
const std::vector<std::pair<std::string, std::optional<double> Risultati::*>> membri{
    {"portata_kg_h", &Risultati::portata_kg_h},
    {"portata_m3_h", &Risultati::portata_m3_h},
    {"portata_1_kg_h", &Risultati::portata_1_kg_h},
    {"portata_1_m3_h", &Risultati::portata_1_m3_h},
    {"portata_2_kg_h", &Risultati::portata_2_kg_h},
    {"portata_2_m3_h", &Risultati::portata_2_m3_h},
    {"portata_aria_ambiente_kg_h", &Risultati::portata_aria_ambiente_kg_h},
    {"portata_aria_ambiente_m3_h", &Risultati::portata_aria_ambiente_m3_h},
    {"portata_aria_esterna_kg_h", &Risultati::portata_aria_esterna_kg_h},
    {"portata_aria_esterna_m3_h", &Risultati::portata_aria_esterna_m3_h},
    {"salto_entalpico_kJ_kg", &Risultati::salto_entalpico_kJ_kg},
    {"potenza_kW", &Risultati::potenza_kW},
    {"salto_umidita_g_kg", &Risultati::salto_umidita_g_kg},
    {"t_C", &Risultati::t_C},
    {"ur_pct", &Risultati::ur_pct},
    {"x_g_kg", &Risultati::x_g_kg},
    {"h_kJ_kg", &Risultati::h_kJ_kg},
    {"v_m3_kg", &Risultati::v_m3_kg},
    {"t_bulbo_umido_C", &Risultati::t_bulbo_umido_C},
    {"fattore_bypass", &Risultati::fattore_bypass},
    {"condensa_kg_h", &Risultati::condensa_kg_h},
    {"fattore_termico", &Risultati::fattore_termico},
    {"potenza_frigorifera_W", &Risultati::potenza_frigorifera_W},
    {"potenza_frigorifera_aria_esterna_W", &Risultati::potenza_frigorifera_aria_esterna_W},
    {"potenza_postriscaldamento_W", &Risultati::potenza_postriscaldamento_W},
    {"potenza_preriscaldamento_W", &Risultati::potenza_preriscaldamento_W},
    {"potenza_riscaldamento_W", &Risultati::potenza_riscaldamento_W},
    {"acqua_prima_umidificazione_kg_h", &Risultati::acqua_prima_umidificazione_kg_h},
    {"acqua_seconda_umidificazione_kg_h", &Risultati::acqua_seconda_umidificazione_kg_h},
    {"acqua_umidificazione_kg_h", &Risultati::acqua_umidificazione_kg_h},
    {"verifica_potenza_sensibile_W", &Risultati::verifica_potenza_sensibile_W},
    {"verifica_potenza_latente_W", &Risultati::verifica_potenza_latente_W},
    {"vapore_kg_h", &Risultati::vapore_kg_h},
    {"potenza_frigorifera_sensibile_W", &Risultati::potenza_frigorifera_sensibile_W},
    {"potenza_frigorifera_latente_W", &Risultati::potenza_frigorifera_latente_W},
};

bool confronta(const RichiestaProcesso& p, std::vector<std::string>& viste) {
    const RisultatoProcesso r = processo(p);
    const auto json = nlohmann::ordered_json::parse(r.json).at("risultati");
    std::size_t impostati = 0;
    for (const auto& [nome, membro] : membri)
        impostati += (r.risultati.*membro).has_value();
    if (json.size() != r.valori.size() || impostati != r.valori.size() || r.valori.empty()) {
        std::printf("kind %d: %zu in the JSON, %zu in valori, %zu members set\n", r.tipo, json.size(), r.valori.size(),
                    impostati);
        return false;
    }
    std::size_t i = 0;
    for (const auto& [chiave, valore] : json.items()) {
        const Valore& v = r.valori[i++];
        std::optional<double> membro;
        for (const auto& [nome, m] : membri)
            if (nome == chiave) membro = r.risultati.*m;
        if (v.nome != chiave || v.valore != valore.get<double>() || membro != v.valore) {
            std::printf("kind %d: %s differs\n", r.tipo, chiave.c_str());
            return false;
        }
        viste.push_back(chiave);
    }
    return true;
}

} // namespace

int main() {
    std::vector<RichiestaProcesso> richieste;
    for (const int tipo : {1, 2, 3, 4, 5, 6, 7, 13, 17, 21}) {
        RichiestaProcesso p;
        p.tipo = static_cast<TipoProcesso>(tipo);
        richieste.push_back(p);
    }
    // The summer cycle with its post-heating, the winter cycle with a pre-heating given and a humidifier of 40 %
    // efficiency (two humidifications).
    RichiestaProcesso estivo;
    estivo.tipo = TipoProcesso::ciclo_estivo;
    estivo.caselle[7] = "8500";
    estivo.risposta = "0.2";
    richieste.push_back(estivo);
    RichiestaProcesso invernale;
    invernale.tipo = TipoProcesso::ciclo_invernale;
    invernale.caselle[7] = "18";
    invernale.caselle[9] = "40";
    richieste.push_back(invernale);
    std::vector<std::string> viste;
    for (const RichiestaProcesso& p : richieste)
        if (!confronta(p, viste)) return 1;
    // Every member is met by some kind.
    for (const auto& [nome, membro] : membri) {
        bool vista = false;
        for (const std::string& v : viste)
            vista = vista || v == nome;
        if (!vista) {
            std::printf("%s: written by no kind tried\n", nome.c_str());
            return 1;
        }
    }
    return 0;
}
