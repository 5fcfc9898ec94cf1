// The link action: a caught fish flies into the well and joins the ropes of
// two neighbouring blocks that were not joined yet.
#pragma once
#include <cstdint>

inline constexpr int LinkTries = 100;  // candidates examined before giving up
inline constexpr uint8_t LinkStockMax = 99;

// The two cells the link joins: side by side, or one above the other.
enum LinkOrientation : uint8_t { LinkAcross = 0, LinkDown = 1 };

struct LinkSpriteRecord {
    float x, y;           // top-left in board pixels
    uint8_t col, row;     // the first chosen cell: column 0..6, row 0..10
    uint8_t orientation;  // LinkAcross: (col, row) and (col + 1, row); LinkDown: (col, row) and (col, row + 1)
    uint8_t phase;        // 0 flying in (also idle), 1 linking, 2 flying out
    int32_t timer;        // frames spent in phase 1
};
// No hidden padding: the program state list copies and compares records byte for byte.
static_assert(sizeof(LinkSpriteRecord) == 16);

extern uint8_t LinkStock;  // caught fish in stock, 0..99
extern LinkSpriteRecord LinkSprite;

void StartLink();       // from the falling pair, when the link button is pressed
void StepLinkSprite();  // handler of ScreenState 4

// This module's variables in the program state list (shell/program_state.h).
#define LINK_STATE(X) X(LinkStock) X(LinkSprite)
