// How the pieces of the SDL platform meet: platform_sdl.cpp takes the events
// and hands window and pad events to platform_sdl_window.cpp and
// platform_sdl_pad.cpp; the open-file dialog asks whether to close for a quit.
// Nothing outside these files includes this.
#pragma once
#include <SDL.h>

// Window. True when the event was a display key (F11, Alt+Enter) that must
// not reach the game's keys.
bool WindowTakeEvent(const SDL_Event& e);
void WindowSetFullscreen(bool on);
bool WindowFullscreen();
SDL_Window* PlatformWindow();
// Name of the renderer in use ("software", "opengl", ...), "" without one.
const char* WindowRendererName();
// Milliseconds from the program's start to the first frame shown (-1: none yet).
double WindowFirstFrameMs();

// True once SIGTERM, SIGINT or SIGHUP arrived: the game quits as when its
// window is closed, keeping a score whose name is pending. Read by the event
// pump and by the open-file dialog, which closes for it.
bool QuitSignalled();

// Game controllers and raw joysticks. Joystick 1 is the first one connected.
void PadOpenFirst();
void PadTakeEvent(const SDL_Event& e);
void PadCloseAll();
bool PadStartHeld();  // a mapped pad's Start, the keyboard's Enter twin
