// The General 1 dialog on images built in memory: what it shows, what OK writes and
// what it leaves alone.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QTabWidget>
#include <random>

#include "gui/dialogs/updown.h"
#include "gui/general1fixture.h"

namespace {

using qv::Answer;
using qv::test::FakeHost;
using qv::test::put;
using qv::test::ScriptedPlatform;
using qv::test::Zenpan1Session;

TEST(Zenpan1Dialog, OutOfBoundsListsAndCheckBoxesKeepTheirBytes) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    img[0x3DE3] = 0x01;                         // no item byte
    img[0x3DE6] = 0x37;                         // "Invincibility Shell"
    img[0x3DE9] = 0x03;                         // "1UP Mushroom", its default
    img[0x199A] = 0xB0;                         // handrail: only 0x93..0xAE name an entry
    put(img, 0x379D, {0xA9, 0xFF, 0x85, 0x39}); // STA zero page: neither timer pattern
    host.open(img);
    {
        Zenpan1Session s(host);
        QComboBox* pk = s.combo("CmbBlocItemPk");
        EXPECT_EQ(pk->currentText(), "(Out of bounds)");
        EXPECT_EQ(pk->count(), 1);
        EXPECT_FALSE(pk->isEnabled());
        EXPECT_EQ(s.combo("CmbBlocItemSt")->currentText(), "Invincibility Shell");
        EXPECT_EQ(s.combo("CmbBlocItemSt")->count(), 6);
        EXPECT_EQ(s.combo("CmbSusBrgTesuri")->currentText(), "(Out of bounds)");
        EXPECT_FALSE(s.combo("CmbSusBrgTesuri")->isEnabled());
        QCheckBox* timer = s.check("ChkTimeNoDown");
        EXPECT_EQ(timer->checkState(), Qt::PartiallyChecked);
        EXPECT_FALSE(timer->isEnabled());
        s.click("SpdBlocItem"); // Reset passes over the out-of-bounds list
        s.click("SpdTimeNoDown");
        s.click("SpdSusBrgTesuri");
        EXPECT_EQ(pk->currentText(), "(Out of bounds)");
        EXPECT_EQ(s.combo("CmbBlocItemSt")->currentText(), "Starman  [Default]");
        EXPECT_EQ(timer->checkState(), Qt::PartiallyChecked);
        s.combo("CmbBlocItemSt")->setCurrentIndex(3); // back to the shell
        EXPECT_FALSE(s.ok());
    }
    EXPECT_EQ(host.at(0x3DE3), 0x01);
    EXPECT_EQ(host.at(0x3DE6), 0x37);
    EXPECT_EQ(host.at(0x199A), 0xB0);
    EXPECT_EQ(host.at(0x379F), 0x85);
    EXPECT_FALSE(host.doc.modified());

    put(img, 0x379D, {0xA9, 0x00, 0x8D, 0x39});
    host.open(img);
    Zenpan1Session s(host);
    EXPECT_EQ(s.check("ChkTimeNoDown")->checkState(), Qt::Checked);
    EXPECT_EQ(s.check("ChkTimeNoDown")->text(), "Do &Not Decrement Timer");
    s.check("ChkTimeNoDown")->setChecked(false);
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x379E), 0xFF);
    EXPECT_EQ(host.at(0x379F), 0x8D);
}

TEST(Zenpan1Dialog, AndFFStageSelectShows256AndIsRewrittenAsTwoNops) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    put(img, 0x02B1, {0x29, 0xFF});
    host.open(img);
    {
        Zenpan1Session s(host);
        EXPECT_EQ(s.combo("CmbStSelWorld")->currentText(), "256");
        EXPECT_TRUE(s.ok()); // untouched, and still a change
    }
    EXPECT_EQ(host.at(0x02B1), 0xEA);
    EXPECT_EQ(host.at(0x02B2), 0xEA);
    EXPECT_EQ(host.doc.snapshot()[0x02B1], 0x29);
    EXPECT_EQ(host.doc.snapshot()[0x02B2], 0xFF);
    EXPECT_EQ(host.doc.undoCaption(), "&Undo (General 1)");
    EXPECT_EQ(host.doc.title(false), "test.nes * - Quorvane");

    Zenpan1Session s(host); // EA EA now reads as the same entry
    EXPECT_EQ(s.combo("CmbStSelWorld")->currentIndex(), 8);
    s.combo("CmbStSelWorld")->setCurrentIndex(3);
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x02B1), 0x29);
    EXPECT_EQ(host.at(0x02B2), 0x07);
}

