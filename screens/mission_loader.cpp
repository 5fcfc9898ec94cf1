#include "screens/mission_loader.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "mission/mission_file.h"
#include "rules/game_mode.h"
#include "settings/data_folder.h"
#include "platform/platform_os.h"
#include "rules/board.h"
#include "rules/fish.h"
#include "rules/loops.h"
#include "rules/new_game.h"
#include "rules/queue.h"
#include "rules/screen_state.h"
#include "rules/settle.h"

static_assert(sizeof Board.kind == MissionKindSize && sizeof Board.frame == MissionFrameSize);
static_assert(sizeof ComingQueue.kind == MissionQueueKindSize && sizeof ComingQueue.frame == MissionQueueFrameSize);

namespace {
// The image starts from what is in memory, so a short file leaves the rest
// of the game's state as it was.
void TakeCurrentState(MissionImage& m) {
    std::memcpy(m.kind.data(), Board.kind, MissionKindSize);
    std::memcpy(m.frame.data(), Board.frame, MissionFrameSize);
    std::memcpy(m.queueKind.data(), ComingQueue.kind, MissionQueueKindSize);
    std::memcpy(m.queueFrame.data(), ComingQueue.frame, MissionQueueFrameSize);
    m.target = MissionGoal.target;
    m.type = MissionGoal.type;
    m.pieceLimit = MissionGoal.pieceLimit;
}

void PutState(const MissionImage& m) {
    std::memcpy(Board.kind, m.kind.data(), MissionKindSize);
    std::memcpy(Board.frame, m.frame.data(), MissionFrameSize);
    std::memcpy(ComingQueue.kind, m.queueKind.data(), MissionQueueKindSize);
    std::memcpy(ComingQueue.frame, m.queueFrame.data(), MissionQueueFrameSize);
    MissionGoal.target = m.target;
    MissionGoal.type = m.type;
    MissionGoal.pieceLimit = m.pieceLimit;
}

uint8_t KnownKind(uint8_t k) { return k < KindCount ? k : uint8_t(Empty); }
uint8_t FrameFlag(uint8_t f) { return f != 0 ? 1 : 0; }

// A file comes from anyone: kinds the tables do not know become Empty, any
// non-zero frame flag counts as 1, the walls and floor are Wall and the
// hidden row -2 is empty, so no block can leave the well.
void MakeSafe() {
    for (uint8_t& k : Board.kind) k = KnownKind(k);
    for (uint8_t& f : Board.frame) f = FrameFlag(f);
    for (auto& pair : ComingQueue.kind)
        for (uint8_t& k : pair) k = KnownKind(k);
    for (auto& pair : ComingQueue.frame)
        for (uint8_t& f : pair) f = FrameFlag(f);
    SetBoardWalls();
    for (int c = 0; c <= LastColumn; ++c) SetKind(c, HiddenRow, Empty);
}

void PlaceForGoal() {
    BoardOriginY = 80;
    if (!RandomQueueGoal(MissionGoal.type)) {
        BoardOriginX = 16;
        QueueLast = 7;
    } else {
        BoardOriginX = 64;
        FillRandomQueue();  // kinds of pairs 0..4 drawn anew; the file's flags stay
    }
}

// Labels the networks of the loaded board and looks for loops without
// marking, releasing or scoring anything.
void AnalyseBoard() { SettleBoard(SearchMode::AnalyseOnly); }
}  // namespace

namespace {
std::vector<uint8_t> lastFile;  // the last mission loaded, kept so later loads reuse its room
}

void LoadMissionBytes(const uint8_t* bytes, size_t size) {
    NoteGameSetUp();
    if (bytes != lastFile.data()) lastFile.assign(bytes, bytes + size);
    MissionImage m;
    TakeCurrentState(m);
    DecodeMission(bytes, size, m);
    PutState(m);
    MakeSafe();
    PlaceForGoal();
    AnalyseBoard();
}

const std::vector<uint8_t>& LastMissionFile() { return lastFile; }

bool LoadMissionFile(const std::string& path) {
    if (!ReadFileBytes(path, lastFile, MissionFileSize) || lastFile.size() < MissionFileSize) {
        std::fprintf(stderr, "tessmar: cannot read mission %s: not a file of %d bytes\n", path.c_str(),
                     int(MissionFileSize));
        return false;
    }
    LoadMissionBytes(lastFile.data(), lastFile.size());
    return true;
}

std::string NumberedMissionPath(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "mission/%02d.msn", number);
    return JoinPath(DataDirectory.empty() ? StartDirectory : DataDirectory, name);
}
