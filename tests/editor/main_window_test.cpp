// The editor's frame: the menus and their shortcuts, and test play and the
// solvability check run against fake game and solver programs on PATH.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <utility>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "editor/document_history.h"
#include "editor/editor_dialogs.h"
#include "editor/main_window.h"
#include "editor/check_answer.h"
#include "editor/editor_language.h"
#include "editor/tool_programs.h"
#include "editor/editor_model.h"
#include "editor/mission_panel.h"

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
printf '%s\n' "$@" > "$dir/game-args.tmp"
while [ $# -gt 1 ]; do [ "$1" = --mission ] && cp "$2" "$dir/game-mission.msn"; shift; done
mv "$dir/game-args.tmp" "$dir/game-args.txt"
)sh";

// The fake solver prints solver-lines at once, then answers what
// solver-answer.json holds, after waiting
// solver-wait hundredths of a second; with solver-fails it fails as the real
// one does for a bad file.
const char* const FakeSolver = R"sh(#!/bin/sh
dir=$(dirname "$0")
printf '%s\n' "$@" > "$dir/solver-args.txt"
cp "$1" "$dir/solver-mission.msn"
if [ -f "$dir/solver-lines" ]; then cat "$dir/solver-lines"; fi
i=0
while [ -f "$dir/solver-wait" ] && [ $i -lt "$(cat "$dir/solver-wait")" ]; do sleep 0.01; i=$((i+1)); done
if [ -f "$dir/solver-fails" ]; then echo "tessmar-solve: $1: not a mission file" >&2; exit 2; fi
printf '79\n12 Down\n' > "$4"
cat "$dir/solver-answer.json"
)sh";

struct Answered {
    std::vector<QString> warnings, questions, answers;
    std::vector<bool> offers, deeperOffers;
    CheckChoice choice = CheckChoice::Close;
    SaveChoice save = SaveChoice::Cancel;
    QString savePath, openPath;
    int saveDialogs = 0;
} seen;

class MainWindowTest : public testing::Test {
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
        AskSaveChanges = [](QWidget*, const QString& text) {
            seen.questions.push_back(text);
            return seen.save;
        };
        ShowWarning = [](QWidget*, const QString& text) { seen.warnings.push_back(text); };
        ShowCheckAnswer = [](QWidget*, const QString& text, bool offer, bool deeper) {
            seen.answers.push_back(text);
            seen.offers.push_back(offer);
            seen.deeperOffers.push_back(deeper);
            return std::exchange(seen.choice, CheckChoice::Close);
        };
        ChooseSavePath = [](QWidget*, const QString&) {
            ++seen.saveDialogs;
            return seen.savePath;
        };
        ChooseOpenPath = [](QWidget*, const QString&) { return seen.openPath; };
        ResetEditorState();
        frame = std::make_unique<MainWindow>();
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    void TearDown() override {
        frame.reset();
        qputenv("PATH", oldPath);
        CheckDeadlineMs = 9500;
    }

    MissionPanel* Client() { return frame->Panel(); }
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
    // A key as the focused control gets it (shortcuts included).
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : frame.get(), Qt::Key(key), modifiers);
    }

    fs::path folder;
    QByteArray oldPath;
    std::unique_ptr<MainWindow> frame;
};

TEST_F(MainWindowTest, MenusHoldTheCommandsWithTheirShortcutsOutsideTheClientArea) {
    struct Expected {
        const char* name;
        const char* menu;
        const char* text;
        QList<QKeySequence> keys;
    };
    const Expected items[] = {
        {"newAction", "ファイル(&F)", "新規(&N)", {QKeySequence("Ctrl+N")}},
        {"openAction", "ファイル(&F)", "開く(&O)…", {QKeySequence("Ctrl+O")}},
        {"saveAction", "ファイル(&F)", "保存(&S)", {QKeySequence("Ctrl+S")}},
        {"saveAsAction", "ファイル(&F)", "名前を付けて保存(&A)…", {QKeySequence("Ctrl+Shift+S")}},
        {"quitAction", "ファイル(&F)", "終了(&Q)", {QKeySequence("Ctrl+Q")}},
        {"undoAction", "編集(&E)", "元に戻す(&U)", {QKeySequence("Ctrl+Z")}},
        {"redoAction", "編集(&E)", "やり直す(&R)", {QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}},
        {"testPlayAction", "ミッション(&M)", "試しに遊ぶ(&T)", {QKeySequence("F5")}},
        {"checkAction", "ミッション(&M)", "解けるか調べる(&C)", {QKeySequence("F6")}},
        {"deepCheckAction", "ミッション(&M)", "時間をかけて調べる(&L)", {QKeySequence("Shift+F6")}},
    };
    QStringList menus;
    for (QAction* m : frame->menuBar()->actions()) menus << m->text();
    EXPECT_EQ(menus, QStringList({Utf8("ファイル(&F)"), Utf8("編集(&E)"), Utf8("ミッション(&M)")}));
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
    EXPECT_EQ(frame->windowTitle(), Utf8("無題[*] - Tessmar　ミッションエディタ"));
    // F10 opens the first menu.
    Key(Qt::Key_F10);
    EXPECT_EQ(frame->menuBar()->activeAction(), frame->menuBar()->actions().first());
    Key(Qt::Key_Escape);
    Key(Qt::Key_Escape);
}

