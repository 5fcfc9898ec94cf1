#include "shell/new_game.h"

#include <cstdlib>

#include "rules/board.h"

void NewGame() {
    NextGroupId = uint8_t(std::rand() % 5 + 1);
    ClearBoard();
}
