#include "tools/solver/daily_mission.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/calendar.h"
#include "rules/game_random.h"
#include "tools/missions/mission_source.h"

namespace {
constexpr int Rows = 12, Columns = 8, EntryColumn = 4;
constexpr int MaxLedge = 2;  // rows of stone the ring may stand on

// What each day of the week asks for, Monday first: the pairs to play, the
// widest open area, and the band of the solver's difficulty figure a board
// must fall in. The bands do not overlap, so the week rises day by day.
struct DayRecipe {
    int pairs;
    int maxWidth;
    double lowest, highest;
};
constexpr DayRecipe Recipes[7] = {
    {2, 4, 0, 4.2},    {2, 4, 4.2, 5.5}, {3, 4, 5.5, 12.5}, {3, 4, 12.5, 14},
    {3, 4, 14, 16},    {4, 4, 16, 18.5}, {4, 4, 18.5, 99},
};
// Boards drawn for a day before the closest to the band of those that passed
// the other checks is taken (when none has, drawing goes on up to the last).
constexpr int MaxCandidates = 60, LastCandidate = 2000;
// Placements searched for a day after which no new board is drawn once one
// has passed: about two seconds of this machine's CPU, counted rather than
// timed so that every machine stops at the same board.
constexpr uint64_t DayPlacementBudget = 60000;

// Rope kinds by their source characters.
constexpr char Horizontal = '-', Vertical = '|', TopLeft = 'r', TopRight = '7', BottomLeft = 'L',
               BottomRight = 'J', WallChar = '#', EmptyChar = '.';
constexpr char RopeChars[] = "-|7JLrT3^E+";
constexpr int RopeKinds = 11;

int Below(RandomGenerator& g, int n) { return int(NextRandom(g) % n); }

struct Cell {
    int c, r;
};

struct Candidate {
    std::string source;
    int ringBlocks = 0;
};

// The kind of a ring's cell on a rectangle from (left, top), w by h.
char RingKind(int c, int r, int left, int top, int w, int h) {
    bool l = c == left, rt = c == left + w - 1, t = r == top, b = r == top + h - 1;
    if (t && l) return TopLeft;
    if (t && rt) return TopRight;
    if (b && l) return BottomLeft;
    if (b && rt) return BottomRight;
    return t || b ? Horizontal : Vertical;
}

// One board: walls round an open area that holds column 4; a ring on the
// floor or a ledge, its top pieces taken out into the pairs; pieces that do not belong
// to it in the pairs (spares) and beside it on the floor (decoys).
Candidate DrawCandidate(RandomGenerator& g, const DayRecipe& day) {
    char well[Rows][Columns + 1];
    int width = 3 + Below(g, day.maxWidth - 2);
    int lowestLeft = std::max(0, EntryColumn - width + 1), highestLeft = std::min(EntryColumn, Columns - width);
    int left = lowestLeft + Below(g, highestLeft - lowestLeft + 1);
    for (int r = 0; r < Rows; ++r) {
        for (int c = 0; c < Columns; ++c) well[r][c] = c >= left && c < left + width ? EmptyChar : WallChar;
        well[r][Columns] = 0;
    }
    // A ring with a piece left over when every pair has taken its share.
    int ringWidth = 0, ringHeight = 0;
    do {
        ringWidth = 2 + Below(g, width - 1);
        ringHeight = 2 + Below(g, 2);
    } while (2 * (ringWidth + ringHeight) - 4 < 2 * day.pairs);
    // The ring stands on the floor or on a stone ledge across the open area.
    int floor = Rows - Below(g, MaxLedge + 1);
    for (int r = floor; r < Rows; ++r)
        for (int c = left; c < left + width; ++c) well[r][c] = WallChar;
    int ringLeft = left + Below(g, width - ringWidth + 1), ringTop = floor - ringHeight;
    std::vector<Cell> ring;
    for (int r = ringTop; r < floor; ++r)
        for (int c = ringLeft; c < ringLeft + ringWidth; ++c)
            if (r == ringTop || r == floor - 1 || c == ringLeft || c == ringLeft + ringWidth - 1) {
                well[r][c] = RingKind(c, r, ringLeft, ringTop, ringWidth, ringHeight);
                ring.push_back({c, r});
            }
    // Decoys on the floor beside the ring: stone or a rope piece.
    for (int c = left; c < left + width; ++c)
        if (well[floor - 1][c] == EmptyChar && Below(g, 2) == 0)
            well[floor - 1][c] = Below(g, 3) == 0 ? WallChar : RopeChars[Below(g, RopeKinds)];
    // The pairs: ring pieces taken off the top two by two (side by side or
    // one over the other, so that what stays rests on what is under it) and
    // given back in the opposite order; the first pair brings the last single
    // piece taken and a spare that belongs nowhere.
    auto top = [&](const Cell& k) { return well[k.r][k.c] != EmptyChar && well[k.r - 1][k.c] == EmptyChar; };
    auto take = [&](const Cell& k) {
        char kind = well[k.r][k.c];
        well[k.r][k.c] = EmptyChar;
        return kind;
    };
    std::vector<std::string> pairs;
    for (int p = 1; p < day.pairs; ++p) {
        std::vector<std::pair<Cell, Cell>> dominoes;
        for (const Cell& k : ring) {
            if (!top(k)) continue;
            Cell right{k.c + 1, k.r}, under{k.c, k.r + 1};
            if (right.c < Columns && top(right)) dominoes.push_back({k, right});
            if (under.r < floor && well[under.r][under.c] != EmptyChar && ringHeight > 2) dominoes.push_back({k, under});
        }
        if (dominoes.empty()) break;
        auto [x, y] = dominoes[Below(g, int(dominoes.size()))];
        std::string pair{take(x), take(y)};
        if (Below(g, 2)) std::swap(pair[0], pair[1]);
        pairs.push_back(pair);
    }
    std::vector<Cell> tops;
    for (const Cell& k : ring)
        if (top(k)) tops.push_back(k);
    std::string first{take(tops[Below(g, int(tops.size()))]), RopeChars[Below(g, RopeKinds)]};
    if (Below(g, 2)) std::swap(first[0], first[1]);
    pairs.push_back(first);
    std::reverse(pairs.begin(), pairs.end());

    Candidate out;
    out.ringBlocks = int(ring.size());
    bool atOnce = Below(g, 2) == 0;
    out.source = std::string("goal: ") + (atOnce ? "erase-at-once " : "erase ") + std::to_string(ring.size()) +
                 "\npairs: " + std::to_string(pairs.size()) + "\nwell:\n";
    for (int r = 0; r < Rows; ++r) out.source += std::string(well[r]) + "\n";
    out.source += "queue:\n";
    for (int p = 0; p < MissionPairs; ++p)
        out.source += (p < int(pairs.size()) ? pairs[p] : "..") + "\n";
    return out;
}

// Rope blocks in the well and in the pairs played: when the goal asks for
// all of them, counting alone tells how to clear it.
int RopeBlocks(const MissionImage& m) {
    int n = 0;
    for (int c = 0; c < Columns; ++c)
        for (int r = 0; r < Rows; ++r) n += m.kind[MissionKindIndex(c, r)] >= 1 && m.kind[MissionKindIndex(c, r)] <= 11;
    for (int h = 0; h < 2 * m.pieceLimit; ++h) n += m.queueKind[h] >= 1 && m.queueKind[h] <= 12;
    return n;
}

// The checks every day's mission passes but the weekday's band: proven
// clearable with every pair, the one-pair-ahead player fails, at most a
// third of the first placements keep it clearable, and it asks for fewer
// blocks than the well and the pairs hold.
bool PassesProof(const MissionImage& m, const SolveResult& r) {
    return r.complete && r.decided && r.clearable && r.shortest == m.pieceLimit && !r.oneAheadClears &&
           r.first.open * 3 <= r.first.placements && int(m.target) < RopeBlocks(m);
}

double BandDistance(double d, const DayRecipe& day) {
    return d < day.lowest ? day.lowest - d : d >= day.highest ? d - day.highest : 0;
}

}  // namespace

