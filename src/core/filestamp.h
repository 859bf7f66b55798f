#pragma once
// The file's last-write time in the two-second packed form shown in the status bar:
// bits 0-4 seconds/2, 5-10 minutes, 11-15 hours, 16-20 day, 21-24 month, 25-31 years since 1980.
// And, to tell whether another program has written a file, what the file is to full
// resolution.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

struct StampFields {
    int year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

std::uint32_t packStamp(const StampFields& f);
StampFields unpackStamp(std::uint32_t packed);
// "2026/12/07 12:34:56": four-digit year, the rest two digits, seconds always even.
std::string formatStamp(std::uint32_t packed);
// Last-write time of a file as local time, packed; nothing when it cannot be read.
std::optional<std::uint32_t> readFileStamp(const std::string& path);

// Which file is at a path (device and inode), its size and its last-write time to the
// nanosecond.
struct FileIdentity {
    std::uint64_t device = 0, inode = 0;
    std::int64_t size = 0, seconds = 0, nanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};
// Of a regular file (a link is followed); nothing for anything else.
std::optional<FileIdentity> readFileIdentity(const std::string& path);

// A file as we last read or wrote it, to tell later whether another program has
// written it since.
class FileVersion {
  public:
    // After `path` was read or written whole: `contents` is what it holds.
    void take(const std::string& path, std::span<const std::uint8_t> contents);
    void clear() { *this = FileVersion(); }
    const std::string& path() const { return path_; }

    // Whether the file at path() is still the one taken: its identity first; when that
    // is equal but the file had been written shortly before it was taken, a write in
    // the same tick of the file system's clock would have kept it, so its contents
    // decide. Nothing when the file cannot be read now.
    std::optional<bool> unchanged();

  private:
    std::string path_;
    std::optional<FileIdentity> identity_;
    // A copy rather than a digest: the files watched are game images of 40 KB, and a
    // copy is compared exactly, and costs less to take.
    std::vector<std::uint8_t> contents_;
    std::int64_t takenAt_ = 0; // nanoseconds of the system clock
};

} // namespace qv
