// Undo and redo of the mission being edited. A step is the whole document
// before and after one change: the mission bytes, the pair count, the goal
// radio and the number field's text. The cursors and the palette selection
// are not part of it.
#pragma once
#include <cstdint>
#include <string>

#include "mission/mission_file.h"

extern int32_t GoalRadio;            // the checked goal radio 0..5, -1 for none
extern std::string NumberFieldText;  // the number field's text

struct EditorDocument {
    MissionImage mission;
    int32_t pairCountPosition = 7;
    int32_t goalRadio = 0;
    std::string numberText;
    bool operator==(const EditorDocument& other) const {
        return EncodeMission(mission) == EncodeMission(other.mission) && pairCountPosition == other.pairCountPosition &&
               goalRadio == other.goalRadio && numberText == other.numberText;
    }
};

inline constexpr size_t UndoDepth = 1000;  // older steps are forgotten

// What a step changed, for the names of the Undo and Redo menu items.
enum class EditStep : uint8_t { None, BoardCell, QueueHalf, GoalType, GoalNumber, PairCount, NewMission, LoadMission };

EditorDocument CurrentDocument();
void RestoreDocument(const EditorDocument& document);

// Records one step from `before` to the current document, unless nothing
// changed. A new step forgets what could be redone.
void CommitEdit(const EditorDocument& before, EditStep step);

// The goal radio as one step.
void SetGoalRadio(int radio);
// The number field's text: every change is applied at once, and the changes
// up to FinishNumberEdit (or the next other step, undo or redo) are one step.
void SetNumberText(const std::string& text);
void FinishNumberEdit();

bool CanUndo();
bool CanRedo();
// The step Undo or Redo would take back or do again (None when there is none).
EditStep UndoStep();
EditStep RedoStep();
// Each returns false when there was nothing to undo or redo.
bool Undo();
bool Redo();

// The document as it was last saved or loaded whole: DocumentModified is
// true while the current document (an unfinished number edit included)
// differs from it, also after undoing past it.
void MarkDocumentSaved();
void MarkDocumentUnsaved();
bool DocumentModified();

// Forgets every step; the document at that moment counts as saved.
void ResetEditHistory();
