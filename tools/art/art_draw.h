// Drawing helpers of the art generators: float colours, shapes sampled per
// pixel with supersampling, and twisted rope laid along paths.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "draw/surface.h"

struct Colour {
    float r = 0, g = 0, b = 0;
};

Colour FromRgb(uint32_t rgb);
uint32_t ToRgb(Colour c);
Colour Mix(Colour a, Colour b, float t);  // t = 0 gives a, 1 gives b
Colour Shade(Colour c, float k);          // k < 1 darker, k > 1 lighter (towards white)

struct Pt {
    float x = 0, y = 0;
};

// A picture element sampled at a point: its colour and whether it covers the point.
struct Sample {
    Colour colour;
    bool covered = false;
};
using Scene = std::function<Sample(Pt)>;

// Renders `scene` into the w x h rectangle of `image` at (x, y). Scene units
// are `scale` pixels each; every pixel averages n x n samples. The covered
// samples decide the mask: a pixel is opaque when at least half are covered.
// `mask` (may be null) receives maskOn / maskOff at the same position offset
// by (mdx, mdy); transparent image pixels get `ground`.
struct RenderTarget {
    Surface* image = nullptr;
    int x = 0, y = 0, w = 32, h = 32;
    float scale = 1;
    Surface* mask = nullptr;
    int mdx = 0, mdy = 0;
    uint32_t maskOn = White, maskOff = Black, ground = White;
};
void Render(const RenderTarget& t, const Scene& scene, int n = 4);

// A rope path: a polyline whose points carry the distance `s` along the rope.
// Ropes are coloured by s and by the signed distance d to the right-hand side
// of the direction of travel; the twist stripes depend on s + d only, are
// symmetric in it, and repeat every RopePeriod, so two pieces that meet with
// s = 0 (mod RopePeriod) at the same point join without a seam.
inline constexpr float RopePeriod = 16.0f / 3.0f;
struct RopePath {
    std::vector<Pt> pts;
    std::vector<float> s;
};
RopePath RopeLine(Pt a, Pt b, float s0);
// Arc around c from angle a0 to a1 (radians, screen y down), its length in s
// stretched to a whole number of periods.
RopePath RopeArc(Pt c, float radius, float a0, float a1, float s0);
RopePath RopePolyline(const std::vector<Pt>& pts, float s0);

struct RopeHit {
    float dist = 1e9f;  // unsigned distance to the centre line
    float d = 0;        // signed, positive on the right-hand side
    float s = 0;
};
RopeHit NearestOnRope(const RopePath& path, Pt p);

struct RopeColours {
    Colour body, groove, outline;
};
RopeColours RopePalette(Colour body);

// Colour of a rope of half width `halfWidth` at a point of the given hit, when covered.
Sample RopeSample(const RopeHit& hit, float halfWidth, const RopeColours& pal);

// Rope ball (knot) of radius r around c.
Sample KnotSample(Pt c, float r, Pt p, const RopeColours& pal);

float Dist(Pt a, Pt b);

// Polyline through the points with every inner corner rounded off.
std::vector<Pt> RoundedCorners(const std::vector<Pt>& pts, float radius);
// Points along a cubic Bezier curve (ends included).
std::vector<Pt> Bezier(Pt p0, Pt c1, Pt c2, Pt p3, int steps = 24);
