// The Mario dialog on images built in memory: what it shows and what OK writes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <random>

#include "gui/dialogfixture.h"
#include "gui/dialogs/updown.h"
#include "support/cleanimage.h"

namespace {

using qv::Answer;
using qv::test::FakeHost;
using qv::test::MarioSession;
using qv::test::ScriptedPlatform;

TEST(MarioDialog, ShowsDecodedBytes) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    img[0x3454] = 0x18;
    img[0x3451] = 0xE8;
    img[0x107A] = 0x02;
    img[0x3456] = 0x81;
    img[0x3449] = 0x00; // correction 255
    img[0x3434] = 0x20; // rise rate 223
    host.open(img);
    {
        MarioSession s(host);
        EXPECT_EQ(s.edit("EditMaWalk_R")->text(), "24");
        EXPECT_EQ(s.edit("EditMaWalk_L")->text(), "24");
        EXPECT_EQ(s.edit("EditMaZanki")->text(), "3");
        EXPECT_EQ(s.edit("EditMaAutoWk")->text(), "129");
        EXPECT_EQ(s.edit("EditJumpRev1")->text(), "255");
        EXPECT_EQ(s.edit("EditJumpRise1")->text(), "223");
        EXPECT_EQ(s.find<qv::UpDown>("UdMaWalk_L")->position(), 24);
        s.cancel();
    }
    img[0x3456] = 0x82;
    host.open(img);
    MarioSession s(host);
    EXPECT_EQ(s.edit("EditMaAutoWk")->text(), "-126");
    s.cancel();
}

TEST(MarioDialog, OkEncodesEditsAndReplacesInvalidTextWithTheDefault) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(qv::test::blankImage());
    {
        MarioSession s(host);
        s.set("EditMaZanki", "0");
        s.set("EditMaWalk_L", "128");
        s.set("EditMaWalk_R", "300");  // -128..127
        s.set("EditMaUmiWk_R", "abc"); // -128..127, default 16
        s.set("EditJumpRev1", "255");
        s.set("EditJumpRise1", "223");
        s.set("EditMaAutoWk", "128");
        s.ok();
    }
    EXPECT_EQ(host.at(0x107A), 0xFF);
    EXPECT_EQ(host.at(0x3451), 0x80);
    EXPECT_EQ(host.at(0x3454), 0x18);
    EXPECT_EQ(host.at(0x3455), 0x10);
    EXPECT_EQ(host.at(0x3449), 0x00);
    EXPECT_EQ(host.at(0x3434), 0x20);
    EXPECT_EQ(host.at(0x3456), 0x80);
    {
        MarioSession s(host);
        s.set("EditMaZanki", "255");
        s.set("EditMaWalk_L", "-128"); // -127..128: becomes 24
        s.set("EditMaAutoWk", "-127"); // -126..129: becomes 12
        s.ok();
    }
    EXPECT_EQ(host.at(0x107A), 0xFE);
    EXPECT_EQ(host.at(0x3451), 0xE8);
    EXPECT_EQ(host.at(0x3456), 0x0C);
}

TEST(MarioDialog, PipeExitHeightListAndItsOutOfBoundsState) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    img[0x30B8] = 0x91;
    img[0x3638] = 0x01;
    host.open(img);
    {
        MarioSession s(host);
        QComboBox* pipe = s.combo("CmbMaDokanHeight");
        EXPECT_EQ(pipe->currentText(), "8  [Default]");
        EXPECT_EQ(pipe->count(), 16);
        EXPECT_TRUE(pipe->isEnabled());
        EXPECT_EQ(s.combo("CmbFireShot")->currentText(), "As Super Mario");
        pipe->setCurrentIndex(12);
        s.click("SpdFireShot"); // Reset without the question: index 2
        EXPECT_EQ(s.combo("CmbFireShot")->currentIndex(), 2);
        s.ok();
    }
    EXPECT_EQ(host.at(0x30B8), 0xC1);
    EXPECT_EQ(host.at(0x3638), 0x02);

    img[0x30B8] = 0x92;
    host.open(img);
    MarioSession s(host);
    QComboBox* pipe = s.combo("CmbMaDokanHeight");
    EXPECT_EQ(pipe->currentText(), "(Out of bounds)");
    EXPECT_EQ(pipe->count(), 1);
    EXPECT_FALSE(pipe->isEnabled());
    EXPECT_EQ(pipe->palette().color(QPalette::Base), pipe->palette().color(QPalette::Button));
    s.click("SpdMaDokanHeight");
    EXPECT_EQ(pipe->currentText(), "(Out of bounds)");
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(host.at(0x30B8), 0x92);
    EXPECT_FALSE(host.doc.modified());
}

