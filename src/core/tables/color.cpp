// The Color dialog's characters, row by row: page, button, caption (and its font
// colour), offset of the attribute byte, the byte Reset restores, and the note.
#include "core/tables/color.h"

#include <string>
#include <vector>

#include "core/tables/builders.h"

namespace qv::tables {
namespace {

using enum CaptionColor;

constexpr int kEnemies = 0, kGeneral = 1, kSpecial = 2;

constexpr std::string_view kFireworks = "Also applied to fireball impacts on walls, etc.";

// Notes break their lines with CR LF.
constexpr ColorCharacter kCharacters[] = {
    {kEnemies, "Spd686B", "Koopa Troopa", Green, 0x686B, 0x01,
     "This color is also applied to green Paratroopas, Koopas, and Cheep-Cheeps."},
    {kEnemies, "Spd686F", "Koopa Troopa (Stopped)", Green, 0x686F, 0x01, ""},
    {kEnemies, "Spd686C", "Koopa Troopa", Red, 0x686C, 0x02,
     "This color is also applied to red Paratroopas, Koopas, Cheep-Cheeps, and green "
     "Paratroopas (Still)."},
    {kEnemies, "Spd686E", "Koopa Troopa (Loop)", Red, 0x686E, 0x02, ""},
    {kEnemies, "Spd686D", "Buzzy Beetle", Plain, 0x686D, 0x03, ""},
    {kEnemies, "Spd687B", "Paratroopa (L/R)", Green, 0x687B, 0x01, ""},
    {kEnemies, "Spd6879", "Paratroopa (Jump)", Green, 0x6879, 0x01, ""},
    {kEnemies, "Spd6874", "Paratroopa (Stopped)", Green, 0x6874, 0x01, ""},
    {kEnemies, "Spd687A", "Paratroopa (U/D)", Red, 0x687A, 0x02, ""},
    {kEnemies, "Spd6871", "Goomba", Plain, 0x6871, 0x03, ""},
    {kEnemies, "Spd687D", "Spiny", Plain, 0x687D, 0x02, "Color is shared by Spiny Eggs."},
    {kEnemies, "Spd6878", "Piranha Plant", Plain, 0x6878, 0x21, ""},
    {kEnemies, "Spd6875", "Cheep-Cheep (Multi)", Green, 0x6875, 0x01, ""},
    {kEnemies, "Spd6876", "Cheep-Cheep (Multi)", Red, 0x6876, 0x02, ""},
    {kEnemies, "Spd687F", "Flying Cheep-Cheep", Red, 0x687F, 0x02, ""},
    {kEnemies, "Spd6872", "Blooper", Plain, 0x6872, 0x03, ""},
    {kEnemies, "Spd6877", "Podoboo", Plain, 0x6877, 0x02, ""},
    {kEnemies, "Spd6873", "Bullet Bill (Multi)", Plain, 0x6873, 0x03,
     "Setting \"Behind BG\" also applies to the Bill Launcher.\r\n"
     "Bill Launcher's color does not change."},
    {kEnemies, "Spd6870", "Hammer Bros.", Plain, 0x6870, 0x01, ""},
    {kEnemies, "Spd6881", "Bowser (Left)", Plain, 0x6881, 0x01, ""},
    {kEnemies, "Spd6882", "Bowser (Right)", Plain, 0x6882, 0x01, ""},
    {kEnemies, "Spd523C", "Bowser Flame 1", Plain, 0x523C, 0x02, ""},
    {kEnemies, "Spd5244", "Bowser Flame 2", Plain, 0x5244, 0x82, ""},
    {kEnemies, "Spd64E8", "Hammer 1", Plain, 0x64E8, 0x03, ""},
    {kEnemies, "Spd64E9", "Hammer 2", Plain, 0x64E9, 0x03, ""},
    {kEnemies, "Spd64EA", "Hammer 3", Plain, 0x64EA, 0xC3, ""},
    {kEnemies, "Spd64EB", "Hammer 4", Plain, 0x64EB, 0xC3, ""},

    {kGeneral, "Spd66DE", "Magic Mushroom", Plain, 0x66DE, 0x02,
     "If green, will match the 1UP Mushroom."},
    {kGeneral, "Spd66DF", "Fire Flower", Plain, 0x66DF, 0x01,
     "The flower part is a combination of colors so changes are not visible.\r\n"
     "Only the stem and leaves change."},
    {kGeneral, "Spd66E0", "Starman", Plain, 0x66E0, 0x02,
     "Flashing is a combination of colors so no change is visible."},
    {kGeneral, "Spd66E1", "1UP Mushroom", Plain, 0x66E1, 0x01,
     "If red, will match the Magic Mushroom."},
    {kGeneral, "Spd6614", "Lift", Plain, 0x6614, 0x02,
     "Color is also applied to lifts after difficulty increase."},
    {kGeneral, "Spd6D81", "Small Lift", Plain, 0x6D81, 0x02,
     "Original color of small lifts.\r\nAfter difficulty increase, uses [Lift]."},
    {kGeneral, "Spd66C2", "Coin Block 1", Plain, 0x66C2, 0x02, ""},
    {kGeneral, "Spd66C7", "Coin Block 2", Plain, 0x66C7, 0x82, ""},
    {kGeneral, "Spd6D5D", "Fireworks (UL)", Plain, 0x6D5D, 0x02, kFireworks},
    {kGeneral, "Spd6D62", "Fireworks (LL)", Plain, 0x6D62, 0x82, kFireworks},
    {kGeneral, "Spd6D0D", "Firebar", Plain, 0x6D0D, 0x02, "Color is also applied to fireballs."},
    {kGeneral, "Spd6883", "Springboard 1", Plain, 0x6883, 0x02,
     "Color setting while plate fully extended.\r\n"
     "Only applicable when springboard sprites set in [General 1]-[Springboard]."},
    {kGeneral, "Spd6884", "Springboard 2", Plain, 0x6884, 0x02,
     "Color setting while plate is partly pressed down.\r\n"
     "Only applicable when springboard sprites set in [General 1]-[Springboard]."},
    {kGeneral, "Spd6885", "Springboard 3", Plain, 0x6885, 0x02,
     "Color setting while plate is fully pressed.\r\n"
     "Only applicable when springboard sprites set in [General 1]-[Springboard]."},
    {kGeneral, "Spd6BEC", "Brick Block", Plain, 0x6BEC, 0x03,
     "Color of brick blocks when hit by small Mario."},
    {kGeneral, "Spd6C70", "Brick Block Piece", Plain, 0x6C70, 0x03,
     "Color of brick block pieces when hit by Super Mario."},
    {kGeneral, "Spd6D67", "Fireworks (UR)", Plain, 0x6D67, 0x42, kFireworks},
    {kGeneral, "Spd6D6C", "Fireworks (LR)", Plain, 0x6D6C, 0xC2, kFireworks},
    {kGeneral, "Spd6472", "Vine", Plain, 0x6472, 0x21, ""},
    {kGeneral, "Spd538E", "Castle Flag", Plain, 0x538E, 0x22, ""},
    {kGeneral, "Spd6880", "Toad / Peach", Plain, 0x6880, 0x02,
     "The lower right corner of Peach is set separately."},
    {kGeneral, "Spd6ADF", "Peach (LR)", Plain, 0x6ADF, 0x42,
     "Only colors the lower right corner of Peach.\r\nThe rest shares a palette with Toad."},
    {kGeneral, "Spd6E12", "Air Bubble", Plain, 0x6E12, 0x02,
     "Using default colors, all but the Mario group is white."},

    {kSpecial, "Spd68D5", "Bill Blaster", Plain, 0x68D5, 0x03,
     "Also sets the color of the launched character sprite set in [Enemies 3]-[Bill "
     "Blaster].\r\nThe launched character's \"Behind BG\" setting overrides this one."},
    {kSpecial, "Spd687C", "Lakitu", Plain, 0x687C, 0x01,
     "Colors other than green oddly affect the cloud."},
    {kSpecial, "Spd6582", "Flagpole", Plain, 0x6582, 0x01,
     "Score displays incorrectly if not green."},
    {kSpecial, "Spd6C29", "Empty Block", Plain, 0x6C29, 0x03,
     "Color setting for used blocks.\r\nNote Underground switches green with Mario, and "
     "Castle switches red and green to black."},
    {kSpecial, "Spd687E", "Unknown", Plain, 0x687E, 0xFF,
     "A strange glitchy enemy.\r\nThe default value is supposed to be 0xFF."},
};

// For the command line each character is its byte, 0..255: every byte is accepted,
// since the dialog keeps and writes back whatever it cannot show.
Item characterItem(const ColorCharacter& c) {
    const int d = c.defaultByte;
    std::string label(c.caption);
    if (c.captionColor == Green) label += " (green)";
    if (c.captionColor == Red) label += " (red)";
    return numeric(c.control, label, c.offset, enc::unsignedByte, 0, 255, d);
}

Page characterPage(int index, RowText caption, RowText objectName) {
    std::vector<Item> items;
    items.reserve(std::size(kCharacters)); // room for every one: no regrowing on the way
    for (const ColorCharacter& c : kCharacters)
        if (c.page == index) items.push_back(characterItem(c));
    // No context of its own: the page's buttons fall back on the dialog's 800, which the
    // help topic of the dialog answers.
    Page p = page(caption, objectName, {group(caption, 0, "", std::move(items))});
    p.customControls = true;
    return p;
}

DialogTable build() {
    DialogTable t;
    t.className = "TFormColor";
    t.caption = "Color Settings";
    t.undoSuffix = "(Color)";
    t.helpContext = 800;
    t.pages = pageList({characterPage(kEnemies, "Enemies", "TabEnemy"),
                        characterPage(kGeneral, "General", "TabZenpan"),
                        characterPage(kSpecial, "Special", "TabAdvance")});
    // "Fixed Palette" ticks the Unknown character's byte to 0xFF; cleared it writes 0x01,
    // and any other byte reads as cleared. Ticked, as the game's 0xFF is.
    Item fixedPalette =
        withOthersClear(flag("Chk687E", "&Fixed Palette", kColorUnknown, 0xFF, 0xFF, 0x01));
    fixedPalette.defaultValue = 1;
    t.pages[kSpecial].groups[0].items.push_back(std::move(fixedPalette));
    return t;
}

} // namespace

const DialogTable& color() {
    static const DialogTable& table = *new DialogTable(build());
    return table;
}

std::span<const ColorCharacter> colorCharacters() {
    return kCharacters;
}

const ColorCharacter* findColorCharacter(int offset) {
    for (const ColorCharacter& c : kCharacters)
        if (c.offset == offset) return &c;
    return nullptr;
}

int attributeField(int paletteGroup, bool behind, bool upsideDown, bool mirrored) {
    int v =
        (paletteGroup & 3) + (behind ? 0x20 : 0) + (upsideDown ? 0x80 : 0) + (mirrored ? 0x40 : 0);
    return v > 127 ? v - 256 : v;
}

} // namespace qv::tables
