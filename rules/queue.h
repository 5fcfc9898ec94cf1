// The coming-block queue: the pairs waiting to enter the well, the random
// kind generator and the NextPair handler that brings the next pair in.
#pragma once
#include <cstdint>

inline constexpr int QueuePairs = 8;
inline constexpr int SpawnFrames = 11;  // frames of NextPair before the pair enters

// Byte for byte the queue image of a mission file: 16 kinds, then 16 flags.
struct ComingQueueRecord {
    uint8_t kind[QueuePairs][2];   // first half, second half; pair 0 enters next
    uint8_t frame[QueuePairs][2];  // 1 = that half is a frame block
};

extern ComingQueueRecord ComingQueue;
extern uint8_t QueueLast;    // index of the last pair in use: 4 or 7
extern int32_t SpawnTimer;   // frames spent in NextPair
extern uint8_t PiecesUsed;   // pairs taken from a fixed queue

uint8_t RandomKind();        // 1..12 with the game's fixed distribution
uint8_t KindForRoll(int r);  // the kind for a roll 0..99
void FillRandomQueue();      // QueueLast 4, pairs 0..4 drawn afresh (flags untouched)
void ClearQueueFrames();     // every frame flag of the queue to 0
void AdvanceQueue();         // handler of ScreenState 3

// This module's variables in the program state list (shell/program_state.h).
#define QUEUE_STATE(X) X(ComingQueue) X(QueueLast) X(SpawnTimer) X(PiecesUsed)
