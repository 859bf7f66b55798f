// The facts behind the CHR pictures, as the unmodified game draws them: tile numbers
// and flips of each frame, how each cell's attribute is formed from the character's
// byte, the metatiles' tiles and palette rows, and the palette pages' scenes.
#include "core/chrtables.h"

namespace qv::chr {
namespace {

// Walking enemies face left, the way they spawn: the game swaps each row's two tiles
// and flips them (the art faces right). Cells with their own attribute mask: symmetric
// objects ignore the byte's mirror bit and mirror their right column themselves.
constexpr SpriteCell kSpd686B[] = {{0xA5, kH}, {}, {0xA7, kH}, {0xA6, kH}, {0xA9, kH}, {0xA8, kH}};
constexpr SpriteCell kSpd686D[] = {{}, {}, {0xAB, kH}, {0xAA, kH}, {0xAD, kH}, {0xAC, kH}};
constexpr SpriteCell kSpd687B[] = {{0xA5, kH}, {0x69, kH}, {0xA7, kH},
                                   {0x6A, kH}, {0xA9, kH}, {0xA8, kH}};
constexpr SpriteCell kSpd6871[] = {{}, {}, {0x71, kH}, {0x70, kH}, {0x73, kH}, {0x72, kH}};
constexpr SpriteCell kSpd687D[] = {{}, {}, {0x97, kH}, {0x96, kH}, {0x99, kH}, {0x98, kH}};
constexpr SpriteCell kSpd6875[] = {{}, {}, {0xB3, kH}, {0xB2, kH}, {0xB5, kH}, {0xB4, kH}};
constexpr SpriteCell kSpd6873[] = {{}, {}, {0xE7, kH}, {0xE8, kH}, {0xE9, kH}, {0xEA, kH}};
constexpr SpriteCell kSpd6870[] = {{0x7C, kH}, {0x7D, kH}, {0x8C, kH},
                                   {0xD1, kH}, {0xD2, kH}, {0xD3, kH}};
constexpr SpriteCell kSpd6872[] = {{0xDC, 0, 0, 0xA3, 0x00}, {0xDC, kH, 0, 0xA3, 0x40},
                                   {0xDD, 0, 0, 0xA3, 0x00}, {0xDD, kH, 0, 0xA3, 0x40},
                                   {0xDE, 0, 0, 0xA3, 0x00}, {0xDE, kH, 0, 0xA3, 0x40}};
constexpr SpriteCell kSpd6877[] = {{},
                                   {},
                                   {0xD0, 0, 0, 0xA3, 0x00},
                                   {0xD0, kH, 0, 0xA3, 0x40},
                                   {0xD7, 0, 0, 0xA3, 0x00},
                                   {0xD7, kH, 0, 0xA3, 0x40}};
constexpr SpriteCell kSpd6878[] = {{0xE5, 0, 0, 0xA3, 0x00}, {0xE5, kH, 0, 0xA3, 0x40},
                                   {0xE6, 0, 0, 0xA3, 0x00}, {0xE6, kH, 0, 0xA3, 0x40},
                                   {0xEB, 0, 0, 0xA3, 0x00}, {0xEB, kH, 0, 0xA3, 0x40}};
constexpr SpriteCell kSpd6881[] = {{0xBE, kH}, {0xBF, kH}, {0xC0, kH}, {0xC1, kH}, {}, {0xC2, kH}};
constexpr SpriteCell kSpd6882[] = {{0xC3, kH}, {0xC4, kH}, {0xC5, kH},
                                   {0xC6, kH}, {0xC7, kH}, {0xC8, kH}};
constexpr SpriteCell kSpd523C[] = {{0x51, 0}, {0x52, 0}, {0x53, 0}};
constexpr SpriteCell kSpd5244[] = {{0x51, kV}, {0x52, kV}, {0x53, kV}};
constexpr SpriteCell kSpd64E8[] = {{0x80, 0}, {0x81, 0}};
constexpr SpriteCell kSpd64E9[] = {{0x82, 0}, {0x83, 0}};
constexpr SpriteCell kSpd64EA[] = {{0x81, kH | kV}, {0x80, kH | kV}};
constexpr SpriteCell kSpd64EB[] = {{0x83, kH | kV}, {0x82, kH | kV}};
constexpr SpriteCell kSpd66DE[] = {{0x76, 0}, {0x77, 0}, {0x78, 0}, {0x79, 0}};
constexpr SpriteCell kSpd66DF[] = {
    {0xD6, kCycle, 0, 0x00, 0x00}, {0xD6, kH | kCycle, 0, 0x00, 0x40}, {0xD9, 0}, {0xD9, kH}};
constexpr SpriteCell kSpd66E0[] = {{0x8D, kCycle, 0, 0x00, 0x00},
                                   {0x8D, kH | kCycle, 0, 0x00, 0x40},
                                   {0xE4, kCycle, 0, 0x00, 0x00},
                                   {0xE4, kH | kCycle, 0, 0x00, 0x40}};
constexpr SpriteCell kSpd6614[] = {{0x5B, 0}, {0x5B, 0}, {0x5B, 0},
                                   {0x5B, 0}, {0x5B, 0}, {0x5B, 0}};
constexpr SpriteCell kSpd6D81[] = {{0x5B, 0}, {0x5B, 0}, {0x5B, 0}};
constexpr SpriteCell kSpd66C2[] = {{0x60, 0}};
constexpr SpriteCell kSpd66C7[] = {{0x60, kV}};
constexpr SpriteCell kSpd6D5D[] = {{0x66, 0}};
constexpr SpriteCell kSpd6D62[] = {{0x66, kV}};
constexpr SpriteCell kSpd6D67[] = {{0x66, kH}};
constexpr SpriteCell kSpd6D6C[] = {{0x66, kH | kV}};
constexpr SpriteCell kSpd6D0D[] = {{0x64, 0}};
constexpr SpriteCell kSpd6883[] = {{0xF2, 0, 0, 0xA3, 0x00},  {0xF2, kH, 0, 0xA3, 0x40},
                                   {0xF3, kV, 0, 0x00, 0x82}, {0xF3, kH | kV, 0, 0x00, 0xC2},
                                   {0xF2, kV, 0, 0x00, 0x82}, {0xF2, kH | kV, 0, 0x00, 0xC2}};
constexpr SpriteCell kSpd6884[] = {{0xF1, 0, 0, 0xA3, 0x00},
                                   {0xF1, kH, 0, 0xA3, 0x40},
                                   {0xF1, kV, 0, 0x00, 0x82},
                                   {0xF1, kH | kV, 0, 0x00, 0xC2},
                                   {},
                                   {}};
constexpr SpriteCell kSpd6885[] = {
    {0xF0, 0, 0, 0xA3, 0x00}, {0xF0, kH, 0, 0xA3, 0x40}, {}, {}, {}, {}};
constexpr SpriteCell kSpd6BEC[] = {{0x85, 0}, {0x85, 0}, {0x86, 0}, {0x86, 0}};
constexpr SpriteCell kSpd6C29[] = {{0x87, 0}, {0x87, kH}, {0x87, kV}, {0x87, kH | kV}};
constexpr SpriteCell kSpd6C70[] = {{0x84, 0}};
constexpr SpriteCell kSpd6472[] = {{0xE0, 0},     {0xE1, kH, 6}, {0xE1, 0},
                                   {0xE1, kH, 6}, {0xE1, 0},     {0xE1, kH, 6}};
constexpr SpriteCell kSpd538E[] = {{0x54, 0}, {0x55, 0}, {0x56, 0}, {0x57, 0}};
constexpr SpriteCell kSpd6582[] = {{0x7E, 0}, {0x7F, 0}, {}, {0x7E, 0}};
constexpr SpriteCell kSpd6E12[] = {{0x74, 0}};
constexpr SpriteCell kSpd6880[] = {{0xCD, 0, 0, 0xA3, 0x00}, {0xCD, kH, 0, 0xA3, 0x40},
                                   {0xCE, 0, 0, 0xA3, 0x00}, {0xCE, kH, 0, 0xA3, 0x40},
                                   {0xCF, 0, 0, 0xA3, 0x00}, {0xCF, kH, 0, 0xA3, 0x40}};
constexpr SpriteCell kSpd6ADF[] = {{0xD8, kH}};
constexpr SpriteCell kSpd687C[] = {{0xB8, kH},
                                   {0xB9, kH},
                                   {0xBA, kH},
                                   {0xBB, kH},
                                   {0xBC, 0, 0, 0x81, 0x00},
                                   {0xBC, kH, 0, 0xFF, 0x41}};
constexpr SpriteCell kSpd687E[] = {{}, {}, {0xAA, kH | kV}, {}, {0xAC, kH | kV}, {0xAB, kH | kV}};
constexpr SpriteCell kBowser[] = {{0xBE, kH, 0, 0xFF, 0x00, 0x6881},
                                  {0xBF, kH, 0, 0xFF, 0x00, 0x6881},
                                  {},
                                  {},
                                  {0xC0, kH, 0, 0xFF, 0x00, 0x6881},
                                  {0xC1, kH, 0, 0xFF, 0x00, 0x6881},
                                  {0xC3, kH, 0, 0xFF, 0x00, 0x6882},
                                  {0xC4, kH, 0, 0xFF, 0x00, 0x6882},
                                  {},
                                  {0xC2, kH, 0, 0xFF, 0x00, 0x6881},
                                  {0xC5, kH, 0, 0xFF, 0x00, 0x6882},
                                  {0xC6, kH, 0, 0xFF, 0x00, 0x6882},
                                  {},
                                  {},
                                  {0xC7, kH, 0, 0xFF, 0x00, 0x6882},
                                  {0xC8, kH, 0, 0xFF, 0x00, 0x6882}};
constexpr SpriteCell kFireworks[] = {{0x66, 0, 0, 0xFF, 0x00, 0x6D5D},
                                     {0x66, kH, 0, 0xFF, 0x00, 0x6D67},
                                     {0x66, kV, 0, 0xFF, 0x00, 0x6D62},
                                     {0x66, kH | kV, 0, 0xFF, 0x00, 0x6D6C}};
constexpr SpriteCell kBlockCoin[] = {{0x60, 0, 0, 0xFF, 0x00, 0x66C2},
                                     {0x60, kV, 0, 0xFF, 0x00, 0x66C7}};
constexpr SpriteCell kPrincess[] = {
    {0x7A, 0, 0, 0xFF, 0x00, 0x6880}, {0x7B, 0, 0, 0xFF, 0x00, 0x6880},
    {0xDA, 0, 0, 0xFF, 0x00, 0x6880}, {0xDB, 0, 0, 0xFF, 0x00, 0x6880},
    {0xD8, 0, 0, 0xFF, 0x00, 0x6880}, {0xD8, kH, 0, 0xFF, 0x00, 0x6ADF}};
constexpr SpriteCell kSmallPlayer[] = {{0x3A, 0}, {0x37, 0}, {0x4F, 0}, {0x4F, kH}};
constexpr SpriteCell kBigPlayer[] = {{0x00, 0}, {0x01, 0},  {0x4C, 0}, {0x4D, 0},
                                     {0x4A, 0}, {0x4A, kH}, {0x4B, 0}, {0x4B, kH}};
constexpr std::string_view kCloudGroup[] = {"cloud_top_left",      "cloud_top_middle",
                                            "cloud_top_right",     "cloud_bottom_left",
                                            "cloud_bottom_middle", "cloud_bottom_right"};
constexpr std::string_view kBushGroup[] = {"bush_left", "bush_middle", "bush_right"};
constexpr std::string_view kPipeGroup[] = {"pipe_top_left", "pipe_top_right", "pipe_body_left",
                                           "pipe_body_right"};

constexpr SpriteFrame kFrames[] = {
    {0x686B, "Spd686B", {2, 3, kSpd686B}, false, -1}, // Koopa Troopa
    {0x686F, "Spd686F", {2, 3, kSpd686B}, false, -1}, // Koopa Troopa (Stopped)
    {0x686C, "Spd686C", {2, 3, kSpd686B}, false, -1}, // Koopa Troopa
    {0x686E, "Spd686E", {2, 3, kSpd686B}, false, -1}, // Koopa Troopa (Loop)
    {0x686D, "Spd686D", {2, 3, kSpd686D}, false, -1}, // Buzzy Beetle
    {0x687B, "Spd687B", {2, 3, kSpd687B}, false, -1}, // Paratroopa (L/R)
    {0x6879, "Spd6879", {2, 3, kSpd687B}, false, -1}, // Paratroopa (Jump)
    {0x6874, "Spd6874", {2, 3, kSpd687B}, false, -1}, // Paratroopa (Stopped)
    {0x687A, "Spd687A", {2, 3, kSpd687B}, false, -1}, // Paratroopa (U/D)
    {0x6871, "Spd6871", {2, 3, kSpd6871}, false, -1}, // Goomba
    {0x687D, "Spd687D", {2, 3, kSpd687D}, false, -1}, // Spiny
    {0x6875, "Spd6875", {2, 3, kSpd6875}, false, -1}, // Cheep-Cheep (Multi)
    {0x6876, "Spd6876", {2, 3, kSpd6875}, false, -1}, // Cheep-Cheep (Multi)
    {0x687F, "Spd687F", {2, 3, kSpd6875}, false, -1}, // Flying Cheep-Cheep
    {0x6873, "Spd6873", {2, 3, kSpd6873}, false, -1}, // Bullet Bill (Multi)
    {0x6870, "Spd6870", {2, 3, kSpd6870}, false, -1}, // Hammer Bros.
    {0x6872, "Spd6872", {2, 3, kSpd6872}, false, -1}, // Blooper
    {0x6877, "Spd6877", {2, 3, kSpd6877}, false, -1}, // Podoboo
    {0x6878, "Spd6878", {2, 3, kSpd6878}, false, -1}, // Piranha Plant
    {0x6881, "Spd6881", {2, 3, kSpd6881}, false, 0},  // Bowser (Left)
    {0x6882, "Spd6882", {2, 3, kSpd6882}, false, 0},  // Bowser (Right)
    {0x523C, "Spd523C", {3, 1, kSpd523C}, false, -1}, // Bowser Flame 1
    {0x5244, "Spd5244", {3, 1, kSpd5244}, true, -1},  // Bowser Flame 2
    {0x64E8, "Spd64E8", {1, 2, kSpd64E8}, false, -1}, // Hammer 1
    {0x64E9, "Spd64E9", {2, 1, kSpd64E9}, false, -1}, // Hammer 2
    {0x64EA, "Spd64EA", {1, 2, kSpd64EA}, true, -1},  // Hammer 3
    {0x64EB, "Spd64EB", {2, 1, kSpd64EB}, true, -1},  // Hammer 4
    {0x66DE, "Spd66DE", {2, 2, kSpd66DE}, false, -1}, // Magic Mushroom
    {0x66DF, "Spd66DF", {2, 2, kSpd66DF}, false, -1}, // Fire Flower
    {0x66E0, "Spd66E0", {2, 2, kSpd66E0}, false, -1}, // Starman
    {0x66E1, "Spd66E1", {2, 2, kSpd66DE}, false, -1}, // 1UP Mushroom
    {0x6614, "Spd6614", {6, 1, kSpd6614}, false, -1}, // Lift
    {0x6D81, "Spd6D81", {3, 1, kSpd6D81}, false, -1}, // Small Lift
    {0x66C2, "Spd66C2", {1, 1, kSpd66C2}, false, 2},  // Coin Block 1
    {0x66C7, "Spd66C7", {1, 1, kSpd66C7}, true, 2},   // Coin Block 2
    {0x6D5D, "Spd6D5D", {1, 1, kSpd6D5D}, false, 1},  // Fireworks (UL)
    {0x6D62, "Spd6D62", {1, 1, kSpd6D62}, true, 1},   // Fireworks (LL)
    {0x6D67, "Spd6D67", {1, 1, kSpd6D67}, true, 1},   // Fireworks (UR)
    {0x6D6C, "Spd6D6C", {1, 1, kSpd6D6C}, true, 1},   // Fireworks (LR)
    {0x6D0D, "Spd6D0D", {1, 1, kSpd6D0D}, false, -1}, // Firebar
    {0x6883, "Spd6883", {2, 3, kSpd6883}, false, -1}, // Springboard 1
    {0x6884, "Spd6884", {2, 3, kSpd6884}, false, -1}, // Springboard 2
    {0x6885, "Spd6885", {2, 3, kSpd6885}, false, -1}, // Springboard 3
    {0x6BEC, "Spd6BEC", {2, 2, kSpd6BEC}, false, -1}, // Brick Block
    {0x6C29, "Spd6C29", {2, 2, kSpd6C29}, false, -1}, // Empty Block
    {0x6C70, "Spd6C70", {1, 1, kSpd6C70}, false, -1}, // Brick Block Piece
    {0x6472, "Spd6472", {1, 6, kSpd6472}, false, -1}, // Vine
    {0x538E, "Spd538E", {2, 2, kSpd538E}, false, -1}, // Castle Flag
    {0x6582, "Spd6582", {2, 2, kSpd6582}, false, -1}, // Flagpole
    {0x6E12, "Spd6E12", {1, 1, kSpd6E12}, false, -1}, // Air Bubble
    {0x6880, "Spd6880", {2, 3, kSpd6880}, false, -1}, // Toad / Peach
    {0x6ADF, "Spd6ADF", {1, 1, kSpd6ADF}, true, 3},   // Peach (LR)
    {0x68D5, "Spd68D5", {2, 3, kSpd6873}, false, -1}, // Bill Blaster
    {0x687C, "Spd687C", {2, 3, kSpd687C}, false, -1}, // Lakitu
    {0x687E, "Spd687E", {2, 3, kSpd687E}, true, -1},  // Unknown
};

constexpr Composite kComposites[] = {
    {"bowser", {4, 4, kBowser}},
    {"fireworks", {2, 2, kFireworks}},
    {"block_coin", {1, 2, kBlockCoin}},
    {"princess", {2, 3, kPrincess}},
};

// Player frames: the right tile of the lower rows is the left one mirrored.
constexpr CellGrid kSmall{2, 2, kSmallPlayer};
constexpr CellGrid kBig{2, 4, kBigPlayer};

constexpr Metatile kMetatiles[] = {
    {"ground_block", 1, {0xB4, 0xB5, 0xB6, 0xB7}},        // 0x54
    {"brick", 1, {0x45, 0x45, 0x47, 0x47}},               // 0x51
    {"brick_plain", 1, {0x47, 0x47, 0x47, 0x47}},         // 0x52
    {"question_block", 3, {0x53, 0x54, 0x55, 0x56}},      // 0xC0
    {"used_block", 3, {0x57, 0x58, 0x59, 0x5A}},          // 0xC4
    {"pipe_top_left", 0, {0x60, 0x61, 0x64, 0x65}},       // 0x10
    {"pipe_top_right", 0, {0x62, 0x63, 0x66, 0x67}},      // 0x11
    {"pipe_body_left", 0, {0x68, 0x69, 0x68, 0x69}},      // 0x14
    {"pipe_body_right", 0, {0x26, 0x6A, 0x26, 0x6A}},     // 0x15
    {"cloud_top_left", 2, {0x24, 0x24, 0x24, 0x35}},      // 0x80
    {"cloud_top_middle", 2, {0x36, 0x37, 0x25, 0x25}},    // 0x81
    {"cloud_top_right", 2, {0x24, 0x24, 0x38, 0x24}},     // 0x82
    {"cloud_bottom_left", 2, {0x24, 0x39, 0x24, 0x24}},   // 0x83
    {"cloud_bottom_middle", 2, {0x3A, 0x3B, 0x24, 0x24}}, // 0x84
    {"cloud_bottom_right", 2, {0x3C, 0x24, 0x24, 0x24}},  // 0x85
    {"bush_left", 0, {0x24, 0x24, 0x24, 0x35}},           // 0x02
    {"bush_middle", 0, {0x36, 0x37, 0x25, 0x25}},         // 0x03
    {"bush_right", 0, {0x24, 0x24, 0x38, 0x24}},          // 0x04
    {"castle_brick", 1, {0x47, 0x47, 0x47, 0x47}},        // 0x47
    {"castle_top", 1, {0x9D, 0x9E, 0x47, 0x47}},          // 0x45
    {"castle_level_block", 1, {0x5D, 0x5D, 0x5E, 0x5E}},  // 0x62
    {"water_surface", 2, {0x41, 0x41, 0x26, 0x26}},       // 0x86
    {"water", 2, {0x26, 0x26, 0x26, 0x26}},               // 0x87
    {"seaweed", 0, {0xA4, 0xEA, 0xE9, 0xEB}},             // 0x22
    {"water_block", 1, {0x82, 0x84, 0x83, 0x85}},         // 0x69
    {"coin", 3, {0xA5, 0xA6, 0xA7, 0xA8}},                // 0xC2
    {"coin_underwater", 3, {0xC2, 0xC3, 0xC4, 0xC5}},     // 0xC3
    {"stair_block", 1, {0xAB, 0xAD, 0xAC, 0xAE}},         // 0x61
    {"tree_top", 0, {0xB8, 0xB9, 0xBC, 0xBD}},            // 0x0E
    {"bridge", 1, {0xC1, 0xC1, 0x24, 0x24}},              // 0x63
    {"cannon_top", 1, {0xCA, 0xCB, 0xCC, 0xCD}},          // 0x65
    {"axe", 3, {0x7B, 0x7C, 0x7D, 0x7E}},                 // 0xC5
    {"flagpole_ball", 0, {0x24, 0x24, 0x2F, 0x3D}},       // 0x24
    {"flagpole_shaft", 0, {0xA2, 0xA3, 0xA2, 0xA3}},      // 0x25
};

constexpr MetatileGroup kGroups[] = {
    {"cloud", 3, 2, kCloudGroup},
    {"bush", 3, 1, kBushGroup},
    {"pipe", 2, 2, kPipeGroup},
};

// The scenes stand on a 16-pixel grid: a cloud, a row of blocks with the "?" block, a
// coin, a pipe, a bush and the ground, with Mario and three enemies on the ground.
constexpr int kSceneWidth = 144;
constexpr int kSceneHeight = 96;

constexpr std::array<ScenePiece, 20> areaScene(std::string_view ground, std::string_view brick,
                                               std::string_view coin) {
    return {{
        {PieceKind::Group, "cloud", 8, 0},
        {PieceKind::Metatile, brick, 64, 24},
        {PieceKind::Metatile, "question_block", 80, 24},
        {PieceKind::Metatile, brick, 96, 24},
        {PieceKind::Metatile, coin, 120, 16},
        {PieceKind::Group, "pipe", 112, 48},
        {PieceKind::Group, "bush", 0, 64},
        {PieceKind::Metatile, ground, 0, 80},
        {PieceKind::Metatile, ground, 16, 80},
        {PieceKind::Metatile, ground, 32, 80},
        {PieceKind::Metatile, ground, 48, 80},
        {PieceKind::Metatile, ground, 64, 80},
        {PieceKind::Metatile, ground, 80, 80},
        {PieceKind::Metatile, ground, 96, 80},
        {PieceKind::Metatile, ground, 112, 80},
        {PieceKind::Metatile, ground, 128, 80},
        {PieceKind::SmallPlayer, "", 16, 64, 0x00},
        {PieceKind::Frame, "Spd6871", 40, 56, 0x03},
        {PieceKind::Frame, "Spd686B", 64, 56, 0x01},
        {PieceKind::Frame, "Spd686C", 88, 56, 0x02},
    }};
}

// Each area type has its own ground, bricks and coin (bricks are coral under water).
constexpr auto kGroundScene = areaScene("ground_block", "brick", "coin");
constexpr auto kUndergroundScene = areaScene("brick_plain", "brick_plain", "coin");
constexpr auto kWaterScene = areaScene("water_block", "seaweed", "coin_underwater");
constexpr auto kCastleScene = areaScene("castle_level_block", "brick_plain", "coin");

// Mario, Luigi and fiery Mario each in a sprite palette of their own, and Bowser.
constexpr ScenePiece kCharactersScene[] = {
    {PieceKind::Metatile, "ground_block", 0, 80},   {PieceKind::Metatile, "ground_block", 16, 80},
    {PieceKind::Metatile, "ground_block", 32, 80},  {PieceKind::Metatile, "ground_block", 48, 80},
    {PieceKind::Metatile, "ground_block", 64, 80},  {PieceKind::Metatile, "ground_block", 80, 80},
    {PieceKind::Metatile, "ground_block", 96, 80},  {PieceKind::Metatile, "ground_block", 112, 80},
    {PieceKind::Metatile, "ground_block", 128, 80}, {PieceKind::SmallPlayer, "", 8, 64, 0x00},
    {PieceKind::SmallPlayer, "", 32, 64, 0x01},     {PieceKind::BigPlayer, "", 56, 48, 0x02},
    {PieceKind::Composite, "bowser", 96, 48, 0x03},
};

// Background colour; background palettes 0-2; colours 2-3 of background palette 3;
// sprite palettes 0-3 (palette 0 is Mario's, from the Characters page).
constexpr Scene kScenes[] = {
    {0,
     kSceneWidth,
     kSceneHeight,
     {0x05E0, {0x0CDC, 0x0CE0, 0x0CE4}, 0x09E7, {0x05E8, 0x0CF0, 0x0CF4, 0x0CF8}},
     kGroundScene},
    {1,
     kSceneWidth,
     kSceneHeight,
     {0x05E1, {0x0D00, 0x0D04, 0x0D08}, 0x09EB, {0x05E8, 0x0D14, 0x0D18, 0x0D1C}},
     kUndergroundScene},
    {2,
     kSceneWidth,
     kSceneHeight,
     {0x05DF, {0x0CB8, 0x0CBC, 0x0CC0}, 0x09E3, {0x05E8, 0x0CCC, 0x0CD0, 0x0CD4}},
     kWaterScene},
    {3,
     kSceneWidth,
     kSceneHeight,
     {0x05E2, {0x0D24, 0x0D28, 0x0D2C}, 0x09EF, {0x05E8, 0x0D38, 0x0D3C, 0x0D40}},
     kCastleScene},
    {6,
     kSceneWidth,
     kSceneHeight,
     {0x05E0, {0x0CDC, 0x0CE0, 0x0CE4}, 0x09E7, {0x05E8, 0x05EC, 0x05F0, 0x0D60}},
     kCharactersScene},
};

} // namespace

std::span<const SpriteFrame> spriteFrames() {
    return kFrames;
}

const SpriteFrame* findSpriteFrame(int offset) {
    for (const SpriteFrame& f : kFrames)
        if (f.offset == offset) return &f;
    return nullptr;
}

std::span<const Composite> composites() {
    return kComposites;
}

const CellGrid& smallPlayer() {
    return kSmall;
}

const CellGrid& bigPlayer() {
    return kBig;
}

std::span<const Metatile> metatiles() {
    return kMetatiles;
}

const Metatile* findMetatile(std::string_view name) {
    for (const Metatile& m : kMetatiles)
        if (m.name == name) return &m;
    return nullptr;
}

const MetatileGroup* findMetatileGroup(std::string_view name) {
    for (const MetatileGroup& g : kGroups)
        if (g.name == name) return &g;
    return nullptr;
}

std::span<const Scene> paletteScenes() {
    return kScenes;
}

const Scene* findScene(int page) {
    for (const Scene& s : kScenes)
        if (s.page == page) return &s;
    return nullptr;
}

} // namespace qv::chr