// Undo and Redo are enabled only with something to undo or redo, named by
// the step, and they are the document's wherever the focus is.
TEST_F(MainWindowTest, UndoBelongsToTheDocument) {
    QAction* undo = Action("undoAction");
    QAction* redo = Action("redoAction");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    QWidget* board = Client()->findChild<QWidget*>("boardView");
    board->setFocus();
    Key(Qt::Key_4);      // plain kind 4
    Key(Qt::Key_Space);  // placed at (0, 0)
    EXPECT_EQ(BoardKind(0, 0), 4);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), Utf8("元に戻す(&U): 盤面のマス"));

    // In the number field: Ctrl+Z takes back the typing as one step...
    auto* field = Client()->findChild<QLineEdit*>("numberField");
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "25");
    EXPECT_EQ(undo->text(), Utf8("元に戻す(&U): ミッションの数"));
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field->text(), "10");
    EXPECT_EQ(NumberFieldText, "10");
    EXPECT_TRUE(redo->isEnabled());
    EXPECT_EQ(redo->text(), Utf8("やり直す(&R): ミッションの数"));
    // ...and then the board cell, though the field still has the focus.
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(BoardKind(0, 0), 0);
    EXPECT_FALSE(undo->isEnabled());
    QTest::keyClick(field, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(BoardKind(0, 0), 4);
    EXPECT_EQ(field->text(), "25");
    EXPECT_FALSE(redo->isEnabled());
}

// The title names the file and marks changes; Save writes to the file
// without asking, Save As asks; opening over changes asks first.
TEST_F(MainWindowTest, TitleSaveAndSaveAsFollowTheFile) {
    EXPECT_FALSE(frame->isWindowModified());
    FillPairs(8);
    Client()->findChild<QWidget*>("boardView")->setFocus();
    Key(Qt::Key_2);
    Key(Qt::Key_Space);
    EXPECT_TRUE(frame->isWindowModified());
    seen.savePath = QString::fromStdString((folder / "first.msn").string());
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(seen.saveDialogs, 1);
    EXPECT_EQ(Read(folder / "first.msn").size(), 294u);
    EXPECT_EQ(frame->windowTitle(), Utf8("first.msn[*] - Tessmar　ミッションエディタ"));
    EXPECT_FALSE(frame->isWindowModified());

    Key(Qt::Key_5);
    Key(Qt::Key_Space);
    EXPECT_TRUE(frame->isWindowModified());
    Client()->UndoCommand();  // back to what was saved: not modified
    EXPECT_FALSE(frame->isWindowModified());
    Client()->RedoCommand();
    EXPECT_TRUE(frame->isWindowModified());
    Key(Qt::Key_S, Qt::ControlModifier);  // no dialog: the same file
    EXPECT_EQ(seen.saveDialogs, 1);
    EXPECT_EQ(Read(folder / "first.msn")[MissionKindIndex(0, 0)], 5);
    EXPECT_FALSE(frame->isWindowModified());

    seen.savePath = QString::fromStdString((folder / "second.msn").string());
    Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(seen.saveDialogs, 2);
    EXPECT_EQ(frame->windowTitle(), Utf8("second.msn[*] - Tessmar　ミッションエディタ"));

    // Ctrl+O over unsaved changes asks before the dialog; Cancel stops it.
    Client()->findChild<QWidget*>("boardView")->setFocus();
    Key(Qt::Key_Delete);
    seen.save = SaveChoice::Cancel;
    Key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(seen.questions.size(), 1u);
    EXPECT_EQ(seen.questions[0], Utf8("second.msn への変更を保存しますか？"));
    EXPECT_TRUE(frame->isWindowModified());
}

// Opening a file or starting a new mission begins its own history: no
// undo reaches back into the mission shown before, so Save never writes
// one file's mission into another file.
TEST_F(MainWindowTest, UndoNeverCarriesOneMissionIntoAnotherFile) {
    MissionImage a, b;
    a.queueKind.fill(3);
    a.kind[MissionKindIndex(2, 11)] = 5;
    a.pieceLimit = 8;
    b.queueKind.fill(4);
    b.kind[MissionKindIndex(6, 10)] = 7;
    b.type = 1;
    b.target = 20;
    b.pieceLimit = 8;
    const MissionBytes aBytes = EncodeMission(a), bBytes = EncodeMission(b);
    const fs::path aPath = folder / "a.msn", bPath = folder / "b.msn";
    std::ofstream(aPath, std::ios::binary).write(reinterpret_cast<const char*>(aBytes.data()), 294);
    std::ofstream(bPath, std::ios::binary).write(reinterpret_cast<const char*>(bBytes.data()), 294);
    const std::string aFile(aBytes.begin(), aBytes.end()), bFile(bBytes.begin(), bBytes.end());

    seen.openPath = QString::fromStdString(aPath.string());
    Key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(BoardKind(2, 11), 5);
    Client()->findChild<QWidget*>("boardView")->setFocus();
    Key(Qt::Key_4);
    Key(Qt::Key_Space);  // an unsaved change to a
    seen.openPath = QString::fromStdString(bPath.string());
    seen.save = SaveChoice::Discard;
    Key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(seen.questions.size(), 1u);
    ASSERT_EQ(EditorMissionBytes(), bBytes);

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(EditorMissionBytes(), bBytes);
    EXPECT_FALSE(Action("undoAction")->isEnabled());
    EXPECT_EQ(frame->windowTitle(), Utf8("b.msn[*] - Tessmar　ミッションエディタ"));
    EXPECT_FALSE(frame->isWindowModified());
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(seen.saveDialogs, 0);
    EXPECT_EQ(Read(aPath), aFile);
    EXPECT_EQ(Read(bPath), bFile);

    // New: its undo does not bring b back either.
    Key(Qt::Key_N, Qt::ControlModifier);
    const MissionBytes fresh = EditorMissionBytes();
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(EditorMissionBytes(), fresh);
    EXPECT_EQ(BoardKind(6, 10), 0);
    EXPECT_FALSE(Action("undoAction")->isEnabled());
    EXPECT_FALSE(frame->isWindowModified());
    EXPECT_EQ(frame->windowTitle(), Utf8("無題[*] - Tessmar　ミッションエディタ"));
    EXPECT_EQ(Read(bPath), bFile);
}

