// What qorv writes and where: only regular files the user may write, never one of
// its inputs, files its own IPS commands read back, and standard output checked.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

#include <string>
#include <vector>

#include "cli/qorvrun.h"
#include "core/system.h"
#include "support/hexbytes.h"

using namespace qvtest;

#ifndef _WIN32
namespace {

mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode;
}

constexpr const char* kSetpriv = "/usr/bin/setpriv";

} // namespace

TEST(QorvOutputs, OutputsThatAreNotRegularFilesAreRefused) {
    TempDir dir;
    const std::string game = dir.file("game.nes"), edited = dir.file("edited.nes"),
                      patch = dir.file("p.ips"), fifo = dir.file("fifo"), node = dir.file("null");
    Bytes image(40976, 0);
    writeBytes(game, image);
    image[0x107A] = 0x06;
    writeBytes(edited, image);
    writeBytes(patch, hex("PATCH 00 10 7A 00 01 04 EOF"));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::vector<std::string> targets{fifo, dir.path().string()};
    // A device node such as /dev/null; making one needs root.
    if (::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) targets.push_back(node);

    for (const std::string& target : targets) {
        for (const std::vector<std::string>& args :
             std::vector<std::vector<std::string>>{{"set", game, "EditMaZanki=7", "-o", target},
                                                   {"ips", "apply", patch, game, "-o", target},
                                                   {"ips", "create", game, edited, "-o", target}}) {
            const Outcome r = qorv(dir, args);
            EXPECT_EQ(r.status, 2) << target << " " << args[0];
            EXPECT_EQ(r.err, "qorv: cannot write " + target + ": Not a regular file\n");
        }
    }
    EXPECT_TRUE(S_ISFIFO(modeOf(fifo)));
    if (targets.size() == 3) {
        EXPECT_TRUE(S_ISCHR(modeOf(node)));
    }
    EXPECT_EQ(readBytes(game), Bytes(40976, 0));
}

TEST(QorvOutputs, AnUnprivilegedUserCannotReplaceWhatItMayNotWrite) {
    if (::geteuid() != 0 || ::access(kSetpriv, X_OK) != 0)
        GTEST_SKIP() << "needs root and setpriv to run qorv as the user nobody";
    TempDir dir;
    fs::permissions(dir.path(), fs::perms::all); // a folder anyone may write
    const std::string ro = dir.file("ro.nes"), rootOwned = dir.file("root.nes");
    Bytes image(40976, 0);
    image[0x107A] = 0x02;
    writeBytes(ro, image);
    writeBytes(rootOwned, image);
    ASSERT_EQ(::chown(ro.c_str(), 65534, 65534), 0);
    ::chmod(ro.c_str(), 0444);
    ::chmod(rootOwned.c_str(), 0644);
    for (const std::string& target : {ro, rootOwned}) {
        const Outcome r =
            runProgram(dir, {kSetpriv, "--reuid=65534", "--regid=65534", "--clear-groups",
                             QORV_BINARY, "set", target, "EditMaZanki=5"});
        EXPECT_EQ(r.status, 2) << target;
        EXPECT_EQ(r.err, "qorv: cannot write " + target + ": Permission denied\n");
        EXPECT_EQ(readBytes(target), image);
    }
    struct stat st {};
    ::stat(rootOwned.c_str(), &st);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(modeOf(ro) & 07777, 0444u);
}

#endif

TEST(QorvOutputs, AnOutputThatIsAnInputIsRefusedButBaseMayBePatchedInPlace) {
    TempDir dir;
    const std::string game = dir.file("game.nes"), patch = dir.file("p.ips");
    writeBytes(game, Bytes(40976, 0));
    const Bytes patchBytes = hex("PATCH 00 10 7A 00 01 04 EOF");
    writeBytes(patch, patchBytes);
    Outcome r = qorv(dir, {"ips", "apply", patch, game, "-o", patch});
    EXPECT_EQ(r.status, 64);
    EXPECT_EQ(r.err, "qorv: -o would replace the patch " + patch + "\n");
    EXPECT_EQ(readBytes(patch), patchBytes);
#ifndef _WIN32
    // The same file under another name (a link) is still the patch.
    fs::create_symlink("p.ips", dir.path() / "alias.ips");
    r = qorv(dir, {"ips", "apply", patch, game, "-o", dir.file("alias.ips")});
    EXPECT_EQ(r.status, 64);
    EXPECT_EQ(readBytes(patch), patchBytes);
#else
    // The same file under another spelling (case, separators) is still the patch.
    std::string alias = patch;
    for (char& c : alias)
        if (c == '\\') c = '/';
    alias.replace(alias.size() - 5, 5, "P.IPS");
    r = qorv(dir, {"ips", "apply", patch, game, "-o", alias});
    EXPECT_EQ(r.status, 64);
    EXPECT_EQ(readBytes(patch), patchBytes);
#endif

    r = qorv(dir, {"ips", "apply", patch, game, "-o", game});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBytes(game)[0x107A], 0x04);
}

