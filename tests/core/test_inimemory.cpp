// The settings reader's memory follows what it keeps, not the size of the file: a
// large file of lines it has no use for costs next to nothing. Every allocation of
// this program is counted.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/ini.h"
#include "support/testfiles.h"

using namespace qvtest;

namespace {

std::atomic<std::size_t> g_inUse{0}, g_peak{0};
constexpr std::size_t kHeader = 16; // keeps the block's size, and the alignment

void* allocate(std::size_t n) {
    auto* block = static_cast<std::size_t*>(std::malloc(n + kHeader));
    if (!block) throw std::bad_alloc();
    *block = n;
    const std::size_t now = g_inUse += n;
    for (std::size_t peak = g_peak; now > peak && !g_peak.compare_exchange_weak(peak, now);) {
    }
    return reinterpret_cast<char*>(block) + kHeader;
}

void release(void* p) noexcept {
    if (!p) return;
    auto* block = reinterpret_cast<std::size_t*>(static_cast<char*>(p) - kHeader);
    g_inUse -= *block;
    std::free(block);
}

// The most this program held at once while `body` ran, beyond what it held before.
template <class F> std::size_t peakDuring(F&& body) {
    const std::size_t before = g_inUse;
    g_peak = before;
    body();
    return g_peak - before;
}

} // namespace

void* operator new(std::size_t n) {
    return allocate(n);
}
void* operator new[](std::size_t n) {
    return allocate(n);
}
void operator delete(void* p) noexcept {
    release(p);
}
void operator delete[](void* p) noexcept {
    release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    release(p);
}

TEST(IniMemory, LinesTheReaderDoesNotKeepCostNothing) {
    TempDir dir;
    const std::string path = dir.file("qorv.ini");
    // Just under 16 MiB of two-byte lines, in another section and then in ours, and
    // the one key asked for.
    const std::size_t half = 4u << 20;
    std::string text = "[other]\n";
    for (std::size_t i = 0; i < half; ++i)
        text += "a\n";
    text += "[qorv]\nNESFile1=/games/base.nes\n";
    for (std::size_t i = 0; i < half - 64; ++i)
        text += "b\n";
    ASSERT_LT(text.size(), 16u << 20);
    writeText(path, text);
    const std::size_t size = text.size();
    text = std::string();

    qv::IniFile ini(path);
    std::string base;
    const std::size_t peak = peakDuring([&] {
        ASSERT_TRUE(ini.load());
        base = ini.readString("NESFile1", "");
    });
    EXPECT_EQ(base, "/games/base.nes");
    EXPECT_LT(peak, 1u << 20) << "bytes held at most while reading a 16 MiB file";
    EXPECT_TRUE(ini.hasKey("b"));

    // A change is written into the file as it stands, every other line kept.
    ASSERT_TRUE(ini.writeString("NESFile1", "/games/other.nes"));
    ASSERT_TRUE(ini.save().ok);
    const std::string after = readText(path);
    EXPECT_EQ(after.size(), size + 1); // "other" is one letter longer than "base"
    EXPECT_NE(after.find("[qorv]\nNESFile1=/games/other.nes\nb\nb\n"), std::string::npos);
}
