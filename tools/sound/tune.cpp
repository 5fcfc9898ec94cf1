// The two background tunes, written as scores and arranged by one set of
// rules below into Standard MIDI Files.
//
// "Harbour Lines" (bgm.mid, score attack): C major, 124 beats a minute, 80
// bars (about 155 s). A two-bar hook (up two steps, then down a sixth) opens
// an AABA theme: flute over picked guitar, the bridge in A minor with the
// hook in long notes. Sixteen bars of development toss fragments of the hook,
// displaced by a beat, over borrowed chords (Ab, Bb, Fm6). The second pass
// gives the tune to the oboe over a syncopated piano, with the flute taking
// the bridge; its last bar turns on G7 back to the first.
//
// "Lantern Steps" (bgm2.mid, missions): F major, 100 beats a minute, 64 bars
// (about 154 s). A gentler hook (up a third, a step, back) in an AABA theme
// led by the clarinet over electric piano and cello; the bridge in D minor
// in long notes; an episode of displaced fragments over Bb and Db; the second
// pass led by a soprano saxophone.
//
// Every lead note is marked, so the mix can be measured as the lead against
// the rest. The accompaniment, the counter-line and the pad stay at F#4 and
// below, out of the lead's register (A4 and up).
#include "tools/sound/tune.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {
constexpr int Ppq = 480;
constexpr int Eighth = Ppq / 2;
constexpr int Sixteenth = Ppq / 4;
constexpr uint32_t Bar = 4 * Ppq;
constexpr int BlockBars = 8;

// MIDI channels (0-based; 9 is General MIDI percussion).
constexpr int LeadA = 0, Accompaniment = 1, Bass = 2, Pad = 3, LeadB = 4, Counter = 5, Drums = 9;

enum class Figure { Arpeggio, Strum, Offbeat, Whole };
enum class Groove { Light, Ride, HalfTime, Build, Full };

// How one block of eight bars is played.
struct Block {
    int lead;       // LeadA or LeadB
    int loudness;   // the lead's loudest velocity
    Figure figure;  // the accompaniment's pattern
    int accompanimentProgram;
    Groove groove;
    bool counter;   // the counter-line holds guide tones under the lead
    bool pad;       // strings hold the chords
};

struct Score {
    const char* title;
    int bpm;
    int transpose;  // semitones from the key the score is written in (C)
    int leadAProgram, leadBProgram, counterProgram, bassProgram;
    int leadVolume, accompanimentVolume, bassVolume, padVolume, counterVolume, drumVolume;
    std::vector<int> hook;  // its first notes, for counting where it returns
    std::vector<const char*> melody;  // one string a bar: "NOTE:eighths" or "r:eighths"
    std::vector<const char*> chords;  // one or two chords a bar
    std::vector<Block> blocks;        // one per eight bars
    // Where the second pass restates the first: {its first bar, the bar it
    // restates, bars} (0-based), for counting how much of it is a copy.
    std::vector<std::array<int, 3>> restatements;
    int Bars() const { return int(melody.size()); }
    uint32_t End() const { return uint32_t(Bars()) * Bar; }
};

// General MIDI programs.
constexpr int Piano = 0, ElectricPiano = 4, NylonGuitar = 24, FingeredBass = 33, AcousticBass = 32, Cello = 42,
              StringEnsemble = 48, FrenchHorn = 60, SopranoSax = 64, Oboe = 68, Clarinet = 71, FluteProgram = 73;

