// The Enemy 1 dialog on images built in memory: what it shows, what OK writes and
// what it leaves alone.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QTabWidget>
#include <random>

#include "core/tables/enemy1.h"
#include "gui/dialogfixture.h"
#include "gui/dialogs/enemy1.h"
#include "gui/main/helpcontext.h"
#include "gui/support/printqstring.h"

namespace {

using qv::Answer;
using qv::test::FakeHost;
using qv::test::ScriptedPlatform;

class Enemy1Session : public qv::test::DialogSessionDriver<qv::TFormEnemy1> {
  public:
    explicit Enemy1Session(FakeHost& host)
        : DialogSessionDriver(host, qv::tables::enemy1(), &qv::makeEnemy1Dialog) {}
};

// Opens `img`, sets one edit, presses OK and returns the image afterwards.
std::vector<std::uint8_t> okWith(std::vector<std::uint8_t> img, const char* edit,
                                 const char* text) {
    FakeHost host;
    host.open(img);
    Enemy1Session s(host);
    s.set(edit, text);
    s.ok();
    const auto& out = host.doc.image();
    return {out.begin(), out.begin() + static_cast<std::ptrdiff_t>(img.size())};
}

TEST(Enemy1Dialog, NumbersShowAndStoreTheirBytes) {
    ScriptedPlatform platform;
    auto img = qv::test::blankImage();
    img[0x431C] = 0x80;
    img[0x46C8] = 0x01;
    {
        FakeHost host;
        host.open(img);
        Enemy1Session s(host);
        EXPECT_EQ(s.edit("EditNokoSpeed")->text(), "128");
        EXPECT_EQ(s.edit("EditPukuGkWorld")->text(), "2");
        EXPECT_EQ(s.edit("EditNkFkTime")->maxLength(), 3);
        EXPECT_EQ(s.edit("EditNokoSpeed")->maxLength(), 4);
        s.cancel();
    }
    EXPECT_EQ(okWith(img, "EditNokoSpeed", "-127")[0x431C], 0x7F);
    EXPECT_EQ(okWith(img, "EditNokoSpeed", "128")[0x431C], 0x80);
    EXPECT_EQ(okWith(img, "EditNkFkSpeedU_R", "200")[0x49E6], 0x0C);
    EXPECT_EQ(okWith(img, "EditTogeSpeed", "-128")[0x60C4], 0x80);
    EXPECT_EQ(okWith(img, "EditTogeSpeed", "128")[0x60C4], 0x08);
    EXPECT_EQ(okWith(img, "EditPukuGkWorld", "256")[0x46C8], 0xFF);
    EXPECT_EQ(okWith(img, "EditPukuGkWorld", "1")[0x46C8], 0x00);
    EXPECT_EQ(okWith(img, "EditKeriochi_L", "-24")[0x49E3], 0x18);
    EXPECT_EQ(okWith(img, "EditPukuSpeed6", "128")[0x44AD], 0x80);

    // Invalid text becomes the revival time's default 7, and nothing else moves.
    for (const char* text : {"abc", "300"}) {
        auto expected = img;
        expected[0x43D5] = 0x07;
        EXPECT_EQ(okWith(img, "EditJugemRestore", text), expected) << text;
    }
}

TEST(Enemy1Dialog, RevivalElevationListAndCheckBoxShareOneByte) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    img[0x43EF] = 0x28;
    host.open(img);
    {
        Enemy1Session s(host);
        EXPECT_EQ(s.combo("CmbJugemRestHei")->currentText(), "0.5  [Default]");
        EXPECT_EQ(s.check("ChkJugemRestHei")->checkState(), Qt::Checked);
        EXPECT_EQ(s.check("ChkJugemRestHei")->text(), "Set &revival elevation to +0.5 by default.");
        EXPECT_FALSE(s.ok()); // 0x28 again
    }
    EXPECT_EQ(host.at(0x43EF), 0x28);
    {
        Enemy1Session s(host);
        s.combo("CmbJugemRestHei")->setCurrentIndex(5);
        s.check("ChkJugemRestHei")->setChecked(false);
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(host.at(0x43EF), 0x50);
    {
        Enemy1Session s(host);
        s.check("ChkJugemRestHei")->setChecked(true);
        s.cancel();
    }
    EXPECT_EQ(host.at(0x43EF), 0x50);
    {
        Enemy1Session s(host);
        s.check("ChkJugemRestHei")->setChecked(true);
        s.ok();
    }
    EXPECT_EQ(host.at(0x43EF), 0x58);
    { // Reset, asked and answered Yes: the list to 0.5, the box cleared
        host.resets = true;
        platform.answer(Answer::Yes);
        Enemy1Session s(host);
        s.click("SpdJugemRestHei");
        EXPECT_EQ(s.combo("CmbJugemRestHei")->currentIndex(), 2);
        EXPECT_EQ(s.check("ChkJugemRestHei")->checkState(), Qt::Unchecked);
        s.ok();
        host.resets = false;
    }
    EXPECT_EQ(host.at(0x43EF), 0x20);
    EXPECT_EQ(platform.messages(), QStringList{qv::kResetQuestion});

    // A low nibble of 3: both controls out of bounds, kept by Reset and OK.
    img[0x43EF] = 0x23;
    host.open(img);
    Enemy1Session s(host);
    EXPECT_EQ(s.combo("CmbJugemRestHei")->currentText(), "(Out of bounds)");
    EXPECT_FALSE(s.combo("CmbJugemRestHei")->isEnabled());
    EXPECT_EQ(s.check("ChkJugemRestHei")->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(s.check("ChkJugemRestHei")->isEnabled());
    s.click("SpdJugemRestHei");
    EXPECT_EQ(s.check("ChkJugemRestHei")->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(host.at(0x43EF), 0x23);
}

TEST(Enemy1Dialog, OutOfBoundsListsKeepTheirBytes) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    img[0x692A] = 0x03; // step interval: powers of two and 0 only
    img[0x4F51] = 0x13; // Lakitu's company: 0x12, 0x14, 0x15, 0x17..0x19 only
    img[0x4217] = 0x36; // one past the last code
    img[0x420E] = 0x35;
    img[0x4757] = 0x02;
    host.open(img);
    {
        Enemy1Session s(host);
        for (const char* c : {"CmbKuriAnim", "CmbJugemAppear", "CmbKuriTwoChr"}) {
            EXPECT_EQ(s.combo(c)->currentText(), "(Out of bounds)") << c;
            EXPECT_EQ(s.combo(c)->count(), 1) << c;
            EXPECT_FALSE(s.combo(c)->isEnabled()) << c;
        }
        EXPECT_EQ(s.combo("CmbKuriChange")->currentText(), "35 Toad / Peach");
        EXPECT_EQ(s.combo("CmbKuriChange")->count(), 54);
        EXPECT_EQ(s.combo("CmbKuriAppear")->currentText(), "2 and 3  [Default]");
        s.click("SpdKuriAnim");
        s.click("SpdKuriOneChr"); // the enabled one of the pair goes back to Goomba
        EXPECT_EQ(s.combo("CmbKuriAnim")->currentText(), "(Out of bounds)");
        EXPECT_EQ(s.combo("CmbKuriChange")->currentText(), "06 Goomba  [Default]");
        s.combo("CmbKuriChange")->setCurrentIndex(0x35);
        EXPECT_FALSE(s.ok());
    }
    for (int off : {0x692A, 0x4F51, 0x4217, 0x420E, 0x4757})
        EXPECT_EQ(host.at(off), img[static_cast<std::size_t>(off)]) << off;
    EXPECT_FALSE(host.doc.modified());
}

TEST(Enemy1Dialog, ResetRestoresTheGroupsDefaults) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(qv::test::blankImage());
    {
        Enemy1Session s(host);
        s.click("SpdPukuSpeed");
        s.click("SpdKeriochi");
        s.click("SpdKuriAppHei");
        EXPECT_EQ(s.edit("EditPukuSpeed1")->text(), "14");
        EXPECT_EQ(s.edit("EditPukuSpeed12")->text(), "20");
        EXPECT_EQ(s.combo("CmbKuriAppHei10")->currentText(), "10  [Default]");
        EXPECT_EQ(s.edit("EditKeriochi_L")->text(), "-24");
        EXPECT_EQ(s.edit("EditNokoSpeed")->text(), "0"); // other groups untouched
        EXPECT_TRUE(s.ok());
    }
    const std::vector<std::uint8_t> speeds{0x0E, 0x05, 0x06, 0x0E, 0x1C, 0x20,
                                           0x10, 0x0C, 0x1E, 0x22, 0x18, 0x14};
    for (std::size_t i = 0; i < speeds.size(); ++i)
        EXPECT_EQ(host.at(0x44A8 + static_cast<int>(i)), speeds[i]) << i;
    EXPECT_EQ(host.at(0x49E1), 0xE8);
    EXPECT_EQ(host.at(0x49E2), 0x00);
    EXPECT_EQ(host.at(0x49E3), 0x18);
    EXPECT_EQ(host.at(0x4749), 0x70);
    EXPECT_EQ(host.at(0x4743), 0xB0);
    EXPECT_EQ(host.doc.undoCaption(), "&Undo (Enemy 1)");
}

TEST(Enemy1Dialog, ATrainerImageIsRead512BytesFurther) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage(41488);
    img[0x431C + 512] = 0x80;
    img[0x43EF + 512] = 0x28;
    img[0x6052] = 0xAA; // where an image without trainer has "Bounce When Hit"
    host.open(img);
    {
        Enemy1Session s(host);
        EXPECT_EQ(s.edit("EditNokoSpeed")->text(), "128");
        EXPECT_EQ(s.check("ChkJugemRestHei")->checkState(), Qt::Checked);
        EXPECT_EQ(s.edit("EditTekiTuki")->text(), "0");
        s.set("EditTekiTuki", "5");
        s.combo("CmbJugemRestHei")->setCurrentIndex(0);
        s.ok();
    }
    EXPECT_EQ(host.at(0x6052 + 512), 0xFB);
    EXPECT_EQ(host.at(0x6052), 0xAA);
    EXPECT_EQ(host.at(0x43EF + 512), 0x08);
    EXPECT_EQ(host.at(0x431C + 512), 0x80);
}

