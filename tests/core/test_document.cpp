#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <vector>

#include "core/document.h"
#include "core/fileio.h"
#include "core/filestamp.h"
#include "support/testfiles.h"

namespace fs = std::filesystem;
using qv::LoadStatus;
using qv::RomDocument;

namespace {

using qvtest::readBytes;
using qvtest::TempDir;

// An image of `size` bytes, all `fill`; returns its path.
std::string writeImage(const std::string& path, std::size_t size, std::uint8_t fill = 0) {
    qvtest::writeBytes(path, qvtest::Bytes(size, fill));
    return path;
}

} // namespace

TEST(Document, LoadChecksComeInOrderAndFailuresChangeNothing) {
    TempDir dir;
    RomDocument doc;
    EXPECT_EQ(doc.load(dir.file("missing.nes")), LoadStatus::Missing);
    // A missing file is reported as missing whatever its extension.
    EXPECT_EQ(doc.load(dir.file("missing.txt")), LoadStatus::Missing);
    EXPECT_EQ(doc.load(writeImage(dir.file("right-size.bin"), 40976)), LoadStatus::WrongFormat);
    // The extension is checked before the size.
    EXPECT_EQ(doc.load(writeImage(dir.file("wrong-both.txt"), 5)), LoadStatus::WrongFormat);
    EXPECT_EQ(doc.load(writeImage(dir.file("long.nes"), 40977)), LoadStatus::BadSize);
    EXPECT_EQ(doc.load(writeImage(dir.file("empty.nes"), 0)), LoadStatus::BadSize);
    fs::create_directory(dir.file("folder.nes"));
    EXPECT_EQ(doc.load(dir.file("folder.nes")), LoadStatus::BadSize);
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(dir.file("pipe.nes").c_str(), 0600), 0);
    EXPECT_EQ(doc.load(dir.file("pipe.nes")), LoadStatus::BadSize);
#endif
    EXPECT_FALSE(doc.isOpen());

    // Loading a good file, then failing to load another, leaves the first open as it was.
    ASSERT_EQ(doc.load(writeImage(dir.file("good.NeS"), 40976, 0x11)), LoadStatus::Ok);
    ASSERT_TRUE(doc.writeByte(0x3454, 0x20, "(Mario)"));
    const qv::RomBuffer image = doc.image();
    EXPECT_EQ(doc.load(writeImage(dir.file("bad.nes"), 41487)), LoadStatus::BadSize);
    EXPECT_EQ(doc.fileName(), dir.file("good.NeS"));
    EXPECT_EQ(doc.fileSize(), 40976);
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.undoCaption(), "&Undo (Mario)");
    EXPECT_EQ(doc.image(), image);

    EXPECT_EQ(qv::loadMessage(LoadStatus::Missing), "The file does not exist.");
    EXPECT_EQ(qv::loadMessage(LoadStatus::WrongFormat),
              "The specified file is in the wrong format.");
    EXPECT_EQ(qv::loadMessage(LoadStatus::BadSize),
              "The file cannot be opened.\r\nThe filesize is invalid.");
}

TEST(Document, LoadResetsStateAndKnowsTheTrainer) {
    TempDir dir;
    RomDocument doc;
    ASSERT_EQ(doc.load(writeImage(dir.file("t.nes"), 41488, 0xAB)), LoadStatus::Ok);
    EXPECT_TRUE(doc.trainer());
    EXPECT_EQ(doc.shift(), 512);
    EXPECT_EQ(doc.sizeText(), "41,488 bytes");
    EXPECT_EQ(doc.image()[41487], 0xAB);
    EXPECT_EQ(doc.image()[41488], 0x00); // past the file the buffer is zero
    EXPECT_EQ(doc.undoState(), qv::UndoState::None);
    EXPECT_EQ(doc.undoCaption(), "Cannot &Undo");

    ASSERT_EQ(doc.load(writeImage(dir.file("p.nes"), 40976, 0xCD)), LoadStatus::Ok);
    EXPECT_FALSE(doc.trainer());
    EXPECT_EQ(doc.shift(), 0);
    EXPECT_EQ(doc.sizeText(), "40,976 bytes");
    // Bytes left over from the longer file are gone.
    EXPECT_EQ(doc.image()[41000], 0x00);
}