// clang-format off
const Score HarbourLines{
    "Harbour Lines", 124, 0,
    FluteProgram, Oboe, FrenchHorn, FingeredBass,
    70, 56, 60, 30, 42, 56,
    {84, 86, 88, 79},
    {
        // A: the hook, sequenced up a step, then reaching up.
        "C6:1 D6:1 E6:2 G5:3 r:1", "A5:2 G5:1 E5:1 G5:2 r:2", "D6:1 E6:1 F6:2 A5:3 r:1", "B5:2 A5:1 F5:1 G5:2 r:2",
        "C6:1 D6:1 E6:2 G6:3 r:1", "A6:2 G6:1 E6:1 C6:2 r:2", "A5:2 C6:1 F6:1 E6:2 D6:2", "C6:4 r:4",
        // A again, closing on the tonic.
        "C6:1 D6:1 E6:2 G5:3 r:1", "A5:2 G5:1 E5:1 G5:2 r:2", "D6:1 E6:1 F6:2 A5:3 r:1", "B5:2 A5:1 F5:1 G5:2 r:2",
        "C6:1 D6:1 E6:2 G6:3 r:1", "F6:2 E6:1 D6:1 C6:2 r:2", "D6:2 C6:1 A5:1 B5:2 G5:2", "C6:6 r:2",
        // B in A minor: the hook in long notes.
        "A5:2 B5:2 C6:4", "E5:4 r:4", "D5:2 E5:2 F5:4", "G#5:4 r:4",
        "A5:2 B5:2 C6:4", "E6:4 C6:2 r:2", "D6:4 F6:2 r:2", "E6:3 D6:1 B5:2 r:2",
        // A.
        "C6:1 D6:1 E6:2 G5:3 r:1", "A5:2 G5:1 E5:1 G5:2 r:2", "D6:1 E6:1 F6:2 A5:3 r:1", "B5:2 A5:1 F5:1 G5:2 r:2",
        "C6:1 D6:1 E6:2 G6:3 r:1", "A6:2 G6:1 E6:1 C6:2 r:2", "A5:2 C6:1 F6:1 E6:2 D6:2", "C6:4 r:4",
        // Development: the hook's head a beat late, climbing; borrowed chords.
        "r:2 C6:1 D6:1 E6:2 r:2", "r:2 D6:1 E6:1 F6:2 r:2", "r:2 E6:1 F6:1 G6:2 B5:2", "C6:6 r:2",
        "r:2 F6:1 G6:1 A6:2 r:2", "r:2 D6:1 E6:1 F6:2 D6:2", "C6:2 Eb6:2 Ab6:3 r:1", "G6:1 F6:1 D6:2 Bb5:3 r:1",
        // ... then falling in fragments, and an arpeggio back up.
        "C6:1 D6:1 E6:2 r:4", "A5:1 B5:1 C6:2 r:4", "F5:1 G5:1 A5:2 r:4", "Ab5:2 G5:1 F5:1 D5:2 r:2",
        "r:1 E5:1 G5:1 C6:1 E6:2 r:2", "r:1 F5:1 A5:1 D6:1 F6:2 r:2", "r:1 G5:1 B5:1 D6:1 F6:2 E6:1 D6:1", "D6:4 r:4",
        // Second pass: A, A, B, A, each varied: the hook's head kept, its
        // answers ornamented or displaced, breaths of a bar, and a turnaround
        // through F minor and Bb7.
        "C6:1 D6:1 E6:2 G5:3 r:1", "A5:1 B5:1 C6:1 A5:1 G5:2 r:2", "D6:1 E6:1 F6:2 A5:3 r:1", "B5:1 C6:1 D6:1 B5:1 G5:2 r:2",
        "C6:1 D6:1 E6:2 G6:2 A6:1 G6:1", "E6:2 C6:2 r:4", "F6:1 E6:1 D6:1 C6:1 A5:2 B5:2", "C6:2 r:6",
        "C6:1 D6:1 E6:2 G5:3 r:1", "r:2 A5:1 G5:1 E5:2 r:2", "D6:1 E6:1 F6:2 A5:3 r:1", "r:2 B5:1 A5:1 F5:2 D5:2",
        "C6:1 D6:1 E6:2 G6:3 r:1", "F6:2 E6:1 D6:1 C6:1 A5:1 G5:2", "A5:1 C6:1 D6:1 F6:1 E6:2 D6:2", "C6:4 r:4",
        "A5:2 B5:2 C6:3 r:1", "E5:2 G5:2 A5:2 r:2", "D5:2 E5:2 F5:3 r:1", "r:8",
        "A5:2 B5:2 C6:2 E6:2", "A6:4 G6:2 r:2", "F6:2 D6:1 C6:1 Bb5:2 D6:2", "E6:4 G#5:2 r:2",
        "C6:1 D6:1 E6:2 G5:3 r:1", "A5:2 G5:1 E5:1 G5:2 r:2", "D6:1 E6:1 F6:2 A5:3 r:1", "B5:2 A5:1 F5:1 G5:2 r:2",
        "C6:1 D6:1 E6:2 A6:3 r:1", "G6:2 E6:1 D6:1 C6:2 r:2", "Ab5:2 C6:1 F6:1 Ab6:2 D6:2", "C6:2 r:2 G5:1 A5:1 B5:2",
    },
    {
        "Cmaj7", "Am7", "Dm7", "G7", "Cmaj7", "Am7", "Fmaj7 G7", "C6",
        "Cmaj7", "Am7", "Dm7", "G7", "Cmaj7", "Fmaj7", "Dm7 G7", "Cmaj7",
        "Am", "Fmaj7", "Dm7", "E7", "Am", "Fmaj7", "Bb", "E7",
        "Cmaj7", "Am7", "Dm7", "G7", "Cmaj7", "Am7", "Fmaj7 G7", "C6",
        "Fmaj7", "G7", "Em7", "Am7", "Dm7", "G7", "Ab", "Bb",
        "Cmaj7", "Am7", "Fmaj7", "Fm6", "C", "Dm7", "G7", "G7",
        "Cmaj7", "Am7", "Dm7", "G7", "Cmaj7", "Am7", "Fmaj7 G7", "C6",
        "Cmaj7", "Am7", "Dm7", "G7", "Cmaj7", "Fmaj7", "Dm7 G7", "Cmaj7",
        "Am", "Fmaj7", "Dm7", "E7", "Am", "Fmaj7", "Bb", "E7",
        "Cmaj7", "Am7", "Dm7", "G7", "Cmaj7", "Am7", "Fm6 Bb7", "C G7",
    },
    {
        {LeadA, 100, Figure::Arpeggio, NylonGuitar, Groove::Light, false, false},
        {LeadA, 104, Figure::Arpeggio, NylonGuitar, Groove::Light, true, false},
        {LeadA, 100, Figure::Strum, NylonGuitar, Groove::HalfTime, false, true},
        {LeadA, 106, Figure::Arpeggio, NylonGuitar, Groove::Full, true, false},
        {LeadA, 96, Figure::Whole, NylonGuitar, Groove::Build, false, true},
        {LeadA, 112, Figure::Arpeggio, NylonGuitar, Groove::Build, true, true},
        {LeadB, 92, Figure::Offbeat, Piano, Groove::Ride, false, false},
        {LeadB, 94, Figure::Offbeat, Piano, Groove::Ride, true, false},
        {LeadA, 100, Figure::Strum, Piano, Groove::HalfTime, true, true},
        {LeadB, 106, Figure::Arpeggio, NylonGuitar, Groove::Full, true, true},
    },
    {{48, 0, 32}},
};

