// Writing patches.
#include <algorithm>
#include <bit>
#include <cstring>
#include <deque>

#include "core/ips/ips.h"

namespace qv::ips {

namespace {

// The first index at or after i where the images differ, or n. Equal stretches are
// skipped a word at a time: at 16 MiB the scan is most of `qorv ips create` (bench
// row "qorv ips create, 16 MiB").
std::size_t nextDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t i,
                           std::size_t n) {
    for (std::uint64_t x, y; i + 8 <= n; i += 8) {
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        // The first differing byte of the word, found without a branch on each byte.
        if (const std::uint64_t d = x ^ y)
            return i + static_cast<std::size_t>(std::endian::native == std::endian::little
                                                    ? std::countr_zero(d)
                                                    : std::countl_zero(d)) /
                           8;
    }
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

constexpr std::uint32_t kDataHead = 5; // offset and length
constexpr std::uint32_t kRunSize = 8;  // offset, zero length, count and value

// The smallest patch for the changes, as a shortest path over the bytes that records
// must cover: the changed bytes, and the byte before 0x454F46 when that one changed,
// since no record may start there and the record covering it has to begin earlier.
// Records start and end at such bytes (a shorter record is never larger).
//
// Where five or more unchanged bytes part two covered ones and no run goes on across
// them, one record over both is never smaller than two, so the bytes are taken in
// segments parted by such gaps, each written on its own. A segment of one byte is one
// record; only the others need the path (bench row "qorv ips create, 16 MiB", where
// scattered single bytes are most of the changes).
class PatchWriter {
  public:
    PatchWriter(const std::uint8_t* edited, std::vector<std::uint8_t>& out)
        : b_(edited), out_(out) {}

    // Covered bytes come in increasing order.
    void cover(std::uint32_t p) {
        if (!pos_.empty() && p - pos_.back() > kDataHead && !runGoesOn(pos_.back(), p)) flush();
        pos_.push_back(p);
    }

    // Writes the records of the segment so far.
    void flush() {
        if (pos_.size() == 1) {
            const std::uint32_t p = pos_[0];
            out_.insert(out_.end(), {byte(p >> 16), byte(p >> 8), byte(p), 0, 1, b_[p]});
        } else if (!pos_.empty()) {
            shortestPath();
        }
        pos_.clear();
    }

  private:
    static std::uint8_t byte(std::size_t v) { return static_cast<std::uint8_t>(v); }

    // Whether a run of one value may go on from covered byte q to p, over the
    // unchanged bytes between; runs are never longer than kMaxRecordLength.
    bool runGoesOn(std::uint32_t q, std::uint32_t p) const {
        return b_[p] == b_[q] && p - q < kMaxRecordLength &&
               std::all_of(b_ + q + 1, b_ + p, [v = b_[p]](std::uint8_t x) { return x == v; });
    }

    // cost[k], the smallest size of records covering the segment's first k + 1 bytes,
    // never falls as k grows. The last record covering byte k starts at some covered
    // byte j:
    // - as data, 5 + its length: the smallest cost[j - 1] - pos[j] over the last
    //   65,535 bytes is kept in a window that drops starts no later one can beat;
    // - as a run, 8, when every byte from j to k holds one value: the earliest such j
    //   within 65,535 bytes is best, since cost only grows.
    void shortestPath() {
        const auto within = [&](std::size_t j, std::uint32_t p) {
            return p + 1 - pos_[j] <= kMaxRecordLength;
        };
        const auto before = [&](std::size_t j) { return j == 0 ? 0 : cost_[j - 1]; };
        cost_.clear();
        from_.clear();
        window_.clear();
        std::size_t runFrom = 0, first = 0;
        for (std::size_t k = 0; k < pos_.size(); ++k) {
            const std::uint32_t p = pos_[k];
            if (k > 0 && !runGoesOn(pos_[k - 1], p)) runFrom = k;
            while (!within(first, p))
                ++first;
            if (p != kEndMarkerOffset) {
                const std::int64_t key = std::int64_t{before(k)} - p;
                while (!window_.empty() && key <= window_.back().key)
                    window_.pop_back();
                window_.push_back({key, static_cast<std::uint32_t>(k)});
            }
            while (!within(window_.front().start, p))
                window_.pop_front();
            // Some entry always remains: only 0x454F46 is never one, and the byte
            // before it is always covered.
            std::uint32_t cost =
                static_cast<std::uint32_t>(window_.front().key + p + 1 + kDataHead);
            std::uint32_t from = window_.front().start;
            std::size_t run = std::max(runFrom, first);
            if (pos_[run] == kEndMarkerOffset) ++run;
            // Equal sizes keep the data record, which shows the bytes it writes.
            if (run <= k && before(run) + kRunSize < cost) {
                cost = before(run) + kRunSize;
                from = static_cast<std::uint32_t>(run) | kRunFlag;
            }
            cost_.push_back(cost);
            from_.push_back(from);
        }
        // The records come last first: they are written from the end of their room.
        out_.resize(out_.size() + cost_.back());
        std::uint8_t* o = out_.data() + out_.size();
        for (std::size_t k = pos_.size(); k > 0;) {
            const std::size_t j = from_[k - 1] & ~kRunFlag;
            const std::uint32_t offset = pos_[j], length = pos_[k - 1] + 1 - offset;
            if ((from_[k - 1] & kRunFlag) != 0) {
                o -= kRunSize;
                o[3] = 0, o[4] = 0, o[5] = byte(length >> 8), o[6] = byte(length);
                o[7] = b_[offset];
            } else {
                o -= kDataHead + length;
                o[3] = byte(length >> 8), o[4] = byte(length);
                std::memcpy(o + 5, b_ + offset, length);
            }
            o[0] = byte(offset >> 16), o[1] = byte(offset >> 8), o[2] = byte(offset);
            k = j;
        }
    }

    static constexpr std::uint32_t kRunFlag = 0x80000000u;
    struct Entry {
        std::int64_t key; // cost before the start, less the start's offset
        std::uint32_t start;
    };

    const std::uint8_t* b_;
    std::vector<std::uint8_t>& out_;
    std::vector<std::uint32_t> pos_;  // the covered bytes of the segment
    std::vector<std::uint32_t> cost_; // the smallest size of records covering pos_[0..k]
    std::vector<std::uint32_t> from_; // where the last of them starts, and whether a run
    std::deque<Entry> window_;        // data starts in reach, their keys rising
};

} // namespace

Created create(std::span<const std::uint8_t> base, std::span<const std::uint8_t> edited,
               const CreateOptions& options) {
    Created result;
    if (base.size() != edited.size()) {
        result.status.result = Result::BaseInvalid;
        return result;
    }
    const std::size_t n = edited.size();
    if (n > kOffsetLimit) {
        result.status.result = Result::TooLarge;
        return result;
    }
    const std::uint8_t* a = base.data();
    const std::uint8_t* b = edited.data();
    std::vector<std::uint8_t>& out = result.patch;
    out.assign({'P', 'A', 'T', 'C', 'H'});
    PatchWriter writer(b, out);
    for (std::size_t i = nextDifference(a, b, 0, n); i < n; i = nextDifference(a, b, i + 1, n)) {
        if (i == kEndMarkerOffset && a[i - 1] == b[i - 1]) writer.cover(kEndMarkerOffset - 1);
        writer.cover(static_cast<std::uint32_t>(i));
    }
    writer.flush();
    if (options.refuseIdentical && out.size() == 5) {
        out.clear();
        result.status.result = Result::Identical;
        return result;
    }
    out.insert(out.end(), {'E', 'O', 'F'});
    return result;
}

} // namespace qv::ips
