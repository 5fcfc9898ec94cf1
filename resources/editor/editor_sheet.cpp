// The editor's sheet and icon, decoded once from the embedded data.
#include "resources/editor/editor_sheet.h"

#include <vector>

#include "resources/art_data.h"

namespace {
const std::vector<uint32_t>& Decoded(const ArtImage& image) {
    // One decoded copy per picture, kept for the life of the program.
    static std::vector<uint32_t> sheet, icon;
    std::vector<uint32_t>& out = &image == &ArtEditorSheet ? sheet : icon;
    if (out.empty()) {
        out.assign(size_t(image.width) * size_t(image.height), 0);
        DecodeArtImage(image, out.data());
    }
    return out;
}
}  // namespace

const uint32_t* EditorSheetPixels() { return Decoded(ArtEditorSheet).data(); }

const uint32_t* EditorIconPixels(int* size) {
    *size = ArtEditorIcon.width;
    return Decoded(ArtEditorIcon).data();
}
