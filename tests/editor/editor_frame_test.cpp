// The editor's frame: the menus and their shortcuts, and test play and the
// solvability check run against fake game and solver programs on PATH.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "editor/edit_history.h"
#include "editor/editor_dialogs.h"
#include "editor/editor_frame.h"
#include "editor/editor_language.h"
#include "editor/editor_model.h"
#include "editor/main_window.h"

namespace fs = std::filesystem;

namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteScript(const fs::path& path, const std::string& text) {
    std::ofstream(path) << text;
    fs::permissions(path, fs::perms::owner_all);
}

// The fake game records its arguments and the mission it got.
const char* const FakeGame = R"sh(#!/bin/sh
dir=$(dirname "$0")
cp "$2" "$dir/game-mission.msn"
printf '%s\n' "$@" > "$dir/game-args.tmp" && mv "$dir/game-args.tmp" "$dir/game-args.txt"
)sh";

// The fake solver answers what solver-answer.json holds, after waiting
// solver-wait hundredths of a second; with solver-fails it fails as the real
// one does for a bad file.
const char* const FakeSolver = R"sh(#!/bin/sh
dir=$(dirname "$0")
printf '%s\n' "$@" > "$dir/solver-args.txt"
cp "$1" "$dir/solver-mission.msn"
i=0
while [ -f "$dir/solver-wait" ] && [ $i -lt "$(cat "$dir/solver-wait")" ]; do sleep 0.01; i=$((i+1)); done
if [ -f "$dir/solver-fails" ]; then echo "tessmar-solve: $1: not a mission file" >&2; exit 2; fi
printf '79\n12 Down\n' > "$4"
cat "$dir/solver-answer.json"
)sh";

struct Answered {
    std::vector<QString> warnings, questions, answers;
    std::vector<bool> offers;
    bool showWay = false;
} seen;

class EditorFrameTest : public testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(TESSMAR_BINARY_DIR) / "test-folders" /
                 testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder);
        fs::create_directories(folder / "bin");
        WriteScript(folder / "bin" / "tessmar", FakeGame);
        WriteScript(folder / "bin" / "tessmar-solve", FakeSolver);
        oldPath = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString((folder / "bin").string()) + ":" + oldPath);

        seen = Answered{};
        AskOkCancel = [](QWidget*, const QString& text) {
            seen.questions.push_back(text);
            return false;
        };
        ShowWarning = [](QWidget*, const QString& text) { seen.warnings.push_back(text); };
        ShowCheckAnswer = [](QWidget*, const QString& text, bool offer) {
            seen.answers.push_back(text);
            seen.offers.push_back(offer);
            return seen.showWay;
        };
        ChooseSavePath = [](QWidget*, const QString&) { return QString(); };
        ChooseOpenPath = [](QWidget*, const QString&) { return QString(); };
        ResetEditorState();
        frame = std::make_unique<EditorFrame>();
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    void TearDown() override {
        frame.reset();
        qputenv("PATH", oldPath);
    }

    EditorWindow* Client() { return frame->Client(); }
    QAction* Action(const char* name) {
        QAction* a = frame->findChild<QAction*>(QString::fromLatin1(name));
        if (a == nullptr) ADD_FAILURE() << "no action " << name;
        return a;
    }
    // Every used pair filled with kind 3, pairs 0..count-1 in use.
    void FillPairs(int count) {
        for (int p = 0; p < 8; ++p)
            for (int h = 0; h < 2; ++h) EditorMission.queueKind[MissionQueueIndex(p, h)] = 3;
        Client()->findChild<QScrollBar*>("pairCountBar")->setValue(count - 1);
    }
    // Waits up to five seconds for a file a fake program writes.
    bool WaitFor(const fs::path& path) {
        for (int i = 0; i < 500 && !fs::exists(path); ++i) QTest::qWait(10);
        return fs::exists(path);
    }
    std::vector<std::string> Lines(const fs::path& path) {
        std::vector<std::string> lines;
        std::ifstream in(path);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(frame.get(), Qt::Key(key), modifiers);
    }

    fs::path folder;
    QByteArray oldPath;
    std::unique_ptr<EditorFrame> frame;
};

