// The options screen and the player's settings: what settings.conf may hold
// and what it may not, the screen over a paused game, keys chosen on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "draw/playfield.h"
#include "draw/text.h"
#include "platform/platform_headless.h"
#include "screens/help.h"
#include "screens/key_table.h"
#include "screens/mission_list.h"
#include "screens/options.h"
#include "screens/title.h"
#include "shell/game_window.h"
#include "shell/input_script.h"
#include "shell/main_loop.h"
#include "shell/player_settings.h"
#include "shell/program_state.h"
#include "tests/screens/screen_checks.h"
#include "tests/test_support.h"

namespace {
constexpr int KeyQ = 20, KeyLeftShift = 225;

int Bound(Action a) { return KeyBinding[int(a)]; }

// Back to every default, as a program without a settings file starts.
void DefaultChoices() {
    testing::internal::CaptureStderr();
    TakePlayerSettings({});
    testing::internal::GetCapturedStderr();
}

int LinesOf(const std::string& text) { return int(std::count(text.begin(), text.end(), '\n')); }

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Each line that holds no value its key may hold falls back to the default
// with one line on stderr; the lines around it count.
TEST(PlayerSettings, BadLinesFallBackToTheirDefaultsOneLineEach) {
    const std::string huge = "music=" + std::string(900000, '9') + "\n";
    struct Case {
        std::string text;
        int music, effects;
        bool muted;
        int left, turnLeft, turnRight;
        int complaints;
    } cases[] = {
        {"", 10, 10, false, KeyLeft, KeyZ, KeyX, 0},
        {"music=3\neffects=0\nmute=1\n", 3, 0, true, KeyLeft, KeyZ, KeyX, 0},
        {"music=11\neffects=4\n", 10, 4, false, KeyLeft, KeyZ, KeyX, 1},
        {"music=-1\neffects=abc\nmute=2\n", 10, 10, false, KeyLeft, KeyZ, KeyX, 3},
        {"key.turn_left=Q\n", 10, 10, false, KeyLeft, KeyQ, KeyX, 0},
        {"key.turn_left=left shift\n", 10, 10, false, KeyLeft, KeyLeftShift, KeyX, 0},
        {"key.jump=Q\nkey.left=NoSuchKey\n", 10, 10, false, KeyLeft, KeyZ, KeyX, 2},
        {"key.left=NoSuchKey\nkey.left=\n", 10, 10, false, KeyLeft, KeyZ, KeyX, 1},  // the last line counts
        {"key.left=X\n", 10, 10, false, KeyLeft, KeyZ, KeyX, 1},  // turn clockwise has X
        {"key.left=X\nkey.turn_right=Left\n", 10, 10, false, KeyX, KeyZ, KeyLeft, 0},  // a swap
        {"key.left=Q\nkey.turn_left=Q\n", 10, 10, false, KeyLeft, KeyQ, KeyX, 1},
        {"key.left=Escape\n", 10, 10, false, KeyLeft, KeyZ, KeyX, 1},
        {huge + "effects=2\n", 10, 2, false, KeyLeft, KeyZ, KeyX, 1},
        {std::string("\x89PNG\r\n\x1a\n\0\0\nmusic=\xff\x01\neffects=5\n", 30), 10, 5, false, KeyLeft, KeyZ, KeyX, 1},
        {"palette=pink\nflashing=steady\n", 10, 10, false, KeyLeft, KeyZ, KeyX, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        testing::internal::CaptureStderr();
        TakePlayerSettings(ParseDisplaySettings(c.text));
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(LinesOf(said), c.complaints) << said;
        EXPECT_LT(said.size(), 200u * (c.complaints + 1)) << "a long line is cut short in the message";
        EXPECT_EQ(MusicLevel, c.music);
        EXPECT_EQ(EffectsLevel, c.effects);
        EXPECT_EQ(SoundMuted, c.muted);
        EXPECT_EQ(Bound(Action::Left), c.left);
        EXPECT_EQ(Bound(Action::TurnLeft), c.turnLeft);
        EXPECT_EQ(Bound(Action::TurnRight), c.turnRight);
        for (int a = 0; a < ActionCount; ++a)
            EXPECT_EQ(ActionOfKey(KeyBinding[a]), a) << "no two actions on one key";
    }
    DefaultChoices();
}

// A save writes what changed and keeps every line it did not understand.
TEST(PlayerSettings, SaveKeepsTheLinesItDidNotUnderstand) {
    GameSettingsPath = MakeTempFolder("player-settings") + "/settings.conf";
    const std::string kept = "# mine\nmusic=99\nkey.jump=Q\nkey.left=\x01\x02\n";
    std::ofstream(GameSettingsPath, std::ios::binary) << kept;
    testing::internal::CaptureStderr();
    TakePlayerSettings(LoadDisplaySettings(GameSettingsPath));
    testing::internal::GetCapturedStderr();
    EffectsLevel = 4;
    BindKey(int(Action::TurnLeft), KeyQ);
    SavePlayerSettings();
    EXPECT_EQ(FileText(GameSettingsPath), kept + "effects=4\nkey.turn_left=Q\n");
    GameSettingsPath.clear();
    DefaultChoices();
}

class OptionsScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartInFolder(MakeTempFolder("options"));
        GameSettingsPath = MakeTempFolder("options-config") + "/settings.conf";
        TextLanguage = Language::English;
        DefaultChoices();
    }
    void TearDown() override {
        GameSettingsPath.clear();
        DefaultChoices();
    }
    // A paused score attack, some frames in.
    static void PausedGame() {
        SetUpScoreAttack();
        RunFrames(150);
        ASSERT_LE(ScreenState, Linking);
        Tap({KeyEnter});
        ASSERT_EQ(PauseFlag, 1);
    }
};