TEST(MarioDialog, CheckBoxesFollowTheirPatternsAndGreyOtherwise) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    img[0x593C] = 0x01; // ChkMuteki1: neither A6 08 60 nor AD 9E 07
    img[0x593D] = 0x02;
    img[0x593E] = 0x03;
    const std::uint8_t kick[] = {0x9F, 0x07, 0xEA, 0xEA}; // ChkMuteki2 ticked
    std::copy(std::begin(kick), std::end(kick), img.begin() + 0x589B);
    const std::uint8_t one[] = {0xEE, 0xCE, 0x06}; // ChkFireOne clear
    std::copy(std::begin(one), std::end(one), img.begin() + 0x3671);
    host.open(img);
    {
        MarioSession s(host);
        QCheckBox* muteki1 = s.check("ChkMuteki1");
        EXPECT_EQ(muteki1->checkState(), Qt::PartiallyChecked);
        EXPECT_FALSE(muteki1->isEnabled());
        EXPECT_EQ(s.check("ChkMuteki2")->checkState(), Qt::Checked);
        EXPECT_TRUE(s.check("ChkMuteki2")->isEnabled());
        s.click("SpdMuteki");
        EXPECT_EQ(muteki1->checkState(), Qt::PartiallyChecked);
        EXPECT_EQ(s.check("ChkMuteki2")->checkState(), Qt::Unchecked);
        s.check("ChkFireOne")->setChecked(true);
        s.ok();
    }
    EXPECT_EQ(host.at(0x593C), 0x01);
    EXPECT_EQ(host.at(0x593D), 0x02);
    EXPECT_EQ(host.at(0x593E), 0x03);
    EXPECT_EQ(host.at(0x589D), 0xF0);
    EXPECT_EQ(host.at(0x589E), 0x06);
    EXPECT_EQ(host.at(0x3671), 0xEA);
    EXPECT_EQ(host.at(0x3672), 0xEA);
    EXPECT_EQ(host.at(0x3673), 0xEA);
}

TEST(MarioDialog, LuigiFillsTheJumpTableAfterItsQuestion) {
    ScriptedPlatform platform;
    FakeHost host;
    host.resets = true;
    host.open(qv::test::blankImage());
    {
        MarioSession s(host);
        platform.answer(Answer::No);
        s.click("SpdJumpLuigi");
        EXPECT_EQ(s.edit("EditJumpRise1")->text(), "255"); // byte 0x00
        platform.answer(Answer::Yes);
        s.click("SpdJumpLuigi");
        EXPECT_EQ(platform.messages(),
                  (QStringList{"Set all options to the same values as Luigi in SMB2 (J)?",
                               "Set all options to the same values as Luigi in SMB2 (J)?"}));
        s.ok();
    }
    const std::vector<std::uint8_t> rise(host.doc.image().begin() + 0x3434,
                                         host.doc.image().begin() + 0x3439);
    const std::vector<std::uint8_t> fall(host.doc.image().begin() + 0x343B,
                                         host.doc.image().begin() + 0x3440);
    EXPECT_EQ(rise, (std::vector<std::uint8_t>{0x18, 0x18, 0x18, 0x22, 0x22}));
    EXPECT_EQ(fall, (std::vector<std::uint8_t>{66, 66, 46, 93, 93}));
    EXPECT_EQ(host.at(0x3442), 0xFC); // base 4
    EXPECT_EQ(host.at(0x3446), 0xFB); // base 5

    host.resets = false; // without the Reset setting it acts at once
    host.open(qv::test::blankImage());
    MarioSession s(host);
    s.click("SpdJumpLuigi");
    EXPECT_EQ(s.edit("EditJumpFall3")->text(), "46");
    EXPECT_TRUE(platform.scriptUsedUp());
    s.cancel();
}