// Everything from the keyboard: a mission laid out, saved and test-played
// without a click.
TEST_F(MainWindowTest, KeyboardAloneLaysOutSavesAndPlaysAMission) {
    auto focus = [] { return QApplication::focusWidget(); };
    auto press = [&](int key, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(focus(), Qt::Key(key), m);
    };
    ASSERT_EQ(focus()->objectName(), "boardView");
    // Board: kind 2 at (0, 11), framed kind 1 at (1, 11) through the palette.
    press(Qt::Key_2);
    for (int i = 0; i < 11; ++i) press(Qt::Key_Down);
    press(Qt::Key_Space);
    EXPECT_EQ(BoardKind(0, 11), 2);
    press(Qt::Key_Tab);  // the plain palette
    EXPECT_EQ(focus()->objectName(), "plainPalette");
    press(Qt::Key_Left);
    press(Qt::Key_Down);  // to the framed twin of kind 1, and its strip
    EXPECT_EQ(SelectedFrame, 1);
    EXPECT_EQ(SelectedKind, 1);
    EXPECT_EQ(focus()->objectName(), "framedPalette");
    press(Qt::Key_Tab, Qt::ShiftModifier);
    press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(focus()->objectName(), "boardView");
    press(Qt::Key_Right);
    press(Qt::Key_Return);
    EXPECT_EQ(BoardKind(1, 11), 1);
    EXPECT_EQ(BoardFrame(1, 11), 1);
    press(Qt::Key_Delete);
    EXPECT_EQ(BoardKind(1, 11), 0);

    // The queue: the first two pairs filled, by ] stepping to plain kind 3.
    for (const char* name : {"plainPalette", "framedPalette", "queueView"}) {
        press(Qt::Key_Tab);
        EXPECT_EQ(focus()->objectName(), name);
    }
    press(Qt::Key_3);
    for (int pair = 0; pair < 2; ++pair) {
        press(Qt::Key_Space);
        press(Qt::Key_Down);
        press(Qt::Key_Space);
        press(Qt::Key_Up);
        press(Qt::Key_Right);
    }
    EXPECT_EQ(QueueKind(1, 1), 3);
    // The pair count: Home, then one to the right: two pairs.
    press(Qt::Key_Tab);
    EXPECT_EQ(focus()->objectName(), "pairCountBar");
    press(Qt::Key_Home);
    press(Qt::Key_Right);
    EXPECT_EQ(PairCountPosition, 1);
    // The number field, then the goal radios.
    press(Qt::Key_Tab);
    EXPECT_EQ(focus()->objectName(), "numberField");
    QTest::keyClick(focus(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(focus(), "3");
    press(Qt::Key_Tab);
    EXPECT_EQ(focus()->objectName(), "goalRadio0");
    press(Qt::Key_Down);
    EXPECT_EQ(GoalRadio, 1);
    press(Qt::Key_Tab);
    EXPECT_EQ(focus()->objectName(), "newButton");
    for (const char* name : {"saveButton", "loadButton"}) {
        press(Qt::Key_Tab);
        EXPECT_EQ(focus()->objectName(), name);
    }
    // Saved with Ctrl+S, played with F5.
    seen.savePath = QString::fromStdString((folder / "keys.msn").string());
    press(Qt::Key_S, Qt::ControlModifier);
    std::string saved = Read(folder / "keys.msn");
    ASSERT_EQ(saved.size(), 294u);
    EXPECT_EQ(saved[MissionKindIndex(0, 11)], 2);
    EXPECT_EQ(saved[MissionTypeOffset], 1);
    EXPECT_EQ(saved[MissionTargetOffset], 3);
    EXPECT_EQ(saved[MissionPieceLimitOffset], 2);
    press(Qt::Key_F5);
    ASSERT_TRUE(WaitFor(folder / "bin" / "game-args.txt"));
    EXPECT_EQ(Read(folder / "bin" / "game-mission.msn"), saved);
    EXPECT_TRUE(seen.warnings.empty());
}

TEST_F(MainWindowTest, TestPlayHandsTheGameATemporaryCopyOfTheMission) {
    Key(Qt::Key_F5);  // unfilled pairs: the warning and no game
    ASSERT_EQ(seen.warnings.size(), 1u);
    EXPECT_EQ(seen.warnings[0], Utf8("Nextはブロックを埋めてください。"));
    FillPairs(3);
    Client()->findChild<QRadioButton*>("goalRadio2")->setChecked(true);
    Client()->findChild<QLineEdit*>("numberField")->setText("17");  // still being typed
    MissionBytes before = EditorMissionBytes();
    Key(Qt::Key_F5);
    ASSERT_TRUE(WaitFor(folder / "bin" / "game-args.txt"));
    std::vector<std::string> args = Lines(folder / "bin" / "game-args.txt");
    ASSERT_EQ(args.size(), 4u);
    EXPECT_EQ(args[0], "--language");  // the editor's
    EXPECT_EQ(args[1], "ja");
    EXPECT_EQ(args[2], "--mission");
    EXPECT_EQ(fs::path(args[3]).extension(), ".msn");
    std::string given = Read(folder / "bin" / "game-mission.msn");
    ASSERT_EQ(given.size(), 294u);
    EXPECT_EQ(given[291], 3);               // pieceLimit from the scroll bar
    EXPECT_EQ(given[290], 2);               // the checked radio
    EXPECT_EQ(given[286], 17);              // the number typed
    EXPECT_EQ(EditorMissionBytes(), before);  // the editor's own copy is left alone
    EXPECT_EQ(seen.warnings.size(), 1u);

    // An English editor starts an English game.
    struct Restore {
        ~Restore() { UseLanguage(*qApp, Language::Japanese); }
    } restore;
    UseLanguage(*qApp, Language::English);
    fs::remove(folder / "bin" / "game-args.txt");
    Client()->TestPlayCommand();
    ASSERT_TRUE(WaitFor(folder / "bin" / "game-args.txt"));
    EXPECT_EQ(Lines(folder / "bin" / "game-args.txt")[1], "en");
}

TEST_F(MainWindowTest, CheckShowsTheAnswerAndPlaysTheShortestWay) {
    std::ofstream(folder / "bin" / "solver-answer.json")
        << R"({"file":"x.msn","goal_type":0,"random_pairs":false,"pairs":3,"clearable":true,"shortest":2,)"
           R"("ways":5000,"ways_at_least":true,"first_placements":4,"open_doors":1,"one_ahead_clears":false,)"
           R"("two_ahead_clears":true,"difficulty":3.25})";
    std::ofstream(folder / "bin" / "solver-wait") << "20";
    FillPairs(3);
    seen.choice = CheckChoice::ShowWay;
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
    ASSERT_EQ(solverArgs.size(), 8u);
    EXPECT_EQ(solverArgs[1], "--json");
    EXPECT_EQ(solverArgs[2], "--script");
    EXPECT_EQ(solverArgs[4], "--from");
    EXPECT_EQ(solverArgs[5], "mission");
    EXPECT_EQ(solverArgs[6], "--seconds");
    EXPECT_EQ(solverArgs[7], "8");
    EXPECT_FALSE(text.contains(Utf8("ミッションが変わりました")));
    EXPECT_EQ(Read(folder / "bin" / "solver-mission.msn")[291], 3);

    // "Show the shortest way": the game on the same file with the script.
    ASSERT_TRUE(WaitFor(folder / "bin" / "game-args.txt"));
    std::vector<std::string> gameArgs = Lines(folder / "bin" / "game-args.txt");
    ASSERT_EQ(gameArgs.size(), 6u);
    EXPECT_EQ(gameArgs[0], "--language");
    EXPECT_EQ(gameArgs[1], "ja");
    EXPECT_EQ(gameArgs[2], "--mission");
    EXPECT_EQ(gameArgs[3], solverArgs[0]);
    EXPECT_EQ(gameArgs[4], "--replay");
    EXPECT_EQ(gameArgs[5], solverArgs[3]);
}

TEST_F(MainWindowTest, RandomGoalsAreNotCheckableAndFailuresAreReported) {
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

TEST_F(MainWindowTest, CancelStopsTheCheckWithoutAnAnswer) {
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



// The check's answer as the author reads it.
TEST(CheckAnswer, TextSaysWhatTheSolverFound) {
    SolverAnswer counted{0, false, 4, true, 3, 12, false, true, 2.5};
    QString text = CheckAnswerText(counted);
    EXPECT_TRUE(text.contains(Utf8("この 4 組のブロックでクリアできます。"))) << text.toStdString();
    EXPECT_TRUE(text.contains(Utf8("最短: 3 組でクリア"))) << text.toStdString();
    EXPECT_TRUE(text.contains(Utf8("クリアの手順: 12 通り"))) << text.toStdString();
    EXPECT_TRUE(text.contains(Utf8("難しさ: 2.50"))) << text.toStdString();

    // The count was cut before it reached the way the search found.
    SolverAnswer cut = counted;
    cut.ways = 0;
    cut.waysAtLeast = true;
    text = CheckAnswerText(cut);
    EXPECT_TRUE(text.contains(Utf8("少なくとも 1 通り"))) << text.toStdString();

    SolverAnswer lost{1, false, 2, false, -1, 0, false, false, 0};
    text = CheckAnswerText(lost);
    EXPECT_TRUE(text.contains(Utf8("この 2 組のブロックではクリアできません。"))) << text.toStdString();
    EXPECT_FALSE(text.contains(Utf8("最短")));
    EXPECT_TRUE(text.contains(Utf8("難しさ: ―")));

    SolverAnswer undecided = lost;
    undecided.decided = false;
    undecided.outOfTime = true;
    undecided.positions = 5120;
    text = CheckAnswerText(undecided);
    EXPECT_TRUE(text.contains(Utf8("時間内には決まりませんでした"))) << text.toStdString();
    EXPECT_TRUE(text.contains(Utf8("調べた局面: 5120"))) << text.toStdString();
    EXPECT_FALSE(text.contains(Utf8("クリアできません")));

    SolverAnswer random{6, true};
    EXPECT_EQ(CheckAnswerText(random), Utf8("ランダムなブロックのミッション（種類 6）は調べられません。"));
}

// A solver that has not answered by the deadline is stopped: the answer
// says the time ran out and how far the search got (progress lines are not
// answers), and offers the longer search, which passes a bigger budget.
TEST_F(MainWindowTest, CheckAnswersByItsDeadlineAndSearchesLongerOnlyWhenAsked) {
    CheckDeadlineMs = 600;
    std::ofstream(folder / "bin" / "solver-lines") << R"({"progress":true,"positions":3210,"seconds":0.20})" "\n";
    std::ofstream(folder / "bin" / "solver-wait") << "3000";
    std::ofstream(folder / "bin" / "solver-answer.json") << R"({"goal_type":0,"random_pairs":false})";
    FillPairs(2);
    seen.choice = CheckChoice::SearchDeeper;
    QElapsedTimer clock;
    clock.start();
    Key(Qt::Key_F6);
    for (int i = 0; i < 300 && seen.answers.empty(); ++i) QTest::qWait(10);
    ASSERT_EQ(seen.answers.size(), 1u);
    EXPECT_LT(clock.elapsed(), 2500);
    EXPECT_TRUE(seen.answers[0].contains(Utf8("時間内には決まりませんでした"))) << seen.answers[0].toStdString();
    EXPECT_TRUE(seen.answers[0].contains("3210"));
    EXPECT_TRUE(seen.deeperOffers[0]);
    EXPECT_FALSE(seen.offers[0]);

    // The longer search was started at once; this one finishes by itself.
    fs::remove(folder / "bin" / "solver-wait");
    fs::remove(folder / "bin" / "solver-lines");
    std::ofstream(folder / "bin" / "solver-answer.json")
        << R"({"goal_type":0,"random_pairs":false,"pairs":2,"clearable":false,"decided":true,"ways":0})";
    for (int i = 0; i < 500 && seen.answers.size() < 2; ++i) QTest::qWait(10);
    ASSERT_EQ(seen.answers.size(), 2u);
    EXPECT_TRUE(seen.answers[1].contains(Utf8("クリアできません"))) << seen.answers[1].toStdString();
    EXPECT_FALSE(seen.deeperOffers[1]);
    std::vector<std::string> args = Lines(folder / "bin" / "solver-args.txt");
    ASSERT_EQ(args.size(), 10u);
    EXPECT_EQ(args[7], std::to_string(DeepCheckSolverSeconds));
    EXPECT_EQ(args[8], "--budget");
}

// An answer that arrives after further edits says it is about the mission
// as it was.
TEST_F(MainWindowTest, AnswerForAChangedMissionSaysSo) {
    std::ofstream(folder / "bin" / "solver-answer.json")
        << R"({"goal_type":0,"random_pairs":false,"pairs":1,"clearable":false,"decided":true,"ways":0})";
    std::ofstream(folder / "bin" / "solver-wait") << "30";
    FillPairs(1);
    Key(Qt::Key_F6);
    SelectedKind = 7;
    ASSERT_TRUE(BoardLeftDown(40, 40));
    for (int i = 0; i < 500 && seen.answers.empty(); ++i) QTest::qWait(10);
    ASSERT_EQ(seen.answers.size(), 1u);
    EXPECT_TRUE(seen.answers[0].startsWith(Utf8("調べ始めてからミッションが変わりました。")))
        << seen.answers[0].toStdString();
}

// The solver dies with the editor: the editor here is a child process that
// starts it and exits at once.
TEST(ToolPrograms, TheSolverDiesWithItsEditor) {
    fs::path pidFile = fs::path(TESSMAR_BINARY_DIR) / "test-folders" / "orphan.pid";
    fs::remove(pidFile);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            BackgroundRun run;
            QString script = QStringLiteral("echo $$ > %1.tmp && mv %1.tmp %1 && exec sleep 30")
                                 .arg(QString::fromStdString(pidFile.string()));
            run.Start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}, nullptr, nullptr);
            for (int i = 0; i < 500 && !fs::exists(pidFile); ++i) QTest::qWait(10);
            _exit(fs::exists(pidFile) ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    std::ifstream in(pidFile);
    int pid = 0;
    in >> pid;
    ASSERT_GT(pid, 0);
    auto alive = [pid] {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string id, name, state;
        return bool(stat >> id >> name >> state) && state != "Z";
    };
    for (int i = 0; i < 300 && alive(); ++i) QTest::qWait(10);
    EXPECT_FALSE(alive());
}

// Temporary folders of editors that are gone are removed at the next start;
// a running editor's folder stays.
TEST(ToolPrograms, LeftTemporaryFoldersAreRemoved) {
    pid_t gone = fork();
    if (gone == 0) _exit(0);
    ASSERT_GT(gone, 0);
    waitpid(gone, nullptr, 0);
    QDir temp(QDir::tempPath());
    QString left = QStringLiteral("tessmar-editor-%1-abcdef").arg(gone);
    QString running = QStringLiteral("tessmar-editor-%1-abcdef").arg(getppid());
    ASSERT_TRUE(temp.mkpath(left + "/inner"));
    ASSERT_TRUE(temp.mkpath(running));
    std::ofstream(temp.filePath(left + "/check-1.msn").toStdString()) << "x";
    RemoveLeftTemporaryFolders();
    EXPECT_FALSE(temp.exists(left));
    EXPECT_TRUE(temp.exists(running));
    temp.rmdir(running);

    std::unique_ptr<QTemporaryDir> own = MakeTemporaryFolder();
    ASSERT_TRUE(own->isValid());
    EXPECT_TRUE(QFileInfo(own->path()).fileName().startsWith(QStringLiteral("tessmar-editor-%1-").arg(getpid())));
    RemoveLeftTemporaryFolders();
    EXPECT_TRUE(QFileInfo(own->path()).isDir());
}

// Without a display the editor says so in one line and exits 1; a bad
// --language is refused.
TEST(EditorProgram, NoDisplayAndBadOptionsEndWithOneLine) {
    QString editor = QStringLiteral(TESSMAR_BINARY_DIR "/tessmar-editor");
    struct Case {
        QStringList args;
        const char* platform;
        int exitCode;
    } cases[] = {
        {{}, "xcb", 1},
        {{QStringLiteral("--language"), QStringLiteral("fr")}, "offscreen", 2},
        {{QStringLiteral("--bogus")}, "offscreen", 2},
    };
    for (const Case& c : cases) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("QT_QPA_PLATFORM", c.platform);
        p.setProcessEnvironment(env);
        p.start(editor, c.args);
        ASSERT_TRUE(p.waitForFinished(20000)) << c.platform;
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << c.platform;
        EXPECT_EQ(p.exitCode(), c.exitCode) << c.platform;
        QString err = QString::fromLocal8Bit(p.readAllStandardError());
        EXPECT_TRUE(err.startsWith("tessmar-editor: ")) << err.toStdString();
        if (c.exitCode == 1) {
            EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
        }
    }
}

// The language from the option, the settings file and the locale; bad input
// of every kind gives a language, never a failure.
TEST(EditorLanguage, OptionThenSettingThenLocale) {
    fs::path config = fs::path(qEnvironmentVariable("XDG_CONFIG_HOME").toStdString()) / "tessmar";
    fs::create_directories(config);
    fs::path settings = config / "settings.conf";
    struct Case {
        const char* option;
        const char* settingsText;  // null: no file; "/": a folder in its place
        const char* lang;          // null: unset
        Language expected;
    } cases[] = {
        {"en", "language=ja\n", "ja_JP.UTF-8", Language::English},
        {nullptr, "volume=3\n language = ja \n", "C", Language::Japanese},
        {nullptr, "language=klingon\n", "ja_JP.eucJP", Language::Japanese},
        {nullptr, "language=\n", "en_GB.UTF-8", Language::English},
        {nullptr, "language=en\n# language=en\nlanguage=ja\r\n", "C", Language::Japanese},  // the last one, as the game reads it
        {nullptr, "/", "ja", Language::Japanese},
        {nullptr, nullptr, "ja_JP", Language::Japanese},
        {nullptr, nullptr, "en", Language::English},
        {nullptr, nullptr, "C", Language::English},
        {nullptr, nullptr, "POSIX", Language::English},
        {nullptr, nullptr, "", Language::English},
        {nullptr, nullptr, nullptr, Language::English},
    };
    QByteArray oldLang = qgetenv("LANG"), oldAll = qgetenv("LC_ALL"), oldMessages = qgetenv("LC_MESSAGES");
    bool hadLang = qEnvironmentVariableIsSet("LANG");
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    for (const Case& c : cases) {
        fs::remove_all(settings);
        if (c.settingsText && std::string(c.settingsText) == "/") fs::create_directories(settings);
        else if (c.settingsText) std::ofstream(settings) << c.settingsText;
        if (c.lang) qputenv("LANG", c.lang);
        else qunsetenv("LANG");
        EXPECT_EQ(EditorLanguage(c.option), c.expected)
            << (c.option ? c.option : "-") << " / " << (c.settingsText ? c.settingsText : "-") << " / "
            << (c.lang ? c.lang : "unset");
    }
    fs::remove_all(settings);
    if (hadLang) qputenv("LANG", oldLang);
    else qunsetenv("LANG");
    if (!oldAll.isNull()) qputenv("LC_ALL", oldAll);
    if (!oldMessages.isNull()) qputenv("LC_MESSAGES", oldMessages);
}

// Japanese: the editor's own texts from the compiled translations, Qt's
// from Qt's and the C library's where the system has them; English: the
// texts as written.
TEST(EditorLanguage, OwnQtAndSystemTextsFollowTheLanguage) {
    EXPECT_EQ(EditorTitle(), Utf8("Tessmar　ミッションエディタ"));
    bool qtJapanese = fs::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString() + "/qtbase_ja.qm");
    if (qtJapanese) {
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), Utf8("キャンセル"));
    }
    if (fs::exists("/usr/share/locale/ja/LC_MESSAGES/libc.mo")) {
        EXPECT_EQ(std::string(std::strerror(ENOENT)), "そのようなファイルやディレクトリはありません");
    }
    UseLanguage(*qApp, Language::English);
    EXPECT_EQ(EditorTitle(), "Tessmar Mission Editor");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    EXPECT_EQ(std::string(std::strerror(ENOENT)), "No such file or directory");
    UseLanguage(*qApp, Language::Japanese);
    EXPECT_EQ(EditorTitle(), Utf8("Tessmar　ミッションエディタ"));
}

