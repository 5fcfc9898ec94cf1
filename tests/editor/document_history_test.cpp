// The document's undo history: every kind of change is one step, undo and
// redo walk through them without touching the cursors or the selection, a
// new document starts a fresh history, and the clean state follows saving.
#include <vector>

#include <gtest/gtest.h>

#include "editor/document_history.h"
#include "editor/editor_model.h"

namespace {

class DocumentHistoryTest : public testing::Test {
protected:
    void SetUp() override {
        ResetEditorState();
        history.Begin(true);
    }
    QUndoStack& Stack() { return history.Stack(); }
    // A click on board cell (column, row) with `kind` selected, as the view makes it.
    void Place(int column, int row, uint8_t kind) {
        SelectedKind = kind;
        SelectedFrame = 0;
        BoardLeftDown(32 * column + 16, 32 * row + 16);
        history.Record(EditStep::BoardCell);
    }
    void Load(const MissionImage& file, bool asInFile = true) {
        MissionBytes bytes = EncodeMission(file);
        LoadEditorMission(bytes.data(), bytes.size());
        history.Begin(asInFile);
    }

    DocumentHistory history;
};

TEST_F(DocumentHistoryTest, UndoAndRedoWalkThroughEveryKindOfChange) {
    std::vector<DocumentState> docs{CurrentDocumentState()};
    Place(2, 3, 5);
    docs.push_back(CurrentDocumentState());
    SelectedKind = 9;
    SelectedFrame = 1;
    ASSERT_TRUE(QueueLeftDown(16, 16));
    history.Record(EditStep::QueueHalf);
    docs.push_back(CurrentDocumentState());
    GoalRadio = 3;
    history.Record(EditStep::GoalType);
    docs.push_back(CurrentDocumentState());
    history.SetNumberText("2");  // typing "25": one step
    history.SetNumberText("25");
    history.FinishNumberEdit();
    docs.push_back(CurrentDocumentState());
    ApplyScrollCode(ScrollPageLeft, 0);
    history.Record(EditStep::PairCount);
    docs.push_back(CurrentDocumentState());
    EXPECT_EQ(Stack().undoText(), DocumentHistory::StepName(EditStep::PairCount));

    // Changes that change nothing are not steps, nor are cursor moves and
    // selection changes.
    BoardRightDown(16, 16);
    history.Record(EditStep::BoardCell);
    BoardMouseMove(32 * 7 + 5, 32 * 9 + 5);
    PlainPaletteLeftDown(32 * 4, 5);
    ApplyScrollCode(ScrollThumbTrack, 0);
    history.Record(EditStep::PairCount);
    ASSERT_EQ(Stack().count(), int(docs.size()) - 1);

    for (size_t i = docs.size() - 1; i > 0; --i) {
        ASSERT_TRUE(Stack().canUndo());
        Stack().undo();
        EXPECT_TRUE(CurrentDocumentState() == docs[i - 1]) << "undo to " << i - 1;
    }
    EXPECT_FALSE(Stack().canUndo());
    EXPECT_EQ(BoardCursor.column, 7);
    EXPECT_EQ(SelectedKind, 4);
    for (size_t i = 1; i < docs.size(); ++i) {
        Stack().redo();
        EXPECT_TRUE(CurrentDocumentState() == docs[i]) << "redo to " << i;
    }
    EXPECT_FALSE(Stack().canRedo());

    // A new change after an undo forgets the redo.
    Stack().undo();
    Stack().undo();
    GoalRadio = 1;
    history.Record(EditStep::GoalType);
    EXPECT_FALSE(Stack().canRedo());
    Stack().undo();
    EXPECT_TRUE(CurrentDocumentState() == docs[docs.size() - 3]);
}

// A number edit is one step until it is finished, another step or an undo
// ends it; typed back to where it began it is no step at all.
TEST_F(DocumentHistoryTest, NumberEditsAreOneStepEach) {
    history.SetNumberText("7");
    EXPECT_EQ(Stack().undoText(), DocumentHistory::StepName(EditStep::GoalNumber));
    history.SetNumberText("");
    history.SetNumberText("10");
    EXPECT_FALSE(Stack().canUndo());

    history.SetNumberText("1");
    history.SetNumberText("12");
    history.FinishNumberEdit();
    history.SetNumberText("123");
    Place(0, 0, 3);
    history.SetNumberText("1234");
    EXPECT_EQ(Stack().count(), 4);
    Stack().undo();
    EXPECT_EQ(NumberFieldText, "123");
    history.SetNumberText("1239");  // after an undo: a step of its own
    Stack().undo();
    EXPECT_EQ(NumberFieldText, "123");
    Stack().undo();
    Stack().undo();
    EXPECT_EQ(NumberFieldText, "12");
    Stack().undo();
    EXPECT_EQ(NumberFieldText, "10");
}

// The stack keeps the newest 1000 steps.
TEST_F(DocumentHistoryTest, KeepsTheNewest1000Steps) {
    for (int i = 0; i < UndoDepth + 5; ++i) Place(i % 8, 1 + (i / 8) % 11, uint8_t(1 + i % 2 + 2 * (i / 88 % 2)));
    EXPECT_EQ(Stack().count(), UndoDepth);
    int undone = 0;
    for (; Stack().canUndo(); ++undone) Stack().undo();
    EXPECT_EQ(undone, UndoDepth);
}

// A loaded or new document starts with nothing to undo; the clean state is
// the document as saved or loaded, also when reached by undo and redo, and
// a short file's document stays modified until it is saved.
TEST_F(DocumentHistoryTest, FreshStackPerDocumentAndCleanAsSaved) {
    Place(1, 1, 4);
    MissionImage file;
    file.type = 2;
    file.target = 30;
    file.pieceLimit = 5;
    file.kind[MissionKindIndex(6, 6)] = 8;
    Load(file);
    EXPECT_FALSE(Stack().canUndo());
    EXPECT_FALSE(history.Modified());
    EXPECT_EQ(BoardKind(1, 1), 0);

    Place(2, 2, 5);
    EXPECT_TRUE(history.Modified());
    history.MarkSaved();
    EXPECT_FALSE(history.Modified());
    Stack().undo();
    EXPECT_TRUE(history.Modified());
    Stack().redo();
    EXPECT_FALSE(history.Modified());
    Place(3, 3, 6);  // a step from the document as saved
    Stack().undo();
    EXPECT_FALSE(history.Modified());

    Load(file, false);
    EXPECT_TRUE(history.Modified());
    Place(4, 4, 2);
    Stack().undo();
    EXPECT_TRUE(history.Modified());

    NewMission();
    history.Begin(true);
    EXPECT_FALSE(Stack().canUndo());
    EXPECT_FALSE(history.Modified());
}

// Undo and redo tell the panel to show the document again.
TEST_F(DocumentHistoryTest, RestoringCallsBack) {
    int shown = 0;
    history.restored = [&] { ++shown; };
    Place(0, 5, 3);
    EXPECT_EQ(shown, 0);
    Stack().undo();
    Stack().redo();
    EXPECT_EQ(shown, 2);
}

}  // namespace
