// The game's replay (tessmar --replay SCRIPT): an input source of its own.
// While a replay plays, the keys, the joystick and the open-file dialog's
// answers come from its script, one frame at a time; the real Escape still
// quits.
#pragma once
#include <cstdint>

#include "shell/input_script.h"

// Starts playing `script` from the next frame on.
void StartReplay(InputScript script);
// Steps the replay to the next frame; once its script is used up nothing is
// held. Called by the loop before each frame.
void StepReplay();
bool ReplayPlaying();
// A replay counts on every frame until its script is played out: the loop
// does not rest meanwhile.
bool ReplayKeepsFramesCounted();
// The script's input this frame (ReplayPlaying only).
const ScriptedInput& ReplayFrame();
// The next dialog answer of the script: its "pick" line's path, or "" (cancel).
std::string TakeReplayPick();
void StopReplay();

struct Replay;
// Starts playing a replay file's game: the program as it starts, what the
// player brought into the game (records, fish, keys held), the keys and
// pad as they were bound and the date it was played on; then the game set
// up as the menus set it up, and its frames. False (nothing changed) when
// the game cannot be set up here: a numbered mission this game does not
// have in the same version, a mission game without its mission.
bool StartReplayFile(const Replay& replay, std::string& error);
