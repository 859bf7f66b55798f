#include "gui/dialogs/choicemodels.h"

#include <QCoreApplication>
#include <QStringListModel>
#include <map>

#include "core/items.h"
#include "gui/main/glyphs.h"

namespace qv {
namespace {

// Owned by the application object, so they go with it; the cache forgets them then.
std::map<const void*, QStringListModel*>& cache() {
    static std::map<const void*, QStringListModel*> models;
    return models;
}

QStringListModel* cached(const void* key, const std::vector<std::string>& captions) {
    auto& models = cache();
    if (const auto it = models.find(key); it != models.end()) return it->second;
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(captions.size()));
    for (const std::string& c : captions)
        entries << drawableText(QString::fromStdString(c));
    auto* model = new QStringListModel(entries, QCoreApplication::instance());
    QObject::connect(model, &QObject::destroyed, [key] { cache().erase(key); });
    models.emplace(key, model);
    return model;
}

} // namespace

QAbstractItemModel* choiceModel(const ChoiceList& list) {
    return cached(&list, list.captions);
}

QAbstractItemModel* outOfBoundsModel() {
    static const std::vector<std::string> single{std::string(kOutOfBounds)};
    return cached(&single, single);
}

} // namespace qv
