#include "core/document.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "core/fileio.h"
#include "core/filelock.h"
#include "core/filestamp.h"

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
    version_.take(path, bytes);
    return LoadStatus::Ok;
}

bool RomDocument::replace(std::span<const std::uint8_t> bytes, const std::string& name) {
    if (bytes.size() != kPlainSize && bytes.size() != kTrainerSize) return false;
    fileName_ = name;
    image_.fill(0);
    snapshot_.fill(0);
    undoState_ = 0;
    undoAvailable_ = false;
    undoSuffix_.clear();
    std::copy(bytes.begin(), bytes.end(), image_.begin());
    fileSize_ = static_cast<int>(bytes.size());
    modified_ = false;
    announce(DocumentChange::Loaded);
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
    if (backup && fs::is_regular_file(path, ec)) {
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
    announce(DocumentChange::Saved);
}

void RomDocument::recordUndo(const RomBuffer& before, std::string_view undoSuffix) {
    snapshot_ = before;
    undoState_ = modified_ ? 2 : 1;
    undoAvailable_ = true;
    undoSuffix_ = undoSuffix;
    modified_ = true;
}

bool RomDocument::commitEdit(const RomBuffer& before, std::string_view undoSuffix) {
    const bool changed = before != image_;
    if (changed) recordUndo(before, undoSuffix);
    announce(DocumentChange::Edited);
    return changed;
}

void RomDocument::commitWrite(std::string_view undoSuffix) {
    recordUndo(image_, undoSuffix);
    announce(DocumentChange::Written);
}

void RomDocument::undo() {
    image_ = snapshot_;
    if (!modified_) {
        modified_ = true;
        undoState_ = 2;
    } else if (undoState_ == 1) {
        undoState_ = 0;
        modified_ = false;
    }
    undoAvailable_ = false;
    announce(DocumentChange::Undone);
}

void RomDocument::close() {
    modified_ = false;
    fileSize_ = 0;
    undoState_ = 0;
    undoAvailable_ = false;
    undoSuffix_.clear();
    stamp_ = 0;
    version_.clear();
    // The file name stays, so the next Open starts in its folder.
    announce(DocumentChange::Closed);
}

bool RomDocument::updateFileStamp() {
    const auto s = readFileStamp(fileName_);
    if (!s) return false;
    stamp_ = *s;
    return true;
}

bool RomDocument::fileOnDisk() const {
    std::error_code ec;
    return !fileName_.empty() && std::filesystem::is_regular_file(fileName_, ec);
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

std::string RomDocument::stampText() const {
    if (!isOpen() || !fileOnDisk()) return {};
    return formatStamp(stamp_);
}

} // namespace qv
