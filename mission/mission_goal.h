// A mission's goal as the mission file stores it: the goal types and the
// goal record.
#pragma once
#include <cstdint>

// Goal types as stored in a mission file's type byte. Types above GoalFish
// can be written by the editor; they play like the random-queue types.
enum GoalType : uint8_t {
    GoalChain = 0,            // a chain of N
    GoalErase = 1,            // erase N blocks
    GoalEraseAtOnce = 2,      // erase N blocks in one chain
    GoalAllFrames = 3,        // erase every frame block
    GoalAllFramesAtOnce = 4,  // erase every frame block in one chain
    GoalArea = 5,             // a loop of area N
    GoalScore = 6,            // a score of N
    GoalFish = 7,             // catch N fish
};

// Goal types from GoalScore up draw their pairs at random (five pairs, the
// score-attack layout); the others play the file's eight pairs.
constexpr bool RandomQueueGoal(uint8_t type) { return type >= GoalScore; }
// Goals met by one chain: progress that misses the target drops back to 0.
constexpr bool AtOnceGoal(uint8_t type) {
    return type == GoalEraseAtOnce || type == GoalAllFramesAtOnce || type == GoalArea;
}
// Goals whose target is the count of frame blocks.
constexpr bool FrameCountGoal(uint8_t type) { return type == GoalAllFrames || type == GoalAllFramesAtOnce; }
// Goals that count every erased block.
constexpr bool EraseCountGoal(uint8_t type) { return type == GoalErase || type == GoalEraseAtOnce; }

struct MissionGoalRecord {
    uint32_t target = 0;
    uint8_t type = GoalChain;
    uint8_t pieceLimit = 0;
    uint8_t unused[2] = {};
};
// No hidden padding: the program state list copies and compares records byte for byte.
static_assert(sizeof(MissionGoalRecord) == 8);
