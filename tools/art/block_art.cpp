// Block pictures: a bevelled tile carrying a twisted rope that leaves the
// cell at the middle of each of its sides, so joined neighbours' ropes run on.
#include <cmath>
#include <numbers>

#include "rules/board.h"
#include "tools/art/art.h"
#include "tools/art/art_draw.h"

namespace {
constexpr float Pi = std::numbers::pi_v<float>;
constexpr float HalfWidth = 5.0f;  // the rope is 10 units wide, centred on the middle of each side
constexpr float KnotRadius = 5.0f;
constexpr float LashingReach = 9.0f;  // centre to tip of a cross's square lashing

// Plain hemp and six network colours, ordered so that neighbouring group
// numbers get clearly different hues; then the safe palette's six: on the
// sheet every two of them and the hemp stay 28 or more apart (CIE76) for
// normal vision and with protanopia, deuteranopia or tritanopia simulated at
// full severity, where the classic six come as close as 5 (protanopia,
// blue and purple).
const Colour RopeColour[2 * VariantCount + 1] = {
    {214, 158, 86}, {228, 66, 58}, {62, 176, 74}, {58, 118, 232}, {236, 200, 40}, {160, 84, 212}, {30, 184, 196},
    {255, 17, 136}, {17, 204, 238}, {136, 51, 0}, {187, 238, 0}, {85, 68, 255}, {119, 34, 153},
};
const Colour PlainGround{236, 233, 224};

Colour GroundColour(int variant) {
    if (variant == 0) return PlainGround;
    return Mix({246, 246, 246}, RopeColour[variant], 0.30f);
}

RopePath Join(RopePath a, const RopePath& b) {
    float shift = a.s.back() - b.s.front();
    for (size_t i = 1; i < b.pts.size(); ++i) {
        a.pts.push_back(b.pts[i]);
        a.s.push_back(b.s[i] + shift);
    }
    return a;
}

// Edge midpoint of a side, one step outside the cell, and the inward heading.
const Pt EdgeMid[4] = {{16, 0}, {16, 32}, {0, 16}, {32, 16}};
const Pt Inward[4] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}};

// A rope from beyond the edge of `side` to the centre; s is 0 on the edge.
RopePath HalfRope(int side) {
    Pt e = EdgeMid[side], in = Inward[side];
    return RopeLine({e.x - 8 * in.x, e.y - 8 * in.y}, {16, 16}, -8);
}

// Corner from one side to the other along a quarter circle around the cell
// corner they share.
RopePath CornerRope(int kind) {
    struct ArcPiece { int from; Pt centre; float a0, a1; int to; };
    static const ArcPiece arcPieces[4] = {
        {2, {0, 32}, -Pi / 2, 0, 1},       // down-left
        {2, {0, 0}, Pi / 2, 0, 0},         // up-left
        {3, {32, 0}, Pi / 2, Pi, 0},       // up-right
        {3, {32, 32}, -Pi / 2, -Pi, 1},    // down-right
    };
    const ArcPiece& sp = arcPieces[kind - 3];
    Pt e = EdgeMid[sp.from], in = Inward[sp.from];
    RopePath path = RopeLine({e.x - 8 * in.x, e.y - 8 * in.y}, e, -8);
    path = Join(path, RopeArc(sp.centre, 16, sp.a0, sp.a1, 0));
    Pt t = EdgeMid[sp.to], out{-Inward[sp.to].x, -Inward[sp.to].y};
    return Join(path, RopeLine(t, {t.x + 8 * out.x, t.y + 8 * out.y}, 0));
}

// A cross's middle: a square lashing set on its point, wider than the rope,
// so a cross never reads as a knot whose missing end is hidden by a
// neighbour's rope.
Sample LashingSample(Pt p, const RopeColours& pal) {
    float dx = p.x - 16, dy = p.y - 16, reach = std::fabs(dx) + std::fabs(dy);
    if (reach > LashingReach) return {};
    if (reach > LashingReach - 1.2f) return {pal.outline, true};
    Colour col = Shade(pal.body, 1.2f - 0.04f * (dx + dy));
    // Wraps of cord across it, along one diagonal.
    if (std::fmod(std::fabs(dx - dy) + 0.5f, 3.5f) < 0.9f) col = Mix(col, pal.groove, 0.8f);
    return {col, true};
}