// The whole text shows in the field: moving the cursor to its end does not
// scroll it.
bool FieldShowsWhole(QLineEdit* field) {
    auto cursor = [field] { return field->inputMethodQuery(Qt::ImCursorRectangle).toRect(); };
    field->setCursorPosition(0);
    field->grab();  // the field scrolls as it paints
    int start = cursor().center().x();
    field->setCursorPosition(int(field->text().size()));
    field->grab();
    int end = cursor().center().x();
    int advance = QFontMetrics(field->font()).horizontalAdvance(field->text());
    return std::abs(end - start - advance) <= 1 && cursor().right() < field->width();
}

// In both languages every text of the window is there and fits its control,
// the goal captions and the number field also with the widest numbers a
// mission can have: the largest target, a type of 255 through the high
// digits, and the singular.
TEST_F(MainWindowTest, TextsFitTheFixedClientAreaInBothLanguages) {
    struct Restore {
        ~Restore() { UseLanguage(*qApp, Language::Japanese); }
    } restore;
    struct Caption {
        const char* number;
        int radio;
        const char* english;
        const char* japanese;
    } const captions[] = {
        {"100000", 0, "Chain of 100000", "100000 連鎖せよ"},
        {"100000", 1, "Erase 100000 blocks", "100000 ブロック消せ"},
        {"100000", 2, "Erase 100000 blocks at once", "100000 ブロック同時に消せ"},
        {"100000", 5, "Loop of area 100000", "面積 100000 のループを作れ"},
        {"100000", 6, "Score 100000", "スコア 100000"},
        {"100000", 7, "100000 fish", "魚 100000 匹"},
        {"25599999", 2, "Erase 99999 blocks at once", "99999 ブロック同時に消せ"},
        {"1", 1, "Erase 1 block", "1 ブロック消せ"},
        {"1", 2, "Erase 1 block at once", "1 ブロック同時に消せ"},
    };
    for (Language language : {Language::English, Language::Japanese}) {
        bool english = language == Language::English;
        SCOPED_TRACE(english ? "English" : "Japanese");
        UseLanguage(*qApp, language);
        MainWindow window;
        window.show();
        EXPECT_EQ(window.windowTitle(), english ? QString("Untitled[*] - Tessmar Mission Editor")
                                                : Utf8("無題[*] - Tessmar　ミッションエディタ"));
        MissionPanel* panel = window.Panel();
        EXPECT_EQ(panel->size(), QSize(512, 528));
        auto* field = panel->findChild<QLineEdit*>("numberField");
        for (const char* number : {"10", "100000", "25599999"}) {
            field->setText(number);
            EXPECT_TRUE(FieldShowsWhole(field)) << number;
            int checked = 0;
            for (QAbstractButton* b : panel->findChildren<QAbstractButton*>()) {
                EXPECT_FALSE(b->text().isEmpty()) << b->objectName().toStdString();
                // Push buttons ask for a wider minimum than their text needs:
                // the text with the frame's margins is what must fit.
                int need = qobject_cast<QPushButton*>(b) ? b->fontMetrics().horizontalAdvance(b->text()) + 8
                                                         : b->sizeHint().width();
                EXPECT_LE(need, b->width()) << b->text().toStdString();
                EXPECT_TRUE(b->toolTip().isEmpty()) << b->text().toStdString();  // nothing had to be cut
                ++checked;
            }
            EXPECT_EQ(checked, 11);
        }
        for (const Caption& c : captions) {
            field->setText(c.number);
            auto* radio = panel->findChild<QRadioButton*>(QStringLiteral("goalRadio%1").arg(c.radio));
            EXPECT_EQ(radio->text(), english ? QString(c.english) : Utf8(c.japanese));
            EXPECT_LE(radio->sizeHint().width(), radio->width()) << c.english;
            EXPECT_GE(radio->font().pointSizeF(), 7.0) << c.english;
        }
        for (QGroupBox* g : panel->findChildren<QGroupBox*>())
            EXPECT_LE(g->fontMetrics().horizontalAdvance(g->title()) + 16, g->width()) << g->title().toStdString();
        QStringList menus;
        for (QAction* m : window.menuBar()->actions()) menus << m->text();
        EXPECT_EQ(menus, english ? QStringList({"&File", "&Edit", "&Mission"})
                                 : QStringList({Utf8("ファイル(&F)"), Utf8("編集(&E)"), Utf8("ミッション(&M)")}));
        // A message box is at least as wide as its title.
        QMessageBox box(QMessageBox::Warning, EditorTitle(), "OK?", QMessageBox::Ok);
        FitTitle(box);
        EXPECT_GE(box.sizeHint().width(), box.fontMetrics().horizontalAdvance(EditorTitle()) + 100);
    }
}

