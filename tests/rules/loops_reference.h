// The exhaustive rope walk, kept as the reference the game's loop search is
// compared with. It follows every simple path from every start cell, so its
// cost explodes on well-connected boards: tests and benchmarks only.
#pragma once
#include <cstdint>
#include <cstring>

#include "rules/board.h"
#include "rules/fish.h"
#include "rules/loops.h"
#include "rules/scoring.h"
#include "shell/screen_state.h"

namespace reference {

inline int32_t SearchStartCol, SearchStartRow;
inline uint64_t Steps;  // calls of TraceRope, for measuring

inline SearchMode Mode = SearchMode::Play;

inline void TraceRope(int c, int r, int pc, int pr, bool first) {
    ++Steps;
    if (Mode == SearchMode::Play && c == SearchStartCol && r == SearchStartRow && !first) {
        for (int i = 0; i < PlayCells; ++i)
            if (Board.marked[i] == 0) Board.marked[i] = Board.visited[i];
        ScreenState = Erasing;
    }
    if (GetVisited(c, r)) return;
    SetVisited(c, r, 1);
    SetGroup(c, r, GetGroup(pc, pr));
    static constexpr int order[4] = {SideLeft, SideRight, SideUp, SideDown};
    for (int side : order) {
        int nc = c + SideDx[side], nr = r + SideDy[side];
        if (JoinedTo(c, r, side) && !(nc == pc && nr == pr)) TraceRope(nc, nr, c, r, false);
    }
    if (GetMarked(c, r) == 0) SetVisited(c, r, 0);
}

// The walks from every start cell, without the fish and the bookkeeping.
inline void MarkLoops() {
    for (int c = 0; c <= 7; ++c) {
        for (int r = -1; r <= 11; ++r) {
            SearchStartCol = c;
            SearchStartRow = r;
            TraceRope(c, r, c, r, true);
            std::memset(Board.visited, 0, sizeof Board.visited);
        }
    }
}

inline void FindLoops(SearchMode mode = SearchMode::Play) {
    Mode = mode;
    MarkLoops();
    CatchFish();
    CountSearch();
}

}  // namespace reference
