// The reset that starts every game clean.
#pragma once
#include <cstdint>

#include "rules/game_random.h"

void NewGame();

// What the last game's set-up found before it drew its pairs and labelled
// the board's ropes: a replay sets the game up again from the same.
extern RandomGenerator RandomAtSetUp;
extern uint8_t GroupIdAtSetUp;
// Called first by every set-up of a game (score attack, a mission's load).
void NoteGameSetUp();
