#include <gtest/gtest.h>

#include <string>

#include "core/ini.h"
#include "core/recent.h"
#include "core/settings.h"
#include "support/testfiles.h"

namespace {

using qvtest::readText;
using qvtest::TempDir;

// An IniFile over the given text, as if read from disk.
qv::IniFile iniWith(const TempDir& dir, const std::string& text) {
    const std::string path = dir.file("qorv.ini");
    qvtest::writeText(path, text);
    qv::IniFile ini(path);
    EXPECT_TRUE(ini.load());
    return ini;
}

} // namespace

TEST(Settings, FreshStartWritesEveryKeyInOrderWithDefaults) {
    TempDir dir;
    qv::IniFile ini(dir.file("qorv.ini"));
    ASSERT_TRUE(ini.load());
    const qv::Settings s = qv::readSettings(ini);
    // The window position is not part of the text below.
    EXPECT_EQ(s.formTop, 100);
    EXPECT_EQ(s.formLeft, 100);

    qv::writeSettings(ini, s);
    ASSERT_TRUE(ini.save().ok);
    EXPECT_EQ(readText(dir.file("qorv.ini")),
              "[qorv]\r\n"
              "ToolBar=2\r\nAddress=2\r\nButton=2\r\nStatusBar=2\r\nTop=1\r\nSave=2\r\n"
              "Reload=1\r\nReset=2\r\nFullPath=1\r\nTimeCheck=2\r\nSaveEnabled=1\r\n"
              "IpsMaking=2\r\nIpsIdentity=2\r\nBackup=1\r\nAlTopOff=1\r\nUndoCheck=1\r\n"
              "MenuImage=2\r\nWriteCheck=2\r\nFormPos=1\r\nPallet=0\r\nMaxRecent=8\r\n"
              "IpsOpen=1\r\nIpsPatch=1\r\n"
              "Editor1=\r\nEditorMenu1=Start Editor 1 (&1)...\r\nEditorEx1=2\r\n"
              "Editor2=\r\nEditorMenu2=Start Editor 2 (&2)...\r\nEditorEx2=2\r\n"
              "Editor3=\r\nEditorMenu3=Start Editor 3 (&3)...\r\nEditorEx3=2\r\n"
              "Editor4=\r\nEditorMenu4=Start Editor 4 (&4)...\r\nEditorEx4=2\r\n"
              "NESFile1=\r\nNESFile2=\r\n");
}

TEST(Settings, FlagAndRangeRules) {
    TempDir dir;
    const qv::Settings s = qv::readSettings(
        iniWith(dir, "[qorv]\nToolBar=0\nButton=abc\nBackup=0\nTop=2\nAlTopOff=2\n"
                     "UndoCheck=7\nSave=-2\nMaxRecent=40\nPallet=7\nIpsOpen=3\n"
                     "IpsPatch=0\nFormTop=abc\nFormLeft=-20\nEditorEx2=1\nEditorEx3=0\n"
                     "EditorMenu1=\nEditor4=/usr/bin/ed\nNESFile2= /b.nes \n"));
    EXPECT_FALSE(s.toolBar); // only 2 means shown
    EXPECT_TRUE(s.button);   // not a number: the default
    EXPECT_TRUE(s.backup);   // only 1 means off
    EXPECT_TRUE(s.alTopOff);
    EXPECT_FALSE(s.top); // overruled by AlTopOff
    EXPECT_TRUE(s.undoCheck);
    EXPECT_FALSE(s.save);
    EXPECT_EQ(s.maxRecent, 8);
    EXPECT_EQ(s.paletteSource, 0);
    EXPECT_EQ(s.ipsOpen, 3);
    EXPECT_EQ(s.ipsPatch, 1);
    EXPECT_EQ(s.formTop, 100);
    EXPECT_EQ(s.formLeft, -20);
    EXPECT_TRUE(s.editors[0].passFile);
    EXPECT_FALSE(s.editors[1].passFile);
    EXPECT_FALSE(s.editors[2].passFile);
    EXPECT_EQ(s.editors[0].menu, ""); // present but empty stays empty
    EXPECT_EQ(s.editors[3].path, "/usr/bin/ed");
    EXPECT_EQ(s.nesFile[1], "/b.nes");

    const qv::Settings top =
        qv::readSettings(iniWith(dir, "[qorv]\nTop=2\nMaxRecent=32\nPallet=3\n"));
    EXPECT_TRUE(top.top);
    EXPECT_EQ(top.maxRecent, 32);
    EXPECT_EQ(top.paletteSource, 3);
}

