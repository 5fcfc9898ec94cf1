// tessmar-artgen: draws every sheet and icon and writes them as C++ sources
// for the programs to embed, the icons as PNG files, and on request preview
// pictures for a person to look at.
//   tessmar-artgen game FILE.cpp     block, font and logo sheets, game icon
//   tessmar-artgen editor FILE.cpp   the editor's sheet and icon
//   tessmar-artgen icons DIR         PNG icons of both programs
//   tessmar-artgen preview DIR       contact sheets and mock-up screens
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/art/art.h"
#include "tools/art/preview.h"

namespace {
void WriteRuns(std::ofstream& out, const char* name, int w, int h, const uint32_t* px) {
    std::vector<uint32_t> runs;
    size_t total = size_t(w) * size_t(h);
    for (size_t i = 0; i < total;) {
        size_t j = i;
        while (j < total && px[j] == px[i]) ++j;
        runs.push_back(uint32_t(j - i));
        runs.push_back(px[i]);
        i = j;
    }
    out << "static const uint32_t " << name << "Runs[] = {";
    for (size_t i = 0; i < runs.size(); ++i) {
        if (i % 12 == 0) out << "\n";
        char buf[16];
        std::snprintf(buf, sizeof buf, "0x%x,", runs[i]);
        out << buf;
    }
    out << "\n};\nextern const ArtImage " << name << " = {" << w << ", " << h << ", " << name << "Runs, "
        << runs.size() << "};\n";
}

bool WriteRgbaPng(const std::string& path, int size, const std::vector<uint32_t>& argb) {
    std::vector<png_byte> rgba(argb.size() * 4);
    for (size_t i = 0; i < argb.size(); ++i) {
        rgba[4 * i] = png_byte(argb[i] >> 16);
        rgba[4 * i + 1] = png_byte(argb[i] >> 8);
        rgba[4 * i + 2] = png_byte(argb[i]);
        rgba[4 * i + 3] = png_byte(argb[i] >> 24);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(size);
    image.height = png_uint_32(size);
    image.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr) != 0;
}

std::vector<uint32_t> Opaque(const Surface& s) {
    std::vector<uint32_t> argb(s.pixels);
    for (uint32_t& p : argb) p |= 0xFF000000u;
    return argb;
}

constexpr int WindowIconSize = 64;
}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc == 3 ? argv[1] : "";
    if (what != "game" && what != "editor" && what != "icons" && what != "preview") {
        std::fprintf(stderr, "usage: tessmar-artgen game|editor FILE.cpp | icons|preview DIR\n");
        return 2;
    }
    const std::string target = argv[2];
    if (what == "game") {
        Surface block, font, kana, logo, icon;
        DrawBlockSheet(block);
        DrawFontSheet(font);
        DrawKanaSheet(kana);
        DrawLogoSheet(logo);
        DrawGameIcon(WindowIconSize, icon);
        std::ofstream out(target);
        out << "// Written by tessmar-artgen; do not edit.\n#include \"resources/art_data.h\"\n";
        WriteRuns(out, "ArtBlockSheet", block.width, block.height, block.pixels.data());
        WriteRuns(out, "ArtFontSheet", font.width, font.height, font.pixels.data());
        WriteRuns(out, "ArtKanaSheet", kana.width, kana.height, kana.pixels.data());
        WriteRuns(out, "ArtLogoSheet", logo.width, logo.height, logo.pixels.data());
        WriteRuns(out, "ArtGameIcon", icon.width, icon.height, icon.pixels.data());
        return out ? 0 : 1;
    }
    if (what == "editor") {
        Surface sheet;
        DrawEditorSheet(sheet);
        std::vector<uint32_t> icon;
        DrawEditorIcon(WindowIconSize, icon);
        std::ofstream out(target);
        out << "// Written by tessmar-artgen; do not edit.\n#include \"resources/art_data.h\"\n";
        WriteRuns(out, "ArtEditorSheet", sheet.width, sheet.height, sheet.pixels.data());
        WriteRuns(out, "ArtEditorIcon", WindowIconSize, WindowIconSize, icon.data());
        return out ? 0 : 1;
    }
    if (what == "icons") {
        // Desktop icons in the usual theme layout: hicolor/NxN/apps/NAME.png.
        for (int size : {16, 24, 32, 48, 64, 128, 256}) {
            std::string dir = target + "/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
            std::filesystem::create_directories(dir);
            Surface icon;
            DrawGameIcon(size, icon);
            std::vector<uint32_t> argb;
            DrawEditorIcon(size, argb);
            if (!WriteRgbaPng(dir + "/tessmar.png", size, Opaque(icon)) ||
                !WriteRgbaPng(dir + "/tessmar-editor.png", size, argb))
                return 1;
        }
        return 0;
    }
    Surface block, font, logo, editor, icon;
    DrawBlockSheet(block);
    DrawFontSheet(font);
    DrawLogoSheet(logo);
    DrawEditorSheet(editor);
    DrawGameIcon(WindowIconSize, icon);
    std::vector<uint32_t> editorIcon;
    DrawEditorIcon(WindowIconSize, editorIcon);
    WritePreviews(target, block, font, logo, editor, icon, editorIcon);
    return 0;
}
