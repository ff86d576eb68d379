#include "core/calcolo.h"

#include "core/aria_umida.h"
#include "core/numeri.h"

#include <cfenv>

namespace ondix {

namespace {
constexpr int eccezioni_controllate = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;

// Thrown by Calcolo::impossibile, caught only by vai_calcolo.
struct ImpiantoImpossibile {
    std::string testo;
};
} // namespace

std::string testo_errore(TipoErroreFP tipo) {
    switch (tipo) {
    case TipoErroreFP::divisione_per_zero:
        return "Division par zéro en virgule flottante.";
    case TipoErroreFP::operazione_non_valida:
        return "Opération en virgule flottante incorrecte.";
    case TipoErroreFP::trabocco:
        return "Débordement en virgule flottante.";
    }
    return "Opération en virgule flottante incorrecte.";
}

Calcolo::Calcolo(Contesto& ctx, Esterno& esterno) : m_ctx(ctx), m_esterno(esterno) {
    std::feclearexcept(eccezioni_controllate);
    m_ctx.rapporto.imposta_guardia([this] { controlla(); });
}

Calcolo::~Calcolo() {
    m_ctx.rapporto.imposta_guardia({});
}

void Calcolo::controlla() const {
    const int flag = std::fetestexcept(eccezioni_controllate);
    if (!flag) return;
    // Several flags may be up when an infinity went on into an invalid operation before this check: the
    // division by zero or the overflow came first, since a NaN cannot give either of them.
    if (flag & FE_DIVBYZERO) throw ErroreVirgolaMobile(TipoErroreFP::divisione_per_zero);
    if (flag & FE_OVERFLOW) throw ErroreVirgolaMobile(TipoErroreFP::trabocco);
    throw ErroreVirgolaMobile(TipoErroreFP::operazione_non_valida);
}

void Calcolo::impossibile(std::string testo) {
    throw ImpiantoImpossibile{std::move(testo)};
}

void Calcolo::dopo_chiamata() {
    std::feclearexcept(eccezioni_controllate);
}

double Calcolo::leggi(int n) {
    const Conversione c = leggi_numero(testo(n));
    if (c.trabocco) throw ErroreVirgolaMobile(TipoErroreFP::trabocco);
    return c.valore;
}

const std::string& Calcolo::testo(int n) const {
    return m_ctx.maschera.testo.at(static_cast<std::size_t>(n - 1));
}

const std::string& Calcolo::etichetta(int n) const {
    return m_ctx.maschera.etichetta.at(static_cast<std::size_t>(n - 1));
}

void Calcolo::punto(int n, double X, double Y, std::string_view etichetta) {
    controlla();
    m_ctx.punti.imposta(n, X, Y, etichetta);
}

void Calcolo::messaggio(const std::string& testo) {
    controlla();
    m_esterno.messaggio(testo);
    dopo_chiamata();
}

std::string Calcolo::chiedi(const std::string& titolo, const std::string& domanda, const std::string& predefinito) {
    controlla();
    std::string risposta = m_esterno.chiedi(titolo, domanda, predefinito);
    dopo_chiamata();
    return risposta;
}

void Calcolo::apri_grafico(VistaGrafico vista) {
    controlla();
    m_esterno.apri_grafico(vista);
    dopo_chiamata();
}

double converti_portata(Calcolo& c, const std::string& testo, double t, double x) {
    const double v = volume_specifico(t, x, c.aria());
    const Conversione k = leggi_numero(testo);
    if (k.trabocco) throw ErroreVirgolaMobile(TipoErroreFP::trabocco);
    return c.portata() == 1 ? k.valore : k.valore / v;
}

void imposta_maschera(Contesto& ctx) {
    ctx.punti.azzera_etichette();
    if (const auto codice = imposta_maschera(ctx.processo, ctx.maschera)) ctx.codice_grafico = *codice;
}

namespace {
void segna_pressione(Contesto& ctx) {
    if (ctx.rapporto.righe().empty()) return;
    const std::vector<std::string> righe = righe_aria(ctx.aria);
    for (auto r = righe.rbegin(); r != righe.rend(); ++r)
        ctx.rapporto.anteponi(*r);
}
} // namespace

Fatto vai_calcolo(Contesto& ctx, Esterno& esterno) {
    ctx.maschera.testo_visibile[9] = false;
    const Computazione f = computazione_per(ctx.processo);
    return esegui_computazione(ctx, esterno, [f](Calcolo& c) {
        if (f) f(c);
    });
}

Fatto esegui_computazione(Contesto& ctx, Esterno& esterno, const std::function<void(Calcolo&)>& f) {
    ctx.rapporto.pulisci();
    ctx.risultati = {};
    try {
        Calcolo c(ctx, esterno);
        f(c);
        c.controlla();
    } catch (const ErroreVirgolaMobile& e) {
        segna_pressione(ctx);
        return Errore{Causa::virgola_mobile, e.what()};
    } catch (ImpiantoImpossibile& e) {
        ctx.rapporto.pulisci();
        ctx.risultati = {};
        ctx.punti.azzera_etichette();
        return Errore{Causa::impianto, std::move(e.testo)};
    }
    segna_pressione(ctx);
    esterno.mostra_rapporto();
    return {};
}

} // namespace ondix
