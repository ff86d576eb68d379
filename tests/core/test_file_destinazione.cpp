#include "core/file_destinazione.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
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

} // namespace

TEST_F(SostituisciFile, WritesANewFileAndReplacesAnOldOne) {
    const fs::path p = dir / "a.rtf";
    EXPECT_FALSE(sostituisci_file(p, "uno"));
    EXPECT_FALSE(sostituisci_file(p, "due"));
    EXPECT_EQ(leggi(p), "due");
    EXPECT_EQ(voci(), 1u);
}

TEST_F(SostituisciFile, NonRegularTargetsAreRefusedUntouched) {
    ASSERT_EQ(mkfifo((dir / "coda").c_str(), 0600), 0);
    fs::create_directory(dir / "cartella");
    const auto fifo = sostituisci_file(dir / "coda", "x");
    ASSERT_TRUE(fifo);
    EXPECT_EQ(fifo->testo(), "it is a FIFO, not a regular file");
    EXPECT_EQ(sostituisci_file(dir / "cartella", "x")->genere, "directory");
    EXPECT_EQ(sostituisci_file("/dev/null", "x")->genere, "character device");
    EXPECT_TRUE(fs::is_fifo(dir / "coda"));
    EXPECT_EQ(voci(), 2u);
    EXPECT_EQ(sostituisci_file(dir / "manca" / "a", "x")->testo(), std::strerror(ENOENT));
}

TEST_F(SostituisciFile, ASizeLimitGivesTheSystemsReasonAndKeepsTheOldFile) {
    const fs::path p = dir / "a.rtf";
    ASSERT_FALSE(sostituisci_file(p, "vecchio"));
    // In a child process: the limit holds for root as well, and stays out of this process.
    const pid_t figlio = fork();
    ASSERT_GE(figlio, 0);
    if (figlio == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limite{100, 100};
        setrlimit(RLIMIT_FSIZE, &limite);
        const auto e = sostituisci_file(p, std::string(1000, 'x'));
        _exit(e && e->codice == EFBIG ? 0 : 1);
    }
    int stato = 0;
    waitpid(figlio, &stato, 0);
    EXPECT_TRUE(WIFEXITED(stato) && WEXITSTATUS(stato) == 0);
    EXPECT_EQ(leggi(p), "vecchio");
    EXPECT_EQ(voci(), 1u);
}
