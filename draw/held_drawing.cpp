#include "draw/held_drawing.h"

#include <algorithm>
#include <cstdint>

Surface* HeldSurface = nullptr;

namespace {
constexpr int TileSize = 8;  // the squares the picture is compared in: a fish's move changes few

enum class OpKind : uint8_t { Blit, Repeated, Fill };
struct HeldOp {
    OpKind kind;
    Rop rop;
    const Surface* src;
    uint32_t srcVersion;
    int dx, dy, w, h, sx, sy, areaW, areaH;
    uint32_t colour;
};

Surface*& held = HeldSurface;
std::vector<HeldOp> ops;          // this frame's, in order
bool coverFirst = false;          // this frame began with a copy over the whole picture
bool knownLast = false;           // lastKeys tell what the pixels are
std::vector<uint64_t> keys, lastKeys;  // per square: the operations over it, folded in order
int tilesX = 0, tilesY = 0;
std::vector<uint8_t> changed;     // per square, since TakeChangedAreas
bool allChanged = true;
std::vector<uint8_t> drawNow;     // this flush's squares
std::vector<DrawnArea> drawRects, changedRects;

// As BitBlt clips: the rectangle shrunk into [0, limit) on one axis, the
// other coordinate moved along.
void ClipAxis(int& pos, int& other, int& len, int limit) {
    if (pos < 0) {
        other -= pos;
        len += pos;
        pos = 0;
    }
    if (pos + len > limit) len = limit - pos;
}

// The pixels of the held surface an operation writes; w or h <= 0 when none.
DrawnArea Written(const HeldOp& op) {
    int dx = op.dx, dy = op.dy, w = op.w, h = op.h, sx = op.sx, sy = op.sy;
    ClipAxis(dx, sx, w, held->width);
    ClipAxis(dy, sy, h, held->height);
    if (op.kind == OpKind::Blit) {
        ClipAxis(sx, dx, w, op.src->width);
        ClipAxis(sy, dy, h, op.src->height);
    } else if (op.kind == OpKind::Repeated) {
        ClipAxis(sx, dx, w, op.areaW);
        ClipAxis(sy, dy, h, op.areaH);
    }
    if (dx < 0 || dy < 0) w = 0;
    return {dx, dy, w, h};
}

bool CoversAll(const HeldOp& op) {
    if (op.rop != Rop::Copy) return false;
    if (op.kind == OpKind::Repeated && (op.src->width <= 0 || op.src->height <= 0)) return false;
    DrawnArea a = Written(op);
    return a.x == 0 && a.y == 0 && a.w == held->width && a.h == held->height;
}

uint64_t Mix(uint64_t h, uint64_t v) {
    h ^= v + 0x9E3779B97F4A7C15u + (h << 6) + (h >> 2);
    return h * 0xBF58476D1CE4E5B9u;
}

uint64_t Key(const HeldOp& op) {
    uint64_t k = Mix(uint64_t(op.kind) << 8 | uint64_t(op.rop), reinterpret_cast<uintptr_t>(op.src));
    for (int64_t v : {int64_t(op.srcVersion), int64_t(op.dx), int64_t(op.dy), int64_t(op.w), int64_t(op.h),
                      int64_t(op.sx), int64_t(op.sy), int64_t(op.areaW), int64_t(op.areaH), int64_t(op.colour)})
        k = Mix(k, uint64_t(v));
    return k;
}

void Size() {
    int x = (held->width + TileSize - 1) / TileSize, y = (held->height + TileSize - 1) / TileSize;
    if (x == tilesX && y == tilesY) return;
    tilesX = x;
    tilesY = y;
    keys.assign(size_t(x) * size_t(y), 0);
    lastKeys = keys;
    changed.assign(keys.size(), 0);
    drawNow.assign(keys.size(), 0);
    knownLast = false;
    allChanged = true;
}

// The marked squares as rectangles of pixels: runs along each row of
// squares, a run continuing one of the row above with the same ends.
std::vector<size_t> endAbove, endHere;  // rectangles reaching the row above, this row

void Rectangles(const std::vector<uint8_t>& marks, std::vector<DrawnArea>& out) {
    out.clear();
    endAbove.clear();
    for (int ty = 0; ty < tilesY; ++ty) {
        endHere.clear();
        const uint8_t* row = marks.data() + size_t(ty) * size_t(tilesX);
        for (int tx = 0; tx < tilesX;) {
            if (!row[tx]) {
                ++tx;
                continue;
            }
            int end = tx;
            while (end < tilesX && row[end]) ++end;
            DrawnArea r{tx * TileSize, ty * TileSize, std::min(end * TileSize, held->width) - tx * TileSize,
                        std::min((ty + 1) * TileSize, held->height) - ty * TileSize};
            auto above = std::find_if(endAbove.begin(), endAbove.end(),
                                      [&](size_t i) { return out[i].x == r.x && out[i].w == r.w; });
            if (above != endAbove.end()) {
                out[*above].h += r.h;
                endHere.push_back(*above);
            } else {
                out.push_back(r);
                endHere.push_back(out.size() - 1);
            }
            tx = end;
        }
        std::swap(endAbove, endHere);
    }
}

// One operation cut to a rectangle of the held surface, carried out.
void RunWithin(const HeldOp& op, const DrawnArea& r) {
    int x0 = std::max(op.dx, r.x), x1 = std::min(op.dx + op.w, r.x + r.w);
    int y0 = std::max(op.dy, r.y), y1 = std::min(op.dy + op.h, r.y + r.h);
    if (x1 <= x0 || y1 <= y0) return;
    int sx = op.sx + (x0 - op.dx), sy = op.sy + (y0 - op.dy);
    switch (op.kind) {
        case OpKind::Blit: BitBltNow(*held, x0, y0, x1 - x0, y1 - y0, *op.src, sx, sy, op.rop); break;
        case OpKind::Repeated:
            BitBltRepeatedNow(*held, x0, y0, x1 - x0, y1 - y0, *op.src, op.areaW, op.areaH, sx, sy, op.rop);
            break;
        case OpKind::Fill: FillRectNow(*held, x0, y0, x1 - x0, y1 - y0, op.colour); break;
    }
}

void Hold(const HeldOp& op) {
    const bool cover = CoversAll(op);
    if (cover && !ops.empty()) ShowHeldDrawing();  // a new frame over one never shown
    if (ops.empty()) coverFirst = cover;
    ops.push_back(op);
}
}  // namespace