const Score LanternSteps{
    "Lantern Steps", 100, -7,
    Clarinet, SopranoSax, Cello, AcousticBass,
    70, 54, 60, 28, 40, 50,
    {76, 79, 81, 79},
    {
        // A: the hook on the tonic, on the fourth, and in the borrowed minor.
        "E5:2 G5:1 A5:1 G5:3 r:1", "r:2 B5:2 D6:2 B5:2", "A5:2 C6:1 D6:1 C6:3 r:1", "r:2 B5:2 G5:2 F5:2",
        "E5:2 G5:1 A5:1 G5:2 r:1 E6:1", "D6:3 r:3 C6:1 A5:1", "Ab5:2 C6:1 D6:1 C6:4", "G5:4 r:4",
        // A again, closing on the tonic.
        "E5:2 G5:1 A5:1 G5:3 r:1", "r:2 B5:2 D6:2 B5:2", "A5:2 C6:1 D6:1 C6:3 r:1", "r:2 B5:2 G5:2 F5:2",
        "E5:2 G5:1 A5:1 G5:2 C6:2", "F6:3 r:3 E6:1 D6:1", "D6:2 C6:1 A5:1 B5:2 D6:2", "C6:4 r:4",
        // B in the relative minor: the hook in long notes.
        "E5:4 G5:2 A5:2", "G5:6 r:2", "A5:4 C6:2 D6:2", "C6:6 r:2",
        "E6:4 D6:2 C6:2", "D6:4 F6:2 r:2", "E6:2 D6:2 B5:2 G#5:2", "B5:4 r:4",
        // A.
        "E5:2 G5:1 A5:1 G5:3 r:1", "r:2 B5:2 D6:2 B5:2", "A5:2 C6:1 D6:1 C6:3 r:1", "r:2 B5:2 G5:2 F5:2",
        "E5:2 G5:1 A5:1 G5:2 r:1 E6:1", "D6:3 r:3 C6:1 A5:1", "Ab5:2 C6:1 D6:1 C6:4", "G5:4 r:4",
        // Episode: fragments of the hook, displaced, over borrowed chords.
        "r:3 G5:1 A5:1 G5:3", "r:3 A5:1 C6:1 A5:3", "r:3 D6:1 F6:1 D6:3", "r:2 Bb5:2 A5:2 F5:2",
        "r:3 E5:1 G5:1 E5:3", "r:3 F5:1 A5:1 F5:3", "Eb6:4 C6:2 Ab5:2", "B5:4 D6:2 r:2",
        // Second pass: A, B, A, varied: new answers to the hook, a bar's breath
        // at the end of each section.
        "E5:2 G5:1 A5:1 G5:3 r:1", "r:2 B5:1 C6:1 D6:2 G5:2", "A5:2 C6:1 D6:1 C6:3 r:1", "r:2 D6:1 C6:1 B5:2 G5:2",
        "E5:2 G5:1 A5:1 C6:2 E6:2", "F6:2 D6:2 r:4", "Ab5:2 C6:1 D6:1 F6:2 D6:2", "G5:2 r:6",
        "E5:3 G5:1 A5:2 C6:2", "B5:4 G5:2 r:2", "A5:3 C6:1 D6:2 F6:2", "E6:4 r:4",
        "E6:2 C6:2 A5:2 E6:2", "F6:4 D6:2 A5:2", "G#5:2 B5:2 D6:2 E6:2", "r:8",
        "E5:2 G5:1 A5:1 G5:3 r:1", "r:2 B5:2 D6:2 B5:2", "A5:2 C6:1 D6:1 C6:3 r:1", "r:2 B5:1 A5:1 G5:2 F5:2",
        "E5:2 G5:1 A5:1 G5:2 C6:2", "F6:2 E6:1 D6:1 C6:2 A5:2", "D6:2 C6:1 A5:1 B5:2 D6:2", "C6:2 r:2 G5:2 F5:2",
    },
    {
        "C", "Em7", "Fmaj7", "G7", "Am7", "Dm7", "Fm6", "C",
        "C", "Em7", "Fmaj7", "G7", "Am7", "Dm7", "Dm7 G7", "C",
        "Am", "Em7", "Fmaj7", "C", "Am", "Dm7", "E7", "E7",
        "C", "Em7", "Fmaj7", "G7", "Am7", "Dm7", "Fm6", "C",
        "Fmaj7", "Fmaj7", "Bb", "Bb", "Am7", "Dm7", "Ab", "G7",
        "C", "Em7", "Fmaj7", "G7", "Am7", "Dm7", "Fm6", "C",
        "Am", "Em7", "Fmaj7", "C", "Am", "Dm7", "E7", "E7",
        "C", "Em7", "Fmaj7", "G7", "Am7", "Dm7", "Dm7 G7", "C G7",
    },
    {
        {LeadA, 90, Figure::Arpeggio, ElectricPiano, Groove::HalfTime, false, false},
        {LeadA, 96, Figure::Arpeggio, ElectricPiano, Groove::HalfTime, true, false},
        {LeadA, 98, Figure::Whole, ElectricPiano, Groove::Build, true, true},
        {LeadA, 104, Figure::Strum, ElectricPiano, Groove::Light, true, false},
        {LeadB, 96, Figure::Whole, ElectricPiano, Groove::Build, false, true},
        {LeadB, 88, Figure::Offbeat, ElectricPiano, Groove::Light, false, false},
        {LeadA, 100, Figure::Strum, ElectricPiano, Groove::HalfTime, true, true},
        {LeadB, 90, Figure::Arpeggio, ElectricPiano, Groove::Full, true, false},
    },
    {{40, 0, 8}, {48, 16, 8}, {56, 8, 8}},
};

