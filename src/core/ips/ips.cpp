#include "core/ips/ips.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>

#include "core/rom.h"

namespace qv::ips {

namespace {

constexpr std::array<ResultInfo, 12> kResults{{
    {Result::Ok, "", "", 0},
    {Result::FileMissing, "The file does not exist.", "", 2},
    {Result::WrongFormat, "The specified file is in the wrong format.", "", 2},
    {Result::BadFileSize, "The file cannot be opened.\r\nThe filesize is invalid.", "", 2},
    {Result::InvalidData, "Invalid data in IPS file.", "", 2},
    {Result::NoEndMarker, "EOF cannot be found.", "", 2},
    {Result::TrainerArea,
     "Unable to patch the trainer area using the selected correction feature.\r\n"
     "The patch cannot be applied with current settings.",
     "", 2},
    {Result::AddressesBeyond, "Addresses beyond ", " bytes are written by the IPS file.", 2},
    {Result::NotGameImage, "The file to be patched is not a 40,976 or 41,488 byte NES file.", "",
     2},
    {Result::BaseInvalid,
     "The NES file used to create the IPS is invalid.\r\nPatch creation aborted.", "", 2},
    {Result::Identical,
     "The current NES file and comparison file are identical.\r\n"
     "Either the file was not edited or the same file was used to create the IPS.",
     "", 2},
    {Result::TooLarge, "IPS files cannot describe files larger than 16 MiB.", "", 2},
}};

constexpr bool tableInOrder() {
    for (std::size_t i = 0; i < kResults.size(); ++i)
        if (static_cast<std::size_t>(kResults[i].result) != i) return false;
    return true;
}
static_assert(tableInOrder(), "one row per Result, in declaration order");

constexpr std::array<std::uint8_t, 5> kHeader{'P', 'A', 'T', 'C', 'H'};
constexpr std::array<std::uint8_t, 3> kFooter{'E', 'O', 'F'};
constexpr std::uint32_t kInesHeader = 16;
constexpr std::uint32_t kTrainerEnd = kInesHeader + kTrainerShift;

std::uint32_t bigEndian(std::span<const std::uint8_t> bytes, std::size_t pos, std::size_t n) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < n; ++i)
        v = (v << 8) | bytes[pos + i];
    return v;
}

std::string withThousands(std::size_t n) {
    const std::string digits = std::to_string(n);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

// The one reader of patches, for checking, applying, listing and explaining: it
// reads the records in order and checks each as it is read, so that of several
// faults in one patch the first one met is the one reported. `limit` is the image
// size every write must stay below; none means unbounded. Each record read is
// handed to `visit`; the records before a fault are visited too.
template <class Visit>
Status walk(std::span<const std::uint8_t> patch, Mode mode, std::optional<std::size_t> limit,
            std::size_t& end, Visit&& visit) {
    const auto fail = [&](Result r, std::size_t pos) { return Status{r, limit.value_or(0), pos}; };
    if (patch.size() < kMinPatchSize) return fail(Result::BadFileSize, 0);
    if (!std::equal(kHeader.begin(), kHeader.end(), patch.begin()))
        return fail(Result::InvalidData, 0);
    const std::size_t size = patch.size();
    std::size_t pos = kHeader.size();
    for (;;) {
        // Fewer than three bytes left can hold neither a record nor the marker.
        if (size - pos < 3) return fail(Result::NoEndMarker, pos);
        if (std::equal(kFooter.begin(), kFooter.end(), patch.begin() + pos)) break;
        const std::size_t start = pos;
        Record r;
        r.offset = bigEndian(patch, pos, 3);
        pos += 3;
        r.target = r.offset;
        if (mode == Mode::TrainerInput && r.offset >= kInesHeader) {
            if (r.offset < kTrainerEnd) return fail(Result::TrainerArea, start);
            r.target = r.offset - kTrainerShift;
        } else if (mode == Mode::PlainInput && r.offset >= kInesHeader) {
            r.target = r.offset + kTrainerShift;
        }
        if (limit && r.target >= *limit) return fail(Result::AddressesBeyond, start);
        if (size - pos < 2) return fail(Result::InvalidData, start);
        r.length = bigEndian(patch, pos, 2);
        pos += 2;
        if (r.length != 0) {
            if (limit && r.target + r.length > *limit) return fail(Result::AddressesBeyond, start);
            if (size - pos < r.length) return fail(Result::InvalidData, start);
            r.data = patch.subspan(pos, r.length);
            pos += r.length;
        } else {
            if (size - pos < 3) return fail(Result::InvalidData, start);
            r.run = true;
            r.length = bigEndian(patch, pos, 2);
            r.value = patch[pos + 2];
            pos += 3;
            if (limit && r.target + r.length > *limit) return fail(Result::AddressesBeyond, start);
        }
        visit(r);
    }
    end = pos + kFooter.size();
    return Status{};
}

} // namespace

