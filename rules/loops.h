// Rope networks and closed loops: network labelling and the loop search.
#pragma once
#include <cstdint>

// What a search does in play: mark its loops. The mission loader's analysis
// of a freshly loaded board labels and counts but marks nothing.
enum class SearchMode : uint8_t { Play, AnalyseOnly };

// Gives every unlabelled block (columns 0..7, rows 11 up to -1) a network
// label: the label of a joined neighbour (left, right, up, down) or a new one.
void LabelNetworks();

// Marks every cell that lies on a closed rope loop (a cell with a join that is
// not a bridge of the rope graph), gives every network the label its first
// cell in search order (column by column, rows -1..11) had. Returns whether
// something was marked. Linear in the board.
bool MarkLoops(SearchMode mode = SearchMode::Play);

// The whole search: MarkLoops, then the catching of fish, then the
// per-search bookkeeping of scores and goals. Returns whether loops were
// marked (the erase begins).
bool FindLoops(SearchMode mode = SearchMode::Play);
