// Writes the tests' cartridge to a file, for trying the Play window and qorv play by
// hand and for the README's picture:  qv_testcart FILE.nes [ROMBYTE [PALETTE]]
#include <cstdio>
#include <cstdlib>

#include "play/testcart.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: qv_testcart FILE.nes [ROMBYTE [PALETTE]]\n");
        return 1;
    }
    const auto byte = [&](int i, int def) {
        return static_cast<std::uint8_t>(argc > i ? std::strtol(argv[i], nullptr, 0) : def);
    };
    const auto image = qvtest::testCartridge(byte(2, 0x18), byte(3, 0x16));
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(image.data(), 1, image.size(), f) != image.size() || std::fclose(f)) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
