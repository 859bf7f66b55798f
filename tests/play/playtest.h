#pragma once
// The core the play tests run on. Where none is installed a test skips, but never
// in CI, which installs one through scripts/deps.sh. No package installs a Windows
// core on the build machine, so the Windows build (under Wine) always may skip.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "core/play/corefind.h"

namespace qvtest {

#ifdef _WIN32
inline constexpr bool kCoreRequiredInCi = false;
#else
inline constexpr bool kCoreRequiredInCi = true;
#endif

inline std::string installedCore() {
    return qv::play::findCore("", qv::play::coreFolders());
}

} // namespace qvtest

#define QV_REQUIRE_CORE(path)                                                                      \
    do {                                                                                           \
        if ((path).empty()) {                                                                      \
            if (qvtest::kCoreRequiredInCi && std::getenv("CI"))                                    \
                FAIL() << "no libretro NES core is installed in CI";                               \
            GTEST_SKIP()                                                                           \
                << "no libretro NES core is installed (apt-get install libretro-nestopia)";        \
        }                                                                                          \
    } while (false)
