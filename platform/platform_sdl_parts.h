// How the pieces of the SDL platform meet: platform_sdl.cpp takes the events
// and hands window and pad events to platform_sdl_window.cpp and
// platform_sdl_pad.cpp; it opens the audio device for platform_sdl_sound.cpp,
// and the open-file dialog asks whether to close for a quit.
// Nothing outside these files includes this.
#pragma once
#include <SDL.h>

// Window. True when the event was a display key (F11, Alt+Enter) that must
// not reach the game's keys.
bool WindowTakeEvent(const SDL_Event& e);
void WindowSetFullscreen(bool on);
bool WindowFullscreen();
SDL_Window* PlatformWindow();
// The game window's X11 id; 0 without a window or off X11.
unsigned long WindowX11Id();
// Name of the renderer in use ("software", "opengl", ...), "" without one.
const char* WindowRendererName();
// Milliseconds from the program's start to the first frame shown (-1: none yet).
double WindowFirstFrameMs();
// Pictures shown from one second after the first on, their mean period and
// the longest gap between two (milliseconds).
void WindowPacing(long& shown, double& meanPeriodMs, double& longestGapMs);

// True once SIGTERM, SIGINT or SIGHUP arrived: the game quits as when its
// window is closed, keeping a score whose name is pending. Read by the event
// pump and by the open-file dialog, which closes for it.
bool QuitSignalled();

// Game controllers and raw joysticks. Joystick 1 is the first one connected.
void PadOpenFirst();
// True when the pad the game reads was unplugged.
bool PadTakeEvent(const SDL_Event& e);
// Pads are read only while the game's window has the keyboard's focus.
bool WindowHasFocus();
void PadCloseAll();
bool PadStartHeld();  // a mapped pad's Start, the keyboard's Enter twin

// Short sounds: the mixer's channels once the audio device is open, and
// nothing more played once it is about to close.
void SoundsOpen();
void SoundsClose();
