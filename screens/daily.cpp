#include "screens/daily.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "draw/text.h"
#include "platform/calendar.h"
#include "platform/platform.h"
#include "rules/game_events.h"
#include "rules/game_mode.h"
#include "rules/queue.h"
#include "rules/screen_layout.h"
#include "rules/screen_state.h"
#include "screens/mission_loader.h"
#include "screens/notice.h"
#include "settings/data_folder.h"
#include "settings/number_text.h"

constinit uint8_t DailyBack;
constinit uint8_t DailyStage;
constinit CalendarDay DailyDay{};
constinit uint8_t DailyStreak;

namespace {
constexpr int DailyX = 100, DayX = 196, LeftArrowX = 180, RightArrowX = 356;
constexpr const char* KeptTag = "tessmar daily ";

// Beside the records file.
std::string FolderOf(const char* name) {
    return JoinPath(RecordsDirectory.empty() ? StartDirectory : RecordsDirectory, name);
}

// FNV-1a over the mission's bytes: what the kept file's last line holds.
uint64_t Checksum(const MissionBytes& bytes) {
    uint64_t h = 14695981039346656037ull;
    for (uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
    return h;
}

std::string KeptLine(const CalendarDay& day, const MissionBytes& bytes) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(Checksum(bytes)));
    return std::string("\n") + KeptTag + CalendarDayText(day) + " " + hex + "\n";
}

// A file written whole beside the old one; a failure is said on stderr and
// the game goes on.
void WriteOrSay(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string reason;
    size_t slash = path.find_last_of('/');
    if (slash != std::string::npos) MakeFolders(path.substr(0, slash));
    if (!WriteFileAtomically(path, bytes.data(), bytes.size(), &reason))
        std::fprintf(stderr, "tessmar: cannot write %s: %s\n", path.c_str(), reason.c_str());
}

// The day's result into the days file, merged with what it holds now. A
// watched replay's result only counts toward the streak it shows.
void KeepResult(const DayResult& result) {
    std::string reason;
    std::vector<DayResult> days;
    auto change = [&](std::vector<uint8_t>& bytes) {
        days = ReadDays(bytes);
        AddDayResult(days, result);
        bytes = WriteDays(days);
        return true;
    };
    if (ReplayWatched) {
        std::vector<uint8_t> bytes;
        ReadFileBytes(DaysFilePath(), bytes, DaysFileLimit);
        change(bytes);
    } else {
        MakeFolders(DailyFolder());
        if (!UpdateFileLocked(DaysFilePath(), DaysFileLimit, change, &reason)) {
            std::fprintf(stderr, "tessmar: the day's result is not kept: %s: %s\n", DaysFilePath().c_str(),
                         reason.c_str());
            days.clear();
            AddDayResult(days, result);  // the streak of this day alone
        }
    }
    DailyStreak = uint8_t(std::min(StreakThrough(days, result.day), 255));
}

bool SameDay(const CalendarDay& a, const CalendarDay& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

bool Before(const CalendarDay& a, const CalendarDay& b) {
    return a.year != b.year ? a.year < b.year : a.month != b.month ? a.month < b.month : a.day < b.day;
}

int Cost(const DayResult& r) { return r.undos + r.retries; }

// Characters of UTF-8 text: the bytes that begin one.
int Characters(const std::string& text) {
    int n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}
}  // namespace

std::string DailyFolder() { return FolderOf("daily"); }
std::string DailyKeptPath(const CalendarDay& day) { return JoinPath(DailyFolder(), CalendarDayText(day) + ".msn"); }
std::string DailyMissionsPath(const CalendarDay& day) {
    return JoinPath(FolderOf("missions"), "daily-" + CalendarDayText(day) + ".msn");
}
std::string DaysFilePath() { return JoinPath(DailyFolder(), "days.txt"); }

// A clock that gives no real day is taken as it is (and refused); a real
// one steps back, also out of the years that have missions (refused too).
CalendarDay DailyChosenDay() {
    CalendarDay today = PlatformToday();
    return CalendarDayExists(today) ? DaysBefore(today, DailyBack) : today;
}

bool DailyCanGoBack() { return DailyBack < DailyDaysBack; }
bool DailyCanGoForward() { return DailyBack > 0; }

