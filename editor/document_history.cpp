#include "editor/document_history.h"

#include <QUndoCommand>

#include "editor/editor_model.h"

DocumentState CurrentDocumentState() { return {EditorMission, PairCountPosition, GoalRadio, NumberFieldText}; }

void RestoreDocumentState(const DocumentState& state) {
    EditorMission = state.mission;
    PairCountPosition = state.pairCountPosition;
    GoalRadio = state.goalRadio;
    NumberFieldText = state.numberText;
}

// One step: the document before and after. The stack calls redo() once as it
// takes the step, when the document already is `after`.
class DocumentStep : public QUndoCommand {
public:
    DocumentStep(DocumentHistory* history, EditStep step, DocumentState before, DocumentState after, int numberEdit)
        : QUndoCommand(DocumentHistory::StepName(step)),
          history_(history),
          step_(step),
          before_(std::move(before)),
          after_(std::move(after)),
          numberEdit_(numberEdit) {}

    void undo() override { history_->Restore(before_); }
    void redo() override {
        if (taken_) history_->Restore(after_);
        taken_ = true;
    }
    // The keystrokes of one number edit merge into one step; typed back to
    // where it began, the step goes.
    int id() const override { return step_ == EditStep::GoalNumber ? int(step_) : -1; }
    bool mergeWith(const QUndoCommand* other) override {
        auto* next = static_cast<const DocumentStep*>(other);
        if (next->numberEdit_ != numberEdit_) return false;
        after_ = next->after_;
        setObsolete(after_ == before_);
        return true;
    }

private:
    DocumentHistory* history_;
    EditStep step_;
    DocumentState before_, after_;
    int numberEdit_;
    bool taken_ = false;
};

DocumentHistory::DocumentHistory() : recorded_(CurrentDocumentState()) { stack_.setUndoLimit(UndoDepth); }

void DocumentHistory::Record(EditStep step) {
    if (step != EditStep::GoalNumber) FinishNumberEdit();
    DocumentState now = CurrentDocumentState();
    if (now == recorded_) return;
    DocumentState before = std::move(recorded_);
    recorded_ = now;
    stack_.push(new DocumentStep(this, step, std::move(before), std::move(now), numberEdit_));
}

void DocumentHistory::SetNumberText(const std::string& text) {
    if (text == NumberFieldText) return;
    NumberFieldText = text;
    Record(EditStep::GoalNumber);
}

void DocumentHistory::FinishNumberEdit() { ++numberEdit_; }

void DocumentHistory::Begin(bool asInFile) {
    FinishNumberEdit();
    stack_.clear();
    recorded_ = CurrentDocumentState();
    if (!asInFile) stack_.resetClean();
}

void DocumentHistory::MarkSaved() {
    FinishNumberEdit();
    stack_.setClean();
}

void DocumentHistory::Restore(const DocumentState& state) {
    FinishNumberEdit();
    RestoreDocumentState(state);
    recorded_ = state;
    if (restored) restored();
}

QString DocumentHistory::StepName(EditStep step) {
    switch (step) {
    case EditStep::BoardCell: return tr("Board Cell");
    case EditStep::QueueHalf: return tr("Next Block");
    case EditStep::GoalType: return tr("Goal Type");
    case EditStep::GoalNumber: return tr("Goal Number");
    case EditStep::PairCount: return tr("Pair Count");
    }
    return {};
}
