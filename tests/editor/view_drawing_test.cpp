// The views' pictures: blocks from the editor sheet at their cells, the entry
// marker, the outlines and the gaps.
#include <gtest/gtest.h>

#include "editor/editor_model.h"
#include "editor/view_drawing.h"
#include "resources/editor/editor_sheet.h"

namespace {

uint32_t SheetPixel(int x, int y) { return EditorSheetPixels()[y * EditorSheetWidth + x] | 0xFF000000u; }

// True when the 32 x 32 cell at (vx, vy) of the view shows sheet cell (sx, sy),
// skipping its one-pixel border where an outline may lie.
bool ShowsSheetCell(const ViewImage& view, int vx, int vy, int sx, int sy) {
    for (int y = 1; y < 31; ++y)
        for (int x = 1; x < 31; ++x)
            if (view.At(vx + x, vy + y) != SheetPixel(sx + x, sy + y)) return false;
    return true;
}

bool OutlinedAt(const ViewImage& view, int x, int y) {
    for (int i = 0; i < 32; ++i)
        if (view.At(x + i, y) != OutlineColour || view.At(x + i, y + 31) != OutlineColour ||
            view.At(x, y + i) != OutlineColour || view.At(x + 31, y + i) != OutlineColour)
            return false;
    return true;
}

// The selection's band: rings 1 and 2 pixels inside the outline.
bool SelectionBandAt(const ViewImage& view, int x, int y) {
    for (int inset = 1; inset <= 2; ++inset)
        for (int i = inset; i < 32 - inset; ++i)
            if (view.At(x + i, y + inset) != SelectionColour || view.At(x + i, y + 31 - inset) != SelectionColour ||
                view.At(x + inset, y + i) != SelectionColour || view.At(x + 31 - inset, y + i) != SelectionColour)
                return false;
    return true;
}

class ViewDrawing : public testing::Test {
protected:
    void SetUp() override { ResetEditorState(); }
    ViewImage board{BoardViewWidth, BoardViewHeight};
    ViewImage queue{QueueViewWidth, QueueViewHeight};
    ViewImage plain{PlainPaletteWidth, PaletteHeight};
    ViewImage framed{FramedPaletteWidth, PaletteHeight};
};

TEST_F(ViewDrawing, BoardShowsKindsFramesMarkerAndCursor) {
    EditorMission.kind[MissionKindIndex(2, 3)] = 6;
    EditorMission.kind[MissionKindIndex(5, 11)] = 11;
    EditorMission.frame[MissionFrameIndex(5, 11)] = 1;
    EditorMission.kind[MissionKindIndex(4, 0)] = 9;   // under the entry marker
    EditorMission.kind[MissionKindIndex(6, 6)] = 200; // no image: drawn empty
    EditorMission.kind[MissionKindIndex(1, 1)] = 12;  // loaded joiner with a stray frame flag
    EditorMission.frame[MissionFrameIndex(1, 1)] = 1;
    DrawBoardView(board, 7, 2);

    EXPECT_TRUE(ShowsSheetCell(board, 64, 96, 32 * 6, 0));
    EXPECT_TRUE(ShowsSheetCell(board, 160, 352, 32 * 11, 32));
    EXPECT_TRUE(ShowsSheetCell(board, 128, 0, 0, 32));
    EXPECT_TRUE(ShowsSheetCell(board, 192, 192, 0, 0));
    EXPECT_TRUE(ShowsSheetCell(board, 32, 32, 32 * 12, 0));
    EXPECT_TRUE(ShowsSheetCell(board, 0, 0, 0, 0));
    EXPECT_TRUE(OutlinedAt(board, 224, 64));
    EXPECT_FALSE(OutlinedAt(board, 0, 0));

    // Redrawing with the cursor elsewhere leaves no old outline behind.
    DrawBoardView(board, 0, 0);
    EXPECT_TRUE(OutlinedAt(board, 0, 0));
    EXPECT_FALSE(OutlinedAt(board, 224, 64));
    EXPECT_EQ(board.At(224, 64), SheetPixel(0, 0));
}

TEST_F(ViewDrawing, QueueCellsAndGaps) {
    EditorMission.queueKind[MissionQueueIndex(5, 1)] = 12;
    EditorMission.queueKind[MissionQueueIndex(3, 0)] = 4;
    EditorMission.queueFrame[MissionQueueIndex(3, 0)] = 1;
    DrawQueueView(queue, 5, 1);

    EXPECT_TRUE(ShowsSheetCell(queue, 48, 112, 32 * 12, 0));   // pair 5, second half
    EXPECT_TRUE(ShowsSheetCell(queue, 144, 0, 32 * 4, 32));    // pair 3, first half, framed
    EXPECT_TRUE(OutlinedAt(queue, 48, 112));
    // The gaps are never painted: the window shows through them.
    for (auto [x, y] : {std::pair{32, 0}, {47, 63}, {0, 64}, {175, 79}, {130, 143}})
        EXPECT_EQ(queue.At(x, y) >> 24, 0u) << x << "," << y;
    EXPECT_EQ(queue.At(0, 0) >> 24, 0xFFu);
}

TEST_F(ViewDrawing, PaletteOutlineFollowsTheSelection) {
    SelectedKind = 13;
    DrawPalettes(plain, framed);
    EXPECT_TRUE(OutlinedAt(plain, 13 * 32, 0));
    EXPECT_TRUE(SelectionBandAt(plain, 13 * 32, 0));
    for (int k = 1; k <= 11; ++k) EXPECT_TRUE(ShowsSheetCell(framed, 32 * (k - 1), 0, 32 * k, 32)) << k;
    EXPECT_TRUE(ShowsSheetCell(plain, 32 * 5, 0, 32 * 5, 0));

    SelectedKind = 3;
    SelectedFrame = 1;
    DrawPalettes(plain, framed);
    EXPECT_TRUE(OutlinedAt(framed, 64, 0));
    EXPECT_TRUE(SelectionBandAt(framed, 64, 0));  // readable over the frame marks
    EXPECT_FALSE(SelectionBandAt(plain, 13 * 32, 0));
    EXPECT_FALSE(OutlinedAt(plain, 13 * 32, 0));
    EXPECT_FALSE(OutlinedAt(plain, 96, 0));
}

}  // namespace
