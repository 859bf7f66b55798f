// Writing patches.
#include <algorithm>
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
        if (x != y) break;
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
// Records start and end at such bytes (a shorter record is never larger), and
// cost[k], the smallest size of records covering the first k + 1 of them, never
// falls as k grows. The last record covering byte k starts at some covered byte j:
// - as data, 5 + its length: the smallest cost[j - 1] - pos[j] over the last 65,535
//   bytes is kept in a window that drops starts no later one can beat;
// - as a run, 8, when every byte from j to k holds one value: the earliest such j
//   within 65,535 bytes is best, since cost only grows.
class ShortestPatch {
  public:
    explicit ShortestPatch(const std::uint8_t* edited) : b_(edited) {}

    // Covered bytes come in increasing order.
    void cover(std::uint32_t p) {
        const std::size_t k = path_.size();
        // A run may go on from the last byte, over the unchanged bytes between, when
        // they all hold its value; runs are never longer than kMaxRecordLength.
        if (k == 0 || b_[p] != b_[path_.back().pos] || p - path_.back().pos > kMaxRecordLength ||
            !std::all_of(b_ + path_.back().pos + 1, b_ + p,
                         [v = b_[p]](std::uint8_t x) { return x == v; }))
            runFrom_ = k;
        const auto within = [&](std::size_t j) { return p + 1 - path_[j].pos <= kMaxRecordLength; };
        while (first_ < k && !within(first_))
            ++first_;
        const std::uint32_t cost = before(k);
        if (p != kEndMarkerOffset) {
            const std::int64_t key = std::int64_t{cost} - p;
            while (!window_.empty() && key <= window_.back().key)
                window_.pop_back();
            window_.push_back({key, static_cast<std::uint32_t>(k)});
        }
        while (window_.front().start < k && !within(window_.front().start))
            window_.pop_front();
        // Some entry always remains: only 0x454F46 is never one, and the byte before
        // it is always covered.
        const Entry& data = window_.front();
        Node node{p, static_cast<std::uint32_t>(data.key + p + 1 + kDataHead), data.start};
        std::size_t run = std::max(runFrom_, first_);
        if ((run < k ? path_[run].pos : p) == kEndMarkerOffset) ++run;
        // Equal sizes keep the data record, which shows the bytes it writes.
        if (run <= k && before(run) + kRunSize < node.cost) {
            node.cost = before(run) + kRunSize;
            node.from = static_cast<std::uint32_t>(run) | kRunFlag;
        }
        path_.push_back(node);
    }

    std::size_t size() const { return path_.empty() ? 0 : path_.back().cost; }

    // The records of the shortest path, last first.
    template <class Put> void records(Put&& put) const {
        for (std::size_t k = path_.size(); k > 0;) {
            const std::size_t j = path_[k - 1].from & ~kRunFlag;
            put(path_[j].pos, path_[k - 1].pos + 1 - path_[j].pos,
                (path_[k - 1].from & kRunFlag) != 0);
            k = j;
        }
    }

  private:
    static constexpr std::uint32_t kRunFlag = 0x80000000u;
    struct Node {
        std::uint32_t pos;  // a covered byte
        std::uint32_t cost; // the smallest size of records covering it and those before
        std::uint32_t from; // where the last of them starts, and whether it is a run
    };
    struct Entry {
        std::int64_t key; // cost before the start, less the start's offset
        std::uint32_t start;
    };
    std::uint32_t before(std::size_t j) const { return j == 0 ? 0 : path_[j - 1].cost; }

    const std::uint8_t* b_;
    std::vector<Node> path_;
    std::size_t runFrom_ = 0;  // the first covered byte of the current value run
    std::size_t first_ = 0;    // the first covered byte a record ending here reaches
    std::deque<Entry> window_; // data starts in reach, their keys rising
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
    ShortestPatch path(b);
    for (std::size_t i = nextDifference(a, b, 0, n); i < n; i = nextDifference(a, b, i + 1, n)) {
        if (i == kEndMarkerOffset && a[i - 1] == b[i - 1]) path.cover(kEndMarkerOffset - 1);
        path.cover(static_cast<std::uint32_t>(i));
    }
    if (options.refuseIdentical && path.size() == 0) {
        result.status.result = Result::Identical;
        return result;
    }
    // Filled from the end, as the path gives its records.
    std::vector<std::uint8_t>& out = result.patch;
    out.resize(5 + path.size() + 3);
    std::memcpy(out.data(), "PATCH", 5);
    std::uint8_t* p = out.data() + out.size() - 3;
    std::memcpy(p, "EOF", 3);
    const auto byte = [](std::size_t v) { return static_cast<std::uint8_t>(v); };
    path.records([&](std::uint32_t offset, std::uint32_t length, bool run) {
        if (run) {
            p -= kRunSize;
            p[3] = 0, p[4] = 0, p[5] = byte(length >> 8), p[6] = byte(length), p[7] = b[offset];
        } else {
            p -= kDataHead + length;
            p[3] = byte(length >> 8), p[4] = byte(length);
            std::memcpy(p + 5, b + offset, length);
        }
        p[0] = byte(offset >> 16), p[1] = byte(offset >> 8), p[2] = byte(offset);
    });
    return result;
}

} // namespace qv::ips
