// The Basic blocks and Staircase sub-dialogs of General 1: they edit General 1's
// values, which reach the image only with General 1's OK.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QRadioButton>

#include "gui/dialogs/stairpreview.h"
#include "gui/general1fixture.h"
#include "gui/main/helpcontext.h"
#include "support/staircasepicture.h"

namespace {

using qv::Answer;
using qv::test::FakeHost;
using qv::test::ScriptedPlatform;
using qv::test::Zenpan1Session;

std::vector<std::uint8_t> defaultBlocks() {
    auto img = qv::test::blankImage();
    qv::test::putBlockDefaults(img);
    return img;
}

QCheckBox* box(const Zenpan1Session::Sub<qv::TFormKihonBloc>& k, const char* name) {
    return k.find<QCheckBox>(QString::fromLatin1(name));
}

const QString kDefaultPreview = QString::fromUtf8(qvtest::kDefaultStaircase);

TEST(BasicBlocks, ShowsPatternsAndWritesCheckedRowsThroughGeneral1) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = defaultBlocks();
    img[0x13F7] = 0x20; // pattern 5's high byte: bit 5 set, rows 8..12 cannot show it
    host.open(img);
    Zenpan1Session s(host);
    auto k = s.openKihon();
    EXPECT_EQ(k.d->windowTitle(), "Basic Blocks - General Settings 1");
    EXPECT_TRUE(k.find<QRadioButton>("RadKb0")->isChecked());
    // Pattern 2 (01, 18): rows 0, 11, 12.
    EXPECT_TRUE(box(k, "ChkKb02")->isChecked());
    EXPECT_FALSE(box(k, "ChkKb12")->isChecked());
    EXPECT_FALSE(box(k, "ChkKbA2")->isChecked());
    EXPECT_TRUE(box(k, "ChkKbB2")->isChecked());
    EXPECT_TRUE(box(k, "ChkKbC2")->isChecked());
    // Pattern 9 (81, 1F): rows 0, 7, 8..12.
    EXPECT_TRUE(box(k, "ChkKb79")->isChecked());
    EXPECT_FALSE(box(k, "ChkKb69")->isChecked());
    EXPECT_TRUE(box(k, "ChkKb89")->isChecked());
    // The clouds (08): row 11 only; no boxes above row 8.
    EXPECT_TRUE(box(k, "ChkKbBZ")->isChecked());
    EXPECT_FALSE(box(k, "ChkKbAZ")->isChecked());
    EXPECT_EQ(box(k, "ChkKb7Z"), nullptr);
    // Pattern 5 (FF, 20): rows 0..7 shown, rows 8..12 greyed.
    for (const char* name : {"ChkKb85", "ChkKb95", "ChkKbA5", "ChkKbB5", "ChkKbC5"}) {
        EXPECT_EQ(box(k, name)->checkState(), Qt::PartiallyChecked) << name;
        EXPECT_FALSE(box(k, name)->isEnabled()) << name;
    }
    EXPECT_TRUE(box(k, "ChkKb75")->isChecked());
    box(k, "ChkKb05")->setChecked(false); // pattern 5 low: FE
    box(k, "ChkKb8F")->setChecked(false); // pattern 15 high: 1E
    box(k, "ChkKbCZ")->setChecked(true);  // clouds: 18
    s.close(k, "BtnOk");
    EXPECT_EQ(s.label("LabKihonBloc"), "Changed");
    EXPECT_EQ(host.at(0x13F6), 0xFF); // nothing written before General 1's OK
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x13F6), 0xFE);
    EXPECT_EQ(host.at(0x13F7), 0x20); // kept
    EXPECT_EQ(host.at(0x140A), 0xFF);
    EXPECT_EQ(host.at(0x140B), 0x1E);
    EXPECT_EQ(host.at(0x14B5), 0x18);
    EXPECT_EQ(host.doc.undoCaption(), "&Undo (General 1)");
}

