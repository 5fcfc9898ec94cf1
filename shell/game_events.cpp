// The shell's side of what the rules and the screens make happen outside
// the play state.
#include "rules/game_events.h"

#include "mission/mission_goal.h"
#include "platform/platform.h"
#include "screens/records_file.h"
#include "shell/startup.h"

void PlayGameSound(GameSound sound) {
    switch (sound) {
        case GameSound::Move: PlatformPlaySound(SoundMove); return;
        case GameSound::Turn: PlatformPlaySound(SoundTurn); return;
        case GameSound::Cursor: PlatformPlaySound(SoundCursor); return;
        case GameSound::Decide: PlatformPlaySound(SoundDecide); return;
    }
}

void StopTune() { PlatformTuneStop(); }

void RecordMissionCleared() {
    if (MissionNumber < sizeof ClearedFlags && ClearedFlags[MissionNumber] == 0) {
        ClearedFlags[MissionNumber] = 1;
        ++ClearedCount;
    }
    WriteRecordsFile();
}
