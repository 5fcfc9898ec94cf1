#include "mission/mission_file.h"

#include <algorithm>
#include <cstring>

MissionBytes EncodeMission(const MissionImage& m) {
    MissionBytes out{};
    std::memcpy(&out[MissionKindOffset], m.kind.data(), MissionKindSize);
    std::memcpy(&out[MissionFrameOffset], m.frame.data(), MissionFrameSize);
    std::memcpy(&out[MissionQueueKindOffset], m.queueKind.data(), MissionQueueKindSize);
    std::memcpy(&out[MissionQueueFrameOffset], m.queueFrame.data(), MissionQueueFrameSize);
    for (int i = 0; i < 4; ++i) out[MissionTargetOffset + i] = uint8_t(m.target >> (8 * i));
    out[MissionTypeOffset] = m.type;
    out[MissionPieceLimitOffset] = m.pieceLimit;
    out[MissionPaddingOffset] = m.padding[0];
    out[MissionPaddingOffset + 1] = m.padding[1];
    return out;
}

namespace {
// Copies the part of block [offset, offset + length) that the image reaches.
void CopyBlock(const uint8_t* bytes, size_t size, size_t offset, size_t length, uint8_t* dst) {
    if (size <= offset) return;
    std::memcpy(dst, bytes + offset, std::min(length, size - offset));
}
}  // namespace

size_t DecodeMission(const uint8_t* bytes, size_t size, MissionImage& m) {
    size = std::min(size, MissionFileSize);
    CopyBlock(bytes, size, MissionKindOffset, MissionKindSize, m.kind.data());
    CopyBlock(bytes, size, MissionFrameOffset, MissionFrameSize, m.frame.data());
    CopyBlock(bytes, size, MissionQueueKindOffset, MissionQueueKindSize, m.queueKind.data());
    CopyBlock(bytes, size, MissionQueueFrameOffset, MissionQueueFrameSize, m.queueFrame.data());
    // A partly read target keeps its unread high bytes, as a short read would.
    for (size_t i = 0; i < 4 && MissionTargetOffset + i < size; ++i) {
        uint32_t shift = uint32_t(8 * i);
        m.target = (m.target & ~(0xFFu << shift)) | (uint32_t(bytes[MissionTargetOffset + i]) << shift);
    }
    if (MissionTypeOffset < size) m.type = bytes[MissionTypeOffset];
    if (MissionPieceLimitOffset < size) m.pieceLimit = bytes[MissionPieceLimitOffset];
    CopyBlock(bytes, size, MissionPaddingOffset, 2, m.padding.data());
    return size;
}
