#pragma once
// The frame of General 1's sub-dialogs, read from their table: the window's class
// name, title, border and help context, and its one group box (caption, name and
// help context) holding a grid. The caller fills the grid, then adds the
// OK/Cancel/Help row to `top`.
class QDialog;
class QGridLayout;
class QGroupBox;
class QVBoxLayout;

namespace qv {

struct DialogTable;

struct SubDialogFrame {
    QVBoxLayout* top;
    QGroupBox* group;
    QGridLayout* grid;
};

SubDialogFrame buildSubDialogFrame(QDialog* dialog, const DialogTable& table);

} // namespace qv