TEST(Settings, WriteAllKeepsExistingLinesAndRoundTrips) {
    TempDir dir;
    qv::IniFile ini = iniWith(dir, "[qorv]\r\nMaxRecent=3\r\nRecent1=/a.nes\r\nToolBar=2\r\n");
    qv::Settings s;
    s.toolBar = false;
    s.maxRecent = 12;
    s.paletteSource = 2;
    s.top = true;
    s.editors[1] = {"/opt/tool", "Tool", false};
    s.nesFile = {"/base.nes", "/trainer.nes"};
    qv::writeSettings(ini, s);
    qv::writeWindowPosition(ini, -5, 640);
    ASSERT_TRUE(ini.save().ok);

    const std::string text = readText(ini.path());
    EXPECT_TRUE(text.starts_with(
        "[qorv]\r\nMaxRecent=12\r\nRecent1=/a.nes\r\nToolBar=1\r\nAddress=2\r\nButton=2\r\n"))
        << text;
    EXPECT_TRUE(text.ends_with("\r\nNESFile2=/trainer.nes\r\nFormTop=-5\r\nFormLeft=640\r\n"))
        << text;

    qv::IniFile again(ini.path());
    ASSERT_TRUE(again.load());
    qv::Settings expected = s;
    expected.formTop = -5;
    expected.formLeft = 640;
    EXPECT_EQ(qv::readSettings(again), expected);
}

TEST(Settings, EmulatorKeyIsWrittenOnceItIsUsed) {
    TempDir dir;
    qv::IniFile ini = iniWith(dir, "[qorv]\r\n");
    qv::Settings s = qv::readSettings(ini);
    EXPECT_EQ(s.emulator, "");
    qv::writeSettings(ini, s);
    EXPECT_TRUE(ini.text().ends_with("\r\nNESFile2=\r\n")) << ini.text(); // not yet

    s.emulator = "fceux --fullscreen 1 %f";
    qv::writeSettings(ini, s);
    EXPECT_TRUE(ini.text().ends_with("\r\nNESFile2=\r\nEmulator=fceux --fullscreen 1 %f\r\n"))
        << ini.text();
    EXPECT_EQ(qv::readSettings(ini).emulator, "fceux --fullscreen 1 %f");

    // Emptied again, the key stays and says so.
    s.emulator.clear();
    qv::writeSettings(ini, s);
    EXPECT_TRUE(ini.text().ends_with("\r\nNESFile2=\r\nEmulator=\r\n")) << ini.text();
    EXPECT_EQ(qv::readSettings(iniWith(dir, "[qorv]\nemulator= mednafen %f \n")).emulator,
              "mednafen %f");
}

TEST(RecentFiles, AddReadAndClear) {
    TempDir dir;
    qv::IniFile ini = iniWith(dir, "");
    for (const char* p : {"a", "b", "c", "d"})
        qv::addRecent(ini, p, 3);
    EXPECT_EQ(qv::readRecent(ini, 3), (std::vector<std::string>{"d", "c", "b"}));
    // One more than MaxRecent is kept in the file.
    EXPECT_EQ(ini.readString("Recent4", ""), "a");
    EXPECT_EQ(ini.readString("Recent5", "unset"), "");
    EXPECT_EQ(ini.readString("Recent32", "unset"), "");

    EXPECT_EQ(qv::addRecent(ini, "b", 3), (std::vector<std::string>{"b", "d", "c"}));
    EXPECT_EQ(qv::readRecent(ini, 3), (std::vector<std::string>{"b", "d", "c"}));
    EXPECT_EQ(ini.readString("Recent4", "unset"), "");

    // Exact comparison: another spelling is another file.
    EXPECT_EQ(qv::addRecent(ini, "B", 3), (std::vector<std::string>{"B", "b", "d", "c"}));

    // Paths that would not read back the same are not stored.
    const std::string before = ini.text();
    EXPECT_EQ(qv::addRecent(ini, "", 3), (std::vector<std::string>{"B", "b", "d"}));
    EXPECT_EQ(qv::addRecent(ini, "x\ny", 3), (std::vector<std::string>{"B", "b", "d"}));
    EXPECT_EQ(qv::addRecent(ini, " x", 3), (std::vector<std::string>{"B", "b", "d"}));
    EXPECT_EQ(ini.text(), before);

    EXPECT_TRUE(qv::addRecent(ini, "e", 0).empty());
    EXPECT_EQ(ini.readString("Recent1", "unset"), "");
    EXPECT_TRUE(qv::readRecent(ini, 8).empty());

    qv::addRecent(ini, "f", 8);
    qv::clearRecent(ini);
    EXPECT_EQ(ini.readString("Recent1", "unset"), "");
    EXPECT_EQ(ini.readString("Recent32", "unset"), "");
    EXPECT_EQ(ini.readString("Recent33", "unset"), "unset");
}

