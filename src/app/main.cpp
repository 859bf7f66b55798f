#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstring>

#include "core/inipath.h"
#include "core/version.h"
#include "gui/main/deferredicons.h"
#include "gui/main/firstpaint.h"
#include "gui/main/mainwindow.h"

namespace {

// Quits once the window has been painted for the first time, for the start-up
// benchmark. Not offered in any help text.
constexpr auto kQuitAfterShow = "--quit-after-show";

constexpr const char* kUsage =
    "Usage: quorvane [GAME.nes | PATCH.ips] [MORE FILES...]\n"
    "Edits the game parameters of a Super Mario Bros. image (.nes, 40,976 or 41,488 bytes).\n"
    "The first file opens in this window (a patch starts applying it); each further file\n"
    "opens in a new window.\n"
    "\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n";

} // namespace

int main(int argc, char** argv) {
    // Answered before any window system is needed, so they work without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("quorvane %.*s\n", static_cast<int>(qv::kVersion.size()), qv::kVersion.data());
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    // The platform's style, taken over by the proxy (which becomes its parent).
    QApplication::setStyle(new qv::DeferredIconStyle(QApplication::style()));
    QApplication::setApplicationVersion(
        QString::fromUtf8(qv::kVersion.data(), static_cast<qsizetype>(qv::kVersion.size())));
    // Lets the desktop match the windows with the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("quorvane"));
    const QString iniPath = QString::fromStdString(qv::locateIniFile(
        QDir(QCoreApplication::applicationDirPath()).absolutePath().toStdString()));
    qv::TForm1 window(iniPath, QCoreApplication::applicationFilePath());
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const bool quitAfterShow = args.removeAll(QLatin1String(kQuitAfterShow)) > 0;
    if (!window.handleCommandLine(args)) return 0; // the command-line file failed to open
    if (quitAfterShow) window.installEventFilter(new qv::QuitAfterFirstPaint(&window));
    window.FormShow();
    return app.exec();
}
