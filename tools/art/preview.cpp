#include "tools/art/preview.h"

#include <cstring>
#include <filesystem>

#include "draw/sheet_layout.h"
#include "tools/png_io.h"

namespace {
Surface Enlarge(const Surface& s, int k, uint32_t back = Rgb(128, 128, 128)) {
    Surface out;
    out.Create(s.width * k + 8, s.height * k + 8);
    FillRect(out, 0, 0, out.width, out.height, back);
    for (int y = 0; y < s.height * k; ++y)
        for (int x = 0; x < s.width * k; ++x) out.At(4 + x, 4 + y) = s.At(x / k, y / k);
    return out;
}

struct Screen {
    const Surface& block;
    const Surface& font;
    Surface back, gradient, tile;

    Screen(const Surface& b, const Surface& f) : block(b), font(f) {
        back.Create(384, 480);
        gradient.Create(384, 480);
        for (int y = 0; y < 480; ++y) {
            int v = 479 - y;
            FillRect(gradient, 0, y, 384, 1, Rgb(v / 7 + 50, v / 7 + 120, v / 10 + 200));
        }
        tile.Create(384, 480);
        for (int i = 0; i < 12; ++i)
            for (int j = 0; j < 15; ++j) BitBlt(tile, 32 * i, 32 * j, 32, 32, block, SheetTileX, SheetTileY, Rop::Copy);
        BitBlt(back, 0, 0, 384, 480, gradient, 0, 0, Rop::Copy);
    }
    void AndTile(int x, int y, int w, int h) { BitBlt(back, x, y, w, h, tile, x, y, Rop::And); }
    void Masked(int x, int y, int ix, int iy, int mx, int my, int w = 32, int h = 32) {
        BitBlt(back, x, y, w, h, block, mx, my, Rop::Or);
        BitBlt(back, x, y, w, h, block, ix, iy, Rop::And);
    }
    void Block(int kind, int colour, bool framed, int x, int y) {
        Masked(x, y, 32 * kind, 32 + 32 * colour, 32 * kind, 0);
        if (framed) Masked(x, y, SheetFrameMarkerX, SheetImageY, SheetFrameMarkerX, SheetMaskY);
    }
    void Text(const char* s, int x, int y) {
        for (int i = 0; s[i]; ++i) {
            int g = (unsigned char)s[i] - 32;
            if (g < 0 || g > 95) continue;
            BitBlt(back, x + 16 * i, y, 16, 16, font, 16 * (g % 16), 16 * (g / 16) + 256, Rop::Or);
            BitBlt(back, x + 16 * i, y, 16, 16, font, 16 * (g % 16), 16 * (g / 16), Rop::And);
        }
    }
    void Label(int sx, int sy, int w, int x, int y) {
        BitBlt(back, x, y, w, 16, font, sx, sy + 256, Rop::Or);
        BitBlt(back, x, y, w, 16, font, sx, sy, Rop::And);
    }
    void Fish(int frame, int x, int y) {
        int sx = SheetFishX + SheetCell * frame;
        Masked(x, y, sx, SheetImageY, sx, SheetMaskY);
    }
};

// A well with a few rope networks, written as rows of kinds (hex digits, '.' empty).
const char* const WellRows[12] = {
    "........", "........", "........", "........", "........", "....6c..",
    "...6731.", "..259..3", "62..2.54", "5a7b1b3.", "6b5943.2", "54.5113b",
};
const int WellGroups[12][8] = {
    {}, {}, {}, {}, {}, {0, 0, 0, 0, 4, 4, 0, 0},
    {0, 0, 0, 1, 1, 1, 1, 0}, {0, 0, 1, 1, 1, 0, 0, 2}, {3, 3, 0, 0, 1, 0, 2, 2}, {3, 3, 3, 5, 5, 5, 2, 0},
    {3, 5, 5, 5, 6, 6, 0, 2}, {3, 3, 0, 6, 6, 6, 6, 2},
};

void DrawWell(Screen& s, int ox, int oy, bool colours, bool grid, bool frames) {
    s.AndTile(ox, oy, 256, 384);
    for (int c = 0; c < 8; ++c)
        for (int r = 0; r < 12; ++r) {
            if (grid) BitBlt(s.back, ox + 32 * c, oy + 32 * r, 32, 32, s.block, SheetGridX, SheetGridY, Rop::And);
            char k = WellRows[r][c];
            if (k == '.') continue;
            int kind = k <= '9' ? k - '0' : k - 'a' + 10;
            int colour = colours ? WellGroups[r][c] % 6 + 1 : 0;
            s.Block(kind, colour, frames && (c + r) % 5 == 0, ox + 32 * c, oy + 32 * r);
        }
}

void ScoreAttack(const std::string& path, const Surface& block, const Surface& font, bool colours) {
    Screen s(block, font);
    DrawWell(s, 64, 80, colours, false, false);
    s.AndTile(336, 80, 32, 384);
    const int queue[8] = {1, 3, 11, 4, 2, 12, 6, 9};
    for (int j = 0; j < 4; ++j) {
        s.Block(queue[2 * j], 0, false, 336, 96 + 96 * j);
        s.Block(queue[2 * j + 1], 0, false, 336, 128 + 96 * j);
    }
    s.AndTile(6, 200, 52, 54);
    s.Masked(16, 200, SheetFishX, SheetImageY, SheetFishX, SheetMaskY);
    s.Text("*03", 8, 232);
    s.Block(5, 0, false, 64 + 96, 80 + 64);  // falling pair
    s.Block(9, 0, false, 64 + 128, 80 + 64);
    s.AndTile(64, 8, 256, 64);
    s.Text("LV 3", 72, 16);
    s.Text("12480", 64 + 248 - 80, 48);
    s.Fish(0, 250, 300);
    s.Fish(2, 20, 380);
    s.Fish(1, 120, 150);
    WritePng(path, s.back);
}

void Mission(const std::string& path, const Surface& block, const Surface& font) {
    Screen s(block, font);
    DrawWell(s, 16, 80, false, true, true);
    s.AndTile(288, 80, 32, 384);
    s.AndTile(336, 80, 32, 384);
    for (int j = 0; j < 4; ++j) {
        s.Block(1 + j, 0, j == 1, 288, 96 + 96 * j);
        s.Block(6 + j, 0, false, 288, 128 + 96 * j);
        s.Block(11 - j, 0, false, 336, 96 + 96 * j);
        s.Block(2 + j, 0, j == 2, 336, 128 + 96 * j);
    }
    s.AndTile(16, 8, 352, 64);
    s.Text("MISSION 12", 24, 16);
    s.Text("4", 24, 48);
    s.Label(0, 112, 208, 24, 48);
    s.Fish(3, 200, 200);
    WritePng(path, s.back);
}

void GoalLines(const std::string& path, const Surface& block, const Surface& font) {
    Screen s(block, font);
    s.AndTile(0, 0, 384, 480);
    int y = 8;
    auto line = [&](const char* n) { s.Text(n, 8, y); return 8 + 16 * int(std::strlen(n)); };
    int x = line("5");
    s.Label(0, 64, 96, x + 16, y);
    y += 24;
    x = line("40");
    s.Label(0, 80, 112, x + 16, y);
    y += 24;
    x = line("12");
    s.Label(0, 96, 192, x + 16, y);
    y += 24;
    s.Label(0, 112, 208, 8, y);
    y += 24;
    s.Label(0, 128, 240, 8, y);
    s.Label(176, 112, 80, 8 + 256, y);
    y += 24;
    s.Label(0, 144, 64, 8, y);
    s.Text("9", 88, y);
    s.Label(80, 144, 144, 104 + 16, y);
    y += 24;
    s.Text("MSN6", 8, y);
    s.Text("30000", 104, y);
    s.Label(0, 160, 80, 104 + 80, y);
    y += 24;
    s.Label(0, 176, 48, 8, y);
    s.Text("7", 72, y);
    s.Label(64, 176, 112, 88 + 16, y);
    y += 32;
    s.Text("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0, y);
    y += 24;
    s.Text("0123456789 -./ ()*<>[]", 0, y);
    y += 24;
    s.Text("SCORE ATTACK", 100, y);
    s.Text(">", 80, y);
    WritePng(path, s.back);
}

void Title(const std::string& path, const Surface& block, const Surface& font, const Surface& logo) {
    Screen s(block, font);
    s.Fish(0, 300, 200);
    s.Fish(2, 30, 420);
    s.AndTile(0, 0, 384, 480);
    const char* items[4] = {"SCORE ATTACK", "MISSION MODE", "RECORD", "QUIT"};
    for (int i = 0; i < 4; ++i) s.Text(items[i], 100, 300 + 24 * i);
    s.Text(">", 80, 300);
    BitBlt(s.back, 42, 96, 300, 150, logo, 0, 150, Rop::And);
    BitBlt(s.back, 42, 96, 300, 150, logo, 0, 0, Rop::Or);
    WritePng(path, s.back);
}

Surface IconStrip(const Surface& gameIcon, const std::vector<uint32_t>& editorIcon) {
    Surface out;
    int n = gameIcon.width;
    out.Create(4 * n + 24, 2 * n + 16);
    FillRect(out, 0, 0, out.width, out.height, Rgb(60, 60, 70));
    FillRect(out, 2 * n + 12, 0, 2 * n + 12, out.height, Rgb(230, 230, 230));
    for (int y = 0; y < 2 * n; ++y)
        for (int x = 0; x < 2 * n; ++x) {
            out.At(8 + x, 8 + y) = gameIcon.At(x / 2, y / 2);
            uint32_t p = editorIcon[size_t((y / 2) * n + x / 2)];
            uint32_t a = p >> 24;
            uint32_t& d = out.At(2 * n + 16 + x, 8 + y);
            auto blend = [&](int shift) {
                uint32_t s = (p >> shift) & 255, b = (d >> shift) & 255;
                return ((s * a + b * (255 - a)) / 255) << shift;
            };
            d = blend(16) | blend(8) | blend(0);
        }
    return out;
}
}  // namespace

void WritePreviews(const std::string& dir, const Surface& block, const Surface& font, const Surface& logo,
                   const Surface& editor, const Surface& gameIcon, const std::vector<uint32_t>& editorIcon) {
    std::filesystem::create_directories(dir);
    WritePng(dir + "/block_sheet_2x.png", Enlarge(block, 2));
    WritePng(dir + "/font_sheet_2x.png", Enlarge(font, 2));
    WritePng(dir + "/logo_sheet_2x.png", Enlarge(logo, 2));
    WritePng(dir + "/editor_sheet_2x.png", Enlarge(editor, 2));
    WritePng(dir + "/icons_2x.png", IconStrip(gameIcon, editorIcon));
    ScoreAttack(dir + "/mock_score_attack.png", block, font, false);
    ScoreAttack(dir + "/mock_score_attack_colour.png", block, font, true);
    Mission(dir + "/mock_mission.png", block, font);
    GoalLines(dir + "/mock_goal_lines.png", block, font);
    Title(dir + "/mock_title.png", block, font, logo);
}
