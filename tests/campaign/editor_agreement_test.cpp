// The compiler and the mission editor agree: a mission entered in the editor
// with its own clicks saves the same 294 bytes the compiler made, and every
// compiled mission loads in the editor with the same board, queue and goal.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "editor/editor_model.h"
#include "rules/game_mode.h"
#include "rules/board.h"
#include "rules/fish.h"
#include "rules/queue.h"
#include "screens/mission_loader.h"
#include "tests/test_support.h"
#include "tools/missions/mission_source.h"

namespace {
namespace fs = std::filesystem;

std::string Two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

MissionSource Parsed(int n) {
    std::ifstream in(fs::path(TESSMAR_SOURCE_DIR) / "missions" / (Two(n) + ".txt"));
    std::ostringstream text;
    text << in.rdbuf();
    MissionSource source;
    std::string error;
    EXPECT_TRUE(ParseMissionSource(text.str(), source, error)) << "mission " << n << ": " << error;
    return source;
}

std::vector<uint8_t> Compiled(int n) {
    std::ifstream in(fs::path(TESSMAR_BINARY_DIR) / "gamedata" / "mission" / (Two(n) + ".msn"), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Picks kind `kind` (framed or not) from the editor's palettes.
void Pick(uint8_t kind, uint8_t frame) {
    if (frame) ASSERT_TRUE(FramedPaletteLeftDown(32 * (kind - 1) + 5, 5));
    else ASSERT_TRUE(PlainPaletteLeftDown(32 * kind + 5, 5));
}

// Enters the mission as a user would: cells and halves clicked, pairs set on
// the scroll bar, a goal radio checked and a number typed, then saved.
MissionBytes EnteredInEditor(const MissionImage& m) {
    ResetEditorState();
    for (int c = 0; c <= 7; ++c)
        for (int r = 0; r <= 11; ++r) {
            uint8_t k = m.kind[MissionKindIndex(c, r)];
            if (k == 0) continue;
            Pick(k, m.frame[MissionFrameIndex(c, r)]);
            EXPECT_TRUE(BoardLeftDown(32 * c + 9, 32 * r + 9));
        }
    for (int p = 0; p < MissionPairs; ++p)
        for (int h = 0; h < 2; ++h) {
            uint8_t k = m.queueKind[MissionQueueIndex(p, h)];
            if (k == 0) continue;
            Pick(k, m.queueFrame[MissionQueueIndex(p, h)]);
            EXPECT_TRUE(QueueLeftDown(48 * (p % 4) + 9, 80 * (p / 4) + 32 * h + 9));
        }
    ApplyScrollCode(ScrollThumbPosition, m.pieceLimit - 1);
    SetPieceLimitFromScrollBar();
    EXPECT_EQ(FirstUnfilledPair(), -1);
    if (m.type < GoalRadioCount) SetGoalForSave(m.type, std::to_string(m.target));
    else SetGoalForSave(-1, std::to_string(m.type * TypeDigitsBase + m.target));  // the high digits give the type
    return EditorMissionBytes();
}

TEST(EditorAgreement, EditorSavesTheBytesTheCompilerMadeForEveryMission) {
    for (int n = 1; n <= 30; ++n) {
        MissionSource source = Parsed(n);
        std::vector<uint8_t> compiled = Compiled(n);
        ASSERT_EQ(compiled.size(), MissionFileSize) << "mission " << n;
        MissionBytes saved = EnteredInEditor(source.image);
        for (size_t i = 0; i < MissionFileSize; ++i)
            ASSERT_EQ(saved[i], compiled[i]) << "mission " << n << ", byte " << i;
    }
}

TEST(EditorAgreement, EveryMissionLoadsInTheEditorWithItsBoardQueueAndGoal) {
    for (int n = 1; n <= 30; ++n) {
        const MissionImage& m = Parsed(n).image;
        std::vector<uint8_t> bytes = Compiled(n);
        ResetEditorState();
        LoadEditorMission(bytes.data(), bytes.size());
        for (int c = 0; c <= 7; ++c)
            for (int r = 0; r <= 11; ++r) {
                EXPECT_EQ(BoardKind(c, r), m.kind[MissionKindIndex(c, r)]) << "mission " << n << " " << c << "," << r;
                EXPECT_EQ(BoardFrame(c, r), m.frame[MissionFrameIndex(c, r)]) << "mission " << n;
            }
        for (int p = 0; p < MissionPairs; ++p)
            for (int h = 0; h < 2; ++h) {
                EXPECT_EQ(QueueKind(p, h), m.queueKind[MissionQueueIndex(p, h)]) << "mission " << n;
                EXPECT_EQ(QueueFrame(p, h), m.queueFrame[MissionQueueIndex(p, h)]) << "mission " << n;
            }
        EXPECT_EQ(PairCountPosition, m.pieceLimit - 1) << "mission " << n;
        EXPECT_EQ(GoalRadio, KnownGoalType(m.type) ? int(m.type) : -1) << "mission " << n;
        EXPECT_EQ(EditorMission.target, m.target) << "mission " << n;
        for (int p = 0; p < MissionPairs; ++p) EXPECT_EQ(PairLabelEnabled(p), p < m.pieceLimit) << "mission " << n;
    }
}
// A mission saved by the editor is what the game's loader plays: the same
// board, the same pairs in file order (fixed-queue goals) and the same goal.
TEST(EditorAgreement, MissionSavedByTheEditorLoadsInTheGame) {
    std::string folder = MakeTempFolder("editor_to_game");
    for (int n = 1; n <= 30; ++n) {
        const MissionImage m = Parsed(n).image;
        MissionBytes saved = EnteredInEditor(m);
        std::string path = folder + "/saved.msn";
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(saved.data()), std::streamsize(saved.size()));
        FreshProgram();
        FillRopeSides();
        SetBoardWalls();
        LoadMissionFile(path);
        EXPECT_TRUE(WallsIntact()) << "mission " << n;
        for (int c = 0; c <= 7; ++c)
            for (int r = 0; r <= 11; ++r) {
                EXPECT_EQ(GetKind(c, r), m.kind[MissionKindIndex(c, r)]) << "mission " << n << " " << c << "," << r;
                EXPECT_EQ(GetFrame(c, r), m.frame[MissionFrameIndex(c, r)]) << "mission " << n;
            }
        EXPECT_EQ(MissionGoal.type, m.type) << "mission " << n;
        EXPECT_EQ(MissionGoal.target, m.target) << "mission " << n;
        EXPECT_EQ(MissionGoal.pieceLimit, m.pieceLimit) << "mission " << n;
        EXPECT_EQ(BoardOriginX, RandomQueueGoal(m.type) ? 64 : 16) << "mission " << n;
        if (RandomQueueGoal(m.type)) continue;
        for (int p = 0; p < MissionPairs; ++p)
            for (int h = 0; h < 2; ++h) {
                EXPECT_EQ(ComingQueue.kind[p][h], m.queueKind[MissionQueueIndex(p, h)]) << "mission " << n;
                EXPECT_EQ(ComingQueue.frame[p][h], m.queueFrame[MissionQueueIndex(p, h)]) << "mission " << n;
            }
    }
}
}  // namespace
