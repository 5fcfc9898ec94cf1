// The widget tests run in one QApplication on the offscreen platform unless
// the environment names another, in Japanese whatever the locale says, with
// the user's folders inside the build folder.
#include <filesystem>

#include <QApplication>
#include <QtGlobal>

#include <gtest/gtest.h>

#include "editor/editor_language.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::filesystem::path home = std::filesystem::path(TESSMAR_BINARY_DIR) / "test-folders" / "widget-home";
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home / "tmp");
    qputenv("HOME", QByteArray::fromStdString(home.string()));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString((home / "data").string()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((home / "config").string()));
    qputenv("TMPDIR", QByteArray::fromStdString((home / "tmp").string()));
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    UseLanguage(app, Language::Japanese);
    return RUN_ALL_TESTS();
}
