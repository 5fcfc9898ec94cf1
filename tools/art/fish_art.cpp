// The fish: an orange fish with a white band, seen from the side, drawn
// swimming and caught (tilted, dizzy, drops flying), facing either way.
#include <cmath>
#include <numbers>

#include "tools/art/art.h"
#include "tools/art/art_draw.h"

namespace {
const Colour Orange{250, 128, 34}, Belly{255, 194, 104}, FinRed{232, 78, 36}, Rim{96, 34, 10};
const Colour Band{250, 250, 244}, EyeWhite{250, 250, 250}, Pupil{24, 20, 36};

// Fish facing left in a 32-unit square.
bool InBody(Pt p) {
    float dx = (p.x - 14.5f) / 10.5f, dy = (p.y - 16.5f) / 7.5f;
    return dx * dx + dy * dy <= 1;
}
bool InTail(Pt p) {
    if (p.x < 22 || p.x > 30.5f) return false;
    float dy = std::fabs(p.y - 16.5f);
    if (dy > 1.8f + (p.x - 22) * 0.95f) return false;
    return !(p.x > 27.5f && dy < (p.x - 27.5f) * 1.3f);  // forked tail
}
bool InDorsal(Pt p) {
    return p.y > 5.5f && p.y < 11 && p.x > 11 && p.x < 21 && p.y > 5.5f + (21 - p.x) * 0.45f;
}
bool InVentral(Pt p) { return p.y > 21 && p.y < 25.5f && p.x > 14 && p.x < 19.5f && p.y < 21 + (p.x - 14) * 0.8f; }
bool InFish(Pt p) { return InBody(p) || InTail(p) || InDorsal(p) || InVentral(p); }

Colour FishFill(Pt p, bool caught) {
    if (!InBody(p)) return InTail(p) ? Mix(FinRed, Orange, std::fabs(p.y - 16.5f) / 9) : FinRed;
    // Eye and mouth.
    Pt eye{9.0f, 14.0f};
    float de = Dist(p, eye);
    if (!caught) {
        if (de < 1.5f) return Pupil;
        if (de < 2.7f) return EyeWhite;
    } else {
        // Dizzy: a cross in the eye.
        float dx = p.x - eye.x, dy = p.y - eye.y;
        if (de < 2.3f && std::fabs(std::fabs(dx) - std::fabs(dy)) < 0.75f) return Pupil;
        if (de < 2.9f) return EyeWhite;
        if (Dist(p, {4.8f, 18.6f}) < 1.5f) return Pupil;  // open mouth
    }
    if (!caught && p.x < 6.2f && std::fabs(p.y - 18.2f + (p.x - 4) * 0.3f) < 0.45f) return Rim;
    // White band behind the eye, edged dark.
    float band = std::fabs(p.x - 14.2f - (p.y - 16.5f) * 0.25f);
    if (band < 1.4f) return Band;
    if (band < 2.0f) return Rim;
    Colour c = p.y > 18.5f ? Belly : Orange;
    if (p.y < 13) c = Shade(c, 1.12f);
    return c;
}

Scene FishScene(int frame) {
    bool caught = frame % 2 == 1;
    bool right = frame >= 2;
    float angle = caught ? -0.42f : 0.0f;  // caught: nose tipped up
    float ca = std::cos(angle), sa = std::sin(angle);
    auto toFish = [=](Pt p) {
        if (right) p.x = 32 - p.x;
        float x = p.x - 16, y = p.y - 16;
        return Pt{16 + x * ca - y * sa, 16 + x * sa + y * ca};
    };
    return [=](Pt p) -> Sample {
        Pt q = toFish(p);
        if (!InFish(q)) {
            // Caught fish: two drops of water thrown off above the head.
            if (caught) {
                Pt r = p;
                if (right) r.x = 32 - r.x;
                for (Pt drop : {Pt{4.5f, 6.5f}, Pt{9.5f, 3.0f}}) {
                    float dd = Dist(r, drop);
                    if (dd < 1.3f) return {{206, 236, 255}, true};
                    if (dd < 2.3f) return {{28, 64, 128}, true};
                }
            }
            return {};
        }
        for (int k = 0; k < 8; ++k) {
            float a = float(k) * std::numbers::pi_v<float> / 4;
            if (!InFish(toFish({p.x + std::cos(a), p.y + std::sin(a)}))) return {Rim, true};
        }
        return {FishFill(q, caught), true};
    };
}
}  // namespace

void DrawFishFrame(int frame, Surface& image, int x, int y, Surface& mask, int mx, int my) {
    RenderTarget t;
    t.image = &image;
    t.x = x;
    t.y = y;
    t.mask = &mask;
    t.mdx = mx - x;
    t.mdy = my - y;
    Render(t, FishScene(frame));
}
