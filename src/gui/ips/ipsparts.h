#pragma once
// What Open IPS File and Create IPS File build and check the same way: their
// buttons and radio buttons, the question they open with, and the refusals of
// an output name at OK.
#include <QString>

class QHBoxLayout;
class QPushButton;
class QRadioButton;
class QWidget;

namespace qv {

// A push button named `name` that never becomes the default by taking the focus.
QPushButton* ipsButton(QWidget* parent, const char* name, const QString& caption);
QRadioButton* ipsRadio(QWidget* parent, const char* name, const QString& caption);
// The question icon (ImgIcon) beside `prompt` (LabIps), both children of `dialog`.
QHBoxLayout* ipsQuestion(QWidget* dialog, const QString& prompt);

// The warning for each way an output name can be refused.
struct OutputNameRefusals {
    QString badFolder, badName, badExtension;
};
// Whether `path` can be written as a file with the extension `upperExt` (".NES");
// otherwise the matching refusal is shown over `dialog`.
bool outputNameAccepted(QWidget* dialog, const QString& path, const char* upperExt,
                        const OutputNameRefusals& refusals);

} // namespace qv
