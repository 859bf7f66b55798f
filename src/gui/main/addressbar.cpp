#include "gui/main/addressbar.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/document.h"
#include "core/valuedisplay.h"
#include "gui/main/platform.h"

namespace qv {
namespace {

int hexDigit(QChar c) {
    if (c >= '0' && c <= '9') return c.unicode() - '0';
    if (c >= 'A' && c <= 'F') return c.unicode() - 'A' + 10;
    return -1;
}

// The last `width` characters of "0000" + text, read as hexadecimal; -1 when any is not a digit.
int parseHex(const QString& text, int width) {
    const QString padded = (QString(width, '0') + text.toUpper()).right(width);
    int v = 0;
    for (QChar c : padded) {
        const int d = hexDigit(c);
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

QString hex(int v, int width) {
    return QStringLiteral("%1").arg(v, width, 16, QChar('0')).toUpper();
}

// A label that takes the room it is given and cuts its text to fit, whole in its tip:
// the parameter names must not widen the main window.
class ElidedLabel final : public QLabel {
  public:
    using QLabel::QLabel;
    void setFullText(const QString& text) {
        full_ = text;
        setToolTip(text);
        fit();
    }
    const QString& fullText() const { return full_; }

  protected:
    void resizeEvent(QResizeEvent* e) override {
        QLabel::resizeEvent(e);
        fit();
    }

  private:
    void fit() { setText(fontMetrics().elidedText(full_, Qt::ElideRight, contentsRect().width())); }
    QString full_;
};

} // namespace

SpinButtons::SpinButtons(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = new QToolButton(this);
    down_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setFixedSize(16, 11);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(b);
    }
    up_->setObjectName(name + QStringLiteral("Up"));
    down_->setObjectName(name + QStringLiteral("Down"));
    connect(up_, &QToolButton::clicked, this, [this] { emit stepped(true); });
    connect(down_, &QToolButton::clicked, this, [this] { emit stepped(false); });
}

AddressBar::AddressBar(RomDocument& doc, Hooks hooks, QWidget* parent)
    : QWidget(parent), doc_(doc), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("PnlAdr"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(3);

    labAdr1_ = new QLabel(QStringLiteral("A&ddress"), this);
    labAdr1_->setObjectName(QStringLiteral("LabAdr1"));
    editAdr1_ = new QLineEdit(this);
    editAdr1_->setObjectName(QStringLiteral("EditAdr1"));
    editAdr1_->setMaxLength(4);
    editAdr1_->setFixedWidth(editAdr1_->fontMetrics().horizontalAdvance(QStringLiteral("WWWW")) +
                             10);
    udAdr1_ = new SpinButtons(QStringLiteral("UdAdr1"), this);
    labAdr2_ = new QLabel(QStringLiteral("Val&ue"), this);
    labAdr2_->setObjectName(QStringLiteral("LabAdr2"));
    editAdr2_ = new QLineEdit(this);
    editAdr2_->setObjectName(QStringLiteral("EditAdr2"));
    editAdr2_->setMaxLength(2);
    editAdr2_->setFixedWidth(editAdr2_->fontMetrics().horizontalAdvance(QStringLiteral("WW")) + 10);
    udAdr2_ = new SpinButtons(QStringLiteral("UdAdr2"), this);
    spBtnAdr2_ = new QToolButton(this);
    spBtnAdr2_->setObjectName(QStringLiteral("SpBtnAdr2"));
    spBtnAdr2_->setText(QStringLiteral("Wr&ite"));
    spBtnAdr2_->setAutoRaise(true);
    labParam_ = new ElidedLabel(this);
    labParam_->setObjectName(QStringLiteral("LabAdrParam"));
    labParam_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    labParam_->setMinimumWidth(0);
    labAdr1_->setBuddy(editAdr1_);
    labAdr2_->setBuddy(editAdr2_);
    for (QLineEdit* e : {editAdr1_, editAdr2_}) {
        e->setAttribute(Qt::WA_InputMethodEnabled, false);
        e->installEventFilter(this);
    }

    layout->addWidget(labAdr1_);
    layout->addWidget(editAdr1_);
    layout->addWidget(udAdr1_);
    layout->addSpacing(6);
    layout->addWidget(labAdr2_);
    layout->addWidget(editAdr2_);
    layout->addWidget(udAdr2_);
    layout->addWidget(spBtnAdr2_);
    layout->addWidget(labParam_, 1);

    connect(editAdr1_, &QLineEdit::textChanged, this, [this] { EditAdr1Change(); });
    connect(editAdr2_, &QLineEdit::textChanged, this, [this] { EditAdr2Change(); });
    connect(udAdr1_, &SpinButtons::stepped, this, [this](bool up) { UdAdr1Click(up); });
    connect(udAdr2_, &SpinButtons::stepped, this, [this](bool up) { UdAdr2Click(up); });
    connect(spBtnAdr2_, &QToolButton::clicked, this, [this] { SpBtnAdr2Click(); });
    documentClosed();
}

void AddressBar::setEditEnabled(QLineEdit* edit, bool on) {
    edit->setEnabled(on);
    // Enabled edits have the window colour, disabled ones the button face.
    QPalette pal = edit->palette();
    pal.setColor(QPalette::Base, on ? palette().color(QPalette::Active, QPalette::Base)
                                    : palette().color(QPalette::Active, QPalette::Button));
    edit->setPalette(pal);
}

void AddressBar::documentClosed() {
    setEditEnabled(editAdr1_, false);
    setEditEnabled(editAdr2_, false);
    udAdr1_->setEnabled(false);
    udAdr2_->setEnabled(false);
    spBtnAdr2_->setEnabled(false);
    editAdr1_->clear();
    editAdr2_->clear();
    showParameterNames({});
}

void AddressBar::documentLoaded() {
    const QString previous = editAdr1_->text();
    addressPos_ = 0;
    setEditEnabled(editAdr1_, true);
    setEditEnabled(editAdr2_, true);
    udAdr1_->setEnabled(true);
    udAdr2_->setEnabled(true);
    editAdr1_->blockSignals(true);
    editAdr1_->setText(previous.isEmpty() ? QStringLiteral("0000") : previous);
    editAdr1_->blockSignals(false);
    EditAdr1Change();
}

void AddressBar::refreshValue() {
    EditAdr1Change();
}

bool AddressBar::inRange(int address) const {
    return address >= 0 && address <= doc_.lastAddress();
}

int AddressBar::storedByte(int address) const {
    return doc_.at(address);
}

int AddressBar::parsedAddress() const {
    const QString text = editAdr1_->text();
    if (text.isEmpty()) return kInvalid;
    const int v = parseHex(text, 4);
    return v < 0 ? kInvalid : v;
}

void AddressBar::showParameterNames(const QString& names) {
    static_cast<ElidedLabel*>(labParam_)->setFullText(names);
}

QString AddressBar::parameterNames() const {
    return static_cast<const ElidedLabel*>(labParam_)->fullText();
}

void AddressBar::EditAdr1Change() {
    if (!hooks_.documentOpen()) return;
    const int address = parsedAddress();
    if (address == kInvalid || !inRange(address)) {
        showParameterNames({});
        addressPos_ = 0;
        setEditEnabled(editAdr2_, false);
        udAdr2_->setEnabled(false);
        editAdr2_->clear();
        EditAdr2Change(); // an unchanged empty text still disables the write
        return;
    }
    setEditEnabled(editAdr2_, true);
    udAdr2_->setEnabled(true);
    spBtnAdr2_->setEnabled(false);
    addressPos_ = address;
    // The byte is never written blind: what it belongs to is named beside it.
    QStringList names;
    for (const ItemRow* r : parametersAt(address, doc_.shift()))
        names << QString::fromStdString(parameterName(*r));
    showParameterNames(names.isEmpty() ? QStringLiteral("no parameter")
                                       : names.join(QStringLiteral("; ")));
    const QString value = hex(storedByte(address), 2);
    if (editAdr2_->text() == value)
        EditAdr2Change();
    else
        editAdr2_->setText(value);
}

void AddressBar::EditAdr2Change() {
    const QString text = editAdr2_->text();
    if (text.isEmpty()) {
        valuePos_ = 0;
        spBtnAdr2_->setEnabled(false);
        return;
    }
    const int value = parseHex(text, 2);
    if (value < 0) {
        spBtnAdr2_->setEnabled(false);
        return;
    }
    valuePos_ = value;
    updateWriteButton(value);
}

void AddressBar::updateWriteButton(int value) {
    const int address = parsedAddress();
    if (address == kInvalid || !inRange(address)) return;
    spBtnAdr2_->setEnabled(value != storedByte(address));
}

void AddressBar::UdAdr1Click(bool up) {
    if (!udAdr1_->isEnabled()) return;
    const int last = doc_.lastAddress();
    int address = addressPos_ + (up ? 1 : -1);
    const int typed = parsedAddress();
    if (!up && (typed == kInvalid || !inRange(typed))) address = last;
    if (address > last) address = 0;
    if (address < 0) address = last;
    editAdr1_->setText(hex(address, 4));
    editAdr1_->setFocus();
    editAdr1_->selectAll();
}

void AddressBar::UdAdr2Click(bool up) {
    if (!udAdr2_->isEnabled()) return;
    int value = valuePos_ + (up ? 1 : -1);
    if (!up && !spBtnAdr2_->isEnabled() && editAdr2_->text().isEmpty()) value = 0xFF;
    if (value < 0) value = 0xFF;
    if (value > 0xFF) value = 0;
    editAdr2_->setText(hex(value, 2));
    editAdr2_->setFocus();
    editAdr2_->selectAll();
    valuePos_ = value;
    updateWriteButton(value);
}

void AddressBar::SpBtnAdr2Click() {
    const int address = parsedAddress();
    if (address == kInvalid || !inRange(address)) return;
    const QString addressText = (QStringLiteral("0000") + editAdr1_->text().toUpper()).right(4);
    const QString valueText = (QStringLiteral("00") + editAdr2_->text().toUpper()).right(2);
    const int value = parseHex(valueText, 2);
    if (value < 0) return;
    if (hooks_.writeCheck() &&
        platform().ask(window(), QStringLiteral("Set '%1' to '%2'?").arg(addressText, valueText),
                       Buttons::YesNo) != Answer::Yes)
        return;
    // Stored, then announced: the bar and every other follower show the new byte.
    doc_.writeByte(address, static_cast<std::uint8_t>(value));
    spBtnAdr2_->setEnabled(false);
}

// True when `key` is the shortcut of one of the window's commands.
bool AddressBar::isCommandShortcut(const QKeyEvent* key) const {
    const QKeySequence pressed(key->keyCombination());
    for (const QAction* a : window()->findChildren<QAction*>())
        if (a->shortcut() == pressed) return true;
    return false;
}

bool AddressBar::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    // The edits would claim Ctrl+Z (their own undo) and Ctrl+A (select all) before the
    // menus see them; the window's commands come first, wherever the focus is.
    if (edit && event->type() == QEvent::ShortcutOverride &&
        isCommandShortcut(static_cast<QKeyEvent*>(event)))
        return true;
    if (!edit || event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
        const bool up = key->key() == Qt::Key_Up;
        edit == editAdr1_ ? UdAdr1Click(up) : UdAdr2Click(up);
        return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (edit == editAdr2_ && spBtnAdr2_->isEnabled()) SpBtnAdr2Click();
        return true;
    }
    const QString text = key->text();
    if (text.isEmpty()) return false; // navigation and editing keys pass
    const QChar c = text.at(0);
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    if (ctrl && (key->key() == Qt::Key_C || key->key() == Qt::Key_X || key->key() == Qt::Key_V ||
                 key->key() == Qt::Key_Z))
        return false;
    if (c == QChar(8) || key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Tab ||
        key->key() == Qt::Key_Backtab || c.unicode() == 127 || key->key() == Qt::Key_Delete)
        return false;
    if (c >= 'a' && c <= 'f') {
        edit->insert(c.toUpper()); // hexadecimal is shown in upper case
        return true;
    }
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) return false;
    return true; // every other key is swallowed
}

} // namespace qv
