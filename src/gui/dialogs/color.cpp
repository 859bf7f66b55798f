#include "gui/dialogs/color.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

#include "gui/dialogs/characterpictures.h"
#include "gui/dialogs/dialoghost.h"
#include "gui/dialogs/smallwidgets.h"
#include "gui/dialogs/valuemarks.h"
#include "gui/main/helpcontext.h"
#include "gui/main/platform.h"

namespace qv {

namespace {

using tables::ColorCharacter;

const QString kResetCharacterQuestion =
    QStringLiteral("Reset the selected character to its default value?");
constexpr int kPanelHelp = 800;
constexpr int kButtonsPerColumn = 7; // the pictures make each button 64 pixels high

void setCaptionColor(QAbstractButton* b, tables::CaptionColor c) {
    if (c == tables::CaptionColor::Plain) return;
    QPalette pal = b->palette();
    pal.setColor(QPalette::ButtonText,
                 c == tables::CaptionColor::Green ? QColor(0, 128, 0) : QColor(255, 0, 0));
    b->setPalette(pal);
}

// Two buttons of one caption differ in their text colour alone, which not everyone can
// see: their captions say the colour too.
std::string captionOn(const ColorCharacter& c, std::span<const ColorCharacter> all) {
    std::string caption(c.caption);
    const bool shared = std::ranges::count_if(all, [&](const ColorCharacter& o) {
                            return o.page == c.page && o.caption == c.caption;
                        }) > 1;
    if (shared && c.captionColor == tables::CaptionColor::Green) caption += " (green)";
    if (shared && c.captionColor == tables::CaptionColor::Red) caption += " (red)";
    return caption;
}

// LabColor keeps the notes' CR LF breaks as plain line breaks.
QString noteText(std::string_view note) {
    return qs(note).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

TFormColor::TFormColor(DialogHost& host, QWidget* parent)
    : SettingsDialog(tables::color(), host, parent) {
    pictures_ = new CharacterPictures(host, fields(), this);
    for (int p = 0; p < tables::kColorPages; ++p)
        buildPage(p);
    buildPanel();
    // The controls made here answer context help as the builder's do.
    for (int p = 0; p < tables::kColorPages; ++p)
        watchContextHelp(this, pages()->widget(p));
    watchContextHelp(this, panel_);
    connect(pages(), &QTabWidget::currentChanged, this, &TFormColor::Page1Change);
}

void TFormColor::buildPage(int page) {
    QWidget* w = pages()->widget(page);
    auto* grid = new QGridLayout(w);
    groups_[static_cast<std::size_t>(page)] = new QButtonGroup(w);
    auto& list = buttons_[static_cast<std::size_t>(page)];
    const auto characters = tables::colorCharacters();
    for (const ColorCharacter& c : characters) {
        if (c.page != page) continue;
        QToolButton* b = flatButton(w, qs(c.control), qs(captionOn(c, characters)));
        b->setCheckable(true);
        // Chosen with the arrow keys (which move the choice) and Space, as radio buttons.
        b->setAutoExclusive(true);
        b->setFocusPolicy(Qt::StrongFocus);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setCaptionColor(b, c.captionColor);
        b->setChecked(c.offset == tables::kColorInitialSelection[static_cast<std::size_t>(page)]);
        groups_[static_cast<std::size_t>(page)]->addButton(b);
        const int n = static_cast<int>(list.size());
        grid->addWidget(b, n % kButtonsPerColumn, n / kButtonsPerColumn);
        connect(b, &QToolButton::clicked, this, &TFormColor::Spd686BClick);
        pictures_->add(c.offset, b);
        list.push_back({&c, b});
    }
    int row = std::min(static_cast<int>(list.size()), kButtonsPerColumn);
    if (page == 2) {
        fixedItem_ = table().find("Chk687E");
        fixedPalette_ = new QCheckBox(qs(fixedItem_->label), w);
        fixedPalette_->setObjectName(qs(fixedItem_->control));
        fixedPalette_->setEnabled(false);
        grid->addWidget(fixedPalette_, row++, 0);
        connect(fixedPalette_, &QCheckBox::clicked, this, &TFormColor::Chk687EClick);
    }
    grid->setRowStretch(row, 1);
}

void TFormColor::buildPanel() {
    panel_ = new QGroupBox(this);
    panel_->setObjectName(QStringLiteral("GrpColor"));
    setHelpContext(panel_, kPanelHelp);
    auto* box = new QVBoxLayout(panel_);

    auto* resetRow = new QHBoxLayout;
    resetRow->addStretch();
    QToolButton* reset = flatButton(panel_, QStringLiteral("SpdColor"), QStringLiteral("Reset"));
    connect(reset, &QToolButton::clicked, this, &TFormColor::SpdColorClick);
    resetRow->addWidget(reset);
    box->addLayout(resetRow);

    // Listed as the panel shows them: Mario, Green, Red, Black, Do Not Modify.
    const struct {
        int index; // Rad1..Rad5 as 0..4
        const char* name;
        const char* caption;
    } radios[] = {{3, "Rad4", "&Mario Group"},
                  {0, "Rad1", "&Green Group"},
                  {1, "Rad2", "&Red Group"},
                  {2, "Rad3", "&Black Group"},
                  {4, "Rad5", "&Do Not Modify"}};
    for (const auto& r : radios) {
        auto* b = new QRadioButton(QString::fromLatin1(r.caption), panel_);
        b->setObjectName(QString::fromLatin1(r.name));
        box->addWidget(b);
        rad_[static_cast<std::size_t>(r.index)] = b;
        if (r.index < 4) connect(b, &QRadioButton::clicked, this, &TFormColor::Rad1Click);
    }
    rad_[4]->setEnabled(false);

    const auto addCheck = [&](QCheckBox*& box_, const char* name, const char* caption) {
        box_ = new QCheckBox(QString::fromLatin1(caption), panel_);
        box_->setObjectName(QString::fromLatin1(name));
        box->addWidget(box_);
        connect(box_, &QCheckBox::clicked, this, &TFormColor::Rad1Click);
    };
    addCheck(behind_, "Chk1", "B&ehind BG");
    addCheck(mirrored_, "Chk3", "F&lip + Mirror");
    addCheck(upsideDown_, "Chk2", "&Upside-Down");

    auto* notePanel = new QFrame(panel_);
    notePanel->setObjectName(QStringLiteral("PnlColor2"));
    notePanel->setFrameShape(QFrame::StyledPanel);
    auto* noteLayout = new QVBoxLayout(notePanel);
    note_ = new QLabel(notePanel);
    note_->setObjectName(QStringLiteral("LabColor"));
    note_->setWordWrap(true);
    note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    noteLayout->addWidget(note_);
    box->addWidget(notePanel, 1);
    const int width = panel_->fontMetrics().horizontalAdvance(QString(34, QLatin1Char('x')));
    panel_->setFixedWidth(width);
    // As tall as the longest note wraps to, so that the dialog keeps its size (and OK
    // stays under the mouse) whichever character is selected.
    const QMargins outer = box->contentsMargins(), inner = noteLayout->contentsMargins();
    const int wrap = width - outer.left() - outer.right() - inner.left() - inner.right() -
                     2 * notePanel->frameWidth();
    int tallest = note_->fontMetrics().lineSpacing() * 4;
    for (const ColorCharacter& c : tables::colorCharacters())
        tallest = std::max(
            tallest, note_->fontMetrics()
                         .boundingRect(QRect(0, 0, wrap, 10000), Qt::TextWordWrap, noteText(c.note))
                         .height());
    notePanel->setFixedHeight(tallest + inner.top() + inner.bottom() + 2 * notePanel->frameWidth() +
                              note_->fontMetrics().lineSpacing());

    // The panel beside the pages, above the OK/Cancel/Help row.
    auto* top = static_cast<QBoxLayout*>(layout());
    top->removeWidget(pages());
    auto* row = new QHBoxLayout;
    row->addWidget(pages());
    row->addWidget(panel_);
    top->insertLayout(0, row);
}

QString TFormColor::memoryKey(int page) const {
    return QStringLiteral("TFormColor/%1").arg(page);
}

const TFormColor::CharacterButton* TFormColor::pressed(int page) const {
    for (const CharacterButton& b : buttons_[static_cast<std::size_t>(page)])
        if (b.button->isChecked()) return &b;
    return nullptr;
}

int TFormColor::selectedOffset(int page) const {
    const CharacterButton* b = pressed(page);
    return b ? b->character->offset : -1;
}

void TFormColor::showFields() {
    SettingsDialog::showFields();
    const auto& memory = host().dialogMemory().selectedEntry;
    for (int p = 0; p < tables::kColorPages; ++p) {
        const auto it = memory.find(memoryKey(p));
        if (it == memory.end()) continue;
        for (const CharacterButton& b : buttons_[static_cast<std::size_t>(p)])
            if (b.character->offset == it->second) b.button->setChecked(true);
    }
    fixedPalette_->setChecked(fields().state(*fixedItem_).value == 1);
    pictures_->drawAll();
    showSelected();
}

void TFormColor::showSelected() {
    const int page = pages()->currentIndex();
    const CharacterButton* selected = page >= 0 ? pressed(page) : nullptr;
    if (!selected) return;
    updating_ = true;
    const ColorCharacter& c = *selected->character;
    host().dialogMemory().selectedEntry[memoryKey(page)] = c.offset;
    const int v = fields().value(c.offset);
    pictures_->changed(c.offset); // after Reset or Fixed Palette

    panel_->setTitle(selected->button->text());
    note_->setText(c.note.empty() ? qs(tables::kColorNoNote) : noteText(c.note));
    note_->setEnabled(!c.note.empty());
    if (page == 2) fixedPalette_->setEnabled(c.offset == tables::kColorUnknown);

    for (int i = 0; i < 4; ++i)
        rad_[static_cast<std::size_t>(i)]->setEnabled(true);
    rad_[4]->setEnabled(false);
    for (QCheckBox* box : {behind_, upsideDown_, mirrored_}) {
        box->setEnabled(true);
        box->setChecked(false);
    }
    const std::uint8_t b = low8(v);
    if (tables::attributeEditable(b)) {
        behind_->setChecked(b & 0x20);
        mirrored_->setChecked(b & 0x40);
        upsideDown_->setChecked(b & 0x80);
        // Group 0 is the Mario group (Rad4); groups 1..3 are Rad1..Rad3.
        const int group = b & 3;
        rad_[static_cast<std::size_t>(group == 0 ? 3 : group - 1)]->setChecked(true);
    } else { // only Reset (or Fixed Palette) can change it
        rad_[4]->setEnabled(true);
        rad_[4]->setChecked(true);
        for (int i = 0; i < 4; ++i)
            rad_[static_cast<std::size_t>(i)]->setEnabled(false);
        for (QCheckBox* box : {behind_, upsideDown_, mirrored_})
            box->setEnabled(false);
    }
    for (QRadioButton* r : rad_) {
        if (r->isChecked()) {
            r->setFocus();
            break;
        }
    }
    updating_ = false;
}

void TFormColor::Spd686BClick() {
    showSelected();
}

void TFormColor::Page1Change(int) {
    showSelected();
}

void TFormColor::Rad1Click() {
    if (updating_) return;
    const CharacterButton* selected = pressed(pages()->currentIndex());
    if (!selected) return;
    const int group = rad_[0]->isChecked()   ? 1
                      : rad_[1]->isChecked() ? 2
                      : rad_[2]->isChecked() ? 3
                                             : 0;
    fields().setValue(selected->character->offset,
                      tables::attributeField(group, behind_->isChecked(), upsideDown_->isChecked(),
                                             mirrored_->isChecked()));
    pictures_->changed(selected->character->offset);
    refreshMarks();
}

bool TFormColor::markCustomPage(int page) {
    // A character whose byte differs from the game's own has its caption in bold.
    bool any = false;
    for (const CharacterButton& b : buttons_[static_cast<std::size_t>(page)]) {
        const bool differs = low8(fields().value(b.character->offset)) != b.character->defaultByte;
        markBold(b.button, differs);
        any = any || differs;
    }
    return any;
}

void TFormColor::Chk687EClick() {
    if (updating_) return;
    fields().set(*fixedItem_, fixedPalette_->isChecked() ? 1 : 0);
    showSelected();
    refreshMarks();
}

void TFormColor::SpdColorClick() {
    const CharacterButton* selected = pressed(pages()->currentIndex());
    if (!selected || !confirmReset(host(), this, kResetCharacterQuestion)) return;
    const ColorCharacter& c = *selected->character;
    fields().setValue(c.offset, signExtend(c.defaultByte));
    if (c.offset == tables::kColorUnknown) fixedPalette_->setChecked(true);
    showSelected();
    refreshMarks();
}

SettingsDialog* makeColorDialog(const DialogTable&, DialogHost& host, QWidget* parent) {
    return new TFormColor(host, parent);
}

} // namespace qv
