#include "shell/game_window.h"

#include "draw/surface.h"
#include "platform/platform.h"
#include "platform/window_scale.h"
#include "resources/resources.h"
#include "rules/screen_layout.h"

std::string GameSettingsPath;

namespace {
WindowLayout openedAs;
bool fitting = false;
}  // namespace

int OpeningScale(int savedScale, int areaW, int areaH, int w, int h) {
    int fit = LargestScale(areaW, areaH, w, h);
    return savedScale > 0 && savedScale < fit ? savedScale : fit;
}

bool OpenGameWindow(const DisplaySettings& saved) {
    int areaW = 0, areaH = 0;
    PlatformDesktopArea(areaW, areaH);
    Surface icon;
    LoadSheet(ArtGameIcon, icon);
    WindowRequest request;
    request.title = "Tessmar";
    request.width = ScreenWidth;
    request.height = ScreenHeight;
    request.scale = OpeningScale(saved.scale, areaW, areaH, ScreenWidth, ScreenHeight);
    request.fullscreen = saved.fullscreen;
    request.icon = {icon.pixels.data(), icon.width, icon.height};
    request.fit = fitting = saved.fit;
    openedAs = {request.scale, request.fullscreen};
    return PlatformOpenWindow(request);
}

void SaveWindowLayout() {
    WindowLayout now = PlatformWindowLayout();
    if (GameSettingsPath.empty() || (now.scale == openedAs.scale && now.fullscreen == openedAs.fullscreen)) return;
    UpdateDisplaySettings(GameSettingsPath, [&](DisplaySettings& s) {
        if (!s.fit) s.scale = now.scale;  // a fitting picture has no whole scale to keep
        s.fullscreen = now.fullscreen;
    });
}

bool PictureFit() { return fitting; }

void SetPictureFit(bool fit) {
    fitting = fit;
    PlatformSetPictureFit(fit);
    if (GameSettingsPath.empty()) return;
    WindowLayout now = PlatformWindowLayout();
    UpdateDisplaySettings(GameSettingsPath, [&](DisplaySettings& s) {
        s.fit = fit;
        if (!fit) s.scale = now.scale;
    });
}

void RememberLanguage(Language language) {
    if (GameSettingsPath.empty()) return;
    UpdateDisplaySettings(GameSettingsPath, [&](DisplaySettings& s) { s.language = LanguageName(language); });
}
