// The game's window: opened at the scale it is asked for, resizable, F11 /
// Alt+Enter for desktop fullscreen.
// Each frame the picture is shown at the largest whole scale that fits the
// drawable area (or, when asked, as large as fits at any factor with every
// pixel the same size), centred, with crisp pixels and dark borders: through SDL's
// accelerated renderer where the machine has a graphics device, otherwise
// scaled by this file straight into the window's own pixels.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include <vector>

#include "platform/platform.h"
#include "platform/platform_sdl_parts.h"
#include "platform/window_scale.h"

namespace {
constexpr uint8_t BorderRed = 16, BorderGreen = 16, BorderBlue = 20;
constexpr unsigned GlRenderer = 0x1F01;          // GL_RENDERER
constexpr const char* GraphicsDevices = "/dev/dri";  // Linux's GPU device nodes

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;  // none: the window's own pixels are drawn into
SDL_Texture* texture = nullptr;
SDL_Surface* pictureView = nullptr;  // the back buffer as SDL sees it, for an odd window format
int pictureW = 0, pictureH = 0;
// The window's own pixels (and the software renderer's, which draws into
// them) stay from frame to frame: the borders need filling only when the size
// changes. Other renderers start every frame from an undefined buffer.
bool keepsPixels = false;
int bordersFilledW = -1, bordersFilledH = -1;

// The window's scale while not fullscreen, as the player has left it.
int windowedScale = 1;
// The picture as large as fits at any factor, not at a whole scale.
bool pictureFit = false;
// A window manager may drop a window's maximised state while it is
// fullscreen (openbox does), and SDL then takes it back to its old size: a
// window that was maximised is maximised again when it leaves fullscreen.
bool maximisedBeforeFullscreen = false;

// The picture last handed to the window, to put it up again when the window
// is exposed while the game's frames wait (the open-file dialog is open).
Picture lastPicture;

const auto processStart = std::chrono::steady_clock::now();
double firstFrameMs = -1;
// For the frame log: pictures shown after the first second (or as many
// seconds as TESSMAR_FPS_LOG says), when the first and the last of them were
// shown, the longest gap between two and the gaps longer than LateGapMs.
double pacingSettleMs = -1;
constexpr double LateGapMs = 40;
long shownCount = 0, lateGaps = 0;
double firstShownMs = 0, lastShownMs = 0, longestGapMs = 0;

double MsSinceStart() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - processStart).count();
}

void NoteShown() {
    double now = MsSinceStart();
    if (firstFrameMs < 0) {
        firstFrameMs = now;
        const char* log = SDL_getenv("TESSMAR_FPS_LOG");
        pacingSettleMs = 1000.0 * std::max(1, log ? std::atoi(log) : 1);
    }
    if (now - firstFrameMs < pacingSettleMs) return;
    if (shownCount == 0) firstShownMs = now;
    else if (now - lastShownMs > longestGapMs) longestGapMs = now - lastShownMs;
    if (shownCount > 0 && now - lastShownMs > LateGapMs) ++lateGaps;
    lastShownMs = now;
    ++shownCount;
}

SDL_Rect UsableArea() {
    SDL_Rect area{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &area) != 0 || area.w <= 0 || area.h <= 0) {
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) == 0) area = {0, 0, mode.w, mode.h};
    }
    return area;
}

void SetWindowIcon(const Picture& icon) {
    if (icon.pixels == nullptr || icon.width <= 0 || icon.height <= 0) return;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(icon.pixels), icon.width, icon.height,
                                                        32, icon.width * 4, SDL_PIXELFORMAT_RGB888);
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
// (without one, making a GL context only delays the first frame); else none:
// the picture goes into the window's pixels (see PresentIntoWindow). A
// renderer the player names in SDL_RENDER_DRIVER is used whatever it is.
bool MakeRenderer() {
    const char* named = SDL_getenv("SDL_RENDER_DRIVER");
    bool chosen = named != nullptr && named[0] != '\0';
    if (chosen || access(GraphicsDevices, F_OK) == 0) {
        renderer = SDL_CreateRenderer(window, -1, chosen ? 0 : SDL_RENDERER_ACCELERATED);
        if (renderer && !chosen && OnSoftwareGl()) {
            SDL_DestroyRenderer(renderer);
            renderer = nullptr;
        }
    }
    if (renderer == nullptr) {
        keepsPixels = true;
        return SDL_GetWindowSurface(window) != nullptr;
    }
    SDL_RendererInfo info;
    keepsPixels = SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, pictureW, pictureH);
    if (texture == nullptr) return false;
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    return true;
}

