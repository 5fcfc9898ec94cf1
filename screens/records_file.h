// The records file "rcd.dat" (197 bytes) and its in-memory image.
#pragma once
#include <cstdint>

// The file: the six entries of the table (the name, then the score
// little-endian), the cleared flag of each mission number 0..99, then the
// count of cleared missions.
inline constexpr int RecordEntries = 6, LastPlace = 5;  // entry 0 unused, 1..5 are places 1..5
inline constexpr int RecordNameSize = 12, RecordScoreOffset = 12, RecordEntrySize = 16;
inline constexpr int ClearedFlagsOffset = RecordEntries * RecordEntrySize, ClearedFlagCount = 100;
inline constexpr int ClearedCountOffset = ClearedFlagsOffset + ClearedFlagCount;
inline constexpr int RecordsFileSize = ClearedCountOffset + 1;
static_assert(RecordsFileSize == 197);

struct RecordEntry {
    uint8_t name[RecordNameSize];  // up to 8 characters and a zero; first byte 0 = empty place
    uint32_t score;                // little-endian in the file
};
static_assert(sizeof(RecordEntry) == RecordEntrySize);

extern RecordEntry RecordTable[RecordEntries];
extern uint8_t ClearedFlags[ClearedFlagCount];
extern uint8_t ClearedCount;
extern uint8_t RecordsOnDisk[RecordsFileSize];  // the file as last read or written


void ReadRecordsFile();
// Merges the records in memory into the file as it is now, under a lock, so
// that two games on one folder keep each other's results; memory then holds
// the merged records. True when that is done at once. When another game
// holds the lock the save waits without holding up the frames: each frame
// tries again (ContinueRecordsSave) for up to LockWaitMilliseconds. False
// when it was not done at once; a notice and a line on stderr when it
// finally fails.
bool WriteRecordsFile();
// The same, left to ContinueRecordsSave: for a save asked for in the
// middle of a frame, which then waits until the frame has been shown.
void AskRecordsSave();
// Each frame, once it is shown: a save asked for, or another try of one that
// waits for the lock.
void ContinueRecordsSave();
// At the end of the program: a waiting save waits out the rest of its time.
void FinishRecordsSave();
bool RecordsSaveWaiting();

// The merge: `out` holds the file as it is now; `mine` is the image in memory
// and `base` the file as this game last saw it. Scores in `mine` that are not
// in `base` go into `out`'s five places as the name entry orders them;
// missions cleared in `mine` and not in `base` (and `justCleared`, when set
// in `mine`) are set in `out`, and its count is the number of flags set.
// (Decoding also takes the count from the flags.)
void MergeRecords(const uint8_t base[RecordsFileSize], const uint8_t mine[RecordsFileSize],
                  uint8_t out[RecordsFileSize], int justCleared = -1);

// The file's bytes from the in-memory image and back.
void EncodeRecords(uint8_t out[RecordsFileSize]);
void DecodeRecords(const uint8_t* bytes, int size);  // a short image fills as far as it reaches

// A name as shown: its bytes up to the zero within the 12-byte field, or the
// first 8 bytes when a file left the field without one. Always terminated.
inline constexpr int ShownNameSize = 13;
void CopyShownName(const RecordEntry& entry, char out[ShownNameSize]);

// This module's variables in the program state list (shell/program_state.h).
#define RECORDS_STATE(X) X(RecordTable) X(ClearedFlags) X(ClearedCount)