TEST_F(EditorFrameTest, MenusHoldTheCommandsWithTheirShortcutsOutsideTheClientArea) {
    struct Expected {
        const char* name;
        const char* menu;
        const char* text;
        QList<QKeySequence> keys;
    };
    const Expected items[] = {
        {"newAction", "ファイル", "新規", {QKeySequence("Ctrl+N")}},
        {"openAction", "ファイル", "開く…", {QKeySequence("Ctrl+O")}},
        {"saveAction", "ファイル", "保存…", {QKeySequence("Ctrl+S")}},
        {"quitAction", "ファイル", "終了", {QKeySequence("Ctrl+Q")}},
        {"undoAction", "編集", "元に戻す", {QKeySequence("Ctrl+Z")}},
        {"redoAction", "編集", "やり直す", {QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}},
        {"testPlayAction", "ミッション", "試しに遊ぶ", {QKeySequence("F5")}},
        {"checkAction", "ミッション", "解けるか調べる", {QKeySequence("F6")}},
    };
    QStringList menus;
    for (QAction* m : frame->menuBar()->actions()) menus << m->text();
    EXPECT_EQ(menus, QStringList({Utf8("ファイル"), Utf8("編集"), Utf8("ミッション")}));
    for (const Expected& e : items) {
        QAction* a = Action(e.name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), Utf8(e.text)) << e.name;
        EXPECT_EQ(a->shortcuts(), e.keys) << e.name;
        auto* menu = qobject_cast<QMenu*>(a->parent());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title(), Utf8(e.menu)) << e.name;
    }
    // The client area keeps its size and lies wholly below the menu bar.
    EXPECT_EQ(Client()->size(), QSize(512, 528));
    EXPECT_GE(Client()->y(), frame->menuBar()->height());
    EXPECT_EQ(frame->windowTitle(), Utf8("Tessmar　ミッションエディタ"));
}