TEST(Enemy1Dialog, WindowNamesCaptionsAndHelp) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(qv::test::blankImage());
    Enemy1Session s(host);
    qv::TFormEnemy1* d = s.dialog();
    EXPECT_EQ(d->objectName(), "TFormEnemy1");
    EXPECT_EQ(d->windowTitle(), "Enemy Settings 1");
    EXPECT_EQ(s.find<QTabWidget>("Page1")->count(), 10);
    EXPECT_EQ(qv::helpContextOf(s.find<QWidget>("TabJugem")), 4008);
    EXPECT_EQ(qv::helpContextOf(s.edit("EditJugemSpeed2")), 20277);
    EXPECT_EQ(qv::helpContextOf(s.combo("CmbKuriTwoChrU")), 16919);
    EXPECT_EQ(s.find<QGroupBox>("GupPukuRitsu")->title(), "Multi Cheep-Cheep Rate");
    EXPECT_EQ(s.find<QGroupBox>("GrpPukuHeight")->title(), "Multi Cheep-Cheep Elevation");
    EXPECT_EQ(s.label("LabLabNkFkTime3"),
              "Also affects the time Goombas are stomped.  If below 13 Goombas will revive.");
    EXPECT_NE(s.find<QWidget>("UdPukuSpeed12"), nullptr);
    EXPECT_NE(s.find<QWidget>("SpdJugemRestHei"), nullptr);
    s.cancel();
}

