#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string_view>

#include "core/ips/ips.h"
#include "core/ips/ipsfile.h"
#include "support/hexbytes.h"
#include "support/testfiles.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace qv::ips;
using qvtest::hex;

Bytes image(std::size_t size) {
    return Bytes(size, 0);
}
// Writes the hex bytes into the image at `offset`.
void put(Bytes& img, std::size_t offset, std::string_view bytes) {
    const Bytes b = hex(bytes);
    std::copy(b.begin(), b.end(), img.begin() + static_cast<std::ptrdiff_t>(offset));
}
Bytes at(const Bytes& img, std::size_t offset, std::size_t n) {
    return Bytes(img.begin() + offset, img.begin() + offset + n);
}

bool applied(std::string_view patch, Bytes& img, Mode mode = Mode::None, bool game = true) {
    return applyPatch(hex(patch), img, {mode, game}).ok();
}
// Applies and expects a refusal that leaves the image untouched.
Status refused(std::string_view patch, Bytes& img, Mode mode = Mode::None, bool game = true) {
    const Bytes before = img;
    const Status s = applyPatch(hex(patch), img, {mode, game});
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(img, before);
    return s;
}
// The patch for `base` with the given bytes written at `offset`.
Bytes createdWith(const Bytes& base, std::size_t offset, std::string_view bytes) {
    Bytes edited = base;
    const Bytes b = hex(bytes);
    std::copy(b.begin(), b.end(), edited.begin() + offset);
    return create(base, edited).patch;
}

// The smallest size of records that turn `base` into `edited` over [from, to), found by
// trying every patch: at each byte, leaving it alone when it is unchanged, or starting
// a data record of every length there, or a run record over bytes of one value; none
// starts at 0x454F46. The best from a byte on does not depend on the records before
// it, so it is worked out once for each byte, from the last.
std::size_t smallestByTrying(const Bytes& base, const Bytes& edited, std::size_t from,
                             std::size_t to) {
    constexpr std::size_t kNone = ~std::size_t{0};
    std::vector<std::size_t> best(to - from + 1, kNone);
    best[to - from] = 0;
    for (std::size_t i = to; i-- > from;) {
        std::size_t& here = best[i - from];
        if (base[i] == edited[i]) here = best[i + 1 - from];
        if (i == kEndMarkerOffset) continue;
        bool oneValue = true;
        for (std::size_t end = i + 1; end <= to; ++end) {
            oneValue = oneValue && edited[end - 1] == edited[i];
            const std::size_t rest = best[end - from];
            if (rest == kNone) continue;
            here = std::min(here, 5 + (end - i) + rest);
            if (oneValue) here = std::min(here, 8 + rest);
        }
    }
    return best[0];
}

// A created patch holds records in rising order that do not overlap, none at
// 0x454F46 and none longer than the format allows, and turns `base` into `edited`.
void expectExact(const Bytes& base, const Bytes& edited, const Bytes& patch) {
    const Parsed p = parse(patch);
    ASSERT_TRUE(p.status.ok());
    EXPECT_EQ(p.end, patch.size());
    std::size_t from = 0;
    for (const Record& r : p.records) {
        EXPECT_GE(r.offset, from);
        EXPECT_NE(r.offset, kEndMarkerOffset);
        EXPECT_TRUE(r.length >= 1 && r.length <= 65535);
        from = r.offset + r.length;
    }
    Bytes out = base;
    ASSERT_TRUE(applyPatch(patch, out, {Mode::None, false}).ok());
    EXPECT_EQ(out, edited);
}

TEST(IpsApply, FileSizeHeaderAndEndMarker) {
    Bytes img = image(40976);
    img[0x0100] = 0x4C;
    const Bytes base = img;

    Status s = refused("PATCH 45 4F", img); // 7 bytes
    EXPECT_EQ(s.result, Result::BadFileSize);
    EXPECT_EQ(message(s), "The file cannot be opened.\r\nThe filesize is invalid.");
    EXPECT_EQ(exitCode(s), 2);

    EXPECT_TRUE(applied("PATCH EOF", img)); // 8 bytes: nothing to do
    EXPECT_EQ(img, base);
    EXPECT_TRUE(applied("PATCH EOF 00 10 00 00 01 AA", img)); // the tail is ignored
    EXPECT_EQ(img, base);

    EXPECT_EQ(message(refused("50 41 54 43 58 EOF", img)), "Invalid data in IPS file.");
    s = refused("PATCH 00 00 10 00 01 AA", img);
    EXPECT_EQ(message(s), "EOF cannot be found.");
    EXPECT_EQ(exitCode(s), 2);
    EXPECT_EQ(refused("PATCH 00 00 10 00 01 AA 45 4F", img).result, Result::NoEndMarker);
}