// Counts in the English texts take the singular for one.
TEST(EditorTexts, EnglishCountsOfOneAreSingular) {
    struct Restore {
        ~Restore() { UseLanguage(*qApp, Language::Japanese); }
    } restore;
    UseLanguage(*qApp, Language::English);
    SolverAnswer one{0, false, 1, true, 1, 1, false, false, 0};
    QString text = CheckAnswerText(one);
    EXPECT_TRUE(text.contains("This pair can clear the mission.")) << text.toStdString();
    EXPECT_TRUE(text.contains("Shortest: cleared with 1 pair\n")) << text.toStdString();
    one.pairs = 2;
    one.shortest = 2;
    text = CheckAnswerText(one);
    EXPECT_TRUE(text.contains("These 2 pairs can clear the mission.")) << text.toStdString();
    EXPECT_TRUE(text.contains("cleared with 2 pairs")) << text.toStdString();
    SolverAnswer lost{0, false, 1, false, -1, 0, false, false, 0};
    EXPECT_TRUE(CheckAnswerText(lost).startsWith("This pair cannot clear the mission."));
    EXPECT_EQ(CheckProgressText(1, 0.5), "Checking: 1 position, 0.5 s");
}

// The status line never widens the window: a long note is cut in the
// middle, whole in the tooltip.
TEST_F(MainWindowTest, LongStatusIsCutAndKeptWholeInTheTooltip) {
    fs::path big = folder / (std::string(60, 'x') + "-ten-megabytes.msn");
    { std::ofstream(big, std::ios::binary) << std::string(10 * 1024 * 1024, '\x01'); }
    int width = frame->width();
    Client()->LoadFile(QString::fromStdString(big.string()));
    QString full = Client()->LastStatus();
    EXPECT_TRUE(full.contains("10485760")) << full.toStdString();
    EXPECT_EQ(frame->width(), width);
    auto* label = frame->findChild<QLabel*>("statusLabel");
    ASSERT_NE(label, nullptr);
    EXPECT_NE(frame->StatusShown(), full);
    EXPECT_LE(label->fontMetrics().horizontalAdvance(frame->StatusShown()), label->width());
    EXPECT_EQ(label->toolTip(), full);
}

