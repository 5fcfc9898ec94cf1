// The editor window under the offscreen platform: its controls, the views'
// clicks and pixels, the scroll bar, and the commands with answered dialogs.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <fstream>
#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "editor/document_history.h"
#include "editor/editor_dialogs.h"
#include "editor/editor_model.h"
#include "editor/mission_panel.h"
#include "editor/recovery.h"
#include "editor/view_drawing.h"
#include "resources/editor/editor_sheet.h"

namespace fs = std::filesystem;

namespace {

// What the replaced dialogs were asked and what they answer.
struct FakeDialogs {
    SaveChoice answer = SaveChoice::Discard;
    QString savePath;
    QString openPath;
    std::vector<QString> questions;
    bool saveAnyway = false;
    std::vector<QString> doubts;
    std::vector<QString> warnings;
    std::vector<QString> dialogStarts;
    int saveDialogs = 0;
    bool restoreWork = false;
    std::vector<QString> restoreQuestions;
} fake;

void InstallFakeDialogs() {
    fake = FakeDialogs{};
    AskSaveChanges = [](QWidget*, const QString& text) {
        fake.questions.push_back(text);
        return fake.answer;
    };
    ShowWarning = [](QWidget*, const QString& text) { fake.warnings.push_back(text); };
    AskSaveAnyway = [](QWidget*, const QString& text) {
        fake.doubts.push_back(text);
        return fake.saveAnyway;
    };
    ChooseSavePath = [](QWidget*, const QString& start) {
        fake.dialogStarts.push_back(start);
        ++fake.saveDialogs;
        return fake.savePath;
    };
    ChooseOpenPath = [](QWidget*, const QString& start) {
        fake.dialogStarts.push_back(start);
        return fake.openPath;
    };
    AskRestoreWork = [](QWidget*, const QString& text) {
        fake.restoreQuestions.push_back(text);
        return fake.restoreWork;
    };
}

QString Utf8(const char* text) { return QString::fromUtf8(text); }

uint32_t SheetPixel(int x, int y) { return EditorSheetPixels()[y * EditorSheetWidth + x] | 0xFF000000u; }

class MissionPanelTest : public testing::Test {
protected:
    void SetUp() override {
        ResetEditorState();
        InstallFakeDialogs();
        window = std::make_unique<MissionPanel>();
        window->show();
        folder = fs::path(TESSMAR_BINARY_DIR) / "test-folders" /
                 testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        fake.answer = SaveChoice::Discard;
        window.reset();
    }

    template <typename T>
    T* Child(const char* name) {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        if (widget == nullptr) ADD_FAILURE() << "no control " << name;
        return widget;
    }
    QRadioButton* Radio(int i) { return Child<QRadioButton>(("goalRadio" + std::to_string(i)).c_str()); }
    QLabel* PairLabel(int i) { return Child<QLabel>(("pairLabel" + std::to_string(i)).c_str()); }
    QWidget* View(const char* name) { return Child<QWidget>(name); }
    QScrollBar* Bar() { return Child<QScrollBar>("pairCountBar"); }
    QLineEdit* Field() { return Child<QLineEdit>("numberField"); }

    // The window as it is painted, in client coordinates.
    QImage Shot() { return window->grab().toImage().convertToFormat(QImage::Format_ARGB32); }
    static uint32_t Pixel(const QImage& image, int x, int y) { return image.pixel(x, y); }

    void Click(const char* view, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(View(view), button, Qt::NoModifier, QPoint(x, y));
    }
    std::string Path(const char* name) const { return (folder / name).string(); }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void FillPairs(int from, int to) {
        Click("plainPalette", 32 * 3 + 5, 5);
        for (int p = from; p <= to; ++p)
            for (int h = 0; h < 2; ++h) Click("queueView", 48 * (p % 4) + 5, 80 * (p / 4) + 32 * h + 5);
    }
    int CheckedRadio() {
        int checked = -1, count = 0;
        for (int i = 0; i < GoalRadioCount; ++i)
            if (Radio(i)->isChecked()) checked = i, ++count;
        return count > 1 ? -2 : checked;
    }

    std::unique_ptr<MissionPanel> window;
    fs::path folder;
};

TEST_F(MissionPanelTest, ControlsSitAtTheirPlacesWithTheirTexts) {
    EXPECT_EQ(window->windowTitle(), Utf8("Tessmar　ミッションエディタ"));
    EXPECT_EQ(window->size(), QSize(512, 528));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowIcon().isNull());

