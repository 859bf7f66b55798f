#include <QApplication>
#include <QDir>

#include "core/inipath.h"
#include "gui/main/mainwindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    const QString iniPath = QString::fromStdString(qv::locateIniFile(
        QDir(QCoreApplication::applicationDirPath()).absolutePath().toStdString()));
    qv::TForm1 window(iniPath, QCoreApplication::applicationFilePath());
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (!window.handleCommandLine(args)) return 0; // the command-line file failed to open
    window.FormShow();
    return app.exec();
}
