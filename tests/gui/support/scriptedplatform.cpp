#include "gui/support/scriptedplatform.h"

#include <QDialog>
#include <gtest/gtest.h>

namespace qv::test {

ScriptedPlatform::ScriptedPlatform() {
    setPlatform(this);
}
ScriptedPlatform::~ScriptedPlatform() {
    setPlatform(nullptr);
}

QStringList ScriptedPlatform::messages() const {
    QStringList out;
    for (const Shown& s : shown_)
        if (s.kind == Shown::Warning || s.kind == Shown::Error || s.kind == Shown::Question ||
            s.kind == Shown::Information)
            out << s.text;
    return out;
}

void ScriptedPlatform::warn(QWidget*, const QString& text) {
    shown_.push_back({Shown::Warning, text, {}});
}

void ScriptedPlatform::error(QWidget*, const QString& text) {
    shown_.push_back({Shown::Error, text, {}});
}

void ScriptedPlatform::inform(QWidget*, const QString& text) {
    shown_.push_back({Shown::Information, text, {}});
}

Answer ScriptedPlatform::ask(QWidget*, const QString& text, Buttons buttons) {
    shown_.push_back({Shown::Question, text, {}});
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
    const Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

QString ScriptedPlatform::openFile(QWidget*, const QString&, const QString& initial,
                                   const QString&) {
    shown_.push_back({Shown::OpenDialog, initial, {}});
    if (paths_.empty()) {
        ADD_FAILURE() << "unexpected open dialog at " << initial.toStdString();
        return {};
    }
    const QString p = paths_.front();
    paths_.pop_front();
    return p;
}

QString ScriptedPlatform::saveFile(QWidget*, const QString&, const QString& initial, const QString&,
                                   const QString&) {
    shown_.push_back({Shown::SaveDialog, initial, {}});
    if (paths_.empty()) {
        ADD_FAILURE() << "unexpected save dialog at " << initial.toStdString();
        return {};
    }
    const QString p = paths_.front();
    paths_.pop_front();
    return p;
}

bool ScriptedPlatform::startProgram(const QString& program, const QStringList& arguments) {
    shown_.push_back({Shown::Start, program, arguments});
    return true;
}

void ScriptedPlatform::openUrl(const QString& url) {
    shown_.push_back({Shown::Url, url, {}});
}

void ScriptedPlatform::showHelp(QWidget*, int context) {
    shown_.push_back({Shown::Help, QString::number(context), {}});
}

int ScriptedPlatform::runModal(QDialog& dialog) {
    shown_.push_back({Shown::Modal, dialog.windowTitle(), {}});
    if (drivers_.empty()) {
        ADD_FAILURE() << "unexpected dialog: " << dialog.windowTitle().toStdString();
        return QDialog::Rejected;
    }
    const auto driver = std::move(drivers_.front());
    drivers_.pop_front();
    dialog.setResult(QDialog::Rejected);
    driver(dialog);
    return dialog.result();
}

} // namespace qv::test
