// The game's short sounds, synthesised, and a 16-bit PCM WAV writer. The
// first four are the classic set; the others are the full set's own move and
// its rewards, each levelled to the same loudness (its loudest 50 ms,
// K-weighted).
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
std::vector<float> MakeBrightMoveSound();         // snd/move.wav: the move with a click that cuts through the tune
std::vector<float> MakeLandingSound();            // snd/land.wav
std::vector<float> MakeChainSound(int step);      // snd/chain1.wav .. chain5.wav: a loop erased, 1 to ChainSteps
std::vector<float> MakeFishSound();               // snd/fish.wav
std::vector<float> MakeLinkSound();               // snd/link.wav
std::vector<float> MakeGameOverJingle();          // snd/gameover.wav, in C like bgm.mid
std::vector<float> MakeMissionClearJingle();      // snd/clear.wav, in F like bgm2.mid

// The loudness every sound of the full set is levelled to, in LUFS.
inline constexpr double SoundLoudness = -10.5;

bool WriteWav(const std::string& path, const std::vector<float>& samples);
