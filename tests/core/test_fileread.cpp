#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>

#include "core/fileio.h"
#include "support/testfiles.h"

namespace {

using qvtest::Bytes;
using qvtest::TempDir;

TEST(ReadWholeFile, ReadsEveryByteAcrossItsChunksAndRefusesWhatIsNoFile) {
    TempDir dir;
    // 70,000 bytes: more than one 64 KiB read, ending part-way through the second.
    Bytes data(70000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i % 251);
    const std::string path = dir.file("big.bin");
    qvtest::writeBytes(path, data);
    const auto read = qv::readWholeFile(path, 70000);
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->size(), 70000u);
    EXPECT_EQ((*read)[0], 0x00);
    EXPECT_EQ((*read)[65535], 24);
    EXPECT_EQ((*read)[65536], 25);
    EXPECT_EQ((*read)[69999], 221);
    EXPECT_EQ(*read, data);
    // One byte over the limit is refused whole.
    EXPECT_FALSE(qv::readWholeFile(path, 69999).has_value());
    // 5 MiB and 3 bytes, read into room that takes huge pages where it can.
    Bytes large(5 * 1048576 + 3);
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<std::uint8_t>(i * 7 + (i >> 20));
    qvtest::writeBytes(dir.file("large.bin"), large);
    EXPECT_EQ(qv::readWholeFile(dir.file("large.bin"), 16 << 20), large);

    // An empty file is an empty buffer, not a failure.
    const std::string empty = dir.file("empty.bin");
    qvtest::writeBytes(empty, {});
    const auto none = qv::readWholeFile(empty, 16);
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->empty());

    EXPECT_FALSE(qv::readWholeFile(dir.file("absent.bin"), 1 << 20).has_value());
    EXPECT_FALSE(qv::readWholeFile(dir.path().string(), 1 << 20).has_value());
#ifndef _WIN32
    // A FIFO is refused at once rather than waited on for a writer.
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(qv::readWholeFile(fifo, 1 << 20).has_value());
#else
    // A device is no file either.
    EXPECT_FALSE(qv::readWholeFile("NUL", 1 << 20).has_value());
#endif

    // Mapped, the same bytes and the same refusals.
    const auto mapped = qv::MappedFile::open(path, 70000);
    ASSERT_TRUE(mapped.has_value());
    EXPECT_EQ(Bytes(mapped->bytes().begin(), mapped->bytes().end()), data);
    EXPECT_FALSE(qv::MappedFile::open(path, 69999).has_value());
    const auto nothing = qv::MappedFile::open(empty, 16);
    ASSERT_TRUE(nothing.has_value());
    EXPECT_TRUE(nothing->bytes().empty());
    EXPECT_FALSE(qv::MappedFile::open(dir.file("absent.bin"), 1 << 20).has_value());
    EXPECT_FALSE(qv::MappedFile::open(dir.path().string(), 1 << 20).has_value());
#ifndef _WIN32
    EXPECT_FALSE(qv::MappedFile::open(fifo, 1 << 20).has_value());
#else
    EXPECT_FALSE(qv::MappedFile::open("NUL", 1 << 20).has_value());
#endif
}

} // namespace