// Over a paused game: nothing of the game moves while the screen is open
// and changes things, and it is closed where it was opened.
TEST_F(OptionsScreenTest, APausedGameStaysAsItWasWhileTheScreenIsOpen) {
    PausedGame();
    static ProgramStateImage before, after;
    SaveProgramState(before);
    const uint32_t ticksBefore = Headless.clock;
    Tap({KeyF2});
    EXPECT_EQ(OptionsOpen, OptionsOnScreen);
    Tap({KeyDown});  // EFFECTS
    Tap({KeyLeft});
    Tap({KeyLeft});
    Tap({KeyC});     // no colour toggle under the screen
    Tap({KeyDown});  // KEYS
    Tap({KeyZ});
    EXPECT_EQ(OptionsPage, OptionsKeysPage);
    Tap({KeyX});  // back to the main page
    EXPECT_EQ(OptionsPage, OptionsMainPage);
    RunFrames(200);
    HoldFrame({KeyF2});  // closed in this frame; the pause goes on from the next
    EXPECT_EQ(OptionsOpen, OptionsClosed);
    EXPECT_EQ(EffectsLevel, 8);
    EXPECT_DOUBLE_EQ(Headless.soundVolume, 0.8);
    EXPECT_NE(FileText(GameSettingsPath).find("effects=8\n"), std::string::npos);
    SaveProgramState(after);
    // Only the input, the screen's own lines and the clock's may differ.
    const std::set<std::string> may = {"KeyHeld", "KeyPressed", "LeftHeld", "LeftPressed", "DownHeld", "DownPressed",
                                       "Button1Pressed", "Button2Pressed", "NewestKey", "AllKeysHeld",
                                       "OptionsOpen", "OptionsPage", "OptionsLine", "FrameCounter", "FpsWindowStart",
                                       "FpsValue", "FrameDeadline", "FpsWindowStarted"};
    size_t at = 0;
    for (const StateVariable& v : ProgramState) {
        if (!may.count(v.name)) {
            EXPECT_EQ(std::memcmp(before + at, after + at, v.size), 0) << v.name << " changed";
        }
        at += v.size;
    }
    EXPECT_GT(Headless.clock, ticksBefore);
    EXPECT_EQ(PauseFlag, 1);
}

