// The game's window as the player left it: opened at the scale it had (when
// that still fits the desktop) or the largest that fits, fullscreen when it
// was; the player's changes, and a language switched with L, written back to
// the settings file.
#pragma once
#include <string>

#include "settings/language.h"
#include "settings/settings.h"

// The settings file the real game reads and writes; empty (headless runs,
// tests): none is read or written.
extern std::string GameSettingsPath;

// The scale a w x h picture's window opens at: the saved one when it is
// smaller than the largest whole scale that fits the area, else that one.
int OpeningScale(int savedScale, int areaW, int areaH, int w, int h);

// Opens the window for the back buffer with the saved scale and fullscreen
// state, and the game's icon; false without a display.
bool OpenGameWindow(const DisplaySettings& saved);
// Writes the window's scale and fullscreen state when the player changed
// them: a window left as it opened keeps fitting whatever screen the next
// run finds.
void SaveWindowLayout();
void RememberLanguage(Language language);
// The picture drawn as large as fits at any factor ("scale=fit") or at the
// largest whole scale; a change takes effect at once and is remembered.
bool PictureFit();
void SetPictureFit(bool fit);
