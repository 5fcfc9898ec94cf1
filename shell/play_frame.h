// The handler of the play sub-states (ScreenState 0..4).
#pragma once

void PlayFrame();      // one step of the rules, the pause key, the fish, the picture, the tune
void StepPlayState();  // the rules step of the play state, as PlayFrame runs it
