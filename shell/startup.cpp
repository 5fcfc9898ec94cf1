#include "shell/startup.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "draw/surfaces.h"
#include "draw/text.h"
#include "platform/data_folder.h"
#include "platform/platform.h"
#include "platform/platform_os.h"
#include "resources/resources.h"
#include "rules/board.h"
#include "rules/screen_layout.h"
#include "screens/records_file.h"

SoundImage SoundMove, SoundTurn, SoundCursor, SoundDecide;
std::optional<unsigned> FixedSeed;

void LoadSoundImage(SoundImage& image, const std::string& path) {
    ReadFileBytes(path, image.bytes, size_t(16) << 20);
    PlatformPrepareSound(image);
}

void Startup() {
    std::srand(FixedSeed ? *FixedSeed : WallClockSeed());
    BackBuffer.Create(ScreenWidth, ScreenHeight);
    LoadSheet(ArtBlockSheet, BlockSheet);
    DrawGradient(GradientSurface);
    DrawTiledBackground(TileSurface, BlockSheet);
    LoadSheet(ArtFontSheet, FontSheet);
    LoadSheet(ArtLogoSheet, LogoSheet);
    PlatformTuneClose();
    PlatformTuneOpen(DataPath("snd/bgm.mid").c_str());
    SoundMove.name = "SoundMove";
    SoundTurn.name = "SoundTurn";
    SoundCursor.name = "SoundCursor";
    SoundDecide.name = "SoundDecide";
    LoadSoundImage(SoundMove, DataPath("snd/lr.wav"));
    LoadSoundImage(SoundTurn, DataPath("snd/turn.wav"));
    LoadSoundImage(SoundCursor, DataPath("snd/pi.wav"));
    LoadSoundImage(SoundDecide, DataPath("snd/picoon.wav"));
    SetBoardWalls();
    FillRopeSides();
    ReadRecordsFile();
    StartDirectory = CurrentDirectory();
}

// The window and the devices themselves close with the program (main).
void Shutdown() {
    PlatformTuneClose();
    PlatformStopSound();
    PlatformReleaseSound(SoundMove);
    PlatformReleaseSound(SoundTurn);
    PlatformReleaseSound(SoundCursor);
    PlatformReleaseSound(SoundDecide);
}

void ResetStartupState() {
    for (Surface* s : {&BackBuffer, &GradientSurface, &TileSurface, &BlockSheet, &FontSheet, &LogoSheet}) *s = Surface{};
    for (SoundImage* s : {&SoundMove, &SoundTurn, &SoundCursor, &SoundDecide}) *s = SoundImage{};
    StartDirectory.clear();
    DataDirectory.clear();
    RecordsDirectory.clear();
    RecordsDisabled = false;
    std::memset(RecordsOnDisk, 0, sizeof RecordsOnDisk);
    FixedSeed.reset();
    TextLanguage = Language::Japanese;
}
