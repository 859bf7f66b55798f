// qorv on files that could lose a user's data: hostile presets, files written by
// several programs at once, outputs that are inputs, links planted by other users,
// signals and limits during a write, and messages that name what they are about.
#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli/qorvrun.h"

using namespace qvtest;

namespace {

// EditMaZanki (lives) is the byte at 0x107A; EditMaWalk_R the byte at 0x3454.
Bytes zeroImage() {
    return Bytes(40976, 0);
}

} // namespace

TEST(QorvSafety, ADeeplyNestedPresetIsRefusedBeforeItIsReadNamingTheFile) {
    TempDir dir;
    const std::string game = dir.file("g.nes"), deep = dir.file("deep.json"),
                      fine = dir.file("fine.json");
    writeBytes(game, zeroImage());
    // 100,000 levels in 200 KB: the value is never built.
    writeText(deep, "{\"a\":" + std::string(100000, '[') + std::string(100000, ']') + ",\"b\":1}");
    Outcome r = qorv(dir, {"import", game, deep});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "qorv: " + deep + ": not a preset: it nests deeper than the 3 levels of a preset\n");
    EXPECT_EQ(readBytes(game), zeroImage());
    // Four levels are already more than a preset has.
    writeText(deep, R"({"format":"quorvane-preset","version":1,"parameters":[[{}]]})");
    r = qorv(dir, {"import", game, deep});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("nests deeper than the 3 levels"), std::string::npos) << r.err;

    // A preset at its own depth, with a source object beside the list, is taken.
    writeText(fine, R"({"format":"quorvane-preset","version":1,"source":{"name":"g.nes"},
                        "parameters":[{"control":"EditMaZanki","value":"5"}]})");
    r = qorv(dir, {"import", game, fine});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBytes(game)[0x107A], 0x04);
}

namespace {

// Starts argv without waiting; the caller waits for the process id.
pid_t start(std::vector<std::string> argv) {
    std::vector<char*> raw;
    for (std::string& a : argv)
        raw.push_back(a.data());
    raw.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, raw[0], &fa, nullptr, raw.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&fa);
    return pid;
}

int waitFor(pid_t pid) {
    int ws = 0;
    ::waitpid(pid, &ws, 0);
    return WIFEXITED(ws) ? WEXITSTATUS(ws) : -1;
}

std::vector<std::string> namesIn(const TempDir& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir.path()))
        out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

constexpr const char* kSetpriv = "/usr/bin/setpriv";

bool canRunAsOthers() {
    return ::geteuid() == 0 && ::access(kSetpriv, X_OK) == 0;
}

} // namespace

TEST(QorvSafety, TwoSetsOnOneFileAtOnceKeepBothChanges) {
    TempDir dir;
    const std::string game = dir.file("g.nes");
    // Each round starts from zero; one set writes the lives, the other the walk speed.
    for (int round = 0; round < 40; ++round) {
        writeBytes(game, zeroImage());
        const pid_t a = start({QORV_BINARY, "set", game, "EditMaZanki=9"});
        const pid_t b = start({QORV_BINARY, "set", game, "EditMaWalk_R=32"});
        ASSERT_EQ(waitFor(a), 0);
        ASSERT_EQ(waitFor(b), 0);
        const Bytes after = readBytes(game);
        ASSERT_EQ(after.size(), 40976u);
        EXPECT_EQ(after[0x107A], 0x08) << "round " << round;
        EXPECT_EQ(after[0x3454], 0x20) << "round " << round;
        if (HasFailure()) break;
    }
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"g.nes"});
}

