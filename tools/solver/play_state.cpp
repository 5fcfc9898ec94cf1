#include "tools/solver/play_state.h"

#include <cstring>

#include "rules/board.h"
#include "rules/queue.h"
#include "rules/scoring.h"
#include "tools/fnv.h"

void SavePlay(PlaySnapshot& s) { SaveProgramState(s.state); }

void RestorePlay(const PlaySnapshot& s) { RestoreProgramState(s.state); }

namespace {
// FNV-1a over the bytes, then a final avalanche so that nearby keys spread.
struct Hasher {
    uint64_t h = FnvOffsetBasis;
    void Byte(uint8_t b) { h = FnvAdd(h, b); }
    void Word(uint32_t w) {
        for (int i = 0; i < 4; ++i) Byte(uint8_t(w >> (8 * i)));
    }
    uint64_t Done() const {
        uint64_t z = h + 0x9E3779B97F4A7C15ull;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
};
}  // namespace

uint64_t PositionKey(bool withLabels) {
    Hasher h;
    uint8_t seen[256] = {};  // label -> its number in order of first appearance
    uint8_t nextName = 0;
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = TopRow; r <= BottomRow; ++r) {
            h.Byte(GetKind(c, r));
            h.Byte(GetFrame(c, r));
            if (!withLabels) continue;
            uint8_t g = GetGroup(c, r);
            if (g != 0 && seen[g] == 0) seen[g] = ++nextName;
            h.Byte(g == 0 ? 0 : seen[g]);
        }
    }
    h.Byte(PiecesUsed);
    h.Word(uint32_t(GoalProgress));
    h.Word(ScreenState);
    return h.Done();
}

GreedyChoice BestPlacement(const PlaySnapshot& at, const std::function<long()>& rate) {
    GreedyChoice best;
    for (const Placement& p : KnownPlacements()) {
        if (!KeepsBothHalves(p)) continue;
        RestorePlay(at);
        if (!PlayPlacement(p, nullptr)) continue;
        long v = rate();
        if (!best.placement || v > best.value) {
            best.placement = p;
            best.value = v;
        }
    }
    return best;
}

int BlocksInWell() {
    int n = 0;
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = TopRow; r <= BottomRow; ++r) n += GetKind(c, r) != Empty;
    return n;
}