TEST(Document, ModifiedFlagAndUndoStateFollowEditsSavesAndUndo) {
    TempDir dir;
    RomDocument doc;
    ASSERT_EQ(doc.load(writeImage(dir.file("g.nes"), 40976)), LoadStatus::Ok);

    // An edit that changed nothing changes nothing.
    const std::vector<std::uint8_t> same(doc.fileBytes().begin(), doc.fileBytes().end());
    EXPECT_TRUE(doc.commit(same, "(Mario)").empty());
    EXPECT_FALSE(doc.modified());
    EXPECT_FALSE(doc.undoAvailable());

    // Load, edit, undo: back to the file, nothing to undo.
    ASSERT_TRUE(doc.writeByte(0x107A, 0x08, "(Mario)"));
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.undoState(), qv::UndoState::BackToSaved);
    doc.undo();
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(doc.undoState(), qv::UndoState::None);
    EXPECT_EQ(doc.image()[0x107A], 0x00);
    EXPECT_EQ(doc.undoCaption(), "Cannot &Undo");

    // Edit twice, undo: the first edit stays and the document stays modified.
    ASSERT_TRUE(doc.writeByte(0x107A, 0x08, "(Mario)"));
    ASSERT_TRUE(doc.writeByte(0x3454, 0x20, "(General 1)"));
    EXPECT_EQ(doc.undoState(), qv::UndoState::StaysChanged);
    EXPECT_EQ(doc.undoCaption(), "&Undo (General 1)");
    doc.undo();
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.undoState(), qv::UndoState::StaysChanged);
    EXPECT_EQ(doc.image()[0x107A], 0x08);
    EXPECT_EQ(doc.image()[0x3454], 0x00);
    EXPECT_FALSE(doc.undoAvailable());

    // Edit, save, undo: modified again, away from the file.
    ASSERT_TRUE(doc.writeByte(0x3454, 0x30, "(Mario)"));
    ASSERT_TRUE(doc.write(false).ok);
    doc.markSaved();
    EXPECT_FALSE(doc.modified());
    EXPECT_TRUE(doc.undoAvailable()); // a save keeps the undo
    doc.undo();
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.undoState(), qv::UndoState::StaysChanged);
    EXPECT_EQ(doc.image()[0x3454], 0x00);

    // The address bar's write, under its own name.
    ASSERT_TRUE(doc.writeByte(0x0123, 0xFF));
    EXPECT_EQ(doc.undoCaption(), "&Undo Write Value");
    EXPECT_EQ(doc.undoState(), qv::UndoState::StaysChanged);

    doc.close();
    EXPECT_FALSE(doc.isOpen());
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(doc.undoState(), qv::UndoState::None);
    EXPECT_EQ(doc.fileStamp(), 0u);
    EXPECT_EQ(doc.fileName(), dir.file("g.nes")); // kept for the next Open
    EXPECT_EQ(doc.title(false), "Quorvane");
}

TEST(Document, TwoSavesLeaveOneBackupHoldingTheStateBeforeTheSecond) {
    TempDir dir;
    RomDocument doc;
    ASSERT_EQ(doc.load(writeImage(dir.file("game.nes"), 40976, 0x01)), LoadStatus::Ok);
    ASSERT_TRUE(doc.writeByte(16, 0x02));
    ASSERT_TRUE(doc.write(true).ok);
    ASSERT_TRUE(doc.writeByte(16, 0x03));
    ASSERT_TRUE(doc.write(true).ok);
    EXPECT_EQ(readBytes(dir.file("game.nes"))[16], 0x03);
    const auto backup = readBytes(dir.file("game.~nes"));
    ASSERT_EQ(backup.size(), 40976u);
    EXPECT_EQ(backup[16], 0x02);
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.file("")))
        ++files;
    EXPECT_EQ(files, 2); // the game and one backup, no temporary left

    // Without the option no backup is made.
    TempDir other;
    ASSERT_EQ(doc.load(writeImage(other.file("x.nes"), 41488)), LoadStatus::Ok);
    ASSERT_TRUE(doc.write(false).ok);
    EXPECT_FALSE(fs::exists(other.file("x.~nes")));
    EXPECT_EQ(readBytes(other.file("x.nes")).size(), 41488u);
}

