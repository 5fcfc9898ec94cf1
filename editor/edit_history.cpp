#include "editor/edit_history.h"

#include <deque>
#include <optional>

#include "editor/editor_model.h"

int32_t GoalRadio = 0;
std::string NumberFieldText = "10";

namespace {
struct Step {
    EditorDocument document;
    EditStep what;
};
std::deque<Step> undoSteps;  // the document before each step, newest last
std::deque<Step> redoSteps;  // the document after each undone step, newest last
std::optional<EditorDocument> numberEditBefore;
std::optional<EditorDocument> savedDocument;  // none: never matches (unsaved)

void Push(std::deque<Step>& steps, Step step) {
    steps.push_back(std::move(step));
    if (steps.size() > UndoDepth) steps.pop_front();
}

// Moves the current document onto `to` and restores the newest of `from`.
bool Swap(std::deque<Step>& from, std::deque<Step>& to) {
    FinishNumberEdit();
    if (from.empty()) return false;
    Push(to, {CurrentDocument(), from.back().what});
    RestoreDocument(from.back().document);
    from.pop_back();
    return true;
}
}  // namespace

EditorDocument CurrentDocument() { return {EditorMission, PairCountPosition, GoalRadio, NumberFieldText}; }

void RestoreDocument(const EditorDocument& document) {
    EditorMission = document.mission;
    PairCountPosition = document.pairCountPosition;
    GoalRadio = document.goalRadio;
    NumberFieldText = document.numberText;
}

void CommitEdit(const EditorDocument& before, EditStep step) {
    if (before == CurrentDocument()) return;
    Push(undoSteps, {before, step});
    redoSteps.clear();
}

void SetGoalRadio(int radio) {
    FinishNumberEdit();
    EditorDocument before = CurrentDocument();
    GoalRadio = radio;
    CommitEdit(before, EditStep::GoalType);
}

void SetNumberText(const std::string& text) {
    if (text == NumberFieldText) return;
    if (!numberEditBefore) numberEditBefore = CurrentDocument();
    NumberFieldText = text;
}

void FinishNumberEdit() {
    if (!numberEditBefore) return;
    EditorDocument before = std::move(*numberEditBefore);
    numberEditBefore.reset();
    CommitEdit(before, EditStep::GoalNumber);
}

bool CanUndo() { return !undoSteps.empty() || numberEditBefore.has_value(); }
bool CanRedo() { return !redoSteps.empty() && !numberEditBefore.has_value(); }
EditStep UndoStep() {
    if (numberEditBefore) return EditStep::GoalNumber;
    return undoSteps.empty() ? EditStep::None : undoSteps.back().what;
}
EditStep RedoStep() { return CanRedo() ? redoSteps.back().what : EditStep::None; }
bool Undo() { return Swap(undoSteps, redoSteps); }
bool Redo() { return Swap(redoSteps, undoSteps); }

void MarkDocumentSaved() {
    FinishNumberEdit();
    savedDocument = CurrentDocument();
}
void MarkDocumentUnsaved() { savedDocument.reset(); }
bool DocumentModified() { return !savedDocument || !(*savedDocument == CurrentDocument()); }

void ResetEditHistory() {
    GoalRadio = 0;
    NumberFieldText = "10";
    undoSteps.clear();
    redoSteps.clear();
    numberEditBefore.reset();
    savedDocument = CurrentDocument();
}
