#pragma once
#include <QIcon>

namespace qv {
// The tool bar's image list, drawn at build time rather than shipped as files
// (tools/toolimages.cpp): 0 open, 1 save, 2 save as,
// 3 close, 4 reload, 5 always on top (off), 6 always on top (on), 7 options,
// 8 create IPS, 9 open IPS, 10 undo, 11 help, 12 exit, 13 play. Each is drawn at 16,
// 24, 32 and 48 pixels, so that a scaled screen gets a drawing, not an enlargement.
QIcon toolIcon(int index);
} // namespace qv
