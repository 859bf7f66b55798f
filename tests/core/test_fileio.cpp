// Replacing files: only regular files we may write, links followed even when they
// dangle, permissions kept, temporary files that fit and do not outlive the save.
// The cases that need POSIX (FIFOs, device nodes, owners, signals) have Windows
// counterparts at the end (devices, the read-only attribute, files held open).
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <functional>
#include <thread>

#include "core/document.h"
#include "core/fileio.h"
#include "core/filelock.h"
#include "core/filestamp.h"
#include "core/pathinfo.h"
#include "core/system.h"
#include "support/testfiles.h"

using namespace qvtest;

namespace {

Bytes image(std::uint8_t fill) {
    return Bytes(40976, fill);
}

std::vector<std::string> names(const TempDir& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir.path()))
        out.push_back(qv::pathText(e.path().filename()));
    std::sort(out.begin(), out.end());
    return out;
}

#ifndef _WIN32
mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode;
}

// Runs body in a child process and returns its exit status (-1 when it did not exit).
int inChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int ws = 0;
    ::waitpid(pid, &ws, 0);
    return WIFEXITED(ws) ? WEXITSTATUS(ws) : -1;
}

constexpr uid_t kNobody = 65534;
#endif

} // namespace

#ifndef _WIN32

TEST(FileIo, WhatIsNotARegularFileIsNeverReplaced) {
    TempDir dir;
    const std::string fifo = dir.file("pipe"), folder = dir.file("folder"),
                      link = dir.file("tofifo.nes"), node = dir.file("null");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_directory(folder);
    fs::create_symlink("pipe", link);
    const bool haveNode = ::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    const auto before = names(dir);

    for (const std::string& target : {fifo, folder, link}) {
        SCOPED_TRACE(target);
        const qv::WriteResult r = qv::writeFileAtomic(target, image(0x11));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, "Not a regular file");
        // With backups on nothing is copied either.
        const qv::SaveResult s = qv::writeWithBackup(target, image(0x11), true, "~nes");
        EXPECT_FALSE(s.ok);
    }
    if (haveNode) {
        EXPECT_FALSE(qv::writeFileAtomic(node, image(0x11)).ok);
        EXPECT_TRUE(S_ISCHR(modeOf(node)));
    }
    EXPECT_TRUE(S_ISFIFO(modeOf(fifo)));
    EXPECT_TRUE(S_ISDIR(modeOf(folder)));
    EXPECT_TRUE(S_ISLNK(modeOf(link)));
    EXPECT_EQ(names(dir), before);
}

TEST(FileIo, AFifoIsNeitherMeasuredNorStampedAndNeverWaitedOn) {
    TempDir dir;
    const std::string fifo = dir.file("pipe.nes"), game = dir.file("game.nes");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    writeBytes(game, image(0x55));
    // In a child with a deadline: a probe that opened the FIFO for reading and waited
    // for a writer would never return.
    const int status = inChild([&] {
        ::alarm(5);
        const bool fifoRefused = !qv::readableFileSize(fifo) && !qv::readFileStamp(fifo);
        const bool gameRead =
            qv::readableFileSize(game) == 40976u && qv::readFileStamp(game).has_value();
        return fifoRefused && gameRead ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
}

TEST(FileIo, AFileTheUserMayNotWriteIsRefusedAndAReplacedOneKeepsItsMode) {
    TempDir dir;
    fs::permissions(dir.path(), fs::perms::all);
    const std::string ro = dir.file("ro.nes"), rootOwned = dir.file("root.nes"),
                      kept = dir.file("kept.nes");
    writeBytes(ro, image(0x22));
    writeBytes(rootOwned, image(0x33));
    writeBytes(kept, image(0x44));
    ::chmod(ro.c_str(), 0444);
    ::chmod(rootOwned.c_str(), 0644);
    ::chmod(kept.c_str(), 0640);

    // Replacing keeps the permission bits.
    ASSERT_TRUE(qv::writeFileAtomic(kept, image(0x45)).ok);
    EXPECT_EQ(modeOf(kept) & 07777, 0640u);
    EXPECT_EQ(readBytes(kept), image(0x45));

    if (::geteuid() != 0) {
        const qv::WriteResult r = qv::writeFileAtomic(ro, image(0x23));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, "Permission denied");
        EXPECT_EQ(readBytes(ro), image(0x22));
        GTEST_SKIP() << "the owner and root-owned cases need root to set up";
    }

    // As root: a file given to another user keeps its owner when root replaces it.
    ASSERT_EQ(::chown(kept.c_str(), kNobody, kNobody), 0);
    ASSERT_TRUE(qv::writeFileAtomic(kept, image(0x46)).ok);
    struct stat st {};
    ::stat(kept.c_str(), &st);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNobody);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // As an unprivileged user in a folder anyone may write: the user's own read-only
    // file and root's 644 file are both refused, and stay as they were.
    ASSERT_EQ(::chown(ro.c_str(), kNobody, kNobody), 0);
    const int status = inChild([&] {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) return 10;
        const qv::WriteResult a = qv::writeFileAtomic(ro, image(0x23));
        if (a.ok || a.error != "Permission denied") return 11;
        const qv::SaveResult b = qv::writeWithBackup(rootOwned, image(0x34), true, "~nes");
        if (b.ok || b.error != "Cannot write the file " + rootOwned + ".\r\nPermission denied")
            return 12;
        return 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readBytes(ro), image(0x22));
    EXPECT_EQ(readBytes(rootOwned), image(0x33));
    ::stat(rootOwned.c_str(), &st);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_FALSE(fs::exists(dir.file("root.~nes")));
}

