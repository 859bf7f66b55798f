#include "core/ips/ips.h"

#include <algorithm>
#include <array>
#include <cstring>

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

// Walks the records in the order the editor has always checked them, so that
// of several faults in one patch the first one met is the one reported. `limit`
// is the image size every write must stay below; none means unbounded. Each
// record read is handed to `visit`; the records before a fault are visited too.
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

// Where a record at `offset` writes under `mode`, or kNoTarget inside the trainer
// that mode 1 cannot patch.
constexpr std::size_t kNoTarget = ~std::size_t{0};
std::size_t correctedTarget(Mode mode, std::size_t offset) {
    if (offset < kInesHeader) return offset;
    if (mode == Mode::TrainerInput)
        return offset < kTrainerEnd ? kNoTarget : offset - kTrainerShift;
    if (mode == Mode::PlainInput) return offset + kTrainerShift;
    return offset;
}

// The header of the record at `r`: its offset and its length field.
std::size_t offsetAt(const std::uint8_t* r) {
    return std::size_t{r[0]} << 16 | std::size_t{r[1]} << 8 | r[2];
}
std::size_t lengthAt(const std::uint8_t* r) {
    return std::size_t{r[3]} << 8 | r[4];
}

// The common case of applyPatch in one quick pass: true when walk() would accept
// every record, with `end` raised to the furthest byte a record writes. Any fault
// gives false and leaves the exact status to walk(). Records are read without
// building a Record each, since a patch of scattered edits has one per byte.
template <bool kCorrected>
bool quickCheck(std::span<const std::uint8_t> patch, Mode mode, std::size_t limit,
                std::size_t& end) {
    const std::uint8_t* const p = patch.data();
    const std::size_t size = patch.size();
    if (size < kMinPatchSize || !std::equal(kHeader.begin(), kHeader.end(), p)) return false;
    std::size_t pos = kHeader.size();
    std::size_t furthest = end;
    for (;;) {
        if (size - pos < 5) {
            // Room for the end marker at most.
            if (size - pos < 3 || bigEndian(patch, pos, 3) != kEndMarkerOffset) return false;
            break;
        }
        const std::uint8_t* r = p + pos;
        const std::size_t offset = offsetAt(r);
        if (offset == kEndMarkerOffset) break;
        const std::size_t target = kCorrected ? correctedTarget(mode, offset) : offset;
        if (target >= limit) return false; // also the trainer's kNoTarget
        std::size_t length = lengthAt(r);
        if (length == 1) {
            // The usual record of scattered edits, on its own branch so that the
            // next record's position does not wait for this one's length.
            if (size - pos < 6) return false;
            pos += 6;
            furthest = std::max(furthest, target + 1);
            continue;
        }
        if (length != 0) {
            if (size - pos - 5 < length) return false;
            pos += 5 + length;
        } else {
            if (size - pos < 8) return false;
            length = std::size_t{r[5]} << 8 | r[6];
            pos += 8;
        }
        if (length > limit - target) return false;
        if (length != 0) furthest = std::max(furthest, target + length);
    }
    end = furthest;
    return true;
}

// Writes every record of a patch that quickCheck accepted.
template <bool kCorrected>
void quickWrite(std::span<const std::uint8_t> patch, Mode mode, std::uint8_t* image) {
    const std::uint8_t* const p = patch.data();
    std::size_t pos = kHeader.size();
    for (;;) {
        const std::uint8_t* r = p + pos;
        const std::size_t offset = offsetAt(r);
        if (offset == kEndMarkerOffset) return;
        const std::size_t target = kCorrected ? correctedTarget(mode, offset) : offset;
        const std::size_t length = lengthAt(r);
        if (length == 1) {
            image[target] = r[5];
            pos += 6;
        } else if (length != 0) {
            std::memcpy(image + target, r + 5, length);
            pos += 5 + length;
        } else {
            // An empty run may name any offset, even past the end: it writes nothing.
            const std::size_t count = std::size_t{r[5]} << 8 | r[6];
            if (count != 0) std::memset(image + target, r[7], count);
            pos += 8;
        }
    }
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
    std::size_t end = size;
    const bool corrected = options.mode == Mode::TrainerInput || options.mode == Mode::PlainInput;
    const bool accepted =
        corrected ? quickCheck<true>(patch, options.mode, limit.value_or(kNoTarget), end)
                  : quickCheck<false>(patch, options.mode, limit.value_or(kNoTarget), end);
    if (!accepted) {
        // A refusal: walk again, record by record, for the fault to report.
        std::size_t patchEnd = 0;
        const Status checked = walk(patch, options.mode, limit, patchEnd, [](const Record&) {});
        if (!checked.ok()) return checked;
        // Both passes accept exactly the same patches; never write on a disagreement.
        return Status{Result::InvalidData, limit.value_or(0), 0};
    }
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
    if (corrected)
        quickWrite<true>(patch, options.mode, target.data());
    else
        quickWrite<false>(patch, options.mode, target.data());
    return Status{};
}

} // namespace qv::ips
