// The records file "rcd.dat" (197 bytes) and its in-memory image.
#pragma once
#include <cstdint>

struct RecordEntry {
    uint8_t name[12];  // up to 8 characters and a zero; first byte 0 = empty place
    uint32_t score;    // little-endian in the file
};
static_assert(sizeof(RecordEntry) == 16);

inline constexpr int RecordsFileSize = 197;

extern RecordEntry RecordTable[6];  // entry 0 unused, 1..5 are places 1..5
extern uint8_t ClearedFlags[100];
extern uint8_t ClearedCount;

void ReadRecordsFile();
bool WriteRecordsFile();

// The file's bytes from the in-memory image and back.
void EncodeRecords(uint8_t out[RecordsFileSize]);
void DecodeRecords(const uint8_t* bytes, int size);  // a short image fills as far as it reaches

// A name as shown: its bytes up to the zero within the 12-byte field, or the
// first 8 bytes when a file left the field without one. Always terminated.
inline constexpr int ShownNameSize = 13;
void CopyShownName(const RecordEntry& entry, char out[ShownNameSize]);

// This module's variables in the program state list (shell/program_state.h).
#define RECORDS_STATE(X) X(RecordTable) X(ClearedFlags) X(ClearedCount)