// The calm arrangement of "Harbour Lines" (bgm-calm.mid) that score attack
// plays in the full set until the level rises to where the game picks up:
// slower, the drums in half time or nearly silent, picked chords and long
// pads, the flute's and the oboe's lines as they are.
const Score CalmHarbourLines = [] {
    Score s = HarbourLines;
    s.title = "Harbour Lines (calm)";
    s.bpm = 108;
    s.blocks = {
        {LeadA, 98, Figure::Arpeggio, NylonGuitar, Groove::HalfTime, false, false},
        {LeadA, 100, Figure::Arpeggio, NylonGuitar, Groove::HalfTime, true, false},
        {LeadA, 100, Figure::Whole, NylonGuitar, Groove::Build, false, true},
        {LeadA, 100, Figure::Arpeggio, NylonGuitar, Groove::HalfTime, true, false},
        {LeadA, 94, Figure::Whole, NylonGuitar, Groove::Build, false, true},
        {LeadA, 108, Figure::Arpeggio, NylonGuitar, Groove::HalfTime, true, false},
        {LeadB, 86, Figure::Arpeggio, Piano, Groove::HalfTime, false, false},
        {LeadB, 88, Figure::Arpeggio, Piano, Groove::HalfTime, true, false},
        {LeadA, 96, Figure::Whole, Piano, Groove::Build, true, true},
        {LeadB, 98, Figure::Arpeggio, NylonGuitar, Groove::HalfTime, true, true},
    };
    return s;
}();
// clang-format on

// Channel volumes scaled so the tune sits about 1 dB under full level (a
// channel's gain follows 40 log10 of its volume): room for the sounds on top.
constexpr double TuneVolume = 0.95;
int Volume(int volume) { return int(volume * TuneVolume + 0.5); }

const Score& ScoreOf(int tune) { return tune == 2 ? LanternSteps : tune == 3 ? CalmHarbourLines : HarbourLines; }

std::vector<std::string> Words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// A chord's root (a pitch class) and its tones as intervals above the root.
struct Chord {
    int root;
    std::vector<int> intervals;
    // Its tones from `low` up, one of each.
    std::vector<int> Voiced(int low) const {
        std::vector<int> keys;
        for (int i : intervals) keys.push_back(low + ((root + i - low) % 12 + 12) % 12);
        std::sort(keys.begin(), keys.end());
        return keys;
    }
    int BassKey() const { return 35 + ((root - 35) % 12 + 12) % 12; }  // B1 to Bb2
};

