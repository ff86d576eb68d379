#include "cli/stati.h"

#include "core/aria_umida.h"
#include "core/numeri.h"

#include <sched.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
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

std::string_view senza_blank(std::string_view s) {
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
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

// A column name as written in a header: lower case, cut at the first character that is not a letter, a digit
// or '_', so that "T [C]", "ur(%)" and "x g/kg" name t, ur and x.
std::string nome_colonna(std::string_view campo) {
    std::string nome;
    for (const char c : campo) {
        const bool lettera = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!lettera && !(c >= '0' && c <= '9') && c != '_') break;
        nome += lettera ? static_cast<char>(c | 0x20) : c;
    }
    return nome;
}

std::optional<std::size_t> cerca_colonna(const std::vector<std::string>& campi, std::string_view nome) {
    for (std::size_t i = 0; i < campi.size(); ++i)
        if (nome_colonna(campi[i]) == nome) return i;
    return std::nullopt;
}

bool tutti_numeri(const std::vector<std::string>& campi) {
    if (campi.size() < 2) return false;
    for (const auto& c : campi)
        if (!numero_intero_testo(c)) return false;
    return true;
}

// A field shown in a message: at most 40 characters, in quotes, with control characters and invalid UTF-8
// escaped so that nothing from the file reaches the terminal as a command.
std::string citazione(std::string_view campo) {
    constexpr std::size_t massimo = 40;
    const bool lungo = lunghezza_caratteri(campo) > massimo;
    return "\"" + testo_visibile(lungo ? primi_caratteri(campo, massimo) : campo) + (lungo ? "...\"" : "\"");
}

// Reads the input one line at a time. A line ends at LF, CR LF or a lone CR.
class Lettore {
public:
    explicit Lettore(std::istream& in) : m_in(in) {}

    // Reads one line into `riga` without its line end. Returns false at the end of the input and on a read
    // error (then errore() gives the system's reason). A line longer than lunghezza_massima_riga is consumed to
    // its end without being kept, and `troppo_lunga` is set.
    bool leggi(std::string& riga, bool& troppo_lunga) {
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
    const std::optional<std::string>& errore() const { return m_errore; }
    // The input failed (a read error), as opposed to ending.
    bool guasto() const { return m_in.bad(); }
    // ": REASON" of a read error, or nothing when the system gave none.
    std::string motivo() const { return m_errore ? ": " + *m_errore : std::string(); }

private:
    bool leggi_riga(std::string& riga, bool& troppo_lunga) {
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

    std::istream& m_in;
    std::optional<std::string> m_errore;
};

// Why the fields of a row do not give the two numbers; empty when they do, and then `valori` holds them.
std::string leggi_valori(const std::vector<std::string>& campi, const std::array<std::size_t, 2>& colonne,
                         const std::array<std::string_view, 2>& nomi, char sep, std::array<double, 2>& valori) {
    for (std::size_t k = 0; k < 2; ++k) {
        const std::string& campo = campi[colonne[k]];
        const Conversione c = leggi_numero(campo);
        if (campo.empty()) return "column " + std::string(nomi[k]) + " is empty";
        if (c.letti == 0 || c.letti != campo.size()) {
            std::string motivo = "column " + std::string(nomi[k]) + ": " + citazione(campo) + " is not a number";
            if (campo.find(',') != std::string::npos && sep != ',') motivo += " (the decimal separator is '.')";
            return motivo;
        }
        if (c.trabocco) return "column " + std::string(nomi[k]) + ": " + citazione(campo) + " is too large";
        valori[k] = c.valore;
    }
    return {};
}

// How the rows of a file are read, from its header.
struct Formato {
    char sep;
    std::size_t col_t, col_u;
    std::size_t servono; // fields a row needs
    // Fields a row may have: those of the first line. An extra field would mean that a value was split, as a
    // decimal comma splits it.
    std::size_t campi_massimi;
    int umidita;
    std::string_view colonna_u;
};

// Appends the properties line of one row, split into `campi`, to `uscita`; or tells why the row is skipped.
std::optional<std::string> elabora_campi(const std::vector<std::string>& campi, const Formato& f, std::string& uscita) {
    if (campi.size() < f.servono || campi.size() > f.campi_massimi) {
        const std::size_t attesi = campi.size() < f.servono ? f.servono : f.campi_massimi;
        std::string motivo = "expected " + std::to_string(attesi) + " fields, found " + std::to_string(campi.size());
        if (campi.size() > f.campi_massimi && f.sep == ',') motivo += " (the decimal separator is '.')";
        return motivo;
    }
    std::array<double, 2> valori{};
    std::string motivo = leggi_valori(campi, {f.col_t, f.col_u}, {"t", f.colonna_u}, f.sep, valori);
    if (!motivo.empty()) return motivo;
    auto stato = calcola_stato(valori[0], valori[1], f.umidita);
    if (auto* m = std::get_if<std::string>(&stato)) return std::move(*m);
    aggiungi_riga_stati(uscita, std::get<StatoAria>(stato), f.sep);
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
    std::size_t scritte = 0, scartate = 0;
    bool pronto = false;
};

void elabora_blocco(Blocco& b, const Formato& f, std::string_view nome) {
    std::vector<std::string> campi;
    auto scarta = [&](std::size_t numero, const std::string& motivo) {
        ++b.scartate;
        b.diagnostica.append(nome).append(":").append(std::to_string(numero)).append(": ").append(motivo);
        b.diagnostica.append(" (row skipped)\n");
    };
    for (const Blocco::Riga& r : b.righe) {
        if (r.troppo_lunga) {
            scarta(r.numero, "line longer than " + std::to_string(lunghezza_massima_riga) + " characters");
            continue;
        }
        dividi_campi(std::string_view(b.testo).substr(r.inizio, r.lunghezza), f.sep, campi);
        if (auto motivo = elabora_campi(campi, f, b.uscita))
            scarta(r.numero, *motivo);
        else
            ++b.scritte;
    }
}

// Whether `out` has failed; then esito.errore tells so, with the system's reason when errno, cleared before the
// writes checked, holds one. Nothing more can reach the output: the run stops rather than compute rows that are
// lost.
bool uscita_fallita(const std::ostream& out, EsitoStati& esito) {
    if (out) return false;
    const int codice = errno;
    esito.errore = "cannot write the output" + (codice != 0 ? ": " + std::string(std::strerror(codice)) : "");
    return true;
}

// The data rows after the header with `fili` worker threads; `prima` is a first line that is data (the header
// line of a file without one), `numero_riga` the number of the last line read.
void in_parallelo(Lettore& lettore, std::ostream& out, std::ostream& diagnostica, const Formato& f,
                  std::string_view nome, unsigned fili, const std::string* prima, std::size_t numero_riga,
                  EsitoStati& esito) {
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
                    elabora_blocco(b, f, nome);
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
            }
        }
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
            if (!lettore.leggi(riga, troppo_lunga)) {
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
    if (!esito.errore && lettore.guasto())
        esito.errore = std::string(nome) + ": read error after line " + std::to_string(numero_riga) + lettore.motivo();
}

} // namespace

