// The Scoring dialog on images built in memory: what it shows, what OK writes, what it
// leaves alone, and the panels beside the item scores.
#include <gtest/gtest.h>

#include <QTabWidget>
#include <random>

#include "core/tables/scoring.h"
#include "gui/dialogfixture.h"
#include "gui/dialogs/scoring.h"

namespace {

using qv::Answer;
using qv::test::FakeHost;
using qv::test::put;
using qv::test::ScriptedPlatform;

class PointSession : public qv::test::DialogSessionDriver<qv::TFormPoint> {
  public:
    explicit PointSession(FakeHost& host)
        : DialogSessionDriver(host, qv::tables::scoring(), &qv::makeScoringDialog) {}
    QString panel(const char* name) const { return label(name); }
    void showTab(const char* name) const {
        dialog()->pages()->setCurrentWidget(find<QWidget>(name));
    }
};

// An unmodified game's bytes at the 101 offsets, moved by `shift`.
void putDefaults(std::vector<std::uint8_t>& img, int shift = 0) {
    const auto at = [&](int offset, std::vector<std::uint8_t> bytes) {
        put(img, offset + shift, bytes);
    };
    at(0x04C8, {0x41, 0x42, 0x44, 0x45, 0x48, 0x31, 0x32, 0x34, 0x35, 0x38, 0x00});
    at(0x04B1, {0xF6, 0xFB, 0xF7, 0xFB, 0xF8, 0xFB, 0xF9, 0xFB, 0xFA, 0xFB, 0xF6,
                0x50, 0xF7, 0x50, 0xF8, 0x50, 0xF9, 0x50, 0xFA, 0x50, 0xFD, 0xFE});
    at(0x3C32, {0xA9, 0x02, 0x8D, 0x38});
    at(0x6686, {0xF7});
    at(0x668B, {0xFB});
    at(0x385B, {0x05, 0x02, 0x08, 0x04, 0x01, 0x03, 0x03, 0x04, 0x04, 0x04});
    at(0x6551, {0xF9, 0x50, 0xF7, 0x50, 0xFA, 0xFB, 0xF8, 0xFB, 0xF6, 0xFB});
    at(0x3C0E, {0xA9, 0x01, 0x8D, 0x39});
    at(0x3C23, {0x64});
    at(0x5814, {0x06});
    at(0x584B, {0x0B});
    at(0x55AE, {0x06});
    at(0x57CB, {0x01});
    at(0x57C5, {0x06});
    at(0x5796, {0x09});
    at(0x57BD, {0x02});
    at(0x5975, {0x02, 0x06, 0x05, 0x06}); // Bullet Bill, Hammer Bros., Lakitu, Blooper
    at(0x59D0, {0x03});
    at(0x58F6, {0x03});
    at(0x58A2, {0x0A, 0x06});
    at(0x5AF4, {0x69, 0x04});
    at(0x5B18, {0x69, 0x04});
    at(0x6027, {0x01});
    at(0x3E23, {0xA9, 0x05, 0x8D, 0x39});
    at(0x5341, {0xA9, 0x05, 0x8D, 0x39});
    at(0x52D5, {0xA9, 0x05, 0x8D, 0x38});
    at(0x3C51, {0xA9, 0x24});
    at(0x077B, {0x00});
    at(0x9FED, {0x00});
    at(0x077C, {0x24});
}

TEST(PointDialog, AnUnmodifiedGameOpensOnEveryDefaultAndOkChangesNothing) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    putDefaults(img);
    host.open(img);
    PointSession s(host);
    EXPECT_EQ(s.dialog()->windowTitle(), "Scoring Settings");
    int combos = 0;
    for (QComboBox* c : s.dialog()->findChildren<QComboBox*>()) {
        SCOPED_TRACE(c->objectName().toStdString());
        EXPECT_TRUE(c->isEnabled());
        EXPECT_TRUE(c->currentText().endsWith("[Default]"));
        ++combos;
    }
    EXPECT_EQ(combos, 55);
    for (const char* c : {"ChkMilZero", "ChkPtOneZero", "ChkPtHiOneZero", "ChkPtOneRtZero"})
        EXPECT_EQ(s.check(c)->checkState(), Qt::Unchecked) << c;
    EXPECT_EQ(s.edit("EditOneUpCoin")->text(), "100");
    EXPECT_EQ(s.edit("EditOneUpCoin")->maxLength(), 3);
    EXPECT_EQ(s.combo("CmbPtFumiGesso")->currentText(), "1,000  [Default]");
    EXPECT_EQ(s.combo("CmbPtRenzoku11")->currentText(), "1UP  [Default]");
    // Panels show the slot's combos as they read, suffix included.
    EXPECT_EQ(s.panel("PptPtKinoko"), "1,000  [Default]");
    EXPECT_EQ(s.panel("PvwPtKinoko"), "1,000  [Default]");
    EXPECT_EQ(s.panel("PptPtOneUp"), "1UP  [Default]");
    EXPECT_EQ(s.panel("PvwPtOneUp"), "1UP  [Default]");
    EXPECT_EQ(s.panel("PptPtKeriTwo"), "500  [Default]");
    EXPECT_EQ(s.panel("PvwPtTuki"), "100  [Default]");
    EXPECT_FALSE(s.ok());
    EXPECT_FALSE(host.doc.modified());
    EXPECT_EQ(host.edited, 1);
}

