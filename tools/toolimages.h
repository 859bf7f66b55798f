#pragma once
#include <QImage>

constexpr int kToolImageCount = 13;

// Tool image `index` (0 to kToolImageCount - 1), 16 x 16 pixels.
QImage drawToolImage(int index);
