// The game's short sounds, synthesised, and a 16-bit PCM WAV writer. The
// first four are the classic set; the others are the full set's own move,
// turn and rewards, each levelled by its loudest 50 ms, K-weighted, to its
// place in the mix below.
#pragma once
#include <string>
#include <vector>

inline constexpr int SoundRate = 22050;

// Mono samples in -1..1; each starts and ends at silence.
std::vector<float> MakeMoveSound();    // snd/lr.wav
std::vector<float> MakeTurnSound();    // snd/turn.wav
std::vector<float> MakeCursorSound();  // snd/pi.wav
std::vector<float> MakeDecideSound();  // snd/picoon.wav

inline constexpr int ChainSteps = 5;
std::vector<float> MakeBrightMoveSound();         // snd/move.wav: the move with a faint tick on its front
std::vector<float> MakeSoftTurnSound();           // snd/rotate.wav: the full set's turn
std::vector<float> MakeLandingSound();            // snd/land.wav
std::vector<float> MakeChainSound(int step);      // snd/chain1.wav .. chain5.wav: a loop erased, 1 to ChainSteps
std::vector<float> MakeFishSound();               // snd/fish.wav
std::vector<float> MakeLinkSound();               // snd/link.wav
std::vector<float> MakeGameOverJingle();          // snd/gameover.wav, in C like bgm.mid
std::vector<float> MakeMissionClearJingle();      // snd/clear.wav, in F like bgm2.mid
std::vector<float> MakeLevelUpSound();            // snd/levelup.wav: the level risen, in C like bgm.mid
// The full set's menu sounds: the classic cursor and decide, a little
// quieter, so that the two stacked over the tune keep clear of full scale.
std::vector<float> MakeSoftCursorSound();         // snd/cursor.wav
std::vector<float> MakeSoftDecideSound();         // snd/decide.wav

// The full set's levels, in LUFS over the loudest 50 ms: the moves and the
// landing, heard hundreds of times a minute, well under the rewards; the
// chain ladder a step louder at each step. With the tune at about -20 LUFS
// the mix keeps its peaks a decibel under full scale.
inline constexpr double MoveLoudness = -25, TurnLoudness = -25, LandLoudness = -23;
inline constexpr double ChainLoudness[5] = {-16.5, -15, -13.5, -12, -10.5};
inline constexpr double FishLoudness = -15, LinkLoudness = -14, JingleLoudness = -13;
inline constexpr double LevelUpLoudness = -19.5;  // between the landing and the first chain step
inline constexpr double MenuSoundsDecibels = -2;  // the full set's cursor and decide against the classic ones

bool WriteWav(const std::string& path, const std::vector<float>& samples);
