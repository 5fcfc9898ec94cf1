// The four short sounds, read whole into memory at start-up, and the calls
// of the platform that play them and stop the tune.
#pragma once
#include <cstdint>
#include <vector>

// A sound file read whole into memory. `handle` belongs to the platform (a
// decoded chunk); `name` identifies it in traces.
struct SoundImage {
    const char* name = "";
    std::vector<uint8_t> bytes;
    void* handle = nullptr;
};

extern SoundImage SoundMove, SoundTurn, SoundCursor, SoundDecide;  // owned by start-up

// A new sound cuts off the one still playing. An empty or undecodable image is silent.
void PlatformPlaySound(const SoundImage& image);
// Harmless when the tune could not be opened.
void PlatformTuneStop();
