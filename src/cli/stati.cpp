#include "cli/stati.h"

#include "cli/lettore_stati.h"
#include "core/aria_umida.h"
#include "core/modello.h"
#include "core/numeri.h"
#include "core/stato_aria.h"

#include <sched.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <functional>
#include <istream>
#include <mutex>
#include <ostream>
#include <stdexcept>
#include <thread>

namespace ondix {

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Writes the fixed-point text of `valore` with `d` decimals and a decimal point at `p`, and returns its end; a value
// that rounds to zero loses its minus sign. Room for any double with up to 4 decimals: 400 characters.
char* scrivi_numero(char* p, char* fine, double valore, int d) {
    char* const inizio = p;
    p = scrivi_fisso(p, fine, valore, d).ptr;
    if (*inizio == '-' && std::all_of(inizio + 1, p, [](char c) { return c == '0' || c == '.'; })) {
        std::memmove(inizio, inizio + 1, static_cast<std::size_t>(p - inizio - 1));
        --p;
    }
    return p;
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
    std::array<char, 401> buf;
    riga.append(buf.data(), scrivi_numero(buf.data(), buf.data() + buf.size(), valore, d));
}

std::string citazione(std::string_view campo) {
    constexpr std::size_t massimo = 40;
    const bool lungo = lunghezza_caratteri(campo) > massimo;
    return "\"" + testo_visibile(lungo ? primi_caratteri(campo, massimo) : campo) + (lungo ? "...\"" : "\"");
}

bool LettoreRighe::leggi(std::string& riga, bool& troppo_lunga) {
    try {
        return leggi_riga(riga, troppo_lunga);
    } catch (const std::exception& e) {
        // A file stream reports a failed read(2) by throwing; errno still holds the reason.
        const int codice = errno;
        m_errore = codice != 0 ? std::strerror(codice) : e.what();
        m_in.setstate(std::ios::badbit);
        return false;
    }
}

bool LettoreRighe::guasto() const {
    return m_in.bad();
}

bool LettoreRighe::leggi_riga(std::string& riga, bool& troppo_lunga) {
    riga.clear();
    troppo_lunga = false;
    std::streambuf* sb = m_in.rdbuf();
    bool letto = false;
    for (;;) {
        const int c = sb->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            if (!letto) m_in.setstate(std::ios::eofbit);
            return letto;
        }
        letto = true;
        if (c == '\n') break;
        if (c == '\r') {
            if (sb->sgetc() == '\n') sb->sbumpc();
            break;
        }
        if (troppo_lunga) continue;
        if (riga.size() >= lunghezza_massima_riga) {
            troppo_lunga = true;
            riga.clear();
            continue;
        }
        riga.push_back(static_cast<char>(c));
    }
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

// The properties line of one data line appended to `uscita` (with `scrivi`), its state in `stato`; or why the row
// is skipped. Safe to run in several threads at once: it changes nothing but its arguments.
std::optional<std::string> elabora_riga(const LettoreStati& l, std::string_view testo, const OpzioniStati& o,
                                        std::vector<std::string>& campi, RigaStato& riga, std::string& uscita,
                                        StatoAria& stato, Aria& aria) {
    std::string motivo;
    if (l.analizza(testo, riga, motivo, campi) == LettoreStati::Lettura::scartata) return motivo;
    aria = o.aria;
    if (o.pressione_da_file) {
        aria.pressione = riga.pressione.value_or(0.0);
        if (!(aria.pressione >= pressione_minima && aria.pressione <= pressione_massima))
            return "pressure " + formatta(aria.pressione, 0, 0) + " Pa outside " + formatta(pressione_minima, 0, 0) +
                   " to " + formatta(pressione_massima, 0, 0) + " Pa";
    }
    auto s = stato_della_riga(l, riga, aria);
    if (auto* m = std::get_if<std::string>(&s)) return std::move(*m);
    stato = std::get<StatoAria>(s);
    if (!o.scrivi_righe) return std::nullopt;
    uscita += riga.chiave;
    aggiungi_riga_stati(uscita, stato, l.separatore());
    if (o.pressione_da_file) {
        uscita.back() = l.separatore();
        aggiungi_numero(uscita, aria.pressione, 0);
        uscita += '\n';
    }
    return std::nullopt;
}

// Rows in parallel: the reading thread gathers the lines into blocks, worker threads turn each block into its
// output and diagnostics, and the reading thread writes the blocks in input order. At most a few blocks per
// worker are in memory at once.
constexpr std::size_t righe_per_blocco = 4096;

struct Blocco {
    struct Riga {
        std::size_t inizio, lunghezza; // in `testo`
        std::size_t numero;            // line number in the input
        bool troppo_lunga;
    };
    std::string testo;
    std::vector<Riga> righe;
    std::string uscita, diagnostica;
    std::vector<std::pair<StatoAria, Aria>> stati; // kept only for a per_ogni_stato
    std::size_t scritte = 0, scartate = 0;
    bool pronto = false;
};

// Whether `out` has failed; then esito.errore tells so, with the system's reason when errno, cleared before the
// writes checked, holds one. Nothing more can reach the output: the run stops rather than compute rows that are
// lost.
bool uscita_fallita(const std::ostream& out, EsitoStati& esito) {
    if (out) return false;
    const int codice = errno;
    esito.errore = "cannot write the output" + (codice != 0 ? ": " + std::string(std::strerror(codice)) : "");
    return true;
}

void segnala(std::string& diagnostica, std::string_view nome, std::size_t numero, const std::string& motivo) {
    diagnostica.append(nome).append(":").append(std::to_string(numero)).append(": ").append(motivo);
    diagnostica.append(" (row skipped)\n");
}

void elabora_blocco(Blocco& b, const LettoreStati& l, const OpzioniStati& o, std::string_view nome) {
    std::vector<std::string> campi;
    RigaStato riga;
    StatoAria stato;
    Aria aria;
    for (const Blocco::Riga& r : b.righe) {
        std::optional<std::string> motivo;
        if (r.troppo_lunga)
            motivo = "line longer than " + std::to_string(lunghezza_massima_riga) + " characters";
        else
            motivo = elabora_riga(l, std::string_view(b.testo).substr(r.inizio, r.lunghezza), o, campi, riga, b.uscita,
                                  stato, aria);
        if (motivo) {
            ++b.scartate;
            segnala(b.diagnostica, nome, r.numero, *motivo);
            continue;
        }
        ++b.scritte;
        if (o.per_ogni_stato) b.stati.emplace_back(stato, aria);
    }
}

// The data rows after the header with `fili` worker threads; `prima` is a data line read with the header, if any,
// `numero_riga` the number of the last line read.
void in_parallelo(LettoreRighe& in, std::ostream& out, std::ostream& diagnostica, const LettoreStati& l,
                  const OpzioniStati& o, std::string_view nome, const std::string* prima, std::size_t numero_riga,
                  EsitoStati& esito) {
    const unsigned fili = o.fili;
    const std::size_t capienza = 2 * static_cast<std::size_t>(fili) + 2;
    std::vector<Blocco> anello(capienza);
    std::mutex mutex;
    std::condition_variable lavoro, pronti;
    std::deque<std::size_t> coda;
    bool finito = false;
    std::exception_ptr errore;

    std::vector<std::thread> operai;
    // However this function is left, the workers are told to stop and are waited for.
    struct Chiusura {
        std::function<void()> f;
        ~Chiusura() { f(); }
    } chiusura{[&] {
        {
            std::lock_guard<std::mutex> lock(mutex);
            finito = true;
        }
        lavoro.notify_all();
        for (std::thread& t : operai)
            if (t.joinable()) t.join();
    }};
    operai.reserve(fili);
    for (unsigned i = 0; i < fili; ++i)
        operai.emplace_back([&] {
            for (;;) {
                std::unique_lock<std::mutex> lock(mutex);
                lavoro.wait(lock, [&] { return !coda.empty() || finito; });
                if (coda.empty()) return;
                Blocco& b = anello[coda.front()];
                coda.pop_front();
                lock.unlock();
                try {
                    elabora_blocco(b, l, o, nome);
                } catch (...) {
                    lock.lock();
                    if (!errore) errore = std::current_exception();
                    lock.unlock();
                }
                lock.lock();
                b.pronto = true;
                pronti.notify_all();
            }
        });

    std::size_t riempiti = 0, scritti = 0;
    // Writes the oldest block once it is ready and frees its place.
    auto scrivi_primo = [&] {
        Blocco& b = anello[scritti % capienza];
        {
            std::unique_lock<std::mutex> lock(mutex);
            pronti.wait(lock, [&] { return b.pronto; });
        }
        // Once the output has failed, the blocks still being computed are only waited for.
        if (!esito.errore) {
            errno = 0;
            out.write(b.uscita.data(), static_cast<std::streamsize>(b.uscita.size()));
            if (!uscita_fallita(out, esito)) {
                esito.scritte += b.scritte;
                esito.scartate += b.scartate;
                errno = 0; // the diagnostics' stream may be tied to the output and flush it first
                diagnostica.write(b.diagnostica.data(), static_cast<std::streamsize>(b.diagnostica.size()));
                uscita_fallita(out, esito);
                for (const auto& [s, a] : b.stati)
                    o.per_ogni_stato(s, a);
            }
        }
        b.stati.clear();
        b.testo.clear();
        b.righe.clear();
        b.uscita.clear();
        b.diagnostica.clear();
        b.scritte = b.scartate = 0;
        b.pronto = false;
        ++scritti;
    };

    std::string riga;
    bool troppo_lunga = false, fine = false;
    while (!fine && !esito.errore) {
        if (riempiti - scritti == capienza) scrivi_primo();
        Blocco& b = anello[riempiti % capienza];
        auto aggiungi = [&](const std::string& testo, bool lunga) {
            b.righe.push_back({b.testo.size(), testo.size(), numero_riga, lunga});
            b.testo += testo;
        };
        if (prima) {
            aggiungi(*prima, false);
            prima = nullptr;
        }
        while (b.righe.size() < righe_per_blocco) {
            if (!in.leggi(riga, troppo_lunga)) {
                fine = true;
                break;
            }
            ++numero_riga;
            if (!troppo_lunga && senza_blank(riga).empty()) continue;
            aggiungi(riga, troppo_lunga);
        }
        if (b.righe.empty()) break;
        {
            std::lock_guard<std::mutex> lock(mutex);
            coda.push_back(riempiti % capienza);
        }
        lavoro.notify_one();
        ++riempiti;
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        finito = true;
    }
    lavoro.notify_all();
    while (scritti < riempiti)
        scrivi_primo();
    chiusura.f();
    chiusura.f = [] {};
    if (errore) std::rethrow_exception(errore);
    if (!esito.errore && in.guasto())
        esito.errore = std::string(nome) + ": read error after line " + std::to_string(numero_riga) + in.motivo();
}

} // namespace