    struct Expected {
        const char* name;
        QRect geometry;
        const char* parent;
    };
    const Expected controls[] = {
        {"newButton", {284, 491, 64, 21}, ""},       {"saveButton", {358, 491, 64, 21}, ""},
        {"loadButton", {432, 491, 64, 21}, ""},      {"goalGroup", {288, 256, 208, 158}, ""},
        {"numberField", {420, 272, 72, 20}, ""},     {"nextGroup", {288, 16, 208, 224}, ""},
        {"queueView", {304, 48, 176, 144}, ""},      {"pairCountBar", {304, 208, 176, 16}, ""},
        {"boardView", {16, 16, 256, 384}, ""},       {"plainPalette", {16, 416, 448, 32}, ""},
        {"framedPalette", {48, 448, 352, 32}, ""},
    };
    for (const Expected& c : controls) {
        QWidget* w = View(c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), c.geometry) << c.name;
        EXPECT_EQ(w->parentWidget(), window.get()) << c.name;
        EXPECT_TRUE(w->isVisible()) << c.name;
    }
    EXPECT_EQ(Child<QPushButton>("newButton")->text(), "NEW");
    EXPECT_EQ(Child<QPushButton>("saveButton")->text(), "SAVE...");
    EXPECT_EQ(Child<QPushButton>("loadButton")->text(), "LOAD...");
    EXPECT_EQ(Child<QGroupBox>("goalGroup")->title(), Utf8("ミッションの種類"));
    EXPECT_EQ(Child<QGroupBox>("nextGroup")->title(), "Next");
    EXPECT_EQ(Field()->text(), "10");

    // The six radios of the fixed-pair goals in a column, the score and
    // fish goals side by side below them.
    const char* captions[] = {"10 連鎖せよ", "10 ブロック消せ", "10 ブロック同時に消せ", "枠ブロックすべて消せ",
                              "枠ブロックすべて同時に消せ", "面積 10 のループを作れ", "スコア 10", "魚 10 匹"};
    const QRect places[] = {{16, 16, 108, 20}, {16, 36, 188, 20}, {16, 56, 188, 20},  {16, 76, 188, 20},
                            {16, 96, 188, 20}, {16, 116, 188, 20}, {16, 136, 104, 20}, {120, 136, 84, 20}};
    for (int i = 0; i < GoalRadioCount; ++i) {
        EXPECT_EQ(Radio(i)->parentWidget(), Child<QGroupBox>("goalGroup"));
        EXPECT_EQ(Radio(i)->geometry(), places[i]) << i;
        EXPECT_EQ(Radio(i)->text(), Utf8(captions[i])) << i;
    }
    // The group ends above the palettes.
    EXPECT_LE(Child<QGroupBox>("goalGroup")->geometry().bottom(), View("plainPalette")->y() - 2);
    EXPECT_EQ(CheckedRadio(), 0);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(PairLabel(i)->parentWidget(), Child<QGroupBox>("nextGroup"));
        EXPECT_EQ(PairLabel(i)->geometry(), QRect(48 * (i % 4) + 16, 80 * (i / 4) + 20, 32, 12)) << i;
        EXPECT_EQ(PairLabel(i)->text(), QString::number(i + 1));
        EXPECT_TRUE(PairLabel(i)->isEnabled());
    }
    EXPECT_EQ(Bar()->minimum(), 0);
    EXPECT_EQ(Bar()->maximum(), 7);
    EXPECT_EQ(Bar()->pageStep(), 1);
    EXPECT_EQ(Bar()->value(), 7);
}

TEST_F(MissionPanelTest, NumberFieldTakesDigitsAndRewritesCaptions) {
    Field()->clear();
    QTest::keyClicks(Field(), "2a5-");
    EXPECT_EQ(Field()->text(), "25");
    EXPECT_EQ(Radio(0)->text(), Utf8("25 連鎖せよ"));
    EXPECT_EQ(Radio(2)->text(), Utf8("25 ブロック同時に消せ"));
    EXPECT_EQ(Radio(5)->text(), Utf8("面積 25 のループを作れ"));
    EXPECT_EQ(Radio(3)->text(), Utf8("枠ブロックすべて消せ"));
}

