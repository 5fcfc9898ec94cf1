// The game's four short sounds, synthesised, and a 16-bit PCM WAV writer.
#pragma once
#include <string>
#include <vector>

inline constexpr int SoundRate = 22050;

// Mono samples in -1..1; each starts and ends at silence.
std::vector<float> MakeMoveSound();    // snd/lr.wav
std::vector<float> MakeTurnSound();    // snd/turn.wav
std::vector<float> MakeCursorSound();  // snd/pi.wav
std::vector<float> MakeDecideSound();  // snd/picoon.wav

bool WriteWav(const std::string& path, const std::vector<float>& samples);
