#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "shell/program_state.h"
#include "tests/rules/loops_reference.h"
#include "tests/rules/rope_board.h"

namespace {

using LoopsTest = RopeBoardTest;

TEST_F(LoopsTest, SquareOfFourCornersIsMarkedAndStartsErasing) {
    SetKind(3, 10, CornerDownRight);
    SetKind(4, 10, CornerDownLeft);
    SetKind(3, 11, CornerUpRight);
    SetKind(4, 11, CornerUpLeft);
    SetGroup(3, 10, 7);
    SetGroup(4, 10, 9);
    SetGroup(3, 11, 5);
    EXPECT_TRUE(Search());
    EXPECT_EQ(MarkedCount(), 4);
    for (int c = 3; c <= 4; ++c)
        for (int r = 10; r <= 11; ++r) {
            EXPECT_TRUE(GetMarked(c, r));
            // The network takes the label of its first cell in search order.
            EXPECT_EQ(GetGroup(c, r), 7) << c << "," << r;
        }
    EXPECT_EQ(ChainLength, 1);
    EXPECT_EQ(ChainErased, 4);
}

TEST_F(LoopsTest, TwoLoopsInOneSearchAreBothMarked) {
    PutRing(0, 8, 2, 2);
    PutRing(4, 6, 3, 4);
    Search();
    EXPECT_EQ(MarkedCount(), 4 + 10);
    EXPECT_TRUE(GetMarked(0, 8) && GetMarked(6, 9));
    EXPECT_FALSE(GetMarked(5, 7));  // inside the second ring, empty
    EXPECT_EQ(ChainLength, 1);      // one search, however many loops
    EXPECT_EQ(ChainErased, 14);
    EXPECT_NE(GetGroup(0, 8), GetGroup(4, 6));
}

TEST_F(LoopsTest, LoopThroughHiddenRowIsMarked) {
    PutRing(2, -1, 2, 3);
    EXPECT_TRUE(Search());
    EXPECT_EQ(MarkedCount(), 6);
    EXPECT_TRUE(GetMarked(2, -1) && GetMarked(3, -1));
}

TEST_F(LoopsTest, BranchThatDoesNotCloseIsNotMarked) {
    PutRing(1, 8, 3, 3);
    SetKind(3, 9, TeeNoLeft);       // the ring's right side grows an arm...
    SetKind(4, 9, CornerDownLeft);  // ...that turns down...
    SetKind(4, 10, Vertical);       // ...and ends over an empty cell
    SetKind(6, 11, Horizontal);     // a lone block joins nothing
    Search();
    EXPECT_EQ(MarkedPicture(),
              "........\n........\n........\n........\n........\n........\n........\n........\n........\n"
              ".###....\n.#.#....\n.###....\n........\n");
}

TEST_F(LoopsTest, RingWithJoinedCrossMarksEveryClosingPathButNotTheArmOut) {
    SetKind(2, 5, CornerDownRight);
    SetKind(3, 5, TeeNoUp);
    SetKind(4, 5, CornerDownLeft);
    SetKind(2, 6, TeeNoLeft);
    SetKind(3, 6, Cross);
    SetKind(4, 6, Cross);
    SetKind(5, 6, CornerDownLeft);  // the arm leading out of the ring
    SetKind(5, 7, Vertical);
    SetKind(2, 7, CornerUpRight);
    SetKind(3, 7, TeeNoDown);
    SetKind(4, 7, CornerUpLeft);
    Search();
    EXPECT_EQ(MarkedCount(), 9);
    EXPECT_TRUE(GetMarked(3, 6));
    EXPECT_FALSE(GetMarked(5, 6));
    EXPECT_FALSE(GetMarked(5, 7));
    EXPECT_EQ(GetGroup(5, 7), GetGroup(2, 5));
}

TEST_F(LoopsTest, CrossInsideARingItDoesNotJoinStaysUnmarked) {
    PutRing(2, 5, 3, 3);
    SetKind(3, 6, Cross);
    Search();
    EXPECT_EQ(MarkedCount(), 8);
    EXPECT_FALSE(GetMarked(3, 6));
}

TEST_F(LoopsTest, AnalyseOnlyLabelsButMarksNothing) {
    PutRing(0, 0, 4, 4);
    SetGroup(1, 0, 33);
    EXPECT_FALSE(Search(SearchMode::AnalyseOnly));
    EXPECT_EQ(MarkedCount(), 0);
    EXPECT_EQ(ChainLength, 0);
    EXPECT_EQ(ChainErased, 0);
    // (0, 0) comes first in search order and passes its label on.
    EXPECT_NE(GetGroup(0, 0), 0);
    EXPECT_EQ(GetGroup(1, 0), GetGroup(0, 0));
    EXPECT_EQ(GetGroup(3, 3), GetGroup(0, 0));
}

TEST_F(LoopsTest, NoLoopLeavesStateAndCountersAlone) {
    SetKind(0, 11, CornerUpRight);
    SetKind(1, 11, Horizontal);
    SetKind(0, 10, Vertical);
    EXPECT_FALSE(Search());
    EXPECT_EQ(MarkedCount(), 0);
    EXPECT_EQ(ChainLength, 0);
}

TEST_F(LoopsTest, LabellingTakesJoinedNeighboursLabelOrANewOne) {
    NextGroupId = 120;
    SetKind(0, 11, Horizontal);
    SetKind(1, 11, CornerUpLeft);
    SetKind(1, 10, Vertical);
    SetKind(3, 11, Vertical);  // joins nothing: a network of its own
    SetKind(5, 4, Joiner);     // every block gets a label, rope or not
    LabelNetworks();
    EXPECT_EQ(GetGroup(0, 11), 120);
    EXPECT_EQ(GetGroup(1, 11), 120);  // from its left neighbour
    EXPECT_EQ(GetGroup(1, 10), 120);  // from below
    EXPECT_EQ(GetGroup(3, 11), 1);    // labels cycle 1..120
    EXPECT_EQ(GetGroup(5, 4), 2);
    EXPECT_EQ(NextGroupId, 3);
    SetGroup(1, 10, 50);  // a labelled block keeps its label
    LabelNetworks();
    EXPECT_EQ(GetGroup(1, 10), 50);
}

TEST_F(LoopsTest, LabellingPrefersLeftThenRightThenAboveThenBelow) {
    SetKind(2, 5, Cross);
    SetKind(1, 5, Horizontal);
    SetKind(3, 5, Horizontal);
    SetKind(2, 4, Vertical);
    SetKind(2, 6, Vertical);
    SetGroup(1, 5, 0);
    SetGroup(3, 5, 11);
    SetGroup(2, 4, 12);
    SetGroup(2, 6, 13);
    // (1, 5) is labelled first (column 1) from its joined right neighbour,
    // which is not labelled yet, so it takes a new label.
    NextGroupId = 40;
    LabelNetworks();
    EXPECT_EQ(GetGroup(1, 5), 40);
    EXPECT_EQ(GetGroup(2, 5), 40);
    SetGroup(2, 5, 0);
    SetGroup(1, 5, 0);
    SetKind(1, 5, Empty);
    LabelNetworks();
    EXPECT_EQ(GetGroup(2, 5), 11);
    SetGroup(2, 5, 0);
    SetKind(3, 5, Empty);
    LabelNetworks();
    EXPECT_EQ(GetGroup(2, 5), 12);
    SetGroup(2, 5, 0);
    SetKind(2, 4, Empty);
    LabelNetworks();
    EXPECT_EQ(GetGroup(2, 5), 13);
}

TEST_F(LoopsTest, FullWellOfCrossesIsMarkedWhole) {
    for (int c = 0; c <= 7; ++c)
        for (int r = -1; r <= 11; ++r) SetKind(c, r, Cross);
    Search();
    EXPECT_EQ(MarkedCount(), PlayCells);
    EXPECT_EQ(ChainErased, PlayCells);
}

// ---------------------------------------------------------------------------
// The fast search against the exhaustive walk on random boards.

struct Snapshot {
    ProgramStateImage image;
    void Take() { SaveProgramState(image); }
    void Restore() const { RestoreProgramState(image); }
};

// Empty string when equal, else the names of the variables that differ.
std::string Differences(const Snapshot& a, const Snapshot& b) {
    std::string d;
    size_t at = 0;
    for (const StateVariable& v : ProgramState) {
        if (std::memcmp(a.image + at, b.image + at, v.size) != 0) d += std::string(v.name) + " ";
        at += v.size;
    }
    return d;
}

std::string KindPicture() {
    std::string s;
    for (int r = -2; r <= 12; ++r) {
        for (int c = -1; c <= 8; ++c) {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%x", GetKind(c, r));
            s += buf;
        }
        s += '\n';
    }
    return s;
}

// The joiners' merge into their neighbours, as the board analysis does it
// before searching.
void ResolveJoiners() {
    for (int c = 0; c <= 7; ++c)
        for (int r = -1; r <= 11; ++r) {
            if (GetKind(c, r) != Joiner) continue;
            SetKind(c - 1, r, AddRopeSide(GetKind(c - 1, r), SideRight));
            SetKind(c + 1, r, AddRopeSide(GetKind(c + 1, r), SideLeft));
            SetKind(c, r + 1, AddRopeSide(GetKind(c, r + 1), SideUp));
            SetKind(c, r - 1, AddRopeSide(GetKind(c, r - 1), SideDown));
            SetKind(c, r, Empty);
        }
}

int Branches() {
    int n = 0;
    for (int c = 0; c <= 7; ++c)
        for (int r = -1; r <= 11; ++r) n += GetKind(c, r) >= TeeNoUp && GetKind(c, r) <= Cross;
    return n;
}

// A rope kind whose up and left ends match the neighbours above and to the left.
template <class Pick>
int FittingKind(int c, int r, bool branches, Pick pick) {
    bool up = HasSide(GetKind(c, r - 1), SideDown), left = HasSide(GetKind(c - 1, r), SideRight);
    int choices[11], n = 0;
    for (int k = Horizontal; k <= (branches ? Cross : CornerDownRight); ++k)
        if (HasSide(uint8_t(k), SideUp) == up && HasSide(uint8_t(k), SideLeft) == left) choices[n++] = k;
    return n ? choices[pick(n)] : Empty;
}

// A random board of every kind (walls and joiners inside the well too) with
// random frame flags, labels, counters, goal and fish. The number of
// branching blocks is kept small enough for the exhaustive walk.
SearchMode RandomMode = SearchMode::Play;

void MakeRandomBoard(std::mt19937& rng) {
    auto pick = [&](int n) { return int(rng() % uint32_t(n)); };
    ClearBoard();
    std::memset(Board.marked, 0, sizeof Board.marked);
    int w = 1 + pick(8), h = 1 + pick(13);
    int c0 = pick(9 - w), r0 = -1 + pick(14 - h);
    int weights[14];
    weights[Empty] = pick(12);
    for (int k = Horizontal; k <= Vertical; ++k) weights[k] = 1 + pick(4);
    for (int k = CornerDownLeft; k <= CornerDownRight; ++k) weights[k] = 1 + pick(6);
    int branchWeight = pick(4) == 0 ? 0 : 1 + pick(6);
    for (int k = TeeNoUp; k <= Cross; ++k) weights[k] = branchWeight;
    weights[Joiner] = pick(3);
    weights[Wall] = pick(2);
    int total = 0;
    for (int x : weights) total += x;
    const int maxBranches = 6 + pick(7);
    // Some boards lay each block to fit the ends of its left and upper
    // neighbours, which closes many loops.
    const bool fitted = pick(2) == 0;
    for (int c = c0; c < c0 + w; ++c)
        for (int r = r0; r < r0 + h; ++r) {
            int roll = pick(total), k = 0;
            while (roll >= weights[k]) roll -= weights[k++];
            if (fitted && k >= Horizontal && k <= Cross && pick(5) != 0) k = FittingKind(c, r, branchWeight > 0, pick);
            if (k >= TeeNoUp && k <= Cross && Branches() >= maxBranches) k = CornerDownLeft + pick(4);
            SetKind(c, r, uint8_t(k));
            SetFrame(c, r, uint8_t(pick(3) == 0));
            if (k != Empty && pick(4) == 0) SetGroup(c, r, uint8_t(1 + pick(120)));
        }
    ResolveJoiners();
    // Joiners may have grown new branches; trim back to keep the walk finite
    // in practice.
    for (int c = 0; c <= 7 && Branches() > maxBranches + 2; ++c)
        for (int r = -1; r <= 11; ++r)
            if (GetKind(c, r) >= TeeNoUp && GetKind(c, r) <= Cross) SetKind(c, r, uint8_t(CornerDownLeft + pick(4)));
    NextGroupId = uint8_t(1 + pick(120));
    LabelNetworks();

    RandomMode = pick(2) ? SearchMode::AnalyseOnly : SearchMode::Play;
    ScreenState = PairFalling;
    GameMode = GameModeValue(pick(3));
    MissionGoal.type = uint8_t(pick(9));
    MissionGoal.target = uint32_t(pick(4) == 0 ? 0 : 1 + pick(24));
    GoalProgress = pick(3) == 0 ? 0 : pick(41) - 20;
    ChainErased = pick(30);
    ChainLength = uint8_t(pick(5));
    Level = uint8_t(1 + pick(30));
    for (Fish& f : FishTable) {
        f.state = FishStateValue(pick(3));
        f.x = float(pick(340) - 60) + float(pick(4)) * 0.25f;
        f.y = float(pick(440) - 40);
        f.phase = pick(360);
        f.dir = pick(2) ? 1 : -1;
    }
}

long EnvCount(const char* name, long fallback) {
    const char* v = std::getenv(name);
    return v ? std::strtol(v, nullptr, 10) : fallback;
}

TEST_F(LoopsTest, FastSearchEqualsExhaustiveWalkOnRandomBoards) {
    const long boards = EnvCount("TESSMAR_LOOP_BOARDS", 100000);
    const unsigned seed = unsigned(EnvCount("TESSMAR_LOOP_SEED", 20240611));
    std::mt19937 rng(seed);
    long marking = 0, analyseOnly = 0;
    for (long i = 0; i < boards; ++i) {
        MakeRandomBoard(rng);
        Snapshot before, slow, fast;
        before.Take();
        bool slowFound = reference::FindLoops(RandomMode);
        slow.Take();
        before.Restore();
        bool fastFound = FindLoops(RandomMode);
        fast.Take();
        std::string diff = Differences(slow, fast);
        if (slowFound != fastFound) diff += " the result (loops found)";
        if (!diff.empty()) {
            before.Restore();
            FAIL() << "board " << i << " of seed " << seed << " (TESSMAR_LOOP_SEED) differs in: " << diff
                   << "\nanalyse only " << int(RandomMode == SearchMode::AnalyseOnly)
                   << ", kinds (rows -2..12, columns -1..8):\n"
                   << KindPicture();
        }
        marking += std::memchr(Board.marked, 1, PlayCells) != nullptr;  // the fast search's result
        analyseOnly += RandomMode == SearchMode::AnalyseOnly;
    }
    // The boards must exercise both outcomes and both analysis modes.
    EXPECT_GT(marking, boards / 10);
    EXPECT_GT(analyseOnly, boards / 4);
    std::printf("%ld boards, %ld with loops marked, %ld analysed only\n", boards, marking, analyseOnly);
}

}  // namespace
