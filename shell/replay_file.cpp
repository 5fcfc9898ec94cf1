#include "shell/replay_file.h"

#include <cmath>
#include <cstring>

#include "platform/calendar.h"
#include "platform/platform_os.h"
#include "rules/board.h"
#include "rules/screen_state.h"

namespace {
constexpr char Magic[4] = {'T', 'S', 'R', 'P'};
constexpr size_t VersionBytes = 16;
// Magic, format, header size, version, seed, mode, number, mission size,
// date, bindings, layout; then the start: generator, label, colours, grid,
// daily and its day, fish, records.
constexpr size_t FishBytes = 4 + 4 + 4 + 4 + 1;
constexpr size_t StartBytes = 4 * RandomDegree + 2 + 4 + 4 + FishCount * FishBytes + RecordsFileSize + 2;
constexpr size_t FixedHeaderSize = 4 + 2 + 2 + VersionBytes + 4 + 1 + 1 + 2 + 4 + 2 * ReplayActionCount +
                                   ReplayActionCount + 1 + StartBytes;
// Bounds of a fish that some game could have made: it swims within a few
// screens' width of the board, one way or the other.
constexpr float FishReach = 4096;
constexpr int32_t MaxFishPhase = 1 << 24;
enum Changed : uint8_t { KeysChanged = 1, JoyChanged = 2, OwedPause = 4, Picked = 8, AllChanges = 15 };
constexpr int MaxKeysHeld = 64;
constexpr size_t MaxPickBytes = 4096;

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void PutVarint(std::vector<uint8_t>& out, uint32_t v) {
    for (; v >= 0x80; v >>= 7) out.push_back(uint8_t(v | 0x80));
    out.push_back(uint8_t(v));
}

// Reads forward through the bytes; every read past the end sets `bad`.
struct Reader {
    const uint8_t* p;
    size_t left;
    bool bad = false;
    bool Take(size_t n) {
        if (bad || n > left) return !(bad = true);
        return true;
    }
    uint32_t U8() {
        if (!Take(1)) return 0;
        --left;
        return *p++;
    }
    uint32_t U16() { uint32_t lo = U8(); return lo | U8() << 8; }
    uint32_t U32() { uint32_t lo = U16(); return lo | U16() << 16; }
    uint32_t Varint() {
        uint32_t v = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            uint32_t b = U8();
            v |= (b & 0x7F) << shift;
            if ((b & 0x80) == 0) return v;
        }
        bad = true;
        return 0;
    }
    void Bytes(void* to, size_t n) {
        if (n == 0 || !Take(n)) return;  // an empty vector's data() may be null
        std::memcpy(to, p, n);
        p += n;
        left -= n;
    }
};

void PutSample(std::vector<uint8_t>& out, const ReplaySample& s, uint8_t what) {
    if (what & KeysChanged) {
        size_t countAt = out.size();
        out.push_back(0);
        for (int key = 0; key < KeyCount; ++key)
            if (s.keys.Has(key) && out[countAt] < MaxKeysHeld) {
                ++out[countAt];
                Put16(out, uint32_t(key));
            }
    }
    if (what & JoyChanged) {
        out.push_back(uint8_t((s.joyPresent ? 1 : 0) | (s.joyPad ? 2 : 0)));
        Put16(out, s.joyX);
        Put16(out, s.joyY);
        Put32(out, s.joyButtons);
    }
}

