// qorv ips apply / create / show, run as a program on files in a temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "cli/qorvrun.h"
#include "support/hexbytes.h"

using namespace qvtest;

namespace {

Bytes slice(const Bytes& b, std::size_t offset, std::size_t n) {
    return Bytes(b.begin() + offset, b.begin() + offset + n);
}

} // namespace

TEST(QorvIps, CreateThenApplyReproducesTheEdit) {
    TempDir dir;
    const std::string base = dir.file("base.nes"), edited = dir.file("edited.nes"),
                      patch = dir.file("p.ips"), out = dir.file("out.nes");
    Bytes image(40976, 0);
    image[0x107A] = 0x02;
    writeBytes(base, image);
    image[0x107A] = 0x08;
    writeBytes(edited, image);

    Outcome r = qorv(dir, {"ips", "create", base, edited, "-o", patch});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readBytes(patch), hex("50 41 54 43 48 00 10 7A 00 01 08 45 4F 46"));

    r = qorv(dir, {"ips", "apply", patch, base, "-o", out});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(readBytes(out), image);
    Bytes original(40976, 0);
    original[0x107A] = 0x02;
    EXPECT_EQ(readBytes(base), original);

    // -o naming BASE replaces it, leaving no temporary file behind.
    ASSERT_EQ(qorv(dir, {"ips", "apply", patch, base, "--output", base}).status, 0);
    EXPECT_EQ(readBytes(base), image);
    EXPECT_EQ(dir.entries(), 4u);

    // Identical files: a patch without records, a note, and success.
    r = qorv(dir, {"ips", "create", base, edited, "-o", dir.file("same.ips")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "qorv: note: the files are identical; the patch has no records\n");
    EXPECT_EQ(readBytes(dir.file("same.ips")), hex("PATCH EOF"));

    // Sizes that differ, or a .nes base that is no game image, are refused.
    writeBytes(dir.file("trainer.nes"), Bytes(41488, 0));
    r = qorv(dir, {"ips", "create", base, dir.file("trainer.nes"), "-o", dir.file("no.ips")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "qorv: The NES file used to create the IPS is invalid. Patch creation aborted.\n");
    writeBytes(dir.file("short.nes"), Bytes(20, 0));
    writeBytes(dir.file("short.bin"), Bytes(20, 0));
    EXPECT_EQ(qorv(dir, {"ips", "create", dir.file("short.nes"), dir.file("short.bin"), "-o",
                         dir.file("no.ips")})
                  .status,
              2);
    EXPECT_FALSE(fs::exists(dir.file("no.ips")));

    // Other files of any equal size are compared byte for byte.
    Bytes data(20, 0);
    data[5] = 0x77;
    std::fill(data.begin() + 10, data.begin() + 15, 0xEA);
    writeBytes(dir.file("edited.bin"), data);
    ASSERT_EQ(qorv(dir, {"ips", "create", dir.file("short.bin"), dir.file("edited.bin"), "-o",
                         dir.file("bin.ips")})
                  .status,
              0);
    EXPECT_EQ(readBytes(dir.file("bin.ips")),
              hex("PATCH 00 00 05 00 01 77  00 00 0A 00 00 00 05 EA EOF"));

    // The patch never replaces one of its inputs.
    r = qorv(dir, {"ips", "create", base, edited, "-o", edited});
    EXPECT_EQ(r.status, 64);
    EXPECT_EQ(readBytes(edited), image);
}

TEST(QorvIps, RefusedPatchWritesNothing) {
    TempDir dir;
    const std::string base = dir.file("base.nes"), out = dir.file("out.nes");
    Bytes image(40976, 0);
    image[0x107A] = 0x02;
    writeBytes(base, image);
    const auto apply = [&](std::string_view patchBytes, const std::string& target) {
        writeBytes(dir.file("p.ips"), hex(patchBytes));
        return qorv(dir, {"ips", "apply", dir.file("p.ips"), base, "-o", target});
    };

    // Cut off inside the record's length.
    Outcome r = apply("PATCH 00 10 7A 00", out);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "qorv: Invalid data in IPS file.\n");
    EXPECT_FALSE(fs::exists(out));
    // An existing OUT keeps its bytes.
    writeBytes(out, Bytes{0xAB, 0xCD});
    EXPECT_EQ(apply("PATCH 00 10 7A 00 01 08  00 20 00 00 05 AA", out).status, 2);
    EXPECT_EQ(readBytes(out), (Bytes{0xAB, 0xCD}));

    r = apply("PATCH 00 10 7A 00 01 08", out);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "qorv: EOF cannot be found.\n");
    // A good first record is not written when a later one reaches past the image.
    r = apply("PATCH 00 00 20 00 01 11  00 A0 10 00 01 01 EOF", base);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "qorv: Addresses beyond 40,976 bytes are written by the IPS file.\n");
    EXPECT_EQ(readBytes(base), image);

    // File problems name the file.
    r = apply("PATCH 45 4F", out);
    EXPECT_EQ(r.err, "qorv: " + dir.file("p.ips") +
                         ": The file cannot be opened. The filesize is invalid.\n");
    r = qorv(dir, {"ips", "apply", dir.file("none.ips"), base, "-o", out});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "qorv: " + dir.file("none.ips") + ": The file does not exist.\n");
    writeBytes(dir.file("p.ips"), hex("PATCH EOF"));
    r = qorv(dir, {"ips", "apply", dir.file("p.ips"), dir.file("none.nes"), "-o", out});
    EXPECT_EQ(r.err, "qorv: " + dir.file("none.nes") + ": The file does not exist.\n");

    // The extension decides, in any case, that BASE is held to the game-image sizes.
    writeBytes(dir.file("odd.NeS"), Bytes(20, 0));
    r = qorv(dir, {"ips", "apply", dir.file("p.ips"), dir.file("odd.NeS"), "-o", out});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "qorv: The file to be patched is not a 40,976 or 41,488 byte NES file.\n");

    EXPECT_EQ(readBytes(out), (Bytes{0xAB, 0xCD}));
    EXPECT_EQ(dir.entries(), 4u);
}