TEST(BasicBlocks, AcceptedThenGeneral1CancelledLeavesTheImage) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(defaultBlocks());
    const qv::RomBuffer before = host.doc.image();
    Zenpan1Session s(host);
    auto k = s.openKihon();
    box(k, "ChkKb00")->setChecked(true);
    box(k, "ChkKbCZ")->setChecked(true);
    s.close(k, "BtnOk");
    EXPECT_EQ(s.label("LabKihonBloc"), "Changed");
    EXPECT_FALSE(s.cancel());
    EXPECT_EQ(host.doc.image(), before);
    EXPECT_FALSE(host.doc.modified());
}

TEST(BasicBlocks, ChangedGoesBackToEmptyWhenThePatternIsRestored) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(defaultBlocks());
    Zenpan1Session s(host);
    auto k = s.openKihon();
    box(k, "ChkKb3A")->setChecked(true); // pattern 10: 01 -> 09
    s.close(k, "BtnOk");
    EXPECT_EQ(s.label("LabKihonBloc"), "Changed");
    EXPECT_EQ(s.label("LabKaidanBloc"), "");

    k = s.openKihon(); // shows what the first opening accepted
    EXPECT_TRUE(box(k, "ChkKb3A")->isChecked());
    box(k, "ChkKb3A")->setChecked(false);
    box(k, "ChkKb4A")->setChecked(true);
    s.close(k, "BtnCancel"); // Cancel keeps the label's text
    EXPECT_EQ(s.label("LabKihonBloc"), "Changed");

    k = s.openKihon();
    EXPECT_TRUE(box(k, "ChkKb3A")->isChecked());
    EXPECT_FALSE(box(k, "ChkKb4A")->isChecked());
    box(k, "ChkKb3A")->setChecked(false);
    s.close(k, "BtnOk");
    EXPECT_EQ(s.label("LabKihonBloc"), "");
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(host.at(0x1400), 0x01);
}

TEST(BasicBlocks, ResetAndSelResetAskTheirOwnQuestions) {
    ScriptedPlatform platform;
    FakeHost host;
    host.resets = true;
    auto img = defaultBlocks();
    img[0x13EC] = 0xFF; // pattern 0 low (default 00)
    img[0x14B5] = 0x1F; // clouds (default 08)
    img[0x13FF] = 0xE0; // pattern 9 high: out of range
    host.open(img);
    Zenpan1Session s(host);
    auto k = s.openKihon();
    k.find<QRadioButton>("RadKbZ")->click();
    platform.answer(Answer::No);
    k.click("SpdKihonBloc2");
    EXPECT_TRUE(box(k, "ChkKbCZ")->isChecked());
    platform.answer(Answer::Yes);
    k.click("SpdKihonBloc2"); // the cloud column only
    EXPECT_FALSE(box(k, "ChkKb8Z")->isChecked());
    EXPECT_TRUE(box(k, "ChkKbBZ")->isChecked());
    EXPECT_FALSE(box(k, "ChkKbCZ")->isChecked());
    EXPECT_TRUE(box(k, "ChkKb00")->isChecked());
    s.close(k, "BtnOk");

    k = s.openKihon();
    platform.answer(Answer::Yes);
    k.click("SpdKihonBloc"); // every column; the greyed rows stay grey
    EXPECT_FALSE(box(k, "ChkKb00")->isChecked());
    EXPECT_TRUE(box(k, "ChkKb79")->isChecked());
    EXPECT_EQ(box(k, "ChkKb89")->checkState(), Qt::PartiallyChecked);
    s.close(k, "BtnCancel"); // the reset is dropped
    EXPECT_EQ(platform.messages(), (QStringList{"Selected options will be reset.\r\nIs this okay?",
                                                "Selected options will be reset.\r\nIs this okay?",
                                                "All options will be reset.\r\nIs this okay?"}));

    host.resets = false; // without the Reset setting both act at once
    k = s.openKihon();
    k.click("SpdKihonBloc");
    EXPECT_FALSE(box(k, "ChkKb00")->isChecked());
    s.close(k, "BtnCancel");
    EXPECT_TRUE(platform.scriptUsedUp());
    EXPECT_EQ(platform.messages().size(), 3);

    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x14B5), 0x08);
    EXPECT_EQ(host.at(0x13EC), 0xFF);
    EXPECT_EQ(host.at(0x13FF), 0xE0);
}

