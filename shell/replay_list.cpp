#include "shell/replay_list.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "draw/text.h"
#include "platform/platform.h"
#include "platform/platform_os.h"
#include "rules/fish.h"
#include "rules/game_mode.h"
#include "rules/input_words.h"
#include "rules/screen_state.h"
#include "rules/scoring.h"
#include "screens/game_over.h"
#include "screens/key_table.h"
#include "screens/screens.h"
#include "shell/program_state.h"
#include "shell/replay.h"
#include "shell/replay_file.h"
#include "shell/replay_record.h"

namespace {
// Each row two lines: the date and length, then what was played, indented.
constexpr int ListX = 40, ListY = 88, RowStep = 52, LineStep = 20, Indent = 32, PointerX = 16, TitleY = 40;
constexpr int Speeds[] = {1, 2, 4};

struct Row {
    std::string path, when, what;
};
bool listOpen = false, watching = false, paused = false;
bool justBack = false;  // the frame after a watch: the X that ended it is not the list's
std::vector<Row> rows;
int cursor = 0, speed = 0;
// The game as it was on the records screen, and the player's bindings.
std::vector<uint8_t> saved;
int savedKeys[ActionCount], savedPad[ActionCount];
bool savedNintendo = false, savedBrisk = false;
// The real keys the watch reads, as they were last frame.
bool wasDown[KeyCount / 64 * 64];

bool NewlyDown(int key) {
    const bool down = PlatformKeyDown(key);
    const bool fresh = down && !wasDown[key];
    wasDown[key] = down;
    return fresh;
}

// "26/12/09  1:23" over "SCORE 12345" from the file's name and its header.
Row MakeRow(const std::string& path, const std::string& name, const Replay& r) {
    const int seconds = int(r.frames / 40);
    char length[16];
    std::snprintf(length, sizeof length, "%d:%02d", seconds / 60, seconds % 60);
    char what[24];
    if (r.mode == ScoreAttack) {
        const char* score = std::strstr(name.c_str(), "-score-");
        std::snprintf(what, sizeof what, "SCORE %d", score ? std::atoi(score + 7) : 0);
    } else if (r.mode == NormalGame) {
        std::snprintf(what, sizeof what, "MISSION %02d%s", r.missionNumber, name.find("-clear") != std::string::npos ? " OK" : "");
    } else {
        std::snprintf(what, sizeof what, "FILE%s", name.find("-clear") != std::string::npos ? " OK" : "");
    }
    char when[32];
    std::snprintf(when, sizeof when, "%02d/%02d/%02d %6s", r.day.year % 100, r.day.month, r.day.day, length);
    return {path, when, what};
}

void OpenList() {
    rows.clear();
    std::vector<std::string> names = FilesEndingIn(ReplaysFolder, ".tsr");
    for (size_t i = names.size(); i-- > 0;) {
        Replay r;
        std::string error;
        const std::string path = JoinPath(ReplaysFolder, names[i]);
        if (ReadReplayFile(path, r, error)) rows.push_back(MakeRow(path, names[i], r));
    }
    cursor = 0;
    listOpen = true;
}

void DrawList() {
    DrawMenuBackground();
    DrawGlyphText(rows.empty() ? "NO REPLAYS" : "REPLAYS", ListX, TitleY);
    const int first = cursor < ReplayListRows ? 0 : cursor - ReplayListRows + 1;
    for (int i = first; i < int(rows.size()) && i < first + ReplayListRows; ++i) {
        const int y = ListY + RowStep * (i - first);
        DrawGlyphText(rows[size_t(i)].when.c_str(), ListX, y);
        DrawGlyphText(rows[size_t(i)].what.c_str(), ListX + Indent, y + LineStep);
        if (i == cursor) DrawGlyphText(">", PointerX, y);
    }
    ShowBackBuffer();
}

void StartWatching() {
    Replay r;
    std::string error;
    if (!ReadReplayFile(rows[size_t(cursor)].path, r, error)) {
        std::fprintf(stderr, "tessmar: %s\n", error.c_str());
        return;
    }
    saved.resize(ProgramStateBytes);
    SaveProgramState(*reinterpret_cast<ProgramStateImage*>(saved.data()));
    std::memcpy(savedKeys, KeyBinding, sizeof savedKeys);
    std::memcpy(savedPad, PadBinding, sizeof savedPad);
    savedNintendo = PadNintendo;
    savedBrisk = BriskFall;
    if (!StartReplayFile(r, error)) {
        std::fprintf(stderr, "tessmar: %s: %s\n", rows[size_t(cursor)].path.c_str(), error.c_str());
        return;
    }
    for (int key : {int(KeyRight), int(KeyLeft), int(KeyEnter), int(KeyX)}) wasDown[key] = PlatformKeyDown(key);
    watching = true;
    paused = false;
    speed = 0;
}

// `byX`: the X that ended it is still held in the list's first frame.
void StopWatching(bool byX) {
    StopReplay();
    RestoreProgramState(*reinterpret_cast<const ProgramStateImage*>(saved.data()));
    std::memcpy(KeyBinding, savedKeys, sizeof savedKeys);
    std::memcpy(PadBinding, savedPad, sizeof savedPad);
    PadNintendo = savedNintendo;
    BriskFall = savedBrisk;
    NameEntryDay.reset();
    PlatformTuneStop();
    watching = false;
    justBack = byX;
}
}  // namespace

bool ReplayListFrame() {
    if (watching) return false;
    if (!listOpen) {
        if (ScreenState != RecordsScreen || ReplayPlaying()) {
            wasDown[KeyR] = PlatformKeyDown(KeyR);
            return false;
        }
        if (!NewlyDown(KeyR)) return false;
        OpenList();
    }
    UpdateFish();
    const bool keys = !justBack;
    justBack = false;
    if (!keys) {
        DrawList();
        return true;
    }
    if (DownPressed && cursor + 1 < int(rows.size())) ++cursor;
    if (UpPressed && cursor > 0) --cursor;
    if (Button2Pressed) listOpen = false;  // back to the records, this frame still drawn
    else if (Button1Pressed && !rows.empty()) StartWatching();
    if (!watching) DrawList();
    return true;
}

int WatchedFramesThisFrame() {
    if (!watching) return 1;
    if (NewlyDown(KeyRight) && speed + 1 < int(std::size(Speeds))) ++speed;
    if (NewlyDown(KeyLeft) && speed > 0) --speed;
    if (NewlyDown(KeyEnter)) paused = !paused;
    if (NewlyDown(KeyX)) {
        StopWatching(true);
        return 1;  // the list's frame
    }
    return paused ? 0 : Speeds[speed];
}

void FinishWatchedFrame() {
    if (watching && (!ReplayKeepsFramesCounted() || !InGameScreen())) StopWatching(false);
}
