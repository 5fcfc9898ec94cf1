#include "tools/headless/trace.h"

#include <cstdio>

#include "mission/mission_goal.h"
#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/fish.h"
#include "rules/link.h"
#include "rules/queue.h"
#include "rules/scoring.h"
#include "rules/settle.h"
#include "screens/board_entry.h"
#include "screens/game_over.h"
#include "screens/mission_clear.h"
#include "screens/mission_select.h"
#include "screens/pause.h"
#include "shell/records_file.h"
#include "screens/title.h"
#include "shell/files.h"
#include "shell/input.h"
#include "shell/main_loop.h"
#include "shell/platform.h"
#include "shell/platform_headless.h"

namespace {
struct JsonWriter {
    std::string out = "{";
    void Key(const char* k) {
        if (out.size() > 1) out += ',';
        out += '"';
        out += k;
        out += "\":";
    }
    void Number(const char* k, long long v) {
        Key(k);
        out += std::to_string(v);
    }
    static void Quote(std::string& out, const std::string& s) {
        out += '"';
        for (unsigned char c : s) {
            if (c == '"' || c == '\\') {
                out += '\\';
                out += char(c);
            } else if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += char(c);
            }
        }
        out += '"';
    }
    void List(const char* k, const std::vector<std::string>& items) {
        Key(k);
        out += '[';
        for (size_t i = 0; i < items.size(); ++i) {
            if (i) out += ',';
            Quote(out, items[i]);
        }
        out += ']';
    }
};
}  // namespace

std::string TraceObject(int frame, bool withBoard) {
    JsonWriter j;
    j.Number("frame", frame);
    j.Number("Ticks", PlatformTicks());  // virtual clock after the frame
    j.Number("ScreenState", ScreenState);
    j.Number("PauseFlag", PauseFlag);
    j.Number("QuitFlag", QuitFlag);
    j.Number("ColourMode", ColourMode);
    j.Number("GridMode", GridMode);
    j.Number("FpsValue", FpsValue);
    j.Number("KeyHeld", KeyHeld);
    j.Number("JoyHeld", JoyHeld);
    j.Number("NextGroupId", NextGroupId);
    j.Number("ClearedCount", ClearedCount);
    j.Number("Score", Score);
    j.Number("Level", Level);
    j.Number("LevelSteps", LevelSteps);
    j.Number("ChainLength", ChainLength);
    j.Number("ChainErased", ChainErased);
    j.Number("GoalProgress", GoalProgress);
    j.Number("FishActive", CountActiveFish());
    j.Number("GameMode", GameMode);
    j.Number("MissionNumber", MissionNumber);
    j.Number("MissionCursor", MissionCursor);
    j.Number("MissionRepeatTimer", MissionRepeatTimer);
    j.Number("MissionBlinkTimer", MissionBlinkTimer);
    j.Number("ClearCurtainWidth", ClearCurtainWidth);
    j.Number("ClearBoardY", ClearBoardY);
    j.Number("TitleCursor", TitleCursor);
    j.Number("EntryCurtainWidth", EntryCurtainWidth);
    j.Number("EntryBoardY", EntryBoardY);
    j.Number("PauseBlinkTimer", PauseBlinkTimer);
    j.Number("GameOverPhase", GameOverPhase);
    j.Number("GameOverTimer", GameOverTimer);
    j.Number("BoardFallY", int32_t(BoardFallY));
    j.Number("ScoreFlyX", int32_t(ScoreFlyX));
    j.Number("ScoreFlyY", int32_t(ScoreFlyY));
    j.Number("NewPlace", NewPlace);
    j.Number("NameCursor", NameCursor);
    j.Number("NameRepeatTimer", NameRepeatTimer);
    j.Number("FallInterval", FallInterval);
    j.Number("PiecesUsed", PiecesUsed);
    j.Number("LinkStock", LinkStock);
    j.Number("FallingPair.col1", FallingPair.col1);
    j.Number("FallingPair.row1", FallingPair.row1);
    j.Number("FallingPair.col2", FallingPair.col2);
    j.Number("FallingPair.row2", FallingPair.row2);
    j.Number("FallingPair.kind1", FallingPair.kind1);
    j.Number("FallingPair.kind2", FallingPair.kind2);
    j.Number("FallingPair.orientation", FallingPair.orientation);
    j.Number("FallTimer", FallTimer);
    j.Number("TurnTimer", TurnTimer);
    j.Number("SpawnTimer", SpawnTimer);
    j.Number("EraseTimer", EraseTimer);
    j.Number("LinkSprite.phase", LinkSprite.phase);
    j.List("sounds", Headless.sounds);
    j.List("music", Headless.music);
    j.List("files", FilesWritten);
    if (withBoard) {
        std::vector<std::string> rows;
        for (int r = -2; r <= 11; ++r) {
            char row[9];
            for (int c = 0; c < 8; ++c) std::snprintf(row + c, 2, "%x", GetKind(c, r) & 0xF);
            rows.emplace_back(row, 8);
        }
        j.List("board", rows);
    }
    return j.out + "}";
}