// A goal the file holds beyond what the field can write is shown as it is,
// flagged, and refused on saving with the reason.
TEST_F(MainWindowTest, GoalNumbersOutOfRangeAreShownFlaggedAndRefused) {
    MissionImage file;
    file.queueKind.fill(3);
    file.type = 200;
    file.target = 3000000000u;
    file.pieceLimit = 8;
    MissionBytes bytes = EncodeMission(file);
    fs::path path = folder / "random.msn";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 294);
    Client()->LoadFile(QString::fromStdString(path.string()));
    auto* field = Client()->findChild<QLineEdit*>("numberField");
    EXPECT_EQ(field->text(), "3000000000");
    EXPECT_FALSE(field->styleSheet().isEmpty());
    EXPECT_TRUE(field->toolTip().contains("255")) << field->toolTip().toStdString();
    auto* radio0 = Client()->findChild<QRadioButton*>("goalRadio0");
    EXPECT_EQ(radio0->toolTip(), Utf8("3000000000 連鎖せよ"));
    EXPECT_LE(radio0->sizeHint().width(), radio0->width());
    for (QRadioButton* r : Client()->findChildren<QRadioButton*>()) EXPECT_FALSE(r->isChecked());

    seen.savePath = QString::fromStdString((folder / "refused.msn").string());
    Key(Qt::Key_S, Qt::ControlModifier);  // the loaded file's own name: no dialog
    ASSERT_EQ(seen.warnings.size(), 1u);
    EXPECT_TRUE(seen.warnings[0].contains("3000000000")) << seen.warnings[0].toStdString();
    EXPECT_EQ(Read(path), std::string(bytes.begin(), bytes.end()));

    // Typed: 25600000 would be type 256; 600010 chooses type 6, flagged too.
    field->setText("25600000");
    EXPECT_TRUE(field->toolTip().contains("255"));
    field->setText("600010");
    EXPECT_TRUE(field->toolTip().contains(Utf8("種類 6"))) << field->toolTip().toStdString();
    field->setText("99");
    EXPECT_TRUE(field->styleSheet().isEmpty());
    EXPECT_TRUE(field->toolTip().isEmpty());
}

}  // namespace
