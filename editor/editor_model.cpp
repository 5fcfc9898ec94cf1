#include "editor/editor_model.h"

#include <algorithm>

MissionImage EditorMission;
int32_t PairCountPosition = 7;
uint8_t SelectedKind = 0;
uint8_t SelectedFrame = 0;
CellCursor BoardCursor;
HalfCursor QueueCursor;
int32_t GoalRadio = 0;
std::string NumberFieldText = "10";

namespace {
uint8_t& KindAt(int column, int row) { return EditorMission.kind[MissionKindIndex(column, row)]; }
uint8_t& FrameAt(int column, int row) { return EditorMission.frame[MissionFrameIndex(column, row)]; }
uint8_t& QueueKindAt(int pair, int half) { return EditorMission.queueKind[MissionQueueIndex(pair, half)]; }
uint8_t& QueueFrameAt(int pair, int half) { return EditorMission.queueFrame[MissionQueueIndex(pair, half)]; }

bool Inside(int x, int y, int width, int height) { return x >= 0 && y >= 0 && x < width && y < height; }

MissionImage EmptyMission() {
    MissionImage mission{};
    for (int row = -2; row <= 12; ++row) {
        mission.kind[MissionKindIndex(-1, row)] = Wall;
        mission.kind[MissionKindIndex(8, row)] = Wall;
    }
    for (int column = 0; column <= 7; ++column) mission.kind[MissionKindIndex(column, 12)] = Wall;
    return mission;
}
}  // namespace

void ResetEditorState() {
    EditorMission = EmptyMission();
    PairCountPosition = 7;
    SelectedKind = 0;
    SelectedFrame = 0;
    BoardCursor = {};
    QueueCursor = {};
    GoalRadio = 0;
    NumberFieldText = "10";
}

void ClearMission() {
    for (int column = 0; column <= 7; ++column)
        for (int row = 0; row <= 11; ++row) {
            KindAt(column, row) = Empty;
            FrameAt(column, row) = 0;
        }
    EditorMission.queueKind.fill(0);
    EditorMission.queueFrame.fill(0);
    SelectedKind = 0;
    SelectedFrame = 0;
}

void NewMission() {
    ClearMission();
    NumberFieldText = "10";
    GoalRadio = 0;
    PairCountPosition = 7;
}

uint8_t BoardKind(int column, int row) { return KindAt(column, row); }
uint8_t BoardFrame(int column, int row) { return FrameAt(column, row); }
uint8_t QueueKind(int pair, int half) { return QueueKindAt(pair, half); }
uint8_t QueueFrame(int pair, int half) { return QueueFrameAt(pair, half); }

bool PairLabelEnabled(int pair) { return pair <= PairCountPosition; }

GoalNumberMeaning ReadGoalNumber(int checkedRadio, const std::string& text) {
    GoalNumberMeaning m;
    uint64_t value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') break;
        value = value * 10 + uint64_t(ch - '0');
        if (value > UINT32_MAX) {
            m.storable = false;
            return m;
        }
    }
    int type = checkedRadio >= 0 && checkedRadio < GoalRadioCount ? checkedRadio : EditorMission.type;
    m.type = uint32_t(type);
    if (FrameCountGoal(uint8_t(type))) {
        m.target = FrameBlockCount();
        return m;
    }
    m.target = uint32_t(value);
    if (value > TypeDigitsBase) {
        m.highDigits = true;
        m.type = uint32_t(value / TypeDigitsBase);
        m.target = uint32_t(value % TypeDigitsBase);
        m.storable = m.type <= 255;
    }
    return m;
}

uint32_t ReadNumberField(const std::string& text) {
    uint64_t value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') break;
        value = std::min<uint64_t>(value * 10 + uint64_t(ch - '0'), UINT32_MAX);
    }
    return uint32_t(value);
}

