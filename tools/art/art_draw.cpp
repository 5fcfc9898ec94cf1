#include "tools/art/art_draw.h"

#include <algorithm>
#include <cmath>

Colour FromRgb(uint32_t rgb) {
    return {float((rgb >> 16) & 255), float((rgb >> 8) & 255), float(rgb & 255)};
}

static int Channel(float v) { return std::clamp(int(std::lround(v)), 0, 255); }

uint32_t ToRgb(Colour c) { return Rgb(Channel(c.r), Channel(c.g), Channel(c.b)); }

Colour Mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour Shade(Colour c, float k) {
    if (k <= 1) return {c.r * k, c.g * k, c.b * k};
    return Mix(c, {255, 255, 255}, std::min(k - 1, 1.0f));
}

float Dist(Pt a, Pt b) { return std::hypot(a.x - b.x, a.y - b.y); }

void Render(const RenderTarget& t, const Scene& scene, int n) {
    for (int py = 0; py < t.h; ++py)
        for (int px = 0; px < t.w; ++px) {
            Colour sum;
            int covered = 0;
            for (int sy = 0; sy < n; ++sy)
                for (int sx = 0; sx < n; ++sx) {
                    Pt p{(float(px) + (float(sx) + 0.5f) / float(n)) / t.scale,
                         (float(py) + (float(sy) + 0.5f) / float(n)) / t.scale};
                    Sample smp = scene(p);
                    if (!smp.covered) continue;
                    sum.r += smp.colour.r;
                    sum.g += smp.colour.g;
                    sum.b += smp.colour.b;
                    ++covered;
                }
            bool opaque = 2 * covered >= n * n;
            uint32_t colour = t.ground;
            if (opaque) {
                float k = 1.0f / float(covered);
                colour = ToRgb({sum.r * k, sum.g * k, sum.b * k});
                // A drawn pixel of a masked sprite is never the white ground.
                if (t.mask && colour == White) colour = Rgb(254, 254, 254);
            }
            t.image->At(t.x + px, t.y + py) = colour;
            if (t.mask) t.mask->At(t.x + px + t.mdx, t.y + py + t.mdy) = opaque ? t.maskOn : t.maskOff;
        }
}

RopePath RopeLine(Pt a, Pt b, float s0) {
    return RopePath{{a, b}, {s0, s0 + Dist(a, b)}};
}

RopePath RopePolyline(const std::vector<Pt>& pts, float s0) {
    RopePath path;
    float s = s0;
    for (size_t i = 0; i < pts.size(); ++i) {
        if (i > 0) s += Dist(pts[i - 1], pts[i]);
        path.pts.push_back(pts[i]);
        path.s.push_back(s);
    }
    return path;
}

RopePath RopeArc(Pt c, float radius, float a0, float a1, float s0) {
    const float length = std::fabs(a1 - a0) * radius;
    const float stretched = std::max(1.0f, std::round(length / RopePeriod)) * RopePeriod;
    const int steps = std::max(8, int(length));
    RopePath path;
    for (int i = 0; i <= steps; ++i) {
        float t = float(i) / float(steps);
        float a = a0 + (a1 - a0) * t;
        path.pts.push_back({c.x + radius * std::cos(a), c.y + radius * std::sin(a)});
        path.s.push_back(s0 + stretched * t);
    }
    return path;
}

RopeHit NearestOnRope(const RopePath& path, Pt p) {
    RopeHit best;
    for (size_t i = 0; i + 1 < path.pts.size(); ++i) {
        Pt a = path.pts[i], b = path.pts[i + 1];
        float hx = b.x - a.x, hy = b.y - a.y;
        float len2 = hx * hx + hy * hy;
        float t = len2 > 0 ? std::clamp(((p.x - a.x) * hx + (p.y - a.y) * hy) / len2, 0.0f, 1.0f) : 0.0f;
        Pt q{a.x + hx * t, a.y + hy * t};
        float dist = Dist(p, q);
        if (dist >= best.dist) continue;
        float len = std::sqrt(len2);
        best.dist = dist;
        // Right-hand side of the heading (hx, hy) on a y-down screen is (-hy, hx).
        best.d = len > 0 ? ((p.x - q.x) * -hy + (p.y - q.y) * hx) / len : 0;
        best.s = path.s[i] + (path.s[i + 1] - path.s[i]) * t;
    }
    return best;
}

RopeColours RopePalette(Colour body) {
    return {body, Shade(body, 0.62f), Shade(body, 0.32f)};
}

Sample RopeSample(const RopeHit& hit, float halfWidth, const RopeColours& pal) {
    if (hit.dist > halfWidth) return {};
    float t = hit.d / halfWidth;
    if (hit.dist > halfWidth - 1.0f) return {pal.outline, true};
    // Round body: light along the middle, darker towards the edges, a little
    // lighter on the upper-left side of travel.
    Colour c = Shade(pal.body, 1.12f - 0.42f * t * t + 0.06f * -t);
    float u = (hit.s + 0.9f * hit.d) / RopePeriod;
    float off = std::fabs(u - std::floor(u + 0.5f)) * RopePeriod;  // distance to the nearest groove
    if (off < 0.75f) c = Mix(pal.groove, c, off / 0.75f * 0.35f);
    return {c, true};
}

Sample KnotSample(Pt c, float r, Pt p, const RopeColours& pal) {
    float dist = Dist(c, p);
    if (dist > r) return {};
    if (dist > r - 1.0f) return {pal.outline, true};
    float lit = Dist({c.x - r * 0.35f, c.y - r * 0.35f}, p) / (r * 1.35f);
    Colour col = Shade(pal.body, 1.25f - 0.6f * lit);
    // Two wraps of rope around the knot.
    float w = std::fabs((p.x - c.x) + (p.y - c.y) * 0.3f);
    if (std::fabs(w - r * 0.4f) < 0.6f || std::fabs(w - r * 0.0f) < 0.5f) col = Mix(col, pal.groove, 0.8f);
    return {col, true};
}

std::vector<Pt> Bezier(Pt p0, Pt c1, Pt c2, Pt p3, int steps) {
    std::vector<Pt> out;
    for (int i = 0; i <= steps; ++i) {
        float t = float(i) / float(steps), u = 1 - t;
        float a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        out.push_back({a * p0.x + b * c1.x + c * c2.x + d * p3.x, a * p0.y + b * c1.y + c * c2.y + d * p3.y});
    }
    return out;
}

std::vector<Pt> RoundedCorners(const std::vector<Pt>& pts, float radius) {
    if (pts.size() < 3) return pts;
    std::vector<Pt> out{pts.front()};
    for (size_t i = 1; i + 1 < pts.size(); ++i) {
        Pt a = pts[i - 1], b = pts[i], c = pts[i + 1];
        float la = Dist(a, b), lc = Dist(b, c);
        float r = std::min({radius, la / 2, lc / 2});
        Pt p0{b.x + (a.x - b.x) * r / la, b.y + (a.y - b.y) * r / la};
        Pt p1{b.x + (c.x - b.x) * r / lc, b.y + (c.y - b.y) * r / lc};
        // Quadratic curve from p0 to p1 with b as its control point.
        for (int k = 0; k <= 8; ++k) {
            float t = float(k) / 8, u = 1 - t;
            out.push_back({u * u * p0.x + 2 * u * t * b.x + t * t * p1.x, u * u * p0.y + 2 * u * t * b.y + t * t * p1.y});
        }
    }
    out.push_back(pts.back());
    return out;
}
