#include "gui/dialogs/valuemarks.h"

#include <QPainter>
#include <QStyle>

#include "core/itemtext.h"
#include "gui/dialogs/smallwidgets.h"

namespace qv {

namespace {

constexpr int kDot = 6;     // the mark's diameter
constexpr int kDotRoom = 8; // what each tab keeps for it

const QColor kChanged(255, 236, 170); // a pale amber, light enough for dark text
const QColor kInvalid(255, 200, 200);

} // namespace

MarkedTabBar::MarkedTabBar(QWidget* parent) : QTabBar(parent) {}

void MarkedTabBar::setMarked(int index, bool marked) {
    if (isMarked(index) == marked) return;
    setTabData(index, marked);
    setTabToolTip(index, marked ? QStringLiteral("Holds values that differ from the game's own")
                                : QString());
    update();
}

bool MarkedTabBar::isMarked(int index) const {
    return tabData(index).toBool();
}

QSize MarkedTabBar::tabSizeHint(int index) const {
    return QTabBar::tabSizeHint(index) + QSize(kDotRoom, 0);
}

void MarkedTabBar::paintEvent(QPaintEvent* event) {
    QTabBar::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(palette().color(QPalette::WindowText));
    for (int i = 0; i < count(); ++i) {
        if (!isMarked(i)) continue;
        const QRect r = tabRect(i);
        p.drawEllipse(
            QRect(r.right() - kDotRoom - kDot / 2, r.center().y() - kDot / 2, kDot, kDot));
    }
}

MarkedTabWidget::MarkedTabWidget(QWidget* parent) : QTabWidget(parent) {
    bar_ = new MarkedTabBar(this);
    setTabBar(bar_);
}

void markField(QWidget* field, FieldMark mark, const QString& tip) {
    if (mark == FieldMark::None) {
        field->setPalette(QPalette());
    } else {
        QPalette pal = field->palette();
        const QColor tint = mark == FieldMark::Invalid ? kInvalid : kChanged;
        // A list box draws with the button face, an edit with the base.
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            pal.setColor(group, QPalette::Base, tint);
            pal.setColor(group, QPalette::Button, tint);
            pal.setColor(group, QPalette::Text, Qt::black);
            pal.setColor(group, QPalette::ButtonText, Qt::black);
        }
        field->setPalette(pal);
    }
    field->setToolTip(tip);
}

void markBold(QWidget* w, bool marked) {
    if (w->font().bold() == marked) return;
    QFont f = w->font();
    f.setBold(marked);
    w->setFont(f);
}

bool markNumberField(QWidget* edit, const Item& item, const QString& text) {
    if (!edit->isEnabled()) return false;
    FieldMark mark = FieldMark::None;
    QString tip;
    bool differs = false;
    if (const auto problem = numberProblem(item, text)) {
        mark = FieldMark::Invalid;
        tip = *problem;
    } else if (parseDecimal(text.toStdString()) != item.defaultValue) {
        differs = true;
        mark = FieldMark::Changed;
        tip = QStringLiteral("The game's own value: %1").arg(item.defaultValue);
    }
    // Only a change of mark is drawn.
    if (edit->property("qvMark").toInt() != static_cast<int>(mark) || edit->toolTip() != tip) {
        edit->setProperty("qvMark", static_cast<int>(mark));
        markField(edit, mark, tip);
    }
    return differs;
}

std::optional<QString> numberProblem(const Item& item, const QString& text) {
    const QString stored = QStringLiteral(": OK stores the default, %1").arg(item.defaultValue);
    const std::optional<int> v = parseDecimal(text.toStdString());
    if (v && item.accepts(*v)) return std::nullopt;
    if (text.trimmed().isEmpty()) return QStringLiteral("Empty") + stored;
    if (!v) return QStringLiteral("\"%1\" is not a number").arg(text) + stored;
    return qs(std::to_string(*v) + " is outside " + std::to_string(item.acceptMin) + "～" +
              std::to_string(item.acceptMax)) +
           stored;
}

} // namespace qv
