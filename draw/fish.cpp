#include "draw/fish.h"

#include "draw/sheet_layout.h"
#include "draw/surfaces.h"
#include "rules/fish.h"

void DrawFish() {
    for (const Fish& f : FishTable) {
        if (f.state == FishStateValue::Free) continue;
        int sheetX = SheetFishX + SheetCell * (2 * ((f.dir + 1) / 2) + (f.state == FishStateValue::Caught));
        int x = BoardOriginX + int(f.x);
        int y = BoardOriginY + int(f.y);
        BitBlt(BackBuffer, x, y, SheetCell, SheetCell, BlockSheet, sheetX, SheetMaskY, Rop::Or);
        BitBlt(BackBuffer, x, y, SheetCell, SheetCell, BlockSheet, sheetX, SheetImageY, Rop::And);
    }
}
