#include "gui/main/platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include "gui/main/helpservice.h"

namespace qv {
namespace {

const QString kCaption = QStringLiteral("Quorvane");

class QtPlatform final : public Platform {
  public:
    void warn(QWidget* parent, const QString& text) override {
        QMessageBox::warning(parent, kCaption, displayText(text));
    }
    void error(QWidget* parent, const QString& text) override {
        QMessageBox::critical(parent, kCaption, displayText(text));
    }
    Answer ask(QWidget* parent, const QString& text, Buttons buttons) override {
        const auto set = buttons == Buttons::YesNo
                             ? QMessageBox::Yes | QMessageBox::No
                             : QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        QApplication::beep();
        switch (QMessageBox::question(parent, kCaption, displayText(text), set)) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
        }
    }
    QString openFile(QWidget* parent, const QString& title, const QString& initial,
                     const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, title, initialDir(initial), qtFilter(filter));
    }
    QString saveFile(QWidget* parent, const QString& title, const QString& initial,
                     const QString& filter, const QString& defaultSuffix) override {
        QFileDialog dlg(parent, title, initialDir(initial), qtFilter(filter));
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setDefaultSuffix(defaultSuffix);
        dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
        if (!initial.contains('*')) dlg.selectFile(initial);
        return dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty()
                   ? dlg.selectedFiles().first()
                   : QString();
    }
    bool startProgram(const QString& program, const QStringList& arguments) override {
        return QProcess::startDetached(program, arguments);
    }
    void openUrl(const QString& url) override { QDesktopServices::openUrl(QUrl(url)); }
    void showHelp(QWidget* parent, int context) override { HelpService::show(parent, context); }

  private:
    // "*.nes" in a folder means "start in that folder".
    static QString initialDir(const QString& initial) {
        if (initial.isEmpty()) return {};
        const QFileInfo fi(initial);
        return fi.fileName().contains('*') ? fi.absolutePath() : initial;
    }
    // The filters are given as "Text (*.x)|*.x|..."; Qt wants "Text (*.x);;...".
    static QString qtFilter(const QString& filter) {
        const QStringList parts = filter.split('|');
        QStringList out;
        // "*.*" means every file; here many programs have no extension at all.
        for (int i = 0; i < parts.size(); i += 2)
            out << QString(parts[i]).replace("(*.*)", "(*)");
        return out.join(";;");
    }
};

QtPlatform g_qt;
Platform* g_current = nullptr;

} // namespace

void Platform::inform(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, kCaption, displayText(text));
}

int Platform::runModal(QDialog& dialog) {
    return dialog.exec();
}

Platform& platform() {
    return g_current ? *g_current : g_qt;
}
void setPlatform(Platform* p) {
    g_current = p;
}

QString displayText(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

} // namespace qv
