// What the document announces to those who follow it, in order, with the bytes each
// change touched, and what it keeps quiet about (a load that fails, reading the state).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/document.h"

namespace {

using qv::ByteRange;
using qv::DocumentChange;
using qv::DocumentEvent;

struct Recorder {
    std::vector<DocumentEvent> seen;
    int id = 0;
    void follow(const qv::RomDocument& doc) {
        id = doc.subscribe([this](const DocumentEvent& e) { seen.push_back(e); });
    }
    std::vector<DocumentChange> kinds() const {
        std::vector<DocumentChange> out;
        for (const DocumentEvent& e : seen)
            out.push_back(e.change);
        return out;
    }
};

TEST(DocumentChanges, EveryChangeIsAnnouncedWithTheBytesItTouched) {
    qv::RomDocument doc;
    Recorder r;
    r.follow(doc);
    std::vector<std::uint8_t> image(40976, 0);
    ASSERT_TRUE(doc.replace(image, "/tmp/none.nes"));
    EXPECT_TRUE(doc.commit(image, "(Mario)").empty()); // nothing changed: still announced
    image[0x3454] = 0x18;
    image[0x3455] = 0x10;
    image[0x107A] = 0x08;
    const std::vector<ByteRange> changed = doc.commit(image, "(Mario)");
    EXPECT_EQ(changed, (std::vector<ByteRange>{{0x107A, 0x107A}, {0x3454, 0x3455}}));
    doc.undo();
    ASSERT_TRUE(doc.writeByte(0xA00F, 0x7F));
    doc.markSaved();
    doc.close();
    EXPECT_EQ(r.kinds(), (std::vector<DocumentChange>{
                             DocumentChange::Loaded, DocumentChange::Edited, DocumentChange::Edited,
                             DocumentChange::Undone, DocumentChange::Edited, DocumentChange::Saved,
                             DocumentChange::Closed}));
    EXPECT_TRUE(r.seen[1].changed.empty());
    EXPECT_EQ(r.seen[2].changed, changed);
    EXPECT_EQ(r.seen[3].changed, changed); // undo puts back the same bytes
    EXPECT_EQ(r.seen[4].changed, (std::vector<ByteRange>{{0xA00F, 0xA00F}}));
    // The follower sees the state after the change.
    EXPECT_FALSE(doc.isOpen());
}

TEST(DocumentChanges, FollowersSeeTheStoredByteAndCanLeave) {
    qv::RomDocument doc;
    ASSERT_TRUE(doc.replace(std::vector<std::uint8_t>(41488, 0), "/tmp/t.nes"));
    int seenValue = -1, calls = 0;
    const int first = doc.subscribe([&](const DocumentEvent&) { seenValue = doc.at(0x107A); });
    doc.subscribe([&](const DocumentEvent&) { ++calls; });
    // The address bar names raw positions: no trainer shift is added to them.
    ASSERT_TRUE(doc.writeByte(0x107A, 0x09));
    EXPECT_EQ(seenValue, 0x09); // stored before it was announced
    EXPECT_EQ(doc.at(0x107A + 512), 0x00);
    EXPECT_FALSE(doc.writeByte(41488, 0x01)); // past the file: refused, not announced
    EXPECT_FALSE(doc.writeByte(-1, 0x01));
    EXPECT_EQ(calls, 1);
    doc.unsubscribe(first);
    ASSERT_TRUE(doc.writeByte(0x107A, 0x0A));
    EXPECT_EQ(seenValue, 0x09);
    EXPECT_EQ(calls, 2);
}

// Undo puts back the whole image, up to its last byte, with and without a trainer.
TEST(DocumentChanges, UndoAfterTheLastByteRestoresTheWholeImage) {
    for (const int size : {40976, 41488}) {
        SCOPED_TRACE(size);
        std::vector<std::uint8_t> image(static_cast<std::size_t>(size));
        for (std::size_t i = 0; i < image.size(); ++i)
            image[i] = static_cast<std::uint8_t>(i * 7 + 3);
        qv::RomDocument doc;
        ASSERT_TRUE(doc.replace(image, "/tmp/u.nes"));
        std::vector<std::uint8_t> edited = image;
        edited.front() ^= 0xFF;
        edited.back() ^= 0xFF;
        edited[static_cast<std::size_t>(size) - 2] ^= 0x01;
        ASSERT_EQ(doc.commit(edited, "(Mario)").size(), 2u);
        ASSERT_TRUE(doc.writeByte(size - 1, 0x5A));
        doc.undo();
        EXPECT_TRUE(std::equal(edited.begin(), edited.end(), doc.fileBytes().begin()));
        ASSERT_EQ(doc.commit(image, "(Mario)").size(), 2u);
        doc.undo();
        EXPECT_TRUE(std::equal(edited.begin(), edited.end(), doc.fileBytes().begin()));
        EXPECT_EQ(doc.at(size - 1), edited.back());
        EXPECT_EQ(doc.at(size), 0x00); // the buffer past the file stays zero
    }
}

TEST(DocumentChanges, FailuresAndQuestionsAreNotAnnounced) {
    qv::RomDocument doc;
    Recorder r;
    r.follow(doc);
    EXPECT_EQ(doc.load("/nonexistent/folder/game.nes"), qv::LoadStatus::Missing);
    EXPECT_FALSE(doc.replace(std::vector<std::uint8_t>(100, 0), "/tmp/short.nes"));
    const auto dir = std::filesystem::temp_directory_path() / "qv_document_changes";
    std::filesystem::create_directories(dir);
    const auto wrongSize = (dir / "g.nes").string();
    std::ofstream(wrongSize, std::ios::binary) << std::string(1000, '\0');
    EXPECT_EQ(doc.load(wrongSize), qv::LoadStatus::BadSize);
    EXPECT_TRUE(r.seen.empty());

    const auto good = (dir / "good.nes").string();
    std::ofstream(good, std::ios::binary) << std::string(41488, '\0');
    EXPECT_EQ(doc.load(good), qv::LoadStatus::Ok);
    (void)doc.title(false);
    (void)doc.undoCaption();
    EXPECT_EQ(r.kinds(), std::vector<DocumentChange>{DocumentChange::Loaded});
    EXPECT_EQ(doc.shift(), 512);
    // A commit of the wrong size is no edit.
    EXPECT_TRUE(doc.commit(std::vector<std::uint8_t>(40976, 1), "(Mario)").empty());
    EXPECT_EQ(r.seen.size(), 1u);

    doc.unsubscribe(r.id); // no follower: changes go unannounced
    doc.close();
    EXPECT_EQ(r.seen.size(), 1u);
    std::filesystem::remove_all(dir);
}

} // namespace
