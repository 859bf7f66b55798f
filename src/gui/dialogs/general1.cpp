#include "gui/dialogs/general1.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "core/tables/basicblocks.h"
#include "core/tables/general1.h"
#include "core/tables/staircaseblocks.h"
#include "gui/dialogs/basicblocks.h"
#include "gui/dialogs/dialoghost.h"
#include "gui/dialogs/staircaseblocks.h"
#include "gui/main/placement.h"

namespace qv {

namespace {

// Centred over the foreground window each time, inside the work area; sub-dialogs do
// not use the position the settings dialogs remember.
void placeSubDialog(QDialog* d, QWidget* owner) {
    d->adjustSize();
    QWidget* over = QApplication::activeWindow();
    if (!over) over = owner->window();
    const QRect area = workArea(over);
    moveFrameTo(d, placeOver(over->frameGeometry(), d->frameGeometry().size(), area));
}

} // namespace

TFormZenpan1::TFormZenpan1(DialogHost& host, QWidget* parent)
    : SettingsDialog(tables::general1(), host, parent) {
    connect(findChild<QPushButton*>(QStringLiteral("BtnKihonBloc")), &QPushButton::clicked, this,
            &TFormZenpan1::BtnKihonBlocClick);
    connect(findChild<QPushButton*>(QStringLiteral("BtnKaidanBloc")), &QPushButton::clicked, this,
            &TFormZenpan1::BtnKaidanBlocClick);
}

TFormZenpan1::~TFormZenpan1() = default;

void TFormZenpan1::showFields() {
    SettingsDialog::showFields();
    reference_.clear();
    for (const DialogTable* sub : table().subDialogs)
        for (const Item* it : sub->items())
            for (int off : it->offsets)
                reference_[off] = low8(fields().value(off));
    findChild<QLabel*>(QStringLiteral("LabKihonBloc"))->clear();
    findChild<QLabel*>(QStringLiteral("LabKaidanBloc"))->clear();
}

void TFormZenpan1::updateStatus(const DialogTable& sub, const char* label) {
    bool changed = false;
    for (const Item* it : sub.items())
        for (int off : it->offsets)
            changed |= low8(fields().value(off)) != reference_.at(off);
    findChild<QLabel*>(QLatin1String(label))
        ->setText(changed ? QStringLiteral("Changed") : QString());
}

std::unique_ptr<TFormKihonBloc> TFormZenpan1::openKihonBloc() {
    auto d = std::make_unique<TFormKihonBloc>(fields(), host(), this);
    d->FormShow();
    if (QString& focus = host().dialogMemory().focusControl; !focus.isEmpty()) {
        d->focusItem(focus);
        focus.clear();
    }
    placeSubDialog(d.get(), this);
    return d;
}

void TFormZenpan1::kihonBlocClosed(bool accepted) {
    if (accepted) updateStatus(tables::basicBlocks(), "LabKihonBloc");
}

std::unique_ptr<TFormKaidanBloc> TFormZenpan1::openKaidanBloc() {
    auto d = std::make_unique<TFormKaidanBloc>(fields(), host(), this);
    d->FormShow();
    if (QString& focus = host().dialogMemory().focusControl; !focus.isEmpty()) {
        if (auto* w = d->findChild<QWidget*>(focus)) w->setFocus();
        focus.clear();
    }
    placeSubDialog(d.get(), this);
    return d;
}

void TFormZenpan1::kaidanBlocClosed(bool accepted) {
    if (accepted) updateStatus(tables::staircaseBlocks(), "LabKaidanBloc");
}

void TFormZenpan1::BtnKihonBlocClick() {
    const auto d = openKihonBloc();
    kihonBlocClosed(d->exec() == QDialog::Accepted);
}

void TFormZenpan1::BtnKaidanBlocClick() {
    const auto d = openKaidanBloc();
    kaidanBlocClosed(d->exec() == QDialog::Accepted);
}

SettingsDialog* makeGeneral1Dialog(const DialogTable&, DialogHost& host, QWidget* parent) {
    return new TFormZenpan1(host, parent);
}

} // namespace qv