TEST(FileIo, ABackupOnAFullDiskIsWholeOrAbsentAndNamesTheCause) {
    TempDir dir;
    const std::string game = dir.file("game.nes");
    writeBytes(game, image(0x55));
    // A file size limit of 16 KiB makes every larger write fail part way, as a
    // full disk does.
    const int status = inChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16384, 16384};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
        const qv::SaveResult r = qv::writeWithBackup(game, image(0x56), true, "~nes");
        if (r.ok) return 11;
        if (r.error !=
            "Cannot create the backup file " + dir.file("game.~nes") + ".\r\nFile too large")
            return 12;
        return 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(fs::exists(dir.file("game.~nes")));
    EXPECT_EQ(readBytes(game), image(0x55));
    EXPECT_EQ(names(dir), std::vector<std::string>{"game.nes"});

    qv::setWriteFailureForTesting(true);
    const qv::SaveResult full = qv::writeWithBackup(game, image(0x56), true, "~nes");
    qv::setWriteFailureForTesting(false);
    EXPECT_EQ(full.error, "Cannot create the backup file " + dir.file("game.~nes") +
                              ".\r\nNo space left on device");
    EXPECT_EQ(names(dir), std::vector<std::string>{"game.nes"});
}

TEST(FileIo, ADanglingLinkGetsTheFileItPointsTo) {
    TempDir dir;
    fs::create_directory(dir.path() / "sub");
    fs::create_symlink("sub/target.nes", dir.path() / "link.nes");
    fs::create_symlink(dir.path() / "sub" / "abs.nes", dir.path() / "abs-link.nes");
    ASSERT_TRUE(qv::writeFileAtomic(dir.file("link.nes"), image(0x66)).ok);
    ASSERT_TRUE(qv::writeFileAtomic(dir.file("abs-link.nes"), image(0x67)).ok);
    EXPECT_TRUE(S_ISLNK(modeOf(dir.file("link.nes"))));
    EXPECT_TRUE(S_ISLNK(modeOf(dir.file("abs-link.nes"))));
    EXPECT_EQ(readBytes(dir.file("sub/target.nes")), image(0x66));
    EXPECT_EQ(readBytes(dir.file("sub/abs.nes")), image(0x67));
    // A link to a link to a missing file.
    fs::create_symlink("link.nes", dir.path() / "second.nes");
    ASSERT_TRUE(qv::writeFileAtomic(dir.file("second.nes"), image(0x68)).ok);
    EXPECT_EQ(readBytes(dir.file("sub/target.nes")), image(0x68));
    // A loop of links is refused.
    fs::create_symlink("loop2", dir.path() / "loop1");
    fs::create_symlink("loop1", dir.path() / "loop2");
    EXPECT_FALSE(qv::writeFileAtomic(dir.file("loop1"), image(0x69)).ok);
}