TEST(MarioDialog, TrainerImagesAreReadAndWritten512BytesFurther) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage(41488);
    img[0x3454 + 512] = 0x18;
    img[0x107A + 512] = 0x02;
    img[0x30B8 + 512] = 0x91;
    img[0x3454] = 0x77; // where a trainer-less image would have it
    host.open(img);
    MarioSession s(host);
    EXPECT_EQ(s.edit("EditMaWalk_R")->text(), "24");
    EXPECT_EQ(s.edit("EditMaZanki")->text(), "3");
    EXPECT_EQ(s.combo("CmbMaDokanHeight")->currentIndex(), 9);
    s.set("EditMaZanki", "0");
    s.set("EditMaWalk_L", "128");
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x107A + 512), 0xFF);
    EXPECT_EQ(host.at(0x3451 + 512), 0x80);
    EXPECT_EQ(host.at(0x107A), 0x00);
    EXPECT_EQ(host.at(0x3451), 0x00);
    EXPECT_EQ(host.at(0x3454), 0x77);
}

// Opening and OK without touching anything rewrites every byte as it was, except where
// a stored byte reads as a number outside its item's accepted range. Over all 256 byte
// values that happens for exactly two items:
//   EditMaTsuruUp   0x345B  negated, range -128..127: byte 0x80 reads 128 -> default 1 = 0xFF
//   EditMaTsuruDown 0x345C  signed, range -127..128:  byte 0x80 reads -128 -> default 1 = 0x01
TEST(MarioDialog, OkWithoutChangesKeepsRandomImagesExceptTheTwoVineSpeeds) {
    ScriptedPlatform platform;
    struct Pattern {
        int offset;
        std::vector<std::uint8_t> a, b;
    };
    const Pattern checks[] = {
        {0x3457, {0xB4, 0x68, 0x50}, {0xE4, 0x98, 0xD0}},
        {0x34AB, {0x70}, {0x10}},
        {0x36D6, {0x07}, {0x00}},
        {0x3657, {0xEA, 0xEA}, {0xD0, 0x1B}},
        {0x3671, {0xEA, 0xEA, 0xEA}, {0xEE, 0xCE, 0x06}},
        {0x593C, {0xA6, 0x08, 0x60}, {0xAD, 0x9E, 0x07}},
        {0x589B, {0x9F, 0x07, 0xEA, 0xEA}, {0x9F, 0x07, 0xF0, 0x06}},
    };
    int rewrites = 0;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        const int shift = seed % 2 ? 0 : 512;
        auto img = qv::test::randomImage(rng, shift);
        // Give the check and choice items their known patterns often enough.
        for (const Pattern& p : checks) {
            const unsigned pick = rng() % 3;
            if (pick == 2) continue;
            const auto& bytes = pick ? p.a : p.b;
            std::copy(bytes.begin(), bytes.end(), img.begin() + p.offset + shift);
        }
        if (rng() % 2) img[static_cast<std::size_t>(0x3638 + shift)] = rng() % 4;
        if (rng() % 2) img[static_cast<std::size_t>(0x30B8 + shift)] = (rng() % 16) * 16 + 1;
        if (seed % 3 == 0) img[static_cast<std::size_t>(0x345B + shift)] = 0x80;
        if (seed % 4 == 0) img[static_cast<std::size_t>(0x345C + shift)] = 0x80;

        FakeHost host;
        host.open(img);
        MarioSession s(host);
        s.ok();
        for (std::size_t i = 0; i < img.size(); ++i) {
            std::uint8_t expected = img[i];
            if (i == static_cast<std::size_t>(0x345B + shift) && img[i] == 0x80) expected = 0xFF;
            if (i == static_cast<std::size_t>(0x345C + shift) && img[i] == 0x80) expected = 0x01;
            rewrites += expected != img[i];
            ASSERT_EQ(host.doc.image()[i], expected) << "offset 0x" << std::hex << i;
        }
    }
    EXPECT_GT(rewrites, 20); // the exceptions were really exercised
}

} // namespace

