#include "core/testo_csv.h"

#include "core/numeri.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <istream>

namespace ondix {

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The field with its decimal comma read as a point, when the file's separator lets it have one.
Conversione converti_campo(std::string_view campo, char sep) {
    const std::size_t virgola = sep == ',' ? std::string_view::npos : campo.find(',');
    if (virgola == std::string_view::npos) return leggi_numero(campo);
    std::string con_punto(campo);
    con_punto[virgola] = '.';
    return leggi_numero(con_punto);
}

bool decimale_ambiguo(std::string_view campo, char sep) {
    return sep != ',' && campo.find(',') != std::string_view::npos && campo.find('.') != std::string_view::npos;
}

} // namespace

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

Fatto apri_file(const std::string& percorso, std::ifstream& f) {
    std::error_code ec;
    if (std::filesystem::is_directory(percorso, ec))
        return Errore{Causa::file, testo_visibile(percorso) + " è una cartella"};
    f.open(percorso, std::ios::binary);
    if (!f) return Errore{Causa::file, "impossibile aprire " + testo_visibile(percorso) + ": " + std::strerror(errno)};
    return {};
}

PrimaRiga leggi_prima_riga(LettoreRighe& in) {
    PrimaRiga prima;
    prima.presente = in.leggi(prima.testo, prima.troppo_lunga);
    if (prima.testo.rfind("\xEF\xBB\xBF", 0) == 0) prima.testo.erase(0, 3); // UTF-8 byte order mark
    return prima;
}

Errore riga_troppo_lunga() {
    return {Causa::dati, "riga più lunga di " + std::to_string(lunghezza_massima_riga) + " caratteri"};
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

Fatto conta_campi(std::size_t trovati, std::size_t servono, std::size_t massimi, char sep) {
    if (trovati >= servono && trovati <= massimi) return {};
    const std::size_t attesi = trovati < servono ? servono : massimi;
    std::string motivo = "attesi " + std::to_string(attesi) + " campi, trovati " + std::to_string(trovati);
    if (trovati > massimi && sep == ',') motivo += " (il separatore decimale è '.')";
    return Errore{Causa::dati, std::move(motivo)};
}

std::string citazione(std::string_view campo) {
    constexpr std::size_t massimo = 40;
    const bool lungo = lunghezza_caratteri(campo) > massimo;
    return "\"" + testo_visibile(lungo ? primi_caratteri(campo, massimo) : campo) + (lungo ? "...\"" : "\"");
}

std::optional<double> numero_campo(std::string_view campo, char sep) {
    if (decimale_ambiguo(campo, sep)) return std::nullopt;
    const Conversione c = converti_campo(campo, sep);
    if (c.letti == 0 || c.letti != campo.size() || c.trabocco) return std::nullopt;
    return c.valore;
}

void aggiungi_campo(std::string& riga, std::string_view campo, char sep) {
    if (campo.find_first_of(std::string{sep, '"', '\r', '\n'}) == std::string_view::npos) {
        riga += campo;
        return;
    }
    riga += '"';
    for (const char c : campo) {
        if (c == '"') riga += '"';
        riga += c;
    }
    riga += '"';
}

Fatto leggi_campo(std::string_view campo, std::string_view colonna, char sep, double& valore) {
    const auto rifiuto = [](std::string testo) { return Errore{Causa::dati, std::move(testo)}; };
    if (campo.empty()) return rifiuto("colonna " + std::string(colonna) + " vuota");
    if (decimale_ambiguo(campo, sep))
        return rifiuto("colonna " + std::string(colonna) + ": " + citazione(campo) +
                       " non è un numero (un punto e una virgola: separatore delle migliaia non ammesso)");
    const Conversione c = converti_campo(campo, sep);
    if (c.letti == 0 || c.letti != campo.size())
        return rifiuto("colonna " + std::string(colonna) + ": " + citazione(campo) + " non è un numero");
    if (c.trabocco) return rifiuto("colonna " + std::string(colonna) + ": " + citazione(campo) + " è troppo grande");
    valore = c.valore;
    return {};
}

} // namespace ondix
