#pragma once
// Whole-file reading and atomic whole-file replacement, shared by every writer
// (game images, patches, the settings file) so that a failed write never leaves
// a truncated file behind.
#include <cctype>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace qv {

bool fileExists(const std::string& path); // anything at that path, folders included
// Whether the file can be opened for reading (a FIFO is not waited on).
bool canOpenForReading(const std::string& path);
// Size of a file that can be opened for reading, or nothing.
std::optional<std::uintmax_t> readableFileSize(const std::string& path);
// The whole file, or nothing when it cannot be opened or is larger than maxSize.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path,
                                                       std::uintmax_t maxSize);
// A whole regular file mapped read-only, for large files that are only looked at:
// their bytes are neither copied nor given memory of their own. Another program
// cutting the file short while it is mapped raises SIGBUS at the next access of
// the bytes it lost.
class MappedFile {
  public:
    // Nothing when the file cannot be opened or is larger than maxSize.
    static std::optional<MappedFile> open(const std::string& path, std::uintmax_t maxSize);
    MappedFile(MappedFile&& other) noexcept : bytes_(std::exchange(other.bytes_, {})) {}
    MappedFile& operator=(MappedFile&&) = delete;
    ~MappedFile();
    std::span<const std::uint8_t> bytes() const { return bytes_; }

  private:
    explicit MappedFile(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::span<const std::uint8_t> bytes_;
};

struct WriteResult {
    bool ok = true;
    std::string error; // the system's reason, for the error message
};
struct WriteOptions {
    // The file whose mode, owner and group the new file takes, as a backup takes its
    // original's; empty: the replaced file's own, or the usual ones for a new file.
    std::string attributesFrom;
    // Only links of the user's own (or root's) are followed: for a file in a place
    // that others may have prepared, as the settings file.
    bool ownLinksOnly = false;
};

// Writes a temporary file in the target's folder and renames it over the target
// only when it is complete, then syncs the folder so that the new name survives a
// power cut. A link is followed to the file it names (created when missing), except
// a link of another user's in a sticky folder anyone may write, as the kernel's
// protected_symlinks rule has it; a target that is not a regular file, or that the
// user may not write, is refused before anything is written. The replaced file
// keeps its permissions, owner and group: when the new file cannot be given the
// owner, the new contents are written into the file itself, a complete copy of the
// old ones kept beside it until they are. The temporary file is removed on failure
// and on SIGINT/SIGTERM/SIGHUP; SIGXFSZ is ignored while writing, so that a file
// size limit fails the write like a full disk. Temporary files of earlier saves of
// the same file that were killed outright are removed after a success.
WriteResult writeFileAtomic(const std::string& path, std::span<const std::uint8_t> data,
                            const WriteOptions& options = {});

// Whether writeFileAtomic may replace the file at path (nothing is written): a
// missing file, or a regular file (or a link to one that may be followed) the user
// may write.
WriteResult checkReplaceable(const std::string& path);

// Test hook: when set, the next atomic writes fail as if the disk were full.
void setWriteFailureForTesting(bool fail);

// The last path component.
std::string baseName(const std::string& path);
std::string dirName(const std::string& path);

// The extension with its dot, upper-cased ("game.NeS" -> ".NES"); empty without one.
inline std::string upperExtension(const std::string& path) {
    const std::string name = baseName(path);
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) return {};
    std::string ext = name.substr(dot);
    for (char& c : ext)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ext;
}

} // namespace qv