Chord ParseChord(const std::string& name, int transpose) {
    size_t i = 1;
    int root = NoteNumber(name.substr(0, 1) + "0") % 12;
    if (i < name.size() && (name[i] == '#' || name[i] == 'b')) root += name[i++] == '#' ? 1 : -1;
    const std::string quality = name.substr(i);
    std::vector<int> intervals = quality == "m"      ? std::vector<int>{0, 3, 7}
                                 : quality == "7"    ? std::vector<int>{0, 4, 7, 10}
                                 : quality == "maj7" ? std::vector<int>{0, 4, 7, 11}
                                 : quality == "m7"   ? std::vector<int>{0, 3, 7, 10}
                                 : quality == "6"    ? std::vector<int>{0, 4, 7, 9}
                                 : quality == "m6"   ? std::vector<int>{0, 3, 7, 9}
                                                     : std::vector<int>{0, 4, 7};
    if (!quality.empty() && quality != "m" && quality != "7" && quality != "maj7" && quality != "m7" &&
        quality != "6" && quality != "m6") {
        std::fprintf(stderr, "tessmar-soundgen: unknown chord %s\n", name.c_str());
        std::abort();
    }
    return {((root + transpose) % 12 + 12) % 12, intervals};
}

// The chord sounding in a bar at an eighth (0 to 7).
Chord ChordAt(const Score& s, int bar, int eighth) {
    std::vector<std::string> chords = Words(s.chords[size_t(bar)]);
    return ParseChord(chords[chords.size() == 2 && eighth >= 4 ? 1 : 0], s.transpose);
}

const Block& BlockOf(const Score& s, int bar) { return s.blocks[size_t(bar / BlockBars)]; }

struct MelodyNote {
    uint32_t tick, length;
    int key;
};

// A bar's melody as notes, checked to fill the bar exactly.
std::vector<MelodyNote> MelodyOf(const Score& s, int bar) {
    std::vector<MelodyNote> notes;
    uint32_t tick = uint32_t(bar) * Bar;
    for (const std::string& w : Words(s.melody[size_t(bar)])) {
        size_t colon = w.find(':');
        uint32_t length = uint32_t(std::stoi(w.substr(colon + 1)) * Eighth);
        std::string name = w.substr(0, colon);
        if (name != "r") notes.push_back({tick, length, NoteNumber(name) + s.transpose});
        tick += length;
    }
    if (tick != uint32_t(bar + 1) * Bar) {
        std::fprintf(stderr, "tessmar-soundgen: %s bar %d does not fill the bar\n", s.title, bar + 1);
        std::abort();
    }
    return notes;
}

// Strong beats louder: the first of the bar most, the third a little, the
// off-beats softer.
int Accent(uint32_t tick) {
    uint32_t inBar = tick % Bar;
    if (inBar == 0) return 8;
    if (inBar == 2 * Ppq) return 4;
    return inBar % Ppq == 0 ? 0 : -5;
}

// Velocities rising from a phrase's first note to its highest one and falling
// away after it, on top of the beat accents.
std::vector<int> ShapedVelocities(const std::vector<MelodyNote>& notes, int loudest) {
    std::vector<int> out;
    if (notes.empty()) return out;
    size_t peak = size_t(std::max_element(notes.begin(), notes.end(),
                                          [](const MelodyNote& a, const MelodyNote& b) { return a.key < b.key; }) -
                         notes.begin());
    size_t last = notes.size() - 1;
    for (size_t i = 0; i < notes.size(); ++i) {
        double shape = i <= peak ? 0.8 + 0.2 * double(i) / double(std::max<size_t>(peak, 1))
                                 : 1.0 - 0.15 * double(i - peak) / double(std::max<size_t>(last - peak, 1));
        int v = int(loudest * shape + 0.5) + Accent(notes[i].tick);
        out.push_back(std::clamp(v, 1, 127));
    }
    return out;
}

MidiTrack TempoTrack(const Score& s) {
    MidiTrack t;
    t.Name(s.title);
    const uint32_t usPerBeat = uint32_t(60000000 / s.bpm);
    t.Add(0, {0xFF, 0x51, 0x03, uint8_t(usPerBeat >> 16), uint8_t(usPerBeat >> 8), uint8_t(usPerBeat)});
    t.Add(0, {0xFF, 0x58, 0x04, 4, 2, 24, 8});
    return t;
}

// The lead, phrase by phrase (four bars), on whichever lead channel the block
// gives it to. A short breath between notes keeps them apart.
MidiTrack LeadTrack(const Score& s) {
    MidiTrack t;
    t.Name("Lead");
    t.Setup(LeadA, s.leadAProgram, Volume(s.leadVolume), 60, 40, s.End());
    t.Setup(LeadB, s.leadBProgram, Volume(s.leadVolume), 68, 40, s.End());
    for (int first = 0; first < s.Bars(); first += 4) {
        std::vector<MelodyNote> phrase;
        for (int bar = first; bar < first + 4; ++bar) {
            std::vector<MelodyNote> notes = MelodyOf(s, bar);
            phrase.insert(phrase.end(), notes.begin(), notes.end());
        }
        const Block& block = BlockOf(s, first);
        std::vector<int> velocity = ShapedVelocities(phrase, block.loudness);
        for (size_t i = 0; i < phrase.size(); ++i)
            t.Note(block.lead, phrase[i].tick, phrase[i].length - 24, phrase[i].key, velocity[i], true);
    }
    return t;
}