std::variant<StatoAria, std::string> calcola_stato(double t, double u, int umidita, Aria a) {
    if (!std::isfinite(t) || !std::isfinite(u)) return std::string("not a finite number");
    if (a.modello) {
        if (const Fatto f = a.modello->nel_campo(t, a.pressione); !f) return f.errore().testo;
    } else if (t < t_minima_stati || t > t_massima_stati)
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
    s.h = entalpia(s.x, t, a);
    s.v = volume_specifico(t, s.x, a);
    if (!std::isfinite(s.x) || !std::isfinite(s.ur) || !std::isfinite(s.h) || !std::isfinite(s.v) || s.v <= 0)
        return std::string("outside the range of the moist-air correlations");

    // The wet-bulb solver stops on its tolerance or on its iteration cap; only a stop on the tolerance gives the
    // answer (it searches no lower than −10 °C, or 10 °C below a colder dry bulb). Checking the tolerance again
    // tells the two apart. The dew point is empty only for air with none above −100 °C. A model's wet bulb is
    // always solved.
    const double twb = temperatura_bulbo_umido(s.x, t, a);
    if (a.modello || std::fabs(entalpia(umidita_saturazione(twb, a), twb) - s.h) < 0.1) s.bulbo_umido = twb;
    s.rugiada = temperatura_rugiada(s.ur, t, a);
    return s;
}