// For a factor that is not whole: the picture drawn at the whole scale above
// it, pixels crisp, into a texture that is then filtered down to the size
// wanted. Without target textures the picture itself is filtered.
SDL_Texture* upscaled = nullptr;
int upscaledScale = 0;

SDL_Texture* Upscaled(int scale) {
    if (!SDL_RenderTargetSupported(renderer)) {
        SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
        return texture;
    }
    if (upscaled == nullptr || upscaledScale != scale) {
        if (upscaled) SDL_DestroyTexture(upscaled);
        upscaled = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET, pictureW * scale,
                                     pictureH * scale);
        upscaledScale = scale;
        if (upscaled == nullptr) return texture;
        SDL_SetTextureScaleMode(upscaled, SDL_ScaleModeLinear);
    }
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    SDL_SetRenderTarget(renderer, upscaled);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_SetRenderTarget(renderer, nullptr);
    return upscaled;
}

// The window size in window coordinates, remembered while not fullscreen.
void NoteWindowedSize() {
    if (WindowFullscreen()) return;
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    windowedScale = LargestScale(w, h, pictureW, pictureH);
}

bool IsEnter(const SDL_Keysym& k) {
    return k.scancode == SDL_SCANCODE_RETURN || k.scancode == SDL_SCANCODE_KP_ENTER;
}

// The dark area around the picture: up to four bands, so no pixel is
// written twice.
void FillBorders(const PictureRect& p, int outW, int outH, SDL_Surface* into) {
    SDL_Rect bands[4] = {
        {0, 0, outW, p.y},
        {0, p.y + p.h, outW, outH - p.y - p.h},
        {0, p.y, p.x, p.h},
        {p.x + p.w, p.y, outW - p.x - p.w, p.h},
    };
    Uint32 border = into ? SDL_MapRGB(into->format, BorderRed, BorderGreen, BorderBlue) : 0;
    if (!into) SDL_SetRenderDrawColor(renderer, BorderRed, BorderGreen, BorderBlue, SDL_ALPHA_OPAQUE);
    for (const SDL_Rect& band : bands) {
        if (band.w <= 0 || band.h <= 0) continue;
        if (into) SDL_FillRect(into, &band, border);
        else SDL_RenderFillRect(renderer, &band);
    }
}

// Where the picture goes in an output of outW x outH.
PictureRect Placement(int outW, int outH) {
    return pictureFit ? FitPictureAnyScale(outW, outH, pictureW, pictureH) : FitPicture(outW, outH, pictureW, pictureH);
}

const uint32_t* Row(const Picture& picture, int y) { return picture.pixels + size_t(y) * size_t(picture.width); }

// The areas of this picture to send: those it says changed, or all of it
// when it does not say or when the window missed a picture since the last
// one sent (nothing shown yet, hidden, exposed, resized).
bool sendWhole = true;
std::vector<PictureArea> sendAreas;
std::vector<SDL_Rect> changedRects;  // the same in the window's pixels

// The picture as the window was last sent it. A changed area is cut to the
// pixels in it that really differ from that: the drawing's changed squares
// are whole 8 x 8 squares, and in play more than half their pixels are the
// same as before (a fish one pixel along), each of them 16 window pixels to
// scale and send at 4x.
std::vector<uint32_t> sentPixels;

// False when no pixel of `a` differs; otherwise `a` cut to the bounds of
// those that do, which are then noted as sent.
bool CutToDifference(const Picture& picture, PictureArea& a) {
    int left = a.x + a.w, right = a.x - 1, top = -1, bottom = -1;
    for (int y = a.y; y < a.y + a.h; ++y) {
        const uint32_t* now = Row(picture, y);
        uint32_t* sent = sentPixels.data() + size_t(y) * size_t(picture.width);
        int l = a.x, r = a.x + a.w - 1;
        while (l <= r && now[l] == sent[l]) ++l;
        if (l > r) continue;
        while (now[r] == sent[r]) --r;
        std::memcpy(sent + l, now + l, size_t(r - l + 1) * 4);
        left = std::min(left, l);
        right = std::max(right, r);
        if (top < 0) top = y;
        bottom = y;
    }
    if (top < 0) return false;
    a = {left, top, right - left + 1, bottom - top + 1};
    return true;
}