// One step of an accompaniment figure: where it starts and how long, in
// eighths, and which tone of the voiced chord (-1: all of them).
struct Step {
    int eighth, eighths, tone;
};

std::vector<Step> StepsOf(Figure f) {
    switch (f) {
        case Figure::Arpeggio: return {{0, 2, 0}, {2, 1, 1}, {3, 1, 2}, {4, 2, 3}, {6, 1, 2}, {7, 1, 1}};
        case Figure::Strum: return {{0, 3, -1}, {3, 5, -1}};
        case Figure::Offbeat: return {{1, 1, -1}, {3, 2, -1}, {6, 2, -1}};
        case Figure::Whole: return {{0, 8, -1}};
    }
    return {};
}

// Picked, strummed or comped chords between E3 and G4.
MidiTrack AccompanimentTrack(const Score& s) {
    MidiTrack t;
    t.Name("Accompaniment");
    t.Setup(Accompaniment, s.blocks[0].accompanimentProgram, Volume(s.accompanimentVolume), 44, 40, s.End());
    for (int bar = 0; bar < s.Bars(); ++bar) {
        const Block& block = BlockOf(s, bar);
        const uint32_t start = uint32_t(bar) * Bar;
        if (bar > 0 && bar % BlockBars == 0 && block.accompanimentProgram != BlockOf(s, bar - 1).accompanimentProgram)
            t.Program(Accompaniment, start, block.accompanimentProgram);
        for (const Step& step : StepsOf(block.figure)) {
            std::vector<int> keys = ChordAt(s, bar, step.eighth).Voiced(52);
            const uint32_t tick = start + uint32_t(step.eighth * Eighth), length = uint32_t(step.eighths * Eighth - 20);
            int velocity = 66 + (step.eighth == 0 ? 6 : 0) - (step.eighth % 2 ? 8 : 0);
            if (step.tone >= 0) {
                t.Note(Accompaniment, tick, length, keys[size_t(step.tone) % keys.size()], velocity);
                continue;
            }
            for (size_t k = 0; k < keys.size(); ++k)
                t.Note(Accompaniment, tick + uint32_t(k * 12), length - uint32_t(k * 12), keys[k], velocity - 8);
        }
    }
    return t;
}

// Root and fifth, a figure that follows the groove.
MidiTrack BassTrack(const Score& s) {
    MidiTrack t;
    t.Name("Bass");
    t.Setup(Bass, s.bassProgram, Volume(s.bassVolume), 64, 10, s.End());
    for (int bar = 0; bar < s.Bars(); ++bar) {
        const Block& block = BlockOf(s, bar);
        std::vector<Step> steps = {{0, 3, 0}, {3, 1, 7}, {4, 2, 0}, {6, 2, 7}};
        if (block.groove == Groove::HalfTime || block.figure == Figure::Whole) steps = {{0, 6, 0}, {6, 2, 7}};
        if (Words(s.chords[size_t(bar)]).size() == 2) steps = {{0, 2, 0}, {2, 2, 7}, {4, 2, 0}, {6, 2, 7}};
        for (const Step& step : steps) {
            const uint32_t tick = uint32_t(bar) * Bar + uint32_t(step.eighth * Eighth);
            Chord c = ChordAt(s, bar, step.eighth);
            t.Note(Bass, tick, uint32_t(step.eighths * Eighth - 30), c.BassKey() + step.tone,
                   step.eighth % 4 == 0 ? 96 : 84);
        }
    }
    return t;
}

// Strings hold the chords, and the counter-line holds the chord's guide tone
// (its third, or its seventh where it has one) between G3 and G4, moving as
// little as it can: both well under the lead.
MidiTrack PadAndCounterTrack(const Score& s) {
    MidiTrack t;
    t.Name("Pad and counter-line");
    t.Setup(Pad, StringEnsemble, Volume(s.padVolume), 84, 70, s.End());
    t.Setup(Counter, s.counterProgram, Volume(s.counterVolume), 36, 50, s.End());
    int last = 60;
    for (int bar = 0; bar < s.Bars(); ++bar) {
        const Block& block = BlockOf(s, bar);
        const int halves = int(Words(s.chords[size_t(bar)]).size());
        for (int h = 0; h < halves; ++h) {
            const uint32_t tick = uint32_t(bar) * Bar + uint32_t(h) * Bar / uint32_t(halves);
            const uint32_t length = Bar / uint32_t(halves) - 30;
            Chord c = ChordAt(s, bar, h * 4);
            if (block.pad)
                for (int k : c.Voiced(55)) t.Note(Pad, tick, length, k, 56);
            if (!block.counter) continue;
            int best = 0;
            for (int guide : {c.intervals[1], c.intervals.back()}) {
                int key = 55 + ((c.root + guide - 55) % 12 + 12) % 12;
                if (best == 0 || std::abs(key - last) < std::abs(best - last)) best = key;
            }
            t.Note(Counter, tick, length, best, 62 + Accent(tick));
            last = best;
        }
    }
    return t;
}