TEST(Document, AFailedWriteLeavesFileAndStateAsTheyWere) {
    TempDir dir;
    RomDocument doc;
    ASSERT_EQ(doc.load(writeImage(dir.file("game.nes"), 40976, 0x55)), LoadStatus::Ok);
    ASSERT_TRUE(doc.writeByte(100, 0x66, "(Mario)"));

    qv::setWriteFailureForTesting(true);
    const qv::SaveResult r = doc.write(false);
    qv::setWriteFailureForTesting(false);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_TRUE(doc.modified());
    const auto onDisk = readBytes(dir.file("game.nes"));
    ASSERT_EQ(onDisk.size(), 40976u);
    EXPECT_EQ(onDisk[100], 0x55);

    // A target whose folder has become a file cannot be written.
    fs::create_directory(dir.file("sub"));
    doc.setFileName(dir.file("sub/game.nes"));
    fs::remove_all(dir.file("sub"));
    writeImage(dir.file("sub"), 3);
    EXPECT_FALSE(doc.write(true).ok);
    EXPECT_EQ(readBytes(dir.file("sub")).size(), 3u);
    EXPECT_TRUE(doc.modified());
}

TEST(Document, TitleAndStampTexts) {
    TempDir dir;
    RomDocument doc;
    EXPECT_EQ(doc.title(false), "Quorvane");
    EXPECT_EQ(doc.sizeText(), "");
    ASSERT_EQ(doc.load(writeImage(dir.file("game.nes"), 40976)), LoadStatus::Ok);
    EXPECT_EQ(doc.title(false), "game.nes - Quorvane");
    doc.writeByte(0x10, 1, "(Mario)");
    EXPECT_EQ(doc.title(false), "game.nes * - Quorvane");
    EXPECT_EQ(doc.title(true), dir.file("game.nes") + " * - Quorvane");

    // Two-second resolution: 12:34:57 reads as 12:34:56.
    const std::uint32_t packed = qv::packStamp({2026, 3, 9, 12, 34, 57});
    EXPECT_EQ(qv::formatStamp(packed), "2026/03/09 12:34:56");
    EXPECT_EQ(packed, (46u << 25) | (3u << 21) | (9u << 16) | (12u << 11) | (34u << 5) | 28u);
}

// No symbolic link can be made under Wine (the MinGW runtime has no create_symlink).
#ifndef _WIN32
TEST(Document, SavingThroughALinkReplacesTheFileItPointsTo) {
    TempDir dir;
    writeImage(dir.file("real.nes"), 40976);
    fs::create_symlink(dir.file("real.nes"), dir.file("link.nes"));
    RomDocument doc;
    ASSERT_EQ(doc.load(dir.file("link.nes")), LoadStatus::Ok);
    ASSERT_TRUE(doc.writeByte(0x20, 0x42));
    ASSERT_TRUE(doc.write(false).ok);
    EXPECT_TRUE(fs::is_symlink(dir.file("link.nes")));
    EXPECT_EQ(readBytes(dir.file("real.nes"))[0x20], 0x42);

    // A name that does not exist yet is simply created.
    const std::vector<std::uint8_t> bytes{1, 2, 3};
    EXPECT_TRUE(qv::writeFileAtomic(dir.file("new.bin"), bytes).ok);
    EXPECT_EQ(readBytes(dir.file("new.bin")), bytes);
}
#endif
