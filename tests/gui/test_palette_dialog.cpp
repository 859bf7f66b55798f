// The Palette dialog on images built in memory: the picker edits the selected entry,
// Reset and Sel. Reset, the shine count and the coin example, colour indices it cannot
// draw, the colour source, remembered entries, a trainer, and random images left alone
// by OK.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTabWidget>
#include <QTimer>
#include <random>

#include "core/tables/palette.h"
#include "gui/dialogfixture.h"
#include "gui/dialogs/palette.h"

namespace {

using qv::Answer;
using qv::test::FakeHost;
using qv::test::ScriptedPlatform;

class PalletSession : public qv::test::DialogSessionDriver<qv::TFormPallet> {
  public:
    explicit PalletSession(FakeHost& host)
        : DialogSessionDriver(host, qv::tables::palette(), &qv::makePaletteDialog) {}
    void showTab(int index) const { dialog()->pages()->setCurrentIndex(index); }
    QColor color(const char* name) const {
        return find<QWidget>(name)->palette().color(QPalette::Window);
    }
    // The user picks a shine count from the list.
    void pickCount(int index) const {
        QComboBox* c = combo("CmbCoinCount");
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    std::vector<QColor> ticks(int n) const {
        std::vector<QColor> seen;
        for (int i = 0; i < n; ++i) {
            dialog()->Timer1Timer();
            seen.push_back(dialog()->exampleColor());
        }
        return seen;
    }
};

QColor rgb(int r, int g, int b) {
    return QColor(r, g, b);
}

// The game's own colours at the entries the tests look at.
std::vector<std::uint8_t> defaultsImage(int size = 40976) {
    auto img = qv::test::blankImage(size);
    const int shift = size - 40976;
    const auto put = [&](int offset, std::initializer_list<std::uint8_t> bytes) {
        for (std::uint8_t b : bytes)
            img[static_cast<std::size_t>(shift + offset++)] = b;
    };
    put(0x05DF, {0x22, 0x22, 0x0F, 0x0F, 0x0F, 0x22, 0x0F, 0x0F}); // 0x05DF..0x05E6
    put(0x05E8, {0x16, 0x27, 0x18});
    put(0x0CF0, {0x1A, 0x30, 0x27});
    put(0x0D1C, {0x0C, 0x3C, 0x1C});
    put(0x09D3, {0x27, 0x27, 0x27, 0x17, 0x07, 0x17});
    put(0x0A40, {0x06});
    return img;
}

TEST(PalletDialog, FirstOpeningSelectsTheInitialEntriesAndCyclesSixShineColours) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(defaultsImage());
    PalletSession s(host);
    EXPECT_EQ(s.dialog()->windowTitle(), "Palette Settings");
    EXPECT_EQ(s.dialog()->pages()->currentIndex(), 0);
    EXPECT_TRUE(s.on("Rad05E0"));
    EXPECT_TRUE(s.on("Rad22"));
    EXPECT_EQ(s.color("Rad05E0"), rgb(0x50, 0x80, 0xFF));
    EXPECT_EQ(s.color("Rad22"), rgb(0x50, 0x80, 0xFF));
    EXPECT_EQ(s.color("Rad0CF0"), rgb(0x48, 0xA8, 0x10));
    const int initial[] = {0x05E0, 0x05E1, 0x05DF, 0x05E2, 0x05E3, 0x09D3, 0x05E8};
    for (int p = 0; p < 7; ++p)
        EXPECT_EQ(s.dialog()->selectedOffset(p), initial[p]) << p;
    EXPECT_EQ(s.combo("CmbCoinCount")->currentText(), "6  [Default]");
    for (const char* name : {"Rad09D3", "Rad09D4", "Rad09D5", "Rad09D6", "Rad09D7", "Rad09D8"})
        EXPECT_TRUE(s.enabled(name)) << name;

    // The timer is off until the dialog is shown, and ticks only on the Coins page.
    auto* timer = s.find<QTimer>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 133);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(s.dialog()->exampleColor(), rgb(0, 0, 0));
    s.ticks(2);
    EXPECT_EQ(s.dialog()->exampleColor(), rgb(0, 0, 0));
    EXPECT_EQ(s.dialog()->exampleStep(), 0);

    s.showTab(5);
    EXPECT_TRUE(s.on("Rad27")); // the Coins page's first shine entry
    const QColor c27 = rgb(0xFF, 0xA0, 0x00), c17 = rgb(0xC0, 0x70, 0x00),
                 c07 = rgb(0x78, 0x40, 0x00);
    EXPECT_EQ(s.ticks(7), (std::vector<QColor>{c27, c27, c27, c17, c07, c17, c27}));

