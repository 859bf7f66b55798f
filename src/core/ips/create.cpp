// Writing patches and listing their records.
#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <type_traits>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QV_IPS_WIDE_MASKS 1
#include <cpuid.h>
#include <immintrin.h>
// glibc's view of the processor, filled in by the loader: asking it runs no cpuid.
// The header is C (it says _Bool), which clang does not take in C++.
#if __has_include(<sys/platform/x86.h>) && !defined(__clang__)
#include <sys/platform/x86.h>
#define QV_LOADER_CPU_FEATURES 1
#endif
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/ips/ips.h"
#include "core/ips/scans.h"

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
        if (out_.size() - used_ < n) grow(n);
        return out_.data() + used_;
    }
    // How far the scan has come: the buffer then grows to what the patch is heading
    // for, in few steps, rather than doubling again and again (each step zero-fills
    // and copies it, and a large one maps new pages).
    void progress(std::size_t done, std::size_t total) { done_ = done, total_ = total; }
    void commit(const std::uint8_t* end) { used_ = static_cast<std::size_t>(end - out_.data()); }
    // room() for a cursor not yet committed.
    std::uint8_t* room(std::size_t n, const std::uint8_t* p) {
        commit(p);
        return room(n);
    }

    void finish() { out_.resize(used_); }

  private:
    void grow(std::size_t n) {
        std::size_t size = 2 * out_.size();
        if (done_ != 0) {
            // Sizes stay far below 2^32: the product cannot overflow.
            const std::size_t heading = used_ * total_ / done_ / 8 * 9 + 4096;
            size = std::clamp(heading, size, 4 * out_.size());
        }
        out_.resize(std::max(size, used_ + n));
    }

    std::vector<std::uint8_t>& out_;
    std::size_t used_ = 0;
    std::size_t done_ = 0;
    std::size_t total_ = 0;
};

std::uint64_t loadWord(const std::uint8_t* p) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// The first index at or after i where the images differ, or n. Equal stretches are
// skipped a word at a time.
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

// The block compares: bit k of the result is set when byte k of the two 64-byte
// blocks differs. The wide ones are chosen at run time, where the processor has them.
struct BasicCompare {
    static constexpr bool kBitInstructions = false;
    static std::uint64_t differing(const std::uint8_t* a, const std::uint8_t* b) {
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
};

#if defined(QV_IPS_WIDE_MASKS)
struct Avx2Compare {
    static constexpr bool kBitInstructions = true;
    __attribute__((target("avx2"))) static std::uint64_t differing(const std::uint8_t* a,
                                                                   const std::uint8_t* b) {
        const __m256i low =
            _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a)),
                              _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b)));
        const __m256i high =
            _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + 32)),
                              _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + 32)));
        return ~(std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(low))} |
                 std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(high))} << 32);
    }
};

struct Avx512Compare {
    static constexpr bool kBitInstructions = true;
    // `a` is 64-byte aligned here; `b` is loaded in halves, which split no cache line
    // when it is 32-byte aligned, as two buffers from one allocator often are.
    __attribute__((target("avx512bw"))) static std::uint64_t differing(const std::uint8_t* a,
                                                                       const std::uint8_t* b) {
        const __m512i low =
            _mm512_castsi256_si512(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(b)));
        // The masked form with every lane kept: the plain one leaves GCC 12 warning of
        // an undefined source.
        const __m512i y = _mm512_mask_inserti64x4(
            low, 0xFF, low, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + 32)), 1);
        return _mm512_cmpneq_epi8_mask(_mm512_load_si512(a), y);
    }
};
#endif

void prefetch(const std::uint8_t* p) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

class Creator {
    // Blocks listed at once, between two checks of the patch buffer's room.
    static constexpr std::size_t kChunk = 64;
    // A listed block's first two records, six bytes each, are stored as words whether
    // they exist or not: the second ends at +14.
    static constexpr std::size_t kChunkRoom = kChunk * 12 + 16;
    // The most one-byte records a block holds, and the spare word after the last.
    static constexpr std::size_t kBlockRoom = kBlock / 2 * 6 + 8;
    // Images from this size on are read a chunk ahead: they outgrow the caches.
    static constexpr std::size_t kStreamed = std::size_t{256} << 10;
    // Bytes the block path may read past a block: a record's data word.
    static constexpr std::size_t kReadAhead = 8;

  public:
    // Blocks start where the base image's address is a multiple of 64, so that its
    // loads never straddle two cache lines; the bytes before go the byte-wise way.
    Creator(const std::uint8_t* base, const std::uint8_t* edited, std::size_t n, PatchWriter& out)
        : a_(base), b_(edited), n_(n), out_(out),
          grid_((kBlock - reinterpret_cast<std::uintptr_t>(base) % kBlock) % kBlock) {}