TEST(PointDialog, OutOfBoundsControlsKeepTheirBytesThroughResetAndOk) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    putDefaults(img);
    img[0x5978] = 12;   // Blooper: no such item score
    img[0x5975] = 0x05; // Bullet Bill "800"
    put(img, 0x3C51, {0xA9, 0x01});
    put(img, 0x5AF4, {0x69, 0x04});
    put(img, 0x5B18, {0x69, 0x05}); // the two operands disagree
    host.open(img);
    {
        PointSession s(host);
        QComboBox* gesso = s.combo("CmbPtFumiGesso");
        EXPECT_EQ(gesso->currentText(), "(Out of bounds)");
        EXPECT_EQ(gesso->count(), 1);
        EXPECT_FALSE(gesso->isEnabled());
        EXPECT_EQ(s.panel("PptPtFumiGesso"), "(Out of bounds)");
        EXPECT_EQ(s.panel("PvwPtFumiGesso"), "(Out of bounds)");
        EXPECT_EQ(s.panel("PptPtKeriTwo"), "(Out of bounds)");
        EXPECT_EQ(s.panel("PptPtFumiKiller"), "800  [Default]");
        EXPECT_EQ(s.check("ChkMilZero")->checkState(), Qt::PartiallyChecked);
        EXPECT_FALSE(s.check("ChkMilZero")->isEnabled());
        s.check("ChkPtOneZero")->setChecked(true);
        s.click("SpdPtFumiR");
        s.click("SpdPtKeriR");
        s.click("SpdPtPointR");
        EXPECT_EQ(gesso->currentText(), "(Out of bounds)");
        EXPECT_EQ(s.combo("CmbPtFumiKiller")->currentText(), "200  [Default]");
        EXPECT_EQ(s.panel("PptPtFumiKiller"), "200  [Default]"); // refreshed by Reset
        EXPECT_EQ(s.panel("PvwPtFumiGesso"), "(Out of bounds)");
        EXPECT_EQ(s.combo("CmbPtKeriTwo")->currentText(), "(Out of bounds)");
        EXPECT_EQ(s.check("ChkMilZero")->checkState(), Qt::PartiallyChecked);
        EXPECT_FALSE(s.check("ChkPtOneZero")->isChecked());
        EXPECT_TRUE(s.ok()); // Bullet Bill went back to 200
    }
    EXPECT_EQ(host.at(0x5975), 0x02);
    EXPECT_EQ(host.at(0x5978), 12);
    EXPECT_EQ(host.at(0x3C51), 0xA9);
    EXPECT_EQ(host.at(0x3C52), 0x01);
    EXPECT_EQ(host.at(0x5AF5), 0x04);
    EXPECT_EQ(host.at(0x5B19), 0x05);
    EXPECT_EQ(host.at(0x077B), 0x00);
    EXPECT_EQ(host.doc.undoCaption(), "&Undo (Scoring)");
}

