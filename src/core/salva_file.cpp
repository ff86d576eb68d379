#include "core/salva_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ondix {

namespace {

std::string testo_errno(int e) {
    return std::strerror(e);
}

// The permissions a new file gets: 0666 less the process's umask (read without changing it for good).
mode_t permessi_nuovo_file() {
    const mode_t maschera = ::umask(0);
    ::umask(maschera);
    return static_cast<mode_t>(0666 & ~maschera);
}

bool scrivi_tutto(int fd, std::string_view dati) {
    while (!dati.empty()) {
        const ssize_t n = ::write(fd, dati.data(), dati.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        dati.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

std::optional<std::string> salva_atomico(const std::string& percorso, std::string_view contenuto) {
    if (percorso.empty()) return testo_errno(ENOENT);
    // A link is followed, so that the file it names is replaced and the link stays.
    std::string destinazione = percorso;
    std::error_code ec;
    if (std::filesystem::is_symlink(percorso, ec)) {
        const auto reale = std::filesystem::weakly_canonical(percorso, ec);
        if (!ec) destinazione = reale.string();
    }
    struct stat esistente {};
    const bool esiste = ::stat(destinazione.c_str(), &esistente) == 0;
    if (esiste && S_ISDIR(esistente.st_mode)) return testo_errno(EISDIR);

    std::string temporaneo = destinazione + ".XXXXXX";
    const int fd = ::mkstemp(temporaneo.data());
    if (fd < 0) return testo_errno(errno);
    const mode_t permessi = esiste ? static_cast<mode_t>(esistente.st_mode & 07777) : permessi_nuovo_file();
    // Best effort: a file the user may write but does not own cannot take its old owner's mode bits.
    (void)::fchmod(fd, permessi);
    int errore = 0;
    if (!scrivi_tutto(fd, contenuto) || ::fsync(fd) != 0) errore = errno;
    if (::close(fd) != 0 && errore == 0) errore = errno;
    if (errore == 0 && std::rename(temporaneo.c_str(), destinazione.c_str()) != 0) errore = errno;
    if (errore != 0) {
        ::unlink(temporaneo.c_str());
        return testo_errno(errore);
    }
    return std::nullopt;
}

} // namespace ondix