TEST(Zenpan1Dialog, LiftSpeedsSpanTwoBytesAndAcceptFromMinus32767) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    img[0x4861] = 0xFF; // ascending: high
    img[0x485C] = 0x10; //            low
    img[0x486D] = 0x80; // descending: high
    img[0x4868] = 0x00; //             low
    host.open(img);
    {
        Zenpan1Session s(host);
        EXPECT_EQ(s.edit("EditUpLift")->text(), "-240");
        EXPECT_EQ(s.edit("EditDownLift")->text(), "32768");
        EXPECT_EQ(s.edit("EditDownLift")->maxLength(), 6);
        EXPECT_EQ(s.find<qv::UpDown>("UdDownLift")->maximum(), 32767);
        EXPECT_EQ(s.find<qv::UpDown>("UdUpLift")->minimum(), -32768);
        s.set("EditUpLift", "-32767");
        s.set("EditDownLift", "-32768"); // the spinner's minimum, outside what OK accepts
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(host.at(0x4861), 0x80);
    EXPECT_EQ(host.at(0x485C), 0x01);
    EXPECT_EQ(host.at(0x486D), 0x00); // default 240
    EXPECT_EQ(host.at(0x4868), 0xF0);
    {
        Zenpan1Session s(host);
        s.set("EditUpLift", "-32768");
        s.ok();
    }
    EXPECT_EQ(host.at(0x4861), 0xFF); // default -240
    EXPECT_EQ(host.at(0x485C), 0x10);
}

TEST(Zenpan1Dialog, InvalidTextBecomesTheDefault) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    img[0x3D42] = 0x20;
    host.open(img);
    {
        Zenpan1Session s(host);
        EXPECT_EQ(s.edit("EditTenCoin")->text(), "32");
        EXPECT_EQ(s.edit("EditCsBrkWorld")->text(), "1"); // byte 0x00 plus one
        s.set("EditTenCoin", "300");
        s.set("EditBlocHaneUp", "-127");
        s.set("EditBlocHaneLw", "128");
        s.set("EditCsBrkWorld", "256");
        s.set("EditTimeDecSpd", "231");
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(host.at(0x3D42), 0x0B);
    EXPECT_EQ(host.at(0x3E7C), 0x7F);
    EXPECT_EQ(host.at(0x3E61), 0x80);
    EXPECT_EQ(host.at(0x1486), 0xFF);
    EXPECT_EQ(host.at(0x3797), 0x18);
    img[0x3D42] = 0x20;
    host.open(img);
    {
        Zenpan1Session s(host);
        s.set("EditTenCoin", "abc");
        s.set("EditCsBrkWorld", "0"); // 1..256
        s.ok();
    }
    EXPECT_EQ(host.at(0x3D42), 0x0B);
    EXPECT_EQ(host.at(0x1486), 0x07); // default 8
}

TEST(Zenpan1Dialog, ResetButtonsRestoreTheirGroupsDefaults) {
    ScriptedPlatform platform;
    FakeHost host;
    host.resets = true;
    auto img = qv::test::blankImage();
    put(img, 0x027D, {0xFC, 0x07, 0xEA}); // stage select on
    put(img, 0x5308, {0x09});
    host.open(img);
    Zenpan1Session s(host);
    platform.answer(Answer::Yes);
    s.click("SpdLift");
    EXPECT_EQ(s.edit("EditUpLift")->text(), "-240");
    EXPECT_EQ(s.edit("EditDownLift")->text(), "240");
    EXPECT_EQ(s.edit("EditGoLiftBfr")->text(), "0");
    EXPECT_EQ(s.edit("EditGoLiftAft")->text(), "16");
    platform.answer(Answer::No);
    s.click("SpdStSelTrue");
    EXPECT_TRUE(s.check("ChkStSelTrue")->isChecked());
    platform.answer(Answer::Yes);
    s.click("SpdFireFrower");
    EXPECT_EQ(s.combo("CmbFireFrower0")->currentText(), "1  [Default]");
    EXPECT_EQ(s.combo("CmbFireFrower2")->currentText(), "6  [Default]");
    EXPECT_EQ(platform.messages(), QStringList(3, "Reset the selection to its default value?"));
    // The Reset of "Hidden 1UP Mushroom Blocks" sits on its own panel.
    EXPECT_NE(s.find<QWidget>("PanelMilZero")->findChild<QAbstractButton*>("SpdAlwaysOneUp"),
              nullptr);
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x5308), 0x01);
    EXPECT_EQ(host.at(0x027F), 0xEA);
    EXPECT_EQ(host.at(0x4861), 0xFF);
    EXPECT_EQ(host.at(0x5658), 0x10);
}