    // The example follows a picker change at once.
    s.click("Rad09D4");
    s.click("Rad30");
    EXPECT_EQ(s.ticks(1), (std::vector<QColor>{rgb(0xFF, 0xFF, 0xFF)}));
    s.dialog()->show();
    EXPECT_TRUE(timer->isActive());
    s.dialog()->hide();
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x09D4), 0x30);
    EXPECT_EQ(host.doc.undoCaption(), "&Undo (Palette)");
}

TEST(PalletDialog, PickerColoursTheSelectedEntryOnly) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(defaultsImage());
    PalletSession s(host);
    s.showTab(1);
    EXPECT_TRUE(s.on("Rad0F")); // Underground's background, 0x0F
    s.click("Rad0D1C");
    EXPECT_TRUE(s.on("Rad0C"));
    s.click("Rad0F");
    EXPECT_EQ(s.color("Rad0D1C"), rgb(0, 0, 0));
    EXPECT_EQ(s.color("Rad0D1D"), rgb(0xA0, 0xFF, 0xF0)); // 0x3C: untouched
    // Clicking another entry moves the picker mark to its colour.
    s.click("Rad0D1D");
    EXPECT_TRUE(s.on("Rad3C"));
    EXPECT_FALSE(s.on("Rad0F"));
    // The same colour index on another page is another entry: Ground keeps its 0x22.
    s.showTab(0);
    EXPECT_TRUE(s.on("Rad22"));
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x0D1C), 0x0F);
    EXPECT_EQ(host.at(0x0D1D), 0x3C);
    EXPECT_EQ(host.at(0x0D1E), 0x1C);
    EXPECT_EQ(host.at(0x05E0), 0x22);
    EXPECT_EQ(host.at(0x05E1), 0x0F);
}

TEST(PalletDialog, ResetAndSelResetOnTheActivePage) {
    ScriptedPlatform platform;
    FakeHost host;
    host.resets = true;
    auto img = qv::test::blankImage();
    for (int o = 0x0CF0; o <= 0x0CF2; ++o)
        img[static_cast<std::size_t>(o)] = 0x01;
    img[0x05E0] = 0x01;
    img[0x09E7] = 0x01;
    img[0x09E8] = 0x01;
    img[0x05E1] = 0x01;
    img[0x0D14] = 0x01;
    img[0x0A40] = 0x02;
    host.open(img);
    // Underground remembers an offset that is none of its entries: nothing selected there.
    host.memory.selectedEntry["TFormPallet/1"] = 0x05E0;
    PalletSession s(host);
    EXPECT_EQ(s.dialog()->selectedOffset(1), -1);

    s.showTab(1);
    platform.answer(Answer::Yes);
    s.click("SpdPallet22");
    EXPECT_EQ(platform.messages().back(), "Selected radio options will be reset.\r\nIs this okay?");
    EXPECT_EQ(s.color("Rad05E1"), rgb(0x20, 0x00, 0xB0)); // still 0x01

    // Sel. Reset: only the selected entry of the page.
    s.showTab(0);
    s.click("Rad0CF1");
    platform.answer(Answer::Yes);
    s.click("SpdPallet12");
    EXPECT_EQ(s.color("Rad0CF1"), rgb(0xFF, 0xFF, 0xFF)); // 0x30
    EXPECT_TRUE(s.on("Rad30"));
    EXPECT_EQ(s.color("Rad0CF0"), rgb(0x20, 0x00, 0xB0));
    EXPECT_EQ(s.combo("CmbCoinCount")->currentIndex(), 1);

    // No: nothing changes.
    platform.answer(Answer::No);
    s.click("SpdPallet1");
    EXPECT_EQ(s.color("Rad05E0"), rgb(0x20, 0x00, 0xB0));
    // Yes: every Ground entry, and the shine count back to 6.
    platform.answer(Answer::Yes);
    s.click("SpdPallet1");
    EXPECT_EQ(platform.messages().back(), "All options will be reset.\r\nIs this okay?");
    EXPECT_EQ(platform.messages().size(), 4);
    EXPECT_EQ(s.combo("CmbCoinCount")->currentIndex(), 5);
    EXPECT_TRUE(s.enabled("Rad09D8"));
    EXPECT_TRUE(s.on("Rad0CF1"));

    // Without the confirmation setting Reset acts at once.
    host.resets = false;
    s.showTab(1);
    s.click("SpdPallet2");
    EXPECT_TRUE(platform.scriptUsedUp());
    EXPECT_EQ(platform.messages().size(), 4);
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x05E0), 0x22);
    EXPECT_EQ(host.at(0x0CF0), 0x1A);
    EXPECT_EQ(host.at(0x0CF1), 0x30);
    EXPECT_EQ(host.at(0x0CF2), 0x27);
    EXPECT_EQ(host.at(0x0CF8), 0x0F);
    EXPECT_EQ(host.at(0x0CFA), 0x17);
    EXPECT_EQ(host.at(0x0CE4), 0x30);
    EXPECT_EQ(host.at(0x09E7), 0x17);
    EXPECT_EQ(host.at(0x09E8), 0x0F);
    EXPECT_EQ(host.at(0x0A40), 0x06);
    EXPECT_EQ(host.at(0x05E1), 0x0F);
    EXPECT_EQ(host.at(0x0D14), 0x1C);
    EXPECT_EQ(host.at(0x0D1E), 0x1C);
    EXPECT_EQ(host.at(0x05DF), 0x00); // Water untouched
    EXPECT_EQ(host.at(0x0CCC), 0x00);
}