TEST_F(EditorFrameTest, ShortcutsRunTheCommands) {
    SelectedKind = 4;
    ASSERT_TRUE(BoardLeftDown(10, 10));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(BoardKind(0, 0), 0);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(BoardKind(0, 0), 4);
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(BoardKind(0, 0), 4);
    Key(Qt::Key_N, Qt::ControlModifier);  // asks; the fake says Cancel
    Key(Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(seen.questions.size(), 2u);
    EXPECT_EQ(seen.questions[0], Utf8("クリアしてよろしいですか。"));
    EXPECT_EQ(seen.questions[1], Utf8("終了してよろしいですか。"));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(BoardKind(0, 0), 4);
    Key(Qt::Key_S, Qt::ControlModifier);  // all eight pairs empty: SAVE's warning
    ASSERT_EQ(seen.warnings.size(), 1u);
    EXPECT_EQ(seen.warnings[0], Utf8("Nextはブロックを埋めてください。"));
}

TEST_F(EditorFrameTest, TestPlayHandsTheGameATemporaryCopyOfTheMission) {
    Key(Qt::Key_F5);  // unfilled pairs: the warning and no game
    ASSERT_EQ(seen.warnings.size(), 1u);
    EXPECT_EQ(seen.warnings[0], Utf8("Nextはブロックを埋めてください。"));
    FillPairs(3);
    SetGoalRadio(2);
    SetNumberText("17");  // still being typed
    MissionBytes before = EditorMissionBytes();
    Key(Qt::Key_F5);
    ASSERT_TRUE(WaitFor(folder / "bin" / "game-args.txt"));
    std::vector<std::string> args = Lines(folder / "bin" / "game-args.txt");
    ASSERT_EQ(args.size(), 2u);
    EXPECT_EQ(args[0], "--mission");
    EXPECT_EQ(fs::path(args[1]).extension(), ".msn");
    std::string given = Read(folder / "bin" / "game-mission.msn");
    ASSERT_EQ(given.size(), 294u);
    EXPECT_EQ(given[291], 3);               // pieceLimit from the scroll bar
    EXPECT_EQ(given[290], 2);               // the checked radio
    EXPECT_EQ(given[286], 17);              // the number typed
    EXPECT_EQ(EditorMissionBytes(), before);  // the editor's own copy is left alone
    EXPECT_EQ(seen.warnings.size(), 1u);
}

TEST_F(EditorFrameTest, CheckShowsTheAnswerAndPlaysTheShortestWay) {
    std::ofstream(folder / "bin" / "solver-answer.json")
        << R"({"file":"x.msn","goal_type":0,"random_pairs":false,"pairs":3,"clearable":true,"shortest":2,)"
           R"("ways":5000,"ways_at_least":true,"first_placements":4,"open_doors":1,"one_ahead_clears":false,)"
           R"("two_ahead_clears":true,"difficulty":3.25})";
    std::ofstream(folder / "bin" / "solver-wait") << "20";
    FillPairs(3);
    seen.showWay = true;
    Key(Qt::Key_F6);
    EXPECT_TRUE(Client()->Checking());
    EXPECT_TRUE(frame->findChild<QPushButton*>("cancelCheckButton")->isVisible());
    Client()->NewCommand();  // the editor stays usable meanwhile (the fake says Cancel)
    EXPECT_EQ(seen.questions.size(), 1u);
    for (int i = 0; i < 500 && seen.answers.empty(); ++i) QTest::qWait(10);
    ASSERT_EQ(seen.answers.size(), 1u);
    EXPECT_FALSE(Client()->Checking());
    EXPECT_FALSE(frame->findChild<QPushButton*>("cancelCheckButton")->isVisible());
    EXPECT_TRUE(seen.offers[0]);
    const QString& text = seen.answers[0];
    EXPECT_TRUE(text.contains(Utf8("クリアできます"))) << text.toStdString();
    EXPECT_TRUE(text.contains(Utf8("最短: 2 組"))) << text.toStdString();
    EXPECT_TRUE(text.contains(Utf8("少なくとも 5000 通り"))) << text.toStdString();
    EXPECT_TRUE(text.contains("3.25")) << text.toStdString();

    std::vector<std::string> solverArgs = Lines(folder / "bin" / "solver-args.txt");
    ASSERT_EQ(solverArgs.size(), 6u);
    EXPECT_EQ(solverArgs[1], "--json");
    EXPECT_EQ(solverArgs[2], "--script");
    EXPECT_EQ(solverArgs[4], "--from");
    EXPECT_EQ(solverArgs[5], "mission");
    EXPECT_EQ(Read(folder / "bin" / "solver-mission.msn")[291], 3);

    // "Show the shortest way": the game on the same file with the script.
    ASSERT_TRUE(WaitFor(folder / "bin" / "game-args.txt"));
    std::vector<std::string> gameArgs = Lines(folder / "bin" / "game-args.txt");
    ASSERT_EQ(gameArgs.size(), 4u);
    EXPECT_EQ(gameArgs[0], "--mission");
    EXPECT_EQ(gameArgs[1], solverArgs[0]);
    EXPECT_EQ(gameArgs[2], "--replay");
    EXPECT_EQ(gameArgs[3], solverArgs[3]);
}

TEST_F(EditorFrameTest, RandomGoalsAreNotCheckableAndFailuresAreReported) {
    std::ofstream(folder / "bin" / "solver-answer.json") << R"({"file":"x.msn","goal_type":7,"random_pairs":true})";
    FillPairs(1);
    Client()->CheckCommand();
    for (int i = 0; i < 500 && seen.answers.empty(); ++i) QTest::qWait(10);
    ASSERT_EQ(seen.answers.size(), 1u);
    EXPECT_FALSE(seen.offers[0]);
    EXPECT_TRUE(seen.answers[0].contains(Utf8("調べられません"))) << seen.answers[0].toStdString();

    std::ofstream(folder / "bin" / "solver-fails");
    Client()->CheckCommand();
    for (int i = 0; i < 500 && seen.warnings.empty(); ++i) QTest::qWait(10);
    ASSERT_EQ(seen.warnings.size(), 1u);
    EXPECT_TRUE(seen.warnings[0].contains("not a mission file")) << seen.warnings[0].toStdString();
    EXPECT_EQ(seen.answers.size(), 1u);
    EXPECT_FALSE(fs::exists(folder / "bin" / "game-args.txt"));
}

TEST_F(EditorFrameTest, CancelStopsTheCheckWithoutAnAnswer) {
    std::ofstream(folder / "bin" / "solver-answer.json") << R"({"goal_type":0,"random_pairs":false})";
    std::ofstream(folder / "bin" / "solver-wait") << "3000";
    FillPairs(2);
    Client()->CheckCommand();
    ASSERT_TRUE(Client()->Checking());
    QTest::qWait(50);
    frame->findChild<QPushButton*>("cancelCheckButton")->click();
    EXPECT_FALSE(Client()->Checking());
    EXPECT_FALSE(frame->findChild<QPushButton*>("cancelCheckButton")->isVisible());
    QTest::qWait(100);
    EXPECT_TRUE(seen.answers.empty());
    EXPECT_TRUE(seen.warnings.empty());
}

}  // namespace

namespace {

// In a child process, as it changes the whole process's language: Qt's own
// button texts and the C library's error texts turn Japanese where the
// system has them.
TEST(EditorLanguage, QtAndSystemTextsTurnJapanese) {
    if (!fs::exists("/usr/share/qt6/translations/qtbase_ja.qm") ||
        !fs::exists("/usr/share/locale/ja/LC_MESSAGES/libc.mo"))
        GTEST_SKIP() << "no Japanese translations on this system";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            UseJapaneseTexts(*qApp);
            bool qt = QCoreApplication::translate("QPlatformTheme", "Cancel") == Utf8("キャンセル");
            bool libc = std::string(std::strerror(ENOENT)) == "そのようなファイルやディレクトリはありません";
            std::exit(qt && libc ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