// Every button a mouse can press is in the Tab order: the Reset buttons and Luigi, each
// in its group's place, right before the group's first box.
TEST(MarioDialog, ResetAndLuigiAreInTheTabOrder) {
    qv::test::ScriptedPlatform platform;
    qv::test::FakeHost host;
    host.open(qv::test::blankImage());
    qv::test::MarioSession s(host);
    s.dialog()->show();
    s.dialog()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(s.dialog()));
    QStringList order;
    QWidget* start = s.edit("EditMaWalk_R");
    QWidget* w = start;
    do {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != start);
    for (const char* name : {"SpdMaRun", "SpdMaUmiWk", "SpdMaAutoWk"})
        EXPECT_TRUE(order.contains(name)) << name << ": " << order.join(",").toStdString();
    EXPECT_EQ(order.indexOf("SpdMaRun") + 1, order.indexOf("EditMaRun_R"));
    s.dialog()->pages()->setCurrentIndex(1); // Jump Ability 1: Reset and Luigi
    EXPECT_TRUE(s.find<QToolButton>("SpdJumpLuigi")->focusPolicy() & Qt::TabFocus);
    EXPECT_TRUE(s.find<QToolButton>("SpdJump")->focusPolicy() & Qt::TabFocus);
    // A click leaves the focus where it was.
    s.edit("EditMaWalk_R")->setFocus();
    s.dialog()->pages()->setCurrentIndex(0);
    s.edit("EditMaWalk_R")->setFocus();
    QTest::mouseClick(s.find<QToolButton>("SpdMaWalk"), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), s.edit("EditMaWalk_R"));
    s.dialog()->hide();
}

// Values that differ from the game's own are marked (bold label, a tip naming the game's
// value, a dot on the page's tab) from the same rule as Changed Parameters; a number OK
// would not take is marked while typing, and OK still stores the default without a word.
TEST(MarioDialog, MarksChangedValuesAndTextOkWouldNotTake) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qvtest::cleanImage();
    img[0x3454] = 0x20; // walking speed right 32 (24)
    img[0x107A] = 0x04; // lives 5 (3)
    host.open(img);
    MarioSession s(host);
    const auto labelOf = [&](const char* edit) {
        for (QLabel* l : s.dialog()->findChildren<QLabel*>())
            if (l->buddy() == s.edit(edit)) return l;
        return static_cast<QLabel*>(nullptr);
    };
    EXPECT_TRUE(labelOf("EditMaWalk_R")->font().bold());
    EXPECT_FALSE(labelOf("EditMaWalk_L")->font().bold());
    EXPECT_EQ(s.edit("EditMaWalk_R")->toolTip(), "The game's own value: 24");
    EXPECT_EQ(s.edit("EditMaWalk_L")->toolTip(), "");
    EXPECT_TRUE(s.dialog()->pageMarked(0)); // Speed
    EXPECT_FALSE(s.dialog()->pageMarked(1));
    EXPECT_TRUE(s.dialog()->pageMarked(7)); // Damage
    EXPECT_NE(s.edit("EditMaWalk_R")->palette().color(QPalette::Base),
              s.edit("EditMaWalk_L")->palette().color(QPalette::Base));

    // Typing: a number out of range, then not a number, then nothing.
    s.set("EditMaWalk_L", "300");
    EXPECT_EQ(s.edit("EditMaWalk_L")->toolTip(),
              QString::fromUtf8("300 is outside -127～128: OK stores the default, 24"));
    const QColor invalid = s.edit("EditMaWalk_L")->palette().color(QPalette::Base);
    EXPECT_NE(invalid, s.edit("EditMaWalk_R")->palette().color(QPalette::Base));
    s.set("EditMaWalk_L", "1a");
    EXPECT_EQ(s.edit("EditMaWalk_L")->toolTip(),
              "\"1a\" is not a number: OK stores the default, 24");
    s.set("EditMaWalk_L", "");
    EXPECT_EQ(s.edit("EditMaWalk_L")->toolTip(), "Empty: OK stores the default, 24");
    s.set("EditMaWalk_L", "30");
    EXPECT_EQ(s.edit("EditMaWalk_L")->toolTip(), "The game's own value: 24");
    EXPECT_TRUE(labelOf("EditMaWalk_L")->font().bold());
    // Back to the game's own: the marks go, and with them the page's dot.
    s.set("EditMaWalk_L", "24");
    s.set("EditMaWalk_R", "24");
    EXPECT_FALSE(labelOf("EditMaWalk_R")->font().bold());
    EXPECT_FALSE(s.dialog()->pageMarked(0));
    EXPECT_TRUE(s.dialog()->pageMarked(7));
    // A list: the pipe exit height away from its default marks its page.
    s.combo("CmbMaDokanHeight")->setCurrentIndex(3);
    EXPECT_TRUE(s.dialog()->pageMarked(5));
    EXPECT_EQ(s.combo("CmbMaDokanHeight")->toolTip(), "The game's own value: 8");

    // OK stores the default for a number it does not take, and says nothing.
    s.set("EditMaWalk_L", "300");
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x3451), 0xE8); // -24: the default, negated
    EXPECT_TRUE(platform.messages().isEmpty());
}
