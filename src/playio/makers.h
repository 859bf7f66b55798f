#pragma once
// The module's two makers, one in each of its files.
#include "gui/play/playio.h"

namespace qv {

PlayAudio* newPlayAudio(double sampleRate);
Gamepads* newGamepads();

} // namespace qv
