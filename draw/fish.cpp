#include "draw/fish.h"

#include "rules/fish.h"
#include "shell/startup.h"

void DrawFish() {
    for (const Fish& f : FishTable) {
        if (f.state == FishStateValue::Free) continue;
        int column = 14 + 2 * ((f.dir + 1) / 2) + (f.state == FishStateValue::Caught);
        int x = BoardOriginX + int(f.x);
        int y = BoardOriginY + int(f.y);
        BitBlt(BackBuffer, x, y, 32, 32, BlockSheet, 32 * column, 0, Rop::Or);
        BitBlt(BackBuffer, x, y, 32, 32, BlockSheet, 32 * column, 32, Rop::And);
    }
}
