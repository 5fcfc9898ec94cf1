// "Harbour Lines": a light tune in C major, 124 beats a minute, 80 bars of
// four beats (about 155 seconds), in five sections of sixteen bars: the
// theme, a livelier variation, a bridge in A minor (the lead a clarinet, the
// drums in half time), a quiet breakdown that builds back up, and the theme's
// return, whose last bar turns on G back to the first.
// Flute and vibraphone take turns with the tune, phrase by phrase; the one
// resting holds a soft counter-line.
#include "tools/sound/tune.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {
constexpr int Ppq = 480;
constexpr int Eighth = Ppq / 2;
constexpr int Sixteenth = Ppq / 4;
constexpr int Bar = 4 * Ppq;
constexpr int Bars = 80;
constexpr int Bpm = 124;
constexpr int PhraseBars = 4;
constexpr int SectionBars = 16;

// MIDI channels (0-based; 9 is General MIDI percussion).
constexpr int Flute = 0, Guitar = 1, Bass = 2, Strings = 3, Vibes = 4, Drums = 9;
// General MIDI programs.
constexpr int FluteProgram = 73, ClarinetProgram = 71, NylonGuitarProgram = 24, FingeredBassProgram = 33,
              StringsProgram = 48, VibraphoneProgram = 11;

enum class Section { Theme, Variation, Bridge, Breakdown, Return };
Section SectionOf(int bar) { return Section(bar / SectionBars); }
int BarInSection(int bar) { return bar % SectionBars; }

// Melody, one string per bar, "NOTE:eighths" or "r:eighths"; each bar adds up to 8.
const char* const Melody[Bars] = {
    // Theme: the flute states it, the vibraphone answers.
    "G5:1 E5:1 G5:2 C6:2 B5:1 C6:1", "A5:3 E5:1 A5:2 G5:2", "F5:1 A5:1 C6:2 A5:2 F5:2", "G5:3 D5:1 B4:2 D5:2",
    "E5:1 G5:1 C6:2 E6:2 D6:1 C6:1", "C6:2 A5:2 E5:2 A5:2", "F5:2 A5:2 G5:2 B5:2", "C6:4 r:2 G5:2",
    "E6:2 D6:1 C6:1 G5:2 E5:2", "A5:1 B5:1 C6:2 E6:2 C6:2", "F6:2 E6:1 D6:1 C6:2 A5:2", "B5:2 G5:2 D6:3 r:1",
    "B5:2 G5:1 E5:1 G5:2 B5:2", "C6:3 B5:1 A5:2 E5:2", "F5:1 A5:1 D6:2 B5:2 G5:2", "C6:6 r:2",
    // Variation: syncopated, climbing higher.
    "A5:3 C6:3 A5:2", "G5:3 B5:3 D6:2", "E6:3 D6:1 B5:2 G5:2", "A5:6 r:2",
    "F5:1 A5:2 C6:1 F6:2 C6:2", "E6:3 D6:3 B5:2", "A5:1 C6:2 E6:1 A6:2 E6:2", "G6:2 F6:1 E6:1 D6:2 B5:2",
    "D5:1 F5:1 A5:2 F5:2 D5:2", "E5:1 G5:1 B5:2 G5:2 E5:2", "F5:1 A5:1 C6:2 A5:1 C6:1 F6:2", "G5:2 B5:2 D6:3 r:1",
    "B5:2 G5:1 B5:1 E6:2 B5:2", "C6:3 A5:1 E5:2 A5:2", "F5:2 A5:1 D6:1 B5:2 G5:2", "C6:4 r:2 E5:1 G#5:1",
    // Bridge in A minor: long notes, the clarinet an octave lower.
    "A5:3 B5:1 C6:4", "A5:2 C6:2 F6:4", "F6:3 E6:1 D6:2 A5:2", "G#5:6 r:2",
    "E5:2 A5:2 C6:2 E6:2", "F6:3 E6:1 C6:2 A5:2", "D6:2 F5:2 G#5:2 B5:2", "A5:6 r:2",
    "C6:2 A5:2 F5:2 A5:2", "B5:2 D6:2 G6:3 r:1", "G6:2 E6:2 B5:2 G5:2", "A5:3 C6:1 E6:4",
    "F6:2 D6:2 A5:2 F5:2", "E5:2 A5:2 C6:2 E6:2", "C6:2 A5:2 B5:2 G#5:2", "B5:4 r:2 G#5:1 B5:1",
    // Breakdown: sparse and soft, then rising arpeggios to lead the theme back.
    "E5:4 A5:4", "B5:2 C6:2 B5:4", "A5:4 F5:4", "G5:2 A5:2 C6:4",
    "E6:6 D6:2", "C6:4 G5:4", "B5:4 D6:2 B5:2", "G5:6 r:2",
    "A5:2 C6:1 E6:1 A6:2 E6:2", "G6:2 E6:1 B5:1 G5:2 B5:2", "A5:2 C6:1 F6:1 A6:2 F6:2", "E6:2 C6:1 G5:1 E6:2 G6:2",
    "F6:2 D6:1 A5:1 F5:2 A5:2", "G5:2 B5:1 E6:1 G6:2 E6:2", "F6:1 E6:1 D6:1 C6:1 A5:2 C6:2", "D6:2 B5:2 G5:1 A5:1 B5:2",
    // Return: the theme, then flute and vibraphone trading two bars at a time
    // and climbing on G into the first bar.
    "G5:1 E5:1 G5:2 C6:2 B5:1 C6:1", "A5:3 E5:1 A5:2 G5:2", "F5:1 A5:1 C6:2 A5:2 F5:2", "G5:3 D5:1 B4:2 D5:2",
    "E5:1 G5:1 C6:2 E6:2 D6:1 C6:1", "C6:2 A5:2 E5:2 A5:2", "F5:2 A5:2 G5:2 B5:2", "C6:4 r:2 G5:2",
    "A5:2 C6:2 F6:2 E6:1 D6:1", "D6:2 B5:2 G5:4", "G5:1 B5:1 E6:2 D6:2 B5:2", "C6:2 A5:2 E5:4",
    "F5:2 A5:2 D6:2 C6:1 A5:1", "B5:2 G5:2 E6:4", "F6:2 E6:1 D6:1 C6:2 A5:2", "B5:2 D6:2 G5:1 A5:1 B5:1 D6:1",
};

