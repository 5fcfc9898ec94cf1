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
        MaskedFromSheet(BlockSheet, sheetX, SheetMaskY, sheetX, SheetImageY, SheetCell, SheetCell, x, y);
    }
}
