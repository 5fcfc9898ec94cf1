#include "shell/replay_record.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>

#include "draw/playfield.h"
#include "platform/platform_os.h"
#include "rules/fish.h"
#include "rules/game_mode.h"
#include "rules/new_game.h"
#include "rules/scoring.h"
#include "rules/screen_state.h"
#include "screens/daily.h"
#include "screens/key_table.h"
#include "screens/mission_loader.h"
#include "screens/notice.h"
#include "screens/records_file.h"
#include "shell/replay.h"
#include "shell/startup.h"

#ifndef TESSMAR_VERSION
#define TESSMAR_VERSION "unknown"
#endif

bool RecordingReplays = false;
std::string ReplaysFolder;

namespace {
bool recording = false;
Replay current;
std::string startTime;
int32_t bestScore = 0;
bool cleared = false;
bool toldNotKept = false;
ReplaySample lastSample;  // what the frame before sampled, while no game is recorded

}  // namespace

// The menus; every other screen belongs to a game.
bool InGameScreen() { return ScreenState != TitleScreen && ScreenState != MissionSelectScreen && ScreenState != RecordsScreen; }

namespace {
std::string LocalTimeName() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char name[32];
    std::strftime(name, sizeof name, "%Y%m%d-%H%M%S", &local);
    return name;
}

// The set-up's generator and label, and what the player brought into the
// game; everything else a replay's set-up makes again.
void TakeStart(ReplayStart& start) {
    start.random = RandomAtSetUp;
    start.nextGroupId = GroupIdAtSetUp;
    start.colourMode = ColourMode;
    start.gridMode = GridMode;
    start.daily = GameMode == EditGame && DailyStage != DailyNone;
    start.dailyDay = start.daily ? DailyDay : CalendarDay{};
    std::copy(std::begin(FishTable), std::end(FishTable), start.fish);
    EncodeRecords(start.records);
    start.firstScreen = uint8_t(ScreenState);
    start.briskFall = BriskFall;
    start.before = lastSample;
}

void Begin() {
    current = Replay{};
    current.gameVersion = TESSMAR_VERSION;
    current.seed = ProgramSeed;
    current.mode = GameMode;
    current.missionNumber = MissionNumber;
    if (GameMode != ScoreAttack && LastMissionFile().size() == ReplayMissionSize) current.mission = LastMissionFile();
    current.day = PlatformToday();
    for (int a = 0; a < ActionCount && a < ReplayActionCount; ++a) {
        current.keyBinding[a] = uint16_t(KeyBinding[a]);
        current.padBinding[a] = uint8_t(PadBinding[a]);  // NoPadButton as 255
    }
    current.padNintendo = PadNintendo ? 1 : 0;
    TakeStart(current.start);
    current.runs.reserve(1024);
    current.samples.reserve(1024);
    startTime = LocalTimeName();
    bestScore = 0;
    cleared = false;
    recording = true;
}

void SayNotKept(const std::string& why) {
    std::fprintf(stderr, "tessmar: replays are not kept: %s\n", why.c_str());
    if (toldNotKept) return;
    toldNotKept = true;
    ShowNotice(NoticeReplaysNotKept);
}

void Prune() {
    std::vector<std::string> names = FilesEndingIn(ReplaysFolder, ".tsr");
    for (const std::string& name : ReplaysToPrune(names)) unlink(JoinPath(ReplaysFolder, name).c_str());
}

void Finish() {
    recording = false;
    if (current.frames == 0 || ReplaysFolder.empty()) return;
    MakeFolders(ReplaysFolder);
    const std::vector<uint8_t> bytes = EncodeReplay(current);
    std::string path = JoinPath(ReplaysFolder, ReplayFileName(startTime, current, bestScore, cleared));
    // Two games ended within one second: the later one a name of its own.
    struct stat st {};
    for (int n = 2; lstat(path.c_str(), &st) == 0 && n < 100; ++n)
        path = JoinPath(ReplaysFolder, ReplayFileName(startTime + "-" + std::to_string(n), current, bestScore, cleared));
    std::string reason;
    if (!WriteFileAtomically(path, bytes.data(), bytes.size(), &reason)) SayNotKept(path + ": " + reason);
    Prune();
    current = Replay{};
}
}  // namespace

