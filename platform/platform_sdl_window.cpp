// The game's window: opened at the largest whole-number scale of the picture
// that fits the desktop, resizable, F11 / Alt+Enter for desktop fullscreen.
// Each frame the picture goes through SDL's renderer (accelerated where the
// machine has it, software otherwise) at the largest whole scale that fits
// the drawable area, centred, with crisp pixels and dark borders.
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "draw/surface.h"
#include "platform/platform.h"
#include "platform/platform_sdl_parts.h"
#include "platform/settings.h"
#include "platform/window_scale.h"
#include "resources/resources.h"

namespace {
constexpr uint8_t BorderRed = 16, BorderGreen = 16, BorderBlue = 20;
constexpr unsigned GlRenderer = 0x1F01;          // GL_RENDERER
constexpr const char* GraphicsDevices = "/dev/dri";  // Linux's GPU device nodes

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;
SDL_Texture* texture = nullptr;
int pictureW = 0, pictureH = 0;
// The software renderer draws straight into the window's pixels, which stay
// from frame to frame: the borders need filling only when the size changes.
// Other renderers start every frame from an undefined buffer.
bool keepsPixels = false;
int bordersFilledW = -1, bordersFilledH = -1;

// The window as it opened and as the player has left it (its scale while
// not fullscreen).
std::string settingsPath;
DisplaySettings openedAs;
int windowedScale = 1;

const auto processStart = std::chrono::steady_clock::now();
double firstFrameMs = -1;

SDL_Rect UsableArea() {
    SDL_Rect area{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &area) != 0 || area.w <= 0 || area.h <= 0) {
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) == 0) area = {0, 0, mode.w, mode.h};
    }
    return area;
}

void SetWindowIcon() {
    Surface icon;
    LoadSheet(ArtGameIcon, icon);
    if (icon.width == 0) return;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(icon.pixels.data(), icon.width, icon.height, 32,
                                                        icon.width * 4, SDL_PIXELFORMAT_RGB888);
    if (s == nullptr) return;
    SDL_SetWindowIcon(window, s);
    SDL_FreeSurface(s);
}

// An OpenGL that draws on the CPU (Mesa's llvmpipe, as under Xvfb or in a
// virtual machine) costs several times what SDL's software renderer does.
bool OnSoftwareGl() {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || SDL_strncmp(info.name, "opengl", 6) != 0) return false;
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const char* name = getString ? reinterpret_cast<const char*>(getString(GlRenderer)) : nullptr;
    return name && (SDL_strstr(name, "llvmpipe") || SDL_strstr(name, "softpipe") || SDL_strstr(name, "Software"));
}

// The accelerated renderer where there is a graphics device to accelerate it
// (without one, making a GL context only delays the first frame), else the
// software one. A renderer the player names in SDL_RENDER_DRIVER is kept.
bool MakeRenderer() {
    bool chosen = SDL_getenv("SDL_RENDER_DRIVER") != nullptr;
    if (chosen || access(GraphicsDevices, F_OK) == 0) {
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
        if (renderer && !chosen && OnSoftwareGl()) {
            SDL_DestroyRenderer(renderer);
            renderer = nullptr;
        }
    }
    if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (renderer == nullptr) return false;
    SDL_RendererInfo info;
    keepsPixels = SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, pictureW, pictureH);
    if (texture == nullptr) return false;
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    return true;
}

// The window size in window coordinates, remembered while not fullscreen.
void NoteWindowedSize() {
    if (WindowFullscreen()) return;
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    windowedScale = LargestScale(w, h, pictureW, pictureH);
}

// Only a choice of the player's is written: a window left as it opened
// keeps fitting whatever screen the next run finds.
void SaveSettingsIfChanged() {
    DisplaySettings now{windowedScale, WindowFullscreen()};
    if (now.scale == openedAs.scale && now.fullscreen == openedAs.fullscreen) return;
    UpdateDisplaySettings(settingsPath, [&](DisplaySettings& s) {
        s.scale = now.scale;
        s.fullscreen = now.fullscreen;
    });
}

bool IsEnter(const SDL_Keysym& k) {
    return k.scancode == SDL_SCANCODE_RETURN || k.scancode == SDL_SCANCODE_KP_ENTER;
}

