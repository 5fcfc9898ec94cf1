// How the pieces of the SDL platform meet: platform_sdl.cpp takes the events
// and hands window and pad events to platform_sdl_window.cpp and
// platform_sdl_pad.cpp; it opens the audio device for platform_sdl_sound.cpp,
// and the open-file dialog asks whether to close for a quit.
// Nothing outside these files includes this.
#pragma once
#include <SDL.h>
#include <SDL_mixer.h>

// Window. True when the event was a display key (F11, Alt+Enter) that must
// not reach the game's keys.
bool WindowTakeEvent(const SDL_Event& e);
void WindowSetFullscreen(bool on);
// Puts the picture last presented on the whole window again.
void WindowShowAgain();
bool WindowFullscreen();
SDL_Window* PlatformWindow();
// The game window's X11 id; 0 without a window or off X11.
unsigned long WindowX11Id();
// Name of the renderer in use ("software", "opengl", ...), "" without one.
const char* WindowRendererName();
// Milliseconds from the program's start to the first frame shown (-1: none yet).
double WindowFirstFrameMs();
// Pictures shown from one second after the first on (or as many seconds as
// TESSMAR_FPS_LOG gives), their mean period, the longest gap between two
// (milliseconds) and the gaps longer than 40 ms.
void WindowPacing(long& shown, double& meanPeriodMs, double& longestGapMs, long& lateGaps);
double WindowPacingSettleSeconds();

// True once a signal that would end the process arrived (SIGTERM, SIGINT,
// SIGHUP, SIGQUIT, SIGUSR1 and the like): the game quits as when its window
// is closed, keeping a score whose name is pending. Read by the event pump
// and by the open-file dialog, which closes for it.
bool QuitSignalled();

// Game controllers and raw joysticks. Joystick 1 is the first one connected.
void PadOpenFirst();
// True when the pad the game reads was unplugged.
bool PadTakeEvent(const SDL_Event& e);
// Pads are read only while the game's window has the keyboard's focus.
bool WindowHasFocus();
void PadCloseAll();
// The virtual pad of TESSMAR_TEST_PAD, when set: plugged in with the other
// devices, its buttons read from the file before every event taken.
void PadTestOpen();
void PadTestPoll();
// Gives the virtual test pad its next queued state before the pad is read.
void PadTestStep();
bool PadTestActive();

// Short sounds: the mixer's channels once the audio device is open, and
// nothing more played once it is about to close.
void SoundsOpen();
void SoundsClose();
// The mixer's channels allocated again (after the device has rested).
void SoundChannelsOpen();
// Starts a sound on a free channel (or the oldest one's): on the helper below.
void SoundPlayNow(Mix_Chunk* chunk);

// The helper thread that makes the mixer's calls which take the audio lock
// (platform_sdl_audio.cpp): started once the audio device is open, with the
// buffer it was opened with (the device is closed while nothing is heard
// and opened again the same way).
void AudioHelperStart(int deviceBufferFrames);
// Holds the audio device open (opened again if it rests) while a sound is
// decoded into the mixer's format on the caller's thread; `open` false when
// there is no device to decode for.
struct AudioDeviceHold {
    AudioDeviceHold();
    ~AudioDeviceHold();
    AudioDeviceHold(const AudioDeviceHold&) = delete;
    AudioDeviceHold& operator=(const AudioDeviceHold&) = delete;
    bool open = false;
};
// True once every request so far is carried out, false after `waitMs` or
// when the helper is stuck.
bool AudioHelperIdle(uint32_t waitMs);
// Carries out what is queued and ends the helper; false when it is stuck in
// the mixer, and then left running (the audio must not be closed).
bool AudioHelperEnd(uint32_t waitMs);
void AudioPlaySound(void* chunk);
void AudioStopSounds();
void AudioFreeSound(void* chunk);
