#include "gui/settings/playpage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/play/corefind.h"
#include "gui/main/platform.h"
#include "gui/play/playkeys.h"

namespace qv {

PlayOptionsPage::PlayOptionsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabPlay"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(6);

    core_ = new QLineEdit(this);
    core_->setObjectName(QStringLiteral("EditPlayCore"));
    core_->setPlaceholderText(QStringLiteral("nestopia, fceumm, mesen or quicknes, found"));
    core_->setToolTip(QStringLiteral("A libretro NES core file, or a folder of cores. Empty: the "
                                     "usual folders."));
    auto* browse = new QPushButton(QStringLiteral("..."), this);
    browse->setObjectName(QStringLiteral("BtnPlayCore"));
    browse->setAutoDefault(false);
    browse->setFixedWidth(28);
    connect(browse, &QPushButton::clicked, this, &PlayOptionsPage::browse);
    auto* label = new QLabel(QStringLiteral("libretro &Core:"), this);
    label->setBuddy(core_);
    column->addWidget(label);
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(core_);
    row->addWidget(browse);
    column->addLayout(row);
    inUse_ = new QLabel(this);
    inUse_->setObjectName(QStringLiteral("LabPlayCoreInUse"));
    inUse_->setWordWrap(true);
    column->addWidget(inUse_);
    connect(core_, &QLineEdit::textChanged, this, &PlayOptionsPage::showCoreInUse);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    for (int i = 0; i < 8; ++i) {
        keys_[static_cast<std::size_t>(i)] = new KeyButton(this);
        keys_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("BtnPlayKey") +
                                                          QString::fromLatin1(kPlayButtonNames[i]));
        grid->addWidget(
            new QLabel(QString::fromLatin1(kPlayButtonNames[i]) + QLatin1Char(':'), this), i % 4,
            (i / 4) * 2);
        grid->addWidget(keys_[static_cast<std::size_t>(i)], i % 4, (i / 4) * 2 + 1);
    }
    column->addWidget(new QLabel(QStringLiteral("Keys (click, then press a key):"), this));
    column->addLayout(grid);
    column->addStretch();
}

void PlayOptionsPage::load(const PlaySettings& s) {
    core_->setText(QString::fromStdString(s.core));
    for (std::size_t i = 0; i < keys_.size(); ++i)
        keys_[i]->setKey(QString::fromStdString(s.keys[i]));
    showCoreInUse();
}

void PlayOptionsPage::store(PlaySettings& s) const {
    s.core = core_->text().toStdString();
    for (std::size_t i = 0; i < keys_.size(); ++i)
        s.keys[i] = keys_[i]->key().toStdString();
}

void PlayOptionsPage::browse() {
    const QString chosen = platform().openFile(this, QString(), core_->text(),
                                               QStringLiteral("libretro Core (*.so)|*.so"));
    if (!chosen.isEmpty()) core_->setText(chosen);
}

void PlayOptionsPage::showCoreInUse() {
    const std::string found = play::findCore(core_->text().toStdString(), play::coreFolders());
    inUse_->setText(found.empty()
                        ? QStringLiteral("No core found: install the package %1.")
                              .arg(QString::fromLatin1(play::kCorePackage.data(),
                                                       static_cast<int>(play::kCorePackage.size())))
                        : QStringLiteral("Plays with %1").arg(QString::fromStdString(found)));
}

} // namespace qv
