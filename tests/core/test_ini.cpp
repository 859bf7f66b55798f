#include <gtest/gtest.h>

#include <sys/stat.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>

#include "core/fileio.h"
#include "core/ini.h"
#include "core/inipath.h"
#include "core/system.h"
#include "support/testfiles.h"

namespace fs = std::filesystem;

using qvtest::readText;
using qvtest::TempDir;
using qvtest::writeText;

#ifndef _WIN32
namespace {

// Runs body in a child process and returns its exit status (-1 when it did not exit).
template <class F> int inChild(F body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int ws = 0;
    ::waitpid(pid, &ws, 0);
    return WIFEXITED(ws) ? WEXITSTATUS(ws) : -1;
}

} // namespace
#endif

TEST(IniFile, RewritesInPlaceAndKeepsTheRestOfTheFile) {
    TempDir dir;
    const std::string path = dir.file("qorv.ini");
    writeText(path, "; kept\n[other]\nToolBar=5\n\n[QORV]\nfoo = bar\n  toolbar = 1\nBaz\n");
    qv::IniFile ini(path);
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString("TOOLBAR", "x"), "1");
    EXPECT_EQ(ini.readString("Foo", "x"), "bar");
    EXPECT_EQ(ini.readString("Baz", "x"), "x"); // no '=': not a value
    EXPECT_EQ(ini.readString("Missing", "def  "), "def");

    EXPECT_TRUE(ini.writeString("ToolBar", "2"));
    EXPECT_TRUE(ini.writeString("baz", "3"));
    ASSERT_TRUE(ini.save().ok);
    // Line ends are kept as they are.
    EXPECT_EQ(readText(path),
              "; kept\n[other]\nToolBar=5\n\n[QORV]\nfoo = bar\ntoolbar=2\nBaz=3\n");
}

TEST(IniFile, NewKeysGoToTheEndOfTheirSectionAndNewSectionsToTheEnd) {
    TempDir dir;
    const std::string path = dir.file("qorv.ini");
    writeText(path, "[qorv]\r\nA=1\r\n; note\r\n\r\n[next]\r\nB=2");
    qv::IniFile ini(path);
    ASSERT_TRUE(ini.load());
    ini.writeString("C", "3");
    ini.writeString("D", "");
    EXPECT_EQ(ini.text(), "[qorv]\r\nA=1\r\n; note\r\nC=3\r\nD=\r\n\r\n[next]\r\nB=2");
    EXPECT_EQ(ini.readString("D", "def"), ""); // present but empty is not absent

    qv::IniFile other(path, "new");
    ASSERT_TRUE(other.load());
    EXPECT_EQ(other.readString("A", "none"), "none");
    other.writeString("E", "5");
    EXPECT_EQ(other.text(), "[qorv]\r\nA=1\r\n; note\r\n\r\n[next]\r\nB=2\r\n[new]\r\nE=5\r\n");
}

TEST(IniFile, ReadsValuesAsTheProfileCallsDo) {
    TempDir dir;
    const std::string path = dir.file("qorv.ini");
    writeText(path, "Early=1\n[ Qorv ]\nQ1=\"quoted\"\nQ2='x\nQ3=  \t spaced \t\nDup=first\n"
                    "Dup=second\nN1= -3 \nN2=+4\nN3=12abc\nN4=99999999999\nN5=0x10\nN6=\n"
                    "[qorv]\nLater=1\n");
    qv::IniFile ini(path);
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString("Early", "no"), "no"); // before any section
    EXPECT_EQ(ini.readString("Later", "no"), "no"); // the first matching section only
    EXPECT_EQ(ini.readString("Q1", ""), "quoted");
    EXPECT_EQ(ini.readString("Q2", ""), "'x");
    EXPECT_EQ(ini.readString("Q3", ""), "spaced");
    EXPECT_EQ(ini.readString("dup", ""), "first");
    EXPECT_EQ(ini.readInt("N1", 7), -3);
    EXPECT_EQ(ini.readInt("N2", 7), 4);
    EXPECT_EQ(ini.readInt("N3", 7), 7);
    EXPECT_EQ(ini.readInt("N4", 7), 7);
    EXPECT_EQ(ini.readInt("N5", 7), 7);
    EXPECT_EQ(ini.readInt("N6", 7), 7);
    EXPECT_EQ(ini.readInt("Q1", 7), 7);
}

