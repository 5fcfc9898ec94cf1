// The shell's side of what the rules and the screens make happen outside
// the play state.
#include "rules/game_events.h"

#include "rules/game_mode.h"
#include "rules/scoring.h"
#include "settings/data_folder.h"
#include "draw/text.h"
#include "platform/platform.h"
#include "screens/key_table.h"
#include "screens/options.h"
#include "screens/records_file.h"
#include "shell/game_window.h"
#include "shell/player_settings.h"
#include "shell/replay.h"
#include "shell/replay_record.h"
#include "shell/sound_choice.h"
#include "shell/startup.h"

SoundSet ChosenSounds = SoundSet::Classic;
bool PlayUnheard = false;

namespace {
// A frame's play sound waiting to be started (full set only).
bool soundWaiting = false;
GameSound waitingSound = GameSound::Move;
// Which tune is open: score attack's (start-up opens it), the missions',
// or score attack's calm arrangement with the tune itself as its second.
enum class OpenTune : uint8_t { ScoreAttack, Missions, CalmThenScoreAttack };
OpenTune openTune = OpenTune::ScoreAttack;
bool livelyChosen = false;

// From this level on, score attack in the full set plays its tune itself
// instead of the calm arrangement, changed on a line of two bars of the calm
// one (bgm-calm.mid: 108 beats a minute).
constexpr int LivelyLevel = 5;
constexpr double CalmLineMs = 2 * 4 * 60000.0 / 108;

// Rank when several play sounds fall in one frame: the more rewarding wins
// (clear, game over, chain 5 down to 1, level up, link, fish, landing,
// turn, move).
int Reward(GameSound sound) {
    switch (sound) {
        case GameSound::Move: return 1;
        case GameSound::Turn: return 2;
        case GameSound::Land: return 3;
        case GameSound::Fish: return 4;
        case GameSound::Link: return 5;
        case GameSound::LevelUp: return 6;
        case GameSound::Chain1: return 7;
        case GameSound::Chain2: return 8;
        case GameSound::Chain3: return 9;
        case GameSound::Chain4: return 10;
        case GameSound::Chain5: return 11;
        case GameSound::GameOver: return 12;
        case GameSound::Clear: return 13;
        case GameSound::Cursor:
        case GameSound::Decide: return 0;  // menus: played at once
    }
    return 0;
}

const SoundImage* ClassicImage(GameSound sound) {
    switch (sound) {
        case GameSound::Move: return &SoundMove;
        case GameSound::Turn: return &SoundTurn;
        case GameSound::Cursor: return &SoundCursor;
        case GameSound::Decide: return &SoundDecide;
        default: return nullptr;
    }
}

const SoundImage* FullImage(GameSound sound) {
    switch (sound) {
        case GameSound::Move: return &SoundMoveFull;
        case GameSound::Turn: return &SoundTurnFull;
        case GameSound::Land: return &SoundLand;
        case GameSound::Chain1:
        case GameSound::Chain2:
        case GameSound::Chain3:
        case GameSound::Chain4:
        case GameSound::Chain5: return &SoundChain[int(sound) - int(GameSound::Chain1)];
        case GameSound::Fish: return &SoundFish;
        case GameSound::Link: return &SoundLink;
        case GameSound::GameOver: return &SoundGameOver;
        case GameSound::Clear: return &SoundClear;
        case GameSound::LevelUp: return &SoundLevelUp;
        default: return ClassicImage(sound);
    }
}
}  // namespace

std::optional<SoundSet> ParseSoundSet(std::string_view name) {
    if (name == "classic") return SoundSet::Classic;
    if (name == "full") return SoundSet::Full;
    return std::nullopt;
}

// The classic set plays every sound as it comes and has nothing for the
// reward sounds.
void PlayGameSound(GameSound sound) {
    if (PlayUnheard || !SoundsWanted()) return;
    if (ChosenSounds == SoundSet::Classic) {
        if (const SoundImage* image = ClassicImage(sound)) PlatformPlaySound(*image);
        return;
    }
    if (Reward(sound) == 0) {
        PlatformPlaySound(*FullImage(sound));
        return;
    }
    if (!soundWaiting || Reward(sound) > Reward(waitingSound)) waitingSound = sound;
    soundWaiting = true;
}

void PlayFrameSound() {
    if (!soundWaiting) return;
    soundWaiting = false;
    PlatformPlaySound(*FullImage(waitingSound));
}

void ChooseTuneForGame() {
    const OpenTune wanted = ChosenSounds == SoundSet::Classic ? OpenTune::ScoreAttack
                            : GameMode != ScoreAttack          ? OpenTune::Missions
                                                               : OpenTune::CalmThenScoreAttack;
    if (wanted != openTune) {
        openTune = wanted;
        livelyChosen = false;
        const std::string scoreAttack = DataPath("snd/bgm.mid");
        PlatformTuneClose();
        if (wanted == OpenTune::Missions) PlatformTuneOpen(DataPath("snd/bgm2.mid").c_str(), scoreAttack.c_str());
        if (wanted == OpenTune::ScoreAttack) PlatformTuneOpen(scoreAttack.c_str());
        if (wanted == OpenTune::CalmThenScoreAttack) {
            PlatformTuneOpen(DataPath("snd/bgm-calm.mid").c_str(), scoreAttack.c_str());
            PlatformTuneOpenSecond(scoreAttack.c_str());
        }
    }
    FollowLevelWithTune();
}

void FollowLevelWithTune() {
    if (openTune != OpenTune::CalmThenScoreAttack) return;
    const bool lively = Level >= LivelyLevel;
    if (lively == livelyChosen) return;
    livelyChosen = lively;
    PlatformTuneUseSecond(lively, CalmLineMs);
}

void ResetTuneChoice() {
    openTune = OpenTune::ScoreAttack;
    livelyChosen = false;
    soundWaiting = false;
}

void StopTune() {
    if (!PlayUnheard) PlatformTuneStop();
}

void OptionsChanged() {
    if (ScaleFit != PictureFit()) SetPictureFit(ScaleFit);
    ApplySoundLevels();
    if (!TuneWanted()) PlatformTuneStop();
    SavePlayerSettings();
}

void RecordMissionCleared() {
    if (PlayUnheard) return;
    if (MissionNumber < sizeof ClearedFlags && ClearedFlags[MissionNumber] == 0) {
        ClearedFlags[MissionNumber] = 1;
        ++ClearedCount;
    }
    AskRecordsSave();  // written once the frame is shown: the disk does not hold it up
}

// A replay answers from its script ("pick PATH", else cancel); otherwise the
// player, in the language of the game's texts.
std::string AskMissionFile(const std::string& startFolder) {
    if (ReplayPlaying()) return TakeReplayPick();
    std::string answer = PlatformPickMissionFile(
        startFolder, TextLanguage == Language::Japanese ? DialogLanguage::Japanese : DialogLanguage::English);
    RecordDialogAnswer(answer);
    return answer;
}
