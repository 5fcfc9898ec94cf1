// The undo history of the document being edited, on a QUndoStack. A step
// holds the document before and after one change: the mission bytes, the pair
// count, the goal radio and the number field's text; the cursors and the
// palette selection are not part of it. Opening a file or starting a new
// mission begins a fresh stack, so no step reaches into another document, and
// the stack's clean state says whether the document differs from its file.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include <QCoreApplication>
#include <QUndoStack>

#include "mission/mission_file.h"

struct DocumentState {
    MissionImage mission;
    int32_t pairCountPosition = 7;
    int32_t goalRadio = 0;
    std::string numberText;
    bool operator==(const DocumentState& other) const {
        return EncodeMission(mission) == EncodeMission(other.mission) && pairCountPosition == other.pairCountPosition &&
               goalRadio == other.goalRadio && numberText == other.numberText;
    }
};

// The document as the editor model holds it now, and put back.
DocumentState CurrentDocumentState();
void RestoreDocumentState(const DocumentState& state);

// What a step changed; it names the step in the Undo and Redo items.
enum class EditStep : uint8_t { BoardCell, QueueHalf, GoalType, GoalNumber, PairCount };

inline constexpr int UndoDepth = 1000;  // older steps are forgotten

class DocumentHistory {
    Q_DECLARE_TR_FUNCTIONS(DocumentHistory)

public:
    DocumentHistory();
    QUndoStack& Stack() { return stack_; }

    // Called after an undo or a redo has put a document back.
    std::function<void()> restored;

    // Whatever changed since the last step, as one step named `step`;
    // nothing when nothing changed.
    void Record(EditStep step);
    // The number field's text: the changes up to FinishNumberEdit (or the
    // next other step, undo or redo) are one step.
    void SetNumberText(const std::string& text);
    void FinishNumberEdit();

    // A fresh stack for the document now shown. `asInFile`: it is its file's
    // contents (or a new mission); false when what is shown differs from the
    // file (a short file), which then stays modified until it is saved.
    void Begin(bool asInFile);
    void MarkSaved();
    bool Modified() const { return !stack_.isClean(); }

    static QString StepName(EditStep step);

private:
    friend class DocumentStep;
    void Restore(const DocumentState& state);

    QUndoStack stack_;
    DocumentState recorded_;  // the document as the newest step left it
    int numberEdit_ = 0;      // the number edit being typed: its steps merge
};
