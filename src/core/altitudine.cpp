#include "core/altitudine.h"

#include "core/file_destinazione.h"
#include "core/numeri.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace ondix {

namespace {
struct Riga {
    double quota, mmhg;
};
constexpr std::array<Riga, 12> tabella{{{-250, 782},
                                        {0, 760},
                                        {250, 738},
                                        {500, 717},
                                        {750, 697},
                                        {1000, 677},
                                        {1250, 657},
                                        {1500, 639},
                                        {1750, 620},
                                        {2000, 603},
                                        {2500, 569},
                                        {3000, 536}}};
} // namespace

double pressione_da_quota(double z) {
    if (z < tabella.front().quota) return tabella.front().mmhg;
    if (z > tabella.back().quota) return tabella.back().mmhg;
    std::size_t k = 1;
    while (k < tabella.size() - 1 && tabella[k].quota < z)
        ++k;
    const Riga& a = tabella[k - 1];
    const Riga& b = tabella[k];
    return a.mmhg + (b.mmhg - a.mmhg) / (b.quota - a.quota) * (z - a.quota);
}

std::optional<double> pressione_da_risposta(std::string_view risposta) {
    const auto z = numero_intero_testo(risposta);
    if (!z) return std::nullopt;
    return pressione_pascal_da_quota(*z);
}

double pressione_pascal_da_quota(double z) {
    return pressione_da_quota(z) * 101335.0 / 760.0;
}

std::string formato_reale(double valore) {
    if (!std::isfinite(valore))
        return valore != valore ? "                    Nan"
                                : (valore > 0 ? "                    +Inf" : "                    -Inf");
    // Scientific with 15 significant digits: d.dddddddddddddde±x…, then re-spelled with a 4-digit exponent.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(valore), std::chars_format::scientific, 14);
    std::string s(buf, res.ptr);
    const auto e = s.find('e');
    std::string mantissa = s.substr(0, e);
    const int esponente = std::atoi(s.c_str() + e + 1);
    char esp[16];
    std::snprintf(esp, sizeof esp, "%04d", std::abs(esponente));
    return std::string(valore < 0 ? "-" : " ") + mantissa + "E" + (esponente < 0 ? "-" : "+") + esp;
}

std::string messaggio_pressione(double p) {
    return "pressione atmosferica:" + formatta(p / 100.0, 8, 3) + " mbar";
}

std::optional<std::string> scrivi_file_pressione(const std::string& percorso, double p) {
    // Replaced only once the new text is complete: a failed write leaves the earlier file whole.
    if (const Fatto f = sostituisci_file(percorso, formato_reale(p) + "\r\n"); !f) return f.errore().testo;
    return std::nullopt;
}

} // namespace ondix
