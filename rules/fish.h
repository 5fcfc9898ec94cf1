// Fish: up to ten swim across the screen; one enclosed by a loop when the
// loop is found is caught, flies off and is counted into LinkStock.
#pragma once
#include <cstdint>

#include "rules/screen_layout.h"

enum class FishStateValue : uint8_t { Free = 0, Swimming = 1, Caught = 2 };

struct FishRecord {
    float x = 0;        // left edge, relative to BoardOriginX
    float y = 0;        // top edge, relative to BoardOriginY
    int32_t phase = 0;  // wave phase while swimming, frames since capture while caught
    int32_t dir = 0;    // -1 swims left, +1 right
    FishStateValue state = FishStateValue::Free;
    uint8_t unused[3] = {};
};
// No hidden padding: the program state list copies and compares records byte for byte.
static_assert(sizeof(FishRecord) == 20);
using Fish = FishRecord;

inline constexpr int FishCount = 10;
extern Fish FishTable[FishCount];

// Moves every fish by one frame and may start new ones.
void UpdateFish();

// Catches every swimming fish whose centre cell sees a marked cell in all
// four directions along its row and column. Called by the loop search.
void CatchFish();

// One caught fish has left the screen: LinkStock gains it (up to 99); in a
// fish-goal mission GoalProgress takes the count before that cap.
void CountCaughtFish();

int CountActiveFish();  // fish that are not Free

// This module's variables in the program state list (shell/program_state.h).
#define FISH_STATE(X) X(FishTable)