TEST(IniFile, GarbageLoadsAndValuesAreCutToTheBuffer) {
    TempDir dir;
    const std::string path = dir.file("qorv.ini");
    using namespace std::string_literals;
    std::string bytes = "\x01\xff\x00\x80garbage\r[qorv]\rLong="s;
    bytes.append(5000, 'v');
    bytes += "\r\nNul=ab";
    bytes += '\0';
    bytes += "cd\n\x1a\xfe[\n=\n]]]\n";
    std::mt19937 rng(1234);
    for (int i = 0; i < 20000; ++i)
        bytes += static_cast<char>(rng() & 0xff);
    writeText(path, bytes);

    qv::IniFile ini(path);
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString("Long", ""), std::string(1023, 'v'));
    EXPECT_EQ(ini.readString("Nul", ""), "ab");
    EXPECT_EQ(ini.readInt("Long", -1), -1);

    // Writing still works and the garbage is carried over untouched.
    ASSERT_TRUE(ini.writeString("New", "1"));
    ASSERT_TRUE(ini.save().ok);
    qv::IniFile again(path);
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.readString("New", ""), "1");
    EXPECT_EQ(again.text(), ini.text());
}

TEST(IniFile, RefusesWhatALineCannotHold) {
    qv::IniFile ini("/nonexistent-folder/qorv.ini");
    ASSERT_TRUE(ini.load());
    ini.writeString("A", "1");
    const std::string before = ini.text();
    EXPECT_FALSE(ini.writeString("B", "two\nlines"));
    EXPECT_FALSE(ini.writeString("B", std::string("nul\0", 4)));
    EXPECT_FALSE(ini.writeString("", "1"));
    EXPECT_FALSE(ini.writeString("a=b", "1"));
    EXPECT_FALSE(ini.writeString("[x]", "1"));
    EXPECT_FALSE(ini.writeString(";c", "1"));
    EXPECT_EQ(ini.text(), before);
}

TEST(IniFile, BatchOfWritesGivesTheSameFileAsWritesOneByOne) {
    TempDir dir;
    const std::string start = "\xEF\xBB\xBF[a]\nX=1\n\n[QORV]\nk1=old\n\n";
    const std::vector<std::pair<std::string, std::string>> writes = {
        {"K1", "new"}, {"K2", "b"}, {"k2", "c"}, {"K3", ""}, {"K1", " padded "}};
    const std::string one = dir.file("one.ini");
    const std::string batch = dir.file("batch.ini");
    writeText(one, start);
    writeText(batch, start);
    for (const auto& [key, value] : writes) {
        qv::IniFile ini(one);
        ASSERT_TRUE(ini.load());
        ini.writeString(key, value);
        ASSERT_TRUE(ini.save().ok);
    }
    qv::IniFile ini(batch);
    ASSERT_TRUE(ini.load());
    for (const auto& [key, value] : writes)
        ini.writeString(key, value);
    ASSERT_TRUE(ini.save().ok);
    EXPECT_EQ(readText(batch), readText(one));
    EXPECT_EQ(readText(batch), "\xEF\xBB\xBF[a]\nX=1\n\n[QORV]\nk1= padded \nK2=c\nK3=\n\n");
}

TEST(IniFile, AFileThatWouldNotChangeIsNotWrittenAgain) {
    TempDir dir;
    const std::string path = dir.file("qorv.ini");
    writeText(path, "[qorv]\r\nTop=1\r\n");
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    qv::IniFile ini(path);
    ASSERT_TRUE(ini.load());
    ASSERT_TRUE(ini.writeString("Top", "1"));
    // No write is even tried: one that would fail cannot fail.
    qv::setWriteFailureForTesting(true);
    const qv::WriteResult unchanged = ini.save();
    qv::setWriteFailureForTesting(false);
    EXPECT_TRUE(unchanged.ok);
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino); // a replaced file would have a new one
    EXPECT_EQ(readText(path), "[qorv]\r\nTop=1\r\n");

    // A changed value is written; line ends are kept, so a file of LF lines is
    // not written again either.
    ASSERT_TRUE(ini.writeString("Top", "0"));
    EXPECT_TRUE(ini.save().ok);
    EXPECT_EQ(readText(path), "[qorv]\r\nTop=0\r\n");
    writeText(path, "[qorv]\nTop=1\n");
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    qv::IniFile lf(path);
    ASSERT_TRUE(lf.load());
    EXPECT_TRUE(lf.save().ok);
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(readText(path), "[qorv]\nTop=1\n");

    // A missing file is still created, even with nothing in it.
    const std::string fresh = dir.file("fresh.ini");
    qv::IniFile none(fresh);
    ASSERT_TRUE(none.load());
    EXPECT_TRUE(none.save().ok);
    EXPECT_TRUE(fs::exists(fresh));
}

