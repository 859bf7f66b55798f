// Writing patches and listing their records.
#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <initializer_list>

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

    void finish() { out_.resize(used_); }

  private:
    std::uint8_t* room(std::size_t n) {
        if (out_.size() - used_ < n) out_.resize(std::max(2 * out_.size(), used_ + n));
        return out_.data() + used_;
    }

    std::vector<std::uint8_t>& out_;
    std::size_t used_ = 0;
};

// The first index at or after i where the images differ, or n. Equal stretches are
// skipped a word at a time: a 16 MiB image with few edits is mostly such stretches.
std::size_t nextDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t i,
                           std::size_t n) {
    constexpr std::size_t kWord = sizeof(std::uint64_t);
    const auto word = [](const std::uint8_t* p) {
        std::uint64_t w;
        std::memcpy(&w, p, kWord);
        return w;
    };
    for (; i + 4 * kWord <= n; i += 4 * kWord) {
        const std::uint64_t d = (word(a + i) ^ word(b + i)) | (word(a + i + 8) ^ word(b + i + 8)) |
                                (word(a + i + 16) ^ word(b + i + 16)) |
                                (word(a + i + 24) ^ word(b + i + 24));
        if (d != 0) break;
    }
    for (; i + kWord <= n; i += kWord) {
        if (const std::uint64_t d = word(a + i) ^ word(b + i)) {
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
    const std::size_t n = edited.size();
    std::size_t i = 0;
    for (;;) {
        i = nextDifference(base.data(), edited.data(), i, n);
        if (i >= n) break;
        std::size_t start = i;
        // A record at 0x454F46 would read as the end marker "EOF": start it one byte
        // earlier, where the edited byte is what the image must hold anyway.
        if (start == kEndMarkerOffset) --start;
        std::size_t end = i + 1;
        while (end < n && end - start < kMaxRecordLength && base[end] != edited[end])
            ++end;
        out.putRecord(static_cast<std::uint32_t>(start), edited.data() + start, end - start);
        i = end;
    }
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