std::string intestazione_stati(char sep) {
    std::string r = "t,ur,x,h,v,t_bulbo_umido,t_rugiada";
    for (char& c : r)
        if (c == ',') c = sep;
    return r;
}

void aggiungi_riga_stati(std::string& uscita, const StatoAria& s, char sep) {
    std::array<char, 7 * 401 + 1> buf;
    char* p = buf.data();
    char* const fine = buf.data() + buf.size();
    p = scrivi_numero(p, fine, s.t, 2);
    *p++ = sep;
    p = scrivi_numero(p, fine, s.ur, 2);
    *p++ = sep;
    p = scrivi_numero(p, fine, s.x, 3);
    *p++ = sep;
    p = scrivi_numero(p, fine, s.h, 3);
    *p++ = sep;
    p = scrivi_numero(p, fine, s.v, 4);
    *p++ = sep;
    if (s.bulbo_umido) p = scrivi_numero(p, fine, *s.bulbo_umido, 2);
    *p++ = sep;
    if (s.rugiada) p = scrivi_numero(p, fine, *s.rugiada, 2);
    *p++ = '\n';
    uscita.append(buf.data(), p);
}

std::string riga_stati(const StatoAria& s, char sep) {
    std::string r;
    aggiungi_riga_stati(r, s, sep);
    r.pop_back();
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
                         std::string_view nome, unsigned fili) {
    OpzioniStati o;
    o.umidita = umidita;
    o.fili = fili;
    return calcola_stati(in, out, diagnostica, o, nome);
}

