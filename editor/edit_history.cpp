#include "editor/edit_history.h"

#include <deque>
#include <optional>

#include "editor/editor_model.h"

int32_t GoalRadio = 0;
std::string NumberFieldText = "10";

namespace {
std::deque<EditorDocument> undoSteps;  // the document before each step, newest last
std::deque<EditorDocument> redoSteps;  // the document after each undone step, newest last
std::optional<EditorDocument> numberEditBefore;

void Push(std::deque<EditorDocument>& steps, EditorDocument document) {
    steps.push_back(std::move(document));
    if (steps.size() > UndoDepth) steps.pop_front();
}

// Moves the current document onto `to` and restores the newest of `from`.
bool Swap(std::deque<EditorDocument>& from, std::deque<EditorDocument>& to) {
    FinishNumberEdit();
    if (from.empty()) return false;
    Push(to, CurrentDocument());
    RestoreDocument(from.back());
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

void CommitEdit(const EditorDocument& before) {
    if (before == CurrentDocument()) return;
    Push(undoSteps, before);
    redoSteps.clear();
}

void SetGoalRadio(int radio) {
    FinishNumberEdit();
    EditorDocument before = CurrentDocument();
    GoalRadio = radio;
    CommitEdit(before);
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
    CommitEdit(before);
}

bool CanUndo() { return !undoSteps.empty() || numberEditBefore.has_value(); }
bool CanRedo() { return !redoSteps.empty() && !numberEditBefore.has_value(); }
bool Undo() { return Swap(undoSteps, redoSteps); }
bool Redo() { return Swap(redoSteps, undoSteps); }

void ResetEditHistory() {
    GoalRadio = 0;
    NumberFieldText = "10";
    undoSteps.clear();
    redoSteps.clear();
    numberEditBefore.reset();
}
