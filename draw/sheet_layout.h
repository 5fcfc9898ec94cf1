// Where the pictures lie on the block sheet (640 x 448), shared by the
// renderer and the art generator. Every sprite is 32 x 32 with its mask in
// row 0 and its picture 32 pixels below; block kind k is column k, its
// colour variants 1..7 the rows below (the plain picture, then the six
// network colours), and the six network colours of the safe palette in
// rows 8..13.
#pragma once

inline constexpr int SheetCell = 32;
inline constexpr int BlockSheetWidth = 640, BlockSheetHeight = 448;
inline constexpr int SheetMaskY = 0, SheetImageY = 32;
// Network colour c (1..6) of the safe palette lies this many rows below the
// classic one.
inline constexpr int SafePaletteRowShift = 6;

// Fish, column by column: swimming left, caught left, swimming right, caught
// right. The fish-count panel shows the first, the link sprite the third.
inline constexpr int SheetFishX = 448;
inline constexpr int SheetLinkSpriteX = SheetFishX + 2 * SheetCell;

// The background tile (below the grid cell's mask row) and the grid cell.
inline constexpr int SheetTileX = 576, SheetTileY = 32;
inline constexpr int SheetGridX = 576, SheetGridY = 64;
// Hatching ANDed over a block about to be erased where loops are marked
// steadily instead of blinking.
inline constexpr int SheetEraseMarkX = 576, SheetEraseMarkY = 96;

// The frame-block marker, masked like the sprites.
inline constexpr int SheetFrameMarkerX = 608;

// The font sheet (256 x 512): 16 x 16 glyphs for codes 32 to 95 in rows 0 to
// 3, the goal labels in rows 4 to 11, and the narrow face (8 x 16 cells,
// codes 32 to 95, 32 to a row) from NarrowFontY; every mask 256 lower.
inline constexpr int FontMaskOffset = 256;
inline constexpr int NarrowFontY = 192, NarrowCell = 8;