TEST(Staircase, PreviewFollowsEveryChange) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(defaultBlocks());
    Zenpan1Session s(host);
    auto k = s.openKaidan();
    EXPECT_EQ(k.d->windowTitle(), "Staircase Blocks - General Settings 1");
    EXPECT_EQ(k.d->startEdit(1)->text(), "10");
    EXPECT_EQ(k.d->countEdit(9)->text(), "8");
    EXPECT_EQ(k.d->preview()->objectName(), "MemoKaidan");
    EXPECT_TRUE(k.d->findChild<QLabel*>("LabKaidan")
                    ->text()
                    .startsWith("These settings influence the shape of the stairway."));
    EXPECT_EQ(k.d->preview()->text(), kDefaultPreview);
    // A number the step cannot take is marked while it is typed.
    k.d->startEdit(2)->setText("99");
    EXPECT_TRUE(k.d->startEdit(2)->toolTip().startsWith("99 is outside"))
        << k.d->startEdit(2)->toolTip().toStdString();
    k.d->startEdit(2)->setText("9");
    EXPECT_EQ(k.d->startEdit(2)->toolTip(), "");
    k.d->countEdit(1)->setText("13"); // start row 10, count 13: rows 10..12 only
    const QStringList lines = k.d->preview()->text().split("\r\n");
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines[9], " 9 - ■■■■■■■■");
    EXPECT_EQ(lines[10], "10 ■■■■■■■■■");
    EXPECT_EQ(lines[11], "11 ■□□□□□□□□");
    EXPECT_EQ(lines[12], "12 ■□□□□□□□□");
    k.d->startEdit(1)->setText("13"); // start row 13: no block at all
    EXPECT_EQ(k.d->preview()->text().split("\r\n")[10], "10 - ■■■■■■■■");
    EXPECT_EQ(k.d->preview()->text().split("\r\n")[12], "12 □□□□□□□□□");
    s.close(k, "BtnOk");
    EXPECT_EQ(s.label("LabKaidanBloc"), "Changed");
    EXPECT_EQ(s.label("LabKihonBloc"), "");
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x1AC6), 0x0D);
    EXPECT_EQ(host.at(0x1ABD), 0x0C);
}

TEST(Staircase, InvalidStepsAreDisabledAndKeptAndBadTextFallsBack) {
    ScriptedPlatform platform;
    FakeHost host;
    host.resets = true;
    auto img = defaultBlocks();
    img[0x1AC5] = 0x05; // step 2 start 5
    img[0x1ABB] = 0x0D; // step 3 count byte 13 (shown 14): invalid
    img[0x1AC4] = 0x30; // step 3 start row, kept with it
    host.open(img);
    Zenpan1Session s(host);
    auto k = s.openKaidan();
    EXPECT_FALSE(k.d->startEdit(3)->isEnabled());
    EXPECT_FALSE(k.d->countEdit(3)->isEnabled());
    EXPECT_FALSE(k.find<QWidget>("UdKaidanBk3")->isEnabled());
    EXPECT_EQ(k.d->startEdit(2)->text(), "5");
    k.d->countEdit(1)->setText("13");
    k.d->startEdit(2)->setText("x"); // step 2's default start row 9
    EXPECT_EQ(k.d->preview()->text(), " 0 - - ×- - - - - - \r\n"
                                      " 1 - - ×- - - - - - \r\n"
                                      " 2 - - ×- - - - - - \r\n"
                                      " 3 - - ×- - - - ■■\r\n"
                                      " 4 - - ×- - - ■■■\r\n"
                                      " 5 - - ×- - ■■■■\r\n"
                                      " 6 - - ×- ■■■■■\r\n"
                                      " 7 - - ×■■■■■■\r\n"
                                      " 8 - - ×■■■■■■\r\n"
                                      " 9 - ■×■■■■■■\r\n"
                                      "10 ■■×■■■■■■\r\n"
                                      "11 ■□×□□□□□□\r\n"
                                      "12 ■□×□□□□□□");
    s.close(k, "BtnOk");
    EXPECT_EQ(s.label("LabKaidanBloc"), "Changed");

    k = s.openKaidan(); // Reset then Cancel: General 1's values stay
    EXPECT_EQ(k.d->startEdit(2)->text(), "9");
    platform.answer(Answer::Yes);
    k.click("SpdKaidan");
    EXPECT_EQ(k.d->countEdit(1)->text(), "1");
    EXPECT_FALSE(k.d->startEdit(3)->isEnabled());
    EXPECT_EQ(k.d->preview()->text().split("\r\n")[0], " 0 - - ×- - - - - - ");
    s.close(k, "BtnCancel");
    EXPECT_EQ(platform.messages(), QStringList{"Reset the selection to its default value?"});

    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x1ABD), 0x0C); // step 1 count 13
    EXPECT_EQ(host.at(0x1AC5), 0x09); // step 2 start
    EXPECT_EQ(host.at(0x1ABB), 0x0D); // step 3 as it was
    EXPECT_EQ(host.at(0x1AC4), 0x30);
}

