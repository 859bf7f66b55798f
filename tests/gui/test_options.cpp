#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>
#include <gtest/gtest.h>

#include "core/ini.h"
#include "gui/main/placement.h"
#include "gui/settings/optionsdialog.h"
#include "gui/support/printqstring.h"
#include "gui/support/scriptedplatform.h"

using namespace qv;
using qv::test::ScriptedPlatform;
using qv::test::Shown;

namespace {

class OptionsTest : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir.path() + "/" + name; }
    QString makeFile(const QString& name, qint64 size) const {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(size, '\0'));
        return f.fileName();
    }
    QString iniPath() const { return path("qorv.ini"); }
    void writeIni(const QByteArray& text) const {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    std::string iniValue(const char* key) const {
        IniFile ini(iniPath().toStdString());
        ini.load();
        return ini.readString(key, "<absent>");
    }
    template <class T> T* find(const char* name) {
        T* w = dlg.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QLineEdit* edit(const char* name) { return find<QLineEdit>(name); }
    Settings stored() {
        Settings s;
        dlg.store(s);
        return s;
    }

    QTemporaryDir dir;
    ScriptedPlatform platform;
    TFormOption dlg{iniPath()};
};

TEST_F(OptionsTest, RecentCountFromTheEditAndItsArrows) {
    dlg.load(Settings{});
    EXPECT_EQ(edit("EditRecent")->text(), "8");
    EXPECT_EQ(edit("EditRecent")->maxLength(), 2);
    const std::pair<const char*, int> cases[] = {{"33", 8}, {"abc", 8}, {"32", 32}, {"0", 0},
                                                 {"-1", 8}, {"", 8},    {"05", 5}};
    for (const auto& [text, expected] : cases) {
        edit("EditRecent")->setText(text);
        EXPECT_EQ(stored().maxRecent, expected) << text;
    }

    // The arrows wrap at 0 and 32 and step from what was typed.
    edit("EditRecent")->setText("32");
    find<QToolButton>("UdRecentUp")->click();
    EXPECT_EQ(edit("EditRecent")->text(), "0");
    find<QToolButton>("UdRecentDown")->click();
    EXPECT_EQ(edit("EditRecent")->text(), "32");
    edit("EditRecent")->setText("5");
    find<QToolButton>("UdRecentDown")->click();
    EXPECT_EQ(edit("EditRecent")->text(), "4");
    // Text that is no number leaves the arrows where they were.
    edit("EditRecent")->setText("x");
    find<QToolButton>("UdRecentUp")->click();
    EXPECT_EQ(edit("EditRecent")->text(), "5");
    EXPECT_EQ(edit("EditRecent")->selectedText(), "5");
}

TEST_F(OptionsTest, BaseFilesAreCheckedAtOk) {
    dlg.load(Settings{});
    EXPECT_TRUE(dlg.FormCloseQuery()); // both empty

    edit("EditNes1")->setText(makeFile("base.bin", 40976));
    find<QPushButton>("BtnOk")->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected); // still open, not accepted
    EXPECT_EQ(platform.messages(), QStringList{"Unable to create NES file (40,976 bytes)."});

    platform.clear();
    edit("EditNes1")->setText(path("missing.nes"));
    EXPECT_FALSE(dlg.FormCloseQuery());
    edit("EditNes1")->setText(makeFile("short.nes", 40975));
    EXPECT_FALSE(dlg.FormCloseQuery());
    edit("EditNes1")->setText(makeFile("trainer.nes", 41488));
    EXPECT_FALSE(dlg.FormCloseQuery());
    EXPECT_EQ(platform.messages(), QStringList(3, "Unable to create NES file (40,976 bytes)."));

    platform.clear();
    edit("EditNes1")->setText(makeFile("good.NeS", 40976));
    EXPECT_TRUE(dlg.FormCloseQuery());
    edit("EditNes2")->setText(makeFile("t.nes", 41487));
    EXPECT_FALSE(dlg.FormCloseQuery());
    EXPECT_EQ(platform.messages(), QStringList{"Unable to create NES file (41,488 bytes)."});

    platform.clear();
    edit("EditNes2")->setText(makeFile("t.NES", 41488));
    find<QPushButton>("BtnOk")->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(platform.messages().isEmpty());
}