TEST_F(MissionPanelTest, ViewClicksChangeTheMissionAndThePixels) {
    // Plain kind 5, then cell (2, 3) of the board.
    Click("plainPalette", 32 * 5 + 10, 10);
    Click("boardView", 64 + 10, 96 + 10);
    EXPECT_EQ(BoardKind(2, 3), 5);
    QImage shot = Shot();
    EXPECT_EQ(Pixel(shot, 16 + 64 + 12, 16 + 96 + 12), SheetPixel(32 * 5 + 12, 12));
    EXPECT_EQ(Pixel(shot, 16 + 64, 16 + 96), OutlineColour);          // the cursor's outline
    EXPECT_EQ(Pixel(shot, 16 + 32 * 5, 416 + 10), OutlineColour);     // selected in the plain strip

    // Framed kind 2 into pair 5's second half; the outline moves to the framed strip.
    Click("framedPalette", 32 + 10, 10);
    Click("queueView", 48 + 10, 80 + 32 + 10);
    EXPECT_EQ(QueueKind(5, 1), 2);
    EXPECT_EQ(QueueFrame(5, 1), 1);
    shot = Shot();
    EXPECT_EQ(Pixel(shot, 304 + 48 + 12, 48 + 112 + 12), SheetPixel(64 + 12, 32 + 12));
    EXPECT_EQ(Pixel(shot, 48 + 32, 448 + 10), OutlineColour);
    EXPECT_EQ(Pixel(shot, 16 + 32 * 5, 416 + 10), SheetPixel(32 * 5, 10));

    // A click in a gap of the queue view does nothing.
    Click("queueView", 40, 10);
    EXPECT_EQ(QueueKind(0, 0), 0);

    // A right click empties the board cell.
    Click("boardView", 64 + 10, 96 + 10, Qt::RightButton);
    EXPECT_EQ(BoardKind(2, 3), 0);
    EXPECT_EQ(Pixel(Shot(), 16 + 64 + 12, 16 + 96 + 12), SheetPixel(12, 12));

    // The entry cell always shows the marker.
    EditorMission.kind[MissionKindIndex(4, 0)] = 7;
    Click("boardView", 128 + 5, 5, Qt::RightButton);
    Click("boardView", 128 + 5, 5);
    EXPECT_EQ(BoardKind(4, 0), 0);
    EXPECT_EQ(Pixel(Shot(), 16 + 128 + 12, 16 + 12), SheetPixel(12, 32 + 12));
}

TEST_F(MissionPanelTest, MovesMoveTheOutlineButOutsideTheViewNothing) {
    QWidget* board = View("boardView");
    QTest::mouseMove(board, QPoint(32 * 6 + 5, 32 * 9 + 5));
    EXPECT_EQ(BoardCursor.column, 6);
    EXPECT_EQ(BoardCursor.row, 9);
    EXPECT_EQ(Pixel(Shot(), 16 + 32 * 6, 16 + 32 * 9 + 10), OutlineColour);

    // A drag with the left button held: moves only, and past the edge nothing.
    Click("plainPalette", 32 * 1 + 5, 5);
    QMouseEvent inside(QEvent::MouseMove, QPointF(32 * 2 + 5, 5), QPointF(), Qt::NoButton, Qt::LeftButton,
                       Qt::NoModifier);
    QCoreApplication::sendEvent(board, &inside);
    EXPECT_EQ(BoardCursor.column, 2);
    EXPECT_EQ(BoardKind(2, 0), 0);
    QMouseEvent outside(QEvent::MouseMove, QPointF(-20, 500), QPointF(), Qt::NoButton, Qt::LeftButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(board, &outside);
    EXPECT_EQ(BoardCursor.column, 2);
    EXPECT_EQ(BoardCursor.row, 0);
}

TEST_F(MissionPanelTest, ScrollBarSetsThePairCountAndGreysLabels) {
    QScrollBar* bar = Bar();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(PairCountPosition, 7);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(PairCountPosition, 5);
    EXPECT_EQ(bar->value(), 5);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(PairLabel(i)->isEnabled(), i <= 5) << i;

    // The left arrow of the bar itself.
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(4, 8));
    EXPECT_EQ(PairCountPosition, 4);
    EXPECT_EQ(bar->value(), 4);

    // Dragging the thumb changes nothing until it is released.
    bar->setSliderDown(true);
    bar->setSliderPosition(1);
    bar->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_EQ(PairCountPosition, 4);
    EXPECT_TRUE(PairLabel(4)->isEnabled());
    bar->setSliderDown(false);
    EXPECT_EQ(PairCountPosition, 1);
    EXPECT_FALSE(PairLabel(2)->isEnabled());

    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(PairCountPosition, 0);
    EXPECT_EQ(bar->value(), 0);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(PairCountPosition, 7);
}

// The context menu's "Scroll here" sets the value directly: the pair count,
// the labels and the saved pieceLimit must follow the thumb all the same.
TEST_F(MissionPanelTest, ValueSetDirectlyOnTheScrollBarIsThePairCount) {
    Bar()->setValue(3);
    EXPECT_EQ(PairCountPosition, 3);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(PairLabel(i)->isEnabled(), i <= 3) << i;
    FillPairs(0, 3);
    fake.savePath = QString::fromStdString(Path("scrolled.msn"));
    Child<QPushButton>("saveButton")->click();
    EXPECT_TRUE(fake.warnings.empty());
    std::string bytes = Contents(Path("scrolled.msn"));
    ASSERT_EQ(bytes.size(), 294u);
    EXPECT_EQ(bytes[291], 4);
}

