// How the pieces of the browser's platform meet: platform_web.cpp takes the
// page's events and polls the pads (platform_web_pad.cpp) with them, and
// opens the sound (platform_web_audio.cpp) with the other devices.
// Nothing outside these files includes this.
#pragma once

// Driven by the browser test (?step=1): frames on a virtual clock.
bool StepMode();
// Pads are read only while the page has the keyboard's focus.
bool PageHasFocus();

void PadOpen();
// Reads the pads' state; a pad the game read going away queues PadLost.
void PadPoll();
// True once since the pad the game reads was unplugged.
bool PadTakeLost();

void SoundOpen();