TEST_F(OptionsTest, DeleteHistoryClearsTheRecentKeysAtOnce) {
    writeIni("[qorv]\r\nRecent1=/a.nes\r\nRecent2=/b.nes\r\nRecent32=/z.nes\r\nSave=1\r\n");
    dlg.load(Settings{});
    dlg.FormShow();
    QPushButton* del = find<QPushButton>("BtnHistDel");
    EXPECT_TRUE(del->isEnabled());

    platform.answer(Answer::No);
    del->click();
    EXPECT_EQ(iniValue("Recent1"), "/a.nes");
    EXPECT_TRUE(del->isEnabled());

    platform.answer(Answer::Yes);
    del->click();
    dlg.reject();
    EXPECT_EQ(platform.messages(), QStringList(2, "Clear the recently opened file history?"));
    EXPECT_EQ(iniValue("Recent1"), "");
    EXPECT_EQ(iniValue("Recent2"), "");
    EXPECT_EQ(iniValue("Recent32"), "");
    EXPECT_EQ(iniValue("Save"), "1");
    EXPECT_FALSE(del->isEnabled());

    // An empty first entry: nothing to delete.
    TFormOption again(iniPath());
    again.FormShow();
    EXPECT_FALSE(again.findChild<QPushButton*>("BtnHistDel")->isEnabled());
}

TEST_F(OptionsTest, DroppedFiles) {
    dlg.load(Settings{});
    edit("EditNes1")->setText("/old.nes");
    dlg.dropFile(path("notes.txt"), 1);
    EXPECT_EQ(platform.messages(), QStringList{"Only NES files may be used."});
    EXPECT_EQ(edit("EditNes1")->text(), "/old.nes");

    dlg.dropFile(path("game.NES"), 2);
    EXPECT_EQ(edit("EditNes2")->text(), path("game.NES"));

    edit("EditMn2")->clear();
    dlg.dropFile(path("tiles.exe"), 12);
    EXPECT_EQ(edit("EditEd2")->text(), path("tiles.exe"));
    EXPECT_EQ(edit("EditMn2")->text(), "tiles.exe");
    dlg.dropFile(path("hex"), 12); // a caption already there stays
    EXPECT_EQ(edit("EditEd2")->text(), path("hex"));
    EXPECT_EQ(edit("EditMn2")->text(), "tiles.exe");

    // A shortcut that cannot be read names no file and changes nothing.
    edit("EditEd3")->setText("/bin/old");
    dlg.dropFile(makeFile("broken.lnk", 10), 13);
    EXPECT_EQ(edit("EditEd3")->text(), "/bin/old");
    dlg.dropFile(path("game.nes"), 0);
    EXPECT_EQ(edit("EditNes1")->text(), "/old.nes");
    EXPECT_EQ(platform.messages().size(), 1);

    // The target is the group under the mouse when the file is dropped.
    dlg.setPages({3, 0});
    dlg.FormShow();
    dlg.show();
    auto drop = [this](QWidget* over, const QString& file) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(file)});
        const QPoint at = over->mapTo(&dlg, over->rect().center());
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&dlg, &enter);
        QDropEvent event(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&dlg, &event);
    };
    drop(edit("EditNes1"), path("one.nes"));
    EXPECT_EQ(edit("EditNes1")->text(), path("one.nes"));
    EXPECT_EQ(dlg.focusWidget(), edit("EditNes1"));
    drop(find<QWidget>("LabNes2"), path("two.nes"));
    EXPECT_EQ(edit("EditNes2")->text(), path("two.nes"));
    drop(find<QWidget>("BtnOk"), path("three.nes"));
    EXPECT_EQ(edit("EditNes1")->text(), path("one.nes"));
    EXPECT_EQ(edit("EditNes2")->text(), path("two.nes"));

    dlg.setPages({4, 3});
    drop(find<QWidget>("ChkEd4"), path("pal.exe"));
    EXPECT_EQ(edit("EditEd4")->text(), path("pal.exe"));
    EXPECT_EQ(platform.messages().size(), 1);
}

