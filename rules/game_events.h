// What the rules and the screens make happen outside the play state: a sound,
// the tune stopped, a cleared mission recorded. The shell carries them out.
#pragma once
#include <cstdint>

enum class GameSound : uint8_t { Move, Turn, Cursor, Decide };

void PlayGameSound(GameSound sound);
void StopTune();
// The current numbered mission marked cleared and the records file written
// (a notice on screen when it cannot be).
void RecordMissionCleared();