// Undo and redo put every control back: cell, radio, number field (one step
// per finished edit) and pair count; NEW starts afresh.
TEST_F(MissionPanelTest, UndoAndRedoShowTheDocumentInEveryControl) {
    Click("plainPalette", 32 * 6 + 5, 5);
    Click("boardView", 32 * 2 + 5, 32 * 5 + 5);
    Radio(5)->click();
    Field()->clear();
    QTest::keyClicks(Field(), "42");
    emit Field()->editingFinished();
    Bar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    Click("plainPalette", 32 * 3 + 5, 5);

    window->UndoCommand();  // pair count
    EXPECT_EQ(Bar()->value(), 7);
    EXPECT_TRUE(PairLabel(7)->isEnabled());
    EXPECT_EQ(Pixel(Shot(), 16 + 64 + 12, 16 + 160 + 12), SheetPixel(32 * 6 + 12, 12));
    window->UndoCommand();  // "42" typed: one step
    EXPECT_EQ(Field()->text(), "10");
    EXPECT_EQ(Radio(5)->text(), Utf8("面積 10 のループを作れ"));
    EXPECT_EQ(CheckedRadio(), 5);
    window->UndoCommand();  // radio
    EXPECT_EQ(CheckedRadio(), 0);
    window->UndoCommand();  // cell
    EXPECT_EQ(BoardKind(2, 5), 0);
    EXPECT_EQ(Pixel(Shot(), 16 + 64 + 12, 16 + 160 + 12), SheetPixel(12, 12));
    EXPECT_EQ(SelectedKind, 3);  // a selection is not undone

    window->RedoCommand();
    window->RedoCommand();
    window->RedoCommand();
    EXPECT_EQ(BoardKind(2, 5), 6);
    EXPECT_EQ(CheckedRadio(), 5);
    EXPECT_EQ(Field()->text(), "42");
    EXPECT_EQ(Radio(0)->text(), Utf8("42 連鎖せよ"));
    // Undoing the radio and then checking it again by hand is one new step.
    window->UndoCommand();
    window->UndoCommand();
    Radio(5)->click();
    EXPECT_EQ(GoalRadio, 5);
    EXPECT_FALSE(window->UndoStack().canRedo());
    window->UndoCommand();
    EXPECT_EQ(CheckedRadio(), 0);

    fake.answer = SaveChoice::Discard;
    window->NewCommand();
    EXPECT_FALSE(window->UndoStack().canUndo());
    EXPECT_FALSE(window->Modified());
}

// A file of another size loads into an empty mission, nothing of what was
// on screen before stays, and the status line says how many bytes it read;
// an empty file changes nothing.
TEST_F(MissionPanelTest, LoadOfAFileOfOddSizeShowsOnlyWhatItHolds) {
    MissionImage first;
    for (int c = 0; c < 8; ++c) first.kind[MissionKindIndex(c, 11)] = 6;  // past byte 100
    first.queueKind.fill(4);
    first.type = 2;
    first.target = 30;
    first.pieceLimit = 8;
    MissionImage second;
    second.kind[MissionKindIndex(1, 1)] = 5;
    MissionBytes a = EncodeMission(first), b = EncodeMission(second);
    std::ofstream(Path("full.msn"), std::ios::binary).write(reinterpret_cast<const char*>(a.data()), 294);
    std::ofstream(Path("short.msn"), std::ios::binary).write(reinterpret_cast<const char*>(b.data()), 100);
    std::ofstream(Path("long.msn"), std::ios::binary)
        .write(reinterpret_cast<const char*>(a.data()), 294)
        .write("extra", 5);
    std::ofstream(Path("empty.msn"), std::ios::binary);

    window->LoadFile(QString::fromStdString(Path("full.msn")));
    ASSERT_EQ(BoardKind(7, 11), 6);
    window->LoadFile(QString::fromStdString(Path("short.msn")));
    EXPECT_EQ(BoardKind(1, 1), 5);
    EXPECT_EQ(BoardKind(7, 11), 0);
    EXPECT_EQ(BoardKind(7, 12), 13);  // the floor is still there
    EXPECT_EQ(QueueKind(0, 0), 0);
    EXPECT_EQ(Field()->text(), "0");
    EXPECT_EQ(window->LastStatus(),
              Utf8("short.msn は 100 バイトで、294 バイトに足りません。その 100 バイトを空のミッションに読み込みました。"));

    window->LoadFile(QString::fromStdString(Path("long.msn")));
    EXPECT_EQ(BoardKind(7, 11), 6);
    EXPECT_TRUE(window->LastStatus().contains("299")) << window->LastStatus().toStdString();
    MissionBytes shown = EditorMissionBytes();
    window->LoadFile(QString::fromStdString(Path("empty.msn")));
    EXPECT_EQ(EditorMissionBytes(), shown);
    EXPECT_EQ(window->LastStatus(), Utf8("empty.msn は空（0 バイト）のファイルです。何も読み込みませんでした。"));
    EXPECT_EQ(window->CurrentPath().toStdString(), Path("long.msn"));
    window->LoadFile(QString::fromStdString(Path("full.msn")));
    EXPECT_TRUE(window->LastStatus().isEmpty());
    EXPECT_TRUE(fake.warnings.empty());
}

