// Decoding the CHR bank and composing pictures from it: the work behind the Color and
// Palette dialogs' pictures when an image is new to them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "core/chr.h"
#include "core/chrcompose.h"
#include "core/chrtables.h"

namespace {

std::vector<std::uint8_t> busyImage() {
    std::vector<std::uint8_t> img(40976, 0);
    std::uint32_t x = 12345;
    for (int i = 0x8010; i < 0x8010 + 8192; ++i) {
        x = x * 1103515245u + 12345u;
        img[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(x >> 16);
    }
    return img;
}

void BM_DecodeTiles(benchmark::State& state) {
    const auto img = busyImage();
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::chr::TileSet::decode(img, 0));
}
BENCHMARK(BM_DecodeTiles)->Unit(benchmark::kMicrosecond);

void BM_ComposeAllCharacters(benchmark::State& state) {
    const auto tiles = qv::chr::TileSet::decode(busyImage(), 0);
    const qv::chr::ByteOf byteOf = [](int) { return std::uint8_t{0x02}; };
    for (auto _ : state)
        for (const auto& f : qv::chr::spriteFrames())
            benchmark::DoNotOptimize(qv::chr::composeCharacter(tiles, f, byteOf));
}
BENCHMARK(BM_ComposeAllCharacters)->Unit(benchmark::kMicrosecond);

void BM_ComposeAllScenes(benchmark::State& state) {
    const auto tiles = qv::chr::TileSet::decode(busyImage(), 0);
    for (auto _ : state)
        for (const auto& s : qv::chr::paletteScenes())
            benchmark::DoNotOptimize(qv::chr::composeScene(tiles, s));
}
BENCHMARK(BM_ComposeAllScenes)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
