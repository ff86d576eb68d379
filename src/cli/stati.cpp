#include "cli/stati.h"

#include "core/aria_umida.h"
#include "core/lettore_stati.h"
#include "core/modello.h"
#include "core/numeri.h"
#include "core/richiesta_aria.h"
#include "core/stato_aria.h"

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
#include <future>
#include <istream>
#include <mutex>
#include <ostream>
#include <stdexcept>
#include <stop_token>
#include <thread>
#include <variant>

namespace ondix {

namespace {

// The rows of the input go through one pipeline, whatever the number of threads: the reading thread gathers the
// lines into blocks, hands each block to the workers as a future and writes the blocks' results in input order,
// row by row, so that the same rows are written and the same rows reported whatever the threads, also when a write
// fails. With one thread a block is one row, computed by the reading thread as it is read: each row is out before
// the next one is read.
constexpr std::size_t righe_per_blocco = 4096;

// One block: the lines as they were read, then what they give. Once written, a block is emptied and filled
// again, so that its room is allocated once.
struct Blocco {
    struct Riga {
        std::size_t inizio, lunghezza; // in `testo`
        std::size_t numero;            // line number in the input
        bool troppo_lunga;
    };
    std::string testo;
    std::vector<Riga> righe;

    // For each row in turn its output line or its diagnostic (followed, when bad rows are kept, by its line of
    // empty computed fields), ending at `fine` in `uscita`.
    enum class Tipo : unsigned char { riga, scarto, riga_vuota };
    struct Pezzo {
        std::size_t fine;
        Tipo tipo;
    };
    std::string uscita;
    std::vector<Pezzo> pezzi;
    // Of the rows written, kept only for a per_ogni_stato.
    struct Scritto {
        StatoCompleto stato;
        Aria aria;
        std::string chiave;
    };
    std::vector<Scritto> stati;

