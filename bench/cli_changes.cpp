// qorv changes and qorv diff as whole processes, against qorv --version (the cost of
// starting the tool at all). Target: within 1.2 times --version on 40,976-byte images.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "support/cleanimage.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Files {
    fs::path dir = fs::temp_directory_path() / ("qv-bench-" + std::to_string(::getpid()));
    std::string clean = (dir / "clean.nes").string();
    std::string hack = (dir / "hack.nes").string();
    std::string zero = (dir / "zero.nes").string();
    Files() {
        fs::create_directories(dir);
        auto image = qvtest::cleanImage();
        write(clean, image);
        std::mt19937 rng(7);
        qvtest::randomEdits(image, 0, rng, 40); // a typical hack: a few dozen parameters
        write(hack, image);
        write(zero, std::vector<std::uint8_t>(40976, 0)); // nearly every parameter differs
    }
    ~Files() { fs::remove_all(dir); }
    static void write(const std::string& path, const std::vector<std::uint8_t>& b) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
};

const Files& files() {
    static const Files f;
    return f;
}

struct Run {
    double wall = 0; // seconds
    double cpu = 0;  // user + system seconds of the child
};

// Starts qorv with its output to /dev/null and waits for it.
Run runQorv(std::vector<std::string> args) {
    args.insert(args.begin(), QORV_BINARY);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    Run r;
    if (posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage ru{};
        ::wait4(pid, &status, 0, &ru);
        r.cpu = static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
                static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) * 1e-6;
    }
    r.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&fa);
    return r;
}

void process(benchmark::State& state, std::vector<std::string> args) {
    double cpu = 0;
    for (auto _ : state) {
        const Run r = runQorv(args);
        state.SetIterationTime(r.wall);
        cpu += r.cpu;
    }
    state.counters["child_cpu_ms"] =
        benchmark::Counter(cpu * 1000, benchmark::Counter::kAvgIterations);
}

void BM_Version(benchmark::State& s) {
    process(s, {"--version"});
}
void BM_ChangesHack(benchmark::State& s) {
    process(s, {"changes", files().hack});
}
void BM_ChangesZeroImage(benchmark::State& s) {
    process(s, {"changes", files().zero});
}
void BM_DiffCleanHack(benchmark::State& s) {
    process(s, {"diff", files().clean, files().hack});
}
void BM_DiffCleanZero(benchmark::State& s) {
    process(s, {"diff", files().clean, files().zero});
}

BENCHMARK(BM_Version)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangesHack)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangesZeroImage)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiffCleanHack)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiffCleanZero)->UseManualTime()->Unit(benchmark::kMillisecond);

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The ratios, from runs interleaved with --version so that a busy machine slows both
// alike; medians of wall-clock and of the child's CPU time.
void ratios() {
    const std::vector<std::pair<const char*, std::vector<std::string>>> commands{
        {"changes (typical hack)", {"changes", files().hack}},
        {"changes (zero image)", {"changes", files().zero}},
        {"diff (clean vs hack)", {"diff", files().clean, files().hack}},
        {"diff (clean vs zero image)", {"diff", files().clean, files().zero}},
    };
    constexpr int kRuns = 41;
    std::printf("\nWhole process against qorv --version (median of %d interleaved runs; "
                "target 1.20x):\n",
                kRuns);
    for (const auto& [name, args] : commands) {
        std::vector<double> vw, vc, cw, cc;
        for (int i = 0; i < kRuns; ++i) {
            const Run v = runQorv({"--version"});
            const Run c = runQorv(args);
            vw.push_back(v.wall);
            vc.push_back(v.cpu);
            cw.push_back(c.wall);
            cc.push_back(c.cpu);
        }
        const double wall = median(cw) / median(vw);
        const double cpu = median(vc) > 0 ? median(cc) / median(vc) : 0;
        std::printf("  %-28s wall %.2fx (%.2f ms vs %.2f ms), cpu %.2fx  %s\n", name, wall,
                    median(cw) * 1000, median(vw) * 1000, cpu, wall <= 1.2 ? "ok" : "OVER");
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ratios();
    return 0;
}
