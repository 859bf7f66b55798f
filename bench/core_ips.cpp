// Creating and applying patches in memory beside their floors, a plain pass over the
// same buffers: create against a memcmp of two equal buffers of the size, apply
// against a memcpy of the base, since applying makes the patched image from a copy of
// the base (the copy and the patch together). Sizes: a game image, 1 MiB, and 16 MiB
// (the whole IPS address space), each with 1% of its bytes changed at random places.
#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
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

const Pair& pairOfSize(std::size_t size) {
    static std::map<std::size_t, Pair> pairs;
    if (const auto it = pairs.find(size); it != pairs.end()) return it->second;
    std::mt19937 rng(static_cast<unsigned>(size));
    Pair p;
    p.base.resize(size);
    for (auto& b : p.base)
        b = static_cast<std::uint8_t>(rng());
    p.edited = p.base;
    for (std::size_t k = 0; k < size / 100; ++k)
        p.edited[rng() % size] ^= static_cast<std::uint8_t>(1 + rng() % 255);
    p.patch = qv::ips::create(p.base, p.edited).patch;
    return pairs.emplace(size, std::move(p)).first->second;
}

bool gameSize(std::size_t size) {
    return size == 40976;
}

void BM_Memcmp(benchmark::State& state) {
    const Pair& p = pairOfSize(static_cast<std::size_t>(state.range(0)));
    const Bytes copy = p.base;
    for (auto _ : state) {
        int r = std::memcmp(p.base.data(), copy.data(), copy.size());
        benchmark::DoNotOptimize(r);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_Create(benchmark::State& state) {
    const Pair& p = pairOfSize(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        auto created = qv::ips::create(p.base, p.edited);
        benchmark::DoNotOptimize(created.patch.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.counters["patch_bytes"] = static_cast<double>(p.patch.size());
}

void BM_Memcpy(benchmark::State& state) {
    const Pair& p = pairOfSize(static_cast<std::size_t>(state.range(0)));
    Bytes target(p.base.size());
    for (auto _ : state) {
        std::memcpy(target.data(), p.base.data(), p.base.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_CopyAndApply(benchmark::State& state) {
    const Pair& p = pairOfSize(static_cast<std::size_t>(state.range(0)));
    const bool game = gameSize(p.base.size());
    Bytes target = p.base;
    for (auto _ : state) {
        std::memcpy(target.data(), p.base.data(), p.base.size());
        auto status = qv::ips::applyPatch(p.patch, target, {qv::ips::Mode::None, game});
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    if (target != p.edited) state.SkipWithError("patched image differs from the edited one");
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(40976)->Arg(1 << 20)->Arg(1 << 24)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_Memcmp)->Apply(sizes);
BENCHMARK(BM_Create)->Apply(sizes);
BENCHMARK(BM_Memcpy)->Apply(sizes);
BENCHMARK(BM_CopyAndApply)->Apply(sizes);

} // namespace

BENCHMARK_MAIN();