    void svuota() {
        testo.clear();
        righe.clear();
        uscita.clear();
        pezzi.clear();
        stati.clear();
    }
};

// How the rows are written: the separator and the decimal separator of the output, and the number of kept
// columns before and after the properties.
struct FormaUscita {
    char sep = ',';
    bool virgola = false;
    std::size_t chiave = 0, coda = 0;
};

// The properties line of one data line appended to b.uscita (when the rows are written), its state and air to
// b.stati (when someone wants them); or why the row is skipped. Safe to run in several threads at once: it
// changes nothing but its arguments.
Fatto elabora_riga(const LettoreStati& l, std::string_view testo, const OpzioniStati& o, const FormaUscita& f,
                   std::vector<std::string>& campi, RigaStato& riga, Blocco& b) {
    if (auto letta = l.analizza(testo, riga, campi); !letta) return letta;
    Aria aria = o.aria;
    if (o.pressione_da_file) {
        RichiestaAria r;
        r.pressione = riga.pressione.value_or(0.0);
        const auto della_riga = aria_richiesta(r, FonteAria::file);
        if (!della_riga) return della_riga.errore();
        aria.pressione = della_riga->pressione;
    }
    auto stato = stato_della_riga(riga.valori, l.coppie(), l.come_rapporto(), aria);
    if (!stato) return stato.errore();
    std::optional<Comfort> comfort;
    if (o.comfort && o.scrivi_righe) {
        auto c = comfort_stato(*stato, *o.comfort, aria);
        if (!c) return c.errore();
        comfort = *c;
    }
    if (o.per_ogni_stato) b.stati.push_back({*stato, aria, riga.chiave});
    if (!o.scrivi_righe) return {};
    b.uscita += riga.chiave;
    const std::size_t numeri = b.uscita.size();
    aggiungi_riga_stati(b.uscita, *stato, f.sep);
    if (o.pressione_da_file) {
        b.uscita.back() = f.sep;
        aggiungi_numero(b.uscita, aria.pressione, 0);
        b.uscita += '\n';
    }
    if (comfort) {
        b.uscita.back() = f.sep;
        aggiungi_numero(b.uscita, comfort->pmv, 3);
        b.uscita += f.sep;
        aggiungi_numero(b.uscita, comfort->ppd, 2);
        b.uscita += f.sep;
        b.uscita += testo_categoria(categoria_pmv(comfort->pmv));
        b.uscita += '\n';
    }
    if (f.virgola) std::replace(b.uscita.begin() + static_cast<std::ptrdiff_t>(numeri), b.uscita.end(), '.', ',');
    if (!riga.coda.empty()) {
        b.uscita.pop_back();
        b.uscita += riga.coda;
        b.uscita += '\n';
    }
    return {};
}

// The line of a bad row kept in the output: its kept columns when they were read, empty computed fields.
void aggiungi_riga_vuota(std::string& uscita, const RigaStato& riga, const OpzioniStati& o, const FormaUscita& f) {
    if (riga.con_colonne)
        uscita += riga.chiave;
    else
        uscita.append(f.chiave, f.sep);
    uscita.append((o.pressione_da_file ? 7u : 6u) + (o.comfort ? 3u : 0u), f.sep);
    if (riga.con_colonne)
        uscita += riga.coda;
    else
        uscita.append(f.coda, f.sep);
    uscita += '\n';
}

// The output of every line of the block, in order.
void elabora_blocco(Blocco& b, const LettoreStati& l, const OpzioniStati& o, const FormaUscita& f,
                    std::string_view nome) {
    // Room for a line's fields, kept by each thread from block to block (with one thread a block is a row).
    thread_local std::vector<std::string> campi;
    RigaStato riga;
    for (const Blocco::Riga& k : b.righe) {
        const std::string_view testo = std::string_view(b.testo).substr(k.inizio, k.lunghezza);
        riga.con_colonne = false;
        const Fatto fatto = k.troppo_lunga ? Fatto(riga_troppo_lunga()) : elabora_riga(l, testo, o, f, campi, riga, b);
        if (fatto) {
            b.pezzi.push_back({b.uscita.size(), Blocco::Tipo::riga});
            continue;
        }
        b.uscita.append(nome)
            .append(":")
            .append(std::to_string(k.numero))
            .append(": ")
            .append(fatto.errore().testo)
            .append(o.tieni_scarti && o.scrivi_righe ? " (riga senza valori)\n" : " (riga scartata)\n");
        b.pezzi.push_back({b.uscita.size(), Blocco::Tipo::scarto});
        if (o.tieni_scarti && o.scrivi_righe) {
            aggiungi_riga_vuota(b.uscita, riga, o, f);
            b.pezzi.push_back({b.uscita.size(), Blocco::Tipo::riga_vuota});
        }
    }
}

// A block's result as the pipeline holds it until its turn to be written: in a worker's hands (a future), or
// already computed by the reading thread (with no workers; a future's shared state would cost a system call per
// row there).
using Consegna = std::variant<std::future<Blocco>, Blocco>;

// The result once it is there; a worker's exception comes out here.
Blocco ritira(Consegna& c) {
    if (auto* futuro = std::get_if<std::future<Blocco>>(&c)) return futuro->get();
    return std::move(std::get<Blocco>(c));
}

// The workers that compute the blocks: each block handed over comes back as a future. With no worker, a block is
// computed as it is handed over.
class Operai {
public:
    explicit Operai(unsigned n) {
        m_fili.reserve(n);
        for (unsigned i = 0; i < n; ++i)
            m_fili.emplace_back([this](std::stop_token fermo) { lavora(fermo); });
    }

    template <class Lavoro> Consegna affida(Lavoro lavoro) {
        if (m_fili.empty()) return lavoro();
        std::packaged_task<Blocco()> compito(std::move(lavoro));
        auto futuro = compito.get_future();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_coda.push_back(std::move(compito));
        }
        m_lavoro.notify_one();
        return futuro;
    }

private:
    void lavora(std::stop_token fermo) {
        for (;;) {
            std::packaged_task<Blocco()> compito;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                // Asked to stop, a worker leaves at once, also when blocks are still queued: nobody waits for them.
                m_lavoro.wait(lock, fermo, [this] { return !m_coda.empty(); });
                if (fermo.stop_requested()) return;
                compito = std::move(m_coda.front());
                m_coda.pop_front();
            }
            compito(); // an exception goes into the block's future
        }
    }

