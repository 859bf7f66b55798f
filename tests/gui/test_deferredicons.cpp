#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

#include "gui/main/deferredicons.h"

namespace {

QImage image(const QIcon& icon, int size) {
    return icon.pixmap(size, size).toImage();
}

TEST(DeferredIconStyle, OverflowIconsDrawAsTheBaseStylesAndOthersPassThrough) {
    QStyle* base = QApplication::style();
    qv::DeferredIconStyle style(base->name());
    for (auto which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
        const QIcon deferred = style.standardIcon(which);
        const QIcon real = base->standardIcon(which);
        EXPECT_FALSE(deferred.isNull());
        EXPECT_EQ(deferred.availableSizes(), real.availableSizes());
        EXPECT_EQ(deferred.actualSize(QSize(16, 16)), real.actualSize(QSize(16, 16)));
        EXPECT_EQ(image(deferred, 16), image(real, 16));
        EXPECT_EQ(image(deferred, 8), image(real, 8));
        // A copy stands for the same icon.
        const QIcon copy = deferred;
        EXPECT_EQ(image(copy, 16), image(real, 16));
    }
    EXPECT_EQ(image(style.standardIcon(QStyle::SP_DialogOkButton), 16),
              image(base->standardIcon(QStyle::SP_DialogOkButton), 16));
}

} // namespace
