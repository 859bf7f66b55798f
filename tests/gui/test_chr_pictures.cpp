// The image's own graphics in the Color and Palette dialogs, from synthetic CHR: the
// character buttons follow their attribute bytes at once, parts of a whole redraw each
// other, and the Palette strips change exactly where an edited colour is used.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSet>
#include <QTabWidget>
#include <QToolButton>

#include "core/tables/color.h"
#include "core/tables/palette.h"
#include "gui/dialogfixture.h"
#include "gui/dialogs/color.h"
#include "gui/dialogs/palette.h"
#include "gui/dialogs/palettescenes.h"

namespace {

using qv::test::FakeHost;
using qv::test::ScriptedPlatform;

class ColorSession : public qv::test::DialogSessionDriver<qv::TFormColor> {
  public:
    explicit ColorSession(FakeHost& host)
        : DialogSessionDriver(host, qv::tables::color(), &qv::makeColorDialog) {}
    QImage picture(const char* button) const {
        return find<QToolButton>(button)->icon().pixmap(64, 64).toImage();
    }
    QColor at(const char* button, int x, int y) const { return picture(button).pixelColor(x, y); }
};

class PalletSession : public qv::test::DialogSessionDriver<qv::TFormPallet> {
  public:
    explicit PalletSession(FakeHost& host)
        : DialogSessionDriver(host, qv::tables::palette(), &qv::makePaletteDialog) {}
    QImage strip(const char* name) const { return find<qv::SceneStrip>(name)->image(); }
};

QColor rgb(int r, int g, int b) {
    return QColor(r, g, b);
}

// Every row of the given tiles (0x8010 sprite table, 0x9010 background table) solid
// colour 1.
void solidTiles(std::vector<std::uint8_t>& img, int table, int first, int count) {
    for (int t = first; t < first + count; ++t)
        for (int row = 0; row < 8; ++row)
            img[static_cast<std::size_t>(table + t * 16 + row)] = 0xFF;
}

// The Ground colours: sky 0x22, Mario 0x27.., green 0x1A.., red 0x16.., black 0x0F..
std::vector<std::uint8_t> groundImage() {
    auto img = qv::test::blankImage();
    qv::test::put(img, 0x05E0, 0x22);
    qv::test::put(img, 0x05E8, {0x27, 0x27, 0x27});
    qv::test::put(img, 0x0CF0, {0x1A, 0x1A, 0x1A, 0x00, 0x16, 0x16, 0x16, 0x00, 0x0F, 0x0F, 0x0F});
    return img;
}

const QColor kSky = rgb(0x50, 0x80, 0xFF);
const QColor kMario = rgb(0xFF, 0xA0, 0x00);
const QColor kGreen = rgb(0x48, 0xA8, 0x10);
const QColor kRed = rgb(0xE0, 0x50, 0x00);
const QColor kBlack = rgb(0x00, 0x00, 0x00);

TEST(ChrPictures, ColorButtonsFollowTheirBytes) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = groundImage();
    solidTiles(img, 0x8010, 0, 256);
    img[0x6871] = 0x03; // Goomba, black group
    img[0x6872] = 0x24; // Blooper: bits 2-4 set, "Do Not Modify"
    img[0x686B] = 0x01;
    img[0x6881] = 0x01; // Bowser's halves, green
    img[0x6882] = 0x01;
    host.open(img);
    ColorSession s(host);

    // The Goomba, 32x48 centred in the 64x64 picture: its frame's top row is empty.
    EXPECT_EQ(s.at("Spd6871", 20, 30), kBlack);
    EXPECT_EQ(s.at("Spd6871", 20, 12), kSky);
    EXPECT_EQ(s.at("Spd6871", 4, 30), kSky);
    const QImage koopa = s.picture("Spd686B");
    EXPECT_EQ(koopa.pixelColor(20, 12), kGreen);

    s.click("Spd6871");
    s.click("Rad2"); // red group: the button changes at once
    EXPECT_EQ(s.at("Spd6871", 20, 30), kRed);
    EXPECT_EQ(s.at("Spd6871", 20, 12), kSky);
    s.click("Chk1"); // behind the background: half way to the sky
    EXPECT_EQ(s.at("Spd6871", 20, 30), rgb(0x98, 0x68, 0x7F));
    s.click("Rad4"); // Mario group
    EXPECT_EQ(s.at("Spd6871", 20, 30), rgb(0xA7, 0x90, 0x7F));
    EXPECT_TRUE(s.picture("Spd686B") == koopa); // other characters as they were

    // "Do Not Modify" draws the byte as the game reads it: Mario group, behind.
    EXPECT_EQ(s.at("Spd6872", 20, 12), rgb(0xA7, 0x90, 0x7F));

    // Either Bowser half shows all of him: a change to one redraws the other.
    EXPECT_EQ(s.at("Spd6882", 4, 4), kGreen);
    s.click("Spd6881");
    s.click("Rad2");
    EXPECT_EQ(s.at("Spd6882", 4, 4), kRed);     // the front half, now red
    EXPECT_EQ(s.at("Spd6882", 36, 20), kGreen); // the rear half keeps its own byte
    EXPECT_EQ(s.at("Spd6881", 4, 4), kRed);