TEST(RecentFiles, ListStopsAtTheFirstGapAndAtThirtyTwo) {
    TempDir dir;
    std::string text = "[qorv]\n";
    for (int n = 1; n <= 32; ++n)
        text += "Recent" + std::to_string(n) + "=/f" + std::to_string(n) + "\n";
    qv::IniFile ini = iniWith(dir, text);
    const auto list = qv::addRecent(ini, "/new", 32);
    ASSERT_EQ(list.size(), 32u);
    EXPECT_EQ(list[0], "/new");
    EXPECT_EQ(list[31], "/f31");
    EXPECT_EQ(qv::readRecent(ini, 40).size(), 32u);

    qv::IniFile gap = iniWith(dir, "[qorv]\nRecent1=/a\nRecent2=\nRecent3=/c\n");
    EXPECT_EQ(qv::readRecent(gap, 8), (std::vector<std::string>{"/a"}));
    EXPECT_EQ(qv::addRecent(gap, "/n", 8), (std::vector<std::string>{"/n", "/a"}));
    EXPECT_EQ(gap.readString("Recent3", "unset"), "");
}

TEST(RecentFiles, Captions) {
    EXPECT_EQ(qv::recentCaption(1, "/x"), "&1 /x");
    EXPECT_EQ(qv::recentCaption(9, "/x"), "&9 /x");
    EXPECT_EQ(qv::recentCaption(10, "/x"), "10 /x");
    EXPECT_EQ(qv::recentCaption(32, "/a b"), "32 /a b");
}

TEST(RecentFiles, ALongPathIsReadAndWrittenWholeAndAnUnchangedLineStaysAsItWas) {
    TempDir dir;
    const std::string longPath = "/" + std::string(1100, 'p') + ".nes";
    qv::IniFile ini =
        iniWith(dir, "[qorv]\nRecent1=" + longPath + "\nRecent2=/b.nes\nNESFile1=" + longPath +
                         "\nEditor2 = \"/opt/my tool\" \n");
    EXPECT_EQ(qv::readRecent(ini, 8), (std::vector<std::string>{longPath, "/b.nes"}));
    EXPECT_EQ(qv::addRecent(ini, "/c.nes", 8),
              (std::vector<std::string>{"/c.nes", longPath, "/b.nes"}));
    EXPECT_EQ(ini.readWholeString("Recent2", ""), longPath);

    qv::Settings s = qv::readSettings(ini);
    EXPECT_EQ(s.nesFile[0], longPath);
    EXPECT_EQ(s.editors[1].path, "/opt/my tool");
    s.nesFile[1] = longPath;
    qv::writeSettings(ini, s);
    ASSERT_TRUE(ini.save().ok);
    const std::string text = readText(ini.path());
    EXPECT_NE(text.find("\nNESFile1=" + longPath + "\n"), std::string::npos);
    EXPECT_NE(text.find("\nNESFile2=" + longPath + "\n"), std::string::npos);
    // A key written with the value it holds keeps its line as the file had it.
    EXPECT_NE(text.find("\nEditor2 = \"/opt/my tool\" \n"), std::string::npos) << text;
}

TEST(Settings, PlayKeysAreWrittenOnceTheyDifferFromTheirDefaults) {
    TempDir dir;
    qv::IniFile ini = iniWith(dir, "[qorv]\r\n");
    qv::Settings s = qv::readSettings(ini);
    EXPECT_EQ(s.play.keys[3], "Right");
    EXPECT_EQ(s.play.keys[7], "Right Shift");
    EXPECT_EQ(s.play.scale, 2);
    qv::writeSettings(ini, s);
    EXPECT_TRUE(ini.text().ends_with("\r\nNESFile2=\r\n")) << ini.text(); // none yet

    s.play.keys[5] = "C";
    s.play.scale = 3;
    s.play.mute = true;
    s.play.core = "/opt/cores/fceumm_libretro.so";
    qv::writeSettings(ini, s);
    EXPECT_TRUE(ini.text().ends_with("\r\nNESFile2=\r\nPlayCore=/opt/cores/fceumm_libretro.so\r\n"
                                     "PlayKeyA=C\r\nPlayScale=3\r\nPlayMute=2\r\n"))
        << ini.text();
    EXPECT_EQ(qv::readSettings(ini), s);

    const qv::Settings odd = qv::readSettings(
        iniWith(dir, "[qorv]\nPlayScale=9\nPlayVolume=-1\nPlayKeyStart=\nPlayAspect=2\n"));
    EXPECT_EQ(odd.play.scale, 2);    // out of range: the default
    EXPECT_EQ(odd.play.volume, 80);  // the same
    EXPECT_EQ(odd.play.keys[6], ""); // no key for Start
    EXPECT_TRUE(odd.play.aspect);
}
