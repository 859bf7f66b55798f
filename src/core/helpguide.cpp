// The help book's "Using Quorvane" part and the words on each dialog page.
#include "core/helpguide.h"

namespace qv {

namespace {

constexpr GuideTopic kGuide[] = {
    {kGuideContext, "Using Quorvane",
     "<p>Quorvane edits the game parameters of Super Mario Bros. images: open a game, change "
     "values in the nine settings dialogs, play the result, save it or share it as a patch.</p>"
     "<ul><li><a href=\"topic:50001\">Opening and saving</a></li>"
     "<li><a href=\"topic:50002\">The address bar</a></li>"
     "<li><a href=\"topic:50003\">Undo and reload</a></li>"
     "<li><a href=\"topic:50004\">Changed Parameters</a></li>"
     "<li><a href=\"topic:50005\">Presets: exporting and importing parameters</a></li>"
     "<li><a href=\"topic:50006\">IPS patches: applying and creating</a></li>"
     "<li><a href=\"topic:50007\">Test Play and Play</a></li>"
     "<li><a href=\"topic:50008\">The command-line tool, qorv</a></li>"
     "<li><a href=\"topic:50009\">Working from the keyboard</a></li></ul>"},
    {50001, "Opening and saving",
     "<p>Open a game with File &gt; Open (Ctrl+O), from File &gt; Recent, by dropping it on the "
     "window, or by naming it on the command line. A game image is a .nes file of exactly "
     "40,976 bytes, or 41,488 bytes when a 512-byte trainer follows the header.</p>"
     "<p>The title shows the file's name, with * once it is edited; the status bar shows its "
     "size and last-write time. Save (Ctrl+S) writes the file, Save As (Ctrl+A) writes it under "
     "a new name, Close (Ctrl+E) closes it. A file is only ever replaced by a complete new one; "
     "with Create Backup Files on (Editor Options &gt; General 1) the previous file is kept as "
     "name.~nes.</p>"},
    {50002, "The address bar",
     "<p>The address bar reads and writes single bytes. Type a hexadecimal address (the raw "
     "file position: header and trainer included), and the Value box shows the byte there; "
     "beside it the bar names the parameter or parameters the byte belongs to (\"Mario &gt; "
     "Initial #Lives\"), or says \"no parameter\". Type a new value and press Write or "
     "Enter: the write is one edit that Undo takes back.</p>"
     "<p>The arrow keys and the small arrows step the address and the value. With Confirm "
     "Address Bar Writes on (Editor Options &gt; Confirmation) every write asks first.</p>"},
    {50003, "Undo and reload",
     "<p>Every change is one edit: a dialog's OK, an address-bar write, an imported preset, "
     "a patch applied to the open game. Edit &gt; Undo (Ctrl+Z) takes the last one back; "
     "there is one level of undo. Its menu item names what it undoes.</p>"
     "<p>File &gt; Reload (Ctrl+R) reads the file again, dropping unsaved edits after asking. "
     "When another program changes the open file, the editor asks to reload it the next time "
     "it is activated (Check Files for External Update).</p>"},
    {50004, "Changed Parameters",
     "<p>View &gt; Changed Parameters lists every parameter whose value differs from the "
     "unmodified game's, as the dialogs show it: dialog, page, group, label, value, the "
     "game's own value and the offsets. It follows every change at once, and opens beside the "
     "main window.</p>"
     "<p>Double-click a row, or press Enter, to open its dialog at that control (a Basic "
     "Blocks or Staircase row opens that dialog through General Settings 1). Ctrl+C copies "
     "the selected rows as text; Ctrl+1 to Ctrl+9 open the dialogs; Escape closes the "
     "list.</p><p>In the dialogs the same values are marked: their labels are bold, their "
     "fields tinted (the tip names the game's own value), and a dot on a page's tab shows "
     "that the page holds some. A number OK would not take is tinted red while it is typed; "
     "its tip says what OK stores instead.</p>"},
    {50005, "Presets: exporting and importing parameters",
     "<p>File &gt; Export Parameters writes the changed parameters of the open game to a "
     "preset, a small JSON text that names each parameter by its control and gives its "
     "value. File &gt; Import Parameters applies a preset to the open game: every entry is "
     "checked first and the whole preset is one edit, or nothing changes and a message names "
     "the entry that was refused. The status bar says how many parameters were exported or "
     "imported.</p>"},
    {50006, "IPS patches: applying and creating",
     "<p>Tools &gt; Open IPS File (F5), or opening a .ips file, applies a patch: to a Default "
     "NES File, or to the open game. The result can be opened unsaved, saved and opened, or "
     "only saved. Details... shows which parameters the patch changes before anything is "
     "written, or that the image already holds it.</p>"
     "<p>Tools &gt; Create IPS File (F6) compares the open game with its unmodified original "
     "and writes the smallest patch. The original is the Default NES File of the game's size, "
     "set under Tools &gt; Editor Options &gt; IPS, or another file chosen with Compare to "
     "External ROM.</p>"},
    {50007, "Test Play and Play",
     "<p>Tools &gt; Test Play (F7) hands the current image, unsaved edits included, to an "
     "emulator: the command set under Editor Options &gt; External Editors &gt; Test Play "
     "Emulator (%f stands for the game file), or else the first of fceux, nestopia and "
     "mednafen found on the PATH or in /usr/games. The game file itself is not touched: a "
     "temporary copy is played.</p>"
     "<p>Tools &gt; Play (F8) runs the game inside the editor on a libretro NES core; every "
     "change you make is loaded into the running game at once.</p>"},
    {50008, "The command-line tool, qorv",
     "<p>qorv reads and changes the same parameters from a shell or a script: <code>qorv get "
     "game.nes EditMaZanki</code>, <code>qorv set game.nes EditMaZanki=9 -o mod.nes</code>, "
     "<code>qorv changes mod.nes</code>, <code>qorv diff game.nes mod.nes</code>, <code>qorv "
     "export</code> and <code>qorv import</code> for presets, <code>qorv ips create game.nes "
     "mod.nes -o mod.ips</code>, and <code>qorv dump</code> for every item with its offsets. "
     "Run <code>qorv --help</code> for all commands.</p>"},
    {50009, "Working from the keyboard",
     "<p>Ctrl+1 to Ctrl+9 open the settings dialogs. In a dialog, Tab reaches every control, "
     "Reset buttons included; Ctrl+Tab and Ctrl+Shift+Tab turn the pages. In the Color "
     "dialog the arrow keys choose the character and Space presses its button. Alt and the "
     "underlined letter jump to a control.</p>"},
};

struct PageWords {
    std::string_view dialog, page, words;
};

constexpr PageWords kPages[] = {
    {"TFormMario", "Speed",
     "Mario's top speeds walking, running and on the ocean floor, and the speed at which he "
     "walks by himself (into a castle, out of a pipe). Speeds are in sixteenths of a pixel "
     "per frame: the game's walking speed, 24, is 1.5 pixels a frame (90 a second); a "
     "leftward speed is given as a positive number."},
    {"TFormMario", "Jump Ability 1",
     "How Mario jumps, one row for each horizontal speed he jumps at: the upward speed the "
     "jump starts with (Base Value, in pixels per frame, and its Correction in 1/256 "
     "pixel) and the pull of gravity while he rises and while he falls, which decide how "
     "high and how long he flies."},
    {"TFormMario", "Jump Ability 2",
     "How high Mario bounces off a stomped enemy and how high a springboard throws him; "
     "upward speeds in pixels per frame."},
    {"TFormMario", "Swimming",
     "How far one stroke lifts Mario in open water and in a current, in pixels per frame, "
     "and whether he floats while sinking."},
    {"TFormMario", "Fireballs",
     "The speed, bounce and gravity of Mario's fireballs, the angle they are thrown at, and "
     "when he may throw them. Speeds in sixteenths of a pixel per frame (the game's 64 is "
     "four pixels a frame)."},
    {"TFormMario", "Pipes",
     "How fast Mario rises out of and sinks into a pipe, in pixels per frame, and the "
     "height he comes out at."},
    {"TFormMario", "Vines",
     "How fast Mario climbs up and slides down vines and poles, in pixels per frame, and how "
     "far he slips."},
    {"TFormMario", "Damage",
     "How long Mario cannot be hurt after touching a Starman and after being hurt (counted "
     "in steps of 21 frames, about a third of a second: the game's Starman time, 35, is "
     "about 12 seconds), the lives a game starts with, the jump at death, and two switches "
     "that take damage away."},
    {"TFormZenpan1", "Blocks",
     "Block behaviour: how long a coin block pays out, the heights of the ? block rows and "
     "broken pieces, and which worlds replace ocean blocks with castle blocks. The two "
     "buttons open the block pattern dialogs."},
    {"TFormZenpan1", "Items",
     "What comes out of blocks: the speed of mushrooms and stars, the items each block "
     "gives, hidden 1UP blocks and how high a coin bounces."},
    {"TFormZenpan1", "Springboard", "The sprites a springboard shows as it is pressed down."},
    {"TFormZenpan1", "Lifts", "How fast lifts move up and down, in pixels per frame."},
    {"TFormZenpan1", "Bridge",
     "The height of rope bridges and the offset of their handrail, in blocks."},
    {"TFormZenpan1", "Horizontal Rope", "The height of the horizontal rope, in blocks."},
    {"TFormZenpan1", "Time",
     "The level timer: the time a level starts with (in the units the screen counts), how "
     "fast it counts down, whether it counts at all, and the last digits that set off "
     "fireworks."},
    {"TFormZenpan1", "Stages",
     "When the game gets harder (the world and level the second quest starts from) and the "
     "stage select at the start."},
    {"TFormKihonBloc", "Basic Block Settings",
     "The 16 block patterns the level data names, and the cloud pattern: each column fills "
     "the ticked rows, row 0 at the top, 11 and 12 the ground. Each pattern is stored as a "
     "block column: bit n set fills row n (rows 0-7 in the first byte, 8-12 in the second); "
     "the clouds' byte has bit k for row 8 + k."},
    {"TFormKaidanBloc", "Staircase Block Settings",
     "The nine steps of a staircase: for each, the row its column starts at and how many "
     "blocks high it is."},
    {"TFormZenpan2", "Flagpole",
     "Where the flag, the pole, its block and the score are at the end of a level, and where "
     "Mario stops and lets go; heights in blocks, shown in the preview."},
    {"TFormZenpan2", "Castle Flag",
     "The height the castle flag starts at and the height it is raised to, in blocks."},
    {"TFormZenpan2", "Bowser Bridge",
     "Bowser's bridge: where the axe and the rope are, the bridge's pieces and length, what "
     "is erased when the axe is taken, and how fast the bridge falls away."},
    {"TFormZenpan2", "Toad",
     "The height Toad or the princess stands at and where Mario stops before them."},
    {"TFormZenpan2", "Advanced",
     "The character an item block releases, and the screen mode (colour or monochrome)."},
    {"TFormEnemy1", "Koopa Troopa",
     "Koopas, Goombas and Buzzy Beetles: how fast they walk (in sixteenths of a pixel per "
     "frame: the game's 8 is half a pixel a frame), how long a shell lies before it wakes "
     "and how fast it walks then."},
    {"TFormEnemy1", "Paratroopa",
     "How high jumping Paratroopas (and the Starman) jump and how fast they move."},
    {"TFormEnemy1", "Lakitu",
     "Lakitu: his speed, when and where he comes back after being beaten, what he throws and "
     "where his Spiny eggs start."},
    {"TFormEnemy1", "Spiny", "How fast Spinies walk."},
    {"TFormEnemy1", "Goomba",
     "How often a Goomba steps and which characters stand in for "
     "Goombas."},
    {"TFormEnemy1", "Multiple Occurrence",
     "Groups of Goombas and green Koopas: how many come, at what height and how far apart, "
     "and which characters follow one another."},
    {"TFormEnemy1", "Cheep-Cheep 1",
     "Flying red Cheep-Cheeps: how fast and how high they leap out of the water."},
    {"TFormEnemy1", "Cheep-Cheep 2",
     "Swarms of Cheep-Cheeps: how often they come and from which world the rate "
     "turns round."},
    {"TFormEnemy1", "Blooper", "How high Mario bounces off a Blooper, in pixels per frame."},
    {"TFormEnemy1", "Mario Interaction",
     "What Mario's kicks and bumps do: the speed of kicked shells, enemies knocked from "
     "below and how far they fly."},
    {"TFormEnemy2", "Piranha Plant",
     "Piranha Plants: how many may show at once, how fast they come out and go back, and "
     "when they stay in their pipe."},
    {"TFormEnemy2", "Firebar 1",
     "Firebars: how long they are (in fireballs), which way and how fast they turn."},
    {"TFormEnemy2", "Firebar 2", "Where each firebar turns about."},
    {"TFormEnemy2", "Podoboo", "How high Podoboos leap out of the lava, in pixels per frame."},
    {"TFormEnemy2", "Special 1",
     "Lists of characters: which hurt when touched, which fireballs cannot beat and which "
     "cannot be kicked once stomped."},
    {"TFormEnemy2", "Special 2",
     "Lists of characters: which fall off the screen when stomped, which pace back and "
     "forth, which fireballs pass through and which do not turn to face Mario."},
    {"TFormEnemy3", "Bill Blaster",
     "Bill Blasters: how fast Bullet Bills fly, when a blaster holds its fire, what it "
     "launches and what the bullets collide with."},
    {"TFormEnemy3", "Bullet Bill (Const. Fire)",
     "Bullet Bills that fly without a blaster, and the heights they and flying Cheep-Cheeps "
     "come in at."},
    {"TFormEnemy3", "Hammer Bros.",
     "Hammer Bros.: how often they throw, when they rush at Mario, how fast they "
     "move and how they bounce when hit from below."},
    {"TFormEnemy3", "Bowser 1",
     "Bowser's speed towards and away from Mario, how far he moves, and what he turns out "
     "to be in each world's castle."},
    {"TFormEnemy3", "Bowser 2",
     "Which worlds' Bowsers breathe fire or throw hammers, how many fireballs beat him, how "
     "high he jumps and how Mario bounces off him."},
    {"TFormEnemy3", "Bowser Flame",
     "Bowser's flames: their heights, how fast they fly and the time between salvos."},
    {"TFormEnemy3", "Hammers",
     "Thrown hammers: how many, how far they fly and how long a Hammer Bro. holds one."},
    {"TFormEnemy3", "Other",
     "The character a Bill Blaster launches in later quests, and the Hammer Bros.' pattern "
     "before they rush."},
    {"TFormPoint", "General",
     "The score table of a chain of stomps or kicks: the points of each step and the "
     "picture shown for them."},
    {"TFormPoint", "Coins and Flagpoles",
     "What a coin is worth, how many coins give a life, and the points for each height "
     "on the flagpole."},
    {"TFormPoint", "Items and Bonuses",
     "The points for items (mushrooms, flowers, stars, 1UPs) and the bonuses of falling "
     "lifts."},
    {"TFormPoint", "Fireballs", "The points for beating enemies with a fireball or the Starman."},
    {"TFormPoint", "Stomping", "The points for stomping each kind of enemy."},
    {"TFormPoint", "Kicking", "The points for kicking shells and what they knock over."},
    {"TFormPoint", "Special",
     "Scores that ignore the general table, and how scores are displayed."},
    {"TFormColor", "Enemies",
     "Each enemy's sprite attribute: its palette group (Mario, green, red or black), "
     "whether it is drawn behind the background, mirrored or upside down."},
    {"TFormColor", "General",
     "The sprite attributes of items, lifts, blocks, fireworks and other objects."},
    {"TFormColor", "Special",
     "The sprite attributes of Bill Blasters, Lakitu, the flagpole and the empty block."},
    {"TFormPallet", "Ground",
     "The colours of above-ground levels: the sky, three background palettes and the three "
     "enemy palette groups, as NES colour numbers ($00-$3F)."},
    {"TFormPallet", "Underground", "The colours of underground levels, as on the Ground page."},
    {"TFormPallet", "Water", "The colours of water levels, as on the Ground page."},
    {"TFormPallet", "Castle", "The colours of castles, as on the Ground page."},
    {"TFormPallet", "Special",
     "The backgrounds of night and snow levels and the orange mushroom platforms."},
    {"TFormPallet", "Coins",
     "The colours a shining coin and ? block cycle through, and how many of them are used."},
    {"TFormPallet", "Characters", "The colours of Mario, Luigi, fiery Mario and Bowser."},
};

} // namespace

std::span<const GuideTopic> guideTopics() {
    return kGuide;
}

std::string_view pageDescription(std::string_view dialogClass, std::string_view pageCaption) {
    for (const PageWords& p : kPages)
        if (p.dialog == dialogClass && p.page == pageCaption) return p.words;
    return {};
}

} // namespace qv
