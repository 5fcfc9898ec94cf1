// Start-up and shutdown: surfaces, backgrounds, sheets, sounds, tune, board
// walls, rope sides, records and the start directory.
#pragma once
#include <optional>
#include <string>

#include "platform/platform.h"
#include "rules/game_events.h"

// The classic four (lr.wav, turn.wav, pi.wav, picoon.wav) and the full
// set's own: its move (move.wav) and turn (rotate.wav), landing, chain steps 1 to 5, fish, link,
// game over, mission clear and level up; the full set reads its cursor and
// decide from cursor.wav and decide.wav.
extern SoundImage SoundMove, SoundTurn, SoundCursor, SoundDecide;
extern SoundImage SoundMoveFull, SoundTurnFull, SoundLand, SoundChain[ChainSoundSteps], SoundFish, SoundLink, SoundGameOver,
    SoundClear, SoundLevelUp;

// When set, start-up seeds rand with this instead of the clock (headless runs).
extern std::optional<unsigned> FixedSeed;
extern unsigned ProgramSeed;  // the seed the random numbers started from

void LoadSoundImage(SoundImage& image, const std::string& path);

void Startup();
void Shutdown();
void ResetStartupState();
