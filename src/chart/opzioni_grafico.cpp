#include "chart/opzioni_grafico.h"

#include "core/maschera.h"
#include "core/modello.h"
#include "core/numeri.h"

#include <cmath>

namespace ondix {

bool OpzioniGrafico::famiglia(Famiglia f) const {
    switch (f) {
    case Famiglia::umidita_relativa:
        return umidita_relativa;
    case Famiglia::entalpia:
        return entalpia;
    case Famiglia::bulbo_umido:
        return bulbo_umido;
    case Famiglia::volume_specifico:
        return volume_specifico;
    }
    return false;
}

void OpzioniGrafico::imposta_famiglia(Famiglia f, bool on) {
    switch (f) {
    case Famiglia::umidita_relativa:
        umidita_relativa = on;
        return;
    case Famiglia::entalpia:
        entalpia = on;
        return;
    case Famiglia::bulbo_umido:
        bulbo_umido = on;
        return;
    case Famiglia::volume_specifico:
        volume_specifico = on;
        return;
    }
}

bool OpzioniGrafico::isolinee() const {
    return umidita_relativa || entalpia || bulbo_umido || volume_specifico;
}

bool OpzioniGrafico::qualcuno() const {
    return isolinee() || mollier || comfort;
}

std::string_view nome_famiglia(Famiglia f) {
    switch (f) {
    case Famiglia::umidita_relativa:
        return "ur";
    case Famiglia::entalpia:
        return "h";
    case Famiglia::bulbo_umido:
        return "tbu";
    case Famiglia::volume_specifico:
        return "v";
    }
    return {};
}

Fatto leggi_isolinee(std::string_view lista, OpzioniGrafico& o) {
    OpzioniGrafico r = o;
    while (true) {
        const std::size_t virgola = lista.find(',');
        std::string_view nome = lista.substr(0, virgola);
        while (!nome.empty() && nome.front() == ' ')
            nome.remove_prefix(1);
        while (!nome.empty() && nome.back() == ' ')
            nome.remove_suffix(1);
        bool noto = false;
        for (Famiglia f : famiglie)
            if (nome == nome_famiglia(f) || nome == "tutte") {
                r.imposta_famiglia(f, true);
                noto = true;
            }
        if (!noto)
            return Errore{Causa::dati, "famiglia di isolinee \"" + std::string(nome) +
                                           "\" sconosciuta (usare ur, h, tbu, v o tutte)"};
        if (virgola == std::string_view::npos) break;
        lista.remove_prefix(virgola + 1);
    }
    o = r;
    return {};
}

OpzioniGrafico con_titolo(OpzioniGrafico o, int tipo_processo, Aria aria) {
    o.titolo = o.qualcuno() || aria.modello ? riga_titolo(tipo_processo, aria.pressione, aria.modello) : std::string();
    return o;
}

std::string riga_titolo(int tipo_processo, double pressione, const ModelloAria* modello) {
    std::string r(titolo_processo(tipo_processo));
    if (!r.empty()) r += " - ";
    r += formatta(std::round(pressione), 0, 0) + " Pa";
    if (modello) r += " - " + std::string(modello->nome());
    return r;
}

} // namespace ondix
