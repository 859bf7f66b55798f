#pragma once
// The OK / Cancel / Help row at the foot of the settings dialogs and Editor Options:
// right-aligned, OK the default button, Help never taking Enter, and each button
// with the help context of its own. The caller connects the buttons.
class QDialog;
class QHBoxLayout;
class QPushButton;

namespace qv {

struct OkCancelHelp {
    QHBoxLayout* row; // for the caller's layout
    QPushButton* ok;
    QPushButton* cancel;
    QPushButton* help;
};

// The three buttons, children of `dialog`, in a row that the caller adds.
OkCancelHelp okCancelHelpRow(QDialog* dialog);

} // namespace qv