// OK without changes rewrites no byte of any image. No item needs naming: every
// numeric item takes every byte it can read (0x80 in Pursuit and the Cheep-Cheep
// speeds reads -128, which OK takes as the same byte as 128), and lists and the
// check box keep bytes they do not understand.
TEST(Enemy1Dialog, OkWithoutChangesKeepsEveryByteOfRandomImages) {
    ScriptedPlatform platform;
    // Offsets given known bytes now and then, so that the lists are in bounds too.
    const std::vector<qv::test::PlantedByte> known = {
        {0x43EF, {0x00, 0x28, 0xF8, 0x70}},
        {0x4F51, {0x12, 0x17, 0x19}},
        {0x692A, {0x00, 0x08, 0x80}},
        {0x4217, {0x00, 0x35}},
        {0x420E, {0x02}},
        {0x473E, {0x14}},
        {0x4737, {0x2D}},
        {0x472C, {0x33}},
        {0x4757, {0x01, 0x05}},
        {0x4749, {0x00, 0xF0}},
        {0x4743, {0xB0}},
        {0x4F36, {0x80}},
        {0x44A8, {0x80}},
        {0x44B3, {0x80}},
    };
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        const int shift = seed % 2 ? 0 : 512;
        auto img = qv::test::randomImage(rng, shift, known);
        FakeHost host;
        host.open(img);
        Enemy1Session s(host);
        EXPECT_FALSE(s.ok());
        EXPECT_FALSE(host.doc.modified());
        for (std::size_t i = 0; i < img.size(); ++i)
            ASSERT_EQ(host.doc.image()[i], img[i]) << "offset 0x" << std::hex << i;
    }
}

} // namespace
