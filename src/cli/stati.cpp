#include "cli/stati.h"

#include "cli/lettore_stati.h"
#include "core/aria_umida.h"
#include "core/numeri.h"
#include "core/stato_aria.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <istream>
#include <ostream>

namespace ondix {

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

} // namespace

std::string_view senza_blank(std::string_view s) {
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

void aggiungi_numero(std::string& riga, double valore, int d) {
    std::array<char, 400> buf; // enough for any double in fixed notation with up to 4 decimals
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), valore, std::chars_format::fixed, d);
    std::string_view testo(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
    if (testo.size() > 1 && testo.front() == '-' && testo.find_first_not_of("-0.") == std::string_view::npos)
        testo.remove_prefix(1);
    riga += testo;
}

std::string citazione(std::string_view campo) {
    constexpr std::size_t massimo = 40;
    const bool lungo = lunghezza_caratteri(campo) > massimo;
    std::string r = "\"" + (lungo ? primi_caratteri(campo, massimo) + "..." : std::string(campo)) + "\"";
    // Control characters from the file are not sent to the terminal.
    for (char& c : r)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return r;
}

bool leggi_riga(std::istream& in, std::string& riga, bool& troppo_lunga) {
    riga.clear();
    troppo_lunga = false;
    std::streambuf* sb = in.rdbuf();
    bool letto = false;
    for (;;) {
        const int c = sb->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            if (!letto) in.setstate(std::ios::eofbit);
            return letto;
        }
        letto = true;
        if (c == '\n') break;
        if (troppo_lunga) continue;
        if (riga.size() >= lunghezza_massima_riga) {
            troppo_lunga = true;
            riga.clear();
            continue;
        }
        riga.push_back(static_cast<char>(c));
    }
    if (!riga.empty() && riga.back() == '\r') riga.pop_back();
    return true;
}

std::string leggi_campo(const std::string& campo, std::string_view colonna, char sep, double& valore) {
    const Conversione c = leggi_numero(campo);
    if (campo.empty()) return "column " + std::string(colonna) + " is empty";
    if (c.letti == 0 || c.letti != campo.size()) {
        std::string motivo = "column " + std::string(colonna) + ": " + citazione(campo) + " is not a number";
        if (campo.find(',') != std::string::npos && sep != ',') motivo += " (the decimal separator is '.')";
        return motivo;
    }
    if (c.trabocco) return "column " + std::string(colonna) + ": " + citazione(campo) + " is too large";
    valore = c.valore;
    return {};
}

std::variant<StatoAria, std::string> calcola_stato(double t, double u, int umidita, Aria a) {
    if (!std::isfinite(t) || !std::isfinite(u)) return std::string("not a finite number");
    if (t < t_minima_stati || t > t_massima_stati)
        return "temperature " + formatta(t, 0, 2) + " C outside " + formatta(t_minima_stati, 0, 0) + " to " +
               formatta(t_massima_stati, 0, 0) + " C";
    StatoAria s;
    s.t = t;
    if (umidita == 1) {
        const double xs = umidita_saturazione(t, a);
        if (u < 0) return "humidity ratio " + formatta(u, 0, 3) + " g/kg below 0";
        if (u > xs)
            return "humidity ratio " + formatta(u, 0, 3) + " g/kg above saturation (" + formatta(xs, 0, 3) +
                   " g/kg at " + formatta(t, 0, 2) + " C)";
        s.x = u;
        s.ur = umidita_relativa(u, t, a);
    } else {
        if (u < 0 || u > 100) return "relative humidity " + formatta(u, 0, 2) + " % outside 0 to 100";
        s.ur = u;
        s.x = umidita_specifica(u, t, a);
    }
    s.h = entalpia(s.x, t);
    s.v = volume_specifico(t, s.x, a);
    if (!std::isfinite(s.x) || !std::isfinite(s.ur) || !std::isfinite(s.h) || !std::isfinite(s.v) || s.v <= 0)
        return std::string("outside the range of the moist-air correlations");

    // The wet-bulb solver stops on its tolerance or on its iteration cap; only a stop on the tolerance gives the
    // answer (it searches no lower than −10 °C, or 10 °C below a colder dry bulb). Checking the tolerance again
    // tells the two apart. The dew point is empty only for air with none above −100 °C.
    const double twb = temperatura_bulbo_umido(s.x, t, a);
    if (std::fabs(entalpia(umidita_saturazione(twb, a), twb) - s.h) < 0.1) s.bulbo_umido = twb;
    s.rugiada = temperatura_rugiada(s.ur, t, a);
    return s;
}

