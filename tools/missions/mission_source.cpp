#include "tools/missions/mission_source.h"

#include "mission/mission_goal.h"
#include "settings/number_text.h"

#include <cctype>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {
// One character per kind 0..13: empty, the two straights, the corners as the
// letters they look like, the three-way knots, the cross, the joiner, a wall.
const char KindCharacters[] = ".-|7JLrT3^E+o#";
constexpr int KindCount = sizeof KindCharacters - 1;  // every block kind, empty to wall
constexpr char FrameMark = '*';
constexpr int WellRows = 12, WellColumns = 8;

struct GoalName {
    const char* name;
    int type;
};
const GoalName GoalNames[] = {
    {"chain", GoalChain}, {"erase", GoalErase}, {"erase-at-once", GoalEraseAtOnce}, {"all-frames", GoalAllFrames},
    {"all-frames-at-once", GoalAllFramesAtOnce}, {"area", GoalArea}, {"score", GoalScore}, {"fish", GoalFish},
};

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

// '#' starts a comment. In the well and the queue, where '#' is a wall, only
// a '#' after a blank that follows the data does.
std::string StripComment(const std::string& raw, bool data) {
    if (!data) return raw.substr(0, raw.find('#'));
    size_t start = raw.find_first_not_of(" \t");
    if (start == std::string::npos) return raw;
    for (size_t i = start + 1; i < raw.size(); ++i)
        if (raw[i] == '#' && (raw[i - 1] == ' ' || raw[i - 1] == '\t')) return raw.substr(0, i);
    return raw;
}

std::vector<std::string> Words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> w;
    for (std::string word; in >> word;) w.push_back(word);
    return w;
}

bool ReadNumber(const std::string& word, long low, long high, long& value) {
    long long v = 0;
    if (!ParseNumber(word, low, high, v)) return false;
    value = long(v);
    return true;
}

struct Parser {
    MissionSource& out;
    std::string& error;
    int line = 0;
    bool haveGoal = false, havePairs = false, haveTarget = false;
    int wellRows = 0, queuePairs = 0;
    long target = 0;

    bool Fail(const std::string& why) {
        error = "line " + std::to_string(line) + ": " + why;
        return false;
    }

    // Kind characters, then optionally blanks and as many frame marks
    // ('*' framed, '.' not).
    bool ReadCells(const std::string& text, int count, uint8_t* kinds, uint8_t* frames) {
        std::vector<std::string> w = Words(text);
        if (w.empty() || w.size() > 2 || int(w[0].size()) != count || (w.size() == 2 && int(w[1].size()) != count))
            return Fail("expected " + std::to_string(count) + " kind characters, optionally followed by " +
                        std::to_string(count) + " frame marks");
        for (int i = 0; i < count; ++i) {
            int k = KindOfCharacter(w[0][i]);
            if (k < 0) return Fail(std::string("unknown kind character '") + w[0][i] + "'");
            kinds[i] = uint8_t(k);
            frames[i] = 0;
            if (w.size() == 2) {
                if (w[1][i] != FrameMark && w[1][i] != '.') return Fail("frame marks are '*' or '.'");
                frames[i] = w[1][i] == FrameMark;
                if (frames[i] && (k < 1 || k > 11)) return Fail("only rope blocks can be frame blocks");
            }
        }
        return true;
    }

    bool WellRow(const std::string& text) {
        uint8_t kinds[WellColumns], frames[WellColumns];
        if (!ReadCells(text, WellColumns, kinds, frames)) return false;
        int r = wellRows++;
        for (int c = 0; c < WellColumns; ++c) {
            if (kinds[c] == 12) return Fail("joiners only come in the queue");
            if (c == 4 && r == 0 && kinds[c] != 0) return Fail("column 4 of row 0 is where pairs enter: keep it empty");
            out.image.kind[MissionKindIndex(c, r)] = kinds[c];
            out.image.frame[MissionFrameIndex(c, r)] = frames[c];
        }
        return true;
    }

    bool QueuePair(const std::string& text) {
        uint8_t kinds[2], frames[2];
        if (!ReadCells(text, 2, kinds, frames)) return false;
        int p = queuePairs++;
        for (int h = 0; h < 2; ++h) {
            if (kinds[h] == 13) return Fail("walls cannot come in the queue");
            out.image.queueKind[MissionQueueIndex(p, h)] = kinds[h];
            out.image.queueFrame[MissionQueueIndex(p, h)] = frames[h];
        }
        return true;
    }

