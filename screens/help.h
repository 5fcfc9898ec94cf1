// The how-to-play pages: F1 opens them over the title, the mission select
// or the pause; F1 or X closes them and the screen below goes on exactly
// where it was, nothing of it having run meanwhile.
#pragma once
#include <cstdint>

#include "settings/language.h"

inline constexpr int HelpPageCount = 4;  // then the rule pages of help_rules.h

// Whether the pages are open: opening in the frame F1 was pressed (that F1
// does not close them), shown after it.
enum HelpState : uint8_t { HelpClosed, HelpOpening, HelpOnScreen };
extern uint8_t HelpOpen;  // a HelpState
extern uint8_t HelpPage;  // 0..HelpPageCount + RulePageCount - 1

// Opens the pages when F1 was pressed on a screen that offers them; true
// when they are open.
bool OfferHelp();
// The handler while the pages are open: Left and Right turn the page.
void HelpFrame();
// The pages are on screen and stay as they are until a key comes.
bool HelpShown();

// The characters of every page in `language` that no sheet has a picture
// for (drawing them into the back buffer on the way); none is expected.
int HelpCharactersWithoutPicture(Language language);

// This module's variables in the program state list (shell/program_state.h).
#define HELP_STATE(X) X(HelpOpen) X(HelpPage)
