// Writing Standard MIDI Files: events on tracks, sorted and written with
// delta times. Notes of a tune's lead are marked so that the mix can be
// measured one side at a time (the lead alone, everything but the lead).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct MidiEvent {
    uint32_t tick;
    int order;  // note-offs first at equal ticks, set-up before notes
    bool lead;  // a note of the tune's lead
    std::vector<uint8_t> bytes;
};

struct MidiTrack {
    std::vector<MidiEvent> events;
    void Add(uint32_t tick, std::vector<uint8_t> bytes, int order = 1);
    void Note(int ch, uint32_t tick, uint32_t length, int key, int velocity, bool lead = false);
    void Name(const std::string& name);
    void Program(int ch, uint32_t tick, int program);
    void Control(int ch, uint32_t tick, int control, int value);
    // Program, volume, pan and reverb at the start; every voice of the channel
    // silenced at `end`, so the synthesiser reports the tune ended on the bar
    // line instead of after the last release tails.
    void Setup(int ch, int program, int volume, int pan, int reverb, uint32_t end);
};

// Which notes a file keeps; set-up events are always kept.
struct MidiFilter {
    enum class Keep { All, Lead, Rest, Channel } keep = Keep::All;
    int channel = -1;
};

// Format 1, `ppq` ticks a beat; every track ends at `end`.
std::vector<uint8_t> AssembleMidi(std::vector<MidiTrack> tracks, int ppq, uint32_t end, MidiFilter filter = {});

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// "C5" is 72, "A4" 69; '#' and 'b' after the letter.
int NoteNumber(const std::string& name);

// What a listener can count in a tune's lead, from its notes: how much of the
// time it rests, its longest rest, how many different bars it plays, its
// lowest key against the highest of the other pitched parts, and the
// bars where `hook` (keys; only its shape in steps of the scale counts, so a
// transposed, displaced, slower or minor statement is found) begins.
std::string LeadStatistics(const std::vector<MidiTrack>& tracks, uint32_t bar, uint32_t end,
                           const std::vector<int>& hook);