TEST(FileIo, ASaveEndedBySigintSigtermOrSighupLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.file("big.bin");
    writeBytes(path, Bytes(16, 1));
    const Bytes big(64u << 20, 0x5A);
    for (const int sig : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(sig);
        // The signal must arrive while the temporary file exists; a save that ends
        // first is tried again.
        bool hit = false;
        for (int attempt = 0; attempt < 6 && !hit; ++attempt) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                qv::writeFileAtomic(path, big);
                ::_exit(0);
            }
            bool seen = false;
            for (int i = 0; i < 5000 && !seen; ++i) {
                for (const auto& n : names(dir))
                    seen = seen || n.starts_with(".big.bin");
                if (!seen) std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            if (seen) ::kill(pid, sig);
            int ws = 0;
            ::waitpid(pid, &ws, 0);
            if (!seen || !WIFSIGNALED(ws)) {
                writeBytes(path, Bytes(16, 1));
                continue;
            }
            hit = true;
            EXPECT_EQ(WTERMSIG(ws), sig);
            EXPECT_EQ(names(dir), std::vector<std::string>{"big.bin"});
            EXPECT_EQ(readBytes(path), Bytes(16, 1));
        }
        if (!hit) GTEST_SKIP() << "the save always ended before the signal arrived";
    }
}

TEST(FileIo, ABackupTakesItsOriginalsModeOwnerAndGroup) {
    TempDir dir;
    const std::string game = dir.file("g.nes"), backup = dir.file("g.~nes");
    writeBytes(game, image(1));
    ::chmod(game.c_str(), 0600);
    ASSERT_TRUE(qv::writeWithBackup(game, image(2), true, "~nes").ok);
    EXPECT_EQ(modeOf(backup) & 07777, 0600u);
    EXPECT_EQ(readBytes(backup), image(1));

    // A backup that exists already is made as private as its original, too.
    ::chmod(backup.c_str(), 0644);
    ::chmod(game.c_str(), 0640);
    ASSERT_TRUE(qv::writeWithBackup(game, image(3), true, "~nes").ok);
    EXPECT_EQ(modeOf(backup) & 07777, 0640u);
    EXPECT_EQ(readBytes(backup), image(2));

    if (::geteuid() != 0) GTEST_SKIP() << "giving the original to another user needs root";
    ASSERT_EQ(::chown(game.c_str(), kNobody, kNobody), 0);
    ASSERT_TRUE(qv::writeWithBackup(game, image(4), true, "~nes").ok);
    struct stat st {};
    ::stat(backup.c_str(), &st);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNobody);
    ::stat(game.c_str(), &st);
    EXPECT_EQ(st.st_uid, kNobody);
}

TEST(FileIo, TemporaryFilesOfKilledSavesAreRemovedByTheNextSave) {
    TempDir dir;
    const std::string game = dir.file("g.nes");
    writeBytes(game, image(0));
    // A process id that is surely gone: a child that has exited and been reaped.
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string stale = ".g.nes~qv" + std::to_string(gone) + ".Ab12Cd";
    const std::string live = ".g.nes~qv" + std::to_string(::getpid()) + ".Ab12Cd";
    const std::string other = ".h.nes~qv" + std::to_string(gone) + ".Ab12Cd";
    const std::string odd = ".g.nes~qv" + std::to_string(gone) + ".toolong";
    const std::string oldStyle = ".g.nes.Ab12Cd";
    for (const std::string& n : {stale, live, other, odd, oldStyle})
        writeBytes(dir.file(n), Bytes(10, 9));

    ASSERT_TRUE(qv::writeFileAtomic(game, image(1)).ok);
    auto expected = std::vector<std::string>{"g.nes", live, other, odd, oldStyle};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names(dir), expected);
}
#endif

TEST(FileIo, ANameOf255BytesCanBeWrittenAndReplaced) {
    TempDir dir;
    const std::string longName = std::string(251, 'g') + ".nes";
    ASSERT_EQ(longName.size(), 255u);
    const std::string path = dir.file(longName);
    ASSERT_TRUE(qv::writeFileAtomic(path, image(0x77)).ok);
    const qv::SaveResult again = qv::writeWithBackup(path, image(0x78), false, "~nes");
    EXPECT_TRUE(again.ok) << again.error;
    EXPECT_EQ(readBytes(path), image(0x78));
    EXPECT_EQ(names(dir), std::vector<std::string>{longName});
}

