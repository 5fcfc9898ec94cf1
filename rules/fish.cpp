#include "rules/fish.h"

#include <cmath>
#include <numbers>

#include "rules/game_mode.h"
#include "rules/board.h"
#include "rules/game_events.h"
#include "rules/game_random.h"
#include "rules/link.h"
#include "rules/scoring.h"

constinit Fish FishTable[FishCount]{};

using enum FishStateValue;

namespace {
// Missions with a fixed queue start no new fish.
bool NewFishAllowed() { return RandomQueueGame(); }

void StartFish(Fish& f) {
    int threshold = Level >= 25 ? 1 : 26 - int(Level);
    if (GameRandom() % 3000 > threshold) return;
    f.state = Swimming;
    f.phase = GameRandom() % 360;
    int r = GameRandom() % 2;
    f.dir = 2 * r - 1;
    f.x = float((1 - r) * 414 - 30 - BoardOriginX);
    f.y = float(GameRandom() % 380 + 38);
}

bool OffScreen(float x) { return x < float(-CellSize - BoardOriginX) || x > float(ScreenWidth - BoardOriginX); }

void Swim(Fish& f) {
    f.phase += 1;
    f.x += float(3 * f.dir);
    f.y = float(double(f.y) + std::sin(double(f.phase) * 5.0 * std::numbers::pi / 180.0));
    if (OffScreen(f.x)) f.state = Free;
}

// A caught fish shakes for 19 frames, then flies off to the top left and is
// counted when it has left the screen.
void FlyOff(Fish& f) {
    f.phase += 1;
    if (f.phase < 20) {
        f.y += (f.phase & 1) ? 3.0f : -3.0f;
        return;
    }
    f.x -= 8.0f;
    f.y -= 8.0f;
    if (f.x < float(-CellSize - BoardOriginX)) {
        f.state = Free;
        CountCaughtFish();
    }
}

// Whether a ray from (c, r) by (dx, dy), the cell included, meets a marked cell.
bool RayMeetsMark(int c, int r, int dx, int dy) {
    for (; InPlayLayer(c, r); c += dx, r += dy)
        if (GetMarked(c, r)) return true;
    return false;
}
}  // namespace

void UpdateFish() {
    for (Fish& f : FishTable) {
        switch (f.state) {
            case Free:
                if (NewFishAllowed()) StartFish(f);
                break;
            case Swimming:
                Swim(f);
                break;
            case Caught:
                FlyOff(f);
                break;
            default:
                break;
        }
    }
}

void CatchFish() {
    for (Fish& f : FishTable) {
        if (f.state != Swimming) continue;
        // Truncation toward zero, so a centre just left of the well counts as column 0.
        int c = int((f.x + CellSize / 2) / float(CellSize));
        int r = int((f.y + CellSize / 2) / float(CellSize));
        if (c < 0 || c > 7 || r < 0 || r > 11) continue;
        if (RayMeetsMark(c, r, -1, 0) && RayMeetsMark(c, r, 1, 0) && RayMeetsMark(c, r, 0, -1) && RayMeetsMark(c, r, 0, 1)) {
            f.state = Caught;
            f.phase = 0;
        }
    }
}

void CountCaughtFish() {
    PlayGameSound(GameSound::Fish);
    LinkStock = uint8_t(LinkStock + 1);
    if (GameMode != ScoreAttack && MissionGoal.type == GoalFish) GoalProgress = LinkStock;
    if (LinkStock > LinkStockMax) LinkStock = LinkStockMax;
}

int CountActiveFish() {
    int n = 0;
    for (const Fish& f : FishTable) n += f.state != Free;
    return n;
}
