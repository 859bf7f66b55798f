#pragma once
// The open game image and its document state: the image, the one-level undo
// snapshot, size, trainer, modified flag, undo state and file stamp.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/filestamp.h"
#include "core/rom.h"

namespace qv {

inline constexpr std::string_view kProductName = "Quorvane";
inline constexpr std::string_view kUndoPrefix = "&Undo ";
inline constexpr std::string_view kCannotUndo = "Cannot &Undo";

enum class LoadStatus { Ok, Missing, WrongFormat, BadSize };
std::string_view loadMessage(LoadStatus s); // "" for Ok
// A game image's whole file, checked as the editor checks a file it opens; `bytes` is
// left alone unless the result is Ok.
LoadStatus readGameImage(const std::string& path, std::vector<std::uint8_t>& bytes);

struct SaveResult {
    bool ok = true;
    std::string error; // the message shown when the write failed
    // Nothing was written because another program has changed the file since it was
    // last read or written: the caller asks what to do.
    bool changedOnDisk = false;
};

// What the document announces to whoever follows it (the main window's title, Undo
// item, address bar, status bar and enable states), after the change is made.
enum class DocumentChange {
    Loaded,  // a load or a replacing image: a new document
    Edited,  // an edit was committed (announced whether or not a byte changed)
    Written, // the address bar's byte write was committed
    Undone,
    Saved,
    Closed,
};

class RomDocument {
  public:
    RomDocument() {
        image_.fill(0);
        snapshot_.fill(0);
    }

    // Checks existence, then extension ".NES", then size, in that order; on any
    // failure nothing of the state changes.
    LoadStatus load(const std::string& path);
    // Writes the image to the current file name; with backup, the old file is kept
    // as "~nes" first. A failed write leaves file and state as they were. Unless
    // `replaceChanged`, a file another program has changed since the document last
    // read or wrote it is left alone (changedOnDisk).
    SaveResult write(bool backup, bool replaceChanged = false);
    // After a successful write by the caller's command: clears the modified flag
    // and takes the new stamp.
    void markSaved();
    // The image differs from its file without an undoable edit (a patched image
    // that has not been written yet).
    void markModified() {
        modified_ = true;
        announce(DocumentChange::Edited);
    }
    // Compares the image with the copy taken before an operation; on a difference
    // the copy becomes the undo snapshot. Returns whether anything changed.
    bool commitEdit(const RomBuffer& before, std::string_view undoSuffix);
    // The address bar's commit: no comparison, the snapshot is the image now.
    void commitWrite(std::string_view undoSuffix);
    void undo();
    void close();
    // Re-reads the stamp of the current file; false (stamp kept) when unreadable.
    bool updateFileStamp();
    // Whether the current file is still the one last loaded or saved; nothing when it
    // cannot be read, or when the document has not been loaded from or saved to it.
    std::optional<bool> fileUnchanged() {
        if (version_.path() != fileName_) return std::nullopt;
        return version_.unchanged();
    }

    bool isOpen() const { return fileSize_ != 0; }
    int fileSize() const { return fileSize_; }
    bool trainer() const { return fileSize_ == kTrainerSize; }
    int shift() const { return trainer() ? kTrainerShift : 0; }
    int lastAddress() const { return (trainer() ? kTrainerSize : kPlainSize) - 1; }
    bool modified() const { return modified_; }
    int undoState() const { return undoState_; }
    bool undoAvailable() const { return undoAvailable_; }
    std::string undoCaption() const;
    const std::string& fileName() const { return fileName_; }
    void setFileName(const std::string& name) { fileName_ = name; }
    std::uint32_t fileStamp() const { return stamp_; }
    bool fileOnDisk() const;

    RomBuffer& image() { return image_; }
    const RomBuffer& image() const { return image_; }
    const RomBuffer& snapshot() const { return snapshot_; }
    std::span<const std::uint8_t> fileBytes() const {
        return {image_.data(), static_cast<std::size_t>(fileSize_)};
    }
    // Makes the given bytes the document, as a load does, under a file name that
    // may not exist yet (a patched image); the size must be a valid one.
    bool replace(std::span<const std::uint8_t> bytes, const std::string& name);

    // One follower at a time; an empty function stops the announcements.
    void setObserver(std::function<void(DocumentChange)> observer) {
        observer_ = std::move(observer);
    }

    // "game.nes * - Quorvane", or the product name with no document.
    std::string title(bool fullPath) const;
    // "40,976 bytes" / "41,488 bytes", empty with no document.
    std::string sizeText() const;
    // The stamp panel: formatted stamp, or empty when the stamp is unknown.
    std::string stampText() const;

  private:
    void announce(DocumentChange change) {
        if (observer_) observer_(change);
    }
    // `before` becomes what Undo restores, and the document is modified.
    void recordUndo(const RomBuffer& before, std::string_view undoSuffix);

    std::function<void(DocumentChange)> observer_;
    RomBuffer image_{};
    RomBuffer snapshot_{};
    int fileSize_ = 0;
    std::string fileName_;
    bool modified_ = false;
    int undoState_ = 0;
    bool undoAvailable_ = false;
    std::string undoSuffix_;
    std::uint32_t stamp_ = 0;
    FileVersion version_;
};

std::string backupName(const std::string& path, std::string_view tail); // game.nes -> game.~nes
// Replaces the file at `path` by `bytes`; with `backup` an existing file is first
// copied to its backup name with `tail` ("~nes", "~ips"). The file itself is only
// ever replaced by a complete new one. With `expected`, a file that is no longer that
// version is left alone (changedOnDisk).
SaveResult writeWithBackup(const std::string& path, std::span<const std::uint8_t> bytes,
                           bool backup, std::string_view tail, FileVersion* expected = nullptr);

} // namespace qv
