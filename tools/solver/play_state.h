// Everything the play rules read and write during a game, copied out and
// back in whole, so a search can try a placement and return to where it was;
// and a key of a resting board for recognising positions met before.
#pragma once
#include <cstdint>

#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/fish.h"
#include "rules/link.h"
#include "rules/queue.h"
#include "rules/settle.h"

struct PlaySnapshot {
    BoardLayers board;
    uint8_t nextGroupId;
    ComingQueueRecord queue;
    uint8_t queueLast, piecesUsed;
    int32_t spawnTimer;
    FallingPairRecord pair;
    int32_t fallTimer, fallInterval, shiftTimer, turnTimer, turnDirection, turnShift;
    uint8_t turnSteps;
    FallingBlock fallingBlocks[FallingBlockRecords];
    int32_t fallingBlockCount, eraseTimer;
    int32_t score, chainErased, goalProgress;
    uint8_t level, levelSteps, chainLength;
    Fish fish[FishCount];
    uint8_t linkStock;
    LinkSpriteRecord linkSprite;
    uint32_t screenState;
    uint32_t keyHeld, keyPressed, joyHeld, joyPressed, headlessKeys;
};

void SavePlay(PlaySnapshot& s);
void RestorePlay(const PlaySnapshot& s);

// A 64-bit key of the position between two pairs: the kinds and frame flags
// of the well, the pairs used and the goal progress; with `withLabels` also
// which blocks share a network label (loop areas are counted by label).
uint64_t PositionKey(bool withLabels);