void DrawDailyLine(bool pointed, bool arrowsShown) {
    DrawGlyphText("DAILY", DailyX, DailyLineY);
    CalendarDay day = DailyChosenDay();
    DrawGlyphText(CalendarDayValid(day) ? CalendarDayText(day).c_str() : "----------", DayX, DailyLineY);
    if (!pointed || !arrowsShown) return;
    if (DailyCanGoBack()) DrawGlyphText("[", LeftArrowX, DailyLineY);
    if (DailyCanGoForward()) DrawGlyphText("]", RightArrowX, DailyLineY);
}

// One more dot for every board tried, ten at most, then from one again.
void DrawDailyProgress(int boards) {
    char dots[11] = {};
    std::memset(dots, '.', size_t(boards % 10 + 1));
    DrawGlyphText("DAILY", DailyX, DailyLineY);
    DrawGlyphText(dots, DayX, DailyLineY);
}

bool StartDailyMission() {
    CalendarDay day = DailyChosenDay();
    if (!CalendarDayValid(day)) {
        ShowNotice(NoticeNoDailyForDay);
        return false;
    }
    MissionBytes bytes{};
    std::vector<uint8_t> kept;
    if (!ReadFileBytes(DailyKeptPath(day), kept, MissionFileSize + 256) || !ReadKeptDailyFile(kept, day, bytes)) {
        if (!MakeDaysMission(day.year, day.month, day.day, bytes)) {
            ShowNotice(NoticeDailyNotMade);
            return false;
        }
        WriteOrSay(DailyKeptPath(day), KeptDailyFile(day, bytes));
        WriteOrSay(DailyMissionsPath(day), std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }
    LoadMissionBytes(bytes.data(), bytes.size());
    DailyStage = DailyPlaying;
    DailyDay = day;
    DailyStreak = 0;
    return true;
}

// The goal is met in the first frame of the pair after the last one
// played: that pair is counted already.
static int PairsPlayed() { return PiecesUsed > 0 ? PiecesUsed - 1 : 0; }

void DailyGameCleared() {
    const int undos = UndosTaken(), retries = RetriesTaken();
    KeepResult({DailyDay, true, undos, retries});
    if (!ReplayWatched) PlatformSetClipboard(DailyResultLine(DailyDay, PairsPlayed(), undos, retries));
    DailyStage = DailyCleared;
}

void DailyGameLost() {
    KeepResult({DailyDay, false, UndosTaken(), RetriesTaken()});
    DailyStage = DailyNone;
}

void DailyResultDone() { DailyStage = DailyNone; }

// English in the narrow face, on one line when it fits (else broken before
// CLEARED); Japanese in katakana under the day. The streak below.
void DrawDailyResult() {
    constexpr int FirstY = 280, SecondY = 300, StreakY = 336, NarrowWidth = 8;
    const int undos = UndosTaken(), retries = RetriesTaken();
    auto centred = [](int characters, int width) { return (ScreenWidth - width * characters) / 2; };
    if (TextLanguage == Language::Japanese) {
        std::string day = "TESSMAR DAILY " + CalendarDayText(DailyDay);
        DrawNarrowText(day.c_str(), centred(int(day.size()), NarrowWidth), FirstY);
        std::string words = "クリア " + std::to_string(PairsPlayed()) + "ペア モドシ " + std::to_string(undos);
        if (retries > 0) words += " ヤリナオシ " + std::to_string(retries);
        DrawKanaText(words.c_str(), centred(Characters(words), GlyphCell), SecondY);
        std::string streak = std::to_string(DailyStreak) + "ニチ レンショウ";
        DrawKanaText(streak.c_str(), centred(Characters(streak), GlyphCell), StreakY);
        return;
    }
    std::string line = DailyResultLine(DailyDay, PairsPlayed(), undos, retries);
    if (int(line.size()) * NarrowWidth <= ScreenWidth) {
        DrawNarrowText(line.c_str(), centred(int(line.size()), NarrowWidth), FirstY);
    } else {
        size_t cut = line.find(" CLEARED");
        std::string first = line.substr(0, cut), second = line.substr(cut + 1);
        DrawNarrowText(first.c_str(), centred(int(first.size()), NarrowWidth), FirstY);
        DrawNarrowText(second.c_str(), centred(int(second.size()), NarrowWidth), SecondY);
    }
    std::string streak = "STREAK " + std::to_string(DailyStreak) + (DailyStreak == 1 ? " DAY" : " DAYS");
    DrawGlyphText(streak.c_str(), centred(int(streak.size()), GlyphCell), StreakY);
}

std::string DailyResultLine(const CalendarDay& day, int pairs, int undos, int retries) {
    std::string line = "TESSMAR DAILY " + CalendarDayText(day) + " CLEARED " + std::to_string(pairs) + " PAIRS " +
                       std::to_string(undos) + " UNDO";
    if (retries > 0) line += " " + std::to_string(retries) + " RETRY";
    return line;
}

std::vector<uint8_t> KeptDailyFile(const CalendarDay& day, const MissionBytes& bytes) {
    std::vector<uint8_t> file(bytes.begin(), bytes.end());
    std::string line = KeptLine(day, bytes);
    file.insert(file.end(), line.begin(), line.end());
    return file;
}

bool ReadKeptDailyFile(const std::vector<uint8_t>& file, const CalendarDay& day, MissionBytes& bytes) {
    if (file.size() < MissionFileSize) return false;
    MissionBytes read{};
    std::copy(file.begin(), file.begin() + MissionFileSize, read.begin());
    std::string line(file.begin() + MissionFileSize, file.end());
    if (line != KeptLine(day, read)) return false;
    bytes = read;
    return true;
}

std::vector<DayResult> ReadDays(const std::vector<uint8_t>& file) {
    std::vector<DayResult> days;
    std::string text(file.begin(), file.end());
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        // "YYYY-MM-DD CLEARED|TRIED U R"
        DayResult r{};
        size_t s1 = line.find(' '), s2 = line.find(' ', s1 + 1), s3 = line.find(' ', s2 + 1);
        if (s1 == std::string::npos || s2 == std::string::npos || s3 == std::string::npos) continue;
        std::string word = line.substr(s1 + 1, s2 - s1 - 1);
        long long undos = 0, retries = 0;
        if (!ParseCalendarDay(line.substr(0, s1), r.day) || (word != "CLEARED" && word != "TRIED") ||
            !ParseNumber(line.substr(s2 + 1, s3 - s2 - 1), 0, 99999, undos) ||
            !ParseNumber(line.substr(s3 + 1), 0, 99999, retries))
            continue;
        r.cleared = word == "CLEARED";
        r.undos = int(undos);
        r.retries = int(retries);
        AddDayResult(days, r);
    }
    return days;
}