void HoldDrawingOf(Surface* s) {
    ShowHeldDrawing();
    held = s;
    DropHeldDrawing();
}

void ShowHeldDrawing() {
    if (held == nullptr || ops.empty()) return;
    Size();
    // A cover goes into every square: it starts them all at once.
    std::fill(keys.begin(), keys.end(), coverFirst ? Mix(0, Key(ops.front())) : 0);
    for (size_t i = coverFirst ? 1 : 0; i < ops.size(); ++i) {
        const HeldOp& op = ops[i];
        DrawnArea a = Written(op);
        if (a.w <= 0 || a.h <= 0) continue;
        const uint64_t k = Key(op);
        for (int ty = a.y / TileSize; ty <= (a.y + a.h - 1) / TileSize; ++ty)
            for (int tx = a.x / TileSize; tx <= (a.x + a.w - 1) / TileSize; ++tx) {
                uint64_t& t = keys[size_t(ty) * size_t(tilesX) + size_t(tx)];
                t = Mix(t, k);
            }
    }
    const bool all = !coverFirst || !knownLast;
    for (size_t i = 0; i < keys.size(); ++i) {
        drawNow[i] = all || keys[i] != lastKeys[i];
        changed[i] |= drawNow[i];
    }
    Rectangles(drawNow, drawRects);
    for (const HeldOp& op : ops) {
        DrawnArea a = Written(op);
        if (a.w <= 0 || a.h <= 0) continue;
        for (const DrawnArea& r : drawRects) RunWithin(op, r);
    }
    ops.clear();
    knownLast = coverFirst;
    std::swap(keys, lastKeys);
}

const std::vector<DrawnArea>& TakeChangedAreas() {
    changedRects.clear();
    if (held == nullptr) return changedRects;
    if (allChanged || tilesX == 0) {
        changedRects.push_back({0, 0, held->width, held->height});
    } else {
        Rectangles(changed, changedRects);
    }
    std::fill(changed.begin(), changed.end(), 0);
    allChanged = false;
    return changedRects;
}

void HoldBlit(int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
    if (w <= 0 || h <= 0) return;
    Hold({OpKind::Blit, rop, &src, src.version, dx, dy, w, h, sx, sy, 0, 0, 0});
}

void HoldRepeated(int dx, int dy, int w, int h, const Surface& pattern, int areaW, int areaH, int sx, int sy, Rop rop) {
    if (w <= 0 || h <= 0 || pattern.width <= 0 || pattern.height <= 0) return;
    Hold({OpKind::Repeated, rop, &pattern, pattern.version, dx, dy, w, h, sx, sy, areaW, areaH, 0});
}

void HoldFill(int x, int y, int w, int h, uint32_t colour) {
    if (w <= 0 || h <= 0) return;
    Hold({OpKind::Fill, Rop::Copy, nullptr, 0, x, y, w, h, 0, 0, 0, 0, colour});
}

void DropHeldDrawing() {
    ops.clear();
    knownLast = false;
    allChanged = true;
    tilesX = tilesY = 0;
}

void HeldSurfaceDrawnAtOnce() {
    knownLast = false;
    allChanged = true;
}
