// Creating and applying patches: a game image with a few hundred scattered
// edits, and a 16 MiB buffer (the whole IPS address space) with 1% changed.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/ips/ips.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Pair {
    Bytes base;
    Bytes edited;
    Bytes patch;
};

Pair makePair(std::size_t size, std::size_t changes, unsigned seed) {
    std::mt19937 rng(seed);
    Pair p;
    p.base.resize(size);
    for (auto& b : p.base)
        b = static_cast<std::uint8_t>(rng());
    p.edited = p.base;
    for (std::size_t k = 0; k < changes; ++k)
        p.edited[rng() % size] ^= static_cast<std::uint8_t>(1 + rng() % 255);
    p.patch = qv::ips::create(p.base, p.edited).patch;
    return p;
}

const Pair& gameImage() {
    static const Pair p = makePair(40976, 200, 1);
    return p;
}
const Pair& fullSpace() {
    static const Pair p = makePair(std::size_t{1} << 24, (std::size_t{1} << 24) / 100, 2);
    return p;
}

void create(benchmark::State& state, const Pair& p) {
    for (auto _ : state) {
        auto created = qv::ips::create(p.base, p.edited);
        benchmark::DoNotOptimize(created.patch.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * p.base.size()));
    state.counters["patch_bytes"] = static_cast<double>(p.patch.size());
}

// Applying the same patch again does the same work, so the target is not reset.
void apply(benchmark::State& state, const Pair& p, bool game) {
    Bytes target = p.base;
    for (auto _ : state) {
        auto status = qv::ips::applyPatch(p.patch, target, {qv::ips::Mode::None, game});
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(target.data());
    }
    if (target != p.edited) state.SkipWithError("patched image differs from the edited one");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * p.patch.size()));
}

void BM_CreateGameImage200(benchmark::State& s) {
    create(s, gameImage());
}
void BM_ApplyGameImage200(benchmark::State& s) {
    apply(s, gameImage(), true);
}
void BM_Create16MiB1Percent(benchmark::State& s) {
    create(s, fullSpace());
}
void BM_Apply16MiB1Percent(benchmark::State& s) {
    apply(s, fullSpace(), false);
}

BENCHMARK(BM_CreateGameImage200);
BENCHMARK(BM_ApplyGameImage200);
BENCHMARK(BM_Create16MiB1Percent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Apply16MiB1Percent)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