void AreasToSend(const Picture& picture) {
    sendAreas.clear();
    if (sendWhole || picture.changed == nullptr) {
        sendAreas.push_back({0, 0, picture.width, picture.height});
        sentPixels.assign(picture.pixels, picture.pixels + size_t(picture.width) * size_t(picture.height));
        return;
    }
    for (int i = 0; i < picture.changedCount; ++i) {
        PictureArea a = picture.changed[i];
        int x1 = std::min(a.x + a.w, picture.width), y1 = std::min(a.y + a.h, picture.height);
        a.x = std::max(a.x, 0);
        a.y = std::max(a.y, 0);
        a.w = x1 - a.x;
        a.h = y1 - a.y;
        if (a.w > 0 && a.h > 0 && CutToDifference(picture, a)) sendAreas.push_back(a);
    }
}

// `n` pixels each written `Scale` times side by side. Each pixel is
// doubled in a 64-bit word and stored whole: copies gathered in a small
// array and then stored as one made the store wait on the copies' own
// narrow writes, most of the time spent scaling at 4x.
template <int Scale>
void Widen(const uint32_t* in, uint32_t* out, int n) {
    for (int x = 0; x < n; ++x) {
        const uint64_t twice = in[x] * uint64_t{0x100000001};
        uint32_t* o = out + Scale * x;
        for (int k = 0; k + 1 < Scale; k += 2) std::memcpy(o + k, &twice, sizeof twice);
        if (Scale % 2) o[Scale - 1] = in[x];
    }
}

// Writes each picture row of area `a` `scale` times as wide into the
// window's pixels, then copies that row down `scale` - 1 times.
void ScaleArea(const Picture& picture, SDL_Surface* out, const PictureRect& p, const PictureArea& a) {
    auto* base = static_cast<uint8_t*>(out->pixels);
    const size_t rowBytes = size_t(a.w) * size_t(p.scale) * 4;
    for (int y = a.y; y < a.y + a.h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(base + size_t(p.y + y * p.scale) * size_t(out->pitch)) + p.x +
                    a.x * p.scale;
        const uint32_t* in = Row(picture, y) + a.x;
        if (p.scale == 1) {
            std::memcpy(row, in, rowBytes);
            continue;
        }
        switch (p.scale) {
            case 2: Widen<2>(in, row, a.w); break;
            case 3: Widen<3>(in, row, a.w); break;
            case 4: Widen<4>(in, row, a.w); break;
            default:
                for (int x = 0, o = 0; x < a.w; ++x)
                    for (int k = 0; k < p.scale; ++k) row[o++] = in[x];
        }
        for (int k = 1; k < p.scale; ++k)
            std::memcpy(reinterpret_cast<uint8_t*>(row) + size_t(k) * size_t(out->pitch), row, rowBytes);
    }
}

// A picture drawn at a factor that is not whole: each picture row widened
// once into `smoothRows` when it changes, then every window row that shows
// a changed picture row mixed from the two widened rows under it.
std::vector<uint32_t> smoothRows;
std::vector<SmoothTap> tapsAcross, tapsDown;
int smoothW = -1, smoothH = -1;
std::vector<uint8_t> rowChanged;