// NEW and closing ask only when something changed since the last save or
// load, with Save, Discard and Cancel.
TEST_F(MissionPanelTest, NewAndCloseAskOnlyAboutUnsavedChanges) {
    Child<QPushButton>("newButton")->click();
    EXPECT_TRUE(fake.questions.empty());

    Click("plainPalette", 32 * 6 + 5, 5);
    Click("boardView", 5, 5);
    FillPairs(0, 1);
    Radio(4)->setChecked(true);
    Field()->setText("33");
    Bar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    MissionBytes before = EditorMissionBytes();

    fake.answer = SaveChoice::Cancel;
    Child<QPushButton>("newButton")->click();
    ASSERT_EQ(fake.questions.size(), 1u);
    EXPECT_EQ(fake.questions[0], Utf8("無題 への変更を保存しますか？"));
    EXPECT_EQ(EditorMissionBytes(), before);
    EXPECT_EQ(Field()->text(), "33");
    EXPECT_EQ(CheckedRadio(), 4);
    EXPECT_EQ(PairCountPosition, 6);
    EXPECT_EQ(SelectedKind, 3);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());

    // Save: refused for the unfilled pairs, so NEW does not go on either.
    fake.answer = SaveChoice::Save;
    Child<QPushButton>("newButton")->click();
    EXPECT_EQ(fake.warnings.size(), 1u);
    EXPECT_EQ(fake.saveDialogs, 0);
    EXPECT_EQ(Field()->text(), "33");

    fake.answer = SaveChoice::Discard;
    Child<QPushButton>("newButton")->click();
    EXPECT_EQ(fake.questions.size(), 4u);
    EXPECT_EQ(BoardKind(0, 0), 0);
    EXPECT_EQ(QueueKind(0, 0), 0);
    EXPECT_EQ(Field()->text(), "10");
    EXPECT_EQ(Radio(0)->text(), Utf8("10 連鎖せよ"));
    EXPECT_EQ(CheckedRadio(), 0);
    EXPECT_EQ(PairCountPosition, 7);
    EXPECT_EQ(Bar()->value(), 7);
    EXPECT_TRUE(PairLabel(7)->isEnabled());
    EXPECT_EQ(SelectedKind, 0);
    EXPECT_EQ(Pixel(Shot(), 16 + 12, 16 + 12), SheetPixel(12, 12));

    // Saved, then closed: nothing to ask.
    FillPairs(0, 7);
    fake.savePath = QString::fromStdString(Path("kept.msn"));
    fake.answer = SaveChoice::Save;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(fake.questions.size(), 5u);
    EXPECT_EQ(Contents(Path("kept.msn")).size(), 294u);
    window->show();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(fake.questions.size(), 5u);
}

TEST_F(MissionPanelTest, SaveRefusesAnUnfilledUsedPair) {
    Bar()->triggerAction(QAbstractSlider::SliderToMinimum);
    Bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // pairs 0 and 1
    FillPairs(0, 0);
    Click("queueView", 48 + 5, 32 + 5);  // pair 1, second half only
    fake.savePath = QString::fromStdString(Path("refused.msn"));
    Child<QPushButton>("saveButton")->click();
    ASSERT_EQ(fake.warnings.size(), 1u);
    EXPECT_EQ(fake.warnings[0], Utf8("Nextはブロックを埋めてください。"));
    EXPECT_EQ(fake.saveDialogs, 0);
    EXPECT_FALSE(fs::exists(Path("refused.msn")));
}

