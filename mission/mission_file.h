// The 294-byte mission file: the board's kind and frame layers, the coming
// pairs' kinds and frame flags, and the goal record, one block after the other,
// without header. Shared by the game and the editor, so it knows nothing of
// either: plain bytes in, plain bytes out.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr size_t MissionFileSize = 294;

// Offset and size of each block.
inline constexpr size_t MissionKindOffset = 0, MissionKindSize = 150;
inline constexpr size_t MissionFrameOffset = 150, MissionFrameSize = 104;
inline constexpr size_t MissionQueueKindOffset = 254, MissionQueueKindSize = 16;
inline constexpr size_t MissionQueueFrameOffset = 270, MissionQueueFrameSize = 16;

// Within the goal record: target (4 bytes, little-endian), type, pieceLimit,
// two bytes of padding that nobody interprets but that are kept as read.
inline constexpr size_t MissionTargetOffset = 286, MissionTypeOffset = 290;
inline constexpr size_t MissionPieceLimitOffset = 291, MissionPaddingOffset = 292;

inline constexpr int MissionPairs = 8;

// Kind layer: columns -1..8, rows -2..12, column after column.
inline constexpr int MissionKindIndex(int column, int row) { return (column + 1) * 15 + (row + 2); }
// Frame layer: columns 0..7, rows -1..11, column after column.
inline constexpr int MissionFrameIndex(int column, int row) { return column * 13 + (row + 1); }
// Queue blocks: pair 0..7, half 0 (first) or 1 (second).
inline constexpr int MissionQueueIndex(int pair, int half) { return 2 * pair + half; }

struct MissionImage {
    std::array<uint8_t, MissionKindSize> kind{};
    std::array<uint8_t, MissionFrameSize> frame{};
    std::array<uint8_t, MissionQueueKindSize> queueKind{};
    std::array<uint8_t, MissionQueueFrameSize> queueFrame{};
    uint32_t target = 0;
    uint8_t type = 0;
    uint8_t pieceLimit = 0;
    std::array<uint8_t, 2> padding{};
};

using MissionBytes = std::array<uint8_t, MissionFileSize>;

// The file image of a mission, in file order.
MissionBytes EncodeMission(const MissionImage& mission);

// Reads `size` bytes of a file image into `mission`, byte by byte in file
// order: a short image fills only as far as it reaches and leaves the rest as
// it was; bytes beyond the 294th are ignored. Returns the bytes used.
size_t DecodeMission(const uint8_t* bytes, size_t size, MissionImage& mission);