TEST(PointDialog, CarriedDigitIsRewrittenCanonicallyAndCoinCountsWrap) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    putDefaults(img);
    put(img, 0x52D5, {0xA9, 0x0A, 0x8D, 0x39}); // value 10 in the tens: "100"
    img[0x3C23] = 0x00;                         // 256 coins
    host.open(img);
    {
        PointSession s(host);
        EXPECT_EQ(s.combo("CmbPtHanabi")->currentText(), "100");
        EXPECT_EQ(s.edit("EditOneUpCoin")->text(), "256");
        EXPECT_TRUE(s.ok()); // untouched, and still a change
    }
    EXPECT_EQ(host.at(0x52D5), 0xA9);
    EXPECT_EQ(host.at(0x52D6), 0x01);
    EXPECT_EQ(host.at(0x52D7), 0x8D);
    EXPECT_EQ(host.at(0x52D8), 0x38);
    EXPECT_EQ(host.at(0x3C23), 0x00);
    EXPECT_EQ(host.doc.snapshot()[0x52D6], 0x0A);

    const auto coins = [&](const char* text) {
        PointSession s(host);
        s.set("EditOneUpCoin", text);
        s.ok();
        return host.at(0x3C23);
    };
    EXPECT_EQ(coins("255"), 0xFF);
    EXPECT_EQ(coins("256"), 0x00);
    EXPECT_EQ(coins("257"), 0x64);
    EXPECT_EQ(coins("1"), 0x01);
    EXPECT_EQ(coins("0"), 0x64);
    EXPECT_EQ(coins("ab"), 0x64);
}

TEST(PointDialog, PanelsFollowTheScoreTableWhenTheirTabIsEntered) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    putDefaults(img);
    img[0x55AE] = 0x02; // lift bonus: slot 2, "200"
    img[0x57CB] = 0x00; // Goomba by fireball: no score
    host.open(img);
    PointSession s(host);
    EXPECT_EQ(s.panel("PptPtLift"), "200  [Default]");
    EXPECT_EQ(s.panel("PvwPtLift"), "200  [Default]");
    EXPECT_EQ(s.panel("PptPtFireKuri"), "0");
    EXPECT_EQ(s.panel("PvwPtFireKuri"), "（点数非表示）");

    s.showTab("TabSogo");
    s.combo("CmbPtRenzoku2")->setCurrentIndex(20);     // "2,000"
    s.combo("CmbVwRenzoku2")->setCurrentIndex(0);      // "(Hidden)"
    EXPECT_EQ(s.panel("PptPtLift"), "200  [Default]"); // not at once
    s.showTab("TabFire");
    EXPECT_EQ(s.panel("PptPtLift"), "200  [Default]"); // another tab's panels
    s.showTab("TabItem");
    EXPECT_EQ(s.panel("PptPtLift"), "2,000");
    EXPECT_EQ(s.panel("PvwPtLift"), "(Hidden)");

    s.combo("CmbPtFireKuri")->setCurrentIndex(11); // its own change refreshes it
    EXPECT_EQ(s.panel("PptPtFireKuri"), "1UP  [Default]");
    EXPECT_EQ(s.panel("PvwPtFireKuri"), "1UP  [Default]");
    s.combo("CmbPtFireKuri")->setCurrentIndex(2);
    EXPECT_EQ(s.panel("PptPtFireKuri"), "2,000");
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x04C9), 0x32);
    EXPECT_EQ(host.at(0x04B3), 0xFC);
    EXPECT_EQ(host.at(0x04B4), 0xFC);
    EXPECT_EQ(host.at(0x57CB), 0x02);
}