std::string intestazione_stati(char sep) {
    std::string r = "t,ur,x,h,v,t_bulbo_umido,t_rugiada";
    for (char& c : r)
        if (c == ',') c = sep;
    return r;
}

std::string riga_stati(const StatoAria& s, char sep) {
    std::string r;
    r.reserve(64);
    aggiungi_numero(r, s.t, 2);
    r += sep;
    aggiungi_numero(r, s.ur, 2);
    r += sep;
    aggiungi_numero(r, s.x, 3);
    r += sep;
    aggiungi_numero(r, s.h, 3);
    r += sep;
    aggiungi_numero(r, s.v, 4);
    r += sep;
    if (s.bulbo_umido) aggiungi_numero(r, *s.bulbo_umido, 2);
    r += sep;
    if (s.rugiada) aggiungi_numero(r, *s.rugiada, 2);
    return r;
}

void dividi_campi(std::string_view riga, char sep, std::vector<std::string>& campi) {
    campi.clear();
    std::size_t i = 0;
    const std::size_t n = riga.size();
    for (;;) {
        std::string campo;
        while (i < n && riga[i] != sep && blank(riga[i]))
            ++i;
        if (i < n && riga[i] == '"') {
            ++i;
            while (i < n) {
                if (riga[i] == '"') {
                    if (i + 1 < n && riga[i + 1] == '"') {
                        campo += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                campo += riga[i++];
            }
            // Anything between the closing quote and the separator is kept, so that a stray character makes
            // the field unreadable rather than silently dropped.
            const std::size_t inizio = i;
            while (i < n && riga[i] != sep)
                ++i;
            campo += senza_blank(riga.substr(inizio, i - inizio));
        } else {
            const std::size_t inizio = i;
            while (i < n && riga[i] != sep)
                ++i;
            campo = senza_blank(riga.substr(inizio, i - inizio));
        }
        campi.push_back(std::move(campo));
        if (i >= n) break;
        ++i; // the separator
    }
}

char separatore_di(std::string_view prima_riga) {
    if (prima_riga.find(';') != std::string_view::npos) return ';';
    if (prima_riga.find(',') != std::string_view::npos) return ',';
    if (prima_riga.find('\t') != std::string_view::npos) return '\t';
    return ',';
}

EsitoStati calcola_stati(std::istream& in, std::ostream& out, std::ostream& diagnostica, int umidita,
                         std::string_view nome) {
    OpzioniStati o;
    o.umidita = umidita;
    return calcola_stati(in, out, diagnostica, o, nome);
}

namespace {

StatoAria da_completo(const StatoCompleto& c) {
    StatoAria s;
    s.t = c.t;
    s.ur = c.ur;
    s.x = c.x;
    s.h = c.h;
    s.v = c.v;
    s.bulbo_umido = c.bulbo_umido;
    s.rugiada = c.rugiada;
    return s;
}

// The state of a row by the first of the reader's pairs the row holds that gives one, or the reasons none did.
std::variant<StatoAria, std::string> stato_della_riga(const LettoreStati& l, const RigaStato& r, Aria a) {
    std::string motivi;
    for (const auto& [ga, gb] : l.coppie()) {
        const auto& va = r.valori[static_cast<std::size_t>(ga)];
        const auto& vb = r.valori[static_cast<std::size_t>(gb)];
        if (!va || !vb) continue;
        std::variant<StatoAria, std::string> s;
        if (l.come_rapporto() && ga == Grandezza::t && (gb == Grandezza::ur || gb == Grandezza::x)) {
            s = calcola_stato(*va, *vb, gb == Grandezza::x ? 1 : 0, a);
        } else {
            const auto c = stato_da_coppia({ga, *va}, {gb, *vb}, a);
            if (const auto* m = std::get_if<std::string>(&c))
                s = *m;
            else
                s = da_completo(std::get<StatoCompleto>(c));
        }
        if (std::holds_alternative<StatoAria>(s)) return s;
        motivi += (motivi.empty() ? "" : "; ") + std::get<std::string>(s);
    }
    return motivi;
}

} // namespace

EsitoStati calcola_stati(std::istream& in, std::ostream& out, std::ostream& diagnostica, const OpzioniStati& o,
                         std::string_view nome) {
    EsitoStati esito;
    PrimaRiga prima;
    prima.presente = leggi_riga(in, prima.testo, prima.troppo_lunga);
    if (prima.testo.rfind("\xEF\xBB\xBF", 0) == 0) prima.testo.erase(0, 3); // UTF-8 byte order mark
    const bool epw = sembra_epw(nome, prima.testo);
    std::unique_ptr<LettoreStati> lettore = epw ? lettore_epw(in, std::move(prima), o.pressione_da_file, nome)
                                                : lettore_csv(in, std::move(prima), o.umidita, o.pressione_da_file, nome);
    if (auto errore = lettore->apri()) {
        esito.errore = std::move(errore);
        return esito;
    }
    if (o.descrizione) *o.descrizione = lettore->descrizione();
    const char sep = lettore->separatore();
    if (o.scrivi_righe) {
        std::string intestazione;
        for (const auto& c : lettore->colonne_chiave())
            intestazione += c + sep;
        intestazione += intestazione_stati(sep);
        if (o.pressione_da_file) intestazione += std::string(1, sep) + "p";
        out << intestazione << '\n';
    }

    RigaStato riga;
    std::string motivo, testo;
    for (;;) {
        const auto lettura = lettore->prossima(riga, motivo);
        if (lettura == LettoreStati::Lettura::fine) break;
        std::variant<StatoAria, std::string> stato = motivo;
        Aria a = o.aria;
        if (lettura == LettoreStati::Lettura::riga) {
            if (o.pressione_da_file) a.pressione = riga.pressione.value_or(0.0);
            if (!(a.pressione >= pressione_minima && a.pressione <= pressione_massima))
                stato = "pressure " + formatta(a.pressione, 0, 0) + " Pa outside " + formatta(pressione_minima, 0, 0) +
                        " to " + formatta(pressione_massima, 0, 0) + " Pa";
            else
                stato = stato_della_riga(*lettore, riga, a);
        }
        if (const auto* m = std::get_if<std::string>(&stato)) {
            ++esito.scartate;
            diagnostica << nome << ':' << lettore->numero_riga() << ": " << *m << " (row skipped)\n";
            continue;
        }
        const StatoAria& s = std::get<StatoAria>(stato);
        if (o.per_ogni_stato) o.per_ogni_stato(s, a);
        ++esito.scritte;
        if (!o.scrivi_righe) continue;
        testo = riga.chiave;
        testo += riga_stati(s, sep);
        if (o.pressione_da_file) {
            testo += sep;
            aggiungi_numero(testo, a.pressione, 0);
        }
        testo += '\n';
        out.write(testo.data(), static_cast<std::streamsize>(testo.size()));
    }
    if (in.bad()) esito.errore = std::string(nome) + ": read error after line " + std::to_string(lettore->numero_riga());
    return esito;
}

int codice_uscita_stati(const EsitoStati& e) {
    if (e.errore) return 2;
    return e.scartate > 0 ? 1 : 0;
}

} // namespace ondix
