#include "core/file_destinazione.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ondix;
namespace fs = std::filesystem;

namespace {

std::string leggi(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

class SostituisciFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string modello = (fs::temp_directory_path() / "ondix-file-XXXXXX").string();
        ASSERT_NE(mkdtemp(modello.data()), nullptr);
        dir = modello;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::size_t voci() { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {})); }
    fs::path dir;
};

// The reason a write failed, or "" when it succeeded.
std::string motivo(const fs::path& p, std::string_view dati) {
    const Fatto f = sostituisci_file(p, dati);
    if (f) return {};
    EXPECT_EQ(f.errore().causa, Causa::file);
    return f.errore().testo;
}

} // namespace

TEST_F(SostituisciFile, WritesANewFileAndReplacesAnOldOne) {
    const fs::path p = dir / "a.rtf";
    EXPECT_EQ(motivo(p, "uno"), "");
    EXPECT_EQ(motivo(p, "due"), "");
    EXPECT_EQ(leggi(p), "due");
    EXPECT_EQ(voci(), 1u);
}

// Targets that are no file to replace: refused untouched with the reason, and the temporary file gone. A loop of
// symbolic links stays the links it is.
TEST_F(SostituisciFile, NonRegularTargetsAreRefusedUntouched) {
    ASSERT_EQ(mkfifo((dir / "coda").c_str(), 0600), 0);
    fs::create_directory(dir / "cartella");
    fs::create_symlink("anello2", dir / "anello1");
    fs::create_symlink("anello1", dir / "anello2");
    EXPECT_EQ(motivo(dir / "coda", "x"), "è una FIFO, non un file regolare");
    EXPECT_EQ(motivo(dir / "cartella", "x"), std::strerror(EISDIR));
    EXPECT_EQ(motivo("/dev/null", "x"), "è un dispositivo a caratteri, non un file regolare");
    EXPECT_EQ(motivo(dir / "anello1", "x"), std::strerror(ELOOP));
    EXPECT_EQ(motivo(dir / "manca" / "a", "x"), std::strerror(ENOENT));
    EXPECT_EQ(motivo("", "x"), std::strerror(ENOENT));
    EXPECT_TRUE(fs::is_fifo(dir / "coda"));
    EXPECT_TRUE(fs::is_symlink(dir / "anello1") && fs::is_symlink(dir / "anello2"));
    EXPECT_EQ(voci(), 4u);
}

// Any name the file system takes can be written: the temporary file's name does not grow with the target's.
TEST_F(SostituisciFile, NamesUpToTheSystemsLimit) {
    const auto massimo = static_cast<std::size_t>(pathconf(dir.c_str(), _PC_NAME_MAX));
    ASSERT_GE(massimo, 14u);
    EXPECT_EQ(motivo(dir / std::string(massimo, 'n'), "x"), "");
    EXPECT_EQ(leggi(dir / std::string(massimo, 'n')), "x");
    EXPECT_EQ(motivo(dir / std::string(massimo + 1, 'n'), "x"), std::strerror(ENAMETOOLONG));
    EXPECT_EQ(voci(), 1u);
}

// A replaced file keeps its owner, group and permissions. A user who may not give files away cannot replace another
// user's file without taking it over: refused, the file as it was; the user's own file is replaced, in the user's
// group where its own is one the user is not in. Needs root, to make files of other users.
TEST_F(SostituisciFile, OwnerAndGroupAreKeptOrTheSaveRefused) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root";
    constexpr uid_t altro = 65534;
    constexpr gid_t gruppo = 65534;
    const fs::path p = dir / "di_altri.rtf";
    ASSERT_EQ(motivo(p, "vecchio"), "");
    ASSERT_EQ(chown(p.c_str(), altro, gruppo), 0);
    ASSERT_EQ(chmod(p.c_str(), 02664), 0);
    EXPECT_EQ(motivo(p, "nuovo"), "");
    struct stat st {};
    ASSERT_EQ(stat(p.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, altro);
    EXPECT_EQ(st.st_gid, gruppo);
    EXPECT_EQ(st.st_mode & 07777, 02664u);

    // As that other user, in a shared directory: root's file, writable by all, and the user's own file in root's
    // group.
    ASSERT_EQ(chmod(dir.c_str(), 0777), 0);
    const fs::path di_root = dir / "di_root.rtf", proprio = dir / "proprio.rtf";
    ASSERT_EQ(motivo(di_root, "di root"), "");
    ASSERT_EQ(motivo(proprio, "proprio"), "");
    ASSERT_EQ(chmod(di_root.c_str(), 0666), 0);
    ASSERT_EQ(chown(proprio.c_str(), altro, 0), 0);
    const pid_t figlio = fork();
    ASSERT_GE(figlio, 0);
    if (figlio == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(gruppo) != 0 || setuid(altro) != 0) _exit(2);
        const Fatto rifiutato = sostituisci_file(di_root, "preso");
        const bool ok = !rifiutato && rifiutato.errore().testo.find("altro utente") != std::string::npos &&
                        sostituisci_file(proprio, "nuovo").ok();
        _exit(ok ? 0 : 1);
    }
    int stato = 0;
    waitpid(figlio, &stato, 0);
    EXPECT_TRUE(WIFEXITED(stato) && WEXITSTATUS(stato) == 0) << stato;
    EXPECT_EQ(leggi(di_root), "di root");
    ASSERT_EQ(stat(di_root.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(leggi(proprio), "nuovo");
    ASSERT_EQ(stat(proprio.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, altro);
    EXPECT_EQ(st.st_gid, gruppo);
    EXPECT_EQ(voci(), 3u);
}

TEST_F(SostituisciFile, ASizeLimitGivesTheSystemsReasonAndKeepsTheOldFile) {
    const fs::path p = dir / "a.rtf";
    ASSERT_EQ(motivo(p, "vecchio"), "");
    // In a child process: the limit holds for root as well, and stays out of this process.
    const pid_t figlio = fork();
    ASSERT_GE(figlio, 0);
    if (figlio == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limite{100, 100};
        setrlimit(RLIMIT_FSIZE, &limite);
        const Fatto f = sostituisci_file(p, std::string(1000, 'x'));
        _exit(!f && f.errore().testo == std::strerror(EFBIG) ? 0 : 1);
    }
    int stato = 0;
    waitpid(figlio, &stato, 0);
    EXPECT_TRUE(WIFEXITED(stato) && WEXITSTATUS(stato) == 0);
    EXPECT_EQ(leggi(p), "vecchio");
    EXPECT_EQ(voci(), 1u);
}