// The dark area around the picture: up to four bands, so no pixel is
// written twice (the software renderer fills every pixel by hand).
void FillBorders(const PictureRect& p, int outW, int outH) {
    SDL_Rect bands[4] = {
        {0, 0, outW, p.y},
        {0, p.y + p.h, outW, outH - p.y - p.h},
        {0, p.y, p.x, p.h},
        {p.x + p.w, p.y, outW - p.x - p.w, p.h},
    };
    SDL_SetRenderDrawColor(renderer, BorderRed, BorderGreen, BorderBlue, SDL_ALPHA_OPAQUE);
    for (const SDL_Rect& band : bands)
        if (band.w > 0 && band.h > 0) SDL_RenderFillRect(renderer, &band);
}
}  // namespace

bool PlatformOpenWindow(const char* title, int width, int height) {
    // With no display SDL falls back to a driver that shows nothing; a game
    // nobody can see or quit is no use unless that driver was asked for.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || ((SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
                              SDL_getenv("SDL_VIDEODRIVER") == nullptr)) {
        std::fprintf(stderr, "tessmar: no display to open the window on\n");
        return false;
    }
    pictureW = width;
    pictureH = height;
    settingsPath = SettingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    DisplaySettings saved = LoadDisplaySettings(settingsPath);
    SDL_Rect area = UsableArea();
    int fit = LargestScale(area.w, area.h, width, height);
    windowedScale = saved.scale > 0 && saved.scale < fit ? saved.scale : fit;
    openedAs = {windowedScale, saved.fullscreen, {}, {}};
    int w = width * windowedScale, h = height * windowedScale;
    int x = area.w > w ? area.x + (area.w - w) / 2 : area.x;
    int y = area.h > h ? area.y + (area.h - h) / 2 : area.y;
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (saved.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window = SDL_CreateWindow(title, x, y, w, h, flags);
    if (window == nullptr) {
        std::fprintf(stderr, "tessmar: cannot open the window: %s\n", SDL_GetError());
        return false;
    }
    if (!MakeRenderer()) {
        std::fprintf(stderr, "tessmar: cannot draw in the window: %s\n", SDL_GetError());
        PlatformCloseWindow();
        return false;
    }
    SDL_SetWindowMinimumSize(window, width, height);  // after a GL renderer may have remade the window
    SetWindowIcon();
    return true;
}

void PlatformCloseWindow() {
    if (window) SaveSettingsIfChanged();
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    texture = nullptr;
    renderer = nullptr;
    window = nullptr;
    bordersFilledW = bordersFilledH = -1;
}

void PlatformPresent(const Surface& backBuffer) {
    if (texture == nullptr || backBuffer.width != pictureW || backBuffer.height != pictureH) return;
    SDL_UpdateTexture(texture, nullptr, backBuffer.pixels.data(), backBuffer.width * 4);
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(renderer, &outW, &outH);
    PictureRect p = FitPicture(outW, outH, pictureW, pictureH);
    if (!keepsPixels || outW != bordersFilledW || outH != bordersFilledH) {
        FillBorders(p, outW, outH);
        bordersFilledW = outW;
        bordersFilledH = outH;
    }
    SDL_Rect target{p.x, p.y, p.w, p.h};
    SDL_RenderCopy(renderer, texture, nullptr, &target);
    SDL_RenderPresent(renderer);
    if (firstFrameMs < 0)
        firstFrameMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - processStart).count();
}

bool WindowTakeEvent(const SDL_Event& e) {
    if (e.type == SDL_WINDOWEVENT) {
        bordersFilledW = bordersFilledH = -1;  // the window's pixels may be new
        if (window && e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) NoteWindowedSize();
    }
    if (e.type != SDL_KEYDOWN && e.type != SDL_KEYUP) return false;
    // F11 and Alt+Enter switch fullscreen and never reach the game's keys;
    // the release of Enter always does, so an Enter held before is let go.
    const SDL_Keysym& k = e.key.keysym;
    bool displayKey = k.scancode == SDL_SCANCODE_F11 || (IsEnter(k) && (k.mod & KMOD_ALT) && e.type == SDL_KEYDOWN);
    if (displayKey && e.type == SDL_KEYDOWN && !e.key.repeat) WindowSetFullscreen(!WindowFullscreen());
    return displayKey;
}

void WindowSetFullscreen(bool on) {
    if (window == nullptr || on == WindowFullscreen()) return;
    if (on) NoteWindowedSize();
    SDL_SetWindowFullscreen(window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

bool WindowFullscreen() {
    return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

SDL_Window* PlatformWindow() { return window; }

const char* WindowRendererName() {
    SDL_RendererInfo info;
    if (renderer == nullptr || SDL_GetRendererInfo(renderer, &info) != 0) return "";
    return info.name;
}

double WindowFirstFrameMs() { return firstFrameMs; }