bool DailyDateValid(const CalendarDate& d) { return CalendarDayValid({d.year, d.month, d.day}); }

bool ParseDailyDate(const std::string& text, CalendarDate& d) {
    CalendarDay day{};
    if (!ParseCalendarDay(text, day)) return false;
    d = {day.year, day.month, day.day};
    return true;
}

std::string DailyDateText(const CalendarDate& d) { return CalendarDayText({d.year, d.month, d.day}); }

// 1970-01-01 was a Thursday.
int DailyWeekday(const CalendarDate& d) { return int((DaysSince1970({d.year, d.month, d.day}) + 3) % 7); }

DailyMission MakeDailyMission(const CalendarDate& date, const std::function<bool()>& goOn) {
    const DayRecipe& day = Recipes[DailyWeekday(date)];
    RandomGenerator g{};
    SeedRandom(g, uint32_t(date.year * 10000 + date.month * 100 + date.day));
    SolveOptions options;
    options.positionBudget = DailyProofBudget;
    DailyMission best;
    double bestDistance = -1;
    uint64_t searched = 0;
    for (int i = 1; i <= LastCandidate && (bestDistance < 0 || (i <= MaxCandidates && searched < DayPlacementBudget));
         ++i) {
        Candidate c = DrawCandidate(g, day);
        MissionSource parsed;
        std::string why;
        if (!ParseMissionSource("title: DAILY " + DailyDateText(date) + "\n" + c.source, parsed, why)) continue;
        SolveResult r = SolveMission(parsed.image, options);
        searched += r.placements;
        if (goOn && !goOn()) return {.stopped = true};
        if (!PassesProof(parsed.image, r)) continue;
        double distance = BandDistance(r.difficulty, day);
        if (bestDistance < 0 || distance < bestDistance) {
            best = {parsed.image, "title: DAILY " + DailyDateText(date) + "\n" + c.source, r, i};
            bestDistance = distance;
        }
        if (distance == 0) break;
    }
    return best;
}

bool MakeDailyMissionBytes(const CalendarDay& day, MissionBytes& bytes, const std::function<bool()>& goOn) {
    DailyMission made = MakeDailyMission({day.year, day.month, day.day}, goOn);
    if (!made.proof.clearable) return false;
    bytes = EncodeMission(made.image);
    return true;
}