TEST(PointDialog, ResetAsksAndRestoresItsGroupOnly) {
    ScriptedPlatform platform;
    FakeHost host;
    host.resets = true;
    auto img = qv::test::blankImage(); // zeros: many lists out of bounds, slots read "0"
    host.open(img);
    PointSession s(host);
    EXPECT_EQ(s.combo("CmbPtRenzoku1")->currentText(), "0");
    EXPECT_EQ(s.combo("CmbVwRenzoku1")->currentText(), "(Out of bounds)");
    EXPECT_EQ(s.combo("CmbPtPole100")->currentText(), "(Out of bounds)");
    EXPECT_EQ(s.combo("CmbPtHanabi")->currentText(), "(Out of bounds)");
    EXPECT_EQ(s.check("ChkPtOneZero")->checkState(), Qt::Unchecked);
    EXPECT_EQ(s.check("ChkPtOneRtZero")->checkState(), Qt::Checked);
    EXPECT_EQ(s.panel("PptPtKinoko"), "0");
    EXPECT_EQ(s.panel("PvwPtKinoko"), "（点数非表示）");
    platform.answer(Answer::No);
    s.click("SpdRenzoku");
    EXPECT_EQ(s.combo("CmbPtRenzoku1")->currentText(), "0");
    platform.answer(Answer::Yes);
    s.click("SpdRenzoku");
    EXPECT_EQ(s.combo("CmbPtRenzoku1")->currentText(), "100  [Default]");
    EXPECT_EQ(s.combo("CmbPtRenzoku11")->currentText(), "1UP  [Default]");
    EXPECT_EQ(s.combo("CmbVwRenzoku1")->currentText(), "(Out of bounds)");
    platform.answer(Answer::Yes);
    s.click("SpdPtKinoko");
    EXPECT_EQ(s.combo("CmbPtKinoko")->currentText(), "1,000  [Default]");
    EXPECT_EQ(s.panel("PptPtKinoko"), "1,000  [Default]"); // slot 6, reset just before
    EXPECT_EQ(s.panel("PvwPtKinoko"), "(Out of bounds)");
    EXPECT_EQ(s.combo("CmbPtLift")->currentText(), "0 (Hidden)"); // another group
    platform.answer(Answer::Yes);
    s.click("SpdPtPointR");
    EXPECT_EQ(s.check("ChkPtOneRtZero")->checkState(), Qt::Unchecked);
    platform.answer(Answer::Yes);
    s.click("SpdPtPole");
    EXPECT_EQ(s.edit("EditOneUpCoin")->text(), "100");
    EXPECT_EQ(platform.messages(), QStringList(5, "Reset the selection to its default value?"));
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x04C8), 0x41);
    EXPECT_EQ(host.at(0x04D2), 0x00);
    EXPECT_EQ(host.at(0x04B1), 0x00); // out of bounds, kept
    EXPECT_EQ(host.at(0x5814), 0x06);
    EXPECT_EQ(host.at(0x077C), 0x24);
    EXPECT_EQ(host.at(0x3C23), 0x64);
    EXPECT_EQ(host.at(0x385F), 0x00); // flagpole pair 0 at position 0: kept
}

