#pragma once
// The IPS patch format on bytes in memory: reading and checking a patch,
// applying it to an image (with the address corrections and expansions between
// the plain and the trainer layout), creating one from two images, and listing
// its records. No file access here; see ipsfile.h for that.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv::ips {

inline constexpr std::size_t kMinPatchSize = 8;          // header + end marker
inline constexpr std::uint32_t kOffsetLimit = 0x1000000; // offsets are 24 bits
inline constexpr std::uint32_t kMaxRecordLength = 0xFFFF;
inline constexpr std::uint32_t kEndMarkerOffset = 0x454F46; // "EOF" read as an offset

enum class Result {
    Ok,
    FileMissing,     // the patch file does not exist
    WrongFormat,     // the patch file's extension is not ".ips"
    BadFileSize,     // shorter than 8 bytes, or unreadable
    InvalidData,     // no header, or a record cut off by the end of the patch
    NoEndMarker,     // the records run to the end of the patch without "EOF"
    TrainerArea,     // mode 1 met a record inside the trainer
    AddressesBeyond, // a record writes at or past the end of the image
    NotGameImage,    // a game image of another size, or a mode asked for on any other buffer
    BaseInvalid,     // creation: the base cannot be compared with the edited image
    Identical,       // creation: nothing differs and the caller refuses that
    TooLarge,        // the files are (or would become) larger than 24-bit offsets reach
};

// One row per result: the text shown to the user and the `qorv` exit code.
// For AddressesBeyond the image size (with thousands separators) goes between
// `text` and `afterSize`.
struct ResultInfo {
    Result result;
    std::string_view text;
    std::string_view afterSize;
    int exitCode;
};
const ResultInfo& info(Result r);

struct Status {
    Result result = Result::Ok;
    std::size_t limit = 0;    // the image size an AddressesBeyond refusal names
    std::size_t position = 0; // where in the patch the fault was met
    bool ok() const { return result == Result::Ok; }
};
std::string message(const Status& s); // "" for Ok
int exitCode(const Status& s);

// The address corrections (1, 2) and expansions (3, 4) of the apply dialog, by
// the dialog's mode numbers.
enum class Mode {
    None = 0,
    TrainerInput = 1,      // patch made for 41,488 bytes, applied to 40,976
    PlainInput = 2,        // patch made for 40,976 bytes, applied to 41,488
    Extend = 3,            // 40,976 -> 41,488, the new bytes zero at the end
    ExpandWithTrainer = 4, // 40,976 -> 41,488, a zero trainer after the header
};
std::optional<Mode> modeFromNumber(int n);
// Which modes fit an image of this size: the corrections go from the other layout to
// this one, and only an image without a trainer can be expanded. No mode (0) always fits.
bool modeFitsImage(Mode mode, std::size_t imageSize);

struct Record {
    std::uint32_t offset = 0; // as written in the patch
    std::uint32_t target = 0; // where it writes, after address correction
    std::uint32_t length = 0; // bytes written: the data length or the run count
    bool run = false;
    std::uint8_t value = 0;             // run records: the byte written `length` times
    std::span<const std::uint8_t> data; // plain records: a view into the patch
};

struct Parsed {
    Status status;
    std::vector<Record> records; // those read before the end marker or the fault
    std::size_t end = 0;         // position just past the end marker
};
// Reads the whole patch without a target; offsets are not corrected.
Parsed parse(std::span<const std::uint8_t> patch);

struct ApplyOptions {
    Mode mode = Mode::None;
    // A game image is 40,976 or 41,488 bytes and records are never written past
    // its end. Otherwise the target is any buffer, only mode None is accepted, and
    // records past its end extend it with zeros up to where they write, as long as
    // it stays within kOffsetLimit bytes (TooLarge otherwise).
    bool gameImage = true;
};
// Checks every record before writing: on any refusal `target` is left exactly as
// it was. On success it holds the patched image (41,488 bytes after an
// expansion).
Status applyPatch(std::span<const std::uint8_t> patch, std::vector<std::uint8_t>& target,
                  const ApplyOptions& options = {});

struct CreateOptions {
    bool refuseIdentical = false; // the editor's `IpsIdentity` setting
};
struct Created {
    Status status;
    std::vector<std::uint8_t> patch; // empty unless ok
};
// The smallest patch that turns `base` into `edited` (equal sizes) with records that
// do not overlap: data and run records, each at most 65,535 bytes, joined across
// unchanged bytes where one record is smaller than two, and none at 0x454F46.
Created create(std::span<const std::uint8_t> base, std::span<const std::uint8_t> edited,
               const CreateOptions& options = {});

// Lists the records as they are read, one line each to `line`: "0x00107A  data 1  08"
// or "0x003457  run 3  EA"; data records show their first 8 bytes. Returns "" or,
// after a fault, where it was met and its message ("at byte 34: Invalid data in IPS
// file.").
std::string describe(std::span<const std::uint8_t> patch,
                     const std::function<void(std::string_view)>& line);

} // namespace qv::ips
