#pragma once
// The one version of the editor, the tool and the package, from the build's
// project version. Only the few files that show it are compiled with QV_VERSION, so
// a new version rebuilds those alone.
#include <string_view>

#ifndef QV_VERSION
#error "QV_VERSION is set by the build for the files that include this header"
#endif

namespace qv {
inline constexpr std::string_view kVersion = QV_VERSION;
} // namespace qv