// General MIDI percussion keys.
constexpr int Kick = 36, SideStick = 37, Snare = 38, TomFloor = 41, HatClosed = 42, HatPedal = 44, TomLow = 45,
              HatOpen = 46, TomMid = 47, Crash = 49, TomHigh = 50, Ride = 51, Tambourine = 54;

struct Kit {
    MidiTrack& t;
    uint32_t start;
    void Hit(int sixteenth, int key, int velocity) {
        t.Note(Drums, start + uint32_t(sixteenth * Sixteenth), Sixteenth, key, velocity);
    }
    void Hats(int key, int strong, int weak, int until = 16) {
        for (int s = 0; s < until; s += 2) Hit(s, key, s % 4 == 0 ? strong : weak);
    }
};

// Straight eighths on the hi-hat, kick on one and three, snare on two and four.
void ThemeGroove(Kit& k, int inSection) {
    bool fill = inSection % 8 == 7;
    k.Hats(HatClosed, 60, 44, fill ? 12 : 14);
    if (!fill) k.Hit(14, inSection % 2 ? HatOpen : HatClosed, 48);
    k.Hit(0, Kick, 100);
    k.Hit(8, Kick, 92);
    if (inSection % 2) k.Hit(10, Kick, 70);
    k.Hit(4, Snare, 82);
    if (!fill) {
        k.Hit(12, Snare, 82);
        return;
    }
    k.Hit(12, TomHigh, 84);
    k.Hit(13, TomMid, 80);
    k.Hit(14, TomLow, 86);
    k.Hit(15, Snare, 72);
}

// Ride cymbal and a syncopated kick.
void VariationGroove(Kit& k, int inSection) {
    k.Hats(Ride, 62, 48);
    k.Hit(0, Kick, 100);
    k.Hit(6, Kick, 80);
    k.Hit(8, Kick, 90);
    if (inSection % 2) k.Hit(14, Kick, 72);
    k.Hit(4, Snare, 84);
    if (inSection == 15) {  // down the toms into the bridge
        const int toms[8] = {TomHigh, TomHigh, TomMid, TomMid, TomLow, TomLow, TomFloor, TomFloor};
        for (int s = 8; s < 16; ++s) k.Hit(s, toms[s - 8], 70 + 2 * (s - 8));
    } else if (inSection == 7) {
        for (int s = 12; s < 16; ++s) k.Hit(s, Snare, 60 + 8 * (s - 12));
    } else {
        k.Hit(12, Snare, 84);
    }
}

// Half time: side stick on three, hi-hat on the beat.
void BridgeGroove(Kit& k, int inSection) {
    for (int s = 0; s < 16; s += 4) k.Hit(s, HatClosed, s == 0 ? 60 : 50);
    k.Hit(0, Kick, 96);
    if (inSection % 2) k.Hit(10, Kick, 70);
    k.Hit(8, SideStick, 78);
    if (inSection == 7) {
        k.Hit(12, Kick, 74);
        k.Hit(14, Kick, 80);
    } else if (inSection == 15) {  // settling into the breakdown
        k.Hit(12, TomLow, 70);
        k.Hit(14, TomFloor, 64);
    }
}

// Pedal hi-hat alone, then kick, hats and snare come back, and a snare roll
// swells into the theme's return.
void BreakdownGroove(Kit& k, int inSection) {
    if (inSection < 8) {
        k.Hit(4, HatPedal, 46);
        k.Hit(12, HatPedal, 42);
        if (inSection % 2 == 0) k.Hit(0, Kick, 58);
        return;
    }
    if (inSection < 12) {
        k.Hats(HatClosed, 44, 32);
        k.Hit(0, Kick, 72);
        k.Hit(8, Kick, 68);
        return;
    }
    k.Hit(0, Kick, 84);
    if (inSection == 15) {
        for (int s = 0; s < 16; ++s) k.Hit(s, Snare, 40 + 4 * s);
        return;
    }
    k.Hats(HatClosed, 52, 38);
    for (int s = 4; s < 16; s += 4) k.Hit(s, Kick, 74);
    k.Hit(4, Snare, 70);
    k.Hit(12, Snare, 74);
}

// The theme's groove with a tambourine on the backbeat; the last bar runs
// down the toms into the first.
void ReturnGroove(Kit& k, int inSection) {
    if (inSection != 15) {
        ThemeGroove(k, inSection);
    } else {
        k.Hats(HatClosed, 60, 44, 8);
        k.Hit(0, Kick, 100);
        k.Hit(8, Snare, 70);
        k.Hit(10, Snare, 74);
        k.Hit(12, TomHigh, 80);
        k.Hit(13, TomMid, 80);
        k.Hit(14, TomLow, 86);
        k.Hit(15, TomFloor, 90);
    }
    k.Hit(4, Tambourine, 54);
    k.Hit(12, Tambourine, 50);
}

