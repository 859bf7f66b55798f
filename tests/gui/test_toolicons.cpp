#include <QColor>
#include <QIcon>
#include <QImage>
#include <gtest/gtest.h>

#include "gui/main/icons.h"

namespace {

QColor pixel(int index, int x, int y) {
    return qv::toolIcon(index).pixmap(16, 16).toImage().pixelColor(x, y);
}

TEST(ToolIcons, TheBuiltInImagesKeepTheirSizeAndColours) {
    // Each drawn for device pixel ratios 1, 1.5, 2 and 3.
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(qv::toolIcon(i).availableSizes(),
                  (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}}))
            << i;
    EXPECT_TRUE(qv::toolIcon(-1).isNull());
    EXPECT_TRUE(qv::toolIcon(14).isNull());
    // Open: the folder's yellow inside its dark outline, on a clear corner.
    EXPECT_EQ(pixel(0, 8, 9), QColor(232, 190, 80));
    EXPECT_EQ(pixel(0, 2, 5), QColor(64, 58, 52));
    EXPECT_EQ(pixel(0, 0, 0).alpha(), 0);
    // Always on top: the pin's head grey when off, red when on.
    EXPECT_EQ(pixel(5, 8, 4), QColor(150, 150, 150));
    EXPECT_EQ(pixel(6, 8, 4), QColor(210, 60, 60));
    // Help: the white question mark on the blue disc.
    EXPECT_EQ(pixel(11, 8, 4), QColor(255, 255, 255));
    EXPECT_EQ(pixel(11, 3, 8), QColor(60, 110, 200));
    // Play: a green triangle.
    EXPECT_EQ(pixel(13, 7, 8), QColor(40, 150, 60));

    // At twice the size the 32-pixel drawing is taken as it is: the folder's outline is
    // as thin there as at 1x, where an enlargement would double it.
    const QImage big = qv::toolIcon(0).pixmap(QSize(16, 16), 2.0).toImage();
    EXPECT_EQ(big.size(), QSize(32, 32));
    EXPECT_EQ(big.pixelColor(17, 19), QColor(232, 190, 80));
    EXPECT_EQ(big.pixelColor(5, 17), QColor(232, 190, 80)); // just inside the outline
}

} // namespace