    bool Goal(const std::string& value) {
        std::vector<std::string> w = Words(value);
        if (w.empty() || w.size() > 2) return Fail("expected 'goal: NAME [TARGET]'");
        int type = -1;
        for (const GoalName& g : GoalNames)
            if (w[0] == g.name) type = g.type;
        if (type < 0) return Fail("unknown goal '" + w[0] + "'");
        out.image.type = uint8_t(type);
        haveGoal = true;
        if (w.size() == 2) {
            // The editor stores up to 100000 for types 0..5; higher types carry
            // the target in the low five digits.
            if (!ReadNumber(w[1], 0, !RandomQueueGoal(uint8_t(type)) ? 100000 : 99999, target)) return Fail("bad target '" + w[1] + "'");
            haveTarget = true;
        }
        return true;
    }

    bool Setting(const std::string& key, const std::string& value) {
        long v = 0;
        if (key == "title") out.title = value;
        else if (key == "idea") out.idea = value;
        else if (key == "goal") return Goal(value);
        else if (key == "pairs") {
            if (!ReadNumber(value, 1, 8, v)) return Fail("pairs is 1 to 8");
            out.image.pieceLimit = uint8_t(v);
            havePairs = true;
        } else
            return Fail("unknown setting '" + key + "'");
        return true;
    }

    // The frame blocks on the board and in the pairs that are played.
    long FrameCount() const {
        long n = 0;
        for (int c = 0; c < WellColumns; ++c)
            for (int r = 0; r < WellRows; ++r) n += out.image.frame[MissionFrameIndex(c, r)] != 0;
        for (int p = 0; p < out.image.pieceLimit; ++p)
            for (int h = 0; h < 2; ++h) n += out.image.queueFrame[MissionQueueIndex(p, h)] != 0;
        return n;
    }

    bool Finish() {
        if (out.title.empty()) return Fail("missing 'title:'");
        if (!haveGoal) return Fail("missing 'goal:'");
        if (!havePairs) return Fail("missing 'pairs:'");
        if (wellRows != WellRows) return Fail("the well needs 12 rows, found " + std::to_string(wellRows));
        if (queuePairs != MissionPairs) return Fail("the queue needs 8 pairs, found " + std::to_string(queuePairs));
        for (int p = 0; p < out.image.pieceLimit; ++p)
            for (int h = 0; h < 2; ++h)
                if (out.image.queueKind[MissionQueueIndex(p, h)] == 0)
                    return Fail("pair " + std::to_string(p + 1) + " is played and needs two blocks");
        bool counted = FrameCountGoal(out.image.type);
        if (counted) {
            long n = FrameCount();
            if (haveTarget && target != n)
                return Fail("the target of a frame-block goal is the count of frame blocks, " + std::to_string(n));
            target = n;
        } else if (!haveTarget) {
            return Fail("this goal needs a target");
        }
        out.image.target = uint32_t(target);
        return true;
    }

    bool Run(const std::string& text) {
        // Walls and floor as the editor saves them; rows -2 and -1 stay empty.
        for (int c = -1; c <= 8; ++c)
            for (int r = -2; r <= 12; ++r)
                if (c < 0 || c > 7 || r == 12) out.image.kind[MissionKindIndex(c, r)] = 13;
        enum { Settings, Well, Queue } section = Settings;
        std::istringstream in(text);
        for (std::string raw; std::getline(in, raw);) {
            ++line;
            std::string s = Trim(StripComment(raw, section != Settings));
            if (s.empty()) continue;
            if (s == "well:") {
                section = Well;
                continue;
            }
            if (s == "queue:") {
                section = Queue;
                continue;
            }
            if (section == Well) {
                if (wellRows == WellRows) return Fail("the well has 12 rows");
                if (!WellRow(s)) return false;
            } else if (section == Queue) {
                if (queuePairs == MissionPairs) return Fail("the queue has 8 pairs");
                if (!QueuePair(s)) return false;
            } else {
                size_t colon = s.find(':');
                if (colon == std::string::npos) return Fail("expected 'key: value'");
                if (!Setting(Trim(s.substr(0, colon)), Trim(s.substr(colon + 1)))) return false;
            }
        }
        ++line;
        return Finish();
    }
};
}  // namespace


int KindOfCharacter(char c) {
    for (int k = 0; k < KindCount; ++k)
        if (KindCharacters[k] == c) return k;
    return -1;
}

char CharacterOfKind(int kind) { return kind >= 0 && kind < KindCount ? KindCharacters[kind] : '?'; }

bool ParseMissionSource(const std::string& text, MissionSource& out, std::string& error) {
    out = MissionSource{};
    Parser p{out, error};
    return p.Run(text);
}