// A key chosen on the KEYS page: a taken one is refused with a word and the
// screen goes on waiting; Escape leaves the key as it was and, held on,
// quits nothing; the new key plays and the old one no longer does.
TEST_F(OptionsScreenTest, AKeyChosenThereTurnsThePairAndTheOldOneNoLonger) {
    Tap({KeyF2});
    Tap({KeyDown});
    Tap({KeyDown});
    Tap({KeyZ});  // KEYS
    for (int i = 0; i < int(Action::TurnLeft); ++i) Tap({KeyDown});
    Tap({KeyZ});
    EXPECT_EQ(OptionsCapturing, 1);
    Tap({KeyX});
    EXPECT_EQ(OptionsCapturing, 1) << "X is turn clockwise's";
    EXPECT_GT(OptionsRefused, 0);
    for (int i = 0; i < 5; ++i) HoldFrame({KeyEscape});
    Tap({});
    EXPECT_EQ(OptionsCapturing, 0);
    EXPECT_FALSE(Headless.quitPosted || QuitFlag) << "the Escape that cancelled quits nothing";
    EXPECT_EQ(Bound(Action::TurnLeft), KeyZ);
    Tap({KeyZ});
    // Two at once: the first by number is taken. Held on as a player holds
    // a key, Q (now the menus' confirm) does not choose the line again.
    Headless.keys = KeyBit(KeyQ) | KeyBit(KeyLeftShift);
    RunFrames(4);
    EXPECT_EQ(OptionsCapturing, 0) << "the key just chosen, still held, is not a new press";
    Tap({});
    EXPECT_EQ(Bound(Action::TurnLeft), KeyQ);
    EXPECT_NE(FileText(GameSettingsPath).find("key.turn_left=Q\n"), std::string::npos);
    Tap({KeyF2});
    ASSERT_EQ(OptionsOpen, OptionsClosed);
    Headless.keys = KeyBit(KeyQ);
    RunFrame();
    EXPECT_EQ(Button1Pressed, 1);
    Tap({});
    HoldFrame({KeyZ});
    EXPECT_EQ(Button1Pressed, 0);
    EXPECT_EQ(KeyHeld, 0u);
}

// At MUSIC 0 the tune is never started (nor at any level while muted), and
// the sounds' level goes to the platform.
TEST_F(OptionsScreenTest, MusicAtZeroIsNeverStarted) {
    Tap({KeyF2});
    for (int i = 0; i < MaxSoundLevel; ++i) Tap({KeyLeft});
    EXPECT_EQ(MusicLevel, 0);
    EXPECT_DOUBLE_EQ(Headless.tuneVolume, 0);
    Tap({KeyF2});
    Headless.music.clear();
    Tap({KeyZ});  // SCORE ATTACK
    RunFrames(200);
    EXPECT_EQ(std::count(Headless.music.begin(), Headless.music.end(), "play"), 0);
    Tap({KeyM});
    EXPECT_TRUE(SoundMuted);
    EXPECT_DOUBLE_EQ(Headless.soundVolume, 0);
    EXPECT_NE(FileText(GameSettingsPath).find("mute=1\n"), std::string::npos);
}

// The pad's lines of settings.conf: a bad one falls back with one line on
// stderr, "none" leaves an action without a button, a button two actions
// would share goes back to the default of the one that wrote it.
TEST(PlayerSettings, PadLinesFallBackAsKeyLinesDo) {
    struct Case {
        const char* text;
        int turnLeft, link, help;
        bool nintendo;
        int complaints;
    } cases[] = {
        {"", PadBottom, PadLeft, PadTop, false, 0},
        {"pad.link=rightshoulder\npad.help=none\npad_layout=nintendo\n", PadBottom, PadRightShoulder, NoPadButton, true, 0},
        {"pad.link=START\n", PadBottom, PadLeft, PadTop, false, 1},  // Start is the pause's
        {"pad.link=y\npad.help=back\n", PadBottom, PadLeft, PadTop, false, 2},  // help back to y, then link to x
        {"pad.jump=a\npad.link=kick\npad_layout=sega\n", PadBottom, PadLeft, PadTop, false, 3},
        {"pad.turn_left=x\npad.link=a\n", PadLeft, PadBottom, PadTop, false, 0},  // a swap
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        testing::internal::CaptureStderr();
        TakePlayerSettings(ParseDisplaySettings(c.text));
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(LinesOf(said), c.complaints) << said;
        EXPECT_EQ(PadBinding[int(Action::TurnLeft)], c.turnLeft);
        EXPECT_EQ(PadBinding[int(Action::Link)], c.link);
        EXPECT_EQ(PadBinding[int(Action::Help)], c.help);
        EXPECT_EQ(PadNintendo, c.nintendo);
        for (int a = 0; a < ActionCount; ++a)
            if (PadBinding[a] != NoPadButton) {
                EXPECT_EQ(ActionOfPadButton(PadBinding[a]), a) << "no two on one button";
            }
    }
    DefaultChoices();
}