TEST(QorvSafety, ASetWaitsForAnotherWritersLockAndWorksOnItsResult) {
    TempDir dir;
    const std::string game = dir.file("g.nes"), next = dir.file("next.nes");
    writeBytes(game, zeroImage());
    // Another writer holds the lock while it replaces the file by a new one.
    const int held = ::open(game.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    const pid_t set = start({QORV_BINARY, "set", game, "EditMaZanki=9"});
    ::usleep(300 * 1000);
    int ws = 0;
    EXPECT_EQ(::waitpid(set, &ws, WNOHANG), 0) << "set did not wait for the lock";
    Bytes other = zeroImage();
    other[0x3454] = 0x20;
    writeBytes(next, other);
    ASSERT_EQ(::rename(next.c_str(), game.c_str()), 0);
    ::close(held);
    EXPECT_EQ(waitFor(set), 0);
    const Bytes after = readBytes(game);
    EXPECT_EQ(after[0x107A], 0x08);
    EXPECT_EQ(after[0x3454], 0x20);
}

TEST(QorvSafety, AnOutputThatIsAnInputIsRefusedForEveryCommand) {
    TempDir dir;
    const std::string game = dir.file("g.nes"), preset = dir.file("p.json");
    writeBytes(game, zeroImage());
    const std::string presetText =
        R"({"format":"quorvane-preset","version":1,"parameters":[{"control":"EditMaZanki","value":"5"}]})";
    writeText(preset, presetText);
    fs::create_symlink("p.json", dir.path() / "alias.json");

    Outcome r = qorv(dir, {"export", game, "-o", game});
    EXPECT_EQ(r.status, 64);
    EXPECT_EQ(r.err, "qorv: -o would replace the input " + game + "\n");
    for (const std::string& out : {preset, dir.file("alias.json")}) {
        r = qorv(dir, {"import", game, preset, "-o", out});
        EXPECT_EQ(r.status, 64) << out;
        EXPECT_EQ(r.err, "qorv: -o would replace the input " + preset + "\n");
    }
    EXPECT_EQ(readBytes(game), zeroImage());
    EXPECT_EQ(readText(preset), presetText);

    // The image itself as -o is the same as leaving -o out.
    r = qorv(dir, {"import", game, preset, "-o", game});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBytes(game)[0x107A], 0x04);
    r = qorv(dir, {"set", game, "EditMaZanki=7", "-o", game});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBytes(game)[0x107A], 0x06);
}

TEST(QorvSafety, ALinkOfAnotherUserInAStickyFolderIsNotFollowed) {
    if (!canRunAsOthers()) GTEST_SKIP() << "needs root to give a link to another user";
    TempDir dir;
    const std::string game = dir.file("g.nes"), victim = dir.file("victim.txt");
    writeBytes(game, zeroImage());
    writeText(victim, "precious\n");
    fs::create_directory(dir.path() / "sticky");
    ::chmod(dir.file("sticky").c_str(), 01777);
    const std::string planted = dir.file("sticky/out.nes");
    fs::create_symlink(victim, planted);
    ASSERT_EQ(::lchown(planted.c_str(), 65534, 65534), 0);

    Outcome r = qorv(dir, {"set", game, "EditMaZanki=9", "-o", planted});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "qorv: cannot write " + planted +
                         ": a link of another user's in a folder anyone may write is not "
                         "followed\n");
    EXPECT_EQ(readText(victim), "precious\n");
    EXPECT_TRUE(fs::is_symlink(planted));

    // The folder's owner's link, and one's own, are followed as the kernel follows them.
    ASSERT_EQ(::lchown(planted.c_str(), 0, 0), 0);
    fs::remove(victim);
    r = qorv(dir, {"set", game, "EditMaZanki=9", "-o", planted});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBytes(victim)[0x107A], 0x08);
}

TEST(QorvSafety, SignalsAndFileSizeLimitsLeaveNoTemporaryFile) {
    TempDir dir;
    const std::string game = dir.file("g.nes");
    writeBytes(game, zeroImage());
    // 20 blocks of 1,024 bytes: the image does not fit.
    const Outcome r =
        runProgram(dir, {"/bin/sh", "-c", "ulimit -f 20; exec \"$0\" set \"$1\" EditMaZanki=9",
                         QORV_BINARY, game});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "qorv: cannot write " + game + ": File too large\n");
    EXPECT_EQ(readBytes(game), zeroImage());
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"g.nes"});
}

