// The mission compiler: its output byte for byte, the frame-block count of
// types 3 and 4, and the sources it refuses.
#include <cstdlib>
#include <fstream>

#include "tests/missions/missions_support.h"

using namespace missions_test;

namespace {

const std::string TenEmptyRows = "........\n........\n........\n........\n........\n........\n"
                           "........\n........\n........\n........\n";

struct Compiled {
    int status = -1;
    std::vector<uint8_t> bytes;
};

Compiled Compile(const std::string& source) {
    std::string folder = MakeTempFolder("missions-compiler");
    std::ofstream(folder + "/in.txt") << source;
    std::string command = std::string(TESSMAR_BINARY_DIR "/tools/missions/tessmar-missionc ") + folder + "/in.txt " +
                          folder + "/out.msn 2>" + folder + "/err.txt";
    Compiled c;
    c.status = std::system(command.c_str());
    c.bytes = ReadBytes(folder + "/out.msn");
    return c;
}

std::string Source(const std::string& goal, int pairs, const std::string& lastRows, const std::string& queue) {
    return "title: T\nidea: test # a comment\ngoal: " + goal + "\npairs: " + std::to_string(pairs) + "\nwell:\n" +
           TenEmptyRows + lastRows + "queue:\n" + queue;
}

TEST(MissionCompiler, WritesTheEditorsBytes) {
    // The ring mission of the other tests, written as a source.
    Compiled c = Compile(Source("chain 1", 1, "...r....\n...L....  ...*....\n",
                                "7J    # the pair that closes the ring\n--\n--\n--\n--\n--\n--\n--\n"));
    ASSERT_EQ(c.status, 0);
    MissionImage m = RingMission();
    m.frame[MissionFrameIndex(3, 11)] = 1;
    MissionBytes expected = EncodeMission(m);
    ASSERT_EQ(c.bytes.size(), MissionFileSize);
    EXPECT_EQ(std::vector<uint8_t>(expected.begin(), expected.end()), c.bytes);
}

TEST(MissionCompiler, FrameGoalsCountFramesOfTheWellAndOfThePairsPlayed) {
    std::string rows = "..rLJ...  ..**....\n..L-J...  ..*.*...\n";
    // Two pairs played, one framed half in each; the third pair's mark does not count.
    std::string queue = "7J  *.\n--  .*\n--  **\n--\n--\n--\n--\n--\n";
    for (const char* goal : {"all-frames", "all-frames-at-once"}) {
        Compiled c = Compile(Source(goal, 2, rows, queue));
        ASSERT_EQ(c.status, 0) << goal;
        uint32_t target = c.bytes[286] | c.bytes[287] << 8 | c.bytes[288] << 16 | uint32_t(c.bytes[289]) << 24;
        EXPECT_EQ(target, 6u) << goal;
    }
    EXPECT_EQ(Compile(Source("all-frames 6", 2, rows, queue)).status, 0);
    EXPECT_NE(Compile(Source("all-frames 5", 2, rows, queue)).status, 0);
}

TEST(MissionCompiler, RefusesWhatTheEditorCannotSave) {
    std::string queue = "7J\n--\n--\n--\n--\n--\n--\n--\n";
    std::string ok = "........\n...LJ...\n";
    EXPECT_EQ(Compile(Source("chain 1", 1, ok, queue)).status, 0);
    struct Bad {
        const char* why;
        std::string source;
    } bad[] = {
        {"joiner in the well", Source("chain 1", 1, "...o....\n...LJ...\n", queue)},
        {"frame on an empty cell", Source("chain 1", 1, "........  *.......\n...LJ...\n", queue)},
        {"played pair with an empty half", Source("chain 1", 2, ok, "7J\n-.\n--\n--\n--\n--\n--\n--\n")},
        {"wall in the queue", Source("chain 1", 1, ok, "7#\n--\n--\n--\n--\n--\n--\n--\n")},
        {"seven pairs", Source("chain 1", 1, ok, "7J\n--\n--\n--\n--\n--\n--\n")},
        {"unknown goal", Source("loops 1", 1, ok, queue)},
        {"target too large", Source("erase 100001", 1, ok, queue)},
        {"no target", Source("area", 1, ok, queue)},
        {"nine pairs played", Source("chain 1", 9, ok, queue)},
        {"unknown kind", Source("chain 1", 1, "...x....\n...LJ...\n", queue)},
    };
    for (const Bad& b : bad) {
        Compiled c = Compile(b.source);
        EXPECT_NE(c.status, 0) << b.why;
        EXPECT_TRUE(c.bytes.empty()) << b.why;
    }
    // The entry cell of row 0.
    std::string entry = Source("chain 1", 1, ok, queue);
    entry.replace(entry.find("well:\n") + 6, 8, "....-...");
    EXPECT_NE(Compile(entry).status, 0);
}

}  // namespace
