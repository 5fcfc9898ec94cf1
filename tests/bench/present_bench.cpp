// Presenting one frame: the 384 x 480 picture into outputs of 1x, 2x and
// 1920 x 1080 (fullscreen on a full-HD desktop), and at any factor into
// 1920 x 1080 and 640 x 800 (SCALE FIT), the way the game does on
// this machine (the window's own pixels without a graphics device). With
// SDL_RENDER_DRIVER=software it measures SDL's software renderer instead.
// Run it under Xvfb (-screen 0 1920x1080x24) to include the X11 transfer;
// without DISPLAY it uses SDL's dummy video driver.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "draw/surface.h"
#include "platform/platform.h"
#include "platform/platform_sdl_parts.h"

namespace {
constexpr int PictureW = 384, PictureH = 480;

void OpenWindowOnce() {
    static bool open = false;
    if (open) return;
    open = true;
    // A settings folder of its own, so the player's file is neither read nor written.
    std::filesystem::path config = std::filesystem::temp_directory_path() / "tessmar-bench-config";
    std::filesystem::remove_all(config);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (std::getenv("DISPLAY") == nullptr) setenv("SDL_VIDEODRIVER", "dummy", 1);
    PlatformInit();
    PlatformOpenWindow({"Tessmar bench", PictureW, PictureH});
}

// Sizes the window's drawable area; 1920 x 1080 as desktop fullscreen.
void SetOutput(int w, int h) {
    SDL_Window* window = PlatformWindow();
    bool full = w == 1920 && h == 1080;
    WindowSetFullscreen(full);
    if (!full) SDL_SetWindowSize(window, w, h);
    for (int i = 0; i < 50; ++i) {
        while (PlatformTakeEvent() != PlatformEvent::None) {
        }
        int ow = 0, oh = 0;
        SDL_GetWindowSizeInPixels(window, &ow, &oh);
        if (ow == w && oh == h) return;
        if (i == 25 && full) {  // a smaller desktop, or none to make it fullscreen: a window that size
            WindowSetFullscreen(false);
            SDL_SetWindowSize(window, w, h);
        }
        SDL_Delay(20);
    }
}

void BM_Present(benchmark::State& state) {
    OpenWindowOnce();
    if (PlatformWindow() == nullptr) {
        state.SkipWithError("no window");
        return;
    }
    int w = int(state.range(0)), h = int(state.range(1));
    PlatformSetPictureFit(state.range(2) != 0);
    SetOutput(w, h);
    int ow = 0, oh = 0;
    SDL_GetWindowSizeInPixels(PlatformWindow(), &ow, &oh);
    Surface picture;
    picture.Create(PictureW, PictureH);
    for (int y = 0; y < PictureH; ++y)
        for (int x = 0; x < PictureW; ++x) picture.At(x, y) = Rgb(x % 256, y % 256, (x ^ y) % 256);
    // Every row changes from one frame to the next, as in play with fish
    // swimming across the whole screen.
    uint32_t frame = 0;
    for (auto _ : state) {
        ++frame;
        for (int y = 0; y < PictureH; ++y) picture.At(0, y) = frame;
        PlatformPresent({picture.pixels.data(), picture.width, picture.height});
    }
    state.SetLabel(std::string(SDL_GetCurrentVideoDriver()) + " " + WindowRendererName() + " " +
                   std::to_string(ow) + "x" + std::to_string(oh) + (state.range(2) ? " fit" : ""));
}
// The third number: the picture as large as fits at any factor (SCALE FIT).
BENCHMARK(BM_Present)
    ->Args({384, 480, 0})
    ->Args({768, 960, 0})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->Args({640, 800, 1})
    ->Unit(benchmark::kMillisecond);
}  // namespace