TEST(IniFile, FailedLoadsAndSavesChangeNothing) {
    TempDir dir;
    // A folder in place of the file: not readable as a file, so never overwritten.
    const std::string folder = dir.file("folder.ini");
    fs::create_directory(folder);
    qv::IniFile unreadable(folder);
    EXPECT_FALSE(unreadable.load());
    unreadable.writeString("A", "1");
    EXPECT_FALSE(unreadable.save().ok);
    EXPECT_TRUE(fs::is_directory(folder));

    // The settings folder replaced by a regular file.
    const std::string blocker = dir.file("settings");
    writeText(blocker, "not a folder");
    qv::IniFile ini(blocker + "/qorv.ini");
    ASSERT_TRUE(ini.load()); // nothing there yet: an empty file
    ini.writeString("A", "1");
    EXPECT_FALSE(ini.save().ok);
    EXPECT_EQ(readText(blocker), "not a folder");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);

    // A write that fails part-way leaves the old file.
    const std::string path = dir.file("qorv.ini");
    writeText(path, "[qorv]\nA=0\n");
    qv::IniFile full(path);
    ASSERT_TRUE(full.load());
    full.writeString("A", "1");
    qv::setWriteFailureForTesting(true);
    const qv::WriteResult result = full.save();
    qv::setWriteFailureForTesting(false);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(readText(path), "[qorv]\nA=0\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
}

TEST(IniPath, EnvironmentThenProgramFolderThenConfigFolder) {
    TempDir dir;
    const auto oldIni = qv::environmentValue("QUORVANE_INI");
#ifdef _WIN32
    const char* const kConfig = "APPDATA";
#else
    const char* const kConfig = "XDG_CONFIG_HOME";
#endif
    const auto oldConfig = qv::environmentValue(kConfig);

    qv::setEnvironmentValue("QUORVANE_INI", "/somewhere/else.ini");
    EXPECT_EQ(qv::locateIniFile(dir.path().string()), "/somewhere/else.ini");

    qv::setEnvironmentValue("QUORVANE_INI", "");
#ifdef _WIN32
    // A program folder counts only when it holds a settings file: under Program
    // Files it is writable for the administrator alone.
    qv::setEnvironmentValue(kConfig, dir.file("roaming"));
    EXPECT_EQ(qv::locateIniFile(dir.path().string()), dir.file("roaming\\Quorvane\\qorv.ini"));
    EXPECT_TRUE(fs::is_directory(dir.file("roaming\\Quorvane")));
    writeText(dir.file("qorv.ini"), "[qorv]\r\n");
    EXPECT_EQ(qv::locateIniFile(dir.path().string()), dir.file("qorv.ini"));
    EXPECT_EQ(qv::locateIniFile(dir.file("no-such-folder")),
              dir.file("roaming\\Quorvane\\qorv.ini"));
#else
    EXPECT_EQ(qv::locateIniFile(dir.path().string()), dir.file("qorv.ini"));

    qv::setEnvironmentValue(kConfig, dir.file("config"));
    EXPECT_EQ(qv::locateIniFile(dir.file("no-such-folder")), dir.file("config/quorvane/qorv.ini"));
    EXPECT_TRUE(fs::is_directory(dir.file("config/quorvane")));
#endif

    qv::setEnvironmentValue("QUORVANE_INI", oldIni);
    qv::setEnvironmentValue(kConfig, oldConfig);
}

// Shared folders, owners and links of other users are POSIX matters.
#ifndef _WIN32
TEST(IniPath, TheSettingsFileIsNeverInASharedFolder) {
    TempDir dir;
    // A program folder anyone may write is not where settings go. (In a child, so
    // that the environment of the other tests stays as it is.)
    EXPECT_EQ(inChild([&] {
                  ::setenv("HOME", dir.path().c_str(), 1);
                  ::unsetenv("QUORVANE_INI");
                  ::unsetenv("XDG_CONFIG_HOME");
                  fs::permissions(dir.path(), fs::perms::all);
                  if (qv::locateIniFile(dir.path().string()) !=
                      dir.file(".config/quorvane/qorv.ini"))
                      return 1;
                  fs::permissions(dir.path(), fs::perms::owner_all);
                  return qv::locateIniFile(dir.path().string()) == dir.file("qorv.ini") ? 0 : 2;
              }),
              0);

    // Without a home: no settings file at all, and nothing made in a shared folder.
    if (::geteuid() != 0) GTEST_SKIP() << "a user without a passwd entry needs root";
    const std::string shared = "/tmp/.config/quorvane";
    const bool sharedBefore = fs::exists(shared);
    const int status = inChild([] {
        ::unsetenv("HOME");
        ::unsetenv("QUORVANE_INI");
        ::unsetenv("XDG_CONFIG_HOME");
        if (::setgid(54321) != 0 || ::setuid(54321) != 0) return 10;
        return qv::locateIniFile("").empty() ? 0 : 11;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(fs::exists(shared), sharedBefore);
}

TEST(IniFile, TheSettingsAreNeverWrittenThroughAnotherUsersLink) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a link to another user needs root";
    TempDir dir;
    const std::string victim = dir.file("victim.txt"), ini = dir.file("qorv.ini");
    writeText(victim, "23 bytes of the victim\n");
    fs::create_symlink(victim, ini);
    ASSERT_EQ(::lchown(ini.c_str(), 65534, 65534), 0);
    qv::IniFile file(ini);
    file.load();
    file.writeString("StatusBar", "1");
    const qv::WriteResult r = file.save();
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "a link of another user's is not followed");
    EXPECT_EQ(readText(victim), "23 bytes of the victim\n");

    // One's own link is followed as before.
    ASSERT_EQ(::lchown(ini.c_str(), 0, 0), 0);
    ASSERT_TRUE(file.save().ok);
    EXPECT_EQ(readText(victim).substr(0, 23), "23 bytes of the victim\n");
}

