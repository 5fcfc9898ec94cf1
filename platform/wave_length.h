// Sounds are short, and a WAV file says how long it is before anything is
// decoded: a header that claims more than a sound may last is refused
// without allocating what it claims.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Every sound the game plays lasts well under this.
inline constexpr uint32_t MaxSoundSeconds = 10;
// Ten seconds of 48 kHz 24-bit stereo and a header: no sound file is longer.
inline constexpr size_t MaxSoundFileBytes = size_t(3) << 20;

// "" when the bytes are a RIFF WAVE file whose format and data chunks claim
// at most `maxSeconds` of sound; otherwise why not, for a message.
std::string CheckWaveLength(const uint8_t* data, size_t size, uint32_t maxSeconds);
