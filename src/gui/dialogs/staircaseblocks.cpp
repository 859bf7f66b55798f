#include "gui/dialogs/staircaseblocks.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>

#include "core/staircase.h"
#include "core/valuefields.h"
#include "gui/dialogs/settingsdialog.h"
#include "gui/dialogs/smallwidgets.h"
#include "gui/dialogs/stairpreview.h"
#include "gui/dialogs/subdialogframe.h"
#include "gui/dialogs/textlabel.h"
#include "gui/dialogs/updown.h"
#include "gui/dialogs/valuemarks.h"
#include "gui/main/glyphs.h"
#include "gui/main/helpcontext.h"
#include "gui/main/okcancelhelp.h"
#include "gui/main/platform.h"

namespace qv {

namespace {

int acceptText(const Item& item, const QLineEdit* edit) {
    return item.acceptText(edit->text().toStdString());
}

} // namespace

TFormKaidanBloc::TFormKaidanBloc(ValueFields& fields, DialogHost& host, QWidget* parent)
    : QDialog(parent), fields_(fields), host_(host) {
    build();
}

void TFormKaidanBloc::build() {
    const SubDialogFrame frame = buildSubDialogFrame(this, tables::staircaseBlocks());
    QVBoxLayout* top = frame.top;
    QGroupBox* group = frame.group;
    QGridLayout* grid = frame.grid;

    auto* panel = new QWidget(group);
    panel->setObjectName(QStringLiteral("PnlKaidan"));
    auto* panelRow = new QHBoxLayout(panel);
    panelRow->setContentsMargins(0, 0, 0, 0);
    panelRow->addStretch();
    QToolButton* spd = flatButton(panel, QStringLiteral("SpdKaidan"), QStringLiteral("Reset"));
    connect(spd, &QToolButton::clicked, this, &TFormKaidanBloc::SpdKaidanClick);
    panelRow->addWidget(spd);
    grid->addWidget(panel, 0, 0, 1, -1);

    const int editWidth = fontMetrics().horizontalAdvance(QStringLiteral("888")) + 8;
    int row = 1;
    for (int s = 1; s <= tables::kStairSteps; ++s) // step numbers over the columns
        grid->addWidget(new TextLabel(QString::number(s), group), row, 2 * s - 2, 1, 2,
                        Qt::AlignCenter);
    ++row;
    const auto addLine = [&](bool start, std::array<QLineEdit*, tables::kStairSteps>& edits,
                             std::array<UpDown*, tables::kStairSteps>& spins) {
        const Item& first = start ? tables::stairStart(1) : tables::stairCount(1);
        auto* label = new TextLabel(qs(first.label), group);
        label->setReserveBold(true);
        (start ? startLabel_ : countLabel_) = label;
        grid->addWidget(label, row++, 0, 1, -1);
        for (int s = 1; s <= tables::kStairSteps; ++s) {
            const Item& it = start ? tables::stairStart(s) : tables::stairCount(s);
            const auto i = static_cast<std::size_t>(s - 1);
            auto* edit = new QLineEdit(QStringLiteral("0"), group);
            edit->setObjectName(qs(it.control));
            edit->setMaxLength(it.maxLength);
            edit->setFixedWidth(editWidth);
            edit->setAttribute(Qt::WA_InputMethodEnabled, false);
            auto* spin = new UpDown(edit, it.spinMin, it.spinMax, group);
            spin->setObjectName(qs(it.spinName()));
            grid->addWidget(edit, row, 2 * s - 2);
            grid->addWidget(spin, row, 2 * s - 1);
            connect(edit, &QLineEdit::textChanged, this, &TFormKaidanBloc::EditKaidanSp1Change);
            edits[i] = edit;
            spins[i] = spin;
        }
        label->setBuddy(edits[0]);
        ++row;
        grid->addWidget(new TextLabel(qs(first.rangeLabel()), group), row++, 0, 1, -1);
    };
    addLine(true, starts_, startSpins_);
    addLine(false, counts_, countSpins_);

    auto* note =
        new TextLabel(QStringLiteral("These settings influence the shape of the stairway.  "
                                     "Invalid settings are automatically reset to default "
                                     "values."),
                      group);
    note->setObjectName(QStringLiteral("LabKaidan"));
    note->setWordWrap(true);
    grid->addWidget(note, row++, 0, 1, -1);

    auto* previewPanel = new QWidget(group);
    previewPanel->setObjectName(QStringLiteral("PnlKaidan2"));
    auto* previewRow = new QHBoxLayout(previewPanel);
    previewRow->setContentsMargins(0, 0, 0, 0);
    memo_ = new StairPreview(previewPanel);
    previewRow->addWidget(memo_);
    previewRow->addStretch();
    previewPanel->setEnabled(false); // a picture, not a control: never takes the focus
    grid->addWidget(previewPanel, row++, 0, 1, -1);

    const OkCancelHelp buttons = okCancelHelpRow(this);
    connect(buttons.ok, &QPushButton::clicked, this, [this] {
        BtnOkClick();
        accept();
    });
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(buttons.help, &QPushButton::clicked, this, &TFormKaidanBloc::BtnHelpClick);
    top->addLayout(buttons.row);
    installContextHelp(this, tables::staircaseBlocks().helpContext);
}

void TFormKaidanBloc::FormShow() {
    for (int s = 1; s <= tables::kStairSteps; ++s) {
        const auto i = static_cast<std::size_t>(s - 1);
        const ItemState start = fields_.state(tables::stairStart(s));
        const ItemState count = fields_.state(tables::stairCount(s));
        if (!start.outOfBounds && !count.outOfBounds) {
            starts_[i]->setText(QString::number(start.value));
            startSpins_[i]->setPosition(start.value);
            counts_[i]->setText(QString::number(count.value));
            countSpins_[i]->setPosition(count.value);
            continue;
        }
        for (QWidget* w :
             {static_cast<QWidget*>(starts_[i]), static_cast<QWidget*>(counts_[i]),
              static_cast<QWidget*>(startSpins_[i]), static_cast<QWidget*>(countSpins_[i])})
            w->setEnabled(false);
        paintButtonFace(starts_[i]);
        paintButtonFace(counts_[i]);
    }
    EditKaidanSp1Change();
}

void TFormKaidanBloc::EditKaidanSp1Change() {
    std::array<std::optional<staircase::Step>, staircase::kSteps> steps;
    bool startsDiffer = false, countsDiffer = false;
    for (int s = 1; s <= tables::kStairSteps; ++s) {
        const auto i = static_cast<std::size_t>(s - 1);
        if (!starts_[i] || !counts_[i] || !starts_[i]->isEnabled()) continue;
        steps[i] = staircase::Step{acceptText(tables::stairStart(s), starts_[i]),
                                   acceptText(tables::stairCount(s), counts_[i])};
        // The marks the settings dialogs give their numbers.
        startsDiffer |= markNumberField(starts_[i], tables::stairStart(s), starts_[i]->text());
        countsDiffer |= markNumberField(counts_[i], tables::stairCount(s), counts_[i]->text());
    }
    if (memo_) memo_->setGrid(staircase::cells(steps));
    if (startLabel_) markBold(startLabel_, startsDiffer);
    if (countLabel_) markBold(countLabel_, countsDiffer);
}

void TFormKaidanBloc::BtnOkClick() {
    for (int s = 1; s <= tables::kStairSteps; ++s) {
        const auto i = static_cast<std::size_t>(s - 1);
        if (!starts_[i]->isEnabled()) continue; // an invalid step keeps its bytes
        fields_.set(tables::stairStart(s), acceptText(tables::stairStart(s), starts_[i]));
        fields_.set(tables::stairCount(s), acceptText(tables::stairCount(s), counts_[i]));
    }
}

void TFormKaidanBloc::SpdKaidanClick() {
    if (!confirmReset(host_, this, kResetQuestion)) return;
    for (int s = 1; s <= tables::kStairSteps; ++s) {
        const auto i = static_cast<std::size_t>(s - 1);
        if (!starts_[i]->isEnabled()) continue;
        starts_[i]->setText(QString::number(tables::stairStart(s).defaultValue));
        counts_[i]->setText(QString::number(tables::stairCount(s).defaultValue));
    }
    EditKaidanSp1Change();
}

void TFormKaidanBloc::BtnHelpClick() {
    platform().showHelp(this, tables::staircaseBlocks().helpContext);
}

} // namespace qv
