#pragma once

#include "Synth.h"

#include <string>
#include <vector>

namespace synth {

struct TSound {
    std::string File;
    TSignal (*Make)();
};

// The 21 short sounds, in the order the program loads them.
const std::vector<TSound>& ShortSounds();
// The two pieces of music.
const std::vector<TSound>& Music();

} // namespace synth