TEST(PalletDialog, ShineCountLimitsTheEntriesAndTheExample) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(defaultsImage());
    host.memory.selectedEntry["TFormPallet/5"] = 0x09D7;
    host.memory.tabPage["TFormPallet"] = 5;
    PalletSession s(host);
    ASSERT_EQ(s.dialog()->pages()->currentIndex(), 5);
    EXPECT_TRUE(s.on("Rad09D7"));
    EXPECT_TRUE(s.on("Rad07"));
    s.ticks(4); // the example stands at shine entry 5

    s.pickCount(2);
    for (const char* name : {"Rad09D3", "Rad09D4", "Rad09D5"})
        EXPECT_TRUE(s.enabled(name)) << name;
    for (const char* name : {"Rad09D6", "Rad09D7", "Rad09D8"})
        EXPECT_FALSE(s.enabled(name)) << name;
    EXPECT_TRUE(s.on("Rad09D5"));
    EXPECT_EQ(s.dialog()->selectedOffset(5), 0x09D5);
    // A count lowered mid-cycle starts again at the first colour; then three colours.
    s.click("Rad09D4");
    s.click("Rad30");
    const QColor c27 = rgb(0xFF, 0xA0, 0x00), white = rgb(0xFF, 0xFF, 0xFF);
    EXPECT_EQ(s.ticks(4), (std::vector<QColor>{c27, white, c27, c27}));

    // A selection below the count stays where it is.
    s.pickCount(4);
    EXPECT_TRUE(s.on("Rad09D4"));
    EXPECT_TRUE(s.enabled("Rad09D7"));
    EXPECT_FALSE(s.enabled("Rad09D8"));
    s.pickCount(0);
    EXPECT_TRUE(s.on("Rad09D3"));
    EXPECT_FALSE(s.enabled("Rad09D4"));
    s.pickCount(2);
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x0A40), 0x03);

    // Count 3 in the image: the remembered entry 5 moves to entry 3 on opening.
    host.memory.selectedEntry["TFormPallet/5"] = 0x09D7;
    PalletSession again(host);
    EXPECT_EQ(again.dialog()->selectedOffset(5), 0x09D5);
    EXPECT_FALSE(again.enabled("Rad09D6"));
    EXPECT_EQ(again.ticks(4), (std::vector<QColor>{c27, white, c27, c27}));
    EXPECT_FALSE(again.ok());
}

TEST(PalletDialog, BytesItCannotDrawAreKept) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = defaultsImage();
    img[0x0CF1] = 0x45;
    img[0x0CF2] = 0xC0;
    img[0x09D4] = 0x80;
    img[0x0A40] = 0x00;
    host.open(img);
    PalletSession s(host);
    EXPECT_EQ(s.color("Rad0CF1"), rgb(0x7F, 0x7F, 0x7F));
    EXPECT_EQ(s.color("Rad0CF2"), rgb(0x7F, 0x7F, 0x7F));
    s.click("Rad0CF1");
    EXPECT_TRUE(s.on("Rad22")); // the mark stays where the background put it
    s.click("Rad0CF2");
    EXPECT_TRUE(s.on("Rad22"));

    QComboBox* count = s.combo("CmbCoinCount");
    EXPECT_EQ(count->count(), 1);
    EXPECT_EQ(count->currentText(), "(Out of bounds)");
    EXPECT_FALSE(count->isEnabled());
    EXPECT_TRUE(s.enabled("Rad09D3"));
    for (const char* name : {"Rad09D4", "Rad09D5", "Rad09D6", "Rad09D7", "Rad09D8"})
        EXPECT_FALSE(s.enabled(name)) << name;
    s.showTab(5);
    const QColor c27 = rgb(0xFF, 0xA0, 0x00), c00 = rgb(0x7F, 0x7F, 0x7F),
                 c17 = rgb(0xC0, 0x70, 0x00), c07 = rgb(0x78, 0x40, 0x00);
    EXPECT_EQ(s.ticks(7), (std::vector<QColor>{c27, c00, c27, c17, c07, c17, c27}));
    // A full Reset leaves the out-of-bounds count alone.
    s.click("SpdPallet6");
    EXPECT_FALSE(count->isEnabled());
    EXPECT_EQ(count->currentText(), "(Out of bounds)");
    EXPECT_FALSE(s.enabled("Rad09D4"));
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x0CF1), 0x45);
    EXPECT_EQ(host.at(0x0CF2), 0xC0);
    EXPECT_EQ(host.at(0x09D4), 0x27); // reset
    EXPECT_EQ(host.at(0x0A40), 0x00);
}

