// Hand-built boards for the loop, scoring and fish tests.
#pragma once
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "mission/mission_goal.h"
#include "rules/board.h"
#include "rules/fish.h"
#include "rules/loops.h"
#include "rules/scoring.h"
#include "rules/screen_state.h"
#include "tests/test_support.h"

// A fresh program with walls and rope sides, an empty well, a game at level 1
// in the falling-pair state.
class RopeBoardTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshProgram();
        FillRopeSides();
        SetBoardWalls();
        NextGroupId = 1;
        Level = 1;
        ScreenState = PairFalling;
    }
    void TearDown() override { EXPECT_TRUE(WallsIntact()); }

    // A rectangular ring of rope, w x h cells with its top-left at (c, r).
    static void PutRing(int c, int r, int w, int h) {
        for (int i = 1; i < w - 1; ++i) {
            SetKind(c + i, r, Horizontal);
            SetKind(c + i, r + h - 1, Horizontal);
        }
        for (int j = 1; j < h - 1; ++j) {
            SetKind(c, r + j, Vertical);
            SetKind(c + w - 1, r + j, Vertical);
        }
        SetKind(c, r, CornerDownRight);
        SetKind(c + w - 1, r, CornerDownLeft);
        SetKind(c, r + h - 1, CornerUpRight);
        SetKind(c + w - 1, r + h - 1, CornerUpLeft);
    }

    // Settles nothing: labels the networks and runs one search, as the
    // board analysis does once nothing is falling.
    static bool Search(SearchMode mode = SearchMode::Play) {
        LabelNetworks();
        return FindLoops(mode);
    }

    static int MarkedCount() {
        int n = 0;
        for (uint8_t m : Board.marked) n += m != 0;
        return n;
    }

    // Erases the marked cells, as the end of the blinking does.
    static void EraseMarked() {
        for (int c = 0; c <= 7; ++c)
            for (int r = -1; r <= 11; ++r)
                if (GetMarked(c, r)) {
                    SetKind(c, r, Empty);
                    SetGroup(c, r, 0);
                    SetFrame(c, r, 0);
                    SetMarked(c, r, 0);
                }
    }

    // Rows -1..11 of the marked layer, one string per row, '#' marked.
    static std::string MarkedPicture() {
        std::string s;
        for (int r = -1; r <= 11; ++r) {
            for (int c = 0; c <= 7; ++c) s += GetMarked(c, r) ? '#' : '.';
            s += '\n';
        }
        return s;
    }
};
