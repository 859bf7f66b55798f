#include "gui/dialogs/basicblocks.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/valuefields.h"
#include "gui/dialogs/settingsdialog.h"
#include "gui/dialogs/smallwidgets.h"
#include "gui/dialogs/subdialogframe.h"
#include "gui/dialogs/textlabel.h"
#include "gui/dialogs/valuemarks.h"
#include "gui/main/glyphs.h"
#include "gui/main/helpcontext.h"
#include "gui/main/okcancelhelp.h"
#include "gui/main/platform.h"

namespace qv {

namespace {

constexpr int kCloud = 16;
constexpr int kFirstHighRow = 8;

QString hexDigit(int n) {
    return QString::number(n, 16).toUpper();
}

// rows first..first+count-1 from the bits of a byte
void showBits(const std::array<QCheckBox*, tables::kBlockRows>& col, int first, int count,
              int bits) {
    for (int k = 0; k < count; ++k)
        col[static_cast<std::size_t>(first + k)]->setChecked(bits >> k & 1);
}

int readBits(const std::array<QCheckBox*, tables::kBlockRows>& col, int first, int count) {
    int bits = 0;
    for (int k = 0; k < count; ++k)
        if (col[static_cast<std::size_t>(first + k)]->checkState() == Qt::Checked) bits |= 1 << k;
    return bits;
}

} // namespace

TFormKihonBloc::TFormKihonBloc(ValueFields& fields, DialogHost& host, QWidget* parent)
    : QDialog(parent), fields_(fields), host_(host) {
    build();
}

void TFormKihonBloc::build() {
    const SubDialogFrame frame = buildSubDialogFrame(this, tables::basicBlocks());
    QVBoxLayout* top = frame.top;
    QGroupBox* group = frame.group;
    QGridLayout* grid = frame.grid;
    grid->setVerticalSpacing(1);

    // Row 0: the two Reset buttons at the top right.
    auto* panel = new QHBoxLayout;
    panel->addStretch();
    const QString captions[] = {QStringLiteral("Reset"), QStringLiteral("Sel. Reset")};
    const QString names[] = {QStringLiteral("SpdKihonBloc"), QStringLiteral("SpdKihonBloc2")};
    for (int tag = 1; tag >= 0; --tag) {
        QToolButton* spd = flatButton(group, names[tag], captions[tag]);
        spd->setProperty("tag", tag);
        connect(spd, &QToolButton::clicked, this, [this, tag] { SpdKihonBlocClick(tag); });
        panel->addWidget(spd);
    }
    grid->addLayout(panel, 0, 0, 1, -1);

    // Row 1: "Select" and the radio buttons; row 2: "Elevation" and the column numbers,
    // each centred over its column of boxes; rows 3..15: elevations 0..12.
    grid->addWidget(new TextLabel(QStringLiteral("Select"), group), 1, 0);
    grid->addWidget(new TextLabel(QStringLiteral("Elevation"), group), 2, 0);
    auto* select = new QButtonGroup(this);
    const auto columns = tables::blockColumns();
    for (int c = 0; c < tables::kBlockColumns; ++c) {
        const QString name(QLatin1Char(columns[static_cast<std::size_t>(c)].name));
        const QString number = c == kCloud ? QStringLiteral("Clouds↑") : QString::number(c);
        auto* radio = new QRadioButton(group);
        radio->setObjectName(QStringLiteral("RadKb") + name);
        radio->setAccessibleName(number);
        select->addButton(radio, c);
        grid->addWidget(radio, 1, 1 + c, Qt::AlignHCenter);
        auto* heading = new TextLabel(drawableText(number), group);
        heading->setReserveBold(true);
        grid->addWidget(heading, 2, 1 + c, Qt::AlignHCenter);
        numbers_[static_cast<std::size_t>(c)] = heading;
        radios_[static_cast<std::size_t>(c)] = radio;
        for (int r = c == kCloud ? kFirstHighRow : 0; r < tables::kBlockRows; ++r) {
            auto* box = new QCheckBox(group);
            box->setObjectName(QStringLiteral("ChkKb") + hexDigit(r) + name);
            connect(box, &QCheckBox::toggled, this, &TFormKihonBloc::markColumns);
            grid->addWidget(box, 3 + r, 1 + c, Qt::AlignHCenter);
            boxes_[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] = box;
        }
    }
    radios_[0]->setChecked(true);
    for (int r = 0; r < tables::kBlockRows; ++r)
        grid->addWidget(
            new TextLabel(r >= 11 ? QStringLiteral("%1 Ground").arg(r) : QString::number(r), group),
            3 + r, 0);
    auto* note =
        new TextLabel(QStringLiteral("When creating cloud tiles, only the lowest block setting "
                                     "will be drawn.  If any other tiles are at that same "
                                     "elevation, the blocks will not appear in-game."),
                      group);
    note->setWordWrap(true);
    // A line's height between row 12 and the note.
    grid->setRowMinimumHeight(3 + tables::kBlockRows, note->fontMetrics().lineSpacing());
    grid->addWidget(note, 4 + tables::kBlockRows, 0, 1, -1);

    const OkCancelHelp buttons = okCancelHelpRow(this);
    connect(buttons.ok, &QPushButton::clicked, this, [this] {
        BtnOkClick();
        accept();
    });
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(buttons.help, &QPushButton::clicked, this, &TFormKihonBloc::BtnHelpClick);
    top->addLayout(buttons.row);
    installContextHelp(this, tables::basicBlocks().helpContext);
}

void TFormKihonBloc::focusItem(const QString& control) {
    const std::vector<const Item*> items = tables::basicBlocks().items();
    for (std::size_t c = 0; c < items.size() && c < radios_.size(); ++c)
        if (qs(items[c]->control) == control) {
            radios_[c]->setChecked(true);
            radios_[c]->setFocus();
        }
}

void TFormKihonBloc::FormShow() {
    const auto columns = tables::blockColumns();
    for (int c = 0; c < tables::kBlockColumns; ++c) {
        const tables::BlockColumn& col = columns[static_cast<std::size_t>(c)];
        const auto& boxes = boxes_[static_cast<std::size_t>(c)];
        if (col.lowOffset >= 0)
            showBits(boxes, 0, kFirstHighRow, unsignedField(fields_.value(col.lowOffset)));
        const int high = fields_.value(col.highOffset);
        if (tables::blockHighEditable(high)) {
            showBits(boxes, kFirstHighRow, tables::kBlockRows - kFirstHighRow, high);
            continue;
        }
        for (int r = kFirstHighRow; r < tables::kBlockRows; ++r) {
            QCheckBox* b = boxes[static_cast<std::size_t>(r)];
            b->setTristate(true);
            b->setCheckState(Qt::PartiallyChecked);
            b->setEnabled(false);
        }
    }
    markColumns();
}

void TFormKihonBloc::markColumns() {
    // A column whose ticked rows differ from the game's own has its number in bold.
    const auto columns = tables::blockColumns();
    for (int c = 0; c < tables::kBlockColumns; ++c) {
        const tables::BlockColumn& col = columns[static_cast<std::size_t>(c)];
        const auto& boxes = boxes_[static_cast<std::size_t>(c)];
        bool differs = col.lowOffset >= 0 && readBits(boxes, 0, kFirstHighRow) != col.defaultLow;
        if (boxes[kFirstHighRow]->isEnabled())
            differs = differs || readBits(boxes, kFirstHighRow,
                                          tables::kBlockRows - kFirstHighRow) != col.defaultHigh;
        markBold(numbers_[static_cast<std::size_t>(c)], differs);
    }
}

void TFormKihonBloc::BtnOkClick() {
    const auto columns = tables::blockColumns();
    for (int c = 0; c < tables::kBlockColumns; ++c) {
        const tables::BlockColumn& col = columns[static_cast<std::size_t>(c)];
        const auto& boxes = boxes_[static_cast<std::size_t>(c)];
        if (col.lowOffset >= 0)
            fields_.setValue(col.lowOffset, signExtend(low8(readBits(boxes, 0, kFirstHighRow))));
        if (boxes[kFirstHighRow]->isEnabled())
            fields_.setValue(col.highOffset,
                             readBits(boxes, kFirstHighRow, tables::kBlockRows - kFirstHighRow));
    }
}

void TFormKihonBloc::resetColumn(int c) {
    const tables::BlockColumn& col = tables::blockColumns()[static_cast<std::size_t>(c)];
    const auto& boxes = boxes_[static_cast<std::size_t>(c)];
    if (col.lowOffset >= 0) showBits(boxes, 0, kFirstHighRow, col.defaultLow);
    if (boxes[kFirstHighRow]->isEnabled()) // greyed rows are left alone
        showBits(boxes, kFirstHighRow, tables::kBlockRows - kFirstHighRow, col.defaultHigh);
}

void TFormKihonBloc::SpdKihonBlocClick(int tag) {
    const QString question = (tag == 0 ? QStringLiteral("All") : QStringLiteral("Selected")) +
                             QStringLiteral(" options will be reset.\r\nIs this okay?");
    if (!confirmReset(host_, this, question)) return;
    for (int c = 0; c < tables::kBlockColumns; ++c)
        if (tag == 0 || radios_[static_cast<std::size_t>(c)]->isChecked()) resetColumn(c);
}

void TFormKihonBloc::BtnHelpClick() {
    platform().showHelp(this, tables::basicBlocks().helpContext);
}

} // namespace qv