std::vector<uint8_t> WriteDays(std::vector<DayResult> days) {
    std::sort(days.begin(), days.end(), [](const DayResult& a, const DayResult& b) { return Before(a.day, b.day); });
    if (days.size() > size_t(DaysKept)) days.erase(days.begin(), days.end() - DaysKept);
    std::string text;
    for (const DayResult& r : days)
        text += CalendarDayText(r.day) + (r.cleared ? " CLEARED " : " TRIED ") + std::to_string(r.undos) + " " +
                std::to_string(r.retries) + "\n";
    return std::vector<uint8_t>(text.begin(), text.end());
}

void AddDayResult(std::vector<DayResult>& days, const DayResult& result) {
    for (DayResult& r : days) {
        if (!SameDay(r.day, result.day)) continue;
        bool better = result.cleared && (!r.cleared || Cost(result) < Cost(r));
        if (better || (!r.cleared && !result.cleared)) r = result;
        return;
    }
    days.push_back(result);
}

int StreakThrough(const std::vector<DayResult>& days, const CalendarDay& day) {
    auto cleared = [&](const CalendarDay& d) {
        for (const DayResult& r : days)
            if (SameDay(r.day, d)) return r.cleared;
        return false;
    };
    if (!cleared(day)) return 0;
    int n = 1;
    for (CalendarDay d = DaysBefore(day, 1); CalendarDayValid(d) && cleared(d); d = DaysBefore(d, 1)) ++n;
    return n;
}