TEST_F(MissionPanelTest, SavedFileHoldsTheMissionAsLaidOut) {
    Click("plainPalette", 32 * 13 + 5, 5);  // a wall inside the well
    Click("boardView", 32 * 7 + 5, 32 * 11 + 5);
    Click("framedPalette", 32 * 8 + 5, 5);  // framed kind 9
    Click("boardView", 32 * 1 + 5, 32 * 4 + 5);
    Bar()->triggerAction(QAbstractSlider::SliderToMinimum);
    for (int i = 0; i < 3; ++i) Bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    FillPairs(0, 3);
    Radio(2)->setChecked(true);
    Field()->setText("37");

    fake.savePath = QString::fromStdString(Path("laid-out.msn"));
    Child<QPushButton>("saveButton")->click();
    EXPECT_TRUE(fake.warnings.empty());
    std::string bytes = Contents(Path("laid-out.msn"));
    ASSERT_EQ(bytes.size(), 294u);
    MissionImage saved;
    DecodeMission(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), saved);
    EXPECT_EQ(saved.kind[MissionKindIndex(7, 11)], 13);
    EXPECT_EQ(saved.kind[MissionKindIndex(1, 4)], 9);
    EXPECT_EQ(saved.frame[MissionFrameIndex(1, 4)], 1);
    EXPECT_EQ(saved.kind[MissionKindIndex(-1, 0)], 13);
    EXPECT_EQ(saved.kind[MissionKindIndex(3, 12)], 13);
    EXPECT_EQ(saved.kind[MissionKindIndex(0, 0)], 0);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(saved.queueKind[i], 3) << i;
    EXPECT_EQ(saved.queueKind[8], 0);
    EXPECT_EQ(saved.type, 2);
    EXPECT_EQ(saved.target, 37u);
    EXPECT_EQ(saved.pieceLimit, 4);
    EXPECT_EQ(bytes[292], 0);
    EXPECT_EQ(bytes[293], 0);

    // The first dialog opened in the user's missions folder (made for it),
    // the next save on the file, the open dialog in its folder.
    Child<QPushButton>("saveButton")->click();
    ASSERT_EQ(fake.dialogStarts.size(), 2u);
    EXPECT_EQ(fake.dialogStarts[0], qEnvironmentVariable("XDG_DATA_HOME") + "/tessmar/missions");
    EXPECT_TRUE(fs::is_directory(fake.dialogStarts[0].toStdString()));
    EXPECT_EQ(fake.dialogStarts[1], fake.savePath);
    fake.openPath.clear();  // cancelled
    Child<QPushButton>("loadButton")->click();
    EXPECT_EQ(fake.dialogStarts[2], QString::fromStdString(folder.string()));
}

TEST_F(MissionPanelTest, FailedSaveIsReportedWithTheReason) {
    FillPairs(0, 7);
    fake.savePath = QString::fromStdString(Path("no-such-folder/a.msn"));
    Child<QPushButton>("saveButton")->click();
    ASSERT_EQ(fake.warnings.size(), 1u);
    EXPECT_TRUE(fake.warnings[0].contains(fake.savePath));
    EXPECT_TRUE(fake.warnings[0].contains(QString::fromLocal8Bit(std::strerror(ENOENT))));
    EXPECT_FALSE(fs::exists(folder / "no-such-folder"));
}

TEST_F(MissionPanelTest, FailedLoadIsReportedAndChangesNothing) {
    Click("plainPalette", 32 * 4 + 5, 5);
    Click("boardView", 5, 5);
    Field()->setText("123");
    MissionBytes before = EditorMissionBytes();
    fake.openPath = QString::fromStdString(Path("missing.msn"));
    Child<QPushButton>("loadButton")->click();
    ASSERT_EQ(fake.warnings.size(), 1u);
    EXPECT_TRUE(fake.warnings[0].contains(fake.openPath));
    EXPECT_EQ(EditorMissionBytes(), before);
    EXPECT_EQ(Field()->text(), "123");
    EXPECT_FALSE(fs::exists(Path("missing.msn")));

    // A pipe is not a mission file, whatever errno held before.
    ASSERT_EQ(mkfifo(Path("pipe.msn").c_str(), 0600), 0);
    errno = ENOENT;
    window->LoadFile(QString::fromStdString(Path("pipe.msn")));
    ASSERT_EQ(fake.warnings.size(), 2u);
    EXPECT_TRUE(fake.warnings[1].contains(Utf8("通常のファイルではありません"))) << fake.warnings[1].toStdString();
    EXPECT_FALSE(fake.warnings[1].contains(QString::fromLocal8Bit(std::strerror(ENOENT))));
    EXPECT_EQ(EditorMissionBytes(), before);
}