TEST(QorvSafety, AReportThatCannotBeWrittenLeavesTheImageAlone) {
    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    TempDir dir;
    const std::string game = dir.file("g2.nes"), preset = dir.file("p.json");
    writeBytes(game, zeroImage());
    writeText(preset, R"({"format":"quorvane-preset","version":1,
                          "parameters":[{"control":"EditMaZanki","value":"5"}]})");
    const Outcome r = runProgram(dir, {QORV_BINARY, "import", game, preset}, "/dev/full");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "qorv: nothing was written to " + game +
                         ", as the report could not be written\n"
                         "qorv: cannot write standard output: No space left on device\n");
    EXPECT_EQ(readBytes(game), zeroImage());
    const Outcome help = qorv(dir, {"import", "--help"});
    EXPECT_NE(help.out.find("when standard output cannot be written, nothing is written"),
              std::string::npos)
        << help.out;
}

TEST(QorvSafety, AGroupMembersSetKeepsTheFilesOwner) {
    if (!canRunAsOthers()) GTEST_SKIP() << "needs root to run qorv as a member of a group";
    TempDir dir;
    fs::permissions(dir.path(), fs::perms::all);
    const std::string game = dir.file("shared.nes");
    writeBytes(game, zeroImage());
    constexpr gid_t kGroup = 4242;
    ASSERT_EQ(::chown(game.c_str(), 0, kGroup), 0);
    ::chmod(game.c_str(), 0664);
    const Outcome r = runProgram(dir, {kSetpriv, "--reuid=65534", "--regid=65534", "--groups=4242",
                                       QORV_BINARY, "set", game, "EditMaZanki=9"});
    ASSERT_EQ(r.status, 0) << r.err;
    struct stat st {};
    ASSERT_EQ(::stat(game.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(st.st_gid, kGroup);
    EXPECT_EQ(st.st_mode & 07777, 0664u);
    EXPECT_EQ(readBytes(game)[0x107A], 0x08);
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"shared.nes"});
}

TEST(QorvSafety, TheFolderIsSyncedAfterTheRename) {
    if (::access("/usr/bin/strace", X_OK) != 0) GTEST_SKIP() << "no strace";
    TempDir dir;
    const std::string game = dir.file("g.nes"), log = dir.file("trace.log");
    writeBytes(game, zeroImage());
    const Outcome r = runProgram(dir, {"/usr/bin/strace", "-f", "-y", "-o", log, "-e",
                                       "trace=fsync,rename,renameat,renameat2", QORV_BINARY, "set",
                                       game, "EditMaZanki=9"});
    if (r.status != 0 && readText(log).empty()) GTEST_SKIP() << "strace cannot trace here";
    ASSERT_EQ(r.status, 0) << r.err;
    // The temporary file is synced, renamed over the image, and then the folder is.
    std::istringstream trace(readText(log));
    bool renamed = false, folderSynced = false;
    for (std::string line; std::getline(trace, line);) {
        renamed = renamed || line.find("rename") != std::string::npos;
        folderSynced =
            folderSynced || (renamed && line.find("fsync(") != std::string::npos &&
                             line.find("<" + dir.path().string() + ">)") != std::string::npos);
    }
    EXPECT_TRUE(renamed) << readText(log);
    EXPECT_TRUE(folderSynced) << readText(log);
}