// Chords, one string per bar: one chord for the bar or two for its halves.
const char* const Chords[Bars] = {
    "C",  "Am", "F",  "G",  "C",  "Am", "Dm G", "C",   "C",  "Am", "F",  "G",  "Em", "Am", "Dm G", "C",
    "F",  "G",  "Em", "Am", "F",  "G",  "Am",   "G",   "Dm", "Em", "F",  "G",  "Em", "Am", "Dm G", "C E",
    "Am", "F",  "Dm", "E",  "Am", "F",  "Dm E", "Am",  "F",  "G",  "Em", "Am", "Dm", "Am", "F E",  "E",
    "Am", "Am", "F",  "F",  "C",  "C",  "G",    "G",   "Am", "Em", "F",  "C",  "Dm", "Em", "F",    "G",
    "C",  "Am", "F",  "G",  "C",  "Am", "Dm G", "C",   "F",  "G",  "Em", "Am", "Dm", "Em", "F",    "G",
};

// Who carries the tune: the two leads take turns by eight bars, by two in
// the last eight.
int LeadOf(int bar) {
    int turn = bar >= Bars - 8 ? (bar - (Bars - 8)) / 2 : bar / 8;
    return turn % 2 == 0 ? Flute : Vibes;
}
// The flute's channel plays a clarinet through the bridge.
int LeadProgramAt(int bar) { return SectionOf(bar) == Section::Bridge ? ClarinetProgram : FluteProgram; }
int LeadOctaveShift(int bar) { return SectionOf(bar) == Section::Bridge && LeadOf(bar) == Flute ? -12 : 0; }

