// Writing patches and listing their records.
#include <algorithm>
#include <cstdio>

#include "core/ips/ips.h"

namespace qv::ips {

namespace {

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void putRecord(std::vector<std::uint8_t>& out, std::uint32_t offset,
               std::span<const std::uint8_t> bytes) {
    putBigEndian(out, offset, 3);
    const auto n = static_cast<std::uint32_t>(bytes.size());
    const bool same =
        std::all_of(bytes.begin(), bytes.end(), [&](std::uint8_t b) { return b == bytes.front(); });
    if (n >= 4 && same) {
        putBigEndian(out, 0, 2);
        putBigEndian(out, n, 2);
        out.push_back(bytes.front());
    } else {
        putBigEndian(out, n, 2);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
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
    std::vector<std::uint8_t>& out = result.patch;
    out = {'P', 'A', 'T', 'C', 'H'};
    const std::size_t n = edited.size();
    std::size_t i = 0;
    while (i < n) {
        if (base[i] == edited[i]) {
            ++i;
            continue;
        }
        std::size_t start = i;
        // A record at 0x454F46 would read as the end marker "EOF": start it one byte
        // earlier, where the edited byte is what the image must hold anyway.
        if (start == kEndMarkerOffset) --start;
        std::size_t end = i + 1;
        while (end < n && end - start < kMaxRecordLength && base[end] != edited[end])
            ++end;
        putRecord(out, static_cast<std::uint32_t>(start), edited.subspan(start, end - start));
        i = end;
    }
    out.insert(out.end(), {'E', 'O', 'F'});
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
