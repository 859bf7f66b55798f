#include "gui/dialogs/palette.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "core/document.h"
#include "core/nescolors.h"
#include "core/rom.h"
#include "gui/dialogs/choicemodels.h"
#include "gui/dialogs/dialoghost.h"
#include "gui/dialogs/palettescenes.h"
#include "gui/dialogs/smallwidgets.h"
#include "gui/dialogs/spritepicture.h"
#include "gui/dialogs/textlabel.h"
#include "gui/dialogs/valuemarks.h"
#include "gui/main/helpcontext.h"

namespace qv {

namespace {

using tables::PaletteEntry;
using tables::PaletteRow;

constexpr int kHelp = 900;
constexpr int kSwatch = 24;  // picker buttons stand 24 pixels apart
constexpr int kBlockGap = 8; // between the picker's upper and lower block
constexpr int kTimerInterval = 133;
constexpr int kFirstEntryColumn = 1;

// "Rad05E0" for an entry's offset, "Rad2D" for a picker's colour index.
QString hexName(int value, int digits) {
    return QStringLiteral("Rad") +
           QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

// A colour swatch with a thin grey frame, so that white (0x20, 0x30) stands out from
// a light background and black from a dark one.
class Swatch final : public QRadioButton {
  public:
    using QRadioButton::QRadioButton;

  protected:
    void paintEvent(QPaintEvent* e) override {
        QRadioButton::paintEvent(e);
        QPainter p(this);
        p.setPen(QColor(128, 128, 128));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

QAbstractButton* makeSwatch(QWidget* parent, const QString& name) {
    auto* b = new Swatch(parent);
    b->setObjectName(name);
    b->setAutoFillBackground(true);
    b->setFixedSize(kSwatch, kSwatch);
    return b;
}

} // namespace

TFormPallet::TFormPallet(DialogHost& host, QWidget* parent)
    : SettingsDialog(tables::palette(), host, parent) {
    for (int p = 0; p < tables::kPalletPages; ++p)
        buildPage(p);
    pages()->tabBar()->setUsesScrollButtons(false); // all seven tabs in view
    buildPicker();
    scenes_ = new SceneStrips(this);
    scenes_->addTo(pages());
    for (int p = 0; p < tables::kPalletPages; ++p)
        watchContextHelp(this, pages()->widget(p));
    watchContextHelp(this, pickerPanel_);
    connect(pages(), &QTabWidget::currentChanged, this, &TFormPallet::Page1Change);
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(kTimerInterval);
    connect(timer_, &QTimer::timeout, this, &TFormPallet::Timer1Timer);
    connect(timer_, &QTimer::timeout, this, &TFormPallet::sceneTick);
    connect(pages(), &QTabWidget::currentChanged, this, &TFormPallet::refreshScenes);
}

void TFormPallet::addRow(int page, QGridLayout* grid, int row, const PaletteRow& r) {
    QWidget* box = grid->parentWidget();
    auto* label = new TextLabel(qs(r.label), box);
    label->setReserveBold(true);
    grid->addWidget(label, row, 0);
    auto& list = entries_[static_cast<std::size_t>(page)];
    for (int i = 0; i < r.count; ++i) {
        const PaletteEntry* e = tables::findPaletteEntry(r.offset + i);
        QAbstractButton* b = makeSwatch(box, hexName(e->offset, 4));
        if (i == 0) label->setBuddy(b);
        groups_[static_cast<std::size_t>(page)]->addButton(b);
        grid->addWidget(b, row, kFirstEntryColumn + r.column + i);
        connect(b, &QAbstractButton::clicked, this, &TFormPallet::Rad05E0Click);
        list.push_back({e, b, label});
    }
}

bool TFormPallet::markCustomPage(int page) {
    // A row's label is bold while one of its colours differs from the game's own.
    std::map<QWidget*, bool> rows;
    bool any = SettingsDialog::markCustomPage(page); // the shine count too
    for (const Entry& e : entries_[static_cast<std::size_t>(page)]) {
        const bool differs = low8(fields().value(e.entry->offset)) != e.entry->defaultByte;
        rows[e.label] = rows[e.label] || differs;
        any = any || differs;
    }
    for (const auto& [label, marked] : rows)
        markBold(label, marked);
    return any;
}

void TFormPallet::buildPage(int page) {
    const Group& g = table().pages[static_cast<std::size_t>(page)].groups[0];
    auto* outer = new QVBoxLayout(pages()->widget(page));
    auto* box = new QGroupBox(qs(g.caption));
    box->setObjectName(QStringLiteral("GrpPallet%1").arg(page + 1));
    setHelpContext(box, kHelp);
    outer->addWidget(box);
    outer->addStretch();
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(4);
    groups_[static_cast<std::size_t>(page)] = new QButtonGroup(box);

    // Sel. Reset left of Reset, at the group's top right.
    auto* panel = new QHBoxLayout;
    panel->addStretch();
    const auto addSpeed = [&](const QString& name, const QString& text, int tag) {
        QToolButton* spd = flatButton(box, name, text);
        connect(spd, &QToolButton::clicked, this, [this, tag] { SpdPallet1Click(tag); });
        panel->addWidget(spd);
    };
    addSpeed(QStringLiteral("SpdPallet%1").arg(page + 1) + QLatin1Char('2'),
             QStringLiteral("Sel. Reset"), 1);
    addSpeed(qs(g.reset), QStringLiteral("Reset"), 0);
    grid->addLayout(panel, 0, 0, 1, -1);

    int row = 1;
    std::string_view section;
    for (const PaletteRow& r : tables::paletteRows()) {
        if (r.page != page) continue;
        if (r.section != section && !r.section.empty()) {
            section = r.section;
            grid->addWidget(new TextLabel(qs(section), box), row++, 0, 1, -1);
        }
        addRow(page, grid, row++, r);
    }

    if (page == tables::kPalletCoinsPage) {
        grid->addWidget(new TextLabel(QStringLiteral("Example"), box), row, 0);
        example_ = new QFrame(box);
        example_->setObjectName(QStringLiteral("PnlPalKCoin"));
        example_->setFixedSize(kSwatch, kSwatch);
        example_->setFrameShape(QFrame::Panel);
        example_->setAutoFillBackground(true);
        QPalette pal = example_->palette();
        pal.setColor(QPalette::Window, Qt::black);
        example_->setPalette(pal);
        grid->addWidget(example_, row++, kFirstEntryColumn);

        const Item* item = table().find("CmbCoinCount");
        auto* label = new TextLabel(qs(item->label), box);
        count_ = new ChoiceCombo(box);
        count_->setObjectName(QStringLiteral("CmbCoinCount"));
        count_->setChoices(choiceModel(*item->list));
        label->setBuddy(count_);
        grid->addWidget(label, row, 0);
        grid->addWidget(count_, row++, kFirstEntryColumn, 1, tables::kPalletShineCount);
        connect(count_, &QComboBox::activated, this, &TFormPallet::CmbCoinCountChange);

        for (std::string_view note : g.notes) {
            auto* n = new TextLabel(qs(note), box);
            n->setWordWrap(true);
            grid->addWidget(n, row++, 0, 1, -1);
        }
    }
    grid->setColumnStretch(kFirstEntryColumn + tables::kPalletShineCount, 1);
}

void TFormPallet::buildPicker() {
    pickerPanel_ = new QFrame(this);
    pickerPanel_->setObjectName(QStringLiteral("PnlPallet"));
    pickerPanel_->setFrameShape(QFrame::StyledPanel);
    setHelpContext(pickerPanel_, kHelp);
    auto* grid = new QGridLayout(pickerPanel_);
    grid->setSpacing(0);
    auto* group = new QButtonGroup(pickerPanel_);
    // Rows 1-4 hold 0x00-0x07 .. 0x30-0x37, rows 5-8 hold 0x08-0x0F .. 0x38-0x3F; the
    // lower block stands below a gap (grid row 4).
    for (int index = 0; index < kNesColorCount; ++index) {
        const int block = (index & 0x08) ? 1 : 0;
        const int row = block * 5 + (index >> 4);
        const int column = index & 0x07;
        QAbstractButton* b = makeSwatch(pickerPanel_, hexName(index, 2));
        group->addButton(b, index);
        grid->addWidget(b, row, column);
        connect(b, &QAbstractButton::clicked, this, [this, index] { Rad00Click(index); });
        picker_[static_cast<std::size_t>(index)] = b;
    }
    grid->setRowMinimumHeight(4, kBlockGap);
    grid->setRowStretch(9, 1);

    // The picker beside the pages, above the OK/Cancel/Help row.
    auto* top = static_cast<QBoxLayout*>(layout());
    top->removeWidget(pages());
    auto* row = new QHBoxLayout;
    row->addWidget(pages());
    row->addWidget(pickerPanel_, 0, Qt::AlignTop);
    top->insertLayout(0, row);
}

QColor TFormPallet::colorOf(int index) const {
    const Rgb c = nesColor(host().paletteSource(), index);
    return QColor(c.r, c.g, c.b);
}

void TFormPallet::paint(QWidget* w, int index) const {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colorOf(index));
    pal.setColor(QPalette::Button, colorOf(index));
    w->setPalette(pal);
}

QString TFormPallet::memoryKey(int page) const {
    return QStringLiteral("TFormPallet/%1").arg(page);
}

const TFormPallet::Entry* TFormPallet::selected(int page) const {
    if (page < 0 || page >= tables::kPalletPages) return nullptr;
    for (const Entry& e : entries_[static_cast<std::size_t>(page)])
        if (e.button->isChecked()) return &e;
    return nullptr;
}

int TFormPallet::selectedOffset(int page) const {
    const Entry* e = selected(page);
    return e ? e->entry->offset : -1;
}

const TFormPallet::Entry* TFormPallet::shine(int n) const {
    return &entries_[tables::kPalletCoinsPage][static_cast<std::size_t>(n - 1)];
}

QColor TFormPallet::exampleColor() const {
    return example_->palette().color(QPalette::Window);
}

void TFormPallet::showFields() {
    SettingsDialog::showFields(); // no table-built controls: nothing to fill
    const Item& countItem = *table().find("CmbCoinCount");
    const ItemState s = fields().state(countItem);
    if (s.outOfBounds) {
        showOutOfBounds(count_);
    } else {
        count_->setCurrentIndex(s.value);
    }
    syncing_ = false;
    step_ = 0;
    for (int i = 0; i < kNesColorCount; ++i)
        paint(picker_[static_cast<std::size_t>(i)], i);
    PaintEntries();

    const auto& memory = host().dialogMemory().selectedEntry;
    for (int p = 0; p < tables::kPalletPages; ++p) {
        const auto it = memory.find(memoryKey(p));
        const int offset = it != memory.end()
                               ? it->second
                               : tables::kPalletInitialSelection[static_cast<std::size_t>(p)];
        for (const Entry& e : entries_[static_cast<std::size_t>(p)]) {
            if (e.entry->offset != offset) continue;
            e.button->setChecked(true);
            SyncSwatch();
        }
    }
    SyncSwatch();
    CmbCoinCountChange();
    // The characters in the colours the image gives them (its Color settings).
    const RomDocument& doc = host().document();
    scenes_->setTiles(documentTiles(doc),
                      [&doc](int offset) { return doc.at(shifted(offset, doc.shift())); });
    refreshScenes();
}

void TFormPallet::showEvent(QShowEvent* e) {
    SettingsDialog::showEvent(e);
    timer_->start();
}

void TFormPallet::PaintEntries() {
    for (const auto& page : entries_)
        for (const Entry& e : page)
            paint(e.button, fields().value(e.entry->offset));
}

void TFormPallet::SyncSwatch() {
    syncing_ = true;
    const int page = pages()->currentIndex();
    if (const Entry* e = selected(page)) {
        host().dialogMemory().selectedEntry[memoryKey(page)] = e->entry->offset;
        const int index = fields().value(e->entry->offset);
        // No colour index (0x40 and up, or a byte above 0x7F): the mark stays.
        if (index >= 0 && index < kNesColorCount)
            picker_[static_cast<std::size_t>(index)]->setChecked(true);
    }
    syncing_ = false;
}

void TFormPallet::Rad05E0Click() {
    SyncSwatch();
}

void TFormPallet::Page1Change(int) {
    SyncSwatch();
}

void TFormPallet::Rad00Click(int colorIndex) {
    if (syncing_) return;
    const Entry* e = selected(pages()->currentIndex());
    if (!e) return;
    fields().setValue(e->entry->offset, colorIndex);
    paint(e->button, colorIndex);
    refreshScenes();
    refreshMarks();
}

void TFormPallet::SpdPallet1Click(int tag) {
    const QString question = (tag == 0 ? QStringLiteral("All") : QStringLiteral("Selected radio")) +
                             QStringLiteral(" options will be reset.\r\nIs this okay?");
    if (!confirmReset(host(), this, question)) return;
    const int page = pages()->currentIndex();
    if (tag == 0) {
        for (const Entry& e : entries_[static_cast<std::size_t>(page)])
            fields().setValue(e.entry->offset, signExtend(e.entry->defaultByte));
    } else if (const Entry* e = selected(page)) {
        fields().setValue(e->entry->offset, signExtend(e->entry->defaultByte));
    }
    PaintEntries();
    SyncSwatch();
    refreshScenes();
    if (tag == 0 && count_->isEnabled()) {
        count_->setCurrentIndex(tables::kPalletShineCount - 1);
        CmbCoinCountChange();
    }
    refreshMarks();
}

void TFormPallet::CmbCoinCountChange() {
    for (int n = 2; n <= tables::kPalletShineCount; ++n)
        shine(n)->button->setEnabled(true);
    // The count goes to its field at once: a disabled (out-of-bounds) list never does.
    if (count_->isEnabled()) fields().set(*table().find("CmbCoinCount"), count_->currentIndex());
    refreshMarks();
    const int n = count_->currentIndex() + 1;
    if (n >= tables::kPalletShineCount) return;
    for (int i = n + 1; i <= tables::kPalletShineCount; ++i)
        shine(i)->button->setEnabled(false);
    for (int i = 1; i < n; ++i)
        if (shine(i)->button->isChecked()) return;
    shine(n)->button->setChecked(true);
    SyncSwatch();
}

void TFormPallet::Timer1Timer() {
    if (pages()->currentIndex() != tables::kPalletCoinsPage) return;
    const int limit = count_->isEnabled() ? count_->currentIndex() + 1 : tables::kPalletShineCount;
    // A count lowered mid-cycle must not step past the last shine entry.
    if (step_ >= limit) step_ = 0;
    QPalette pal = example_->palette();
    pal.setColor(QPalette::Window, shine(step_ + 1)->button->palette().color(QPalette::Window));
    example_->setPalette(pal);
    if (++step_ >= limit) step_ = 0;
}

int TFormPallet::shineCount() const {
    return count_->isEnabled() ? count_->currentIndex() + 1 : tables::kPalletShineCount;
}

void TFormPallet::refreshScenes() {
    const int step = scenes_->shineStep() % shineCount();
    const auto colorAt = [this](int offset) { return colorOf(fields().value(offset)).rgb(); };
    scenes_->refresh(pages()->currentIndex(), colorAt, colorAt(tables::kPalletShineFirst + step));
}

void TFormPallet::sceneTick() {
    scenes_->tick(shineCount());
    refreshScenes();
}

SettingsDialog* makePaletteDialog(const DialogTable&, DialogHost& host, QWidget* parent) {
    return new TFormPallet(host, parent);
}

} // namespace qv
