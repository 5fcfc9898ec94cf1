// "Harbour Lines": a light tune in C major, 132 beats a minute, 32 bars of
// four beats (about 58 seconds). Sections A A' B A'', the last bar turning
// on G back to the first.
#include "tools/sound/tune.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {
constexpr int Ppq = 480;
constexpr int Eighth = Ppq / 2;
constexpr int Bar = 4 * Ppq;
constexpr int Bars = 32;
constexpr int Bpm = 132;

// Melody, one string per bar, "NOTE:eighths" or "r:eighths"; each bar adds up to 8.
const char* const Melody[Bars] = {
    // A
    "G5:1 E5:1 G5:2 C6:2 B5:1 C6:1", "A5:3 E5:1 A5:2 G5:2", "F5:1 A5:1 C6:2 A5:2 F5:2", "G5:3 D5:1 B4:2 D5:2",
    "E5:1 G5:1 C6:2 E6:2 D6:1 C6:1", "C6:2 A5:2 E5:2 A5:2", "F5:2 A5:2 G5:2 B5:2", "C6:4 r:2 G5:2",
    // A'
    "E6:2 D6:1 C6:1 G5:2 E5:2", "A5:1 B5:1 C6:2 E6:2 C6:2", "F6:2 E6:1 D6:1 C6:2 A5:2", "B5:2 G5:2 D6:3 r:1",
    "B5:2 G5:1 E5:1 G5:2 B5:2", "C6:3 B5:1 A5:2 E5:2", "F5:1 A5:1 D6:2 B5:2 G5:2", "C6:6 r:2",
    // B
    "A5:4 C6:2 A5:2", "G5:4 B5:2 D6:2", "E6:3 D6:1 B5:2 G5:2", "A5:6 r:2",
    "F5:2 A5:2 C6:2 F6:2", "E6:2 D6:2 B5:2 G5:2", "A5:2 C6:2 E6:2 A6:2", "G6:2 F6:1 E6:1 D6:2 B5:2",
    // A''
    "G5:1 E5:1 G5:2 C6:2 B5:1 C6:1", "A5:3 E5:1 A5:2 G5:2", "F5:1 A5:1 C6:2 A5:2 F5:2", "G5:3 D5:1 B4:2 D5:2",
    "E5:1 G5:1 C6:2 E6:2 D6:1 C6:1", "C6:2 A5:2 E5:2 A5:2", "F5:2 A5:2 G5:2 B5:2", "C6:3 r:1 G5:1 A5:1 B5:2",
};

// Chords, one string per bar: one chord for the bar or two for its halves.
const char* const Chords[Bars] = {
    "C", "Am", "F", "G", "C", "Am", "Dm G", "C",
    "C", "Am", "F", "G", "Em", "Am", "Dm G", "C",
    "F", "G", "Em", "Am", "F", "G", "Am", "G",
    "C", "Am", "F", "G", "C", "Am", "Dm G", "C G",
};

bool InB(int bar) { return bar >= 16 && bar < 24; }

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
    return {40, {55, 59, 64}};  // Em
}

std::vector<std::string> Words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
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

// Flute carries the tune; a marimba doubles it outside the B section.
Track MelodyTrack() {
    Track t;
    Name(t, "Melody");
    t.Setup(0, 73, 104, 64, 50);
    t.Setup(4, 12, 78, 84, 30);
    for (int bar = 0; bar < Bars; ++bar) {
        uint32_t tick = uint32_t(bar * Bar);
        for (const std::string& w : Words(Melody[bar])) {
            size_t colon = w.find(':');
            uint32_t length = uint32_t(std::stoi(w.substr(colon + 1)) * Eighth);
            std::string name = w.substr(0, colon);
            if (name != "r") {
                int key = NoteNumber(name);
                t.Note(0, tick, length - 20, key, 96);
                if (!InB(bar)) t.Note(4, tick, std::min<uint32_t>(length, Eighth), key, 70);
            }
            tick += length;
        }
    }
    return t;
}

