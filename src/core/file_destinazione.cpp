#include "core/file_destinazione.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ondix {

namespace {

const char* genere_di(mode_t modo) {
    if (S_ISDIR(modo)) return "directory";
    if (S_ISFIFO(modo)) return "FIFO";
    if (S_ISCHR(modo)) return "character device";
    if (S_ISBLK(modo)) return "block device";
    if (S_ISSOCK(modo)) return "socket";
    return "special file";
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

std::string ErroreFile::testo() const {
    if (codice == 0) return "it is a " + genere + ", not a regular file";
    return std::strerror(codice);
}

std::optional<std::string> genere_non_regolare(const std::string& percorso) {
    struct stat st {};
    if (stat(percorso.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return std::nullopt;
    return std::string(genere_di(st.st_mode));
}

std::optional<ErroreFile> sostituisci_file(const std::string& percorso, std::string_view dati) {
    if (percorso.empty()) return ErroreFile{ENOENT, {}};
    if (auto genere = genere_non_regolare(percorso)) return ErroreFile{0, *genere};
    // A file the user may not write is not replaced either, although its directory would allow it.
    if (access(percorso.c_str(), F_OK) == 0 && access(percorso.c_str(), W_OK) != 0) return ErroreFile{errno, {}};
    const std::string destinazione = senza_collegamenti(percorso);
    const auto barra = destinazione.rfind('/');
    const std::string cartella = barra == std::string::npos ? std::string() : destinazione.substr(0, barra + 1);
    const std::string nome = barra == std::string::npos ? destinazione : destinazione.substr(barra + 1);

    std::string temporaneo = cartella + "." + nome + ".XXXXXX";
    const int fd = mkostemp(temporaneo.data(), O_CLOEXEC);
    if (fd < 0) return ErroreFile{errno, {}};
    // A new file gets the permissions any other new file gets here; a replaced one keeps its own.
    struct stat st {};
    mode_t modo = 0;
    if (stat(destinazione.c_str(), &st) == 0) {
        modo = st.st_mode & 07777;
    } else {
        const mode_t maschera = umask(0);
        umask(maschera);
        modo = 0666 & ~maschera;
    }
    bool ok = fchmod(fd, modo) == 0 && scrivi_tutto(fd, dati) && fsync(fd) == 0;
    int codice = ok ? 0 : errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        codice = errno;
    }
    if (ok && rename(temporaneo.c_str(), destinazione.c_str()) != 0) {
        ok = false;
        codice = errno;
    }
    if (!ok) {
        unlink(temporaneo.c_str());
        return ErroreFile{codice != 0 ? codice : EIO, {}};
    }
    return std::nullopt;
}

} // namespace ondix
