// The how-to-play pages: F1 opens them over the title, the mission select
// or the pause; F1 or X closes them and the screen below goes on exactly
// where it was, nothing of it having run meanwhile.
#pragma once
#include <cstdint>

inline constexpr int HelpPageCount = 4;

extern uint8_t HelpOpen;  // 1 in the frame the pages open, 2 after; 0 while closed
extern uint8_t HelpPage;  // 0..HelpPageCount - 1

// Opens the pages when F1 was pressed on a screen that offers them; true
// when they are open.
bool OfferHelp();
// The handler while the pages are open: Left and Right turn the page.
void HelpFrame();

// This module's variables in the program state list (shell/program_state.h).
#define HELP_STATE(X) X(HelpOpen) X(HelpPage)