TEST(Staircase, TrainerImagesKeepTheirArraysBehindTheShift) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage(41488);
    qv::test::putBlockDefaults(img, 512);
    host.open(img);
    Zenpan1Session s(host);
    auto k = s.openKaidan();
    EXPECT_EQ(k.d->preview()->text(), kDefaultPreview);
    k.d->startEdit(9)->setText("0");
    s.close(k, "BtnOk");
    auto b = s.openKihon();
    EXPECT_TRUE(box(b, "ChkKb0F")->isChecked());
    box(b, "ChkKb0F")->setChecked(false);
    s.close(b, "BtnOk");
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x1ABE + 512), 0x00);
    EXPECT_EQ(host.at(0x140A + 512), 0xFE);
    EXPECT_EQ(host.at(0x1ABE), 0x00);
    EXPECT_EQ(host.at(0x140A), 0x00);
}

TEST(BlockDialogs, FramesTheirGroupWithNamesTitlesAndHelp) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(defaultBlocks());
    Zenpan1Session s(host);
    const auto check = [](QDialog* d, const char* name, const char* title, const char* group,
                          const char* caption, int help) {
        EXPECT_EQ(d->objectName(), name);
        EXPECT_EQ(d->windowTitle(), title);
        EXPECT_EQ(qv::helpContextOf(d), help);
        auto* g = d->findChild<QGroupBox*>(QString::fromLatin1(group));
        ASSERT_NE(g, nullptr) << group;
        EXPECT_EQ(g->title(), caption);
        EXPECT_EQ(qv::helpContextOf(g), help);
        for (const char* b : {"BtnOk", "BtnCancel", "BtnHelp"})
            EXPECT_NE(d->findChild<QPushButton*>(QString::fromLatin1(b)), nullptr) << b;
        EXPECT_TRUE(d->windowFlags() & Qt::WindowContextHelpButtonHint);
    };
    auto k = s.openKihon();
    check(k.d.get(), "TFormKihonBloc", "Basic Blocks - General Settings 1", "GrpKihonBloc",
          "Basic Block Settings", 5100);
    k.click("BtnHelp");
    s.close(k, "BtnCancel");
    auto c = s.openKaidan();
    check(c.d.get(), "TFormKaidanBloc", "Staircase Blocks - General Settings 1", "GrpKaidan",
          "Staircase Block Settings", 6854);
    c.click("BtnHelp");
    s.close(c, "BtnCancel");
    ASSERT_EQ(platform.shown().size(), 2u);
    EXPECT_EQ(platform.shown()[0].text, "5100");
    EXPECT_EQ(platform.shown()[1].text, "6854");
    EXPECT_FALSE(s.cancel()); // nothing reached the image
}

} // namespace