// A crash opens each block but the quiet ones.
MidiTrack DrumTrack(const Score& s) {
    MidiTrack t;
    t.Name("Drums");
    t.Control(Drums, 0, 7, Volume(s.drumVolume));
    t.Control(Drums, 0, 91, 30);
    t.Add(s.End(), {uint8_t(0xB0 | Drums), 120, 0}, 2);
    for (int bar = 0; bar < s.Bars(); ++bar) {
        Kit k{t, uint32_t(bar) * Bar};
        const Block& block = BlockOf(s, bar);
        // Bar in a sixteen-bar span: a fill closes each block, a bigger one the
        // last block.
        int inSection = bar % BlockBars + (bar + BlockBars >= s.Bars() ? 8 : 0);
        if (bar % BlockBars == 0 && block.groove != Groove::Build) k.Hit(0, Crash, 78);
        switch (block.groove) {
            case Groove::Light: ThemeGroove(k, inSection); break;
            case Groove::Ride: VariationGroove(k, inSection); break;
            case Groove::HalfTime: BridgeGroove(k, inSection); break;
            case Groove::Build: BreakdownGroove(k, bar / BlockBars % 2 * 8 + bar % BlockBars); break;
            case Groove::Full: ReturnGroove(k, inSection); break;
        }
    }
    return t;
}

std::vector<MidiTrack> AllTracks(const Score& s) {
    return {TempoTrack(s), LeadTrack(s), AccompanimentTrack(s), BassTrack(s), PadAndCounterTrack(s), DrumTrack(s)};
}
}  // namespace

std::vector<uint8_t> MakeTune(int tune, MidiFilter filter) {
    const Score& s = ScoreOf(tune);
    return AssembleMidi(AllTracks(s), Ppq, s.End(), filter);
}

namespace {
// Where the lead breathes, and how much of the second pass is a copy: the
// beats in which no lead note sounds, the bars with a rest of two beats or
// more, and the bars of the second pass that play their bar of the first
// note for note.
std::string BreathAndCopies(const Score& s) {
    int silentBeats = 0, breathingBars = 0;
    for (int bar = 0; bar < s.Bars(); ++bar) {
        std::vector<MelodyNote> notes = MelodyOf(s, bar);
        uint32_t from = uint32_t(bar) * Bar, longestRest = 0, until = from;
        for (int beat = 0; beat < 4; ++beat) {
            const uint32_t start = from + uint32_t(beat * Ppq), end = start + Ppq;
            silentBeats += std::none_of(notes.begin(), notes.end(), [&](const MelodyNote& n) {
                return n.tick < end && n.tick + n.length > start;
            });
        }
        for (const MelodyNote& n : notes) {
            longestRest = std::max(longestRest, n.tick - until);
            until = n.tick + n.length;
        }
        longestRest = std::max(longestRest, from + Bar - until);
        breathingBars += longestRest >= 2 * Ppq;
    }
    int restated = 0, copies = 0;
    for (const auto& [first, of, bars] : s.restatements)
        for (int k = 0; k < bars; ++k, ++restated)
            copies += std::string(s.melody[size_t(first + k)]) == s.melody[size_t(of + k)];
    char text[200];
    std::snprintf(text, sizeof text,
                  "lead silent in %.0f %% of the beats, resting two beats or more in %d of %d bars\n"
                  "second pass: %d of %d bars as in the first\n",
                  100.0 * silentBeats / (4 * s.Bars()), breathingBars, s.Bars(), copies, restated);
    return text;
}
}  // namespace

std::string TuneStatistics(int tune) {
    const Score& s = ScoreOf(tune);
    std::vector<int> hook;
    for (int key : s.hook) hook.push_back(key + s.transpose);
    int sevenths = 0, borrowed = 0, chords = 0;
    for (const char* bar : s.chords)
        for (const std::string& name : Words(bar)) {
            ++chords;
            sevenths += name.find('7') != std::string::npos || name.find('6') != std::string::npos;
            borrowed += name.find('b') != std::string::npos || name == "Fm6" || name == "Fm";
        }
    return "title " + std::string(s.title) + "\ntempo " + std::to_string(s.bpm) + "\nbars " +
           std::to_string(s.Bars()) + "\nseconds " + std::to_string(s.Bars() * 4 * 60 / s.bpm) + "\n" +
           LeadStatistics(AllTracks(s), Bar, s.End(), hook) + BreathAndCopies(s) + "chords " + std::to_string(chords) +
           ", with a sixth or seventh " + std::to_string(sevenths) + ", borrowed " + std::to_string(borrowed) + "\n";
}
