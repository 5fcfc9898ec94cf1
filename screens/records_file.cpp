#include "screens/records_file.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "rules/game_mode.h"
#include "settings/data_folder.h"
#include "platform/platform.h"
#include "platform/platform_os.h"
#include "screens/notice.h"

constinit RecordEntry RecordTable[RecordEntries]{};
constinit uint8_t ClearedFlags[ClearedFlagCount];
constinit uint8_t ClearedCount;
// The file's image as this game last read or wrote it. What the records in
// memory hold beyond it is this game's own news, merged at the next write
// into whatever the file holds by then (another game may have written it).
constinit uint8_t RecordsOnDisk[RecordsFileSize];

namespace {
// The file always lives in the records folder (where the game started unless
// the game folder's choice set one), whatever folder a dialog left current.
std::string RecordsPath() { return JoinPath(RecordsDirectory.empty() ? StartDirectory : RecordsDirectory, "rcd.dat"); }

// A newer version's longer file is kept whole up to this length; a longer
// one is not written at all (the save says why).
constexpr size_t LongestRecordsFile = size_t(1) << 20;

uint32_t ScoreAt(const uint8_t* entry) {
    const uint8_t* s = entry + RecordScoreOffset;
    return uint32_t(s[0]) | uint32_t(s[1]) << 8 | uint32_t(s[2]) << 16 | uint32_t(s[3]) << 24;
}

void PutScore(uint8_t* entry, uint32_t score) {
    for (int i = 0; i < 4; ++i) entry[RecordScoreOffset + i] = uint8_t(score >> (8 * i));
}

// The cleared count as the flags give it: a file whose count disagrees (a
// count of 255 that one more clear would wrap to 0, a count of 30 with no
// flag set) is taken at its flags.
uint8_t ClearedFlagsSet(const uint8_t* flags) {
    int n = 0;
    for (int i = 0; i < ClearedFlagCount; ++i) n += flags[i] != 0;
    return uint8_t(n);
}

uint8_t* Entry(uint8_t* image, int i) { return image + RecordEntrySize * i; }
const uint8_t* Entry(const uint8_t* image, int i) { return image + RecordEntrySize * i; }

// A save waiting for the lock another game holds: since when, and the
// numbered missions cleared meanwhile (their flags are written even where
// this game saw them set before: the file may have been deleted since).
bool saveWaiting = false;
uint32_t saveAskedAt = 0;
bool clearedSinceAsked[ClearedFlagCount];

// One try of the save, waiting at most `waitMs` for the lock. True when it
// is over, written or failed: the last try, or the lock's time is up.
bool TrySave(int waitMs, bool last, bool& written) {
    uint8_t mine[RecordsFileSize], base[RecordsFileSize], merged[RecordsFileSize];
    EncodeRecords(mine);
    std::memcpy(base, RecordsOnDisk, RecordsFileSize);
    for (int n = 0; n < ClearedFlagCount; ++n)
        if (clearedSinceAsked[n]) base[ClearedFlagsOffset + n] = 0;  // news to merge, whatever the file held
    std::string error;
    auto merge = [&](std::vector<uint8_t>& bytes) {
        // The file as it is now, a short or missing one filled with zeros;
        // a longer one (a newer version's) keeps its bytes beyond ours.
        if (bytes.size() < size_t(RecordsFileSize)) bytes.resize(RecordsFileSize, 0);
        std::memcpy(merged, bytes.data(), RecordsFileSize);
        MergeRecords(base, mine, merged);
        std::memcpy(bytes.data(), merged, RecordsFileSize);
        return true;
    };
    bool busy = false;
    written = UpdateFileLocked(RecordsPath(), LongestRecordsFile, merge, &error, waitMs, &busy);
    if (!written && busy && !last && PlatformTicks() - saveAskedAt < uint32_t(LockWaitMilliseconds)) return false;
    saveWaiting = false;
    std::memset(clearedSinceAsked, 0, sizeof clearedSinceAsked);
    if (written) {
        DecodeRecords(merged, RecordsFileSize);
        std::memcpy(RecordsOnDisk, merged, RecordsFileSize);
        return true;
    }
    std::fprintf(stderr, "tessmar: could not write %s: %s\n", RecordsPath().c_str(), error.c_str());
    ShowNotice(NoticeRecordsNotSaved);  // the old file stays; the game goes on
    return true;
}
}  // namespace

void EncodeRecords(uint8_t out[RecordsFileSize]) {
    for (int i = 0; i < RecordEntries; ++i) {
        std::memcpy(Entry(out, i), RecordTable[i].name, RecordNameSize);
        PutScore(Entry(out, i), RecordTable[i].score);
    }
    std::memcpy(out + ClearedFlagsOffset, ClearedFlags, ClearedFlagCount);
    out[ClearedCountOffset] = ClearedCount;
}