void WatchGameForReplay() {
    if (!RecordingReplays || ReplayPlaying()) return;
    const bool inGame = InGameScreen();
    if (!recording && inGame) Begin();
    else if (recording && !inGame) Finish();
    if (!recording) return;
    if (Score > bestScore) bestScore = Score;
    if (ScreenState == MissionClearScreen) cleared = true;
}

void RecordSampledFrame(const ReplaySample& sample) {
    if (!recording) lastSample = sample;
    if (!recording || !RecordingReplays) return;
    if (current.frames >= MaxReplayFrames) return;  // a day of play: the rest is not kept
    ++current.frames;
    if (!current.runs.empty() && current.runs.back().pick < 0 && current.samples[current.runs.back().sample] == sample &&
        current.runs.back().frames < MaxReplayRun) {
        ++current.runs.back().frames;
        return;
    }
    if (current.samples.empty() || !(current.samples.back() == sample)) current.samples.push_back(sample);
    current.runs.push_back({1, uint32_t(current.samples.size() - 1), -1});
}

void RecordDialogAnswer(const std::string& answer) {
    if (!recording || current.runs.empty()) return;
    ReplayRun& last = current.runs.back();
    if (last.frames > 1) {  // the answer belongs to this frame alone
        --last.frames;
        current.runs.push_back({1, last.sample, -1});
    }
    current.runs.back().pick = int32_t(current.picks.size());
    current.picks.push_back(answer);
}

void FinishReplayRecording() {
    if (recording) Finish();
}

void ForgetReplayRecording() {
    recording = false;
    current = Replay{};
    toldNotKept = false;
}

const Replay& RecordedReplay() { return current; }

std::string ReplayFileName(const std::string& time, const Replay& r, int score, bool clear) {
    char name[80];
    if (r.mode == ScoreAttack)
        std::snprintf(name, sizeof name, "%s-score-%d.tsr", time.c_str(), score);
    else if (r.mode == NormalGame)
        std::snprintf(name, sizeof name, "%s-mission%02d%s.tsr", time.c_str(), r.missionNumber, clear ? "-clear" : "");
    else  // a mission file; a daily mission gets a word of its own here
        std::snprintf(name, sizeof name, "%s-file%s.tsr", time.c_str(), clear ? "-clear" : "");
    return name;
}

std::vector<std::string> ReplaysToPrune(const std::vector<std::string>& names) {
    std::vector<bool> keep(names.size(), false);
    for (size_t i = names.size() > LatestReplaysKept ? names.size() - LatestReplaysKept : 0; i < names.size(); ++i)
        keep[i] = true;
    // Each score of the best five, as many times as the table holds it, newest first.
    std::map<long, int> wanted;
    for (int place = 1; place <= LastPlace; ++place)
        if (RecordTable[place].name[0] != 0) ++wanted[long(RecordTable[place].score)];
    for (size_t i = names.size(); i-- > 0;) {
        const char* score = std::strstr(names[i].c_str(), "-score-");
        if (score == nullptr) continue;
        auto w = wanted.find(std::strtol(score + 7, nullptr, 10));
        if (w != wanted.end() && w->second > 0) {
            --w->second;
            keep[i] = true;
        }
    }
    // The first clear of each numbered mission.
    bool firstSeen[ClearedFlagCount] = {};
    for (size_t i = 0; i < names.size(); ++i) {
        const char* mission = std::strstr(names[i].c_str(), "-mission");
        int number = 0;
        if (mission == nullptr || std::strstr(mission, "-clear") == nullptr || std::sscanf(mission, "-mission%d", &number) != 1 ||
            number < 0 || number >= ClearedFlagCount || firstSeen[number])
            continue;
        firstSeen[number] = true;
        keep[i] = true;
    }
    std::vector<std::string> pruned;
    for (size_t i = 0; i < names.size(); ++i)
        if (!keep[i]) pruned.push_back(names[i]);
    return pruned;
}