    // The scan goes a chunk of 64-byte blocks at a time: it lists the blocks that
    // differ, then writes their records. A block whose changes are all single bytes,
    // the last not going on into the next block, has its first two records written
    // without a branch: scattered edits, whose places no branch predictor can learn,
    // then cost no misprediction each. Every other block, the one holding the
    // end-marker offset, and the bytes before the first block and after the last go
    // the byte-wise way.
    template <class Compare> void run() {
        const std::size_t marker = grid_ + (kEndMarkerOffset - grid_) / kBlock * kBlock;
        // The first block starts at 64 or later: a record's word is loaded from two
        // bytes before it.
        std::size_t i = slow(0, std::min(grid_ + kBlock, n_));
        while (i + kBlock + kReadAhead <= n_) {
            if (i == marker) {
                i = slow(i, i + kBlock);
                continue;
            }
            std::size_t stop = std::min(i + kChunk * kBlock, n_ - kBlock - kReadAhead + 1);
            if (i < marker) stop = std::min(stop, marker);
            i = blocks<Compare>(i, stop);
        }
        slow(i, n_);
    }

  private:
    // The blocks from i while before `stop`, at most kChunk of them; returns where
    // the scan goes on, a block start or n.
    template <class Compare> std::size_t blocks(std::size_t i, std::size_t stop) {
        // Stores through p may alias anything: keep the images' addresses in registers.
        const std::uint8_t* const a = a_;
        const std::uint8_t* const b = b_;
        // Each differing block's start and bits are listed: two stores a block and
        // no branch.
        std::uint32_t starts[kChunk];
        std::uint64_t masks[kChunk];
        std::size_t found = 0;
        const std::size_t end = i + (stop - i + kBlock - 1) / kBlock * kBlock;
        const auto list = [&](auto reading) {
            for (std::size_t k = i; k < end; k += kBlock) {
                // Writing the records leaves no loads in flight: an image larger than
                // the caches has the next chunk asked for meanwhile.
                if constexpr (decltype(reading)::value) {
                    prefetch(a + k + 2 * kChunk * kBlock);
                    prefetch(b + k + 2 * kChunk * kBlock);
                }
                starts[found] = static_cast<std::uint32_t>(k);
                const std::uint64_t m = Compare::differing(a + k, b + k);
                masks[found] = m;
                found += m != 0;
            }
        };
        if (n_ >= kStreamed && end + 2 * kChunk * kBlock <= n_)
            list(std::true_type{});
        else
            list(std::false_type{});
        out_.progress(end, n_);
        std::uint8_t* p = out_.room(kChunkRoom);
        for (std::size_t r = 0; r < found; ++r) {
            const std::size_t k = starts[r];
            const std::uint64_t m = masks[r];
            // A change in the last byte is a one-byte change unless the next byte
            // differs too; that byte is looked at only then, which is seldom.
            const bool onward = (m >> 63) != 0 && a[k + kBlock] != b[k + kBlock];
            if ((m & m << 1) != 0 || onward) {
                out_.commit(p);
                const std::size_t next = slow(k, k + kBlock);
                if (next >= end) return next;
                p = out_.room(kChunkRoom);
                // A run that went on past this block took the blocks it reached along.
                while (r + 1 < found && starts[r + 1] < next)
                    ++r;
                continue;
            }
            // With a single change, the second record's start is past the block and
            // the word stored for it is not kept.
            const std::uint64_t rest = m & (m - 1);
            putOne(p, b, k + static_cast<std::size_t>(std::countr_zero(m)));
            putOne(p + 6, b, k + static_cast<std::size_t>(std::countr_zero(rest)));
            if (std::uint64_t more = rest & (rest - 1)) {
                p = out_.room(kBlockRoom + kChunkRoom, p + 12);
                for (; more != 0; more &= more - 1, p += 6)
                    putOne(p, b, k + static_cast<std::size_t>(std::countr_zero(more)));
                continue;
            }
            // Without a population count instruction, two tests cost less than the
            // library's count.
            const std::size_t kept = Compare::kBitInstructions
                                         ? static_cast<std::size_t>(std::popcount(m))
                                         : std::size_t{m != 0} + std::size_t{rest != 0};
            p += 6 * kept;
        }
        out_.commit(p);
        return end;
    }

    // A one-byte data record for `pos`, stored as a word: its last two bytes are
    // overwritten by the next record or cut at the end. `pos` is 2 or more.
    static void putOne(std::uint8_t* p, const std::uint8_t* b, std::size_t pos) {
        if constexpr (std::endian::native == std::endian::little) {
            // Built in reverse and swapped: the offset in big-endian order, length 1,
            // then the edited byte (the two bytes loaded before it land in the
            // word's spare end).
            const std::uint64_t word = std::uint64_t{pos} << 40 | std::uint64_t{1} << 24 |
                                       (loadWord(b + pos - 2) & 0xFFFFFF);
            const std::uint64_t swapped = swap64(word);
            std::memcpy(p, &swapped, 8);
        } else {
            const std::uint8_t bytes[8] = {static_cast<std::uint8_t>(pos >> 16),
                                           static_cast<std::uint8_t>(pos >> 8),
                                           static_cast<std::uint8_t>(pos),
                                           0,
                                           1,
                                           b[pos],
                                           0,
                                           0};
            std::memcpy(p, bytes, 8);
        }
    }

