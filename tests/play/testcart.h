#pragma once
// The tests' own cartridge: a few dozen bytes of 6502 code in a 40,976-byte NROM
// image (two 16 KiB program banks, one 8 KiB character bank, all else zero). Every
// frame its NMI handler
//   counts the frame in RAM $00,
//   copies controller 1 to RAM $01 and $9F (A $80, B $40, Select $20, Start $10,
//     Up $08, Down $04, Left $02, Right $01),
//   copies the program ROM byte at CPU $B444 (file offset 0x3454, where the game keeps
//     Mario's walking speed) to RAM $02 and $57 (where the game keeps his speed),
//   and sets the backdrop colour ($3F00) to the ROM byte at CPU $8101 (file offset
//     0x111), the colour of every pixel, as the picture shows only the backdrop.
// After start-up it plays a steady tone of about 440 Hz on the first pulse channel.
// So the editor's walking-speed parameter (24 by default) shows as the speed watch.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

namespace qvtest {

inline constexpr int kCartRomByte = 0x3454; // copied to RAM $02 and $57
inline constexpr int kCartPalette = 0x111;  // the backdrop colour

inline std::vector<std::uint8_t> testCartridge(std::uint8_t romByte = 0x18,
                                               std::uint8_t palette = 0x16) {
    std::vector<std::uint8_t> image(40976, 0);
    const std::uint8_t header[] = {0x4E, 0x45, 0x53, 0x1A, 0x02, 0x01};
    std::copy(std::begin(header), std::end(header), image.begin());
    const std::uint8_t reset[] = {
        0x78,             // 8000 SEI
        0xD8,             // 8001 CLD
        0xA2, 0xFF,       // 8002 LDX #$FF
        0x9A,             // 8004 TXS
        0x2C, 0x02, 0x20, // 8005 BIT $2002
        0x2C, 0x02, 0x20, // 8008 BIT $2002   wait for two vertical blanks
        0x10, 0xFB,       // 800B BPL $8008
        0x2C, 0x02, 0x20, // 800D BIT $2002
        0x10, 0xFB,       // 8010 BPL $800D
        0xA9, 0x80,       // 8012 LDA #$80
        0x8D, 0x00, 0x20, // 8014 STA $2000   NMI on
        0xA9, 0x0A,       // 8017 LDA #$0A
        0x8D, 0x01, 0x20, // 8019 STA $2001   background shown
        0x4C, 0x70, 0x80, // 801C JMP $8070
    };
    const std::uint8_t tone[] = {
        0xA9, 0x01,       // 8070 LDA #$01
        0x8D, 0x15, 0x40, // 8072 STA $4015   pulse 1 on
        0xA9, 0xBF,       // 8075 LDA #$BF
        0x8D, 0x00, 0x40, // 8077 STA $4000   half duty, constant volume 15
        0xA9, 0xFD,       // 807A LDA #$FD
        0x8D, 0x02, 0x40, // 807C STA $4002   period $0FD: about 440 Hz
        0xA9, 0x08,       // 807F LDA #$08
        0x8D, 0x03, 0x40, // 8081 STA $4003
        0x4C, 0x84, 0x80, // 8084 JMP $8084
    };
    const std::uint8_t nmi[] = {
        0xE6, 0x00,       // 8020 INC $00
        0xA9, 0x01,       // 8022 LDA #$01
        0x8D, 0x16, 0x40, // 8024 STA $4016   strobe the controller
        0xA9, 0x00,       // 8027 LDA #$00
        0x8D, 0x16, 0x40, // 8029 STA $4016
        0xA2, 0x08,       // 802C LDX #$08
        0xAD, 0x16, 0x40, // 802E LDA $4016
        0x4A,             // 8031 LSR A
        0x26, 0x01,       // 8032 ROL $01
        0xCA,             // 8034 DEX
        0xD0, 0xF7,       // 8035 BNE $802E
        0xA5, 0x01,       // 8037 LDA $01
        0x85, 0x9F,       // 8039 STA $9F
        0xAD, 0x44, 0xB4, // 803B LDA $B444
        0x85, 0x02,       // 803E STA $02
        0x85, 0x57,       // 8040 STA $57
        0xAD, 0x02, 0x20, // 8042 LDA $2002
        0xA9, 0x3F,       // 8045 LDA #$3F
        0x8D, 0x06, 0x20, // 8047 STA $2006
        0xA9, 0x00,       // 804A LDA #$00
        0x8D, 0x06, 0x20, // 804C STA $2006
        0xAD, 0x01, 0x81, // 804F LDA $8101
        0x8D, 0x07, 0x20, // 8052 STA $2007   backdrop colour
        0xA9, 0x00,       // 8055 LDA #$00
        0x8D, 0x06, 0x20, // 8057 STA $2006
        0x8D, 0x06, 0x20, // 805A STA $2006
        0x8D, 0x05, 0x20, // 805D STA $2005
        0x8D, 0x05, 0x20, // 8060 STA $2005
        0x40,             // 8063 RTI
    };
    std::copy(std::begin(reset), std::end(reset), image.begin() + 0x10);
    std::copy(std::begin(nmi), std::end(nmi), image.begin() + 0x30);
    std::copy(std::begin(tone), std::end(tone), image.begin() + 0x80);
    image[kCartRomByte] = romByte;
    image[kCartPalette] = palette;
    // Vectors at CPU $FFFA: NMI $8020, reset $8000, IRQ $8063 (an RTI).
    const std::uint8_t vectors[] = {0x20, 0x80, 0x00, 0x80, 0x63, 0x80};
    std::copy(std::begin(vectors), std::end(vectors), image.begin() + 0x800A);
    return image;
}

} // namespace qvtest