#ifdef _WIN32
namespace {

DWORD attributesOf(const std::string& path) {
    return ::GetFileAttributesW(qv::fsPath(path).c_str());
}

Bytes readBack(const std::string& path) {
    return qv::readWholeFile(path, 1 << 24).value_or(Bytes{});
}

} // namespace

TEST(FileIo, FoldersAndDevicesAreNeverReplaced) {
    TempDir dir;
    const std::string folder = dir.file("folder.nes");
    fs::create_directory(folder);
    const auto before = names(dir);
    for (const std::string& target : {folder, std::string("NUL"), std::string("CON")}) {
        SCOPED_TRACE(target);
        const qv::WriteResult r = qv::writeFileAtomic(target, image(0x11));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, "Not a regular file");
        EXPECT_FALSE(qv::writeWithBackup(target, image(0x11), true, "~nes").ok);
    }
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(names(dir), before);
    // Nor are they read as files.
    EXPECT_FALSE(qv::readableFileSize(folder));
    EXPECT_FALSE(qv::readableFileSize("NUL"));
    EXPECT_FALSE(qv::readFileStamp("NUL"));
}

TEST(FileIo, AReadOnlyFileIsRefusedAndAReplacedOneKeepsItsAttributes) {
    TempDir dir;
    const std::string ro = dir.file("ro.nes"), hidden = dir.file("hidden.nes");
    writeBytes(ro, image(0x22));
    writeBytes(hidden, image(0x44));
    ASSERT_TRUE(::SetFileAttributesW(qv::fsPath(ro).c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(::SetFileAttributesW(qv::fsPath(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN));

    const qv::WriteResult r = qv::writeFileAtomic(ro, image(0x23));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "Permission denied");
    const qv::SaveResult s = qv::writeWithBackup(ro, image(0x23), true, "~nes");
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.error, "Cannot write the file " + ro + ".\r\nPermission denied");
    EXPECT_EQ(readBack(ro), image(0x22));
    EXPECT_FALSE(fs::exists(dir.file("ro.~nes")));

    ASSERT_TRUE(qv::writeFileAtomic(hidden, image(0x45)).ok);
    EXPECT_EQ(readBack(hidden), image(0x45));
    EXPECT_TRUE(attributesOf(hidden) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(names(dir), (std::vector<std::string>{"hidden.nes", "ro.nes"}));
    ::SetFileAttributesW(qv::fsPath(ro).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Windows refuses to replace a file that is open without leave to delete it, which
// POSIX never does; the save fails with a message and leaves no temporary file.
TEST(FileIo, AFileHeldOpenByAnotherProgramIsRefusedAndLeftWhole) {
    TempDir dir;
    const std::string game = dir.file("game.nes");
    writeBytes(game, image(0x55));
    const HANDLE held = ::CreateFileW(qv::fsPath(game).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const qv::WriteResult r = qv::writeFileAtomic(game, image(0x56));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "The file is in use by another program");
    EXPECT_EQ(names(dir), std::vector<std::string>{"game.nes"});
    ::CloseHandle(held);
    EXPECT_EQ(readBack(game), image(0x55));
    // Once it is closed, the save goes through.
    ASSERT_TRUE(qv::writeFileAtomic(game, image(0x56)).ok);
    EXPECT_EQ(readBack(game), image(0x56));

    qv::setWriteFailureForTesting(true);
    const qv::SaveResult full = qv::writeWithBackup(game, image(0x57), true, "~nes");
    qv::setWriteFailureForTesting(false);
    EXPECT_EQ(full.error, "Cannot create the backup file " + dir.file("game.~nes") +
                              ".\r\nNo space left on device");
    EXPECT_EQ(names(dir), std::vector<std::string>{"game.nes"});
}

TEST(FileIo, JapaneseNamesAndPathsOver260CharactersWork) {
    TempDir dir;
    // "マリオ改造.nes" in UTF-8.
    const std::string name = "\xE3\x83\x9E\xE3\x83\xAA\xE3\x82\xAA\xE6\x94\xB9\xE9\x80\xA0.nes";
    const std::string jp = dir.file("") + name;
    ASSERT_TRUE(qv::writeFileAtomic(jp, image(0x61)).ok);
    const qv::SaveResult again = qv::writeWithBackup(jp, image(0x62), true, "~nes");
    ASSERT_TRUE(again.ok) << again.error;
    EXPECT_EQ(readBack(jp), image(0x62));
    EXPECT_EQ(qv::readableFileSize(jp), 40976u);
    EXPECT_TRUE(qv::readFileStamp(jp).has_value());
    const auto mapped = qv::MappedFile::open(jp, 40976);
    ASSERT_TRUE(mapped.has_value());
    EXPECT_EQ(mapped->bytes()[0], 0x62);
    EXPECT_EQ(names(dir),
              (std::vector<std::string>{
                  name, "\xE3\x83\x9E\xE3\x83\xAA\xE3\x82\xAA\xE6\x94\xB9\xE9\x80\xA0.~nes"}));

    // Three folders of 100 characters: the file's path is over 300 characters long.
    std::string deep = dir.file("");
    for (char c : {'a', 'b', 'c'})
        deep += std::string(100, c) + "\\";
    ASSERT_TRUE(fs::create_directories(qv::fsPath(deep)));
    const std::string longPath = deep + "game.nes";
    ASSERT_GT(longPath.size(), 300u);
    ASSERT_TRUE(qv::writeFileAtomic(longPath, image(0x63)).ok);
    ASSERT_TRUE(qv::writeWithBackup(longPath, image(0x64), true, "~nes").ok);
    EXPECT_EQ(readBack(longPath), image(0x64));
    EXPECT_EQ(readBack(deep + "game.~nes"), image(0x63));
    EXPECT_TRUE(qv::fileExists(longPath));
}

TEST(FileIo, TemporaryFilesOfEndedSavesAreRemovedByTheNextSave) {
    TempDir dir;
    const std::string game = dir.file("g.nes");
    writeBytes(game, image(0));
    // No process has this id: Windows gives out multiples of 4, far below it.
    const std::string gone = "4294967290";
    const std::string stale = ".g.nes~qv" + gone + ".Ab12Cd";
    const std::string live = ".g.nes~qv" + std::to_string(::GetCurrentProcessId()) + ".Ab12Cd";
    const std::string other = ".h.nes~qv" + gone + ".Ab12Cd";
    const std::string odd = ".g.nes~qv" + gone + ".toolong";
    for (const std::string& n : {stale, live, other, odd})
        writeBytes(dir.file(n), Bytes(10, 9));

    ASSERT_TRUE(qv::writeFileAtomic(game, image(1)).ok);
    auto expected = std::vector<std::string>{"g.nes", live, other, odd};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names(dir), expected);
}
TEST(FileIo, ALockedFileStaysReadableAndTheNextWriterWaitsItsTurn) {
    TempDir dir;
    const std::string game = dir.file("game.nes");
    writeBytes(game, image(0x31));
    qv::FileLock first;
    std::string error;
    ASSERT_TRUE(first.acquire(game, std::chrono::milliseconds(100), error));
    EXPECT_TRUE(first.held());
    // Windows' locks bind readers too: ours lies past the end, so the bytes stay readable.
    EXPECT_EQ(readBack(game), image(0x31));
    qv::FileLock second;
    EXPECT_FALSE(second.acquire(game, std::chrono::milliseconds(50), error));
    EXPECT_EQ(error, game + " is being changed by another program");
    EXPECT_FALSE(second.held());

    // The holder replaces the file; its identity then changes, not before.
    const auto before = qv::readFileIdentity(game);
    ASSERT_TRUE(before.has_value());
    EXPECT_EQ(before->size, 40976);
    EXPECT_EQ(qv::readFileIdentity(game), before);
    ASSERT_TRUE(qv::writeFileAtomic(game, image(0x32)).ok);
    const auto after = qv::readFileIdentity(game);
    ASSERT_TRUE(after.has_value());
    EXPECT_NE(after->inode, before->inode);
    first.release();
    EXPECT_TRUE(second.acquire(game, std::chrono::milliseconds(100), error));

    EXPECT_EQ(qv::notAFile(game), "");
    EXPECT_EQ(qv::notAFile(dir.path().string()), "is a folder, not a file");
    EXPECT_EQ(qv::notAFile("NUL"), "is a device, not a file");
    EXPECT_EQ(qv::notAFile(dir.file("absent.nes")), "The file does not exist.");
    EXPECT_FALSE(qv::readFileIdentity(dir.path().string()).has_value());
}
#endif
