#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "gui/main/paths.h"
#include "gui/support/fixtures.h"

namespace {

void put32(QByteArray& b, int at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A shell link with only a header and a link-info block naming a local target.
QByteArray shellLink(const QByteArray& target) {
    QByteArray link(76, '\0');
    put32(link, 0, 0x4C);
    const unsigned char clsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                     0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    for (int i = 0; i < 16; ++i)
        link[4 + i] = static_cast<char>(clsid[i]);
    put32(link, 20, 0x02); // has link info
    QByteArray volume(16, '\0');
    put32(volume, 0, 17);
    put32(volume, 4, 3);   // fixed drive
    put32(volume, 12, 16); // label offset: the empty label that follows
    volume += '\0';
    QByteArray info(28, '\0');
    const int volumeAt = 28;
    const int pathAt = volumeAt + volume.size();
    const int suffixAt = pathAt + target.size() + 1;
    put32(info, 4, 28);
    put32(info, 8, 1); // volume and local base path
    put32(info, 12, static_cast<quint32>(volumeAt));
    put32(info, 16, static_cast<quint32>(pathAt));
    put32(info, 24, static_cast<quint32>(suffixAt));
    info += volume + target + '\0' + '\0';
    put32(info, 0, static_cast<quint32>(info.size()));
    return link + info;
}

} // namespace

TEST(Paths, ShortcutsResolveToTheirStoredTarget) {
    QTemporaryDir dir;
    const QString good = dir.filePath("game.LNK");
    qv::test::writeText(good, shellLink("C:\\roms\\game.nes"));
    EXPECT_EQ(qv::ResolveShortcut(good), "C:\\roms\\game.nes");

    // A link that cannot be read resolves to an empty path, which then fails as missing.
    const QString broken = dir.filePath("broken.lnk");
    qv::test::writeText(broken, "not a link at all");
    EXPECT_EQ(qv::ResolveShortcut(broken), "");
    EXPECT_EQ(qv::ResolveShortcut(dir.filePath("absent.lnk")), "");

    // Other paths pass unchanged; relative ones become absolute.
    EXPECT_EQ(qv::ResolveShortcut("/x/game.nes"), "/x/game.nes");
    EXPECT_EQ(qv::ExpandLongPath("rel/../game.nes"), QDir::current().filePath("game.nes"));
    EXPECT_EQ(qv::ExpandLongPath(""), "");
}

TEST(Paths, BrowseStartsAtTheTypedNameElseInTheProgramFolder) {
    EXPECT_EQ(qv::browseStart("/roms/game.nes", "*.nes"), "/roms/game.nes");
    EXPECT_EQ(qv::browseStart("", "*.ips"), QCoreApplication::applicationDirPath() + "/*.ips");
}