uint32_t FloatBits(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}
float BitsFloat(uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

void PutStart(std::vector<uint8_t>& out, const ReplayStart& s) {
    for (uint32_t word : s.random.table) Put32(out, word);
    out.push_back(s.random.front);
    out.push_back(s.random.rear);
    out.push_back(s.nextGroupId);
    out.push_back(s.colourMode);
    out.push_back(s.gridMode);
    out.push_back(s.daily ? 1 : 0);
    Put16(out, uint32_t(s.dailyDay.year));
    out.push_back(uint8_t(s.dailyDay.month));
    out.push_back(uint8_t(s.dailyDay.day));
    for (const Fish& f : s.fish) {
        Put32(out, FloatBits(f.x));
        Put32(out, FloatBits(f.y));
        Put32(out, uint32_t(f.phase));
        Put32(out, uint32_t(f.dir));
        out.push_back(uint8_t(f.state));
    }
    out.insert(out.end(), s.records, s.records + RecordsFileSize);
    out.push_back(s.firstScreen);
    out.push_back(s.briskFall ? 1 : 0);
}

// A generator some seed leads to: its two indices three apart, or never seeded.
bool SoundGenerator(const RandomGenerator& g) {
    if (g.front >= RandomDegree || g.rear >= RandomDegree) return false;
    return (g.front == 0 && g.rear == 0) || (g.front + RandomDegree - g.rear) % RandomDegree == RandomSeparation;
}

bool SoundFish(const Fish& f) {
    return uint8_t(f.state) <= uint8_t(FishStateValue::Caught) && std::isfinite(f.x) && std::isfinite(f.y) &&
           std::fabs(f.x) <= FishReach && std::fabs(f.y) <= FishReach && f.dir >= -1 && f.dir <= 1 && f.phase >= 0 &&
           f.phase <= MaxFishPhase;
}

// False with the reason in `error` on values no game could have started from.
bool TakeStart(Reader& in, ReplayStart& s, std::string& error) {
    for (uint32_t& word : s.random.table) word = in.U32();
    s.random.front = uint8_t(in.U8());
    s.random.rear = uint8_t(in.U8());
    s.nextGroupId = uint8_t(in.U8());
    s.colourMode = uint8_t(in.U8());
    s.gridMode = uint8_t(in.U8());
    const uint32_t daily = in.U8();
    s.dailyDay.year = int(in.U16());
    s.dailyDay.month = int(in.U8());
    s.dailyDay.day = int(in.U8());
    for (Fish& f : s.fish) {
        f.x = BitsFloat(in.U32());
        f.y = BitsFloat(in.U32());
        f.phase = int32_t(in.U32());
        f.dir = int32_t(in.U32());
        f.state = FishStateValue(in.U8());
    }
    in.Bytes(s.records, RecordsFileSize);
    s.firstScreen = uint8_t(in.U8());
    const uint32_t brisk = in.U8();
    if (in.bad) return error = "cut short in its header", false;
    if (s.firstScreen != BoardEntryScreen && s.firstScreen != NextPair) return error = "a game that begins on no game's first screen", false;
    if (!SoundGenerator(s.random)) return error = "a random generator no seed leads to", false;
    if (s.nextGroupId < 1 || s.nextGroupId > GroupLabels) return error = "a rope label out of range", false;
    if (s.colourMode > 1 || s.gridMode > 1 || daily > 1 || brisk > 1) return error = "a switch that is neither on nor off", false;
    s.briskFall = brisk == 1;
    s.daily = daily == 1;
    if (s.daily && !CalendarDayValid(s.dailyDay)) return error = "a daily mission of no real day", false;
    for (const Fish& f : s.fish)
        if (!SoundFish(f)) return error = "a fish no game could have", false;
    return true;
}
}  // namespace

namespace {
// The changes `what` names, over the sample before.
bool TakeSample(Reader& in, uint32_t what, ReplaySample& s, std::string& error) {
    if (what & KeysChanged) {
        s.keys = {};
        const uint32_t count = in.U8();
        if (count > MaxKeysHeld) return error = "too many keys held at once", false;
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t key = in.U16();
            if (key >= uint32_t(KeyCount)) return error = "a key outside the keyboard", false;
            s.keys.Add(int(key));
        }
    }
    if (what & JoyChanged) {
        const uint32_t flags = in.U8();
        if (flags > 3) return error = "a joystick of unknown kind", false;
        s.joyPresent = flags & 1;
        s.joyPad = flags & 2;
        s.joyX = in.U16();
        s.joyY = in.U16();
        s.joyButtons = in.U32();
    }
    s.owedPause = (what & OwedPause) != 0;
    return true;
}
}  // namespace

bool ReplayStart::operator==(const ReplayStart& other) const {
    std::vector<uint8_t> a, b;
    PutStart(a, *this);
    PutStart(b, other);
    PutSample(a, before, AllChanges);
    PutSample(b, other.before, AllChanges);
    return a == b && before.owedPause == other.before.owedPause;
}

