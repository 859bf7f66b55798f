#include "gui/dialogs/general2.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <string>

#include "core/tables/general2.h"
#include "gui/dialogs/choicemodels.h"
#include "gui/dialogs/flagpolepreview.h"
#include "gui/dialogs/textlabel.h"
#include "gui/main/glyphs.h"

namespace qv {

namespace {

// The flagpole lists with the preview symbol shown beside each, in preview order.
struct PoleList {
    const char* control;
    const char* symbol;
};
constexpr PoleList kPoleLists[] = {
    {"CmbPoleMaru", "●"},   {"CmbPoleFlag", "＿＼"}, {"CmbPoleFlagStop", "止"},
    {"CmbPoleLine", "┃"},   {"CmbPoleLineLen", "│"}, {"CmbPoleBlock", "■"},
    {"CmbPoleScore", "00"}, {"CmbPoleMario", "←"},   {"CmbPoleMaDown", "※"},
};
constexpr const char* kPoleLegend =
    "● finial   ┃│ pole   ■ block   ＿＼↓ flag   止 flag stop   00↑ score   ← Mario stops   "
    "※ Mario drops   □ ground";
constexpr const char* kCastleLists[] = {"CmbCsFlagStart", "CmbCsFlagStop"};
constexpr int kPieces = 13;

// The grid cell a widget sits in within its group box.
std::pair<QGridLayout*, int> rowOf(QWidget* w) {
    auto* grid = static_cast<QGridLayout*>(w->parentWidget()->layout());
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(w), &row, &column, &rowSpan, &columnSpan);
    return {grid, row};
}

} // namespace

TFormZenpan2::TFormZenpan2(DialogHost& host, QWidget* parent)
    : SettingsDialog(tables::general2(), host, parent) {
    buildFlagpoleExtras();
    for (const PoleList& l : kPoleLists)
        connect(findChild<QComboBox*>(QLatin1String(l.control)), &QComboBox::currentIndexChanged,
                this, &TFormZenpan2::CmbPoleFlagChange);
    for (const char* c : kCastleLists)
        connect(findChild<QComboBox*>(QLatin1String(c)), &QComboBox::currentIndexChanged, this,
                &TFormZenpan2::CmbPoleFlagChange);
    // Connected after the Reset itself, so it draws the restored lists.
    connect(findChild<QToolButton*>(QStringLiteral("SpdPole")), &QToolButton::clicked, this,
            &TFormZenpan2::CmbPoleFlagChange);
}

// Symbols beside the lists under "Vertical Position", the preview on a disabled panel
// beside them.
void TFormZenpan2::buildFlagpoleExtras() {
    auto* first = findChild<QComboBox*>(QLatin1String(kPoleLists[0].control));
    QWidget* box = first->parentWidget();
    const auto [grid, top] = rowOf(first);
    constexpr int kSymbolColumn = 4, kPreviewColumn = 5;

    auto* heading1 = new TextLabel(QStringLiteral("Vertical Position"), box);
    heading1->setObjectName(QStringLiteral("LabPole1"));
    grid->addWidget(heading1, top - 1, kSymbolColumn); // beside the Reset panel's row
    int last = top;
    for (const PoleList& l : kPoleLists) {
        const int row = rowOf(findChild<QComboBox*>(QLatin1String(l.control))).second;
        auto* symbol = new TextLabel(box);
        symbol->setFont(previewFont());
        symbol->setText(drawableText(QString::fromUtf8(l.symbol), symbol->font()));
        grid->addWidget(symbol, row, kSymbolColumn);
        last = row;
    }

    auto* panel = new QWidget(box);
    panel->setObjectName(QStringLiteral("PnlPole2"));
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    auto* heading2 = new TextLabel(QStringLiteral("Vertical Position"), panel);
    heading2->setObjectName(QStringLiteral("LabPole2"));
    column->addWidget(heading2);
    preview_ = new FlagpolePreview(panel);
    column->addWidget(preview_);
    column->addStretch();
    panel->setEnabled(false); // the memo only shows; it never takes the focus
    grid->addWidget(panel, top, kPreviewColumn, last - top + 4, 1, Qt::AlignTop);
    // The symbols in words, under the rows.
    auto* legend = new TextLabel(box);
    legend->setObjectName(QStringLiteral("LabPoleLegend"));
    legend->setText(drawableText(QString::fromUtf8(kPoleLegend), legend->font()));
    grid->addWidget(legend, last + 4, 0, 1, -1);
    // The preview beside the symbols; spare width goes right of it.
    grid->setColumnStretch(kSymbolColumn, 0);
    grid->setColumnStretch(kPreviewColumn + 1, 1);
}

void TFormZenpan2::showFields() {
    SettingsDialog::showFields();
    // A frozen bridge shows each piece's own column (or nothing where the pair is
    // invalid) rather than the out-of-range marker the pieces read as.
    const std::span<const int> pieces = table().find("EditKpbgDelX1")->offsets;
    for (int k = 1; k <= kPieces; ++k) {
        const Controls* c = controls("EditKpbgDelX" + std::to_string(k));
        if (c->edit->isEnabled()) continue;
        const std::optional<int> column =
            tables::bridgePieceColumn(fields().value(pieces[static_cast<std::size_t>(k - 1)]));
        c->edit->setText(column ? QString::number(*column) : QString());
    }
    CmbPoleFlagChange();
}

void TFormZenpan2::CmbPoleFlagChange() {
    // Called at each list's change, also while the dialog is filled: the lists are looked
    // up in the dialog's own controls, not by a search of its widget tree.
    const auto at = [this](const char* control) {
        return controls(control)->combo->currentIndex();
    };
    // An out-of-bounds list holds its one entry at 0 and is drawn as position 0.
    flagpole::Positions p;
    p.finial = at("CmbPoleMaru");
    p.flag = at("CmbPoleFlag");
    p.flagStop = at("CmbPoleFlagStop");
    p.poleStart = at("CmbPoleLine");
    p.poleEnd = at("CmbPoleLineLen");
    p.block = at("CmbPoleBlock");
    p.score = at("CmbPoleScore");
    p.marioStop = at("CmbPoleMario");
    p.dropDown = at("CmbPoleMaDown");
    preview_->setPositions(p);
}

SettingsDialog* makeGeneral2Dialog(const DialogTable&, DialogHost& host, QWidget* parent) {
    return new TFormZenpan2(host, parent);
}

} // namespace qv
