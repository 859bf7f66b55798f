#include "core/document.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>

#include "core/fileio.h"
#include "core/filelock.h"
#include "core/filestamp.h"
#include "core/system.h"

namespace qv {

std::string_view loadMessage(LoadStatus s) {
    switch (s) {
    case LoadStatus::Ok:
        return "";
    case LoadStatus::Missing:
        return "The file does not exist.";
    case LoadStatus::WrongFormat:
        return "The specified file is in the wrong format.";
    case LoadStatus::BadSize:
        return "The file cannot be opened.\r\nThe filesize is invalid.";
    }
    return "";
}

LoadStatus readGameImage(const std::string& path, std::vector<std::uint8_t>& bytes) {
    // One read answers every question; asked in this order: is there a file, is it a
    // .nes file, is it a readable file of a game image's size.
    auto read = readWholeFile(path, kTrainerSize); // nothing for anything larger
    if (!read && !fileExists(path)) return LoadStatus::Missing;
    if (upperExtension(path) != ".NES") return LoadStatus::WrongFormat;
    if (!read || (read->size() != kPlainSize && read->size() != kTrainerSize))
        return LoadStatus::BadSize;
    bytes = std::move(*read);
    return LoadStatus::Ok;
}

LoadStatus RomDocument::load(const std::string& path) {
    // Read before touching the state, so that a read that fails changes nothing.
    std::vector<std::uint8_t> bytes;
    if (const LoadStatus s = readGameImage(path, bytes); s != LoadStatus::Ok) return s;
    replace(bytes, path);
    updateFileStamp();
    return LoadStatus::Ok;
}

bool RomDocument::replace(std::span<const std::uint8_t> bytes, const std::string& name,
                          bool modified) {
    if (bytes.size() != kPlainSize && bytes.size() != kTrainerSize) return false;
    fileName_ = name;
    std::fill(std::copy(bytes.begin(), bytes.end(), image_.begin()), image_.end(), 0);
    snapshot_.fill(0);
    undoState_ = UndoState::None;
    undoAvailable_ = false;
    undoSuffix_.clear();
    fileSize_ = static_cast<int>(bytes.size());
    modified_ = modified;
    // Unmodified, the bytes are what the file holds (loaded, or just written by us).
    if (modified)
        version_.clear();
    else
        version_.take(name, bytes);
    announce({DocumentChange::Loaded, {}});
    return true;
}

std::string backupName(const std::string& path, std::string_view tail) {
    // The last three characters give way to the tail: game.nes -> game.~nes.
    if (path.size() < 3) return std::string(tail);
    return path.substr(0, path.size() - 3) + std::string(tail);
}

SaveResult writeWithBackup(const std::string& path, std::span<const std::uint8_t> bytes,
                           bool backup, std::string_view tail, FileVersion* expected) {
    // Our other writers (qorv) wait while this one checks and replaces the file.
    FileLock lock;
    if (std::string busy; !lock.acquire(path, kLockWait, busy))
        return {false, "Cannot write the file " + path + ".\r\n" + busy};
    // Checked first, so that a target we may not replace gets no backup either.
    if (const WriteResult usable = checkReplaceable(path); !usable.ok)
        return {false, "Cannot write the file " + path + ".\r\n" + usable.error};
    if (expected && expected->path() == path && expected->unchanged() == false)
        return {false, "The file " + path + " has been changed by another program.", true};
    namespace fs = std::filesystem;
    std::error_code ec;
    if (backup && fs::is_regular_file(fsPath(path), ec)) {
        // The backup is written like any file, whole or not at all, and the file
        // itself is only ever replaced by a complete new one below.
        const std::string bak = backupName(path, tail);
        const auto old = readWholeFile(path, std::numeric_limits<std::uintmax_t>::max());
        const WriteResult b = old ? writeFileAtomic(bak, *old, WriteOptions{path, false})
                                  : WriteResult{false, "The file could not be read."};
        if (!b.ok) return {false, "Cannot create the backup file " + bak + ".\r\n" + b.error};
    }
    const WriteResult r = writeFileAtomic(path, bytes);
    if (!r.ok) return {false, "Cannot write the file " + path + ".\r\n" + r.error};
    return {};
}

SaveResult RomDocument::write(bool backup, bool replaceChanged) {
    if (!isOpen()) return {false, "No document is open."};
    SaveResult r = writeWithBackup(fileName_, fileBytes(), backup, "~nes",
                                   replaceChanged ? nullptr : &version_);
    if (r.ok) version_.take(fileName_, fileBytes()); // what is on disk now is ours
    return r;
}

void RomDocument::markSaved() {
    modified_ = false;
    updateFileStamp();
    version_.take(fileName_, fileBytes());
    announce({DocumentChange::Saved, {}});
}

std::vector<ByteRange> differingRanges(std::span<const std::uint8_t> a,
                                       std::span<const std::uint8_t> b) {
    std::vector<ByteRange> out;
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n;) {
        // Equal blocks are passed over in one memcmp: every edit compares whole images,
        // and a comparison per byte held the document fuzz target to a few hundred runs
        // a second, against the 10,000 it is to reach.
        const std::size_t end = i + std::min<std::size_t>(256, n - i);
        if (std::memcmp(a.data() + i, b.data() + i, end - i) == 0) {
            i = end;
            continue;
        }
        for (; i < end; ++i) {
            if (a[i] == b[i]) continue;
            const int at = static_cast<int>(i);
            if (!out.empty() && out.back().last + 1 == at)
                out.back().last = at;
            else
                out.push_back({at, at});
        }
    }
    return out;
}