TEST(Zenpan1Dialog, SubDialogButtonsHaveTheirHelpAndEmptyStatus) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(qv::test::blankImage());
    Zenpan1Session s(host);
    EXPECT_EQ(s.dialog()->windowTitle(), "General Settings 1");
    EXPECT_EQ(s.find<QAbstractButton>("BtnKihonBloc")->text(), "Basic &Block Settings...");
    EXPECT_EQ(s.find<QAbstractButton>("BtnKaidanBloc")->text(), "Staircase B&lock Settings...");
    EXPECT_EQ(s.label("LabKihonBloc"), "");
    EXPECT_EQ(s.label("LabKaidanBloc"), "");
    EXPECT_EQ(s.dialog()->pages()->widget(5)->objectName(), "TabMaruChr");
    for (const char* w : {"BtnKihonBloc", "BtnKaidanBloc", "EditTenCoin", "BtnHelp"}) {
        QWidget* target = s.find<QWidget>(w);
        QHelpEvent e(QEvent::WhatsThis, QPoint(1, 1), target->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(target, &e);
    }
    s.click("BtnHelp");
    QStringList contexts;
    for (const qv::test::Shown& x : platform.shown())
        if (x.kind == qv::test::Shown::Help) contexts << x.text;
    EXPECT_EQ(contexts, (QStringList{"5100", "6854", "15682", "503", "200"}));
    s.cancel();
}

// Opening the dialog (and both sub-dialogs) and pressing OK without touching anything
// rewrites every byte as it was, with one exception: CmbStSelWorld at 0x02B1, whose
// pair 29 FF is read as "256" and written back as EA EA. No other item has a value
// outside its range or a second byte sequence for one entry: every numeric encoding of
// this dialog covers all its bytes inside the accepted range, and out-of-bounds lists,
// check boxes, block columns and staircase steps are never rewritten.
TEST(Zenpan1Dialog, OkWithoutChangesKeepsRandomImagesExceptTheAndFFStageSelect) {
    ScriptedPlatform platform;
    const qv::test::PlantedRun known[] = {
        {0x1B17, {{0x00}, {0x01}}},
        {0x379D, {{0xA9, 0x00, 0x8D, 0x39}, {0xA9, 0xFF, 0x8D, 0x39}}},
        {0x027D, {{0xFC, 0x07, 0xEA}, {0xFC, 0x07, 0xF0}}},
        {0x02B1, {{0x29, 0x00}, {0x29, 0x07}, {0x29, 0x7F}, {0xEA, 0xEA}, {0x29, 0xFF}}},
        {0x3DE3, {{0x00}, {0x02}, {0x03}, {0x37}, {0x41}, {0x42}}},
        {0x3DE6, {{0x00}, {0x42}}},
        {0x3DE9, {{0x03}, {0x37}}},
        {0x113E, {{0x04}, {0x14}, {0x09}}},
        {0x113F, {{0x00}, {0x14}}},
        {0x1140, {{0x02}}},
        {0x198A, {{0xFE}, {0x06}, {0x0D}}},
        {0x198D, {{0xFF}}},
        {0x1990, {{0x09}}},
        {0x199A, {{0x93}, {0xA1}, {0xAE}}},
        {0x1979, {{0x03}, {0x0D}}},
        {0x197C, {{0x07}}},
        {0x19A8, {{0x02}}},
        {0x6888, {{0x18}, {0x00}}},
        {0x6889, {{0x19}, {0x1A}}},
        {0x688A, {{0x1A}}},
        {0x688B, {{0x19}}},
        {0x5308, {{0x01}, {0x09}}},
        {0x530E, {{0x03}}},
        {0x5314, {{0x06}, {0x00}}},
        {0x14B5, {{0x08}, {0x1F}}},
        {0x13ED, {{0x00}}},
        {0x13F7, {{0x18}, {0x1F}}},
        {0x140B, {{0x1F}}},
    };
    int rewrites = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        const int shift = seed % 2 ? 0 : 512;
        auto img = qv::test::randomImage(rng, shift, known);
        for (int step = 1; step <= 9; ++step) // some valid staircase steps
            if (rng() % 2) {
                img[static_cast<std::size_t>(0x1AC7 - step + shift)] = rng() % 14;
                img[static_cast<std::size_t>(0x1ABE - step + shift)] = rng() % 13;
            }
        if (seed % 4 == 0) put(img, 0x02B1 + shift, {0x29, 0xFF});

        FakeHost host;
        host.open(img);
        Zenpan1Session s(host);
        auto kihon = s.openKihon();
        s.close(kihon, "BtnOk");
        auto kaidan = s.openKaidan();
        s.close(kaidan, "BtnOk");
        EXPECT_EQ(s.label("LabKihonBloc"), "");
        EXPECT_EQ(s.label("LabKaidanBloc"), "");
        s.ok();
        for (std::size_t i = 0; i < img.size(); ++i) {
            std::uint8_t expected = img[i];
            const std::size_t pair = static_cast<std::size_t>(0x02B1 + shift);
            if ((i == pair || i == pair + 1) && img[pair] == 0x29 && img[pair + 1] == 0xFF)
                expected = 0xEA;
            rewrites += expected != img[i];
            ASSERT_EQ(host.doc.image()[i], expected) << "offset 0x" << std::hex << i;
        }
    }
    EXPECT_GT(rewrites, 10); // the exception was really exercised
}

} // namespace