TEST_F(OptionsTest, BrowseButtons) {
    dlg.load(Settings{});
    edit("EditMn2")->clear();
    platform.choosePath("/opt/tools/tiles.exe");
    find<QPushButton>("BtnEd2")->click();
    EXPECT_EQ(edit("EditEd2")->text(), "/opt/tools/tiles.exe");
    EXPECT_EQ(edit("EditMn2")->text(), "tiles.exe");

    platform.choosePath(""); // Cancel
    find<QPushButton>("BtnEd2")->click();
    EXPECT_EQ(edit("EditEd2")->text(), "/opt/tools/tiles.exe");

    platform.choosePath("/roms/base.bin"); // checked only at OK
    find<QPushButton>("BtnNes1")->click();
    EXPECT_EQ(edit("EditNes1")->text(), "/roms/base.bin");
    platform.choosePath("/roms/x.nes");
    find<QPushButton>("BtnNes1")->click();

    std::vector<QString> initial;
    for (const Shown& s : platform.shown())
        if (s.kind == Shown::OpenDialog) initial.push_back(s.text);
    const QString app = QCoreApplication::applicationDirPath();
    EXPECT_EQ(initial, (std::vector<QString>{app + "/*.exe", "/opt/tools/tiles.exe", app + "/*.nes",
                                             "/roms/base.bin"}));
    EXPECT_TRUE(platform.scriptUsedUp());
}

TEST_F(OptionsTest, SettingsRoundTripThroughTheControls) {
    // Each check box shows its own key.
    const std::pair<const char*, bool Settings::*> boxes[] = {
        {"ChkSaveChk", &Settings::save},          {"ChkReloadChk", &Settings::reload},
        {"ChkUndoChk", &Settings::undoCheck},     {"ChkResetChk", &Settings::reset},
        {"ChkAdrsWrtChk", &Settings::writeCheck}, {"ChkIpsIdentity", &Settings::ipsIdentity},
        {"ChkIpsMaking", &Settings::ipsMaking},   {"ChkFormPos", &Settings::formPos},
        {"ChkAlTopOff", &Settings::alTopOff},     {"ChkSaveEnabled", &Settings::saveEnabled},
        {"ChkFullPath", &Settings::fullPath},     {"ChkBackup", &Settings::backup},
        {"ChkTimeCheck", &Settings::timeCheck},   {"ChkMenuImg", &Settings::menuImage}};
    for (const auto& [flipped, member] : boxes) {
        Settings s;
        s.*member = !(s.*member);
        dlg.load(s);
        for (const auto& [name, other] : boxes)
            EXPECT_EQ(find<QCheckBox>(name)->isChecked(), s.*other) << flipped << " " << name;
    }

    Settings s;
    for (const auto& [name, member] : boxes)
        s.*member = !(s.*member);
    s.paletteSource = 2;
    s.maxRecent = 3;
    s.nesFile = {"/roms/base.nes", "/roms/trainer.nes"};
    s.editors = {{{"/bin/a", "Tiles", false},
                  {"/bin/b", "", true},
                  {"/bin/c", "Hex (&H)", false},
                  {"", "Fourth", false}}};
    // Keys the dialog does not show come back untouched.
    s.toolBar = false;
    s.top = true;
    s.ipsOpen = 3;
    s.ipsPatch = 2;
    s.formTop = 5;
    s.formLeft = 6;

    dlg.load(s);
    EXPECT_EQ(find<QComboBox>("CmbPallet")->currentText(), "Quorvane");
    EXPECT_EQ(edit("EditEd3")->text(), "/bin/c");
    EXPECT_EQ(edit("EditMn3")->text(), "Hex (&H)");
    // The "&" is explained beside the caption: the menu shows an underlined H.
    EXPECT_EQ(find<QLabel>("LabMnShown3")->text(), "In the Tools menu: Hex (<u>H</u>)");
    edit("EditMn3")->setText("R&&D <&x>&");
    EXPECT_EQ(find<QLabel>("LabMnShown3")->text(), "In the Tools menu: R&amp;D &lt;<u>x</u>&gt;");
    edit("EditMn3")->setText("Hex (&H)");
    EXPECT_FALSE(find<QCheckBox>("ChkEd3")->isChecked());
    EXPECT_EQ(edit("EditNes2")->text(), "/roms/trainer.nes");
    Settings out = s;
    dlg.store(out);
    EXPECT_EQ(out, s);

    // Into a default set, every shown key is written.
    Settings fresh;
    dlg.store(fresh);
    fresh.toolBar = s.toolBar;
    fresh.top = s.top;
    fresh.ipsOpen = s.ipsOpen;
    fresh.ipsPatch = s.ipsPatch;
    fresh.formTop = s.formTop;
    fresh.formLeft = s.formLeft;
    EXPECT_EQ(fresh, s);

    // Source 3 has no entry in the list and is kept.
    s.paletteSource = 3;
    dlg.load(s);
    EXPECT_EQ(find<QComboBox>("CmbPallet")->currentIndex(), -1);
    out = s;
    dlg.store(out);
    EXPECT_EQ(out.paletteSource, 3);

    EXPECT_EQ(defaultEditorCaptionAfterOptions(2), "Start Editor2(&2)...");
}

