// Fuzz target of the editor's model and its undo history: any bytes loaded as
// a mission file, then mouse messages, scroll codes, goal and number edits,
// undo and redo, then a save; the saved file is 294 bytes and loads back into
// the same model. Undo then redo gives back the document as it was; a
// document marked unchanged would save what it saved (or loaded) last.
//
// Input:
//   bytes 0..1  length L of the mission file, little-endian, modulo 400
//   L bytes of the file (as far as the input reaches)
//   then three-byte commands (op, a, b), op modulo 16:
//     0..2  board view: move, left click, right click at (2a - 32, 2b - 32)
//     3..5  queue view: the same
//     6, 7  plain and framed palette: left click at (2a - 32, b - 16)
//     8     scroll bar code a modulo 9, thumb position b - 2
//     9     NEW (confirmed)
//     10    goal radio a modulo 8
//     11    number field: character a typed, or cleared when b is odd; the
//           edit finished when bit 1 of b is set
//     12    save
//     13    load the last saved file again
//     14    undo (after an undo, redo and undo again)
//     15    redo (the same the other way)
//   A save always ends the input.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/document_history.h"
#include "editor/editor_model.h"
#include "editor/mission_io.h"
#include "mission/mission_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace {
constexpr size_t MissionLengthLimit = 400;
constexpr size_t FieldLimit = 24;

DocumentHistory& History() {
    static DocumentHistory history;
    return history;
}
MissionBytes cleanBytes{};  // what the document saved when it was last unchanged

// A fresh history for the document now in the model, as opening and NEW do.
void BeginDocument(bool asInFile) {
    History().Begin(asInFile);
    cleanBytes = PlayableMissionBytes();
}

[[noreturn]] void Broken(const char* what, long a, long b) {
    std::fprintf(stderr, "broken: %s (%ld, %ld)\n", what, a, b);
    std::abort();
}

void CheckModel() {
    if (PairCountPosition < 0 || PairCountPosition > 7) Broken("pair count", PairCountPosition, 0);
    if (SelectedKind > Wall || SelectedFrame > 1) Broken("selection", SelectedKind, SelectedFrame);
    if (BoardCursor.column < 0 || BoardCursor.column > 7 || BoardCursor.row < 0 || BoardCursor.row > 11)
        Broken("board cursor", BoardCursor.column, BoardCursor.row);
    if (QueueCursor.pair < 0 || QueueCursor.pair > 7 || QueueCursor.half < 0 || QueueCursor.half > 1)
        Broken("queue cursor", QueueCursor.pair, QueueCursor.half);
    QUndoStack& stack = History().Stack();
    if (stack.count() > UndoDepth) Broken("undo depth", stack.count(), 0);
    if (stack.isClean() && PlayableMissionBytes() != cleanBytes) Broken("unchanged, yet saves otherwise", 0, 0);
}

// Undo (or redo) and back: the document as it was; then the step is taken.
void StepBack(bool redo) {
    QUndoStack& stack = History().Stack();
    if (redo ? !stack.canRedo() : !stack.canUndo()) return;
    DocumentState before = CurrentDocumentState();
    redo ? stack.redo() : stack.undo();
    redo ? stack.undo() : stack.redo();
    if (!(CurrentDocumentState() == before)) Broken(redo ? "redo, undo" : "undo, redo", 0, 0);
    redo ? stack.redo() : stack.undo();
}

// A load shows the type's radio and the target in the number field.
void CheckLoaded() {
    if (GoalRadio != RadioForLoadedType()) Broken("radio after load", GoalRadio, RadioForLoadedType());
    if (NumberFieldText != std::to_string(EditorMission.target)) Broken("number after load", 0, 0);
}

bool Load(const char* path, size_t fileSize) {
    MissionBytes bytes{};
    size_t size = 0;
    std::string reason;
    if (!ReadMissionFile(path, bytes, &size, &reason)) return false;
    if (LoadEditorMission(bytes.data(), size)) {  // an empty file loads nothing
        BeginDocument(fileSize == MissionFileSize);
        CheckLoaded();
    }
    return true;
}

// The save command, then the file loaded back: same bytes, same model.
void Save() {
    History().FinishNumberEdit();
    if (FirstUnfilledPair() >= 0) return;  // refused with a message
    if (!GoalToSave().storable) return;    // refused with the reason
    for (int radio = -1; radio < GoalRadioCount; ++radio) ReadGoalNumber(radio, NumberFieldText);
    MissionBytes saved = PlayableMissionBytes();
    History().MarkSaved();
    cleanBytes = saved;
    CheckModel();
    int32_t position = PairCountPosition;
    std::string reason;
    if (!WriteMissionFile("saved.msn", saved, &reason)) Broken("save failed", 0, 0);
    MissionBytes again{};
    size_t size = 0;
    if (!ReadMissionFile("saved.msn", again, &size, &reason) || size != MissionFileSize) Broken("saved size", long(size), 0);
    if (again != saved) Broken("saved bytes", 0, 0);
    ResetEditorState();
    LoadEditorMission(again.data(), size);
    BeginDocument(true);
    CheckLoaded();
    if (EditorMissionBytes() != saved) Broken("reloaded model", 0, 0);
    if (PairCountPosition != position) Broken("reloaded pair count", PairCountPosition, position);
}

void Command(uint8_t op, uint8_t a, uint8_t b) {
    int x = 2 * a - 32, y = 2 * b - 32;
    switch (op % 16) {
        case 0: BoardMouseMove(x, y); break;
        case 1: BoardLeftDown(x, y), History().Record(EditStep::BoardCell); break;
        case 2: BoardRightDown(x, y), History().Record(EditStep::BoardCell); break;
        case 3: QueueMouseMove(x, y); break;
        case 4: QueueLeftDown(x, y), History().Record(EditStep::QueueHalf); break;
        case 5: QueueRightDown(x, y), History().Record(EditStep::QueueHalf); break;
        case 6: PlainPaletteLeftDown(x, b - 16); break;
        case 7: FramedPaletteLeftDown(x, b - 16); break;
        case 8: ApplyScrollCode(a % 9, b - 2), History().Record(EditStep::PairCount); break;
        case 9:
            NewMission();
            BeginDocument(true);
            if (History().Stack().canUndo()) Broken("undo after NEW", 0, 0);
            break;
        case 10:
            GoalRadio = a % GoalRadioCount;
            History().Record(EditStep::GoalType);
            break;
        case 11:
            if (b & 1) History().SetNumberText("");
            else if (NumberFieldText.size() < FieldLimit) History().SetNumberText(NumberFieldText + char(a));
            if (b & 2) History().FinishNumberEdit();
            break;
        case 12: Save(); break;
        case 13: Load("saved.msn", MissionFileSize); break;
        case 14: StepBack(false); break;
        default: StepBack(true); break;
    }
    CheckModel();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    EnterScratchFolder("editor");
    unlink("saved.msn");
    ResetEditorState();
    BeginDocument(true);
    size_t length = std::min((size_t(data[0]) | size_t(data[1]) << 8) % MissionLengthLimit, size - 2);
    WriteScratchFile("loaded.msn", data + 2, length);
    if (!Load("loaded.msn", length)) Broken("load failed", long(length), 0);
    for (size_t i = 2 + length; i + 3 <= size; i += 3) Command(data[i], data[i + 1], data[i + 2]);
    Save();
    return 0;
}
