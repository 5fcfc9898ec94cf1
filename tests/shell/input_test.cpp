#include "rules/screen_state.h"
#include "shell/input.h"
#include "shell/message_pump.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "draw/playfield.h"
#include "draw/text.h"
#include "platform/platform_headless.h"
#include "rules/game_events.h"
#include "shell/replay.h"
#include "tests/test_support.h"

namespace {
class InputTest : public ::testing::Test {
protected:
    void SetUp() override { FreshProgram(); }
    static void Hold(std::initializer_list<Key> keys) {
        Headless.keys = {};
        for (Key k : keys) Headless.keys |= KeyBit(k);
    }
    static void Stick(uint32_t x, uint32_t y, uint32_t buttons = 0) {
        Headless.joyPresent = true;
        Headless.joyX = x;
        Headless.joyY = y;
        Headless.joyButtons = buttons;
    }
};
}  // namespace

TEST_F(InputTest, HeldEveryFramePressedOnlyInTheFirst) {
    Hold({KeyLeft});
    SampleInput();
    EXPECT_EQ(LeftHeld, 1);
    EXPECT_EQ(LeftPressed, 1);
    for (int i = 0; i < 3; ++i) {
        SampleInput();
        EXPECT_EQ(LeftHeld, 1);
        EXPECT_EQ(LeftPressed, 0);
    }
    Hold({});
    SampleInput();
    EXPECT_EQ(LeftHeld, 0);
    Hold({KeyLeft});
    SampleInput();
    EXPECT_EQ(LeftPressed, 1);  // pressed again after a release
}

TEST_F(InputTest, EachSourceHasItsOwnEdge) {
    Hold({KeyLeft});
    SampleInput();
    SampleInput();
    EXPECT_EQ(LeftPressed, 0);
    Stick(0, JoyCenter);  // the stick crosses while the key is still held
    SampleInput();
    EXPECT_EQ(LeftPressed, 1);
    EXPECT_EQ(KeyPressed & BitLeft, 0u);
    EXPECT_EQ(JoyPressed & BitLeft, BitLeft);
}

TEST_F(InputTest, DeadZoneThresholds) {
    struct Case { uint32_t x, y, expect; };
    const Case cases[] = {
        {49151, 32767, 0}, {49152, 32767, BitRight}, {16383, 32767, 0}, {16382, 32767, BitLeft},
        {32767, 49151, 0}, {32767, 49152, BitDown}, {32767, 16383, 0}, {32767, 16382, BitUp},
        {65535, 0, BitRight | BitUp}, {0, 65535, BitLeft | BitDown},
    };
    for (const Case& c : cases) {
        Stick(c.x, c.y);
        SampleInput();
        EXPECT_EQ(JoyHeld, c.expect) << c.x << "," << c.y;
    }
}

TEST_F(InputTest, NoJoystickGivesZeroWordsAndAReturningOneCountsAsPressed) {
    Stick(0, 32767, 0x1);
    SampleInput();
    SampleInput();
    EXPECT_EQ(Button1Pressed, 0);
    Headless.joyPresent = false;
    SampleInput();
    EXPECT_EQ(JoyHeld, 0u);
    EXPECT_EQ(JoyPressed, 0u);
    EXPECT_EQ(LeftHeld, 0);
    Headless.joyPresent = true;
    SampleInput();
    EXPECT_EQ(Button1Pressed, 1);
    EXPECT_EQ(LeftPressed, 1);
}

TEST_F(InputTest, ButtonSeventeenActsAsRightAndHighButtonsAreIgnored) {
    Stick(32767, 32767, 1u << 16);
    SampleInput();
    EXPECT_EQ(RightHeld, 1);
    EXPECT_EQ(RightPressed, 1);
    Stick(32767, 32767, 0xFFFE0000u);  // buttons 18 to 32 set nothing
    SampleInput();
    EXPECT_EQ(JoyHeld, 0u);
}

TEST_F(InputTest, KeysSetTheirBits) {
    Hold({KeyZ, KeyX, KeyA, KeyC, KeyD, KeyG, KeyEnter, KeyEscape, KeyLeft, KeyRight, KeyUp, KeyDown});
    SampleInput();
    EXPECT_EQ(KeyHeld, 0xF403Fu | BitEnter | BitEscape);
    EXPECT_EQ(Button1Pressed + Button2Pressed + Button3Pressed, 3);
}

TEST_F(InputTest, EscapeEnterCDAndGComeFromTheKeyboardOnly) {
    // Joystick buttons 4 to 16 hold the C, D, G, Enter and Escape bits of the
    // joystick word, which nothing reads.
    Stick(32767, 32767, 0xFFF8);
    RunFrames(3);
    EXPECT_EQ(ColourMode, 0);
    EXPECT_EQ(GridMode, 0);
    EXPECT_EQ(QuitFlag, 0);
    EXPECT_EQ(PauseFlag, 0);
    EXPECT_EQ(KeyHeld, 0u);
}

// A replay is the input while it plays: its keys and joystick stand for the
// devices' (only the real Escape still counts), and the open-file dialog is
// answered from its script without being shown. The dialog a player sees is
// asked in the language of the game's texts.
TEST_F(InputTest, AReplayStandsForTheDevicesAndTheDialog) {
    const std::string path = ::testing::TempDir() + "input_test_replay.txt";
    std::FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("joy 0 32767 2\npick /somewhere/a.msn\n2 Left Z\n", f);
    std::fclose(f);
    InputScript script;
    std::string error;
    ASSERT_TRUE(ReadInputScript(path, script, &error)) << error;

    TextLanguage = Language::English;
    EXPECT_EQ(AskMissionFile("/start"), "");
    EXPECT_EQ(Headless.dialogLanguage, DialogLanguage::English);
    TextLanguage = Language::Japanese;
    AskMissionFile("/start");
    EXPECT_EQ(Headless.dialogLanguage, DialogLanguage::Japanese);

    StartReplay(std::move(script));
    Headless.dialogLanguage.reset();
    Hold({KeyRight});
    Stick(65535, 32767);
    StepReplay();
    SampleInput();
    EXPECT_EQ(KeyHeld, BitLeft | BitButton1) << "the real Right is not the replay's";
    EXPECT_EQ(JoyHeld, BitLeft | BitButton2);
    Headless.picks = {"/not/the/replay's.msn"};
    EXPECT_EQ(AskMissionFile("/start"), "/somewhere/a.msn");
    EXPECT_EQ(AskMissionFile("/start"), "") << "no pick left: cancelled";
    EXPECT_FALSE(Headless.dialogLanguage.has_value()) << "no dialog shown";
    Hold({KeyEscape});
    StepReplay();
    SampleInput();
    EXPECT_EQ(KeyHeld, BitLeft | BitButton1 | BitEscape);
    StepReplay();
    SampleInput();
    EXPECT_EQ(KeyHeld, BitEscape) << "the script used up holds nothing";
    StopReplay();
}
