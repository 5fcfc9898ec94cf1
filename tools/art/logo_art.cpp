// The title logo: "TESSMAR" written in coloured rope with a deep shadow, over
// a hemp rope that curls into a loop around a fish. The picture lies on
// black and its mask is black where the logo covers the screen.
#include <cmath>
#include <numbers>

#include "tools/art/art.h"
#include "tools/art/art_draw.h"

namespace {
constexpr float Pi = std::numbers::pi_v<float>;
constexpr float LetterRope = 5.5f;  // half width of the letters' rope
constexpr float LineRope = 4.0f;    // half width of the rope below

struct Stroke {
    RopePath path;
    RopeColours colours;
    float halfWidth;
};

std::vector<Pt> Shift(std::vector<Pt> pts, float dx, float dy) {
    for (Pt& p : pts) {
        p.x += dx;
        p.y += dy;
    }
    return pts;
}

std::vector<Pt> Concat(std::vector<Pt> a, const std::vector<Pt>& b) {
    a.insert(a.end(), b.begin() + 1, b.end());
    return a;
}

// Letters in a 60-unit-high box whose top left is (x, y).
std::vector<std::vector<Pt>> Letter(char c, float x, float y) {
    std::vector<std::vector<Pt>> s;
    auto add = [&](std::vector<Pt> pts) { s.push_back(Shift(std::move(pts), x, y)); };
    switch (c) {
        case 'T':
            add({{3, 6}, {37, 6}});
            add({{20, 6}, {20, 55}});
            break;
        case 'E':
            add(RoundedCorners({{31, 6}, {6, 6}, {6, 54}, {31, 54}}, 7));
            add({{6, 30}, {26, 30}});
            break;
        case 'S':
            add(Concat(Concat(Bezier({31, 12}, {27, 2}, {7, 2}, {7, 15}), Bezier({7, 15}, {7, 27}, {31, 26}, {31, 41})),
                       Bezier({31, 41}, {31, 57}, {8, 58}, {5, 47})));
            break;
        case 'M':
            add(RoundedCorners({{5, 55}, {5, 6}, {23, 36}, {41, 6}, {41, 55}}, 6));
            break;
        case 'A':
            add(RoundedCorners({{4, 55}, {20, 5}, {36, 55}}, 6));
            add({{11, 38}, {29, 38}});
            break;
        case 'R':
            add(Concat(Concat(RoundedCorners({{6, 55}, {6, 6}, {19, 6}}, 5), Bezier({19, 6}, {35, 6}, {35, 30}, {19, 30})),
                       std::vector<Pt>{{19, 30}, {7, 30}}));
            add({{18, 31}, {33, 55}});
            break;
    }
    return s;
}

struct Logo {
    std::vector<Stroke> letters;
    std::vector<Stroke> line;  // drawn in order, so the curl crosses over itself
    Pt fish{137, 86};
};

Logo BuildLogo() {
    // Network colours, in the order the blocks use them.
    static const Colour colours[] = {{228, 66, 58}, {236, 176, 30}, {62, 176, 74}, {30, 184, 196}, {58, 118, 232},
                                     {160, 84, 212}, {228, 66, 58}};
    static const float widths[] = {40, 34, 36, 36, 46, 40, 36};
    const char* word = "TESSMAR";
    Logo logo;
    float x = 5;
    for (int i = 0; i < 7; ++i) {
        for (auto& pts : Letter(word[i], x, 3))
            logo.letters.push_back({RopePolyline(pts, 0), RopePalette(colours[i]), LetterRope});
        x += widths[i] + 2.5f;
    }
    // The rope below: a gentle wave that throws one loop around a fish.
    // The loop is a trochoid; its two halves are drawn one after the other
    // so that the rope crosses over itself.
    const float base = 133, cx = 150;
    auto curlAt = [&](float t) {
        return Pt{cx + 6 * (t - Pi) + 30 * std::sin(t), base - 27 * (1 - std::cos(t))};
    };
    std::vector<Pt> a, b;
    const Pt entry = curlAt(0), leave = curlAt(2 * Pi);
    for (int i = 0; i <= 60; ++i) {
        float px = 14 + float(i) * (entry.x - 14) / 60;
        a.push_back({px, base + 3 * std::sin((entry.x - px) / 14)});
    }
    for (int i = 1; i <= 80; ++i) a.push_back(curlAt(Pi * float(i) / 80));
    for (int i = 0; i <= 80; ++i) b.push_back(curlAt(Pi + Pi * float(i) / 80));
    for (int i = 1; i <= 60; ++i) {
        float px = leave.x + float(i) * (286 - leave.x) / 60;
        b.push_back({px, base - 3 * std::sin((px - leave.x) / 14)});
    }
    const RopeColours hemp = RopePalette({214, 158, 86});
    RopePath first = RopePolyline(a, 0);
    logo.line.push_back({first, hemp, LineRope});
    logo.line.push_back({RopePolyline(b, first.s.back()), hemp, LineRope});
    logo.fish = {cx - 16, base - 31 - 16};
    return logo;
}

Sample StrokesAt(const std::vector<Stroke>& strokes, Pt p) {
    Sample out;
    for (const Stroke& s : strokes) {
        Sample r = RopeSample(NearestOnRope(s.path, p), s.halfWidth, s.colours);
        if (r.covered) out = r;
    }
    return out;
}
}  // namespace

void DrawLogoSheet(Surface& sheet) {
    sheet.Create(300, 300);
    const Logo logo = BuildLogo();
    const Colour shadow{18, 34, 84};
    // The fish caught in the curl, as a small sprite of its own.
    Surface fish, fishMask;
    fish.Create(32, 32);
    fishMask.Create(32, 32);
    DrawFishFrame(2, fish, 0, 0, fishMask, 0, 0);
    const int fx = int(logo.fish.x), fy = int(logo.fish.y);
    Scene scene = [&](Pt p) -> Sample {
        Sample s = StrokesAt(logo.letters, p);
        if (s.covered) return s;
        if (StrokesAt(logo.letters, {p.x - 4, p.y - 4}).covered) return {shadow, true};
        s = StrokesAt(logo.line, p);
        if (s.covered) return s;
        int ix = int(std::floor(p.x)) - fx, iy = int(std::floor(p.y)) - fy;
        if (ix >= 0 && iy >= 0 && ix < 32 && iy < 32 && fishMask.At(ix, iy) == White) return {FromRgb(fish.At(ix, iy)), true};
        if (StrokesAt(logo.line, {p.x - 3, p.y - 3}).covered) return {shadow, true};
        return {};
    };
    RenderTarget t;
    t.image = &sheet;
    t.w = 300;
    t.h = 150;
    t.mask = &sheet;
    t.mdy = 150;
    t.maskOn = Black;
    t.maskOff = White;
    t.ground = Black;
    Render(t, scene);
    // No drawn pixel of the picture may be black: it would not show when ORed.
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 300; ++x)
            if (sheet.At(x, y + 150) == Black && sheet.At(x, y) == Black) sheet.At(x, y) = Rgb(1, 1, 1);
}
