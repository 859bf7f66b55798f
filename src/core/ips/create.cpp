// Writing patches and listing their records.
#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QV_IPS_WIDE_MASKS 1
#include <immintrin.h>
// glibc's view of the processor, filled in by the loader: asking it runs no cpuid.
#if __has_include(<sys/platform/x86.h>)
#include <sys/platform/x86.h>
#define QV_LOADER_CPU_FEATURES 1
#endif
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/ips/ips.h"

namespace qv::ips {

namespace {

// The patch being written. Its buffer grows ahead of the writes and is cut to size
// at the end, so that appending a record is a few stores rather than a resize.
class PatchWriter {
  public:
    explicit PatchWriter(std::vector<std::uint8_t>& out) : out_(out) { out_.resize(4096); }

    void put(std::initializer_list<std::uint8_t> bytes) {
        std::memcpy(room(bytes.size()), bytes.begin(), bytes.size());
        used_ += bytes.size();
    }

    // One record: a run record when the bytes are 4 or more copies of one value.
    void putRecord(std::uint32_t offset, const std::uint8_t* bytes, std::size_t n) {
        const auto byte = [](std::size_t v) { return static_cast<std::uint8_t>(v); };
        const bool run =
            n >= 4 && std::all_of(bytes + 1, bytes + n,
                                  [first = bytes[0]](std::uint8_t b) { return b == first; });
        std::uint8_t* p = room(8 + n);
        p[0] = byte(offset >> 16), p[1] = byte(offset >> 8), p[2] = byte(offset);
        if (run) {
            p[3] = 0, p[4] = 0, p[5] = byte(n >> 8), p[6] = byte(n), p[7] = bytes[0];
            used_ += 8;
        } else {
            p[3] = byte(n >> 8), p[4] = byte(n);
            std::memcpy(p + 5, bytes, n);
            used_ += 5 + n;
        }
    }

    // Direct access for the short records of the block scan: at least `n` writable
    // bytes at the returned cursor, and `commit` with the cursor after the last one.
    std::uint8_t* room(std::size_t n) {
        if (out_.size() - used_ < n) out_.resize(std::max(2 * out_.size(), used_ + n));
        return out_.data() + used_;
    }
    void commit(const std::uint8_t* end) { used_ = static_cast<std::size_t>(end - out_.data()); }
    // The bytes writable after the cursor `p`, and room() for a cursor not yet committed.
    std::size_t roomAfter(const std::uint8_t* p) const {
        return out_.size() - static_cast<std::size_t>(p - out_.data());
    }
    std::uint8_t* room(std::size_t n, const std::uint8_t* p) {
        commit(p);
        return room(n);
    }

    void finish() { out_.resize(used_); }

  private:
    std::vector<std::uint8_t>& out_;
    std::size_t used_ = 0;
};

std::uint64_t loadWord(const std::uint8_t* p) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// The first index at or after i where the images differ, or n. Equal stretches are
// skipped a word at a time: a 16 MiB image with few edits is mostly such stretches.
std::size_t nextDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t i,
                           std::size_t n) {
    constexpr std::size_t kWord = sizeof(std::uint64_t);
    for (; i + kWord <= n; i += kWord) {
        if (const std::uint64_t d = loadWord(a + i) ^ loadWord(b + i)) {
            // The lowest differing byte in memory order.
            if constexpr (std::endian::native == std::endian::little)
                return i + static_cast<std::size_t>(std::countr_zero(d)) / 8;
            else
                return i + static_cast<std::size_t>(std::countl_zero(d)) / 8;
        }
    }
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

constexpr std::size_t kBlock = 64;

// Bit k is set when byte k of the two 64-byte blocks differs.
std::uint64_t differingBytes(const std::uint8_t* a, const std::uint8_t* b) {
#if defined(__SSE2__)
    const auto equal16 = [&](std::size_t k) -> std::uint64_t {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 16 * k));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 16 * k));
        return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, y)));
    };
    return ~(equal16(0) | equal16(1) << 16 | equal16(2) << 32 | equal16(3) << 48);
#else
    std::uint64_t mask = 0;
    for (std::size_t w = 0; w < kBlock / 8; ++w) {
        std::uint64_t d = loadWord(a + 8 * w) ^ loadWord(b + 8 * w);
        // Fold each byte onto its lowest bit, then gather those eight bits into
        // the top byte, the byte first in memory lowest.
        d |= d >> 4;
        d |= d >> 2;
        d |= d >> 1;
        d &= 0x0101010101010101u;
        std::uint64_t bits = (d * 0x0102040810204080u) >> 56;
        if constexpr (std::endian::native == std::endian::big) {
            // Memory order runs from the top byte down: reverse the eight bits.
            bits = ((bits * 0x0202020202u) & 0x010884422010u) % 1023u;
        }
        mask |= bits << (8 * w);
    }
    return mask;
#endif
}

// The masks of `count` consecutive blocks, one word each.
using MaskPass = void (*)(const std::uint8_t* a, const std::uint8_t* b, std::size_t count,
                          std::uint64_t* masks);