uint32_t FrameBlockCount() {
    uint32_t count = 0;
    for (int column = 0; column <= 7; ++column)
        for (int row = 0; row <= 11; ++row) count += FrameAt(column, row) != 0;
    for (int pair = 0; pair < std::min<int>(EditorMission.pieceLimit, MissionPairs); ++pair)
        for (int half = 0; half < 2; ++half) count += QueueFrameAt(pair, half) != 0;
    return count;
}

void SetPieceLimitFromScrollBar() { EditorMission.pieceLimit = uint8_t(PairCountPosition + 1); }

GoalNumberMeaning GoalToSave() { return ReadGoalNumber(GoalRadio, NumberFieldText); }

int FirstUnfilledPair() {
    if (RandomQueueGoal(uint8_t(std::min<uint32_t>(GoalToSave().type, 255)))) return -1;
    for (int pair = 0; pair <= PairCountPosition; ++pair)
        if (QueueKindAt(pair, 0) == Empty || QueueKindAt(pair, 1) == Empty) return pair;
    return -1;
}

bool SetGoalForSave(int checkedRadio, const std::string& fieldText) {
    if (!ReadGoalNumber(checkedRadio, fieldText).storable) return false;
    if (checkedRadio >= 0 && checkedRadio < GoalRadioCount) EditorMission.type = uint8_t(checkedRadio);
    if (FrameCountGoal(EditorMission.type)) {
        EditorMission.target = FrameBlockCount();
        return true;
    }
    uint32_t v = ReadNumberField(fieldText);
    if (v <= TypeDigitsBase) {
        EditorMission.target = v;
    } else {
        EditorMission.target = v % TypeDigitsBase;
        EditorMission.type = uint8_t(v / TypeDigitsBase);
    }
    return true;
}

MissionBytes EditorMissionBytes() { return EncodeMission(EditorMission); }

MissionBytes PlayableMissionBytes() {
    MissionImage kept = EditorMission;
    SetPieceLimitFromScrollBar();
    SetGoalForSave(GoalRadio, NumberFieldText);
    MissionBytes bytes = EncodeMission(EditorMission);
    EditorMission = kept;
    return bytes;
}

bool LoadEditorMission(const uint8_t* bytes, size_t size) {
    if (size == 0) return false;
    EditorMission = EmptyMission();
    DecodeMission(bytes, size, EditorMission);
    // The position lives in the scroll bar, whose range is 0..7.
    PairCountPosition = std::clamp<int32_t>(int32_t(EditorMission.pieceLimit) - 1, 0, 7);
    GoalRadio = RadioForLoadedType();
    NumberFieldText = std::to_string(EditorMission.target);
    return true;
}

int RadioForLoadedType() { return EditorMission.type < GoalRadioCount ? EditorMission.type : -1; }

void ApplyScrollCode(int code, int thumbPosition) {
    int32_t& p = PairCountPosition;
    switch (code) {
    case ScrollLineLeft: if (p > 0) --p; break;
    case ScrollLineRight: if (p < 7) ++p; break;
    case ScrollPageLeft: p = std::max(p - 1, 0); break;
    case ScrollPageRight: p = std::min(p + 1, 7); break;
    case ScrollThumbPosition: p = std::clamp(thumbPosition, 0, 7); break;
    case ScrollLeft: p = 0; break;
    case ScrollRight: p = 7; break;
    default: break;  // thumb tracking and anything else: unchanged
    }
}

bool BoardCellAt(int x, int y, CellCursor* cell) {
    if (!Inside(x, y, BoardViewWidth, BoardViewHeight)) return false;
    *cell = {x / 32, y / 32};
    return true;
}

bool QueueHalfAt(int x, int y, HalfCursor* half) {
    if (!Inside(x, y, QueueViewWidth, QueueViewHeight)) return false;
    if (x % 48 >= 32 || y % 80 >= 64) return false;  // the gaps between pairs and lines
    *half = {x / 48 + 4 * (y / 80), (y % 80) / 32};
    return true;
}

bool BoardMouseMove(int x, int y) { return BoardCellAt(x, y, &BoardCursor); }

