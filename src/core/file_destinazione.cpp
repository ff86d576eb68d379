#include "core/file_destinazione.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ondix {

namespace {

struct Genere {
    mode_t tipo;
    const char* nome;
    const char* articolo;
};
constexpr Genere generi[] = {{S_IFDIR, "cartella", "una"},
                             {S_IFIFO, "FIFO", "una"},
                             {S_IFCHR, "dispositivo a caratteri", "un"},
                             {S_IFBLK, "dispositivo a blocchi", "un"},
                             {S_IFSOCK, "socket", "un"}};

const Genere& genere_di(mode_t modo) {
    static constexpr Genere speciale{0, "file speciale", "un"};
    for (const Genere& g : generi)
        if ((modo & S_IFMT) == g.tipo) return g;
    return speciale;
}

Errore errore_sistema(int codice) {
    return {Causa::file, std::strerror(codice != 0 ? codice : EIO)};
}

// The file a path names once its symbolic links are followed (a link's relative target counts from the link's
// directory). A dangling link gives the path it points to, where the new file will be made.
std::string senza_collegamenti(std::string percorso) {
    for (int passi = 0; passi < 40; ++passi) {
        struct stat st {};
        if (lstat(percorso.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
        std::string bersaglio(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = readlink(percorso.c_str(), bersaglio.data(), bersaglio.size());
        if (n < 0 || static_cast<std::size_t>(n) >= bersaglio.size()) break;
        bersaglio.resize(static_cast<std::size_t>(n));
        if (bersaglio.empty()) break;
        if (bersaglio.front() != '/') {
            const auto barra = percorso.rfind('/');
            if (barra != std::string::npos) bersaglio = percorso.substr(0, barra + 1) + bersaglio;
        }
        percorso = std::move(bersaglio);
    }
    return percorso;
}

bool scrivi_tutto(int fd, std::string_view dati) {
    while (!dati.empty()) {
        const ssize_t n = write(fd, dati.data(), dati.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        dati.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

std::optional<std::string> genere_non_regolare(const std::string& percorso) {
    struct stat st {};
    if (stat(percorso.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return std::nullopt;
    return std::string(genere_di(st.st_mode).nome);
}

Fatto verifica_destinazione(const std::string& percorso) {
    if (percorso.empty()) return errore_sistema(ENOENT);
    struct stat st {};
    if (stat(percorso.c_str(), &st) != 0) {
        // No file yet (a dangling link names where it will be made); anything else, a loop of symbolic links
        // among them, is a name that cannot be written.
        if (errno == ENOENT) return {};
        return errore_sistema(errno);
    }
    // A directory is refused as the system refuses to rename a file over it.
    if (S_ISDIR(st.st_mode)) return errore_sistema(EISDIR);
    if (!S_ISREG(st.st_mode)) {
        const Genere& g = genere_di(st.st_mode);
        return Errore{Causa::file, std::string("è ") + g.articolo + " " + g.nome + ", non un file regolare"};
    }
    // A file the user may not write is not replaced either, although its directory would allow it.
    if (access(percorso.c_str(), W_OK) != 0) return errore_sistema(errno);
    return {};
}

Fatto sostituisci_file(const std::string& percorso, std::string_view dati) {
    if (Fatto f = verifica_destinazione(percorso); !f) return f;
    const std::string destinazione = senza_collegamenti(percorso);
    const auto barra = destinazione.rfind('/');
    const std::string cartella = barra == std::string::npos ? std::string() : destinazione.substr(0, barra + 1);

    // A short name of its own: a target's name may take all of NAME_MAX.
    std::string temporaneo = cartella + ".ondix-XXXXXX";
    const int fd = mkostemp(temporaneo.data(), O_CLOEXEC);
    if (fd < 0) return errore_sistema(errno);
    const auto fallito = [&](Errore e) {
        close(fd);
        unlink(temporaneo.c_str());
        return e;
    };
    // A new file gets the permissions any other new file gets here; a replaced one keeps its own, and its owner
    // and group where the user may set them (the owner first: a change of owner clears the set-id bits).
    struct stat st {};
    mode_t modo = 0;
    if (stat(destinazione.c_str(), &st) == 0) {
        modo = st.st_mode & 07777;
        if (fchown(fd, st.st_uid, st.st_gid) != 0) {
            // Another user's file (writable by the group, say) would become the user's: refused. The user's own
            // file in a group the user is not in takes the user's group.
            if (st.st_uid != geteuid())
                return fallito({Causa::file, "è di un altro utente, e il file nuovo non potrebbe restare suo"});
        }
    } else {
        const mode_t maschera = umask(0);
        umask(maschera);
        modo = 0666 & ~maschera;
    }
    if (fchmod(fd, modo) != 0 || !scrivi_tutto(fd, dati) || fsync(fd) != 0) return fallito(errore_sistema(errno));
    if (close(fd) != 0) {
        const int codice = errno;
        unlink(temporaneo.c_str());
        return errore_sistema(codice);
    }
    if (rename(temporaneo.c_str(), destinazione.c_str()) != 0) {
        const int codice = errno;
        unlink(temporaneo.c_str());
        return errore_sistema(codice);
    }
    return {};
}

} // namespace ondix
