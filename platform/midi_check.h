// The tune is a standard MIDI file that the synthesiser loops for as long as
// a game lasts. A file it cannot read, or a song that ends as soon as it
// begins, would have it reload the song over and over inside one call of the
// audio callback, so the bytes are walked first and such files refused.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// More tracks than any tune needs (the game's own have six).
inline constexpr int MaxMidiTracks = 64;
// A song shorter than this, looped, would restart many times a callback.
inline constexpr double ShortestSongMs = 100;

// "" when the bytes are a format 0 or 1 MIDI file with ticks per quarter
// note, every track chunk whole and not empty (nothing after its
// end-of-track event), every event well formed, at least one note and a
// length of at least ShortestSongMs; otherwise why not, for a message.
std::string CheckMidiSong(const uint8_t* data, size_t size);
