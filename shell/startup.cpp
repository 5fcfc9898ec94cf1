#include "shell/startup.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "draw/surfaces.h"
#include "draw/text.h"
#include "settings/data_folder.h"
#include "platform/platform.h"
#include "platform/platform_os.h"
#include "platform/wave_length.h"
#include "resources/resources.h"
#include "rules/board.h"
#include "rules/game_random.h"
#include "rules/screen_layout.h"
#include "screens/records_file.h"
#include "shell/message_pump.h"
#include "shell/replay.h"
#include "shell/replay_record.h"
#include "shell/sound_choice.h"

SoundImage SoundMove, SoundTurn, SoundCursor, SoundDecide;
SoundImage SoundMoveFull, SoundTurnFull, SoundLand, SoundChain[ChainSoundSteps], SoundFish, SoundLink, SoundGameOver,
    SoundClear, SoundLevelUp;
std::optional<unsigned> FixedSeed;
unsigned ProgramSeed;

namespace {
// Every sound image, for release and reset.
SoundImage* const AllSounds[] = {&SoundMove,     &SoundTurn,     &SoundCursor,   &SoundDecide,   &SoundMoveFull,
                                 &SoundTurnFull, &SoundLand,     &SoundChain[0], &SoundChain[1], &SoundChain[2],
                                 &SoundChain[3], &SoundChain[4], &SoundFish,     &SoundLink,     &SoundGameOver,
                                 &SoundClear,    &SoundLevelUp};

void LoadSound(SoundImage& image, const char* name, const char* file, bool pitchVariants = false) {
    image.name = name;
    image.pitchVariants = pitchVariants;
    LoadSoundImage(image, DataPath(file));
}

// The sounds of the chosen set; the other set's files are not read.
void LoadSounds() {
    if (ChosenSounds == SoundSet::Classic) {
        LoadSound(SoundMove, "SoundMove", "snd/lr.wav");
        LoadSound(SoundTurn, "SoundTurn", "snd/turn.wav");
    } else {
        LoadSound(SoundMoveFull, "SoundMoveFull", "snd/move.wav", true);
        LoadSound(SoundTurnFull, "SoundTurnFull", "snd/rotate.wav", true);
    }
    const bool classic = ChosenSounds == SoundSet::Classic;
    LoadSound(SoundCursor, "SoundCursor", classic ? "snd/pi.wav" : "snd/cursor.wav");
    LoadSound(SoundDecide, "SoundDecide", classic ? "snd/picoon.wav" : "snd/decide.wav");
    if (classic) return;
    LoadSound(SoundLand, "SoundLand", "snd/land.wav", true);
    static const char* const chainNames[ChainSoundSteps] = {"SoundChain1", "SoundChain2", "SoundChain3",
                                                            "SoundChain4", "SoundChain5"};
    static const char* const chainFiles[ChainSoundSteps] = {"snd/chain1.wav", "snd/chain2.wav", "snd/chain3.wav",
                                                            "snd/chain4.wav", "snd/chain5.wav"};
    for (int i = 0; i < ChainSoundSteps; ++i) LoadSound(SoundChain[i], chainNames[i], chainFiles[i]);
    LoadSound(SoundFish, "SoundFish", "snd/fish.wav");
    LoadSound(SoundLink, "SoundLink", "snd/link.wav");
    LoadSound(SoundGameOver, "SoundGameOver", "snd/gameover.wav");
    LoadSound(SoundClear, "SoundClear", "snd/clear.wav");
    LoadSound(SoundLevelUp, "SoundLevelUp", "snd/levelup.wav");
}
}  // namespace

// Sound files are a few hundred kilobytes at most; a file longer than ten
// seconds of sound can be (MaxSoundFileBytes) is not read at all (the
// platform bounds the decoded length too).
void LoadSoundImage(SoundImage& image, const std::string& path) {
    image.file = path;
    image.readError.clear();
    if (!ReadFileBytes(path, image.bytes, MaxSoundFileBytes + 1, &image.readError)) image.bytes.clear();
    if (image.bytes.size() > MaxSoundFileBytes) {
        image.bytes.clear();
        image.readError = "longer than " + std::to_string(MaxSoundFileBytes) + " bytes";
    }
    PlatformPrepareSound(image);
}

void Startup() {
    ProgramSeed = FixedSeed ? *FixedSeed : WallClockSeed();
    SeedGameRandom(ProgramSeed);
    BackBuffer.Create(ScreenWidth, ScreenHeight);
    LoadSheet(ArtBlockSheet, BlockSheet);
    DrawGradient(GradientSurface);
    DrawTiledBackground(TileSurface, BlockSheet);
    LoadSheet(ArtFontSheet, FontSheet);
    LoadSheet(ArtKanaSheet, KanaSheet);
    LoadSheet(ArtLogoSheet, LogoSheet);
    PlatformTuneClose();
    PlatformTuneOpen(DataPath("snd/bgm.mid").c_str());
    ResetTuneChoice();
    LoadSounds();
    SetBoardWalls();
    FillRopeSides();
    ReadRecordsFile();
    StartDirectory = CurrentDirectory();
}

// The window and the devices themselves close with the program (main).
void Shutdown() {
    PlatformTuneClose();
    PlatformStopSound();
    for (SoundImage* s : AllSounds) PlatformReleaseSound(*s);
}

void ResetStartupState() {
    for (Surface* s : {&BackBuffer, &GradientSurface, &TileSurface, &BlockSheet, &FontSheet, &KanaSheet, &LogoSheet}) *s = Surface{};
    for (SoundImage* s : AllSounds) *s = SoundImage{};
    ResetTuneChoice();
    StartDirectory.clear();
    DataDirectory.clear();
    RecordsDirectory.clear();
    RecordsDisabled = false;
    std::memset(RecordsOnDisk, 0, sizeof RecordsOnDisk);
    FixedSeed.reset();
    TextLanguage = Language::Japanese;
    ChosenSounds = SoundSet::Classic;
    ForgetOwedPause();
    StopReplay();
    ForgetReplayRecording();
}