    // Reset puts the picture back with the byte.
    s.click("SpdColor");
    EXPECT_EQ(s.at("Spd6882", 4, 4), kGreen);
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x6871), 0x20);
}

// At 1.5 and 2 times the pictures are the same pixels, repeated: no colour appears that
// the picture does not have (a smoothed scale would blend its edges).
TEST(ChrPictures, ColorButtonsStayCrispAtEveryScale) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = groundImage();
    solidTiles(img, 0x8010, 0, 256);
    img[0x6871] = 0x03;
    host.open(img);
    ColorSession s(host);
    const QIcon icon = s.find<QToolButton>("Spd6871")->icon();
    const auto colours = [](const QImage& i) {
        QSet<QRgb> out;
        for (int y = 0; y < i.height(); ++y)
            for (int x = 0; x < i.width(); ++x)
                out.insert(i.pixel(x, y));
        return out;
    };
    const QSet<QRgb> one = colours(icon.pixmap(QSize(64, 64), 1.0).toImage());
    EXPECT_EQ(one, (QSet<QRgb>{kSky.rgb(), kBlack.rgb()}));
    for (const qreal scale : {1.25, 1.5, 2.0}) {
        const QImage big = icon.pixmap(QSize(64, 64), scale).toImage();
        EXPECT_EQ(big.width(), qRound(64 * scale)) << scale;
        EXPECT_EQ(colours(big), one) << scale;
    }
    // Two device pixels to one picture pixel at 2x: the Goomba's edge stays square.
    const QImage two = icon.pixmap(QSize(64, 64), 2.0).toImage();
    EXPECT_EQ(two.pixelColor(40, 60), s.at("Spd6871", 20, 30));
}

TEST(ChrPictures, ColorButtonsFlipWithTheByte) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = groundImage();
    qv::test::put(img, 0x8010 + 0x71 * 16, 0x80); // a dot at the Goomba tile's top left
    img[0x6871] = 0x01;
    host.open(img);
    ColorSession s(host);
    // Facing left, the tile's dot is at (7, 8) of the frame: (30..31, 24..25) here.
    EXPECT_EQ(s.at("Spd6871", 31, 25), kGreen);
    EXPECT_EQ(s.at("Spd6871", 16, 24), kSky);
    s.click("Spd6871");
    s.click("Chk2"); // upside down: the dot drops to the tile's last row
    EXPECT_EQ(s.at("Spd6871", 31, 25), kSky);
    EXPECT_EQ(s.at("Spd6871", 31, 39), kGreen);

    // The picture is drawn with the colour source of the Editor Options.
    FakeHost other;
    auto grey = groundImage();
    qv::test::put(grey, 0x8010 + 0x71 * 16, 0x80);
    grey[0x6871] = 0x01;
    grey[0x0CF0] = 0x2D;
    other.palette = 1;
    other.open(grey);
    ColorSession t(other);
    EXPECT_EQ(t.at("Spd6871", 31, 25), rgb(0x78, 0x78, 0x78));

    // With a trainer the tiles, the colours and the byte all stand 512 bytes later.
    FakeHost trained;
    auto moved = qv::test::blankImage(41488);
    qv::test::put(moved, 0x8010, 0xFF); // code now, not the Goomba's tiles
    qv::test::put(moved, 0x8210 + 0x71 * 16, 0x80);
    qv::test::put(moved, 0x07E0, 0x22);
    qv::test::put(moved, 0x0EF4, {0x16, 0x16, 0x16});
    moved[0x6A71] = 0x02;
    trained.open(moved);
    ColorSession u(trained);
    EXPECT_EQ(u.at("Spd6871", 31, 25), kRed);
    EXPECT_EQ(u.at("Spd6871", 16, 24), kSky);
}

// All tiles solid colour 1, the game's Ground colours where the strip reads them.
std::vector<std::uint8_t> sceneImage() {
    auto img = qv::test::blankImage();
    solidTiles(img, 0x8010, 0, 512);
    qv::test::put(img, 0x05E0, 0x22);
    qv::test::put(img, 0x05E8, {0x16, 0x27, 0x18});
    qv::test::put(img, 0x09D3, {0x27, 0x28, 0x29, 0x17, 0x07, 0x17});
    qv::test::put(img, 0x09E7, {0x17, 0x0F});
    qv::test::put(img, 0x0A40, 6);
    qv::test::put(img, 0x0CDC, {0x29, 0x1A, 0x0F, 0x00, 0x36, 0x17, 0x0F, 0x00, 0x30, 0x21, 0x0F});
    qv::test::put(img, 0x0CF0, {0x1A, 0x30, 0x27, 0x00, 0x16, 0x30, 0x27, 0x00, 0x0F, 0x36, 0x17});
    // The Goomba and the Koopas in the game's own palette groups.
    qv::test::put(img, 0x6871, 0x03);
    qv::test::put(img, 0x686B, 0x01);
    qv::test::put(img, 0x686C, 0x02);
    return img;
}