std::vector<uint8_t> EncodeReplay(const Replay& r) {
    std::vector<uint8_t> out(Magic, Magic + 4);
    Put16(out, r.format);
    Put16(out, FixedHeaderSize);
    char version[VersionBytes] = {};
    std::memcpy(version, r.gameVersion.data(), std::min(r.gameVersion.size(), VersionBytes));
    out.insert(out.end(), version, version + VersionBytes);
    Put32(out, r.seed);
    out.push_back(r.mode);
    out.push_back(r.missionNumber);
    Put16(out, uint32_t(r.mission.size()));
    Put16(out, uint32_t(r.day.year));
    out.push_back(uint8_t(r.day.month));
    out.push_back(uint8_t(r.day.day));
    for (uint16_t k : r.keyBinding) Put16(out, k);
    out.insert(out.end(), r.padBinding, r.padBinding + ReplayActionCount);
    out.push_back(r.padNintendo);
    PutStart(out, r.start);
    out.push_back(uint8_t(KeysChanged | JoyChanged | (r.start.before.owedPause ? OwedPause : 0)));
    PutSample(out, r.start.before, KeysChanged | JoyChanged);
    out.insert(out.end(), r.mission.begin(), r.mission.end());
    Put32(out, r.frames);
    const ReplaySample* last = nullptr;
    for (const ReplayRun& run : r.runs) {
        const ReplaySample& s = r.samples[run.sample];
        uint8_t what = 0;
        if (!last || !(s.keys == last->keys)) what |= KeysChanged;
        if (!last || s.joyPresent != last->joyPresent || s.joyPad != last->joyPad || s.joyX != last->joyX ||
            s.joyY != last->joyY || s.joyButtons != last->joyButtons)
            what |= JoyChanged;
        if (s.owedPause) what |= OwedPause;
        if (run.pick >= 0) what |= Picked;
        // Long runs are cut, so that no byte stands for more than a bounded stretch of play.
        for (uint32_t done = 0; done < run.frames;) {
            uint32_t n = std::min(run.frames - done, MaxReplayRun);
            PutVarint(out, n);
            out.push_back(what);
            PutSample(out, s, what);
            if (what & Picked) {
                const std::string& pick = r.picks[size_t(run.pick)];
                PutVarint(out, uint32_t(std::min(pick.size(), MaxPickBytes)));
                out.insert(out.end(), pick.begin(), pick.begin() + std::min(pick.size(), MaxPickBytes));
            }
            what &= OwedPause;
            done += n;
        }
        last = &s;
    }
    return out;
}