bool BoardLeftDown(int x, int y) {
    CellCursor cell;
    if (SelectedKind == Joiner || !BoardCellAt(x, y, &cell)) return false;
    BoardCursor = cell;
    if (cell.column == 4 && cell.row == 0) return true;  // the entry cell is never filled by a click
    KindAt(cell.column, cell.row) = SelectedKind;
    FrameAt(cell.column, cell.row) = SelectedFrame;
    return true;
}

bool BoardRightDown(int x, int y) {
    if (!BoardCellAt(x, y, &BoardCursor)) return false;
    KindAt(BoardCursor.column, BoardCursor.row) = Empty;
    FrameAt(BoardCursor.column, BoardCursor.row) = 0;
    return true;
}

bool QueueMouseMove(int x, int y) { return QueueHalfAt(x, y, &QueueCursor); }

bool QueueLeftDown(int x, int y) {
    HalfCursor half;
    if (!QueueHalfAt(x, y, &half) || SelectedKind == Wall) return false;
    QueueCursor = half;
    QueueKindAt(half.pair, half.half) = SelectedKind;
    QueueFrameAt(half.pair, half.half) = SelectedFrame;
    return true;
}

bool QueueRightDown(int x, int y) {
    if (!QueueHalfAt(x, y, &QueueCursor)) return false;
    QueueKindAt(QueueCursor.pair, QueueCursor.half) = Empty;
    QueueFrameAt(QueueCursor.pair, QueueCursor.half) = 0;
    return true;
}

void MoveBoardCursor(int columns, int rows) {
    BoardCursor.column = std::clamp(BoardCursor.column + columns, 0, 7);
    BoardCursor.row = std::clamp(BoardCursor.row + rows, 0, 11);
}

bool PlaceAtBoardCursor() { return BoardLeftDown(32 * BoardCursor.column, 32 * BoardCursor.row); }
bool EraseAtBoardCursor() { return BoardRightDown(32 * BoardCursor.column, 32 * BoardCursor.row); }

// The queue as a grid of four columns (pairs) and four rows (two halves on
// each of two lines).
void MoveQueueCursor(int columns, int rows) {
    int column = std::clamp(QueueCursor.pair % 4 + columns, 0, 3);
    int row = std::clamp(QueueCursor.pair / 4 * 2 + QueueCursor.half + rows, 0, 3);
    QueueCursor = {column + 4 * (row / 2), row % 2};
}

bool PlaceAtQueueCursor() {
    return QueueLeftDown(48 * (QueueCursor.pair % 4), 80 * (QueueCursor.pair / 4) + 32 * QueueCursor.half);
}
bool EraseAtQueueCursor() {
    return QueueRightDown(48 * (QueueCursor.pair % 4), 80 * (QueueCursor.pair / 4) + 32 * QueueCursor.half);
}

bool SelectPaletteEntry(int kind, int frame) {
    if (frame == 0 ? kind < 0 || kind >= KindCount : kind < 1 || kind > Cross) return false;
    SelectedKind = uint8_t(kind);
    SelectedFrame = uint8_t(frame != 0);
    return true;
}

// Plain kinds 0..13, then framed kinds 1..11, round.
void StepPaletteSelection(int steps) {
    constexpr int entries = KindCount + Cross;
    int index = SelectedFrame ? KindCount + SelectedKind - 1 : SelectedKind;
    index = ((index + steps) % entries + entries) % entries;
    if (index < KindCount) SelectPaletteEntry(index, 0);
    else SelectPaletteEntry(index - KindCount + 1, 1);
}

bool PlainPaletteLeftDown(int x, int y) {
    if (!Inside(x, y, PlainPaletteWidth, PaletteHeight)) return false;
    SelectedKind = uint8_t(x / 32);
    SelectedFrame = 0;
    return true;
}

bool FramedPaletteLeftDown(int x, int y) {
    if (!Inside(x, y, FramedPaletteWidth, PaletteHeight)) return false;
    SelectedKind = uint8_t(x / 32 + 1);
    SelectedFrame = 1;
    return true;
}