TEST(IpsApply, TruncatedRecordsRefuseTheWholePatch) {
    Bytes img = image(40976);
    // A good first record is not written when a later one is cut off.
    EXPECT_EQ(refused("PATCH 00 00 20 00 01 11  00 10 00 00 08 AA BB EOF", img).result,
              Result::InvalidData);
    EXPECT_EQ(refused("PATCH 00 00 20 00 01 11  00 10 00 00", img).result, Result::InvalidData);
    EXPECT_EQ(refused("PATCH 00 10 00 00 00 00 05", img).result, Result::InvalidData);
    EXPECT_EQ(refused("PATCH 00 10 00 01 00 01 02 03", img).result, Result::InvalidData);
    // The data swallows the marker, so none follows the record.
    EXPECT_EQ(refused("PATCH 00 10 00 00 03 EOF", img).result, Result::NoEndMarker);
    // The offset is judged before the missing length.
    EXPECT_EQ(refused("PATCH 00 A0 10 00", img).result, Result::AddressesBeyond);
}

TEST(IpsApply, EveryCutOfAPatchIsRefused) {
    const Bytes patch =
        hex("PATCH 00 00 20 00 01 11  00 00 30 00 02 22 33  00 00 40 00 00 00 03 44 EOF");
    Bytes img = image(40976);
    for (std::size_t n = 0; n < patch.size(); ++n) {
        const Bytes cut(patch.begin(), patch.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_FALSE(applyPatch(cut, img).ok()) << n << " bytes";
        EXPECT_EQ(img, image(40976)) << n << " bytes";
    }
    ASSERT_TRUE(applyPatch(patch, img).ok());
    EXPECT_EQ(at(img, 0x20, 1), hex("11"));
    EXPECT_EQ(at(img, 0x30, 2), hex("22 33"));
    EXPECT_EQ(at(img, 0x40, 4), hex("44 44 44 00"));

    img = image(40976);
    EXPECT_EQ(refused("PATCH 00 00 20 00 01", img).result, Result::InvalidData);
    // After a record, a last "EOF" with a byte behind it ends the patch; other three
    // bytes are read as an offset.
    ASSERT_TRUE(applied("PATCH 00 00 20 00 01 11 EOF 00", img));
    EXPECT_EQ(img[0x20], 0x11);
    EXPECT_EQ(refused("PATCH 00 00 21 00 01 11 45 4F 47 00", img).result, Result::AddressesBeyond);
    Bytes buf(100, 0);
    EXPECT_EQ(refused("PATCH 00 00 21 00 01 11 45 4F 47 00", buf, Mode::None, false).result,
              Result::InvalidData);
    // An empty run past the end of a game image is refused as well.
    EXPECT_EQ(refused("PATCH 00 A0 10 00 00 00 00 55 EOF", img).result, Result::AddressesBeyond);
}

TEST(IpsApply, RecordsWriteAtTheirOffsets) {
    Bytes img = image(40976);
    ASSERT_TRUE(applied("PATCH 00 34 57 00 00 00 03 EA EOF", img));
    EXPECT_EQ(at(img, 0x3456, 5), hex("00 EA EA EA 00"));
    // Later records overwrite earlier ones; an empty run writes nothing.
    ASSERT_TRUE(
        applied("PATCH 00 10 7A 00 02 01 02  00 10 7B 00 01 09  00 20 00 00 00 00 00 77 EOF", img));
    EXPECT_EQ(at(img, 0x107A, 2), hex("01 09"));
    EXPECT_EQ(img[0x2000], 0x00);
}

TEST(IpsApply, AddressCorrection) {
    // Mode 1: a patch for the trainer layout on a 40,976-byte image. The header
    // (below 16) is never moved.
    Bytes img = image(40976);
    ASSERT_TRUE(applied("PATCH 00 02 58 00 01 5A  00 00 0A 00 01 0B  00 02 10 00 01 6C EOF", img,
                        Mode::TrainerInput));
    EXPECT_EQ(img[88], 0x5A);
    EXPECT_EQ(img[600], 0x00);
    EXPECT_EQ(img[10], 0x0B);
    EXPECT_EQ(img[16], 0x6C);
    for (const char* trainer : {"PATCH 00 00 14 00 01 01 EOF", "PATCH 00 02 0F 00 01 01 EOF"}) {
        EXPECT_EQ(message(refused(trainer, img, Mode::TrainerInput)),
                  "Unable to patch the trainer area using the selected correction feature.\r\n"
                  "The patch cannot be applied with current settings.");
    }

    // Mode 2: a patch for the plain layout on a 41,488-byte image.
    img = image(41488);
    ASSERT_TRUE(applied("PATCH 00 00 0A 00 01 0B  00 00 10 00 01 4E EOF", img, Mode::PlainInput));
    EXPECT_EQ(img[10], 0x0B);
    EXPECT_EQ(img[16], 0x00);
    EXPECT_EQ(img[528], 0x4E);
    EXPECT_EQ(message(refused("PATCH 00 A0 10 00 01 01 EOF", img, Mode::PlainInput)),
              "Addresses beyond 41,488 bytes are written by the IPS file.");
}

TEST(IpsApply, Expansion) {
    Bytes img = image(40976);
    img[3] = 0x1A;
    img[16] = 0x4E;
    img[40975] = 0x77;
    const Bytes base = img;

    ASSERT_TRUE(applied("PATCH EOF", img, Mode::ExpandWithTrainer));
    ASSERT_EQ(img.size(), 41488u);
    EXPECT_EQ(img[3], 0x1A);
    EXPECT_EQ(at(img, 16, 512), image(512));
    EXPECT_EQ(img[528], 0x4E);
    EXPECT_EQ(img[41487], 0x77);

    img = base;
    ASSERT_TRUE(applied("PATCH 00 A0 28 00 01 33 EOF", img, Mode::Extend));
    ASSERT_EQ(img.size(), 41488u);
    EXPECT_EQ(img[16], 0x4E);
    EXPECT_EQ(img[40975], 0x77);
    EXPECT_EQ(img[41000], 0x33);
    EXPECT_EQ(img[41487], 0x00);

    // A refused expansion leaves the image at its old size.
    img = base;
    EXPECT_EQ(message(refused("PATCH 00 A2 10 00 01 33 EOF", img, Mode::Extend)),
              "Addresses beyond 41,488 bytes are written by the IPS file.");
    // Only a 40,976-byte image grows.
    img = image(41488);
    ASSERT_TRUE(applied("PATCH EOF", img, Mode::ExpandWithTrainer));
    EXPECT_EQ(img.size(), 41488u);
}

TEST(IpsApply, WritesPastTheImageAreRefusedNotClipped) {
    Bytes img = image(40976);
    EXPECT_EQ(message(refused("PATCH 00 A0 10 00 01 01 EOF", img)),
              "Addresses beyond 40,976 bytes are written by the IPS file.");
    EXPECT_EQ(refused("PATCH 00 A0 0F 00 02 01 02 EOF", img).result, Result::AddressesBeyond);
    EXPECT_EQ(refused("PATCH 00 A0 0A 00 00 00 07 55 EOF", img).result, Result::AddressesBeyond);
    EXPECT_EQ(refused("PATCH FF FF FF FF FF 01 EOF", img).result, Result::AddressesBeyond);
    ASSERT_TRUE(applied("PATCH 00 A0 0A 00 00 00 06 55 EOF", img));
    EXPECT_EQ(img[40975], 0x55);
}

TEST(IpsApply, AnyBufferGrowsAndRefusesLayoutModes) {
    Bytes buf(100, 0x11);
    ASSERT_TRUE(
        applied("PATCH 00 00 70 00 02 AB CD  FF FF FF 00 00 00 00 99 EOF", buf, Mode::None, false));
    ASSERT_EQ(buf.size(), 0x72u);
    EXPECT_EQ(at(buf, 99, 3), hex("11 00 00"));
    EXPECT_EQ(at(buf, 0x70, 2), hex("AB CD"));
    ASSERT_TRUE(
        applied("PATCH 00 00 80 00 01 EF  00 00 10 00 00 00 02 77 EOF", buf, Mode::None, false));
    ASSERT_EQ(buf.size(), 0x81u);
    EXPECT_EQ(at(buf, 0x7F, 2), hex("00 EF"));
    EXPECT_EQ(at(buf, 0x10, 3), hex("77 77 11"));

    Bytes odd(100, 0);
    EXPECT_EQ(refused("PATCH EOF", odd).result, Result::NotGameImage);
    Bytes img = image(40976);
    EXPECT_EQ(refused("PATCH EOF", img, Mode::TrainerInput, false).result, Result::NotGameImage);

    // Growth stops at 16 MiB, the most a patch can address: a run of 0xFFFF bytes at
    // 0xFFFFFF would end at 16,842,750 bytes and is refused; one byte there ends at
    // exactly 16,777,216 and is applied.
    Bytes small(100, 0x11);
    EXPECT_EQ(refused("PATCH FF FF FF 00 00 FF FF 01 EOF", small, Mode::None, false).result,
              Result::TooLarge);
    EXPECT_EQ(small, Bytes(100, 0x11));
    ASSERT_TRUE(applied("PATCH FF FF FF 00 00 00 01 01 EOF", small, Mode::None, false));
    EXPECT_EQ(small.size(), 16777216u);
}

TEST(IpsCreate, TheSmallestRecordsForEachChange) {
    Bytes base = image(40976);
    base[0x107A] = 0x02;
    EXPECT_EQ(createdWith(base, 0x107A, "08"), hex("50 41 54 43 48 00 10 7A 00 01 08 45 4F 46"));
    EXPECT_EQ(createdWith(base, 0x593C, "A6 08 60"), hex("PATCH 00 59 3C 00 03 A6 08 60 EOF"));
    EXPECT_EQ(createdWith(base, 0x2000, "EA EA EA EA EA"),
              hex("PATCH 00 20 00 00 00 00 05 EA EOF"));
    EXPECT_EQ(createdWith(base, 0x2000, "EA EA EA EA"), hex("PATCH 00 20 00 00 00 00 04 EA EOF"));
    EXPECT_EQ(createdWith(base, 0x2000, "EA EA EA"), hex("PATCH 00 20 00 00 03 EA EA EA EOF"));
    // A run is never split into run and data parts.
    EXPECT_EQ(createdWith(base, 0x2000, "EA EA EA EA EB"),
              hex("PATCH 00 20 00 00 05 EA EA EA EA EB EOF"));
    // Up to four unchanged bytes between two changes cost less written again than a
    // second record head; five cost the same, and the changes stay apart.
    EXPECT_EQ(createdWith(base, 0x3000, "11 00 22"), hex("PATCH 00 30 00 00 03 11 00 22 EOF"));
    EXPECT_EQ(createdWith(base, 0x3000, "11 00 00 00 00 22"),
              hex("PATCH 00 30 00 00 06 11 00 00 00 00 22 EOF"));
    EXPECT_EQ(createdWith(base, 0x3000, "11 00 00 00 00 00 22"),
              hex("PATCH 00 30 00 00 01 11  00 30 06 00 01 22 EOF"));
    // A run goes on over an unchanged byte of its value: two changed pairs, one record.
    base[0x4002] = 0xEA;
    EXPECT_EQ(createdWith(base, 0x4000, "EA EA EA EA EA"),
              hex("PATCH 00 40 00 00 00 00 05 EA EOF"));
    // A run of 4 inside other changes: one data record (5 + 7) beats data, run, data
    // (6 + 8 + 7); a run of 16 does not (5 + 19 against 7 + 8 + 6).
    EXPECT_EQ(createdWith(base, 0x5000, "01 EA EA EA EA 02 03"),
              hex("PATCH 00 50 00 00 07 01 EA EA EA EA 02 03 EOF"));
    EXPECT_EQ(createdWith(base, 0x5000, "01 02 EA EA EA EA EA EA EA EA EA EA EA EA EA EA EA EA 03"),
              hex("PATCH 00 50 00 00 02 01 02  00 50 02 00 00 00 10 EA  00 50 12 00 01 03 EOF"));
}

TEST(IpsCreate, ChangesAtWordEdgesAndAfterLongEqualStretches) {
    // 100 bytes: changes on both sides of 8- and 32-byte boundaries and in the
    // last byte, which no whole word covers.
    const Bytes base = image(100);
    Bytes edited = base;
    edited[0] = 0x01;
    edited[7] = 0x02;
    edited[8] = 0x03;
    edited[31] = 0x04;
    edited[33] = 0x05;
    for (int i = 63; i < 67; ++i)
        edited[i] = 0x06;
    edited[99] = 0x07;
    EXPECT_EQ(create(base, edited).patch,
              hex("PATCH 00 00 00 00 01 01  00 00 07 00 02 02 03  00 00 1F 00 03 04 00 05"
                  "  00 00 3F 00 00 00 04 06  00 00 63 00 01 07 EOF"));

    // A change that leaves the other bytes of its word equal, after 1 MiB of equal
    // bytes that are not zero.
    const Bytes filled(1 << 20, 0x5A);
    Bytes last = filled;
    last[0xFFFFD] = 0x5B;
    EXPECT_EQ(create(filled, last).patch, hex("PATCH 0F FF FD 00 01 5B EOF"));
    Bytes first = filled;
    first[0x80000] = 0x00;
    EXPECT_EQ(create(filled, first).patch, hex("PATCH 08 00 00 00 01 00 EOF"));
}

TEST(IpsCreate, ChangesAtPageEdgesAndShortGaps) {
    // 8,200 bytes: changes on both sides of 64-byte and 4 KiB edges, several in one
    // 64 bytes, and in the last bytes.
    const Bytes base = image(8200);
    Bytes edited = base;
    put(edited, 0x003F, "01 02");
    put(edited, 0x007E, "EA EA EA EA");
    put(edited, 0x00BF, "03");
    put(edited, 0x0100, "11 00 12 00 13 00 14");
    put(edited, 0x013D, "21 22 23");
    put(edited, 0x0FFE, "31 32 33");
    put(edited, 0x1FFE, "41 42 43 44");
    put(edited, 0x2003, "50");
    put(edited, 0x2007, "51");
    EXPECT_EQ(create(base, edited).patch,
              hex("PATCH 00 00 3F 00 02 01 02  00 00 7E 00 00 00 04 EA  00 00 BF 00 01 03"
                  "  00 01 00 00 07 11 00 12 00 13 00 14"
                  "  00 01 3D 00 03 21 22 23  00 0F FE 00 03 31 32 33"
                  "  00 1F FE 00 0A 41 42 43 44 00 50 00 00 00 51 EOF"));
}

TEST(IpsCreate, ShortChangesNextToTheEndMarkerOffset) {
    const Bytes base = image(0x500000);
    Bytes edited = base;
    edited[0x454F46] = 0x99;
    EXPECT_EQ(create(base, edited).patch, hex("PATCH 45 4F 45 00 02 00 99 EOF"));
    edited = base;
    edited[0x454F45] = 0x77;
    edited[0x454F46] = 0x78;
    EXPECT_EQ(create(base, edited).patch, hex("PATCH 45 4F 45 00 02 77 78 EOF"));
    edited = base;
    edited[0x454F44] = 0x55;
    edited[0x454F45] = 0x56;
    EXPECT_EQ(create(base, edited).patch, hex("PATCH 45 4F 44 00 02 55 56 EOF"));
    // A run that would start at 0x454F46 takes in the unchanged byte before it when
    // that holds its value.
    Bytes before = base;
    before[0x454F45] = 0x40;
    edited = before;
    std::fill(edited.begin() + 0x454F46, edited.begin() + 0x454F4B, 0x40);
    EXPECT_EQ(create(before, edited).patch, hex("PATCH 45 4F 45 00 00 00 06 40 EOF"));
}

TEST(IpsCreate, IdenticalAndMismatchedImages) {
    const Bytes base = image(41488);
    EXPECT_EQ(create(base, base).patch, hex("PATCH EOF"));
    const Created c = create(base, base, {true});
    EXPECT_TRUE(c.patch.empty());
    EXPECT_EQ(message(c.status),
              "The current NES file and comparison file are identical.\r\n"
              "Either the file was not edited or the same file was used to create the IPS.");
    EXPECT_EQ(create(base, image(40976)).status.result, Result::BaseInvalid);
    EXPECT_EQ(message(create(base, image(40976)).status),
              "The NES file used to create the IPS is invalid.\r\nPatch creation aborted.");
}

TEST(IpsCreate, LongRunsAndTheEndMarkerOffset) {
    const Bytes base = image(0x500000);
    Bytes edited = base;
    for (int i = 0; i < 70000; ++i)
        edited[0x100000 + i] = static_cast<std::uint8_t>(1 + i % 200);
    edited[0x454F46] = 0x99;
    const Created c = create(base, edited);
    ASSERT_TRUE(c.status.ok());
    // Two data records for the 70,000 bytes, one for 0x454F45-0x454F46.
    EXPECT_EQ(c.patch.size(), 5 + (10 + 70000) + 7 + 3u);
    const Parsed p = parse(c.patch);
    ASSERT_TRUE(p.status.ok());
    ASSERT_EQ(p.records.size(), 3u);
    EXPECT_EQ(p.records[0].offset, 0x100000u);
    EXPECT_EQ(p.records[1].offset, 0x100000u + p.records[0].length);
    EXPECT_EQ(p.records[0].length + p.records[1].length, 70000u);
    EXPECT_EQ(p.records[2].offset, 0x454F45u);
    expectExact(base, edited, c.patch);

    // A change running through 0x454F46 where the length limit would start a
    // new record exactly there.
    edited = base;
    for (int i = 0; i < 65537; ++i)
        edited[0x444F47 + i] = 0x40;
    const Created c2 = create(base, edited);
    // A run of 65,535 and two data bytes (8 + 7), the data first: the other way round
    // the data would start at 0x454F46.
    EXPECT_EQ(c2.patch.size(), 5 + 8 + 7 + 3u);
    expectExact(base, edited, c2.patch);
}

TEST(IpsCreate, NoValidPatchIsSmaller) {
    std::mt19937 rng(28);
    // Bytes of three values, so that equal neighbours and short gaps are common; every
    // other round the edited bytes come in runs of up to 12, so that runs over
    // unchanged bytes and past 0x454F46 are common too.
    const auto fill = [&](Bytes& base, Bytes& edited, std::size_t from, std::size_t to, bool runs) {
        for (std::size_t i = from; i < to;) {
            const std::size_t n = std::min<std::size_t>(runs ? 1 + rng() % 12 : 1, to - i);
            const auto value = static_cast<std::uint8_t>(rng() % 3);
            const bool changed = rng() % 3 != 0;
            for (std::size_t k = i; k < i + n; ++k) {
                base[k] = static_cast<std::uint8_t>(rng() % 3);
                edited[k] = changed ? value : base[k];
            }
            i += n;
        }
    };
    for (int round = 0; round < 600; ++round) {
        const std::size_t n = 1 + rng() % 40;
        Bytes base(n), edited(n);
        fill(base, edited, 0, n, round % 2 != 0);
        const Created c = create(base, edited);
        EXPECT_EQ(c.patch.size(), 8 + smallestByTrying(base, edited, 0, n)) << "round " << round;
        expectExact(base, edited, c.patch);
    }
    // Around 0x454F46, where no record may start.
    const std::size_t from = kEndMarkerOffset - 20, to = kEndMarkerOffset + 20;
    Bytes base(to), edited(to);
    for (int round = 0; round < 100; ++round) {
        fill(base, edited, from, to, round % 2 != 0);
        const Created c = create(base, edited);
        EXPECT_EQ(c.patch.size(), 8 + smallestByTrying(base, edited, from, to))
            << "round " << round;
        expectExact(base, edited, c.patch);
    }
}

TEST(IpsCreate, RecordsStopAt65535Bytes) {
    // 65,536 equal bytes: a run of 65,535 and one data byte (8 + 6).
    const Bytes base = image(200000);
    Bytes edited = base;
    std::fill(edited.begin() + 10, edited.begin() + 10 + 65536, 0x33);
    Created c = create(base, edited);
    EXPECT_EQ(c.patch.size(), 5 + 14 + 3u);
    expectExact(base, edited, c.patch);
    // 131,070 bytes, no two neighbours equal: two full data records.
    edited = base;
    for (std::size_t i = 0; i < 131070; ++i)
        edited[1000 + i] = static_cast<std::uint8_t>(1 + i % 2);
    c = create(base, edited);
    EXPECT_EQ(c.patch.size(), 5 + 2 * (5 + 65535) + 3u);
    expectExact(base, edited, c.patch);
}

TEST(IpsRoundTrip, RandomImagePairs) {
    std::mt19937 rng(20261207);
    for (int round = 0; round < 40; ++round) {
        Bytes base(round % 2 ? 41488 : 40976);
        for (auto& b : base)
            b = static_cast<std::uint8_t>(rng());
        Bytes edited = base;
        const int changes = static_cast<int>(rng() % 300);
        for (int k = 0; k < changes; ++k) {
            const std::size_t at = rng() % base.size();
            const std::size_t len = std::min<std::size_t>(1 + rng() % 12, base.size() - at);
            const bool same = rng() % 2;
            const auto v = static_cast<std::uint8_t>(rng());
            for (std::size_t i = 0; i < len; ++i)
                edited[at + i] = same ? v : static_cast<std::uint8_t>(rng());
        }
        const Created c = create(base, edited);
        ASSERT_TRUE(c.status.ok());
        Bytes out = base;
        ASSERT_TRUE(applyPatch(c.patch, out).ok()) << "round " << round;
        ASSERT_EQ(out, edited) << "round " << round;
        expectExact(base, edited, c.patch);
    }
}

TEST(IpsDescribe, OneLinePerRecordAndTheFault) {
    std::vector<std::string> lines;
    const auto collect = [&](std::string_view line) { lines.emplace_back(line); };
    const std::string fault =
        describe(hex("PATCH 00 10 7A 00 01 08  00 34 57 00 00 00 03 EA  00 20 00 00 "
                     "0A 01 02 03 04 05 06 07 08 09 0A  00 30 00 00 05 AA"),
                 collect);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "0x00107A  data 1  08");
    EXPECT_EQ(lines[1], "0x003457  run 3  EA");
    EXPECT_EQ(lines[2], "0x002000  data 10  01 02 03 04 05 06 07 08 ...");
    EXPECT_EQ(fault, "at byte 34: Invalid data in IPS file.");
    // Eight bytes are shown whole; a patch without a fault returns no text.
    lines.clear();
    EXPECT_EQ(describe(hex("PATCH 00 00 01 00 08 01 02 03 04 05 06 07 08 EOF"), collect), "");
    EXPECT_EQ(lines, std::vector<std::string>{"0x000001  data 8  01 02 03 04 05 06 07 08"});
    lines.clear();
    EXPECT_EQ(describe(hex("PATCH 00 00 14 00 00 00 00 5A EOF"), collect), "");
    EXPECT_EQ(lines, std::vector<std::string>{"0x000014  run 0  5A"});
    // The message's line break becomes a blank.
    EXPECT_EQ(describe(hex("PATCH 45 4F"), collect),
              "at byte 0: The file cannot be opened. The filesize is invalid.");
}

TEST(IpsFile, ChecksBeforeReading) {
    const qvtest::TempDir dir;
    const auto write = [&](const char* name, const Bytes& bytes) {
        qvtest::writeBytes(dir.file(name), bytes);
        return dir.file(name);
    };
    EXPECT_EQ(message(readPatchFile(dir.file("none.ips")).status), "The file does not exist.");
    EXPECT_EQ(message(readPatchFile(write("p.txt", hex("PATCH EOF"))).status),
              "The specified file is in the wrong format.");
    EXPECT_EQ(readPatchFile(write("x.ips", hex("PATCH 45 4F"))).status.result, Result::BadFileSize);
    const PatchFile ok = readPatchFile(write("P.IPS", hex("PATCH EOF")));
    EXPECT_TRUE(ok.status.ok());
    EXPECT_EQ(ok.bytes, hex("PATCH EOF"));
}

} // namespace
