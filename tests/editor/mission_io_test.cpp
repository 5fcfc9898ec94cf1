// Mission files on disk: what a save leaves behind when it works and when it
// fails, and what a load reads.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "editor/mission_io.h"

namespace fs = std::filesystem;

namespace {

class MissionIo : public testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(TESSMAR_BINARY_DIR) / "test-folders" /
                 testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7);
    }
    std::string Path(const char* name) const { return (folder / name).string(); }
    size_t EntryCount() const { return size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator())); }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void Write(const std::string& path, const std::string& data) {
        std::ofstream(path, std::ios::binary) << data;
    }
    fs::path folder;
    MissionBytes bytes{};
};

TEST_F(MissionIo, SaveWritesExactly294BytesAndReplacesOldFile) {
    std::string path = Path("a.msn");
    Write(path, std::string(1000, 'x'));
    fs::permissions(path, fs::perms(0640));
    std::string reason;
    ASSERT_TRUE(WriteMissionFile(path, bytes, &reason)) << reason;
    EXPECT_EQ(Contents(path), std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms(0640));
    EXPECT_EQ(EntryCount(), 1u);  // no temporary file left
}

TEST_F(MissionIo, FailedSaveIsReportedAndLeavesNothingBehind) {
    std::string reason;
    // The folder is gone.
    EXPECT_FALSE(WriteMissionFile(Path("gone/a.msn"), bytes, &reason));
    EXPECT_FALSE(reason.empty());
    // The target is a folder: the rename fails after the data was written.
    fs::create_directory(folder / "b.msn");
    reason.clear();
    EXPECT_FALSE(WriteMissionFile(Path("b.msn"), bytes, &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_TRUE(fs::is_directory(folder / "b.msn"));
    EXPECT_EQ(EntryCount(), 1u);
}

// A linked mission file stays a link: the file it names is saved (created
// when the link dangles). A temporary file a killed save of the same file
// left is removed; other files are not touched.
TEST_F(MissionIo, SaveFollowsALinkAndRemovesOnlyItsOwnStaleTemporary) {
    fs::create_directories(folder / "real");
    Write(Path("real/old.msn"), "old");
    fs::create_symlink("real/old.msn", folder / "linked.msn");
    fs::create_symlink("real/new.msn", folder / "dangling.msn");
    Write(Path("real/old.msn.tmp-tessmar-Ab12Cd"), "stale");
    Write(Path("real/other.msn.tmp-tessmar-Ab12Cd"), "not ours");
    std::string reason;
    for (const char* name : {"linked.msn", "dangling.msn"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(WriteMissionFile(Path(name), bytes, &reason)) << reason;
        EXPECT_TRUE(fs::is_symlink(folder / name));
        EXPECT_EQ(Contents(Path(name)), std::string(bytes.begin(), bytes.end()));
    }
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder / "real")) left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"new.msn", "old.msn", "other.msn.tmp-tessmar-Ab12Cd"}));
}

TEST_F(MissionIo, LoadReadsUpTo294Bytes) {
    MissionBytes read{};
    size_t size = 99;
    std::string reason;
    Write(Path("short.msn"), std::string(100, '\x05'));
    ASSERT_TRUE(ReadMissionFile(Path("short.msn"), read, &size, &reason)) << reason;
    EXPECT_EQ(size, 100u);
    EXPECT_EQ(read[99], 5);
    EXPECT_EQ(read[100], 0);

    Write(Path("long.msn"), std::string(bytes.begin(), bytes.end()) + std::string(50, 'y'));
    ASSERT_TRUE(ReadMissionFile(Path("long.msn"), read, &size, &reason));
    EXPECT_EQ(size, 294u);
    EXPECT_EQ(read, bytes);

    Write(Path("empty.msn"), "");
    EXPECT_TRUE(ReadMissionFile(Path("empty.msn"), read, &size, &reason));
    EXPECT_EQ(size, 0u);
}

TEST_F(MissionIo, LoadFailuresAreReportedAndCreateNothing) {
    MissionBytes read{};
    size_t size = 0;
    std::string reason;
    EXPECT_FALSE(ReadMissionFile(Path("missing.msn"), read, &size, &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(fs::exists(folder / "missing.msn"));
    reason.clear();
    EXPECT_FALSE(ReadMissionFile(folder.string(), read, &size, &reason));
    EXPECT_FALSE(reason.empty());
    reason.clear();
    EXPECT_FALSE(ReadMissionFile("/dev/null", read, &size, &reason));
    EXPECT_FALSE(reason.empty());
}

}  // namespace
