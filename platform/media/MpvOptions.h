#pragma once
// The engine's options for a radio and TV player, apart from the calls that set them.
#include "MediaPlayer.h"

#include <utility>
#include <vector>

namespace platform {

using EngineOption = std::pair<const char*, const char*>;

// Every option set before the engine starts; the sound output from CORVANE_MPV_AO when set.
std::vector<EngineOption> EngineOptions(MediaPlayer::Video video);

} // namespace platform
