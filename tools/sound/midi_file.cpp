#include "tools/sound/midi_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

void MidiTrack::Add(uint32_t tick, std::vector<uint8_t> bytes, int order) {
    events.push_back({tick, order, false, std::move(bytes)});
}

void MidiTrack::Note(int ch, uint32_t tick, uint32_t length, int key, int velocity, bool lead) {
    events.push_back({tick, 1, lead, {uint8_t(0x90 | ch), uint8_t(key), uint8_t(velocity)}});
    events.push_back({tick + length, 0, lead, {uint8_t(0x80 | ch), uint8_t(key), 0}});
}

void MidiTrack::Name(const std::string& name) {
    std::vector<uint8_t> b{0xFF, 0x03, uint8_t(name.size())};
    b.insert(b.end(), name.begin(), name.end());
    Add(0, b, -1);
}

void MidiTrack::Program(int ch, uint32_t tick, int program) { Add(tick, {uint8_t(0xC0 | ch), uint8_t(program)}, 0); }

void MidiTrack::Control(int ch, uint32_t tick, int control, int value) {
    Add(tick, {uint8_t(0xB0 | ch), uint8_t(control), uint8_t(value)}, 0);
}

void MidiTrack::Setup(int ch, int program, int volume, int pan, int reverb, uint32_t end) {
    Program(ch, 0, program);
    Control(ch, 0, 7, volume);
    Control(ch, 0, 10, pan);
    Control(ch, 0, 91, reverb);
    constexpr int AllSoundOff = 120;
    Add(end, {uint8_t(0xB0 | ch), AllSoundOff, 0}, 2);
}

namespace {
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

bool Kept(const MidiEvent& e, const MidiFilter& f) {
    int type = e.bytes[0] >> 4;
    if (type != 0x8 && type != 0x9) return true;
    switch (f.keep) {
        case MidiFilter::Keep::All: return true;
        case MidiFilter::Keep::Lead: return e.lead;
        case MidiFilter::Keep::Rest: return !e.lead;
        case MidiFilter::Keep::Channel: return (e.bytes[0] & 0x0F) == f.channel;
    }
    return true;
}

void PutTrack(std::vector<uint8_t>& file, MidiTrack t, uint32_t end, const MidiFilter& filter) {
    std::erase_if(t.events, [&](const MidiEvent& e) { return !Kept(e, filter); });
    std::stable_sort(t.events.begin(), t.events.end(), [](const MidiEvent& a, const MidiEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<uint8_t> data;
    uint32_t now = 0;
    for (const MidiEvent& e : t.events) {
        PutVlq(data, e.tick - now);
        now = e.tick;
        data.insert(data.end(), e.bytes.begin(), e.bytes.end());
    }
    PutVlq(data, end - now);  // the tune ends exactly on the bar line
    data.insert(data.end(), {0xFF, 0x2F, 0x00});
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    PutBig(file, uint32_t(data.size()), 4);
    file.insert(file.end(), data.begin(), data.end());
}
}  // namespace

std::vector<uint8_t> AssembleMidi(std::vector<MidiTrack> tracks, int ppq, uint32_t end, MidiFilter filter) {
    std::vector<uint8_t> file{'M', 'T', 'h', 'd'};
    PutBig(file, 6, 4);
    PutBig(file, 1, 2);
    PutBig(file, uint32_t(tracks.size()), 2);
    PutBig(file, uint32_t(ppq), 2);
    for (MidiTrack& t : tracks) PutTrack(file, std::move(t), end, filter);
    return file;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

int NoteNumber(const std::string& name) {
    static const int semis[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    int n = semis[name[0] - 'A'];
    size_t i = 1;
    if (name[i] == '#') ++n, ++i;
    if (name[i] == 'b') --n, ++i;
    return 12 * (std::stoi(name.substr(i)) + 1) + n;
}

namespace {
// An interval in steps of a diatonic scale (a major or minor second is one).
int Steps(int semitones) {
    static const int steps[12] = {0, 1, 1, 2, 2, 3, 3, 4, 5, 5, 6, 6};
    int a = std::abs(semitones);
    int s = a / 12 * 7 + steps[a % 12];
    return semitones < 0 ? -s : s;
}
}  // namespace

std::string LeadStatistics(const std::vector<MidiTrack>& tracks, uint32_t bar, uint32_t end,
                           const std::vector<int>& hook) {
    struct Played {
        uint32_t on, off;
        int key;
    };
    std::vector<Played> notes;
    int highestOther = 0;  // the highest pitched note that is not the lead's
    for (const MidiTrack& t : tracks)
        for (const MidiEvent& e : t.events)
            if (!e.lead && e.bytes[0] >> 4 == 0x9 && (e.bytes[0] & 0x0F) != 9)
                highestOther = std::max(highestOther, int(e.bytes[1]));
    for (const MidiTrack& t : tracks) {
        for (const MidiEvent& e : t.events) {
            if (!e.lead) continue;
            int type = e.bytes[0] >> 4;
            if (type == 0x9 && e.bytes[2] > 0) notes.push_back({e.tick, e.tick, e.bytes[1]});
            if (type == 0x8)
                for (auto it = notes.rbegin(); it != notes.rend(); ++it)
                    if (it->key == e.bytes[1] && it->off == it->on) {
                        it->off = e.tick;
                        break;
                    }
        }
    }
    std::sort(notes.begin(), notes.end(), [](const Played& a, const Played& b) { return a.on < b.on; });
    // Rests: the time no lead note sounds; a breath under an eighth between
    // notes is part of the phrase, not a rest.
    const uint32_t breath = bar / 8;
    uint32_t sounding = 0, longest = 0, until = 0;
    for (const Played& n : notes) {
        uint32_t gap = n.on > until ? n.on - until : 0;
        if (gap >= breath)
            longest = std::max(longest, gap);
        else
            sounding += gap;
        sounding += n.off - std::max(n.on, std::min(n.off, until));
        until = std::max(until, n.off);
    }
    longest = std::max(longest, end - std::min(end, until) + (notes.empty() ? 0 : notes.front().on));
    std::vector<std::string> bars(end / bar);
    for (const Played& n : notes)
        bars[n.on / bar] +=
            std::to_string(n.on % bar) + ":" + std::to_string(n.key) + ":" + std::to_string(n.off - n.on) + " ";
    std::vector<std::string> distinct(bars);
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    std::string hookBars;
    int hooks = 0;
    for (size_t i = 0; i + hook.size() <= notes.size() && hook.size() > 1; ++i) {
        bool same = true;
        for (size_t k = 1; k < hook.size() && same; ++k)
            same = Steps(notes[i + k].key - notes[i + k - 1].key) == Steps(hook[k] - hook[k - 1]);
        if (same) ++hooks, hookBars += " " + std::to_string(notes[i].on / bar + 1);
    }
    char text[256];
    std::snprintf(text, sizeof text,
                  "lead rests %.0f %% of the time, longest rest %.2f "
                  "bars\ndifferent lead bars %zu of %zu\n",
                  100.0 * (1 - double(sounding) / double(end)), double(longest) / double(bar), distinct.size(),
                  bars.size());
    int lowestLead = 127;
    for (const Played& n : notes) lowestLead = std::min(lowestLead, n.key);
    std::snprintf(text + std::strlen(text), sizeof text - std::strlen(text),
                  "lead's lowest key %d, highest key of the other parts %d\n", lowestLead, highestOther);
    return text + ("hook heard " + std::to_string(hooks) + " times, in bars" + hookBars + "\n");
}