void DecodeRecords(const uint8_t* bytes, int size) {
    uint8_t image[RecordsFileSize];
    EncodeRecords(image);
    if (size > 0) std::memcpy(image, bytes, size_t(size < RecordsFileSize ? size : RecordsFileSize));
    for (int i = 0; i < RecordEntries; ++i) {
        std::memcpy(RecordTable[i].name, Entry(image, i), RecordNameSize);
        RecordTable[i].score = ScoreAt(Entry(image, i));
    }
    std::memcpy(ClearedFlags, image + ClearedFlagsOffset, ClearedFlagCount);
    ClearedCount = ClearedFlagsSet(ClearedFlags);
}

void CopyShownName(const RecordEntry& entry, char out[ShownNameSize]) {
    const void* zero = std::memchr(entry.name, 0, sizeof entry.name);
    size_t length = zero ? size_t(static_cast<const uint8_t*>(zero) - entry.name) : 8;
    std::memcpy(out, entry.name, length);
    out[length] = '\0';
}

void MergeRecords(const uint8_t base[RecordsFileSize], const uint8_t mine[RecordsFileSize],
                  uint8_t out[RecordsFileSize], int justCleared) {
    // Places 1 to 5 of `mine` that `base` does not hold (counted as a
    // multiset of 16-byte entries) are new: each goes into `out` where the
    // name entry would put it, after the equal scores already there.
    if (std::memcmp(mine, base, RecordEntrySize) != 0) std::memcpy(out, mine, RecordEntrySize);  // entry 0, only carried
    bool used[RecordEntries] = {};
    for (int i = 1; i <= LastPlace; ++i) {
        const uint8_t* entry = Entry(mine, i);
        bool known = false;
        for (int j = 1; j <= LastPlace && !known; ++j)
            if (!used[j] && std::memcmp(entry, Entry(base, j), RecordEntrySize) == 0) known = used[j] = true;
        if (known) continue;
        int place = 1;
        while (place <= LastPlace && ScoreAt(Entry(out, place)) >= ScoreAt(entry)) ++place;
        if (place > LastPlace) continue;
        std::memmove(Entry(out, place + 1), Entry(out, place), size_t(RecordEntrySize * (LastPlace - place)));
        std::memcpy(Entry(out, place), entry, RecordEntrySize);
    }
    // A mission this game cleared is cleared in the file too, counted once.
    const uint8_t* mineCleared = mine + ClearedFlagsOffset;
    const uint8_t* baseCleared = base + ClearedFlagsOffset;
    uint8_t* outCleared = out + ClearedFlagsOffset;
    for (int n = 0; n < ClearedFlagCount; ++n) {
        if (mineCleared[n] == 0 || (baseCleared[n] != 0 && n != justCleared) || outCleared[n] != 0) continue;
        outCleared[n] = mineCleared[n];
    }
    out[ClearedCountOffset] = ClearedFlagsSet(outCleared);
}

void ReadRecordsFile() {
    saveWaiting = false;
    std::memset(clearedSinceAsked, 0, sizeof clearedSinceAsked);
    EncodeRecords(RecordsOnDisk);
    if (RecordsDisabled) {  // nothing read or written: the player is told once
        ShowNotice(NoticeRecordsNotSaved);
        return;
    }
    std::string path = RecordsPath();
    RemoveStaleTemporaries(path);  // left by a write that was killed
    CreateEmptyFileIfMissing(path);
    std::vector<uint8_t> bytes;
    // What a failing read got still counts, as a short file does; nothing read changes nothing.
    ReadFileBytes(path, bytes, RecordsFileSize);
    DecodeRecords(bytes.data(), int(bytes.size()));
    EncodeRecords(RecordsOnDisk);
}

void AskRecordsSave() {
    if (RecordsDisabled || ReplayWatched) return;  // said once at start-up; or a past game
    if (GameMode == NormalGame && MissionNumber < ClearedFlagCount) clearedSinceAsked[MissionNumber] = true;
    if (!saveWaiting) saveAskedAt = PlatformTicks();
    saveWaiting = true;
}

bool WriteRecordsFile() {
    if (RecordsDisabled || ReplayWatched) return false;
    AskRecordsSave();
    bool written = false;
    TrySave(0, false, written);
    return written;
}

void ContinueRecordsSave() {
    bool written = false;
    if (saveWaiting) TrySave(0, false, written);
}

void FinishRecordsSave() {
    bool written = false;
    if (!saveWaiting) return;
    int left = LockWaitMilliseconds - int(PlatformTicks() - saveAskedAt);
    TrySave(left > 0 ? left : 0, true, written);
}

bool RecordsSaveWaiting() { return saveWaiting; }
