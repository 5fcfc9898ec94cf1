#include "rules/link.h"


#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/game_events.h"
#include "rules/fish.h"
#include "rules/game_random.h"
#include "rules/screen_layout.h"
#include "rules/screen_state.h"
#include "rules/settle.h"

constinit uint8_t LinkStock;
constinit LinkSpriteRecord LinkSprite{};

// The two cells' ropes already run into each other.
static bool CellsJoined(int col, int row, int orientation) {
    return JoinedTo(col, row, orientation == LinkAcross ? SideRight : SideDown);
}

void StartLink() {
    int orientation = GameRandom() % 2;
    int col = 0, row = 0;
    for (int tries = 1;; ++tries) {
        col = GameRandom() % 7;
        row = GameRandom() % 11;
        if (tries > LinkTries) return;  // gave up: neither the stock nor the pair is spent
        int col2 = col + OrientationDx[orientation == LinkAcross ? SecondRight : SecondBelow];
        int row2 = row + OrientationDy[orientation == LinkAcross ? SecondRight : SecondBelow];
        if (GetKind(col, row) != Empty && GetKind(col2, row2) != Empty && !CellsJoined(col, row, orientation)) break;
    }
    // The pair is given up for the action; a lost pair carries no frame blocks.
    FallingPair.kind1 = FallingPair.kind2 = 0;
    FallingPair.frame1 = FallingPair.frame2 = 0;
    LinkSprite.col = uint8_t(col);
    LinkSprite.row = uint8_t(row);
    LinkSprite.orientation = uint8_t(orientation);
    LinkSprite.phase = 0;
    LinkSprite.timer = 0;
    // Start just left of the window on the diagonal that meets (CellSize col, CellSize row).
    LinkSprite.x = float(-BoardOriginX - CellSize);
    LinkSprite.y = float(CellSize * row) - (float(CellSize * col) - LinkSprite.x);
    --LinkStock;
    ScreenState = Linking;
    PlayGameSound(GameSound::Link);
}

// Each cell gains a rope end toward the other.
static void LinkCells() {
    int c = LinkSprite.col, r = LinkSprite.row;
    if (LinkSprite.orientation == LinkAcross) {
        SetKind(c, r, AddRopeSide(GetKind(c, r), SideRight));
        SetKind(c + 1, r, AddRopeSide(GetKind(c + 1, r), SideLeft));
    } else {
        SetKind(c, r, AddRopeSide(GetKind(c, r), SideDown));
        SetKind(c, r + 1, AddRopeSide(GetKind(c, r + 1), SideUp));
    }
}

void StepLinkSprite() {
    LinkSpriteRecord& s = LinkSprite;
    switch (s.phase) {
        case 0:
            s.x += 8;
            s.y += 8;
            if (int(s.x / CellSize) == s.col && int(s.y / CellSize) == s.row) s.phase = 1;
            break;
        case 1: {
            int o = s.orientation == LinkAcross ? SecondRight : SecondBelow;
            ++s.timer;
            s.x += float(4 * OrientationDx[o]);
            s.y += float(4 * OrientationDy[o]);
            if (s.timer >= 9) {
                s.phase = 2;
                s.timer = 0;
            }
            if (s.timer == 5) LinkCells();
            break;
        }
        default:
            s.x += 8;
            s.y += 8;
            if (s.x > float(ScreenWidth - BoardOriginX)) {
                s.phase = 0;
                GoOnAfterSettling(SettleBoard());
            }
            break;
    }
}