TEST(PointDialog, ATrainerMovesEveryByteBy512) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage(41488);
    putDefaults(img, 512);
    host.open(img);
    {
        PointSession s(host);
        EXPECT_EQ(s.combo("CmbPtKeriTwo")->currentText(), "500  [Default]");
        EXPECT_EQ(s.combo("CmbVwCoin")->currentText(), "200  [Default]");
        EXPECT_EQ(s.edit("EditOneUpCoin")->text(), "100");
        s.combo("CmbPtKeriTwo")->setCurrentIndex(10);
        s.combo("CmbPtPole100")->setCurrentIndex(46); // "1,000,000"
        s.combo("CmbVwCoin")->setCurrentIndex(1);     // "0 "
        s.check("ChkMilZero")->setChecked(true);
        s.set("EditOneUpCoin", "50");
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(host.at(0x5CF5), 0x0A); // 0x5AF5 + 512
    EXPECT_EQ(host.at(0x5D19), 0x0A); // 0x5B19 + 512
    EXPECT_EQ(host.at(0x3A5F), 0x01); // 0x385F + 512
    EXPECT_EQ(host.at(0x3A64), 0x00); // 0x3864 + 512
    EXPECT_EQ(host.at(0x6886), 0xFB); // 0x6686 + 512
    EXPECT_EQ(host.at(0x688B), 0xFC); // 0x668B + 512
    EXPECT_EQ(host.at(0x3E52), 0x00); // 0x3C52 + 512
    EXPECT_EQ(host.at(0x3E23), 0x32); // 0x3C23 + 512
    EXPECT_EQ(host.at(0x5AF5), 0x00); // the unshifted offsets stay alone
    EXPECT_EQ(host.at(0x3C23), 0x00);
}

// Opening the dialog and pressing OK without touching anything rewrites every byte as
// it was, with one exception: a digit-add instruction holding value 10 at the lowest
// digit (A9 0A 8D 39) reads as the entry above 9 and is written back in canonical
// form (A9 01 8D 38). That is true of the four score instructions CmbPtCoin (0x3C32),
// CmbPtLenga (0x3E23), CmbPtNkTime (0x5341), CmbPtHanabi (0x52D5) and of the coin
// step CmbVwGetCoin (0x3C0E). The coin count reads every byte inside 1..256, and every
// other list has one byte pattern per entry, or is out of bounds and kept.
TEST(PointDialog, OkWithoutChangesKeepsRandomImagesExceptCarriedDigits) {
    ScriptedPlatform platform;
    const int carried[] = {0x3C32, 0x3E23, 0x5341, 0x52D5, 0x3C0E};
    int rewrites = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        const int shift = seed % 2 ? 0 : 512;
        auto img = qv::test::randomImage(rng, shift);
        if (seed % 3 == 0) putDefaults(img, shift); // mostly valid entries
        // Some instructions in the carried form, some with another valid value.
        for (int off : carried) {
            const unsigned pick = rng() % 3;
            if (pick == 0) put(img, off + shift, {0xA9, 0x0A, 0x8D, 0x39});
            if (pick == 1)
                put(img, off + shift, {0xA9, static_cast<std::uint8_t>(rng() % 10), 0x8D, 0x38});
        }
        for (int off : {0x04C8, 0x04CF, 0x04D2}) // score-table points
            img[static_cast<std::size_t>(off + shift)] =
                static_cast<std::uint8_t>((rng() % 6) << 4 | (1 + rng() % 9));
        for (int off : {0x5814, 0x5978, 0x6027})
            img[static_cast<std::size_t>(off + shift)] = rng() % 12;

        FakeHost host;
        host.open(img);
        PointSession s(host);
        s.ok();
        for (std::size_t i = 0; i < img.size(); ++i) {
            std::uint8_t expected = img[i];
            for (int off : carried) {
                const std::size_t o = static_cast<std::size_t>(off + shift);
                if (img[o] == 0xA9 && img[o + 1] == 0x0A && img[o + 2] == 0x8D &&
                    img[o + 3] == 0x39) {
                    if (i == o + 1) expected = 0x01;
                    if (i == o + 3) expected = 0x38;
                }
            }
            rewrites += expected != img[i];
            ASSERT_EQ(host.doc.image()[i], expected) << "offset 0x" << std::hex << i;
        }
    }
    EXPECT_GT(rewrites, 20); // the exception was really exercised
}

} // namespace
