// The editor through sessions with faults: hostile files, other writers, full disks
// and signals. Whatever happens, no byte of the user's work is lost.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/fileio.h"
#include "gui/main/testplay.h"
#include "gui/support/fixtures.h"

using qv::Answer;
using qv::test::readFile;
using qv::test::readText;
using qv::test::Shown;
using qv::test::WindowFixture;
using qv::test::writeImage;
using qv::test::writeText;

namespace {

const QString kChangedOutside =
    QStringLiteral("The file has been modified by another program.\r\nDo you want to reload it?");

} // namespace

TEST(SessionFaults, ADeeplyNestedPresetIsRefusedAndTheUnsavedEditStays) {
    WindowFixture f;
    f.window->LoadNesFile(writeImage(f.path("g.nes"), 40976));
    f.edit(0x3454, 0x20);
    const QString deep = f.path("deep.json");
    writeText(deep, "{\"a\":" + QByteArray(100000, '[') + QByteArray(100000, ']') + ",\"b\":1}");
    f.platform.choosePath(deep);
    f.window->mmmImportParamsClick();
    ASSERT_EQ(f.platform.messages().size(), 1);
    EXPECT_EQ(f.platform.messages()[0],
              "The parameters in " + deep +
                  " were not imported; nothing has changed.\r\n\r\nnot a preset: it nests "
                  "deeper than the 3 levels of a preset");
    EXPECT_EQ(f.window->document().image()[0x3454], 0x20);
    EXPECT_TRUE(f.window->document().modified());
    EXPECT_EQ(f.window->findChild<QAction*>("mmmUndo")->text(), "&Undo (Mario)");
}
