// What the document announces to the window that follows it, in order, and what it
// keeps quiet about (a load that fails, reading the state).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/document.h"

namespace {

using qv::DocumentChange;

struct Recorder {
    std::vector<DocumentChange> seen;
    void follow(qv::RomDocument& doc) {
        doc.setObserver([this](DocumentChange c) { seen.push_back(c); });
    }
};

TEST(DocumentChanges, EveryChangeOfStateIsAnnounced) {
    qv::RomDocument doc;
    Recorder r;
    r.follow(doc);
    const std::vector<std::uint8_t> image(40976, 0);
    ASSERT_TRUE(doc.replace(image, "/tmp/none.nes"));
    const qv::RomBuffer before = doc.image();
    EXPECT_FALSE(doc.commitEdit(before, "(Mario)")); // nothing changed: still announced
    doc.image()[0x3454] = 0x18;
    EXPECT_TRUE(doc.commitEdit(before, "(Mario)"));
    doc.undo();
    doc.commitWrite("Write Value");
    doc.markModified();
    doc.markSaved();
    doc.close();
    EXPECT_EQ(r.seen, (std::vector<DocumentChange>{DocumentChange::Loaded, DocumentChange::Edited,
                                                   DocumentChange::Edited, DocumentChange::Undone,
                                                   DocumentChange::Written, DocumentChange::Edited,
                                                   DocumentChange::Saved, DocumentChange::Closed}));
    // The follower sees the state after the change.
    EXPECT_FALSE(doc.isOpen());
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
    EXPECT_EQ(r.seen, std::vector<DocumentChange>{DocumentChange::Loaded});
    EXPECT_EQ(doc.shift(), 512);

    doc.setObserver({}); // no follower: changes go unannounced
    doc.close();
    EXPECT_EQ(r.seen.size(), 1u);
    std::filesystem::remove_all(dir);
}

} // namespace