#endif

TEST(IniFile, LineEndsAreKeptAndNewLinesTakeTheFilesFirst) {
    TempDir dir;
    const std::string path = dir.file("qorv.ini");
    // Mixed ends, a last line without one, blank runs of both kinds.
    writeText(path, "[qorv]\r\nA=1\n\n\n\r\n\r\nB=2\rC=3");
    qv::IniFile ini(path);
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.text(), "[qorv]\r\nA=1\n\n\n\r\n\r\nB=2\rC=3");
    ini.writeString("A", "9");
    ini.writeString("C", "8");
    ini.writeString("D", "7");
    EXPECT_EQ(ini.text(), "[qorv]\r\nA=9\n\n\n\r\n\r\nB=2\rC=8\r\nD=7\r\n");
    EXPECT_EQ(ini.readString("d", ""), "7");

    // Loading what was saved gives the saved text again.
    ASSERT_TRUE(ini.save().ok);
    qv::IniFile again(path);
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.text(), readText(path));
    EXPECT_EQ(again.readString("B", ""), "2");
}

TEST(IniFile, AHugeFileIsReadInTimeAndMemoryOfItsSizeAndNeverGrownPastTheLimit) {
    TempDir dir;
    const std::string path = dir.file("qorv.ini");
    // 10 MB of blank lines, then the section: the blank lines cost one entry.
    std::string text(10'000'000, '\n');
    text += "[qorv]\nToolBar=1\n";
    writeText(path, text);
    qv::IniFile ini(path);
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readInt("ToolBar", 0), 1);
    ini.writeString("ToolBar", "2");
    ASSERT_TRUE(ini.save().ok);
    std::string want(10'000'000, '\n');
    want += "[qorv]\nToolBar=2\n";
    EXPECT_EQ(readText(path), want);

    // Past 16 MiB: not read, reported, never saved.
    writeText(path, std::string(16 * 1024 * 1024 + 1, '\n'));
    qv::IniFile large(path);
    EXPECT_FALSE(large.load());
    EXPECT_EQ(large.loadError(), "The settings file " + path +
                                     " is larger than 16 MiB and is not read; the defaults are "
                                     "used and nothing is saved to it.");
    large.writeString("A", "1");
    EXPECT_FALSE(large.save().ok);
    EXPECT_EQ(fs::file_size(path), 16u * 1024 * 1024 + 1);

    // Just under the limit: a save that would pass it is refused.
    writeText(path, std::string(16 * 1024 * 1024 - 4, '\n'));
    qv::IniFile nearLimit(path);
    ASSERT_TRUE(nearLimit.load());
    nearLimit.writeString("Key", "value");
    const qv::WriteResult r = nearLimit.save();
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "The settings file would be larger than 16 MiB, so it is left as it is.");
    EXPECT_EQ(fs::file_size(path), 16u * 1024 * 1024 - 4);
}

TEST(IniFile, ALongValueIsCutOnlyWhereTheProfileCallCutsIt) {
    TempDir dir;
    const std::string path = dir.file("qorv.ini");
    const std::string longValue = "/" + std::string(1100, 'p');
    writeText(path,
              "[qorv]\nRecent1=" + longValue + "\nNESFile1=" + longValue + "\nRecent2=/b.nes\n");
    qv::IniFile ini(path);
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString("Recent1", ""), longValue.substr(0, 1023)); // as Windows reads it
    EXPECT_EQ(ini.readWholeString("Recent1", "def "), longValue);
    EXPECT_EQ(ini.readWholeString("Recent2", ""), "/b.nes");
    EXPECT_EQ(ini.readWholeString("Missing", "x"), "x");

    // Long values are written whole, and read back whole.
    EXPECT_TRUE(ini.writeString("Recent2", std::string(1024, 'q')));
    ASSERT_TRUE(ini.save().ok);
    qv::IniFile again(path);
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.readWholeString("Recent2", ""), std::string(1024, 'q'));
    EXPECT_EQ(again.readWholeString("NESFile1", ""), longValue);
}
