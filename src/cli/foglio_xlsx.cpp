// The spreadsheets of the command line as .xlsx workbooks, through libxlsxwriter: the workbook is built in a
// temporary file, then replaces the target in one step (core/file_destinazione.h).
#include "cli/foglio.h"
#include "core/file_destinazione.h"
#include "core/numeri.h"
#include "core/testo_csv.h"

#include <xlsxwriter.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

namespace ondix {

namespace {

class FoglioXlsx : public Foglio {
public:
    FoglioXlsx(std::string percorso, std::string temporaneo, std::string_view nome)
        : m_percorso(std::move(percorso)), m_temporaneo(std::move(temporaneo)), m_nome(nome) {
        lxw_workbook_options opzioni{};
        opzioni.constant_memory = LXW_TRUE;
        opzioni.use_zip64 = LXW_TRUE;
        m_libro = workbook_new_opt(m_temporaneo.c_str(), &opzioni);
        if (m_libro) {
            m_grassetto = workbook_add_format(m_libro);
            format_set_bold(m_grassetto);
        }
    }
    ~FoglioXlsx() override {
        if (m_libro) workbook_close(m_libro);
        std::remove(m_temporaneo.c_str());
    }

    void intestazione(const std::vector<ColonnaFoglio>& colonne) override {
        m_colonne = colonne;
        m_formati.clear();
        for (const ColonnaFoglio& c : colonne)
            m_formati.push_back(formato(c.decimali));
        nuovo_foglio();
    }

    void riga(const std::vector<CellaFoglio>& celle) override {
        if (!m_foglio) return;
        if (m_riga >= LXW_ROW_MAX) nuovo_foglio();
        for (std::size_t i = 0; i < celle.size() && i < LXW_COL_MAX; ++i) {
            const auto c = static_cast<lxw_col_t>(i);
            lxw_format* f = i < m_formati.size() ? m_formati[i] : nullptr;
            if (const double* v = std::get_if<double>(&celle[i]))
                annota(worksheet_write_number(m_foglio, m_riga, c, *v, f));
            else if (const std::string* t = std::get_if<std::string>(&celle[i]))
                annota(worksheet_write_string(m_foglio, m_riga, c, testo_visibile(*t).c_str(), nullptr));
        }
        ++m_riga;
    }