// Loudest melody velocity of a section; phrases rise to it and fall away.
int SectionLoudness(Section s) {
    switch (s) {
        case Section::Theme: return 96;
        case Section::Variation: return 102;
        case Section::Bridge: return 92;
        case Section::Breakdown: return 80;
        case Section::Return: return 98;
    }
    return 96;
}

int NoteNumber(const std::string& name) {
    static const int semis[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    int n = semis[name[0] - 'A'];
    size_t i = 1;
    if (name[i] == '#') ++n, ++i;
    if (name[i] == 'b') --n, ++i;
    return 12 * (std::stoi(name.substr(i)) + 1) + n;
}

struct Chord {
    int bass;      // root in the bass octave
    int tones[3];  // close voicing around middle C
};
Chord ChordOf(const std::string& name) {
    if (name == "C") return {36, {60, 64, 67}};
    if (name == "Am") return {45, {57, 60, 64}};
    if (name == "F") return {41, {57, 60, 65}};
    if (name == "G") return {43, {55, 59, 62}};
    if (name == "Dm") return {38, {57, 62, 65}};
    if (name == "E") return {40, {56, 59, 64}};
    return {40, {55, 59, 64}};  // Em
}

std::vector<std::string> Words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// The chord sounding in a bar at an eighth (0 to 7).
Chord ChordAt(int bar, int eighth) {
    std::vector<std::string> chords = Words(Chords[bar]);
    return ChordOf(chords[chords.size() == 2 && eighth >= 4 ? 1 : 0]);
}

struct Event {
    uint32_t tick;
    int order;  // note-offs first at equal ticks
    std::vector<uint8_t> bytes;
};

struct Track {
    std::vector<Event> events;
    void Add(uint32_t tick, std::vector<uint8_t> bytes, int order = 1) { events.push_back({tick, order, std::move(bytes)}); }
    void Note(int ch, uint32_t tick, uint32_t length, int key, int velocity) {
        Add(tick, {uint8_t(0x90 | ch), uint8_t(key), uint8_t(velocity)});
        Add(tick + length, {uint8_t(0x80 | ch), uint8_t(key), 0}, 0);
    }
    void Setup(int ch, int program, int volume, int pan, int reverb) {
        Add(0, {uint8_t(0xC0 | ch), uint8_t(program)});
        Add(0, {uint8_t(0xB0 | ch), 7, uint8_t(volume)});
        Add(0, {uint8_t(0xB0 | ch), 10, uint8_t(pan)});
        Add(0, {uint8_t(0xB0 | ch), 91, uint8_t(reverb)});
        EndSilent(ch);
    }
    // The synthesiser plays on until every voice has died away, then two
    // seconds more, before it reports the tune ended: cutting the last
    // release tails on the bar line keeps the pause before a restart short.
    void EndSilent(int ch) {
        constexpr uint8_t AllSoundOff = 120;
        Add(uint32_t(Bars * Bar), {uint8_t(0xB0 | ch), AllSoundOff, 0}, 2);
    }
};

void Name(Track& t, const std::string& name) {
    std::vector<uint8_t> b{0xFF, 0x03, uint8_t(name.size())};
    b.insert(b.end(), name.begin(), name.end());
    t.Add(0, b, -1);
}

void PutVlq(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t buf[5];
    int n = 0;
    buf[n++] = uint8_t(v & 0x7F);
    while (v >>= 7) buf[n++] = uint8_t(0x80 | (v & 0x7F));
    while (n) out.push_back(buf[--n]);
}

void PutBig(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int k = bytes - 1; k >= 0; --k) out.push_back(uint8_t(v >> (8 * k)));
}

