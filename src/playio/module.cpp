// The module's entry point, which the editor looks up by name (kPlayIoEntry).
#include <QtGlobal>

#include "playio/makers.h"

extern "C" Q_DECL_EXPORT const qv::PlayIo* qv_play_io() {
    static const qv::PlayIo io{&qv::newPlayAudio, &qv::newGamepads};
    return &io;
}
