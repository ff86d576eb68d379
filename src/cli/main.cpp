// ondix-calc: the command line built from its commands (comando.h), read, and handed to the command it names.
#include "cli/comando.h"
#include "core/numeri.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The help within 72 columns (80 in the manual page, which indents it): option descriptions wrapped at the words,
// after the column of the option names.
class Formattatore : public CLI::Formatter {
public:
    static constexpr std::size_t colonne = 72, nomi = 28;

    Formattatore() { column_width(nomi); }

    std::string make_option_desc(const CLI::Option* o) const override {
        std::string r, riga;
        std::istringstream parole(CLI::Formatter::make_option_desc(o));
        for (std::string parola; parole >> parola;) {
            if (!riga.empty() && nomi + riga.size() + 1 + parola.size() > colonne) {
                r += riga + '\n';
                riga.clear();
            }
            riga += (riga.empty() ? "" : " ") + parola;
        }
        return r + riga;
    }
};

// "--e1=" means an empty box; CLI11 would take the next argument as its value instead. Spell it as two arguments,
// which CLI11 reads as the empty text. Returned last first, as CLI11 takes them.
std::vector<std::string> argomenti(int argc, char** argv) {
    std::vector<std::string> a(argv + 1, argv + argc);
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::string& s = a[i];
        if (s.size() > 3 && s.rfind("--", 0) == 0 && s.back() == '=' && s.find('=') == s.size() - 1) {
            a[i].pop_back();
            a.insert(a.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::string());
            ++i;
        }
    }
    std::reverse(a.begin(), a.end());
    return a;
}

} // namespace

int main(int argc, char** argv) {
    // A file-size limit makes a write fail with EFBIG, reported like any write error, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    const auto calcolo = ondix::comando_calcolo();
    CLI::App app{std::string(calcolo->descrizione()), "ondix-calc"};
    app.formatter(std::make_shared<Formattatore>());
    app.set_version_flag("--version", "ondix-calc " ONDIX_VERSIONE, "print the version and exit");
    calcolo->dichiara(app);
    const auto comandi = ondix::sottocomandi();
    std::vector<CLI::App*> sotto;
    for (const auto& c : comandi) {
        sotto.push_back(app.add_subcommand(std::string(c->nome()), std::string(c->descrizione())));
        sotto.back()->footer(std::string(c->spiegazione()));
        c->dichiara(*sotto.back());
    }

    try {
        app.parse(argomenti(argc, argv));
    } catch (const CLI::Success& e) { // --help, --version
        // A help or version text that could not be written is a failure like any other output's (with the
        // system's reason, which the first failed write leaves in errno).
        errno = 0;
        app.exit(e);
        const auto scritto = ondix::scarica_uscita(errno);
        return scritto ? 0 : ondix::segnala({}, scritto.errore());
    } catch (const CLI::ParseError& e) {
        std::cerr << "ondix-calc: " << ondix::testo_visibile(e.what()) << "\n(ondix-calc --help spiega le opzioni)\n";
        return 2;
    }
    for (std::size_t i = 0; i < comandi.size(); ++i) {
        if (!sotto[i]->parsed()) continue;
        // The process options belong to one calculation; with a subcommand they would be ignored.
        const std::string nome = sotto[i]->get_name();
        for (const CLI::Option* o : app.get_options())
            if (o->count() > 0) {
                std::cerr << "ondix-calc: " << o->get_name() << " prima di \"" << nome
                          << "\" appartiene a un calcolo singolo; le opzioni di " << nome << " seguono \"" << nome
                          << "\"\n(ondix-calc " << nome << " --help le spiega)\n";
                return 2;
            }
        return comandi[i]->esegui();
    }
    return calcolo->esegui();
}
