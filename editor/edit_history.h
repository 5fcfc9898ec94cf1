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

EditorDocument CurrentDocument();
void RestoreDocument(const EditorDocument& document);

// Records one step from `before` to the current document, unless nothing
// changed. A new step forgets what could be redone.
void CommitEdit(const EditorDocument& before);

// The goal radio as one step.
void SetGoalRadio(int radio);
// The number field's text: every change is applied at once, and the changes
// up to FinishNumberEdit (or the next other step, undo or redo) are one step.
void SetNumberText(const std::string& text);
void FinishNumberEdit();

bool CanUndo();
bool CanRedo();
// Each returns false when there was nothing to undo or redo.
bool Undo();
bool Redo();

void ResetEditHistory();