// Nylon guitar picking the chord in eighths.
Track HarmonyTrack() {
    Track t;
    Name(t, "Guitar");
    t.Setup(1, 24, 84, 40, 40);
    static const int pattern[8] = {0, 1, 2, 1, 0, 2, 1, 2};
    for (int bar = 0; bar < Bars; ++bar) {
        std::vector<std::string> chords = Words(Chords[bar]);
        for (int e = 0; e < 8; ++e) {
            Chord c = ChordOf(chords[chords.size() == 2 && e >= 4 ? 1 : 0]);
            int velocity = e % 2 == 0 ? 64 : 50;
            t.Note(1, uint32_t(bar * Bar + e * Eighth), Eighth - 10, c.tones[pattern[e]], velocity);
        }
    }
    return t;
}

Track BassTrack() {
    Track t;
    Name(t, "Bass");
    t.Setup(2, 33, 112, 64, 10);
    for (int bar = 0; bar < Bars; ++bar) {
        std::vector<std::string> chords = Words(Chords[bar]);
        uint32_t start = uint32_t(bar * Bar);
        if (chords.size() == 1) {
            int r = ChordOf(chords[0]).bass;
            // root, root, fifth, octave, fifth
            const int steps[5][2] = {{0, 2}, {0, 1}, {7, 1}, {12, 2}, {7, 2}};
            uint32_t tick = start;
            for (const auto& s : steps) {
                t.Note(2, tick, uint32_t(s[1] * Eighth - 20), r + s[0], s[0] == 0 ? 100 : 88);
                tick += uint32_t(s[1] * Eighth);
            }
        } else {
            for (int half = 0; half < 2; ++half) {
                int r = ChordOf(chords[size_t(half)]).bass;
                uint32_t tick = start + uint32_t(half * 2 * Ppq);
                t.Note(2, tick, Ppq - 20, r, 100);
                t.Note(2, tick + Ppq, Ppq - 20, r + 7, 88);
            }
        }
    }
    return t;
}

// Soft strings hold the chords through the B section only.
Track StringsTrack() {
    Track t;
    Name(t, "Strings");
    t.Setup(3, 48, 70, 90, 70);
    for (int bar = 16; bar < 24; ++bar)
        for (int k : ChordOf(Chords[bar]).tones) t.Note(3, uint32_t(bar * Bar), Bar - 30, k + 12, 56);
    return t;
}

Track DrumTrack() {
    Track t;
    Name(t, "Drums");
    t.Add(0, {0xB9, 7, 100});
    t.Add(0, {0xB9, 91, 30});
    const int Kick = 36, Snare = 38, SideStick = 37, HatClosed = 42, HatOpen = 46, Crash = 49, TomHigh = 50,
              TomMid = 47, TomLow = 45;
    for (int bar = 0; bar < Bars; ++bar) {
        uint32_t s = uint32_t(bar * Bar);
        auto hit = [&](int eighth, int key, int velocity) { t.Note(9, s + uint32_t(eighth * Eighth), Eighth / 2, key, velocity); };
        bool fill = bar % 8 == 7;
        if (bar % 8 == 0) hit(0, Crash, 90);
        for (int e = 0; e < 8; ++e) {
            if (fill && e >= 6) continue;
            bool open = bar % 2 == 1 && e == 7;
            hit(e, open ? HatOpen : HatClosed, e % 2 == 0 ? 62 : 44);
        }
        hit(0, Kick, 100);
        hit(4, Kick, 92);
        if (bar % 2 == 1) hit(5, Kick, 70);
        hit(2, InB(bar) ? SideStick : Snare, 80);
        if (!fill) hit(6, InB(bar) ? SideStick : Snare, 80);
        if (fill) {
            hit(6, TomHigh, 84);
            t.Note(9, s + 6 * Eighth + Eighth / 2, Eighth / 2, TomMid, 80);
            hit(7, TomLow, 88);
            t.Note(9, s + 7 * Eighth + Eighth / 2, Eighth / 2, Snare, 70);
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
