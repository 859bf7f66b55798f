// The game image loader and the document: a file loads exactly when its size is a
// valid one; a refused load leaves the open document untouched; undo follows the
// undo state table; the written file and its backup hold what they should, and a
// save that fails (a full disk) changes neither the files nor the document.
#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "core/document.h"
#include "core/fileio.h"
#include "fuzzsupport.h"

using qvfuzz::check;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Whole files in one call each: a run reads and writes several 40 KB files.
void writeFile(const std::string& path, const Bytes& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    check(fd >= 0);
    check(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

Bytes readFile(const std::string& path) {
    auto bytes = qv::readWholeFile(path, std::numeric_limits<std::uintmax_t>::max());
    return bytes ? std::move(*bytes) : Bytes();
}

// The names in the folder: a failed save leaves no file behind.
std::size_t entries(const std::string& dir) {
    std::size_t n = 0;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d))
            n += e->d_name[0] != '.' || (e->d_name[1] != '\0' && e->d_name[1] != '.');
        ::closedir(d);
    }
    return n;
}

// The document's state but its image, which the run keeps a model of instead: a copy
// of 40 KB at every step was most of a run.
struct Snapshot {
    std::string name;
    int size;
    qv::UndoState undoState;
    bool modified, undoAvailable;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snap(const qv::RomDocument& d) {
    return {d.fileName(), d.fileSize(), d.undoState(), d.modified(), d.undoAvailable()};
}

// The document holds the model's bytes, and nothing else.
bool holds(const qv::RomDocument& d, const Bytes& model) {
    return model.size() == static_cast<std::size_t>(d.fileSize()) &&
           std::equal(model.begin(), model.end(), d.image().begin());
}

// The sizes near the valid ones, where mistakes would be.
constexpr std::size_t kSizes[] = {40976, 41488, 40975, 40977, 41487, 41489, 0, 16, 512};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qvfuzz::Input in(data, size);
    const std::string dir = qvfuzz::scratchDir();
    const std::string game = dir + "/game.nes", other = dir + "/other.nes",
                      backup = dir + "/game.~nes";

    // The open document: a valid image from the input's first bytes. One run in eight
    // loads it from its file and may save it; the others take the same bytes as the
    // file's without writing it (a save is then an edit), which keeps the runs quick:
    // writing, reading and saving 40 KB files was most of a run.
    const std::uint8_t first = in.byte();
    const bool trainer = first & 1, onDiskRun = (first & 0x0E) == 0;
    Bytes image(trainer ? 41488 : 40976);
    for (std::size_t i = 0; i < 64; ++i)
        image[(i * 641) % image.size()] = in.byte();
    qv::RomDocument doc;
    if (onDiskRun) {
        writeFile(game, image);
        std::remove(backup.c_str());
        check(doc.load(game) == qv::LoadStatus::Ok);
    } else {
        check(doc.replace(image, game));
    }
    check(doc.fileSize() == static_cast<int>(image.size()) && !doc.modified() &&
          doc.undoState() == qv::UndoState::None && !doc.undoAvailable());

