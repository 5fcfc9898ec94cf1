#include "rules/queue.h"

#include <cstring>

#include "rules/game_mode.h"
#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/game_random.h"
#include "rules/screen_state.h"

constinit ComingQueueRecord ComingQueue{};
constinit uint8_t QueueLast;
constinit int32_t SpawnTimer;
constinit uint8_t PiecesUsed;

uint8_t KindForRoll(int r) {
    if (r < 28) return uint8_t(Horizontal + r % 2);
    if (r < 56) return uint8_t(CornerDownLeft + r % 4);
    if (r < 76) return uint8_t(TeeNoUp + r % 4);
    if (r < 88) return Cross;
    return Joiner;
}

uint8_t RandomKind() { return KindForRoll(GameRandom() % 100); }

void FillRandomQueue() {
    QueueLast = 4;
    for (int i = 0; i <= 4; ++i) {
        ComingQueue.kind[i][0] = RandomKind();
        ComingQueue.kind[i][1] = RandomKind();
    }
}

void ClearQueueFrames() { std::memset(ComingQueue.frame, 0, sizeof ComingQueue.frame); }

void AdvanceQueue() {
    if (++SpawnTimer < SpawnFrames) return;
    // Pair 0 enters with its first half in row -1 and the second below it.
    FallingPair.col1 = 4;
    FallingPair.row1 = -1;
    FallingPair.col2 = 4;
    FallingPair.row2 = 0;
    FallingPair.orientation = SecondBelow;
    FallingPair.kind1 = ComingQueue.kind[0][0];
    FallingPair.kind2 = ComingQueue.kind[0][1];
    FallingPair.frame1 = ComingQueue.frame[0][0];
    FallingPair.frame2 = ComingQueue.frame[0][1];
    FallTimer = 0;

    int last = QueueLast < QueuePairs ? QueueLast : QueuePairs - 1;
    for (int i = 0; i < last; ++i) {
        std::memcpy(ComingQueue.kind[i], ComingQueue.kind[i + 1], 2);
        std::memcpy(ComingQueue.frame[i], ComingQueue.frame[i + 1], 2);
    }
    if (RandomQueueGame()) {
        // The last pair's frame flags stay as they were.
        ComingQueue.kind[last][0] = RandomKind();
        ComingQueue.kind[last][1] = RandomKind();
    } else {
        ComingQueue.kind[last][0] = ComingQueue.kind[last][1] = 0;
        ComingQueue.frame[last][0] = ComingQueue.frame[last][1] = 0;
        ++PiecesUsed;
    }
    SpawnTimer = 0;
    ScreenState = PairFalling;
}
