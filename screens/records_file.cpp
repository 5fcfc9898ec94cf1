#include "screens/records_file.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "mission/mission_goal.h"
#include "platform/data_folder.h"
#include "platform/platform_os.h"
#include "screens/notice.h"

constinit RecordEntry RecordTable[6]{};
constinit uint8_t ClearedFlags[100];
constinit uint8_t ClearedCount;
// The file's image as this game last read or wrote it. What the records in
// memory hold beyond it is this game's own news, merged at the next write
// into whatever the file holds by then (another game may have written it).
constinit uint8_t RecordsOnDisk[RecordsFileSize];

namespace {
// The file always lives in the records folder (where the game started unless
// the game folder's choice set one), whatever folder a dialog left current.
std::string RecordsPath() { return JoinPath(RecordsDirectory.empty() ? StartDirectory : RecordsDirectory, "rcd.dat"); }

// A newer version's longer file is read this far and kept whole.
constexpr size_t LongestRecordsFile = 64 * 1024;

uint32_t ScoreAt(const uint8_t* entry) {
    return uint32_t(entry[12]) | uint32_t(entry[13]) << 8 | uint32_t(entry[14]) << 16 | uint32_t(entry[15]) << 24;
}
}  // namespace

void EncodeRecords(uint8_t out[RecordsFileSize]) {
    for (int i = 0; i < 6; ++i) {
        uint8_t* e = out + 16 * i;
        std::memcpy(e, RecordTable[i].name, 12);
        uint32_t s = RecordTable[i].score;
        e[12] = uint8_t(s);
        e[13] = uint8_t(s >> 8);
        e[14] = uint8_t(s >> 16);
        e[15] = uint8_t(s >> 24);
    }
    std::memcpy(out + 96, ClearedFlags, 100);
    out[196] = ClearedCount;
}

void DecodeRecords(const uint8_t* bytes, int size) {
    uint8_t image[RecordsFileSize];
    EncodeRecords(image);
    if (size > 0) std::memcpy(image, bytes, size_t(size < RecordsFileSize ? size : RecordsFileSize));
    for (int i = 0; i < 6; ++i) {
        const uint8_t* e = image + 16 * i;
        std::memcpy(RecordTable[i].name, e, 12);
        RecordTable[i].score = uint32_t(e[12]) | uint32_t(e[13]) << 8 | uint32_t(e[14]) << 16 | uint32_t(e[15]) << 24;
    }
    std::memcpy(ClearedFlags, image + 96, 100);
    ClearedCount = image[196];
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
    if (std::memcmp(mine, base, 16) != 0) std::memcpy(out, mine, 16);  // entry 0, only carried
    bool used[6] = {};
    for (int i = 1; i <= 5; ++i) {
        const uint8_t* entry = mine + 16 * i;
        bool known = false;
        for (int j = 1; j <= 5 && !known; ++j)
            if (!used[j] && std::memcmp(entry, base + 16 * j, 16) == 0) known = used[j] = true;
        if (known) continue;
        int place = 1;
        while (place <= 5 && ScoreAt(out + 16 * place) >= ScoreAt(entry)) ++place;
        if (place > 5) continue;
        std::memmove(out + 16 * (place + 1), out + 16 * place, size_t(16 * (5 - place)));
        std::memcpy(out + 16 * place, entry, 16);
    }
    // A mission this game cleared is cleared in the file too, counted once.
    for (int n = 0; n < 100; ++n) {
        if (mine[96 + n] == 0 || (base[96 + n] != 0 && n != justCleared) || out[96 + n] != 0) continue;
        out[96 + n] = mine[96 + n];
        ++out[196];
    }
}

void ReadRecordsFile() {
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

bool WriteRecordsFile() {
    if (RecordsDisabled) return false;  // said once at start-up
    uint8_t mine[RecordsFileSize], merged[RecordsFileSize];
    EncodeRecords(mine);
    std::string error;
    auto merge = [&](std::vector<uint8_t>& bytes) {
        // The file as it is now, a short or missing one filled with zeros;
        // a longer one (a newer version's) keeps its bytes beyond ours.
        if (bytes.size() < size_t(RecordsFileSize)) bytes.resize(RecordsFileSize, 0);
        std::memcpy(merged, bytes.data(), RecordsFileSize);
        // A numbered mission's clear writes its flag even when this game
        // saw it set before: the file may have been deleted since.
        MergeRecords(RecordsOnDisk, mine, merged, GameMode == NormalGame ? int(MissionNumber) : -1);
        std::memcpy(bytes.data(), merged, RecordsFileSize);
        return true;
    };
    if (UpdateFileLocked(RecordsPath(), LongestRecordsFile, merge, &error)) {
        DecodeRecords(merged, RecordsFileSize);
        std::memcpy(RecordsOnDisk, merged, RecordsFileSize);
        return true;
    }
    std::fprintf(stderr, "tessmar: could not write %s: %s\n", RecordsPath().c_str(), error.c_str());
    ShowNotice(NoticeRecordsNotSaved);  // the old file stays; the game goes on
    return false;
}