bool DecodeReplay(const uint8_t* bytes, size_t size, Replay& r, std::string& error, bool* wrongFormat) {
    r = Replay{};
    if (wrongFormat) *wrongFormat = false;
    Reader in{bytes, size};
    char magic[4] = {};
    in.Bytes(magic, 4);
    if (in.bad || std::memcmp(magic, Magic, 4) != 0) return error = "not a Tessmar replay", false;
    r.format = uint16_t(in.U16());
    if (!in.bad && r.format != ReplayFormatVersion) {
        if (wrongFormat) *wrongFormat = true;
        return error = "a replay of format " + std::to_string(r.format) + "; this game reads format " +
                       std::to_string(ReplayFormatVersion) + " only", false;
    }
    if (in.U16() != FixedHeaderSize && !in.bad) return error = "the header's size is not that of its format", false;
    char version[VersionBytes + 1] = {};
    in.Bytes(version, VersionBytes);
    r.gameVersion = version;
    r.seed = in.U32();
    r.mode = uint8_t(in.U8());
    r.missionNumber = uint8_t(in.U8());
    const uint32_t missionSize = in.U16();
    r.day.year = int(in.U16());
    r.day.month = int(in.U8());
    r.day.day = int(in.U8());
    for (uint16_t& k : r.keyBinding) k = uint16_t(in.U16());
    in.Bytes(r.padBinding, ReplayActionCount);
    r.padNintendo = uint8_t(in.U8());
    if (in.bad) return error = "cut short in its header", false;
    if (missionSize != 0 && missionSize != ReplayMissionSize) return error = "a mission that is not 294 bytes", false;
    if (!TakeStart(in, r.start, error)) return false;
    const uint32_t beforeWhat = in.U8();
    if (!in.bad && (beforeWhat & ~uint32_t(OwedPause)) != (KeysChanged | JoyChanged))
        return error = "the frame before the game is not whole", false;
    if (!TakeSample(in, beforeWhat, r.start.before, error)) return false;
    if (r.start.daily && missionSize == 0) return error = "a daily mission without its mission", false;
    r.mission.resize(missionSize);
    in.Bytes(r.mission.data(), missionSize);
    r.frames = in.U32();
    if (in.bad) return error = "cut short in its header", false;
    if (r.frames > MaxReplayFrames) return error = "longer than a day of play", false;

    ReplaySample s;
    uint64_t frames = 0;
    while (in.left > 0 && !in.bad) {
        ReplayRun run;
        run.frames = in.Varint();
        const uint32_t what = in.U8();
        if (in.bad) break;
        if (run.frames == 0 || run.frames > MaxReplayRun) return error = "a run of " + std::to_string(run.frames) + " frames", false;
        if (what & ~uint32_t(AllChanges)) return error = "a frame of unknown kind", false;
        if ((what & (KeysChanged | JoyChanged)) == 0 && r.runs.empty()) return error = "its first frame holds no input", false;
        if (!TakeSample(in, what, s, error)) return false;
        if (what & Picked) {
            const uint32_t length = in.Varint();
            if (length > MaxPickBytes || length > in.left) return error = "a dialog answer longer than the file", false;
            std::string pick(length, '\0');
            in.Bytes(pick.data(), length);
            run.pick = int32_t(r.picks.size());
            r.picks.push_back(std::move(pick));
        }
        if (in.bad) break;
        if (r.samples.empty() || !(r.samples.back() == s)) r.samples.push_back(s);
        run.sample = uint32_t(r.samples.size() - 1);
        frames += run.frames;
        if (frames > r.frames) return error = "more frames than its header says", false;
        r.runs.push_back(run);
    }
    if (in.bad) return error = "cut short in its frames", false;
    if (frames != r.frames) return error = "fewer frames than its header says", false;
    return true;
}

bool ReadReplayFile(const std::string& path, Replay& out, std::string& error, bool* wrongFormat) {
    if (wrongFormat) *wrongFormat = false;
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!ReadFileBytes(path, bytes, MaxReplayBytes + 1, &reason)) return error = path + ": " + reason, false;
    if (bytes.size() > MaxReplayBytes) return error = path + ": longer than a replay can be", false;
    if (!DecodeReplay(bytes.data(), bytes.size(), out, error, wrongFormat)) return error = path + ": " + error, false;
    return true;
}

bool LooksLikeReplay(const std::string& path) {
    std::vector<uint8_t> bytes;
    return ReadFileBytes(path, bytes, 4) && bytes.size() == 4 && std::memcmp(bytes.data(), Magic, 4) == 0;
}

InputScript ReplayScript(const Replay& r) {
    InputScript script;
    script.keySets.reserve(r.samples.size());
    for (const ReplaySample& s : r.samples) script.keySets.push_back(s.keys);
    script.picks = r.picks;
    const ReplaySample* last = nullptr;
    for (const ReplayRun& run : r.runs) {
        const ReplaySample& s = r.samples[run.sample];
        if (!last || s.joyPresent != last->joyPresent || s.joyPad != last->joyPad || s.joyX != last->joyX ||
            s.joyY != last->joyY || s.joyButtons != last->joyButtons) {
            if (s.joyPresent) {
                script.steps.push_back({ScriptStep::Joy, uint32_t(script.joys.size()), 0});
                script.joys.push_back({s.joyX, s.joyY, s.joyButtons, s.joyPad});
            } else {
                script.steps.push_back({ScriptStep::JoyNone, 0, 0});
            }
        }
        if (run.pick >= 0) script.steps.push_back({ScriptStep::Pick, uint32_t(run.pick), 0});
        if (s.owedPause) {
            // The owed pause comes with each frame of the run.
            for (uint32_t i = 0; i < run.frames; ++i) {
                script.steps.push_back({ScriptStep::OwedPause, 0, 0});
                script.steps.push_back({ScriptStep::Hold, 1, run.sample});
            }
        } else {
            script.steps.push_back({ScriptStep::Hold, run.frames, run.sample});
        }
        last = &s;
    }
    return script;
}
