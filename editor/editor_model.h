// The editor's data and commands, without any toolkit: the mission being
// edited, the pair count, the goal radio and number field, the selection and
// cursors, and what each command and each mouse message does to them. The
// widgets forward events here and paint from here; undo lives above this, in
// the document's history (document_history.h).
#pragma once
#include <cstdint>
#include <string>

#include "mission/block_kind.h"
#include "mission/mission_file.h"
#include "mission/mission_goal.h"

struct CellCursor {
    int32_t column = 0;
    int32_t row = 0;
};
struct HalfCursor {
    int32_t pair = 0;
    int32_t half = 0;
};

extern MissionImage EditorMission;
extern int32_t PairCountPosition;  // 0..7: pairs 0..PairCountPosition are used
extern uint8_t SelectedKind;       // 0..13
extern uint8_t SelectedFrame;      // 0 or 1
extern CellCursor BoardCursor;
extern HalfCursor QueueCursor;
extern int32_t GoalRadio;            // the checked goal radio, -1 for none
extern std::string NumberFieldText;  // the number field's text

inline constexpr int GoalRadioCount = GoalFish + 1;  // one radio per goal type the game knows
inline constexpr uint32_t TypeDigitsBase = 100000;  // above it the high digits give the type

// Goal types the game names and plays to their end; higher ones play with
// random pairs and an empty goal line.
constexpr bool KnownGoalType(uint32_t type) { return type <= GoalFish; }

// Program start: an empty board inside its walls, an empty queue, all eight
// pairs in use, radio 0 and "10", plain kind 0 selected, cursors at (0, 0).
void ResetEditorState();

// NEW: empties rows 0..11 of the board and the whole queue and selects plain
// kind 0. Rows -2 and -1, the border and the goal record are kept.
void ClearMission();

// The NEW command: ClearMission, the number field at "10", radio 0 checked
// and all eight pairs in use.
void NewMission();

// The board cell and queue half accessors used by the views and tests.
uint8_t BoardKind(int column, int row);
uint8_t BoardFrame(int column, int row);
uint8_t QueueKind(int pair, int half);
uint8_t QueueFrame(int pair, int half);

// Pair label i is enabled exactly when pair i is part of the mission.
bool PairLabelEnabled(int pair);

// What saving makes of the number field with `checkedRadio` (-1: none, the
// loaded type stays): the goal type and target, whether the high digits
// chose the type, and whether the file can hold it (a type above 255 or a
// number past 32 bits cannot be stored).
struct GoalNumberMeaning {
    uint32_t type = 0;
    uint32_t target = 0;
    bool highDigits = false;
    bool storable = true;
};
GoalNumberMeaning ReadGoalNumber(int checkedRadio, const std::string& fieldText);

// The number field's digits as an unsigned value; values past 32 bits read as
// the largest 32-bit value instead of wrapping. Reading stops at a non-digit.
uint32_t ReadNumberField(const std::string& fieldText);

// Frame flags set in rows 0..11 of the board and in the halves of the pairs
// below pieceLimit.
uint32_t FrameBlockCount();

// The goal saving would write now, from GoalRadio and the number field.
GoalNumberMeaning GoalToSave();

// The first used pair with an empty half (-1 when none), which refuses a
// save. A goal with random pairs uses none of the file's kinds: nothing is
// demanded then.
int FirstUnfilledPair();
// The steps of saving: pieceLimit from the scroll bar, then the goal type
// from the checked radio (-1: none checked, the type is kept) and the
// target; false, with nothing changed, when the goal cannot be stored
// (ReadGoalNumber).
void SetPieceLimitFromScrollBar();
bool SetGoalForSave(int checkedRadio, const std::string& fieldText);
// EditorMission's bytes as they are.
MissionBytes EditorMissionBytes();
// The bytes SAVE writes (pair count, goal radio and number field applied),
// leaving EditorMission as it is, so that saving does not change the
// document: also what test play and the check are given.
MissionBytes PlayableMissionBytes();

// Loading: the bytes decoded over an empty mission (a short file fills what
// it holds, the rest stays empty), then the scroll bar position follows
// pieceLimit, the goal radio the type (RadioForLoadedType) and the number
// field shows the target. No bytes load nothing: false.
bool LoadEditorMission(const uint8_t* bytes, size_t size);
int RadioForLoadedType();  // the type's radio, or -1 for types 8 and up

// The pair-count scroll bar's codes.
enum ScrollCode : int {
    ScrollLineLeft = 0,
    ScrollLineRight = 1,
    ScrollPageLeft = 2,
    ScrollPageRight = 3,
    ScrollThumbPosition = 4,
    ScrollThumbTrack = 5,
    ScrollLeft = 6,
    ScrollRight = 7,
};
void ApplyScrollCode(int code, int thumbPosition);

// Mouse messages of the views, in view coordinates. Each returns true when
// the view must be redrawn. Points outside a view's rectangle change nothing.
inline constexpr int BoardViewWidth = 256, BoardViewHeight = 384;
inline constexpr int QueueViewWidth = 176, QueueViewHeight = 144;
inline constexpr int PlainPaletteWidth = 448, FramedPaletteWidth = 352, PaletteHeight = 32;

bool BoardMouseMove(int x, int y);
bool BoardLeftDown(int x, int y);
bool BoardRightDown(int x, int y);
bool QueueMouseMove(int x, int y);
bool QueueLeftDown(int x, int y);
bool QueueRightDown(int x, int y);
bool PlainPaletteLeftDown(int x, int y);
bool FramedPaletteLeftDown(int x, int y);

// The keyboard: the cursors move by cells (clamped at the edges); placing
// and erasing at a cursor are the left and right clicks there.
void MoveBoardCursor(int columns, int rows);
bool PlaceAtBoardCursor();
bool EraseAtBoardCursor();
void MoveQueueCursor(int columns, int rows);
bool PlaceAtQueueCursor();
bool EraseAtQueueCursor();
// Picks plain (frame 0) kind 0..13 or framed kind 1..11; false otherwise.
bool SelectPaletteEntry(int kind, int frame);
// Steps through the plain kinds, then the framed ones, and round.
void StepPaletteSelection(int steps);

// Click-to-cell and click-to-half mapping; false outside the view or in a
// gap of the queue view.
bool BoardCellAt(int x, int y, CellCursor* cell);
bool QueueHalfAt(int x, int y, HalfCursor* half);