TEST(PalletDialog, ColourSourceOfTheHost) {
    ScriptedPlatform platform;
    for (const auto& [source, grey, dark] :
         {std::tuple{0, rgb(0x60, 0x60, 0x60), rgb(0x30, 0x50, 0x80)},
          std::tuple{1, rgb(0x78, 0x78, 0x78), rgb(0x30, 0x50, 0x80)},
          std::tuple{2, rgb(0x78, 0x78, 0x78), rgb(0x00, 0x43, 0x58)},
          std::tuple{3, rgb(0x60, 0x60, 0x60), rgb(0x30, 0x50, 0x80)}}) {
        SCOPED_TRACE(source);
        FakeHost host;
        host.palette = source;
        auto img = defaultsImage();
        img[0x05E0] = 0x2D;
        host.open(img);
        PalletSession s(host);
        EXPECT_EQ(s.color("Rad05E0"), grey);
        EXPECT_EQ(s.color("Rad2D"), grey);
        EXPECT_EQ(s.color("Rad0C"), dark);
        EXPECT_FALSE(s.ok());
    }
}

TEST(PalletDialog, ReopeningReturnsToThePageAndEntries) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(defaultsImage());
    {
        PalletSession s(host);
        s.click("Rad0CF5");
        s.showTab(6);
        s.click("Rad05EC");
        s.showTab(4);
        s.click("Rad0D49");
        EXPECT_FALSE(s.cancel());
    }
    PalletSession s(host);
    EXPECT_EQ(s.dialog()->pages()->currentIndex(), 4);
    EXPECT_EQ(s.dialog()->selectedOffset(0), 0x0CF5);
    EXPECT_EQ(s.dialog()->selectedOffset(1), 0x05E1);
    EXPECT_EQ(s.dialog()->selectedOffset(4), 0x0D49);
    EXPECT_EQ(s.dialog()->selectedOffset(6), 0x05EC);
    EXPECT_TRUE(s.on("Rad00")); // 0x0D49 holds 0x00 here
    EXPECT_FALSE(s.cancel());
}

TEST(PalletDialog, TrainerMovesEveryOffsetBy512) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = defaultsImage(41488);
    img[0x0A40] = 0x00; // the unshifted count offset: not the dialog's byte
    host.open(img);
    PalletSession s(host);
    EXPECT_TRUE(s.on("Rad22"));
    EXPECT_EQ(s.combo("CmbCoinCount")->currentIndex(), 5);
    s.click("Rad0F");
    s.showTab(5);
    s.pickCount(3);
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x07E0), 0x0F);
    EXPECT_EQ(host.at(0x0C40), 0x04);
    EXPECT_EQ(host.at(0x05E0), 0x00);
    EXPECT_EQ(host.at(0x0A40), 0x00);
}

// Every one of the 116 bytes is written back from its own field: colour entries as
// loaded (drawable or not) and the count as the entry it selects or, out of bounds,
// untouched. So OK without edits rewrites no byte at all, on whatever page it opens.
TEST(PalletDialog, OkWithoutChangesKeepsRandomImages) {
    ScriptedPlatform platform;
    for (unsigned seed = 1; seed <= 16; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        const int shift = seed % 2 ? 0 : 512;
        auto img = qv::test::randomImage(rng, shift);
        if (seed % 4 == 0) img[static_cast<std::size_t>(shift + 0x0A40)] = 0x03;
        FakeHost host;
        host.memory.tabPage["TFormPallet"] = static_cast<int>(seed % 7);
        host.open(img);
        PalletSession s(host);
        s.click("Rad0D1D");
        s.showTab(5);
        s.dialog()->Timer1Timer();
        s.click("Rad09D5");
        s.showTab(4);
        EXPECT_FALSE(s.ok());
        EXPECT_TRUE(std::equal(img.begin(), img.end(), host.doc.image().begin()));
        EXPECT_FALSE(host.doc.modified());
    }
}

} // namespace