void SmoothRowsInto(const Picture& picture, SDL_Surface* out, const PictureRect& p, bool whole) {
    if (p.w != smoothW || p.h != smoothH) {
        tapsAcross = SmoothTaps(p.w, picture.width);
        tapsDown = SmoothTaps(p.h, picture.height);
        smoothRows.assign(size_t(p.w) * size_t(picture.height), 0);
        smoothW = p.w;
        smoothH = p.h;
        whole = true;
    }
    rowChanged.assign(size_t(picture.height), whole ? 1 : 0);
    for (const PictureArea& a : sendAreas)
        for (int y = a.y; y < a.y + a.h; ++y) rowChanged[size_t(y)] = 1;
    for (int y = 0; y < picture.height; ++y)
        if (rowChanged[size_t(y)]) SmoothRow(Row(picture, y), tapsAcross, smoothRows.data() + size_t(y) * size_t(p.w));
    auto* base = static_cast<uint8_t*>(out->pixels);
    changedRects.clear();
    for (int oy = 0; oy < p.h; ++oy) {
        const SmoothTap& t = tapsDown[size_t(oy)];
        const int next = t.second ? t.first + 1 : t.first;
        if (!rowChanged[size_t(t.first)] && !rowChanged[size_t(next)]) continue;
        const uint32_t* a = smoothRows.data() + size_t(t.first) * size_t(p.w);
        const uint32_t* b = smoothRows.data() + size_t(next) * size_t(p.w);
        auto* o = reinterpret_cast<uint32_t*>(base + size_t(p.y + oy) * size_t(out->pitch)) + p.x;
        if (t.second == 0) std::memcpy(o, a, size_t(p.w) * 4);
        else
            for (int x = 0; x < p.w; ++x) o[x] = BlendPixels(a[x], b[x], uint32_t(t.second));
        if (!changedRects.empty() && changedRects.back().y + changedRects.back().h == p.y + oy) ++changedRects.back().h;
        else changedRects.push_back({p.x, p.y + oy, p.w, 1});
    }
}

// Without a renderer: the picture scaled into the window's own pixels, only
// the areas that changed, and only those handed to the display once the
// borders are there. A window whose pixels are not 32-bit RGB is filled
// whole by SDL's scaled blit.
void PresentIntoWindow(const Picture& picture) {
    SDL_Surface* out = SDL_GetWindowSurface(window);
    if (out == nullptr) return;
    PictureRect p = Placement(out->w, out->h);
    bool whole = out->w != bordersFilledW || out->h != bordersFilledH;
    if (whole) {
        FillBorders(p, out->w, out->h, out);
        bordersFilledW = out->w;
        bordersFilledH = out->h;
        sendWhole = true;
    }
    Uint32 format = out->format->format;
    if (format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888) {
        AreasToSend(picture);
        sendWhole = false;
        if (sendAreas.empty()) return;  // the same picture: nothing to send
        if (SDL_MUSTLOCK(out)) SDL_LockSurface(out);
        changedRects.clear();
        if (!WholeScale(p, pictureW, pictureH)) {
            SmoothRowsInto(picture, out, p, whole);
        } else {
            for (const PictureArea& a : sendAreas) {
                ScaleArea(picture, out, p, a);
                changedRects.push_back({p.x + a.x * p.scale, p.y + a.y * p.scale, a.w * p.scale, a.h * p.scale});
            }
        }
        if (SDL_MUSTLOCK(out)) SDL_UnlockSurface(out);
        if (whole) SDL_UpdateWindowSurface(window);
        else SDL_UpdateWindowSurfaceRects(window, changedRects.data(), int(changedRects.size()));
        return;
    }
    if (pictureView == nullptr)
        pictureView = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(picture.pixels), pictureW, pictureH,
                                                         32, pictureW * 4, SDL_PIXELFORMAT_RGB888);
    SDL_Rect target{p.x, p.y, p.w, p.h};
    if (pictureView) SDL_BlitScaled(pictureView, nullptr, out, &target);
    SDL_UpdateWindowSurface(window);
}

}  // namespace

bool PlatformDesktopArea(int& width, int& height) {
    SDL_Rect area = UsableArea();
    width = area.w;
    height = area.h;
    return area.w > 0 && area.h > 0;
}

bool PlatformOpenWindow(const WindowRequest& request) {
    // With no display SDL falls back to a driver that shows nothing; a game
    // nobody can see or quit is no use unless that driver was asked for.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || ((SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
                              SDL_getenv("SDL_VIDEODRIVER") == nullptr)) {
        std::fprintf(stderr, "tessmar: no display to open the window on\n");
        return false;
    }
    pictureW = request.width;
    pictureH = request.height;
    windowedScale = request.scale > 0 ? request.scale : 1;
    pictureFit = request.fit;
    SDL_Rect area = UsableArea();
    int w = pictureW * windowedScale, h = pictureH * windowedScale;
    if (pictureFit) {
        PictureRect fits = FitPictureAnyScale(area.w, area.h, pictureW, pictureH);
        w = fits.w > w ? fits.w : w;
        h = fits.h > h ? fits.h : h;
    }
    int x = area.w > w ? area.x + (area.w - w) / 2 : area.x;
    int y = area.h > h ? area.y + (area.h - h) / 2 : area.y;
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (request.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window = SDL_CreateWindow(request.title, x, y, w, h, flags);
    if (window == nullptr) {
        std::fprintf(stderr, "tessmar: cannot open the window: %s\n", SDL_GetError());
        return false;
    }
    if (!MakeRenderer()) {
        std::fprintf(stderr, "tessmar: cannot draw in the window: %s\n", SDL_GetError());
        PlatformCloseWindow();
        return false;
    }
    SDL_SetWindowMinimumSize(window, pictureW, pictureH);  // after a GL renderer may have remade the window
    SetWindowIcon(request.icon);
    return true;
}

