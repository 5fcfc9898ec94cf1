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

namespace reference {

inline int32_t SearchStartCol, SearchStartRow;
inline uint64_t Steps;  // calls of TraceRope, for measuring

inline SearchMode Mode = SearchMode::Play;
inline bool Found;  // a loop was marked

// The cells on the walk's current path: columns 0..7, rows -1..11.
inline uint8_t Visited[PlayCells];
inline uint8_t GetVisited(int c, int r) { return InPlayLayer(c, r) ? Visited[PlayIndex(c, r)] : uint8_t(0); }
inline void SetVisited(int c, int r, uint8_t v) {
    if (InPlayLayer(c, r)) Visited[PlayIndex(c, r)] = v;
}

inline void TraceRope(int c, int r, int pc, int pr, bool first) {
    ++Steps;
    if (Mode == SearchMode::Play && c == SearchStartCol && r == SearchStartRow && !first) {
        for (int i = 0; i < PlayCells; ++i)
            if (Board.marked[i] == 0) Board.marked[i] = Visited[i];
        Found = true;
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
            std::memset(Visited, 0, sizeof Visited);
        }
    }
}

inline bool FindLoops(SearchMode mode = SearchMode::Play) {
    Mode = mode;
    Found = false;
    MarkLoops();
    CatchFish();
    CountSearch();
    return Found;
}

}  // namespace reference
