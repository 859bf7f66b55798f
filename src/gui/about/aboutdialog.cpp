#include "gui/about/aboutdialog.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/version.h"
#include "gui/about/iconpixels.h"
#include "gui/main/deferredicons.h"
#include "gui/main/placement.h"
#include "gui/main/platform.h"

namespace qv {

QIcon programIcon() {
    // The same artwork the desktop shows (the hicolor icons), built into the program as
    // decoded pixels. Made on first use: the main window sets it before its first
    // paint, and on most platforms nothing draws it then.
    QList<QSize> sizes;
    for (const IconPixels& p : programIconPixels())
        sizes << QSize(p.width, p.height);
    return deferredIcon(
        [] {
            QIcon icon;
            for (const IconPixels& p : programIconPixels())
                icon.addPixmap(QPixmap::fromImage(QImage(p.bits, p.width, p.height,
                                                         static_cast<qsizetype>(p.bytesPerLine),
                                                         static_cast<QImage::Format>(p.format))));
            return icon;
        },
        sizes);
}

QString TFormAbout::homePage() {
    return QStringLiteral(QV_HOME_PAGE);
}

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("ImgIcon"));
    icon->setPixmap(programIcon().pixmap(32, 32));
    auto label = [this](const char* name, const QString& text, int size, bool bold) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        if (size) {
            QFont f(QStringLiteral("Arial"));
            f.setPixelSize(size);
            f.setBold(bold);
            l->setFont(f);
        }
        return l;
    };
    QLabel* soft = label("LabSoft", QStringLiteral("The Quorvane developers"), 13, true);
    QLabel* name = label("LabName1", QStringLiteral("Quorvane"), 27, true);
    QLabel* version =
        label("LabVersion",
              QStringLiteral("Version %1")
                  .arg(QString::fromUtf8(kVersion.data(), static_cast<qsizetype>(kVersion.size()))),
              0, false);
    QLabel* copy =
        label("LabCopy", QStringLiteral("Copyright (C) 2026 The Quorvane developers"), 0, false);
    // A link only to a real page: a build without one shows none.
    QLabel* url = nullptr;
    if (!homePage().isEmpty()) {
        url = label("LabURL", homePage(), 0, false);
        url->setCursor(Qt::PointingHandCursor);
        QFont linkFont = url->font();
        linkFont.setUnderline(true);
        url->setFont(linkFont);
        QPalette pal = url->palette();
        pal.setColor(QPalette::WindowText, Qt::blue);
        url->setPalette(pal);
        url->installEventFilter(this);
    }
    QLabel* thanks = label("LabThanks", QStringLiteral("Special Thanks:"), 0, false);
    auto* tree = new QTreeWidget(this);
    tree->setObjectName(QStringLiteral("TreeView1"));
    tree->setHeaderHidden(true);
    tree->setFixedHeight(80);
    auto* testers = new QTreeWidgetItem(tree, {QStringLiteral("Testing")});
    new QTreeWidgetItem(testers, {QStringLiteral("Everyone who reported a byte we got wrong")});
    auto* docs = new QTreeWidgetItem(tree, {QStringLiteral("Research")});
    new QTreeWidgetItem(docs, {QStringLiteral("The ROM hacking community's notes on the game")});
    tree->expandAll();
    // Wide enough for every credit in full, never cut off with an ellipsis.
    tree->setTextElideMode(Qt::ElideNone);
    int widest = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        int depth = 1;
        for (QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent())
            ++depth;
        widest = std::max(widest, depth * tree->indentation() +
                                      tree->fontMetrics().horizontalAdvance((*it)->text(0)));
    }
    tree->setMinimumWidth(widest + 2 * tree->frameWidth() + 16);
    QLabel* english =
        label("LabEnglish", QStringLiteral("English text by the Quorvane developers"), 0, false);
    QFont italic = english->font();
    italic.setItalic(true);
    english->setFont(italic);

    auto* bevel1 = new QFrame(this);
    bevel1->setObjectName(QStringLiteral("Bevel1"));
    bevel1->setFrameShape(QFrame::HLine);
    bevel1->setFrameShadow(QFrame::Sunken);
    auto* bevel2 = new QFrame(this);
    bevel2->setObjectName(QStringLiteral("Bevel2"));
    bevel2->setFrameShape(QFrame::VLine);
    bevel2->setFrameShadow(QFrame::Sunken);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BtnOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->addWidget(icon, 0, 0, Qt::AlignTop);
    auto* title = new QVBoxLayout;
    title->addWidget(soft);
    title->addWidget(name);
    grid->addLayout(title, 0, 1, 1, 2);
    grid->addWidget(bevel1, 1, 0, 1, 3);
    grid->addWidget(bevel2, 2, 0, 1, 1, Qt::AlignHCenter);
    auto* text = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{version, copy, url, thanks, tree, english})
        if (w) text->addWidget(w);
    grid->addLayout(text, 2, 1, 1, 2);
    grid->addWidget(ok, 3, 2, Qt::AlignRight);
}

void TFormAbout::FormShow() {
    adjustSize();
    QWidget* over = QApplication::activeWindow();
    if (!over || over == this) over = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = workArea(over ? over : this);
    moveFrameTo(this, placeOver(over ? over->frameGeometry() : area, frameGeometry().size(), area));
}

void TFormAbout::LabURLClick() {
    platform().openUrl(homePage());
}

bool TFormAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched->objectName() == QStringLiteral("LabURL") &&
        event->type() == QEvent::MouseButtonRelease) {
        LabURLClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qv