#ifndef _WIN32
TEST(QorvOutputs, ADanglingLinkAsOutputGetsTheFileItNames) {
    TempDir dir;
    const std::string game = dir.file("game.nes");
    writeBytes(game, Bytes(40976, 0));
    fs::create_symlink("made.nes", dir.path() / "link.nes");
    const Outcome r = qorv(dir, {"set", game, "EditMaZanki=7", "-o", dir.file("link.nes")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(S_ISLNK(modeOf(dir.file("link.nes"))));
    EXPECT_EQ(readBytes(dir.file("made.nes"))[0x107A], 0x06);
}

TEST(QorvOutputs, FailingToWriteStandardOutputIsAnError) {
    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    TempDir dir;
    const std::string game = dir.file("game.nes"), other = dir.file("other.nes");
    writeBytes(game, Bytes(40976, 0));
    writeBytes(other, Bytes(40976, 0xA5));
    // Reports of every parameter, written as one block or through the buffer.
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"dump", "--json", game},
                                               {"get", game, "EditMaZanki"},
                                               {"info", game},
                                               {"--help"},
                                               {"changes", game},
                                               {"diff", game, other}}) {
        std::vector<std::string> argv{QORV_BINARY};
        argv.insert(argv.end(), args.begin(), args.end());
        const Outcome r = runProgram(dir, argv, "/dev/full");
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.err, "qorv: cannot write standard output: No space left on device\n")
            << args[0];
    }
}

#endif

TEST(QorvOutputs, ApplyNeverMakesAFileLargerThanTheIpsCommandsRead) {
    TempDir dir;
    const std::string base = dir.file("data.bin"), out = dir.file("out.bin");
    writeBytes(base, Bytes(100, 0x11));
    // A run of 0xFFFF bytes at offset 0xFFFFFF would end at 16,842,750 bytes.
    const std::string tooFar = dir.file("far.ips"), justFits = dir.file("fits.ips");
    writeBytes(tooFar, hex("PATCH FF FF FF 00 00 FF FF 01 EOF"));
    Outcome r = qorv(dir, {"ips", "apply", tooFar, base, "-o", out});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "qorv: IPS files cannot describe files larger than 16 MiB.\n");
    EXPECT_FALSE(fs::exists(out));

    // One byte at 0xFFFFFF ends at exactly 16 MiB, which every IPS command reads.
    writeBytes(justFits, hex("PATCH FF FF FF 00 00 00 01 01 EOF"));
    r = qorv(dir, {"ips", "apply", justFits, base, "-o", out});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fs::file_size(out), 16777216u);
    r = qorv(dir, {"ips", "create", out, out, "-o", dir.file("same.ips")});
    EXPECT_EQ(r.status, 0) << r.err;
    r = qorv(dir, {"ips", "apply", justFits, out, "-o", dir.file("again.bin")});
    EXPECT_EQ(r.status, 0) << r.err;

    r = qorv(dir, {"ips", "--help"});
    EXPECT_NE(r.out.find("16 MiB (16,777,216 bytes)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("larger than 16 MiB is refused"), std::string::npos) << r.out;
}

#ifdef _WIN32
// The Windows counterparts of the POSIX cases above: folders and devices, the
// read-only attribute, a file another program holds open, and a full device.
TEST(QorvOutputs, WhatIsNoFileOrMayNotBeWrittenIsRefusedAndLeftAsItWas) {
    TempDir dir;
    const std::string game = dir.file("game.nes"), edited = dir.file("edited.nes"),
                      patch = dir.file("p.ips"), ro = dir.file("ro.nes"),
                      held = dir.file("held.nes");
    Bytes image(40976, 0);
    writeBytes(game, image);
    writeBytes(ro, image);
    writeBytes(held, image);
    image[0x107A] = 0x06;
    writeBytes(edited, image);
    writeBytes(patch, hex("PATCH 00 10 7A 00 01 04 EOF"));
    ASSERT_TRUE(::SetFileAttributesW(qv::fsPath(ro).c_str(), FILE_ATTRIBUTE_READONLY));
    const HANDLE holder = ::CreateFileW(qv::fsPath(held).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    const std::vector<std::pair<std::string, std::string>> targets{
        {dir.path().string(), "Not a regular file"},
        {"NUL", "Not a regular file"},
        {ro, "Permission denied"},
        {held, "The file is in use by another program"}};
    for (const auto& [target, why] : targets) {
        for (const std::vector<std::string>& args :
             std::vector<std::vector<std::string>>{{"set", game, "EditMaZanki=7", "-o", target},
                                                   {"ips", "apply", patch, game, "-o", target},
                                                   {"ips", "create", game, edited, "-o", target}}) {
            const Outcome r = qorv(dir, args);
            EXPECT_EQ(r.status, 2) << target << " " << args[0];
            EXPECT_EQ(r.err, "qorv: cannot write " + target + ": " + why + "\n");
        }
    }
    ::CloseHandle(holder);
    EXPECT_EQ(readBytes(game), Bytes(40976, 0));
    EXPECT_EQ(readBytes(ro), Bytes(40976, 0));
    EXPECT_EQ(readBytes(held), Bytes(40976, 0));
    ::SetFileAttributesW(qv::fsPath(ro).c_str(), FILE_ATTRIBUTE_NORMAL);
}
#endif