// A pad that drives the headless game: `buttons` held for a frame, then none.
void PadTap(std::initializer_list<int> buttons) {
    Headless.joyPresent = Headless.joyPad = true;
    Headless.joyButtons = 0;
    for (int b : buttons) Headless.joyButtons |= 1u << b;
    RunFrame();
    Headless.joyButtons = 0;
    RunFrame();
}

// The PAD page, driven by the pad alone: Back opens the options, a taken
// button is refused with a word, Back gives up the choice, a free one is
// bound and kept, and plays; DEFAULTS and the Nintendo layout.
TEST_F(OptionsScreenTest, APadButtonChosenThereLinksAndTheLayoutSwapsConfirmAndBack) {
    PadTap({PadBack});
    ASSERT_EQ(OptionsOpen, OptionsOnScreen) << "the pad's Back opens the options from the title";
    for (int i = 0; i < 3; ++i) PadTap({PadDpadDown});
    PadTap({PadBottom});
    ASSERT_EQ(OptionsPage, OptionsPadPage);
    for (int i = 0; i <= int(Action::Link); ++i) PadTap({PadDpadDown});  // past the layout's line
    PadTap({PadBottom});
    ASSERT_EQ(OptionsCapturing, 1);
    PadTap({PadStart});
    EXPECT_EQ(OptionsCapturing, 1) << "Start is the pause's";
    EXPECT_GT(OptionsRefused, 0);
    PadTap({PadBack});
    EXPECT_EQ(OptionsCapturing, 0) << "Back gives the choice up";
    EXPECT_EQ(OptionsOpen, OptionsOnScreen) << "and closes nothing";
    EXPECT_EQ(PadBinding[int(Action::Link)], PadLeft);
    PadTap({PadBottom});
    PadTap({PadRightShoulder});
    EXPECT_EQ(OptionsCapturing, 0);
    EXPECT_EQ(PadBinding[int(Action::Link)], PadRightShoulder);
    EXPECT_NE(FileText(GameSettingsPath).find("pad.link=rightshoulder\n"), std::string::npos);
    // The layout's line: the bottom and right buttons swap, at once.
    for (int i = 0; i <= int(Action::Link); ++i) PadTap({PadDpadUp});
    ASSERT_EQ(OptionsLine, 0);
    Headless.joyButtons = 1u << PadBottom;  // confirm, held on: it becomes back but goes nowhere
    RunFrames(4);
    Headless.joyButtons = 0;
    RunFrame();
    EXPECT_TRUE(PadNintendo);
    EXPECT_EQ(OptionsPage, OptionsPadPage) << "the held confirm is not a new back";
    PadTap({PadDpadRight});
    PadTap({PadDpadRight});
    EXPECT_TRUE(PadNintendo);
    EXPECT_NE(FileText(GameSettingsPath).find("pad_layout=nintendo\n"), std::string::npos);
    PadTap({PadBottom});  // now back: to the main page
    EXPECT_EQ(OptionsPage, OptionsMainPage);
    EXPECT_EQ(OptionsLine, 3);
    PadTap({PadBack});
    ASSERT_EQ(OptionsOpen, OptionsClosed);
    PadTap({PadRight});  // confirm: SCORE ATTACK
    ASSERT_EQ(ScreenState, BoardEntryScreen);
    RunFrames(100);
    Headless.joyButtons = 1u << PadRightShoulder;
    RunFrame();
    EXPECT_EQ(Button3Pressed, 1) << "the button bound links";
    Headless.joyButtons = 1u << PadLeft;
    RunFrame();
    EXPECT_EQ(JoyHeld & BitButton3, 0u) << "the old one no longer";
    PadNintendo = false;
    ResetPadBindings();
}

