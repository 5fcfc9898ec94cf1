#include "tests/test_support.h"

#include <unistd.h>

#include <filesystem>

#include "rules/board.h"
#include "draw/playfield.h"
#include "shell/sound_choice.h"
#include "shell/main_loop.h"
#include "platform/platform_headless.h"
#include "shell/program_state.h"
#include "draw/surfaces.h"
#include "settings/data_folder.h"
#include "shell/startup.h"

void FreshProgram() {
    ResetProgramState();
    HeadlessReset();
}

std::string MakeTempFolder(const std::string& name) {
    namespace fs = std::filesystem;
    // ctest runs the tests of one program side by side: each test gets folders of its own.
    fs::path base = fs::path(TESSMAR_BINARY_DIR) / "test-folders";
    if (const auto* test = ::testing::UnitTest::GetInstance()->current_test_info())
        base /= std::string(test->test_suite_name()) + "." + test->name();
    base /= name;
    std::error_code ec;
    fs::permissions(base, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(base, ec);
    fs::create_directories(base);
    return base.string();
}

void StartInFolder(const std::string& folder, SoundSet sounds) {
    FreshProgram();
    if (chdir(folder.c_str()) != 0) ADD_FAILURE() << "cannot enter " << folder;
    FixedSeed = 1;
    ChosenSounds = sounds;
    StartProgram();
}

std::vector<std::string> HeardInFullSet() {
    Headless.sounds.clear();
    PlayFrameSound();
    return Headless.sounds;
}

void RunFrames(int count) {
    for (int i = 0; i < count && !QuitFlag; ++i) RunFrame();
}

bool WallsIntact() {
    for (int r = -2; r <= 12; ++r)
        if (GetKind(-1, r) != Wall || GetKind(8, r) != Wall) return false;
    for (int c = 0; c <= 8; ++c)
        if (GetKind(c, 12) != Wall) return false;
    return true;
}