TEST(QorvIps, LayoutModesOnGameImages) {
    TempDir dir;
    const std::string base = dir.file("base.nes"), patch = dir.file("p.ips"),
                      out = dir.file("out.nes");
    Bytes image(40976, 0);
    image[3] = 0x1A;
    image[16] = 0x4E;
    image[0x107A] = 0x02;
    image[40975] = 0x77;
    writeBytes(base, image);
    writeBytes(patch, hex("PATCH 00 10 7A 00 01 08 EOF"));

    // Mode 4: a zero trainer goes in after the header and the image moves up 512;
    // the patch is taken as made for that layout, so its record stays at 0x107A.
    ASSERT_EQ(qorv(dir, {"ips", "apply", patch, base, "-o", out, "--mode", "4"}).status, 0);
    Bytes got = readBytes(out);
    ASSERT_EQ(got.size(), 41488u);
    EXPECT_EQ(got[3], 0x1A);
    EXPECT_EQ(slice(got, 16, 512), Bytes(512, 0));
    EXPECT_EQ(got[528], 0x4E);
    EXPECT_EQ(got[0x107A], 0x08);
    EXPECT_EQ(got[0x127A], 0x02);
    EXPECT_EQ(got[41487], 0x77);

    // Mode 3: 512 zero bytes at the end, nothing moves.
    ASSERT_EQ(qorv(dir, {"ips", "apply", patch, base, "-o", out, "--mode", "3"}).status, 0);
    got = readBytes(out);
    ASSERT_EQ(got.size(), 41488u);
    EXPECT_EQ(got[16], 0x4E);
    EXPECT_EQ(got[0x107A], 0x08);
    EXPECT_EQ(got[40975], 0x77);
    EXPECT_EQ(slice(got, 40976, 512), Bytes(512, 0));

    // Mode 1: a trainer-layout patch on the plain image moves down 512.
    writeBytes(patch, hex("PATCH 00 02 58 00 01 5A EOF"));
    ASSERT_EQ(qorv(dir, {"ips", "apply", patch, base, "-o", out, "--mode", "1"}).status, 0);
    got = readBytes(out);
    ASSERT_EQ(got.size(), 40976u);
    EXPECT_EQ(got[88], 0x5A);
    EXPECT_EQ(got[600], 0x00);
    writeBytes(patch, hex("PATCH 00 00 14 00 01 01 EOF"));
    Outcome r = qorv(dir, {"ips", "apply", patch, base, "-o", out, "--mode", "1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "qorv: Unable to patch the trainer area using the selected correction "
                     "feature. The patch cannot be applied with current settings.\n");

    // Mode 2: a plain-layout patch on the trainer image moves up 512.
    const std::string trainer = dir.file("t.nes");
    writeBytes(trainer, Bytes(41488, 0));
    writeBytes(patch, hex("PATCH 00 00 10 00 01 4E EOF"));
    ASSERT_EQ(qorv(dir, {"ips", "apply", patch, trainer, "-o", out, "--mode", "2"}).status, 0);
    got = readBytes(out);
    ASSERT_EQ(got.size(), 41488u);
    EXPECT_EQ(got[528], 0x4E);
    EXPECT_EQ(got[16], 0x00);

    // Only the modes that fit the image's layout.
    const Bytes before = readBytes(out);
    r = qorv(dir, {"ips", "apply", patch, base, "-o", out, "--mode", "2"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "qorv: --mode 2 does not fit a 40,976-byte image (use 0, 1, 3 or 4)\n");
    r = qorv(dir, {"ips", "apply", patch, trainer, "-o", out, "--mode", "4"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "qorv: --mode 4 does not fit a 41,488-byte image (use 0 or 2)\n");
    EXPECT_EQ(qorv(dir, {"ips", "apply", patch, base, "-o", out, "--mode", "5"}).status, 64);
    EXPECT_EQ(qorv(dir, {"ips", "apply", patch, base, "-o", out, "--mode", "x"}).status, 64);
    EXPECT_EQ(readBytes(out), before);
}

TEST(QorvIps, OtherFilesArePlainBytes) {
    TempDir dir;
    const std::string base = dir.file("data.bin"), patch = dir.file("grow.txt"),
                      out = dir.file("out.bin");
    writeBytes(base, Bytes(20, 0x11));
    // The patch's name does not matter; a record at offset 30 grows the file.
    writeBytes(patch, hex("PATCH 00 00 1E 00 02 AB CD EOF"));
    Outcome r = qorv(dir, {"ips", "apply", patch, base, "-o", out});
    ASSERT_EQ(r.status, 0) << r.err;
    Bytes want(20, 0x11);
    want.resize(30, 0x00);
    want.insert(want.end(), {0xAB, 0xCD});
    EXPECT_EQ(readBytes(out), want);

    // Layout modes are for game images only, judged before any file is read.
    r = qorv(dir,
             {"ips", "apply", dir.file("none.ips"), base, "-o", dir.file("m.bin"), "--mode", "1"});
    EXPECT_EQ(r.status, 64);
    EXPECT_EQ(r.err, "qorv: --mode 1 needs a .nes game image; other files take mode 0 only\n");
    EXPECT_FALSE(fs::exists(dir.file("m.bin")));
    EXPECT_EQ(readBytes(base), Bytes(20, 0x11));
}

TEST(QorvIps, ShowListsRecordsThenTheFault) {
    TempDir dir;
    const std::string patch = dir.file("p.ips");
    writeBytes(patch, hex("PATCH 00 34 57 00 00 00 03 EA  00 10 7A 00 01 08 EOF"));
    Outcome r = qorv(dir, {"ips", "show", patch});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "0x003457  run 3  EA\n0x00107A  data 1  08\n");
    EXPECT_EQ(r.err, "");

    writeBytes(patch, hex("PATCH 00 10 7A 00 01 08  00 20 00 00 05 AA"));
    r = qorv(dir, {"ips", "show", patch});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "0x00107A  data 1  08\n");
    EXPECT_EQ(r.err, "qorv: at byte 11: Invalid data in IPS file.\n");

    writeBytes(patch, hex("PATCH EOF"));
    r = qorv(dir, {"ips", "show", patch});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");

    // The command line: a subcommand and its arguments are required.
    EXPECT_EQ(qorv(dir, {"ips"}).status, 64);
    EXPECT_EQ(qorv(dir, {"ips", "merge", patch}).status, 64);
    EXPECT_EQ(qorv(dir, {"ips", "apply", patch, patch}).status, 64);
    EXPECT_EQ(qorv(dir, {"ips", "create", patch, patch}).status, 64);
    const Outcome help = qorv(dir, {"ips", "create", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Identical files are not an"), std::string::npos) << help.out;
}
