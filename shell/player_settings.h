// The player's choices in settings.conf: the sound levels and mute, the
// keys, the pad, the colours and the blinking. Read once at start-up (a line that
// does not hold a value it may hold is said on stderr and its default used),
// written back when the options screen or M changes them.
#pragma once
#include "settings/settings.h"

// Takes the choices from `saved`, saying on stderr what it passes over.
void TakePlayerSettings(const DisplaySettings& saved);
// Writes to the settings file the choices that differ from those it holds
// (none when GameSettingsPath is empty); lines it did not understand and
// choices left alone stay as they are.
void SavePlayerSettings();
// The tune and the sounds at the levels chosen: the tune is not played at
// all while it is not to be heard.
void ApplySoundLevels();