TEST_F(OptionsTest, ContextHelpOpensEachControlsTopic) {
    const std::pair<const char*, int> controls[] = {
        {"ChkSaveChk", 7001}, {"ChkIpsMaking", 7007}, {"ChkFormPos", 7101}, {"ChkMenuImg", 7107},
        {"EditRecent", 7202}, {"UdRecentUp", 7202},   {"BtnHistDel", 7203}, {"CmbPallet", 7201},
        {"EditNes1", 7301},   {"BtnNes2", 7302},      {"EditEd1", 7402},    {"ChkEd1", 7403},
        {"EditMn1", 7401},    {"BtnEd3", 7018},       {"ChkEd4", 7019},     {"EditMn2", 7017},
        {"BtnOk", 501},       {"BtnCancel", 502},     {"BtnHelp", 503}};
    QStringList expected;
    for (const auto& [name, context] : controls) {
        QHelpEvent query(QEvent::QueryWhatsThis, {1, 1}, {1, 1});
        QCoreApplication::sendEvent(find<QWidget>(name), &query);
        EXPECT_TRUE(query.isAccepted()) << name;
        QHelpEvent help(QEvent::WhatsThis, {1, 1}, {1, 1});
        QCoreApplication::sendEvent(find<QWidget>(name), &help);
        expected << QString::number(context);
    }
    find<QPushButton>("BtnHelp")->click();
    expected << "7000";

    QStringList topics;
    for (const Shown& s : platform.shown())
        if (s.kind == Shown::Help) topics << s.text;
    EXPECT_EQ(topics, expected);
}

TEST(OptionsPlacement, CentredOverTheOwnerAndKeptInTheWorkArea) {
    const QRect area(0, 0, 1024, 768);
    EXPECT_EQ(placeOver({100, 100, 400, 300}, {200, 101}, area), QPoint(200, 200));
    // Near the right edge: pushed left so that it stays inside.
    EXPECT_EQ(placeOver({900, 600, 200, 100}, {300, 200}, area), QPoint(724, 550));
    // Larger than the area: the top-left corner stays visible.
    EXPECT_EQ(placeOver({0, 0, 100, 100}, {2000, 1000}, {10, 20, 1000, 700}), QPoint(10, 20));
}

} // namespace