    Fatto chiudi() override {
        if (!m_libro) return Errore{Causa::file, testo_visibile(m_percorso) + ": impossibile creare il foglio"};
        const lxw_error chiuso = workbook_close(m_libro);
        m_libro = nullptr;
        annota(chiuso);
        if (m_errore != LXW_NO_ERROR)
            return Errore{Causa::file, testo_visibile(m_percorso) + ": " + lxw_strerror(m_errore)};
        std::ifstream f(m_temporaneo, std::ios::binary);
        const std::string dati((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        if (!f.good() && !f.eof()) return Errore{Causa::file, testo_visibile(m_percorso) + ": errore di lettura"};
        if (Fatto scritto = sostituisci_file(m_percorso, dati); !scritto)
            return Errore{Causa::file, testo_visibile(m_percorso) + ": " + scritto.errore().testo};
        return {};
    }

private:
    // The first error of libxlsxwriter is the one told.
    void annota(lxw_error e) {
        if (m_errore == LXW_NO_ERROR) m_errore = e;
    }

    lxw_format* formato(int decimali) {
        if (decimali < 0 || !m_libro) return nullptr;
        if (auto i = m_per_decimali.find(decimali); i != m_per_decimali.end()) return i->second;
        lxw_format* f = workbook_add_format(m_libro);
        format_set_num_format(f, (decimali == 0 ? std::string("0") : "0." + std::string(decimali, '0')).c_str());
        return m_per_decimali[decimali] = f;
    }

    // A sheet, its header in bold on a frozen first row.
    void nuovo_foglio() {
        if (!m_libro) return;
        ++m_fogli;
        const std::string nome = m_fogli == 1 ? m_nome : m_nome + " (" + std::to_string(m_fogli) + ")";
        m_foglio = workbook_add_worksheet(m_libro, nome.c_str());
        if (!m_foglio) {
            annota(LXW_ERROR_MEMORY_MALLOC_FAILED);
            return;
        }
        m_riga = 0;
        for (std::size_t i = 0; i < m_colonne.size() && i < LXW_COL_MAX; ++i) {
            const ColonnaFoglio& c = m_colonne[i];
            const std::string testo = c.unita.empty() ? c.nome : c.nome + " [" + c.unita + "]";
            annota(worksheet_write_string(m_foglio, 0, static_cast<lxw_col_t>(i), testo_visibile(testo).c_str(),
                                          m_grassetto));
        }
        worksheet_freeze_panes(m_foglio, 1, 0);
        m_riga = 1;
    }

    std::string m_percorso, m_temporaneo, m_nome;
    lxw_workbook* m_libro = nullptr;
    lxw_worksheet* m_foglio = nullptr;
    lxw_format* m_grassetto = nullptr;
    std::vector<ColonnaFoglio> m_colonne;
    std::vector<lxw_format*> m_formati;
    std::map<int, lxw_format*> m_per_decimali;
    lxw_row_t m_riga = 0;
    int m_fogli = 0;
    lxw_error m_errore = LXW_NO_ERROR;
};

// The units and decimals of the batch's properties, in the order of its header, and of what may follow them.
struct Proprieta {
    const char* nome;
    const char* unita;
    int decimali;
};
constexpr std::array<Proprieta, 7> proprieta{{{"t", "C", 2},
                                              {"ur", "%", 2},
                                              {"x", "g/kg", 3},
                                              {"h", "kJ/kg", 3},
                                              {"v", "m3/kg", 4},
                                              {"t_bulbo_umido", "C", 2},
                                              {"t_rugiada", "C", 2}}};
constexpr Proprieta pressione{"p", "Pa", 0};
constexpr std::array<Proprieta, 3> comfort{{{"pmv", "", 3}, {"ppd", "%", 2}, {"categoria", "", -1}}};

} // namespace

Esito<std::unique_ptr<Foglio>> foglio_xlsx(const std::string& percorso, std::string_view nome) {
    if (Fatto f = verifica_destinazione(percorso); !f)
        return Errore{Causa::file, testo_visibile(percorso) + ": " + f.errore().testo};
    const char* cartella = std::getenv("TMPDIR");
    std::string temporaneo = std::string(cartella && *cartella ? cartella : "/tmp") + "/ondix-xlsx-XXXXXX";
    const int fd = mkstemp(temporaneo.data());
    if (fd < 0) return Errore{Causa::file, testo_visibile(percorso) + ": impossibile creare un file temporaneo"};
    close(fd);
    return std::unique_ptr<Foglio>(std::make_unique<FoglioXlsx>(percorso, temporaneo, nome));
}

UscitaFoglio::int_type UscitaFoglio::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    xsputn(&ch, 1);
    return c;
}

std::streamsize UscitaFoglio::xsputn(const char* s, std::streamsize n) {
    for (std::streamsize i = 0; i < n; ++i) {
        if (s[i] != '\n') {
            m_linea += s[i];
            continue;
        }
        linea(m_linea);
        m_linea.clear();
    }
    return n;
}

void UscitaFoglio::linea(std::string_view testo) {
    dividi_campi(testo, m_sep, m_campi);
    if (m_intestazione) {
        m_intestazione = false;
        std::vector<ColonnaFoglio> colonne;
        for (const std::string& c : m_campi)
            colonne.push_back({c, "", -1});
        // The properties: the first run of their names (the columns kept before them hold no t and ur, which the
        // states were computed from), then the pressure and the comfort's columns when the batch writes them.
        for (std::size_t i = 0; i + proprieta.size() <= colonne.size(); ++i) {
            std::size_t k = 0;
            while (k < proprieta.size() && colonne[i + k].nome == proprieta[k].nome)
                ++k;
            if (k < proprieta.size()) continue;
            std::vector<Proprieta> dopo(proprieta.begin(), proprieta.end());
            if (m_forma.pressione) dopo.push_back(pressione);
            if (m_forma.comfort) dopo.insert(dopo.end(), comfort.begin(), comfort.end());
            for (std::size_t j = 0; j < dopo.size() && i + j < colonne.size(); ++j)
                colonne[i + j] = {dopo[j].nome, dopo[j].unita, dopo[j].decimali};
            break;
        }
        m_foglio.intestazione(colonne);
        return;
    }
    m_celle.clear();
    for (const std::string& c : m_campi) {
        if (c.empty())
            m_celle.emplace_back();
        else if (const auto v = numero_campo(c, m_sep))
            m_celle.emplace_back(*v);
        else
            m_celle.emplace_back(c);
    }
    m_foglio.riga(m_celle);
}

} // namespace ondix
