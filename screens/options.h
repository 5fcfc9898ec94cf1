// The options screen: F2 (or the pad's Back) opens it over the title, the
// mission select or the pause; F2, X or Back closes it and the screen below
// goes on exactly where it was, nothing of it having run meanwhile. Every
// change takes effect at once and is kept in settings.conf (but the rope
// colours and the grid, which C and G toggle for the moment).
#pragma once
#include <cstdint>

#include "settings/language.h"

enum OptionsState : uint8_t { OptionsClosed, OptionsOpening, OptionsOnScreen };
enum OptionsPageValue : uint8_t { OptionsMainPage, OptionsKeysPage, OptionsPadPage };
extern uint8_t OptionsOpen;       // an OptionsState
extern uint8_t OptionsPage;       // an OptionsPageValue
extern uint8_t OptionsLine;       // the line chosen on the page
extern uint8_t OptionsCapturing;  // waiting for the key (or pad button) of the chosen action
extern uint8_t OptionsRefused;    // frames left of the word that a key or button is taken
extern uint8_t OptionsEscapeHeld;  // the Escape that ended a capture, not yet let go
// The player's SCALE: the picture as large as fits at any factor (FIT) or at
// the largest whole scale (WHOLE). The window follows it when it changes.
extern bool ScaleFit;

// Opens the screen when F2 was pressed on a screen that offers it;
// true when it is open.
bool OfferOptions();
void OptionsFrame();
// Whether the keys go to the screen alone: a key is being chosen, or the
// Escape that cancelled it is still held (it must not quit).
bool OptionsTakeKeys();

// The characters of the screen's texts in `language` that no sheet has a
// picture for (drawing them into the back buffer on the way); none is expected.
int OptionsCharactersWithoutPicture(Language language);

// This module's variables in the program state list (shell/program_state.h).
#define OPTIONS_STATE(X) \
    X(OptionsOpen) X(OptionsPage) X(OptionsLine) X(OptionsCapturing) X(OptionsRefused) X(OptionsEscapeHeld)