Colour BevelGround(Colour base, Pt p) {
    float x = p.x, y = p.y;
    if (x < 1 || y < 1 || x > 31 || y > 31) return Shade(base, 0.58f);
    if (x < 3 || y < 3) return Shade(base, 1.35f);
    if (x > 29 || y > 29) return Shade(base, 0.84f);
    return Shade(base, 1.06f - 0.08f * (y / 32));
}

Colour WallGround(Pt p) {
    Colour stone{150, 152, 166};
    float x = p.x, y = p.y;
    if (x < 1 || y < 1 || x > 31 || y > 31) return Shade(stone, 0.5f);
    int course = int(y / 8);
    float bx = std::fmod(x + (course % 2 ? 8.0f : 0.0f), 16.0f);
    float by = std::fmod(y, 8.0f);
    if (by < 1.2f || bx < 1.2f) return Shade(stone, 0.68f);
    if (by < 2.4f || bx < 2.4f) return Shade(stone, 1.22f);
    if (by > 7.0f || bx > 15.0f) return Shade(stone, 0.86f);
    return stone;
}

Scene BlockScene(int kind, int variant) {
    const Colour ground = GroundColour(variant);
    const RopeColours rope = RopePalette(RopeColour[variant]);
    std::vector<RopePath> paths;
    bool knot = false;
    if (kind == 1) paths.push_back(RopeLine({-8, 16}, {40, 16}, -8));
    if (kind == 2) paths.push_back(RopeLine({16, -8}, {16, 40}, -8));
    if (kind >= 3 && kind <= 6) paths.push_back(CornerRope(kind));
    if (kind >= 7 && kind <= 11) {
        for (int side = 0; side < 4; ++side)
            if (KindRopeSides[kind][side]) paths.push_back(HalfRope(side));
        knot = true;
    }
    return [=](Pt p) -> Sample {
        if (kind == 13) return {WallGround(p), true};
        Sample out{BevelGround(ground, p), true};
        for (const RopePath& path : paths) {
            Sample r = RopeSample(NearestOnRope(path, p), HalfWidth, rope);
            if (r.covered) out = r;
        }
        if (knot && kind == Cross) {
            Sample k = LashingSample(p, rope);
            if (k.covered) out = k;
        } else if (knot) {
            Sample k = KnotSample({16, 16}, KnotRadius, p, rope);
            if (k.covered) out = k;
        }
        if (kind == 12) {
            // A ring with no ends of its own, and four small pointers to the
            // sides it will give a rope end.
            static const RopePath ring = RopeArc({16, 16}, 8, 0, 2 * Pi, 0);
            const RopeColours gold = RopePalette(variant == 0 ? Colour{232, 188, 52} : RopeColour[variant]);
            Sample r = RopeSample(NearestOnRope(ring, p), 3.5f, gold);
            if (r.covered) return r;
            float ax = std::fabs(p.x - 16), ay = std::fabs(p.y - 16);
            float along = std::max(ax, ay), across = std::min(ax, ay);
            if (along > 11.5f && along < 15.0f && across < (15.0f - along) * 1.1f)
                return {Shade(gold.body, 0.75f), true};
        }
        return out;
    };
}
}  // namespace

void DrawBlockPicture(Surface& s, int x, int y, int kind, int variant, int size) {
    RenderTarget t;
    t.image = &s;
    t.x = x;
    t.y = y;
    t.w = t.h = size;
    t.scale = float(size) / 32.0f;
    Render(t, BlockScene(kind, variant));
}

void DrawFrameMarker(Surface& image, int x, int y, Surface& mask, int mx, int my) {
    // Four L-shaped brackets in the corners, bright red with a dark rim.
    const Colour red{236, 52, 40}, rim{84, 12, 8};
    auto bracket = [](float u, float v) {  // u, v: distances from the corner
        return (u < 12 && v < 5) || (v < 12 && u < 5);
    };
    auto inner = [](float u, float v) { return (u >= 1 && u < 11 && v >= 1 && v < 4) || (v >= 1 && v < 11 && u >= 1 && u < 4); };
    Scene scene = [=](Pt p) -> Sample {
        float u = std::min(p.x, 32 - p.x), v = std::min(p.y, 32 - p.y);
        if (!bracket(u, v)) return {};
        return {inner(u, v) ? Shade(red, 1.0f + 0.02f * (u + v)) : rim, true};
    };
    RenderTarget t;
    t.image = &image;
    t.x = x;
    t.y = y;
    t.mask = &mask;
    t.mdx = mx - x;
    t.mdy = my - y;
    Render(t, scene, 2);
}