    static std::uint64_t swap64(std::uint64_t v) {
#if defined(__GNUC__) || defined(__clang__)
        return __builtin_bswap64(v);
#else
        v = (v & 0x00FF00FF00FF00FFu) << 8 | (v >> 8 & 0x00FF00FF00FF00FFu);
        v = (v & 0x0000FFFF0000FFFFu) << 16 | (v >> 16 & 0x0000FFFF0000FFFFu);
        return v << 32 | v >> 32;
#endif
    }

    // The records for every change that starts in [i, end), byte by byte; returns
    // where the block scan goes on: `end`, or past a run that went on beyond it, the
    // next block start (or n) after the run, its bytes up to there scanned too.
    [[gnu::noinline]] std::size_t slow(std::size_t i, std::size_t end) {
        for (;;) {
            i = nextDifference(a_, b_, i, end);
            if (i >= end) return end;
            do
                i = putChange(i);
            while (i < n_ && a_[i] != b_[i]);
            if (i > end) end = std::min(n_, grid_ + (i - grid_ + kBlock - 1) / kBlock * kBlock);
        }
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
    std::size_t grid_; // where the first block starts
};

using ScanFunction = void (*)(Creator&);

void scanBasic(Creator& c) {
    c.run<BasicCompare>();
}

#if defined(QV_IPS_WIDE_MASKS)
// Each compare gets its own copy of the scan, compiled for that processor: flatten
// inlines the compare and the scan into it.
__attribute__((target("avx2,bmi,bmi2,popcnt,movbe"), flatten)) void scanAvx2(Creator& c) {
    c.run<Avx2Compare>();
}
__attribute__((target("avx512bw,bmi,bmi2,popcnt,movbe"), flatten)) void scanAvx512(Creator& c) {
    c.run<Avx512Compare>();
}
#endif

bool processorHas(detail::Scan scan) {
#if defined(QV_LOADER_CPU_FEATURES)
    // Not __builtin_cpu_supports: it links in a constructor that probes the processor
    // at every start of every program, a slow trap to the hypervisor on virtual machines.
    if (scan == detail::Scan::Basic) return true;
    const bool bits = CPU_FEATURE_ACTIVE(BMI1) && CPU_FEATURE_ACTIVE(BMI2) &&
                      CPU_FEATURE_ACTIVE(POPCNT) && CPU_FEATURE_ACTIVE(MOVBE);
    if (scan == detail::Scan::Avx2) return bits && CPU_FEATURE_ACTIVE(AVX2);
    return bits && CPU_FEATURE_ACTIVE(AVX512BW);
#elif defined(QV_IPS_WIDE_MASKS)
    if (scan == detail::Scan::Basic) return true;
    __builtin_cpu_init();
    // Not every compiler's __builtin_cpu_supports knows "movbe": ask the processor.
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    const bool movbe = __get_cpuid(1, &eax, &ebx, &ecx, &edx) && (ecx & bit_MOVBE) != 0;
    const bool bits = __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
                      __builtin_cpu_supports("popcnt") && movbe;
    if (scan == detail::Scan::Avx2) return bits && __builtin_cpu_supports("avx2");
    return bits && __builtin_cpu_supports("avx512bw");
#else
    return scan == detail::Scan::Basic;
#endif
}

ScanFunction scanFunction([[maybe_unused]] detail::Scan scan) {
#if defined(QV_IPS_WIDE_MASKS)
    if (scan == detail::Scan::Avx512) return &scanAvx512;
    if (scan == detail::Scan::Avx2) return &scanAvx2;
#endif
    return &scanBasic;
}

ScanFunction chosenScan() {
    static const ScanFunction chosen = [] {
        for (const detail::Scan scan : {detail::Scan::Avx512, detail::Scan::Avx2})
            if (processorHas(scan)) return scanFunction(scan);
        return scanFunction(detail::Scan::Basic);
    }();
    return chosen;
}

Created createUsing(ScanFunction scan, std::span<const std::uint8_t> base,
                    std::span<const std::uint8_t> edited, const CreateOptions& options) {
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
    Creator creator(base.data(), edited.data(), edited.size(), out);
    scan(creator);
    out.put({'E', 'O', 'F'});
    out.finish();
    return result;
}

} // namespace

Created create(std::span<const std::uint8_t> base, std::span<const std::uint8_t> edited,
               const CreateOptions& options) {
    return createUsing(chosenScan(), base, edited, options);
}

namespace detail {

bool scanAvailable(Scan scan) {
    return processorHas(scan);
}

Created createWith(Scan scan, std::span<const std::uint8_t> base,
                   std::span<const std::uint8_t> edited) {
    return createUsing(scanFunction(scan), base, edited, {});
}

} // namespace detail

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