const ResultInfo& info(Result r) {
    return kResults[static_cast<std::size_t>(r)];
}

std::string message(const Status& s) {
    const ResultInfo& row = info(s.result);
    std::string text(row.text);
    if (s.result == Result::AddressesBeyond) text += withThousands(s.limit);
    text += row.afterSize;
    return text;
}

int exitCode(const Status& s) {
    return info(s.result).exitCode;
}

std::optional<Mode> modeFromNumber(int n) {
    if (n < 0 || n > 4) return std::nullopt;
    return static_cast<Mode>(n);
}

bool modeFitsImage(Mode mode, std::size_t imageSize) {
    const bool trainer = imageSize == static_cast<std::size_t>(kTrainerSize);
    switch (mode) {
    case Mode::None:
        return true;
    case Mode::PlainInput:
        return trainer;
    case Mode::TrainerInput:
    case Mode::Extend:
    case Mode::ExpandWithTrainer:
        return !trainer;
    }
    return false;
}

Parsed parse(std::span<const std::uint8_t> patch) {
    Parsed out;
    out.status = walk(patch, Mode::None, std::nullopt, out.end,
                      [&](const Record& r) { out.records.push_back(r); });
    return out;
}

std::string describe(std::span<const std::uint8_t> patch,
                     const std::function<void(std::string_view)>& line) {
    constexpr std::size_t kShown = 8;
    std::size_t end = 0;
    const Status s = walk(patch, Mode::None, std::nullopt, end, [&](const Record& r) {
        char buf[64]; // at most 49 characters
        int n = std::snprintf(buf, sizeof buf, "0x%06X  %s %u ", static_cast<unsigned>(r.offset),
                              r.run ? "run" : "data", static_cast<unsigned>(r.length));
        const std::size_t shown = r.run ? 1 : std::min(kShown, r.data.size());
        for (std::size_t k = 0; k < shown; ++k)
            n += std::snprintf(buf + n, sizeof buf - static_cast<std::size_t>(n), " %02X",
                               static_cast<unsigned>(r.run ? r.value : r.data[k]));
        if (r.data.size() > kShown)
            n += std::snprintf(buf + n, sizeof buf - static_cast<std::size_t>(n), " ...");
        line(std::string_view(buf, static_cast<std::size_t>(n)));
    });
    if (s.ok()) return {};
    std::string text = "at byte " + std::to_string(s.position) + ": " + message(s);
    std::replace(text.begin(), text.end(), '\r', ' ');
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    return text;
}

Status applyPatch(std::span<const std::uint8_t> patch, std::vector<std::uint8_t>& target,
                  const ApplyOptions& options) {
    // The patch's own size is judged first, as the file is before anything else.
    if (patch.size() < kMinPatchSize) return Status{Result::BadFileSize, 0, 0};
    const bool game = options.gameImage;
    const std::size_t size = target.size();
    const bool layoutSize = size == kPlainSize || size == kTrainerSize;
    if (game ? !layoutSize : options.mode != Mode::None) return Status{Result::NotGameImage, 0, 0};
    const bool expand = game && size == kPlainSize &&
                        (options.mode == Mode::Extend || options.mode == Mode::ExpandWithTrainer);
    const std::size_t base = expand ? kTrainerSize : size;

    // Two passes over the patch: the first checks every record (and finds how far a
    // plain buffer must grow), the second writes. Nothing is kept between them, so a
    // patch of many small records costs no more memory than the image itself.
    const std::optional<std::size_t> limit = game ? std::optional<std::size_t>(base) : std::nullopt;
    std::size_t end = size, patchEnd = 0;
    const Status checked = walk(patch, options.mode, limit, patchEnd, [&](const Record& r) {
        if (r.length != 0) end = std::max<std::size_t>(end, r.target + r.length);
    });
    if (!checked.ok()) return checked;
    // A file no patch could address again is not made: the limit of every file read
    // as a patch target holds for what we write as well.
    if (!game && end > kOffsetLimit) return Status{Result::TooLarge, kOffsetLimit, 0};

    // Everything is checked; from here on nothing can refuse.
    if (expand) {
        target.resize(kTrainerSize, 0);
        if (options.mode == Mode::ExpandWithTrainer) {
            std::copy_backward(target.begin() + kInesHeader, target.begin() + kPlainSize,
                               target.end());
            std::fill(target.begin() + kInesHeader, target.begin() + kTrainerEnd, 0);
        }
    }
    if (!game) target.resize(end, 0);
    std::uint8_t* image = target.data();
    walk(patch, options.mode, limit, patchEnd, [&](const Record& r) {
        // An empty run may name any offset, even past the end: it writes nothing.
        if (r.run && r.length != 0)
            std::memset(image + r.target, r.value, r.length);
        else if (!r.run)
            std::memcpy(image + r.target, r.data.data(), r.length);
    });
    return Status{};
}

} // namespace qv::ips
