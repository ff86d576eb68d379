// Whole-process timing for bench/calc.sh: runs a command N times, its standard output to /dev/null, and prints the
// median wall-clock time and the median processor time (user + system, all its threads) in microseconds.
//   tempo N COMMAND [ARGUMENT...]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace {
long long mediana(std::vector<long long> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
long long us(const timeval& t) {
    return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_usec;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tempo N COMMAND [ARGUMENT...]\n");
        return 2;
    }
    const int n = std::max(1, std::atoi(argv[1]));
    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_addopen(&azioni, 1, "/dev/null", O_WRONLY, 0);
    std::vector<long long> muro, cpu;
    for (int i = 0; i < n; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        pid_t pid;
        if (posix_spawn(&pid, argv[2], &azioni, nullptr, argv + 2, environ) != 0) {
            std::perror(argv[2]);
            return 2;
        }
        int stato = 0;
        rusage uso{};
        wait4(pid, &stato, 0, &uso);
        const auto t1 = std::chrono::steady_clock::now();
        muro.push_back(std::chrono::duration_cast<std::chrono::microseconds>(t1 - t0).count());
        cpu.push_back(us(uso.ru_utime) + us(uso.ru_stime));
    }
    std::printf("%lld %lld\n", mediana(muro), mediana(cpu));
    return 0;
}
