#include "rules/new_game.h"

#include "rules/game_mode.h"
#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/game_random.h"
#include "rules/link.h"
#include "rules/queue.h"
#include "rules/scoring.h"

void NewGame() {
    LinkStock = 0;
    Score = 0;
    Level = 1;
    LevelSteps = 0;
    FallInterval = FallIntervalForLevel();
    PiecesUsed = 0;
    GoalProgress = 0;
    MissionGoal.type = GoalChain;
    NextGroupId = uint8_t(GameRandom() % 5 + 1);
    ClearBoard();
}

RandomGenerator RandomAtSetUp{};
uint8_t GroupIdAtSetUp = 1;

void NoteGameSetUp() {
    RandomAtSetUp = GameRandomState;
    GroupIdAtSetUp = NextGroupId;
}