std::variant<StatoAria, std::string> calcola_stato(double t, double u, int umidita) {
    if (!std::isfinite(t) || !std::isfinite(u)) return std::string("not a finite number");
    if (t < t_minima_stati || t > t_massima_stati)
        return "temperature " + formatta(t, 0, 2) + " C outside " + formatta(t_minima_stati, 0, 0) + " to " +
               formatta(t_massima_stati, 0, 0) + " C";
    StatoAria s;
    s.t = t;
    if (umidita == 1) {
        const double xs = umidita_saturazione(t);
        if (u < 0) return "humidity ratio " + formatta(u, 0, 3) + " g/kg below 0";
        if (u > xs)
            return "humidity ratio " + formatta(u, 0, 3) + " g/kg above saturation (" + formatta(xs, 0, 3) +
                   " g/kg at " + formatta(t, 0, 2) + " C)";
        s.x = u;
        s.ur = umidita_relativa(u, t);
    } else {
        if (u < 0 || u > 100) return "relative humidity " + formatta(u, 0, 2) + " % outside 0 to 100";
        s.ur = u;
        s.x = umidita_specifica(u, t);
    }
    s.h = entalpia(s.x, t);
    s.v = volume_specifico(t, s.x);
    if (!std::isfinite(s.x) || !std::isfinite(s.ur) || !std::isfinite(s.h) || !std::isfinite(s.v) || s.v <= 0)
        return std::string("outside the range of the moist-air correlations");

    // The wet-bulb solver stops on its tolerance or on its iteration cap; only a stop on the tolerance gives the
    // answer (it searches no lower than −10 °C, or 10 °C below a colder dry bulb). Checking the tolerance again
    // tells the two apart. The dew point is empty only for air with none above −100 °C.
    const double twb = temperatura_bulbo_umido(s.x, t);
    if (std::fabs(entalpia(umidita_saturazione(twb), twb) - s.h) < 0.1) s.bulbo_umido = twb;
    s.rugiada = temperatura_rugiada(s.ur, t);
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
                         std::string_view nome_dato, unsigned fili) {
    EsitoStati esito;
    const std::string nome = testo_visibile(nome_dato);
    const std::string_view colonna_u = umidita == 1 ? "x" : "ur";
    const std::string_view altra_u = umidita == 1 ? "ur" : "x";

    Lettore lettore(in);
    std::string riga, testo;
    std::vector<std::string> campi;
    std::size_t numero_riga = 0;
    bool troppo_lunga = false;

    auto errore_riga = [&](const std::string& messaggio) {
        return nome + ":" + std::to_string(numero_riga) + ": " + messaggio;
    };
    auto scarta = [&](const std::string& motivo) {
        ++esito.scartate;
        errno = 0; // the diagnostics' stream may be tied to the output and flush it first
        diagnostica << nome << ':' << numero_riga << ": " << motivo << " (row skipped)\n";
        uscita_fallita(out, esito);
    };

    // The header: the first line that is not blank.
    bool trovata = false;
    while (lettore.leggi(riga, troppo_lunga)) {
        ++numero_riga;
        if (numero_riga == 1 && riga.rfind("\xEF\xBB\xBF", 0) == 0) riga.erase(0, 3); // UTF-8 byte order mark
        if (troppo_lunga) {
            esito.errore =
                errore_riga("the header line is longer than " + std::to_string(lunghezza_massima_riga) + " characters");
            return esito;
        }
        if (!senza_blank(riga).empty()) {
            trovata = true;
            break;
        }
    }
    if (in.bad()) {
        esito.errore = nome + ": read error" + lettore.motivo();
        return esito;
    }
    if (!trovata) {
        esito.errore =
            nome + ": the input is empty (expected a header line such as \"t," + std::string(colonna_u) + "\")";
        return esito;
    }

    const char sep = separatore_di(riga);
    dividi_campi(riga, sep, campi);
    const std::array<std::string_view, 2> nomi{"t", colonna_u};
    std::array<std::size_t, 2> colonne{0, 1};
    // Rows may have fewer fields than the first line (the columns after the last one used may be missing), not
    // more: an extra field would mean that a value was split, as a decimal comma splits it.
    const std::size_t campi_massimi = campi.size();
    // A first line of numbers only is data, not a header: the columns are then taken in order.
    const bool senza_intestazione = tutti_numeri(campi);
    if (!senza_intestazione) {
        const auto ct = cerca_colonna(campi, "t");
        const auto cu = cerca_colonna(campi, colonna_u);
        if (!cu && cerca_colonna(campi, altra_u)) {
            esito.errore = errore_riga("the header has a column " + std::string(altra_u) + ", not " +
                                       std::string(colonna_u) + " (use --umidita " + (umidita == 1 ? "0" : "1") + ")");
            return esito;
        }
        if (!ct || !cu) {
            // Not a header. With a number in it, the line was meant as the first row: say what is wrong with it.
            const bool con_numeri =
                std::any_of(campi.begin(), campi.end(), [](const std::string& c) { return numero_intero_testo(c); });
            if (con_numeri) {
                std::array<double, 2> valori{};
                const std::string motivo = campi.size() < 2 ? "expected 2 fields, found " + std::to_string(campi.size())
                                                            : leggi_valori(campi, colonne, nomi, sep, valori);
                esito.errore = errore_riga("neither a header naming the columns t and " + std::string(colonna_u) +
                                           " nor a row of numbers: " + motivo);
            } else {
                esito.errore =
                    errore_riga("the header names no column " + (ct ? std::string(colonna_u) : std::string("t")) +
                                " (expected a header such as \"t" + sep + std::string(colonna_u) + "\")");
            }
            return esito;
        }
        colonne = {*ct, *cu};
    }

    out << intestazione_stati(sep) << '\n';

    const Formato formato{sep,           colonne[0], colonne[1], std::max(colonne[0], colonne[1]) + 1,
                          campi_massimi, umidita,    colonna_u};
    if (fili > 1) {
        in_parallelo(lettore, out, diagnostica, formato, nome, fili, senza_intestazione ? &riga : nullptr, numero_riga,
                     esito);
        return esito;
    }
    bool prima = senza_intestazione;
    for (;;) {
        if (esito.errore) return esito;
        if (!prima) {
            if (!lettore.leggi(riga, troppo_lunga)) break;
            ++numero_riga;
            if (troppo_lunga) {
                scarta("line longer than " + std::to_string(lunghezza_massima_riga) + " characters");
                continue;
            }
            if (senza_blank(riga).empty()) continue;
            dividi_campi(riga, sep, campi);
        }
        prima = false;

        testo.clear();
        if (auto motivo = elabora_campi(campi, formato, testo)) {
            scarta(*motivo);
            continue;
        }
        errno = 0;
        out.write(testo.data(), static_cast<std::streamsize>(testo.size()));
        if (uscita_fallita(out, esito)) return esito;
        ++esito.scritte;
    }
    if (in.bad()) esito.errore = nome + ": read error after line " + std::to_string(numero_riga) + lettore.motivo();
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