// A file made by the format code alone (as the game would write it) loads
// into the editor unchanged, shows its goal and saves back byte for byte.
TEST_F(MissionPanelTest, Type7FileLoadsShowsAndSavesBackUnchanged) {
    MissionImage file;
    for (int r = -2; r <= 12; ++r) file.kind[MissionKindIndex(-1, r)] = file.kind[MissionKindIndex(8, r)] = 13;
    for (int c = 0; c <= 7; ++c) file.kind[MissionKindIndex(c, 12)] = 13;
    file.kind[MissionKindIndex(3, 10)] = 11;
    file.frame[MissionFrameIndex(3, 10)] = 1;
    file.kind[MissionKindIndex(5, 2)] = 99;  // not a kind: shown empty, kept
    file.queueKind = {1, 2, 3, 4, 5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    file.type = 7;
    file.target = 12;
    file.pieceLimit = 3;
    file.padding = {0xDE, 0xAD};
    MissionBytes bytes = EncodeMission(file);
    std::ofstream(Path("fish.msn"), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 294);

    fake.openPath = QString::fromStdString(Path("fish.msn"));
    Child<QPushButton>("loadButton")->click();
    EXPECT_TRUE(fake.warnings.empty());
    EXPECT_EQ(EditorMissionBytes(), bytes);
    EXPECT_EQ(CheckedRadio(), 7);
    EXPECT_EQ(Field()->text(), "12");
    EXPECT_EQ(Radio(7)->text(), Utf8("魚 12 匹"));
    EXPECT_EQ(Bar()->value(), 2);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(PairLabel(i)->isEnabled(), i <= 2) << i;
    QImage shot = Shot();
    EXPECT_EQ(Pixel(shot, 16 + 96 + 12, 16 + 320 + 12), SheetPixel(32 * 11 + 12, 32 + 12));
    EXPECT_EQ(Pixel(shot, 16 + 160 + 12, 16 + 64 + 12), SheetPixel(12, 12));

    fake.savePath = QString::fromStdString(Path("again.msn"));
    Child<QPushButton>("saveButton")->click();
    std::string again = Contents(Path("again.msn"));
    EXPECT_EQ(again, std::string(bytes.begin(), bytes.end()));
}

TEST_F(MissionPanelTest, LoadedFixedGoalChecksItsRadio) {
    MissionImage file;
    file.type = 3;
    file.target = 4;
    file.pieceLimit = 8;
    MissionBytes bytes = EncodeMission(file);
    std::ofstream(Path("frames.msn"), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 294);
    Bar()->triggerAction(QAbstractSlider::SliderToMinimum);
    fake.openPath = QString::fromStdString(Path("frames.msn"));
    Child<QPushButton>("loadButton")->click();
    EXPECT_EQ(CheckedRadio(), 3);
    EXPECT_EQ(Field()->text(), "4");
    EXPECT_EQ(Bar()->value(), 7);
    EXPECT_TRUE(PairLabel(7)->isEnabled());
}

// The score and fish radios save what the high digits save for the same
// goal; under high digits the panel shows the goal they choose, greyed, and
// random pairs need no filled Next pairs.
TEST_F(MissionPanelTest, ScoreAndFishGoalsByRadioOrByHighDigits) {
    fake.savePath = QString::fromStdString(Path("by-radio.msn"));
    Radio(6)->click();
    Child<QPushButton>("saveButton")->click();  // the queue is empty: random pairs need none of it
    EXPECT_TRUE(fake.warnings.empty());
    Radio(0)->click();
    Field()->setText("600010");
    EXPECT_EQ(CheckedRadio(), 6);
    EXPECT_EQ(GoalRadio, 0);  // the radio checked by hand stays what it was
    for (int i = 0; i < GoalRadioCount; ++i) EXPECT_FALSE(Radio(i)->isEnabled()) << i;
    EXPECT_EQ(Radio(0)->text(), Utf8("10 連鎖せよ"));
    EXPECT_EQ(Radio(6)->text(), Utf8("スコア 10"));
    fake.savePath = QString::fromStdString(Path("by-digits.msn"));
    Child<QPushButton>("saveButton")->click();
    std::string byRadio = Contents(Path("by-radio.msn"));
    ASSERT_EQ(byRadio.size(), 294u);
    EXPECT_EQ(Contents(Path("by-digits.msn")), byRadio);
    EXPECT_EQ(byRadio[MissionTypeOffset], 6);
    EXPECT_EQ(byRadio[MissionTargetOffset], 10);

    Field()->setText("700003");
    EXPECT_EQ(CheckedRadio(), 7);
    EXPECT_EQ(Radio(7)->text(), Utf8("魚 3 匹"));
    Field()->setText("70000");  // five digits: the checked radio decides again
    EXPECT_EQ(CheckedRadio(), 0);
    for (int i = 0; i < GoalRadioCount; ++i) EXPECT_TRUE(Radio(i)->isEnabled()) << i;
    Child<QPushButton>("saveButton")->click();
    EXPECT_EQ(fake.warnings.size(), 1u);  // a chain goal: the used pairs must be filled
    EXPECT_TRUE(fake.doubts.empty());
}

// A goal type the game does not know is saved only after a question, from
// the high digits or kept from a loaded file; the same document saves the
// same bytes every time.
TEST_F(MissionPanelTest, UnknownGoalTypeIsSavedOnlyWhenTheAuthorSaysSo) {
    Field()->setText("12345678");  // type 123, target 45678
    EXPECT_EQ(CheckedRadio(), -1);
    fake.savePath = QString::fromStdString(Path("unknown.msn"));
    Child<QPushButton>("saveButton")->click();
    ASSERT_EQ(fake.doubts.size(), 1u);
    EXPECT_TRUE(fake.doubts[0].contains("123")) << fake.doubts[0].toStdString();
    EXPECT_EQ(fake.saveDialogs, 0);
    EXPECT_FALSE(fs::exists(Path("unknown.msn")));

    fake.saveAnyway = true;
    Child<QPushButton>("saveButton")->click();
    std::string first = Contents(Path("unknown.msn"));
    ASSERT_EQ(first.size(), 294u);
    EXPECT_EQ(uint8_t(first[MissionTypeOffset]), 123);

    // Loaded with its type: no radio; saved twice, it stays as it was.
    window->LoadFile(QString::fromStdString(Path("unknown.msn")));
    EXPECT_EQ(CheckedRadio(), -1);
    Field()->setText("408627");  // now the digits choose a frame-block goal with target 8627
    FillPairs(0, 7);
    window->SaveCommand();
    std::string second = Contents(Path("unknown.msn"));
    window->SaveCommand();
    EXPECT_EQ(Contents(Path("unknown.msn")), second);
    EXPECT_EQ(second[MissionTypeOffset], 4);
    EXPECT_EQ(second[MissionTargetOffset], char(8627 % 256));
    EXPECT_EQ(fake.doubts.size(), 2u);
    EXPECT_TRUE(fake.warnings.empty());
}

// Unsaved work armed by each change is what an unasked end writes; the next
// editor offers it back, unsaved under its file's name, or throws it away,
// and keeps it no longer either way. Saving disarms it.
TEST_F(MissionPanelTest, UnsavedWorkOutlivesAnUnaskedEnd) {
    fake.savePath = QString::fromStdString(Path("kept.msn"));
    FillPairs(0, 7);
    ASSERT_TRUE(window->SaveAsCommand());
    EXPECT_FALSE(RecoveryArmed()) << "nothing unsaved";
    Click("plainPalette", 32 * 7 + 5, 5);
    Click("boardView", 32 * 2 + 5, 32 * 9 + 5);
    ASSERT_TRUE(RecoveryArmed());
    MissionBytes edited = PlayableMissionBytes();
    ASSERT_TRUE(WriteRecovery());  // as a signal or a lost display would
    std::string kept = RecoveryFilePath();
    ASSERT_TRUE(fs::exists(kept));

    for (bool restore : {false, true}) {
        SCOPED_TRACE(restore ? "restored" : "thrown away");
        if (!fs::exists(kept)) {
            ArmRecovery(edited, QString::fromStdString(Path("kept.msn")));
            ASSERT_TRUE(WriteRecovery());
        }
        ResetEditorState();
        auto next = std::make_unique<MissionPanel>();
        fake.restoreQuestions.clear();
        fake.restoreWork = restore;
        EXPECT_EQ(next->OfferKeptWork(), restore);
        ASSERT_EQ(fake.restoreQuestions.size(), 1u);
        EXPECT_TRUE(fake.restoreQuestions[0].contains("kept.msn")) << fake.restoreQuestions[0].toStdString();
        EXPECT_FALSE(fs::exists(kept));
        EXPECT_EQ(next->Modified(), restore);
        if (restore) {
            EXPECT_EQ(PlayableMissionBytes(), edited);
            EXPECT_EQ(next->CurrentPath(), QString::fromStdString(Path("kept.msn")));
            ASSERT_TRUE(next->SaveCommand());
            EXPECT_EQ(Contents(Path("kept.msn")), std::string(edited.begin(), edited.end()));
        }
        EXPECT_FALSE(next->OfferKeptWork()) << "nothing kept any more";
    }
}

// A mission laid out by hand, kept as a picture for people to look at.
TEST_F(MissionPanelTest, Screenshot) {
    const int board[][3] = {{0, 11, 5}, {1, 11, 1}, {2, 11, 4}, {0, 10, 2}, {2, 10, 2}, {0, 9, 6},
                            {1, 9, 1},  {2, 9, 3},  {5, 11, 11}, {6, 11, 13}, {7, 11, 7}, {3, 11, 10}};
    for (auto [c, r, k] : board) {
        Click("plainPalette", 32 * k + 5, 5);
        Click("boardView", 32 * c + 5, 32 * r + 5);
    }
    Click("framedPalette", 32 * 1 + 5, 5);
    Click("boardView", 32 * 4 + 5, 32 * 11 + 5);
    FillPairs(0, 5);
    Bar()->triggerAction(QAbstractSlider::SliderToMinimum);
    for (int i = 0; i < 5; ++i) Bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QTest::mouseMove(View("boardView"), QPoint(32 * 3 + 5, 32 * 8 + 5));
    QImage shot = Shot();
    EXPECT_EQ(Pixel(shot, 16 + 32 * 4 + 12, 16 + 32 * 11 + 12), SheetPixel(32 * 2 + 12, 32 + 12));
    EXPECT_EQ(Pixel(shot, 16 + 32 * 3, 16 + 32 * 8 + 5), OutlineColour);
    std::string out = std::string(TESSMAR_BINARY_DIR) + "/editor-screenshot.png";
    EXPECT_TRUE(shot.save(QString::fromStdString(out)));
}

}  // namespace