void masksPlain(const std::uint8_t* a, const std::uint8_t* b, std::size_t count,
                std::uint64_t* masks) {
    for (std::size_t k = 0; k < count; ++k)
        masks[k] = differingBytes(a + k * kBlock, b + k * kBlock);
}

#if defined(QV_IPS_WIDE_MASKS)
// A wider compare where the processor has one, chosen at run time.
__attribute__((target("avx2"))) void masksAvx2(const std::uint8_t* a, const std::uint8_t* b,
                                               std::size_t count, std::uint64_t* masks) {
    for (std::size_t k = 0; k < count; ++k, a += kBlock, b += kBlock) {
        const __m256i low =
            _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a)),
                              _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b)));
        const __m256i high =
            _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + 32)),
                              _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + 32)));
        const std::uint64_t equal =
            static_cast<std::uint32_t>(_mm256_movemask_epi8(low)) |
            std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(high))} << 32;
        masks[k] = ~equal;
    }
}

#endif

MaskPass maskPass() {
#if defined(QV_IPS_WIDE_MASKS)
    // Not __builtin_cpu_supports: it links in a constructor that probes the processor
    // at every start of every program, a slow trap to the hypervisor on virtual machines.
    static const MaskPass chosen = [] {
#if defined(QV_LOADER_CPU_FEATURES)
        return CPU_FEATURE_ACTIVE(AVX2) ? &masksAvx2 : &masksPlain;
#else
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") ? &masksAvx2 : &masksPlain;
#endif
    }();
    return chosen;
#else
    return &masksPlain;
#endif
}

// The index of the lowest set bit, 63 when none is: a run that long never takes
// the fast path anyway. Never zero, the count needs no branch on processors
// without a zero-safe instruction for it.
std::uint32_t lowestBit(std::uint64_t bits) {
    return static_cast<std::uint32_t>(std::countr_zero(bits | std::uint64_t{1} << 63));
}

void prefetch(const std::uint8_t* p) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

class Creator {
    static constexpr std::size_t kChunk = 64; // blocks compared at once: 4 KiB
    // A short record and the spare bytes written after it.
    static constexpr std::size_t kRecordRoom = 16;
    // Images from this size on are read ahead of the scan: they outgrow the caches.
    static constexpr std::size_t kStreamed = std::size_t{4} << 20;

  public:
    Creator(const std::uint8_t* base, const std::uint8_t* edited, std::size_t n, PatchWriter& out)
        : a_(base), b_(edited), n_(n), out_(out) {}

    // The scan goes a chunk at a time: compare its blocks into masks, list where
    // each run of differing bytes starts, then write a record per run. Listing
    // the starts without a branch per block keeps scattered edits, whose places
    // no branch predictor can learn, from costing a misprediction each.
    void run() {
        std::uint64_t masks[kChunk];
        std::uint32_t starts[kChunk * 32 + 2];
        const MaskPass compare = maskPass();
        std::uint64_t carry = 0; // the last byte of the previous block differs
        std::size_t i = 0;
        // Whole blocks, with four bytes to spare after the last so that a short
        // record's data can be copied as one word.
        while (i + kBlock + 4 <= n_) {
            const std::size_t count = std::min(kChunk, (n_ - 4 - i) / kBlock);
            compare(a_ + i, b_ + i, count, masks);
            std::size_t found = 0;
            for (std::size_t k = 0; k < count; ++k) {
                const std::uint64_t m = masks[k];
                std::uint64_t first = m & ~(m << 1 | carry);
                carry = m >> 63;
                const auto at = static_cast<std::uint32_t>(k * kBlock);
                // Two starts are written whether or not they exist; `found` only
                // counts the real ones, and a block with more goes on in a loop.
                std::uint64_t second = first & (first - 1);
                starts[found] = at + lowestBit(first);
                starts[found + 1] = at + lowestBit(second);
                found += (first != 0) + (second != 0);
                for (std::uint64_t more = second & (second - 1); more != 0; more &= more - 1)
                    starts[found++] = at + static_cast<std::uint32_t>(std::countr_zero(more));
            }
            // Writing records leaves no loads in flight: ask for the chunk after the
            // next now, so that an image larger than the caches streams on meanwhile.
            if (n_ >= kStreamed && i + 3 * kChunk * kBlock <= n_) {
                for (std::size_t ahead = 2 * kChunk * kBlock; ahead < 3 * kChunk * kBlock;
                     ahead += kBlock) {
                    prefetch(a_ + i + ahead);
                    prefetch(b_ + i + ahead);
                }
            }
            std::uint8_t* p = out_.room(kRecordRoom);
            for (std::size_t r = 0; r < found; ++r) {
                if (out_.roomAfter(p) < kRecordRoom) p = out_.room(kRecordRoom, p);
                const std::size_t at = starts[r];
                const std::size_t pos = i + at;
                const int s = static_cast<int>(at % kBlock);
                const int len = static_cast<int>(lowestBit(~(masks[at / kBlock] >> s)));
                if (len >= 4 || s + len >= static_cast<int>(kBlock) || pos == kEndMarkerOffset) {
                    // Long, running past its block, or at the end-marker offset.
                    out_.commit(p);
                    putRun(pos);
                    p = out_.room(kRecordRoom);
                    continue;
                }
                putShort(p, pos, static_cast<std::uint32_t>(len));
                p += 5 + static_cast<std::size_t>(len);
            }
            out_.commit(p);
            i += count * kBlock;
        }
        // The last bytes, and the rest of a run that went on past the blocks.
        i = std::max(i, next_);
        for (;;) {
            i = nextDifference(a_, b_, i, n_);
            if (i >= n_) break;
            i = putChange(i);
        }
    }