WindowLayout PlatformWindowLayout() { return {windowedScale, WindowFullscreen()}; }

void PlatformSetPictureFit(bool fit) {
    if (fit == pictureFit) return;
    pictureFit = fit;
    bordersFilledW = bordersFilledH = -1;  // the picture's place changes: all of it again
    sendWhole = true;
    if (lastPicture.pixels) PlatformPresent(lastPicture);
}

void PlatformCloseWindow() {
    if (pictureView) SDL_FreeSurface(pictureView);
    pictureView = nullptr;
    if (upscaled) SDL_DestroyTexture(upscaled);
    upscaled = nullptr;
    upscaledScale = 0;
    smoothW = smoothH = -1;
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    texture = nullptr;
    renderer = nullptr;
    window = nullptr;
    lastPicture = {};
    bordersFilledW = bordersFilledH = -1;
}

void PlatformPresent(const Picture& picture) {
    if (window == nullptr || picture.pixels == nullptr || picture.width != pictureW || picture.height != pictureH)
        return;
    lastPicture = picture;
    lastPicture.changed = nullptr;  // shown again, it is shown whole
    if (!PlatformWindowShown()) {  // nobody would see it
        sendWhole = true;
        return;
    }
    if (renderer == nullptr) {
        PresentIntoWindow(picture);
    } else {
        AreasToSend(picture);
        sendWhole = false;
        for (const PictureArea& a : sendAreas) {
            SDL_Rect r{a.x, a.y, a.w, a.h};
            SDL_UpdateTexture(texture, &r, Row(picture, a.y) + a.x, picture.width * 4);
        }
        int outW = 0, outH = 0;
        SDL_GetRendererOutputSize(renderer, &outW, &outH);
        PictureRect p = Placement(outW, outH);
        if (!keepsPixels || outW != bordersFilledW || outH != bordersFilledH) {
            FillBorders(p, outW, outH, nullptr);
            bordersFilledW = outW;
            bordersFilledH = outH;
        }
        SDL_Rect target{p.x, p.y, p.w, p.h};
        SDL_Texture* shown = texture;
        if (WholeScale(p, pictureW, pictureH)) SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
        else shown = Upscaled(p.scale);
        SDL_RenderCopy(renderer, shown, nullptr, &target);
        SDL_RenderPresent(renderer);
    }
    NoteShown();
}

void WindowShowAgain() {
    if (lastPicture.pixels == nullptr) return;
    bordersFilledW = bordersFilledH = -1;  // the whole window, borders included
    sendWhole = true;
    PlatformPresent(lastPicture);
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
    if (on) {
        NoteWindowedSize();
        maximisedBeforeFullscreen = (SDL_GetWindowFlags(window) & SDL_WINDOW_MAXIMIZED) != 0;
    }
    SDL_SetWindowFullscreen(window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (!on && maximisedBeforeFullscreen) SDL_MaximizeWindow(window);
}

bool WindowFullscreen() {
    return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

SDL_Window* PlatformWindow() { return window; }

const char* WindowRendererName() {
    SDL_RendererInfo info;
    if (window != nullptr && renderer == nullptr) return "window pixels";
    if (renderer == nullptr || SDL_GetRendererInfo(renderer, &info) != 0) return "";
    return info.name;
}

double WindowFirstFrameMs() { return firstFrameMs; }

double WindowPacingSettleSeconds() { return pacingSettleMs < 0 ? 1 : pacingSettleMs / 1000; }

void WindowPacing(long& shown, double& meanPeriodMs, double& longestGap, long& late) {
    shown = shownCount;
    late = lateGaps;
    meanPeriodMs = shownCount > 1 ? (lastShownMs - firstShownMs) / double(shownCount - 1) : 0;
    longestGap = longestGapMs;
}
