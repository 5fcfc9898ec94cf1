#include "platform/midi_check.h"

#include <algorithm>
#include <vector>

namespace {
constexpr size_t HeaderSize = 14, ChunkHeaderSize = 8;
constexpr uint32_t DefaultTempo = 500000;  // microseconds a quarter note
constexpr uint8_t MetaEvent = 0xFF, SysexStart = 0xF0, SysexMore = 0xF7;
constexpr uint8_t EndOfTrack = 0x2F, SetTempo = 0x51;

uint32_t Big(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v << 8 | p[i];
    return v;
}

struct TempoChange {
    uint64_t tick;
    uint32_t tempo;
};

// Reads one track chunk's events from `at` to `end`.
class TrackWalk {
public:
    TrackWalk(const uint8_t* at, const uint8_t* end) : at_(at), end_(end) {}

    // "" when the track is whole; counts its notes, its length in ticks and
    // its tempo changes.
    std::string Walk(int& notes, uint64_t& lastTick, std::vector<TempoChange>& tempos) {
        uint64_t tick = 0;
        uint8_t running = 0;  // the status a data byte continues, 0: none
        if (at_ == end_) return "a track is empty";
        while (at_ < end_) {
            uint32_t delta = 0;
            if (!Number(delta)) return "an event's time is cut short";
            tick += delta;
            if (at_ >= end_) return "a track is cut short";
            uint8_t status = *at_;
            if (status & 0x80) ++at_;
            else if (running == 0) return "a data byte comes without a status";
            else status = running;
            if (status == MetaEvent) {
                running = 0;
                if (at_ >= end_ || (*at_ & 0x80)) return "a meta event is cut short";
                uint8_t type = *at_++;
                uint32_t length = 0;
                if (!Number(length) || length > uint32_t(end_ - at_)) return "a meta event runs past its track";
                if (type == SetTempo) {
                    if (length != 3) return "a tempo event is malformed";
                    uint32_t tempo = Big(at_, 3);
                    if (tempo == 0) return "a tempo of zero";
                    tempos.push_back({tick, tempo});
                }
                at_ += length;
                if (type == EndOfTrack) {
                    if (at_ != end_) return "a track goes on after its end";
                    lastTick = tick;
                    return "";
                }
            } else if (status == SysexStart || status == SysexMore) {
                running = 0;
                uint32_t length = 0;
                if (!Number(length) || length > uint32_t(end_ - at_)) return "a system exclusive event runs past its track";
                at_ += length;
            } else if (status >= 0xF0) {
                return "a system message has no place in a file";
            } else {
                running = status;
                int size = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
                if (end_ - at_ < size) return "a track is cut short";
                for (int i = 0; i < size; ++i)
                    if (at_[i] & 0x80) return "a channel message is malformed";
                if ((status & 0xF0) == 0x90 && at_[1] > 0) ++notes;
                at_ += size;
            }
        }
        // Without its end-of-track event a track ends with its chunk.
        lastTick = tick;
        return "";
    }

private:
    // A variable-length number: at most four bytes, seven bits each.
    bool Number(uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            if (at_ >= end_) return false;
            uint8_t b = *at_++;
            value = value << 7 | (b & 0x7F);
            if ((b & 0x80) == 0) return true;
        }
        return false;
    }

    const uint8_t* at_;
    const uint8_t* end_;
};

// Milliseconds from the first tick to `lastTick` through the tempo changes.
double SongMs(std::vector<TempoChange>& tempos, uint64_t lastTick, uint32_t ticksPerQuarter) {
    std::stable_sort(tempos.begin(), tempos.end(), [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    double micros = 0;
    uint64_t from = 0;
    uint32_t tempo = DefaultTempo;
    for (const TempoChange& t : tempos) {
        if (t.tick >= lastTick) break;
        micros += double(t.tick - from) * tempo / ticksPerQuarter;
        from = t.tick;
        tempo = t.tempo;
    }
    micros += double(lastTick - from) * tempo / ticksPerQuarter;
    return micros / 1000;
}
}  // namespace

std::string CheckMidiSong(const uint8_t* data, size_t size) {
    if (size < HeaderSize || !std::equal(data, data + 4, "MThd")) return "not a MIDI file";
    if (Big(data + 4, 4) != 6) return "not a standard MIDI file";
    uint32_t format = Big(data + 8, 2), tracks = Big(data + 10, 2), division = Big(data + 12, 2);
    if (format > 1) return "a MIDI file of format " + std::to_string(format);
    if (tracks == 0) return "it has no tracks";
    if (tracks > uint32_t(MaxMidiTracks) || (format == 0 && tracks != 1))
        return "it claims " + std::to_string(tracks) + " tracks";
    if (division & 0x8000) return "its time is in SMPTE frames";
    if (division == 0) return "zero ticks a quarter note";
    const uint8_t* at = data + HeaderSize;
    const uint8_t* end = data + size;
    int notes = 0;
    uint64_t songTicks = 0;
    std::vector<TempoChange> tempos;
    for (uint32_t t = 0; t < tracks; ++t) {
        if (size_t(end - at) < ChunkHeaderSize) return "it is cut short";
        if (!std::equal(at, at + 4, "MTrk")) return "a chunk that is not a track";
        uint32_t length = Big(at + 4, 4);
        at += ChunkHeaderSize;
        if (length > size_t(end - at)) return "it is cut short";
        uint64_t lastTick = 0;
        std::string wrong = TrackWalk(at, at + length).Walk(notes, lastTick, tempos);
        if (!wrong.empty()) return wrong;
        songTicks = std::max(songTicks, lastTick);
        at += length;
    }
    if (notes == 0) return "it has no notes";
    if (SongMs(tempos, songTicks, division) < ShortestSongMs) return "it ends as soon as it begins";
    return "";
}
