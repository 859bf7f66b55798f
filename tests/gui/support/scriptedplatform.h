#pragma once
// A platform that answers prompts from a script, in order, and records every
// message and dialog. A prompt the test did not expect fails the test.
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "gui/main/platform.h"

namespace qv::test {

struct Shown {
    enum Kind {
        Warning,
        Error,
        Question,
        OpenDialog,
        SaveDialog,
        Help,
        Start,
        Url,
        Information,
        Modal
    } kind;
    QString text; // message text (with "\r\n"), dialog initial path, help context, program,
                  // a modal dialog's caption
    QStringList arguments;
};

class ScriptedPlatform final : public Platform {
  public:
    ScriptedPlatform();
    ~ScriptedPlatform() override;

    // Queue the answer to the next question / the path of the next file dialog.
    void answer(Answer a) { answers_.push_back(a); }
    void choosePath(const QString& path) { paths_.push_back(path); }
    // Queue what the user does in the next modal dialog: the driver clicks its
    // controls (OK or Cancel last); the dialog's result is then returned.
    void driveDialog(std::function<void(QDialog&)> driver) {
        drivers_.push_back(std::move(driver));
    }

    const std::vector<Shown>& shown() const { return shown_; }
    QStringList messages() const; // texts of warnings, errors, questions and reports, in order
    void clear() { shown_.clear(); }
    bool scriptUsedUp() const { return answers_.empty() && paths_.empty() && drivers_.empty(); }

    void warn(QWidget*, const QString& text) override;
    void error(QWidget*, const QString& text) override;
    void inform(QWidget*, const QString& text) override;
    Answer ask(QWidget*, const QString& text, Buttons buttons) override;
    QString openFile(QWidget*, const QString& title, const QString& initial,
                     const QString& filter) override;
    QString saveFile(QWidget*, const QString& title, const QString& initial, const QString& filter,
                     const QString& defaultSuffix) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;
    void openUrl(const QString& url) override;
    void showHelp(QWidget*, int context) override;
    int runModal(QDialog& dialog) override;

  private:
    std::deque<std::function<void(QDialog&)>> drivers_;
    std::deque<Answer> answers_;
    std::deque<QString> paths_;
    std::vector<Shown> shown_;
};

} // namespace qv::test
