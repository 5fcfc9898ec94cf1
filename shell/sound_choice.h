// The shell's side of the rules' sounds and tune: which set of sounds plays,
// the one sound a frame of play gives, and which tune a game plays.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

// Classic: four sounds (move, turn, cursor, decide) and one tune. Full:
// besides them a different move and the reward sounds, one tune for score
// attack and another for the missions.
enum class SoundSet : uint8_t { Classic, Full };
// Chosen before start-up: the game takes it from the settings file (the
// full set unless "sounds=classic"), the runner from --sounds (classic
// unless "--sounds full").
extern SoundSet ChosenSounds;
std::optional<SoundSet> ParseSoundSet(std::string_view name);

// Play sounds of the full set wait for the end of the frame, and only the
// most rewarding of them plays. Called once a frame by the main loop.
void PlayFrameSound();

// Opens the tune of the game about to start unless it is open already: in
// the full set the missions' own, and for score attack its calm arrangement
// with the tune itself to follow. Called by the main loop during board entry.
void ChooseTuneForGame();
// Score attack in the full set: the calm arrangement below level 5, the tune
// itself from level 5 on (switched on a line of two bars while it plays).
// Called once a frame by the main loop.
void FollowLevelWithTune();
// What start-up opened: the score-attack tune.
void ResetTuneChoice();

// While a search plays inside the program (the solver proving a mission),
// nothing of its play is heard: no sound, no tune command, no records
// written. Set for a scope by UnheardPlay.
extern bool PlayUnheard;
struct UnheardPlay {
    bool was = PlayUnheard;
    UnheardPlay() { PlayUnheard = true; }
    ~UnheardPlay() { PlayUnheard = was; }
    UnheardPlay(const UnheardPlay&) = delete;
    UnheardPlay& operator=(const UnheardPlay&) = delete;
};