void PutTrack(std::vector<uint8_t>& file, Track t) {
    std::stable_sort(t.events.begin(), t.events.end(),
                     [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
    std::vector<uint8_t> data;
    uint32_t now = 0;
    for (const Event& e : t.events) {
        PutVlq(data, e.tick - now);
        now = e.tick;
        data.insert(data.end(), e.bytes.begin(), e.bytes.end());
    }
    PutVlq(data, uint32_t(Bars * Bar) - now);  // the tune ends exactly on the bar line
    data.insert(data.end(), {0xFF, 0x2F, 0x00});
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    PutBig(file, uint32_t(data.size()), 4);
    file.insert(file.end(), data.begin(), data.end());
}

Track TempoTrack() {
    Track t;
    Name(t, "Harbour Lines");
    const uint32_t usPerBeat = 60000000 / Bpm;
    t.Add(0, {0xFF, 0x51, 0x03, uint8_t(usPerBeat >> 16), uint8_t(usPerBeat >> 8), uint8_t(usPerBeat)});
    t.Add(0, {0xFF, 0x58, 0x04, 4, 2, 24, 8});
    return t;
}


// A bar's melody as notes, checked to fill the bar exactly.
struct MelodyNote {
    uint32_t tick, length;
    int key, channel;
};
std::vector<MelodyNote> MelodyOf(int bar) {
    std::vector<MelodyNote> notes;
    uint32_t tick = uint32_t(bar * Bar);
    for (const std::string& w : Words(Melody[bar])) {
        size_t colon = w.find(':');
        uint32_t length = uint32_t(std::stoi(w.substr(colon + 1)) * Eighth);
        std::string name = w.substr(0, colon);
        if (name != "r") notes.push_back({tick, length, NoteNumber(name) + LeadOctaveShift(bar), LeadOf(bar)});
        tick += length;
    }
    if (tick != uint32_t((bar + 1) * Bar)) {
        std::fprintf(stderr, "tessmar-soundgen: melody bar %d does not fill the bar\n", bar);
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
        double shape = i <= peak ? 0.62 + 0.38 * double(i) / double(std::max<size_t>(peak, 1))
                                 : 1.0 - 0.3 * double(i - peak) / double(std::max<size_t>(last - peak, 1));
        int v = int(loudest * shape + 0.5) + Accent(notes[i].tick);
        out.push_back(std::clamp(v, 1, 127));
    }
    return out;
}

void Program(Track& t, int ch, uint32_t tick, int program) { t.Add(tick, {uint8_t(0xC0 | ch), uint8_t(program)}, 0); }

// The lead resting holds the chord's upper tones, two half notes a bar.
void CounterLine(Track& t, int bar) {
    const int ch = LeadOf(bar) == Flute ? Vibes : Flute;
    if (ch == Vibes) return;  // the vibraphone only answers with the tune itself
    int octave = SectionOf(bar) == Section::Bridge ? 0 : 12;
    for (int half = 0; half < 2; ++half) {
        Chord c = ChordAt(bar, half * 4);
        uint32_t tick = uint32_t(bar * Bar + half * 2 * Ppq);
        t.Note(ch, tick, 2 * Ppq - 30, c.tones[2 - half] + octave, 50 + Accent(tick) / 2);
    }
}

Track MelodyTrack() {
    Track t;
    Name(t, "Melody");
    t.Setup(Flute, FluteProgram, 104, 58, 50);
    t.Setup(Vibes, VibraphoneProgram, 86, 74, 40);
    for (int bar = 1; bar < Bars; ++bar)
        if (LeadProgramAt(bar) != LeadProgramAt(bar - 1)) Program(t, Flute, uint32_t(bar * Bar), LeadProgramAt(bar));
    for (int first = 0; first < Bars; first += PhraseBars) {
        std::vector<MelodyNote> phrase;
        for (int bar = first; bar < first + PhraseBars; ++bar) {
            std::vector<MelodyNote> notes = MelodyOf(bar);
            phrase.insert(phrase.end(), notes.begin(), notes.end());
            CounterLine(t, bar);
        }
        std::vector<int> velocity = ShapedVelocities(phrase, SectionLoudness(SectionOf(first)));
        for (size_t i = 0; i < phrase.size(); ++i) {
            const MelodyNote& n = phrase[i];
            uint32_t gap = n.channel == Flute ? 20 : 10;  // breath between flute notes
            t.Note(n.channel, n.tick, n.length - gap, n.key, velocity[i]);
        }
    }
    return t;
}

// Nylon guitar: picked eighths, a different figure in each section, strummed
// on the beat through the bridge. Index 3 is the root an octave up.
Track HarmonyTrack() {
    Track t;
    Name(t, "Guitar");
    t.Setup(Guitar, NylonGuitarProgram, 86, 42, 40);
    static const int Arpeggio[8] = {0, 1, 2, 1, 0, 2, 1, 2};
    static const int Climbing[8] = {0, 2, 3, 2, 1, 2, 3, 2};
    static const int Rolling[8] = {0, 1, 2, 3, 2, 1, 2, 1};
    for (int bar = 0; bar < Bars; ++bar) {
        Section s = SectionOf(bar);
        uint32_t start = uint32_t(bar * Bar);
        if (s == Section::Bridge) {
            static const int strum[4] = {64, 46, 56, 46};
            for (int beat = 0; beat < 4; ++beat) {
                Chord c = ChordAt(bar, beat * 2);
                for (int k = 0; k < 3; ++k)
                    t.Note(Guitar, start + uint32_t(beat * Ppq + k * 20), uint32_t(Ppq - 40 - k * 20), c.tones[k],
                           strum[beat] - 3 * k);
            }
            continue;
        }
        const int* figure = s == Section::Variation ? Climbing : s == Section::Breakdown ? Rolling : Arpeggio;
        int base = s == Section::Breakdown ? 54 : 64;
        for (int e = 0; e < 8; ++e) {
            Chord c = ChordAt(bar, e);
            int k = figure[e];
            int key = k == 3 ? c.tones[0] + 12 : c.tones[k];
            int velocity = base + (e == 0 ? 6 : 0) - (e % 2 ? 12 : 0);
            t.Note(Guitar, start + uint32_t(e * Eighth), Eighth - 10, key, velocity);
        }
    }
    return t;
}

// One bass note: where it starts and how long, in eighths, and its interval
// above the chord's root.
struct Step {
    int eighth, eighths, interval;
};

std::vector<Step> BassFigure(int bar) {
    const int inSection = BarInSection(bar);
    if (bar == Bars - 1) return {{0, 2, 0}, {2, 2, 7}, {4, 2, 2}, {6, 2, 4}};  // G D A B, up into C
    if (Words(Chords[bar]).size() == 2) return {{0, 2, 0}, {2, 2, 7}, {4, 2, 0}, {6, 2, 7}};
    switch (SectionOf(bar)) {
        case Section::Variation:
            return {{0, 1, 0}, {1, 1, 0}, {2, 1, 7}, {3, 1, 0}, {4, 1, 12}, {5, 1, 0}, {6, 1, 7}, {7, 1, 0}};
        case Section::Bridge: return {{0, 4, 0}, {4, 2, 7}, {6, 2, 12}};
        case Section::Breakdown:
            if (inSection < 8) return {{0, 8, 0}};
            return {{0, 2, 0}, {2, 2, 0}, {4, 2, 7}, {6, 2, 12}};
        default: return {{0, 2, 0}, {2, 1, 0}, {3, 1, 7}, {4, 2, 12}, {6, 2, 7}};
    }
}

Track BassTrack() {
    Track t;
    Name(t, "Bass");
    t.Setup(Bass, FingeredBassProgram, 62, 64, 10);
    for (int bar = 0; bar < Bars; ++bar) {
        int loud = SectionOf(bar) == Section::Breakdown ? 84 : 96;
        for (const Step& s : BassFigure(bar)) {
            uint32_t tick = uint32_t(bar * Bar + s.eighth * Eighth);
            int velocity = loud - (s.eighth % 4 == 0 ? 0 : 10);
            t.Note(Bass, tick, uint32_t(s.eighths * Eighth - 20), ChordAt(bar, s.eighth).bass + s.interval, velocity);
        }
    }
    return t;
}

// Strings hold the chords from the second half of the variation on, softest
// where the tune is busiest.
int StringsVelocity(int bar) {
    switch (SectionOf(bar)) {
        case Section::Theme: return 0;
        case Section::Variation: return BarInSection(bar) < 8 ? 0 : 52;
        case Section::Bridge: return 66;
        case Section::Breakdown: return 54;
        case Section::Return: return 50;
    }
    return 0;
}

Track StringsTrack() {
    Track t;
    Name(t, "Strings");
    t.Setup(Strings, StringsProgram, 45, 86, 70);
    for (int bar = 0; bar < Bars; ++bar) {
        int velocity = StringsVelocity(bar);
        if (velocity == 0) continue;
        int halves = int(Words(Chords[bar]).size());
        for (int h = 0; h < halves; ++h) {
            uint32_t tick = uint32_t(bar * Bar + h * Bar / halves);
            for (int k : ChordAt(bar, h * 4).tones) t.Note(Strings, tick, uint32_t(Bar / halves - 30), k + 12, velocity);
        }
    }
    return t;
}

// General MIDI percussion keys.
constexpr int Kick = 36, SideStick = 37, Snare = 38, TomFloor = 41, HatClosed = 42, HatPedal = 44, TomLow = 45,
              HatOpen = 46, TomMid = 47, Crash = 49, TomHigh = 50, Ride = 51, Tambourine = 54;

struct Kit {
    Track& t;
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

// A crash opens each section but the breakdown, softer in the bridge.
int CrashVelocity(int bar) {
    int inSection = BarInSection(bar);
    switch (SectionOf(bar)) {
        case Section::Theme: return inSection == 0 ? 80 : 0;
        case Section::Variation: return inSection == 0 ? 84 : 0;
        case Section::Bridge: return inSection == 0 ? 70 : 0;
        case Section::Breakdown: return 0;
        case Section::Return: return inSection % 8 == 0 ? 86 : 0;
    }
    return 0;
}

Track DrumTrack() {
    Track t;
    Name(t, "Drums");
    t.Add(0, {uint8_t(0xB0 | Drums), 7, 76});
    t.Add(0, {uint8_t(0xB0 | Drums), 91, 30});
    t.EndSilent(Drums);
    for (int bar = 0; bar < Bars; ++bar) {
        Kit k{t, uint32_t(bar * Bar)};
        int inSection = BarInSection(bar);
        if (int v = CrashVelocity(bar)) k.Hit(0, Crash, v);
        switch (SectionOf(bar)) {
            case Section::Theme: ThemeGroove(k, inSection); break;
            case Section::Variation: VariationGroove(k, inSection); break;
            case Section::Bridge: BridgeGroove(k, inSection); break;
            case Section::Breakdown: BreakdownGroove(k, inSection); break;
            case Section::Return: ReturnGroove(k, inSection); break;
        }
    }
    return t;
}
}  // namespace

namespace {
std::vector<Track> AllTracks() {
    return {TempoTrack(), MelodyTrack(), HarmonyTrack(), BassTrack(), StringsTrack(), DrumTrack()};
}

std::vector<uint8_t> Assemble(std::vector<Track> tracks) {
    std::vector<uint8_t> file{'M', 'T', 'h', 'd'};
    PutBig(file, 6, 4);
    PutBig(file, 1, 2);
    PutBig(file, uint32_t(tracks.size()), 2);
    PutBig(file, Ppq, 2);
    for (Track& t : tracks) PutTrack(file, std::move(t));
    return file;
}
}  // namespace

std::vector<uint8_t> MakeTune() { return Assemble(AllTracks()); }

std::vector<uint8_t> MakeTuneSolo(int channel) {
    std::vector<Track> tracks = AllTracks();
    for (Track& t : tracks)
        std::erase_if(t.events, [channel](const Event& e) {
            int type = e.bytes[0] >> 4;
            return (type == 0x8 || type == 0x9) && (e.bytes[0] & 0x0F) != channel;
        });
    return Assemble(std::move(tracks));
}

bool WriteTune(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}
