// The loader: layout and queue by goal type, files from anyone (hostile
// values, missing, short, long, not regular), the analysis of the loaded
// board, and the shipped missions made by the compiler.
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "rules/game_mode.h"
#include "rules/board.h"
#include "rules/fish.h"
#include "rules/game_random.h"
#include "rules/loops.h"
#include "rules/queue.h"
#include "screens/mission_loader.h"
#include "tests/missions/missions_support.h"

using namespace missions_test;

namespace {

class Loader : public testing::Test {
protected:
    std::string folder;
    void SetUp() override {
        folder = MakeTempFolder("missions-loader");
        StartInFolder(folder);
        std::filesystem::create_directories(folder + "/mission");
    }
    std::string Load(const MissionImage& m, const std::string& name = "m.msn") {
        std::string path = folder + "/" + name;
        WriteMission(path, m);
        LoadMissionFile(path);
        return path;
    }
};

TEST_F(Loader, FixedQueueMissionPlacesTheWellLeftAndKeepsAllEightPairsInOrder) {
    MissionImage m = EmptyMission(0, 3, 6);
    for (int p = 0; p < 8; ++p) SetPair(m, p, uint8_t(p + 1), uint8_t(12 - p));
    m.queueFrame[MissionQueueIndex(2, 1)] = 1;
    SetCell(m, 6, 11, X, 1);
    Load(m);
    EXPECT_EQ(BoardOriginX, 16);
    EXPECT_EQ(BoardOriginY, 80);
    EXPECT_EQ(QueueLast, 7);
    for (int p = 0; p < 8; ++p) {
        EXPECT_EQ(ComingQueue.kind[p][0], p + 1);
        EXPECT_EQ(ComingQueue.kind[p][1], 12 - p);
        EXPECT_EQ(ComingQueue.frame[p][0], 0);
        EXPECT_EQ(ComingQueue.frame[p][1], p == 2 ? 1 : 0);
    }
    EXPECT_EQ(GetKind(6, 11), Cross);
    EXPECT_EQ(GetFrame(6, 11), 1);
    EXPECT_EQ(MissionGoal.type, 0);
    EXPECT_EQ(MissionGoal.target, 3u);
    EXPECT_EQ(MissionGoal.pieceLimit, 6);
}

TEST_F(Loader, RandomQueueMissionDrawsPairsZeroToFourAnewAndKeepsTheFileFrames) {
    for (uint8_t type : {6, 7, 200}) {
        MissionImage m = EmptyMission(type, 1000, 8);
        for (int p = 0; p < 8; ++p) SetPair(m, p, 0, 0);  // never a drawn kind
        for (int p = 0; p < 8; ++p) m.queueFrame[MissionQueueIndex(p, p % 2)] = 1;
        // The kinds RandomKind gives next, pair 0 first, first half first.
        SeedGameRandom(99);
        uint8_t expected[5][2];
        for (auto& pair : expected)
            for (uint8_t& k : pair) k = RandomKind();
        SeedGameRandom(99);
        Load(m);
        EXPECT_EQ(BoardOriginX, 64);
        EXPECT_EQ(BoardOriginY, 80);
        EXPECT_EQ(QueueLast, 4);
        for (int p = 0; p < 5; ++p) {
            EXPECT_EQ(ComingQueue.kind[p][0], expected[p][0]) << int(type) << " pair " << p;
            EXPECT_EQ(ComingQueue.kind[p][1], expected[p][1]) << int(type) << " pair " << p;
        }
        for (int p = 0; p < 8; ++p) {
            EXPECT_EQ(ComingQueue.frame[p][p % 2], 1);
            EXPECT_EQ(ComingQueue.frame[p][1 - p % 2], 0);
        }
        EXPECT_EQ(MissionGoal.type, type);
    }
}

TEST_F(Loader, HostileValuesAreMadeSafe) {
    std::vector<uint8_t> bytes(MissionFileSize);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(200 + i % 56);  // kinds 200..255, flags too
    bytes[MissionTypeOffset] = 0;
    bytes[MissionKindIndex(-1, 5)] = 0;  // a hole in the left wall
    bytes[MissionKindIndex(8, -2)] = 1;  // a rope in the right wall
    bytes[MissionKindIndex(3, 12)] = 0;  // a hole in the floor
    bytes[MissionKindIndex(2, -2)] = 11; // a block above the well
    bytes[MissionKindIndex(5, 4)] = 13;  // a wall inside stays a wall
    bytes[MissionKindIndex(6, 4)] = 14;  // one past the last kind
    WriteBytes(folder + "/hostile.msn", bytes);
    LoadMissionFile(folder + "/hostile.msn");
    EXPECT_TRUE(WallsIntact());
    for (int c = 0; c <= 7; ++c) EXPECT_EQ(GetKind(c, -2), Empty);
    EXPECT_EQ(GetKind(5, 4), Wall);
    EXPECT_EQ(GetKind(6, 4), Empty);
    for (int c = 0; c <= 7; ++c)
        for (int r = -1; r <= 11; ++r) {
            if (c == 5 && r == 4) continue;
            EXPECT_EQ(GetKind(c, r), Empty) << c << "," << r;
            EXPECT_EQ(GetFrame(c, r), 1) << c << "," << r;
        }
    for (int p = 0; p < 8; ++p)
        for (int h = 0; h < 2; ++h) {
            EXPECT_EQ(ComingQueue.kind[p][h], Empty);
            EXPECT_EQ(ComingQueue.frame[p][h], 1);
        }
}

TEST_F(Loader, EveryByteValueLoadsIntoTheLayersRange) {
    SeedGameRandom(5);
    std::vector<uint8_t> bytes(MissionFileSize);
    for (int round = 0; round < 300; ++round) {
        for (uint8_t& b : bytes) b = uint8_t(GameRandom() % 4 == 0 ? GameRandom() % 16 : GameRandom());
        LoadMissionBytes(bytes.data(), bytes.size());
        ASSERT_TRUE(WallsIntact()) << round;
        for (int c = 0; c <= 7; ++c) ASSERT_EQ(GetKind(c, -2), Empty) << round;
        for (uint8_t k : Board.kind) ASSERT_LT(k, KindCount);
        for (uint8_t f : Board.frame) ASSERT_LE(f, 1);
        for (auto& pair : ComingQueue.kind) ASSERT_TRUE(pair[0] < KindCount && pair[1] < KindCount);
        for (auto& pair : ComingQueue.frame) ASSERT_TRUE(pair[0] <= 1 && pair[1] <= 1);
        for (uint8_t mark : Board.marked) ASSERT_EQ(mark, 0);
    }
}

TEST_F(Loader, FileThatCannotBeReadWholeLoadsNothingAndCreatesNothing) {
    MissionImage before = RingMission();
    before.target = 77;
    before.pieceLimit = 5;
    Load(before);
    std::filesystem::create_directories(folder + "/mission/03.msn");  // a directory
    MissionBytes b = EncodeMission(EmptyMission(2, 40, 7));
    WriteBytes(folder + "/short.msn", std::vector<uint8_t>(b.begin(), b.end() - 1));
    WriteBytes(folder + "/empty.msn", {});
    ASSERT_EQ(mkfifo((folder + "/fifo.msn").c_str(), 0644), 0);
    for (const std::string& path : {folder + "/mission/02.msn", folder + "/mission/03.msn", folder + "/no/such/dir.msn",
                                    std::string("/dev/zero"), folder + "/short.msn", folder + "/empty.msn",
                                    folder + "/fifo.msn"}) {
        EXPECT_FALSE(LoadMissionFile(path)) << path;
        EXPECT_EQ(GetKind(3, 10), DR) << path;
        EXPECT_EQ(ComingQueue.kind[0][0], DL) << path;
        EXPECT_EQ(MissionGoal.type, 0) << path;
        EXPECT_EQ(MissionGoal.target, 77u) << path;
        EXPECT_EQ(MissionGoal.pieceLimit, 5) << path;
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/mission/02.msn"));
    EXPECT_TRUE(std::filesystem::is_directory(folder + "/mission/03.msn"));
}

TEST_F(Loader, LongFileUsesItsFirst294Bytes) {
    MissionImage m = RingMission();
    MissionBytes b = EncodeMission(m);
    std::vector<uint8_t> longFile(b.begin(), b.end());
    longFile.resize(1000, 0xEE);
    WriteBytes(folder + "/long.msn", longFile);
    LoadMissionFile(folder + "/long.msn");
    BoardLayers fromLong = Board;
    ComingQueueRecord queueFromLong = ComingQueue;
    MissionGoalRecord goalFromLong = MissionGoal;
    Load(m);
    EXPECT_EQ(std::memcmp(fromLong.kind, Board.kind, sizeof Board.kind), 0);
    EXPECT_EQ(std::memcmp(fromLong.frame, Board.frame, sizeof Board.frame), 0);
    EXPECT_EQ(std::memcmp(&queueFromLong, &ComingQueue, sizeof ComingQueue), 0);
    EXPECT_EQ(goalFromLong.target, MissionGoal.target);
    EXPECT_EQ(goalFromLong.type, MissionGoal.type);
    EXPECT_EQ(goalFromLong.pieceLimit, MissionGoal.pieceLimit);
}

TEST_F(Loader, AnalysisLabelsTheLoadedBoardWithoutMarkingOrReleasing) {
    MissionImage m = RingMission();
    SetCell(m, 4, 10, DL);  // the ring is already closed in the file
    SetCell(m, 4, 11, UL);
    SetCell(m, 0, 3, X);    // and a block hangs in the air
    Load(m);
    for (uint8_t mark : Board.marked) EXPECT_EQ(mark, 0);
    EXPECT_EQ(GetKind(0, 3), Cross);
    EXPECT_EQ(GetKind(4, 10), DL);
    uint8_t ring = GetGroup(3, 10);
    EXPECT_NE(ring, 0);
    EXPECT_EQ(GetGroup(4, 10), ring);
    EXPECT_EQ(GetGroup(3, 11), ring);
    EXPECT_EQ(GetGroup(4, 11), ring);
    EXPECT_NE(GetGroup(0, 3), 0);
    EXPECT_NE(GetGroup(0, 3), ring);
}

// The missions that come with the game, as the compiler made them.
TEST(ShippedMissions, AreWhatTheEditorWouldSaveAndCoverEveryGoalType) {
    namespace fs = std::filesystem;
    fs::path dir = fs::path(TESSMAR_BINARY_DIR) / "gamedata" / "mission";
    bool types[8] = {};
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".msn") continue;
        ++count;
        std::vector<uint8_t> b = ReadBytes(entry.path().string());
        ASSERT_EQ(b.size(), MissionFileSize) << entry.path();
        for (int c = -1; c <= 8; ++c)
            for (int r = -2; r <= 12; ++r) {
                uint8_t k = b[MissionKindIndex(c, r)];
                if (c < 0 || c > 7 || r == 12) EXPECT_EQ(k, Wall) << entry.path() << " " << c << "," << r;
                else if (r < 0) EXPECT_EQ(k, Empty) << entry.path();
                else EXPECT_TRUE(k <= 11 || k == Wall) << entry.path();
            }
        EXPECT_EQ(b[MissionKindIndex(4, 0)], Empty) << entry.path();
        uint8_t limit = b[MissionPieceLimitOffset];
        EXPECT_TRUE(limit >= 1 && limit <= 8) << entry.path();
        for (int p = 0; p < limit; ++p)
            for (int h = 0; h < 2; ++h) EXPECT_NE(b[MissionQueueKindOffset + MissionQueueIndex(p, h)], 0) << entry.path();
        EXPECT_EQ(b[MissionPaddingOffset], 0);
        EXPECT_EQ(b[MissionPaddingOffset + 1], 0);
        if (b[MissionTypeOffset] < 8) types[b[MissionTypeOffset]] = true;
    }
    EXPECT_GE(count, 8);
    for (int t = 0; t < 8; ++t) EXPECT_TRUE(types[t]) << "no mission of goal type " << t;
}

}  // namespace