std::vector<ByteRange> RomDocument::commit(std::span<const std::uint8_t> file,
                                           std::string_view undoSuffix) {
    if (!isOpen() || file.size() != static_cast<std::size_t>(fileSize_)) return {};
    std::vector<ByteRange> changed = differingRanges(fileBytes(), file);
    if (!changed.empty()) {
        beginEdit(undoSuffix);
        std::copy(file.begin(), file.end(), image_.begin());
    }
    announce({DocumentChange::Edited, changed});
    return changed;
}

void RomDocument::beginEdit(std::string_view undoSuffix) {
    snapshot_ = image_;
    undoState_ = modified_ ? UndoState::StaysChanged : UndoState::BackToSaved;
    undoAvailable_ = true;
    undoSuffix_ = undoSuffix;
    modified_ = true;
}

std::string RomDocument::apply(std::span<const ValueEdit> edits, std::string_view undoSuffix) {
    std::vector<std::uint8_t> file(fileBytes().begin(), fileBytes().end());
    std::string problem = storeValues(edits, file);
    if (problem.empty()) commit(file, undoSuffix);
    return problem;
}

bool RomDocument::writeByte(int position, std::uint8_t value, std::string_view undoSuffix) {
    if (position < 0 || position >= fileSize_) return false;
    std::vector<ByteRange> changed;
    if (at(position) != value) {
        beginEdit(undoSuffix);
        image_[static_cast<std::size_t>(position)] = value;
        changed.push_back({position, position});
    }
    announce({DocumentChange::Edited, std::move(changed)});
    return true;
}

void RomDocument::undo() {
    if (!undoAvailable_) return;
    std::vector<ByteRange> changed = differingRanges(fileBytes(), snapshot_);
    image_ = snapshot_;
    if (!modified_) {
        modified_ = true;
        undoState_ = UndoState::StaysChanged;
    } else if (undoState_ == UndoState::BackToSaved) {
        undoState_ = UndoState::None;
        modified_ = false;
    }
    undoAvailable_ = false;
    announce({DocumentChange::Undone, std::move(changed)});
}

void RomDocument::close() {
    modified_ = false;
    fileSize_ = 0;
    undoState_ = UndoState::None;
    undoAvailable_ = false;
    undoSuffix_.clear();
    stamp_ = 0;
    version_.clear();
    // The file name stays, so the next Open starts in its folder.
    announce({DocumentChange::Closed, {}});
}

bool RomDocument::updateFileStamp() {
    const auto s = readFileStamp(fileName_);
    if (!s) return false;
    stamp_ = *s;
    return true;
}

bool RomDocument::fileOnDisk() const {
    std::error_code ec;
    return !fileName_.empty() && std::filesystem::is_regular_file(fsPath(fileName_), ec);
}

std::string RomDocument::undoCaption() const {
    return undoAvailable_ ? std::string(kUndoPrefix) + undoSuffix_ : std::string(kCannotUndo);
}

std::string RomDocument::title(bool fullPath) const {
    if (!isOpen()) return std::string(kProductName);
    std::string t = fullPath ? fileName_ : baseName(fileName_);
    if (modified_) t += " *";
    return t + " - " + std::string(kProductName);
}

std::string RomDocument::sizeText() const {
    if (!isOpen()) return {};
    return trainer() ? "41,488 bytes" : "40,976 bytes";
}

int RomDocument::subscribe(std::function<void(const DocumentEvent&)> follower) const {
    followers_.push_back({nextFollower_, std::move(follower)});
    return nextFollower_++;
}

void RomDocument::unsubscribe(int id) const {
    std::erase_if(followers_, [id](const Follower& f) { return f.id == id; });
}

void RomDocument::announce(const DocumentEvent& event) const {
    // A follower may subscribe or leave while being told: tell those of the moment.
    const std::vector<Follower> now = followers_;
    for (const Follower& f : now)
        f.tell(event);
}

} // namespace qv
