#include "core/altitudine.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ondix;

TEST(Altitudine, TableInterpolationAndEnds) {
    EXPECT_EQ(pressione_da_quota(0), 760);
    EXPECT_EQ(pressione_da_quota(1000), 677);
    EXPECT_EQ(pressione_da_quota(2250), 586);
    EXPECT_EQ(pressione_da_quota(-250), 782);
    EXPECT_EQ(pressione_da_quota(-500), 782);
    EXPECT_EQ(pressione_da_quota(3000), 536);
    EXPECT_EQ(pressione_da_quota(4000), 536);
    EXPECT_DOUBLE_EQ(pressione_da_quota(125), 749);
    EXPECT_DOUBLE_EQ(pressione_da_quota(2750), 552.5);
}

TEST(Altitudine, AnswerToPressure) {
    EXPECT_EQ(pressione_da_risposta("0"), 101335.0);
    EXPECT_DOUBLE_EQ(*pressione_da_risposta("1000"), 677.0 * 101335.0 / 760.0); // 90268.15 Pa
    EXPECT_FALSE(pressione_da_risposta(""));
    EXPECT_FALSE(pressione_da_risposta("1000m"));
    EXPECT_FALSE(pressione_da_risposta("mille"));
}

TEST(Altitudine, MessageAndRealFormat) {
    EXPECT_EQ(messaggio_pressione(101335), "pressione atmosferica:1013.350 mbar");
    EXPECT_EQ(messaggio_pressione(*pressione_da_risposta("1000")), "pressione atmosferica: 902.682 mbar");
    EXPECT_EQ(formato_reale(101335), " 1.01335000000000E+0005");
    EXPECT_EQ(formato_reale(*pressione_da_risposta("1000")), " 9.02681513157895E+0004");
    EXPECT_EQ(formato_reale(-0.5), "-5.00000000000000E-0001");
    EXPECT_EQ(formato_reale(0), " 0.00000000000000E+0000");
    EXPECT_EQ(formato_reale(101335).size(), 23u);
}

TEST(Altitudine, PressureFileIsOneCrLfLineReplacedEachTime) {
    const auto dir = std::filesystem::temp_directory_path() / ("ondix_patm_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "patm.txt").string();
    ASSERT_FALSE(scrivi_file_pressione(file, 90268.15));
    ASSERT_FALSE(scrivi_file_pressione(file, 101335));
    std::ifstream in(file, std::ios::binary);
    const std::string contenuto((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(contenuto, " 1.01335000000000E+0005\r\n");
    std::filesystem::remove_all(dir);
}

// A write that fails part way (files limited to 10 bytes, for root as well) leaves the earlier file whole, and
// nothing else beside it.
TEST(Altitudine, FailedWriteLeavesTheEarlierFileWhole) {
    const auto dir = std::filesystem::temp_directory_path() / ("ondix_patm_limite_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "patm.txt").string();
    ASSERT_FALSE(scrivi_file_pressione(file, 90268.15));
    rlimit prima{};
    getrlimit(RLIMIT_FSIZE, &prima);
    const auto segnale = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = prima;
    limite.rlim_cur = 10;
    setrlimit(RLIMIT_FSIZE, &limite);
    const auto errore = scrivi_file_pressione(file, 101335);
    setrlimit(RLIMIT_FSIZE, &prima);
    std::signal(SIGXFSZ, segnale);
    EXPECT_TRUE(errore);
    std::ifstream in(file, std::ios::binary);
    const std::string contenuto((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(contenuto, " 9.02681500000000E+0004\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
    std::filesystem::remove_all(dir);
}

TEST(Altitudine, UnwritableDirectoryGivesTheSystemsText) {
    const auto errore = scrivi_file_pressione("/nonexistent-ondix-dir/patm.txt", 101335);
    ASSERT_TRUE(errore);
    EXPECT_FALSE(errore->empty());
}
