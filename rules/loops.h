// Rope networks and closed loops: network labelling and the loop search.
#pragma once
#include <cstdint>

// 1 while the mission loader settles a freshly loaded board: the search then
// labels and counts but marks nothing and leaves ScreenState alone.
extern uint8_t AnalyseOnly;

// Gives every unlabelled block (columns 0..7, rows 11 up to -1) a network
// label: the label of a joined neighbour (left, right, up, down) or a new one.
void LabelNetworks();

// Marks every cell that lies on a closed rope loop (a cell with a join that is
// not a bridge of the rope graph), gives every network the label its first
// cell in search order (column by column, rows -1..11) had, and sets
// ScreenState to Erasing when something was marked. Linear in the board.
void MarkLoops();

// The whole search: MarkLoops, then the catching of fish, then the
// per-search bookkeeping of scores and goals.
void FindLoops();

void ResetLoopsState();
