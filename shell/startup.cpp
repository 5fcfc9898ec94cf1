#include "shell/startup.h"

#include <cstdlib>
#include <vector>

#include "draw/sheet_layout.h"
#include "resources/resources.h"
#include "rules/board.h"
#include "shell/records_file.h"
#include "shell/platform_os.h"
#include "shell/platform.h"

Surface BackBuffer, GradientSurface, TileSurface, BlockSheet, FontSheet, LogoSheet;
SoundImage SoundMove, SoundTurn, SoundCursor, SoundDecide;
std::string StartDirectory;
std::string DataDirectory;

std::string DataPath(const char* name) { return JoinPath(DataDirectory, name); }
std::optional<unsigned> FixedSeed;

// Pixel row y takes the colour for v = 479 - y: the result of drawing 481
// three-pixel bands from the top down, each overwriting the one before.
void DrawGradient(Surface& s) {
    s.Create(ScreenWidth, ScreenHeight);
    for (int y = 0; y < ScreenHeight; ++y) {
        int v = 479 - y;
        FillRect(s, 0, y, ScreenWidth, 1, Rgb(v / 7 + 50, v / 7 + 120, v / 10 + 200));
    }
}

void DrawTiledBackground(Surface& s, const Surface& blockSheet) {
    s.Create(ScreenWidth, ScreenHeight);
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 15; ++j) BitBlt(s, 32 * i, 32 * j, 32, 32, blockSheet, SheetTileX, SheetTileY, Rop::Copy);
}

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
    FixedSeed.reset();
}