    Bytes onDisk = image;
    // What the document's image must be, and the byte the last edit that changed one
    // replaced (edits change one byte each), which undo puts back.
    Bytes model = image;
    std::size_t lastAt = 0;
    std::uint8_t lastOld = 0;
    // Operations until the input runs out. A load of another file and a save each
    // write and read whole files: at most one of each a run keeps the runs quick.
    bool loadedOther = false, saved = false;
    for (int step = 0; step < 32 && !in.empty(); ++step) {
        std::uint8_t op = in.byte() % 6;
        if ((op == 0 && std::exchange(loadedOther, true)) ||
            (op == 4 && (!onDiskRun || std::exchange(saved, true))))
            op = 1; // an edit instead
        const Snapshot was = snap(doc);
        if (op == 0) {
            // Load another file of a size chosen near the valid ones.
            const std::uint8_t pick = in.byte();
            Bytes bytes(pick < 200 ? kSizes[pick % std::size(kSizes)] : in.word());
            for (std::size_t i = 0; i < 16 && i < bytes.size(); ++i)
                bytes[i] = in.byte();
            writeFile(other, bytes);
            const bool valid = bytes.size() == 40976 || bytes.size() == 41488;
            const qv::LoadStatus s = doc.load(other);
            check((s == qv::LoadStatus::Ok) == valid);
            if (!valid) {
                check(s == qv::LoadStatus::BadSize);
                check(snap(doc) == was && holds(doc, model));
            } else {
                check(std::equal(bytes.begin(), bytes.end(), doc.image().begin()));
                check(!doc.modified() && doc.undoState() == qv::UndoState::None &&
                      !doc.undoAvailable());
                // Back to the document under test, as it is on disk.
                doc = qv::RomDocument();
                if (onDiskRun) {
                    check(doc.load(game) == qv::LoadStatus::Ok);
                    onDisk = readFile(game);
                } else {
                    check(doc.replace(onDisk, game));
                }
                model = onDisk;
            }
        } else if (op == 1 || op == 2) {
            // An edit through the edit service, a byte or a whole file, which may change
            // nothing.
            const std::size_t at = in.word() % model.size();
            const std::uint8_t old = model[at], value = in.byte();
            model[at] = value;
            if (op == 1)
                check(doc.writeByte(static_cast<int>(at), value, "(Fuzz)"));
            else
                doc.commit(model, "(Fuzz)");
            check(holds(doc, model));
            if (old == value) {
                check(snap(doc) == was);
            } else {
                // The snapshot is the image before: the model with the old byte.
                const auto& undo = doc.snapshot();
                check(undo[at] == old &&
                      std::equal(model.begin(), model.begin() + at, undo.begin()) &&
                      std::equal(model.begin() + at + 1, model.end(), undo.begin() + at + 1));
                check(doc.modified() && doc.undoAvailable());
                check(doc.undoState() ==
                      (was.modified ? qv::UndoState::StaysChanged : qv::UndoState::BackToSaved));
                lastAt = at;
                lastOld = old;
            }
        } else if (op == 3) {
            // Undo, by the table: (set, 1) -> (clear, 0); (set, 2) -> (set, 2);
            // (clear, 1 or 2) -> (set, 2). Only while an undo is available.
            if (!doc.undoAvailable()) continue;
            doc.undo();
            model[lastAt] = lastOld;
            check(holds(doc, model) && !doc.undoAvailable());
            if (was.modified && was.undoState == qv::UndoState::BackToSaved) {
                check(!doc.modified() && doc.undoState() == qv::UndoState::None);
                // The document equals its file again.
                check(std::equal(onDisk.begin(), onDisk.end(), doc.image().begin()));
            } else {
                check(doc.modified() && doc.undoState() == qv::UndoState::StaysChanged);
            }
        } else if (op == 4) {
            // Save, with or without a backup: file and backup hold what they should.
            const std::uint8_t how = in.byte();
            const bool withBackup = how & 1;
            const Bytes previous = readFile(game);
            if (how & 2) {
                // The disk is full: nothing changes, on disk or in the document.
                const Bytes oldBackup = readFile(backup);
                const std::size_t files = entries(dir);
                qv::setWriteFailureForTesting(true);
                const qv::SaveResult r = doc.write(withBackup);
                qv::setWriteFailureForTesting(false);
                check(!r.ok && !r.error.empty());
                check(readFile(game) == previous && readFile(backup) == oldBackup);
                check(entries(dir) == files);
                check(snap(doc) == was && holds(doc, model));
                continue;
            }
            const qv::SaveResult r = doc.write(withBackup);
            check(r.ok);
            doc.markSaved();
            onDisk = readFile(game);
            check(onDisk.size() == static_cast<std::size_t>(doc.fileSize()));
            check(std::equal(onDisk.begin(), onDisk.end(), doc.image().begin()));
            if (withBackup) check(readFile(backup) == previous);
            check(!doc.modified() && doc.undoState() == was.undoState &&
                  doc.undoAvailable() == was.undoAvailable);
        } else {
            // A load of a missing file or of another extension changes nothing.
            const qv::LoadStatus s = doc.load(in.byte() & 1 ? dir + "/none.nes" : dir + "/x.bin");
            check(s != qv::LoadStatus::Ok);
            check(snap(doc) == was && holds(doc, model));
        }
    }
    return 0;
}