    std::mutex m_mutex;
    std::condition_variable_any m_lavoro;
    std::deque<std::packaged_task<Blocco()>> m_coda;
    // Last, so that it is destroyed first: each thread is asked to stop and joined while the queue still exists.
    // Blocks still queued then are dropped with their futures.
    std::vector<std::jthread> m_fili;
};

// Done while `out` has not failed, else the failure, with the system's reason when errno, cleared before the
// writes checked, holds one.
Fatto stato_uscita(const std::ostream& out) {
    if (out) return {};
    return uscita_non_scritta(errno);
}

// Writes a block's rows and diagnostics in order, counting them, and hands its states over; stops at the first
// failed write (nothing after that row is written).
Fatto scrivi_blocco(const Blocco& b, std::ostream& out, std::ostream& diagnostica, const OpzioniStati& o,
                    RisultatoStati& esito) {
    std::size_t inizio = 0, stato = 0;
    for (const Blocco::Pezzo& p : b.pezzi) {
        const char* testo = b.uscita.data() + inizio;
        const auto n = static_cast<std::streamsize>(p.fine - inizio);
        inizio = p.fine;
        errno = 0; // the diagnostics' stream may be tied to the output and flush it first
        if (p.tipo == Blocco::Tipo::scarto) {
            diagnostica.write(testo, n);
            ++esito.scartate;
            if (auto scritto = stato_uscita(out); !scritto) return scritto;
            continue;
        }
        out.write(testo, n);
        if (auto scritto = stato_uscita(out); !scritto) return scritto;
        if (p.tipo == Blocco::Tipo::riga_vuota) continue;
        ++esito.scritte;
        if (o.per_ogni_stato) {
            const Blocco::Scritto& s = b.stati[stato++];
            o.per_ogni_stato(s.stato, s.aria, s.chiave);
        }
    }
    return {};
}

// The output's header line: the kept columns before, the properties (with p and the comfort's columns when asked
// for), the kept columns after.
std::string intestazione(const std::vector<std::string>& chiave, const std::vector<std::string>& coda,
                         const OpzioniStati& o, char sep) {
    std::string r;
    for (const auto& c : chiave) {
        aggiungi_campo(r, c, sep);
        r += sep;
    }
    r += intestazione_stati(sep);
    if (o.pressione_da_file) r += std::string(1, sep) + "p";
    if (o.comfort) r += std::string(1, sep) + "pmv" + sep + "ppd" + sep + "categoria";
    for (const auto& c : coda) {
        r += sep;
        aggiungi_campo(r, c, sep);
    }
    return r;
}

// Reads lines into `b` until it holds `per_blocco` rows (blank lines are skipped, counted); false when the input
// ended first. `riga` is room for a line, kept from call to call.
bool riempi_blocco(Blocco& b, LettoreRighe& righe, std::size_t per_blocco, std::size_t& numero_riga,
                   std::string& riga) {
    bool troppo_lunga = false;
    while (b.righe.size() < per_blocco) {
        if (!righe.leggi(riga, troppo_lunga)) return false;
        ++numero_riga;
        if (!troppo_lunga && senza_blank(riga).empty()) continue;
        b.righe.push_back({b.testo.size(), riga.size(), numero_riga, troppo_lunga});
        b.testo += riga;
    }
    return true;
}

} // namespace

RisultatoStati calcola_stati(std::istream& in, std::ostream& out, std::ostream& diagnostica, int umidita,
                             std::string_view nome, unsigned fili) {
    OpzioniStati o;
    o.umidita = umidita;
    o.fili = fili;
    return calcola_stati(in, out, diagnostica, o, nome);
}

