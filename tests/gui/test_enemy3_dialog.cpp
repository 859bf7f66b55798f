// The Enemy 3 dialog on images built in memory: the edge encodings, the flame
// pattern count and its interval boxes, out-of-bounds lists, and what OK leaves alone.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QTabWidget>

#include "core/tables/enemy3.h"
#include "gui/dialogfixture.h"
#include "gui/dialogs/enemy3.h"
#include "gui/dialogs/updown.h"

namespace {

using qv::Answer;
using qv::test::at;
using qv::test::FakeHost;
using qv::test::put;
using qv::test::ScriptedPlatform;

class Enemy3Session : public qv::test::DialogSessionDriver<qv::TFormEnemy3> {
  public:
    explicit Enemy3Session(FakeHost& host)
        : DialogSessionDriver(host, qv::tables::enemy3(), &qv::makeEnemy3Dialog) {}
    // Which of EditKoppaFiPat0..7 are enabled, as "11000000".
    QString inUse() const {
        QString out;
        for (int n = 0; n < 8; ++n) {
            const QByteArray name = "EditKoppaFiPat" + QByteArray::number(n);
            const QByteArray spinName = "UdKoppaFiPat" + QByteArray::number(n);
            EXPECT_EQ(edit(name.constData())->isEnabled(), spin(spinName.constData())->isEnabled());
            out += edit(name.constData())->isEnabled() ? '1' : '0';
        }
        return out;
    }
};

TEST(Enemy3Dialog, EnduranceWorldHoldTimeAndNegatedDefaults) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    img[0x457C] = 0x00;
    img[0x5161] = 0x05;
    img[0x3AC4] = 0xFF;
    host.open(img);
    {
        Enemy3Session s(host);
        EXPECT_EQ(s.dialog()->windowTitle(), "Enemy Settings 3");
        EXPECT_EQ(s.edit("EditFiKoopa")->text(), "256");
        EXPECT_EQ(s.edit("EditKoopaNoFire")->text(), "6");
        EXPECT_EQ(s.edit("EditHammerHold")->text(), "125");
        EXPECT_EQ(s.edit("EditHammerHold")->maxLength(), 4);
        EXPECT_EQ(s.edit("EditHodai_L")->maxLength(), 4);
        EXPECT_EQ(s.edit("EditHmBrsIdo")->maxLength(), 3);
        s.set("EditFiKoopa", "255");
        s.set("EditKoopaNoFire", "256");
        s.set("EditHammerHold", "14");
        s.set("EditHammerThrow", "");
        s.set("EditHammer_L", "");
        s.set("EditKoppaFiPat0", "256"); // shown as 0 (byte 0x00) and in use
        s.set("EditHmBrsZengo", "-128");
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(host.at(0x457C), 0xFF);
    EXPECT_EQ(host.at(0x5161), 0xFF);
    EXPECT_EQ(host.at(0x3AC4), 0x90);
    EXPECT_EQ(host.at(0x3B04), 0xFE);
    EXPECT_EQ(host.at(0x3AA3), 0xF0);
    EXPECT_EQ(host.at(0x51E1), 0xBF);
    EXPECT_EQ(host.at(0x4A6D), 0x80);
    EXPECT_EQ(host.doc.undoCaption(), "&Undo (Enemy 3)");

    img[0x457C] = 0x05;
    img[0x3AC4] = 0x00;
    host.open(img);
    {
        Enemy3Session s(host);
        EXPECT_EQ(s.edit("EditFiKoopa")->text(), "5");
        EXPECT_EQ(s.edit("EditHammerHold")->text(), "-130");
        s.set("EditFiKoopa", "256");
        s.set("EditKoopaNoFire", "0"); // below 1: the default 6
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(host.at(0x457C), 0x00);
    EXPECT_EQ(host.at(0x5161), 0x05);
    EXPECT_EQ(host.at(0x3AC4), 0x00);
}

TEST(Enemy3Dialog, PatternCountDecidesTheIntervalBoxesInUse) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    put(img, 0x51E1, {0xBF, 0x40, 0xBF, 0xBF, 0xBF, 0x40, 0x40, 0xBF});
    img[0x51F3] = 0x07;
    host.open(img);
    {
        Enemy3Session s(host);
        QComboBox* count = s.combo("CmbKoppaFiPatCnt");
        EXPECT_EQ(count->currentText(), "8  [Default]");
        EXPECT_EQ(s.inUse(), "11111111");
        s.set("EditKoppaFiPat5", "77");
        count->setCurrentIndex(1); // "2"
        EXPECT_EQ(s.inUse(), "11000000");
        EXPECT_NE(s.edit("EditKoppaFiPat2")->palette().color(QPalette::Base),
                  s.edit("EditKoppaFiPat1")->palette().color(QPalette::Base));
        count->setCurrentIndex(2); // "4"
        EXPECT_EQ(s.inUse(), "11110000");
        EXPECT_EQ(s.edit("EditKoppaFiPat2")->palette().color(QPalette::Base),
                  s.edit("EditKoppaFiPat1")->palette().color(QPalette::Base));
        count->setCurrentIndex(0); // "1"
        EXPECT_EQ(s.inUse(), "10000000");
        count->setCurrentIndex(1);
        s.set("EditKoppaFiPat7", "300"); // out of use, still read: the default 191
        EXPECT_TRUE(s.ok());
    }
    // The boxes out of use are written too: 77 = 0x4D in the sixth.
    EXPECT_EQ(at(host, 0x51E1, 8),
              (std::vector<std::uint8_t>{0xBF, 0x40, 0xBF, 0xBF, 0xBF, 0x4D, 0x40, 0xBF}));
    EXPECT_EQ(host.at(0x51F3), 0x01);

    // Out of bounds counts as "1" and is kept.
    img[0x51F3] = 0x05;
    host.open(img);
    {
        Enemy3Session s(host);
        EXPECT_EQ(s.combo("CmbKoppaFiPatCnt")->currentText(), "(Out of bounds)");
        EXPECT_FALSE(s.combo("CmbKoppaFiPatCnt")->isEnabled());
        EXPECT_EQ(s.inUse(), "10000000");
        EXPECT_FALSE(s.ok());
    }
    EXPECT_EQ(host.at(0x51F3), 0x05);

    img[0x51F3] = 0x03;
    host.open(img);
    Enemy3Session s(host);
    EXPECT_EQ(s.combo("CmbKoppaFiPatCnt")->currentText(), "4");
    EXPECT_EQ(s.inUse(), "11110000");
}

TEST(Enemy3Dialog, FlameResetRestoresEveryBoxAndTheCount) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    put(img, 0x51E1, {1, 2, 3, 4, 5, 6, 7, 8});
    img[0x51F3] = 0x00;
    img[0x5182] = 0x03;
    host.open(img);
    host.resets = true;
    {
        Enemy3Session s(host);
        EXPECT_EQ(s.inUse(), "10000000");
        platform.answer(Answer::No);
        s.click("SpdKoppaFiPat");
        EXPECT_EQ(s.edit("EditKoppaFiPat3")->text(), "4");
        EXPECT_EQ(s.inUse(), "10000000");
        platform.answer(Answer::Yes);
        s.click("SpdKoppaFiPat");
        EXPECT_EQ(platform.messages(), (QStringList{"Reset the selection to its default value?",
                                                    "Reset the selection to its default value?"}));
        EXPECT_EQ(s.combo("CmbKoppaFiPatCnt")->currentText(), "8  [Default]");
        EXPECT_EQ(s.inUse(), "11111111");
        EXPECT_EQ(s.edit("EditKoppaFiPat7")->text(), "191");
        EXPECT_EQ(s.edit("EditKoppaFiPatMns")->text(), "16");
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(at(host, 0x51E1, 8),
              (std::vector<std::uint8_t>{0xBF, 0x40, 0xBF, 0xBF, 0xBF, 0x40, 0x40, 0xBF}));
    EXPECT_EQ(host.at(0x51F3), 0x07);
    EXPECT_EQ(host.at(0x5182), 0x10);
    EXPECT_TRUE(platform.scriptUsedUp());

    // An out-of-bounds count stays; the boxes get their defaults, only the first in use.
    img[0x51F3] = 0x05;
    host.open(img);
    host.resets = false;
    {
        Enemy3Session s(host);
        s.click("SpdKoppaFiPat");
        EXPECT_EQ(s.combo("CmbKoppaFiPatCnt")->currentText(), "(Out of bounds)");
        EXPECT_EQ(s.inUse(), "10000000");
        EXPECT_EQ(s.edit("EditKoppaFiPat1")->text(), "64");
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(at(host, 0x51E1, 8),
              (std::vector<std::uint8_t>{0xBF, 0x40, 0xBF, 0xBF, 0xBF, 0x40, 0x40, 0xBF}));
    EXPECT_EQ(host.at(0x51F3), 0x05);
}

TEST(Enemy3Dialog, OutOfBoundsListsAreKeptAndOthersWritten) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    img[0x3A91] = 0xDA;
    img[0x46A2] = 0x83;
    img[0x46A3] = 0xE0;
    img[0x5746] = 0x42;
    img[0x5747] = 0x41;
    img[0x68E4] = 0x33;
    img[0x3A24] = 0xFF;
    host.open(img);
    host.resets = false;
    {
        Enemy3Session s(host);
        EXPECT_EQ(s.combo("CmbKillerStat")->currentText(), "(Out of bounds)");
        EXPECT_FALSE(s.combo("CmbKillerStat")->isEnabled());
        EXPECT_EQ(s.combo("CmbKillerHeight1")->currentText(), "(Out of bounds)");
        EXPECT_EQ(s.combo("CmbKillerHeight2")->currentText(), "-3 (Off-Screen)");
        EXPECT_EQ(s.combo("CmbKillerHeight2")->count(), 16);
        EXPECT_EQ(s.combo("CmbKoopaTrueChr1")->currentText(), "(Out of bounds)");
        EXPECT_EQ(s.combo("CmbKoopaTrueChr2")->currentText(), "41 Unknown");
        EXPECT_EQ(s.combo("CmbKoopaTrueChr2")->count(), 66);
        EXPECT_EQ(s.combo("CmbHodaiChr")->currentText(), "(Out of bounds)");
        EXPECT_EQ(s.combo("CmbHodaiChrAdvc")->currentText(), "FF -");
        EXPECT_EQ(s.combo("CmbHodaiChrAdvc")->count(), 256);
        s.click("SpdKillerStat"); // passes over the out-of-bounds list
        EXPECT_EQ(s.combo("CmbKillerStat")->currentText(), "(Out of bounds)");
        s.click("SpdKillerHeight"); // resets the others
        EXPECT_EQ(s.combo("CmbKillerHeight2")->currentText(), "2  [Default]");
        s.combo("CmbKoopaTrueChr2")->setCurrentIndex(0x2D);
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(host.at(0x3A91), 0xDA);
    EXPECT_EQ(at(host, 0x46A2, 8),
              (std::vector<std::uint8_t>{0x83, 0x30, 0x90, 0x50, 0x20, 0x60, 0xA0, 0x70}));
    EXPECT_EQ(host.at(0x5746), 0x42);
    EXPECT_EQ(host.at(0x5747), 0x2D);
    EXPECT_EQ(host.at(0x68E4), 0x33);
    EXPECT_EQ(host.at(0x3A24), 0xFF);
}

TEST(Enemy3Dialog, ATrainerMovesEveryByte512Further) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage(41488);
    img[0x457C + 512] = 0x00;
    img[0x51F3 + 512] = 0x01;
    img[0x3A91 + 512] = 0xDB;
    img[0x3AC4 + 512] = 0x82;
    img[0x3AC4] = 0x77; // where the byte would be without the trainer
    host.open(img);
    {
        Enemy3Session s(host);
        EXPECT_EQ(s.edit("EditFiKoopa")->text(), "256");
        EXPECT_EQ(s.inUse(), "11000000");
        EXPECT_EQ(s.combo("CmbKillerStat")->currentText(), "Obstacle");
        EXPECT_EQ(s.edit("EditHammerHold")->text(), "0");
        s.set("EditHammerHold", "14");
        s.set("EditKoopaExFire", "8");
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(host.at(0x3AC4 + 512), 0x90);
    EXPECT_EQ(host.at(0x515D + 512), 0x07);
    EXPECT_EQ(host.at(0x3AC4), 0x77);
    EXPECT_EQ(host.at(0x515D), 0x00);
    EXPECT_EQ(host.at(0x457C + 512), 0x00);
}

TEST(Enemy3Dialog, PagesNotesAndRememberedPage) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(qv::test::blankImage());
    {
        Enemy3Session s(host);
        auto* pages = s.find<QTabWidget>("Page1");
        ASSERT_EQ(pages->count(), 8);
        EXPECT_EQ(pages->tabText(1), "Bullet Bill (Const. Fire)");
        EXPECT_EQ(pages->widget(7)->objectName(), "TabAdvance");
        const QStringList texts = [&] {
            QStringList out;
            for (QLabel* l : s.dialog()->findChildren<QLabel*>())
                out << l->text();
            return out;
        }();
        EXPECT_TRUE(texts.contains(
            "[Left] value must not exceed [Right] x2 and must not be less than [Right]."));
        EXPECT_TRUE(texts.contains("Consecutive flames ignore setting if above 16."));
        EXPECT_TRUE(texts.contains("[0～256 Default: 80]"));
        EXPECT_NE(s.find<QWidget>("GrpKoppaFiPat"), nullptr);
        // The two fire-by-world groups say what the game does with each byte.
        EXPECT_EQ(s.find<QGroupBox>("GrpKoopaNoFire")->title(),
                  "First World Bowser Does Not Breathe Fire");
        EXPECT_EQ(s.find<QGroupBox>("GrpKoopaExFire")->title(),
                  "World Bowser Breathes Fire Anyway");
        pages->setCurrentIndex(5);
        EXPECT_FALSE(s.cancel());
    }
    Enemy3Session s(host);
    EXPECT_EQ(s.find<QTabWidget>("Page1")->currentWidget()->objectName(), "TabKoopaFire");
}

// Every byte reads as a value OK accepts and writes back the same, or is kept out of
// bounds, so OK without changes rewrites no byte at all: no item is named here as
// changing. Planted bytes make sure the lists are met in and out of bounds.
TEST(Enemy3Dialog, OkWithoutChangesKeepsRandomImagesWhole) {
    ScriptedPlatform platform;
    const qv::test::PlantedByte known[] = {
        {0x3A91, {0xD8, 0xD9, 0xDB}},
        {0x51F3, {0x00, 0x01, 0x03, 0x07}},
        {0x68E4, {0x00, 0x32}},
        {0x5746, {0x41, 0x2D}},
        {0x46A2, {0xE0, 0x00}},
        {0x513A, {0x80, 0xF0}},
        {0x457C, {0x00}},
        {0x3AC4, {0x00, 0xFF}},
    };
    qv::test::expectOkKeepsRandomImages<Enemy3Session>(known, 30);
}

} // namespace
