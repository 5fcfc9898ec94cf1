// The background tunes: Standard MIDI Files written from the scores in
// tune.cpp. Each lasts a whole number of bars so it loops cleanly.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/sound/midi_file.h"

// Tune 1 is bgm.mid (score attack), tune 2 bgm2.mid (the missions), tune 3
// bgm-calm.mid (score attack's calm arrangement for the early levels). Format 1:
// a tempo track, then the parts. `filter` keeps only some notes (the lead,
// everything but the lead, one channel) for measuring the mix.
std::vector<uint8_t> MakeTune(int tune, MidiFilter filter = {});

// Title, tempo, length, what LeadStatistics counts and the chords used, one
// figure a line.
std::string TuneStatistics(int tune);
