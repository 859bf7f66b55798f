#include <QApplication>
#include <QImage>
#include <QPixmap>
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

TEST(DeferredIcon, SizesAnswerWithoutMakingThePicturesAndTheIconIsMadeOnce) {
    int made = 0;
    QPixmap red(16, 16);
    red.fill(Qt::red);
    QPixmap blue(32, 32);
    blue.fill(Qt::blue);
    const QIcon icon = qv::deferredIcon(
        [&] {
            ++made;
            QIcon real;
            real.addPixmap(red);
            real.addPixmap(blue);
            return real;
        },
        {QSize(16, 16), QSize(32, 32)});
    EXPECT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
    EXPECT_TRUE(icon.availableSizes(QIcon::Disabled).isEmpty());
    EXPECT_EQ(made, 0);
    EXPECT_EQ(image(icon, 16).pixelColor(3, 3), QColor(Qt::red));
    const QIcon copy = icon;
    EXPECT_EQ(image(copy, 32).pixelColor(3, 3), QColor(Qt::blue));
    EXPECT_EQ(icon.actualSize(QSize(64, 64)), QSize(32, 32));
    EXPECT_EQ(made, 1);
}

} // namespace
