#pragma once
#include <QImage>

constexpr int kToolImageCount = 14;
// Each image is drawn for these device pixel ratios (16, 24, 32 and 48 pixels), so that
// a scaled screen shows it drawn rather than enlarged.
constexpr double kToolImageScales[] = {1.0, 1.5, 2.0, 3.0};

// Tool image `index` (0 to kToolImageCount - 1), 16 x 16 pixels times `scale`.
QImage drawToolImage(int index, double scale = 1.0);