TEST(QorvSafety, EveryMessageAboutAFileNamesItAndSaysWhatItIs) {
    TempDir dir;
    const std::string patch = dir.file("p.ips"), ini = dir.file("qorv.ini");
    writeBytes(patch, {'P', 'A', 'T', 'C', 'H', 0x00, 0x10, 0x7A, 0x00, 0x01, 0x04, 'E', 'O', 'F'});
    const std::string missing = dir.file("missing.nes"), folder = dir.file("folder.nes"),
                      fifo = dir.file("fifo.nes"), loop = dir.file("loop.nes");
    fs::create_directory(folder);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_symlink("loop.nes", loop);

    // The base named by the settings file is named when it cannot be used.
    ::setenv("QUORVANE_INI", ini.c_str(), 1);
    const std::vector<std::pair<std::string, std::string>> bases{
        {missing, "The file does not exist."},
        {folder, "is a folder, not a file"},
        {fifo, "is a FIFO (named pipe), not a file"},
        {loop, "is a loop of links"}};
    for (const auto& [base, what] : bases) {
        writeText(ini, "[qorv]\r\nNESFile1=" + base + "\r\n");
        const Outcome r = qorv(dir, {"ips", "explain", patch});
        EXPECT_EQ(r.status, 2) << base;
        EXPECT_EQ(r.err, "qorv: " + base + ": " + what + "\n");
    }
    ::unsetenv("QUORVANE_INI");

    // The same for the image of any command, and for a preset.
    for (const auto& [path, what] : bases) {
        Outcome r = qorv(dir, {"info", path});
        EXPECT_EQ(r.status, 2) << path;
        EXPECT_EQ(r.err, "qorv: " + path + ": " + what + "\n");
    }
    writeBytes(dir.file("g.nes"), zeroImage());
    Outcome r = qorv(dir, {"import", dir.file("g.nes"), folder});
    EXPECT_EQ(r.err, "qorv: " + folder + ": is a folder, not a file\n");
}

TEST(QorvSafety, MessagesAreOneLineEachAndLimitsAreNamed) {
    TempDir dir;
    const std::string game = dir.file("g.nes");
    writeBytes(game, zeroImage());

    // A value with a line break is one message on one line.
    Outcome r = qorv(dir, {"set", game, "EditMaWalk_R=1\n2"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find("EditMaWalk_R=1\\n2"), std::string::npos) << r.err;

    // A preset past its limit says so.
    const std::string huge = dir.file("huge.json");
    { std::ofstream(huge) << std::string((16u << 20) + 1, ' '); }
    r = qorv(dir, {"import", game, huge});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "qorv: " + huge + ": too large (limit 16 MiB)\n");

    // A patch past its limit says so, and the help states the limit.
    const std::string bigPatch = dir.file("big.ips");
    { std::ofstream(bigPatch) << "PATCH"; }
    fs::resize_file(bigPatch, (64u << 20) + 1);
    r = qorv(dir, {"ips", "show", bigPatch});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "qorv: " + bigPatch + ": too large (limit 64 MiB)\n");
    r = qorv(dir, {"ips", "--help"});
    EXPECT_NE(r.out.find("PATCH may be up to 64 MiB"), std::string::npos) << r.out;

    // A name that starts with "-" is not an option: the message says how to name it.
    writeBytes(dir.file("-x.nes"), zeroImage());
    r = qorv(dir, {"info", "-x.nes"});
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.err.find("qorv info -- -x.nes"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("./-x.nes"), std::string::npos) << r.err;

    // "-o -" is standard output for a preset and refused for an image.
    r = qorv(dir, {"set", game, "EditMaZanki=9", "-o", "-"});
    EXPECT_EQ(r.status, 64);
    EXPECT_EQ(r.err, "qorv: -o -: the result is not written to standard output; name a file "
                     "(./- for one named \"-\")\n");
    r = qorv(dir, {"export", game, "-o", "-"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("quorvane-preset"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.file("-")));
    EXPECT_EQ(readBytes(game), zeroImage());

    // diff: 1 means the images differ, never a command line that does not parse.
    Bytes other = zeroImage();
    other[0x107A] = 0x08;
    writeBytes(dir.file("o.nes"), other);
    EXPECT_EQ(qorv(dir, {"diff", game, dir.file("o.nes")}).status, 1);
    EXPECT_EQ(qorv(dir, {"diff", game}).status, 64);
    EXPECT_EQ(qorv(dir, {"diff", game, dir.file("o.nes"), "--bogus"}).status, 64);
    r = qorv(dir, {"--help"});
    for (const char* code : {"0 ", "1 ", "2 ", "64 "})
        EXPECT_NE(r.out.find(std::string("\n  ") + code), std::string::npos) << code << r.out;
}