EsitoStati calcola_stati(std::istream& in, std::ostream& out, std::ostream& diagnostica, const OpzioniStati& o,
                         std::string_view nome_dato) {
    EsitoStati esito;
    const std::string nome = testo_visibile(nome_dato);
    LettoreRighe righe(in);
    PrimaRiga prima;
    prima.presente = righe.leggi(prima.testo, prima.troppo_lunga);
    if (prima.testo.rfind("\xEF\xBB\xBF", 0) == 0) prima.testo.erase(0, 3); // UTF-8 byte order mark
    const bool epw = sembra_epw(nome_dato, prima.testo);
    std::unique_ptr<LettoreStati> lettore = epw ? lettore_epw(righe, std::move(prima), o.pressione_da_file, nome)
                                                : lettore_csv(righe, std::move(prima), o.umidita, o.pressione_da_file, nome);
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

    std::size_t numero_riga = lettore->numero_riga();
    const std::string* prima_dati = lettore->riga_in_attesa();
    if (o.fili > 1) {
        in_parallelo(righe, out, diagnostica, *lettore, o, nome, prima_dati, numero_riga, esito);
        return esito;
    }
    std::string riga, testo;
    std::vector<std::string> campi;
    RigaStato dati;
    StatoAria stato;
    Aria aria;
    bool troppo_lunga = false;
    for (;;) {
        if (esito.errore) return esito;
        std::string_view linea;
        if (prima_dati) {
            linea = *prima_dati;
            prima_dati = nullptr;
        } else {
            if (!righe.leggi(riga, troppo_lunga)) break;
            ++numero_riga;
            if (!troppo_lunga && senza_blank(riga).empty()) continue;
            linea = riga;
        }
        testo.clear();
        const auto motivo =
            troppo_lunga ? std::optional<std::string>("line longer than " + std::to_string(lunghezza_massima_riga) +
                                                      " characters")
                         : elabora_riga(*lettore, linea, o, campi, dati, testo, stato, aria);
        if (motivo) {
            ++esito.scartate;
            testo.clear();
            segnala(testo, nome, numero_riga, *motivo);
            errno = 0; // the diagnostics' stream may be tied to the output and flush it first
            diagnostica.write(testo.data(), static_cast<std::streamsize>(testo.size()));
            uscita_fallita(out, esito);
            continue;
        }
        errno = 0;
        out.write(testo.data(), static_cast<std::streamsize>(testo.size()));
        if (uscita_fallita(out, esito)) return esito;
        if (o.per_ogni_stato) o.per_ogni_stato(stato, aria);
        ++esito.scritte;
    }
    if (righe.guasto())
        esito.errore = nome + ": read error after line " + std::to_string(numero_riga) + righe.motivo();
    return esito;
}

unsigned fili_disponibili() {
    cpu_set_t insieme;
    if (sched_getaffinity(0, sizeof insieme, &insieme) == 0 && CPU_COUNT(&insieme) > 0)
        return static_cast<unsigned>(CPU_COUNT(&insieme));
    return std::max(1u, std::thread::hardware_concurrency());
}

int codice_uscita_stati(const EsitoStati& e) {
    if (e.errore) return 2;
    return e.scartate > 0 ? 1 : 0;
}

} // namespace ondix