// The main page's lines that stand for C, G and F1, for a pad; and SPEED,
// kept in the settings.
TEST_F(OptionsScreenTest, RopesGridSpeedAndHelpAreLinesOfTheMainPage) {
    PadTap({PadBack});
    for (int i = 0; i < 8; ++i) PadTap({PadDpadDown});
    PadTap({PadBottom});
    EXPECT_EQ(ColourMode, 1);
    PadTap({PadDpadDown});
    PadTap({PadDpadRight});
    EXPECT_EQ(GridMode, 1);
    PadTap({PadDpadDown});
    PadTap({PadBottom});
    EXPECT_TRUE(BriskFall);
    EXPECT_NE(FileText(GameSettingsPath).find("speed=brisk\n"), std::string::npos);
    PadTap({PadDpadDown});
    PadTap({PadBottom});
    EXPECT_EQ(OptionsOpen, OptionsClosed);
    EXPECT_EQ(HelpOpen, HelpOnScreen) << "HELP opens the pages in the screen's place";
    PadTap({PadRight});
    EXPECT_EQ(HelpOpen, HelpClosed);
    EXPECT_EQ(ScreenState, TitleScreen);
    EXPECT_EQ(FileText(GameSettingsPath).find("grid"), std::string::npos) << "C and G's toggles are not kept";
    BriskFall = false;
    ColourMode = GridMode = 0;
}

TEST(OptionsScreen, EveryJapaneseTextHasItsPictures) {
    FreshProgram();
    EXPECT_EQ(OptionsCharactersWithoutPicture(Language::Japanese), 0);
    EXPECT_EQ(MissionListCharactersWithoutPicture(), 0) << "EDIT GAME's list for the pad";
}

// Scripts name any key by SDL's name, '_' for a blank; "Enter" is Return.
TEST(InputScriptKeys, AnyKeyBySdlsName) {
    std::string path = MakeTempFolder("script-keys") + "/keys.txt";
    std::ofstream(path) << "1 Left_Shift q Enter\n1 Keypad_Enter\n";
    InputScript script;
    std::string why;
    ASSERT_TRUE(ReadInputScript(path, script, &why)) << why;
    ASSERT_EQ(script.steps.size(), 2u);
    EXPECT_EQ(script.keySets[script.steps[0].keys], KeyBit(KeyLeftShift) | KeyBit(KeyQ) | KeyBit(KeyEnter));
    EXPECT_EQ(script.keySets[script.steps[1].keys], KeyBit(KeyKeypadEnter));
    std::ofstream(path) << "1 Left Shift\n";
    EXPECT_FALSE(ReadInputScript(path, script, &why));
    EXPECT_NE(why.find("unknown key 'Shift'"), std::string::npos) << why;
    // A pad's buttons by SDL's names; a line "pad" alone holds none.
    std::ofstream(path) << "pad a DPLeft\n1\npad\n1\n";
    ASSERT_TRUE(ReadInputScript(path, script, &why)) << why;
    ASSERT_EQ(script.joys.size(), 2u);
    EXPECT_TRUE(script.joys[0].pad && script.joys[1].pad);
    EXPECT_EQ(script.joys[0].buttons, (1u << PadBottom) | (1u << PadDpadLeft));
    EXPECT_EQ(script.joys[1].buttons, 0u);
    std::ofstream(path) << "pad a kick\n";
    EXPECT_FALSE(ReadInputScript(path, script, &why));
    EXPECT_NE(why.find("unknown pad button 'kick'"), std::string::npos) << why;
}
}  // namespace
