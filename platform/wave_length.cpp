#include "platform/wave_length.h"

#include <cstring>

namespace {
uint32_t Le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

// Sample frames the data chunk holds at most: exact for PCM and the other
// fixed-size formats; for compressed ones (ADPCM) at most two samples a
// byte per channel plus the samples each block carries in its header.
uint64_t FramesAtMost(uint32_t tag, uint32_t channels, uint32_t blockAlign, uint64_t dataBytes) {
    constexpr uint32_t Pcm = 1, Float = 3, ALaw = 6, MuLaw = 7, Extensible = 0xFFFE;
    if (tag == Pcm || tag == Float || tag == ALaw || tag == MuLaw || tag == Extensible) return dataBytes / blockAlign;
    return dataBytes * 2 / channels + 2 * (dataBytes / blockAlign + 1);
}
}  // namespace

std::string CheckWaveLength(const uint8_t* data, size_t size, uint32_t maxSeconds) {
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return "not a WAV file";
    const uint8_t* fmt = nullptr;
    uint64_t dataBytes = 0;
    bool haveData = false;
    for (size_t at = 12; at + 8 <= size && !haveData;) {
        uint32_t length = Le32(data + at + 4);
        if (std::memcmp(data + at, "fmt ", 4) == 0 && length >= 16 && at + 8 + 16 <= size) fmt = data + at + 8;
        if (std::memcmp(data + at, "data", 4) == 0) {
            dataBytes = length;
            haveData = true;
        }
        at += 8 + uint64_t(length) + (length & 1);
    }
    if (fmt == nullptr || !haveData) return "a WAV file without its format or its data";
    uint32_t tag = Le16(fmt), channels = Le16(fmt + 2), rate = Le32(fmt + 4), blockAlign = Le16(fmt + 12);
    if (channels == 0 || rate == 0 || blockAlign == 0) return "a WAV file with a broken format";
    uint64_t frames = FramesAtMost(tag, channels, blockAlign, dataBytes);
    if (frames > uint64_t(maxSeconds) * rate)
        return "its header claims " + std::to_string(frames / rate) + " s of sound, more than the " +
               std::to_string(maxSeconds) + " s a sound may last";
    return "";
}