// The bounding box of the pixels that differ, and whether every pixel inside it does.
struct Change {
    QRect box;
    bool whole = true;
};
Change changed(const QImage& before, const QImage& after) {
    Change c;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y)) c.box |= QRect(x, y, 1, 1);
    for (int y = c.box.top(); y <= c.box.bottom(); ++y)
        for (int x = c.box.left(); x <= c.box.right(); ++x)
            if (before.pixel(x, y) == after.pixel(x, y)) c.whole = false;
    return c;
}

TEST(ChrPictures, PaletteStripChangesWhereTheRowIsUsed) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(sceneImage());
    PalletSession s(host);
    const QImage start = s.strip("ImgScene1");
    ASSERT_EQ(start.size(), QSize(288, 192));
    EXPECT_EQ(start.pixelColor(0, 190), rgb(0xFF, 0xC8, 0xB8)); // ground: 0x36
    EXPECT_EQ(start.pixelColor(20, 4), rgb(0xFF, 0xFF, 0xFF));  // cloud: 0x30
    EXPECT_EQ(start.pixelColor(286, 2), rgb(0x50, 0x80, 0xFF)); // sky: 0x22

    // Colour 1 of "Score, Clouds" is the cloud and nothing else: 48x32 at (8, 0).
    s.click("Rad0CE4");
    s.click("Rad2A");
    QImage now = s.strip("ImgScene1");
    Change c = changed(start, now);
    EXPECT_EQ(c.box, QRect(16, 0, 96, 64));
    EXPECT_TRUE(c.whole);
    EXPECT_EQ(now.pixelColor(20, 4), rgb(0x70, 0xF0, 0x40));

    // The red group's first colour: the red Koopa (16x24 at (88, 56)), top right empty.
    QImage before = now;
    s.click("Rad0CF4");
    s.click("Rad30");
    now = s.strip("ImgScene1");
    c = changed(before, now);
    EXPECT_EQ(c.box, QRect(176, 112, 32, 48));
    EXPECT_FALSE(c.whole);
    EXPECT_EQ(now.pixelColor(180, 116), rgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(now.pixelColor(200, 116), rgb(0x50, 0x80, 0xFF));

    // Mario's colours are on the Characters page; the Ground strip follows them.
    before = now;
    s.dialog()->pages()->setCurrentIndex(6);
    s.click("Rad05E8");
    s.click("Rad0F");
    const QImage characters = s.strip("ImgScene7");
    EXPECT_EQ(characters.pixelColor(20, 140), rgb(0x00, 0x00, 0x00)); // Mario
    EXPECT_EQ(characters.pixelColor(68, 140), rgb(0x7F, 0x7F, 0x7F)); // Luigi: 0x05EC is 0x00
    s.dialog()->pages()->setCurrentIndex(0);
    now = s.strip("ImgScene1");
    c = changed(before, now);
    EXPECT_EQ(c.box, QRect(32, 128, 32, 32));
    EXPECT_TRUE(c.whole);
}

// The strip draws each enemy with the palette group the image's Color settings give it:
// the green Koopa set to the red group is red here too.
TEST(ChrPictures, PaletteStripFollowsTheColorSettings) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = sceneImage();
    host.open(img);
    const QColor green = [&] {
        PalletSession s(host);
        return s.strip("ImgScene1").pixelColor(136, 116);
    }();
    EXPECT_EQ(green, rgb(0x48, 0xA8, 0x10)); // 0x1A, the green group's first colour
    img[0x686B] = 0x02;
    FakeHost red;
    red.open(img);
    PalletSession s(red);
    EXPECT_EQ(s.strip("ImgScene1").pixelColor(136, 116), rgb(0xE0, 0x50, 0x00)); // 0x16
}

TEST(ChrPictures, ShineDrivesTheQuestionBlockAndCoin) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(sceneImage());
    PalletSession s(host);
    const QImage start = s.strip("ImgScene1");
    EXPECT_EQ(start.pixelColor(170, 60), rgb(0xFF, 0xA0, 0x00)); // "?" block: shine 1, 0x27
    s.dialog()->sceneTick();
    const QImage next = s.strip("ImgScene1");
    EXPECT_EQ(next.pixelColor(170, 60), rgb(0xE8, 0xD0, 0x20)); // shine 2, 0x28
    // Only the "?" block (16x16 at (80, 24)) and the coin (at (120, 16)) shine.
    QRegion moved;
    for (int y = 0; y < start.height(); ++y)
        for (int x = 0; x < start.width(); ++x)
            if (start.pixel(x, y) != next.pixel(x, y)) moved += QRect(x, y, 1, 1);
    EXPECT_TRUE(moved.xored(QRegion(160, 48, 32, 32) + QRegion(240, 32, 32, 32)).isEmpty());
    EXPECT_FALSE(moved.isEmpty());
    for (int i = 0; i < 5; ++i)
        s.dialog()->sceneTick();
    EXPECT_TRUE(s.strip("ImgScene1") == start); // six steps: round again
}

} // namespace
