// What the rules and the screens make happen outside the play state: a sound,
// the tune stopped, a cleared mission recorded, a wait while the window keeps
// answering, the open-file dialog. The shell carries them out.
#pragma once
#include <cstdint>
#include <string>

#include "mission/mission_file.h"

// Move, Turn, Cursor and Decide are the classic four; the rest reward play:
// a pair landed, loops erased at chain step 1 to 5 (5 and beyond), a caught
// fish counted, the link action started, game over and mission clear, and
// the level risen in a game that counts levels.
enum class GameSound : uint8_t {
    Move,
    Turn,
    Cursor,
    Decide,
    Land,
    Chain1,
    Chain2,
    Chain3,
    Chain4,
    Chain5,
    Fish,
    Link,
    GameOver,
    Clear,
    LevelUp,
};
inline constexpr int ChainSoundSteps = 5;

// The sound of loops erased at chain step `step` (1 for the first erase).
constexpr GameSound ChainSound(int step) {
    if (step < 1) step = 1;
    if (step > ChainSoundSteps) step = ChainSoundSteps;
    return GameSound(int(GameSound::Chain1) + step - 1);
}

void PlayGameSound(GameSound sound);
// The options screen changed a choice: it takes effect (the sound levels,
// the tune) and is kept in the settings file.
void OptionsChanged();
void StopTune();
// The current numbered mission marked cleared and the records file written
// (a notice on screen when it cannot be).
void RecordMissionCleared();

// Waits waitMs milliseconds while the window keeps answering; a quit request
// ends the wait (the short pauses after a choice).
void PumpMessages(uint32_t waitMs);
// The mission file the player picks in the open-file dialog (or the replay's
// answer), starting in `startFolder`; "" when cancelled.
std::string AskMissionFile(const std::string& startFolder);

// Undo in a mission: back to the moment the current pair entered the well
// (from any play state: a chain still falling or a loop blinking is undone
// with the pair that began it), or, pressed again before play goes on, the
// pair before, down to the first. False when there is nothing to go back
// to (score attack, no pair in yet).
bool UndoToPairEntry();
// Retry: the mission again from the first frame of its board entry, as it
// began (the same pairs and fish); false in score attack.
bool RetryMission();
// How many undos and retries the mission being played has taken since it
// began (neither an undo nor a retry takes back the count).
int UndosTaken();
int RetriesTaken();

// The day's mission for a calendar day (year, month, day) made by the solver (whose layer is above the
// shell: the program hands its maker to the shell), while the window keeps
// answering and the DAILY line shows how far it got; the game as it was
// afterwards. False when the program has no maker, no board passed, or the
// player quit meanwhile.
bool MakeDaysMission(int year, int month, int day, MissionBytes& bytes);