RisultatoStati calcola_stati(std::istream& in, std::ostream& out, std::ostream& diagnostica, const OpzioniStati& o,
                             std::string_view nome_dato) {
    RisultatoStati esito;
    const std::string nome = testo_visibile(nome_dato);
    LettoreRighe righe(in);
    PrimaRiga prima = leggi_prima_riga(righe);
    const bool epw = sembra_epw(nome_dato, prima.testo);
    std::unique_ptr<LettoreStati> lettore =
        epw ? lettore_epw(righe, std::move(prima), o.pressione_da_file, nome)
            : lettore_csv(righe, std::move(prima), o.umidita, o.pressione_da_file, o.copia_colonne, nome);
    if (auto aperto = lettore->apri(); !aperto) {
        esito.errore = aperto.errore();
        return esito;
    }
    if (o.descrizione) *o.descrizione = lettore->descrizione();
    if (o.meteo) *o.meteo = epw;
    FormaUscita forma;
    forma.virgola =
        o.decimali == Decimali::virgola || (o.decimali == Decimali::dall_ingresso && lettore->decimali_virgola());
    // Decimal commas need another separator between the fields.
    forma.sep = forma.virgola && lettore->separatore() == ',' ? ';' : lettore->separatore();
    lettore->imposta_separatore_uscita(forma.sep);
    if (o.separatore) *o.separatore = forma.sep;
    const std::vector<std::string> chiave = lettore->colonne_chiave(), coda = lettore->colonne_coda();
    forma.chiave = chiave.size();
    forma.coda = coda.size();
    if (o.scrivi_righe) out << intestazione(chiave, coda, o, forma.sep) << '\n';

    // The pipeline: blocks read, handed to the workers and written in input order, at most `in_volo` of them
    // held at once; a block written is emptied and read into again.
    const bool un_filo = o.fili <= 1;
    const std::size_t per_blocco = un_filo ? 1 : righe_per_blocco;
    const std::size_t in_volo = un_filo ? 1 : 2 * static_cast<std::size_t>(o.fili) + 2;
    std::size_t numero_riga = lettore->numero_riga();
    const std::string* prima_dati = lettore->riga_in_attesa();
    Operai operai(un_filo ? 0 : o.fili);
    std::deque<Consegna> in_corso;
    std::vector<Blocco> liberi;
    std::string riga;
    bool fine = false;
    while (!fine || !in_corso.empty()) {
        if (fine || in_corso.size() == in_volo) {
            // The oldest block. A worker's exception comes out here, before anything after it is written (the
            // workers are stopped and joined as it leaves); a failed write ends the run.
            Blocco b = ritira(in_corso.front());
            in_corso.pop_front();
            if (auto scritto = scrivi_blocco(b, out, diagnostica, o, esito); !scritto) {
                esito.errore = scritto.errore();
                return esito;
            }
            b.svuota();
            liberi.push_back(std::move(b));
            continue;
        }
        Blocco b;
        if (!liberi.empty()) {
            b = std::move(liberi.back());
            liberi.pop_back();
        }
        if (prima_dati) {
            b.righe.push_back({0, prima_dati->size(), numero_riga, lettore->riga_in_attesa_troppo_lunga()});
            b.testo = *prima_dati;
            prima_dati = nullptr;
        }
        fine = !riempi_blocco(b, righe, per_blocco, numero_riga, riga);
        if (!b.righe.empty())
            in_corso.push_back(operai.affida([&l = *lettore, &o, &forma, &nome, b = std::move(b)]() mutable {
                elabora_blocco(b, l, o, forma, nome);
                return std::move(b);
            }));
    }
    if (righe.guasto())
        esito.errore = Errore{Causa::file, nome + ": errore di lettura dopo la riga " + std::to_string(numero_riga) +
                                               righe.motivo()};
    return esito;
}

unsigned fili_disponibili() {
    cpu_set_t insieme;
    if (sched_getaffinity(0, sizeof insieme, &insieme) == 0 && CPU_COUNT(&insieme) > 0)
        return static_cast<unsigned>(CPU_COUNT(&insieme));
    return std::max(1u, std::thread::hardware_concurrency());
}

int codice_uscita_stati(const RisultatoStati& e) {
    if (e.errore) return 2;
    return e.scartate > 0 ? 1 : 0;
}

Errore uscita_non_scritta(int codice) {
    return Errore{Causa::file,
                  "impossibile scrivere l'uscita" + (codice != 0 ? ": " + std::string(std::strerror(codice)) : "")};
}

} // namespace ondix
