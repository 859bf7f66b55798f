#include "gui/dialogs/choicemodels.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QHash>
#include <QStringListModel>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QtMath>
#include <algorithm>
#include <map>
#include <tuple>

#include "core/items.h"
#include "gui/main/glyphs.h"

namespace qv {
namespace {

// What a combo box's size hint depends on besides its entries.
struct HintKey {
    const QStyle* style;
    QString font;
    int dpi;
    bool frame;
    int iconWidth;
    int iconHeight;
    auto tie() const { return std::tie(style, font, dpi, frame, iconWidth, iconHeight); }
    bool operator<(const HintKey& o) const { return tie() < o.tie(); }
};

// Owned by the application object, so they go with it; the caches forget them then.
std::map<const void*, QStringListModel*>& cache() {
    static std::map<const void*, QStringListModel*> models;
    return models;
}
std::map<const QAbstractItemModel*, std::map<HintKey, QSize>>& hintCache() {
    static std::map<const QAbstractItemModel*, std::map<HintKey, QSize>> hints;
    return hints;
}

QStringListModel* cached(const void* key, const std::vector<std::string>& captions) {
    auto& models = cache();
    if (const auto it = models.find(key); it != models.end()) return it->second;
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(captions.size()));
    for (const std::string& c : captions)
        entries << drawableText(QString::fromStdString(c));
    auto* model = new QStringListModel(entries, QCoreApplication::instance());
    QObject::connect(model, &QObject::destroyed, [key, model] {
        cache().erase(key);
        hintCache().erase(model);
    });
    models.emplace(key, model);
    hintCache().emplace(model, std::map<HintKey, QSize>{});
    return model;
}

} // namespace

QAbstractItemModel* choiceModel(const ChoiceList& list) {
    return cached(&list, list.captions());
}

QAbstractItemModel* outOfBoundsModel() {
    static const std::vector<std::string> single{std::string(kOutOfBounds)};
    return cached(&single, single);
}

bool ChoiceCombo::usesSharedHints() const {
    // A style sheet may style each combo box on its own; the other settings change
    // what QComboBox measures.
    return hintCache().count(model()) != 0 && !testAttribute(Qt::WA_StyleSheet) &&
           sizeAdjustPolicy() == AdjustToContentsOnFirstShow && minimumContentsLength() == 0 &&
           !isEditable() && placeholderText().isEmpty();
}

void ChoiceCombo::setChoices(QAbstractItemModel* m) {
    if (model() == m) return;
    setModel(m);
    hint_ = minimumHint_ = QSize();
    updateGeometry();
}

QSize ChoiceCombo::sizeHint() const {
    if (!usesSharedHints()) return QComboBox::sizeHint();
    if (!hint_.isValid()) hint_ = sharedHint();
    return hint_;
}

QSize ChoiceCombo::minimumSizeHint() const {
    if (!usesSharedHints()) return QComboBox::minimumSizeHint();
    if (!minimumHint_.isValid()) minimumHint_ = sharedHint();
    return minimumHint_;
}

void ChoiceCombo::showEvent(QShowEvent* event) {
    if (!shownOnce_) hint_ = QSize();
    shownOnce_ = true;
    QComboBox::showEvent(event);
}

void ChoiceCombo::changeEvent(QEvent* event) {
    if (event->type() == QEvent::StyleChange) hint_ = minimumHint_ = QSize();
    if (event->type() == QEvent::FontChange) hint_ = QSize();
    QComboBox::changeEvent(event);
}

QSize ChoiceCombo::sharedHint() const {
    const HintKey key{style(),    font().key(),       logicalDpiY(),
                      hasFrame(), iconSize().width(), iconSize().height()};
    auto& hints = hintCache().at(model());
    if (const auto it = hints.find(key); it != hints.end()) return it->second;
    // QComboBox's own measure for entries without icons, adjusted to the contents:
    // the widest entry's bounding box and the font's height, grown by the style's
    // frame and arrow. Without a minimum contents length both hints are this one.
    const QFontMetrics fm = fontMetrics();
    QSize size(0, std::max(qCeil(QFontMetricsF(fm).height()), 14) + 2);
    if (count() == 0) size.setWidth(7 * fm.horizontalAdvance(u'x'));
    // Lists of one dialog repeat each other's entries (the same characters with another
    // one marked as the default), so each text is measured once per font and resolution.
    static QHash<QString, QHash<QString, int>> widthsByFont;
    QHash<QString, int>& widths = widthsByFont[key.font + u'@' + QString::number(key.dpi)];
    for (int i = 0; i < count(); ++i) {
        const QString text = itemText(i);
        auto w = widths.constFind(text);
        if (w == widths.constEnd()) w = widths.insert(text, fm.boundingRect(text).width());
        size.setWidth(std::max(size.width(), *w));
    }
    QStyleOptionComboBox option;
    initStyleOption(&option);
    size = style()->sizeFromContents(QStyle::CT_ComboBox, &option, size, this);
    hints.emplace(key, size);
    return size;
}

} // namespace qv
