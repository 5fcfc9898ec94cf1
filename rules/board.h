// The well: five byte layers stored column after column, the block kinds and
// their rope sides.
#pragma once
#include <cstdint>

#include "mission/block_kind.h"


enum Side : int { SideUp = 0, SideDown = 1, SideLeft = 2, SideRight = 3 };

// The rope ends of each kind: up, down, left, right. Start-up copies them
// into RopeSides; the art generator draws the ropes from them.
inline constexpr uint8_t KindRopeSides[KindCount][4] = {
    {0, 0, 0, 0}, {0, 0, 1, 1}, {1, 1, 0, 0}, {0, 1, 1, 0}, {1, 0, 1, 0},
    {1, 0, 0, 1}, {0, 1, 0, 1}, {0, 1, 1, 1}, {1, 1, 1, 0}, {1, 0, 1, 1},
    {1, 1, 0, 1}, {1, 1, 1, 1}, {0, 0, 0, 0}, {0, 0, 0, 0},
};

// The well: columns 0..LastColumn between the wall columns, the visible rows
// 0..BottomRow on the floor row, and above them the rows TopRow (where a pair
// can reach) and HiddenRow (where the first half of a new pair enters).
inline constexpr int LastColumn = 7, LeftWallColumn = -1, RightWallColumn = 8;
inline constexpr int HiddenRow = -2, TopRow = -1, BottomRow = 11, FloorRow = 12;

// Kind and group: columns -1..8, rows -2..12 (walls, floor and row -2 included).
// Frame, marked: columns 0..7, rows -1..11.
inline constexpr int KindColumns = 10, KindRows = 15, KindCells = KindColumns * KindRows;
inline constexpr int PlayColumns = 8, PlayRows = 13, PlayCells = PlayColumns * PlayRows;

struct BoardLayers {
    uint8_t kind[KindCells];
    uint8_t group[KindCells];
    uint8_t frame[PlayCells];
    uint8_t marked[PlayCells];
};
extern BoardLayers Board;

extern uint8_t RopeSides[KindCount][4];  // up, down, left, right
inline constexpr int GroupLabels = 120;  // rope-network labels are 1..GroupLabels
extern uint8_t NextGroupId;              // next rope-network label, cycles 1..GroupLabels

inline bool InKindLayer(int c, int r) {
    return c >= LeftWallColumn && c <= RightWallColumn && r >= HiddenRow && r <= FloorRow;
}
inline bool InPlayLayer(int c, int r) { return c >= 0 && c <= LastColumn && r >= TopRow && r <= BottomRow; }
inline int KindIndex(int c, int r) { return (c + 1) * KindRows + (r + 2); }
inline int PlayIndex(int c, int r) { return c * PlayRows + (r + 1); }

// Cell access. Reads outside a layer answer Wall (kind) or 0 (the others);
// writes outside a layer are dropped, so no rule can reach past its layer.
inline uint8_t GetKind(int c, int r) { return InKindLayer(c, r) ? Board.kind[KindIndex(c, r)] : uint8_t(Wall); }
inline void SetKind(int c, int r, uint8_t k) { if (InKindLayer(c, r)) Board.kind[KindIndex(c, r)] = k; }
inline uint8_t GetGroup(int c, int r) { return InKindLayer(c, r) ? Board.group[KindIndex(c, r)] : uint8_t(0); }
inline void SetGroup(int c, int r, uint8_t g) { if (InKindLayer(c, r)) Board.group[KindIndex(c, r)] = g; }
inline uint8_t GetFrame(int c, int r) { return InPlayLayer(c, r) ? Board.frame[PlayIndex(c, r)] : uint8_t(0); }
inline void SetFrame(int c, int r, uint8_t v) { if (InPlayLayer(c, r)) Board.frame[PlayIndex(c, r)] = v; }
inline uint8_t GetMarked(int c, int r) { return InPlayLayer(c, r) ? Board.marked[PlayIndex(c, r)] : uint8_t(0); }
inline void SetMarked(int c, int r, uint8_t v) { if (InPlayLayer(c, r)) Board.marked[PlayIndex(c, r)] = v; }

// Rope sides of a kind; kinds beyond the table have none.
inline bool HasSide(uint8_t kind, int side) { return kind < KindCount && RopeSides[kind][side] != 0; }
inline int OppositeSide(int side) { return side ^ 1; }
inline constexpr int SideDx[4] = {0, 0, -1, 1};
inline constexpr int SideDy[4] = {-1, 1, 0, 0};

void FillRopeSides();
void SetBoardWalls();  // columns -1 and 8, rows -2..12, and row 12 become Wall
bool SameSides(const uint8_t a[4], const uint8_t b[4]);
int KindWithSides(const uint8_t sides[4]);  // 1..11, or -1 when no kind has these sides
uint8_t AddRopeSide(uint8_t kind, int side);
bool JoinedTo(int c, int r, int side);      // the rope of (c, r) runs on into its neighbour
void ClearBoard();
uint8_t TakeGroupId();                      // returns NextGroupId and advances it

// This module's variables in the program state list (shell/program_state.h).
#define BOARD_STATE(X) X(Board) X(RopeSides) X(NextGroupId)