  private:
    // A record of 1 to 3 data bytes at p, in eight stored bytes: bytes past its
    // data are overwritten by the next record or cut at the end.
    void putShort(std::uint8_t* p, std::size_t pos, std::uint32_t len) const {
        std::uint32_t data;
        std::memcpy(&data, b_ + pos, 4);
        if constexpr (std::endian::native == std::endian::little) {
            const std::uint64_t word = (pos >> 16 & 0xFF) | (pos >> 8 & 0xFF) << 8 |
                                       (pos & 0xFF) << 16 | std::uint64_t{len} << 32 |
                                       std::uint64_t{data} << 40;
            std::memcpy(p, &word, 8);
        } else {
            p[0] = static_cast<std::uint8_t>(pos >> 16);
            p[1] = static_cast<std::uint8_t>(pos >> 8);
            p[2] = static_cast<std::uint8_t>(pos);
            p[3] = 0;
            p[4] = static_cast<std::uint8_t>(len);
            std::memcpy(p + 5, &data, 3);
        }
    }

    // The records for the whole run of differing bytes that starts at i.
    void putRun(std::size_t i) {
        do
            i = putChange(i);
        while (i < n_ && a_[i] != b_[i]);
        next_ = i;
    }

    // One record for the change that starts at i; returns the index after it.
    std::size_t putChange(std::size_t i) {
        std::size_t start = i;
        // A record at 0x454F46 would read as the end marker "EOF": start it one byte
        // earlier, where the edited byte is what the image must hold anyway.
        if (start == kEndMarkerOffset) --start;
        std::size_t end = i + 1;
        while (end < n_ && end - start < kMaxRecordLength && a_[end] != b_[end])
            ++end;
        out_.putRecord(static_cast<std::uint32_t>(start), b_ + start, end - start);
        return end;
    }

    const std::uint8_t* a_;
    const std::uint8_t* b_;
    std::size_t n_;
    PatchWriter& out_;
    std::size_t next_ = 0; // where the last long run ended
};

} // namespace

Created create(std::span<const std::uint8_t> base, std::span<const std::uint8_t> edited,
               const CreateOptions& options) {
    Created result;
    if (base.size() != edited.size()) {
        result.status.result = Result::BaseInvalid;
        return result;
    }
    if (edited.size() > kOffsetLimit) {
        result.status.result = Result::TooLarge;
        return result;
    }
    if (options.refuseIdentical && std::equal(base.begin(), base.end(), edited.begin())) {
        result.status.result = Result::Identical;
        return result;
    }
    PatchWriter out(result.patch);
    out.put({'P', 'A', 'T', 'C', 'H'});
    Creator(base.data(), edited.data(), edited.size(), out).run();
    out.put({'E', 'O', 'F'});
    out.finish();
    return result;
}

std::vector<std::string> describe(std::span<const std::uint8_t> patch) {
    constexpr std::size_t kShown = 8;
    const Parsed parsed = parse(patch);
    std::vector<std::string> lines;
    lines.reserve(parsed.records.size() + 1);
    char buf[64];
    for (const Record& r : parsed.records) {
        std::snprintf(buf, sizeof buf, "0x%06X  %s %u ", static_cast<unsigned>(r.offset),
                      r.run ? "run" : "data", static_cast<unsigned>(r.length));
        std::string line = buf;
        if (r.run) {
            std::snprintf(buf, sizeof buf, " %02X", static_cast<unsigned>(r.value));
            line += buf;
        } else {
            for (std::size_t k = 0; k < std::min(kShown, r.data.size()); ++k) {
                std::snprintf(buf, sizeof buf, " %02X", static_cast<unsigned>(r.data[k]));
                line += buf;
            }
            if (r.data.size() > kShown) line += " ...";
        }
        lines.push_back(std::move(line));
    }
    if (!parsed.status.ok()) {
        std::snprintf(buf, sizeof buf, "at byte %zu: ", parsed.status.position);
        std::string text = message(parsed.status);
        std::replace(text.begin(), text.end(), '\r', ' ');
        text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
        lines.push_back(buf + text);
    }
    return lines;
}

} // namespace qv::ips
