#pragma once
// The services the editor asks of the desktop: message boxes, file dialogs,
// starting programs, help. Tests replace it with a scripted one.
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace qv {

enum class Answer { Ok, Yes, No, Cancel };
enum class Buttons { YesNo, YesNoCancel };

class Platform {
  public:
    virtual ~Platform() = default;
    // Caption "Quorvane", warning icon, OK.
    virtual void warn(QWidget* parent, const QString& text) = 0;
    // An error the editor could not handle (a write that failed): caption "Quorvane", error icon.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // A report of success: caption "Quorvane", information icon, OK.
    virtual void inform(QWidget* parent, const QString& text);
    // Caption "Quorvane", question icon.
    virtual Answer ask(QWidget* parent, const QString& text, Buttons buttons) = 0;
    // The chosen path, or empty on Cancel. `initial` may name a file or a "*.ext" in a folder.
    virtual QString openFile(QWidget* parent, const QString& title, const QString& initial,
                             const QString& filter) = 0;
    // Save dialog with overwrite prompt; `defaultSuffix` is added when none is typed.
    virtual QString saveFile(QWidget* parent, const QString& title, const QString& initial,
                             const QString& filter, const QString& defaultSuffix) = 0;
    // Starts a program with an argument list (never a shell command line).
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
    virtual void openUrl(const QString& url) = 0;
    // Help at a context number; 0 opens the contents and index.
    virtual void showHelp(QWidget* parent, int context) = 0;
    // Shows a prepared dialog modally; returns its result (QDialog::Accepted or Rejected).
    virtual int runModal(QDialog& dialog);
};

// The platform the running editor uses (the Qt one unless a test installed another).
Platform& platform();
void setPlatform(Platform* p); // nullptr restores the Qt one

// Message texts keep their "\r\n" line breaks as given; this turns them into what Qt shows.
QString displayText(const QString& text);

} // namespace qv
