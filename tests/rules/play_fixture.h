// A well ready for play: walls, rope sides, a new game at level 1 in the
// falling-pair state, sounds named for the headless record, no input.
#pragma once
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "rules/game_mode.h"
#include "platform/platform_headless.h"
#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/link.h"
#include "rules/loops.h"
#include "rules/new_game.h"
#include "rules/queue.h"
#include "rules/scoring.h"
#include "rules/screen_state.h"
#include "rules/settle.h"
#include "shell/sound_choice.h"
#include "shell/input.h"
#include "shell/play_frame.h"
#include "shell/startup.h"
#include "tests/test_support.h"

struct PairInput {
    bool left = false, right = false, down = false, turnLeft = false, turnRight = false, link = false;
};
// One PairFalling frame with these controls held or newly pressed.
inline void PairFrame(PairInput in = {}) {
    LeftHeld = in.left;
    RightHeld = in.right;
    DownHeld = in.down;
    Button1Pressed = in.turnLeft;
    Button2Pressed = in.turnRight;
    Button3Pressed = in.link;
    StepFallingPair();
    LeftHeld = RightHeld = DownHeld = Button1Pressed = Button2Pressed = Button3Pressed = 0;
}

// A settle as the play handlers run it, and the state that follows: blocks
// still falling unless the board is at rest in PairFalling.
inline void Settle() { GoOnAfterSettling(SettleBoard(SearchMode::Play, ScreenState != PairFalling)); }

class PlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshProgram();
        FillRopeSides();
        SetBoardWalls();
        SoundMove.name = "SoundMove";
        SoundTurn.name = "SoundTurn";
        SoundFish.name = "SoundFish";
        SoundLink.name = "SoundLink";
        NewGame();
        GameMode = ScoreAttack;
        ScreenState = PairFalling;
    }
    void TearDown() override { EXPECT_TRUE(WallsIntact()); }

    // Rows of the well from `firstRow` down, one hexadecimal kind per column.
    static void PutRows(int firstRow, const std::vector<std::string>& rows) {
        for (size_t i = 0; i < rows.size(); ++i)
            for (int c = 0; c < 8; ++c) SetKind(c, firstRow + int(i), uint8_t(std::stoi(rows[i].substr(c, 1), nullptr, 16)));
    }
    static std::string Row(int r) {
        std::string s;
        for (int c = 0; c < 8; ++c) s += "0123456789abcdef"[GetKind(c, r) & 15];
        return s;
    }

    // A pair with its pivot at (c, r) and the second half where `orientation` says.
    static void PlacePair(int c, int r, int orientation, uint8_t kind1 = Horizontal, uint8_t kind2 = Vertical) {
        FallingPair = FallingPairRecord{};
        FallingPair.col1 = c;
        FallingPair.row1 = r;
        FallingPair.orientation = uint8_t(orientation);
        FallingPair.col2 = c + OrientationDx[orientation];
        FallingPair.row2 = r + OrientationDy[orientation];
        FallingPair.kind1 = kind1;
        FallingPair.kind2 = kind2;
        FallTimer = 0;
    }

    // Runs play until ScreenState becomes `state`; returns the frames taken, or -1.
    static int PlayUntil(uint32_t state, int limit = 2000) {
        for (int n = 1; n <= limit; ++n) {
            StepPlayState();
            if (ScreenState == state) return n;
        }
        return -1;
    }
};
