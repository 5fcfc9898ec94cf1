#include "rules/loops.h"

#include "rules/board.h"
#include "rules/fish.h"
#include "rules/game_events.h"
#include "rules/scoring.h"

void LabelNetworks() {
    static constexpr int order[4] = {SideLeft, SideRight, SideUp, SideDown};
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = BottomRow; r >= TopRow; --r) {
            if (GetKind(c, r) == Empty || GetGroup(c, r) != 0) continue;
            uint8_t label = 0;
            for (int side : order) {
                if (!JoinedTo(c, r, side)) continue;
                label = GetGroup(c + SideDx[side], r + SideDy[side]);
                if (label != 0) break;
            }
            SetGroup(c, r, label != 0 ? label : TakeGroupId());
        }
    }
}

namespace {
// Cells of the search are the play-layer cells, numbered as PlayIndex numbers
// them (column after column, rows -1..11): that is also the search order.
constexpr int IndexStep[4] = {-1, 1, -PlayRows, PlayRows};  // up, down, left, right

int CellColumn(int i) { return i / PlayRows; }
int CellRow(int i) { return i % PlayRows - 1; }

// Sides through which each cell's rope joins a neighbour inside the play layer.
void FindJoins(uint8_t joins[PlayCells]) {
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = TopRow; r <= BottomRow; ++r) {
            uint8_t mask = 0;
            for (int side = 0; side < 4; ++side)
                if (InPlayLayer(c + SideDx[side], r + SideDy[side]) && JoinedTo(c, r, side)) mask |= uint8_t(1 << side);
            joins[PlayIndex(c, r)] = mask;
        }
    }
}
}  // namespace

bool MarkLoops(SearchMode mode) {
    uint8_t joins[PlayCells];
    uint8_t onLoop[PlayCells] = {};
    uint8_t discovered[PlayCells] = {};  // discovery time, 0 = not yet reached
    uint8_t low[PlayCells];
    struct Step {
        uint8_t cell, parent, side;
    } stack[PlayCells];
    FindJoins(joins);

    uint8_t time = 0;
    for (int start = 0; start < PlayCells; ++start) {
        if (discovered[start] || joins[start] == 0) continue;
        // Depth-first walk of the network with bridge detection: the join
        // from a parent to a child lies on a loop exactly when the child's
        // subtree reaches back to the parent or above.
        uint8_t label = GetGroup(CellColumn(start), CellRow(start));
        int depth = 0;
        stack[0] = {uint8_t(start), uint8_t(start), 0};
        discovered[start] = low[start] = ++time;
        while (depth >= 0) {
            Step& s = stack[depth];
            if (s.side < 4) {
                int side = s.side++;
                if (!(joins[s.cell] & (1 << side))) continue;
                int next = s.cell + IndexStep[side];
                if (next == s.parent && depth > 0) continue;
                if (discovered[next]) {
                    if (discovered[next] < low[s.cell]) low[s.cell] = discovered[next];
                    continue;
                }
                discovered[next] = low[next] = ++time;
                SetGroup(CellColumn(next), CellRow(next), label);
                stack[++depth] = {uint8_t(next), s.cell, 0};
                continue;
            }
            if (depth > 0) {
                int parent = s.parent;
                if (low[s.cell] < low[parent]) low[parent] = low[s.cell];
                if (low[s.cell] <= discovered[parent]) onLoop[s.cell] = onLoop[parent] = 1;
            }
            --depth;
        }
    }

    if (mode == SearchMode::AnalyseOnly) return false;
    bool found = false;
    for (int i = 0; i < PlayCells; ++i) {
        if (!onLoop[i]) continue;
        Board.marked[i] = 1;
        found = true;
    }
    return found;
}

bool FindLoops(SearchMode mode) {
    bool found = MarkLoops(mode);
    CatchFish();
    CountSearch();
    if (found) PlayGameSound(ChainSound(ChainLength));
    return found;
}
