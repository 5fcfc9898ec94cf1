// The widget tests run in one QApplication on the offscreen platform unless
// the environment names another, in Japanese whatever the locale says, with
// the user's folders inside the build folder.
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include <QApplication>
#include <QtGlobal>

#include <gtest/gtest.h>

#include "editor/editor_language.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // One folder per process, as ctest runs the tests side by side; those of
    // processes that are gone (death tests end with _exit) are removed.
    std::filesystem::path folders = std::filesystem::path(TESSMAR_BINARY_DIR) / "test-folders";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folders, error)) {
        std::string name = entry.path().filename().string();
        if (name.rfind("widget-home-", 0) != 0) continue;
        int pid = std::atoi(name.c_str() + 12);
        if (pid > 0 && kill(pid, 0) != 0 && errno == ESRCH) std::filesystem::remove_all(entry.path(), error);
    }
    std::filesystem::path home = std::filesystem::path(TESSMAR_BINARY_DIR) / "test-folders" /
                                 ("widget-home-" + std::to_string(getpid()));
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home / "tmp");
    qputenv("HOME", QByteArray::fromStdString(home.string()));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString((home / "data").string()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((home / "config").string()));
    qputenv("TMPDIR", QByteArray::fromStdString((home / "tmp").string()));
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    UseLanguage(app, Language::Japanese);
    int result = RUN_ALL_TESTS();
    std::filesystem::remove_all(home);
    return result;
}
