#pragma once
// The open game image and its document state: the image, the one-level undo
// snapshot, size, trainer, modified flag, undo state and file stamp. The document
// owns every change of the image: loads, the one edit service (dialogs' OK, the
// address bar, qorv set, presets) and undo all happen here, and each is announced,
// with the bytes it changed, to whoever follows the document.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/filestamp.h"
#include "core/rom.h"
#include "core/valueedit.h"

namespace qv {

inline constexpr std::string_view kProductName = "Quorvane";
inline constexpr std::string_view kUndoPrefix = "&Undo ";
inline constexpr std::string_view kCannotUndo = "Cannot &Undo";
inline constexpr std::string_view kWriteValueSuffix = "Write Value";

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

enum class DocumentChange {
    Loaded, // a load or a replacing image: a new document
    Edited, // an edit was committed, whether or not it changed a byte
    Undone,
    Saved,
    Closed,
};

// One announcement, made after the change.
struct DocumentEvent {
    DocumentChange change = DocumentChange::Edited;
    // The file positions (header and trainer included) whose bytes changed, in order:
    // for Edited and Undone (empty for an edit that changed nothing); empty for the
    // others (a load changes everything).
    std::vector<ByteRange> changed;
};

// What Undo does to the modified flag.
enum class UndoState {
    None,         // nothing to undo
    BackToSaved,  // the edit was made on an unmodified document: undo clears the flag
    StaysChanged, // made on a modified document (or saved since): undo leaves it set
};

class RomDocument {
  public:
    RomDocument() = default;

    // Checks existence, then extension ".NES", then size, in that order; on any
    // failure nothing of the state changes.
    LoadStatus load(const std::string& path);
    // Makes the given bytes the document, as a load does, under a file name that may
    // not exist yet (a patched image); `modified` when they are not on disk. The size
    // must be a valid one.
    bool replace(std::span<const std::uint8_t> bytes, const std::string& name,
                 bool modified = false);

    // The edit service. Each makes one undoable edit named by `undoSuffix` when a byte
    // changes: the image before becomes the undo snapshot and the document is modified.
    // An edit that changes no byte leaves the state alone; it is still announced, so
    // that what shows the image (the address bar's value) is refreshed after every OK.
    //
    // `file` is the whole new file, of the document's size. Returns the changed ranges.
    std::vector<ByteRange> commit(std::span<const std::uint8_t> file, std::string_view undoSuffix);
    // Values checked by checkValue() against this image, stored together. Returns the
    // problem (nothing changed) when storing them would leave an item unreadable.
    std::string apply(std::span<const ValueEdit> edits, std::string_view undoSuffix);
    // The address bar's write: one byte at a file position (no trainer shift: the
    // address bar names raw positions). False for a position outside the file.
    bool writeByte(int position, std::uint8_t value,
                   std::string_view undoSuffix = kWriteValueSuffix);
    void undo();

    // Writes the image to the current file name; with backup, the old file is kept
    // as "~nes" first. A failed write leaves file and state as they were. Unless
    // `replaceChanged`, a file another program has changed since the document last
    // read or wrote it is left alone (changedOnDisk).
    SaveResult write(bool backup, bool replaceChanged = false);
    // After a successful write by the caller's command: clears the modified flag
    // and takes the new stamp.
    void markSaved();
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
    UndoState undoState() const { return undoState_; }
    bool undoAvailable() const { return undoAvailable_; }
    std::string undoCaption() const;
    const std::string& fileName() const { return fileName_; }
    void setFileName(const std::string& name) { fileName_ = name; }
    std::uint32_t fileStamp() const { return stamp_; }
    bool fileOnDisk() const;

    // Read only: every change goes through the edit service above.
    const RomBuffer& image() const { return image_; }
    std::uint8_t at(int position) const { return image_[static_cast<std::size_t>(position)]; }
    const RomBuffer& snapshot() const { return snapshot_; }
    std::span<const std::uint8_t> fileBytes() const {
        return {image_.data(), static_cast<std::size_t>(fileSize_)};
    }

    // Followers are told of every change, in the order they subscribed. The returned
    // number ends the subscription.
    int subscribe(std::function<void(const DocumentEvent&)> follower) const;
    void unsubscribe(int id) const;

    // "game.nes * - Quorvane", or the product name with no document.
    std::string title(bool fullPath) const;
    // "40,976 bytes" / "41,488 bytes", empty with no document.
    std::string sizeText() const;

  private:
    // The image before becomes the undo snapshot; the document is modified.
    void beginEdit(std::string_view undoSuffix);
    void announce(const DocumentEvent& event) const;

    struct Follower {
        int id;
        std::function<void(const DocumentEvent&)> tell;
    };
    // Following the document changes nothing of it: a const document can be followed.
    mutable std::vector<Follower> followers_;
    mutable int nextFollower_ = 1;
    RomBuffer image_{};
    RomBuffer snapshot_{};
    int fileSize_ = 0;
    std::string fileName_;
    bool modified_ = false;
    UndoState undoState_ = UndoState::None;
    bool undoAvailable_ = false;
    std::string undoSuffix_;
    std::uint32_t stamp_ = 0;
    FileVersion version_;
};

// The runs of positions where two buffers of equal size differ.
std::vector<ByteRange> differingRanges(std::span<const std::uint8_t> a,
                                       std::span<const std::uint8_t> b);

std::string backupName(const std::string& path, std::string_view tail); // game.nes -> game.~nes
// Replaces the file at `path` by `bytes`; with `backup` an existing file is first
// copied to its backup name with `tail` ("~nes", "~ips"). The file itself is only
// ever replaced by a complete new one. With `expected`, a file that is no longer that
// version is left alone (changedOnDisk).
SaveResult writeWithBackup(const std::string& path, std::span<const std::uint8_t> bytes,
                           bool backup, std::string_view tail, FileVersion* expected = nullptr);

} // namespace qv
