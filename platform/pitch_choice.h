// Which copy of a sound with pitch variants plays: 0 the sound as made, 1..
// PitchedCopies a pitched one. Drawn from a generator of its own (xorshift),
// so the game's random numbers, and with them the coming blocks, never
// depend on the sounds. Each door keeps its own.
#pragma once
#include <cstdint>

#include "platform/platform.h"

inline uint32_t PitchCopyToPlay() {
    static uint32_t state = 0x9E3779B9u;
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state % (SoundImage::PitchedCopies + 1);
}
